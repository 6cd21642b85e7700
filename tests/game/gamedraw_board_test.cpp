// Board and tile drawing: which picture the play area shows, where tiles
// stand while still, sliding and refilling, which frame an exploding tile
// shows, and what gets reported for redrawing.
#include "GameDrawTestSupport.h"

namespace {

// A board with no complete line: row r holds the kinds (c + 2r) mod 6 + 1,
// blank at (bc, br).
void layOutBoard(GameBoard &board, int bc, int br)
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            board.setCellType(c, r, 1 + (c + 2 * r) % 6);
        }
    }
    board.setCellType(bc, br, TILE_BLANK);
}

int cellX(int c) { return 107 + 42 * c; }
int cellY(int r) { return 101 + 42 * r; }

class BoardDraw : public GameDrawTest {
protected:
    // Lets the board pick every cell's sprite, as a game tick does.
    void pickSprites() { app.m_board.animate(&app, 0); }
    void drawPlayArea() { app.drawBackground(app.m_playAreaRect, false); }
    // The slot whose sprite the cell at (c, r) holds.
    int slotOf(int c, int r) const
    {
        const TileCell cell = app.m_board.getCell(c, r);
        return cell.m_sprite ? (int)(cell.m_sprite - app.m_sprites) : -1;
    }
    bool showsTileOf(int c, int r, int x, int y) const
    {
        const int slot = slotOf(c, r);
        return slot >= 0 && shows(slot, x, y, x, y);
    }
    bool showsArena(int x, int y) const { return shows(SPR_ARENA, x, y, 23, 17); }
};

} // namespace

TEST_F(BoardDraw, SpriteOfAnExplodingCell)
{
    auto nameOf = [this](int type, int totalMs, int remainingMs) -> std::string {
        TileCell cell = {};
        cell.m_type = type;
        if (totalMs > 0) {
            cell.setExploding(true, totalMs);
            cell.m_remainingMs = remainingMs;
        }
        QVSprite *s = app.selectTileSprite(&cell);
        EXPECT_EQ(s, cell.m_sprite) << "the choice is stored in the cell";
        return s ? s->getName() : "(none)";
    };

    static const char *const words[] = { nullptr, "orange", "yellow", "purple", "red", "green", "blue" };
    for (int type = 1; type <= 6; type++) {
        const std::string w = words[type];
        EXPECT_EQ(nameOf(type, 0, 0), "tile_" + w + ".tga");
        EXPECT_EQ(nameOf(type, 1200, 1200), "tile_" + w + ".tga") << "fraction 0";
        EXPECT_EQ(nameOf(type, 1200, 600), "anim_tile_" + w + "_ex04.tga") << "just under half way";
        EXPECT_EQ(nameOf(type, 1200, 0), "anim_tile_" + w + "_ex10.tga") << "the end";
    }
    EXPECT_EQ(nameOf(TILE_BLOCKER, 0, 0), "tile_blocker.tga");
    EXPECT_EQ(nameOf(TILE_BLOCKER, 1200, 1), "anim_tile_blocker_ex10.tga");

    // Two frames for the wild tile: the picture, then its one burst frame.
    EXPECT_EQ(nameOf(TILE_WILD, 1200, 1200), "tile_wild.tga");
    EXPECT_EQ(nameOf(TILE_WILD, 1200, 602), "tile_wild.tga");
    EXPECT_EQ(nameOf(TILE_WILD, 1200, 599), "anim_tile_wild_ex00.tga");
    EXPECT_EQ(nameOf(TILE_WILD, 1200, 0), "anim_tile_wild_ex00.tga");

    // Bonus sweets: own picture for the first twelfth, then the shared burst.
    static const char *const sweets[] = { "bear", "cherries", "chocolate", "grapefruit",
                                          "lifesaver", "peppermint", "worm" };
    for (int type = TILE_BEAR; type <= TILE_WORM; type++) {
        const std::string own = std::string("tile_") + sweets[type - TILE_BEAR] + ".tga";
        EXPECT_EQ(nameOf(type, 0, 0), own);
        EXPECT_EQ(nameOf(type, 1200, 1200 - 99), own);
        EXPECT_EQ(nameOf(type, 1200, 1200 - 101), "anim_tile_generic00.tga");
        EXPECT_EQ(nameOf(type, 1200, 0), "anim_tile_generic10.tga");
    }

    for (int type : { (int)TILE_BLANK, (int)TILE_REMOVED, 16, -1, 254 }) {
        TileCell cell = {};
        cell.m_type = type;
        cell.m_sprite = &app.m_sprites[0];
        EXPECT_EQ(app.selectTileSprite(&cell), nullptr) << type;
        EXPECT_EQ(cell.m_sprite, nullptr) << type;
    }
    EXPECT_EQ(app.selectTileSprite(nullptr), nullptr);
}

