#include "ExitButton.h"

#include "GameApp.h"

ExitButton::ExitButton()
{
}

ExitButton::~ExitButton()
{
}

void ExitButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    QVControl::draw(display, clipRect);
}

bool ExitButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event)) {
        return false;
    }
    game->setPaused(false);
    game->m_buttonHeld = false;
    playClickSound(game);
    game->exitGame();
    return true;
}
