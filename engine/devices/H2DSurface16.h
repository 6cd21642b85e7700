#ifndef H2DSURFACE16_H
#define H2DSURFACE16_H

#include <cstdint>

#include "H2DMaskedSurface.h"

// 16-bit pixels in the screen's format. The display device's blitters read
// the members directly; the screen itself is one of these over SDL's memory.
class H2DSurface16 : public H2DMaskedSurface {
public:
                    H2DSurface16();

    int             getWidth() const override { return m_iWidth; }
    int             getHeight() const override { return m_iHeight; }
    // Frees the pixels and the mask (both from new[]).
    void            releaseBuffers() override;

    uint16_t *      getPixels() const { return m_pPixels; }
    void            setPixels(uint16_t *pPixels) { m_pPixels = pPixels; }
    void            setWidth(int iWidth) { m_iWidth = iWidth; }
    void            setHeight(int iHeight) { m_iHeight = iHeight; }
    int             getBitsPerPixel() const { return m_iBitsPerPixel; }
    void            setBitsPerPixel(int iBits) { m_iBitsPerPixel = iBits; }
    int             getPitch() const { return m_iPitch; }
    void            setPitch(int iPitch) { m_iPitch = iPitch; }

    // Row y of the pixels (pitch is in bytes).
    uint16_t *      getRow(int y) const
    {
        return (uint16_t *)((uint8_t *)m_pPixels + (intptr_t)y * m_iPitch);
    }

private:
    friend class H2DDisplayDevice;

    uint16_t *      m_pPixels;
    int32_t         m_iWidth;
    int32_t         m_iHeight;
    int32_t         m_iBitsPerPixel;
    int32_t         m_iPitch;       // bytes per row
};

#endif
