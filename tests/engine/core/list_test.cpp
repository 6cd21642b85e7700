#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HInteger.h"
#include "HListNode.h"
#include "HObjectList.h"
#include "HObjectStack.h"

namespace {

// Registers a name of its own, so a typed list of its base refuses it.
class TestTagged : public HInteger {
public:
    const HClassInfo *getClassInfo() const override { return &sm_classInfo; }
    static HClassInfo sm_classInfo;
};
HClassInfo TestTagged::sm_classInfo("TestTagged", "HInteger");

// No record of its own: passes as an HInteger.
class TestPlain : public HInteger {
};

// Elements from head to tail, checking the back links on the way.
std::vector<HObject *> contents(const HObjectList &list)
{
    std::vector<HObject *> result;
    const HListNode *pPrev = nullptr;
    for (HListNode *pNode = list.getHead(); pNode; pNode = list.getNext(pNode)) {
        EXPECT_EQ(list.getPrev(pNode), pPrev);
        result.push_back(pNode->getObject());
        pPrev = pNode;
    }
    EXPECT_EQ(list.getTail(), pPrev);
    return result;
}

} // namespace

TEST(ObjectList, UntypedListTakesEveryClass)
{
    HObjectList list(nullptr);
    EXPECT_STREQ(list.getTypeName(), "(any)");
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.getHead(), nullptr);
    EXPECT_EQ(list.getTail(), nullptr);

    HObject a;
    HInteger b;
    HObjectList c;
    EXPECT_EQ(list.addFront(&a), HC_DONE);
    EXPECT_EQ(list.addFront(&b), HC_DONE);
    EXPECT_EQ(list.addFront(&c), HC_DONE);
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &c, &b, &a }));
    EXPECT_FALSE(list.isEmpty());
    list.removeAll();
}

TEST(ObjectList, TypedListChecksTheClassName)
{
    for (const char *szType : { "HInteger", "hinteger", "HINTEGER" }) {
        HObjectList list(szType);
        HInteger integer;
        TestPlain plain;
        TestTagged tagged;
        HObjectList other;

        EXPECT_EQ(list.addFront(&integer), HC_DONE) << szType;
        EXPECT_EQ(list.addFront(&plain), HC_DONE) << szType;
        EXPECT_EQ(list.addFront(&tagged), HC_REFUSED) << szType;
        EXPECT_EQ(list.addFront(&other), HC_REFUSED) << szType;
        EXPECT_EQ(contents(list), (std::vector<HObject *>{ &plain, &integer }));

        // append trusts its caller.
        EXPECT_EQ(list.append(&other), HC_DONE);
        EXPECT_EQ(contents(list), (std::vector<HObject *>{ &plain, &integer, &other }));
        list.removeAll();
    }
}

TEST(ObjectList, NullIsRefused)
{
    HObjectList typed("HInteger");
    HObjectList untyped;
    EXPECT_EQ(typed.addFront(nullptr), HC_REFUSED);
    EXPECT_EQ(untyped.addFront(nullptr), HC_REFUSED);
    EXPECT_EQ(untyped.append(nullptr), HC_REFUSED);
    EXPECT_TRUE(typed.isEmpty());
    EXPECT_TRUE(untyped.isEmpty());
}

TEST(ObjectList, TypeNameIsBoundedAndChangeable)
{
    const std::string longName(100, 'Q');
    HObjectList list(longName.c_str());
    EXPECT_EQ(std::string(list.getTypeName()), longName.substr(0, 63));

    HInteger value;
    EXPECT_EQ(list.addFront(&value), HC_REFUSED);
    list.setTypeName("HInteger");
    EXPECT_STREQ(list.getTypeName(), "HInteger");
    EXPECT_EQ(list.addFront(&value), HC_DONE);
    list.setTypeName(nullptr);
    EXPECT_STREQ(list.getTypeName(), "(any)");
    list.removeAll();
}

TEST(ObjectList, RemoveDeletesTheFirstMatchAndReturnsItsSuccessor)
{
    HObjectList list;
    HObject a, b, c;
    list.append(&a);
    list.append(&b);
    list.append(&a);
    list.append(&c);

    // The node nearer the head goes; the successor comes back.
    HListNode *pNext = list.remove(&a);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(pNext->getObject(), &b);
    EXPECT_EQ(pNext, list.getHead());
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &b, &a, &c }));

    // Removing from the middle.
    pNext = list.remove(&a);
    ASSERT_NE(pNext, nullptr);
    EXPECT_EQ(pNext->getObject(), &c);
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &b, &c }));

    // Not in the list: nothing changes.
    HObject stranger;
    EXPECT_EQ(list.remove(&stranger), nullptr);
    EXPECT_EQ(list.remove(nullptr), nullptr);
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &b, &c }));

    // The tail has no successor.
    EXPECT_EQ(list.remove(&c), nullptr);
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &b }));
    EXPECT_EQ(list.remove(&b), nullptr);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.getHead(), nullptr);
}

