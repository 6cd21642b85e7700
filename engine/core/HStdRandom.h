#ifndef HSTDRANDOM_H
#define HSTDRANDOM_H

#include "HRandom.h"

// Thin generator over libc's rand(). Each draw reseeds libc from the stored
// seed and keeps rand()'s result as the next seed, so the sequence depends
// only on this object, whatever else in the process calls rand().
class HStdRandom : public HRandom {
public:
    virtual float       nextFloat();
    virtual uint32_t    nextInt(uint32_t n);

private:
    uint32_t            m_draw();
};

#endif // HSTDRANDOM_H
