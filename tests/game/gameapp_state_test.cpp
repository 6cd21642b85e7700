// The game's tick: clock, timed states, scoring of cleared lines, the end of
// a level with its bonuses, the level clock with its alarm, and pausing.
#include "GameAppTestSupport.h"

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

struct GameStateTest : public ::testing::Test {
    void SetUp() override
    {
        app.reset(new TestGameApp);
        app->setPlayArea();
    }
    // Starts a game at a level and takes the first tick at time t.
    void startAt(int level, int64_t t)
    {
        app->newGame(level);
        app->enterState(GS_PLAYING, 0);
        app->tick(t);
        now = t;
    }
    // Clicks the orange under the blank and ticks until the slide ends.
    void completeRow()
    {
        app->layRowCompletion();
        now += 16;
        app->click(TestGameApp::cellX(0), TestGameApp::cellY(1), now);
        ASSERT_EQ(GS_SLIDING, app->m_state);
        now = app->tickWhile(now, GS_SLIDING);
    }
    std::unique_ptr<TestGameApp> app;
    int64_t now = 0;
};

TEST_F(GameStateTest, ClockTakesPausesOutAndNeverRunsBack)
{
    startAt(4, 10000);
    EXPECT_EQ(10000, app->m_lastTickTime);

    // A pause of 500 ms: the game clock resumes where it stopped.
    app->setPaused(true);
    app->tick(10100);
    EXPECT_EQ(10000, app->m_lastTickTime) << "nothing advances while paused";
    app->setCurrentTime(10500);
    app->setPaused(false);
    app->tick(10520);
    EXPECT_EQ(10020, app->m_gameTime);
    EXPECT_EQ(10020, app->m_lastTickTime);

    // Once pauses were taken out, an event stamped before the last tick
    // holds the clock where it was.
    const float before = app->m_timeLeft;
    app->tick(9000);
    EXPECT_EQ(10020, app->m_gameTime);
    EXPECT_FLOAT_EQ(before, app->m_timeLeft);
}

TEST_F(GameStateTest, ClockRunsOnAcrossTheTickCountWrapAfterAPause)
{
    // Stamps carry the low 32 bits of the tick count: past 2^31 ms they
    // are read as negative numbers, and after 2^32 they start again from 0.
    const int64_t start = 0xfffff800;   // 2048 ms before the wrap
    startAt(4, start);
    app->setPaused(true);
    app->setCurrentTime(start + 500);
    app->setPaused(false);
    // After a pause, a level start restarts the tick clock; its get-ready
    // wait runs across the wrap and ends on time.
    app->startLevel();
    app->enterState(GS_GET_READY, GET_READY_LEVEL_MS);
    int64_t t = start + 500;
    for (int i = 0; i < 1000 && app->m_state == GS_GET_READY; i++) {
        t += 16;
        app->tick((uint32_t)t);
    }
    EXPECT_EQ(GS_PLAYING, app->m_state);
    EXPECT_GE(t - (start + 500), GET_READY_LEVEL_MS);
    EXPECT_LE(t - (start + 500), GET_READY_LEVEL_MS + 48);
}

TEST_F(GameStateTest, NegativeStepCountsOneMillisecondZeroStepNothing)
{
    startAt(4, 5000);
    app->enterState(GS_GET_READY, 100);
    app->tick(5000);
    EXPECT_EQ(100, app->m_countdown) << "same stamp: nothing advances";
    app->tick(4000);
    EXPECT_EQ(99, app->m_countdown) << "a step back counts as 1 ms";
    app->tick(4050);
    EXPECT_EQ(49, app->m_countdown) << "the clock goes on from the step back";
}

