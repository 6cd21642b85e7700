// Board rules: which lines are complete, moves, scoring, explosions,
// evaluation and the order in which refills take tiles.
#include <gtest/gtest.h>

#include <string.h>

#include "BoardTestSupport.h"
#include "GameBoard.h"
#include "HMessageBox.h"
#include "TileCell.h"

namespace {

static int s_answerOk(uint32_t, const char *, const char *)
{
    return MB_RESULT_OK;
}

class BoardRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageBoxHook(s_answerOk);
        board.setRandom(&rng);
    }
    void TearDown() override { setMessageBoxHook(nullptr); }

    // Header of a level without dealing a board worth keeping.
    void level(int colours, int baseType, int blockers)
    {
        board.generate(colours, baseType, blockers, false);
        rng.clearLog();
    }

    RecordingRandom rng{ 1234 };
    GameBoard board;
};

/*
------------------------------------------------------------------------------
The line rule
------------------------------------------------------------------------------
*/

struct LineCase {
    const char *name;
    int types[BOARD_SIZE];
    bool complete;
};

static const LineCase s_lineCases[] = {
    { "six of one colour",              { 1, 1, 1, 1, 1, 1 },          true },
    { "colour and wilds",               { 2, 15, 2, 2, 15, 2 },        true },
    { "colour, one wild, blockers",     { 3, 14, 15, 3, 14, 3 },       true },
    { "colour and blocker, no wild",    { 1, 1, 14, 1, 1, 1 },         false },
    { "six wilds",                      { 15, 15, 15, 15, 15, 15 },    false },
    { "wilds and blockers only",        { 15, 14, 15, 15, 14, 15 },    false },
    { "five wilds and the blank",       { 15, 15, 0, 15, 15, 15 },     true },
    { "blank is a kind of its own",     { 0, 1, 1, 1, 1, 1 },          false },
    { "blank, colour and wild",         { 0, 15, 1, 1, 1, 1 },         false },
    { "two colours",                    { 1, 1, 1, 2, 1, 1 },          false },
    { "two colours and a wild",         { 15, 1, 1, 2, 1, 1 },         false },
    { "bonus sweet with wild",          { 13, 13, 15, 13, 13, 13 },    true },
    { "removed cell inside the line",   { 1, 1, 255, 1, 1, 1 },        false },
    { "removed first cell",             { 255, 1, 1, 1, 1, 1 },        false },
    { "kind past the table",            { 1, 1, 1, 1, 16, 1 },         false },
    { "negative kind",                  { 1, 1, -3, 1, 1, 1 },         false },
};

TEST_F(BoardRules, LineRuleRowsAndColumnsCaseByCase)
{
    for (const LineCase &lc : s_lineCases) {
        for (int line = 0; line < BOARD_SIZE; line++) {
            layNeutralBoard(board);
            for (int i = 0; i < BOARD_SIZE; i++) {
                board.setCellType(i, line, lc.types[i]);
            }
            EXPECT_EQ(lc.complete, board.isRowCrunch(line)) << lc.name << ", row " << line;
            EXPECT_EQ(lc.complete, !board.isFreeOfCrunches()) << lc.name << ", row " << line;

            layNeutralBoard(board);
            for (int i = 0; i < BOARD_SIZE; i++) {
                board.setCellType(line, i, lc.types[i]);
            }
            EXPECT_EQ(lc.complete, board.isColumnCrunch(line)) << lc.name << ", column " << line;
            EXPECT_EQ(lc.complete, !board.isFreeOfCrunches()) << lc.name << ", column " << line;
        }
    }
}

TEST_F(BoardRules, NeutralBoardHasNoLinesAndOutOfRangeLinesAreNot)
{
    layNeutralBoard(board);
    EXPECT_TRUE(board.isFreeOfCrunches());
    EXPECT_FALSE(board.isRowCrunch(-1));
    EXPECT_FALSE(board.isRowCrunch(6));
    EXPECT_FALSE(board.isColumnCrunch(-1));
    EXPECT_FALSE(board.isColumnCrunch(6));
    EXPECT_EQ(0, board.rowScore(7));
    EXPECT_FALSE(board.explodeRow(6));
    EXPECT_FALSE(board.explodeColumn(-2));
}

