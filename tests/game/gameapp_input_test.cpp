// Clicks, drags, arrow keys, the title screen, the tutorial script, the
// restart question's refusals and the developer keys.
#include "GameAppTestSupport.h"

#include <memory>

namespace {

struct GameInputTest : public ::testing::Test {
    void SetUp() override
    {
        app.reset(new TestGameApp);
        app->setPlayArea();
    }
    void startAt(int level, int64_t t)
    {
        app->newGame(level);
        app->enterState(GS_PLAYING, 0);
        app->tick(t);
    }
    std::unique_ptr<TestGameApp> app;
};

// Blank at (2, 3) among alternating colours.
static void s_layPlainBoard(TestGameApp &app)
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            app.m_board.setCellType(c, r, TILE_ORANGE + ((c + 2 * r) % 3));
        }
    }
    app.m_board.setCellType(2, 3, TILE_BLANK);
}

TEST_F(GameInputTest, ClickMapsPixelsToCellsAndIgnoresTheFrame)
{
    startAt(4, 1000);
    s_layPlainBoard(*app);
    // Left of the board, inside the play area: floor((100 - 107) / 42) = -1.
    app->click(100, BOARD_TOP + 3 * CELL_PITCH + 5, 1010);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_EQ(2, app->m_board.getBlankColumn());
    // Outside the play area nothing at all happens, not even the hold.
    app->m_buttonHeld = false;
    app->click(5, 5, 1020);
    EXPECT_FALSE(app->m_buttonHeld);
    // The cell's own top-left pixel belongs to it.
    app->click(BOARD_LEFT + 4 * CELL_PITCH, BOARD_TOP + 3 * CELL_PITCH, 1030);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    EXPECT_EQ(4, app->m_board.getBlankColumn());
    EXPECT_EQ(2, app->m_slideFrom[0]);
    EXPECT_EQ(3, app->m_slideFrom[1]);
    EXPECT_EQ(BOARD_LEFT + 4 * CELL_PITCH, app->m_lastClick[0]);
}

TEST_F(GameInputTest, BlockedAndInvalidMovesSoundDifferently)
{
    app->enableSound();
    startAt(4, 1000);
    s_layPlainBoard(*app);
    app->m_board.setCellType(3, 3, TILE_BLOCKER);
    app->takeSounds();
    app->click(TestGameApp::cellX(5), TestGameApp::cellY(3), 1010);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_EQ(std::vector<std::string>{ "blocked.ogg@128" }, app->takeSounds());
    app->click(TestGameApp::cellX(5), TestGameApp::cellY(5), 1020);  // off row and column
    EXPECT_TRUE(app->takeSounds().empty());
    EXPECT_EQ(2, app->m_board.getBlankColumn());
}

TEST_F(GameInputTest, ClickRightAfterRegainingFocusIsIgnored)
{
    startAt(4, 1000);
    s_layPlainBoard(*app);
    HEvent gained;
    memset(&gained, 0, sizeof(gained));
    gained.m_iType = ET_ACTIVATE;
    gained.m_iFlag = 1;
    app->send(gained, 2000);
    app->click(TestGameApp::cellX(2), TestGameApp::cellY(0), 2032);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_EQ(3, app->m_board.getBlankRow());
    app->click(TestGameApp::cellX(2), TestGameApp::cellY(0), 2033);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    EXPECT_EQ(0, app->m_board.getBlankRow());

    // The guard spans the tick count's wrap: 21 ms after the focus came
    // back is still too soon.
    app->enterState(GS_PLAYING, 0);
    s_layPlainBoard(*app);
    app->send(gained, 0xFFFFFFF0);
    app->click(TestGameApp::cellX(2), TestGameApp::cellY(0), 0x00000005);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_EQ(3, app->m_board.getBlankRow());
}

TEST_F(GameInputTest, DragMovesOnlyWhileTheButtonIsHeld)
{
    startAt(4, 1000);
    s_layPlainBoard(*app);
    HEvent move;
    memset(&move, 0, sizeof(move));
    move.m_iType = ET_MOUSEMOVE;
    move.m_iX = TestGameApp::cellX(2);
    move.m_iY = TestGameApp::cellY(1);
    app->send(move, 1010);
    EXPECT_EQ(GS_PLAYING, app->m_state) << "no button held";
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(0), 1020);     // invalid, but holds
    EXPECT_TRUE(app->m_buttonHeld);
    app->send(move, 1030);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    app->key(ET_KEYUP, KC_LBUTTON, 0, 1040);
    EXPECT_FALSE(app->m_buttonHeld);
}

