#ifndef PARTNERLINKBUTTON_H
#define PARTNERLINKBUTTON_H

#include "GameButton.h"

// The partner's logo: opens the partner's page (and ends the program)
// unless links are disabled. Always drawn.
class PartnerLinkButton : public GameButton {
public:
                        ~PartnerLinkButton() override {}

protected:
    bool                m_acts(const GameApp &game) const override;
    void                m_act(GameApp &game) override;
};

#endif // PARTNERLINKBUTTON_H
