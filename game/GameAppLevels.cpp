#include "GameApp.h"

#include <cstring>

#include "HCommandLine.h"

void GameApp::initLevelTable()
{
    ::initLevelTable(m_levels);
}

const LevelInfo &GameApp::currentLevelRow() const
{
    int row = m_levelIndex;
    if (row < 0) {
        row = 0;
    } else if (row > LEVEL_COUNT - 1) {
        row = LEVEL_COUNT - 1;
    }
    return m_levels[row];
}

void GameApp::newGame(int levelNumber)
{
    // startLevel adds one, landing on the level asked for (level 1 for
    // anything below). A huge typed level starts at the highest one the HUD
    // can show, so neither the index nor the score factor can overflow.
    if (levelNumber > HIGHEST_START_LEVEL) {
        levelNumber = HIGHEST_START_LEVEL;
    }
    m_levelIndex = levelNumber > 0 ? levelNumber - 2 : -1;
    m_score = 0;
    // A stored start level outside the table pays nothing.
    if (levelNumber == m_settings.m_iStartLevel && levelNumber >= 1 && levelNumber <= LEVEL_COUNT) {
        m_startBonus = m_levels[levelNumber - 1].m_startBonus;
    } else {
        m_startBonus = 0;
    }
    resetPausedTime();
    startLevel();
}

void GameApp::startLevel()
{
    m_levelIndex++;

    // Only reached from a hand-made command string, never from a demo
    // file's name; plays the lesson again.
    if (HCvarManager::hasSwitch(getCommandLine(), "-tutorial")) {
        m_settings.m_iDidTutorial = 0;
    }
    if (m_settings.m_iDidTutorial == 0 && m_levelIndex > 0) {
        releaseTutorialPages();
        m_settings.m_iDidTutorial = 1;
    }

    const LevelInfo &row = currentLevelRow();
    m_timeLeft = m_levelTime = (float)row.m_time;
    m_crunchesNeeded = row.m_crunchesNeeded;
    m_secondsPerCrunch = row.m_secondsPerCrunch;
    m_lastTickTime = 0;

    const bool tutorial = m_settings.m_iDidTutorial == 0;
    if (tutorial) {
        loadTutorialPages();
        m_tutorialStep = 0;
    }
    m_board.generate(row.m_colours, row.m_baseType, row.m_blockers, tutorial);
    m_settings.save();
    invalidateAll();
}
