#include "H2DDisplayDevice.h"

#include <cstring>

#include "H2DBlender.h"
#include "H2DGlyphSheet.h"
#include "HPlatform.h"

static H2DDisplayDevice::ClockFunc s_clock = getMilliseconds;
static uint64_t s_lastPresentTime = 0;

H2DDisplayDevice::H2DDisplayDevice(void *pOwner)
    : HDevice(pOwner),
      m_iLastDirtyArea(0),
      m_textBlend(kStandardBlend),
      m_iScreenWidth(0),
      m_iScreenHeight(0)
{
    memset(m_frameTimes, 0, sizeof(m_frameTimes));
}

H2DDisplayDevice::~H2DDisplayDevice()
{
}

bool H2DDisplayDevice::initScreen(int width, int height, const char *, bool, int)
{
    m_iScreenWidth = width;
    m_iScreenHeight = height;
    setBlendState(2, 1, 0, 255, 3, 1, 0, 255, 0);
    return true;
}

void H2DDisplayDevice::setClock(ClockFunc clock)
{
    s_clock = clock ? clock : getMilliseconds;
    s_lastPresentTime = 0;
}

H2DSurface *H2DDisplayDevice::cloneSurface(const H2DSurface *surface)
{
    if (!surface) {
        return nullptr;
    }
    const H2DSurface16 *src = static_cast<const H2DSurface16 *>(surface);
    H2DSurface16 *copy = new H2DSurface16;
    const int width = src->m_iWidth;
    const int height = src->m_iHeight;
    copy->m_iWidth = width;
    copy->m_iHeight = height;
    copy->m_iBitsPerPixel = src->m_iBitsPerPixel;
    copy->m_iPitch = width * src->m_iBitsPerPixel / 8;
    const size_t pixelCount = (size_t)(width > 0 ? width : 0) * (size_t)(height > 0 ? height : 0);
    if (src->getMask()) {
        uint8_t *mask = new uint8_t[pixelCount ? pixelCount : 1];
        memcpy(mask, src->getMask(), pixelCount);
        copy->setMask(mask);
    }
    const size_t bytes = (size_t)copy->m_iPitch * (size_t)(height > 0 ? height : 0);
    uint16_t *pixels = new uint16_t[bytes / 2 + 1];
    if (src->m_pPixels) {
        // Rows one by one: the source's pitch may be wider than packed.
        for (int y = 0; y < height; y++) {
            memcpy((uint8_t *)pixels + (size_t)y * copy->m_iPitch, src->getRow(y), (size_t)copy->m_iPitch);
        }
    } else {
        memset(pixels, 0, bytes);
    }
    copy->m_pPixels = pixels;
    return copy;
}

void H2DDisplayDevice::destroySurface(H2DSurface *surface)
{
    if (!surface) {
        return;
    }
    surface->releaseBuffers();
    delete surface;
}

void H2DDisplayDevice::setBlendState(int srcAlphaSource, int srcParam, int srcInvert,
                                     int constA, int dstAlphaSource, int dstParam,
                                     int dstInvert, int constB, int op)
{
    m_textBlend.srcAlphaSource = srcAlphaSource;
    m_textBlend.srcParam = srcParam;
    m_textBlend.srcInvert = srcInvert;
    m_textBlend.constA = constA;
    m_textBlend.dstAlphaSource = dstAlphaSource;
    m_textBlend.dstParam = dstParam;
    m_textBlend.dstInvert = dstInvert;
    m_textBlend.constB = constB;
    m_textBlend.op = op;
}

void H2DDisplayDevice::setBlendFlag(int index, int value)
{
    H2DBlender::setBlendFlag(index, value);
}

void H2DDisplayDevice::present()
{
    const uint64_t now = s_clock();
    const int32_t frameTime = (int32_t)elapsedMilliseconds(now, s_lastPresentTime);
    s_lastPresentTime = now;
    memmove(m_frameTimes, m_frameTimes + 1, sizeof(m_frameTimes) - sizeof(m_frameTimes[0]));
    m_frameTimes[15] = frameTime;

    m_iLastDirtyArea = m_dirtyRects.getArea();
    if (m_dirtyRects.getCount() > 0) {
        updateRects(m_dirtyRects.getRects(), m_dirtyRects.getCount());
        m_dirtyRects.clear();
    }
}

float H2DDisplayDevice::getFrameRate() const
{
    int64_t sum = 0;
    for (int i = 0; i < 16; i++) {
        sum += m_frameTimes[i];
    }
    if (sum <= 0) {
        return 0.0f;
    }
    return 1000.0f / ((float)sum * 0.0625f);
}

H2DFont *H2DDisplayDevice::createFont(H2DGlyphSheet *sheet, int glyphWidth, int glyphHeight)
{
    H2DFont *font = new H2DFont;
    font->m_pSheet = sheet;
    font->m_iGlyphWidth = glyphWidth;
    font->m_iGlyphHeight = glyphHeight;
    return font;
}

void H2DDisplayDevice::destroyFont(H2DFont *font)
{
    delete font;
}

void H2DDisplayDevice::drawText(const char *text, int x, int y, const HRect &clip,
                                int align, const H2DFont *font)
{
    if (!text || !font || !font->m_pSheet) {
        return;
    }
    H2DGlyphSheet *sheet = font->m_pSheet;
    const int gw = font->m_iGlyphWidth;
    const int gh = font->m_iGlyphHeight;
    const int n = (int)strlen(text);
    if (n == 0 || gw <= 0 || gh <= 0 || !sheet->isLoaded()) {
        return;
    }
    const int sheetWidth = sheet->getWidth();
    const int sheetHeight = sheet->getHeight();

    int start = x;
    if (align == 1) {
        start = x - n * gw;
    } else if (align == 2) {
        const int width = n * gw;
        start = x - (width >= 0 ? width / 2 : (width - 1) / 2);
    }

    for (int i = 0; i < n; i++) {
        const int c = (uint8_t)text[i];
        // Codes outside 16-127, or cells past a short sheet, have no glyph:
        // they only advance.
        if (c < 16 || c > 127) {
            continue;
        }
        HRect src;
        src.left = (c % 16) * gw;
        src.top = (c / 16 - 1) * gh;
        src.right = src.left + gw;
        src.bottom = src.top + gh;
        if (src.right > sheetWidth || src.bottom > sheetHeight) {
            continue;
        }
        HRect dst;
        dst.left = start + i * gw;
        dst.top = y;
        dst.right = dst.left + gw;
        dst.bottom = y + gh;
        if (dst.left > clip.right || dst.right < clip.left || y > clip.bottom || dst.bottom < clip.top) {
            continue;
        }
        if (dst.left < clip.left) {
            src.left += clip.left - dst.left;
            dst.left = clip.left;
        }
        if (dst.top < clip.top) {
            src.top += clip.top - dst.top;
            dst.top = clip.top;
        }
        if (dst.right > clip.right) {
            src.right -= dst.right - clip.right;
            dst.right = clip.right;
        }
        if (dst.bottom > clip.bottom) {
            src.bottom -= dst.bottom - clip.bottom;
            dst.bottom = clip.bottom;
        }
        const H2DBlendState &b = m_textBlend;
        sheet->drawBlended(dst, src, b.srcAlphaSource, b.srcParam, b.srcInvert, b.constA,
                           b.dstAlphaSource, b.dstParam, b.dstInvert, b.constB, b.op);
    }
}
