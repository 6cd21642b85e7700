#ifndef TILECELL_H
#define TILECELL_H

#include <stdint.h>

class HRandom;
class QVSprite;

// One board cell or queue entry. Copied whole when tiles move, so a tile
// keeps its explosion and its sprite wherever it goes.
struct TileCell {
    int         m_type;         // TileType
    uint8_t     m_exploding;    // 1 while the tile explodes
    int         m_totalMs;      // length of the current explosion
    int         m_remainingMs;  // what is left of it, down to 0
    QVSprite *  m_sprite;       // last sprite the drawing chose; not owned

    void        reset() { m_sprite = nullptr; }
    bool        isExploding() const { return m_exploding != 0; }
    void        setExploding(bool bFlag, int iMs);
    // 0 when the explosion starts (or never did), just under 1 at its end.
    float       animationFraction() const;
};

// Draws a new tile into the cell: rand(35) always, 35 being a wild when
// wilds are allowed, otherwise a second draw picks the palette colour. The
// sprite pointer is left alone. Draw order is part of replay.
void    randomTileType(HRandom *pRandom, int colours, int baseType, TileCell *cell, bool wildAllowed);

// Points of the cell's kind; 0 (with a diagnostic) for blank, removed and
// unknown kinds, 0 silently for a blocker.
int     getTileScore(const TileCell *cell);

#endif // TILECELL_H