TEST_F(BoardDraw, RectangleOutsideThePlayAreaDrawsNoPicture)
{
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    app.m_state = GS_PLAYING;
    fillScreen(0x1234);
    const HRect r = { 460, 20, 640, 60 };
    app.drawBackground(r, false);
    for (int x = 460; x < 640; x += 9) {
        EXPECT_TRUE(shows(SPR_BACKGROUND, x, 20, 0, 0)) << x;
        EXPECT_TRUE(shows(SPR_BACKGROUND, x, 59, 0, 0)) << x;
        EXPECT_EQ(screen(x, 60), 0x1234) << "nothing below the rectangle";
    }
    EXPECT_EQ(screen(459, 30), 0x1234) << "nothing left of it";
    EXPECT_EQ(screen(200, 200), 0x1234) << "no play-area picture";
}

TEST_F(BoardDraw, RectangleAcrossTheLeftEdge)
{
    app.m_state = GS_PLAYING;
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    fillScreen(0x1234);
    const HRect r = { 10, 200, 60, 220 };
    app.drawBackground(r, false);
    for (int x = 10; x < 23; x++) {
        EXPECT_TRUE(shows(SPR_BACKGROUND, x, 205, 0, 0)) << x;
    }
    for (int x = 23; x < 60; x++) {
        EXPECT_TRUE(showsArena(x, 205)) << x;
    }
    EXPECT_EQ(screen(60, 205), 0x1234);
    EXPECT_EQ(screen(30, 220), 0x1234);
    EXPECT_EQ(screen(30, 199), 0x1234);
}

TEST_F(BoardDraw, StillBoardShowsEveryTileInItsCell)
{
    layOutBoard(app.m_board, 2, 3);
    pickSprites();
    for (int state : { (int)GS_PLAYING, (int)GS_CRUNCHING, (int)GS_LEVEL_DONE }) {
        app.m_state = state;
        fillScreen(0x1234);
        drawPlayArea();
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                const int x = cellX(c), y = cellY(r);
                if (c == 2 && r == 3) {
                    EXPECT_TRUE(showsArena(x + 21, y + 21)) << "the blank shows the arena";
                    continue;
                }
                EXPECT_TRUE(showsTileOf(c, r, x, y)) << state << " " << c << "," << r;
                EXPECT_TRUE(showsTileOf(c, r, x + 41, y + 41)) << state << " " << c << "," << r;
            }
        }
        // Outside the board, inside the play area: the arena.
        EXPECT_TRUE(showsArena(106, 100));
        EXPECT_TRUE(showsArena(359, 353));
    }

    // A small rectangle redraws only what lies inside it.
    app.m_state = GS_PLAYING;
    fillScreen(0x1234);
    const HRect r = { cellX(1) + 5, cellY(1) + 5, cellX(1) + 10, cellY(1) + 10 };
    app.drawBackground(r, false);
    EXPECT_TRUE(showsTileOf(1, 1, r.left, r.top));
    EXPECT_EQ(screen(r.right, r.top), 0x1234);
    EXPECT_EQ(screen(r.left - 1, r.top), 0x1234);
    EXPECT_EQ(screen(cellX(0) + 20, cellY(0) + 20), 0x1234);
}

TEST_F(BoardDraw, PauseHidesTheTilesInEveryState)
{
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    app.m_paused = true;
    for (int state = GS_PLAYING; state <= GS_EXITING; state++) {
        app.m_state = state;
        fillScreen(0x1234);
        drawPlayArea();
        EXPECT_TRUE(shows(SPR_PAUSE_SCREEN, cellX(3) + 20, cellY(3) + 20, 23, 17)) << state;
        EXPECT_TRUE(shows(SPR_PAUSE_SCREEN, 24, 18, 23, 17)) << state;
    }
    app.m_paused = false;
}

