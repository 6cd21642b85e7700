#include "HSDLDisplayDevice.h"

#include <SDL.h>
#include <cstring>

#include "H2DBlender.h"
#include "HImage.h"
#include "HLog.h"
#include "HSDLVideo.h"

HSDLDisplayDevice::HSDLDisplayDevice(void *pOwner)
    : H2DDisplayDevice(pOwner), m_pScreen(nullptr)
{
}

HSDLDisplayDevice::~HSDLDisplayDevice()
{
    if (m_pScreen) {
        unlockScreen();
        m_pScreen = nullptr;
    }
}

// Width and position of one channel from its mask.
static void s_measureChannel(uint32_t mask, int *bits, int *shift)
{
    *bits = 0;
    *shift = 0;
    if (mask == 0) {
        return;
    }
    while ((mask & 1) == 0) {
        mask >>= 1;
        (*shift)++;
    }
    while (mask & 1) {
        mask >>= 1;
        (*bits)++;
    }
}

bool HSDLDisplayDevice::initScreen(int width, int height, const char *caption,
                                   bool fullscreen, int displayFlag)
{
    if (startSDLVideo(true) < 0) {
        alertBox("initScreen: SDL_Init() failed: %s", SDL_GetError());
        return false;
    }
    SDL_WM_SetCaption(caption, caption);

    Uint32 flags = SDL_HWPALETTE;
    if (fullscreen) {
        flags |= SDL_FULLSCREEN;
    }
    m_pScreen = SDL_SetVideoMode(width, height, 16, flags);
    if (!m_pScreen) {
        alertBox("initScreen: SDL_SetVideoMode() failed: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_EnableKeyRepeat(500, 30);
    SDL_EnableUNICODE(1);

    const SDL_PixelFormat *format = m_pScreen->format;
    int redBits, greenBits, blueBits, redShift, greenShift, blueShift;
    s_measureChannel(format->Rmask, &redBits, &redShift);
    s_measureChannel(format->Gmask, &greenBits, &greenShift);
    s_measureChannel(format->Bmask, &blueBits, &blueShift);
    tracePrintf("...SDL screen format is RGB%d%d%d with shift %d,%d,%d\n",
                redBits, greenBits, blueBits, redShift, greenShift, blueShift);

    m_screen.setWidth(width);
    m_screen.setHeight(height);
    m_screen.setBitsPerPixel(16);
    m_screen.setPitch(m_pScreen->pitch);
    lockScreen();
    m_screen.setPixels((uint16_t *)m_pScreen->pixels);

    SDL_WarpMouse((Uint16)(m_pScreen->w / 2), (Uint16)(m_pScreen->h / 2));
    H2DBlender::setBlendPixelFormat(redBits, greenBits, blueBits, redShift, greenShift, blueShift);
    return H2DDisplayDevice::initScreen(width, height, caption, fullscreen, displayFlag);
}

void HSDLDisplayDevice::shutdown()
{
    // Quitting video frees the screen surface: let go of it first, so that
    // neither the destructor nor a stray blit touches freed memory.
    if (m_pScreen) {
        unlockScreen();
        m_pScreen = nullptr;
    }
    m_screen.setPixels(nullptr);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void HSDLDisplayDevice::clear(const float *rgb)
{
    if (!m_pScreen || !rgb) {
        return;
    }
    Uint8 bytes[3];
    for (int i = 0; i < 3; i++) {
        // Truncated toward zero; anything outside 0-1 (or not a number) is
        // held to the range rather than converted out of it.
        const float v = rgb[i] * 255.0f;
        bytes[i] = (Uint8)(v >= 255.0f ? 255 : (v > 0.0f ? (int)v : 0));
    }
    const Uint32 colour = SDL_MapRGB(m_pScreen->format, bytes[0], bytes[1], bytes[2]);
    unlockScreen();
    SDL_FillRect(m_pScreen, nullptr, colour);
    lockScreen();
}

void HSDLDisplayDevice::showCursor(bool show)
{
    SDL_ShowCursor(show ? 1 : 0);
}

bool HSDLDisplayDevice::toggleFullscreen()
{
    const SDL_VideoInfo *info = SDL_GetVideoInfo();
    if (!info || !info->wm_available || !m_pScreen) {
        return true;
    }
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    unlockScreen();
    const int ok = SDL_WM_ToggleFullScreen(m_pScreen);
    lockScreen();
    m_screen.setPixels((uint16_t *)m_pScreen->pixels);
    if (!ok) {
        return false;
    }
    SDL_WarpMouse((Uint16)x, (Uint16)y);
    return true;
}

void HSDLDisplayDevice::updateRects(const HRect *rects, int count)
{
    if (!m_pScreen || !rects || count <= 0) {
        return;
    }
    if (count > HDirtyRectList::kiMaxRects) {
        count = HDirtyRectList::kiMaxRects;
    }
    // SDL wants every rectangle inside the screen: an invalidated area that
    // reaches past an edge is cut, an empty one dropped.
    SDL_Rect sdlRects[HDirtyRectList::kiMaxRects];
    int used = 0;
    for (int i = 0; i < count; i++) {
        HRect r = rects[i];
        if (r.left < 0) r.left = 0;
        if (r.top < 0) r.top = 0;
        if (r.right > m_pScreen->w) r.right = m_pScreen->w;
        if (r.bottom > m_pScreen->h) r.bottom = m_pScreen->h;
        if (r.right <= r.left || r.bottom <= r.top) {
            continue;
        }
        sdlRects[used].x = (Sint16)r.left;
        sdlRects[used].y = (Sint16)r.top;
        sdlRects[used].w = (Uint16)(r.right - r.left);
        sdlRects[used].h = (Uint16)(r.bottom - r.top);
        used++;
    }
    if (used == 0) {
        return;
    }
    unlockScreen();
    SDL_UpdateRects(m_pScreen, used, sdlRects);
    lockScreen();
}

void HSDLDisplayDevice::lockScreen()
{
    if (m_pScreen && SDL_MUSTLOCK(m_pScreen)) {
        SDL_LockSurface(m_pScreen);
    }
}

void HSDLDisplayDevice::unlockScreen()
{
    if (m_pScreen && SDL_MUSTLOCK(m_pScreen)) {
        SDL_UnlockSurface(m_pScreen);
    }
}

H2DSurface *HSDLDisplayDevice::createSurface(const HImage *image)
{
    if (!image) {
        return nullptr;
    }
    const int width = image->getWidth() > 0 ? image->getWidth() : 0;
    const int height = image->getHeight() > 0 ? image->getHeight() : 0;
    const int redBits = H2DBlender::getRedBits();
    const int greenBits = H2DBlender::getGreenBits();
    const int blueBits = H2DBlender::getBlueBits();
    const size_t count = (size_t)width * (size_t)height;

    H2DSurface16 *surface = new H2DSurface16;
    surface->setWidth(width);
    surface->setHeight(height);
    surface->setBitsPerPixel(16);
    surface->setPitch(width * 2);
    uint16_t *pixels = new uint16_t[count ? count : 1];
    memset(pixels, 0, count * 2);
    surface->setPixels(pixels);
    uint8_t *mask = new uint8_t[count ? count : 1];
    memset(mask, 255, count);
    bool maskUsed = false;

    uint32_t magenta;
    if (m_pScreen) {
        magenta = SDL_MapRGB(m_pScreen->format, 255, 0, 255);
    } else {
        magenta = ((uint32_t)((1 << redBits) - 1) << (greenBits + blueBits)) | (uint32_t)((1 << blueBits) - 1);
    }

    static const int s_dither[4] = { 0, 2, 3, 1 };
    const int bytesPerPixel = image->getData() ? image->getBytesPerPixel() : 0;
    if (bytesPerPixel == 4) {
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                uint8_t rgba[4];
                image->getPixelSwapped(x, y, rgba);
                const size_t at = (size_t)y * width + x;
                mask[at] = rgba[3];
                if (rgba[3] != 255) {
                    maskUsed = true;
                }
                if (rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255) {
                    maskUsed = true;
                    mask[at] = 0;
                }
                const int d = s_dither[(x & 1) + 2 * (y & 1)];
                uint32_t channel[3];
                const int bits[3] = { redBits, greenBits, blueBits };
                for (int c = 0; c < 3; c++) {
                    const int n = bits[c];
                    int v = (n <= 6 ? (rgba[c] >> (6 - n)) : (rgba[c] << (n - 6))) + d;
                    const int top = (1 << (n + 2)) - 1;
                    if (v > top) {
                        v = top;
                    }
                    channel[c] = (uint32_t)(v >> 2);
                }
                pixels[at] = (uint16_t)((channel[0] << (greenBits + blueBits)) | (channel[1] << blueBits) | channel[2]);
            }
        }
    } else if (bytesPerPixel == 2) {
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                const uint32_t v = image->getPixel16(x, y);
                const uint32_t red = (v >> 1) & 31;
                const uint32_t green = greenBits >= 5 ? ((v >> 6) & 31) << (greenBits - 5) : ((v >> 6) & 31) >> (5 - greenBits);
                const uint32_t blue = (v >> 11) & 31;
                const uint16_t pixel = (uint16_t)((red << (greenBits + blueBits)) | (green << blueBits) | blue);
                const size_t at = (size_t)y * width + x;
                pixels[at] = pixel;
                if (pixel == magenta) {
                    maskUsed = true;
                    mask[at] = 0;
                }
            }
        }
    }

    if (maskUsed) {
        surface->setMask(mask);
    } else {
        delete[] mask;
    }
    return surface;
}

HSDLDisplayDevice *createSDLDisplayDevice(int width, int height, const char *caption,
                                          bool fullscreen, int displayFlag, void *pOwner)
{
    HSDLDisplayDevice *device = new HSDLDisplayDevice(pOwner);
    if (!device->initScreen(width, height, caption, fullscreen, displayFlag)) {
        delete device;
        return nullptr;
    }
    return device;
}

void destroyDisplayDevice(H2DDisplayDevice *device)
{
    if (device) {
        device->shutdown();
        delete device;
    }
}
