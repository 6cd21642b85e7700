#include <gtest/gtest.h>

#include <SDL.h>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "HCommandLine.h"
#include "HEventQueue.h"
#include "HInputEventSource.h"
#include "HMessageBox.h"
#include "HSDLInputDevice.h"
#include "program_child.h"

// SDL's dummy video driver (set by the test main) with events pushed by
// hand: what comes out of the engine queue is what the game would see.
class SDLInputTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        ASSERT_NE(SDL_SetVideoMode(640, 480, 16, SDL_HWPALETTE), nullptr);
        SDL_EnableUNICODE(1);
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
        HEventQueue::resetSharedState();
        HSDLInputDevice::resetSharedState();
        m_device = getInputDevice(nullptr);
        ASSERT_NE(m_device, nullptr);
    }
    void TearDown() override
    {
        SDL_WM_GrabInput(SDL_GRAB_OFF);
        releaseInputDevice();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    static void pushKey(bool down, SDLKey sym, int mod = KMOD_NONE, uint16_t unicode = 0)
    {
        SDL_Event e;
        memset(&e, 0, sizeof(e));
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
        e.key.keysym.mod = (SDLMod)mod;
        e.key.keysym.unicode = unicode;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void pushMotion(int x, int y)
    {
        SDL_Event e;
        memset(&e, 0, sizeof(e));
        e.type = SDL_MOUSEMOTION;
        e.motion.x = (Uint16)x;
        e.motion.y = (Uint16)y;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void pushButton(bool down, int button, int x, int y)
    {
        SDL_Event e;
        memset(&e, 0, sizeof(e));
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = (Uint8)button;
        e.button.x = (Uint16)x;
        e.button.y = (Uint16)y;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void pushType(Uint8 type)
    {
        SDL_Event e;
        memset(&e, 0, sizeof(e));
        e.type = type;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
    static void pushActive(int gain)
    {
        SDL_Event e;
        memset(&e, 0, sizeof(e));
        e.type = SDL_ACTIVEEVENT;
        e.active.gain = (Uint8)gain;
        e.active.state = SDL_APPINPUTFOCUS;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }

    // One poll through the queue; everything it produced, idle ticks left out.
    std::vector<HEvent> poll()
    {
        HEventQueue queue;
        queue.addEventSource(m_device->getEventSource());
        std::vector<HEvent> out;
        HEvent e;
        while (queue.getEvent(e, false)) {
            if (e.m_iType == ET_TIMESTAMP) break;
            out.push_back(e);
        }
        return out;
    }

    HSDLInputDevice *m_device = nullptr;
};

TEST_F(SDLInputTest, OneDevicePerProcess)
{
    HSDLInputDevice *again = getInputDevice((void *)0x1234);
    EXPECT_EQ(again, m_device);
    EXPECT_EQ(again->getOwner(), nullptr); // the first owner stays
    releaseInputDevice();
    EXPECT_EQ(getInputDevice(nullptr), m_device);
    EXPECT_TRUE(m_device->create());
    EXPECT_NE(m_device->getEventSource(), nullptr);
}

TEST_F(SDLInputTest, KeysBecomeKeyCodes)
{
    pushKey(true, SDLK_g, KMOD_NONE, 'g');
    pushKey(false, SDLK_g);
    pushKey(true, SDLK_KP_ENTER);
    pushKey(true, SDLK_F15);
    pushKey(true, SDLK_LCTRL, KMOD_LCTRL);
    pushKey(true, SDLK_RSHIFT, KMOD_RSHIFT | KMOD_LALT);
    pushKey(true, SDLK_e, KMOD_NONE, 0x00E9);  // Latin-1 character kept
    pushKey(true, SDLK_e, KMOD_NONE, 0x20AC);  // beyond Latin-1: no character
    pushKey(true, (SDLKey)400);                 // outside the table: nothing
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 8u);
    EXPECT_EQ(got[0].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[0].m_iKey, 71);
    EXPECT_EQ(got[0].m_cChar, 'g');
    EXPECT_EQ(got[1].m_iType, ET_KEYUP);
    EXPECT_EQ(got[1].m_iKey, 71);
    EXPECT_EQ(got[1].m_cChar, 0);
    EXPECT_EQ(got[2].m_iKey, KC_RETURN);
    EXPECT_EQ(got[3].m_iKey, 126);
    EXPECT_EQ(got[4].m_iKey, 0);
    EXPECT_EQ(got[4].m_cChar, 0);
    EXPECT_EQ(got[4].m_iModifiers, EM_CTRL);
    EXPECT_EQ(got[5].m_iKey, KC_SHIFT);
    EXPECT_EQ(got[5].m_iModifiers, EM_ALT | EM_SHIFT);
    EXPECT_EQ(got[6].m_cChar, 0xE9);
    EXPECT_EQ(got[7].m_cChar, 0);
    for (const HEvent &e : got) {
        EXPECT_EQ(e.m_iReserved1, 0);
        EXPECT_EQ(e.m_iReserved2, 0);
    }
    EXPECT_EQ(m_device->keyCodeForSym(SDLK_MENU), 91);
    EXPECT_EQ(m_device->keyCodeForSym(SDLK_DELETE), KC_DELETE);
    EXPECT_EQ(m_device->keyCodeForSym(SDLK_KP5), 101);
    EXPECT_EQ(m_device->keyCodeForSym(SDLK_LALT), 0);
    EXPECT_EQ(m_device->keyCodeForSym(323), 0);
    EXPECT_EQ(m_device->keyCodeForSym(-1), 0);
}

TEST_F(SDLInputTest, ChordsAreConsumedWithTheirRelease)
{
    pushKey(true, SDLK_g, KMOD_LCTRL, 7);
    pushKey(false, SDLK_g, KMOD_LCTRL);
    pushKey(true, SDLK_q, KMOD_LMETA, 'q');
    pushKey(false, SDLK_q, KMOD_LMETA);
    pushKey(true, SDLK_KP_ENTER, KMOD_LALT);
    pushKey(false, SDLK_KP_ENTER, KMOD_LALT);
    pushKey(true, SDLK_RETURN, KMOD_RMETA);
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].m_iType, ET_QUIT);
    EXPECT_EQ(got[1].m_iType, ET_TOGGLE_FULLSCREEN);
    EXPECT_EQ(got[1].m_iModifiers, EM_ALT);
    EXPECT_EQ(got[2].m_iType, ET_TOGGLE_FULLSCREEN);

    // The release may come in a later poll and is still swallowed; the next
    // plain press is an ordinary key.
    pushKey(false, SDLK_RETURN);
    pushKey(true, SDLK_g, KMOD_NONE, 'g');
    got = poll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[0].m_iKey, 71);
}

