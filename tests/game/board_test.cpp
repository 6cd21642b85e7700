// Dealing boards: the exact order of random draws (replays depend on it),
// blocker and wild placement, the queues, properties of every dealt board
// over many seeds and all level rows, and the animation seam.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "BoardTestSupport.h"
#include "GameBoard.h"
#include "GameBoardView.h"
#include "HMersenneTwister.h"
#include "HMessageBox.h"
#include "LevelInfo.h"

namespace {

static int s_answerOk(uint32_t, const char *, const char *)
{
    return MB_RESULT_OK;
}

class BoardDeal : public ::testing::Test {
protected:
    void SetUp() override { setMessageBoxHook(s_answerOk); }
    void TearDown() override { setMessageBoxHook(nullptr); }
};

// Scripts the 36 dealt tiles so that no line is complete: kind
// base + 1 + (c + 2r) % colours, never a wild.
static void s_scriptNeutralDeal(RecordingRandom &rng, int colours)
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            rng.script({ 0, (uint32_t)((c + 2 * r) % colours) });
        }
    }
}

static std::vector<uint32_t> s_tilePattern(int tiles, uint32_t colours)
{
    std::vector<uint32_t> v;
    for (int i = 0; i < tiles; i++) {
        v.push_back(35);
        v.push_back(colours - 1);
    }
    return v;
}

TEST_F(BoardDeal, DrawPatternOfAPlainDeal)
{
    // Seeds that need one deal and seeds that need more: both keep the
    // pattern "36 tiles per try, then 12 queue tiles".
    int redeals = 0;
    for (uint32_t seed = 1; seed <= 300; seed++) {
        RecordingRandom rng(seed);
        GameBoard board(&rng);
        board.generate(3, 0, 0, false);

        const std::vector<uint32_t> &args = rng.m_args;
        ASSERT_EQ(0u, args.size() % 2);
        ASSERT_GE(args.size(), 2u * (36 + 12));
        const size_t dealDraws = args.size() - 2 * 12;
        ASSERT_EQ(0u, dealDraws % 72) << "seed " << seed;
        EXPECT_EQ(s_tilePattern((int)(args.size() / 2), 3), args) << "seed " << seed;
        redeals += dealDraws > 72;

        // The board and queues are exactly the last try's draws.
        const size_t last = dealDraws - 72;
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                const int want = (r == 0 && c == 0) ? TILE_BLANK : 1 + (int)rng.m_results[last + 2 * (6 * r + c) + 1];
                ASSERT_EQ(want, board.getCell(c, r).m_type) << "seed " << seed << " cell " << c << "," << r;
            }
        }
        for (int i = 0; i < BOARD_SIZE; i++) {
            EXPECT_EQ(1 + (int)rng.m_results[dealDraws + 2 * i + 1], board.getCell(i, ROW_QUEUE).m_type);
            EXPECT_EQ(1 + (int)rng.m_results[dealDraws + 12 + 2 * i + 1], board.getCell(i, COLUMN_QUEUE).m_type);
        }
    }
    EXPECT_GT(redeals, 0);     // some seeds did need a second deal
}

TEST_F(BoardDeal, RedealsUntilNoLineIsComplete)
{
    // First try: row 3 all yellow. Second try: clean.
    RecordingRandom rng(5);
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            rng.script({ 0, (uint32_t)(r == 3 ? 1 : (c + 2 * r) % 3) });
        }
    }
    s_scriptNeutralDeal(rng, 3);
    GameBoard board(&rng);
    board.generate(3, 0, 0, false);
    EXPECT_EQ(0u, rng.scriptLeft());
    EXPECT_EQ(s_tilePattern(36 + 36 + 12, 3), rng.m_args);
    EXPECT_TRUE(board.isFreeOfCrunches());
    EXPECT_EQ(TILE_ORANGE, board.getCell(0, 3).m_type);    // yellow on the first try
}

