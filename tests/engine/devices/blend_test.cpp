#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "H2DBlender.h"
#include "display_support.h"

// The blend rule written out plainly, one pixel at a time, for checking the
// optimised paths against.
struct Format {
    int rb, gb, bb, rs, gs, bs;
};

static int refAlpha(const H2DBlendState &s, int source, int m)
{
    const int a = (uint8_t)s.constA, b = (uint8_t)s.constB;
    switch (source) {
    case 0: return 0;
    case 1: return 255;
    case 2: return m;
    case 3: return 255 - m;
    case 4: return a;
    case 5: return 255 - a;
    case 6: return b;
    case 7: return 255 - b;
    default: return 255;
    }
}

static int refParam(const H2DBlendState &s, int param)
{
    const int a = (uint8_t)s.constA, b = (uint8_t)s.constB;
    switch (param) {
    case 0: return 0;
    case 1: return 255;
    case 2: return a;
    case 3: return 255 - a;
    case 4: return b;
    case 5: return 255 - b;
    default: return 255;
    }
}

static uint16_t refBlend(const Format &f, const H2DBlendState &st, uint16_t s, uint16_t d, int m)
{
    const int shifts[3] = { f.rs, f.gs, f.bs };
    const int bits[3] = { f.rb, f.gb, f.bb };
    long sf = (long)refAlpha(st, st.srcAlphaSource, m) * refParam(st, st.srcParam);
    if (st.srcInvert == 1) sf = 65025 - sf;
    long df = (long)refAlpha(st, st.dstAlphaSource, m) * refParam(st, st.dstParam);
    if (st.dstInvert == 1) df = 65025 - df;
    uint16_t out = 0;
    for (int c = 0; c < 3; c++) {
        const long max = (1 << bits[c]) - 1;
        const long sc = (s >> shifts[c]) & max, dc = (d >> shifts[c]) & max;
        const long S = sc * sf / 65025, D = dc * df / 65025;
        long v = 0;
        switch (st.op) {
        case 0: v = S + D; break;
        case 1: v = S * D / 255; break;
        case 2: v = S - D; break;
        case 3: v = D - S; break;
        }
        if (v < 0) v = 0;
        if (v > max) v = max;
        out |= (uint16_t)(v << shifts[c]);
    }
    return out;
}

class BlendTest : public testing::Test {
protected:
    void SetUp() override { use565(); }
    void TearDown() override { use565(); }
};

TEST_F(BlendTest, StandardStateEdgeCases)
{
    H2DBlender::setBlendState(kStandardBlend);
    EXPECT_EQ(H2DBlender::getFastMode(), H2DBlender::FAST_COPY);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0xABCD, 255), 0x1234);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0xABCD, 0), 0xABCD);
    // White at mask 128 over black: red 15, green 31, blue 15.
    const uint16_t half = H2DBlender::sm_blendPixels16(0xFFFF, 0x0000, 128);
    EXPECT_EQ(half >> 11, 15);
    EXPECT_EQ((half >> 5) & 63, 31);
    EXPECT_EQ(half & 31, 15);
}

TEST_F(BlendTest, AlphaTestFlag)
{
    H2DBlender::setBlendState(kStandardBlend);
    H2DBlender::setBlendFlag(0, 1);
    EXPECT_EQ(H2DBlender::getFastMode(), H2DBlender::FAST_ALPHA_TEST);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0xABCD, 127), 0xABCD);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0xABCD, 128), 0x1234);
    std::vector<uint16_t> dst(3, 0xABCD), src(3, 0x1234);
    const uint8_t mask[3] = { 127, 128, 0 };
    H2DBlender::blendRow(dst.data(), src.data(), mask, 3);
    EXPECT_EQ(dst[0], 0xABCD);
    EXPECT_EQ(dst[1], 0x1234);
    EXPECT_EQ(dst[2], 0xABCD);
    H2DBlender::setBlendFlag(0, 0);
    EXPECT_EQ(H2DBlender::getFastMode(), H2DBlender::FAST_COPY);
    // Other states never take a fast path.
    const H2DBlendState multiply = { 2, 1, 0, 255, 1, 1, 0, 255, 1 };
    H2DBlender::setBlendFlag(0, 1);
    H2DBlender::setBlendState(multiply);
    EXPECT_EQ(H2DBlender::getFastMode(), H2DBlender::FAST_NONE);
    H2DBlender::setBlendFlag(0, 0);
}

