#include "GameBoard.h"

#include <string.h>

#include "GameBoardView.h"
#include "HLog.h"
#include "HRandom.h"

// A seeded twister needs a few deals and tries. Its poorest seeds (a single
// high bit) start from a nearly uniform state and need up to some 1400 deals
// or 1600 tries for one cell, so a cap on plain tries could cut a real deal
// short and shift every later draw of a replay. The deal gives up only on a
// generator that repeats itself: the same refused cell, or the same refused
// board, this many times in a row (those seeds repeat at most a hundred-odd
// times). A never-seeded twister, every draw 0, is what this is for.
enum {
    STUCK_DEALS         = 1000,
    STUCK_TRIES         = 100000
};

// The tutorial's fixed board, [row][column], and its column queue.
static const int s_tutorialBoard[BOARD_SIZE][BOARD_SIZE] = {
    { 0, 1, 1, 1, 1, 1 },
    { 2, 3, 3, 1, 1, 3 },
    { 1, 2, 3, 3, 1, 2 },
    { 3, 2, 1, 1, 3, 1 },
    { 1, 2, 3, 1, 2, 3 },
    { 1, 2, 1, 3, 2, 3 }
};
static const int s_tutorialColumnQueue[BOARD_SIZE] = { 1, 2, 1, 3, 3, 3 };

static bool s_onBoard(int column, int row)
{
    return column >= 0 && column < BOARD_SIZE && row >= 0 && row < BOARD_SIZE;
}

// The 2x2 corner where play starts never gets a blocker or a dealt wild.
static bool s_inStartCorner(int column, int row)
{
    return column <= 1 && row <= 1;
}

static void s_setFixedTile(TileCell *cell, int type)
{
    cell->m_type = type;
    cell->m_exploding = 0;
    cell->m_totalMs = 0;
    cell->m_remainingMs = 0;
}

GameBoard::GameBoard(HRandom *pRandom)
{
    m_colours = 0;
    m_baseType = 0;
    m_blockers = 0;
    for (int i = 0; i < BOARD_SIZE; i++) {
        m_crunchedRows[i] = -1;
        m_crunchedColumns[i] = -1;
    }
    // Zeroed for determinism; reset() is what a cell promises on its own.
    memset(m_cells, 0, sizeof(m_cells));
    for (int r = 0; r < BOARD_ROWS_WITH_QUEUES; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            m_cells[r][c].reset();
        }
    }
    m_blankColumn = 0;
    m_blankRow = 0;
    m_pRandom = pRandom;
    m_bGeneratorStuck = false;
}

/*
==============================================================================
Deal
==============================================================================
*/

bool GameBoard::m_queueWildAllowed() const
{
    return m_colours > 3 && m_blockers != 0;
}

void GameBoard::m_newTile(TileCell *cell, bool wildAllowed)
{
    randomTileType(m_pRandom, m_colours, m_baseType, cell, wildAllowed);
}

void GameBoard::generate(int colours, int baseType, int blockers, bool tutorial)
{
    m_colours = colours;
    m_baseType = baseType;
    m_blockers = blockers;
    fill(tutorial);
    fillPendingTiles(tutorial);
}

void GameBoard::fill(bool tutorial)
{
    int previous[BOARD_SIZE][BOARD_SIZE];
    int repeats = 0;

    m_bGeneratorStuck = false;
    for (int attempt = 0; ; attempt++) {
        fillRandom(m_colours, m_baseType, m_blockers, tutorial);
        if (isFreeOfCrunches()) {
            return;
        }

        // Only a deal that cannot come out differently ends the search.
        bool same = attempt > 0;
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                same = same && previous[r][c] == m_cells[r][c].m_type;
                previous[r][c] = m_cells[r][c].m_type;
            }
        }
        repeats = same ? repeats + 1 : 0;
        if (m_bGeneratorStuck || repeats >= STUCK_DEALS) {
            // Play goes on; the first evaluation clears the lines.
            errorPrintf("GameBoard::fill - the generator repeats itself, keeping a board with complete lines");
            return;
        }
    }
}

