// HUD drawing: figures right to left with commas, the three HUD figures,
// the captions and figures between levels, and the time bar with its bites.
#include "GameDrawTestSupport.h"

namespace {

const uint16_t kSentinel = 0x1234;

class HudDraw : public GameDrawTest {
protected:
    void SetUp() override
    {
        GameDrawTest::SetUp();
        fillScreen(kSentinel);
    }
    bool digitAt(char d, int x, int y) const
    {
        const int slot = SPR_FONT_DIGIT + (d - '0');
        return shows(slot, x, y, x, y) && shows(slot, x + 12, y + 17, x, y);
    }
    bool commaAt(int x, int y) const { return shows(SPR_FONT_COMMA, x, y, x, y); }
    bool untouched(int x, int y) const { return screen(x, y) == kSentinel; }
    const HRect whole = { 0, 0, 640, 480 };
};

} // namespace

TEST_F(HudDraw, GlyphForEachCharacter)
{
    EXPECT_EQ(app.digitSprite(','), &app.m_sprites[SPR_FONT_COMMA]);
    for (char c = '0'; c <= '9'; c++) {
        EXPECT_EQ(app.digitSprite(c), &app.m_sprites[SPR_FONT_DIGIT + (c - '0')]) << c;
    }
    EXPECT_STREQ(app.digitSprite('4')->getName(), "font_four.tga");
    for (char c : { '-', ' ', 'a', '.', '\0', '/', ':' }) {
        EXPECT_EQ(app.digitSprite(c), nullptr) << (int)c;
    }
}

TEST_F(HudDraw, NumbersRunRightToLeftWithCommas)
{
    // Three digits or fewer: no comma, 18 pixels apart.
    app.drawNumber("123", 300, 100, whole);
    EXPECT_TRUE(digitAt('3', 300, 100));
    EXPECT_TRUE(digitAt('2', 282, 100));
    EXPECT_TRUE(digitAt('1', 264, 100));
    EXPECT_TRUE(untouched(263, 100));
    EXPECT_TRUE(untouched(250, 103));
    EXPECT_TRUE(untouched(300, 99));

    // A comma before the last three and before the last six digits, set 3
    // pixels lower than the digits.
    fillScreen(kSentinel);
    app.drawNumber("1234567", 400, 200, whole);
    EXPECT_TRUE(digitAt('7', 400, 200));
    EXPECT_TRUE(digitAt('6', 382, 200));
    EXPECT_TRUE(digitAt('5', 364, 200));
    EXPECT_TRUE(commaAt(350, 203));
    EXPECT_TRUE(untouched(350, 202));
    EXPECT_TRUE(digitAt('4', 337, 200));
    EXPECT_TRUE(digitAt('3', 319, 200));
    EXPECT_TRUE(digitAt('2', 301, 200));
    EXPECT_TRUE(commaAt(287, 203));
    EXPECT_TRUE(digitAt('1', 274, 200));
    EXPECT_TRUE(untouched(273, 205)) << "nothing left of the first digit";

    // Six digits: the comma that would come before the first is not drawn.
    fillScreen(kSentinel);
    app.drawNumber("100000", 400, 200, whole);
    EXPECT_TRUE(digitAt('0', 337, 200));
    EXPECT_TRUE(digitAt('1', 301, 200));
    EXPECT_TRUE(untouched(287, 203));
    EXPECT_TRUE(untouched(300, 205));

    // A character without a glyph leaves a digit's gap.
    fillScreen(kSentinel);
    app.drawNumber("7-9", 300, 100, whole);
    EXPECT_TRUE(digitAt('9', 300, 100));
    EXPECT_TRUE(untouched(285, 105));
    EXPECT_TRUE(digitAt('7', 264, 100));

    // Empty and null texts draw nothing; the clip rectangle is respected.
    fillScreen(kSentinel);
    app.drawNumber("", 300, 100, whole);
    app.drawNumber(nullptr, 300, 100, whole);
    EXPECT_TRUE(untouched(300, 100));
    const HRect clip = { 305, 100, 320, 110 };
    app.drawNumber("8", 300, 100, clip);
    EXPECT_TRUE(untouched(304, 105));
    EXPECT_TRUE(shows(SPR_FONT_DIGIT + 8, 305, 105, 300, 100));
    EXPECT_TRUE(shows(SPR_FONT_DIGIT + 8, 312, 109, 300, 100));
    EXPECT_TRUE(untouched(310, 110));
}

