#include "HighScoreDialog.h"

#include "DialogText.h"
#include "GameApp.h"
#include "HString.h"

// Left edge of the name, right edges of the score and the level.
static const int32_t s_columnX[3] = { 33, 338, 395 };
static const int32_t s_columnAlign[3] = { TEXT_ALIGN_LEFT, TEXT_ALIGN_RIGHT, TEXT_ALIGN_RIGHT };

HighScoreDialog::HighScoreDialog()
    : m_pFont(nullptr)
{
}

HighScoreDialog::~HighScoreDialog()
{
}

QVDialogItemTextLine *HighScoreDialog::getLine(int slot, int column)
{
    if (slot < 0 || slot >= HighScoreTable::kiSlotCount || column < 0 || column > 2) {
        return nullptr;
    }
    return &m_lines[slot][column];
}

void HighScoreDialog::build(H2DDisplayDevice *display, HFileSystem *fileSystem, H2DFont *font,
                            const HighScoreTable &table)
{
    m_pFont = font;
    m_ok.load(display, fileSystem, "highscores_ok.tga");
    m_clearAll.load(display, fileSystem, "highscores_clearall.tga");
    m_okLit.load(display, fileSystem, "highscores_ok_lit.tga");
    m_clearAllLit.load(display, fileSystem, "highscores_clearall_lit.tga");
    m_background.load(display, fileSystem, "highscores.jpg");

    setPosition(HPoint{ 23, 17 });
    setBackground(&m_background);

    m_okButton.setPosition(HPoint{ 290, 378 });
    m_okButton.setSprites(&m_ok, &m_okLit, nullptr);
    m_clearAllButton.setPosition(HPoint{ 60, 378 });
    m_clearAllButton.setSprites(&m_clearAll, &m_clearAllLit, nullptr);
    addItem(&m_okButton);
    addItem(&m_clearAllButton);

    fillList(table);
    for (int slot = 0; slot < HighScoreTable::kiSlotCount; slot++) {
        for (int column = 0; column < 3; column++) {
            addItem(&m_lines[slot][column]);
        }
    }
}

void HighScoreDialog::fillList(const HighScoreTable &table)
{
    for (int slot = 0; slot < HighScoreTable::kiSlotCount; slot++) {
        const HighScoreEntry &entry = table.getEntry(slot);
        // The stored name is terminated within its field; copied through a
        // buffer of that size all the same.
        char texts[3][HighScoreEntry::kiNameSize];
        stringCopyBounded(texts[0], entry.m_szName, sizeof(texts[0]));
        stringPrintf(texts[1], sizeof(texts[1]), "%d", (int)entry.m_uScore);
        stringPrintf(texts[2], sizeof(texts[2]), "%d", (int)entry.m_iLevel);
        const int32_t y = kiRowTop + kiRowPitch * slot;
        for (int column = 0; column < 3; column++) {
            QVDialogItemTextLine &line = m_lines[slot][column];
            setupDialogTextLine(&line, m_pFont, s_columnX[column], y, s_columnAlign[column], kiLineLength,
                                1.0f, 1.0f, 0.0f, 1.0f);
            line.setText(texts[column]);
        }
    }
}

void HighScoreDialog::releaseSprites()
{
    m_ok.release();
    m_clearAll.release();
    m_okLit.release();
    m_clearAllLit.release();
    m_background.release();
    clearItems();
}

bool HighScoreDialog::onItemActivated(QVDialogItem *item)
{
    GameApp *game = static_cast<GameApp *>(getApplication());
    m_playClick();
    // The question opens over the screen, which stays open and drawn
    // behind it; closing here would show the stale game under it instead.
    if (item == &m_clearAllButton && game) {
        game->confirmClearHighScores(this);
        return false;
    }
    return true;
}
