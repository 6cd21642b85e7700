#ifndef HRANDOM_H
#define HRANDOM_H

#include <stdint.h>

// Source of random numbers. Deliberately not an HObject: it is a value the
// application owns, nothing looks it up by class.
class HRandom {
public:
                        HRandom() : m_uSeed(0) {}
    virtual             ~HRandom();

    // Stores the seed; generators with more state rebuild it from there.
    virtual void        setSeed(uint32_t uSeed);
    // A value from 0 to 1.
    virtual float       nextFloat() = 0;
    // A value from 0 to n, both ends included.
    virtual uint32_t    nextInt(uint32_t n) = 0;

    uint32_t            getSeed() const { return m_uSeed; }

protected:
    uint32_t            m_uSeed;
};

#endif // HRANDOM_H