TEST_F(HudDraw, ScoreLevelAndLinesNeeded)
{
    app.m_state = GS_PLAYING;
    app.m_score = 0;
    app.m_levelIndex = 4;
    app.m_crunchesNeeded = 12;
    app.drawHud(scoreRect);
    EXPECT_TRUE(digitAt('0', 595, 154)) << "score 0 is one zero at 595";
    EXPECT_TRUE(untouched(594, 160));
    EXPECT_TRUE(untouched(560, 212)) << "the level figure was not asked for";

    fillScreen(kSentinel);
    app.m_score = 1000;
    app.drawHud(scoreRect);
    EXPECT_TRUE(digitAt('0', 595, 154));
    EXPECT_TRUE(digitAt('0', 577, 154));
    EXPECT_TRUE(digitAt('0', 559, 154));
    EXPECT_TRUE(commaAt(545, 157));
    EXPECT_TRUE(digitAt('1', 532, 154));

    // A score past 2^31 still reads as a positive figure: 3,000,000,000.
    fillScreen(kSentinel);
    app.m_score = 3000000000u;
    app.drawHud(whole);
    EXPECT_TRUE(digitAt('0', 595, 154));
    EXPECT_TRUE(commaAt(419, 157));
    EXPECT_TRUE(digitAt('3', 406, 154));
    EXPECT_TRUE(untouched(393, 160)) << "no minus sign";

    fillScreen(kSentinel);
    app.drawHud(levelRect);
    EXPECT_TRUE(digitAt('5', 550, 211)) << "level index 4 shows as 5";
    EXPECT_TRUE(untouched(595, 160));

    fillScreen(kSentinel);
    app.drawHud(crunchesRect);
    EXPECT_TRUE(digitAt('2', 550, 267));
    EXPECT_TRUE(digitAt('1', 532, 267));

}

TEST_F(HudDraw, GetReadyShowsTheLevel)
{
    app.m_state = GS_GET_READY;
    app.m_levelIndex = 4;
    app.drawHud(whole);
    const int captionWidth = app.m_sprites[SPR_LEVEL].getWidth();
    EXPECT_TRUE(shows(SPR_LEVEL, 181, 172, 181, 172));
    EXPECT_TRUE(digitAt('5', 181 + captionWidth + 18, 172));

    fillScreen(kSentinel);
    app.m_levelIndex = 11;  // "12": two characters push the figure right
    app.drawHud(whole);
    EXPECT_TRUE(digitAt('2', 181 + captionWidth + 36, 172));
    EXPECT_TRUE(digitAt('1', 181 + captionWidth + 18, 172));

    fillScreen(kSentinel);
    app.m_paused = true;
    app.drawHud(whole);
    EXPECT_TRUE(untouched(181, 172));
    EXPECT_TRUE(untouched(181 + captionWidth + 36, 172));
    app.m_paused = false;
}

