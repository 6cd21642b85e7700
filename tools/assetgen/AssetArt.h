#ifndef ASSETART_H
#define ASSETART_H

#include "ArtKit.h"
#include "AssetSet.h"

// Tile types as the board numbers them.
enum {
    TILE_ORANGE = 1, TILE_YELLOW, TILE_PURPLE, TILE_RED, TILE_GREEN, TILE_BLUE,
    TILE_BEAR, TILE_CHERRIES, TILE_CHOCOLATE, TILE_GRAPEFRUIT, TILE_LIFESAVER, TILE_PEPPERMINT, TILE_WORM,
    TILE_BLOCKER, TILE_WILD
};

const int kTileSize = 42;
const int kArenaSize = 420;
const int kArenaLeft = 23;      // where the game puts the arena on screen
const int kArenaTop = 17;

// The time bar as the game draws it: "timer.tga" from its left edge and
// top on screen, the bites right of the bar's end. The arena's trough is
// cut round a full bar with its bites.
const int kTimeBarLeft = 66;
const int kTimeBarTop = 402;
const int kTimeBarLength = 337;
const int kTimeBarHeight = 24;
const int kBitesWidth = 10;

// Draws the sweet of a tile type into a 42x42 box at (x, y), shadow included.
void drawSweet(cairo_t *cr, int type, double x, double y);
art::Colour sweetColour(int type);

void drawTiles(AssetSet &set);
void drawHud(AssetSet &set);
void drawButtons(AssetSet &set);
void drawScreens(AssetSet &set);
void drawDialogs(AssetSet &set);

// The shared look of the game's large lettering.
art::TextStyle titleStyle(double size);
art::TextStyle bodyStyle(double size);

#endif
