#include "GameApp.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "GameDrawClip.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HString.h"

const HRect scoreRect    = { 470, 150, 625, 175 };
const HRect levelRect    = { 520, 205, 575, 230 };
const HRect crunchesRect = { 520, 260, 575, 285 };
const HRect messageRect  = { 100, 100, 380, 260 };

enum {
    BONUS_CLICK_MS          = 60,
    FLOATING_SCORE_MS       = 2000,
    BLINK_HALF_PERIOD_MS    = 250,
    ALARM_SECONDS           = 10
};

// Float to int toward zero, saturated: a huge clock from the developer keys
// or a far level must not turn a bonus into undefined behaviour.
static int s_truncSaturate(double value)
{
    if (!(value == value)) {
        return 0;
    }
    if (value >= (double)INT_MAX) {
        return INT_MAX;
    }
    if (value <= (double)INT_MIN) {
        return INT_MIN;
    }
    return (int)value;
}

void GameApp::enterState(int state, int lengthMs)
{
    m_state = state;
    m_countdown = m_countdownTotal = lengthMs;
}

void GameApp::resetToTitle()
{
    enterState(GS_INFO_START, 0);
}

void GameApp::stampGameClock(const HEvent &event)
{
    // The event clock less every pause, on the 32 bits the stamps carry.
    // The game clock moves on by its steps, so it runs on across the tick
    // count's wrap, stands while a pause runs and never runs backwards.
    const uint32_t paused = (uint32_t)getPausedTime();
    const uint32_t reading = (uint32_t)event.getTime() - paused;
    if (m_clockRead) {
        const uint32_t step = elapsedMilliseconds(reading, m_lastClockReading);
        // A stamp behind the last one still moves the game on by 1 ms, as a
        // step back always has; with pauses taken out it only stands still.
        const bool back = step == 0 && reading != m_lastClockReading;
        m_gameTime += back && paused == 0 ? 1 : step;
    } else {
        m_gameTime = reading;
        m_clockRead = true;
    }
    m_lastClockReading = reading;
}

