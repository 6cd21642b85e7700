// Known answers for the math library: trigonometry, square roots, matrices,
// quaternions and the rigid transform, plus the degenerate inputs.
#include <gtest/gtest.h>

#include "HBoundingBox.h"
#include "HMat33f.h"
#include "HMat44f.h"
#include "HMath.h"
#include "HMessageBox.h"
#include "HQuat.h"
#include "HRigidTransform.h"
#include "Vec3.h"
#include "Vec4.h"
#include "message_hook.h"

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// Single operations are good to a few float ulps; chains of three rotations
// and an inverse pile up a little more.
const float kfTight = 1e-6f;
const float kfChain = 1e-5f;

class MathTest : public ::testing::Test {
protected:
    // Answers and records every box; the hook before comes back afterwards.
    ScopedMessageHook m_hook;
};

void expectMat33Near(const HMat33f &a, const HMat33f &b, float fTol)
{
    for (int i = 0; i < 9; i++) {
        EXPECT_NEAR(a.m_f[i], b.m_f[i], fTol) << "element " << i / 3 << "," << i % 3;
    }
}

void expectMat44Near(const HMat44f &a, const HMat44f &b, float fTol)
{
    for (int i = 0; i < 16; i++) {
        EXPECT_NEAR(a.m_f[i], b.m_f[i], fTol) << "element " << i / 4 << "," << i % 4;
    }
}

uint32_t s_mantissa(float f)
{
    uint32_t u;
    memcpy(&u, &f, 4);
    return u & 0x7FFFFFu;
}

HQuat s_axisAngle(float fDegrees, float x, float y, float z)
{
    HQuat q;
    q.fromAxisAngle(fDegrees, Vec3(x, y, z));
    return q;
}

// q and -q are the same rotation.
void expectSameRotation(const HQuat &a, const HQuat &b, float fTol)
{
    const float fDot = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
    const float s = fDot < 0.0f ? -1.0f : 1.0f;
    EXPECT_NEAR(a.x, s * b.x, fTol);
    EXPECT_NEAR(a.y, s * b.y, fTol);
    EXPECT_NEAR(a.z, s * b.z, fTol);
    EXPECT_NEAR(a.w, s * b.w, fTol);
}

} // namespace

TEST_F(MathTest, TrigonometryInDegrees)
{
    EXPECT_NEAR(sinDegrees(90.0f), 1.0f, kfTight);
    EXPECT_NEAR(sinDegrees(30.0f), 0.5f, kfTight);
    EXPECT_NEAR(sinDegrees(-30.0f), -0.5f, kfTight);
    EXPECT_NEAR(cosDegrees(180.0f), -1.0f, kfTight);
    EXPECT_NEAR(cosDegrees(60.0f), 0.5f, kfTight);
    // Large angles reduce exactly: 3630 degrees is 30 degrees.
    EXPECT_NEAR(sinDegrees(3630.0f), 0.5f, kfTight);
    EXPECT_NEAR(sinDegrees(180.0f), 0.0f, kfTight);

    EXPECT_FLOAT_EQ(degreesToRadians(180.0f), H_PI);
    EXPECT_FLOAT_EQ(radiansToDegrees(H_PI), 180.0f);
    EXPECT_NEAR(degreesToRadians(90.0f), 1.5707964f, kfTight);
    EXPECT_EQ(H_PI, (float)M_PI);
}

TEST_F(MathTest, SquareRoots)
{
    EXPECT_EQ(squareRootF(4.0f), 2.0f);
    EXPECT_EQ(squareRootF(2.0f), 1.41421354f);     // correctly rounded
    EXPECT_NEAR(squareRoot(2.0), 1.4142135623730951, 1e-15);
    EXPECT_EQ(squareRootF(0.0f), 0.0f);
    EXPECT_TRUE(isnan(squareRootF(-1.0f)));

    EXPECT_NEAR(fastInverseSqrt(4.0f), 0.5f, 0.5f * 0.001f);
    // Two Newton steps keep it close over many magnitudes.
    for (float x = 1e-6f; x < 1e7f; x *= 3.7f) {
        const float fExact = 1.0f / sqrtf(x);
        EXPECT_NEAR(fastInverseSqrt(x), fExact, fExact * 1e-4f) << x;
    }
    // Negative input has no root; its bit pattern must still not overflow
    // the integer step, which the sanitizer build would stop on.
    volatile float fNegative = fastInverseSqrt(-4.0f);
    (void)fNegative;
}

