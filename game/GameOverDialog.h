#ifndef GAMEOVERDIALOG_H
#define GAMEOVERDIALOG_H

#include "GameDialog.h"
#include "QVDialogItemButton.h"
#include "QVSprite.h"

class H2DDisplayDevice;
class HFileSystem;

// The game-over picture. Its one button stays hidden and inert until the
// dialog's time-out has passed, so a click meant for the board can't skip it.
class GameOverDialog : public GameDialog {
public:
    enum { kiHoldMs = 2000 };

                        GameOverDialog();
                        ~GameOverDialog() override;

    // Makes the button usable; the dialog stays open.
    bool                onTimeout() override;

    // Loads the pictures and places the dialog and its disabled button.
    void                build(H2DDisplayDevice *display, HFileSystem *fileSystem);
    // Gives the pictures back and empties the item chain.
    void                releaseSprites();

    QVDialogItemButton *getContinueButton() { return &m_continueButton; }

private:
    QVSprite            m_background;
    QVSprite            m_continue;
    QVSprite            m_continueLit;
    QVDialogItemButton  m_continueButton;
};

#endif // GAMEOVERDIALOG_H
