#include "HRigidTransform.h"

void HRigidTransform::reset()
{
    m_vPosition.assign(0.0f, 0.0f, 0.0f);
    m_qOrientation.setIdentity();
}

void HRigidTransform::getWorldMatrix(HMat44f &out) const
{
    HMat33f r;
    m_qOrientation.toMatrix(r);
    out.setIdentity();
    out.setMinor(3, 3, r);
    out.at(0, 3) = m_vPosition.x;
    out.at(1, 3) = m_vPosition.y;
    out.at(2, 3) = m_vPosition.z;
}

void HRigidTransform::getViewMatrix(HMat44f &out) const
{
    HMat33f r;
    m_qOrientation.toMatrix(r);
    r.transpose();
    Vec3 t;
    r.transform(Vec3(-m_vPosition.x, -m_vPosition.y, -m_vPosition.z), t);
    out.setIdentity();
    out.setMinor(3, 3, r);
    out.at(0, 3) = t.x;
    out.at(1, 3) = t.y;
    out.at(2, 3) = t.z;
}

void HRigidTransform::setRotationMatrix(const HMat33f &m)
{
    m_qOrientation.fromMatrix(m);
}

void HRigidTransform::getRotationMatrix(HMat33f &out) const
{
    m_qOrientation.toMatrix(out);
}
