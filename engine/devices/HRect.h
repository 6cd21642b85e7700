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

// Hit tests of controls, dialog items and the play area take the right and
// bottom edges as inside.
inline bool rectHitInclusive(const HRect &r, int32_t x, int32_t y)
{
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

// Drawing counts touching edges as overlap, so a dirty rectangle next to a
// picture still redraws it; an empty rectangle meets nothing.
inline bool rectsMeet(const HRect &a, const HRect &b)
{
    if (a.left == a.right || a.top == a.bottom || b.left == b.right || b.top == b.bottom) {
        return false;
    }
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

static_assert(sizeof(HRect) == 16, "HRect is four 32-bit words");

#endif