TEST_F(MathTest, SquareRootTable)
{
    const uint32_t *pTable = getSquareRootTable();
    ASSERT_NE(pTable, nullptr);
    // 1 -> 1.0 (mantissa 0); 2 -> 1.4142135 (mantissa 0x3504F3).
    EXPECT_EQ(pTable[H_SQRT_TABLE_HALF + 0], 0u);
    EXPECT_EQ(pTable[0], 0x3504F3u);
    // 1.5 sits at the middle of the low half, 3 in the middle of the high one.
    EXPECT_EQ(pTable[H_SQRT_TABLE_HALF + H_SQRT_TABLE_HALF / 2], s_mantissa(sqrtf(1.5f)));
    EXPECT_EQ(pTable[H_SQRT_TABLE_HALF / 2], s_mantissa(sqrtf(3.0f)));
    // Square root grows with its argument in each half.
    for (int i = 1; i < H_SQRT_TABLE_HALF; i++) {
        ASSERT_LE(pTable[i - 1], pTable[i]) << i;
        ASSERT_LE(pTable[H_SQRT_TABLE_HALF + i - 1], pTable[H_SQRT_TABLE_HALF + i]) << i;
    }
    // The top of the low half (just under 2) meets the start of the high half.
    EXPECT_LE(pTable[2 * H_SQRT_TABLE_HALF - 1], 0x3504F3u);
}

TEST_F(MathTest, Vec3Basics)
{
    Vec3 v(3.0f, 4.0f, 12.0f);
    EXPECT_FLOAT_EQ(v.length(), 13.0f);
    EXPECT_EQ(v[0], 3.0f);
    EXPECT_EQ(v[2], 12.0f);
    v[1] = -4.0f;
    EXPECT_EQ(v.y, -4.0f);

    Vec3 n;
    EXPECT_FLOAT_EQ(Vec3(0.0f, 3.0f, 4.0f).normalize(n), 5.0f);
    EXPECT_TRUE(n.equalsWithin(Vec3(0.0f, 0.6f, 0.8f), kfTight));
    EXPECT_NEAR(n.length(), 1.0f, kfTight);

    Vec3 w(2.0f, 0.0f, 0.0f);
    w.normalize();
    EXPECT_TRUE(w.equals(Vec3(1.0f, 0.0f, 0.0f)));

    // A zero vector stays as it is, with no NaN creeping in.
    Vec3 zero;
    EXPECT_EQ(zero.normalize(), 0.0f);
    EXPECT_TRUE(zero.equals(Vec3(0.0f, 0.0f, 0.0f)));
    Vec3 out(9.0f, 9.0f, 9.0f);
    zero.normalize(out);
    EXPECT_TRUE(out.equals(zero));

    EXPECT_FALSE(Vec3(1.0f, 2.0f, 3.0f).equals(Vec3(1.0f, 2.0f, 3.0001f)));
    EXPECT_TRUE(Vec3(1.0f, 2.0f, 3.0f).equalsWithin(Vec3(1.0f, 2.0f, 3.25f), 0.25f));
    EXPECT_FALSE(Vec3(1.0f, 2.0f, 3.0f).equalsWithin(Vec3(1.0f, 1.5f, 3.0f), 0.25f));
    EXPECT_TRUE(m_hook.boxes().empty());
}

TEST_F(MathTest, Vec3IndexOutOfRangeAlertsAndYieldsFallback)
{
    Vec3 v(5.0f, 6.0f, 7.0f);
    const Vec3 &c = v;

    EXPECT_EQ(c[3], 0.0f);
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].title, "Alert");
    EXPECT_EQ(m_hook.boxes()[0].text, "Out of bound vector operator, Vec3");
    EXPECT_EQ(m_hook.boxes()[0].uType & MB_TYPE_MASK, (uint32_t)MB_TYPE_OK);

    float &r = v[-1];
    EXPECT_EQ(&r, &v.x);
    EXPECT_EQ(m_hook.boxes().size(), 2u);
    // The stray write lands in x, never outside the vector.
    v[1000] = 1.0f;
    EXPECT_TRUE(v.equals(Vec3(1.0f, 6.0f, 7.0f)));
}

