#ifndef GAMEBUTTON_H
#define GAMEBUTTON_H

#include "QVControl.h"

class GameApp;

// Base of the button bar. Each button says from the game's state whether it
// is drawn and whether a click on it acts; a click that does not act passes
// on to the game's own handler.
class GameButton : public QVControl {
public:
    // The base picture, only while the button is shown.
    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    // The highlight follows the pointer; true when a click acted.
    bool                handleEvent(const HEvent &event) override;

protected:
    GameApp *           m_game() const;

    virtual bool        m_isShown(const GameApp &game) const;
    // By default a button acts exactly while it is shown.
    virtual bool        m_acts(const GameApp &game) const;
    // Runs on every click, before the test whether the button acts.
    virtual void        m_onClick(GameApp &game);
    virtual void        m_act(GameApp &game) = 0;

    // A press on a side-bar button is never the start of a drag on the
    // board; then the click sound.
    static void         sm_releaseHoldAndClick(GameApp &game);
};

#endif // GAMEBUTTON_H