bool GameBoard::m_isFreeCell(bool bEdgeOnly, int column, int row) const
{
    if (s_inStartCorner(column, row) || m_cells[row][column].m_type == TILE_BLOCKER) {
        return false;
    }
    return !bEdgeOnly || column == BOARD_SIZE - 1 || row == BOARD_SIZE - 1;
}

bool GameBoard::m_pickFreeCell(bool bEdgeOnly, int *column, int *row)
{
    // Last allowed cell in reading order; none means drawing could never end.
    int lastColumn = -1;
    int lastRow = -1;
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (m_isFreeCell(bEdgeOnly, c, r)) {
                lastColumn = c;
                lastRow = r;
            }
        }
    }
    if (lastColumn < 0) {
        return false;
    }

    int previousColumn = -1;
    int previousRow = -1;
    int repeats = 0;
    for (;;) {
        const int c = (int)(m_pRandom ? m_pRandom->nextInt(BOARD_SIZE - 1) : 0);
        const int r = (int)(m_pRandom ? m_pRandom->nextInt(BOARD_SIZE - 1) : 0);
        if (m_isFreeCell(bEdgeOnly, c, r)) {
            *column = c;
            *row = r;
            return true;
        }
        repeats = (c == previousColumn && r == previousRow) ? repeats + 1 : 0;
        previousColumn = c;
        previousRow = r;
        if (repeats >= STUCK_TRIES) {
            break;
        }
    }

    m_bGeneratorStuck = true;
    *column = lastColumn;
    *row = lastRow;
    return true;
}

void GameBoard::fillRandom(int colours, int baseType, int blockers, bool tutorial)
{
    if (colours == 3 && baseType == 0 && blockers == 0 && tutorial) {
        fillTutorial();
        return;
    }

    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            randomTileType(m_pRandom, colours, baseType, &m_cells[r][c], false);
        }
    }

    // On 3-colour levels blockers stay on the last column or row.
    for (int i = 0; i < blockers; i++) {
        int c, r;
        if (!m_pickFreeCell(colours == 3, &c, &r)) {
            errorPrintf("GameBoard::fillRandom - no room for blocker %d", i + 1);
            break;
        }
        m_cells[r][c].m_type = TILE_BLOCKER;
    }

    // The wild-card level deals one wild.
    if (blockers == 1 && colours == 4) {
        int c, r;
        if (m_pickFreeCell(false, &c, &r)) {
            m_cells[r][c].m_type = TILE_WILD;
        }
    }

    m_cells[0][0].m_type = TILE_BLANK;
    m_blankColumn = 0;
    m_blankRow = 0;
}

void GameBoard::fillTutorial()
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            s_setFixedTile(&m_cells[r][c], s_tutorialBoard[r][c]);
        }
    }
    m_blankColumn = 0;
    m_blankRow = 0;
}

void GameBoard::fillPendingTiles(bool tutorial)
{
    const bool wild = m_queueWildAllowed();
    for (int r = 0; r < BOARD_SIZE; r++) {
        m_newTile(&m_cells[ROW_QUEUE][r], wild);
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        if (tutorial) {
            s_setFixedTile(&m_cells[COLUMN_QUEUE][c], s_tutorialColumnQueue[c]);
        } else {
            m_newTile(&m_cells[COLUMN_QUEUE][c], wild);
        }
    }
}

bool GameBoard::isFreeOfCrunches() const
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        if (isRowCrunch(r)) {
            return false;
        }
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        if (isColumnCrunch(c)) {
            return false;
        }
    }
    return true;
}

/*
==============================================================================
Moves
==============================================================================
*/