TEST_F(BoardDeal, BlockerPlacementDraws)
{
    RecordingRandom rng(11);
    s_scriptNeutralDeal(rng, 3);
    // 3 colours: (0,0), the corner cells and inner cells are refused, a
    // cell that already holds a blocker too.
    rng.script({ 0, 0,   1, 1,   0, 1,   1, 0,   3, 3,   5, 2,
                 5, 2,   4, 4,   2, 5 });
    GameBoard board(&rng);
    board.generate(3, 0, 2, false);

    EXPECT_EQ(0u, rng.scriptLeft());
    std::vector<uint32_t> want = s_tilePattern(36, 3);
    for (int i = 0; i < 9; i++) {
        want.push_back(5);
        want.push_back(5);
    }
    const std::vector<uint32_t> queue = s_tilePattern(12, 3);
    want.insert(want.end(), queue.begin(), queue.end());
    EXPECT_EQ(want, rng.m_args);

    EXPECT_EQ(TILE_BLOCKER, board.getCell(5, 2).m_type);
    EXPECT_EQ(TILE_BLOCKER, board.getCell(2, 5).m_type);
    EXPECT_EQ(2, countType(board, TILE_BLOCKER));
    EXPECT_EQ(TILE_BLANK, board.getCell(0, 0).m_type);
}

TEST_F(BoardDeal, InnerBlockersAllowedFromFourColours)
{
    RecordingRandom rng(12);
    s_scriptNeutralDeal(rng, 5);
    rng.script({ 1, 1,   3, 3,   3, 3,   2, 2,   0, 4 });
    GameBoard board(&rng);
    board.generate(5, 0, 3, false);
    EXPECT_EQ(0u, rng.scriptLeft());
    EXPECT_EQ(TILE_BLOCKER, board.getCell(3, 3).m_type);
    EXPECT_EQ(TILE_BLOCKER, board.getCell(2, 2).m_type);
    EXPECT_EQ(TILE_BLOCKER, board.getCell(0, 4).m_type);
    EXPECT_EQ(3, countType(board, TILE_BLOCKER));
}

TEST_F(BoardDeal, WildLevelPlacesOneWildAndAllowsQueueWilds)
{
    RecordingRandom rng(13);
    s_scriptNeutralDeal(rng, 4);
    rng.script({ 2, 2 });                                   // the blocker
    rng.script({ 2, 2,   1, 0,   0, 0,   1, 1,   4, 1 });   // the wild: 4 refusals
    rng.script({ 35,   34, 2 });                            // row queue 0 wild, 1 purple
    GameBoard board(&rng);
    board.generate(4, 0, 1, false);

    EXPECT_EQ(0u, rng.scriptLeft());
    EXPECT_EQ(TILE_BLOCKER, board.getCell(2, 2).m_type);
    EXPECT_EQ(TILE_WILD, board.getCell(4, 1).m_type);
    EXPECT_EQ(1, countType(board, TILE_WILD));
    EXPECT_EQ(TILE_WILD, board.getCell(0, ROW_QUEUE).m_type);
    EXPECT_EQ(TILE_PURPLE, board.getCell(1, ROW_QUEUE).m_type);

    std::vector<uint32_t> want = s_tilePattern(36, 4);
    for (int i = 0; i < 6; i++) {
        want.push_back(5);
        want.push_back(5);
    }
    want.push_back(35);                                     // a wild takes one draw
    const std::vector<uint32_t> rest = s_tilePattern(11, 4);
    const size_t prefix = want.size();
    ASSERT_GE(rng.m_args.size(), prefix);
    EXPECT_EQ(want, std::vector<uint32_t>(rng.m_args.begin(), rng.m_args.begin() + prefix));
    // The other eleven queue tiles: 35 and, unless a wild came, one more.
    size_t i = prefix;
    int tiles = 0;
    while (i < rng.m_args.size()) {
        ASSERT_EQ(35u, rng.m_args[i]);
        if (rng.m_results[i] == 35) {
            i += 1;
        } else {
            ASSERT_LT(i + 1, rng.m_args.size());
            ASSERT_EQ(3u, rng.m_args[i + 1]);
            i += 2;
        }
        tiles++;
    }
    EXPECT_EQ(11, tiles);
}

