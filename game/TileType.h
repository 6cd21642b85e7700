#ifndef TILETYPE_H
#define TILETYPE_H

// What a board cell holds. Stored as a plain int in every cell; a level's
// palette is a run of consecutive kinds starting at its base + 1.
enum TileType {
    TILE_BLANK          = 0,    // the one empty cell
    TILE_ORANGE         = 1,
    TILE_YELLOW         = 2,
    TILE_PURPLE         = 3,
    TILE_RED            = 4,
    TILE_GREEN          = 5,
    TILE_BLUE           = 6,
    TILE_BEAR           = 7,
    TILE_CHERRIES       = 8,
    TILE_CHOCOLATE      = 9,
    TILE_GRAPEFRUIT     = 10,
    TILE_LIFESAVER      = 11,
    TILE_PEPPERMINT     = 12,
    TILE_WORM           = 13,
    TILE_BLOCKER        = 14,   // black jelly bean: never slides
    TILE_WILD           = 15,   // matches every kind
    TILE_REMOVED        = 255   // exploded, waiting for the refill
};

enum {
    TILE_KIND_COUNT     = 16,   // kinds 0..15 that a line can hold
    TILE_LAST_PALETTE   = TILE_WORM
};

#endif // TILETYPE_H
