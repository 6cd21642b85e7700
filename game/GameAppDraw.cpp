// Drawing the game inside one dirty rectangle: background, play-area
// picture, the board's tiles (still, sliding or refilling), then the layers
// the HUD and the floating scores put on top. Also the board's side of the
// animation: which sprite a cell shows and what to redraw when it changes.
#include "GameApp.h"

#include "GameDrawClip.h"
#include "HLog.h"

namespace {

// Info screens in state order from GS_INFO_START, loaded on first display.
const char *const s_infoScreenNames[GS_INFO_BLUE - GS_INFO_START + 1] = {
    "info_start.jpg",
    "info_hint.jpg",
    "info_blackjellybean.jpg",
    "info_wildcard.jpg",
    "info_red.jpg",
    "info_green.jpg",
    "info_blue.jpg",
};

// A cell's own place on the screen.
HRect s_cellRect(int column, int row)
{
    const HRect r = { BOARD_LEFT + CELL_PITCH * column, BOARD_TOP + CELL_PITCH * row,
                      BOARD_LEFT + CELL_PITCH * (column + 1), BOARD_TOP + CELL_PITCH * (row + 1) };
    return r;
}

int s_clampUnit(int v)
{
    return v < -1 ? -1 : (v > 1 ? 1 : v);
}

int s_min(int a, int b)
{
    return a < b ? a : b;
}

int s_max(int a, int b)
{
    return a > b ? a : b;
}

} // namespace

void GameApp::drawBackground(const HRect &rect, bool /*underDialog*/)
{
    m_sprites[SPR_BACKGROUND].drawPart(rect, rect);

    if (rectsMeet(rect, m_playAreaRect)) {
        HRect target = rect;
        target.left = gameClampEdge(target.left, m_playAreaRect.left, m_playAreaRect.right);
        target.right = gameClampEdge(target.right, m_playAreaRect.left, m_playAreaRect.right);
        target.top = gameClampEdge(target.top, m_playAreaRect.top, m_playAreaRect.bottom);
        target.bottom = gameClampEdge(target.bottom, m_playAreaRect.top, m_playAreaRect.bottom);
        HRect source = { target.left - PLAY_AREA_LEFT, target.top - PLAY_AREA_TOP,
                         target.right - PLAY_AREA_LEFT, target.bottom - PLAY_AREA_TOP };
        if (source.left < 0) {
            source.left = 0;
            target.left = PLAY_AREA_LEFT;
        }
        if (source.top < 0) {
            source.top = 0;
            target.top = PLAY_AREA_TOP;
        }

        QVSprite *picture = &m_sprites[SPR_ARENA];
        if (m_paused) {
            picture = &m_sprites[SPR_PAUSE_SCREEN];
        } else if (isInfoScreenState(m_state)) {
            const int index = m_state - GS_INFO_START;
            picture = &m_sprites[SPR_INFO_FIRST + index];
            // A failed load leaves the area bare and is tried again next frame;
            // the player is told between frames.
            if (!picture->isLoaded()) {
                if (picture->load(m_pDisplayDevice, m_pResourceFileSystem, s_infoScreenNames[index])) {
                    m_infoScreensFailed &= ~(1u << index);
                } else {
                    m_infoScreensFailed |= 1u << index;
                }
            }
        }
        if (target.right > target.left && target.bottom > target.top) {
            picture->drawPart(target, source);
        }
        m_drawTiles(rect);
    }

    drawTutorial(rect);
    drawHud(rect);
    drawFloatingScores(rect);
}

void GameApp::reportFailedInfoScreens()
{
    const uint32_t unreported = m_infoScreensFailed & ~m_infoScreensReported;
    if (!unreported) {
        return;
    }
    m_infoScreensReported |= unreported;
    // The same box as for a picture missing at start-up; the game goes on.
    messageBox(49, "Error", "Gobstrel could not load its bitmaps");
    invalidateAll();
}

