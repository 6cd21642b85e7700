// Shared helpers of the board tests: a generator that records every draw and
// can be told what to answer, and board layout shortcuts.
#ifndef BOARDTESTSUPPORT_H
#define BOARDTESTSUPPORT_H

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>
#include <vector>

#include "GameBoard.h"
#include "HMersenneTwister.h"

// Wraps a seeded HMersenneTwister. Every nextInt(n) argument and result is
// logged; scripted answers, when queued, are returned before the twister is
// asked again.
class RecordingRandom : public HRandom {
public:
    explicit RecordingRandom(uint32_t seed = 1) { m_twister.setSeed(seed); }

    virtual uint32_t nextInt(uint32_t n)
    {
        uint32_t v;
        if (!m_script.empty()) {
            v = m_script.front();
            m_script.pop_front();
            if (v > n) {
                ADD_FAILURE() << "scripted answer " << v << " for nextInt(" << n << ") draw #" << m_args.size();
                v = n;
            }
        } else {
            v = m_twister.nextInt(n);
        }
        m_args.push_back(n);
        m_results.push_back(v);
        return v;
    }
    virtual float nextFloat() { return m_twister.nextFloat(); }

    void script(std::initializer_list<uint32_t> values)
    {
        m_script.insert(m_script.end(), values.begin(), values.end());
    }
    void scriptRepeat(std::initializer_list<uint32_t> values, int times)
    {
        for (int i = 0; i < times; i++) {
            script(values);
        }
    }
    void clearLog()
    {
        m_args.clear();
        m_results.clear();
    }
    size_t scriptLeft() const { return m_script.size(); }

    std::vector<uint32_t>   m_args;
    std::vector<uint32_t>   m_results;

private:
    HMersenneTwister        m_twister;
    std::deque<uint32_t>    m_script;
};

// Lays out all 36 board cells ([row][column]); the cell holding 0 becomes the
// blank. Written blank last so the board's blank position is that cell.
inline void layBoard(GameBoard &board, const int types[BOARD_SIZE][BOARD_SIZE])
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (types[r][c] != TILE_BLANK) {
                board.setCellType(c, r, types[r][c]);
            }
        }
    }
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            if (types[r][c] == TILE_BLANK) {
                board.setCellType(c, r, TILE_BLANK);
            }
        }
    }
}

// A board with no complete line in any row or column, whatever one row or
// column is overwritten with: kinds 1..3 cycle along both directions.
inline void layNeutralBoard(GameBoard &board)
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            board.setCellType(c, r, 1 + (c + 2 * r) % 3);
        }
    }
}

inline void expectBoardTypes(const GameBoard &board, const int types[BOARD_SIZE][BOARD_SIZE])
{
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            EXPECT_EQ(types[r][c], board.getCell(c, r).m_type) << "cell (" << c << ", " << r << ")";
        }
    }
}

inline int countType(const GameBoard &board, int type)
{
    int n = 0;
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            n += board.getCell(c, r).m_type == type;
        }
    }
    return n;
}

#endif // BOARDTESTSUPPORT_H
