// The tutorial as the player sees it: a page per step under the board, a
// pulsing hand over the one cell the script accepts, and the five clicks
// that finish level 1.
#include "GameDrawTestSupport.h"

#include <set>

#include "HPlatform.h"

namespace {

// The hand stands over the cell it points at: top-left (58 + 42c, 45 + 42r).
const int s_handCells[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };

class TutorialDraw : public GameDrawTest {
protected:
    void SetUp() override
    {
        GameDrawTest::SetUp();
        app.m_settings.m_iDidTutorial = 0;
        app.m_state = GS_PLAYING;
    }
    void TearDown() override
    {
        app.releaseTutorialPages();
        GameDrawTest::TearDown();
    }

    // One idle tick of the game clock, as the main loop delivers it.
    void tick(int ms)
    {
        m_clock += (uint64_t)ms;
        HEvent event = {};
        event.m_iType = ET_TIMESTAMP;
        event.setTime(m_clock);
        app.handleEvent(event);
    }
    // Runs the clock until the state is one of the two given.
    void runUntil(int state, int other = -1)
    {
        for (int i = 0; i < 1000 && app.m_state != state && app.m_state != other; i++) {
            tick(16);
        }
    }
    void click(int column, int row) { app.onMouseDown(107 + 42 * column + 21, 101 + 42 * row + 21); }

    uint64_t m_clock = 10000;
};

} // namespace

TEST_F(TutorialDraw, HandStandsOverTheStepsCell)
{
    HRect r;
    EXPECT_FALSE(app.tutorialHandRect(&r)) << "no hand before the pages are loaded";
    app.loadTutorialPages();
    const int w = app.m_sprites[SPR_TUTORIAL_HAND].getWidth();
    const int h = app.m_sprites[SPR_TUTORIAL_HAND].getHeight();
    ASSERT_GT(w, 0);
    static const int corners[5][2] = { { 100, 45 }, { 142, 45 }, { 184, 45 }, { 184, 87 }, { 58, 87 } };
    for (int step = 0; step < 5; step++) {
        app.m_tutorialStep = step;
        ASSERT_TRUE(app.tutorialHandRect(&r)) << step;
        EXPECT_EQ(r.left, corners[step][0]) << step;
        EXPECT_EQ(r.top, corners[step][1]) << step;
        EXPECT_EQ(r.right, corners[step][0] + w) << step;
        EXPECT_EQ(r.bottom, corners[step][1] + h) << step;
        EXPECT_EQ(r.left, 58 + 42 * s_handCells[step][0]);
        EXPECT_EQ(r.top, 45 + 42 * s_handCells[step][1]);
    }
    for (int step : { 5, 6, 100, -1 }) {
        app.m_tutorialStep = step;
        EXPECT_FALSE(app.tutorialHandRect(&r)) << step;
    }
    app.m_tutorialStep = 0;
    EXPECT_TRUE(app.tutorialHandRect(nullptr));

    // Loading again does not stack loads: one release gives them back.
    app.loadTutorialPages();
    EXPECT_EQ(app.m_sprites[SPR_TUTORIAL_HAND].getRefCount(), 1);
    app.releaseTutorialPages();
    for (int i = 0; i < 7; i++) {
        EXPECT_FALSE(app.m_sprites[SPR_TUTORIAL_PAGE + i].isLoaded()) << i;
    }
    app.releaseTutorialPages();
}

TEST_F(TutorialDraw, PagePerStepAndHandUntilTheLast)
{
    app.loadTutorialPages();
    HRect hand0;
    app.m_tutorialStep = 0;
    ASSERT_TRUE(app.tutorialHandRect(&hand0));
    const HRect whole = { 0, 0, 640, 480 };
    const uint16_t kSentinel = 0x0000;
    for (int step = 0; step <= 5; step++) {
        app.m_tutorialStep = step;
        fillScreen(kSentinel);
        app.drawTutorial(whole);
        const int slot = SPR_TUTORIAL_PAGE + step;
        EXPECT_TRUE(shows(slot, 60, 355, 60, 355)) << step;
        EXPECT_TRUE(shows(slot, 60 + 379, 355 + 84, 60, 355)) << step;
        EXPECT_EQ(screen(59, 360), kSentinel);
        EXPECT_EQ(screen(60, 354), kSentinel);
        HRect hand;
        if (step < 5) {
            ASSERT_TRUE(app.tutorialHandRect(&hand));
            // Nothing of the hand outside its rectangle.
            EXPECT_EQ(screen(hand.left - 1, hand.top + 5), kSentinel);
            EXPECT_EQ(screen(hand.right, hand.top + 5), kSentinel);
            EXPECT_EQ(screen(hand.left + 5, hand.bottom), kSentinel);
        } else {
            EXPECT_FALSE(app.tutorialHandRect(&hand));
            for (int y = 45; y < 45 + 84 + 48; y += 7) {
                for (int x = 58; x < 58 + 42 * 4 + 48; x += 7) {
                    ASSERT_EQ(screen(x, y), kSentinel) << "no hand on the last page";
                }
            }
        }
    }

    // Only inside the rectangle asked for.
    app.m_tutorialStep = 2;
    fillScreen(kSentinel);
    app.drawTutorial(HRect{ 100, 400, 120, 410 });
    EXPECT_TRUE(shows(SPR_TUTORIAL_PAGE + 2, 100, 400, 60, 355));
    EXPECT_EQ(screen(99, 405), kSentinel);
    EXPECT_EQ(screen(120, 405), kSentinel);
    EXPECT_EQ(screen(110, 399), kSentinel);
}

