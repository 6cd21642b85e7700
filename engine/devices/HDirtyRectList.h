#ifndef HDIRTYRECTLIST_H
#define HDIRTYRECTLIST_H

#include "HRect.h"

// Screen areas changed since the last frame. Adding merges every stored
// rectangle the new one overlaps or touches, so no two stored ones overlap
// or touch and each pixel is redrawn and presented once.
class HDirtyRectList {
public:
    static const int kiMaxRects = 512;

            HDirtyRectList();

    // Edges in this order; either edge of a pair may be the larger.
    void    addRect(int32_t top, int32_t left, int32_t bottom, int32_t right);
    void    addRectRecord(const HRect &rect);
    void    clear() { m_iCount = 0; }

    int     getCount() const { return m_iCount; }
    const HRect *getRect(int index) const { return &m_rects[index]; }
    const HRect *getRects() const { return m_rects; }
    // Summed area of the stored rectangles.
    int     getArea() const;

private:
    HRect   m_rects[kiMaxRects];
    int32_t m_iCount;
};

#endif
