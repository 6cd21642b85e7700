#include <gtest/gtest.h>

#include "display_support.h"

class BlitTest : public testing::Test {
protected:
    void SetUp() override { use565(); }
};

static bool hasDirty(MemoryDisplay &d, int left, int top, int right, int bottom)
{
    HDirtyRectList &list = d.getDirtyRects();
    for (int i = 0; i < list.getCount(); i++) {
        const HRect *r = list.getRect(i);
        if (r->left == left && r->top == top && r->right == right && r->bottom == bottom) return true;
    }
    return false;
}

// A surface whose pixel at (x, y) is 100 * y + x, to see which pixel went where.
static H2DSurface16 *makeNumbered(int w, int h, bool masked)
{
    H2DSurface16 *s = makeSurface(w, h, 0, masked);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) s->getRow(y)[x] = (uint16_t)(100 * y + x + 1);
    return s;
}

TEST_F(BlitTest, OpaqueCopyAndDirty)
{
    MemoryDisplay d;
    H2DSurface16 *s = makeNumbered(8, 6, false);
    const HRect dst = { 10, 5, 14, 8 }, src = { 2, 1, 6, 4 };
    EXPECT_TRUE(d.blit(dst, src, s));
    EXPECT_EQ(d.pixel(10, 5), 100 * 1 + 2 + 1);
    EXPECT_EQ(d.pixel(13, 7), 100 * 3 + 5 + 1);
    EXPECT_EQ(d.pixel(14, 7), 0);
    EXPECT_EQ(d.pixel(9, 5), 0);
    EXPECT_EQ(d.pixel(10, 8), 0);
    EXPECT_TRUE(hasDirty(d, 10, 5, 14, 8));
    d.destroySurface(s);
}

TEST_F(BlitTest, MaskedCopyTakesOnly255)
{
    MemoryDisplay d;
    d.fill(0x0101);
    H2DSurface16 *s = makeSurface(20, 2, 0xF00F, true);
    uint8_t *mask = s->getMask();
    for (int i = 0; i < 40; i++) mask[i] = (i % 3 == 0) ? 255 : (i % 3 == 1 ? 254 : 0);
    const HRect dst = { 0, 0, 20, 2 }, src = { 0, 0, 20, 2 };
    d.blit(dst, src, s);
    for (int i = 0; i < 40; i++) {
        EXPECT_EQ(d.pixel(i % 20, i / 20), (i % 3 == 0) ? 0xF00F : 0x0101) << i;
    }
    // Partly skipped through the mask, still dirty as a whole.
    EXPECT_TRUE(hasDirty(d, 0, 0, 20, 2));

    d.getDirtyRects().clear();
    const HRect at = { 30, 30, 50, 32 };
    d.blitSurface(at, s);
    EXPECT_EQ(d.pixel(30, 30), 0xF00F);
    EXPECT_EQ(d.pixel(31, 30), 0x0101);
    EXPECT_TRUE(hasDirty(d, 30, 30, 50, 32));
    d.destroySurface(s);
}

TEST_F(BlitTest, BlendOfUnmaskedSurfaceIsAnOpaqueCopy)
{
    MemoryDisplay d;
    d.fill(0x0101);
    H2DSurface16 *s = makeSurface(4, 4, 0x7777, false);
    const HRect dst = { 1, 1, 5, 5 }, src = { 0, 0, 4, 4 };
    EXPECT_TRUE(d.blendBlit(dst, src, s, kStandardBlend));
    EXPECT_EQ(d.pixel(1, 1), 0x7777);
    EXPECT_EQ(d.pixel(4, 4), 0x7777);
    EXPECT_TRUE(hasDirty(d, 1, 1, 5, 5));

    // A constant-alpha state does blend an unmasked surface (as mask 255).
    const H2DBlendState half = { 4, 1, 0, 128, 5, 1, 0, 0, 0 };
    d.fill(0);
    d.blendBlit(dst, src, s, half);
    EXPECT_EQ(d.pixel(1, 1), H2DBlender::sm_blendPixels16(0x7777, 0, 255));
    EXPECT_NE(d.pixel(1, 1), 0x7777);
    d.destroySurface(s);
}

TEST_F(BlitTest, BlendSkipsMaskZeroAndKeepsState)
{
    MemoryDisplay d;
    d.fill(0x1111);
    H2DSurface16 *s = makeSurface(4, 1, 0xFFFF, true);
    s->getMask()[0] = 0;
    s->getMask()[1] = 255;
    s->getMask()[2] = 128;
    s->getMask()[3] = 1;
    const HRect dst = { 0, 0, 4, 1 }, src = { 0, 0, 4, 1 };
    d.blendBlit(dst, src, s, kStandardBlend);
    EXPECT_EQ(d.pixel(0, 0), 0x1111);
    EXPECT_EQ(d.pixel(1, 0), 0xFFFF);
    EXPECT_EQ(d.pixel(2, 0), H2DBlender::sm_blendPixels16(0xFFFF, 0x1111, 128));
    EXPECT_EQ(memcmp(&H2DBlender::getBlendState(), &kStandardBlend, sizeof(H2DBlendState)), 0);
    d.destroySurface(s);
}

