#include <gtest/gtest.h>

#include <memory>

#include "HMersenneTwister.h"
#include "HObjectList.h"
#include "QVControl.h"
#include "application_support.h"
#include "message_hook.h"

namespace {

bool operator==(const HRect &a, const HRect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Writes an uncompressed 32-bit top-down TGA of one colour.
bool writeTGA(const ScratchFolder &folder, const std::string &name, int w, int h,
              uint8_t r, uint8_t g, uint8_t b)
{
    std::vector<uint8_t> bytes = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                   (uint8_t)w, (uint8_t)(w >> 8), (uint8_t)h, (uint8_t)(h >> 8), 32, 0x28 };
    for (int i = 0; i < w * h; i++) {
        bytes.insert(bytes.end(), { b, g, r, 255 });
    }
    return folder.write(name, bytes.data(), bytes.size());
}

// Takes the events it is told to and counts what it sees and draws.
class ProbeControl : public QVControl {
public:
    ProbeControl(const char *name, bool takes, std::vector<std::string> *seen)
        : m_szName(name), m_bTakes(takes), m_pSeen(seen) {}
    bool handleEvent(const HEvent &event) override
    {
        if (event.m_iType != ET_KEYDOWN) {
            return false;
        }
        m_pSeen->push_back(m_szName);
        return m_bTakes;
    }
    void draw(H2DDisplayDevice *, const HRect &) override { draws++; }
    int draws = 0;

private:
    const char *m_szName;
    bool m_bTakes;
    std::vector<std::string> *m_pSeen;
};

class LoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        ASSERT_TRUE(m_folder.ok());
        m_app.reset(new TestApp);
        m_app->stage = 2;
        m_app->resourcePath = m_folder.path();
        m_app->ticksToRun = -1;
    }
    void TearDown() override
    {
        m_app.reset();
        resetEngineState();
    }
    // Starts with the demo as input, as run() would, without running the loop.
    void start(const std::vector<HEvent> &demo, const char *extra = "")
    {
        ASSERT_TRUE(m_folder.writeEvents("demo.bin", demo));
        std::string command = std::string("+set c_soundDriver null +set qv_demoFile demo.bin ") + extra;
        m_app->getCvarManager()->initCvarManager();
        ASSERT_TRUE(m_app->initialize(command.c_str(), ""));
        ASSERT_NE(m_app->getDemoFile(), nullptr);
    }
    void finish()
    {
        m_app->destroyDevices();
        m_app->shutdown();
    }
    std::vector<int> types() const
    {
        std::vector<int> out;
        for (const HEvent &e : m_app->events) out.push_back(e.m_iType);
        return out;
    }
    HRect screen() const { return HRect{ 0, 0, 640, 480 }; }

    ScopedMessageHook m_hook;
    ScratchFolder m_folder;
    std::unique_ptr<TestApp> m_app;
};

TEST_F(LoopTest, DemoDrivesLoopAndExhaustionEndsItLikeAClose)
{
    start({ makeEvent(ET_KEYDOWN, 0, 0, 0, KC_A), makeEvent(ET_MOUSEMOVE, 1234, 50, 60),
            makeEvent(ET_TIMESTAMP, 1240), makeEvent(ET_KEYUP, 1300, 0, 0, KC_A),
            makeEvent(ET_TIMESTAMP, 1310) });
    EXPECT_TRUE(m_app->mainLoop());

    const std::vector<int> expected = { ET_KEYDOWN, ET_MOUSEMOVE, ET_TIMESTAMP, ET_KEYUP,
                                        ET_TIMESTAMP, ET_QUIT };
    EXPECT_EQ(types(), expected);
    EXPECT_EQ(m_app->events[4].getTime(), 1310u);
    EXPECT_EQ(m_app->events[5].getTime(), 1310u);     // the close comes at the last stamp
    EXPECT_EQ(m_app->getCurrentTime(), 1310u);

    // Stamp 0 does not seed; the first non-zero stamp does, once.
    HMersenneTwister reference;
    reference.setSeed(1234);
    EXPECT_EQ(m_app->getRandom()->nextInt(0xFFFFFFFFu), reference.nextInt(0xFFFFFFFFu));

    // First frame: the whole screen; the second had nothing dirty.
    ASSERT_EQ(m_app->backgrounds.size(), 1u);
    EXPECT_TRUE(m_app->backgrounds[0] == screen());
    EXPECT_FALSE(m_app->backgroundFlags[0]);
    EXPECT_EQ(m_app->afterDraws, 2);
    EXPECT_EQ(m_app->getDirtyRects()->getCount(), 0);
    finish();
}

