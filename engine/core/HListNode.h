#ifndef HLISTNODE_H
#define HLISTNODE_H

#include "HContainerNode.h"

// Doubly linked node of HObjectList. No class record of its own: it reports
// "HContainerNode".
class HListNode : public HContainerNode {
public:
                        HListNode() : m_pPrev(nullptr), m_pNext(nullptr) {}

    HListNode *         getPrev() const { return m_pPrev; }
    void                setPrev(HListNode *pPrev) { m_pPrev = pPrev; }
    HListNode *         getNext() const { return m_pNext; }
    void                setNext(HListNode *pNext) { m_pNext = pNext; }

private:
    HListNode *         m_pPrev;
    HListNode *         m_pNext;
};

#endif // HLISTNODE_H
