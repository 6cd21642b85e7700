#ifndef HIGHSCORESBUTTON_H
#define HIGHSCORESBUTTON_H

#include "GameButton.h"

// Opens the high-score screen; hidden during the tutorial.
class HighScoresButton : public GameButton {
public:
                        ~HighScoresButton() override {}

protected:
    bool                m_isShown(const GameApp &game) const override;
    void                m_act(GameApp &game) override;
};

#endif // HIGHSCORESBUTTON_H
