#include "HContainerNode.h"

HClassInfo HContainerNode::sm_classInfo("HContainerNode", "HObject");

const HClassInfo *HContainerNode::getClassInfo() const
{
    return &sm_classInfo;
}
