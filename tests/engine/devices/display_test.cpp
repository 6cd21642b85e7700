#include <gtest/gtest.h>

#include <SDL.h>
#include <dlfcn.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "H2DBlender.h"
#include "HImage.h"
#include "HSDLDisplayDevice.h"
#include "message_hook.h"

// What the device asks of SDL, seen by wrapping two of SDL's entry points in
// this program (the device's calls bind here first; the wrappers hand on to
// the real library). The dummy driver itself shows nothing.
static std::vector<Uint32> s_modeFlags;
static std::vector<int> s_modeBits;
static bool s_failNextMode = false;
static std::vector<std::vector<SDL_Rect>> s_updates;

extern "C" SDL_Surface *SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    typedef SDL_Surface *(*Real)(int, int, int, Uint32);
    static Real real = (Real)dlsym(RTLD_NEXT, "SDL_SetVideoMode");
    s_modeFlags.push_back(flags);
    s_modeBits.push_back(bpp);
    if (s_failNextMode) {
        s_failNextMode = false;
        SDL_SetError("no mode for the test");
        return nullptr;
    }
    return real ? real(width, height, bpp, flags) : nullptr;
}

extern "C" void SDL_UpdateRects(SDL_Surface *screen, int count, SDL_Rect *rects)
{
    typedef void (*Real)(SDL_Surface *, int, SDL_Rect *);
    static Real real = (Real)dlsym(RTLD_NEXT, "SDL_UpdateRects");
    s_updates.push_back(std::vector<SDL_Rect>(rects, rects + (count > 0 ? count : 0)));
    if (real) {
        real(screen, count, rects);
    }
}

// The real SDL device under SDL's dummy video driver (set by the test main).
class SDLDisplayTest : public testing::Test {
protected:
    void SetUp() override
    {
        s_modeFlags.clear();
        s_modeBits.clear();
        s_updates.clear();
        m_device = createSDLDisplayDevice(640, 480, "Gobstrel test", false, 0, nullptr);
        ASSERT_NE(m_device, nullptr);
    }
    void TearDown() override
    {
        destroyDisplayDevice(m_device);
        H2DBlender::setBlendPixelFormat(5, 6, 5, 11, 5, 0);
    }
    static void putBGRA(HImage &image, int x, int y, int r, int g, int b, int a)
    {
        uint8_t *p = image.getData() + ((size_t)y * image.getWidth() + x) * 4;
        p[0] = (uint8_t)b;
        p[1] = (uint8_t)g;
        p[2] = (uint8_t)r;
        p[3] = (uint8_t)a;
    }

    ScopedMessageHook m_hook; // a failed start-up alerts: never wait on it
    HSDLDisplayDevice *m_device = nullptr;
};

TEST_F(SDLDisplayTest, OpensA640x480x16Screen)
{
    SDL_Surface *screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen, m_device->getSDLScreen());
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->h, 480);
    EXPECT_EQ(screen->format->BitsPerPixel, 16);
    EXPECT_EQ(screen->flags & SDL_FULLSCREEN, 0u);
    ASSERT_EQ(s_modeFlags.size(), 1u);
    EXPECT_EQ(s_modeFlags[0], (Uint32)SDL_HWPALETTE); // a window: the palette flag only
    EXPECT_EQ(s_modeBits[0], 16);
    EXPECT_EQ(m_device->getScreenWidth(), 640);
    EXPECT_EQ(m_device->getScreenHeight(), 480);
    EXPECT_EQ(m_device->getScreen().getPitch(), screen->pitch);
    EXPECT_EQ((void *)m_device->getScreen().getPixels(), screen->pixels);
    EXPECT_EQ(m_device->getScreen().getBitsPerPixel(), 16);
    EXPECT_EQ(memcmp(&m_device->getTextBlend(), &kStandardBlend, sizeof(H2DBlendState)), 0);
    // The blender follows the screen's measured format.
    EXPECT_EQ(H2DBlender::getRedBits(), 5);
    EXPECT_EQ(H2DBlender::getGreenBits(), 6);
    EXPECT_EQ(H2DBlender::getBlueBits(), 5);
    char caption[64] = "", *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    if (title) strncpy(caption, title, sizeof(caption) - 1);
    EXPECT_STREQ(caption, "Gobstrel test");
    ASSERT_NE(icon, nullptr); // the icon title is the caption too
    EXPECT_STREQ(icon, "Gobstrel test");
    int x = -1, y = -1;
    SDL_PumpEvents();
    SDL_GetMouseState(&x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 240);
}

