#ifndef DISPLAY_SUPPORT_H
#define DISPLAY_SUPPORT_H

// A display device over plain memory, for exercising the blitters without
// a video mode. Included by the display tests only.
#include <cstring>
#include <vector>

#include "H2DBlender.h"
#include "H2DDisplayDevice.h"

class MemoryDisplay : public H2DDisplayDevice {
public:
    MemoryDisplay(int width = 64, int height = 48) : H2DDisplayDevice(nullptr)
    {
        // A padded pitch catches row arithmetic that assumes packed rows.
        const int pitchPixels = width + 3;
        m_pixels.assign((size_t)pitchPixels * height, 0);
        m_screen.setWidth(width);
        m_screen.setHeight(height);
        m_screen.setBitsPerPixel(16);
        m_screen.setPitch(pitchPixels * 2);
        m_screen.setPixels(m_pixels.data());
        H2DDisplayDevice::initScreen(width, height, "test", false, 0);
    }
    void shutdown() override {}
    void clear(const float *) override {}
    H2DSurface *createSurface(const HImage *) override { return nullptr; }
    void showCursor(bool) override {}
    void updateRects(const HRect *rects, int count) override
    {
        updates.push_back(std::vector<HRect>(rects, rects + count));
    }
    uint16_t pixel(int x, int y) const { return m_screen.getRow(y)[x]; }
    void setPixel(int x, int y, uint16_t v) { m_screen.getRow(y)[x] = v; }
    void fill(uint16_t v)
    {
        for (int y = 0; y < m_screen.getHeight(); y++)
            for (int x = 0; x < m_screen.getWidth(); x++) setPixel(x, y, v);
    }

    std::vector<std::vector<HRect>> updates;

private:
    std::vector<uint16_t> m_pixels;
};

// A packed surface from the heap, as the device would make one; give it back
// with destroySurface.
inline H2DSurface16 *makeSurface(int width, int height, uint16_t colour, bool masked, uint8_t maskValue = 255)
{
    H2DSurface16 *s = new H2DSurface16;
    s->setWidth(width);
    s->setHeight(height);
    s->setBitsPerPixel(16);
    s->setPitch(width * 2);
    uint16_t *pixels = new uint16_t[(size_t)width * height];
    for (int i = 0; i < width * height; i++) pixels[i] = colour;
    s->setPixels(pixels);
    if (masked) {
        uint8_t *mask = new uint8_t[(size_t)width * height];
        memset(mask, maskValue, (size_t)width * height);
        s->setMask(mask);
    }
    return s;
}

inline void use565()
{
    H2DBlender::setBlendPixelFormat(5, 6, 5, 11, 5, 0);
    H2DBlender::setBlendFlag(0, 0);
}

#endif
