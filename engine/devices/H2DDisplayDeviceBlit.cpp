// The display device's software blitters and their clipping wrappers.
#include "H2DDisplayDevice.h"

#include <cstring>

#include "H2DBlender.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Copies the pixels whose mask byte is exactly 255.
static void s_maskedCopyRow(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i opaque = _mm_set1_epi8((char)0xFF);
    for (; i + 16 <= count; i += 16) {
        const __m128i eq = _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i *)(pMask + i)), opaque);
        const int bits = _mm_movemask_epi8(eq);
        if (bits == 0) {
            continue;
        }
        const __m128i s0 = _mm_loadu_si128((const __m128i *)(pSrc + i));
        const __m128i s1 = _mm_loadu_si128((const __m128i *)(pSrc + i + 8));
        if (bits == 0xFFFF) {
            _mm_storeu_si128((__m128i *)(pDst + i), s0);
            _mm_storeu_si128((__m128i *)(pDst + i + 8), s1);
            continue;
        }
        // Widen the byte mask to one word per pixel and select.
        const __m128i k0 = _mm_unpacklo_epi8(eq, eq);
        const __m128i k1 = _mm_unpackhi_epi8(eq, eq);
        const __m128i d0 = _mm_loadu_si128((const __m128i *)(pDst + i));
        const __m128i d1 = _mm_loadu_si128((const __m128i *)(pDst + i + 8));
        _mm_storeu_si128((__m128i *)(pDst + i), _mm_or_si128(_mm_and_si128(k0, s0), _mm_andnot_si128(k0, d0)));
        _mm_storeu_si128((__m128i *)(pDst + i + 8), _mm_or_si128(_mm_and_si128(k1, s1), _mm_andnot_si128(k1, d1)));
    }
#endif
    for (; i < count; i++) {
        if (pMask[i] == 255) {
            pDst[i] = pSrc[i];
        }
    }
}

bool H2DDisplayDevice::blit(const HRect &dstRect, const HRect &srcRect, H2DSurface *surface)
{
    m_dirtyRects.addRectRecord(dstRect);
    if (!surface) {
        return true;
    }
    const H2DSurface16 *src = static_cast<const H2DSurface16 *>(surface);
    const int width = srcRect.right - srcRect.left;
    const int height = srcRect.bottom - srcRect.top;
    if (width <= 0 || height <= 0 || !src->m_pPixels || !m_screen.m_pPixels) {
        return true;
    }
    const uint8_t *mask = src->getMask();
    for (int i = 0; i < height; i++) {
        uint16_t *dstRow = m_screen.getRow(dstRect.top + i) + dstRect.left;
        const uint16_t *srcRow = src->getRow(srcRect.top + i) + srcRect.left;
        if (mask) {
            const uint8_t *maskRow = mask + (intptr_t)(srcRect.top + i) * src->m_iWidth + srcRect.left;
            s_maskedCopyRow(dstRow, srcRow, maskRow, width);
        } else {
            memmove(dstRow, srcRow, (size_t)width * src->m_iBitsPerPixel / 8);
        }
    }
    return true;
}

bool H2DDisplayDevice::blitSurface(const HRect &dstRect, H2DSurface *surface)
{
    m_dirtyRects.addRectRecord(dstRect);
    if (!surface) {
        return true;
    }
    const H2DSurface16 *src = static_cast<const H2DSurface16 *>(surface);
    if (!src->m_pPixels || !m_screen.m_pPixels) {
        return true;
    }
    const uint8_t *mask = src->getMask();
    for (int y = 0; y < src->m_iHeight; y++) {
        uint16_t *dstRow = m_screen.getRow(dstRect.top + y) + dstRect.left;
        const uint16_t *srcRow = src->getRow(y);
        if (mask) {
            s_maskedCopyRow(dstRow, srcRow, mask + (intptr_t)y * src->m_iWidth, src->m_iWidth);
        } else {
            memmove(dstRow, srcRow, (size_t)src->m_iWidth * 2);
        }
    }
    return true;
}

