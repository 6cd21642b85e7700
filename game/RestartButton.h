#ifndef RESTARTBUTTON_H
#define RESTARTBUTTON_H

#include "QVControl.h"

// Asks whether to start the game again; hidden on the title screen and
// during the tutorial.
class RestartButton : public QVControl {
public:
                        RestartButton();
                        ~RestartButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
};

#endif // RESTARTBUTTON_H
