#ifndef HMERSENNETWISTER_H
#define HMERSENNETWISTER_H

#include "HRandom.h"

// MT19937 with the old 69069 seeding. Every board the game deals comes from
// this exact sequence, so replayed journals depend on it staying bit-exact.
class HMersenneTwister : public HRandom {
public:
    enum { STATE_SIZE = 624 };

    // Starts as if seeded with 0 (every draw 0) rather than with garbage.
                        HMersenneTwister();

    virtual void        setSeed(uint32_t uSeed);
    // nextInt(4294967294) / 4294967294: 0 and 1 both possible.
    virtual float       nextFloat();
    // Tempered word modulo n + 1; n = 0xFFFFFFFF returns the word itself.
    virtual uint32_t    nextInt(uint32_t n);

private:
    void                m_regenerate();

    uint32_t            m_uState[STATE_SIZE];
    uint32_t            m_uIndex;
};

#endif // HMERSENNETWISTER_H
