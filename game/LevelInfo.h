#ifndef LEVELINFO_H
#define LEVELINFO_H

enum {
    LEVEL_COUNT = 38
};

// One row of the level table. A level's palette is the tile kinds
// m_baseType + 1 .. m_baseType + m_colours.
struct LevelInfo {
    int     m_crunchesNeeded;   // lines to clear
    float   m_secondsPerCrunch; // added to the clock per cleared line
    int     m_colours;          // 3..6
    int     m_baseType;
    int     m_blockers;         // dealt on every board of the level
    int     m_time;             // the level's clock, seconds
    int     m_startBonus;       // paid when the game was started here
};

// Writes the 38 rows; row i is level i + 1.
void                initLevelTable(LevelInfo levels[LEVEL_COUNT]);
// Row of a level index (level number - 1); past the last level the last
// row repeats, before the first the first one.
const LevelInfo &   levelTableRow(int levelIndex);

#endif // LEVELINFO_H