TEST_F(GameStateTest, MoveSlidesCrunchesRefillsAndScores)
{
    app->enableSound();
    startAt(4, 20000);
    app->m_timeLeft = 298.0f;   // 4 s per line: capped at the level's 300
    const uint32_t score0 = app->m_score;
    const int needed0 = app->m_crunchesNeeded;
    app->takeSounds();

    app->layRowCompletion();
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(1), 20010);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    EXPECT_EQ(SLIDE_MS, app->m_countdownTotal);
    EXPECT_EQ(std::vector<std::string>{ "click.wav@128" }, app->takeSounds());
    EXPECT_EQ(0, app->m_slideFrom[0]);
    EXPECT_EQ(0, app->m_slideFrom[1]);

    app->tick(20040);
    EXPECT_EQ(GS_SLIDING, app->m_state) << "64 ms have not passed";
    app->tick(20074);
    ASSERT_EQ(GS_CRUNCHING, app->m_state);
    EXPECT_EQ(CRUNCH_MS, app->m_countdown);
    // Six oranges at 10 points, times level 4.
    EXPECT_EQ(score0 + 4u * 60u, app->m_score);
    EXPECT_EQ(needed0 - 1, app->m_crunchesNeeded);
    EXPECT_FLOAT_EQ(300.0f, app->m_timeLeft);
    EXPECT_EQ(std::vector<std::string>{ "crunch.wav@128" }, app->takeSounds());
    EXPECT_EQ(240, app->m_floatingScores[0].m_value);
    EXPECT_EQ(TestGameApp::cellX(0), (int)app->m_floatingScores[0].m_x);

    app->tickUntil(20074, 20074 + CRUNCH_MS);
    EXPECT_EQ(GS_REFILLING, app->m_state);
    EXPECT_EQ(REFILL_MS, app->m_countdownTotal);
    app->tickUntil(20074 + CRUNCH_MS, 20074 + CRUNCH_MS + REFILL_MS);
    // The refill may cascade; it always settles back into play.
    int64_t t = 20074 + CRUNCH_MS + REFILL_MS;
    for (int i = 0; i < 200 && app->m_state != GS_PLAYING; i++) {
        t += 16;
        app->tick(t);
    }
    EXPECT_EQ(GS_PLAYING, app->m_state);
}

TEST_F(GameStateTest, OneMoreToGoOnlyWhenExactlyOneLineRemains)
{
    app->enableSound();
    startAt(4, 1000);
    app->m_crunchesNeeded = 2;
    app->takeSounds();
    completeRow();
    ASSERT_EQ(GS_CRUNCHING, app->m_state);
    EXPECT_EQ(1, app->m_crunchesNeeded);
    std::vector<std::string> sounds = app->takeSounds();
    EXPECT_EQ((std::vector<std::string>{ "click.wav@128", "onemoretogo.ogg@128", "crunch.wav@64" }), sounds);

    // In the tutorial the reminder stays silent.
    app.reset(new TestGameApp);
    app->setPlayArea();
    app->enableSound();
    app->m_settings.m_iDidTutorial = 0;
    startAt(1, 1000);
    app->m_tutorialStep = 5;
    app->m_crunchesNeeded = 2;
    app->takeSounds();
    app->layRowCompletion();
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(1), 1016);
    EXPECT_EQ(TUTORIAL_SLIDE_MS, app->m_countdownTotal);
    app->tickUntil(1016, 1016 + TUTORIAL_SLIDE_MS);
    ASSERT_EQ(GS_CRUNCHING, app->m_state);
    sounds = app->takeSounds();
    EXPECT_EQ((std::vector<std::string>{ "click.wav@128", "crunch.wav@128" }), sounds);
}

TEST_F(GameStateTest, TwoLinesAtOnceFinishTheLevelWithoutTheReminder)
{
    app->enableSound();
    // Level 33 adds no time per line.
    startAt(33, 1000);
    app->m_crunchesNeeded = 2;
    app->m_timeLeft = 20.0f;
    // Blank at (0, 0); shifting column 0 up completes rows 0 (oranges) and
    // 1 (yellows) together.
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            int type = TILE_YELLOW + ((c + r) & 1);
            if (r == 0) {
                type = TILE_ORANGE;
            } else if (r == 1) {
                type = TILE_YELLOW;
            }
            app->m_board.setCellType(c, r, type);
        }
    }
    app->m_board.setCellType(0, 1, TILE_ORANGE);
    app->m_board.setCellType(0, 2, TILE_YELLOW);
    app->m_board.setCellType(0, 0, TILE_BLANK);
    ASSERT_TRUE(app->m_board.isFreeOfCrunches());
    app->takeSounds();

    now += 16;
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(5), now);
    ASSERT_EQ(GS_SLIDING, app->m_state);
    const float clockAtMove = app->m_timeLeft;
    const uint32_t scoreAtMove = app->m_score;
    now = app->tickWhile(now, GS_SLIDING);
    ASSERT_EQ(GS_CRUNCHING, app->m_state);
    EXPECT_EQ(0, app->m_crunchesNeeded);
    EXPECT_FLOAT_EQ(clockAtMove, app->m_timeLeft) << "no seconds per line on level 33";
    EXPECT_GT(app->m_score, scoreAtMove);
    EXPECT_EQ(0u, (app->m_score - scoreAtMove) % 33u) << "line points times the level number";
    EXPECT_EQ((std::vector<std::string>{ "click.wav@128", "crunch.wav@128" }), app->takeSounds());

    now = app->tickUntil(now, now + CRUNCH_MS);
    EXPECT_EQ(GS_LEVEL_DONE, app->m_state) << "straight to the level's end";
    EXPECT_EQ(std::vector<std::string>{ "levelup.ogg@128" }, app->takeSounds());
}

