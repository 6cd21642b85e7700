#include "HMath.h"

#include <math.h>
#include <string.h>

static uint32_t s_uSqrtTable[2 * H_SQRT_TABLE_HALF];

static uint32_t s_floatBits(float f)
{
    uint32_t u;
    memcpy(&u, &f, sizeof(u));
    return u;
}

static float s_bitsFloat(uint32_t u)
{
    float f;
    memcpy(&f, &u, sizeof(f));
    return f;
}

// Fills the table before main; nothing in the engine depends on the order.
static struct s_SqrtTableInit {
    s_SqrtTableInit()
    {
        for (uint32_t i = 0; i < (uint32_t)H_SQRT_TABLE_HALF; i++) {
            const float fLow  = s_bitsFloat((127u << 23) | (i << 8));      // 1..2
            const float fHigh = s_bitsFloat((128u << 23) | (i << 8));      // 2..4
            s_uSqrtTable[H_SQRT_TABLE_HALF + i] = s_floatBits(squareRootF(fLow)) & 0x7FFFFFu;
            s_uSqrtTable[i] = s_floatBits(squareRootF(fHigh)) & 0x7FFFFFu;
        }
    }
} s_sqrtTableInit;

const uint32_t *getSquareRootTable()
{
    return s_uSqrtTable;
}

double squareRoot(double x)
{
    return (double)sqrtl((long double)x);
}

float squareRootF(float x)
{
    return (float)squareRoot(x);
}

float fastInverseSqrt(float x)
{
    // Unsigned arithmetic gives the same bits as the signed recipe without
    // overflowing on negative inputs.
    const int32_t iBits = (int32_t)s_floatBits(x);
    float y = s_bitsFloat(0x5F33462Eu - (uint32_t)(iBits >> 1));
    const float fHalf = x * 0.5f;
    y = y * (1.5f - fHalf * y * y);
    y = y * (1.5f - fHalf * y * y);
    return y;
}

float degreesToRadians(float fDegrees)
{
    return fDegrees * H_PI / 180.0f;
}

float radiansToDegrees(float fRadians)
{
    return fRadians * 180.0f / H_PI;
}

// Reducing the angle first in double is exact and keeps sin(180) at about
// 1e-16 rather than the float rounding error of a large argument.
static double s_degreesToRadiansWide(float fDegrees)
{
    return fmod((double)fDegrees, 360.0) * (3.14159265358979323846 / 180.0);
}

float sinDegrees(float fDegrees)
{
    return (float)sin(s_degreesToRadiansWide(fDegrees));
}

float cosDegrees(float fDegrees)
{
    return (float)cos(s_degreesToRadiansWide(fDegrees));
}
