#ifndef HOBJECTSTACK_H
#define HOBJECTSTACK_H

#include "HObjectList.h"

// Last-in-first-out stack of object pointers over one owned HObjectList;
// the top is the list's head. Never owns its elements.
class HObjectStack : public HObject {
public:
    explicit            HObjectStack(const char *szTypeName = nullptr);
                        ~HObjectStack() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's.
    virtual void        setTypeName(const char *szTypeName);
    virtual const char *getTypeName() const;
    virtual int32_t     getCount() const;

    // 0 pushed; 1 refused (null, or the wrong class for a typed stack).
    int                 push(HObject *pObject);
    // The top element, removed; null when the stack is empty.
    HObject *           pop();
    // Element at a depth (0 the top, negative reads the top); null when the
    // stack is empty or the depth is at or beyond getCount().
    HObject *           peek(int32_t iIndex) const;

    static HClassInfo   sm_classInfo;

private:
                        HObjectStack(const HObjectStack &) = delete;
    HObjectStack &      operator=(const HObjectStack &) = delete;

    HObjectList *       m_pList;
};

#endif // HOBJECTSTACK_H
