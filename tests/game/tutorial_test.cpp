// The tutorial deal and its five scripted moves: a row of six oranges, then
// a column of six yellows.
#include <gtest/gtest.h>

#include <string.h>

#include "BoardTestSupport.h"
#include "GameBoard.h"
#include "HMessageBox.h"
#include "LevelInfo.h"

namespace {

static int s_answerOk(uint32_t, const char *, const char *)
{
    return MB_RESULT_OK;
}

static const int s_tutorialBoard[BOARD_SIZE][BOARD_SIZE] = {
    { 0, 1, 1, 1, 1, 1 },
    { 2, 3, 3, 1, 1, 3 },
    { 1, 2, 3, 3, 1, 2 },
    { 3, 2, 1, 1, 3, 1 },
    { 1, 2, 3, 1, 2, 3 },
    { 1, 2, 1, 3, 2, 3 },
};

class Tutorial : public ::testing::Test {
protected:
    void SetUp() override
    {
        setMessageBoxHook(s_answerOk);
        const LevelInfo &first = levelTableRow(0);
        board.setRandom(&rng);
        board.generate(first.m_colours, first.m_baseType, first.m_blockers, true);
    }
    void TearDown() override { setMessageBoxHook(nullptr); }

    int click(int column, int row)
    {
        int oldBlank[2] = { -1, -1 };
        return board.move(column, row, oldBlank);
    }

    RecordingRandom rng{ 2026 };
    GameBoard board;
};

TEST_F(Tutorial, FixedBoardAndColumnQueue)
{
    expectBoardTypes(board, s_tutorialBoard);
    EXPECT_EQ(0, board.getBlankColumn());
    EXPECT_EQ(0, board.getBlankRow());
    EXPECT_TRUE(board.isFreeOfCrunches());

    static const int columnQueue[BOARD_SIZE] = { 1, 2, 1, 3, 3, 3 };
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_EQ(columnQueue[c], board.getCell(c, COLUMN_QUEUE).m_type);
        EXPECT_FALSE(board.getCell(c, COLUMN_QUEUE).isExploding());
    }
    // Only the row queue is drawn: six tiles of the three colours, no wilds.
    EXPECT_EQ(std::vector<uint32_t>({ 35, 2, 35, 2, 35, 2, 35, 2, 35, 2, 35, 2 }), rng.m_args);
    for (int r = 0; r < BOARD_SIZE; r++) {
        EXPECT_EQ(1 + (int)rng.m_results[2 * r + 1], board.getCell(r, ROW_QUEUE).m_type);
    }
}