TEST_F(GameInputTest, ClickDuringUserPauseOnlyResumes)
{
    app->enableSound();
    startAt(4, 1000);
    s_layPlainBoard(*app);
    app->setPaused(true);
    app->takeSounds();
    app->click(TestGameApp::cellX(2), TestGameApp::cellY(0), 1100);
    EXPECT_FALSE(app->m_paused);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_EQ(3, app->m_board.getBlankRow());
    EXPECT_EQ(std::vector<std::string>{ "guiclick.wav@128" }, app->takeSounds());

    // Arrow keys are not held back by the pause.
    app->setPaused(true);
    app->key(ET_KEYDOWN, KC_UP, 0, 1200);
    EXPECT_TRUE(app->m_paused);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    EXPECT_EQ(2, app->m_board.getBlankRow());
    EXPECT_EQ(std::vector<std::string>{ "click.wav@128" }, app->takeSounds());
}

TEST_F(GameInputTest, ArrowKeysFollowTheKeyboardSetting)
{
    startAt(4, 1000);
    s_layPlainBoard(*app);
    // Moves the blank: right arrow takes the tile right of it.
    app->key(ET_KEYDOWN, KC_RIGHT, 0, 1010);
    EXPECT_EQ(3, app->m_board.getBlankColumn());
    EXPECT_EQ(BOARD_LEFT + CELL_PITCH * 2 + CELL_PITCH, app->m_lastClick[0]);
    app->tickUntil(1010, 1200);
    ASSERT_EQ(GS_PLAYING, app->m_state);

    app->m_settings.m_iKeyboardMovesSpace = 0;
    s_layPlainBoard(*app);
    // Moves the tiles: the tile above the blank comes down.
    app->key(ET_KEYDOWN, KC_DOWN, 0, 1210);
    EXPECT_EQ(2, app->m_board.getBlankColumn());
    EXPECT_EQ(2, app->m_board.getBlankRow());

    // At the edge the target is off the board: nothing.
    app->tickUntil(1210, 1400);
    app->m_settings.m_iKeyboardMovesSpace = 1;
    app->m_board.setCellType(0, 0, TILE_BLANK);
    app->key(ET_KEYDOWN, KC_LEFT, 0, 1410);
    EXPECT_EQ(GS_PLAYING, app->m_state);
    app->key(ET_KEYDOWN, KC_UP, 0, 1420);
    EXPECT_EQ(GS_PLAYING, app->m_state);
}

TEST_F(GameInputTest, EnterOnTheTitleStartsAGameOnOtherInfoScreensContinues)
{
    app->resetToTitle();
    app->m_settings.m_iStartLevel = 10;
    app->typeChar('\r', 1000);
    EXPECT_EQ(GS_GET_READY, app->m_state);
    EXPECT_EQ(GET_READY_INFO_MS, app->m_countdownTotal);
    EXPECT_EQ(9, app->m_levelIndex);
    EXPECT_EQ(0u, app->m_score);

    app->m_score = 1234;
    app->enterState(GS_INFO_GREEN, 0);
    app->typeChar('\r', 1100);
    EXPECT_EQ(GS_GET_READY, app->m_state);
    EXPECT_EQ(9, app->m_levelIndex);
    EXPECT_EQ(1234u, app->m_score) << "no new game";

    app->enterState(GS_PLAYING, 0);
    app->typeChar('\r', 1200);
    EXPECT_EQ(GS_PLAYING, app->m_state);
}

