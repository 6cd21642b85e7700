#include "GameButton.h"

#include "GameApp.h"

GameApp *GameButton::m_game() const
{
    return static_cast<GameApp *>(m_pOwner);
}

bool GameButton::m_isShown(const GameApp &) const
{
    return true;
}

bool GameButton::m_acts(const GameApp &game) const
{
    return m_isShown(game);
}

void GameButton::m_onClick(GameApp &)
{
}

void GameButton::sm_releaseHoldAndClick(GameApp &game)
{
    game.m_buttonHeld = false;
    playClickSound(&game);
}

void GameButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    const GameApp *game = m_game();
    if (game && m_isShown(*game)) {
        QVControl::draw(display, clipRect);
    }
}

bool GameButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = m_game();
    if (!game || !isClicked(event)) {
        return false;
    }
    m_onClick(*game);
    if (!m_acts(*game)) {
        return false;
    }
    m_act(*game);
    return true;
}
