#include "HSDLInputDevice.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>

#include "HEvent.h"
#include "HEventQueue.h"
#include "HLog.h"
#include "HMessageBox.h"

// Shared by the one device: modifiers of the last key event, and the chords
// whose press was consumed so their release is swallowed too.
static int32_t s_modifiers = 0;
static bool s_grabKeyDown = false;
static bool s_quitKeyDown = false;
static bool s_fullscreenKeyDown = false;

static HSDLInputDevice *s_pDevice = nullptr;
static HSDLInputDevice *s_pDeviceObject = nullptr;

static void s_destroyDevice()
{
    delete s_pDeviceObject;
    s_pDeviceObject = nullptr;
    s_pDevice = nullptr;
}

HSDLInputDevice *getInputDevice(void *pOwner)
{
    if (!s_pDeviceObject) {
        s_pDeviceObject = new HSDLInputDevice(pOwner);
        atexit(s_destroyDevice);
    }
    s_pDevice = s_pDeviceObject;
    return s_pDevice;
}

void releaseInputDevice()
{
    s_pDevice = nullptr;
}

void HSDLInputDevice::resetSharedState()
{
    s_modifiers = 0;
    s_grabKeyDown = false;
    s_quitKeyDown = false;
    s_fullscreenKeyDown = false;
}

HSDLInputDevice::HSDLInputDevice(void *pOwner)
    : HInputDevice(pOwner)
{
    memset(m_sdlKeyToKeyCode, 0, sizeof(m_sdlKeyToKeyCode));
    int32_t *t = m_sdlKeyToKeyCode;
    t[SDLK_BACKSPACE] = KC_BACK;
    t[SDLK_TAB] = KC_TAB;
    t[SDLK_CLEAR] = KC_CLEAR;
    t[SDLK_RETURN] = KC_RETURN;
    t[SDLK_PAUSE] = KC_PAUSE;
    t[SDLK_ESCAPE] = KC_ESCAPE;
    t[SDLK_SPACE] = KC_SPACE;
    for (int k = SDLK_0; k <= SDLK_9; k++) {
        t[k] = KC_0 + (k - SDLK_0);
    }
    for (int k = SDLK_a; k <= SDLK_z; k++) {
        t[k] = KC_A + (k - SDLK_a);
    }
    t[SDLK_DELETE] = KC_DELETE;
    for (int k = SDLK_KP0; k <= SDLK_KP9; k++) {
        t[k] = KC_NUMPAD0 + (k - SDLK_KP0);
    }
    t[SDLK_KP_PERIOD] = KC_DECIMAL;
    t[SDLK_KP_DIVIDE] = KC_DIVIDE;
    t[SDLK_KP_MULTIPLY] = KC_MULTIPLY;
    t[SDLK_KP_MINUS] = KC_SUBTRACT;
    t[SDLK_KP_PLUS] = KC_ADD;
    t[SDLK_KP_ENTER] = KC_RETURN;
    t[SDLK_UP] = KC_UP;
    t[SDLK_DOWN] = KC_DOWN;
    t[SDLK_RIGHT] = KC_RIGHT;
    t[SDLK_LEFT] = KC_LEFT;
    t[SDLK_INSERT] = KC_INSERT;
    t[SDLK_HOME] = KC_HOME;
    t[SDLK_END] = KC_END;
    t[SDLK_PAGEUP] = KC_PRIOR;
    t[SDLK_PAGEDOWN] = KC_NEXT;
    for (int k = SDLK_F1; k <= SDLK_F15; k++) {
        t[k] = KC_F1 + (k - SDLK_F1);
    }
    t[SDLK_NUMLOCK] = KC_NUMLOCK;
    t[SDLK_SCROLLOCK] = KC_SCROLL;
    t[SDLK_RSHIFT] = KC_SHIFT;
    t[SDLK_LSHIFT] = KC_SHIFT;
    t[SDLK_PRINT] = KC_PRINT;
    t[SDLK_MENU] = KC_APPS;
}

HSDLInputDevice::~HSDLInputDevice()
{
}

int HSDLInputDevice::keyCodeForSym(int sym) const
{
    return (sym >= 0 && sym < kiKeyTableSize) ? m_sdlKeyToKeyCode[sym] : 0;
}

bool HSDLInputDevice::create()
{
    logPrintf(">>>HSDLInputDevice::create()\n");
    logPrintf("ok\n");
    activate();
    return true;
}

void HSDLInputDevice::shutdown()
{
    deactivate();
}

void HSDLInputDevice::centerPointer()
{
    SDL_Surface *screen = SDL_GetVideoSurface();
    if (screen) {
        SDL_WarpMouse((Uint16)(screen->w / 2), (Uint16)(screen->h / 2));
    }
}

static int32_t s_modifierBits(SDLMod mod)
{
    int32_t bits = 0;
    if (mod & KMOD_CTRL) {
        bits = EM_CTRL;
    }
    if (mod & KMOD_ALT) {
        bits += EM_ALT;
    }
    if (mod & KMOD_SHIFT) {
        bits += EM_SHIFT;
    }
    return bits;
}