TEST_F(SDLDisplayTest, ClearFillsWithTheMappedColour)
{
    const float rgb[3] = { 1.0f, 0.5f, 0.0f };
    m_device->clear(rgb);
    SDL_Surface *screen = m_device->getSDLScreen();
    const uint16_t expected = (uint16_t)SDL_MapRGB(screen->format, 255, 127, 0);
    const uint16_t *pixels = m_device->getScreen().getPixels();
    EXPECT_EQ(pixels[0], expected);
    EXPECT_EQ(m_device->getScreen().getRow(479)[639], expected);
    EXPECT_EQ(m_device->getDirtyRects().getCount(), 0);
}

TEST_F(SDLDisplayTest, PresentSendsOnlyTheDirtyRectangles)
{
    // Nothing dirty: nothing goes to the screen.
    m_device->present();
    EXPECT_EQ(m_device->getLastDirtyArea(), 0);
    EXPECT_TRUE(s_updates.empty());

    const HRect a = { 0, 0, 10, 10 }, b = { 100, 100, 120, 110 };
    m_device->invalidateRect(a);
    m_device->invalidateRect(b);
    m_device->present();
    ASSERT_EQ(s_updates.size(), 1u);
    ASSERT_EQ(s_updates[0].size(), 2u);
    EXPECT_EQ(s_updates[0][0].x, 0);
    EXPECT_EQ(s_updates[0][0].w, 10);
    EXPECT_EQ(s_updates[0][0].h, 10);
    EXPECT_EQ(s_updates[0][1].x, 100);
    EXPECT_EQ(s_updates[0][1].y, 100);
    EXPECT_EQ(s_updates[0][1].w, 20);
    EXPECT_EQ(s_updates[0][1].h, 10);
    EXPECT_EQ(m_device->getLastDirtyArea(), 100 + 200);
    EXPECT_EQ(m_device->getDirtyRects().getCount(), 0);
    m_device->present();
    EXPECT_EQ(s_updates.size(), 1u); // the list was emptied

    // A blit's destination is what gets presented; an area reaching past the
    // screen is cut before SDL sees it.
    HImage image(4, 4, IMAGE_FORMAT_32BIT);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) putBGRA(image, x, y, 255, 0, 0, 255);
    H2DSurface *s = m_device->createSurface(&image);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(m_device->blit(HRect{ 30, 40, 34, 44 }, HRect{ 0, 0, 4, 4 }, s));
    m_device->invalidateRect(HRect{ 600, 470, 700, 520 });
    m_device->present();
    ASSERT_EQ(s_updates.size(), 2u);
    ASSERT_EQ(s_updates[1].size(), 2u);
    EXPECT_EQ(s_updates[1][0].x, 30);
    EXPECT_EQ(s_updates[1][0].y, 40);
    EXPECT_EQ(s_updates[1][0].w, 4);
    EXPECT_EQ(s_updates[1][0].h, 4);
    EXPECT_EQ(s_updates[1][1].x, 600);
    EXPECT_EQ(s_updates[1][1].y, 470);
    EXPECT_EQ(s_updates[1][1].w, 40);
    EXPECT_EQ(s_updates[1][1].h, 10);
    EXPECT_EQ(m_device->getLastDirtyArea(), 16 + 100 * 50);
    m_device->destroySurface(s);
}

TEST_F(SDLDisplayTest, ToggleWithoutWindowManagerChangesNothing)
{
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    ASSERT_NE(info, nullptr);
    if (info->wm_available) {
        GTEST_SKIP() << "this video driver has a window manager";
    }
    EXPECT_TRUE(m_device->toggleFullscreen());
    EXPECT_EQ(m_device->getSDLScreen()->flags & SDL_FULLSCREEN, 0u);
}

TEST_F(SDLDisplayTest, SurfaceFrom32BitImage)
{
    HImage opaque(4, 2, IMAGE_FORMAT_32BIT);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 4; x++) putBGRA(opaque, x, y, 255, 255, 255, 255);
    H2DSurface16 *white = static_cast<H2DSurface16 *>(m_device->createSurface(&opaque));
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->getMask(), nullptr);
    EXPECT_EQ(white->getPitch(), 8);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 4; x++) EXPECT_EQ(white->getRow(y)[x], 0xFFFF);
    m_device->destroySurface(white);

    HImage mixed(2, 2, IMAGE_FORMAT_32BIT);
    putBGRA(mixed, 0, 0, 100, 100, 100, 255);
    putBGRA(mixed, 1, 0, 100, 100, 100, 255);
    putBGRA(mixed, 0, 1, 0, 0, 0, 128);
    putBGRA(mixed, 1, 1, 255, 0, 255, 255);
    H2DSurface16 *s = static_cast<H2DSurface16 *>(m_device->createSurface(&mixed));
    ASSERT_NE(s->getMask(), nullptr);
    EXPECT_EQ(s->getMask()[0], 255);
    EXPECT_EQ(s->getMask()[2], 128);
    EXPECT_EQ(s->getMask()[3], 0);   // magenta is transparent
    EXPECT_EQ(s->getRow(0)[0], (12 << 11) | (25 << 5) | 12);
    EXPECT_EQ(s->getRow(0)[1], (13 << 11) | (25 << 5) | 13); // dither adds 2
    EXPECT_EQ(s->getRow(1)[0], 0);
    m_device->destroySurface(s);
}