TEST_F(LoopTest, TrueFromHandlerEndsMidBatchWithoutAnotherFrame)
{
    m_app->ticksToRun = 1;
    start({ makeEvent(ET_TIMESTAMP, 10), makeEvent(ET_KEYDOWN, 12, 0, 0, KC_Z),
            makeEvent(ET_TIMESTAMP, 20) });
    EXPECT_TRUE(m_app->mainLoop());
    const std::vector<int> expected = { ET_TIMESTAMP };
    EXPECT_EQ(types(), expected);
    // One frame, before the tick; none after the handler said stop.
    EXPECT_EQ(m_app->afterDraws, 1);
    finish();
}

TEST_F(LoopTest, DemoWithTornTailDeliversWholeRecordsOnly)
{
    std::vector<HEvent> demo = { makeEvent(ET_KEYDOWN, 5, 0, 0, KC_A), makeEvent(ET_TIMESTAMP, 9) };
    std::string bytes((const char *)demo.data(), demo.size() * sizeof(HEvent));
    bytes.append(20, '\x07');
    ASSERT_TRUE(m_folder.write("torn.bin", bytes.data(), bytes.size()));
    m_app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(m_app->initialize("+set c_soundDriver null +set qv_demoFile torn.bin", ""));
    EXPECT_TRUE(m_app->mainLoop());
    const std::vector<int> expected = { ET_KEYDOWN, ET_TIMESTAMP, ET_QUIT };
    EXPECT_EQ(types(), expected);
    finish();
}

TEST_F(LoopTest, ControlsSeeEventsNewestFirstAndDisabledOnesOnlyDraw)
{
    start({ makeEvent(ET_KEYDOWN, 5, 0, 0, KC_A), makeEvent(ET_TIMESTAMP, 9) });
    std::vector<std::string> seen;
    ProbeControl *older = new ProbeControl("older", true, &seen);
    ProbeControl *newer = new ProbeControl("newer", true, &seen);
    ProbeControl *disabled = new ProbeControl("disabled", true, &seen);
    disabled->setEnabled(false);
    disabled->setVisibleUnderDialog(true);
    m_app->addControl(older);
    m_app->addControl(newer);
    m_app->addControl(disabled);

    EXPECT_TRUE(m_app->mainLoop());
    // Only the newest enabled control sees the key, and the game never does.
    const std::vector<std::string> expectedSeen = { "newer" };
    EXPECT_EQ(seen, expectedSeen);
    const std::vector<int> expected = { ET_TIMESTAMP, ET_QUIT };
    EXPECT_EQ(types(), expected);
    // Every control drew into the one dirty rectangle of the first frame.
    EXPECT_EQ(older->draws, 1);
    EXPECT_EQ(newer->draws, 1);
    EXPECT_EQ(disabled->draws, 1);

    // Under a dialog only the controls that ask for it draw.
    m_app->invalidateAll();
    m_app->drawFrame(true);
    EXPECT_EQ(older->draws, 1);
    EXPECT_EQ(disabled->draws, 2);
    EXPECT_TRUE(m_app->backgroundFlags.back());
    finish();
}

