// HHeap: bump allocation over a caller's block, exhaustion at the end,
// reuse after reset, the level rule and rebinding.
#include <gtest/gtest.h>

#include "HHeap.h"
#include "message_hook.h"

#include <stdint.h>

#include <string>
#include <vector>

namespace {

class HeapTest : public ::testing::Test {
protected:
    // Answers and records every box; the hook before comes back afterwards.
    ScopedMessageHook m_hook;

    uint8_t m_block[100];
};

} // namespace

TEST_F(HeapTest, FreshHeapHasNoBlock)
{
    HHeap heap;
    size_t uSize = 1, uUsed = 1;
    EXPECT_EQ(heap.getInfo(&uSize, &uUsed), nullptr);
    EXPECT_EQ(uSize, 0u);
    EXPECT_EQ(uUsed, 0u);
    EXPECT_EQ(heap.getTag(), 0);
    EXPECT_EQ(heap.alloc(nullptr, 0, 0), nullptr);
    EXPECT_EQ(heap.alloc(nullptr, 1, 0), nullptr);
    EXPECT_TRUE(m_hook.boxes().empty());
}

TEST_F(HeapTest, ExhaustionAtTheEndOfTheBlock)
{
    HHeap heap;
    heap.setHeap(m_block, sizeof(m_block), 3);
    EXPECT_EQ(heap.getTag(), 3);

    EXPECT_EQ(heap.alloc(nullptr, 60, 0), m_block);
    // 60 + 40 would end exactly at the end: refused, cursor unmoved.
    EXPECT_EQ(heap.alloc(nullptr, 40, 0), nullptr);
    EXPECT_EQ(heap.alloc(nullptr, 39, 0), m_block + 60);
    size_t uSize = 0, uUsed = 0;
    EXPECT_EQ(heap.getInfo(&uSize, &uUsed), m_block);
    EXPECT_EQ(uSize, 100u);
    EXPECT_EQ(uUsed, 99u);
    EXPECT_EQ(heap.alloc(nullptr, 1, 0), nullptr);
    // A request large enough to wrap the address space is refused too.
    EXPECT_EQ(heap.alloc(nullptr, SIZE_MAX, 0), nullptr);
    EXPECT_EQ(heap.alloc(nullptr, SIZE_MAX - 50, 0), nullptr);
    heap.getInfo(nullptr, &uUsed);
    EXPECT_EQ(uUsed, 99u);

    // Every byte handed out lies inside the block: write them all.
    heap.reset(3);
    uint8_t *p = static_cast<uint8_t *>(heap.alloc(nullptr, 99, 0));
    ASSERT_EQ(p, m_block);
    for (int i = 0; i < 99; i++) {
        p[i] = (uint8_t)i;
    }
}

TEST_F(HeapTest, ResetReusesTheBlock)
{
    HHeap heap;
    heap.setHeap(m_block, sizeof(m_block), 0);
    void *a = heap.alloc(nullptr, 30, 0);
    void *b = heap.alloc(nullptr, 30, 0);
    EXPECT_EQ(a, m_block);
    EXPECT_EQ(b, m_block + 30);
    EXPECT_EQ(heap.alloc(nullptr, 50, 0), nullptr);

    heap.reset(9);
    EXPECT_EQ(heap.getTag(), 9);
    EXPECT_EQ(heap.alloc(nullptr, 50, 0), m_block);
    size_t uUsed = 0;
    heap.getInfo(nullptr, &uUsed);
    EXPECT_EQ(uUsed, 50u);
    // No alignment: odd sizes follow on byte by byte.
    EXPECT_EQ(heap.alloc(nullptr, 3, 0), m_block + 50);
    EXPECT_EQ(heap.alloc(nullptr, 1, 0), m_block + 53);
}

TEST_F(HeapTest, ExistingPointerAboveTheTagIsKept)
{
    HHeap heap;
    heap.setHeap(m_block, sizeof(m_block), 5);
    int existing = 0;
    EXPECT_EQ(heap.alloc(&existing, 10, 6), &existing);
    size_t uUsed = 1;
    heap.getInfo(nullptr, &uUsed);
    EXPECT_EQ(uUsed, 0u);

    // At or below the tag, or with no existing pointer, it allocates.
    EXPECT_EQ(heap.alloc(&existing, 10, 5), m_block);
    EXPECT_EQ(heap.alloc(nullptr, 10, 6), m_block + 10);
    // Above the tag the existing pointer wins even when the block is full.
    EXPECT_EQ(heap.alloc(&existing, 1000, 6), &existing);
    EXPECT_EQ(heap.alloc(&existing, 1000, 5), nullptr);
}

TEST_F(HeapTest, RebindingAlertsAndStillRebinds)
{
    uint8_t other[20];
    HHeap heap;
    heap.setHeap(m_block, sizeof(m_block), 1);
    EXPECT_TRUE(m_hook.boxes().empty());
    heap.alloc(nullptr, 10, 0);

    heap.setHeap(other, sizeof(other), 2);
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].title, "Alert");
    EXPECT_EQ(m_hook.boxes()[0].text, "setHeap - already initialized");
    size_t uSize = 0, uUsed = 1;
    EXPECT_EQ(heap.getInfo(&uSize, &uUsed), other);
    EXPECT_EQ(uSize, 20u);
    EXPECT_EQ(uUsed, 0u);
    EXPECT_EQ(heap.getTag(), 2);
    EXPECT_EQ(heap.alloc(nullptr, 19, 0), other);

    // Unbinding (null block) is no rebind: no alert, and nothing to hand out.
    heap.setHeap(nullptr, 0, 0);
    EXPECT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(heap.alloc(nullptr, 0, 0), nullptr);
    // A null block that claims a size still hands out nothing.
    heap.setHeap(nullptr, 64, 0);
    EXPECT_EQ(heap.alloc(nullptr, 8, 0), nullptr);
    EXPECT_EQ(m_hook.boxes().size(), 1u);
}