TEST_F(BoardRules, ExplodingFirstCellIsNotCountedAgain)
{
    layNeutralBoard(board);
    for (int c = 0; c < BOARD_SIZE; c++) {
        board.setCellType(c, 2, TILE_RED);
    }
    ASSERT_TRUE(board.isRowCrunch(2));
    board.explodeRow(2);
    EXPECT_FALSE(board.isRowCrunch(2));
    int score = -1;
    EXPECT_EQ(0, board.findCrunches(&score));
    EXPECT_EQ(0, score);
}

/*
------------------------------------------------------------------------------
Tile points and cells
------------------------------------------------------------------------------
*/

TEST(TileCellRules, ScoresByKind)
{
    static const int points[16] = { 0, 10, 15, 20, 25, 30, 35, 40, 45, 50, 60, 70, 80, 90, 0, 100 };
    TileCell cell;
    memset(&cell, 0, sizeof(cell));
    for (int t = 0; t < 16; t++) {
        cell.m_type = t;
        EXPECT_EQ(points[t], getTileScore(&cell)) << "type " << t;
    }
    cell.m_type = TILE_REMOVED;
    EXPECT_EQ(0, getTileScore(&cell));
    cell.m_type = -1;
    EXPECT_EQ(0, getTileScore(&cell));
    EXPECT_EQ(0, getTileScore(nullptr));
}

TEST(TileCellRules, ExplosionProgress)
{
    TileCell cell;
    memset(&cell, 0, sizeof(cell));
    EXPECT_FALSE(cell.isExploding());
    EXPECT_FLOAT_EQ(0.0f, cell.animationFraction());

    cell.setExploding(true, 256);
    EXPECT_TRUE(cell.isExploding());
    EXPECT_EQ(256, cell.m_totalMs);
    EXPECT_EQ(256, cell.m_remainingMs);
    EXPECT_FLOAT_EQ(0.0f, cell.animationFraction());
    cell.m_remainingMs = 0;
    EXPECT_FLOAT_EQ(256.0f / 257.0f, cell.animationFraction());
    EXPECT_LT(cell.animationFraction(), 1.0f);

    QVSprite *sprite = reinterpret_cast<QVSprite *>(&cell);
    cell.m_sprite = sprite;
    cell.m_type = 5;
    cell.reset();
    EXPECT_EQ(nullptr, cell.m_sprite);
    EXPECT_EQ(5, cell.m_type);     // reset touches only the sprite
}

TEST(TileCellRules, RandomTileDraws)
{
    RecordingRandom rng(99);
    TileCell cell;
    memset(&cell, 0, sizeof(cell));
    QVSprite *sprite = reinterpret_cast<QVSprite *>(&rng);
    cell.m_sprite = sprite;
    cell.setExploding(true, 100);

    // 35 on the first draw is a wild only when wilds are allowed.
    rng.script({ 35 });
    randomTileType(&rng, 6, 2, &cell, true);
    EXPECT_EQ(TILE_WILD, cell.m_type);
    EXPECT_EQ(std::vector<uint32_t>({ 35 }), rng.m_args);
    EXPECT_FALSE(cell.isExploding());
    EXPECT_EQ(0, cell.m_totalMs);
    EXPECT_EQ(0, cell.m_remainingMs);
    EXPECT_EQ(sprite, cell.m_sprite);

    rng.clearLog();
    rng.script({ 35, 5 });
    randomTileType(&rng, 6, 2, &cell, false);
    EXPECT_EQ(2 + 1 + 5, cell.m_type);
    EXPECT_EQ(std::vector<uint32_t>({ 35, 5 }), rng.m_args);

    rng.clearLog();
    rng.script({ 34, 0 });
    randomTileType(&rng, 4, 0, &cell, true);
    EXPECT_EQ(1, cell.m_type);
    EXPECT_EQ(std::vector<uint32_t>({ 35, 3 }), rng.m_args);
}

/*
------------------------------------------------------------------------------
Moves
------------------------------------------------------------------------------
*/

