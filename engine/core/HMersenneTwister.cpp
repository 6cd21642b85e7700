#include "HMersenneTwister.h"

#include <string.h>

enum {
    MT_SHIFT        = 397,
    MT_MATRIX_A     = 0x9908B0DFu,
    MT_UPPER_MASK   = 0x80000000u,
    MT_LOWER_MASK   = 0x7FFFFFFFu
};

HMersenneTwister::HMersenneTwister()
{
    // Same state setSeed(0) builds: all zeros, vector due for regeneration.
    m_uSeed = 0;
    memset(m_uState, 0, sizeof(m_uState));
    m_uIndex = STATE_SIZE;
}

void HMersenneTwister::setSeed(uint32_t uSeed)
{
    m_uSeed = uSeed;
    m_uState[0] = uSeed;
    for (int i = 1; i < STATE_SIZE; i++) {
        m_uState[i] = 69069u * m_uState[i - 1];     // wraps modulo 2^32
    }
    m_uIndex = STATE_SIZE;
}

void HMersenneTwister::m_regenerate()
{
    // In place and in order: words below k are already the new ones when
    // the wrap-around reads them.
    for (int k = 0; k < STATE_SIZE; k++) {
        const uint32_t y = (m_uState[k] & MT_UPPER_MASK) | (m_uState[(k + 1) % STATE_SIZE] & MT_LOWER_MASK);
        m_uState[k] = m_uState[(k + MT_SHIFT) % STATE_SIZE] ^ (y >> 1) ^ ((y & 1) ? MT_MATRIX_A : 0u);
    }
    m_uIndex = 0;
}

uint32_t HMersenneTwister::nextInt(uint32_t n)
{
    if (m_uIndex >= STATE_SIZE) {
        m_regenerate();
    }
    uint32_t y = m_uState[m_uIndex++];

    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;

    // n + 1 would wrap to 0: the whole range is wanted, so no reduction.
    if (n == 0xFFFFFFFFu) {
        return y;
    }
    // Plain remainder, bias and all: dealt boards depend on it.
    return y % (n + 1);
}

float HMersenneTwister::nextFloat()
{
    const uint32_t d = nextInt(4294967294u);
    return (float)((double)d / 4294967294.0);
}
