#ifndef STARTBUTTON_H
#define STARTBUTTON_H

#include "GameButton.h"

// The title and info screens' "click to start": only a highlight image, so
// it shows while the pointer is over it.
class StartButton : public GameButton {
public:
                        ~StartButton() override {}

protected:
    bool                m_isShown(const GameApp &game) const override;
    bool                m_acts(const GameApp &game) const override;
    void                m_act(GameApp &game) override;
};

#endif // STARTBUTTON_H