TEST_F(HudDraw, BonusCountsUpThenStands)
{
    const int W = 420, H = 420;
    app.m_levelBonus = 3000;
    app.m_state = GS_BONUS_COUNT;
    app.m_countdownTotal = 2000;

    app.m_countdown = 2000;     // start: 0
    app.drawHud(whole);
    EXPECT_TRUE(shows(SPR_TIME_BONUS, 151, 172, 151, 172));
    EXPECT_TRUE(digitAt('0', 23 + W / 2, H / 2));
    EXPECT_TRUE(untouched(23 + W / 2 - 18, H / 2 + 5));

    fillScreen(kSentinel);
    app.m_countdown = 1000;     // half way: 1500
    app.drawHud(whole);
    const int x4 = 23 + (W + 36) / 2;
    EXPECT_TRUE(digitAt('0', x4, H / 2));
    EXPECT_TRUE(digitAt('5', x4 - 36, H / 2));
    EXPECT_TRUE(digitAt('1', x4 - 63, H / 2));

    fillScreen(kSentinel);
    app.m_countdown = 0;        // end: the whole bonus
    app.drawHud(whole);
    EXPECT_TRUE(digitAt('3', x4 - 63, H / 2));

    // The pause before the next level shows the full figure at the same place.
    fillScreen(kSentinel);
    app.m_state = GS_NEXT_LEVEL;
    app.m_countdown = 1500;
    app.drawHud(whole);
    EXPECT_TRUE(shows(SPR_TIME_BONUS, 151, 172, 151, 172));
    EXPECT_TRUE(digitAt('3', x4 - 63, H / 2));
    EXPECT_TRUE(digitAt('0', x4, H / 2));

    // Paused: neither caption nor figure.
    fillScreen(kSentinel);
    app.m_paused = true;
    app.drawHud(whole);
    EXPECT_TRUE(untouched(151, 172));
    EXPECT_TRUE(untouched(x4, H / 2));
    app.m_state = GS_BONUS_COUNT;
    app.drawHud(whole);
    EXPECT_TRUE(untouched(151, 172));
    app.m_paused = false;
}

TEST_F(HudDraw, StartBonusShowsEvenWhilePaused)
{
    const int W = 420, H = 420;
    app.m_state = GS_START_BONUS;
    app.m_startBonusShown = 3000;
    const int x = 23 + (W + 72) / 2;
    for (bool paused : { false, true }) {
        fillScreen(kSentinel);
        app.m_paused = paused;
        app.drawHud(whole);
        EXPECT_TRUE(shows(SPR_STARTLEVEL_BONUS, 143, 172, 143, 172)) << paused;
        EXPECT_TRUE(digitAt('0', x, H / 2)) << paused;
        EXPECT_TRUE(digitAt('3', x - 63, H / 2)) << paused;
    }
    app.m_paused = false;
}

TEST_F(HudDraw, TimeBarAndBites)
{
    const int timerHeight = app.m_sprites[SPR_TIMER].getHeight();
    ASSERT_EQ(app.m_timeBarRect.bottom, 402 + timerHeight);
    app.m_state = GS_PLAYING;
    app.m_timeBarRect.right = 243;
    app.m_bitesFrame = 1;

    app.drawHud(whole);
    EXPECT_TRUE(shows(SPR_TIMER, TIME_BAR_LEFT, 402, TIME_BAR_LEFT, 402));
    EXPECT_TRUE(shows(SPR_TIMER, 242, 402 + timerHeight - 1, TIME_BAR_LEFT, 402));
    EXPECT_TRUE(shows(SPR_BITES + 1, 243, 402, 243, 402));
    EXPECT_TRUE(shows(SPR_BITES + 1, 243 + 29, 402 + 19, 243, 402));
    EXPECT_TRUE(untouched(243 + 30, 410));
    EXPECT_TRUE(untouched(TIME_BAR_LEFT - 1, 410));

    // Only the part inside the rectangle.
    fillScreen(kSentinel);
    app.drawTimeBar(HRect{ 100, 390, 150, 410 });
    EXPECT_TRUE(shows(SPR_TIMER, 100, 402, TIME_BAR_LEFT, 402));
    EXPECT_TRUE(shows(SPR_TIMER, 149, 409, TIME_BAR_LEFT, 402));
    EXPECT_TRUE(untouched(99, 405));
    EXPECT_TRUE(untouched(150, 405));
    EXPECT_TRUE(untouched(120, 410));
    EXPECT_TRUE(untouched(250, 405)) << "the bites lie outside the rectangle";

    // An empty bar draws neither the bar nor the bites.
    fillScreen(kSentinel);
    app.m_timeBarRect.right = TIME_BAR_LEFT;
    app.drawHud(whole);
    EXPECT_TRUE(untouched(TIME_BAR_LEFT, 405));
    EXPECT_TRUE(untouched(TIME_BAR_LEFT + 7, 405));
    app.m_timeBarRect.right = 243;

    // No bar on info screens, while paused, or during the tutorial.
    for (int variant = 0; variant < 3; variant++) {
        fillScreen(kSentinel);
        app.m_state = variant == 0 ? GS_INFO_HINT : GS_PLAYING;
        app.m_paused = variant == 1;
        app.m_settings.m_iDidTutorial = variant == 2 ? 0 : 1;
        app.drawTimeBar(whole);
        EXPECT_TRUE(untouched(100, 405)) << variant;
        EXPECT_TRUE(untouched(250, 405)) << variant;
    }
}

