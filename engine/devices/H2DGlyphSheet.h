#ifndef H2DGLYPHSHEET_H
#define H2DGLYPHSHEET_H

#include "HRect.h"

// What bitmap text needs from the image that holds a font's glyphs. The
// framework's sprite implements it, so the devices never call up into the
// framework by name.
class H2DGlyphSheet {
public:
    virtual bool    isLoaded() const = 0;
    virtual int     getWidth() const = 0;
    virtual int     getHeight() const = 0;
    // Part of the image blended with the nine blend words, clipped to the
    // screen.
    virtual bool    drawBlended(const HRect &dstRect, const HRect &srcRect,
                                int w1, int w2, int w3, int w4, int w5,
                                int w6, int w7, int w8, int w9) = 0;

protected:
    virtual         ~H2DGlyphSheet() {}
};

#endif
