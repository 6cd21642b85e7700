// Plays arbitrary games on the board: seed, level and a stream of clicks
// from the input. After every step the board must keep its invariants.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "GameBoard.h"
#include "HMersenneTwister.h"
#include "LevelInfo.h"

static void s_check(bool ok)
{
    if (!ok) {
        abort();
    }
}

static void s_checkBoard(const GameBoard &board)
{
    int blanks = 0;
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            const int t = board.getCell(c, r).m_type;
            s_check(t >= 0 && t <= TILE_WILD);
            blanks += t == TILE_BLANK;
        }
    }
    for (int r = ROW_QUEUE; r <= COLUMN_QUEUE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            const int t = board.getCell(c, r).m_type;
            s_check(t >= 1 && t <= TILE_WILD && t != TILE_BLOCKER);
        }
    }
    s_check(blanks == 1);
    s_check(board.getCell(board.getBlankColumn(), board.getBlankRow()).m_type == TILE_BLANK);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 5) {
        return 0;
    }
    uint32_t seed;
    memcpy(&seed, data, 4);
    const int level = data[4] % LEVEL_COUNT;
    const bool tutorial = (data[4] & 0x80) != 0;
    data += 5;
    size -= 5;

    // Seed 0 is the degenerate all-zero generator, whose deals cannot avoid
    // complete lines; the unit tests cover it.
    HMersenneTwister rng;
    rng.setSeed(seed ? seed : 1);
    GameBoard board(&rng);
    const LevelInfo &row = levelTableRow(level);
    board.generate(row.m_colours, row.m_baseType, row.m_blockers, tutorial);
    s_check(board.isFreeOfCrunches());
    s_checkBoard(board);

    for (size_t i = 0; i < size; i++) {
        // Low nibble column, high nibble row: values past 5 are off the board.
        const int column = (data[i] & 0x0F) - 2;
        const int row2 = (data[i] >> 4) - 2;
        const int check = board.checkMove(column, row2);
        int oldBlank[2] = { -1, -1 };
        const int result = board.move(column, row2, oldBlank);
        s_check(result == check);
        s_check(result == MOVE_LEGAL || result == MOVE_INVALID || result == MOVE_BLOCKED);
        if (result != MOVE_LEGAL) {
            continue;
        }
        s_check(board.getBlankColumn() == column && board.getBlankRow() == row2);
        // Run the crunch / refill cycle to rest, as the state machine would.
        int lines, score;
        bool wild, blocker;
        for (int step = 0; step < 64; step++) {
            const int e = board.evaluate(&lines, &score, &wild, &blocker);
            s_check(e == EVALUATE_NOTHING || e == EVALUATE_LINES_FOUND || e == EVALUATE_REFILLED);
            if (e == EVALUATE_NOTHING) {
                break;
            }
            if (e == EVALUATE_REFILLED) {
                s_checkBoard(board);
            }
        }
        s_checkBoard(board);
    }
    return 0;
}