TEST_F(BlendTest, MultiplyAndClamping)
{
    const H2DBlendState multiply = { 2, 1, 0, 255, 1, 1, 0, 255, 1 };
    H2DBlender::setBlendState(multiply);
    const uint16_t out = H2DBlender::sm_blendPixels16(31 << 11, 31 << 11, 255);
    EXPECT_EQ(out >> 11, 3); // 31 * 31 / 255

    const H2DBlendState subtract = { 1, 1, 0, 0, 1, 1, 0, 0, 2 };
    H2DBlender::setBlendState(subtract);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(5 << 11, 20 << 11, 255), 0);
    const H2DBlendState add = { 1, 1, 0, 0, 1, 1, 0, 0, 0 };
    H2DBlender::setBlendState(add);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(20 << 11, 20 << 11, 255) >> 11, 31);
    const H2DBlendState reverse = { 1, 1, 0, 0, 1, 1, 0, 0, 3 };
    H2DBlender::setBlendState(reverse);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(3, 10, 255), 7);
}

TEST_F(BlendTest, InvalidValuesCountAs255)
{
    const H2DBlendState badSource = { 9, 1, 0, 0, 0, 0, 0, 0, 0 };
    H2DBlender::setBlendState(badSource);
    EXPECT_EQ(H2DBlender::sm_getBlendAlpha(9, 12), 255);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0, 7), 0x1234);
    EXPECT_EQ(H2DBlender::sm_getBlendParam(6), 255);
    EXPECT_EQ(H2DBlender::sm_getBlendParam(-1), 255);
    // An unknown operation leaves the screen alone, in both paths.
    const H2DBlendState badOp = { 1, 1, 0, 0, 1, 1, 0, 0, 7 };
    H2DBlender::setBlendState(badOp);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1234, 0x4321, 255), 0x4321);
    uint16_t dst = 0x4321, src = 0x1234;
    H2DBlender::blendRow(&dst, &src, nullptr, 1);
    EXPECT_EQ(dst, 0x4321);
}

// Every optimised row path against the plain rule: all mask values, random
// pixels, all four operations, several states and two screen formats.
TEST_F(BlendTest, RowPathsMatchThePlainRule)
{
    const Format formats[] = { { 5, 6, 5, 11, 5, 0 }, { 5, 5, 5, 10, 5, 0 } };
    std::vector<H2DBlendState> states = {
        kStandardBlend,
        { 2, 1, 0, 17, 3, 1, 0, 200, 0 },     // standard with odd constants: still fast
        { 2, 1, 0, 255, 1, 1, 0, 255, 1 },
        { 4, 2, 0, 100, 6, 4, 1, 30, 0 },
        { 2, 3, 1, 77, 3, 5, 0, 140, 1 },
        { 5, 1, 0, 128, 7, 2, 1, 9, 2 },
        { 1, 1, 0, 0, 2, 1, 0, 0, 3 },
        { 3, 4, 1, 255, 0, 0, 1, 255, 2 },
    };
    std::mt19937 rng(1234);
    const int n = 256 * 4 + 5; // every mask value several times, odd tail
    std::vector<uint16_t> src(n), dst(n), expect(n), got(n);
    std::vector<uint8_t> mask(n);
    for (const Format &f : formats) {
        H2DBlender::setBlendPixelFormat(f.rb, f.gb, f.bb, f.rs, f.gs, f.bs);
        for (const H2DBlendState &st : states) {
            for (int round = 0; round < 4; round++) {
                for (int i = 0; i < n; i++) {
                    src[i] = (uint16_t)rng();
                    dst[i] = (uint16_t)rng();
                    if (f.rb + f.gb + f.bb == 15) { src[i] &= 0x7FFF; dst[i] &= 0x7FFF; }
                    mask[i] = (uint8_t)(round == 0 ? i : rng());
                }
                // Runs of one value exercise the all-0 / all-255 shortcuts.
                if (round == 2) {
                    for (int i = 0; i < 64; i++) mask[i] = 255;
                    for (int i = 64; i < 128; i++) mask[i] = 0;
                }
                H2DBlender::setBlendState(st);
                for (int i = 0; i < n; i++) {
                    expect[i] = mask[i] == 0 ? dst[i] : refBlend(f, st, src[i], dst[i], mask[i]);
                    EXPECT_EQ(H2DBlender::sm_blendPixels16(src[i], dst[i], mask[i]),
                              refBlend(f, st, src[i], dst[i], mask[i]))
                        << "op " << st.op << " mask " << (int)mask[i];
                }
                got = dst;
                H2DBlender::blendRow(got.data(), src.data(), mask.data(), n);
                ASSERT_EQ(got, expect) << "state op " << st.op << " src " << st.srcAlphaSource;
                // Without a mask every pixel counts as 255.
                for (int i = 0; i < n; i++) expect[i] = refBlend(f, st, src[i], dst[i], 255);
                got = dst;
                H2DBlender::blendRow(got.data(), src.data(), nullptr, n);
                ASSERT_EQ(got, expect);
                // Unaligned starts and short rows.
                for (int start = 1; start < 9; start++) {
                    got = dst;
                    H2DBlender::blendRow(got.data() + start, src.data() + start, mask.data() + start, 11);
                    for (int i = start; i < start + 11; i++) {
                        const uint16_t e = mask[i] == 0 ? dst[i] : refBlend(f, st, src[i], dst[i], mask[i]);
                        ASSERT_EQ(got[i], e);
                    }
                    EXPECT_EQ(got[start - 1], dst[start - 1]);
                    EXPECT_EQ(got[start + 11], dst[start + 11]);
                }
            }
        }
    }
}

