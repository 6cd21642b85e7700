#ifndef GAMEDIALOGSTESTSUPPORT_H
#define GAMEDIALOGSTESTSUPPORT_H

// A headless game for the dialog and button tests: the real GameApp on SDL's
// dummy display, a scratch resource folder of generated pictures, a scratch
// home for the registry, a clock the tests move by hand, and a hook run once
// per drawn frame that feeds the modal loops their events. A safety cap ends
// any modal loop a test failed to end, so no test can hang.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "GameApp.h"
#include "GameDrawTestSupport.h"
#include "GameDialogsRegistry.h"
#include "H2DDisplayDevice.h"
#include "HEventQueue.h"
#include "QVDialog.h"
#include "QVDialogItemTextLine.h"
#include "frame_hook_app.h"
#include "message_hook.h"
#include "test_events.h"

class TestGame : public FrameHookApp<GameApp> {
public:
    TestGame() : FrameHookApp(5000) {}

    // The scene behind the dialogs is not under test here.
    void drawBackground(const HRect &, bool) override {}
    void endModalLoops() override
    {
        for (int i = 0; i < 8; i++) {
            post(ET_QUIT);
        }
    }

    void postEnter() { postKey(KC_RETURN, 13); }
    void postText(const char *text)
    {
        for (const char *c = text; *c; c++) {
            postKey(0, (uint8_t)*c);
        }
    }
    void postClick(int x, int y)
    {
        post(ET_MOUSEMOVE, x, y);
        post(ET_KEYDOWN, x, y, KC_LBUTTON);
        post(ET_KEYUP, x, y, KC_LBUTTON);
    }

    // The protected pause state, for the checks.
    int pauseCount() const { return m_iPauseCount; }

};

// The test clock behind every event stamp; idle sleeps move it.
using GameTestClock = ManualClock;

class GameDialogsTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.ok());
        HEventQueue::resetSharedState();
        GameTestClock::now() = 5000;
        HEventQueue::setTimeFunctions(GameTestClock::read, GameTestClock::sleep);
        QVDialogItemTextLine::sm_resetCaretStamp();
        char path[] = "/tmp/gobstrel-gamedialogs-res-XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        m_dir = path;
        ASSERT_TRUE(app.getCvarManager()->initCvarManager());
        // The framework's start-up only: the game's own would load the
        // whole archive.
        ASSERT_TRUE(app.QVApplication::initialize("", m_dir.c_str()));
        ASSERT_TRUE(app.openResourceFile(m_dir.c_str()));
        ASSERT_TRUE(app.m_createDisplayDevice("gamedialogs", false, 0, 640, 480));
        display = app.getDisplayDevice();
        app.m_highScores.setOwner(&app);
        app.setCurrentTime(GameTestClock::now());
    }
    void TearDown() override
    {
        app.destroyDevices();
        app.shutdown();
        HEventQueue::setTimeFunctions(nullptr, nullptr);
        HEventQueue::resetSharedState();
        if (system(("rm -rf '" + m_dir + "'").c_str()) != 0) {
            ADD_FAILURE() << "could not remove " << m_dir;
        }
        EXPECT_FALSE(app.safetyFired) << "a modal loop had to be ended by the safety cap";
    }

    // A TGA or, for a ".jpg" name, a JPEG picture in the resource folder.
    void picture(const std::string &name, int w, int h, uint8_t r, uint8_t g, uint8_t b)
    {
        const bool jpeg = name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0;
        const uint8_t rgb[3] = { r, g, b };
        ASSERT_TRUE(jpeg ? drawTestWriteJPEG(m_dir + "/" + name, w, h, rgb)
                         : drawTestWriteTGA(m_dir + "/" + name, w, h, rgb));
    }
    bool load(QVSprite &sprite, const char *name)
    {
        return sprite.load(display, app.getResourceFileSystem(), name);
    }
    uint16_t pixel(int x, int y) const { return display->getScreen().getRow(y)[x]; }
    // Black in the buffer the game draws into (the window's own surface is
    // a separate one).
    void clearScreen()
    {
        const H2DSurface16 &screen = display->getScreen();
        for (int y = 0; y < display->getScreenHeight(); y++) {
            memset(screen.getRow(y), 0, sizeof(uint16_t) * (size_t)display->getScreenWidth());
        }
    }

    ScratchHome home;
    ScopedMessageHook boxes;
    TestGame app;
    H2DDisplayDevice *display = nullptr;
    std::string m_dir;
};

#endif // GAMEDIALOGSTESTSUPPORT_H