TEST_F(BoardDraw, BetweenLevelsTheArenaShowsWithoutTiles)
{
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    for (int state : { (int)GS_BONUS_COUNT, (int)GS_NEXT_LEVEL, (int)GS_GET_READY, (int)GS_START_BONUS,
                       (int)GS_EXITING }) {
        app.m_state = state;
        fillScreen(0x1234);
        drawPlayArea();
        EXPECT_TRUE(showsArena(cellX(5) + 20, cellY(0) + 20)) << state;
        EXPECT_TRUE(showsArena(cellX(5) + 20, cellY(5) + 20)) << state;
        EXPECT_TRUE(showsArena(cellX(1) + 2, cellY(5) + 30)) << state;
    }
}

TEST_F(BoardDraw, InfoScreensLoadOnFirstDisplay)
{
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    static const char *const names[] = { "info_start.jpg", "info_hint.jpg", "info_blackjellybean.jpg",
                                         "info_wildcard.jpg", "info_red.jpg", "info_green.jpg",
                                         "info_blue.jpg" };
    for (int state = GS_INFO_START; state <= GS_INFO_BLUE; state++) {
        const int slot = SPR_INFO_FIRST + state - GS_INFO_START;
        EXPECT_FALSE(app.m_sprites[slot].isLoaded()) << state;
        app.m_state = state;
        fillScreen(0x1234);
        drawPlayArea();
        ASSERT_TRUE(app.m_sprites[slot].isLoaded()) << state;
        EXPECT_STREQ(app.m_sprites[slot].getName(), names[state - GS_INFO_START]);
        EXPECT_TRUE(shows(slot, cellX(2) + 20, cellY(2) + 20, 23, 17)) << "no tiles on " << state;
        // Drawn again, it is not loaded a second time.
        drawPlayArea();
        EXPECT_EQ(app.m_sprites[slot].getRefCount(), 1);
    }
}

TEST_F(BoardDraw, MissingInfoScreenIsTriedAgainNextFrame)
{
    const std::string path = s_dir + "/info_red.jpg";
    const std::string away = s_dir + "/info_red.gone";
    ASSERT_EQ(rename(path.c_str(), away.c_str()), 0);
    app.m_state = GS_INFO_RED;
    fillScreen(0x1234);
    drawPlayArea();
    const int slot = SPR_INFO_FIRST + GS_INFO_RED - GS_INFO_START;
    EXPECT_FALSE(app.m_sprites[slot].isLoaded());
    EXPECT_TRUE(shows(SPR_BACKGROUND, 200, 200, 0, 0)) << "the area stays bare";
    ASSERT_EQ(rename(away.c_str(), path.c_str()), 0);
    drawPlayArea();
    EXPECT_TRUE(app.m_sprites[slot].isLoaded());
    EXPECT_TRUE(shows(slot, 200, 200, 23, 17));
}

TEST_F(BoardDraw, DamagedTitleScreenIsReportedOnceBetweenFrames)
{
    // A picture that fails to decode is told to the player like a missing
    // one: once, from the tick, not from inside the frame.
    const std::string path = s_dir + "/info_start.jpg";
    const std::string away = s_dir + "/info_start.good";
    ASSERT_EQ(rename(path.c_str(), away.c_str()), 0);
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const unsigned char damaged[] = { 0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x10, 0x0B, 0x0C };
    fwrite(damaged, 1, sizeof(damaged), f);
    fclose(f);
    HEvent tick;
    memset(&tick, 0, sizeof(tick));
    tick.m_iType = ET_TIMESTAMP;
    app.m_state = GS_INFO_START;
    drawPlayArea();
    EXPECT_TRUE(hook.boxes().empty()) << "nothing shown while drawing";
    app.handleEvent(tick);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].title, "Error");
    EXPECT_EQ(hook.boxes()[0].text, "Gobstrel could not load its bitmaps");
    drawPlayArea();
    app.handleEvent(tick);
    EXPECT_EQ(hook.boxes().size(), 1u) << "tried again, told once";
    ASSERT_EQ(rename(away.c_str(), path.c_str()), 0);
    drawPlayArea();
    EXPECT_TRUE(app.m_sprites[SPR_INFO_FIRST].isLoaded());
}