static const int s_moveBoard[BOARD_SIZE][BOARD_SIZE] = {
    { 1, 2, 3, 4, 5, 6 },
    { 2, 3, 4, 5, 6, 1 },
    { 3, 4, 0, 6, 1, 2 },
    { 4, 5, 6, 1, 2, 3 },
    { 5, 6, 1, 2, 3, 4 },
    { 6, 1, 2, 3, 4, 5 },
};

static bool s_sameBoard(const GameBoard &a, const int types[BOARD_SIZE][BOARD_SIZE])
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (a.getCell(c, r).m_type != types[r][c]) {
                return false;
            }
        }
    }
    return true;
}

TEST_F(BoardRules, MoveCodes)
{
    layBoard(board, s_moveBoard);
    ASSERT_EQ(2, board.getBlankColumn());
    ASSERT_EQ(2, board.getBlankRow());

    // Invalid: the blank itself, off its row and column, off the board.
    EXPECT_EQ(MOVE_INVALID, board.checkMove(2, 2));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(3, 3));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(0, 5));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(-1, 2));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(6, 2));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(2, -1));
    EXPECT_EQ(MOVE_INVALID, board.checkMove(2, 6));
    // Legal in all four directions, near and far.
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(0, 2));
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(5, 2));
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(2, 0));
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(2, 3));

    // A blocker next to the blank stops everything beyond it too.
    board.setCellType(1, 2, TILE_BLOCKER);
    EXPECT_EQ(MOVE_BLOCKED, board.checkMove(1, 2));
    EXPECT_EQ(MOVE_BLOCKED, board.checkMove(0, 2));
    // A blocker as the far target.
    board.setCellType(2, 5, TILE_BLOCKER);
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(2, 4));
    EXPECT_EQ(MOVE_BLOCKED, board.checkMove(2, 5));
    // A blocker in the middle.
    board.setCellType(4, 2, TILE_BLOCKER);
    EXPECT_EQ(MOVE_LEGAL, board.checkMove(3, 2));
    EXPECT_EQ(MOVE_BLOCKED, board.checkMove(5, 2));
}

TEST_F(BoardRules, RefusedMovesChangeNothing)
{
    layBoard(board, s_moveBoard);
    board.setCellType(1, 2, TILE_BLOCKER);
    int expected[BOARD_SIZE][BOARD_SIZE];
    memcpy(expected, s_moveBoard, sizeof(expected));
    expected[2][1] = TILE_BLOCKER;

    int oldBlank[2] = { -7, -7 };
    EXPECT_EQ(MOVE_BLOCKED, board.move(0, 2, oldBlank));
    EXPECT_EQ(MOVE_INVALID, board.move(3, 3, oldBlank));
    EXPECT_EQ(MOVE_INVALID, board.move(2, 2, oldBlank));
    EXPECT_EQ(MOVE_INVALID, board.move(9, 9, oldBlank));
    EXPECT_EQ(-7, oldBlank[0]);
    EXPECT_EQ(-7, oldBlank[1]);
    EXPECT_TRUE(s_sameBoard(board, expected));
    EXPECT_EQ(2, board.getBlankColumn());
    EXPECT_EQ(2, board.getBlankRow());
    EXPECT_TRUE(rng.m_args.empty());
}

