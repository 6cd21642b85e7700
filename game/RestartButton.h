#ifndef RESTARTBUTTON_H
#define RESTARTBUTTON_H

#include "GameButton.h"

// Asks whether to start the game again; hidden on the title screen and
// during the tutorial.
class RestartButton : public GameButton {
public:
                        ~RestartButton() override {}

protected:
    bool                m_isShown(const GameApp &game) const override;
    void                m_onClick(GameApp &game) override;
    void                m_act(GameApp &game) override;
};

#endif // RESTARTBUTTON_H
