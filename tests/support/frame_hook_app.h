#ifndef FRAME_HOOK_APP_H
#define FRAME_HOOK_APP_H

#include <functional>

#include "HEventQueue.h"
#include "test_events.h"

// An application for the headless dialog tests: onFrame runs once per drawn
// frame so a test can feed a modal loop its events, and at safetyFrames the
// loops still open are ended once, so no test can hang.
template <class App>
class FrameHookApp : public App {
public:
    void afterDraw() override
    {
        frames++;
        if (onFrame) {
            onFrame(frames);
        }
        if (frames >= safetyFrames && !safetyFired) {
            safetyFired = true;
            endModalLoops();
        }
    }

    // Posts at the current test clock.
    void post(int type, int x = 0, int y = 0, int key = 0, int ch = 0)
    {
        this->getEventQueue()->postEvent(testEvent(type, x, y, key, ch));
    }
    void postKey(int key, int ch) { post(ET_KEYDOWN, 0, 0, key, ch); }
    // Empties the queue of events stamped before the test clock was set;
    // the idle tick left in it carries the clock's new time.
    void takeStaleEvents()
    {
        HEvent event;
        while (this->getEventQueue()->getEvent(event, false)) {
        }
    }

    int frames = 0;
    int safetyFrames;
    bool safetyFired = false;
    std::function<void(int)> onFrame;

protected:
    explicit FrameHookApp(int iSafetyFrames) : safetyFrames(iSafetyFrames) {}
    // Posts what ends every modal loop the test left open.
    virtual void endModalLoops() = 0;
};

#endif