TEST_F(BoardDraw, SlideGlidesFromTheOldCellToTheNew)
{
    layOutBoard(app.m_board, 0, 0);
    int from[2];
    ASSERT_EQ(app.m_board.move(3, 0, from), MOVE_LEGAL);
    app.m_slideFrom[0] = from[0];
    app.m_slideFrom[1] = from[1];
    ASSERT_EQ(app.m_board.getBlankColumn(), 3);
    pickSprites();
    app.m_state = GS_SLIDING;
    app.m_countdownTotal = 512;

    // First frame: the moved tiles stand where they were before the move.
    app.m_countdown = 512;
    fillScreen(0x1234);
    drawPlayArea();
    for (int c = 0; c < 3; c++) {
        EXPECT_TRUE(showsTileOf(c, 0, cellX(c + 1) + 1, cellY(0) + 20)) << c;
        EXPECT_TRUE(showsTileOf(c, 0, cellX(c + 1) + 41, cellY(0) + 20)) << c;
    }
    EXPECT_TRUE(showsArena(cellX(0) + 20, cellY(0) + 20)) << "the old blank is empty";
    EXPECT_TRUE(showsTileOf(4, 0, cellX(4) + 20, cellY(0) + 20)) << "outside the span nothing moves";
    EXPECT_TRUE(showsTileOf(0, 1, cellX(0) + 20, cellY(1) + 20));

    // Half way: 21 pixels to go.
    app.m_countdown = 256;
    fillScreen(0x1234);
    drawPlayArea();
    EXPECT_TRUE(showsArena(cellX(0) + 10, cellY(0) + 20));
    EXPECT_TRUE(showsTileOf(0, 0, cellX(0) + 22, cellY(0) + 20));

    // Last frame: as in play.
    app.m_countdown = 0;
    fillScreen(0x1234);
    drawPlayArea();
    for (int c = 0; c < 3; c++) {
        EXPECT_TRUE(showsTileOf(c, 0, cellX(c), cellY(0))) << c;
        EXPECT_TRUE(showsTileOf(c, 0, cellX(c) + 41, cellY(0) + 41)) << c;
    }
    EXPECT_TRUE(showsArena(cellX(3) + 20, cellY(0) + 20));

    // A vertical slide moves along the column, upward toward the new blank.
    layOutBoard(app.m_board, 2, 5);
    ASSERT_EQ(app.m_board.move(2, 3, from), MOVE_LEGAL);
    app.m_slideFrom[0] = from[0];
    app.m_slideFrom[1] = from[1];
    pickSprites();
    app.m_countdown = 512;
    fillScreen(0x1234);
    drawPlayArea();
    EXPECT_TRUE(showsTileOf(2, 5, cellX(2) + 20, cellY(4) + 1)) << "drawn one cell nearer the blank";
    EXPECT_TRUE(showsTileOf(2, 4, cellX(2) + 20, cellY(3) + 1));
    EXPECT_TRUE(showsArena(cellX(2) + 20, cellY(5) + 20));

    // A slide without a length shows the board as it stands.
    app.m_countdownTotal = 0;
    fillScreen(0x1234);
    drawPlayArea();
    EXPECT_TRUE(showsTileOf(2, 5, cellX(2) + 20, cellY(5) + 20));
}

TEST_F(BoardDraw, RefillAfterAColumnMovesTheRowsInFromTheLeft)
{
    layOutBoard(app.m_board, 5, 5);
    for (int r = 0; r < BOARD_SIZE; r++) {
        app.m_board.setCellType(0, r, TILE_ORANGE);
    }
    int score = 0;
    ASSERT_EQ(app.m_board.findCrunches(&score), 1);
    ASSERT_EQ(app.m_board.crunchedColumn(0), 0);
    pickSprites();
    app.m_state = GS_REFILLING;
    app.m_countdownTotal = 128;
    app.m_countdown = 64;   // half way: column 0 stands 21 pixels left of its cell
    fillScreen(0x1234);
    drawPlayArea();
    for (int r = 0; r < BOARD_SIZE; r++) {
        EXPECT_TRUE(showsTileOf(0, r, cellX(0) - 21, cellY(r) + 5)) << r;
        EXPECT_TRUE(showsTileOf(0, r, cellX(0) + 20, cellY(r) + 5)) << r;
        EXPECT_TRUE(showsArena(cellX(0) + 25, cellY(r) + 5)) << r;
        EXPECT_TRUE(showsTileOf(1, r, cellX(1), cellY(r) + 5)) << "column 1 stays " << r;
    }
}