TEST_F(BoardDeal, QueueTilesNeverWildWithoutBlockersOrOnThreeColours)
{
    // 35 on the first draw is then an ordinary tile with a second draw.
    RecordingRandom rng(14);
    s_scriptNeutralDeal(rng, 6);
    rng.scriptRepeat({ 35, 5 }, 12);
    GameBoard board(&rng);
    board.generate(6, 0, 0, false);
    EXPECT_EQ(s_tilePattern(48, 6), rng.m_args);
    for (int i = 0; i < BOARD_SIZE; i++) {
        EXPECT_EQ(6, board.getCell(i, ROW_QUEUE).m_type);
        EXPECT_EQ(6, board.getCell(i, COLUMN_QUEUE).m_type);
    }

    RecordingRandom rng3(15);
    s_scriptNeutralDeal(rng3, 3);
    rng3.script({ 5, 5 });
    rng3.scriptRepeat({ 35, 2 }, 12);
    GameBoard board3(&rng3);
    board3.generate(3, 0, 1, false);
    EXPECT_EQ(0u, rng3.scriptLeft());
    for (int i = 0; i < BOARD_SIZE; i++) {
        EXPECT_EQ(3, board3.getCell(i, ROW_QUEUE).m_type);
    }
}

TEST_F(BoardDeal, SameSeedSameBoards)
{
    HMersenneTwister a, b;
    a.setSeed(424242);
    b.setSeed(424242);
    GameBoard x(&a), y(&b);
    for (int level = 0; level < LEVEL_COUNT; level++) {
        const LevelInfo &row = levelTableRow(level);
        x.generate(row.m_colours, row.m_baseType, row.m_blockers, false);
        y.generate(row.m_colours, row.m_baseType, row.m_blockers, false);
        for (int r = 0; r < BOARD_ROWS_WITH_QUEUES; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                ASSERT_EQ(x.getCell(c, r).m_type, y.getCell(c, r).m_type);
            }
        }
    }
}

