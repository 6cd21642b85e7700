#ifndef ASSETCANVAS_H
#define ASSETCANVAS_H

#include <cairo.h>
#include <cstdint>
#include <string>
#include <vector>

// One picture being drawn: a cairo ARGB32 surface plus its context, and the
// encoders for the file formats the game reads.
class AssetCanvas {
public:
                    AssetCanvas(int width, int height);
                    ~AssetCanvas();
                    AssetCanvas(const AssetCanvas &) = delete;
    AssetCanvas &   operator=(const AssetCanvas &) = delete;

    int             width() const { return m_iWidth; }
    int             height() const { return m_iHeight; }
    cairo_t *       cr() const { return m_pCairo; }
    cairo_surface_t *surface() const { return m_pSurface; }

    // Straight (not premultiplied) RGBA of one pixel, after flushing.
    void            pixel(int x, int y, uint8_t rgba[4]) const;
    // Moves every pixel that is exactly the transparency key one step off it.
    void            avoidKeyColour();

    // Uncompressed type 2, 32-bit BGRA, bottom row first.
    bool            encodeTga(std::vector<uint8_t> &out) const;
    // 3-component baseline JPEG; alpha is dropped over black.
    bool            encodeJpeg(std::vector<uint8_t> &out, int quality) const;
    bool            savePng(const std::string &path) const;

private:
    int             m_iWidth;
    int             m_iHeight;
    cairo_surface_t *m_pSurface;
    cairo_t *       m_pCairo;
};

#endif