TEST_F(Tutorial, ScriptedMovesClearARowThenAColumn)
{
    int lines = 0, score = 0;
    bool wild = false, blocker = false;

    // Steps 0 to 2: the blank walks right along row 0, one orange at a time
    // sliding into the old blank; nothing else moves and no line forms.
    static const int walk[3][BOARD_SIZE] = {
        { 1, 0, 1, 1, 1, 1 },
        { 1, 1, 0, 1, 1, 1 },
        { 1, 1, 1, 0, 1, 1 },
    };
    for (int step = 0; step < 3; step++) {
        int oldBlank[2] = { -1, -1 };
        ASSERT_EQ(MOVE_LEGAL, board.move(step + 1, 0, oldBlank)) << "step " << step;
        EXPECT_EQ(step, oldBlank[0]);
        EXPECT_EQ(0, oldBlank[1]);
        int expected[BOARD_SIZE][BOARD_SIZE];
        memcpy(expected, s_tutorialBoard, sizeof(expected));
        memcpy(expected[0], walk[step], sizeof(expected[0]));
        expectBoardTypes(board, expected);
        EXPECT_EQ(step + 1, board.getBlankColumn());
        EXPECT_EQ(0, board.getBlankRow());
        EXPECT_EQ(EVALUATE_NOTHING, board.evaluate(&lines, &score, &wild, &blocker)) << "step " << step;
    }

    // Step 3: an orange slides up and row 0 is six oranges.
    int oldBlank[2] = { -1, -1 };
    ASSERT_EQ(MOVE_LEGAL, board.move(3, 1, oldBlank));
    EXPECT_EQ(3, oldBlank[0]);
    EXPECT_EQ(0, oldBlank[1]);
    static const int afterStep3[BOARD_SIZE][BOARD_SIZE] = {
        { 1, 1, 1, 1, 1, 1 },
        { 2, 3, 3, 0, 1, 3 },
        { 1, 2, 3, 3, 1, 2 },
        { 3, 2, 1, 1, 3, 1 },
        { 1, 2, 3, 1, 2, 3 },
        { 1, 2, 1, 3, 2, 3 },
    };
    expectBoardTypes(board, afterStep3);

    score = 0;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(1, lines);
    EXPECT_EQ(60, score);
    EXPECT_EQ(0, board.crunchedRow(0));
    EXPECT_EQ(-1, board.crunchedColumn(0));

    // Row 0 refills from the fixed queue, right to left: 1, 2, 1, 3, 3, 3.
    rng.clearLog();
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(std::vector<uint32_t>({ 35, 2, 35, 2, 35, 2, 35, 2, 35, 2, 35, 2 }), rng.m_args);
    EXPECT_FALSE(wild);
    static const int afterRefill[BOARD_SIZE][BOARD_SIZE] = {
        { 1, 2, 1, 3, 3, 3 },
        { 2, 3, 3, 0, 1, 3 },
        { 1, 2, 3, 3, 1, 2 },
        { 3, 2, 1, 1, 3, 1 },
        { 1, 2, 3, 1, 2, 3 },
        { 1, 2, 1, 3, 2, 3 },
    };
    expectBoardTypes(board, afterRefill);
    EXPECT_EQ(3, board.getBlankColumn());
    EXPECT_EQ(1, board.getBlankRow());
    // The queue was refilled in column order 5 down to 0.
    for (int c = 0; c < BOARD_SIZE; c++) {
        EXPECT_EQ(1 + (int)rng.m_results[2 * (5 - c) + 1], board.getCell(c, COLUMN_QUEUE).m_type);
    }
    EXPECT_EQ(EVALUATE_NOTHING, board.evaluate(&lines, &score, &wild, &blocker));

    // Step 4: row 1 shifts right and column 1 is six yellows.
    int rowQueue[BOARD_SIZE];
    for (int r = 0; r < BOARD_SIZE; r++) {
        rowQueue[r] = board.getCell(r, ROW_QUEUE).m_type;
    }
    ASSERT_EQ(MOVE_LEGAL, click(0, 1));
    static const int afterStep4[BOARD_SIZE][BOARD_SIZE] = {
        { 1, 2, 1, 3, 3, 3 },
        { 0, 2, 3, 3, 1, 3 },
        { 1, 2, 3, 3, 1, 2 },
        { 3, 2, 1, 1, 3, 1 },
        { 1, 2, 3, 1, 2, 3 },
        { 1, 2, 1, 3, 2, 3 },
    };
    expectBoardTypes(board, afterStep4);
    EXPECT_TRUE(board.isColumnCrunch(1));
    EXPECT_FALSE(board.isRowCrunch(1));
    score = 0;
    ASSERT_EQ(EVALUATE_LINES_FOUND, board.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(1, lines);
    EXPECT_EQ(90, score);
    EXPECT_EQ(1, board.crunchedColumn(0));
    EXPECT_EQ(-1, board.crunchedRow(0));

    // The column refills from the left: column 0 moves into column 1 (the
    // blank with it) and the row queue enters column 0.
    ASSERT_EQ(EVALUATE_REFILLED, board.evaluate(&lines, &score, &wild, &blocker));
    int afterColumn[BOARD_SIZE][BOARD_SIZE];
    memcpy(afterColumn, afterStep4, sizeof(afterColumn));
    for (int r = 0; r < BOARD_SIZE; r++) {
        afterColumn[r][0] = rowQueue[r];
        afterColumn[r][1] = afterStep4[r][0];
    }
    expectBoardTypes(board, afterColumn);
    EXPECT_EQ(1, board.getBlankColumn());
    EXPECT_EQ(1, board.getBlankRow());
    EXPECT_FALSE(wild);
}

TEST_F(Tutorial, OutOfOrderClickIsStillALegalSlideForTheBoard)
{
    // The script restricts clicks in the application; the board itself
    // slides two oranges for a click two cells away.
    ASSERT_EQ(MOVE_LEGAL, click(2, 0));
    EXPECT_EQ(TILE_ORANGE, board.getCell(0, 0).m_type);
    EXPECT_EQ(TILE_ORANGE, board.getCell(1, 0).m_type);
    EXPECT_EQ(TILE_BLANK, board.getCell(2, 0).m_type);
}

} // namespace