TEST_F(SDLDisplayTest, SurfaceFrom16And8BitImages)
{
    HImage image(2, 1, IMAGE_FORMAT_16BIT);
    const uint16_t values[2] = { 0xF83E, 0xFFFE };
    memcpy(image.getData(), values, sizeof(values));
    H2DSurface16 *s = static_cast<H2DSurface16 *>(m_device->createSurface(&image));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getRow(0)[0], 0xF81F);
    EXPECT_EQ(s->getRow(0)[1], 0xFFDF);
    ASSERT_NE(s->getMask(), nullptr);
    EXPECT_EQ(s->getMask()[0], 0);
    EXPECT_EQ(s->getMask()[1], 255);
    m_device->destroySurface(s);

    HImage grey(3, 3, IMAGE_FORMAT_8BIT);
    memset(grey.getData(), 200, 9);
    H2DSurface16 *black = static_cast<H2DSurface16 *>(m_device->createSurface(&grey));
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->getMask(), nullptr);
    EXPECT_EQ(black->getRow(2)[2], 0);
    m_device->destroySurface(black);
}

TEST_F(SDLDisplayTest, BlitsReachTheScreen)
{
    HImage image(2, 2, IMAGE_FORMAT_32BIT);
    for (int y = 0; y < 2; y++)
        for (int x = 0; x < 2; x++) putBGRA(image, x, y, 255, 255, 255, 255);
    H2DSurface *s = m_device->createSurface(&image);
    const HRect dst = { 638, 478, 640, 480 }, src = { 0, 0, 2, 2 };
    EXPECT_TRUE(m_device->blitClipped(dst, src, s));
    SDL_Surface *screen = m_device->getSDLScreen();
    const uint16_t *row = (const uint16_t *)((const uint8_t *)screen->pixels + 479 * screen->pitch);
    EXPECT_EQ(row[639], 0xFFFF);
    m_device->present();
    m_device->destroySurface(s);
}

TEST(SDLDisplayFailure, NoVideoDriverGivesNullAndAnAlert)
{
    ScopedMessageHook hook;
    const char *old = getenv("SDL_VIDEODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    HSDLDisplayDevice *device = createSDLDisplayDevice(640, 480, "x", false, 0, nullptr);
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_NE(hook.boxes()[0].text.find("initScreen: SDL_Init() failed: "), std::string::npos);
    destroyDisplayDevice(nullptr);
}

TEST(SDLDisplayFailure, NoVideoModeGivesNullAndAnAlert)
{
    ScopedMessageHook hook;
    s_failNextMode = true;
    HSDLDisplayDevice *device = createSDLDisplayDevice(640, 480, "x", false, 0, nullptr);
    EXPECT_FALSE(s_failNextMode);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_NE(hook.boxes()[0].text.find("initScreen: SDL_SetVideoMode() failed: no mode for the test"),
              std::string::npos);
    // Video was shut down again: nothing is left behind.
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST(SDLDisplayModes, CaptionIsTheWindowTitle)
{
    ScopedMessageHook hook;
    HSDLDisplayDevice *first = createSDLDisplayDevice(640, 480, "Gobstrel(Ver 1.50.11)", false, 0, nullptr);
    ASSERT_NE(first, nullptr);
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Gobstrel(Ver 1.50.11)");
    destroyDisplayDevice(first);
    // No caption at all is allowed: the window keeps SDL's default.
    HSDLDisplayDevice *second = createSDLDisplayDevice(640, 480, nullptr, false, 0, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->getScreenWidth(), 640);
    destroyDisplayDevice(second);
    EXPECT_TRUE(hook.boxes().empty());
}

TEST(SDLDisplayModes, FullScreenAsksForTheFullScreenFlag)
{
    ScopedMessageHook hook;
    HSDLDisplayDevice *device = createSDLDisplayDevice(640, 480, "full", true, 0, nullptr);
    ASSERT_NE(device, nullptr);
    SDL_Surface *screen = device->getSDLScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 640);
    EXPECT_EQ(screen->format->BitsPerPixel, 16);
    EXPECT_NE(screen->flags & SDL_FULLSCREEN, 0u);
    ASSERT_FALSE(s_modeFlags.empty());
    EXPECT_EQ(s_modeFlags.back(), (Uint32)(SDL_HWPALETTE | SDL_FULLSCREEN));
    // Shut down, then deleted: nothing may touch the freed SDL screen.
    destroyDisplayDevice(device);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}