TEST(ObjectList, RemoveWhileWalking)
{
    HObjectList list;
    HInteger values[6];
    for (int i = 0; i < 6; i++) {
        values[i].setValue(i);
        list.append(&values[i]);
    }
    // Drop the even ones in one pass.
    HListNode *pNode = list.getHead();
    while (pNode) {
        HInteger *pValue = static_cast<HInteger *>(pNode->getObject());
        pNode = (pValue->getValue() % 2 == 0) ? list.remove(pValue) : list.getNext(pNode);
    }
    EXPECT_EQ(contents(list), (std::vector<HObject *>{ &values[1], &values[3], &values[5] }));
    list.removeAll();
}

TEST(ObjectList, NullNodesAndRemoveAll)
{
    HObjectList list;
    EXPECT_EQ(list.getNext(nullptr), nullptr);
    EXPECT_EQ(list.getPrev(nullptr), nullptr);
    list.removeAll();
    EXPECT_TRUE(list.isEmpty());

    // Elements outlive removeAll and the list itself (ASan would see a delete).
    HInteger *pValue = new HInteger(5);
    {
        HObjectList scoped;
        scoped.addFront(pValue);
        scoped.addFront(pValue);
        scoped.removeAll();
        EXPECT_TRUE(scoped.isEmpty());
        scoped.addFront(pValue);
    }
    EXPECT_EQ(pValue->getValue(), 5);
    delete pValue;
}

TEST(ObjectStack, PushPeekPop)
{
    HObjectStack stack(nullptr);
    EXPECT_STREQ(stack.getTypeName(), "(any)");
    EXPECT_STREQ(stack.getClassName(), "HObjectStack");
    HObject a, b;

    EXPECT_EQ(stack.push(&a), HC_DONE);
    EXPECT_EQ(stack.push(&b), HC_DONE);
    EXPECT_EQ(stack.getCount(), 2);
    EXPECT_EQ(stack.peek(0), &b);
    EXPECT_EQ(stack.peek(1), &a);
    EXPECT_EQ(stack.peek(-3), &b);
    EXPECT_EQ(stack.peek(2), nullptr);
    EXPECT_EQ(stack.peek(1000), nullptr);

    EXPECT_EQ(stack.pop(), &b);
    EXPECT_EQ(stack.getCount(), 1);
    EXPECT_EQ(stack.pop(), &a);
    EXPECT_EQ(stack.getCount(), 0);
}

TEST(ObjectStack, EmptyStackGivesNull)
{
    HObjectStack stack;
    EXPECT_EQ(stack.pop(), nullptr);
    EXPECT_EQ(stack.peek(0), nullptr);
    EXPECT_EQ(stack.peek(-1), nullptr);
    EXPECT_EQ(stack.getCount(), 0);

    HObject a;
    stack.push(&a);
    EXPECT_EQ(stack.pop(), &a);
    EXPECT_EQ(stack.pop(), nullptr);
    EXPECT_EQ(stack.peek(0), nullptr);
}

TEST(ObjectStack, RefusalsLeaveTheStackAlone)
{
    HObjectStack stack("HInteger");
    HInteger value;
    HObject other;
    EXPECT_EQ(stack.push(nullptr), HC_REFUSED);
    EXPECT_EQ(stack.push(&other), HC_REFUSED);
    EXPECT_EQ(stack.getCount(), 0);
    EXPECT_EQ(stack.push(&value), HC_DONE);

    stack.setTypeName("hobject");
    EXPECT_STREQ(stack.getTypeName(), "hobject");
    EXPECT_EQ(stack.push(&value), HC_REFUSED);
    EXPECT_EQ(stack.push(&other), HC_DONE);
    EXPECT_EQ(stack.getCount(), 2);
    EXPECT_EQ(stack.peek(0), &other);
    EXPECT_EQ(stack.peek(1), &value);
    // The stack is destroyed holding both: its nodes go, the elements stay.
}
