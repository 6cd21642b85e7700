#include "HObject.h"

#include "HLog.h"
#include "HString.h"

HClassInfo HObject::sm_classInfo("HObject", nullptr);

// Serial ids, never lowered and never reused.
static int32_t s_iObjectCounter = 0;

HObject::HObject()
    : m_iId(++s_iObjectCounter), m_iRefCount(0)
{
}

HObject::HObject(const HObject &)
    : m_iId(++s_iObjectCounter), m_iRefCount(0)
{
}

HObject &HObject::operator=(const HObject &)
{
    return *this;
}

HObject::~HObject()
{
}

const HClassInfo *HObject::getClassInfo() const
{
    return &sm_classInfo;
}

HObject *HObject::clone() const
{
    errorPrintf("%s has not implemented clone()", getClassName());
    return nullptr;
}

char *HObject::toString(char *pBuffer, size_t iSize) const
{
    return stringCopyBounded(pBuffer, getClassName(), iSize);
}

int32_t HObject::getRefCount() const
{
    return m_iRefCount;
}

void HObject::addRef()
{
    m_iRefCount++;
}

void HObject::release()
{
    m_iRefCount--;
}

uint32_t HObject::hash() const
{
    return stringHashNoCase(getClassName()) + (uint32_t)m_iId;
}

bool HObject::isClass(const HClassInfo *pInfo) const
{
    return getClassInfo() == pInfo;
}

bool HObject::isKindOf(const HClassInfo *pInfo) const
{
    return isDerivedFrom(getClassInfo(), pInfo);
}

const char *HObject::getClassName() const
{
    return getClassInfo()->getName();
}

const char *HObject::getParentClassName() const
{
    return getClassInfo()->getParentName();
}
