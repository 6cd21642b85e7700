#include "LevelInfo.h"

static const LevelInfo s_levelTable[LEVEL_COUNT] = {
    // crunches, s/crunch, colours, base, blockers, time, start bonus
    { 2, 5.0f, 3, 0, 0, 30000,      0 },   // 1: the tutorial level, untimed in practice
    { 3, 4.0f, 3, 0, 0,   600,      0 },
    { 5, 4.0f, 3, 0, 1,   480,      0 },   // first blockers
    { 6, 4.0f, 3, 0, 2,   300,      0 },
    { 7, 4.0f, 3, 0, 3,   120,      0 },
    { 8, 3.0f, 4, 0, 0,    60,  25000 },   // 6: fourth colour
    { 8, 3.0f, 4, 0, 1,    60,      0 },   // 7: the dealt wild
    { 8, 3.0f, 4, 0, 2,    60,      0 },
    { 8, 4.0f, 4, 0, 3,    60,      0 },
    { 8, 1.0f, 5, 0, 0,    60,  75000 },   // 10: fifth colour
    { 8, 2.0f, 5, 0, 1,    60,      0 },
    { 8, 3.0f, 5, 0, 2,    60,      0 },
    { 8, 4.0f, 5, 0, 3,    60,      0 },
    { 8, 1.0f, 6, 0, 0,    60, 175000 },   // 14: sixth colour
    { 8, 2.0f, 6, 0, 1,    60,      0 },
    { 8, 3.0f, 6, 0, 2,    60,      0 },
    { 8, 4.0f, 6, 0, 3,    60,      0 },
    { 8, 3.0f, 6, 1, 3,    60, 300000 },   // 18: the palette starts to slide up
    { 8, 2.0f, 6, 1, 3,    60,      0 },
    { 8, 2.0f, 6, 1, 3,    58,      0 },
    { 8, 2.0f, 6, 2, 3,    56,      0 },
    { 8, 2.0f, 6, 2, 3,    54, 500000 },
    { 8, 2.0f, 6, 2, 3,    52,      0 },
    { 8, 2.0f, 6, 3, 3,    50,      0 },
    { 8, 2.0f, 6, 3, 3,    48,      0 },
    { 8, 2.0f, 6, 3, 3,    46,      0 },
    { 8, 1.0f, 6, 4, 3,    52,      0 },
    { 8, 1.0f, 6, 4, 3,    50,      0 },
    { 8, 1.0f, 6, 4, 3,    48,      0 },
    { 8, 1.0f, 6, 5, 3,    46,      0 },
    { 8, 1.0f, 6, 5, 3,    44,      0 },
    { 8, 1.0f, 6, 5, 3,    42,      0 },
    { 8, 0.0f, 6, 6, 3,    46,      0 },   // 33: lines add no time from here on
    { 8, 0.0f, 6, 6, 3,    44,      0 },
    { 8, 0.0f, 6, 6, 3,    42,      0 },
    { 8, 0.0f, 6, 7, 3,    40,      0 },
    { 8, 0.0f, 6, 7, 3,    38,      0 },
    { 8, 0.0f, 6, 7, 3,    36,      0 }
};

void initLevelTable(LevelInfo levels[LEVEL_COUNT])
{
    if (!levels) {
        return;
    }
    for (int i = 0; i < LEVEL_COUNT; i++) {
        levels[i] = s_levelTable[i];
    }
}

const LevelInfo &levelTableRow(int levelIndex)
{
    if (levelIndex < 0) {
        levelIndex = 0;
    }
    if (levelIndex >= LEVEL_COUNT) {
        levelIndex = LEVEL_COUNT - 1;
    }
    return s_levelTable[levelIndex];
}
