#include "LogoLinkButton.h"

#include "GameApp.h"

bool LogoLinkButton::m_acts(const GameApp &game) const
{
    return !game.areLinksDisabled();
}

void LogoLinkButton::m_act(GameApp &game)
{
    sm_releaseHoldAndClick(game);
    game.openURL(gameMakerAddress);
}