bool GameApp::update()
{
    if (isPaused()) {
        // The game clock stands still: the ticks are paced as a dialog's.
        paceIdleTick(getCurrentTime());
        return m_state != GS_EXITING;
    }
    if (m_lastTickTime == 0) {
        m_lastTickTime = m_gameTime;
        tracePrintf("Initializing last update time: %d\n", (int)m_gameTime);
    }
    int elapsed = (int32_t)(m_gameTime - m_lastTickTime);
    if (elapsed <= IDLE_TICK_MS - 1 && m_countdown == 0) {
        // A clock that went backwards must not turn into a long sleep.
        sleepMilliseconds((uint32_t)(elapsed < 0 ? IDLE_TICK_MS : IDLE_TICK_MS - elapsed));
    }
    if (elapsed < 0) {
        elapsed = 1;
    }
    m_lastTickTime = m_gameTime;
    m_countdown -= elapsed;

    updateFloatingScores(elapsed);
    m_board.animate(this, elapsed);
    updateTimeBar();

    if (m_countdown <= 0) {
        m_countdown = m_countdownTotal = 0;
    }

    bool wildArrived = false;
    const bool expired = m_countdown == 0;
    switch (m_state) {
    case GS_PLAYING:
        processCrunches(&wildArrived);
        if (!isTutorialActive()) {
            m_levelClock(elapsed);
        }
        break;
    case GS_SLIDING:
        animateSlide();
        if (expired) {
            processCrunches(&wildArrived);
        }
        break;
    case GS_CRUNCHING:
        if (expired) {
            if (m_crunchesNeeded > 0) {
                processCrunches(&wildArrived);
            } else {
                enterState(GS_LEVEL_DONE, LEVEL_DONE_MS);
                m_board.explodeAll();
                stopAlarm();
                playSound("levelup.ogg", 128, 0, true);
                invalidatePlayArea();
            }
        }
        break;
    case GS_REFILLING:
        invalidatePlayArea();
        if (expired) {
            processCrunches(&wildArrived);
        }
        break;
    case GS_LEVEL_DONE:
        if (expired) {
            if (m_settings.m_iStartLevel == m_levelIndex + 1 && m_startBonus != 0) {
                m_startBonusShown = currentLevelRow().m_startBonus;
                enterState(GS_START_BONUS, START_BONUS_MS);
            } else {
                if (m_levelIndex <= 2) {
                    m_levelBonus = m_levelTime > 0.0f
                        ? s_truncSaturate((double)m_timeLeft / m_levelTime * 3000.0) : 0;
                } else {
                    m_levelBonus = s_truncSaturate(10.0 * m_timeLeft * ((double)m_levelIndex + 1.0));
                }
                enterState(GS_BONUS_COUNT, BONUS_COUNT_MS);
            }
            invalidatePlayArea();
        }
        break;
    case GS_BONUS_COUNT:
        if (m_gameTime - m_lastBonusClickTime > BONUS_CLICK_MS) {
            invalidateRect(messageRect);
            playSound("click.wav", 128, 0, true);
            m_lastBonusClickTime = m_gameTime;
        }
        if (expired) {
            m_score += (uint32_t)m_levelBonus;
            for (int i = 0; i < FLOATING_SCORE_COUNT; i++) {
                m_floatingScores[i].m_timeMs = 0;
            }
            enterState(GS_NEXT_LEVEL, NEXT_LEVEL_MS);
            m_score += (uint32_t)m_startBonus;
            m_startBonus = 0;
            invalidateRect(messageRect);
            invalidateRect(scoreRect);
            invalidateRect(crunchesRect);
        }
        break;
    case GS_NEXT_LEVEL:
        if (expired) {
            startLevel();
            switch (m_levelIndex) {
            case 1:  enterState(GS_INFO_HINT, 0); break;
            case 2:  enterState(GS_INFO_BLACKJELLYBEAN, 0); break;
            case 5:  enterState(GS_INFO_RED, 0); break;
            case 6:  enterState(GS_INFO_WILDCARD, 0); break;
            case 9:  enterState(GS_INFO_GREEN, 0); break;
            case 13: enterState(GS_INFO_BLUE, 0); break;
            default: enterState(GS_GET_READY, GET_READY_LEVEL_MS); break;
            }
            invalidatePlayArea();
        }
        break;
    case GS_GET_READY:
        if (expired) {
            enterState(GS_PLAYING, 0);
            invalidatePlayArea();
        }
        break;
    case GS_START_BONUS:
        if (expired) {
            TileCell first;
            first.m_type = currentLevelRow().m_baseType + 1;
            first.m_exploding = 0;
            first.m_totalMs = first.m_remainingMs = 0;
            first.m_sprite = nullptr;
            const int points = getTileScore(&first);
            m_levelBonus = s_truncSaturate((double)points * m_timeLeft * ((double)m_levelIndex + 1.0));
            enterState(GS_BONUS_COUNT, BONUS_COUNT_MS);
            invalidatePlayArea();
        }
        break;
    case GS_EXITING:
        return false;
    default:
        // Info screens wait for Enter or the start button.
        break;
    }

    if (wildArrived) {
        playSound("candycane.ogg", 128, 0, true);
    }
    return true;
}

void GameApp::m_levelClock(int elapsedMs)
{
    m_timeLeft -= (float)elapsedMs / 1000.0f;

    if (m_state == GS_PLAYING && m_timeLeft <= 0.0f) {
        stopAlarm();
        playSound("gameover.ogg", 128, 0, true);
        showGameOver();
        if (m_highScores.rank() >= 0) {
            enterHighScoreName();
        }
        enterState(GS_INFO_START, 0);
    }

    const float t = m_timeLeft;
    if (t > 0.0f && t < (float)ALARM_SECONDS) {
        const int volume = (int)(((1.0f - t / (float)ALARM_SECONDS) * 0.5f + 0.5f) * 255.0f);
        setAlarmVolume((uint8_t)volume);
    } else if (t > (float)ALARM_SECONDS) {
        stopAlarm();
    }
}

