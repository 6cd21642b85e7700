#include "HBinaryTree.h"

#include <new>
#include <stdlib.h>

HClassInfo HBinaryTree::sm_classInfo("HBinaryTree", "HObject");

namespace {

// Explicit stack for the walks, so the depth of an unbalanced tree never
// reaches the call stack. Small trees stay in the inline buffer.
template <typename T>
class NodeStack {
public:
                        NodeStack() : m_pItems(m_local), m_iCount(0), m_iCapacity(kLocal) {}
                        ~NodeStack() { if (m_pItems != m_local) { free(m_pItems); } }

    bool                isEmpty() const { return m_iCount == 0; }
    T &                 top() { return m_pItems[m_iCount - 1]; }
    T                   pop() { return m_pItems[--m_iCount]; }

    // False only when memory runs out; the caller then stops.
    bool push(const T &item)
    {
        if (m_iCount == m_iCapacity && !grow()) {
            return false;
        }
        m_pItems[m_iCount++] = item;
        return true;
    }

private:
    enum { kLocal = 64 };

    bool grow()
    {
        const size_t uNew = m_iCapacity * 2;
        T *pNew = static_cast<T *>(malloc(uNew * sizeof(T)));
        if (!pNew) {
            return false;
        }
        for (size_t i = 0; i < m_iCount; i++) {
            pNew[i] = m_pItems[i];
        }
        if (m_pItems != m_local) {
            free(m_pItems);
        }
        m_pItems = pNew;
        m_iCapacity = uNew;
        return true;
    }

    T                   m_local[kLocal];
    T *                 m_pItems;
    size_t              m_iCount;
    size_t              m_iCapacity;
};

struct NodeAndParent {
    HBinaryTreeNode *   pNode;
    HBinaryTreeNode *   pParent;
};

} // namespace

HBinaryTree::HBinaryTree()
    : m_pCompare(nullptr), m_pRoot(nullptr), m_pUserData(nullptr)
{
}

HBinaryTree::~HBinaryTree()
{
    removeAll();
}

const HClassInfo *HBinaryTree::getClassInfo() const
{
    return &sm_classInfo;
}

bool HBinaryTree::setCompare(HBinaryTreeCompare pCompare, void *pUserData)
{
    m_pCompare = pCompare;
    m_pUserData = pUserData;
    return true;
}

// Deletes a subtree leaf by leaf without any memory of its own: the way out
// when the stack of removeAll cannot grow. Slow on deep trees, never wrong.
static void s_deleteSubtreeSlowly(HBinaryTreeNode *pRoot)
{
    while (pRoot) {
        HBinaryTreeNode *pParent = nullptr;
        HBinaryTreeNode *pNode = pRoot;
        while (pNode->getLeft() || pNode->getRight()) {
            pParent = pNode;
            pNode = pNode->getLeft() ? pNode->getLeft() : pNode->getRight();
        }
        if (!pParent) {
            pRoot = nullptr;
        } else if (pParent->getLeft() == pNode) {
            pParent->setLeft(nullptr);
        } else {
            pParent->setRight(nullptr);
        }
        delete pNode;
    }
}

void HBinaryTree::removeAll()
{
    if (!m_pRoot) {
        return;
    }
    // A node goes back on the stack under its children with its links cut,
    // so it is deleted only after both of them.
    NodeStack<HBinaryTreeNode *> stack;
    stack.push(m_pRoot);
    m_pRoot = nullptr;
    while (!stack.isEmpty()) {
        HBinaryTreeNode *pNode = stack.pop();
        HBinaryTreeNode *pLeft = pNode->getLeft();
        HBinaryTreeNode *pRight = pNode->getRight();
        if (!pLeft && !pRight) {
            delete pNode;
            continue;
        }
        stack.push(pNode);      // fits: it was just popped
        if (pLeft) {
            if (!stack.push(pLeft)) {
                break;
            }
            pNode->setLeft(nullptr);
        }
        if (pRight) {
            if (!stack.push(pRight)) {
                break;
            }
            pNode->setRight(nullptr);
        }
    }
    // Only after running out of memory: every entry left is a separate
    // subtree, children above their parents.
    while (!stack.isEmpty()) {
        s_deleteSubtreeSlowly(stack.pop());
    }
}

void HBinaryTree::walkInOrder(HBinaryTreeVisit pVisit, void *pArgument) const
{
    if (!pVisit) {
        return;
    }
    NodeStack<HBinaryTreeNode *> stack;
    HBinaryTreeNode *pNode = m_pRoot;
    while (pNode || !stack.isEmpty()) {
        while (pNode) {
            if (!stack.push(pNode)) {
                return;
            }
            pNode = pNode->getLeft();
        }
        pNode = stack.pop();
        pVisit(pNode->getElement(), pArgument);
        pNode = pNode->getRight();
    }
}

void HBinaryTree::walkPreOrder(HBinaryTreeVisit pVisit, void *pArgument) const
{
    if (!pVisit || !m_pRoot) {
        return;
    }
    NodeStack<HBinaryTreeNode *> stack;
    stack.push(m_pRoot);
    while (!stack.isEmpty()) {
        HBinaryTreeNode *pNode = stack.pop();
        pVisit(pNode->getElement(), pArgument);
        // Right first, so the left subtree comes off the stack first.
        if (pNode->getRight() && !stack.push(pNode->getRight())) {
            return;
        }
        if (pNode->getLeft() && !stack.push(pNode->getLeft())) {
            return;
        }
    }
}

