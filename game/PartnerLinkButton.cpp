#include "PartnerLinkButton.h"

#include "GameApp.h"

bool PartnerLinkButton::m_acts(const GameApp &game) const
{
    return !game.areLinksDisabled();
}

void PartnerLinkButton::m_act(GameApp &game)
{
    sm_releaseHoldAndClick(game);
    game.openPartnerLink();
}