TEST_F(GameInputTest, TutorialScriptAcceptsOnlyItsCellsInOrder)
{
    app->m_settings.m_iDidTutorial = 0;
    app->resetToTitle();
    app->typeChar('\r', 1000);
    ASSERT_EQ(0, app->m_levelIndex);
    // The fixed lesson board: blank top-left, a row of oranges beside it.
    EXPECT_EQ(TILE_BLANK, app->m_board.getCell(0, 0).m_type);
    EXPECT_EQ(TILE_ORANGE, app->m_board.getCell(5, 0).m_type);
    int64_t t = app->tickWhile(1000, GS_GET_READY);
    ASSERT_EQ(GS_PLAYING, app->m_state);

    app->click(TestGameApp::cellX(2), TestGameApp::cellY(0), t += 10);
    EXPECT_EQ(GS_PLAYING, app->m_state) << "step 1's cell before step 0's";
    EXPECT_EQ(0, app->m_tutorialStep);

    // Arrow keys are free and do not advance the script.
    app->key(ET_KEYDOWN, KC_RIGHT, 0, t += 10);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    EXPECT_EQ(0, app->m_tutorialStep);
    EXPECT_EQ(TUTORIAL_SLIDE_MS, app->m_countdownTotal);
    t = app->tickWhile(t, GS_SLIDING);
    app->key(ET_KEYDOWN, KC_LEFT, 0, t += 10);
    t = app->tickWhile(t, GS_SLIDING);
    ASSERT_EQ(0, app->m_board.getBlankColumn());

    static const int cells[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };
    for (int step = 0; step < 5; step++) {
        ASSERT_EQ(GS_PLAYING, app->m_state) << "step " << step;
        app->click(TestGameApp::cellX(cells[step][0]), TestGameApp::cellY(cells[step][1]), t += 10);
        EXPECT_EQ(step + 1, app->m_tutorialStep);
        for (int i = 0; i < 200 && app->m_state != GS_PLAYING && app->m_state != GS_LEVEL_DONE &&
                        app->m_state != GS_BONUS_COUNT; i++) {
            app->tick(t += 16);
        }
    }
    // Two lines: level 1 is done; its clock never moved, so the bonus is whole.
    t = app->tickUntil(t, t + 1000);
    EXPECT_EQ(0, app->m_crunchesNeeded);
    EXPECT_EQ(3000, app->m_levelBonus);
    EXPECT_EQ(60u + 90u, app->m_score);
    EXPECT_EQ(0, app->m_settings.m_iDidTutorial);
    t = app->tickUntil(t, t + BONUS_COUNT_MS + NEXT_LEVEL_MS);
    EXPECT_EQ(1, app->m_levelIndex);
    EXPECT_EQ(1, app->m_settings.m_iDidTutorial) << "reaching level 2 ends the tutorial";
    EXPECT_EQ(GS_INFO_HINT, app->m_state);
}

TEST_F(GameInputTest, RestartQuestionIsRefusedWhereItMustBe)
{
    // Refusals never open the dialog, so nothing here may block.
    app->resetToTitle();
    app->m_timeLeft = 50.0f;
    app->confirmRestart();
    EXPECT_FALSE(app->isPaused());
    EXPECT_EQ(GS_INFO_START, app->m_state);

    startAt(4, 1000);
    app->enterState(GS_CRUNCHING, CRUNCH_MS);
    app->confirmRestart();
    EXPECT_EQ(GS_CRUNCHING, app->m_state);

    app->enterState(GS_PLAYING, 0);
    app->m_timeLeft = 0.0f;
    app->confirmRestart();
    EXPECT_EQ(GS_PLAYING, app->m_state);

    app->m_timeLeft = 50.0f;
    app->m_settings.m_iDidTutorial = 0;
    app->confirmRestart();
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_FALSE(app->isPaused());
}

TEST_F(GameInputTest, RestartQuestionQuitKeepsTheGame)
{
    startAt(4, 1000);
    app->m_timeLeft = 50.0f;
    app->m_score = 1234;
    const int level = app->m_levelIndex;
    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    ASSERT_TRUE(app->m_eventQueue.postEvent(quit));
    HEvent command;
    memset(&command, 0, sizeof(command));
    command.m_iType = ET_COMMAND;
    command.m_iFlag = GAME_COMMAND_RESTART;
    app->send(command, 1100);
    EXPECT_EQ(GS_PLAYING, app->m_state) << "closing the window is no yes";
    EXPECT_EQ(level, app->m_levelIndex);
    EXPECT_EQ(1234u, app->m_score);
    EXPECT_FALSE(app->isPaused()) << "the question's pause has ended";
}

TEST_F(GameInputTest, LosingFocusPausesExceptOnTheTitle)
{
    app->resetToTitle();
    app->setActive(false);
    EXPECT_FALSE(app->m_paused);
    startAt(4, 1000);
    app->m_buttonHeld = true;
    app->setActive(false);
    EXPECT_TRUE(app->m_paused);
    EXPECT_FALSE(app->m_buttonHeld);
}

// --- developer keys ---

TEST_F(GameInputTest, DeveloperSequenceTogglesWithKeysBetween)
{
    startAt(4, 1000);
    EXPECT_FALSE(app->m_devMode);
    app->typeChar('[', 1010);
    app->typeChar('[', 1011);      // the first key twice still counts once
    app->typeChar('x', 1012);
    app->typeChar(']', 1013);
    app->typeChar('q', 1014);
    EXPECT_FALSE(app->m_devMode);
    app->typeChar('[', 1015);
    EXPECT_TRUE(app->m_devMode);

    // The second key alone does nothing.
    app->typeChar(']', 1016);
    app->typeChar('[', 1017);
    EXPECT_TRUE(app->m_devMode);
    app->typeChar(']', 1018);
    app->typeChar('[', 1019);
    EXPECT_FALSE(app->m_devMode) << "the sequence again switches it off";
}

