#ifndef HINTEGER_H
#define HINTEGER_H

#include "HObject.h"

// A boxed 32-bit integer, for keeping plain numbers in object containers.
class HInteger : public HObject {
public:
                        HInteger() : m_iValue(0) {}
    explicit            HInteger(int32_t iValue) : m_iValue(iValue) {}

    const HClassInfo *  getClassInfo() const override;
    HObject *           clone() const override;
    char *              toString(char *pBuffer, size_t iSize) const override;

    int32_t             getValue() const { return m_iValue; }
    void                setValue(int32_t iValue) { m_iValue = iValue; }

    static HClassInfo   sm_classInfo;

private:
    int32_t             m_iValue;
};

#endif // HINTEGER_H
