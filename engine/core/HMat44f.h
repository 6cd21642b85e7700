#ifndef HMAT44F_H
#define HMAT44F_H

#include "HMat33f.h"
#include "Vec4.h"

// 4-by-4 float matrix, row-major: element (r, c) is m_f[4 * r + c]. Vectors
// are columns (M times v) and a translation sits in column 3. A new matrix
// is the identity.
//
// Row and column indices run 0 to 3. Out of range, get() yields 0, at() the
// element (0, 0), getRow/getColumn/getMinor zeros and setMinor nothing.
class HMat44f {
public:
    float               m_f[16];

                        HMat44f() { setIdentity(); }

    void                setIdentity();

    float               get(int iRow, int iColumn) const;
    float &             at(int iRow, int iColumn);

    void                getRow(int iRow, Vec4 &out) const;
    void                getColumn(int iColumn, Vec4 &out) const;
    // Rows 0 to 3 into up to four outputs; a null output is skipped.
    void                getRows(Vec4 *pRow0, Vec4 *pRow1, Vec4 *pRow2, Vec4 *pRow3) const;

    // out = a times b; out may be a or b.
    static void         multiply(const HMat44f &a, const HMat44f &b, HMat44f &out);

    void                transposeInto(HMat44f &out) const;

    // out = M times v; out may be v.
    void                transform(const Vec4 &v, Vec4 &out) const;

    // The 3-by-3 matrix left when that row and column are struck out, and
    // the reverse.
    void                getMinor(int iRow, int iColumn, HMat33f &out) const;
    void                setMinor(int iRow, int iColumn, const HMat33f &m);

    // Right-handed perspective projection (looking down -z). Refuses far equal
    // to near, a zero field of view and a zero aspect:
    // it reports, returns false and leaves the matrix as it was.
    bool                makeProjectionMatrix(float fNear, float fFar, float fFovDegrees, float fAspect);
};

#endif // HMAT44F_H