TEST_F(BoardRules, SlideShiftsWholeCellsTowardTheBlank)
{
    layBoard(board, s_moveBoard);
    // Mark one tile in column 2 as exploding so we can see it travel.
    board.explodeRow(4);
    const TileCell before4 = board.getCell(2, 4);
    const TileCell before5 = board.getCell(2, 5);
    ASSERT_TRUE(before4.isExploding());

    int oldBlank[2] = { -1, -1 };
    ASSERT_EQ(MOVE_LEGAL, board.move(2, 5, oldBlank));
    EXPECT_EQ(2, oldBlank[0]);
    EXPECT_EQ(2, oldBlank[1]);
    EXPECT_EQ(2, board.getBlankColumn());
    EXPECT_EQ(5, board.getBlankRow());

    // Column 2 was 3,4,0,6,1,2 top to bottom.
    EXPECT_EQ(6, board.getCell(2, 2).m_type);
    EXPECT_EQ(1, board.getCell(2, 3).m_type);
    EXPECT_TRUE(board.getCell(2, 3).isExploding());     // the exploding tile moved up
    EXPECT_EQ(before4.m_remainingMs, board.getCell(2, 3).m_remainingMs);
    EXPECT_EQ(2, board.getCell(2, 4).m_type);
    EXPECT_EQ(before5.isExploding(), board.getCell(2, 4).isExploding());
    EXPECT_EQ(TILE_BLANK, board.getCell(2, 5).m_type);
    EXPECT_EQ(3, board.getCell(2, 0).m_type);           // above the blank: untouched
    EXPECT_EQ(4, board.getCell(2, 1).m_type);

    // Back along the row, far end: three tiles shift left.
    layBoard(board, s_moveBoard);
    ASSERT_EQ(MOVE_LEGAL, board.move(5, 2, oldBlank));
    static const int row2[BOARD_SIZE] = { 3, 4, 6, 1, 2, 0 };
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_EQ(row2[c], board.getCell(c, 2).m_type) << c;
    }
    ASSERT_EQ(MOVE_LEGAL, board.move(0, 2, oldBlank));
    EXPECT_EQ(5, oldBlank[0]);
    static const int row2b[BOARD_SIZE] = { 0, 3, 4, 6, 1, 2 };
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_EQ(row2b[c], board.getCell(c, 2).m_type) << c;
    }
    EXPECT_EQ(1, countType(board, TILE_BLANK));
}

/*
------------------------------------------------------------------------------
Scoring and evaluation
------------------------------------------------------------------------------
*/

TEST_F(BoardRules, CrossingLinesScoreTheSharedCellTwice)
{
    level(6, 0, 0);
    int types[BOARD_SIZE][BOARD_SIZE];
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            types[r][c] = 2 + (c + r) % 5;
        }
    }
    for (int i = 0; i < BOARD_SIZE; i++) {
        types[2][i] = TILE_ORANGE;
        types[i][3] = TILE_ORANGE;
    }
    types[0][1] = TILE_BLANK;
    layBoard(board, types);

    int score = -1;
    EXPECT_EQ(2, board.findCrunches(&score));
    EXPECT_EQ(6 * 10 + 6 * 10, score);
    EXPECT_EQ(2, board.crunchedRow(0));
    EXPECT_EQ(-1, board.crunchedRow(1));
    EXPECT_EQ(3, board.crunchedColumn(0));
    EXPECT_EQ(-1, board.crunchedColumn(1));
    EXPECT_EQ(-1, board.crunchedRow(6));
    EXPECT_EQ(-1, board.crunchedColumn(-1));

    // Evaluate explodes both; the next step refills all eleven cells by
    // falling columns, column 3 taking six new tiles.
    int queue[BOARD_SIZE];
    for (int c = 0; c < BOARD_SIZE; c++) {
        queue[c] = board.getCell(c, COLUMN_QUEUE).m_type;
    }
    int lines = 0;
    bool wild = true, blocker = true;
    score = 0;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(2, lines);
    EXPECT_EQ(120, score);
    EXPECT_FALSE(blocker);
    EXPECT_FALSE(wild);
    EXPECT_EQ(11, [&] {
        int n = 0;
        for (int r = 0; r < BOARD_SIZE; r++)
            for (int c = 0; c < BOARD_SIZE; c++)
                n += board.getCell(c, r).isExploding();
        return n;
    }());

    rng.clearLog();
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    // One queue tile for each of the five other columns, six for column 3.
    EXPECT_EQ(2u * 11u, rng.m_args.size());
    // The first removed cell found (bottom-right first) is (3, 5), and its
    // refill pulls the whole of column 3 through: the waiting queue tile ends
    // lowest, the five drawn after it stack above in draw order, the sixth
    // waits in the queue. Then one draw per other column, right to left.
    for (int i = 0; i < 11; i++) {
        EXPECT_EQ(35u, rng.m_args[2 * i]);
        EXPECT_EQ(5u, rng.m_args[2 * i + 1]);
    }
    EXPECT_EQ(queue[3], board.getCell(3, 5).m_type);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(1 + (int)rng.m_results[2 * i + 1], board.getCell(3, 4 - i).m_type) << "draw " << i;
    }
    EXPECT_EQ(1 + (int)rng.m_results[2 * 5 + 1], board.getCell(3, COLUMN_QUEUE).m_type);
    static const int order[5] = { 5, 4, 2, 1, 0 };
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(1 + (int)rng.m_results[2 * (6 + i) + 1], board.getCell(order[i], COLUMN_QUEUE).m_type)
            << "column " << order[i];
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        if (c == 3) {
            continue;
        }
        EXPECT_EQ(queue[c], board.getCell(c, 0).m_type) << c;
        EXPECT_EQ(types[0][c], board.getCell(c, 1).m_type) << c;
        EXPECT_EQ(types[1][c], board.getCell(c, 2).m_type) << c;
        for (int r = 3; r < BOARD_SIZE; r++) {
            EXPECT_EQ(types[r][c], board.getCell(c, r).m_type) << c << "," << r;
        }
    }
    // The blank fell with its column.
    EXPECT_EQ(1, board.getBlankColumn());
    EXPECT_EQ(1, board.getBlankRow());
    EXPECT_EQ(1, countType(board, TILE_BLANK));
    EXPECT_EQ(0, countType(board, TILE_REMOVED));
}

