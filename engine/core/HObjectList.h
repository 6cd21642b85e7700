#ifndef HOBJECTLIST_H
#define HOBJECTLIST_H

#include "HListNode.h"
#include "HObject.h"

// Result codes shared by the engine's containers.
enum {
    HC_DONE         = 0,
    HC_REFUSED      = 1,
    HC_DUPLICATE    = 2,
    HC_NOT_FOUND    = 3
};

// Type name of a list that takes objects of every class.
#define HOBJECTLIST_ANY_TYPE    "(any)"

// Doubly linked list of object pointers. The list makes and deletes its
// nodes; it never owns, deletes or changes its elements, and one element may
// sit in several nodes. A typed list only takes (through addFront) objects
// whose class record has the list's type name; a subclass without a record
// of its own reports its base's name and is accepted.
//
// Walk with getHead()/getNext(); a walker that removes continues with the
// node remove() returns.
class HObjectList : public HObject {
public:
    explicit            HObjectList(const char *szTypeName = nullptr);
                        ~HObjectList() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's.
    virtual void        setTypeName(const char *szTypeName);
    virtual const char *getTypeName() const;

    // 0 added; 1 refused (null object or wrong class), nothing added.
    int                 addFront(HObject *pObject);
    // Adds at the tail without any type check; 0, or 1 for a null object.
    int                 append(HObject *pObject);
    // Deletes the first node holding the pointer and returns its successor;
    // null when it was the last or when no node holds the pointer.
    HListNode *         remove(const HObject *pObject);
    void                removeAll();

    HListNode *         getHead() const { return m_pHead; }
    HListNode *         getTail() const;
    HListNode *         getNext(const HListNode *pNode) const;
    HListNode *         getPrev(const HListNode *pNode) const;
    bool                isEmpty() const { return m_pHead == nullptr; }

    static HClassInfo   sm_classInfo;

private:
                        HObjectList(const HObjectList &) = delete;
    HObjectList &       operator=(const HObjectList &) = delete;

    char                m_szTypeName[64];
    HListNode *         m_pHead;
};

#endif // HOBJECTLIST_H