TEST_F(MathTest, Vec4Subtract)
{
    Vec4 a(5.0f, 7.0f, 9.0f, 11.0f);
    Vec4 out;
    a.subtract(Vec4(1.0f, 2.0f, 3.0f, 4.0f), out);
    EXPECT_EQ(out.x, 4.0f);
    EXPECT_EQ(out.y, 5.0f);
    EXPECT_EQ(out.z, 6.0f);
    EXPECT_EQ(out.w, 7.0f);
    a.subtract(a);
    EXPECT_EQ(a.x + a.y + a.z + a.w, 0.0f);
}

TEST_F(MathTest, Mat33RowsColumnsTranspose)
{
    HMat33f m;
    m.set(1.0f, 2.0f, 3.0f,
          4.0f, 5.0f, 6.0f,
          7.0f, 8.0f, 9.0f);
    EXPECT_EQ(m.get(1, 2), 6.0f);
    EXPECT_EQ(m.m_f[5], 6.0f);         // row-major storage

    Vec3 v;
    m.getRow(2, v);
    EXPECT_TRUE(v.equals(Vec3(7.0f, 8.0f, 9.0f)));
    m.getColumn(0, v);
    EXPECT_TRUE(v.equals(Vec3(1.0f, 4.0f, 7.0f)));

    HMat33f t;
    m.transposeInto(t);
    t.getRow(0, v);
    EXPECT_TRUE(v.equals(Vec3(1.0f, 4.0f, 7.0f)));
    t.transpose();
    expectMat33Near(t, m, 0.0f);

    m.setRow(1, Vec3(-1.0f, -2.0f, -3.0f));
    m.setColumn(2, Vec3(10.0f, 20.0f, 30.0f));
    HMat33f expect;
    expect.set(1.0f, 2.0f, 10.0f,
               -1.0f, -2.0f, 20.0f,
               7.0f, 8.0f, 30.0f);
    expectMat33Near(m, expect, 0.0f);

    // Out-of-range rows and columns touch nothing.
    m.setRow(3, Vec3(99.0f, 99.0f, 99.0f));
    m.setColumn(-1, Vec3(99.0f, 99.0f, 99.0f));
    expectMat33Near(m, expect, 0.0f);
    m.getRow(7, v);
    EXPECT_TRUE(v.equals(Vec3()));
    EXPECT_EQ(m.get(3, 0), 0.0f);
}

TEST_F(MathTest, Mat33MultiplyAndDeterminant)
{
    HMat33f a, b, out;
    a.set(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f, 8.0f, 9.0f);
    b.set(9.0f, 8.0f, 7.0f, 6.0f, 5.0f, 4.0f, 3.0f, 2.0f, 1.0f);
    HMat33f::multiply(a, b, out);
    HMat33f expect;
    expect.set(30.0f, 24.0f, 18.0f,
               84.0f, 69.0f, 54.0f,
               138.0f, 114.0f, 90.0f);
    expectMat33Near(out, expect, 0.0f);

    // In place, and with the output aliasing an operand.
    HMat33f c = a;
    c.multiply(b);
    expectMat33Near(c, expect, 0.0f);
    HMat33f d = b;
    HMat33f::multiply(a, d, d);
    expectMat33Near(d, expect, 0.0f);

    EXPECT_FLOAT_EQ(a.determinant(), 0.0f);
    HMat33f e;
    e.set(1.0f, 2.0f, 3.0f, 0.0f, 1.0f, 4.0f, 5.0f, 6.0f, 0.0f);
    EXPECT_FLOAT_EQ(e.determinant(), 1.0f);
    HMat33f id;
    EXPECT_FLOAT_EQ(id.determinant(), 1.0f);
}

