#ifndef HSDLDISPLAYDEVICE_H
#define HSDLDISPLAYDEVICE_H

#include "H2DDisplayDevice.h"

struct SDL_Surface;

// The display device over SDL 1.2: a 16-bit video mode whose pixels the
// software blitters draw into directly. The screen stays locked while they
// draw and is unlocked only around SDL's own calls on it.
class HSDLDisplayDevice : public H2DDisplayDevice {
public:
    explicit            HSDLDisplayDevice(void *pOwner);
    ~HSDLDisplayDevice() override;

    bool                initScreen(int width, int height, const char *caption,
                                   bool fullscreen, int displayFlag) override;
    void                shutdown() override;
    void                clear(const float *rgb) override;
    H2DSurface *        createSurface(const HImage *image) override;
    void                showCursor(bool show) override;
    bool                toggleFullscreen() override;
    void                updateRects(const HRect *rects, int count) override;

    void                lockScreen();
    void                unlockScreen();
    SDL_Surface *       getSDLScreen() const { return m_pScreen; }

private:
    SDL_Surface *       m_pScreen;
};

// Constructs and initialises the device; null (and nothing left behind) when
// the screen cannot be opened.
HSDLDisplayDevice *     createSDLDisplayDevice(int width, int height, const char *caption,
                                               bool fullscreen, int displayFlag, void *pOwner);
// Shuts the device down and deletes it; null is fine.
void                    destroyDisplayDevice(H2DDisplayDevice *device);

#endif
