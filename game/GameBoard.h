#ifndef GAMEBOARD_H
#define GAMEBOARD_H

#include "TileCell.h"
#include "TileType.h"

class HRandom;
class GameBoardView;

// Board geometry and timing shared by the rules and the drawing.
enum {
    BOARD_SIZE              = 6,
    ROW_QUEUE               = 6,    // m_cells row: entry r enters row r from the left
    COLUMN_QUEUE            = 7,    // m_cells row: entry c enters column c from the top
    BOARD_ROWS_WITH_QUEUES  = 8,
    LINE_EXPLODE_MS         = 256,
    BOARD_EXPLODE_MS        = 512,
    BOARD_CELL_OFFSET       = 84    // first cell from the play area's corner
};

// Results of checkMove / move.
enum {
    MOVE_LEGAL              = 0,
    MOVE_INVALID            = 1,
    MOVE_BLOCKED            = 2
};

// Results of evaluate.
enum {
    EVALUATE_NOTHING        = 0,
    EVALUATE_LINES_FOUND    = 2,
    EVALUATE_REFILLED       = 3
};

// The 6x6 puzzle: one blank cell, a queue of tiles waiting at the left of
// each row and at the top of each column, the deal, moves, complete lines,
// explosions and refills. Plain logic: every random number comes from the
// generator it is given, in a fixed order, so a replay deals the same boards.
// Coordinates are (column, row) from the top-left.
class GameBoard {
public:
                GameBoard(HRandom *pRandom = nullptr);

    // The application's generator; not owned.
    void        setRandom(HRandom *pRandom) { m_pRandom = pRandom; }
    HRandom *   getRandom() const { return m_pRandom; }

    // Deal for a level: board, then row queue, then column queue.
    void        generate(int colours, int baseType, int blockers, bool tutorial);
    void        fill(bool tutorial);
    void        fillRandom(int colours, int baseType, int blockers, bool tutorial);
    void        fillTutorial();
    void        fillPendingTiles(bool tutorial);
    bool        isFreeOfCrunches() const;

    // MOVE_LEGAL, MOVE_INVALID or MOVE_BLOCKED; a legal move slides the tiles
    // between the blank and the target one cell toward the blank.
    int         checkMove(int column, int row) const;
    int         move(int column, int row, int oldBlank[2]);

    // Rows 0..5 are the board, ROW_QUEUE and COLUMN_QUEUE the queues.
    TileCell    getCell(int column, int row) const;
    // Writes a kind into a cell, explosion cleared; a blank written on the
    // board becomes the blank. For tools and tests that lay out positions.
    void        setCellType(int column, int row, int type);

    int         getBlankColumn() const { return m_blankColumn; }
    int         getBlankRow() const { return m_blankRow; }
    int         getColours() const { return m_colours; }
    int         getBaseType() const { return m_baseType; }
    int         getBlockers() const { return m_blockers; }

    // Lines found by the last findCrunches, packed from 0; -1 past the end.
    int         crunchedRow(int i) const;
    int         crunchedColumn(int i) const;

    bool        isRowCrunch(int row) const;
    bool        isColumnCrunch(int column) const;
    int         rowScore(int row) const;
    int         columnScore(int column) const;
    int         findCrunches(int *score);

    // True when a blocker was in the line.
    bool        explodeRow(int row);
    bool        explodeColumn(int column);
    void        explodeAll();

    // One step of the state machine: removes exploded cells and refills
    // (EVALUATE_REFILLED), or finds and explodes new lines
    // (EVALUATE_LINES_FOUND), or EVALUATE_NOTHING.
    int         evaluate(int *lines, int *score, bool *wildArrived, bool *blockerCrunched);

    // Recursive refills; true when a wild entered the board.
    bool        dropColumn(int row, int column, TileCell *dest);
    bool        shiftRow(int row, int column, TileCell *dest);

    // Per tick: runs explosions down and reports cells whose sprite changed.
    void        animate(GameBoardView *view, int elapsedMs);

private:
    bool        m_isLineCrunch(bool bColumn, int line) const;
    int         m_lineScore(bool bColumn, int line) const;
    bool        m_explodeLine(bool bColumn, int line);
    bool        m_refillLine(bool bColumn, int line, int pos, TileCell *dest);
    bool        m_isFreeCell(bool bEdgeOnly, int column, int row) const;
    bool        m_pickFreeCell(bool bEdgeOnly, int *column, int *row);
    bool        m_queueWildAllowed() const;
    void        m_newTile(TileCell *cell, bool wildAllowed);
    void        m_findBlankSpace();

    int         m_colours;
    int         m_baseType;
    int         m_blockers;
    int         m_blankColumn;
    int         m_blankRow;
    int         m_crunchedRows[BOARD_SIZE];
    int         m_crunchedColumns[BOARD_SIZE];
    TileCell    m_cells[BOARD_ROWS_WITH_QUEUES][BOARD_SIZE];
    HRandom *   m_pRandom;
    bool        m_bGeneratorStuck;  // a placement gave up during this deal
};

#endif // GAMEBOARD_H