TEST_F(GameStateTest, LevelEndBonusCountAndNextLevel)
{
    app->enableSound();
    startAt(4, 1000);
    app->m_crunchesNeeded = 1;
    completeRow();
    ASSERT_EQ(GS_CRUNCHING, app->m_state);
    EXPECT_EQ(0, app->m_crunchesNeeded);
    app->takeSounds();
    app->m_timeLeft = 100.0f;   // the clock stands still outside play
    const uint32_t scoreBefore = app->m_score;

    now = app->tickUntil(now, now + CRUNCH_MS);
    ASSERT_EQ(GS_LEVEL_DONE, app->m_state);
    EXPECT_EQ(LEVEL_DONE_MS, app->m_countdown);
    EXPECT_TRUE(app->m_board.getCell(3, 3).isExploding());
    EXPECT_EQ(std::vector<std::string>{ "levelup.ogg@128" }, app->takeSounds());

    now = app->tickUntil(now, now + LEVEL_DONE_MS);
    ASSERT_EQ(GS_BONUS_COUNT, app->m_state);
    EXPECT_EQ(4000, app->m_levelBonus) << "10 x 100 s x level 4";
    // Bonus clicks at most every 60 ms.
    app->takeSounds();
    now = app->tickUntil(now, now + 40, 20);
    EXPECT_EQ(1u, app->takeSounds().size());

    now = app->tickUntil(now, now + BONUS_COUNT_MS);
    ASSERT_EQ(GS_NEXT_LEVEL, app->m_state);
    EXPECT_EQ(scoreBefore + 4000u, app->m_score);
    EXPECT_EQ(3, app->m_levelIndex);

    now = app->tickUntil(now, now + NEXT_LEVEL_MS);
    EXPECT_EQ(4, app->m_levelIndex);
    ASSERT_EQ(GS_GET_READY, app->m_state);
    EXPECT_EQ(GET_READY_LEVEL_MS, app->m_countdownTotal);
    EXPECT_EQ(7, app->m_crunchesNeeded);
    EXPECT_FLOAT_EQ(120.0f, app->m_timeLeft);

    now = app->tickUntil(now, now + GET_READY_LEVEL_MS);
    EXPECT_EQ(GS_PLAYING, app->m_state);
}

TEST_F(GameStateTest, EarlyLevelsPayAShareOf3000AndShowTheirInfoScreens)
{
    startAt(2, 1000);
    app->m_crunchesNeeded = 1;
    completeRow();
    app->m_timeLeft = 150.0f;   // a quarter of 600 s
    now = app->tickUntil(now, now + CRUNCH_MS + LEVEL_DONE_MS);
    ASSERT_EQ(GS_BONUS_COUNT, app->m_state);
    EXPECT_EQ(750, app->m_levelBonus);
    now = app->tickUntil(now, now + BONUS_COUNT_MS + NEXT_LEVEL_MS);
    EXPECT_EQ(2, app->m_levelIndex);
    EXPECT_EQ(GS_INFO_BLACKJELLYBEAN, app->m_state);
    EXPECT_EQ(0, app->m_countdownTotal) << "info screens are untimed";
    now = app->tickUntil(now, now + 5000, 100);
    EXPECT_EQ(GS_INFO_BLACKJELLYBEAN, app->m_state);
}

