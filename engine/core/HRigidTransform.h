#ifndef HRIGIDTRANSFORM_H
#define HRIGIDTRANSFORM_H

#include "HMat33f.h"
#include "HMat44f.h"
#include "HQuat.h"
#include "Vec3.h"

// A position and an orientation, without scale.
class HRigidTransform {
public:
    Vec3                m_vPosition;
    HQuat               m_qOrientation;

                        HRigidTransform() { reset(); }

    // Position 0, orientation the identity.
    void                reset();

    // Rotation in the upper 3-by-3, position in column 3.
    void                getWorldMatrix(HMat44f &out) const;
    // The inverse of the world matrix: transposed rotation R', and R' times
    // the negated position in column 3.
    void                getViewMatrix(HMat44f &out) const;

    void                setRotationMatrix(const HMat33f &m);
    void                getRotationMatrix(HMat33f &out) const;
};

#endif // HRIGIDTRANSFORM_H
