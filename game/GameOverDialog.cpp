#include "GameOverDialog.h"


GameOverDialog::GameOverDialog()
{
}

GameOverDialog::~GameOverDialog()
{
}

void GameOverDialog::build(H2DDisplayDevice *display, HFileSystem *fileSystem)
{
    m_background.load(display, fileSystem, "gameover.jpg");
    m_continue.load(display, fileSystem, "icon_continue.tga");
    m_continueLit.load(display, fileSystem, "icon_continue_lit.tga");

    m_continueButton.setPosition(HPoint{ 101, 293 });
    m_continueButton.setSprites(&m_continue, &m_continueLit, nullptr);
    m_continueButton.setEnabled(false);

    setPosition(HPoint{ 23, 17 });
    addItem(&m_continueButton);
    setBackground(&m_background);
}

void GameOverDialog::releaseSprites()
{
    m_background.release();
    m_continue.release();
    m_continueLit.release();
    clearItems();
}

bool GameOverDialog::onTimeout()
{
    // Called on every pass once the hold is over: only the first call
    // changes anything, and a rectangle reported on every pass would keep
    // the screen redrawing while nothing moves.
    if (!m_continueButton.isEnabled()) {
        m_continueButton.setEnabled(true);
        invalidate(m_continueButton.getRect());
    }
    return false;
}
