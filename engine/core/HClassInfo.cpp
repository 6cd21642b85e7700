#include "HClassInfo.h"

#include "HString.h"

// Zero-initialised before any dynamic initialiser runs, so records may
// register in any translation-unit order.
static HClassInfo *s_pClassRegistry = nullptr;

HClassInfo::HClassInfo(const char *szName, const char *szParentName)
    : m_pNext(s_pClassRegistry), m_szName(szName), m_szParentName(szParentName)
{
    s_pClassRegistry = this;
}

const HClassInfo *getClassRegistry()
{
    return s_pClassRegistry;
}

const HClassInfo *findClassInfo(const char *szName)
{
    if (!szName) {
        return nullptr;
    }
    for (const HClassInfo *pInfo = s_pClassRegistry; pInfo; pInfo = pInfo->getNext()) {
        if (pInfo->getName() && stringCompareNoCase(pInfo->getName(), szName) == 0) {
            return pInfo;
        }
    }
    return nullptr;
}

const HClassInfo *getParentClassInfo(const HClassInfo *pInfo)
{
    if (!pInfo || !pInfo->getParentName()) {
        return nullptr;
    }
    return findClassInfo(pInfo->getParentName());
}

bool isDerivedFrom(const HClassInfo *pInfo, const HClassInfo *pAncestor)
{
    if (!pInfo || !pAncestor) {
        return false;
    }
    // A chain is bounded by the number of records; the guard only protects
    // against a class naming itself (directly or not) as its parent.
    int iGuard = 0;
    for (const HClassInfo *p = s_pClassRegistry; p; p = p->getNext()) {
        iGuard++;
    }
    while (pInfo != pAncestor) {
        pInfo = getParentClassInfo(pInfo);
        if (!pInfo || iGuard-- < 0) {
            return false;
        }
    }
    return true;
}