// With flag 0 set the standard blend becomes an alpha test at 128, in the
// per-pixel rule and in the row path alike, for every mask value.
TEST_F(BlendTest, AlphaTestMatchesItsRuleForEveryMask)
{
    std::mt19937 rng(99);
    const int n = 256 + 19;
    std::vector<uint16_t> src(n), dst(n), got;
    std::vector<uint8_t> mask(n);
    for (int i = 0; i < n; i++) {
        src[i] = (uint16_t)rng();
        dst[i] = (uint16_t)rng();
        mask[i] = (uint8_t)i;
    }
    H2DBlender::setBlendState(kStandardBlend);
    H2DBlender::setBlendFlag(0, 1);
    got = dst;
    H2DBlender::blendRow(got.data(), src.data(), mask.data(), n);
    for (int i = 0; i < n; i++) {
        const uint16_t expected = mask[i] >= 128 ? src[i] : dst[i];
        EXPECT_EQ(got[i], expected) << "mask " << (int)mask[i];
        EXPECT_EQ(H2DBlender::sm_blendPixels16(src[i], dst[i], mask[i]), expected);
    }
    // Flags other than 0 change nothing.
    H2DBlender::setBlendFlag(0, 0);
    H2DBlender::setBlendFlag(2, 1);
    EXPECT_EQ(H2DBlender::getFastMode(), H2DBlender::FAST_COPY);
    got = dst;
    H2DBlender::blendRow(got.data(), src.data(), mask.data(), n);
    const Format f565 = { 5, 6, 5, 11, 5, 0 };
    for (int i = 0; i < n; i++) {
        const uint16_t expected = mask[i] == 0 ? dst[i] : refBlend(f565, kStandardBlend, src[i], dst[i], mask[i]);
        ASSERT_EQ(got[i], expected) << "mask " << (int)mask[i];
    }
    H2DBlender::setBlendFlag(2, 0);
}

// Each load replaces the whole state: after another operation the standard
// blend is exact again, in both paths.
TEST_F(BlendTest, StateChangesTakeEffectAtOnce)
{
    const H2DBlendState reverse = { 1, 1, 0, 0, 4, 2, 0, 60, 3 };
    H2DBlender::setBlendState(reverse);
    const Format f565 = { 5, 6, 5, 11, 5, 0 };
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0x1082, 0xFFFF, 200), refBlend(f565, reverse, 0x1082, 0xFFFF, 200));
    H2DBlender::setBlendState(kStandardBlend);
    EXPECT_EQ(H2DBlender::sm_blendPixels16(0xFFFF, 0x0000, 128), refBlend(f565, kStandardBlend, 0xFFFF, 0, 128));
    uint16_t px = 0;
    const uint16_t white = 0xFFFF;
    const uint8_t m = 128;
    H2DBlender::blendRow(&px, &white, &m, 1);
    EXPECT_EQ(px, (15 << 11) | (31 << 5) | 15);
}