TEST_F(BoardRules, EvaluateCodes)
{
    level(3, 0, 0);
    layNeutralBoard(board);
    board.setCellType(0, 0, TILE_BLANK);

    int lines = 9, score = 0;
    bool wild = true, blocker = true;
    EXPECT_EQ(EVALUATE_NOTHING, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(0, lines);
    EXPECT_EQ(0, score);
    EXPECT_FALSE(wild);
    EXPECT_FALSE(blocker);

    // A row of purples with a wild and a blocker: lines found, blocker crunched.
    for (int c = 1; c < BOARD_SIZE; c++) {
        board.setCellType(c, 4, TILE_PURPLE);
    }
    board.setCellType(0, 4, TILE_WILD);
    board.setCellType(5, 4, TILE_BLOCKER);
    EXPECT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(1, lines);
    EXPECT_EQ(100 + 4 * 20 + 0, score);
    EXPECT_TRUE(blocker);
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_TRUE(board.getCell(c, 4).isExploding());
        EXPECT_EQ(LINE_EXPLODE_MS, board.getCell(c, 4).m_remainingMs);
        EXPECT_FALSE(board.getCell(c, 3).isExploding());
    }

    // Next step: removal and refill.
    rng.script({ 0, 0, 0, 1, 0, 2, 0, 0, 0, 1, 0, 2 });
    EXPECT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(0, lines);
    EXPECT_FALSE(blocker);
    EXPECT_EQ(0, countType(board, TILE_REMOVED));
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_FALSE(board.getCell(c, 4).isExploding());
    }
    // Wilds and bare outputs: null pointers are allowed.
    const int after = board.evaluate(nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(after == EVALUATE_NOTHING || after == EVALUATE_LINES_FOUND);
}

TEST_F(BoardRules, FiveWildsAndTheBlankExplodeAroundTheBlank)
{
    level(3, 0, 0);
    layNeutralBoard(board);
    static const int row[BOARD_SIZE] = { 15, 15, 15, 0, 15, 15 };
    for (int c = 0; c < BOARD_SIZE; c++) {
        board.setCellType(c, 3, row[c]);
    }
    ASSERT_EQ(3, board.getBlankColumn());
    ASSERT_EQ(3, board.getBlankRow());

    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(500, score);
    EXPECT_FALSE(board.getCell(3, 3).isExploding());
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(TILE_BLANK, board.getCell(3, 3).m_type);
    EXPECT_EQ(3, board.getBlankColumn());
    EXPECT_EQ(3, board.getBlankRow());
    EXPECT_EQ(1, countType(board, TILE_BLANK));
}