TEST_F(GameStateTest, StartBonusShownThenPaidOnce)
{
    app->m_settings.m_iStartLevel = 6;
    startAt(6, 1000);
    EXPECT_EQ(25000, app->m_startBonus);
    app->m_crunchesNeeded = 1;
    completeRow();
    app->m_timeLeft = 30.0f;
    const uint32_t scoreBefore = app->m_score;
    now = app->tickUntil(now, now + CRUNCH_MS + LEVEL_DONE_MS);
    ASSERT_EQ(GS_START_BONUS, app->m_state);
    EXPECT_EQ(25000, app->m_startBonusShown);
    now = app->tickUntil(now, now + START_BONUS_MS);
    ASSERT_EQ(GS_BONUS_COUNT, app->m_state);
    EXPECT_EQ(10 * 30 * 6, app->m_levelBonus) << "orange's 10 points x 30 s x level 6";
    now = app->tickUntil(now, now + BONUS_COUNT_MS);
    EXPECT_EQ(scoreBefore + 1800u + 25000u, app->m_score);
    EXPECT_EQ(0, app->m_startBonus);
    now = app->tickUntil(now, now + NEXT_LEVEL_MS);
    EXPECT_EQ(GS_INFO_WILDCARD, app->m_state) << "level 7 introduces the wild";
}

TEST_F(GameStateTest, ClockRunsOutIntoGameOverAndTheTitle)
{
    app->enableSound();
    startAt(5, 1000);
    app->m_timeLeft = 0.05f;
    app->takeSounds();
    // The game-over dialog takes this quit and closes.
    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    ASSERT_TRUE(app->m_eventQueue.postEvent(quit));
    app->tick(1100);
    EXPECT_EQ(GS_INFO_START, app->m_state);
    EXPECT_EQ(0, app->m_countdown);
    const std::vector<std::string> sounds = app->takeSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "gameover.ogg@128"), sounds.end());
    EXPECT_EQ(4, app->m_levelIndex) << "the level reached stays for the high scores";
}

TEST_F(GameStateTest, ClockDoesNotEndAGameMidSlide)
{
    startAt(5, 1000);
    app->layRowCompletion();
    app->m_board.setCellType(0, 1, TILE_RED);   // no line this time
    app->click(TestGameApp::cellX(0), TestGameApp::cellY(1), 1010);
    ASSERT_EQ(GS_SLIDING, app->m_state);
    app->m_timeLeft = -1.0f;
    app->tick(1030);
    EXPECT_EQ(GS_SLIDING, app->m_state);
    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    ASSERT_TRUE(app->m_eventQueue.postEvent(quit));
    app->tick(1080);
    EXPECT_EQ(GS_PLAYING, app->m_state) << "the slide ends first";
    app->tick(1096);
    EXPECT_EQ(GS_INFO_START, app->m_state) << "the first playing tick after the slide ends it";
}

TEST_F(GameStateTest, AlarmRisesBelowTenSecondsAndStopsAbove)
{
    app->enableSound();
    startAt(5, 1000);
    app->m_timeLeft = 5.0f;
    app->tick(1016);
    ASSERT_GE(app->m_alarmVoice, 0);
    EXPECT_TRUE(app->m_alarmPlaying);
    EXPECT_EQ("klaxon.ogg", app->voiceName(app->m_alarmVoice));
    // ((1 - t/10) * 0.5 + 0.5) * 255 just under 5 s
    EXPECT_EQ(191, app->voiceVolume(app->m_alarmVoice));
    app->m_timeLeft = 9.99f;
    app->tick(1032);
    EXPECT_EQ(127, app->voiceVolume(app->m_alarmVoice));

    const int voice = app->m_alarmVoice;
    app->mixSome();
    EXPECT_GT(app->voicePosition(voice), 0);
    app->m_timeLeft = 20.0f;
    app->tick(1048);
    EXPECT_FALSE(app->m_alarmPlaying);
    EXPECT_FALSE(app->voiceRunning(voice));
    EXPECT_EQ(0, app->voicePosition(voice)) << "stopped alarms rewind";

    // The second alarm reuses the voice.
    app->m_timeLeft = 3.0f;
    app->tick(1064);
    EXPECT_EQ(voice, app->m_alarmVoice);
    EXPECT_TRUE(app->voiceRunning(voice));
}

TEST_F(GameStateTest, AlarmSilentWhenDisabledOrDuringTheTutorial)
{
    app->enableSound();
    app->m_settings.m_iAlarmEnabled = 0;
    startAt(5, 1000);
    app->m_timeLeft = 5.0f;
    app->tick(1016);
    EXPECT_EQ(-1, app->m_alarmVoice);

    app.reset(new TestGameApp);
    app->setPlayArea();
    app->enableSound();
    app->m_settings.m_iDidTutorial = 0;
    startAt(1, 1000);
    app->m_timeLeft = 5.0f;
    app->tickUntil(1000, 3000, 50);
    EXPECT_FLOAT_EQ(5.0f, app->m_timeLeft) << "the tutorial's clock stands still";
    EXPECT_EQ(-1, app->m_alarmVoice);
}

