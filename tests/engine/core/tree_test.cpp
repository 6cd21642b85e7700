// HBinaryTree: ordering, duplicates, removal with re-hanging of subtrees,
// walks, deep (degenerate) trees and a long randomized run against std::map.
#include <gtest/gtest.h>

#include "HBinaryTree.h"
#include "HClassInfo.h"

#include <pthread.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <vector>

namespace {

// The classic a - b, safe for the small values used here.
int s_compareMinus(void *pNodeElement, void *pOther, void *pUserData)
{
    if (pUserData) {
        ++*static_cast<int *>(pUserData);
    }
    return *static_cast<int *>(pNodeElement) - *static_cast<int *>(pOther);
}

// Same order without overflow, for the randomized runs.
int s_compareSign(void *pNodeElement, void *pOther, void *)
{
    const int a = *static_cast<int *>(pNodeElement);
    const int b = *static_cast<int *>(pOther);
    return (a > b) - (a < b);
}

void s_collect(void *pElement, void *pArgument)
{
    static_cast<std::vector<int> *>(pArgument)->push_back(*static_cast<int *>(pElement));
}

void s_collectPointers(void *pElement, void *pArgument)
{
    static_cast<std::vector<void *> *>(pArgument)->push_back(pElement);
}

std::vector<int> s_inOrder(const HBinaryTree &tree)
{
    std::vector<int> v;
    tree.walkInOrder(s_collect, &v);
    return v;
}

std::vector<int> s_preOrder(const HBinaryTree &tree)
{
    std::vector<int> v;
    tree.walkPreOrder(s_collect, &v);
    return v;
}

std::vector<int> s_postOrder(const HBinaryTree &tree)
{
    std::vector<int> v;
    tree.walkPostOrder(s_collect, &v);
    return v;
}

// Counts the nodes that subclass trees make and free.
int g_iLiveNodes = 0;

class CountedNode : public HBinaryTreeNode {
public:
    CountedNode() { g_iLiveNodes++; }
    ~CountedNode() override { g_iLiveNodes--; }
};

class CountingTree : public HBinaryTree {
public:
    HBinaryTreeNode *createNode() override { return new CountedNode; }
};

} // namespace

TEST(BinaryTree, ClassRecords)
{
    HBinaryTree tree;
    EXPECT_STREQ(tree.getClassName(), "HBinaryTree");
    EXPECT_STREQ(tree.getParentClassName(), "HObject");
    EXPECT_EQ(findClassInfo("hbinarytree"), &HBinaryTree::sm_classInfo);
    HBinaryTreeNode node;
    EXPECT_STREQ(node.getClassName(), "HContainerNode");
    EXPECT_EQ(node.getLeft(), nullptr);
    EXPECT_EQ(node.getRight(), nullptr);
    EXPECT_EQ(node.getElement(), nullptr);
}

TEST(BinaryTree, WalkOrdersWithMinusCompare)
{
    int a = 5, b = 3, c = 8;
    int iCalls = 0;
    HBinaryTree tree;
    EXPECT_TRUE(tree.setCompare(s_compareMinus, &iCalls));
    EXPECT_EQ(tree.insert(&a), HC_DONE);
    EXPECT_EQ(tree.insert(&b), HC_DONE);
    EXPECT_EQ(tree.insert(&c), HC_DONE);
    EXPECT_EQ(iCalls, 2);                       // user data reaches the compare

    EXPECT_EQ(s_inOrder(tree), (std::vector<int>{ 8, 5, 3 }));
    EXPECT_EQ(s_preOrder(tree), (std::vector<int>{ 5, 8, 3 }));
    EXPECT_EQ(s_postOrder(tree), (std::vector<int>{ 8, 3, 5 }));

    // Larger elements sit to the left.
    ASSERT_NE(tree.getRoot(), nullptr);
    EXPECT_EQ(tree.getRoot()->getElement(), &a);
    EXPECT_EQ(tree.getRoot()->getLeft()->getElement(), &c);
    EXPECT_EQ(tree.getRoot()->getRight()->getElement(), &b);

    int key = 3;
    EXPECT_EQ(tree.find(&key), &b);
    key = 8;
    EXPECT_EQ(tree.find(&key), &c);
    key = 4;
    EXPECT_EQ(tree.find(&key), nullptr);
}

