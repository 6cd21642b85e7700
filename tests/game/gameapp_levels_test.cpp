// New games, level starts and the settings they store.
#include "GameAppTestSupport.h"

#include <memory>

namespace {

struct GameLevelsTest : public ::testing::Test {
    void SetUp() override { app.reset(new TestGameApp); }
    std::unique_ptr<TestGameApp> app;
};

TEST_F(GameLevelsTest, NewGameLandsOnTheLevelAskedForOrOnLevelOne)
{
    const int asked[] = { 1, 0, -5 };
    for (int level : asked) {
        app->m_score = 99;
        app->newGame(level);
        EXPECT_EQ(0, app->m_levelIndex) << "newGame(" << level << ")";
        EXPECT_EQ(0u, app->m_score);
        EXPECT_EQ(2, app->m_crunchesNeeded);
        EXPECT_FLOAT_EQ(30000.0f, app->m_timeLeft);
    }
    app->newGame(6);
    EXPECT_EQ(5, app->m_levelIndex);
    EXPECT_EQ(8, app->m_crunchesNeeded);
    EXPECT_FLOAT_EQ(3.0f, app->m_secondsPerCrunch);
    EXPECT_FLOAT_EQ(60.0f, app->m_levelTime);
    EXPECT_EQ(4, app->m_board.getColours());
    EXPECT_EQ(0, app->m_lastTickTime) << "the next tick restarts the tick clock";
}

TEST_F(GameLevelsTest, StartBonusOnlyForTheStartLevelSetting)
{
    app->m_settings.m_iStartLevel = 6;
    app->newGame(6);
    EXPECT_EQ(25000, app->m_startBonus);
    app->m_settings.m_iStartLevel = 1;
    app->newGame(6);
    EXPECT_EQ(0, app->m_startBonus) << "the developer jump pays nothing";
    app->m_settings.m_iStartLevel = 22;
    app->newGame(22);
    EXPECT_EQ(500000, app->m_startBonus);
    // A hand-stored start level outside the table pays nothing and starts there.
    app->m_settings.m_iStartLevel = 50;
    app->newGame(50);
    EXPECT_EQ(0, app->m_startBonus);
    EXPECT_EQ(49, app->m_levelIndex);
}

TEST_F(GameLevelsTest, FarLevelsRepeatTheLastRowButKeepCounting)
{
    app->newGame(38);
    const int colours = app->m_board.getColours();
    app->startLevel();
    EXPECT_EQ(38, app->m_levelIndex);
    EXPECT_FLOAT_EQ(36.0f, app->m_levelTime);
    EXPECT_EQ(8, app->m_crunchesNeeded);
    EXPECT_EQ(colours, app->m_board.getColours());
    EXPECT_EQ(7, app->m_board.getBaseType());
    EXPECT_EQ(3, app->m_board.getBlockers());
}

TEST_F(GameLevelsTest, LevelTableRowsAsDesigned)
{
    // Spot checks of rows that change the game.
    EXPECT_EQ(30000, app->m_levels[0].m_time);
    EXPECT_EQ(1, app->m_levels[2].m_blockers);
    EXPECT_EQ(4, app->m_levels[5].m_colours);
    EXPECT_EQ(175000, app->m_levels[13].m_startBonus);
    EXPECT_EQ(1, app->m_levels[17].m_baseType);
    EXPECT_FLOAT_EQ(0.0f, app->m_levels[32].m_secondsPerCrunch);
    EXPECT_EQ(36, app->m_levels[37].m_time);
}

TEST_F(GameLevelsTest, LaterStartSkipsTheTutorialAndStoresIt)
{
    app->m_settings.m_iDidTutorial = 0;
    app->newGame(6);
    EXPECT_EQ(1, app->m_settings.m_iDidTutorial);
    GameSettings stored;
    stored.m_iDidTutorial = 0;
    stored.load(nullptr);
    EXPECT_EQ(1, stored.m_iDidTutorial) << "saved at the level start";

    app->m_settings.m_iDidTutorial = 0;
    app->newGame(1);
    EXPECT_EQ(0, app->m_settings.m_iDidTutorial);
    EXPECT_EQ(0, app->m_tutorialStep);
    // The lesson's fixed board and column queue.
    EXPECT_EQ(TILE_BLANK, app->m_board.getCell(0, 0).m_type);
    EXPECT_EQ(TILE_YELLOW, app->m_board.getCell(0, 1).m_type);
    const int queue[6] = { 1, 2, 1, 3, 3, 3 };
    for (int c = 0; c < 6; c++) {
        EXPECT_EQ(queue[c], app->m_board.getCell(c, COLUMN_QUEUE).m_type) << "column " << c;
    }
    GameSettings again;
    again.load(nullptr);
    EXPECT_EQ(0, again.m_iDidTutorial) << "quitting in the tutorial plays it again next time";
}

TEST_F(GameLevelsTest, NewGameRestartsThePausedTotal)
{
    app->setCurrentTime(1000);
    app->setPaused(true);
    app->setCurrentTime(3000);
    app->setPaused(false);
    EXPECT_EQ(2000u, app->getPausedTime());
    app->newGame(1);
    EXPECT_EQ(0u, app->getPausedTime());
}

} // namespace
