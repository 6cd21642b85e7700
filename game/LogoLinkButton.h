#ifndef LOGOLINKBUTTON_H
#define LOGOLINKBUTTON_H

#include "QVControl.h"

// The maker's logo: opens the maker's home page (and ends the program)
// unless links are disabled.
class LogoLinkButton : public QVControl {
public:
                        LogoLinkButton();
                        ~LogoLinkButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // LOGOLINKBUTTON_H
