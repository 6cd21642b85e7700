// The HUD: score, level and lines-needed figures, the time bar with the
// bites at its end, and the captions shown between levels. Figures are drawn
// right to left from glyph sprites, with a comma every three digits.
#include "GameApp.h"

#include <cstring>

#include "GameDrawClip.h"
#include "HString.h"

namespace {

enum {
    NUMBER_BUFFER_SIZE  = 64,
    DIGIT_ADVANCE       = 18,   // pen step between digits
    COMMA_GAP           = 14,   // pen step from a third digit to its comma
    COMMA_ADVANCE       = 13,   // pen step from a comma to the next digit
    COMMA_DROP          = 3,    // the comma sits lower than the digits

    SCORE_X             = 595,
    SCORE_Y             = 154,
    LEVEL_X             = 550,
    LEVEL_Y             = 211,
    CRUNCHES_X          = 550,
    CRUNCHES_Y          = 267,

    CAPTION_Y           = 172,
    LEVEL_CAPTION_X     = 181,
    BONUS_CAPTION_X     = 151,
    START_CAPTION_X     = 143
};

} // namespace

QVSprite *GameApp::digitSprite(char c)
{
    if (c == ',') {
        return &m_sprites[SPR_FONT_COMMA];
    }
    if (c >= '0' && c <= '9') {
        return &m_sprites[SPR_FONT_DIGIT + (c - '0')];
    }
    return nullptr;
}

void GameApp::drawNumber(const char *text, int x, int y, const HRect &clip)
{
    m_layOutNumber(text, x, y, &clip);
}

HRect GameApp::m_layOutNumber(const char *text, int x, int y, const HRect *clip)
{
    HRect area = { x, y, x, y };
    if (!text || !text[0]) {
        return area;
    }
    bool covered = false;
    int pen = x;
    int drawn = 0;
    bool commaPending = false;
    int i = (int)strlen(text) - 1;
    while (i >= 0) {
        QVSprite *glyph;
        int top = y;
        int advance;
        if (commaPending) {
            glyph = &m_sprites[SPR_FONT_COMMA];
            top = y + COMMA_DROP;
            advance = COMMA_ADVANCE;
            commaPending = false;
        } else {
            // A character without a glyph leaves a gap the width of a digit.
            glyph = digitSprite(text[i]);
            drawn++;
            commaPending = drawn % 3 == 0;
            advance = commaPending ? COMMA_GAP : DIGIT_ADVANCE;
            i--;
        }
        if (glyph && glyph->isLoaded()) {
            if (clip) {
                gameDrawSpriteBlended(*glyph, pen, top, *clip);
            }
            const HRect box = { pen, top, pen + glyph->getWidth(), top + glyph->getHeight() };
            if (!covered) {
                area = box;
                covered = true;
            }
            area.left = box.left < area.left ? box.left : area.left;
            area.top = box.top < area.top ? box.top : area.top;
            area.right = box.right > area.right ? box.right : area.right;
            area.bottom = box.bottom > area.bottom ? box.bottom : area.bottom;
        }
        pen -= advance;
    }
    return area;
}

void GameApp::drawTimeBar(const HRect &rect)
{
    if (isInfoScreenState(m_state) || m_paused || m_settings.m_iDidTutorial == 0) {
        return;
    }
    if (!rectsMeet(rect, m_timeBarRect)) {
        return;
    }
    QVSprite &timer = m_sprites[SPR_TIMER];
    const HRect target = {
        gameClampEdge(m_timeBarRect.left, rect.left, rect.right),
        gameClampEdge(m_timeBarRect.top, rect.top, rect.bottom),
        gameClampEdge(m_timeBarRect.right, rect.left, rect.right),
        gameClampEdge(m_timeBarRect.bottom, rect.top, rect.bottom)
    };
    const HRect source = { target.left - TIME_BAR_LEFT, target.top - TIME_BAR_TOP,
                           target.right - TIME_BAR_LEFT, target.bottom - TIME_BAR_TOP };
    if (target.right > target.left && target.bottom > target.top) {
        timer.drawBlended(target, source, 2, 1, 0, 255, 3, 1, 0, 255, 0);
    }

    int frame = m_bitesFrame;
    if (frame < 0 || frame > 2) {
        frame = 0;
    }
    QVSprite &bites = m_sprites[SPR_BITES + frame];
    if (bites.isLoaded()) {
        const HRect bitesRect = { m_timeBarRect.right, TIME_BAR_TOP,
                                  m_timeBarRect.right + bites.getWidth(), TIME_BAR_TOP + bites.getHeight() };
        if (rectsMeet(bitesRect, rect)) {
            gameDrawSpriteBlended(bites, m_timeBarRect.right, TIME_BAR_TOP, rect);
        }
    }
}

void GameApp::drawHud(const HRect &rect)
{
    const float f = m_countdownTotal > 0 ? (float)m_countdown / (float)m_countdownTotal : 0.0f;
    char text[NUMBER_BUFFER_SIZE];

    drawTimeBar(rect);

    if (rectsMeet(rect, scoreRect)) {
        // The score is unsigned: a huge one must not show a minus sign.
        stringPrintf(text, sizeof(text), "%u", m_score);
        drawNumber(text, SCORE_X, SCORE_Y, rect);
    }
    if (rectsMeet(rect, levelRect)) {
        stringPrintf(text, sizeof(text), "%d", m_levelIndex + 1);
        drawNumber(text, LEVEL_X, LEVEL_Y, rect);
    }
    if (rectsMeet(rect, crunchesRect)) {
        stringPrintf(text, sizeof(text), "%d", m_crunchesNeeded);
        drawNumber(text, CRUNCHES_X, CRUNCHES_Y, rect);
    }

    const int areaWidth = m_playAreaRect.right - m_playAreaRect.left;
    const int areaHeight = m_playAreaRect.bottom - m_playAreaRect.top;

    if (m_state == GS_GET_READY && !m_paused) {
        QVSprite &caption = m_sprites[SPR_LEVEL];
        gameDrawSpriteBlended(caption, LEVEL_CAPTION_X, CAPTION_Y, rect);
        stringPrintf(text, sizeof(text), "%d", m_levelIndex + 1);
        const int n = (int)strlen(text);
        const int width = caption.isLoaded() ? caption.getWidth() : 0;
        drawNumber(text, LEVEL_CAPTION_X + width + DIGIT_ADVANCE * n, CAPTION_Y, rect);
    } else if ((m_state == GS_BONUS_COUNT || m_state == GS_NEXT_LEVEL) && !m_paused) {
        gameDrawSpriteBlended(m_sprites[SPR_TIME_BONUS], BONUS_CAPTION_X, CAPTION_Y, rect);
        // The bonus counts up from 0 while the countdown runs out.
        const int bonus = m_state == GS_BONUS_COUNT ? (int)((float)m_levelBonus * (1.0f - f)) : m_levelBonus;
        stringPrintf(text, sizeof(text), "%d", bonus);
        const int n = (int)strlen(text);
        drawNumber(text, PLAY_AREA_LEFT + (areaWidth + DIGIT_ADVANCE * (n / 2)) / 2, areaHeight / 2, rect);
    } else if (m_state == GS_START_BONUS) {
        gameDrawSpriteBlended(m_sprites[SPR_STARTLEVEL_BONUS], START_CAPTION_X, CAPTION_Y, rect);
        stringPrintf(text, sizeof(text), "%d", m_startBonusShown);
        const int n = (int)strlen(text);
        drawNumber(text, PLAY_AREA_LEFT + (areaWidth + DIGIT_ADVANCE * n) / 2, areaHeight / 2, rect);
    }
}