TEST_F(TutorialDraw, HandPulsesWithTheClock)
{
    app.loadTutorialPages();
    app.m_tutorialStep = 0;
    HRect hand;
    ASSERT_TRUE(app.tutorialHandRect(&hand));
    const int x = hand.left + 10, y = hand.top + 10;
    std::set<uint16_t> seen;
    const uint64_t start = getMilliseconds();
    while (getMilliseconds() - start < 1000) {
        fillScreen(0);
        app.drawTutorial(hand);
        seen.insert(screen(x, y));
        sleepMilliseconds(20);
    }
    // Added light over black: from nothing up to the hand's own colour.
    EXPECT_GE(seen.size(), 4u) << "the opacity swings";
    uint8_t rgb[3];
    drawTestColour((int)drawTestAssets().size() - 1, rgb);
    for (uint16_t v : seen) {
        EXPECT_LE(v >> 11, rgb[0] >> 3);
    }
}

TEST_F(TutorialDraw, HiddenOutsideTheTutorial)
{
    const HRect whole = { 0, 0, 640, 480 };
    app.m_tutorialStep = 1;

    fillScreen(0x1234);
    app.drawTutorial(whole);
    EXPECT_EQ(screen(60, 355), 0x1234) << "pages not loaded";

    app.loadTutorialPages();
    app.m_settings.m_iDidTutorial = 1;
    app.drawTutorial(whole);
    EXPECT_EQ(screen(60, 355), 0x1234) << "tutorial done";

    app.m_settings.m_iDidTutorial = 0;
    app.m_state = GS_EXITING;
    app.drawTutorial(whole);
    EXPECT_EQ(screen(60, 355), 0x1234) << "exiting";

    app.m_state = GS_PLAYING;
    app.m_beginPause();
    app.drawTutorial(whole);
    EXPECT_EQ(screen(60, 355), 0x1234) << "paused";
    app.m_endPause();

    app.drawTutorial(whole);
    EXPECT_TRUE(shows(SPR_TUTORIAL_PAGE + 1, 60, 355, 60, 355));

    // Through the frame drawing: the page comes on top of the background.
    fillScreen(0x1234);
    app.drawBackground(whole, false);
    EXPECT_TRUE(shows(SPR_TUTORIAL_PAGE + 1, 100, 420, 60, 355));
}

// The lesson end to end: only the cell under the hand is accepted at each
// step, and the five accepted clicks clear the two lines level 1 asks for.
TEST_F(TutorialDraw, FiveClicksUnderTheHandFinishTheLevel)
{
    app.initLevelTable();
    app.newGame(1);
    ASSERT_EQ(app.m_levelIndex, 0);
    ASSERT_TRUE(app.m_sprites[SPR_TUTORIAL_PAGE].isLoaded());
    ASSERT_EQ(app.m_tutorialStep, 0);
    app.m_state = GS_PLAYING;
    app.m_countdown = app.m_countdownTotal = 0;
    ASSERT_EQ(app.m_crunchesNeeded, 2);

    for (int step = 0; step < 5; step++) {
        HRect hand;
        ASSERT_TRUE(app.tutorialHandRect(&hand)) << step;
        const int column = (hand.left - 58) / 42;
        const int row = (hand.top - 45) / 42;

        // Every other cell is refused without a trace.
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                if (c == column && r == row) {
                    continue;
                }
                click(c, r);
                ASSERT_EQ(app.m_tutorialStep, step) << c << "," << r;
                ASSERT_EQ(app.m_state, GS_PLAYING) << c << "," << r;
            }
        }

        // The hand's cell moves, slowly, and the idle tick keeps the hand
        // reported for redrawing.
        click(column, row);
        EXPECT_EQ(app.m_tutorialStep, step + 1);
        EXPECT_EQ(app.m_state, GS_SLIDING);
        EXPECT_EQ(app.m_countdownTotal, 512);
        if (step == 4) {
            break;
        }
        runUntil(GS_PLAYING);
        ASSERT_EQ(app.m_state, GS_PLAYING) << "after step " << step;
        {
            HRect next;
            ASSERT_TRUE(app.tutorialHandRect(&next));
            app.m_dirtyRects.clear();
            tick(1);
            EXPECT_TRUE(dirtyContains(next)) << step;
        }
    }
    HRect none;
    EXPECT_FALSE(app.tutorialHandRect(&none)) << "free play: no hand";

    runUntil(GS_LEVEL_DONE);
    ASSERT_EQ(app.m_state, GS_LEVEL_DONE);
    EXPECT_EQ(app.m_crunchesNeeded, 0);
    EXPECT_EQ(app.m_score, 150u) << "60 for the row, 90 for the column";

    // The level clock never ran, so the whole bonus is paid.
    runUntil(GS_NEXT_LEVEL);
    ASSERT_EQ(app.m_state, GS_NEXT_LEVEL);
    EXPECT_EQ(app.m_levelBonus, 3000);
    EXPECT_EQ(app.m_score, 3150u);

    // Level 2 ends the tutorial for good and gives its pictures back.
    runUntil(GS_INFO_HINT, GS_GET_READY);
    EXPECT_EQ(app.m_levelIndex, 1);
    EXPECT_EQ(app.m_settings.m_iDidTutorial, 1);
    for (int i = 0; i < 7; i++) {
        EXPECT_FALSE(app.m_sprites[SPR_TUTORIAL_PAGE + i].isLoaded()) << i;
    }
    fillScreen(0x1234);
    app.drawTutorial(HRect{ 0, 0, 640, 480 });
    EXPECT_EQ(screen(60, 355), 0x1234);
}
