#ifndef LOGOLINKBUTTON_H
#define LOGOLINKBUTTON_H

#include "GameButton.h"

// The maker's logo: opens the maker's home page (and ends the program)
// unless links are disabled. Always drawn.
class LogoLinkButton : public GameButton {
public:
                        ~LogoLinkButton() override {}

protected:
    bool                m_acts(const GameApp &game) const override;
    void                m_act(GameApp &game) override;
};

#endif // LOGOLINKBUTTON_H