TEST_F(BoardDraw, RefillAfterTheLastRowMovesEveryRowDown)
{
    layOutBoard(app.m_board, 0, 0);
    for (int c = 0; c < BOARD_SIZE; c++) {
        app.m_board.setCellType(c, 5, TILE_YELLOW);
    }
    int score = 0;
    ASSERT_EQ(app.m_board.findCrunches(&score), 1);
    ASSERT_EQ(app.m_board.crunchedRow(0), 5);
    ASSERT_EQ(app.m_board.crunchedColumn(0), -1);
    pickSprites();
    app.m_state = GS_REFILLING;
    app.m_countdownTotal = 128;
    app.m_countdown = 64;
    fillScreen(0x1234);
    drawPlayArea();
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 1; c < BOARD_SIZE; c++) {
            EXPECT_TRUE(showsTileOf(c, r, cellX(c) + 5, cellY(r) - 21)) << c << "," << r;
        }
    }
    EXPECT_TRUE(showsArena(cellX(3) + 5, cellY(5) + 25)) << "the bottom cell has moved up";
}

TEST_F(BoardDraw, RefillWithoutALineOrALengthDrawsNoTiles)
{
    layOutBoard(app.m_board, 0, 0);
    int score = 0;
    ASSERT_EQ(app.m_board.findCrunches(&score), 0);
    pickSprites();
    app.m_state = GS_REFILLING;
    app.m_countdownTotal = 128;
    app.m_countdown = 64;
    fillScreen(0x1234);
    drawPlayArea();
    EXPECT_TRUE(showsArena(cellX(3) + 20, cellY(3) + 20));
    app.m_countdownTotal = 0;
    drawPlayArea();
    EXPECT_TRUE(showsArena(cellX(3) + 20, cellY(3) + 20));
}

TEST_F(BoardDraw, UnknownStateIsReported)
{
    hook.clear();
    app.m_state = 17;
    drawPlayArea();
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].text, "m_drawTiles - unknown state '17'");
    app.m_state = -3;
    drawPlayArea();
    ASSERT_EQ(hook.boxes().size(), 2u);
    EXPECT_EQ(hook.boxes()[1].text, "m_drawTiles - unknown state '-3'");
}

TEST_F(BoardDraw, TileClippedToTheRectangleAndGlow)
{
    TileCell cell = {};
    cell.m_type = TILE_RED;
    app.selectTileSprite(&cell);
    fillScreen(0x1234);
    const HRect clip = { 110, 110, 120, 130 };
    app.drawTileSprite(cell, 100, 100, 0, clip);
    EXPECT_TRUE(shows(SPR_TILE_RED, 110, 110, 100, 100));
    EXPECT_TRUE(shows(SPR_TILE_RED, 119, 129, 100, 100));
    EXPECT_EQ(screen(120, 115), 0x1234);
    EXPECT_EQ(screen(109, 115), 0x1234);
    EXPECT_EQ(screen(115, 130), 0x1234);

    // The glow pass adds the tile's light again over the plain draw; it
    // needs a tile with an alpha mask, as the real ones have.
    const uint8_t rgb[3] = { 64, 64, 64 };
    ASSERT_TRUE(drawTestWriteTGA(s_dir + "/glow.tga", 42, 42, rgb, 128));
    QVSprite glowing;
    ASSERT_TRUE(glowing.load(display, app.getResourceFileSystem(), "glow.tga"));
    TileCell lit = cell;
    lit.m_sprite = &glowing;
    fillScreen(0);
    app.drawTileSprite(lit, 100, 100, 0, clip);
    const uint16_t plain = screen(112, 112);
    EXPECT_NE(plain, 0) << "half the tile's light";
    app.drawTileSprite(lit, 100, 100, 200, clip);
    EXPECT_GT(screen(112, 112) >> 11, plain >> 11) << "the red channel grew";
    glowing.release();

    // Blank cells and cells without a sprite draw nothing.
    fillScreen(0x1234);
    TileCell blank = cell;
    blank.m_type = TILE_BLANK;
    app.drawTileSprite(blank, 100, 100, 0, clip);
    TileCell none = cell;
    none.m_sprite = nullptr;
    app.drawTileSprite(none, 100, 100, 0, clip);
    EXPECT_EQ(screen(112, 112), 0x1234);
}