static bool s_isEnter(SDLKey sym)
{
    return sym == SDLK_RETURN || sym == SDLK_KP_ENTER;
}

bool HSDLInputDevice::m_translate(const SDL_Event &e, HEvent &out, int *pendingX, int *pendingY)
{
    switch (e.type) {
    case SDL_ACTIVEEVENT:
        out.m_iType = ET_ACTIVATE;
        out.m_iFlag = e.active.gain ? 1 : 0;
        return true;

    case SDL_KEYDOWN: {
        const SDLKey sym = e.key.keysym.sym;
        const SDLMod mod = e.key.keysym.mod;
        s_modifiers = s_modifierBits(mod);
        if ((mod & KMOD_CTRL) && sym == SDLK_g) {
            const SDL_GrabMode mode = SDL_WM_GrabInput(SDL_GRAB_QUERY);
            SDL_WM_GrabInput(mode == SDL_GRAB_ON ? SDL_GRAB_OFF : SDL_GRAB_ON);
            s_grabKeyDown = true;
            return false;
        }
        if ((mod & KMOD_META) && sym == SDLK_q) {
            out.m_iType = ET_QUIT;
            s_quitKeyDown = true;
            return true;
        }
        if ((mod & (KMOD_ALT | KMOD_META)) && s_isEnter(sym)) {
            out.m_iType = ET_TOGGLE_FULLSCREEN;
            s_fullscreenKeyDown = true;
            return true;
        }
        if ((int)sym >= kiKeyTableSize) {
            return false;
        }
        out.m_iType = ET_KEYDOWN;
        out.m_iKey = m_sdlKeyToKeyCode[sym];
        SDL_GetMouseState(&out.m_iX, &out.m_iY);
        out.m_cChar = e.key.keysym.unicode <= 255 ? (uint8_t)e.key.keysym.unicode : 0;
        *pendingX = *pendingY = -1;
        return true;
    }

    case SDL_KEYUP: {
        const SDLKey sym = e.key.keysym.sym;
        s_modifiers = s_modifierBits(e.key.keysym.mod);
        if (s_grabKeyDown && sym == SDLK_g) {
            s_grabKeyDown = false;
            return false;
        }
        if (s_quitKeyDown && sym == SDLK_q) {
            s_quitKeyDown = false;
            return false;
        }
        if (s_fullscreenKeyDown && s_isEnter(sym)) {
            s_fullscreenKeyDown = false;
            return false;
        }
        if ((int)sym >= kiKeyTableSize) {
            return false;
        }
        out.m_iType = ET_KEYUP;
        out.m_iKey = m_sdlKeyToKeyCode[sym];
        SDL_GetMouseState(&out.m_iX, &out.m_iY);
        *pendingX = *pendingY = -1;
        return true;
    }

    case SDL_MOUSEMOTION:
        *pendingX = e.motion.x;
        *pendingY = e.motion.y;
        return false;

    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        *pendingX = *pendingY = -1;
        switch (e.button.button) {
        case SDL_BUTTON_LEFT: out.m_iKey = KC_LBUTTON; break;
        case SDL_BUTTON_MIDDLE: out.m_iKey = KC_MBUTTON; break;
        case SDL_BUTTON_RIGHT: out.m_iKey = KC_RBUTTON; break;
        default: return false; // the wheel
        }
        out.m_iType = e.type == SDL_MOUSEBUTTONDOWN ? ET_KEYDOWN : ET_KEYUP;
        out.m_iX = e.button.x;
        out.m_iY = e.button.y;
        return true;

    case SDL_QUIT:
        out.m_iType = ET_QUIT;
        return true;

    case SDL_VIDEOEXPOSE:
        out.m_iType = ET_PAINT;
        return true;

    default:
        return false;
    }
}

bool HSDLInputDevice::pollEvents(HEventQueue *queue)
{
    // A close request or a signal that ended a message box ends the program
    // as it would have without the box.
    if (queue && takeMessageBoxQuit()) {
        HEvent quit;
        memset(&quit, 0, sizeof(quit));
        quit.m_iType = ET_QUIT;
        queue->postEvent(quit);
    }
    int pendingX = -1;
    int pendingY = -1;
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent)) {
        HEvent event;
        memset(&event, 0, sizeof(event));
        if (m_translate(sdlEvent, event, &pendingX, &pendingY)) {
            event.m_iModifiers = s_modifiers;
            if (queue) {
                queue->postEvent(event);
            }
        }
    }
    if (pendingX != -1 || pendingY != -1) {
        HEvent move;
        memset(&move, 0, sizeof(move));
        move.m_iType = ET_MOUSEMOVE;
        move.m_iX = pendingX;
        move.m_iY = pendingY;
        if (queue) {
            queue->postEvent(move);
        }
    }
    return true;
}

bool HSDLInputDevice::pollQuit()
{
    // SDL turns SIGINT and SIGTERM into SDL_QUIT; a box may have taken one
    // already. Everything else is dropped: SDL's queue must not fill up, or
    // a later close would be lost.
    bool quit = takeMessageBoxQuit();
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent)) {
        quit = quit || sdlEvent.type == SDL_QUIT;
    }
    return quit;
}
