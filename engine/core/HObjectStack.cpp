#include "HObjectStack.h"

HClassInfo HObjectStack::sm_classInfo("HObjectStack", "HObject");

HObjectStack::HObjectStack(const char *szTypeName)
    : m_pList(new HObjectList(szTypeName))
{
}

HObjectStack::~HObjectStack()
{
    delete m_pList;
    m_pList = nullptr;
}

const HClassInfo *HObjectStack::getClassInfo() const
{
    return &sm_classInfo;
}

void HObjectStack::setTypeName(const char *szTypeName)
{
    m_pList->setTypeName(szTypeName);
}

const char *HObjectStack::getTypeName() const
{
    return m_pList->getTypeName();
}

int32_t HObjectStack::getCount() const
{
    int32_t iCount = 0;
    for (const HListNode *pNode = m_pList->getHead(); pNode; pNode = pNode->getNext()) {
        iCount++;
    }
    return iCount;
}

int HObjectStack::push(HObject *pObject)
{
    if (!pObject) {
        return HC_REFUSED;
    }
    return m_pList->addFront(pObject);
}

HObject *HObjectStack::pop()
{
    HListNode *pHead = m_pList->getHead();
    if (!pHead) {
        return nullptr;
    }
    HObject *pObject = pHead->getObject();
    // The first node holding this pointer is the head itself.
    m_pList->remove(pObject);
    return pObject;
}

HObject *HObjectStack::peek(int32_t iIndex) const
{
    const HListNode *pNode = m_pList->getHead();
    for (int32_t i = 0; pNode && i < iIndex; i++) {
        pNode = pNode->getNext();
    }
    return pNode ? pNode->getObject() : nullptr;
}
