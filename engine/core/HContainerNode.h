#ifndef HCONTAINERNODE_H
#define HCONTAINERNODE_H

#include "HObject.h"

// A node holding one element pointer for the lists and the binary tree.
// The node never owns its element; the tree stores caller data here too.
class HContainerNode : public HObject {
public:
                        HContainerNode() : m_pElement(nullptr) {}

    const HClassInfo *  getClassInfo() const override;

    void *              getElement() const { return m_pElement; }
    void                setElement(void *pElement) { m_pElement = pElement; }
    // The element as an object: what every object list holds.
    HObject *           getObject() const { return static_cast<HObject *>(m_pElement); }

    static HClassInfo   sm_classInfo;

private:
    void *              m_pElement;
};

#endif // HCONTAINERNODE_H
