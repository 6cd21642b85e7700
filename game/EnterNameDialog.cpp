#include "EnterNameDialog.h"

#include "DialogText.h"
#include "HString.h"

EnterNameDialog::EnterNameDialog()
{
}

EnterNameDialog::~EnterNameDialog()
{
}

bool EnterNameDialog::onItemActivated(QVDialogItem *item)
{
    // The line has taken the focus itself; closing here would enter the
    // pre-filled name before the player could type one.
    if (item == &m_editLine) {
        return false;
    }
    return GameDialog::onItemActivated(item);
}

void EnterNameDialog::build(H2DDisplayDevice *display, HFileSystem *fileSystem, H2DFont *font,
                            uint32_t uScore, const char *pszName)
{
    m_scoreLine.setMaxLength(kiMaxNameLength);
    m_editLine.setMaxLength(kiMaxNameLength);
    m_background.load(display, fileSystem, "entername.jpg");
    m_ok.load(display, fileSystem, "icon_ok.tga");
    m_okLit.load(display, fileSystem, "icon_ok_lit.tga");

    m_okButton.setName("Enter Name OK Button");
    m_okButton.setPosition(HPoint{ 179, 366 });
    m_okButton.setSprites(&m_ok, &m_okLit, nullptr);

    char szScore[32];
    stringPrintf(szScore, sizeof(szScore), "%d", (int)uScore);
    m_scoreLine.setName("Score");
    setupDialogTextLine(&m_scoreLine, font, 212, 138, TEXT_ALIGN_CENTRE, kiMaxNameLength, 0.0f, 0.7f, 0.0f, 1.0f);
    m_scoreLine.setText(szScore);

    m_editLine.setName("Enter Name Edit Line");
    setupDialogTextLine(&m_editLine, font, 32, 273, TEXT_ALIGN_LEFT, kiMaxNameLength, 1.0f, 1.0f, 0.0f, 1.0f);
    m_editLine.setEditable(true);
    m_editLine.setText(pszName ? pszName : "");

    setBackground(&m_background);
    setPosition(HPoint{ 23, 17 });
    // The OK button first makes it the default item; the edit line last
    // leaves it with the focus.
    addItem(&m_okButton);
    addItem(&m_scoreLine);
    addItem(&m_editLine);
}

void EnterNameDialog::releaseSprites()
{
    m_background.release();
    m_ok.release();
    m_okLit.release();
    clearItems();
}
