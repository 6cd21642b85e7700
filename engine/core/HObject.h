#ifndef HOBJECT_H
#define HOBJECT_H

#include <stddef.h>
#include <stdint.h>

#include "HClassInfo.h"

// Root of every engine, framework and game class kept in the engine's
// containers. Each object gets a serial id (the first object is 1) and an
// informational reference count: release() never destroys anything, owners
// delete objects explicitly.
//
// A class that registers a record of its own declares
//     const HClassInfo *getClassInfo() const override;
//     static HClassInfo sm_classInfo;
// and defines
//     HClassInfo HFoo::sm_classInfo("HFoo", "HObject");
//     const HClassInfo *HFoo::getClassInfo() const { return &sm_classInfo; }
class HObject {
public:
                        HObject();
                        HObject(const HObject &other);     // a copy is a new object: new id
    HObject &           operator=(const HObject &other);   // keeps this object's id and count

    // Virtual slots, in this order.
    virtual const HClassInfo *getClassInfo() const;
    virtual             ~HObject();
    virtual HObject *   clone() const;
    virtual char *      toString(char *pBuffer, size_t iSize) const;
    virtual int32_t     getRefCount() const;
    virtual void        addRef();
    virtual void        release();
    virtual uint32_t    hash() const;

    bool                isClass(const HClassInfo *pInfo) const;
    bool                isKindOf(const HClassInfo *pInfo) const;
    const char *        getClassName() const;
    const char *        getParentClassName() const;
    int32_t             getId() const { return m_iId; }

    static HClassInfo   sm_classInfo;

private:
    int32_t             m_iId;
    int32_t             m_iRefCount;
};

#endif // HOBJECT_H