TEST(BinaryTree, EmptyTreeAndMissingCompare)
{
    HBinaryTree tree;
    int x = 1;
    // Without a compare function nothing is placed or searched.
    EXPECT_EQ(tree.insert(&x), HC_REFUSED);
    EXPECT_EQ(tree.find(&x), nullptr);
    EXPECT_EQ(tree.getRoot(), nullptr);

    tree.setCompare(s_compareSign, nullptr);
    EXPECT_EQ(tree.find(&x), nullptr);
    EXPECT_EQ(tree.remove(&x), HC_NOT_FOUND);
    EXPECT_TRUE(s_inOrder(tree).empty());
    EXPECT_TRUE(s_preOrder(tree).empty());
    EXPECT_TRUE(s_postOrder(tree).empty());
    tree.removeAll();
    tree.walkInOrder(nullptr, nullptr);         // no visitor: nothing to do
    EXPECT_EQ(tree.getRoot(), nullptr);
}

TEST(BinaryTree, DuplicatePointersRefusedEqualValuesKept)
{
    CountingTree tree;
    tree.setCompare(s_compareSign, nullptr);
    int a = 7, b = 7, c = 2;
    EXPECT_EQ(tree.insert(&a), HC_DONE);
    EXPECT_EQ(tree.insert(&a), HC_DUPLICATE);
    EXPECT_EQ(g_iLiveNodes, 1);                 // the refused node was freed
    EXPECT_EQ(tree.insert(&c), HC_DONE);
    EXPECT_EQ(tree.insert(&c), HC_DUPLICATE);
    EXPECT_EQ(tree.insert(&b), HC_DONE);        // equal value, other pointer
    EXPECT_EQ(g_iLiveNodes, 3);

    // Ties go right: b hangs on a's right, beside the smaller c.
    ASSERT_NE(tree.getRoot()->getRight(), nullptr);
    std::vector<void *> pointers;
    tree.walkInOrder(s_collectPointers, &pointers);
    EXPECT_EQ(pointers, (std::vector<void *>{ &a, &b, &c }));

    int key = 7;
    EXPECT_EQ(tree.find(&key), &a);             // the first on the path
    EXPECT_EQ(tree.remove(&a), HC_DONE);
    EXPECT_EQ(tree.find(&key), &b);
    EXPECT_EQ(tree.remove(&a), HC_NOT_FOUND);
    EXPECT_EQ(g_iLiveNodes, 2);
    tree.removeAll();
    EXPECT_EQ(g_iLiveNodes, 0);
    EXPECT_EQ(tree.getRoot(), nullptr);
}

TEST(BinaryTree, RemoveRootAndInnerNodes)
{
    {
        HBinaryTree tree;
        tree.setCompare(s_compareSign, nullptr);
        int only = 1;
        tree.insert(&only);
        EXPECT_EQ(tree.remove(&only), HC_DONE);
        EXPECT_EQ(tree.getRoot(), nullptr);
        EXPECT_EQ(only, 1);                     // elements are never touched
    }

    int values[] = { 50, 30, 70, 20, 40, 60, 80, 35, 45, 65 };
    const int n = sizeof(values) / sizeof(values[0]);
    for (int victim = 0; victim < n; victim++) {
        HBinaryTree tree;
        tree.setCompare(s_compareSign, nullptr);
        for (int &v : values) {
            ASSERT_EQ(tree.insert(&v), HC_DONE);
        }
        ASSERT_EQ(tree.remove(&values[victim]), HC_DONE);
        EXPECT_EQ(tree.remove(&values[victim]), HC_NOT_FOUND);
        // Every other element is still there and still findable; the walk
        // is still sorted from the largest down.
        std::vector<int> expect;
        for (int i = 0; i < n; i++) {
            if (i != victim) {
                expect.push_back(values[i]);
                int key = values[i];
                EXPECT_EQ(tree.find(&key), &values[i]) << "after removing " << values[victim];
            }
        }
        std::sort(expect.rbegin(), expect.rend());
        EXPECT_EQ(s_inOrder(tree), expect) << "after removing " << values[victim];
    }
}