int GameBoard::checkMove(int column, int row) const
{
    if (!s_onBoard(column, row)) {
        return MOVE_INVALID;
    }
    if (column == m_blankColumn && row == m_blankRow) {
        return MOVE_INVALID;
    }
    if (column != m_blankColumn && row != m_blankRow) {
        return MOVE_INVALID;
    }

    // A blocker anywhere from the blank to the target stops the whole slide.
    const int dc = (column > m_blankColumn) - (column < m_blankColumn);
    const int dr = (row > m_blankRow) - (row < m_blankRow);
    int c = m_blankColumn;
    int r = m_blankRow;
    do {
        c += dc;
        r += dr;
        if (m_cells[r][c].m_type == TILE_BLOCKER) {
            return MOVE_BLOCKED;
        }
    } while (c != column || r != row);

    return MOVE_LEGAL;
}

int GameBoard::move(int column, int row, int oldBlank[2])
{
    const int result = checkMove(column, row);
    if (result != MOVE_LEGAL) {
        return result;
    }

    if (oldBlank) {
        oldBlank[0] = m_blankColumn;
        oldBlank[1] = m_blankRow;
    }

    const int dc = (column > m_blankColumn) - (column < m_blankColumn);
    const int dr = (row > m_blankRow) - (row < m_blankRow);
    int c = m_blankColumn;
    int r = m_blankRow;
    while (c != column || r != row) {
        m_cells[r][c] = m_cells[r + dr][c + dc];
        c += dc;
        r += dr;
    }
    // The target keeps its explosion state and sprite; only its kind empties.
    m_cells[row][column].m_type = TILE_BLANK;
    m_blankColumn = column;
    m_blankRow = row;

    return MOVE_LEGAL;
}

TileCell GameBoard::getCell(int column, int row) const
{
    if (column < 0 || column >= BOARD_SIZE || row < 0 || row >= BOARD_ROWS_WITH_QUEUES) {
        TileCell none;
        memset(&none, 0, sizeof(none));
        none.m_type = TILE_REMOVED;
        none.m_sprite = nullptr;
        return none;
    }
    return m_cells[row][column];
}

void GameBoard::setCellType(int column, int row, int type)
{
    if (column < 0 || column >= BOARD_SIZE || row < 0 || row >= BOARD_ROWS_WITH_QUEUES) {
        return;
    }
    s_setFixedTile(&m_cells[row][column], type);
    if (type == TILE_BLANK && row < BOARD_SIZE) {
        m_blankColumn = column;
        m_blankRow = row;
    }
}

/*
==============================================================================
Complete lines
==============================================================================
*/

int GameBoard::crunchedRow(int i) const
{
    return (i >= 0 && i < BOARD_SIZE) ? m_crunchedRows[i] : -1;
}

int GameBoard::crunchedColumn(int i) const
{
    return (i >= 0 && i < BOARD_SIZE) ? m_crunchedColumns[i] : -1;
}

bool GameBoard::m_isLineCrunch(bool bColumn, int line) const
{
    if (line < 0 || line >= BOARD_SIZE) {
        return false;
    }
    const TileCell &first = bColumn ? m_cells[0][line] : m_cells[line][0];
    if (first.m_type == TILE_REMOVED || first.isExploding()) {
        return false;
    }

    int counts[TILE_KIND_COUNT] = { 0 };
    for (int i = 0; i < BOARD_SIZE; i++) {
        const int type = bColumn ? m_cells[i][line].m_type : m_cells[line][i].m_type;
        // A removed or unknown kind anywhere in the line: never complete,
        // and never an index past the table.
        if (type < 0 || type >= TILE_KIND_COUNT) {
            return false;
        }
        counts[type]++;
    }

    // Wilds match anything, blockers too once a wild stands in the line; the
    // blank is a kind of its own. A line of nothing but wilds (and blockers)
    // has no kind at all, so it is not complete.
    int kinds = 0;
    for (int type = 0; type < TILE_WILD; type++) {
        if (counts[type] == 0) {
            continue;
        }
        if (type == TILE_BLOCKER && counts[TILE_WILD] > 0) {
            continue;
        }
        kinds++;
    }
    return kinds == 1;
}