// Every dealt board, for every level row and many seeds.
TEST_F(BoardDeal, PropertiesOverSeedsAndAllLevels)
{
    static const int corner[4][2] = { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 1, 1 } };
    int queueTiles = 0, queueWilds = 0;

    for (int level = 0; level < LEVEL_COUNT; level++) {
        const LevelInfo &row = levelTableRow(level);
        const bool wildLevel = row.m_colours == 4 && row.m_blockers == 1;
        const bool queueWild = row.m_colours > 3 && row.m_blockers != 0;
        HMersenneTwister rng;
        GameBoard board(&rng);

        // Spread seeds, plus the poorly mixed single-high-bit ones.
        std::vector<uint32_t> seeds;
        for (uint32_t i = 1; i <= 150; i++) {
            seeds.push_back(i * 2654435761u);
        }
        for (int bit = 24; bit < 32; bit++) {
            seeds.push_back(1u << bit);
        }
        for (uint32_t seed : seeds) {
            rng.setSeed(seed);
            board.generate(row.m_colours, row.m_baseType, row.m_blockers, false);
            SCOPED_TRACE(testing::Message() << "level " << level + 1 << " seed " << seed);

            ASSERT_TRUE(board.isFreeOfCrunches());
            int score = -1;
            ASSERT_EQ(0, board.findCrunches(&score));

            ASSERT_EQ(0, board.getBlankColumn());
            ASSERT_EQ(0, board.getBlankRow());
            ASSERT_EQ(TILE_BLANK, board.getCell(0, 0).m_type);
            ASSERT_EQ(1, countType(board, TILE_BLANK));
            ASSERT_EQ(row.m_blockers, countType(board, TILE_BLOCKER));
            ASSERT_EQ(wildLevel ? 1 : 0, countType(board, TILE_WILD));

            for (const auto &cc : corner) {
                const int t = board.getCell(cc[0], cc[1]).m_type;
                ASSERT_NE(TILE_BLOCKER, t);
                ASSERT_NE(TILE_WILD, t);
            }
            for (int r = 0; r < BOARD_SIZE; r++) {
                for (int c = 0; c < BOARD_SIZE; c++) {
                    const TileCell cell = board.getCell(c, r);
                    ASSERT_FALSE(cell.isExploding());
                    if (cell.m_type == TILE_BLOCKER && row.m_colours == 3) {
                        ASSERT_TRUE(c == 5 || r == 5) << c << "," << r;
                    }
                    if (cell.m_type == TILE_BLANK || cell.m_type == TILE_BLOCKER || cell.m_type == TILE_WILD) {
                        continue;
                    }
                    ASSERT_GE(cell.m_type, row.m_baseType + 1);
                    ASSERT_LE(cell.m_type, row.m_baseType + row.m_colours);
                }
            }
            for (int q = ROW_QUEUE; q <= COLUMN_QUEUE; q++) {
                for (int i = 0; i < BOARD_SIZE; i++) {
                    const TileCell cell = board.getCell(i, q);
                    ASSERT_FALSE(cell.isExploding());
                    queueTiles += queueWild;
                    if (cell.m_type == TILE_WILD) {
                        ASSERT_TRUE(queueWild);
                        queueWilds++;
                        continue;
                    }
                    ASSERT_GE(cell.m_type, row.m_baseType + 1);
                    ASSERT_LE(cell.m_type, row.m_baseType + row.m_colours);
                }
            }
        }
    }
    // About one queue tile in 36 is wild where wilds are allowed.
    ASSERT_GT(queueTiles, 0);
    const double share = (double)queueWilds / queueTiles;
    EXPECT_GT(share, 1.0 / 72);
    EXPECT_LT(share, 1.0 / 18);
}

// The deal written out again straight from the rules, with no limit of any
// kind on redeals or placement tries: what a replay must reproduce.
class ReferenceDeal {
public:
    explicit ReferenceDeal(HRandom *rng) : m_rng(rng) {}

    void deal(int colours, int base, int blockers)
    {
        m_deals = 0;
        do {
            m_deals++;
            for (int r = 0; r < 6; r++) {
                for (int c = 0; c < 6; c++) {
                    m_cells[r][c] = tile(colours, base, false);
                }
            }
            for (int i = 0; i < blockers; i++) {
                for (;;) {
                    const int c = (int)m_rng->nextInt(5);
                    const int r = (int)m_rng->nextInt(5);
                    if ((c == 0 && r == 0) || m_cells[r][c] == 14 || (c <= 1 && r <= 1)) {
                        continue;
                    }
                    if (colours == 3 && c != 5 && r != 5) {
                        continue;
                    }
                    m_cells[r][c] = 14;
                    break;
                }
            }
            if (blockers == 1 && colours == 4) {
                for (;;) {
                    const int c = (int)m_rng->nextInt(5);
                    const int r = (int)m_rng->nextInt(5);
                    if ((c <= 1 && r <= 1) || m_cells[r][c] == 14) {
                        continue;
                    }
                    m_cells[r][c] = 15;
                    break;
                }
            }
            m_cells[0][0] = 0;
        } while (hasLine());
        const bool wild = colours > 3 && blockers != 0;
        for (int q = 0; q < 2; q++) {
            for (int i = 0; i < 6; i++) {
                m_queues[q][i] = tile(colours, base, wild);
            }
        }
    }

    int m_cells[6][6];
    int m_queues[2][6];     // row queue, then column queue
    int m_deals = 0;

private:
    int tile(int colours, int base, bool wild)
    {
        const uint32_t r = m_rng->nextInt(35);
        if (wild && r == 35) {
            return 15;
        }
        return base + 1 + (int)m_rng->nextInt((uint32_t)colours - 1);
    }