void GameApp::processCrunches(bool *wildArrived)
{
    int lines = 0;
    int score = 0;
    bool wild = false;
    bool blocker = false;
    const int result = m_board.evaluate(&lines, &score, &wild, &blocker);
    if (wild && wildArrived) {
        *wildArrived = true;
    }
    m_state = result;

    if (result == EVALUATE_LINES_FOUND) {
        // 64-bit: far levels multiply past what an int holds.
        int64_t wide = ((int64_t)m_levelIndex + 1) * score;
        if (wide > INT_MAX) {
            wide = INT_MAX;
        }
        const int points = (int)wide;
        addFloatingScore(points);
        m_countdown = m_countdownTotal = CRUNCH_MS;
        const float added = m_timeLeft + (float)lines * m_secondsPerCrunch;
        m_timeLeft = added < m_levelTime ? added : m_levelTime;
        m_score += (uint32_t)points;
        invalidateRect(scoreRect);
        // More lines than were needed may go in one move: none are left,
        // never fewer (the HUD has no minus sign).
        m_crunchesNeeded = lines < m_crunchesNeeded ? m_crunchesNeeded - lines : 0;
        invalidateRect(crunchesRect);

        const char *crunch = blocker ? "bjbcrunch.ogg" : "crunch.wav";
        if (m_crunchesNeeded == 1 && !isTutorialActive()) {
            playSound("onemoretogo.ogg", 128, 0, true);
            playSound(crunch, 64, 0, true);
        } else {
            playSound(crunch, 128, 0, true);
        }
    } else if (result == EVALUATE_REFILLED) {
        m_countdown = m_countdownTotal = REFILL_MS;
    } else {
        m_countdown = m_countdownTotal = 0;
    }
}

// --- floating scores ---

void GameApp::addFloatingScore(int value)
{
    for (int i = 0; i < FLOATING_SCORE_COUNT; i++) {
        FloatingScore &fs = m_floatingScores[i];
        if (fs.m_timeMs != 0) {
            continue;
        }
        fs.m_value = value;
        fs.m_x = fs.m_prevX = (float)m_lastClick[0];
        fs.m_y = fs.m_prevY = (float)m_lastClick[1];
        fs.m_velX = fs.m_velY = 0.0f;
        fs.m_accX = 0.0f;
        fs.m_accY = -200.0f;
        fs.m_timeMs = FLOATING_SCORE_MS;
        return;
    }
    // All eight in flight: the text is dropped, the points still count.
}

HRect GameApp::m_layOutFloatingScore(const FloatingScore &score, const HRect *clip)
{
    char text[64];
    stringPrintf(text, sizeof(text), "%d", score.m_value);
    return m_layOutNumber(text, (int)score.m_x, (int)score.m_y, clip);
}

void GameApp::updateFloatingScores(int elapsedMs)
{
    for (int i = 0; i < FLOATING_SCORE_COUNT; i++) {
        FloatingScore &fs = m_floatingScores[i];
        if (fs.m_timeMs == 0) {
            continue;
        }
        fs.m_timeMs -= elapsedMs;
        // The whole figure where it was drawn: every digit of it must go
        // when it moves on or ends.
        const HRect before = m_layOutFloatingScore(fs, nullptr);
        if (fs.m_timeMs <= 0) {
            fs.m_timeMs = 0;
            invalidateRect(before);
            continue;
        }
        const float dt = (float)elapsedMs / 1000.0f;
        fs.m_prevX = fs.m_x;
        fs.m_prevY = fs.m_y;
        fs.m_x += fs.m_velX * dt;
        fs.m_y += fs.m_velY * dt;
        fs.m_velX += fs.m_accX * dt;
        fs.m_velY += fs.m_accY * dt;
        if ((int)fs.m_x != (int)fs.m_prevX || (int)fs.m_y != (int)fs.m_prevY) {
            invalidateRect(before);
            invalidateRect(m_layOutFloatingScore(fs, nullptr));
        }
    }
}

