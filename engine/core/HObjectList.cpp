#include "HObjectList.h"

#include "HString.h"

HClassInfo HObjectList::sm_classInfo("HObjectList", "HObject");

HObjectList::HObjectList(const char *szTypeName)
    : m_pHead(nullptr)
{
    m_szTypeName[0] = '\0';
    HObjectList::setTypeName(szTypeName);
}

HObjectList::~HObjectList()
{
    // Owners empty their lists first; whatever is left is only our nodes.
    removeAll();
}

const HClassInfo *HObjectList::getClassInfo() const
{
    return &sm_classInfo;
}

void HObjectList::setTypeName(const char *szTypeName)
{
    stringCopyBounded(m_szTypeName, szTypeName ? szTypeName : HOBJECTLIST_ANY_TYPE, sizeof(m_szTypeName));
}

const char *HObjectList::getTypeName() const
{
    return m_szTypeName;
}

int HObjectList::addFront(HObject *pObject)
{
    // A null element has no class to check and would crash every walker.
    if (!pObject) {
        return HC_REFUSED;
    }
    if (stringCompareNoCase(m_szTypeName, HOBJECTLIST_ANY_TYPE) != 0 &&
        stringCompareNoCase(pObject->getClassName(), m_szTypeName) != 0) {
        return HC_REFUSED;
    }

    HListNode *pNode = new HListNode;
    pNode->setElement(pObject);
    pNode->setNext(m_pHead);
    if (m_pHead) {
        m_pHead->setPrev(pNode);
    }
    m_pHead = pNode;
    return HC_DONE;
}

int HObjectList::append(HObject *pObject)
{
    if (!pObject) {
        return HC_REFUSED;
    }
    HListNode *pTail = getTail();
    HListNode *pNode = new HListNode;
    pNode->setElement(pObject);
    pNode->setPrev(pTail);
    if (pTail) {
        pTail->setNext(pNode);
    } else {
        m_pHead = pNode;
    }
    return HC_DONE;
}

HListNode *HObjectList::remove(const HObject *pObject)
{
    for (HListNode *pNode = m_pHead; pNode; pNode = pNode->getNext()) {
        if (pNode->getElement() != pObject) {
            continue;
        }
        HListNode *pPrev = pNode->getPrev();
        HListNode *pNext = pNode->getNext();
        if (pPrev) {
            pPrev->setNext(pNext);
        } else {
            m_pHead = pNext;
        }
        if (pNext) {
            pNext->setPrev(pPrev);
        }
        pNode->setPrev(nullptr);
        pNode->setNext(nullptr);
        pNode->setElement(nullptr);
        delete pNode;
        return pNext;
    }
    return nullptr;
}

void HObjectList::removeAll()
{
    HListNode *pNode = m_pHead;
    while (pNode) {
        HListNode *pNext = pNode->getNext();
        pNode->setElement(nullptr);
        pNode->setPrev(nullptr);
        pNode->setNext(nullptr);
        delete pNode;
        pNode = pNext;
    }
    m_pHead = nullptr;
}

HListNode *HObjectList::getTail() const
{
    HListNode *pNode = m_pHead;
    while (pNode && pNode->getNext()) {
        pNode = pNode->getNext();
    }
    return pNode;
}

HListNode *HObjectList::getNext(const HListNode *pNode) const
{
    return pNode ? pNode->getNext() : nullptr;
}

HListNode *HObjectList::getPrev(const HListNode *pNode) const
{
    return pNode ? pNode->getPrev() : nullptr;
}