TEST_F(GameStateTest, UserPauseStopsEverythingAndTheAlarm)
{
    app->enableSound();
    startAt(5, 1000);
    app->m_timeLeft = 5.0f;
    app->tick(1016);
    ASSERT_TRUE(app->m_alarmPlaying);
    app->setPaused(true);
    EXPECT_FALSE(app->m_alarmPlaying);
    const float left = app->m_timeLeft;
    app->tickUntil(1016, 4000, 100);
    EXPECT_FLOAT_EQ(left, app->m_timeLeft);
    app->setPaused(true);
    app->setPaused(false);
    EXPECT_FALSE(app->isPaused()) << "one resume ends a doubled pause";
    app->tick(4016);
    EXPECT_NEAR(left - 0.016f, app->m_timeLeft, 1e-3);
}

// Paused, the clock stands, yet the idle ticks must still be paced: ticks
// stamped 1 ms apart sleep out the rest of each idle step.
TEST_F(GameStateTest, PausedTicksArePacedLikeIdleSteps)
{
    startAt(5, 1000);
    app->setPaused(true);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 1; i <= 60; i++) {
        app->tick(2000 + i);
    }
    const auto slept = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(slept, 120) << "60 paused ticks 1 ms apart went unpaced";
}

TEST_F(GameStateTest, FloatingScoresRiseAndANinthIsDropped)
{
    startAt(4, 1000);
    app->m_lastClick[0] = 200;
    app->m_lastClick[1] = 300;
    for (int i = 0; i < 9; i++) {
        app->addFloatingScore(100 + i);
    }
    for (int i = 0; i < FLOATING_SCORE_COUNT; i++) {
        EXPECT_EQ(100 + i, app->m_floatingScores[i].m_value);
        EXPECT_EQ(2000, app->m_floatingScores[i].m_timeMs);
    }
    app->updateFloatingScores(500);
    EXPECT_EQ(1500, app->m_floatingScores[0].m_timeMs);
    app->updateFloatingScores(500);
    EXPECT_LT(app->m_floatingScores[0].m_y, 300.0f) << "score texts rise";
    app->updateFloatingScores(1000);
    EXPECT_EQ(0, app->m_floatingScores[0].m_timeMs);
    app->addFloatingScore(7);
    EXPECT_EQ(7, app->m_floatingScores[0].m_value) << "a freed slot is taken again";
}

TEST_F(GameStateTest, ExitEndsTheLoopOnTheNextTick)
{
    startAt(4, 1000);
    HEvent quit;
    memset(&quit, 0, sizeof(quit));
    quit.m_iType = ET_QUIT;
    EXPECT_TRUE(app->send(quit, 1016)) << "the quit's own step ends the loop";
    EXPECT_EQ(GS_EXITING, app->m_state);
    EXPECT_TRUE(app->tick(1032));
}

TEST_F(GameStateTest, TimeBarFollowsTheClockAndBlinksLate)
{
    startAt(4, 1000);
    // No timer sprite loaded: width 0, the bar stays at its left edge.
    EXPECT_EQ(TIME_BAR_LEFT, app->m_timeBarRect.left);
    EXPECT_EQ(TIME_BAR_LEFT, app->m_timeBarRect.right);
    app->m_timeLeft = 5.0f;
    app->m_gameTime = 250;      // odd half-period: hidden
    app->m_timeBarRect.right = 100;
    app->updateTimeBar();
    EXPECT_EQ(110, app->m_timeBarRect.right);
    EXPECT_EQ(110, app->m_timeBarRect.left);
    app->enterState(GS_INFO_HINT, 0);
    app->updateTimeBar();
    EXPECT_EQ(app->m_timeBarRect.left, app->m_timeBarRect.right);
    app->enterState(GS_PLAYING, 0);
    app->m_gameTime = 500;
    app->m_timeLeft = 1.0f;
    app->updateTimeBar();
    EXPECT_EQ(TIME_BAR_LEFT, app->m_timeBarRect.left);
    EXPECT_EQ(8 % 3, app->m_bitesFrame);
}

} // namespace