TEST_F(BoardRules, TwoCrunchedRowsRefillInQueueOrder)
{
    level(6, 0, 0);
    int types[BOARD_SIZE][BOARD_SIZE];
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            types[r][c] = 1 + (c + 2 * r) % 3;
        }
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        types[4][c] = TILE_GREEN;
        types[5][c] = TILE_BLUE;
    }
    types[1][4] = TILE_BLANK;
    layBoard(board, types);
    static const int queue[BOARD_SIZE] = { 4, 5, 6, 4, 5, 6 };
    for (int c = 0; c < BOARD_SIZE; c++) {
        board.setCellType(c, COLUMN_QUEUE, queue[c]);
    }

    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(2, lines);
    EXPECT_EQ(6 * 30 + 6 * 35, score);

    // Refill: columns from the right, two queue draws each; the tile drawn
    // first enters second. Column c draws kinds 1 + c % 6 then 1 + (c + 3) % 6.
    rng.clearLog();
    for (int c = BOARD_SIZE - 1; c >= 0; c--) {
        rng.script({ 0, (uint32_t)(c % 6), 0, (uint32_t)((c + 3) % 6) });
    }
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(0u, rng.scriptLeft());
    std::vector<uint32_t> expectArgs;
    for (int i = 0; i < 12; i++) {
        expectArgs.push_back(35);
        expectArgs.push_back(5);
    }
    EXPECT_EQ(expectArgs, rng.m_args);

    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_EQ(1 + c % 6, board.getCell(c, 0).m_type) << "second in, column " << c;
        EXPECT_EQ(queue[c], board.getCell(c, 1).m_type) << "first in, column " << c;
        for (int r = 2; r < BOARD_SIZE; r++) {
            EXPECT_EQ(types[r - 2][c], board.getCell(c, r).m_type) << c << "," << r;
        }
        EXPECT_EQ(1 + (c + 3) % 6, board.getCell(c, COLUMN_QUEUE).m_type) << c;
    }
    EXPECT_FALSE(wild);
    EXPECT_EQ(4, board.getBlankColumn());
    EXPECT_EQ(3, board.getBlankRow());
}

TEST_F(BoardRules, CrunchedColumnRefillsFromTheLeftThroughTheRowQueue)
{
    level(4, 0, 1);
    int types[BOARD_SIZE][BOARD_SIZE];
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            types[r][c] = 1 + (c + 2 * r) % 3;
        }
        types[r][2] = TILE_RED;
    }
    types[3][0] = TILE_BLANK;
    layBoard(board, types);
    for (int r = 0; r < BOARD_SIZE; r++) {
        board.setCellType(r, ROW_QUEUE, r == 1 ? TILE_WILD : TILE_RED);
    }

    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(150, score);
    EXPECT_EQ(2, board.crunchedColumn(0));

    // Rows from the bottom, one queue draw each; wilds allowed on this level.
    rng.clearLog();
    for (int r = BOARD_SIZE - 1; r >= 0; r--) {
        rng.script({ 0, 1 });
    }
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(std::vector<uint32_t>({ 35, 3, 35, 3, 35, 3, 35, 3, 35, 3, 35, 3 }), rng.m_args);
    EXPECT_TRUE(wild);
    for (int r = 0; r < BOARD_SIZE; r++) {
        EXPECT_EQ(r == 1 ? TILE_WILD : TILE_RED, board.getCell(0, r).m_type) << r;
        EXPECT_EQ(types[r][0], board.getCell(1, r).m_type) << r;
        EXPECT_EQ(types[r][1], board.getCell(2, r).m_type) << r;
        EXPECT_EQ(2, board.getCell(r, ROW_QUEUE).m_type) << r;
    }
    EXPECT_EQ(1, board.getBlankColumn());
    EXPECT_EQ(3, board.getBlankRow());
}

TEST_F(BoardRules, WildEnteringSecondInAColumnIsReported)
{
    level(4, 0, 1);
    int types[BOARD_SIZE][BOARD_SIZE];
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            types[r][c] = 1 + (c + 2 * r) % 3;
        }
    }
    for (int c = 0; c < BOARD_SIZE; c++) {
        types[4][c] = TILE_RED;
        types[5][c] = TILE_RED;
        board.setCellType(c, COLUMN_QUEUE, TILE_ORANGE);
    }
    types[0][0] = TILE_BLANK;
    layBoard(board, types);

    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));

    // Column 5 is refilled first: its first replacement draw is a wild,
    // which becomes the second tile to enter; then a wild again for the queue.
    rng.clearLog();
    rng.script({ 35, 35 });
    for (int c = 4; c >= 0; c--) {
        rng.script({ 0, 1, 0, 1 });
    }
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_TRUE(wild);
    EXPECT_EQ(TILE_WILD, board.getCell(5, 0).m_type);
    EXPECT_EQ(TILE_ORANGE, board.getCell(5, 1).m_type);
    EXPECT_EQ(TILE_WILD, board.getCell(5, COLUMN_QUEUE).m_type);
    // Wild draws take one number, the others two.
    EXPECT_EQ(2u + 5u * 4u, rng.m_args.size());

    // Nothing but plain tiles entering: no wild reported.
    layBoard(board, types);
    for (int c = 0; c < BOARD_SIZE; c++) {
        board.setCellType(c, COLUMN_QUEUE, TILE_ORANGE);
    }
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    for (int c = 5; c >= 0; c--) {
        rng.script({ 0, 1, 0, 1 });
    }
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_FALSE(wild);
}

