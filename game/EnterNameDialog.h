#ifndef ENTERNAMEDIALOG_H
#define ENTERNAMEDIALOG_H

#include <cstdint>

#include "GameDialog.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemTextLine.h"
#include "QVSprite.h"

class H2DDisplayDevice;
class HFileSystem;
struct H2DFont;

// Asks for the player's name when a finished game enters the high-score
// table: the score, an edit line and OK. OK (and Enter, which goes to it)
// closes it; a click on the edit line only gives the line the focus.
class EnterNameDialog : public GameDialog {
public:
    enum { kiMaxNameLength = 16 };

                        EnterNameDialog();
                        ~EnterNameDialog() override;

    bool                onItemActivated(QVDialogItem *item) override;

    // Loads the pictures and sets up the items: the score line shows
    // uScore, the edit line starts with pszName (null or empty: nothing).
    void                build(H2DDisplayDevice *display, HFileSystem *fileSystem, H2DFont *font,
                              uint32_t uScore, const char *pszName);
    // Gives the pictures back and empties the item chain.
    void                releaseSprites();

    const char *        getName() const { return m_editLine.getText(); }
    QVDialogItemButton *getOkButton() { return &m_okButton; }
    QVDialogItemTextLine *getScoreLine() { return &m_scoreLine; }
    QVDialogItemTextLine *getEditLine() { return &m_editLine; }

private:
    QVSprite            m_background;
    QVSprite            m_ok;
    QVSprite            m_okLit;
    QVDialogItemButton  m_okButton;
    QVDialogItemTextLine m_scoreLine;
    QVDialogItemTextLine m_editLine;
};

#endif // ENTERNAMEDIALOG_H