TEST(BinaryTree, RemoveWithTwoChildrenRehangsRightSubtree)
{
    // Root 50 with left 70 (larger) and right 30: removing 50 lifts 70 and
    // hangs 30's subtree below the smallest of 70's side.
    int v50 = 50, v70 = 70, v30 = 30, v60 = 60, v20 = 20;
    HBinaryTree tree;
    tree.setCompare(s_compareSign, nullptr);
    for (int *p : { &v50, &v70, &v30, &v60, &v20 }) {
        tree.insert(p);
    }
    ASSERT_EQ(tree.remove(&v50), HC_DONE);
    HBinaryTreeNode *pRoot = tree.getRoot();
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->getElement(), &v70);
    ASSERT_NE(pRoot->getRight(), nullptr);
    EXPECT_EQ(pRoot->getRight()->getElement(), &v60);
    ASSERT_NE(pRoot->getRight()->getRight(), nullptr);
    EXPECT_EQ(pRoot->getRight()->getRight()->getElement(), &v30);
    EXPECT_EQ(pRoot->getRight()->getRight()->getRight()->getElement(), &v20);
    EXPECT_EQ(s_inOrder(tree), (std::vector<int>{ 70, 60, 30, 20 }));
}

TEST(BinaryTree, RemoveFindsPointerOffTheSearchPath)
{
    // A compare that changes its mind after the insert strands an element
    // off its search path; remove still finds it by identity.
    int iFlip = 1;
    auto compare = [](void *a, void *b, void *u) -> int {
        const int s = *static_cast<int *>(u);
        return s * ((*static_cast<int *>(a) > *static_cast<int *>(b)) - (*static_cast<int *>(a) < *static_cast<int *>(b)));
    };
    int x = 1, y = 2, z = 3;
    HBinaryTree tree;
    tree.setCompare(compare, &iFlip);
    tree.insert(&y);
    tree.insert(&x);
    tree.insert(&z);
    iFlip = -1;
    EXPECT_EQ(tree.remove(&x), HC_DONE);
    EXPECT_EQ(tree.remove(&z), HC_DONE);
    EXPECT_EQ(tree.remove(&y), HC_DONE);
    EXPECT_EQ(tree.getRoot(), nullptr);
}

namespace {

struct DeepWork {
    HBinaryTree *       pTree;
    std::vector<int>    inOrder;
    std::vector<int>    preOrder;
    std::vector<int>    postOrder;
    int                 iRemoveResult;
    int *               pDeepest;
};

void *s_deepWalks(void *pArg)
{
    DeepWork *pWork = static_cast<DeepWork *>(pArg);
    pWork->pTree->walkInOrder(s_collect, &pWork->inOrder);
    pWork->pTree->walkPreOrder(s_collect, &pWork->preOrder);
    pWork->pTree->walkPostOrder(s_collect, &pWork->postOrder);
    pWork->iRemoveResult = pWork->pTree->remove(pWork->pDeepest);
    pWork->pTree->removeAll();
    return nullptr;
}

} // namespace

TEST(BinaryTree, DegenerateTreeNeedsNoDeepStack)
{
    // Sorted input makes a chain as deep as the tree is big. The walks,
    // the search and removeAll run on a 256 KB stack, far too small for one
    // call frame per level.
    const int n = 20000;
    std::vector<int> values(n);
    CountingTree tree;
    tree.setCompare(s_compareSign, nullptr);
    for (int i = 0; i < n; i++) {
        values[i] = i;
        ASSERT_EQ(tree.insert(&values[i]), HC_DONE);
    }
    ASSERT_EQ(g_iLiveNodes, n);

    DeepWork work;
    work.pTree = &tree;
    work.iRemoveResult = -1;
    work.pDeepest = &values[n - 1];

    pthread_attr_t attr;
    pthread_attr_init(&attr);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 256 * 1024), 0);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, s_deepWalks, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);

    ASSERT_EQ((int)work.inOrder.size(), n);
    EXPECT_EQ(work.inOrder.front(), n - 1);     // largest first
    EXPECT_EQ(work.inOrder.back(), 0);
    EXPECT_TRUE(std::is_sorted(work.inOrder.rbegin(), work.inOrder.rend()));
    EXPECT_EQ(work.preOrder.front(), 0);        // the first insert is the root
    EXPECT_EQ(work.postOrder.front(), n - 1);
    EXPECT_EQ(work.postOrder.back(), 0);
    EXPECT_EQ(work.iRemoveResult, HC_DONE);
    EXPECT_EQ(tree.getRoot(), nullptr);
    EXPECT_EQ(g_iLiveNodes, 0);
}