void GameApp::drawFloatingScores(const HRect &rect)
{
    if (m_paused) {
        return;
    }
    // Only inside the play area: a figure that rose past its top, or that
    // stands still under a dialog, never lands on the frame around it.
    const HRect clip = { gameClampEdge(rect.left, m_playAreaRect.left, m_playAreaRect.right),
                         gameClampEdge(rect.top, m_playAreaRect.top, m_playAreaRect.bottom),
                         gameClampEdge(rect.right, m_playAreaRect.left, m_playAreaRect.right),
                         gameClampEdge(rect.bottom, m_playAreaRect.top, m_playAreaRect.bottom) };
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        return;
    }
    for (int i = 0; i < FLOATING_SCORE_COUNT; i++) {
        const FloatingScore &fs = m_floatingScores[i];
        if (fs.m_timeMs == 0) {
            continue;
        }
        m_layOutFloatingScore(fs, &clip);
    }
}

// --- time bar ---

void GameApp::updateTimeBar()
{
    if (isInfoScreenState(m_state)) {
        m_timeBarRect.left = m_timeBarRect.right;
        return;
    }
    const QVSprite &timer = m_sprites[SPR_TIMER];
    const int width = timer.isLoaded() ? timer.getWidth() : 0;

    if (m_timeLeft < (float)ALARM_SECONDS && m_state != GS_BONUS_COUNT &&
        ((m_gameTime / BLINK_HALF_PERIOD_MS) & 1) != 0) {
        if (m_timeBarRect.left != m_timeBarRect.right) {
            m_timeBarRect.right += 10;
            invalidateRect(m_timeBarRect);
            m_timeBarRect.left = m_timeBarRect.right;
        }
        return;
    }

    // A blink leaves the bar empty; coming back it must be drawn whole.
    const bool wasHidden = m_timeBarRect.left == m_timeBarRect.right;
    m_timeBarRect.left = TIME_BAR_LEFT;
    float f = m_levelTime > 0.0f ? m_timeLeft / m_levelTime : 0.0f;
    if (m_state == GS_BONUS_COUNT) {
        f = m_countdownTotal > 0 ? ((float)m_countdown / (float)m_countdownTotal) * f : 0.0f;
    } else if (m_state == GS_NEXT_LEVEL) {
        f = 0.0f;
    }
    if (!(f > 0.0f)) {
        f = 0.0f;
    } else if (f > 1.0f) {
        f = 1.0f;
    }

    const int oldRight = m_timeBarRect.right;
    const int newRight = TIME_BAR_LEFT + (int)(f * (float)width);
    const bool moved = newRight != oldRight;
    if (moved || wasHidden) {
        // The old bites stand right of the old edge: a bar that shrinks by
        // more than their width must not leave them behind.
        const QVSprite &oldBitesSprite = m_sprites[SPR_BITES + (m_bitesFrame >= 0 && m_bitesFrame < 3 ? m_bitesFrame : 0)];
        const int oldBitesW = oldBitesSprite.isLoaded() ? oldBitesSprite.getWidth() : 0;
        const HRect strip = { wasHidden ? TIME_BAR_LEFT : (oldRight < newRight ? oldRight : newRight),
                              m_timeBarRect.top,
                              (oldRight < newRight ? newRight : oldRight) + oldBitesW, m_timeBarRect.bottom };
        invalidateRect(strip);
        m_timeBarRect.right = newRight;
    }

    const int frame = abs(s_truncSaturate((double)m_timeLeft * 8.0) % 3);
    if (frame != m_bitesFrame || moved) {
        const QVSprite &oldBites = m_sprites[SPR_BITES + (m_bitesFrame >= 0 && m_bitesFrame < 3 ? m_bitesFrame : 0)];
        const QVSprite &newBites = m_sprites[SPR_BITES + frame];
        const int oldW = oldBites.isLoaded() ? oldBites.getWidth() : 0;
        const int newW = newBites.isLoaded() ? newBites.getWidth() : 0;
        const int oldH = oldBites.isLoaded() ? oldBites.getHeight() : 0;
        const int newH = newBites.isLoaded() ? newBites.getHeight() : 0;
        int height = m_timeBarRect.bottom - m_timeBarRect.top;
        if (oldH > height) height = oldH;
        if (newH > height) height = newH;
        const HRect bites = { newRight - 2, TIME_BAR_TOP, newRight + (oldW > newW ? oldW : newW),
                              TIME_BAR_TOP + height };
        invalidateRect(bites);
        m_bitesFrame = frame;
    }
}
