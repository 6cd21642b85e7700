// The level table: its 38 rows as designed, and what the rest of the game
// relies on them to hold.
#include <gtest/gtest.h>

#include <string.h>

#include <set>

#include "LevelInfo.h"
#include "TileType.h"

namespace {

// The design table, typed in again here: crunches, seconds per crunch,
// colours, base, blockers, time, start bonus.
static const int s_design[LEVEL_COUNT][7] = {
    { 2, 5, 3, 0, 0, 30000, 0 },      { 3, 4, 3, 0, 0, 600, 0 },
    { 5, 4, 3, 0, 1, 480, 0 },        { 6, 4, 3, 0, 2, 300, 0 },
    { 7, 4, 3, 0, 3, 120, 0 },        { 8, 3, 4, 0, 0, 60, 25000 },
    { 8, 3, 4, 0, 1, 60, 0 },         { 8, 3, 4, 0, 2, 60, 0 },
    { 8, 4, 4, 0, 3, 60, 0 },         { 8, 1, 5, 0, 0, 60, 75000 },
    { 8, 2, 5, 0, 1, 60, 0 },         { 8, 3, 5, 0, 2, 60, 0 },
    { 8, 4, 5, 0, 3, 60, 0 },         { 8, 1, 6, 0, 0, 60, 175000 },
    { 8, 2, 6, 0, 1, 60, 0 },         { 8, 3, 6, 0, 2, 60, 0 },
    { 8, 4, 6, 0, 3, 60, 0 },         { 8, 3, 6, 1, 3, 60, 300000 },
    { 8, 2, 6, 1, 3, 60, 0 },         { 8, 2, 6, 1, 3, 58, 0 },
    { 8, 2, 6, 2, 3, 56, 0 },         { 8, 2, 6, 2, 3, 54, 500000 },
    { 8, 2, 6, 2, 3, 52, 0 },         { 8, 2, 6, 3, 3, 50, 0 },
    { 8, 2, 6, 3, 3, 48, 0 },         { 8, 2, 6, 3, 3, 46, 0 },
    { 8, 1, 6, 4, 3, 52, 0 },         { 8, 1, 6, 4, 3, 50, 0 },
    { 8, 1, 6, 4, 3, 48, 0 },         { 8, 1, 6, 5, 3, 46, 0 },
    { 8, 1, 6, 5, 3, 44, 0 },         { 8, 1, 6, 5, 3, 42, 0 },
    { 8, 0, 6, 6, 3, 46, 0 },         { 8, 0, 6, 6, 3, 44, 0 },
    { 8, 0, 6, 6, 3, 42, 0 },         { 8, 0, 6, 7, 3, 40, 0 },
    { 8, 0, 6, 7, 3, 38, 0 },         { 8, 0, 6, 7, 3, 36, 0 },
};

TEST(LevelTable, RowsMatchTheDesign)
{
    LevelInfo levels[LEVEL_COUNT];
    memset(levels, 0xAB, sizeof(levels));
    initLevelTable(levels);
    for (int i = 0; i < LEVEL_COUNT; i++) {
        SCOPED_TRACE(testing::Message() << "level " << i + 1);
        EXPECT_EQ(s_design[i][0], levels[i].m_crunchesNeeded);
        EXPECT_FLOAT_EQ((float)s_design[i][1], levels[i].m_secondsPerCrunch);
        EXPECT_EQ(s_design[i][2], levels[i].m_colours);
        EXPECT_EQ(s_design[i][3], levels[i].m_baseType);
        EXPECT_EQ(s_design[i][4], levels[i].m_blockers);
        EXPECT_EQ(s_design[i][5], levels[i].m_time);
        EXPECT_EQ(s_design[i][6], levels[i].m_startBonus);
        EXPECT_EQ(0, memcmp(&levels[i], &levelTableRow(i), sizeof(LevelInfo)));
    }
    initLevelTable(nullptr);    // refused quietly
}

TEST(LevelTable, WhatTheBoardAndProgressionRelyOn)
{
    std::set<int> bonusLevels;
    int wildLevels = 0;
    for (int i = 0; i < LEVEL_COUNT; i++) {
        const LevelInfo &row = levelTableRow(i);
        SCOPED_TRACE(testing::Message() << "level " << i + 1);
        // Palettes stay inside the sweets; wild and blocker never come from it.
        EXPECT_GE(row.m_colours, 3);
        EXPECT_LE(row.m_colours, 6);
        EXPECT_GE(row.m_baseType, 0);
        EXPECT_LE(row.m_baseType + row.m_colours, (int)TILE_LAST_PALETTE);
        EXPECT_GE(row.m_blockers, 0);
        EXPECT_LE(row.m_blockers, 3);
        EXPECT_GT(row.m_crunchesNeeded, 0);
        EXPECT_GT(row.m_time, 0);
        EXPECT_GE(row.m_secondsPerCrunch, 0.0f);
        if (row.m_startBonus != 0) {
            bonusLevels.insert(i + 1);
        }
        wildLevels += row.m_colours == 4 && row.m_blockers == 1;
        // Only the first two levels have the shape that can get the tutorial
        // board (and the second is never dealt while the tutorial runs).
        if (i > 1) {
            EXPECT_FALSE(row.m_colours == 3 && row.m_baseType == 0 && row.m_blockers == 0);
        }
    }
    // The start levels the options offer, level 1 paying nothing.
    EXPECT_EQ(std::set<int>({ 6, 10, 14, 18, 22 }), bonusLevels);
    EXPECT_EQ(1, wildLevels);
    EXPECT_EQ(4, levelTableRow(6).m_colours);
    EXPECT_EQ(1, levelTableRow(6).m_blockers);
}

TEST(LevelTable, RowsPastTheEndRepeatTheLast)
{
    EXPECT_EQ(&levelTableRow(37), &levelTableRow(38));
    EXPECT_EQ(&levelTableRow(37), &levelTableRow(1000));
    EXPECT_EQ(&levelTableRow(0), &levelTableRow(-1));
    EXPECT_EQ(36, levelTableRow(500).m_time);
}

} // namespace
