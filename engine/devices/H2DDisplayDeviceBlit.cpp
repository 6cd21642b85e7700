// The display device's software blitters and their clipping wrappers.
#include "H2DDisplayDevice.h"

#include <cstdint>
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

static int32_t s_clampToInt(int64_t v)
{
    return v < INT32_MIN ? INT32_MIN : (v > INT32_MAX ? INT32_MAX : (int32_t)v);
}

// The part of a blit that lies on both the surface and the screen memory.
// Callers that clipped first get exactly what they asked for; anything else
// is cut here rather than read or written past the buffers.
static bool s_drawableArea(const H2DSurface16 &screen, const H2DSurface16 &src,
                           int64_t &dstX, int64_t &dstY, HRect &area)
{
    int64_t left = area.left, top = area.top, right = area.right, bottom = area.bottom;
    if (left < 0) { dstX -= left; left = 0; }
    if (top < 0) { dstY -= top; top = 0; }
    if (right > src.getWidth()) right = src.getWidth();
    if (bottom > src.getHeight()) bottom = src.getHeight();
    if (dstX < 0) { left -= dstX; dstX = 0; }
    if (dstY < 0) { top -= dstY; dstY = 0; }
    if (dstX + (right - left) > screen.getWidth()) right = left + (screen.getWidth() - dstX);
    if (dstY + (bottom - top) > screen.getHeight()) bottom = top + (screen.getHeight() - dstY);
    if (right <= left || bottom <= top) {
        return false;
    }
    area.left = (int32_t)left;
    area.top = (int32_t)top;
    area.right = (int32_t)right;
    area.bottom = (int32_t)bottom;
    return true;
}

// Copies srcRect of the surface with its top-left at (dstX, dstY): with a
// mask only the pixels whose mask byte is 255, without one row by row.
static void s_copy(H2DSurface16 &screen, const H2DSurface16 &src, int64_t dstX, int64_t dstY, HRect area)
{
    if (!src.getPixels() || !screen.getPixels() || !s_drawableArea(screen, src, dstX, dstY, area)) {
        return;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const uint8_t *mask = src.getMask();
    for (int i = 0; i < height; i++) {
        uint16_t *dstRow = screen.getRow((int)dstY + i) + dstX;
        const uint16_t *srcRow = src.getRow(area.top + i) + area.left;
        if (mask) {
            s_maskedCopyRow(dstRow, srcRow, mask + (intptr_t)(area.top + i) * src.getWidth() + area.left, width);
        } else {
            memmove(dstRow, srcRow, (size_t)width * 2);
        }
    }
}

bool H2DDisplayDevice::blit(const HRect &dstRect, const HRect &srcRect, H2DSurface *surface)
{
    m_dirtyRects.addRectRecord(dstRect);
    if (surface) {
        s_copy(m_screen, *static_cast<const H2DSurface16 *>(surface), dstRect.left, dstRect.top, srcRect);
    }
    return true;
}

bool H2DDisplayDevice::blitSurface(const HRect &dstRect, H2DSurface *surface)
{
    m_dirtyRects.addRectRecord(dstRect);
    if (surface) {
        const HRect whole = { 0, 0, surface->getWidth(), surface->getHeight() };
        s_copy(m_screen, *static_cast<const H2DSurface16 *>(surface), dstRect.left, dstRect.top, whole);
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
    if (!src || !src->m_pPixels || !m_screen.m_pPixels) {
        return true;
    }
    int64_t x = dstRect.left, y = dstRect.top;
    HRect area = srcRect;
    if (!s_drawableArea(m_screen, *src, x, y, area)) {
        return true;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    for (int i = 0; i < height; i++) {
        uint16_t *dstRow = m_screen.getRow((int)y + i) + x;
        const uint16_t *srcRow = src->getRow(area.top + i) + area.left;
        const uint8_t *maskRow = mask ? mask + (intptr_t)(area.top + i) * src->getWidth() + area.left : nullptr;
        H2DBlender::blendRow(dstRow, srcRow, maskRow, width);
    }
    return true;
}

bool H2DDisplayDevice::m_clipToScreen(HRect &dst, HRect &src) const
{
    const int64_t sw = m_iScreenWidth;
    const int64_t sh = m_iScreenHeight;
    if (dst.left > sw || dst.right < 0 || dst.top > sh || dst.bottom < 0) {
        return false;
    }
    // Wide arithmetic: rectangles from callers may sit near the int limits.
    int64_t dl = dst.left, dt = dst.top, dr = dst.right, db = dst.bottom;
    int64_t sl = src.left, st = src.top, sr = src.right, sb = src.bottom;
    if (dl < 0) { sl -= dl; dl = 0; }
    if (dt < 0) { st -= dt; dt = 0; }
    if (dr > sw) { sr -= dr - sw; dr = sw; }
    if (db > sh) { sb -= db - sh; db = sh; }
    // The size drawn is the source's: a source larger than its destination
    // must still not run off the screen.
    if (dl + (sr - sl) > sw) sr = sl + (sw - dl);
    if (dt + (sb - st) > sh) sb = st + (sh - dt);
    dst = { s_clampToInt(dl), s_clampToInt(dt), s_clampToInt(dr), s_clampToInt(db) };
    src = { s_clampToInt(sl), s_clampToInt(st), s_clampToInt(sr), s_clampToInt(sb) };
    return sr > sl && sb > st;
}

// A source rectangle reaching outside its surface would read foreign memory:
// cut it to the surface and move the destination along.
static bool s_clipToSurface(HRect &dst, HRect &src, const H2DSurface *surface)
{
    if (!surface) {
        return false;
    }
    const int64_t w = surface->getWidth();
    const int64_t h = surface->getHeight();
    int64_t dl = dst.left, dt = dst.top, dr = dst.right, db = dst.bottom;
    int64_t sl = src.left, st = src.top, sr = src.right, sb = src.bottom;
    if (sl < 0) { dl -= sl; sl = 0; }
    if (st < 0) { dt -= st; st = 0; }
    if (sr > w) sr = w;
    if (sb > h) sb = h;
    if (dr < dl) dr = dl + (sr - sl);
    if (db < dt) db = dt + (sb - st);
    dst = { s_clampToInt(dl), s_clampToInt(dt), s_clampToInt(dr), s_clampToInt(db) };
    src = { s_clampToInt(sl), s_clampToInt(st), s_clampToInt(sr), s_clampToInt(sb) };
    return sr > sl && sb > st;
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
