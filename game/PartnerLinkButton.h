#ifndef PARTNERLINKBUTTON_H
#define PARTNERLINKBUTTON_H

#include "QVControl.h"

// The partner's logo: opens the partner's page (and ends the program)
// unless links are disabled. Always drawn.
class PartnerLinkButton : public QVControl {
public:
                        PartnerLinkButton();
                        ~PartnerLinkButton() override;

    bool                handleEvent(const HEvent &event) override;
};

#endif // PARTNERLINKBUTTON_H
