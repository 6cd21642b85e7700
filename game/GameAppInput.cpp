#include "GameApp.h"

#include <cstdlib>
#include <cstring>

#include "HLog.h"
#include "HPlatform.h"

// Event time of the last window activation; the click that brings the
// window back to the front must not move a tile. The guard is dropped once
// a tick shows it has passed, so a stamp from long ago is never compared
// (spans of 2^31 ms or more count as none).
static uint64_t s_focusGainTime = 0;
static bool s_focusGuarded = false;

// Progress through the developer access sequence; kept across games.
static int s_devSequence = 0;

enum {
    FOCUS_CLICK_GUARD_MS    = 32,
    DEV_KEY_FIRST           = '[',  // the sequence is first, second, first
    DEV_KEY_SECOND          = ']',
    DEV_TIME_STEP           = 10,   // seconds per clock key
    TUTORIAL_SCRIPT_STEPS   = 5
};

// The cells the tutorial asks for, in order (column, row).
static const int s_tutorialCells[TUTORIAL_SCRIPT_STEPS][2] = {
    { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 }
};

// Screen to cell; floor division so points left of or above the board
// never round into column or row 0.
static int s_cellOf(int pixel, int origin)
{
    const int offset = pixel - origin;
    return offset >= 0 ? offset / CELL_PITCH : -((-offset + CELL_PITCH - 1) / CELL_PITCH);
}

bool GameApp::handleEvent(const HEvent &event)
{
    switch (event.m_iType) {
    case ET_QUIT:
        exitGame();
        break;
    case ET_TOGGLE_FULLSCREEN:
        ::toggleFullscreen(this);
        break;
    case ET_ACTIVATE:
        if (event.m_iFlag != 0) {
            s_focusGainTime = event.getTime();
            s_focusGuarded = true;
        }
        break;
    case ET_KEYUP:
        if (event.m_iKey == KC_LBUTTON) {
            m_buttonHeld = false;
        } else {
            onKeyUp(event);
        }
        break;
    case ET_KEYDOWN:
        if (event.m_iKey == KC_LBUTTON) {
            // Before any activation the guard runs from the clock's start.
            const uint64_t since = s_focusGuarded ? elapsedMilliseconds(event.getTime(), s_focusGainTime)
                                                  : event.getTime();
            if (since > FOCUS_CLICK_GUARD_MS) {
                onMouseDown(event.m_iX, event.m_iY);
            }
        } else {
            onKeyDown(event);
        }
        break;
    case ET_COMMAND:
        switch (event.m_iFlag) {
        case GAME_COMMAND_HIGHSCORES:
            showHighScores();
            break;
        case GAME_COMMAND_OPTIONS:
            showOptions();
            break;
        case GAME_COMMAND_RESTART:
            confirmRestart();
            break;
        default:
            break;
        }
        break;
    case ET_MOUSEMOVE:
        onMouseDrag(event.m_iX, event.m_iY);
        break;
    case ET_TIMESTAMP:
        if (s_focusGuarded && elapsedMilliseconds(event.getTime(), s_focusGainTime) > FOCUS_CLICK_GUARD_MS) {
            s_focusGuarded = false;
        }
        reportFailedInfoScreens();
        if (isTutorialActive()) {
            HRect hand;
            if (tutorialHandRect(&hand)) {
                invalidateRect(hand);
            }
        }
        break;
    case ET_PASTE:
    case ET_PAINT:
    case ET_WINDOW_MINIMIZED:
        break;
    default:
        errorPrintf("Unknown event type");
        break;
    }

    if (event.m_iType == ET_TIMESTAMP || event.m_iType == ET_QUIT) {
        stampGameClock(event);
        return !update();
    }
    return false;
}

void GameApp::m_makeMove(int column, int row)
{
    const int result = m_board.move(column, row, m_slideFrom);
    if (result == MOVE_LEGAL) {
        enterState(GS_SLIDING, isTutorialActive() ? TUTORIAL_SLIDE_MS : SLIDE_MS);
        playSound("click.wav", 128, 0, true);
    } else if (result == MOVE_BLOCKED) {
        playSound("blocked.ogg", 128, 0, true);
    }
}

void GameApp::onMouseDown(int x, int y)
{
    if (m_state == GS_EXITING || !rectHitInclusive(m_playAreaRect, x, y)) {
        return;
    }
    m_buttonHeld = true;

    if (m_paused) {
        playClickSound(this);
        setPaused(false);
        invalidateAll();
        return;
    }
    if (m_state != GS_PLAYING) {
        return;
    }

    m_lastClick[0] = x;
    m_lastClick[1] = y;
    const int column = s_cellOf(x, BOARD_LEFT);
    const int row = s_cellOf(y, BOARD_TOP);

    if (isTutorialActive() && m_tutorialStep >= 0 && m_tutorialStep < TUTORIAL_SCRIPT_STEPS) {
        if (column != s_tutorialCells[m_tutorialStep][0] || row != s_tutorialCells[m_tutorialStep][1]) {
            return;
        }
        invalidateAll();
        m_tutorialStep++;
    }
    m_makeMove(column, row);
}

void GameApp::onMouseDrag(int x, int y)
{
    if (m_buttonHeld && m_state == GS_PLAYING && rectHitInclusive(m_playAreaRect, x, y)) {
        onMouseDown(x, y);
    }
}

