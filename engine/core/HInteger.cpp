#include "HInteger.h"

#include "HString.h"

HClassInfo HInteger::sm_classInfo("HInteger", "HObject");

const HClassInfo *HInteger::getClassInfo() const
{
    return &sm_classInfo;
}

HObject *HInteger::clone() const
{
    return new HInteger(m_iValue);
}

char *HInteger::toString(char *pBuffer, size_t iSize) const
{
    return stringPrintf(pBuffer, iSize, "%d", (int)m_iValue);
}
