#include "Vec3.h"

#include "HLog.h"
#include "HMath.h"

#include <math.h>

static void s_outOfBounds()
{
    alertBox("Out of bound vector operator, Vec3");
}

float &Vec3::operator[](int iIndex)
{
    switch (iIndex) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    }
    s_outOfBounds();
    return x;
}

float Vec3::operator[](int iIndex) const
{
    switch (iIndex) {
    case 0: return x;
    case 1: return y;
    case 2: return z;
    }
    s_outOfBounds();
    return 0.0f;
}

float Vec3::length() const
{
    return squareRootF(x * x + y * y + z * z);
}

float Vec3::normalize()
{
    return normalize(*this);
}

float Vec3::normalize(Vec3 &out) const
{
    const float fLength = length();
    if (fLength == 0.0f) {
        out = *this;
        return 0.0f;
    }
    out.assign(x / fLength, y / fLength, z / fLength);
    return fLength;
}

bool Vec3::equals(const Vec3 &other) const
{
    return x == other.x && y == other.y && z == other.z;
}

bool Vec3::equalsWithin(const Vec3 &other, float fTolerance) const
{
    return fabsf(x - other.x) <= fTolerance
        && fabsf(y - other.y) <= fTolerance
        && fabsf(z - other.z) <= fTolerance;
}