bool GameBoard::isRowCrunch(int row) const
{
    return m_isLineCrunch(false, row);
}

bool GameBoard::isColumnCrunch(int column) const
{
    return m_isLineCrunch(true, column);
}

int GameBoard::m_lineScore(bool bColumn, int line) const
{
    if (line < 0 || line >= BOARD_SIZE) {
        return 0;
    }
    int score = 0;
    for (int i = 0; i < BOARD_SIZE; i++) {
        score += getTileScore(bColumn ? &m_cells[i][line] : &m_cells[line][i]);
    }
    return score;
}

int GameBoard::rowScore(int row) const
{
    return m_lineScore(false, row);
}

int GameBoard::columnScore(int column) const
{
    return m_lineScore(true, column);
}

int GameBoard::findCrunches(int *score)
{
    int total = 0;
    int rows = 0;
    int columns = 0;

    for (int i = 0; i < BOARD_SIZE; i++) {
        m_crunchedRows[i] = -1;
        m_crunchedColumns[i] = -1;
    }
    // Crossing lines each score their shared cell.
    for (int r = 0; r < BOARD_SIZE; r++) {
        if (isRowCrunch(r)) {
            m_crunchedRows[rows++] = r;
            total += rowScore(r);
        }
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        if (isColumnCrunch(c)) {
            m_crunchedColumns[columns++] = c;
            total += columnScore(c);
        }
    }
    if (score) {
        *score = total;
    }
    return rows + columns;
}

/*
==============================================================================
Explosions and refills
==============================================================================
*/

bool GameBoard::m_explodeLine(bool bColumn, int line)
{
    if (line < 0 || line >= BOARD_SIZE) {
        return false;
    }
    bool blocker = false;
    for (int i = 0; i < BOARD_SIZE; i++) {
        TileCell &cell = bColumn ? m_cells[i][line] : m_cells[line][i];
        if (cell.m_type == TILE_BLOCKER) {
            blocker = true;
        }
        // The blank of a wilds-and-blank line stays where it is.
        if (cell.m_type != TILE_BLANK) {
            cell.setExploding(true, LINE_EXPLODE_MS);
        }
    }
    return blocker;
}

bool GameBoard::explodeRow(int row)
{
    return m_explodeLine(false, row);
}

bool GameBoard::explodeColumn(int column)
{
    return m_explodeLine(true, column);
}

void GameBoard::explodeAll()
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            m_cells[r][c].setExploding(true, BOARD_EXPLODE_MS);
        }
    }
}

int GameBoard::evaluate(int *lines, int *score, bool *wildArrived, bool *blockerCrunched)
{
    int localLines, localScore;
    bool localWild, localBlocker;
    if (!lines) {
        lines = &localLines;
    }
    if (!score) {
        score = &localScore;
        localScore = 0;
    }
    if (!wildArrived) {
        wildArrived = &localWild;
    }
    if (!blockerCrunched) {
        blockerCrunched = &localBlocker;
    }
    *lines = 0;
    *wildArrived = false;
    *blockerCrunched = false;

    // The caller only gets here once the explosion time has run out.
    bool removed = false;
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            TileCell &cell = m_cells[r][c];
            if (cell.isExploding()) {
                cell.m_type = TILE_REMOVED;
                cell.setExploding(false, 0);
                removed = true;
            }
        }
    }

    if (removed) {
        // Bottom-right first, so every hole pulls from what lies above or
        // to the left of it.
        for (int r = BOARD_SIZE - 1; r >= 0; r--) {
            for (int c = BOARD_SIZE - 1; c >= 0; c--) {
                TileCell *cell = &m_cells[r][c];
                if (cell->m_type != TILE_REMOVED) {
                    continue;
                }
                if (m_crunchedRows[0] != -1) {
                    if (dropColumn(r - 1, c, cell)) {
                        *wildArrived = true;
                    }
                } else if (m_crunchedColumns[0] != -1) {
                    if (shiftRow(r, c - 1, cell)) {
                        *wildArrived = true;
                    }
                }
            }
        }
        m_findBlankSpace();
        return EVALUATE_REFILLED;
    }

    *lines = findCrunches(score);
    if (*lines == 0) {
        return EVALUATE_NOTHING;
    }
    for (int i = 0; i < BOARD_SIZE && m_crunchedRows[i] != -1; i++) {
        if (explodeRow(m_crunchedRows[i])) {
            *blockerCrunched = true;
        }
    }
    for (int i = 0; i < BOARD_SIZE && m_crunchedColumns[i] != -1; i++) {
        if (explodeColumn(m_crunchedColumns[i])) {
            *blockerCrunched = true;
        }
    }
    return EVALUATE_LINES_FOUND;
}