TEST_F(BoardRules, DirectRefillCallsReportWilds)
{
    level(5, 0, 2);
    layNeutralBoard(board);
    board.setCellType(2, COLUMN_QUEUE, TILE_WILD);
    TileCell dest;
    memset(&dest, 0, sizeof(dest));
    // From above the board: straight from the queue.
    rng.script({ 0, 0 });
    EXPECT_TRUE(board.dropColumn(-1, 2, &dest));
    EXPECT_EQ(TILE_WILD, dest.m_type);
    EXPECT_EQ(TILE_ORANGE, board.getCell(2, COLUMN_QUEUE).m_type);
    board.setCellType(3, ROW_QUEUE, TILE_RED);
    rng.script({ 0, 1 });
    EXPECT_FALSE(board.shiftRow(3, -1, &dest));
    EXPECT_EQ(TILE_RED, dest.m_type);
    EXPECT_EQ(TILE_YELLOW, board.getCell(3, ROW_QUEUE).m_type);
    // Off the board sideways: refused without touching anything.
    EXPECT_FALSE(board.dropColumn(0, 6, &dest));
    EXPECT_FALSE(board.shiftRow(-1, 0, &dest));
    EXPECT_FALSE(board.dropColumn(2, 2, nullptr));
}

TEST_F(BoardRules, BoardWithoutBlankIsRepairedAfterRefill)
{
    level(3, 0, 0);
    layNeutralBoard(board);     // no blank anywhere
    for (int c = 0; c < BOARD_SIZE; c++) {
        board.setCellType(c, 5, TILE_YELLOW);
    }
    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(TILE_BLANK, board.getCell(0, 0).m_type);
    EXPECT_EQ(0, board.getBlankColumn());
    EXPECT_EQ(0, board.getBlankRow());
    EXPECT_EQ(1, countType(board, TILE_BLANK));
}

TEST_F(BoardRules, ExplodeAllTakesTheWholeBoardBlankIncluded)
{
    layBoard(board, s_moveBoard);
    board.explodeAll();
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            EXPECT_TRUE(board.getCell(c, r).isExploding());
            EXPECT_EQ(BOARD_EXPLODE_MS, board.getCell(c, r).m_totalMs);
        }
    }
    EXPECT_FALSE(board.getCell(0, ROW_QUEUE).isExploding());
    // A line that holds a blocker reports it.
    layBoard(board, s_moveBoard);
    board.setCellType(4, 1, TILE_BLOCKER);
    EXPECT_TRUE(board.explodeRow(1));
    EXPECT_TRUE(board.explodeColumn(4));
    EXPECT_FALSE(board.explodeColumn(0));
    EXPECT_FALSE(board.explodeRow(2));
    EXPECT_TRUE(board.getCell(1, 2).isExploding());
    EXPECT_FALSE(board.getCell(2, 2).isExploding());    // the blank never explodes in a line
}

TEST_F(BoardRules, CellAccessOutsideTheBoard)
{
    layBoard(board, s_moveBoard);
    EXPECT_EQ(TILE_REMOVED, board.getCell(-1, 0).m_type);
    EXPECT_EQ(TILE_REMOVED, board.getCell(0, 8).m_type);
    EXPECT_EQ(nullptr, board.getCell(6, 0).m_sprite);
    board.setCellType(0, 9, TILE_WILD);     // ignored
    board.setCellType(-1, 0, TILE_WILD);
    EXPECT_TRUE(s_sameBoard(board, s_moveBoard));
}

} // namespace
