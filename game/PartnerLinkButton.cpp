#include "PartnerLinkButton.h"

#include "GameApp.h"

PartnerLinkButton::PartnerLinkButton()
{
}

PartnerLinkButton::~PartnerLinkButton()
{
}

bool PartnerLinkButton::handleEvent(const HEvent &event)
{
    QVControl::handleEvent(event);
    GameApp *game = static_cast<GameApp *>(m_pOwner);
    if (!game || !isClicked(event) || game->areLinksDisabled()) {
        return false;
    }
    game->m_buttonHeld = false;
    playClickSound(game);
    game->openPartnerLink();
    return true;
}