// Fills dest with the tile at pos along the line, then refills that place
// from the one before it (above for a column, left for a row), the queue
// feeding the line once pos runs off the board.
bool GameBoard::m_refillLine(bool bColumn, int line, int pos, TileCell *dest)
{
    if (line < 0 || line >= BOARD_SIZE || pos >= BOARD_SIZE || !dest) {
        return false;
    }

    if (pos < 0) {
        TileCell *queue = bColumn ? &m_cells[COLUMN_QUEUE][line] : &m_cells[ROW_QUEUE][line];
        const TileCell taken = *queue;
        m_newTile(queue, m_queueWildAllowed());
        *dest = taken;
        return taken.m_type == TILE_WILD;
    }

    TileCell *cell = bColumn ? &m_cells[pos][line] : &m_cells[line][pos];
    bool wild = false;
    while (cell->m_type == TILE_REMOVED) {
        if (m_refillLine(bColumn, line, pos - 1, cell)) {
            wild = true;
        }
    }
    const TileCell taken = *cell;
    if (m_refillLine(bColumn, line, pos - 1, cell)) {
        wild = true;
    }
    *dest = taken;
    return wild;
}

bool GameBoard::dropColumn(int row, int column, TileCell *dest)
{
    return m_refillLine(true, column, row, dest);
}

bool GameBoard::shiftRow(int row, int column, TileCell *dest)
{
    return m_refillLine(false, row, column, dest);
}

void GameBoard::m_findBlankSpace()
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (m_cells[r][c].m_type == TILE_BLANK) {
                m_blankColumn = c;
                m_blankRow = r;
                return;
            }
        }
    }
    m_cells[0][0].m_type = TILE_BLANK;
    m_blankColumn = 0;
    m_blankRow = 0;
    errorPrintf("m_findBlankSpace - no blank space found");
}

/*
==============================================================================
Animation
==============================================================================
*/

void GameBoard::animate(GameBoardView *view, int elapsedMs)
{
    if (!view) {
        return;
    }

    int area[4];
    view->getPlayAreaRect(area);
    int left = area[2] - area[0];
    int top = area[3] - area[1];
    int right = 0;
    int bottom = 0;
    bool changed = false;

    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            TileCell *cell = &m_cells[r][c];
            if (cell->isExploding()) {
                cell->m_remainingMs -= elapsedMs;
                if (cell->m_remainingMs < 0) {
                    cell->m_remainingMs = 0;
                }
            }
            QVSprite *old = cell->m_sprite;
            QVSprite *now = view->selectTileSprite(cell);
            cell->m_sprite = now;
            if (now == old) {
                continue;
            }
            int w = 0, h = 0;
            view->getTileSpriteSize(old ? old : now, &w, &h);
            const int x = BOARD_CELL_OFFSET + c * w;
            const int y = BOARD_CELL_OFFSET + r * h;
            if (x < left) {
                left = x;
            }
            if (y < top) {
                top = y;
            }
            if (x + w > right) {
                right = x + w;
            }
            if (y + h > bottom) {
                bottom = y + h;
            }
            changed = true;
        }
    }

    if (changed) {
        view->invalidateBoardRect(left + area[0], top + area[1], right + area[0], bottom + area[1]);
    }
}
