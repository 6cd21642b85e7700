#include "TileCell.h"

#include "HLog.h"
#include "HRandom.h"
#include "TileType.h"

void TileCell::setExploding(bool bFlag, int iMs)
{
    m_exploding = bFlag ? 1 : 0;
    m_totalMs = iMs;
    m_remainingMs = iMs;
}

float TileCell::animationFraction() const
{
    return (float)(m_totalMs - m_remainingMs) / (float)(m_totalMs + 1);
}

void randomTileType(HRandom *pRandom, int colours, int baseType, TileCell *cell, bool wildAllowed)
{
    if (!cell) {
        return;
    }
    // A board without a generator deals like a generator seeded with 0.
    const uint32_t r = pRandom ? pRandom->nextInt(35) : 0;
    if (wildAllowed && r == 35) {
        cell->m_type = TILE_WILD;
    } else {
        // A palette of fewer than one colour would wrap the range to 2^32.
        const uint32_t span = colours > 1 ? (uint32_t)(colours - 1) : 0u;
        cell->m_type = baseType + 1 + (int)(pRandom ? pRandom->nextInt(span) : 0);
    }
    cell->m_exploding = 0;
    cell->m_totalMs = 0;
    cell->m_remainingMs = 0;
}

int getTileScore(const TileCell *cell)
{
    static const int s_scores[TILE_KIND_COUNT] = {
        0,                                  // blank
        10, 15, 20, 25, 30, 35,             // orange .. blue
        40, 45, 50, 60, 70, 80, 90,         // bear .. worm
        0,                                  // blocker
        100                                 // wild
    };

    if (!cell) {
        return 0;
    }
    const int type = cell->m_type;
    if (type < TILE_ORANGE || type > TILE_WILD) {
        errorPrintf("getTileScore() - attempted to get score for type %d", type);
        return 0;
    }
    return s_scores[type];
}
