#include "HRandom.h"

HRandom::~HRandom()
{
}

void HRandom::setSeed(uint32_t uSeed)
{
    m_uSeed = uSeed;
}
