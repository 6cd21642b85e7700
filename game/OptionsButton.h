#ifndef OPTIONSBUTTON_H
#define OPTIONSBUTTON_H

#include "GameButton.h"

// Opens the options; hidden during the tutorial.
class OptionsButton : public GameButton {
public:
                        ~OptionsButton() override {}

protected:
    bool                m_isShown(const GameApp &game) const override;
    void                m_act(GameApp &game) override;
};

#endif // OPTIONSBUTTON_H