TEST_F(BlitTest, ClippingToTheScreen)
{
    MemoryDisplay d(64, 48);
    H2DSurface16 *s = makeNumbered(20, 10, false);
    const HRect full = { 0, 0, 20, 10 };

    // Wholly left of the screen: nothing drawn, nothing dirty.
    const HRect left = { -30, 0, -10, 10 };
    EXPECT_TRUE(d.blitClipped(left, full, s));
    EXPECT_EQ(d.getDirtyRects().getCount(), 0);

    // Left edge at -10: source column 10 lands on screen column 0.
    const HRect part = { -10, 0, 10, 10 };
    EXPECT_TRUE(d.blitClipped(part, full, s));
    EXPECT_EQ(d.pixel(0, 0), 10 + 1);
    EXPECT_EQ(d.pixel(9, 9), 100 * 9 + 19 + 1);
    EXPECT_EQ(d.pixel(10, 0), 0);
    EXPECT_TRUE(hasDirty(d, 0, 0, 10, 10));

    // Bottom-right corner: cut at the screen's edges.
    d.getDirtyRects().clear();
    const HRect corner = { 54, 43, 74, 53 };
    d.blitClipped(corner, full, s);
    EXPECT_EQ(d.pixel(54, 43), 1);
    EXPECT_EQ(d.pixel(63, 47), 100 * 4 + 9 + 1);
    EXPECT_TRUE(hasDirty(d, 54, 43, 64, 48));

    // Touching the right edge exactly draws nothing.
    d.getDirtyRects().clear();
    const HRect edge = { 64, 0, 84, 10 };
    EXPECT_TRUE(d.blitClipped(edge, full, s));
    EXPECT_EQ(d.getDirtyRects().getCount(), 0);

    // Blended and clipped the same way.
    H2DSurface16 *m = makeNumbered(20, 10, true);
    d.fill(0);
    const HRect top = { 0, -4, 20, 6 };
    d.blendBlitClipped(top, full, m, kStandardBlend);
    EXPECT_EQ(d.pixel(0, 0), 100 * 4 + 1);
    EXPECT_EQ(d.pixel(0, 6), 0);
    d.destroySurface(s);
    d.destroySurface(m);
}

// Rectangles that would read outside the surface or write past the screen
// are cut rather than trusted.
TEST_F(BlitTest, ClippedBlitsStayInsideSurfaceAndScreen)
{
    MemoryDisplay d(64, 48);
    H2DSurface16 *s = makeNumbered(8, 8, true);
    // Source reaching past the surface on every side.
    const HRect bigSrc = { -4, -4, 30, 30 };
    const HRect dst = { 10, 10, 44, 44 };
    d.blitClipped(dst, bigSrc, s);
    EXPECT_EQ(d.pixel(14, 14), 1);        // surface (0, 0) moved with the cut
    EXPECT_EQ(d.pixel(21, 21), 100 * 7 + 7 + 1);
    EXPECT_EQ(d.pixel(22, 22), 0);
    // A source larger than its destination near the screen's edge.
    const HRect small = { 60, 44, 62, 46 };
    const HRect whole = { 0, 0, 8, 8 };
    d.blendBlitClipped(small, whole, s, kStandardBlend);
    EXPECT_EQ(d.pixel(63, 47), 100 * 3 + 3 + 1);
    d.destroySurface(s);
}

TEST_F(BlitTest, CloneIsIndependent)
{
    MemoryDisplay d;
    H2DSurface16 *s = makeNumbered(5, 3, true);
    s->getMask()[4] = 17;
    H2DSurface16 *copy = static_cast<H2DSurface16 *>(d.cloneSurface(s));
    ASSERT_NE(copy, nullptr);
    d.destroySurface(s);
    EXPECT_EQ(copy->getWidth(), 5);
    EXPECT_EQ(copy->getHeight(), 3);
    EXPECT_EQ(copy->getPitch(), 10);
    EXPECT_EQ(copy->getRow(2)[4], 100 * 2 + 4 + 1);
    ASSERT_NE(copy->getMask(), nullptr);
    EXPECT_EQ(copy->getMask()[4], 17);
    EXPECT_EQ(copy->getMask()[5], 255);

    H2DSurface16 *plain = makeSurface(2, 2, 9, false);
    H2DSurface16 *plainCopy = static_cast<H2DSurface16 *>(d.cloneSurface(plain));
    EXPECT_EQ(plainCopy->getMask(), nullptr);
    EXPECT_EQ(plainCopy->getRow(1)[1], 9);
    d.destroySurface(plain);
    d.destroySurface(plainCopy);
    d.destroySurface(copy);
    d.destroySurface(nullptr);
}

