#ifndef EXITBUTTON_H
#define EXITBUTTON_H

#include "GameButton.h"

// Ends the game from any state.
class ExitButton : public GameButton {
public:
                        ~ExitButton() override {}

protected:
    void                m_act(GameApp &game) override;
};

#endif // EXITBUTTON_H
