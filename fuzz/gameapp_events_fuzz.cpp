// Feeds arbitrary event sequences to the game's dispatcher and tick: clicks
// anywhere, keys with any character, commands, focus changes and clocks that
// jump or run backwards. No devices, so it runs fast; a quit is kept waiting
// on the queue so that any screen the game opens closes at once.
#include <cstdint>
#include <cstring>

#include "FuzzScratch.h"
#include "GameApp.h"
#include "HMessageBox.h"

namespace {

GameApp *s_app = nullptr;

bool s_setUp()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setMessageBoxHook([](uint32_t, const char *, const char *) { return (int)MB_RESULT_OK; });
    const std::string home = s_makeScratch("gameapp");
    if (home.empty()) {
        return false;
    }
    setenv("HOME", home.c_str(), 1);
    s_app = new GameApp;
    s_app->getRandom()->setSeed(7);
    s_app->initLevelTable();
    s_app->m_playAreaRect.left = 23;
    s_app->m_playAreaRect.top = 17;
    s_app->m_playAreaRect.right = 617;
    s_app->m_playAreaRect.bottom = 463;
    return true;
}

// Keys the fuzzer may press: the arrows, Shift, Return, the mouse button and
// plain characters. Fullscreen and sound restarts would build real devices.
const int s_keys[] = { 0, KC_LBUTTON, KC_LEFT, KC_UP, KC_RIGHT, KC_DOWN, KC_SHIFT, KC_RETURN, KC_A };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = s_setUp();
    if (!ready || size < 3) {
        return 0;
    }
    GameApp &app = *s_app;
    app.m_settings.setDefaults();
    app.m_settings.m_iDidTutorial = data[0] & 1;
    app.m_settings.m_iKeyboardMovesSpace = (data[0] >> 1) & 1;
    app.m_devMode = (data[0] & 4) != 0;
    app.m_typedCount = 0;
    app.m_typedLevel[0] = '\0';
    app.newGame((int8_t)data[1]);
    app.enterState((data[0] & 8) ? GS_INFO_START : GS_PLAYING, 0);

    int64_t now = 100000;
    app.setCurrentTime((uint64_t)now);
    for (size_t i = 2; i + 6 <= size; i += 6) {
        const uint8_t *p = data + i;
        HEvent event;
        memset(&event, 0, sizeof(event));
        event.m_iType = p[0] % ET_COUNT;
        if (event.m_iType == ET_TOGGLE_FULLSCREEN) {
            event.m_iType = ET_TIMESTAMP;
        }
        // Mostly forward, sometimes back.
        now += (p[1] & 0x80) ? -(int64_t)(p[1] & 0x7f) : (int64_t)p[1];
        event.setTime((uint64_t)now);
        event.m_iKey = s_keys[p[2] % (sizeof(s_keys) / sizeof(s_keys[0]))];
        event.m_cChar = p[3];
        if (event.m_cChar == 's' || event.m_cChar == 'v') {
            event.m_cChar = 'x';
        }
        event.m_iFlag = p[3] % 4;
        event.m_iX = p[4] * 3;
        event.m_iY = p[5] * 2;

        if (app.getEventQueue()->getPendingCount() == 0) {
            HEvent quit;
            memset(&quit, 0, sizeof(quit));
            quit.m_iType = ET_QUIT;
            app.getEventQueue()->postEvent(quit);
        }
        app.setCurrentTime(event.getTime());
        if (app.handleEvent(event)) {
            break;
        }
    }
    // Whatever happened, the game is in one of its states.
    if (app.m_state < GS_PLAYING || app.m_state > GS_EXITING) {
        __builtin_trap();
    }
    // Leave no pause behind for the next input.
    while (app.isPaused()) {
        app.m_endPause();
    }
    app.pause(false);
    return 0;
}
