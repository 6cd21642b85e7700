#ifndef HIGHSCOREDIALOG_H
#define HIGHSCOREDIALOG_H

#include "HighScoreTable.h"
#include "GameDialog.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemTextLine.h"
#include "QVSprite.h"

class H2DDisplayDevice;
class HFileSystem;
struct H2DFont;

// The high-score screen: name, score and level of the five slots, with OK
// and CLEAR ALL. OK closes it; CLEAR ALL asks over it and it stays open.
class HighScoreDialog : public GameDialog {
public:
    enum {
        kiRowTop        = 177,
        kiRowPitch      = 44,
        kiLineLength    = 31
    };

                        HighScoreDialog();
                        ~HighScoreDialog() override;

    bool                onItemActivated(QVDialogItem *item) override;

    // Loads the pictures, places the dialog and adds the buttons and the
    // fifteen lines (filled from the table).
    void                build(H2DDisplayDevice *display, HFileSystem *fileSystem, H2DFont *font,
                              const HighScoreTable &table);
    // Sets the fifteen lines from the table.
    void                fillList(const HighScoreTable &table);
    // Gives the pictures back and empties the item chain.
    void                releaseSprites();

    QVDialogItemButton *getOkButton() { return &m_okButton; }
    QVDialogItemButton *getClearAllButton() { return &m_clearAllButton; }
    // Slot 0-4; column 0 name, 1 score, 2 level.
    QVDialogItemTextLine *getLine(int slot, int column);

private:
    H2DFont *           m_pFont;
    QVSprite            m_ok;
    QVSprite            m_clearAll;
    QVSprite            m_okLit;
    QVSprite            m_clearAllLit;
    QVSprite            m_background;
    QVDialogItemButton  m_okButton;
    QVDialogItemButton  m_clearAllButton;
    QVDialogItemTextLine m_lines[HighScoreTable::kiSlotCount][3];
};

#endif // HIGHSCOREDIALOG_H
