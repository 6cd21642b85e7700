#include <gtest/gtest.h>

#include "HDirtyRectList.h"

static void expectRect(const HRect *r, int left, int top, int right, int bottom)
{
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->left, left);
    EXPECT_EQ(r->top, top);
    EXPECT_EQ(r->right, right);
    EXPECT_EQ(r->bottom, bottom);
}

static void add(HDirtyRectList &list, int left, int top, int right, int bottom)
{
    HRect r = { left, top, right, bottom };
    list.addRectRecord(r);
}

TEST(DirtyRectList, FullScreenSwallowsEverythingInside)
{
    HDirtyRectList list;
    list.addRect(0, 0, 480, 640); // top, left, bottom, right
    ASSERT_EQ(list.getCount(), 1);
    expectRect(list.getRect(0), 0, 0, 640, 480);
    add(list, 10, 10, 20, 20);
    add(list, 0, 0, 640, 480);
    EXPECT_EQ(list.getCount(), 1);
    EXPECT_EQ(list.getArea(), 640 * 480);
}

TEST(DirtyRectList, TouchingCountsAsOverlap)
{
    HDirtyRectList edge;
    add(edge, 0, 0, 10, 10);
    add(edge, 10, 0, 20, 10);
    ASSERT_EQ(edge.getCount(), 1);
    expectRect(edge.getRect(0), 0, 0, 20, 10);

    HDirtyRectList corner;
    add(corner, 0, 0, 10, 10);
    add(corner, 10, 10, 20, 20);
    ASSERT_EQ(corner.getCount(), 1);
    expectRect(corner.getRect(0), 0, 0, 20, 20);

    HDirtyRectList apart;
    add(apart, 0, 0, 10, 10);
    add(apart, 20, 0, 30, 10);
    EXPECT_EQ(apart.getCount(), 2);
    add(apart, 5, 0, 25, 10);
    ASSERT_EQ(apart.getCount(), 1);
    expectRect(apart.getRect(0), 0, 0, 30, 10);
}

TEST(DirtyRectList, GrowthRestartsTheWalk)
{
    HDirtyRectList list;
    add(list, 0, 0, 10, 10);      // will only be reached after the growth
    add(list, 100, 0, 110, 10);
    add(list, 5, 50, 60, 60);
    ASSERT_EQ(list.getCount(), 3);
    // Meets the last two only; growing left over the third reaches the first.
    add(list, 11, 0, 105, 55);
    ASSERT_EQ(list.getCount(), 1);
    expectRect(list.getRect(0), 0, 0, 110, 60);
}

TEST(DirtyRectList, StoredRectanglesStayDisjointAndKeepOrder)
{
    HDirtyRectList list;
    add(list, 0, 0, 5, 5);
    add(list, 100, 100, 105, 105);
    add(list, 200, 200, 205, 205);
    add(list, 99, 99, 101, 101); // merges the middle one, appended last
    ASSERT_EQ(list.getCount(), 3);
    expectRect(list.getRect(0), 0, 0, 5, 5);
    expectRect(list.getRect(1), 200, 200, 205, 205);
    expectRect(list.getRect(2), 99, 99, 105, 105);
    for (int i = 0; i < list.getCount(); i++) {
        for (int j = i + 1; j < list.getCount(); j++) {
            const HRect *a = list.getRect(i), *b = list.getRect(j);
            const bool meet = a->left <= b->right && b->left <= a->right && a->top <= b->bottom && b->top <= a->bottom;
            EXPECT_FALSE(meet);
        }
    }
}

TEST(DirtyRectList, ReversedAndEmpty)
{
    HDirtyRectList list;
    list.addRect(10, 10, 0, 0);
    ASSERT_EQ(list.getCount(), 1);
    expectRect(list.getRect(0), 0, 0, 10, 10);
    list.addRect(50, 50, 50, 80);  // zero height
    list.addRect(50, 50, 90, 50);  // zero width
    EXPECT_EQ(list.getCount(), 1);
    list.clear();
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_EQ(list.getArea(), 0);
}

TEST(DirtyRectList, CapOf512)
{
    HDirtyRectList list;
    for (int i = 0; i < 512; i++) {
        const int x = (i % 32) * 20, y = (i / 32) * 20;
        add(list, x, y, x + 10, y + 10);
    }
    ASSERT_EQ(list.getCount(), 512);
    add(list, 0, 0, 15, 15); // would merge, but the list is full
    EXPECT_EQ(list.getCount(), 512);
    expectRect(list.getRect(0), 0, 0, 10, 10);
    EXPECT_EQ(list.getArea(), 512 * 100);
}

TEST(DirtyRectList, Area)
{
    HDirtyRectList list;
    add(list, 0, 0, 10, 10);
    add(list, 20, 20, 30, 25);
    EXPECT_EQ(list.getArea(), 150);
    EXPECT_EQ(list.getRects(), list.getRect(0));
    // Far larger than any screen: the sum saturates instead of wrapping.
    HDirtyRectList huge;
    add(huge, -2000000000, -2000000000, 2000000000, 2000000000);
    EXPECT_EQ(huge.getArea(), 2147483647);
}