TEST_F(HudDraw, LinesNeededNeverBelowZero)
{
    // Two complete rows when one line was needed: the HUD shows 0, not the
    // "1" of a "-1" it has no minus sign for.
    app.m_state = GS_PLAYING;
    app.m_crunchesNeeded = 1;
    for (int r = 0; r < BOARD_SIZE; r++) {
        for (int c = 0; c < BOARD_SIZE; c++) {
            app.m_board.setCellType(c, r, r < 2 ? TILE_ORANGE + r : TILE_PURPLE + ((c + r) & 1));
        }
    }
    app.m_board.setCellType(5, 5, TILE_BLANK);
    app.processCrunches(nullptr);
    ASSERT_EQ(GS_CRUNCHING, app.m_state);
    EXPECT_EQ(0, app.m_crunchesNeeded);
    app.drawHud(crunchesRect);
    EXPECT_TRUE(digitAt('0', 550, 267));
    EXPECT_TRUE(untouched(540, 272));
}

TEST_F(HudDraw, FloatingScoreLeavesNothingBehindAndStaysInThePlayArea)
{
    // A seven-figure score from near the top of the play area rises out of
    // it. Each frame redraws only what was reported dirty, as the main loop
    // does; the screen must never differ from a whole redraw outside the
    // play area, and must equal one once the score has ended.
    app.m_state = GS_PLAYING;
    const HRect area = app.m_playAreaRect;
    std::vector<uint16_t> plain(640 * 480);
    auto grab = [&](std::vector<uint16_t> &into) {
        for (int y = 0; y < 480; y++) {
            memcpy(&into[(size_t)y * 640], display->getScreen().getRow(y), 640 * sizeof(uint16_t));
        }
    };
    app.drawBackground(whole, false);
    grab(plain);

    app.m_lastClick[0] = 300;
    app.m_lastClick[1] = 80;
    app.addFloatingScore(1234567);
    app.drawBackground(whole, false);
    std::vector<uint16_t> shot(640 * 480);
    grab(shot);
    EXPECT_NE(shot, plain) << "the score is drawn";
    app.m_dirtyRects.clear();

    int outside = 0;
    for (int t = 0; t <= 2100; t += 16) {
        app.updateFloatingScores(16);
        for (int i = 0; i < app.m_dirtyRects.getCount(); i++) {
            app.drawBackground(*app.m_dirtyRects.getRect(i), false);
        }
        app.m_dirtyRects.clear();
        grab(shot);
        for (int y = 0; y < 480; y++) {
            for (int x = 0; x < 640; x++) {
                const bool inside = x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                outside += !inside && shot[(size_t)y * 640 + x] != plain[(size_t)y * 640 + x];
            }
        }
    }
    EXPECT_EQ(0, app.m_floatingScores[0].m_timeMs);
    EXPECT_EQ(0, outside) << "pixels drawn outside the play area";
    EXPECT_TRUE(shot == plain) << "digits left behind";
}
