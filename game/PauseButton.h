#ifndef PAUSEBUTTON_H
#define PAUSEBUTTON_H

#include "GameButton.h"

// Pauses and resumes play. Its pictures follow the pause: "resume" while the
// player has paused, "pause" otherwise.
class PauseButton : public GameButton {
public:
                        PauseButton();
                        ~PauseButton() override {}

    bool                handleEvent(const HEvent &event) override;

    // The two pairs the button switches between (not owned).
    void                setStateSprites(QVSprite *pause, QVSprite *pauseLit, QVSprite *resume,
                                        QVSprite *resumeLit);
    // Shows the pair that matches the pause, while the game is in play or
    // paused; other states keep the pictures as they are.
    void                drawState();

    QVSprite *          getNormalSprite() const { return m_pNormalSprite; }
    QVSprite *          getHighlightSprite() const { return m_pHighlightSprite; }

protected:
    bool                m_isShown(const GameApp &game) const override;
    bool                m_acts(const GameApp &game) const override;
    void                m_act(GameApp &game) override;

private:
    QVSprite *          m_pPauseSprite;
    QVSprite *          m_pPauseLitSprite;
    QVSprite *          m_pResumeSprite;
    QVSprite *          m_pResumeLitSprite;
};

#endif // PAUSEBUTTON_H
