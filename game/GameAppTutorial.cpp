// The tutorial's pictures: one page per scripted step under the board, and a
// pulsing hand over the cell the player is to click next.
#include "GameApp.h"

#include <cmath>

#include "GameDrawClip.h"
#include "HPlatform.h"

namespace {

enum {
    TUTORIAL_PAGES      = 6,
    TUTORIAL_CLICKS     = 5,
    PAGE_X              = 60,
    PAGE_Y              = 355,
    HAND_LEFT           = 58,   // over cell (0, 0); one cell pitch per column and row
    HAND_TOP            = 45,
    HAND_PULSE_MS       = 1800  // one swing of the hand's opacity
};

const char *const s_pageNames[TUTORIAL_PAGES] = {
    "tutorial_1.jpg", "tutorial_2.jpg", "tutorial_3.jpg",
    "tutorial_4.jpg", "tutorial_5.jpg", "tutorial_6.jpg",
};

// The cell (column, row) each scripted click is made on.
const int s_clickCells[TUTORIAL_CLICKS][2] = {
    { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 },
};

} // namespace

void GameApp::loadTutorialPages()
{
    // Failures are not reported: a missing page is simply not drawn. Pages
    // already held are not loaded twice, so one release gives them back.
    for (int i = 0; i < TUTORIAL_PAGES; i++) {
        QVSprite &page = m_sprites[SPR_TUTORIAL_PAGE + i];
        if (!page.isLoaded()) {
            page.load(m_pDisplayDevice, m_pResourceFileSystem, s_pageNames[i]);
        }
    }
    QVSprite &hand = m_sprites[SPR_TUTORIAL_HAND];
    if (!hand.isLoaded()) {
        hand.load(m_pDisplayDevice, m_pResourceFileSystem, "tutorial_hand.tga");
    }
}

void GameApp::releaseTutorialPages()
{
    for (int i = 0; i <= TUTORIAL_PAGES; i++) {
        QVSprite &sprite = m_sprites[SPR_TUTORIAL_PAGE + i];
        while (sprite.isLoaded()) {
            sprite.release();
        }
    }
}

bool GameApp::tutorialHandRect(HRect *outRect)
{
    QVSprite &hand = m_sprites[SPR_TUTORIAL_HAND];
    if (!hand.isLoaded() || m_tutorialStep < 0 || m_tutorialStep >= TUTORIAL_CLICKS) {
        return false;
    }
    if (outRect) {
        outRect->left = HAND_LEFT + CELL_PITCH * s_clickCells[m_tutorialStep][0];
        outRect->top = HAND_TOP + CELL_PITCH * s_clickCells[m_tutorialStep][1];
        outRect->right = outRect->left + hand.getWidth();
        outRect->bottom = outRect->top + hand.getHeight();
    }
    return true;
}

void GameApp::drawTutorial(const HRect &rect)
{
    if (m_settings.m_iDidTutorial != 0 || isPaused() || m_state == GS_EXITING ||
        !m_sprites[SPR_TUTORIAL_PAGE].isLoaded()) {
        return;
    }

    if (m_tutorialStep >= 0 && m_tutorialStep < TUTORIAL_PAGES) {
        gameDrawSpriteCopied(m_sprites[SPR_TUTORIAL_PAGE + m_tutorialStep], PAGE_X, PAGE_Y, rect);
    }

    HRect handRect;
    if (tutorialHandRect(&handRect)) {
        // The platform clock, not the event clock: the pulse is decoration
        // and keeps moving whatever the game's time does, and its beat
        // goes on when the tick count wraps.
        const double degrees = (double)(getSteadyMilliseconds() % HAND_PULSE_MS) / 5.0;
        const int alpha = (int)((std::sin(degrees * M_PI / 180.0) * 0.5 + 0.5) * 255.0);
        QVSprite &hand = m_sprites[SPR_TUTORIAL_HAND];
        HRect target, source;
        if (gameClipSprite(hand, handRect.left, handRect.top, rect, &target, &source)) {
            hand.drawBlended(target, source, 2, 2, 0, alpha, 1, 1, 0, 255, 0);
        }
    }
}
