#include "HQuat.h"

#include "HMath.h"

void HQuat::fromAxisAngle(float fDegrees, const Vec3 &axis)
{
    const float fHalf = fDegrees * 0.5f;
    const float s = sinDegrees(fHalf);
    x = axis.x * s;
    y = axis.y * s;
    z = axis.z * s;
    w = cosDegrees(fHalf);
}

void HQuat::multiply(const HQuat &q, const HQuat &r, HQuat &out)
{
    const float fW = q.w * r.w - (q.x * r.x + q.y * r.y + q.z * r.z);
    const float fX = q.x * r.w + q.w * r.x + q.y * r.z - q.z * r.y;
    const float fY = q.y * r.w + q.w * r.y + q.z * r.x - q.x * r.z;
    const float fZ = q.x * r.y + q.w * r.z + q.z * r.w - q.y * r.x;
    out.x = fX;
    out.y = fY;
    out.z = fZ;
    out.w = fW;
}

void HQuat::toMatrix(HMat33f &out) const
{
    out.set(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - w * z),        2.0f * (x * z + w * y),
            2.0f * (x * y + w * z),        1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - w * x),
            2.0f * (x * z - w * y),        2.0f * (y * z + w * x),        1.0f - 2.0f * (x * x + y * y));
}

void HQuat::fromMatrix(const HMat33f &m)
{
    const float t = m.get(0, 0) + m.get(1, 1) + m.get(2, 2);
    if (t > 0.0f) {
        const float s = squareRootF(t + 1.0f);
        const float k = 0.5f / s;
        w = s * 0.5f;
        x = (m.get(2, 1) - m.get(1, 2)) * k;
        y = (m.get(0, 2) - m.get(2, 0)) * k;
        z = (m.get(1, 0) - m.get(0, 1)) * k;
        normalize();
        return;
    }

    // Start from the largest diagonal element. For any finite matrix the
    // root's argument is then at least 1, so the division below is safe.
    static const int s_next[3] = { 1, 2, 0 };
    int i = (m.get(1, 1) > m.get(0, 0)) ? 1 : 0;
    if (m.get(2, 2) > m.get(i, i)) {
        i = 2;
    }
    const int j = s_next[i];
    const int k = s_next[j];
    const float s = squareRootF(m.get(i, i) - m.get(j, j) - m.get(k, k) + 1.0f);
    const float c = 0.5f / s;
    float q[3];
    q[i] = s * 0.5f;
    q[j] = (m.get(j, i) + m.get(i, j)) * c;
    q[k] = (m.get(k, i) + m.get(i, k)) * c;
    x = q[0];
    y = q[1];
    z = q[2];
    w = (m.get(k, j) - m.get(j, k)) * c;
}

float HQuat::normalize()
{
    const float fLength = squareRootF(x * x + y * y + z * z + w * w);
    if (fLength != 0.0f) {
        x /= fLength;
        y /= fLength;
        z /= fLength;
        w /= fLength;
    }
    return fLength;
}
