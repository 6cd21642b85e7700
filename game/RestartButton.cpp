#include "RestartButton.h"

#include "GameApp.h"

RestartButton::RestartButton()
{
}

RestartButton::~RestartButton()
{
}

static bool s_isShown(const GameApp *game)
{
    return game && game->isNotOnTitle() && !game->isTutorialActive();
}

void RestartButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    if (s_isShown(static_cast<GameApp *>(m_pOwner))) {
        QVControl::draw(display, clipRect);
    }
}

bool RestartButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event)) {
        return false;
    }
    // A press here is never the start of a drag on the board.
    game->m_buttonHeld = false;
    if (!s_isShown(game)) {
        return false;
    }
    playClickSound(game);
    game->confirmRestart();
    return true;
}