void GameApp::m_drawTiles(const HRect &rect)
{
    if (m_paused) {
        return;
    }
    switch (m_state) {
    case GS_PLAYING:
    case GS_CRUNCHING:
    case GS_LEVEL_DONE:
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                if (rectsMeet(s_cellRect(c, r), rect)) {
                    const TileCell cell = m_board.getCell(c, r);
                    drawTileSprite(cell, BOARD_LEFT + CELL_PITCH * c, BOARD_TOP + CELL_PITCH * r, 0, rect);
                }
            }
        }
        break;
    case GS_SLIDING:
        drawSlidingTiles(rect);
        break;
    case GS_REFILLING:
        m_drawTilesRefilling(rect);
        break;
    case GS_BONUS_COUNT:
    case GS_NEXT_LEVEL:
    case GS_GET_READY:
    case GS_INFO_START:
    case GS_INFO_HINT:
    case GS_INFO_BLACKJELLYBEAN:
    case GS_INFO_WILDCARD:
    case GS_INFO_RED:
    case GS_INFO_GREEN:
    case GS_INFO_BLUE:
    case GS_START_BONUS:
    case GS_EXITING:
        break;  // the play area shows only its picture
    default:
        alertBox("m_drawTiles - unknown state '%d'", m_state);
        break;
    }
}

void GameApp::m_drawTilesRefilling(const HRect &rect)
{
    if (m_countdownTotal <= 0) {
        return;
    }
    const float f = (float)m_countdown / (float)m_countdownTotal;
    const int column = m_board.crunchedColumn(0);
    const int row = m_board.crunchedRow(0);
    if (column == -1 && row == -1) {
        errorPrintf("m_drawTilesRefilling called incorrectly");
        return;
    }

    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (!rectsMeet(s_cellRect(c, r), rect)) {
                continue;
            }
            int x = BOARD_LEFT + CELL_PITCH * c;
            int y = BOARD_TOP + CELL_PITCH * r;
            if (column != -1) {
                // A column was cleared: every row shifted right into it.
                if (c <= column) {
                    x = BOARD_LEFT + (int)(((float)c - f) * (float)CELL_PITCH);
                }
            } else if (r <= row) {
                // A row was cleared: every column dropped down into it.
                y = BOARD_TOP + (int)(((float)r - f) * (float)CELL_PITCH);
            }
            const TileCell cell = m_board.getCell(c, r);
            drawTileSprite(cell, x, y, 0, rect);
        }
    }
}

void GameApp::drawSlidingTiles(const HRect &rect)
{
    // A slide without a length is over: draw the board where it stands.
    float t = 1.0f;
    if (m_countdownTotal > 0) {
        t = (float)(m_countdownTotal - m_countdown) / (float)m_countdownTotal;
        if (t > 1.0f) {
            t = 1.0f;
        }
    }
    const float s = 1.0f - t;

    const int blankColumn = m_board.getBlankColumn();
    const int blankRow = m_board.getBlankRow();
    const int firstColumn = s_min(m_slideFrom[0], blankColumn);
    const int lastColumn = s_max(m_slideFrom[0], blankColumn);
    const int firstRow = s_min(m_slideFrom[1], blankRow);
    const int lastRow = s_max(m_slideFrom[1], blankRow);
    const int dx = s_clampUnit(blankColumn - m_slideFrom[0]);
    const int dy = s_clampUnit(blankRow - m_slideFrom[1]);
    const int offsetX = (int)((float)(dx * CELL_PITCH) * s);
    const int offsetY = (int)((float)(dy * CELL_PITCH) * s);

    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            int x = BOARD_LEFT + CELL_PITCH * c;
            int y = BOARD_TOP + CELL_PITCH * r;
            if (c >= firstColumn && c <= lastColumn && r >= firstRow && r <= lastRow) {
                x += offsetX;
                y += offsetY;
            }
            const TileCell cell = m_board.getCell(c, r);
            drawTileSprite(cell, x, y, 0, rect);
        }
    }
}

