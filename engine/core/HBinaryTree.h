#ifndef HBINARYTREE_H
#define HBINARYTREE_H

#include "HBinaryTreeNode.h"
#include "HObject.h"
#include "HObjectList.h"    // HC_ result codes

// Compares the element of a node with another element: 0 equal, negative
// when the other belongs to the left, positive when it belongs to the right.
typedef int  (*HBinaryTreeCompare)(void *pNodeElement, void *pOther, void *pUserData);
typedef void (*HBinaryTreeVisit)(void *pElement, void *pArgument);

// Unbalanced binary search tree of caller pointers, ordered by the caller's
// compare function; elements that compare equal go to the right. With a
// compare of a - b larger elements sit to the left, so an in-order walk runs
// from the largest to the smallest. The tree owns its nodes, never its
// elements. Walks and searches keep their own stack rather than recursing,
// so a degenerate (sorted-input) tree of any depth is safe. The tree must
// not change while a walk is under way.
class HBinaryTree : public HObject {
public:
                        HBinaryTree();
                        ~HBinaryTree() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's.

    // Must come before insert and find; without it they refuse (1, null).
    virtual bool        setCompare(HBinaryTreeCompare pCompare, void *pUserData);
    virtual void        removeAll();
    virtual void        walkInOrder(HBinaryTreeVisit pVisit, void *pArgument) const;
    virtual void        walkPreOrder(HBinaryTreeVisit pVisit, void *pArgument) const;
    virtual void        walkPostOrder(HBinaryTreeVisit pVisit, void *pArgument) const;
    // 0 inserted; 1 refused (no compare function, no node); 2 when that very
    // pointer is already in the tree.
    virtual int         insert(void *pElement);
    // 0 removed; 3 when no node holds that pointer. Matches by identity.
    virtual int         remove(void *pElement);
    // The first element on the search path that compares equal, or null.
    virtual void *      find(void *pKey) const;
    // Hook for subclasses that want their own nodes.
    virtual HBinaryTreeNode *createNode();

    HBinaryTreeNode *   getRoot() const { return m_pRoot; }

    static HClassInfo   sm_classInfo;

private:
                        HBinaryTree(const HBinaryTree &) = delete;
    HBinaryTree &       operator=(const HBinaryTree &) = delete;

    // Hangs a node (with whatever subtrees it carries) where insert would.
    void                m_placeNode(HBinaryTreeNode *pNode);
    // The node holding the pointer and its parent (null for the root).
    HBinaryTreeNode *   m_findNode(void *pElement, HBinaryTreeNode **ppParent) const;

    HBinaryTreeCompare  m_pCompare;
    HBinaryTreeNode *   m_pRoot;
    void *              m_pUserData;
};

#endif // HBINARYTREE_H
