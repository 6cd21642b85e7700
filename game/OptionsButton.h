#ifndef OPTIONSBUTTON_H
#define OPTIONSBUTTON_H

#include "QVControl.h"

// Opens the options; hidden during the tutorial.
class OptionsButton : public QVControl {
public:
                        OptionsButton();
                        ~OptionsButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // OPTIONSBUTTON_H