void HBinaryTree::walkPostOrder(HBinaryTreeVisit pVisit, void *pArgument) const
{
    if (!pVisit) {
        return;
    }
    NodeStack<HBinaryTreeNode *> stack;
    HBinaryTreeNode *pNode = m_pRoot;
    const HBinaryTreeNode *pLastVisited = nullptr;
    while (pNode || !stack.isEmpty()) {
        if (pNode) {
            if (!stack.push(pNode)) {
                return;
            }
            pNode = pNode->getLeft();
            continue;
        }
        HBinaryTreeNode *pTop = stack.top();
        if (pTop->getRight() && pTop->getRight() != pLastVisited) {
            pNode = pTop->getRight();
        } else {
            pVisit(pTop->getElement(), pArgument);
            pLastVisited = stack.pop();
        }
    }
}

void HBinaryTree::m_placeNode(HBinaryTreeNode *pNode)
{
    if (!m_pRoot) {
        m_pRoot = pNode;
        return;
    }
    HBinaryTreeNode *pAt = m_pRoot;
    for (;;) {
        // Without a compare function nothing can be ordered; hanging the
        // node at the far right at least keeps every element in the tree.
        const int c = m_pCompare ? m_pCompare(pAt->getElement(), pNode->getElement(), m_pUserData) : 1;
        if (c < 0) {
            if (!pAt->getLeft()) {
                pAt->setLeft(pNode);
                return;
            }
            pAt = pAt->getLeft();
        } else {
            if (!pAt->getRight()) {
                pAt->setRight(pNode);
                return;
            }
            pAt = pAt->getRight();
        }
    }
}

int HBinaryTree::insert(void *pElement)
{
    if (!m_pCompare) {
        return HC_REFUSED;
    }
    HBinaryTreeNode *pNew = createNode();
    if (!pNew) {
        return HC_REFUSED;
    }
    pNew->setElement(pElement);
    if (!m_pRoot) {
        m_pRoot = pNew;
        return HC_DONE;
    }
    HBinaryTreeNode *pAt = m_pRoot;
    for (;;) {
        if (pAt->getElement() == pElement) {
            delete pNew;
            return HC_DUPLICATE;
        }
        const int c = m_pCompare(pAt->getElement(), pElement, m_pUserData);
        HBinaryTreeNode *pNext = (c < 0) ? pAt->getLeft() : pAt->getRight();
        if (!pNext) {
            if (c < 0) {
                pAt->setLeft(pNew);
            } else {
                pAt->setRight(pNew);
            }
            return HC_DONE;
        }
        pAt = pNext;
    }
}

HBinaryTreeNode *HBinaryTree::m_findNode(void *pElement, HBinaryTreeNode **ppParent) const
{
    *ppParent = nullptr;
    if (!m_pRoot) {
        return nullptr;
    }

    // Where insert put it, as long as the compare function is consistent.
    if (m_pCompare) {
        HBinaryTreeNode *pParent = nullptr;
        HBinaryTreeNode *pAt = m_pRoot;
        while (pAt) {
            if (pAt->getElement() == pElement) {
                *ppParent = pParent;
                return pAt;
            }
            const int c = m_pCompare(pAt->getElement(), pElement, m_pUserData);
            pParent = pAt;
            pAt = (c < 0) ? pAt->getLeft() : pAt->getRight();
        }
    }

    // Otherwise anywhere: the match is by identity, not by order.
    NodeStack<NodeAndParent> stack;
    stack.push(NodeAndParent{ m_pRoot, nullptr });
    while (!stack.isEmpty()) {
        const NodeAndParent item = stack.pop();
        if (item.pNode->getElement() == pElement) {
            *ppParent = item.pParent;
            return item.pNode;
        }
        if (item.pNode->getRight() && !stack.push(NodeAndParent{ item.pNode->getRight(), item.pNode })) {
            return nullptr;
        }
        if (item.pNode->getLeft() && !stack.push(NodeAndParent{ item.pNode->getLeft(), item.pNode })) {
            return nullptr;
        }
    }
    return nullptr;
}

int HBinaryTree::remove(void *pElement)
{
    HBinaryTreeNode *pParent = nullptr;
    HBinaryTreeNode *pNode = m_findNode(pElement, &pParent);
    if (!pNode) {
        return HC_NOT_FOUND;
    }

    // The left child takes the node's place; the right subtree is hung
    // again from the root, whole.
    HBinaryTreeNode *pLeft = pNode->getLeft();
    HBinaryTreeNode *pRight = pNode->getRight();
    HBinaryTreeNode *pReplacement = pLeft ? pLeft : pRight;
    if (!pParent) {
        m_pRoot = pReplacement;
    } else if (pParent->getLeft() == pNode) {
        pParent->setLeft(pReplacement);
    } else {
        pParent->setRight(pReplacement);
    }
    if (pLeft && pRight) {
        m_placeNode(pRight);
    }

    pNode->setLeft(nullptr);
    pNode->setRight(nullptr);
    pNode->setElement(nullptr);
    delete pNode;
    return HC_DONE;
}

void *HBinaryTree::find(void *pKey) const
{
    if (!m_pCompare) {
        return nullptr;
    }
    HBinaryTreeNode *pAt = m_pRoot;
    while (pAt) {
        const int c = m_pCompare(pAt->getElement(), pKey, m_pUserData);
        if (c == 0) {
            return pAt->getElement();
        }
        pAt = (c < 0) ? pAt->getLeft() : pAt->getRight();
    }
    return nullptr;
}

HBinaryTreeNode *HBinaryTree::createNode()
{
    return new (std::nothrow) HBinaryTreeNode;
}
