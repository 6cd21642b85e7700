#ifndef HCLASSINFO_H
#define HCLASSINFO_H

// Run-time class record. Every registering class owns one static record:
//
//     HClassInfo HFoo::sm_classInfo("HFoo", "HObject");
//
// Its constructor pushes it on the process-wide registry during static
// construction, so every record is reachable before main runs. Records are
// never copied, freed or removed. A class without a record of its own simply
// inherits getClassInfo() and reports its nearest registered base.
class HClassInfo {
public:
                        HClassInfo(const char *szName, const char *szParentName);

    const char *        getName() const { return m_szName; }
    const char *        getParentName() const { return m_szParentName; }
    const HClassInfo *  getNext() const { return m_pNext; }

private:
                        HClassInfo(const HClassInfo &) = delete;
    HClassInfo &        operator=(const HClassInfo &) = delete;

    HClassInfo *        m_pNext;
    const char *        m_szName;
    const char *        m_szParentName;     // null for a root class
};

// Head of the registry list; null while nothing is registered.
const HClassInfo *      getClassRegistry();

// Lookup by name, letters compared without regard to case; null when unknown.
const HClassInfo *      findClassInfo(const char *szName);

// Record of the direct base, or null for a root or an unregistered parent.
const HClassInfo *      getParentClassInfo(const HClassInfo *pInfo);

// True when pInfo's class is pAncestor's class or derives from it.
bool                    isDerivedFrom(const HClassInfo *pInfo, const HClassInfo *pAncestor);

#endif // HCLASSINFO_H
