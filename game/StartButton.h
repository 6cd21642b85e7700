#ifndef STARTBUTTON_H
#define STARTBUTTON_H

#include "QVControl.h"

// The title and info screens' "click to start": only a highlight image, so
// it shows while the pointer is over it.
class StartButton : public QVControl {
public:
                        StartButton();
                        ~StartButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // STARTBUTTON_H
