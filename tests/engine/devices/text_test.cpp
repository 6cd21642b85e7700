#include <gtest/gtest.h>

#include <vector>

#include "H2DGlyphSheet.h"
#include "display_support.h"

// A glyph sheet that records what the text asks it to draw.
class RecordingSheet : public H2DGlyphSheet {
public:
    struct Call {
        HRect dst, src;
        int words[9];
    };
    RecordingSheet(int w, int h) : width(w), height(h) {}
    bool isLoaded() const override { return loaded; }
    int getWidth() const override { return width; }
    int getHeight() const override { return height; }
    bool drawBlended(const HRect &dst, const HRect &src, int w1, int w2, int w3, int w4,
                     int w5, int w6, int w7, int w8, int w9) override
    {
        calls.push_back({ dst, src, { w1, w2, w3, w4, w5, w6, w7, w8, w9 } });
        return true;
    }
    int width, height;
    bool loaded = true;
    std::vector<Call> calls;
};

static const HRect kScreen = { 0, 0, 640, 480 };

static void expectRect(const HRect &r, int l, int t, int rr, int b)
{
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

TEST(BitmapText, LeftAlignedCells)
{
    MemoryDisplay d;
    RecordingSheet sheet(128, 84); // 16 x 7 cells of 8 x 12
    H2DFont *font = d.createFont(&sheet, 8, 12);
    d.drawText("AB", 100, 20, kScreen, 0, font);
    ASSERT_EQ(sheet.calls.size(), 2u);
    expectRect(sheet.calls[0].src, 8, 36, 16, 48);
    expectRect(sheet.calls[0].dst, 100, 20, 108, 32);
    expectRect(sheet.calls[1].src, 16, 36, 24, 48);
    expectRect(sheet.calls[1].dst, 108, 20, 116, 32);
    // Drawn with the device's text blend, the standard one after initScreen.
    const int standard[9] = { 2, 1, 0, 255, 3, 1, 0, 255, 0 };
    for (int i = 0; i < 9; i++) EXPECT_EQ(sheet.calls[0].words[i], standard[i]);
    d.setBlendState(1, 1, 0, 7, 0, 0, 0, 9, 0);
    d.drawText("A", 0, 0, kScreen, 0, font);
    EXPECT_EQ(sheet.calls.back().words[3], 7);
    EXPECT_EQ(sheet.calls.back().words[7], 9);
    d.destroyFont(font);
}

TEST(BitmapText, Alignment)
{
    MemoryDisplay d;
    RecordingSheet sheet(128, 84);
    H2DFont *font = d.createFont(&sheet, 8, 12);
    d.drawText("HELLO", 320, 0, kScreen, 2, font);
    EXPECT_EQ(sheet.calls.front().dst.left, 300);
    sheet.calls.clear();
    d.drawText("HELLO", 320, 0, kScreen, 1, font);
    EXPECT_EQ(sheet.calls.front().dst.left, 280);
    sheet.calls.clear();
    d.drawText("HELLO", 320, 0, kScreen, 9, font); // unknown counts as left
    EXPECT_EQ(sheet.calls.front().dst.left, 320);
    sheet.calls.clear();
    d.drawText("ABC", 320, 0, kScreen, 2, font); // 24 / 2
    EXPECT_EQ(sheet.calls.front().dst.left, 308);
    d.destroyFont(font);
}

TEST(BitmapText, ClipCutsAndSkips)
{
    MemoryDisplay d;
    RecordingSheet sheet(128, 84);
    H2DFont *font = d.createFont(&sheet, 8, 12);
    const HRect clip = { 0, 0, 20, 100 };
    d.drawText("ABCD", 0, 10, clip, 0, font);
    // A at 0, B at 8, C at 16 cut to 4 columns; D at 24 lies outside.
    ASSERT_EQ(sheet.calls.size(), 3u);
    expectRect(sheet.calls[2].dst, 16, 10, 20, 22);
    expectRect(sheet.calls[2].src, 3 * 8, 36, 3 * 8 + 4, 48);

    sheet.calls.clear();
    const HRect low = { 0, 15, 640, 18 };
    d.drawText("A", 0, 10, low, 0, font);
    ASSERT_EQ(sheet.calls.size(), 1u);
    expectRect(sheet.calls[0].dst, 0, 15, 8, 18);
    expectRect(sheet.calls[0].src, 8, 41, 16, 44);

    // Left side cut; the following glyphs keep their places.
    sheet.calls.clear();
    const HRect right = { 12, 0, 640, 480 };
    d.drawText("AB", 8, 0, right, 0, font);
    ASSERT_EQ(sheet.calls.size(), 2u);
    expectRect(sheet.calls[0].dst, 12, 0, 16, 12);
    expectRect(sheet.calls[0].src, 12, 36, 16, 48);
    expectRect(sheet.calls[1].dst, 16, 0, 24, 12);
    d.destroyFont(font);
}

TEST(BitmapText, NothingToDraw)
{
    MemoryDisplay d;
    RecordingSheet sheet(128, 84);
    H2DFont *font = d.createFont(&sheet, 8, 12);
    d.drawText("", 0, 0, kScreen, 0, font);
    d.drawText("A", 0, 0, kScreen, 0, nullptr);
    d.drawText(nullptr, 0, 0, kScreen, 0, font);
    sheet.loaded = false;
    d.drawText("A", 0, 0, kScreen, 0, font);
    EXPECT_TRUE(sheet.calls.empty());
    d.destroyFont(font);
    d.destroyFont(nullptr);
}

// Codes without a cell on the sheet only advance: control codes, Latin-1
// letters of a typed name, and rows past a short sheet.
TEST(BitmapText, CharactersOutsideTheSheetOnlyAdvance)
{
    MemoryDisplay d;
    RecordingSheet sheet(128, 72); // only six rows: codes 16-111
    H2DFont *font = d.createFont(&sheet, 8, 12);
    const char text[] = { 'A', '\x01', '\x0F', (char)0xE9, (char)0x80, (char)0xFF, 'z', 'B', 0 };
    d.drawText(text, 0, 0, kScreen, 0, font);
    ASSERT_EQ(sheet.calls.size(), 2u); // 'z' (122) lies in the missing row
    expectRect(sheet.calls[0].dst, 0, 0, 8, 12);
    expectRect(sheet.calls[1].dst, 7 * 8, 0, 8 * 8, 12);
    expectRect(sheet.calls[1].src, 2 * 8, 36, 3 * 8, 48);
    for (const auto &c : sheet.calls) {
        EXPECT_GE(c.src.left, 0);
        EXPECT_GE(c.src.top, 0);
        EXPECT_LE(c.src.right, sheet.width);
        EXPECT_LE(c.src.bottom, sheet.height);
    }
    // Code 16 is the first cell and 127 the last of a full sheet.
    RecordingSheet full(128, 84);
    H2DFont *fullFont = d.createFont(&full, 8, 12);
    const char edges[] = { '\x10', '\x7F', 0 };
    d.drawText(edges, 0, 0, kScreen, 0, fullFont);
    ASSERT_EQ(full.calls.size(), 2u);
    expectRect(full.calls[0].src, 0, 0, 8, 12);
    expectRect(full.calls[1].src, 120, 72, 128, 84);
    d.destroyFont(fullFont);
    d.destroyFont(font);
}
