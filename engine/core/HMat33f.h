#ifndef HMAT33F_H
#define HMAT33F_H

#include "Vec3.h"

// 3-by-3 float matrix, row-major: element (r, c) is m_f[3 * r + c]. Vectors
// are columns, so transform() computes M times v. A new matrix is the
// identity. Rotation angles are in degrees.
class HMat33f {
public:
    float               m_f[9];

                        HMat33f() { setIdentity(); }

    // Element (row, column); 0 outside the matrix.
    float               get(int iRow, int iColumn) const;

    void                setIdentity();
    void                set(float f00, float f01, float f02,
                            float f10, float f11, float f12,
                            float f20, float f21, float f22);

    // Rows and columns 0 to 2; another index is ignored (a get yields zeros).
    void                setRow(int iRow, const Vec3 &v);
    void                setColumn(int iColumn, const Vec3 &v);
    void                getRow(int iRow, Vec3 &out) const;
    void                getColumn(int iColumn, Vec3 &out) const;

    void                makeRotationX(float fDegrees);
    void                makeRotationY(float fDegrees);
    void                makeRotationZ(float fDegrees);

    // out = a times b; out may be a or b.
    static void         multiply(const HMat33f &a, const HMat33f &b, HMat33f &out);
    // this = this times other.
    void                multiply(const HMat33f &other);

    float               determinant() const;

    // out = M times v; out may be v.
    void                transform(const Vec3 &v, Vec3 &out) const;

    void                transposeInto(HMat33f &out) const;
    void                transpose();
};

#endif // HMAT33F_H