    bool lineComplete(int cells[6])
    {
        int count[16] = { 0 };
        for (int i = 0; i < 6; i++) {
            count[cells[i]]++;
        }
        int kinds = 0;
        for (int t = 0; t <= 14; t++) {
            kinds += count[t] > 0 && !(t == 14 && count[15] > 0);
        }
        return kinds == 1;
    }

    bool hasLine()
    {
        for (int i = 0; i < 6; i++) {
            int row[6], column[6];
            for (int j = 0; j < 6; j++) {
                row[j] = m_cells[i][j];
                column[j] = m_cells[j][i];
            }
            if (lineComplete(row) || lineComplete(column)) {
                return true;
            }
        }
        return false;
    }

    HRandom *m_rng;
};

// Deals one level both ways from the same seed, after `skip` earlier draws,
// and insists on the same draws and the same board and queues. Returns the
// number of deals the reference needed.
static int s_expectDealMatchesReference(uint32_t seed, int skip, int level)
{
    const LevelInfo &row = levelTableRow(level);
    RecordingRandom mine(seed), theirs(seed);
    for (int i = 0; i < skip; i++) {
        mine.nextInt(0xFFFFFFFFu);
        theirs.nextInt(0xFFFFFFFFu);
    }
    mine.clearLog();
    theirs.clearLog();

    GameBoard board(&mine);
    board.generate(row.m_colours, row.m_baseType, row.m_blockers, false);
    ReferenceDeal ref(&theirs);
    ref.deal(row.m_colours, row.m_baseType, row.m_blockers);

    SCOPED_TRACE(testing::Message() << "seed " << std::hex << seed << std::dec << " after " << skip
                                    << " draws, level " << level + 1);
    EXPECT_EQ(theirs.m_args.size(), mine.m_args.size());
    EXPECT_TRUE(theirs.m_args == mine.m_args);
    EXPECT_TRUE(theirs.m_results == mine.m_results);
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            EXPECT_EQ(ref.m_cells[r][c], board.getCell(c, r).m_type) << c << "," << r;
        }
    }
    for (int i = 0; i < BOARD_SIZE; i++) {
        EXPECT_EQ(ref.m_queues[0][i], board.getCell(i, ROW_QUEUE).m_type);
        EXPECT_EQ(ref.m_queues[1][i], board.getCell(i, COLUMN_QUEUE).m_type);
    }
    return ref.m_deals;
}

TEST_F(BoardDeal, DealsMatchAnUnboundedReferenceOnEveryLevel)
{
    for (int level = 0; level < LEVEL_COUNT; level++) {
        for (uint32_t seed = 1; seed <= 40; seed++) {
            s_expectDealMatchesReference(seed * 0x9E3779B1u, (int)(seed % 5) * 101, level);
        }
    }
}

TEST_F(BoardDeal, PoorSeedsNeedingOverAThousandDealsStillMatch)
{
    // Seeds with a single high bit start the twister in a nearly uniform
    // state: the first thousands of draws are heavily patterned, and these
    // deals take more than a thousand tries. A cap on plain tries would cut
    // them short and change every draw after them.
    EXPECT_GT(s_expectDealMatchesReference(0x40000000u, 7, 5), 1000);
    EXPECT_GT(s_expectDealMatchesReference(0x80000000u, 112, 5), 1000);
    // Blocker placement under the same seeds: hundreds of refused tries.
    static const uint32_t poor[] = { 0x80000000u, 0x40000000u, 0xC0000000u, 0x20000000u, 0x60000000u, 0x10000000u };
    for (uint32_t seed : poor) {
        for (int skip = 0; skip < 400; skip += 57) {
            for (int level = 0; level < 9; level++) {
                s_expectDealMatchesReference(seed, skip, level);
            }
        }
    }
}

