#include "HDirtyRectList.h"

#include <cstdint>

HDirtyRectList::HDirtyRectList()
    : m_iCount(0)
{
}

// Inclusive span test: spans that only touch count as meeting.
static bool s_spansMeet(int32_t lo, int32_t hi, int32_t slo, int32_t shi)
{
    return (lo >= slo && lo <= shi) || (hi >= slo && hi <= shi) || (slo >= lo && shi <= hi);
}

void HDirtyRectList::addRect(int32_t top, int32_t left, int32_t bottom, int32_t right)
{
    if (m_iCount >= kiMaxRects) {
        return;
    }
    if (right < left) {
        const int32_t t = left; left = right; right = t;
    }
    if (bottom < top) {
        const int32_t t = top; top = bottom; bottom = t;
    }
    if (right == left || bottom == top) {
        return;
    }
    for (int i = 0; i < m_iCount; i++) {
        const HRect &s = m_rects[i];
        if (s.left <= left && right <= s.right && s.top <= top && bottom <= s.bottom) {
            return;
        }
    }

    // Grow the new rectangle over everything it meets; a growth may reach a
    // rectangle already passed, so start over after each one.
    int i = 0;
    while (i < m_iCount) {
        const HRect &s = m_rects[i];
        if (s.right == s.left || s.bottom == s.top ||
            !s_spansMeet(left, right, s.left, s.right) ||
            !s_spansMeet(top, bottom, s.top, s.bottom)) {
            i++;
            continue;
        }
        bool grew = false;
        if (s.left < left) { left = s.left; grew = true; }
        if (s.top < top) { top = s.top; grew = true; }
        if (s.right > right) { right = s.right; grew = true; }
        if (s.bottom > bottom) { bottom = s.bottom; grew = true; }
        i = grew ? 0 : i + 1;
    }

    int kept = 0;
    for (int j = 0; j < m_iCount; j++) {
        const HRect &s = m_rects[j];
        if (left <= s.left && s.right <= right && top <= s.top && s.bottom <= bottom) {
            continue;
        }
        m_rects[kept++] = s;
    }
    m_iCount = kept;
    m_rects[m_iCount].left = left;
    m_rects[m_iCount].top = top;
    m_rects[m_iCount].right = right;
    m_rects[m_iCount].bottom = bottom;
    m_iCount++;
}

void HDirtyRectList::addRectRecord(const HRect &rect)
{
    addRect(rect.top, rect.left, rect.bottom, rect.right);
}

int HDirtyRectList::getArea() const
{
    // Invalidated areas may reach far off screen: add up wide and saturate.
    uint64_t area = 0;
    for (int i = 0; i < m_iCount; i++) {
        // Stored rectangles are normalised, so both sides are positive.
        area += (uint64_t)((int64_t)m_rects[i].right - m_rects[i].left) *
                (uint64_t)((int64_t)m_rects[i].bottom - m_rects[i].top);
        if (area > (uint64_t)INT32_MAX) {
            return INT32_MAX;
        }
    }
    return (int)area;
}
