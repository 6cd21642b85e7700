#include "Vec4.h"

void Vec4::subtract(const Vec4 &other)
{
    subtract(other, *this);
}

void Vec4::subtract(const Vec4 &other, Vec4 &out) const
{
    out.assign(x - other.x, y - other.y, z - other.z, w - other.w);
}
