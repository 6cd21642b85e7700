#ifndef EXITBUTTON_H
#define EXITBUTTON_H

#include "QVControl.h"

// Ends the game from any state.
class ExitButton : public QVControl {
public:
                        ExitButton();
                        ~ExitButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // EXITBUTTON_H
