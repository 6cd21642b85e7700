#ifndef HBINARYTREENODE_H
#define HBINARYTREENODE_H

#include "HContainerNode.h"

// Node of HBinaryTree: the element plus two child links. No class record of
// its own, so it reports "HContainerNode".
class HBinaryTreeNode : public HContainerNode {
public:
                        HBinaryTreeNode() : m_pLeft(nullptr), m_pRight(nullptr) {}

    HBinaryTreeNode *   getLeft() const { return m_pLeft; }
    void                setLeft(HBinaryTreeNode *pLeft) { m_pLeft = pLeft; }
    HBinaryTreeNode *   getRight() const { return m_pRight; }
    void                setRight(HBinaryTreeNode *pRight) { m_pRight = pRight; }

private:
    HBinaryTreeNode *   m_pLeft;
    HBinaryTreeNode *   m_pRight;
};

#endif // HBINARYTREENODE_H
