#ifndef H2DDISPLAYDEVICE_H
#define H2DDISPLAYDEVICE_H

#include <cstdint>

#include "HDevice.h"
#include "HDirtyRectList.h"
#include "HRect.h"
#include "H2DBlendState.h"
#include "H2DFont.h"
#include "H2DSurface16.h"

class HImage;
class H2DGlyphSheet;

// The engine's 2D display: a 16-bit screen, surfaces made from images,
// software blitters, bitmap text, and the dirty rectangles its blits touched,
// which present() sends to the screen.
//
// A destination rectangle gives where the source's top-left pixel lands; the
// size drawn is always the source's, the destination's right and bottom only
// say what is recorded dirty. blit, blitSurface and blendBlit do not clip:
// callers outside the device go through blitClipped / blendBlitClipped.
class H2DDisplayDevice : public HDevice {
public:
    explicit                H2DDisplayDevice(void *pOwner);
    ~H2DDisplayDevice() override;

    virtual bool            initScreen(int width, int height, const char *caption,
                                       bool fullscreen, int displayFlag);
    virtual void            shutdown() = 0;
    // rgb: three floats 0-1. Records nothing as dirty.
    virtual void            clear(const float *rgb) = 0;
    virtual void            reservedHook() {}
    virtual H2DSurface *    cloneSurface(const H2DSurface *surface);
    virtual H2DSurface *    createSurface(const HImage *image) = 0;
    virtual void            destroySurface(H2DSurface *surface);
    virtual void            showCursor(bool show) = 0;
    virtual bool            blendBlit(const HRect &dstRect, const HRect &srcRect,
                                      H2DSurface *surface, const H2DBlendState &state);
    virtual bool            blit(const HRect &dstRect, const HRect &srcRect, H2DSurface *surface);
    virtual bool            blitSurface(const HRect &dstRect, H2DSurface *surface);
    virtual bool            toggleFullscreen() { return false; }
    virtual void            destroyFont(H2DFont *font);
    virtual H2DFont *       createFont(H2DGlyphSheet *sheet, int glyphWidth, int glyphHeight);
    // align 0 left edge at x, 1 right edge, 2 centre; others count as 0.
    virtual void            drawText(const char *text, int x, int y, const HRect &clipRect,
                                     int align, const H2DFont *font);
    // The text blend state.
    virtual void            setBlendState(int srcAlphaSource, int srcParam, int srcInvert,
                                          int constA, int dstAlphaSource, int dstParam,
                                          int dstInvert, int constB, int op);
    virtual void            deactivate() {}
    virtual void            activate() {}
    virtual void            setBlendFlag(int index, int value);
    virtual void            updateRects(const HRect *rects, int count) = 0;

    int                     getScreenWidth() const { return m_iScreenWidth; }
    int                     getScreenHeight() const { return m_iScreenHeight; }
    void                    invalidateRect(const HRect &rect) { m_dirtyRects.addRectRecord(rect); }
    bool                    blendBlitClipped(const HRect &dstRect, const HRect &srcRect,
                                             H2DSurface *surface, const H2DBlendState &state);
    bool                    blitClipped(const HRect &dstRect, const HRect &srcRect, H2DSurface *surface);
    // Ends a frame: frame time, dirty area, screen update of the dirty list.
    void                    present();
    // Frames per second over the last 16 frames; 0 before any frame time.
    float                   getFrameRate() const;

    const H2DSurface16 &    getScreen() const { return m_screen; }
    const H2DBlendState &   getTextBlend() const { return m_textBlend; }
    HDirtyRectList &        getDirtyRects() { return m_dirtyRects; }
    int                     getLastDirtyArea() const { return m_iLastDirtyArea; }

    // Clock behind present(); tests replace it to measure frame rates.
    typedef uint64_t        (*ClockFunc)();
    static void             setClock(ClockFunc clock);

protected:
    // Cuts dst to the screen and moves src's edges by the same amounts;
    // false when nothing is left to draw.
    bool                    m_clipToScreen(HRect &dst, HRect &src) const;

    int32_t                 m_iLastDirtyArea;
    H2DSurface16            m_screen;
    H2DBlendState           m_textBlend;
    HDirtyRectList          m_dirtyRects;
    int32_t                 m_frameTimes[16];
    int32_t                 m_iScreenWidth;
    int32_t                 m_iScreenHeight;
};

#endif
