#include "HBoundingBox.h"

void HBoundingBox::getCorners(Vec3 pCorners[8]) const
{
    for (int i = 0; i < 8; i++) {
        pCorners[i].assign((i & 1) ? m_vMax.x : m_vMin.x,
                           (i & 2) ? m_vMax.y : m_vMin.y,
                           (i & 4) ? m_vMax.z : m_vMin.z);
    }
}