TEST_F(BoardDeal, DegenerateGeneratorDoesNotHang)
{
    // Never seeded: every draw is 0. Every tile is then the same colour and
    // every blocker try hits the corner; the deal must still come back.
    HMersenneTwister unseeded;
    GameBoard board(&unseeded);
    board.generate(3, 0, 3, false);
    EXPECT_EQ(3, countType(board, TILE_BLOCKER));
    EXPECT_EQ(TILE_BLANK, board.getCell(0, 0).m_type);
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (board.getCell(c, r).m_type == TILE_BLOCKER) {
                EXPECT_TRUE(c == 5 || r == 5);
            }
        }
    }
    board.generate(4, 0, 1, false);
    EXPECT_EQ(1, countType(board, TILE_WILD));
    EXPECT_EQ(1, countType(board, TILE_BLOCKER));

    // No generator at all behaves the same way instead of crashing.
    GameBoard bare;
    bare.generate(6, 7, 3, false);
    EXPECT_EQ(3, countType(bare, TILE_BLOCKER));
    EXPECT_EQ(8, bare.getCell(1, ROW_QUEUE).m_type);

    // Play goes on: the complete lines of such a board are crunched.
    int lines = 0, score = 0;
    bool wild = false, blocker = false;
    EXPECT_EQ(EVALUATE_LINES_FOUND, bare.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(EVALUATE_REFILLED, bare.evaluate(&lines, &score, &wild, &blocker));
    EXPECT_EQ(1, countType(bare, TILE_BLANK));
}

// Answers every draw with the same number (reduced into range): a generator
// that repeats itself without being all zeros.
class ConstantRandom : public HRandom {
public:
    explicit ConstantRandom(uint32_t value) : m_value(value) {}
    uint32_t nextInt(uint32_t n) override
    {
        draws++;
        return n == 0xFFFFFFFFu ? m_value : m_value % (n + 1);
    }
    float nextFloat() override { return 0.0f; }

    long draws = 0;

private:
    uint32_t m_value;
};

TEST_F(BoardDeal, RepeatingGeneratorsAndImpossibleDealsComeBack)
{
    // 7 lands every blocker try on (1, 1) and makes every tile one colour.
    ConstantRandom seven(7);
    GameBoard board(&seven);
    board.generate(3, 0, 3, false);
    EXPECT_EQ(3, countType(board, TILE_BLOCKER));
    EXPECT_EQ(TILE_BLOCKER, board.getCell(5, 5).m_type);    // the last allowed cells
    EXPECT_EQ(TILE_BLOCKER, board.getCell(4, 5).m_type);
    EXPECT_EQ(TILE_BLOCKER, board.getCell(3, 5).m_type);
    EXPECT_EQ(1, countType(board, TILE_BLANK));
    // Once a placement found the generator stuck, the deal stops at once.
    EXPECT_LT(seven.draws, 4 * 2 * 100000 + 1000);

    // One colour: every deal is the same board with lines in it, whatever
    // the generator does; the deal still ends.
    RecordingRandom rng(99);
    GameBoard one(&rng);
    one.generate(1, 0, 0, false);
    EXPECT_FALSE(one.isFreeOfCrunches());
    EXPECT_EQ(TILE_BLANK, one.getCell(0, 0).m_type);
    EXPECT_EQ(1, countType(one, TILE_BLANK));

    // More blockers than allowed cells: the extra ones are not placed.
    ConstantRandom five(5);
    GameBoard crowded(&five);
    crowded.generate(3, 0, 12, false);
    EXPECT_EQ(11, countType(crowded, TILE_BLOCKER));
    for (int i = 0; i < BOARD_SIZE; i++) {
        EXPECT_EQ(TILE_BLOCKER, crowded.getCell(5, i).m_type);
        EXPECT_EQ(TILE_BLOCKER, crowded.getCell(i, 5).m_type);
    }
}

