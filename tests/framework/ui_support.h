#ifndef UI_SUPPORT_H
#define UI_SUPPORT_H

// A headless application for the control and dialog tests: an SDL display
// under the dummy driver, a scratch resource folder of generated pictures,
// a clock the tests move by hand, and a hook run once per drawn frame so a
// test can feed a modal loop its events. A safety cap ends any modal loop
// that the test failed to end, so no test can hang.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "H2DDisplayDevice.h"
#include "HEventQueue.h"
#include "QVApplication.h"
#include "QVDialogItemTextLine.h"
#include "frame_hook_app.h"
#include "message_hook.h"
#include "test_events.h"
#include "test_pictures.h"

class UiApp : public FrameHookApp<QVApplication> {
public:
    UiApp() : FrameHookApp(20000) {}

    const char *getApplicationName() override { return "UiTest"; }
    bool handleEvent(const HEvent &event) override
    {
        handled.push_back(event);
        return false;
    }
    void drawBackground(const HRect &rect, bool underDialog) override
    {
        backgrounds.push_back(rect);
        backgroundUnderDialog.push_back(underDialog);
    }
    QVSprite *getCursorSprite() override { return cursor; }
    bool useSpriteCursor() override { return spriteCursor; }
    void setSystemCursorVisible(bool) override {}
    void endModalLoops() override
    {
        // Quit ends plain dialogs; Enter ends those that ignore quit.
        post(ET_QUIT);
        postKey(0, 13);
    }

    void postClick(int x, int y)
    {
        post(ET_KEYDOWN, x, y, KC_LBUTTON);
        post(ET_KEYUP, x, y, KC_LBUTTON);
    }

    std::vector<HEvent> handled;
    std::vector<HRect> backgrounds;
    std::vector<bool> backgroundUnderDialog;
    QVSprite *cursor = nullptr;
    bool spriteCursor = false;
};

// The test clock behind every event stamp; idle sleeps move it.
using UiClock = ManualClock;

class UiTest : public testing::Test {
protected:
    void SetUp() override
    {
        HEventQueue::resetSharedState();
        UiClock::now() = 1000;
        HEventQueue::setTimeFunctions(UiClock::read, UiClock::sleep);
        QVDialogItemTextLine::sm_resetCaretStamp();
        char path[] = "/tmp/gobstrel-ui-XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        m_dir = path;
        ASSERT_TRUE(app.getCvarManager()->initCvarManager());
        ASSERT_TRUE(app.initialize("", m_dir.c_str()));
        ASSERT_TRUE(app.openResourceFile(m_dir.c_str()));
        ASSERT_TRUE(app.m_createDisplayDevice("ui", false, 0, 640, 480));
        display = app.getDisplayDevice();
        clearScreen();
        app.getDirtyRects()->clear();
    }
    void TearDown() override
    {
        app.destroyDevices();
        app.shutdown();
        HEventQueue::setTimeFunctions(nullptr, nullptr);
        HEventQueue::resetSharedState();
        std::string cmd = "rm -rf '" + m_dir + "'";
        if (system(cmd.c_str()) != 0) fprintf(stderr, "could not remove %s\n", m_dir.c_str());
        EXPECT_FALSE(app.safetyFired) << "a modal loop had to be ended by the safety cap";
    }

    // A picture in the resource folder.
    void picture(const std::string &name, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
    {
        ASSERT_TRUE(writeSolidTGA(m_dir + "/" + name, w, h, r, g, b, a));
    }
    bool load(QVSprite &sprite, const char *name)
    {
        return sprite.load(display, app.getResourceFileSystem(), name);
    }
    void clearScreen()
    {
        const float black[3] = { 0, 0, 0 };
        display->clear(black);
    }
    uint16_t pixel(int x, int y) const { return display->getScreen().getRow(y)[x]; }
    bool dirtyContains(int x, int y) const
    {
        HDirtyRectList *list = const_cast<UiApp &>(app).getDirtyRects();
        for (int i = 0; i < list->getCount(); i++) {
            const HRect *r = list->getRect(i);
            if (x >= r->left && x < r->right && y >= r->top && y < r->bottom) return true;
        }
        return false;
    }

    ScopedMessageHook m_hook;
    UiApp app;
    H2DDisplayDevice *display = nullptr;
    std::string m_dir;
};

#endif