void GameApp::handleArrowKey(int direction)
{
    if (m_state != GS_PLAYING) {
        return;
    }
    int dx = 0, dy = 0;
    switch (direction) {
    case 0: dy = CELL_PITCH; break;
    case 1: dx = -CELL_PITCH; break;
    case 2: dx = CELL_PITCH; break;
    case 3: dy = -CELL_PITCH; break;
    default:
        alertBox("Unhandled key in handleArrowKey");
        break;
    }
    if (m_settings.m_iKeyboardMovesSpace == 0) {
        dx = -dx;
        dy = -dy;
    }
    m_lastClick[0] = BOARD_LEFT + CELL_PITCH * m_board.getBlankColumn() + dx;
    m_lastClick[1] = BOARD_TOP + CELL_PITCH * m_board.getBlankRow() + dy;
    m_makeMove(m_board.getBlankColumn() + dx / CELL_PITCH, m_board.getBlankRow() + dy / CELL_PITCH);
}

bool GameApp::m_handleDeveloperKeys(const HEvent &event)
{
    const char c = (char)event.m_cChar;

    // The access sequence: first, second, first. Other keys may come between.
    if (c == DEV_KEY_FIRST) {
        if (s_devSequence == 2) {
            m_devMode = !m_devMode;
            s_devSequence = 0;
            return true;
        }
        s_devSequence = 1;
    } else if (c == DEV_KEY_SECOND) {
        if (s_devSequence == 1) {
            s_devSequence = 2;
        }
    }

    if (!m_devMode) {
        return false;
    }
    if (c == 's') {
        // The mixer's voices go with the device: forget the alarm's.
        stopAlarm();
        m_alarmVoice = -1;
        destroyAudio();
        createAudioDevice(m_pResourceFileSystem, 2, 16, 22050);
        loadSounds(false);
        setMusicPlaying(true);
    } else if (c == '-') {
        m_timeLeft -= (float)DEV_TIME_STEP;
    } else if (c == '=') {
        m_timeLeft += (float)DEV_TIME_STEP;
    } else if (c == 'v') {
        // toggleFullscreen flips the setting itself; flipping it here too
        // would store the opposite of what the screen shows.
        ::toggleFullscreen(this);
    }
    return false;
}

// Digit of a shifted digit key on a US keyboard, or 0.
static char s_shiftedDigit(char c)
{
    static const char shifted[] = ")!@#$%^&*(";
    for (int i = 0; i < 10; i++) {
        if (shifted[i] == c) {
            return (char)('0' + i);
        }
    }
    return 0;
}

void GameApp::onKeyDown(const HEvent &event)
{
    switch (event.m_iKey) {
    case KC_LEFT:   handleArrowKey(1); return;
    case KC_UP:     handleArrowKey(3); return;
    case KC_RIGHT:  handleArrowKey(2); return;
    case KC_DOWN:   handleArrowKey(0); return;
    default:        break;
    }

    if (m_handleDeveloperKeys(event)) {
        return;
    }

    if (isInfoScreenState(m_state) && event.m_cChar == '\r') {
        if (m_state == GS_INFO_START) {
            newGame(m_settings.m_iStartLevel);
        }
        enterState(GS_GET_READY, GET_READY_INFO_MS);
        invalidateRect(m_playAreaRect);
    }

    const char digit = s_shiftedDigit((char)event.m_cChar);
    if (digit && m_typedCount <= TYPED_LEVEL_SIZE - 2) {
        m_typedLevel[m_typedCount++] = digit;
        m_typedLevel[m_typedCount] = '\0';
    }
}

void GameApp::onKeyUp(const HEvent &event)
{
    if (event.m_iKey != KC_SHIFT || m_state != GS_PLAYING || m_typedCount == 0) {
        return;
    }
    if (m_devMode) {
        // At most 15 digits; strtol saturates instead of overflowing.
        long level = strtol(m_typedLevel, nullptr, 10);
        if (level > 0x7fffffffL) {
            level = 0x7fffffffL;
        }
        newGame((int)level);
    }
    memset(m_typedLevel, 0, sizeof(m_typedLevel));
    m_typedCount = 0;
}

void GameApp::setActive(bool active)
{
    if (!active && m_state != GS_INFO_START) {
        m_buttonHeld = false;
        setPaused(true);
    }
    QVApplication::setActive(active);
}

void GameApp::confirmRestart()
{
    const bool playOrInfo = m_state == GS_PLAYING || isInfoScreenState(m_state);
    if (m_state == GS_INFO_START || isTutorialActive() || !(playOrInfo || m_paused) ||
        !(m_timeLeft > 0.0f)) {
        return;
    }
    m_beginPause();
    stopAlarm();
    const int result = confirmDialog(-1, -1, 0, "restart_areyousure.jpg",
                                     "restart_areyousure_OK.tga", "restart_areyousure_OK_lit.tga",
                                     "restart_areyousure_CANCEL.tga",
                                     "restart_areyousure_CANCEL_lit.tga");
    // Only OK throws the game away; a close of the window (2) keeps it, as
    // Cancel does.
    if (result == 1) {
        resetToTitle();
    }
    playClickSound(this);
    m_endPause();
}