TEST_F(MathTest, Mat33RotationsMoveTheAxes)
{
    HMat33f r;
    Vec3 out;
    r.makeRotationZ(90.0f);
    r.transform(Vec3(1.0f, 0.0f, 0.0f), out);
    EXPECT_TRUE(out.equalsWithin(Vec3(0.0f, 1.0f, 0.0f), kfTight));

    r.makeRotationX(90.0f);
    r.transform(Vec3(0.0f, 1.0f, 0.0f), out);
    EXPECT_TRUE(out.equalsWithin(Vec3(0.0f, 0.0f, 1.0f), kfTight));

    r.makeRotationY(90.0f);
    r.transform(Vec3(0.0f, 0.0f, 1.0f), out);
    EXPECT_TRUE(out.equalsWithin(Vec3(1.0f, 0.0f, 0.0f), kfTight));

    // transform may write over its input.
    Vec3 v(0.0f, 0.0f, 1.0f);
    r.transform(v, v);
    EXPECT_TRUE(v.equalsWithin(Vec3(1.0f, 0.0f, 0.0f), kfTight));

    // A rotation's transpose undoes it and its determinant is 1.
    HMat33f q, rt, prod;
    q.makeRotationX(37.0f);
    q.transposeInto(rt);
    HMat33f::multiply(rt, q, prod);
    expectMat33Near(prod, HMat33f(), kfTight);
    EXPECT_NEAR(q.determinant(), 1.0f, kfTight);
}

