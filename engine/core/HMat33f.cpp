#include "HMat33f.h"

#include "HMath.h"

void HMat33f::setIdentity()
{
    set(1.0f, 0.0f, 0.0f,
        0.0f, 1.0f, 0.0f,
        0.0f, 0.0f, 1.0f);
}

void HMat33f::set(float f00, float f01, float f02,
                  float f10, float f11, float f12,
                  float f20, float f21, float f22)
{
    m_f[0] = f00; m_f[1] = f01; m_f[2] = f02;
    m_f[3] = f10; m_f[4] = f11; m_f[5] = f12;
    m_f[6] = f20; m_f[7] = f21; m_f[8] = f22;
}

static bool s_validIndex(int i)
{
    return i >= 0 && i < 3;
}

float HMat33f::get(int iRow, int iColumn) const
{
    if (!s_validIndex(iRow) || !s_validIndex(iColumn)) {
        return 0.0f;
    }
    return m_f[3 * iRow + iColumn];
}

void HMat33f::setRow(int iRow, const Vec3 &v)
{
    if (!s_validIndex(iRow)) {
        return;
    }
    m_f[3 * iRow + 0] = v.x;
    m_f[3 * iRow + 1] = v.y;
    m_f[3 * iRow + 2] = v.z;
}

void HMat33f::setColumn(int iColumn, const Vec3 &v)
{
    if (!s_validIndex(iColumn)) {
        return;
    }
    m_f[iColumn + 0] = v.x;
    m_f[iColumn + 3] = v.y;
    m_f[iColumn + 6] = v.z;
}

void HMat33f::getRow(int iRow, Vec3 &out) const
{
    if (!s_validIndex(iRow)) {
        out.assign(0.0f, 0.0f, 0.0f);
        return;
    }
    out.assign(m_f[3 * iRow + 0], m_f[3 * iRow + 1], m_f[3 * iRow + 2]);
}

void HMat33f::getColumn(int iColumn, Vec3 &out) const
{
    if (!s_validIndex(iColumn)) {
        out.assign(0.0f, 0.0f, 0.0f);
        return;
    }
    out.assign(m_f[iColumn + 0], m_f[iColumn + 3], m_f[iColumn + 6]);
}

void HMat33f::makeRotationX(float fDegrees)
{
    const float c = cosDegrees(fDegrees);
    const float s = sinDegrees(fDegrees);
    set(1.0f, 0.0f, 0.0f,
        0.0f, c,    -s,
        0.0f, s,    c);
}

void HMat33f::makeRotationY(float fDegrees)
{
    const float c = cosDegrees(fDegrees);
    const float s = sinDegrees(fDegrees);
    set(c,    0.0f, s,
        0.0f, 1.0f, 0.0f,
        -s,   0.0f, c);
}

void HMat33f::makeRotationZ(float fDegrees)
{
    const float c = cosDegrees(fDegrees);
    const float s = sinDegrees(fDegrees);
    set(c,    -s,   0.0f,
        s,    c,    0.0f,
        0.0f, 0.0f, 1.0f);
}

void HMat33f::multiply(const HMat33f &a, const HMat33f &b, HMat33f &out)
{
    // Built aside so that out may alias either operand.
    float f[9];
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            f[3 * i + j] = a.m_f[3 * i + 0] * b.m_f[j + 0]
                         + a.m_f[3 * i + 1] * b.m_f[j + 3]
                         + a.m_f[3 * i + 2] * b.m_f[j + 6];
        }
    }
    for (int i = 0; i < 9; i++) {
        out.m_f[i] = f[i];
    }
}

void HMat33f::multiply(const HMat33f &other)
{
    multiply(*this, other, *this);
}

float HMat33f::determinant() const
{
    return m_f[0] * (m_f[4] * m_f[8] - m_f[5] * m_f[7])
         - m_f[1] * (m_f[3] * m_f[8] - m_f[5] * m_f[6])
         + m_f[2] * (m_f[3] * m_f[7] - m_f[4] * m_f[6]);
}

void HMat33f::transform(const Vec3 &v, Vec3 &out) const
{
    const float fX = m_f[0] * v.x + m_f[1] * v.y + m_f[2] * v.z;
    const float fY = m_f[3] * v.x + m_f[4] * v.y + m_f[5] * v.z;
    const float fZ = m_f[6] * v.x + m_f[7] * v.y + m_f[8] * v.z;
    out.assign(fX, fY, fZ);
}

void HMat33f::transposeInto(HMat33f &out) const
{
    if (&out == this) {
        out.transpose();
        return;
    }
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            out.m_f[3 * j + i] = m_f[3 * i + j];
        }
    }
}

void HMat33f::transpose()
{
    float t;
    t = m_f[1]; m_f[1] = m_f[3]; m_f[3] = t;
    t = m_f[2]; m_f[2] = m_f[6]; m_f[6] = t;
    t = m_f[5]; m_f[5] = m_f[7]; m_f[7] = t;
}