TEST_F(GameInputTest, DeveloperClockKeysOnlyInDeveloperMode)
{
    startAt(5, 1000);
    const float start = app->m_timeLeft;
    app->typeChar('-', 1010);
    EXPECT_FLOAT_EQ(start, app->m_timeLeft);
    app->typeChar('[', 1011);
    app->typeChar(']', 1012);
    app->typeChar('[', 1013);
    ASSERT_TRUE(app->m_devMode);
    app->typeChar('=', 1014);
    EXPECT_FLOAT_EQ(start + 10.0f, app->m_timeLeft) << "not capped by the level's time";
    for (int i = 0; i < 13; i++) {
        app->typeChar('-', 1015 + i);
    }
    EXPECT_LE(app->m_timeLeft, 0.0f);
    // The next playing tick ends the game; its dialog takes this quit.
    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    ASSERT_TRUE(app->m_eventQueue.postEvent(quit));
    app->tick(1100);
    EXPECT_EQ(GS_INFO_START, app->m_state);
}

TEST_F(GameInputTest, TypedLevelJumpOnShiftRelease)
{
    startAt(4, 1000);
    app->typeChar('!', 1010);
    app->typeChar('@', 1011);
    EXPECT_STREQ("12", app->m_typedLevel);
    app->key(ET_KEYUP, KC_SHIFT, 0, 1012);
    EXPECT_EQ(3, app->m_levelIndex) << "outside developer mode only the digits go";
    EXPECT_EQ(0, app->m_typedCount);
    EXPECT_STREQ("", app->m_typedLevel);

    app->typeChar('[', 1013);
    app->typeChar(']', 1014);
    app->typeChar('[', 1015);
    ASSERT_TRUE(app->m_devMode);
    app->typeChar('!', 1016);
    app->typeChar('@', 1017);
    // Digits typed off the playing state wait for a release during play.
    app->enterState(GS_GET_READY, 1000);
    app->key(ET_KEYUP, KC_SHIFT, 0, 1018);
    EXPECT_EQ(2, app->m_typedCount);
    app->enterState(GS_PLAYING, 0);
    app->key(ET_KEYUP, KC_SHIFT, 0, 1019);
    EXPECT_EQ(11, app->m_levelIndex) << "level 12";
    EXPECT_EQ(0u, app->m_score);
}

TEST_F(GameInputTest, TypedLevelHoldsFifteenDigitsAndHugeNumbersStaySane)
{
    startAt(4, 1000);
    for (int i = 0; i < 16; i++) {
        app->typeChar('(', 1010 + i);
    }
    EXPECT_EQ(15, app->m_typedCount);
    EXPECT_EQ(15u, strlen(app->m_typedLevel));
    app->typeChar('[', 1030);
    app->typeChar(']', 1031);
    app->typeChar('[', 1032);
    app->key(ET_KEYUP, KC_SHIFT, 0, 1033);
    // 999999999999999 is no level to play: the jump lands on the highest
    // level the HUD shows, and the levels after it count on from there.
    EXPECT_EQ(HIGHEST_START_LEVEL - 1, app->m_levelIndex);
    EXPECT_EQ(8, app->m_crunchesNeeded) << "far levels use the last row";
    EXPECT_FLOAT_EQ(36.0f, app->m_levelTime);
    EXPECT_EQ(0u, app->m_score);
    // Six oranges score 60 times the level number, with nothing wrapped.
    app->layRowCompletion();
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(1), 1040);
    app->tickWhile(1040, GS_SLIDING);
    EXPECT_EQ((uint32_t)HIGHEST_START_LEVEL * 60u, app->m_score);
    app->startLevel();
    EXPECT_EQ(HIGHEST_START_LEVEL, app->m_levelIndex);
}

TEST_F(GameInputTest, UnknownEventsAreReportedAndIgnored)
{
    startAt(4, 1000);
    HEvent wheel;
    memset(&wheel, 0, sizeof(wheel));
    wheel.m_iType = ET_MOUSEWHEEL;
    EXPECT_FALSE(app->send(wheel, 1010));
    wheel.m_iType = 77;
    EXPECT_FALSE(app->send(wheel, 1011));
    EXPECT_EQ(GS_PLAYING, app->m_state);
}

} // namespace
