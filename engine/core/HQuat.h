#ifndef HQUAT_H
#define HQUAT_H

#include "HMat33f.h"
#include "Vec3.h"

// Rotation quaternion with the scalar part last; a new one is the identity
// (0, 0, 0, 1). Angles are in degrees.
class HQuat {
public:
    float               x;
    float               y;
    float               z;
    float               w;

                        HQuat() : x(0.0f), y(0.0f), z(0.0f), w(1.0f) {}
                        HQuat(float fX, float fY, float fZ, float fW) : x(fX), y(fY), z(fZ), w(fW) {}

    void                setIdentity() { x = 0.0f; y = 0.0f; z = 0.0f; w = 1.0f; }

    // The axis must be of unit length.
    void                fromAxisAngle(float fDegrees, const Vec3 &axis);

    // Hamilton product out = q r (apply r, then q); out may be q or r.
    static void         multiply(const HQuat &q, const HQuat &r, HQuat &out);

    void                toMatrix(HMat33f &out) const;
    // From a rotation matrix; only the positive-trace path normalises.
    void                fromMatrix(const HMat33f &m);

    // Returns the length; a zero quaternion stays as it is.
    float               normalize();
};

#endif // HQUAT_H