TEST_F(MathTest, QuaternionMatchesMatrixForSingleRotation)
{
    HQuat q = s_axisAngle(90.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(q.z, sqrtf(0.5f), kfTight);
    EXPECT_NEAR(q.w, sqrtf(0.5f), kfTight);

    HMat33f fromQuat, rz;
    q.toMatrix(fromQuat);
    rz.makeRotationZ(90.0f);
    expectMat33Near(fromQuat, rz, kfTight);

    HQuat back;
    back.fromMatrix(rz);
    EXPECT_NEAR(back.x, q.x, kfTight);
    EXPECT_NEAR(back.y, q.y, kfTight);
    EXPECT_NEAR(back.z, q.z, kfTight);
    EXPECT_NEAR(back.w, q.w, kfTight);
}

TEST_F(MathTest, ComposedRotationsAgreeThroughMatricesAndQuaternions)
{
    const float angles[][3] = {
        { 10.0f, 20.0f, 30.0f }, { -45.0f, 170.0f, 95.0f }, { 180.0f, 0.0f, 180.0f },
        { 359.0f, -271.0f, 12.5f }, { 0.0f, 0.0f, 0.0f }, { 90.0f, 90.0f, 90.0f }
    };
    for (const auto &a : angles) {
        HMat33f rx, ry, rz, m;
        rx.makeRotationX(a[0]);
        ry.makeRotationY(a[1]);
        rz.makeRotationZ(a[2]);
        HMat33f::multiply(rz, ry, m);
        m.multiply(rx);                         // Rz Ry Rx

        HQuat qx = s_axisAngle(a[0], 1.0f, 0.0f, 0.0f);
        HQuat qy = s_axisAngle(a[1], 0.0f, 1.0f, 0.0f);
        HQuat qz = s_axisAngle(a[2], 0.0f, 0.0f, 1.0f);
        HQuat q;
        HQuat::multiply(qz, qy, q);
        HQuat::multiply(q, qx, q);              // output aliasing an operand

        HMat33f mq;
        q.toMatrix(mq);
        SCOPED_TRACE(testing::Message() << a[0] << " " << a[1] << " " << a[2]);
        expectMat33Near(mq, m, kfChain);

        // A vector goes to the same place both ways.
        Vec3 p(0.3f, -1.2f, 2.5f), viaM, viaQ;
        m.transform(p, viaM);
        mq.transform(p, viaQ);
        EXPECT_TRUE(viaM.equalsWithin(viaQ, kfChain));

        // And the matrix gives the quaternion back (up to sign), whichever
        // branch of the conversion the trace selects.
        HQuat back;
        back.fromMatrix(m);
        expectSameRotation(back, q, kfChain);
    }
}

TEST_F(MathTest, FromMatrixNegativeTraceBranches)
{
    // Half turns have trace -1 and pick the largest diagonal element.
    const float axes[][3] = { { 1, 0, 0 }, { 0, 1, 0 }, { 0, 0, 1 } };
    for (const auto &ax : axes) {
        HQuat q = s_axisAngle(180.0f, ax[0], ax[1], ax[2]);
        HMat33f m;
        q.toMatrix(m);
        HQuat back;
        back.fromMatrix(m);
        expectSameRotation(back, q, kfTight);
    }
    // 160 degrees about a skew axis.
    const float fInv = 1.0f / sqrtf(14.0f);
    HQuat q = s_axisAngle(160.0f, 1.0f * fInv, -2.0f * fInv, 3.0f * fInv);
    HMat33f m;
    q.toMatrix(m);
    ASSERT_LT(m.get(0, 0) + m.get(1, 1) + m.get(2, 2), 0.0f);
    HQuat back;
    back.fromMatrix(m);
    expectSameRotation(back, q, kfChain);

    // Degenerate input: the zero matrix must not divide by zero.
    HMat33f zero;
    zero.set(0, 0, 0, 0, 0, 0, 0, 0, 0);
    back.fromMatrix(zero);
    EXPECT_EQ(back.x, 0.5f);
    EXPECT_EQ(back.y, 0.0f);
    EXPECT_EQ(back.z, 0.0f);
    EXPECT_EQ(back.w, 0.0f);
}

TEST_F(MathTest, QuaternionProductAndNormalize)
{
    const HQuat id;
    const HQuat q(0.1f, -0.2f, 0.3f, 0.9f);
    HQuat out;
    HQuat::multiply(id, q, out);
    EXPECT_EQ(out.x, q.x);
    EXPECT_EQ(out.y, q.y);
    EXPECT_EQ(out.z, q.z);
    EXPECT_EQ(out.w, q.w);
    HQuat::multiply(q, id, out);
    EXPECT_EQ(out.x, q.x);
    EXPECT_EQ(out.w, q.w);

    // i j = k, j i = -k.
    const HQuat i(1, 0, 0, 0), j(0, 1, 0, 0);
    HQuat::multiply(i, j, out);
    EXPECT_EQ(out.z, 1.0f);
    EXPECT_EQ(out.x + out.y + out.w, 0.0f);
    HQuat::multiply(j, i, out);
    EXPECT_EQ(out.z, -1.0f);

    HQuat n(0.0f, 0.0f, 3.0f, 4.0f);
    EXPECT_FLOAT_EQ(n.normalize(), 5.0f);
    EXPECT_FLOAT_EQ(n.z, 0.6f);
    EXPECT_FLOAT_EQ(n.w, 0.8f);

    HQuat zero(0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(zero.normalize(), 0.0f);
    EXPECT_EQ(zero.w, 0.0f);
    EXPECT_FALSE(isnan(zero.x));
}

TEST_F(MathTest, Mat44AccessRowsAndMinors)
{
    HMat44f m;
    for (int i = 0; i < 16; i++) {
        m.m_f[i] = (float)i;
    }
    EXPECT_EQ(m.get(2, 3), 11.0f);
    m.at(3, 0) = -12.0f;
    EXPECT_EQ(m.m_f[12], -12.0f);

    Vec4 r0, r2, c1;
    m.getRows(&r0, nullptr, &r2, nullptr);
    EXPECT_EQ(r0.x, 0.0f);
    EXPECT_EQ(r0.w, 3.0f);
    EXPECT_EQ(r2.x, 8.0f);
    EXPECT_EQ(r2.w, 11.0f);
    m.getColumn(1, c1);
    EXPECT_EQ(c1.x, 1.0f);
    EXPECT_EQ(c1.y, 5.0f);
    EXPECT_EQ(c1.w, 13.0f);

    // Minor without row 1, column 2: rows 0, 2, 3 and columns 0, 1, 3.
    HMat33f minor;
    m.getMinor(1, 2, minor);
    HMat33f expect;
    expect.set(0.0f, 1.0f, 3.0f,
               8.0f, 9.0f, 11.0f,
               -12.0f, 13.0f, 15.0f);
    expectMat33Near(minor, expect, 0.0f);

    // setMinor writes the same places back and leaves row 1 and column 2.
    HMat44f z;
    for (float &f : z.m_f) {
        f = -1.0f;
    }
    z.setMinor(1, 2, expect);
    for (int r = 0; r < 4; r++) {
        for (int c = 0; c < 4; c++) {
            if (r == 1 || c == 2) {
                EXPECT_EQ(z.get(r, c), -1.0f);
            } else {
                EXPECT_EQ(z.get(r, c), m.get(r, c));
            }
        }
    }

    const HMat44f id;
    id.getMinor(3, 3, minor);
    expectMat33Near(minor, HMat33f(), 0.0f);
    id.getMinor(0, 1, minor);
    expect.set(0.0f, 0.0f, 0.0f,
               0.0f, 1.0f, 0.0f,
               0.0f, 0.0f, 1.0f);
    expectMat33Near(minor, expect, 0.0f);

    // Out of range: nothing read or written outside the 16 floats.
    EXPECT_EQ(m.get(4, 0), 0.0f);
    EXPECT_EQ(&m.at(0, -1), &m.m_f[0]);
    Vec4 bad(1, 1, 1, 1);
    m.getRow(4, bad);
    EXPECT_EQ(bad.x + bad.y + bad.z + bad.w, 0.0f);
    HMat44f before = m;
    m.setMinor(4, 0, expect);
    expectMat44Near(m, before, 0.0f);
}

TEST_F(MathTest, Mat44MultiplyTransformTranspose)
{
    HMat44f a, b, out;
    for (int i = 0; i < 16; i++) {
        a.m_f[i] = (float)(i + 1);
        b.m_f[i] = (float)(16 - i);
    }
    HMat44f::multiply(a, b, out);
    // Row 0 of a (1 2 3 4) with column 0 of b (16 12 8 4): 16+24+24+16.
    EXPECT_EQ(out.get(0, 0), 80.0f);
    // Row 3 (13 14 15 16) with column 3 (13 9 5 1): 169+126+75+16.
    EXPECT_EQ(out.get(3, 3), 386.0f);
    HMat44f::multiply(a, HMat44f(), out);
    expectMat44Near(out, a, 0.0f);
    HMat44f c = a;
    HMat44f::multiply(c, b, c);
    HMat44f::multiply(a, b, out);
    expectMat44Near(c, out, 0.0f);

    HMat44f t;
    a.transposeInto(t);
    EXPECT_EQ(t.get(0, 3), a.get(3, 0));
    EXPECT_EQ(t.get(2, 1), a.get(1, 2));
    a.transposeInto(a);
    expectMat44Near(a, t, 0.0f);

    // A translation in column 3 moves points (w 1) and leaves directions (w 0).
    HMat44f move;
    move.at(0, 3) = 5.0f;
    move.at(1, 3) = -2.0f;
    Vec4 p(1.0f, 1.0f, 1.0f, 1.0f), d(1.0f, 1.0f, 1.0f, 0.0f), o;
    move.transform(p, o);
    EXPECT_EQ(o.x, 6.0f);
    EXPECT_EQ(o.y, -1.0f);
    EXPECT_EQ(o.z, 1.0f);
    EXPECT_EQ(o.w, 1.0f);
    move.transform(d, d);
    EXPECT_EQ(d.x, 1.0f);
    EXPECT_EQ(d.y, 1.0f);
}

TEST_F(MathTest, ProjectionMatrix)
{
    HMat44f p;
    ASSERT_TRUE(p.makeProjectionMatrix(1.0f, 100.0f, 90.0f, 2.0f));
    HMat44f expect;
    expect.at(0, 0) = 0.5f;                  // cot(45) / aspect
    expect.at(1, 1) = 1.0f;
    expect.at(2, 2) = -101.0f / 99.0f;
    expect.at(2, 3) = -200.0f / 99.0f;
    expect.at(3, 2) = -1.0f;
    expect.at(3, 3) = 0.0f;
    expectMat44Near(p, expect, kfTight);

    // The near plane maps to depth -1, the far plane to +1.
    Vec4 n, f;
    p.transform(Vec4(0.0f, 0.0f, -1.0f, 1.0f), n);
    p.transform(Vec4(0.0f, 0.0f, -100.0f, 1.0f), f);
    EXPECT_NEAR(n.z / n.w, -1.0f, kfChain);
    EXPECT_NEAR(f.z / f.w, 1.0f, kfChain);

    // Invalid parameters leave the matrix exactly as it was.
    HMat44f keep;
    for (int i = 0; i < 16; i++) {
        keep.m_f[i] = 0.25f * (float)i;
    }
    const HMat44f before = keep;
    EXPECT_FALSE(keep.makeProjectionMatrix(10.0f, 10.0f, 60.0f, 1.0f));
    EXPECT_FALSE(keep.makeProjectionMatrix(1.0f, 10.0f, 0.0f, 1.0f));
    EXPECT_FALSE(keep.makeProjectionMatrix(1.0f, 10.0f, 60.0f, 0.0f));
    expectMat44Near(keep, before, 0.0f);
    EXPECT_TRUE(m_hook.boxes().empty());          // the diagnostic is not a box
}

TEST_F(MathTest, RigidTransformViewIsInverseOfWorld)
{
    HRigidTransform xf;
    HMat44f world, view, prod;
    xf.getWorldMatrix(world);
    expectMat44Near(world, HMat44f(), 0.0f);

    xf.m_vPosition.assign(3.0f, -7.5f, 12.0f);
    HQuat qa = s_axisAngle(33.0f, 0.0f, 1.0f, 0.0f);
    HQuat qb = s_axisAngle(-71.0f, 1.0f, 0.0f, 0.0f);
    HQuat::multiply(qa, qb, xf.m_qOrientation);
    xf.getWorldMatrix(world);
    xf.getViewMatrix(view);

    EXPECT_EQ(world.get(0, 3), 3.0f);
    EXPECT_EQ(world.get(2, 3), 12.0f);
    EXPECT_EQ(world.get(3, 0), 0.0f);
    EXPECT_EQ(world.get(3, 3), 1.0f);

    HMat44f::multiply(view, world, prod);
    expectMat44Near(prod, HMat44f(), kfChain);
    HMat44f::multiply(world, view, prod);
    expectMat44Near(prod, HMat44f(), kfChain);

    // The world matrix takes the origin to the position; the view matrix
    // takes the position back to the origin.
    Vec4 o;
    view.transform(Vec4(3.0f, -7.5f, 12.0f, 1.0f), o);
    EXPECT_NEAR(o.x, 0.0f, kfChain);
    EXPECT_NEAR(o.y, 0.0f, kfChain);
    EXPECT_NEAR(o.z, 0.0f, kfChain);

    HMat33f r, r2;
    xf.getRotationMatrix(r);
    HRigidTransform other;
    other.setRotationMatrix(r);
    other.getRotationMatrix(r2);
    expectMat33Near(r2, r, kfChain);

    xf.reset();
    EXPECT_TRUE(xf.m_vPosition.equals(Vec3()));
    EXPECT_EQ(xf.m_qOrientation.w, 1.0f);
    EXPECT_EQ(xf.m_qOrientation.x, 0.0f);
}

TEST_F(MathTest, BoundingBoxCorners)
{
    const HBoundingBox box(Vec3(-1.0f, -2.0f, -3.0f), Vec3(1.0f, 2.0f, 3.0f));
    Vec3 c[8];
    box.getCorners(c);
    EXPECT_TRUE(c[0].equals(Vec3(-1.0f, -2.0f, -3.0f)));
    EXPECT_TRUE(c[1].equals(Vec3(1.0f, -2.0f, -3.0f)));
    EXPECT_TRUE(c[2].equals(Vec3(-1.0f, 2.0f, -3.0f)));
    EXPECT_TRUE(c[4].equals(Vec3(-1.0f, -2.0f, 3.0f)));
    EXPECT_TRUE(c[6].equals(Vec3(-1.0f, 2.0f, 3.0f)));
    EXPECT_TRUE(c[7].equals(Vec3(1.0f, 2.0f, 3.0f)));
}