TEST_F(SDLInputTest, PointerMotionIsCoalesced)
{
    pushMotion(10, 10);
    pushMotion(20, 20);
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].m_iType, ET_MOUSEMOVE);
    EXPECT_EQ(got[0].m_iX, 20);
    EXPECT_EQ(got[0].m_iY, 20);
    EXPECT_EQ(got[0].m_iModifiers, 0);

    pushMotion(30, 30);
    pushButton(true, SDL_BUTTON_LEFT, 31, 32);
    got = poll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[0].m_iKey, KC_LBUTTON);
    EXPECT_EQ(got[0].m_iX, 31);
    EXPECT_EQ(got[0].m_iY, 32);

    pushMotion(40, 41);
    pushActive(0);
    got = poll();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].m_iType, ET_ACTIVATE);
    EXPECT_EQ(got[0].m_iFlag, 0);
    EXPECT_EQ(got[1].m_iType, ET_MOUSEMOVE);
    EXPECT_EQ(got[1].m_iX, 40);
    EXPECT_EQ(got[1].m_iY, 41);
}

TEST_F(SDLInputTest, ButtonsWindowAndQuit)
{
    pushButton(true, SDL_BUTTON_RIGHT, 5, 6);
    pushButton(false, SDL_BUTTON_MIDDLE, 7, 8);
    pushButton(true, SDL_BUTTON_WHEELUP, 1, 1);
    pushButton(false, SDL_BUTTON_WHEELDOWN, 1, 1);
    pushActive(1);
    pushType(SDL_VIDEOEXPOSE);
    pushType(SDL_QUIT);
    pushType(SDL_VIDEORESIZE);
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[0].m_iKey, KC_RBUTTON);
    EXPECT_EQ(got[1].m_iType, ET_KEYUP);
    EXPECT_EQ(got[1].m_iKey, KC_MBUTTON);
    EXPECT_EQ(got[2].m_iType, ET_ACTIVATE);
    EXPECT_EQ(got[2].m_iFlag, 1);
    EXPECT_EQ(got[3].m_iType, ET_PAINT);
    EXPECT_EQ(got[4].m_iType, ET_QUIT);
}