// Assigning surfaces would share their buffers: it copies nothing.
TEST_F(BlitTest, SurfaceAssignmentCopiesNothing)
{
    H2DSurface16 *a = makeNumbered(3, 3, true);
    H2DSurface16 *b = makeNumbered(5, 4, false);
    uint16_t *pixels = a->getPixels();
    uint8_t *mask = a->getMask();
    H2DSurface &base = *a;
    base = *b;
    EXPECT_EQ(a->getPixels(), pixels);
    EXPECT_EQ(a->getMask(), mask);
    EXPECT_EQ(a->getWidth(), 3);
    MemoryDisplay d;
    d.destroySurface(a);
    d.destroySurface(b);
}

TEST_F(BlitTest, PresentSendsTheDirtyListOnce)
{
    MemoryDisplay d;
    d.present();
    EXPECT_TRUE(d.updates.empty());
    EXPECT_EQ(d.getLastDirtyArea(), 0);
    const HRect a = { 0, 0, 10, 10 }, b = { 20, 20, 30, 25 };
    d.invalidateRect(a);
    d.invalidateRect(b);
    d.present();
    ASSERT_EQ(d.updates.size(), 1u);
    EXPECT_EQ(d.updates[0].size(), 2u);
    EXPECT_EQ(d.getLastDirtyArea(), 150);
    EXPECT_EQ(d.getDirtyRects().getCount(), 0);
}

static uint64_t s_fakeNow = 0;
static uint64_t fakeClock() { return s_fakeNow; }

TEST_F(BlitTest, FrameRate)
{
    MemoryDisplay d;
    H2DDisplayDevice::setClock(fakeClock);
    EXPECT_EQ(d.getFrameRate(), 0.0f);
    s_fakeNow = 5000;
    for (int i = 0; i < 17; i++) {
        s_fakeNow += 20;
        d.present();
    }
    EXPECT_FLOAT_EQ(d.getFrameRate(), 50.0f);
    H2DDisplayDevice::setClock(nullptr);
}

// The unclipped blitters still never write outside the screen's pixels or
// read outside the surface: a bad rectangle is cut, and still recorded dirty
// as given.
TEST_F(BlitTest, RawBlitsStayInsideTheirBuffers)
{
    MemoryDisplay d(64, 48); // pitch of 67 pixels: columns 64-66 are padding
    const uint16_t kPad = 0xDEAD;
    for (int y = 0; y < 48; y++)
        for (int x = 64; x < 67; x++) d.getScreen().getRow(y)[x] = kPad;
    H2DSurface16 *opaque = makeNumbered(20, 20, false);
    H2DSurface16 *masked = makeNumbered(20, 20, true);
    const HRect whole = { 0, 0, 20, 20 };
    const HRect past = { 54, 40, 74, 60 };
    EXPECT_TRUE(d.blit(past, whole, opaque));
    EXPECT_EQ(d.pixel(63, 47), 100 * 7 + 9 + 1);
    EXPECT_TRUE(hasDirty(d, 54, 40, 74, 60));
    EXPECT_TRUE(d.blit(HRect{ -5, -5, 15, 15 }, whole, masked));
    EXPECT_EQ(d.pixel(0, 0), 100 * 5 + 5 + 1);
    EXPECT_TRUE(d.blitSurface(HRect{ 60, 30, 80, 50 }, masked));
    EXPECT_EQ(d.pixel(63, 30), 4);
    EXPECT_TRUE(d.blendBlit(HRect{ 50, 45, 70, 65 }, whole, masked, kStandardBlend));
    EXPECT_EQ(d.pixel(63, 47), 100 * 2 + 13 + 1);
    // A source rectangle reaching past the surface reads only the surface.
    d.fill(0);
    EXPECT_TRUE(d.blit(HRect{ 0, 0, 40, 40 }, HRect{ 10, 10, 40, 40 }, opaque));
    EXPECT_EQ(d.pixel(9, 9), 100 * 19 + 19 + 1);
    EXPECT_EQ(d.pixel(10, 10), 0);
    EXPECT_TRUE(d.blendBlit(HRect{ 30, 0, 60, 30 }, HRect{ -5, 15, 10, 40 }, masked, kStandardBlend));
    EXPECT_EQ(d.pixel(35, 0), 100 * 15 + 1);
    EXPECT_EQ(d.pixel(35, 5), 0);
    for (int y = 0; y < 48; y++)
        for (int x = 64; x < 67; x++) ASSERT_EQ(d.getScreen().getRow(y)[x], kPad) << x << "," << y;
    d.destroySurface(opaque);
    d.destroySurface(masked);
}
