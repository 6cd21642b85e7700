#include "HStdRandom.h"

#include <stdlib.h>

uint32_t HStdRandom::m_draw()
{
    srand(m_uSeed);
    const uint32_t v = (uint32_t)rand();
    m_uSeed = v;
    return v;
}

float HStdRandom::nextFloat()
{
    return (float)((double)m_draw() * (1.0 / 2147483648.0));
}

uint32_t HStdRandom::nextInt(uint32_t n)
{
    const uint32_t v = m_draw();
    if (n == 0xFFFFFFFFu) {
        return v;
    }
    return v % (n + 1);
}