bool H2DDisplayDevice::blendBlit(const HRect &dstRect, const HRect &srcRect,
                                 H2DSurface *surface, const H2DBlendState &state)
{
    const H2DSurface16 *src = static_cast<const H2DSurface16 *>(surface);
    const uint8_t *mask = src ? src->getMask() : nullptr;
    if (!mask && (state.srcAlphaSource == 2 || state.srcAlphaSource == 3 ||
                  state.dstAlphaSource == 2 || state.dstAlphaSource == 3)) {
        // No mask: the surface is opaque.
        return blit(dstRect, srcRect, surface);
    }
    m_dirtyRects.addRectRecord(dstRect);
    H2DBlender::setBlendState(state);
    if (!src) {
        return true;
    }
    const int width = srcRect.right - srcRect.left;
    const int height = srcRect.bottom - srcRect.top;
    if (width <= 0 || height <= 0 || !src->m_pPixels || !m_screen.m_pPixels) {
        return true;
    }
    for (int i = 0; i < height; i++) {
        uint16_t *dstRow = m_screen.getRow(dstRect.top + i) + dstRect.left;
        const uint16_t *srcRow = src->getRow(srcRect.top + i) + srcRect.left;
        const uint8_t *maskRow = mask ? mask + (intptr_t)(srcRect.top + i) * src->m_iWidth + srcRect.left : nullptr;
        H2DBlender::blendRow(dstRow, srcRow, maskRow, width);
    }
    return true;
}

bool H2DDisplayDevice::m_clipToScreen(HRect &dst, HRect &src) const
{
    const int sw = m_iScreenWidth;
    const int sh = m_iScreenHeight;
    if (dst.left > sw || dst.right < 0 || dst.top > sh || dst.bottom < 0) {
        return false;
    }
    if (dst.left < 0) {
        src.left -= dst.left;
        dst.left = 0;
    }
    if (dst.top < 0) {
        src.top -= dst.top;
        dst.top = 0;
    }
    if (dst.right > sw) {
        src.right -= dst.right - sw;
        dst.right = sw;
    }
    if (dst.bottom > sh) {
        src.bottom -= dst.bottom - sh;
        dst.bottom = sh;
    }
    // The size drawn is the source's: a source larger than its destination
    // must still not run off the screen.
    if (dst.left + (src.right - src.left) > sw) {
        src.right = src.left + (sw - dst.left);
    }
    if (dst.top + (src.bottom - src.top) > sh) {
        src.bottom = src.top + (sh - dst.top);
    }
    return src.right > src.left && src.bottom > src.top;
}

// A source rectangle reaching outside its surface would read foreign memory:
// cut it to the surface and move the destination along.
static bool s_clipToSurface(HRect &dst, HRect &src, const H2DSurface *surface)
{
    if (!surface) {
        return false;
    }
    const int w = surface->getWidth();
    const int h = surface->getHeight();
    if (src.left < 0) {
        dst.left -= src.left;
        src.left = 0;
    }
    if (src.top < 0) {
        dst.top -= src.top;
        src.top = 0;
    }
    if (src.right > w) {
        src.right = w;
    }
    if (src.bottom > h) {
        src.bottom = h;
    }
    if (dst.right < dst.left) {
        dst.right = dst.left + (src.right - src.left);
    }
    if (dst.bottom < dst.top) {
        dst.bottom = dst.top + (src.bottom - src.top);
    }
    return src.right > src.left && src.bottom > src.top;
}

bool H2DDisplayDevice::blitClipped(const HRect &dstRect, const HRect &srcRect, H2DSurface *surface)
{
    HRect dst = dstRect;
    HRect src = srcRect;
    if (!m_clipToScreen(dst, src) || !s_clipToSurface(dst, src, surface) || !m_clipToScreen(dst, src)) {
        return true;
    }
    return blit(dst, src, surface);
}

bool H2DDisplayDevice::blendBlitClipped(const HRect &dstRect, const HRect &srcRect,
                                        H2DSurface *surface, const H2DBlendState &state)
{
    HRect dst = dstRect;
    HRect src = srcRect;
    if (!m_clipToScreen(dst, src) || !s_clipToSurface(dst, src, surface) || !m_clipToScreen(dst, src)) {
        return true;
    }
    return blendBlit(dst, src, surface, state);
}
