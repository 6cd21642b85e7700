#include "LogoLinkButton.h"

#include "GameApp.h"

LogoLinkButton::LogoLinkButton()
{
}

LogoLinkButton::~LogoLinkButton()
{
}

void LogoLinkButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    QVControl::draw(display, clipRect);
}

bool LogoLinkButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event) || game->areLinksDisabled()) {
        return false;
    }
    game->m_buttonHeld = false;
    playClickSound(game);
    game->openURL(gameMakerAddress);
    return true;
}
