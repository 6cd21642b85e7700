#ifndef PAUSEBUTTON_H
#define PAUSEBUTTON_H

#include "QVControl.h"

// Pauses and resumes play. Its pictures follow the pause: "resume" while the
// player has paused, "pause" otherwise.
class PauseButton : public QVControl {
public:
                        PauseButton();
                        ~PauseButton() override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;

    // The two pairs the button switches between (not owned).
    void                setStateSprites(QVSprite *pause, QVSprite *pauseLit, QVSprite *resume,
                                        QVSprite *resumeLit);
    // Shows the pair that matches the pause, while the game is in play or
    // paused; other states keep the pictures as they are.
    void                drawState();

    QVSprite *          getNormalSprite() const { return m_pNormalSprite; }
    QVSprite *          getHighlightSprite() const { return m_pHighlightSprite; }

private:
    QVSprite *          m_pPauseSprite;
    QVSprite *          m_pPauseLitSprite;
    QVSprite *          m_pResumeSprite;
    QVSprite *          m_pResumeLitSprite;
};

#endif // PAUSEBUTTON_H
