// Cost of a deal and of a crunch-and-refill cycle: both run inside a game
// tick, so they must stay far below a frame.
#include <benchmark/benchmark.h>

#include "GameBoard.h"
#include "HMersenneTwister.h"
#include "LevelInfo.h"

static void BM_DealLevel(benchmark::State &state)
{
    const LevelInfo &row = levelTableRow((int)state.range(0));
    HMersenneTwister rng;
    rng.setSeed(12345);
    GameBoard board(&rng);
    for (auto _ : state) {
        board.generate(row.m_colours, row.m_baseType, row.m_blockers, false);
        benchmark::DoNotOptimize(board.getCell(5, 5).m_type);
    }
}
BENCHMARK(BM_DealLevel)->Arg(0)->Arg(4)->Arg(6)->Arg(37);

static void BM_CrunchAndRefill(benchmark::State &state)
{
    HMersenneTwister rng;
    rng.setSeed(777);
    GameBoard board(&rng);
    board.generate(6, 0, 3, false);
    int lines, score;
    bool wild, blocker;
    for (auto _ : state) {
        // Two full rows and a column, crossing: the deepest refill there is.
        for (int i = 0; i < BOARD_SIZE; i++) {
            board.setCellType(i, 3, TILE_ORANGE);
            board.setCellType(i, 4, TILE_ORANGE);
            board.setCellType(2, i, TILE_ORANGE);
        }
        board.setCellType(0, 0, TILE_BLANK);
        board.evaluate(&lines, &score, &wild, &blocker);
        benchmark::DoNotOptimize(board.evaluate(&lines, &score, &wild, &blocker));
    }
}
BENCHMARK(BM_CrunchAndRefill);

static void BM_TwisterDraw(benchmark::State &state)
{
    HMersenneTwister rng;
    rng.setSeed(1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rng.nextInt(35));
    }
}
BENCHMARK(BM_TwisterDraw);