TEST_F(BoardDeal, TutorialFlagOnlyTakesOnTheFirstLevelShape)
{
    RecordingRandom rng(77);
    GameBoard board(&rng);
    board.generate(3, 0, 1, true);     // blockers: a normal deal
    EXPECT_EQ(1, countType(board, TILE_BLOCKER));
    EXPECT_GE(rng.m_args.size(), 72u);
    rng.clearLog();
    board.generate(4, 0, 0, true);
    EXPECT_GE(rng.m_args.size(), 72u);
}

/*
------------------------------------------------------------------------------
Animation seam
------------------------------------------------------------------------------
*/

// Stands in for the game's drawing: one fake sprite per kind and frame.
class FakeView : public GameBoardView {
public:
    QVSprite *selectTileSprite(TileCell *cell) override
    {
        calls++;
        QVSprite *s = nullptr;
        if (cell->m_type >= 1 && cell->m_type <= 15) {
            int k = 0;
            if (cell->isExploding()) {
                k = (int)(cell->animationFraction() * 12);
                k = k > 11 ? 11 : k;
            }
            s = reinterpret_cast<QVSprite *>(&frames[cell->m_type][k]);
        }
        if (store) {
            cell->m_sprite = s;
        }
        return s;
    }
    void getTileSpriteSize(const QVSprite *, int *w, int *h) override
    {
        *w = 42;
        *h = 42;
    }
    void getPlayAreaRect(int rect[4]) override
    {
        rect[0] = 23;
        rect[1] = 17;
        rect[2] = 23 + 420;
        rect[3] = 17 + 380;
    }
    void invalidateBoardRect(int l, int t, int r, int b) override
    {
        rects.push_back({ l, t, r, b });
    }

    char frames[16][12];
    int calls = 0;
    bool store = true;
    std::vector<std::vector<int>> rects;
};

TEST_F(BoardDeal, AnimateReportsCellsWhoseSpriteChanged)
{
    RecordingRandom rng(3);
    GameBoard board(&rng);
    board.generate(3, 0, 0, false);
    FakeView view;

    // First tick: every tile gets its sprite, the blank none.
    board.animate(&view, 10);
    EXPECT_EQ(36, view.calls);
    ASSERT_EQ(1u, view.rects.size());
    EXPECT_EQ(std::vector<int>({ 23 + 84, 17 + 84, 23 + 84 + 252, 17 + 84 + 252 }), view.rects[0]);
    EXPECT_EQ(nullptr, board.getCell(0, 0).m_sprite);
    EXPECT_NE(nullptr, board.getCell(1, 0).m_sprite);

    // Nothing changed: nothing reported.
    board.animate(&view, 10);
    EXPECT_EQ(1u, view.rects.size());

    // An exploding row runs its clock down and is redrawn alone.
    board.explodeRow(3);
    board.animate(&view, 100);
    ASSERT_EQ(2u, view.rects.size());
    EXPECT_EQ(std::vector<int>({ 23 + 84, 17 + 84 + 3 * 42, 23 + 84 + 252, 17 + 84 + 4 * 42 }), view.rects[1]);
    EXPECT_EQ(156, board.getCell(2, 3).m_remainingMs);
    EXPECT_EQ(0, board.getCell(2, 2).m_remainingMs);

    board.animate(&view, 1000);
    EXPECT_EQ(0, board.getCell(2, 3).m_remainingMs);
    EXPECT_TRUE(board.getCell(2, 3).isExploding());
    board.animate(nullptr, 10);     // no view: nothing to do

    // The chosen sprite is kept in the cell even when the view only returns
    // it, so a settled board reports nothing on the next tick.
    RecordingRandom rng2(4);
    GameBoard other(&rng2);
    other.generate(4, 0, 0, false);
    FakeView forgetful;
    forgetful.store = false;
    other.animate(&forgetful, 10);
    EXPECT_EQ(1u, forgetful.rects.size());
    EXPECT_NE(nullptr, other.getCell(3, 3).m_sprite);
    other.animate(&forgetful, 10);
    EXPECT_EQ(1u, forgetful.rects.size());
}

} // namespace
