#ifndef HBOUNDINGBOX_H
#define HBOUNDINGBOX_H

#include "Vec3.h"

// Axis-aligned box between two corners.
class HBoundingBox {
public:
    Vec3                m_vMin;
    Vec3                m_vMax;

                        HBoundingBox() {}
                        HBoundingBox(const Vec3 &vMin, const Vec3 &vMax) : m_vMin(vMin), m_vMax(vMax) {}

    // Corner i takes x from the maximum when bit 0 of i is set, y when bit 1
    // is set, z when bit 2 is set, otherwise from the minimum.
    void                getCorners(Vec3 pCorners[8]) const;
};

#endif // HBOUNDINGBOX_H