TEST_F(BoardDraw, SlideAndRefillReportTheirRectangles)
{
    layOutBoard(app.m_board, 4, 2);
    app.m_slideFrom[0] = 1;
    app.m_slideFrom[1] = 2;
    app.m_dirtyRects.clear();
    app.animateSlide();
    ASSERT_EQ(app.m_dirtyRects.getCount(), 1);
    const HRect *r = app.m_dirtyRects.getRect(0);
    EXPECT_EQ(r->left, 149);
    EXPECT_EQ(r->top, 185);
    EXPECT_EQ(r->right, 317);
    EXPECT_EQ(r->bottom, 227);

    // The blank above the old place: a column span.
    layOutBoard(app.m_board, 3, 0);
    app.m_slideFrom[0] = 3;
    app.m_slideFrom[1] = 4;
    app.m_dirtyRects.clear();
    app.animateSlide();
    ASSERT_EQ(app.m_dirtyRects.getCount(), 1);
    r = app.m_dirtyRects.getRect(0);
    EXPECT_EQ(r->left, 233);
    EXPECT_EQ(r->top, 101);
    EXPECT_EQ(r->right, 275);
    EXPECT_EQ(r->bottom, 311);

    app.m_dirtyRects.clear();
    app.invalidatePlayArea();
    ASSERT_EQ(app.m_dirtyRects.getCount(), 1);
    r = app.m_dirtyRects.getRect(0);
    EXPECT_EQ(r->left, 23);
    EXPECT_EQ(r->top, 17);
    EXPECT_EQ(r->right, 443);
    EXPECT_EQ(r->bottom, 437);
}

TEST_F(BoardDraw, ExplosionFramesReportTheirCells)
{
    layOutBoard(app.m_board, 0, 0);
    pickSprites();
    app.m_dirtyRects.clear();
    pickSprites();
    EXPECT_EQ(app.m_dirtyRects.getCount(), 0) << "nothing changed, nothing reported";

    app.m_board.explodeRow(2);
    app.m_board.animate(&app, 100);
    const HRect row2 = { cellX(0), cellY(2), cellX(6), cellY(3) };
    EXPECT_TRUE(dirtyContains(row2));
    EXPECT_FALSE(dirtyContains({ cellX(0), cellY(1), cellX(1), cellY(2) })) << "row 1 did not change";

    int area[4];
    app.getPlayAreaRect(area);
    EXPECT_EQ(area[0], 23);
    EXPECT_EQ(area[3], 437);
    int w = 0, h = 0;
    app.getTileSpriteSize(&app.m_sprites[SPR_TILE_RED], &w, &h);
    EXPECT_EQ(w, 42);
    EXPECT_EQ(h, 42);
    QVSprite unloaded;
    app.getTileSpriteSize(&unloaded, &w, &h);
    EXPECT_EQ(w, 42) << "an unloaded frame still covers its cell";
}

// Whatever the state, nothing is drawn outside the rectangle asked for.
TEST_F(BoardDraw, NothingLandsOutsideTheDirtyRectangle)
{
    app.loadTutorialPages();
    HMersenneTwister rng;
    rng.setSeed(77);
    auto pick = [&rng](int low, int high) { return low + (int)rng.nextInt((uint32_t)(high - low)); };
    for (int i = 0; i < 120; i++) {
        layOutBoard(app.m_board, pick(0, 5), pick(0, 5));
        if (pick(0, 3) == 0) {
            app.m_board.explodeColumn(pick(0, 5));
            app.m_board.animate(&app, pick(0, 300));
        }
        pickSprites();
        int score = 0;
        app.m_board.findCrunches(&score);
        app.m_state = pick(0, 16);
        app.m_paused = pick(0, 4) == 0;
        app.m_settings.m_iDidTutorial = pick(0, 1);
        app.m_tutorialStep = pick(-1, 7);
        app.m_countdownTotal = pick(-5, 3000);
        app.m_countdown = pick(-5, 3000);
        app.m_slideFrom[0] = pick(0, 5);
        app.m_slideFrom[1] = pick(0, 5);
        app.m_timeBarRect.right = pick(43, 443);
        app.m_bitesFrame = pick(-1, 3);
        app.m_score = (uint32_t)pick(0, 2000000000);
        app.m_levelIndex = pick(0, 40);
        app.m_crunchesNeeded = pick(0, 30);
        app.m_levelBonus = pick(0, 100000);
        app.m_startBonusShown = pick(0, 100000);
        HRect r;
        r.left = pick(0, 639);
        r.top = pick(0, 479);
        r.right = pick(r.left, 640);
        r.bottom = pick(r.top, 480);
        fillScreen(0x1234);
        app.drawBackground(r, false);
        for (int y = 0; y < 480; y++) {
            for (int x = 0; x < 640; x++) {
                if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
                    ASSERT_EQ(screen(x, y), 0x1234) << "iteration " << i << " state " << app.m_state << " at "
                                                    << x << "," << y;
                }
            }
        }
    }
    app.m_paused = false;
    app.releaseTutorialPages();
}