QVSprite *GameApp::selectTileSprite(TileCell *cell)
{
    if (!cell) {
        return nullptr;
    }
    const int type = cell->m_type;
    const int frames = type == TILE_WILD ? 2 : TILE_FRAME_LIST;
    int k = 0;
    if (cell->isExploding()) {
        k = (int)(cell->animationFraction() * (float)frames);
        if (k < 0) {
            k = 0;
        } else if (k > frames - 1) {
            k = frames - 1;
        }
    }

    int slot = -1;
    switch (type) {
    case TILE_ORANGE:       slot = SPR_TILE_ORANGE + k; break;
    case TILE_YELLOW:       slot = SPR_TILE_YELLOW + k; break;
    case TILE_PURPLE:       slot = SPR_TILE_PURPLE + k; break;
    case TILE_RED:          slot = SPR_TILE_RED + k; break;
    case TILE_GREEN:        slot = SPR_TILE_GREEN + k; break;
    case TILE_BLUE:         slot = SPR_TILE_BLUE + k; break;
    case TILE_BLOCKER:      slot = SPR_TILE_BLOCKER + k; break;
    case TILE_WILD:         slot = SPR_TILE_WILD + k; break;
    case TILE_BEAR:
    case TILE_CHERRIES:
    case TILE_CHOCOLATE:
    case TILE_GRAPEFRUIT:
    case TILE_LIFESAVER:
    case TILE_PEPPERMINT:
    case TILE_WORM:
        // The sweet itself, then the shared burst.
        slot = k == 0 ? SPR_TILE_BEAR + (type - TILE_BEAR) : SPR_ANIM_GENERIC + (k - 1);
        break;
    default:
        break;
    }

    cell->m_sprite = slot >= 0 ? &m_sprites[slot] : nullptr;
    return cell->m_sprite;
}

void GameApp::drawTileSprite(const TileCell &cell, int x, int y, uint8_t glow, const HRect &clip)
{
    if (cell.m_type == TILE_BLANK || !cell.m_sprite) {
        return;
    }
    QVSprite &sprite = *cell.m_sprite;
    HRect target, source;
    if (!gameClipSprite(sprite, x, y, clip, &target, &source)) {
        return;
    }
    sprite.drawBlended(target, source, 2, 1, 0, 255, 3, 1, 0, 255, 0);
    if (glow != 0) {
        sprite.drawBlended(target, source, 2, 1, 0, glow, 1, 1, 0, 255, 0);
    }
}

void GameApp::invalidatePlayArea()
{
    invalidateRect(m_playAreaRect);
}

void GameApp::animateSlide()
{
    const int blankColumn = m_board.getBlankColumn();
    const int blankRow = m_board.getBlankRow();
    const HRect r = {
        BOARD_LEFT + CELL_PITCH * s_min(m_slideFrom[0], blankColumn),
        BOARD_TOP + CELL_PITCH * s_min(m_slideFrom[1], blankRow),
        BOARD_LEFT + CELL_PITCH + CELL_PITCH * s_max(m_slideFrom[0], blankColumn),
        BOARD_TOP + CELL_PITCH + CELL_PITCH * s_max(m_slideFrom[1], blankRow)
    };
    invalidateRect(r);
}

// --- the board's view ---

void GameApp::getTileSpriteSize(const QVSprite *sprite, int *width, int *height)
{
    // A frame that failed to load still occupies its cell.
    int w = sprite && sprite->isLoaded() ? sprite->getWidth() : 0;
    int h = sprite && sprite->isLoaded() ? sprite->getHeight() : 0;
    if (width) {
        *width = w > 0 ? w : CELL_PITCH;
    }
    if (height) {
        *height = h > 0 ? h : CELL_PITCH;
    }
}

void GameApp::getPlayAreaRect(int rect[4])
{
    rect[0] = m_playAreaRect.left;
    rect[1] = m_playAreaRect.top;
    rect[2] = m_playAreaRect.right;
    rect[3] = m_playAreaRect.bottom;
}

void GameApp::invalidateBoardRect(int left, int top, int right, int bottom)
{
    const HRect r = { left, top, right, bottom };
    invalidateRect(r);
}
