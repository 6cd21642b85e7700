#ifndef H2DMASKEDSURFACE_H
#define H2DMASKEDSURFACE_H

#include <cstdint>

#include "H2DSurface.h"

// A surface with an optional 8-bit alpha mask, one byte per pixel, row after
// row (255 opaque, 0 transparent). Null when the surface is fully opaque.
class H2DMaskedSurface : public H2DSurface {
public:
                    H2DMaskedSurface() : m_pMask(nullptr) {}
    virtual void    setMask(uint8_t *pMask) { m_pMask = pMask; }
    virtual uint8_t *getMask() const { return m_pMask; }

    // Copies go through the display device's cloneSurface: a member-wise
    // copy would share the buffers and free them twice.
    H2DMaskedSurface &operator=(const H2DMaskedSurface &) = delete;

protected:
    uint8_t *       m_pMask;
};

#endif