TEST(BinaryTree, DestructorFreesNodes)
{
    int values[100];
    {
        CountingTree tree;
        tree.setCompare(s_compareSign, nullptr);
        for (int i = 0; i < 100; i++) {
            values[i] = (i * 37) % 100;
            tree.insert(&values[i]);
        }
        EXPECT_EQ(g_iLiveNodes, 100);
    }
    EXPECT_EQ(g_iLiveNodes, 0);
}

TEST(BinaryTree, RandomizedAgainstStdMap)
{
    // Distinct values: the tree must behave as a map from value to pointer.
    const int kPool = 1500;
    std::vector<int> pool(kPool);
    for (int i = 0; i < kPool; i++) {
        pool[i] = i * 3 - 2000;
    }
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> pick(0, kPool - 1);
    std::uniform_int_distribution<int> op(0, 99);

    CountingTree tree;
    tree.setCompare(s_compareSign, nullptr);
    std::map<int, int *> model;

    for (int step = 0; step < 200000; step++) {
        const int i = pick(rng);
        const int o = op(rng);
        if (o < 45) {
            const int expect = model.count(pool[i]) ? HC_DUPLICATE : HC_DONE;
            ASSERT_EQ(tree.insert(&pool[i]), expect) << "step " << step;
            model[pool[i]] = &pool[i];
        } else if (o < 80) {
            const int expect = model.count(pool[i]) ? HC_DONE : HC_NOT_FOUND;
            ASSERT_EQ(tree.remove(&pool[i]), expect) << "step " << step;
            model.erase(pool[i]);
        } else if (o < 99) {
            int key = pool[i] + (o & 1);        // half the keys are absent values
            auto it = model.find(key);
            ASSERT_EQ(tree.find(&key), it == model.end() ? nullptr : it->second) << "step " << step;
        } else {
            std::vector<int> expect;
            for (auto it = model.rbegin(); it != model.rend(); ++it) {
                expect.push_back(it->first);
            }
            ASSERT_EQ(s_inOrder(tree), expect) << "step " << step;
            ASSERT_EQ(g_iLiveNodes, (int)model.size());
        }
        if (step == 150000) {
            tree.removeAll();
            model.clear();
            ASSERT_EQ(g_iLiveNodes, 0);
        }
    }
}

TEST(BinaryTree, RandomizedWithEqualValuesAgainstMultimap)
{
    // Many pointers share a value: ties go right and removal re-hangs
    // subtrees, yet no element may be lost and the order must hold.
    const int kPool = 600;
    std::vector<int> pool(kPool);
    for (int i = 0; i < kPool; i++) {
        pool[i] = i % 40;
    }
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> pick(0, kPool - 1);
    std::uniform_int_distribution<int> op(0, 9);

    HBinaryTree tree;
    tree.setCompare(s_compareSign, nullptr);
    std::set<int *> present;
    std::multimap<int, int *> model;

    for (int step = 0; step < 60000; step++) {
        int *p = &pool[pick(rng)];
        const int o = op(rng);
        if (o < 5) {
            const bool bHad = present.count(p) != 0;
            ASSERT_EQ(tree.insert(p), bHad ? HC_DUPLICATE : HC_DONE);
            if (!bHad) {
                present.insert(p);
                model.emplace(*p, p);
            }
        } else if (o < 9) {
            const bool bHad = present.count(p) != 0;
            ASSERT_EQ(tree.remove(p), bHad ? HC_DONE : HC_NOT_FOUND);
            if (bHad) {
                present.erase(p);
                for (auto it = model.lower_bound(*p); it != model.end(); ++it) {
                    if (it->second == p) {
                        model.erase(it);
                        break;
                    }
                }
            }
        } else {
            int key = *p;
            void *pFound = tree.find(&key);
            if (model.count(key)) {
                ASSERT_NE(pFound, nullptr);
                ASSERT_EQ(*static_cast<int *>(pFound), key);
                ASSERT_TRUE(present.count(static_cast<int *>(pFound)));
            } else {
                ASSERT_EQ(pFound, nullptr);
            }
        }
        if (step % 1000 == 0) {
            std::vector<void *> pointers;
            tree.walkInOrder(s_collectPointers, &pointers);
            ASSERT_EQ(pointers.size(), present.size());
            ASSERT_EQ(std::set<void *>(pointers.begin(), pointers.end()),
                      std::set<void *>(present.begin(), present.end()));
            std::vector<int> values;
            for (void *q : pointers) {
                values.push_back(*static_cast<int *>(q));
            }
            ASSERT_TRUE(std::is_sorted(values.rbegin(), values.rend()));
        }
    }
}