TEST_F(LoopTest, MinimisedWindowDrawsNothingButEmptiesTheList)
{
    start({ makeEvent(ET_WINDOW_MINIMIZED, 10, 0, 0, 0, 1), makeEvent(ET_TIMESTAMP, 20),
            makeEvent(ET_PAINT, 30), makeEvent(ET_TIMESTAMP, 40),
            makeEvent(ET_WINDOW_MINIMIZED, 50, 0, 0, 0, 0), makeEvent(ET_ACTIVATE, 55, 0, 0, 0, 0),
            makeEvent(ET_TIMESTAMP, 60), makeEvent(ET_ACTIVATE, 65, 0, 0, 0, 1),
            makeEvent(ET_TIMESTAMP, 70) });
    EXPECT_TRUE(m_app->mainLoop());
    // Frames 1 and 2 were minimised; focus loss brought the screen back in 3.
    ASSERT_EQ(m_app->backgrounds.size(), 1u);
    EXPECT_TRUE(m_app->backgrounds[0] == screen());
    EXPECT_EQ(m_app->afterDraws, 2);
    EXPECT_FALSE(m_app->isMinimized());
    EXPECT_TRUE(m_app->isActive());
    // The framework's handling never consumes: the game saw them all.
    EXPECT_EQ(m_app->events.size(), 10u);
    finish();
}

TEST_F(LoopTest, InvalidateRectIsCutToTheScreen)
{
    start({});
    HDirtyRectList *dirty = m_app->getDirtyRects();
    m_app->invalidateRect(HRect{ -10, -20, 30, 40 });
    ASSERT_EQ(dirty->getCount(), 1);
    EXPECT_TRUE(*dirty->getRect(0) == (HRect{ 0, 0, 30, 40 }));
    m_app->invalidateRect(HRect{ 700, 10, 900, 50 });       // wholly outside: dropped
    m_app->invalidateRect(HRect{ 600, 470, 1000, 1000 });
    ASSERT_EQ(dirty->getCount(), 2);
    EXPECT_TRUE(*dirty->getRect(1) == (HRect{ 600, 470, 640, 480 }));
    m_app->presentFrame();
    EXPECT_EQ(dirty->getCount(), 0);
    finish();

    // Without a display nothing is recorded.
    m_app->invalidateAll();
    m_app->invalidateRect(HRect{ 0, 0, 5, 5 });
    EXPECT_EQ(dirty->getCount(), 0);
}

TEST_F(LoopTest, SoftwareCursorRedrawsOldAndNewAreas)
{
    ASSERT_TRUE(writeTGA(m_folder, "cursor.tga", 8, 8, 255, 255, 255));
    start({ makeEvent(ET_MOUSEMOVE, 10, 100, 100), makeEvent(ET_TIMESTAMP, 20),
            makeEvent(ET_MOUSEMOVE, 30, 200, 150), makeEvent(ET_TIMESTAMP, 40),
            makeEvent(ET_MOUSEMOVE, 50, 700, 10), makeEvent(ET_TIMESTAMP, 60),
            makeEvent(ET_MOUSEMOVE, 70, 300, 300), makeEvent(ET_TIMESTAMP, 80) });
    QVSprite cursor;
    ASSERT_TRUE(cursor.load(m_app->getDisplayDevice(), m_app->getResourceFileSystem(), "cursor.tga"));
    m_app->cursor = &cursor;

    EXPECT_TRUE(m_app->mainLoop());
    // Frame 2 redraws the cursor's old and new places in one area; frame 3
    // (pointer off screen) the old place up to the screen's edge.
    ASSERT_GE(m_app->backgrounds.size(), 3u);
    EXPECT_TRUE(m_app->backgrounds[1] == (HRect{ 100, 100, 208, 158 }));
    EXPECT_TRUE(m_app->backgrounds[2] == (HRect{ 200, 10, 640, 158 }));
    // Off the screen the system pointer comes back.
    ASSERT_FALSE(m_app->systemCursor.empty());
    bool sawShown = false, sawHidden = false;
    for (bool shown : m_app->systemCursor) (shown ? sawShown : sawHidden) = true;
    EXPECT_TRUE(sawShown);
    EXPECT_TRUE(sawHidden);
    EXPECT_FALSE(m_app->systemCursor.back());    // pointer back at (300, 300)

    const H2DSurface16 &screenSurface = m_app->getDisplayDevice()->getScreen();
    EXPECT_NE(screenSurface.getRow(153)[203], 0);  // drawn at (200, 150)
    EXPECT_EQ(screenSurface.getRow(149)[199], 0);

    // Drawing clipped to a rectangle touches nothing outside it.
    for (int y = 296; y < 312; y++) {
        for (int x = 296; x < 312; x++) screenSurface.getRow(y)[x] = 0;
    }
    m_app->drawCursor(HRect{ 302, 302, 304, 304 });
    EXPECT_NE(screenSurface.getRow(302)[302], 0);
    EXPECT_NE(screenSurface.getRow(303)[303], 0);
    EXPECT_EQ(screenSurface.getRow(301)[301], 0);
    EXPECT_EQ(screenSurface.getRow(304)[304], 0);
    EXPECT_EQ(screenSurface.getRow(300)[300], 0);
    // Hidden by the game: nothing at all.
    m_app->setCursorShown(false);
    EXPECT_FALSE(m_app->isCursorShown());
    for (int y = 296; y < 312; y++) {
        for (int x = 296; x < 312; x++) screenSurface.getRow(y)[x] = 0;
    }
    m_app->drawCursor(screen());
    EXPECT_EQ(screenSurface.getRow(302)[302], 0);

    m_app->cursor = nullptr;
    cursor.release();
    finish();
}