// The window's close button (or SIGINT or SIGTERM, which SDL turns into the
// same request) while a message box waits: the box answers with its first
// button and the game still gets the quit, once, before what came after.
TEST_F(SDLInputTest, QuitThatEndedAMessageBoxStillComesThrough)
{
    const std::string resources = GOBSTREL_RESOURCE_DIR;
    if (!pathExists(resources + "quorvex.ttf")) {
        GTEST_SKIP() << "no box font generated";
    }
    const std::string oldResources = getResourcePath();
    setResourcePath(resources.c_str());
    const HMessageBoxHook hook = getMessageBoxHook();
    setMessageBoxHook(nullptr);

    pushType(SDL_QUIT);
    pushKey(true, SDLK_n, KMOD_NONE, 'n');
    alarm(20);
    const int answer = showMessageBox(MB_TYPE_YESNO, "Question", "Leave the game?");
    alarm(0);
    setMessageBoxHook(hook);
    setResourcePath(oldResources.c_str());

    EXPECT_EQ(answer, MB_RESULT_YES);
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].m_iType, ET_QUIT);
    EXPECT_EQ(got[1].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[1].m_iKey, KC_A + ('n' - 'a'));
    EXPECT_TRUE(poll().empty());
}

TEST_F(SDLInputTest, CenterPointer)
{
    SDL_WarpMouse(3, 4);
    m_device->centerPointer();
    SDL_PumpEvents();
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 240);
    // A key carries the pointer position of its moment.
    SDL_Event drain;
    while (SDL_PollEvent(&drain)) {
    }
    pushKey(true, SDLK_SPACE, KMOD_NONE, ' ');
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].m_iX, 320);
    EXPECT_EQ(got[0].m_iY, 240);
    EXPECT_EQ(got[0].m_iKey, KC_SPACE);
}

// The whole SDL key table, written out from the key list the game relies on:
// every symbol 0-322 either has its code here or gives 0.
TEST_F(SDLInputTest, KeyTableForEverySymbol)
{
    int expected[323] = { 0 };
    expected[8] = 8;
    expected[9] = 9;
    expected[12] = 12;
    expected[13] = 13;
    expected[19] = 19;
    expected[27] = 27;
    expected[32] = 32;
    for (int s = 48; s <= 57; s++) expected[s] = s;
    for (int s = 97; s <= 122; s++) expected[s] = s - 32;
    expected[127] = 46;
    for (int s = 256; s <= 265; s++) expected[s] = 96 + (s - 256);
    expected[266] = 110;
    expected[267] = 111;
    expected[268] = 106;
    expected[269] = 109;
    expected[270] = 107;
    expected[271] = 13;
    expected[273] = 38;
    expected[274] = 40;
    expected[275] = 39;
    expected[276] = 37;
    expected[277] = 45;
    expected[278] = 36;
    expected[279] = 35;
    expected[280] = 33;
    expected[281] = 34;
    for (int s = 282; s <= 296; s++) expected[s] = 112 + (s - 282);
    expected[300] = 144;
    expected[302] = 145;
    expected[303] = 16;
    expected[304] = 16;
    expected[316] = 42;
    expected[319] = 91;
    for (int s = 0; s < 323; s++) {
        EXPECT_EQ(m_device->keyCodeForSym(s), expected[s]) << "SDL key " << s;
    }
    // And through the queue: the table is what key events carry.
    pushKey(true, SDLK_KP_MINUS);
    pushKey(false, SDLK_PAGEDOWN);
    pushKey(true, SDLK_CAPSLOCK);
    std::vector<HEvent> got = poll();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].m_iKey, 109);
    EXPECT_EQ(got[1].m_iType, ET_KEYUP);
    EXPECT_EQ(got[1].m_iKey, 34);
    EXPECT_EQ(got[2].m_iType, ET_KEYDOWN);
    EXPECT_EQ(got[2].m_iKey, 0);
}

// Pushed events go through the queue's ring like any other: a full ring
// loses the rest of a poll, and a lost move is posted again next time.
TEST_F(SDLInputTest, FullQueueLosesEventsNotTheFilter)
{
    HEventQueue queue;
    queue.addEventSource(m_device->getEventSource());
    HEvent filler;
    memset(&filler, 0, sizeof(filler));
    filler.m_iType = ET_PAINT;
    for (int i = 0; i < 126; i++) {
        ASSERT_TRUE(queue.postEvent(filler));
    }
    pushKey(true, SDLK_a, KMOD_NONE, 'a');
    pushMotion(77, 88);
    m_device->pollEvents(&queue); // the key takes the last slot, the move is lost
    EXPECT_EQ(queue.getPendingCount(), 127);
    HEvent out;
    for (int i = 0; i < 126; i++) {
        ASSERT_TRUE(queue.getEvent(out, false));
    }
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iKey, KC_A);
    pushMotion(77, 88);
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_MOUSEMOVE);
    EXPECT_EQ(out.m_iX, 77);
    EXPECT_EQ(out.m_iY, 88);
}
