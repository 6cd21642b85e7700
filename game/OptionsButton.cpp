#include "OptionsButton.h"

#include "GameApp.h"

OptionsButton::OptionsButton()
{
}

OptionsButton::~OptionsButton()
{
}

void OptionsButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    const GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (game && !game->isTutorialActive()) {
        QVControl::draw(display, clipRect);
    }
}

bool OptionsButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event) || game->isTutorialActive()) {
        return false;
    }
    game->m_buttonHeld = false;
    playClickSound(game);
    game->showOptions();
    return true;
}