// Unregisters and deletes itself on the first key, as a one-shot button might.
class SelfRemovingControl : public QVControl {
public:
    explicit SelfRemovingControl(int *calls) : m_pCalls(calls) {}
    bool handleEvent(const HEvent &event) override
    {
        if (event.m_iType != ET_KEYDOWN) {
            return false;
        }
        ++*m_pCalls;
        QVApplication *owner = getOwner();
        owner->removeControl(this);
        delete this;
        return false;
    }

private:
    int *m_pCalls;
};

TEST_F(LoopTest, ControlMayRemoveItselfWhileHandling)
{
    start({ makeEvent(ET_KEYDOWN, 5, 0, 0, KC_A), makeEvent(ET_KEYDOWN, 6, 0, 0, KC_Z),
            makeEvent(ET_TIMESTAMP, 9) });
    std::vector<std::string> seen;
    int calls = 0;
    ProbeControl *older = new ProbeControl("older", false, &seen);
    m_app->addControl(older);
    m_app->addControl(new SelfRemovingControl(&calls));
    EXPECT_TRUE(m_app->mainLoop());
    EXPECT_EQ(calls, 1);
    // The walk went on to the older control, for both keys.
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(m_app->getControls()->getHead()->getObject(), older);
    finish();
}

TEST_F(LoopTest, FarOffPointersFromADemoAreSafe)
{
    ASSERT_TRUE(writeTGA(m_folder, "cursor.tga", 8, 8, 255, 255, 255));
    start({ makeEvent(ET_MOUSEMOVE, 10, INT32_MAX - 2, INT32_MAX - 1), makeEvent(ET_TIMESTAMP, 20),
            makeEvent(ET_MOUSEMOVE, 30, INT32_MIN, INT32_MIN + 3), makeEvent(ET_TIMESTAMP, 40),
            makeEvent(ET_MOUSEMOVE, 50, 639, 479), makeEvent(ET_TIMESTAMP, 60) });
    QVSprite cursor;
    ASSERT_TRUE(cursor.load(m_app->getDisplayDevice(), m_app->getResourceFileSystem(), "cursor.tga"));
    m_app->cursor = &cursor;
    EXPECT_TRUE(m_app->mainLoop());
    // Every area drawn stayed on the screen.
    for (const HRect &r : m_app->backgrounds) {
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, 640);
        EXPECT_LE(r.bottom, 480);
    }
    m_app->invalidateCursor();
    m_app->presentFrame();
    m_app->cursor = nullptr;
    cursor.release();
    finish();
}

} // namespace
