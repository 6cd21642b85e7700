#include "HMat44f.h"

#include "HLog.h"
#include "HMath.h"

static bool s_validIndex(int i)
{
    return i >= 0 && i < 4;
}

void HMat44f::setIdentity()
{
    for (int i = 0; i < 16; i++) {
        m_f[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
}

float HMat44f::get(int iRow, int iColumn) const
{
    if (!s_validIndex(iRow) || !s_validIndex(iColumn)) {
        return 0.0f;
    }
    return m_f[4 * iRow + iColumn];
}

float &HMat44f::at(int iRow, int iColumn)
{
    if (!s_validIndex(iRow) || !s_validIndex(iColumn)) {
        return m_f[0];
    }
    return m_f[4 * iRow + iColumn];
}

void HMat44f::getRow(int iRow, Vec4 &out) const
{
    if (!s_validIndex(iRow)) {
        out.assign(0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    const float *p = &m_f[4 * iRow];
    out.assign(p[0], p[1], p[2], p[3]);
}

void HMat44f::getColumn(int iColumn, Vec4 &out) const
{
    if (!s_validIndex(iColumn)) {
        out.assign(0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    out.assign(m_f[iColumn], m_f[iColumn + 4], m_f[iColumn + 8], m_f[iColumn + 12]);
}

void HMat44f::getRows(Vec4 *pRow0, Vec4 *pRow1, Vec4 *pRow2, Vec4 *pRow3) const
{
    Vec4 *pRows[4] = { pRow0, pRow1, pRow2, pRow3 };
    for (int i = 0; i < 4; i++) {
        if (pRows[i]) {
            getRow(i, *pRows[i]);
        }
    }
}

void HMat44f::multiply(const HMat44f &a, const HMat44f &b, HMat44f &out)
{
    // Built aside so that out may alias either operand.
    float f[16];
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            f[4 * i + j] = a.m_f[4 * i + 0] * b.m_f[j + 0]
                         + a.m_f[4 * i + 1] * b.m_f[j + 4]
                         + a.m_f[4 * i + 2] * b.m_f[j + 8]
                         + a.m_f[4 * i + 3] * b.m_f[j + 12];
        }
    }
    for (int i = 0; i < 16; i++) {
        out.m_f[i] = f[i];
    }
}

void HMat44f::transposeInto(HMat44f &out) const
{
    float f[16];
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 4; j++) {
            f[4 * j + i] = m_f[4 * i + j];
        }
    }
    for (int i = 0; i < 16; i++) {
        out.m_f[i] = f[i];
    }
}

void HMat44f::transform(const Vec4 &v, Vec4 &out) const
{
    float f[4];
    for (int i = 0; i < 4; i++) {
        const float *p = &m_f[4 * i];
        f[i] = p[0] * v.x + p[1] * v.y + p[2] * v.z + p[3] * v.w;
    }
    out.assign(f[0], f[1], f[2], f[3]);
}

// Where the minor's nine elements stand in the 4x4, row by row, without
// iRow and iColumn.
static void s_minorIndices(int iRow, int iColumn, int aiIndex[9])
{
    int n = 0;
    for (int r = 0; r < 4; r++) {
        if (r == iRow) {
            continue;
        }
        for (int c = 0; c < 4; c++) {
            if (c != iColumn) {
                aiIndex[n++] = 4 * r + c;
            }
        }
    }
}

void HMat44f::getMinor(int iRow, int iColumn, HMat33f &out) const
{
    if (!s_validIndex(iRow) || !s_validIndex(iColumn)) {
        out.set(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    int aiIndex[9];
    s_minorIndices(iRow, iColumn, aiIndex);
    for (int n = 0; n < 9; n++) {
        out.m_f[n] = m_f[aiIndex[n]];
    }
}

void HMat44f::setMinor(int iRow, int iColumn, const HMat33f &m)
{
    if (!s_validIndex(iRow) || !s_validIndex(iColumn)) {
        return;
    }
    int aiIndex[9];
    s_minorIndices(iRow, iColumn, aiIndex);
    for (int n = 0; n < 9; n++) {
        m_f[aiIndex[n]] = m.m_f[n];
    }
}

bool HMat44f::makeProjectionMatrix(float fNear, float fFar, float fFovDegrees, float fAspect)
{
    const float fHalf = fFovDegrees * 0.5f;
    const float fSin = sinDegrees(fHalf);
    const float fDepth = fFar - fNear;
    if (fDepth == 0.0f || fSin == 0.0f || fAspect == 0.0f) {
        errorPrintf("HMat44f::makeProjectionMatrix - invalid parameters");
        return false;
    }
    const float f = cosDegrees(fHalf) / fSin;
    setIdentity();
    m_f[0]  = f / fAspect;
    m_f[5]  = f;
    m_f[10] = -(fFar + fNear) / fDepth;
    m_f[11] = -2.0f * fNear * fFar / fDepth;
    m_f[14] = -1.0f;
    m_f[15] = 0.0f;
    return true;
}
