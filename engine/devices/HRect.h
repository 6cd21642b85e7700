#ifndef HRECT_H
#define HRECT_H

#include <cstdint>

// Screen rectangle: right and bottom are exclusive. Drawing code keeps these
// four words in this order because blitters and SDL updates read them raw.
struct HRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct HPoint {
    int32_t x;
    int32_t y;
};

inline int32_t rectWidth(const HRect &r) { return r.right - r.left; }
inline int32_t rectHeight(const HRect &r) { return r.bottom - r.top; }

static_assert(sizeof(HRect) == 16, "HRect is four 32-bit words");

#endif
