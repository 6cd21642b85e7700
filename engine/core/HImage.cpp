#include "HImage.h"
#include "HLog.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

HClassInfo HImage::sm_classInfo("HImage", "HObject");

const HClassInfo *HImage::getClassInfo() const
{
    return &sm_classInfo;
}

int HImage::sm_bytesPerPixel(int iFormat)
{
    switch (iFormat) {
    case IMAGE_FORMAT_8BIT:  return 1;
    case IMAGE_FORMAT_32BIT: return 4;
    case IMAGE_FORMAT_16BIT: return 2;
    default:                 return 0;
    }
}

HImage::HImage(int iWidth, int iHeight, int iFormat)
    : m_pData(nullptr), m_iWidth(0), m_iHeight(0), m_iFormat(0)
{
    const int iBpp = sm_bytesPerPixel(iFormat);
    // Loaders pass sizes straight from file headers: refuse what would wrap
    // the byte count or the int pixel index.
    const long long llPixels = (long long)iWidth * iHeight;
    if (iWidth <= 0 || iHeight <= 0 || llPixels > kiMaxPixels || llPixels * iBpp > INT_MAX) {
        errorPrintf("HImage - refused size %dx%d format %d", iWidth, iHeight, iFormat);
        return;
    }
    if (iBpp == 0) {
        // An unknown format holds no pixels; getBytesPerPixel() reports it.
        m_iWidth = iWidth;
        m_iHeight = iHeight;
        m_iFormat = iFormat;
        return;
    }
    m_pData = (uint8_t *)malloc((size_t)(llPixels * iBpp));
    if (!m_pData) {
        errorPrintf("HImage - out of memory for %dx%d", iWidth, iHeight);
        return;
    }
    m_iWidth = iWidth;
    m_iHeight = iHeight;
    m_iFormat = iFormat;
}

HImage::~HImage()
{
    free(m_pData);
}

void HImage::destroy()
{
    free(m_pData);
    m_pData = nullptr;
    m_iWidth = 0;
    m_iHeight = 0;
    m_iFormat = 0;
}

HObject *HImage::clone() const
{
    HImage *pCopy = new HImage(m_iWidth, m_iHeight, m_iFormat);
    if (pCopy->m_pData && m_pData) {
        memcpy(pCopy->m_pData, m_pData, (size_t)getBytesPerRow() * m_iHeight);
    }
    return pCopy;
}

int HImage::getBytesPerPixel() const
{
    const int iBpp = sm_bytesPerPixel(m_iFormat);
    if (iBpp == 0) {
        alertBox("getBytesPerPixel - unsupported format '%d'", m_iFormat);
    }
    return iBpp;
}

int HImage::getBytesPerRow() const
{
    return getBytesPerPixel() * m_iWidth;
}

uint32_t HImage::getPixel32(int x, int y) const
{
    uint32_t uValue;
    memcpy(&uValue, m_pData + ((size_t)y * m_iWidth + x) * 4, 4);
    return uValue;
}

void HImage::setPixel(int x, int y, uint32_t uValue)
{
    memcpy(m_pData + ((size_t)y * m_iWidth + x) * 4, &uValue, 4);
}

uint16_t HImage::getPixel16(int x, int y) const
{
    uint16_t uValue;
    memcpy(&uValue, m_pData + ((size_t)y * m_iWidth + x) * 2, 2);
    return uValue;
}

uint8_t HImage::getPixel8(int x, int y) const
{
    return m_pData[(size_t)y * m_iWidth + x];
}

void HImage::getPixelSwapped(int x, int y, uint8_t *pOut) const
{
    const uint8_t *p = m_pData + ((size_t)y * m_iWidth + x) * 4;
    pOut[0] = p[2];
    pOut[1] = p[1];
    pOut[2] = p[0];
    pOut[3] = p[3];
}

void HImage::flipVertical()
{
    if (!m_pData) {
        return;
    }
    const int iRow = getBytesPerRow();
    for (int i = 0; i < m_iHeight / 2; i++) {
        uint8_t *pTop = m_pData + (size_t)i * iRow;
        uint8_t *pBottom = m_pData + (size_t)(m_iHeight - 1 - i) * iRow;
        for (int b = 0; b < iRow; b++) {
            const uint8_t t = pTop[b];
            pTop[b] = pBottom[b];
            pBottom[b] = t;
        }
    }
}

uint32_t HImage::packColor(int r, int g, int b, int a)
{
    return ((uint32_t)(a & 0xff) << 24) | ((uint32_t)(r & 0xff) << 16) |
           ((uint32_t)(g & 0xff) << 8) | (uint32_t)(b & 0xff);
}

void HImage::convertFormats()
{
    alertBox("HImage::convertFormats - Not implemented");
}

uint32_t HImage::averageColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3)
{
    uint32_t uResult = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t uSum = ((c0 >> shift) & 0xff) + ((c1 >> shift) & 0xff) +
                              ((c2 >> shift) & 0xff) + ((c3 >> shift) & 0xff);
        uResult |= (uSum >> 2) << shift;
    }
    return uResult;
}

void HImage::downsample(HImage *pDest) const
{
    // 32-bit only, into a 32-bit image of at least half the size rounded up.
    if (!pDest || !m_pData || !pDest->m_pData || m_iFormat != IMAGE_FORMAT_32BIT ||
        pDest->m_iFormat != IMAGE_FORMAT_32BIT || pDest->m_iWidth < (m_iWidth + 1) / 2 ||
        pDest->m_iHeight < (m_iHeight + 1) / 2) {
        errorPrintf("HImage::downsample - unsuitable images");
        return;
    }
    for (int y = 0; y < m_iHeight; y += 2) {
        const int y1 = (y + 1 < m_iHeight) ? y + 1 : y;
        for (int x = 0; x < m_iWidth; x += 2) {
            const int x1 = (x + 1 < m_iWidth) ? x + 1 : x;
            pDest->setPixel(x / 2, y / 2, averageColors(getPixel32(x, y), getPixel32(x1, y),
                                                        getPixel32(x, y1), getPixel32(x1, y1)));
        }
    }
}

void HImage::clearBorderAlpha()
{
    if (!m_pData || m_iFormat != IMAGE_FORMAT_32BIT) {
        return;
    }
    const uint32_t uMask = 0x00ffffffu;
    if (m_iHeight == 1) {
        setPixel(0, 0, getPixel32(0, 0) & uMask);
        setPixel(m_iWidth - 1, 0, getPixel32(m_iWidth - 1, 0) & uMask);
        return;
    }
    if (m_iWidth == 1) {
        setPixel(0, 0, getPixel32(0, 0) & uMask);
        setPixel(0, m_iHeight - 1, getPixel32(0, m_iHeight - 1) & uMask);
        return;
    }
    for (int x = 0; x < m_iWidth; x++) {
        setPixel(x, 0, getPixel32(x, 0) & uMask);
        setPixel(x, m_iHeight - 1, getPixel32(x, m_iHeight - 1) & uMask);
    }
    for (int y = 0; y < m_iHeight; y++) {
        setPixel(0, y, getPixel32(0, y) & uMask);
        setPixel(m_iWidth - 1, y, getPixel32(m_iWidth - 1, y) & uMask);
    }
}

void HImage::applyGammaRamp(const uint16_t *pRamps)
{
    if (!pRamps || !m_pData || m_iFormat != IMAGE_FORMAT_32BIT) {
        return;
    }
    for (int y = 0; y < m_iHeight; y++) {
        for (int x = 0; x < m_iWidth; x++) {
            const uint32_t c = getPixel32(x, y);
            const int r = pRamps[c & 0xff] >> 8;
            const int g = pRamps[256 + ((c >> 8) & 0xff)] >> 8;
            const int b = pRamps[512 + ((c >> 16) & 0xff)] >> 8;
            setPixel(x, y, packColor(r, g, b, (int)(c >> 24)));
        }
    }
}

void HImage::heightToNormalMap(HImage *pDest) const
{
    // An 8-bit height map into a 32-bit image at least as large.
    if (!pDest || !m_pData || !pDest->m_pData || m_iFormat != IMAGE_FORMAT_8BIT ||
        pDest->m_iFormat != IMAGE_FORMAT_32BIT || pDest->m_iWidth < m_iWidth ||
        pDest->m_iHeight < m_iHeight) {
        errorPrintf("HImage::heightToNormalMap - unsuitable images");
        return;
    }
    const float fScale = 1.0f / 255.0f;
    const int iDestBpp = pDest->getBytesPerPixel();
    const int iDestRow = pDest->getBytesPerRow();
    for (int y = 0; y < m_iHeight; y++) {
        for (int x = 0; x < m_iWidth; x++) {
            const float c = getPixel8(x, y) * fScale;
            const float d = getPixel8((x + 1) % m_iWidth, y) * fScale;
            const float e = getPixel8(x, (y + 1) % m_iHeight) * fScale;
            const float gx = 4.0f * (c - d);
            const float gy = 4.0f * (c - e);
            const float s = (float)(1.0 / sqrt(gx * gx + gy * gy + 1.0f));
            uint8_t *p = pDest->getData() + (size_t)y * iDestRow + (size_t)x * iDestBpp;
            p[0] = (uint8_t)(int)(128.0f - 127.0f * gx * s);
            p[1] = (uint8_t)(int)(128.0f + 127.0f * gy * s);
            p[2] = (uint8_t)(int)(128.0f + 127.0f * s);
            p[3] = 255;
        }
    }
}

// Truncates toward zero; going through int keeps a stray negative defined.
static uint32_t s_channel(float f)
{
    return (uint32_t)(int32_t)(f * 255.0f);
}

uint32_t HImage::colorToARGB(const float *pColor)
{
    return (s_channel(pColor[3]) << 24) | (s_channel(pColor[0]) << 16) |
           (s_channel(pColor[1]) << 8) | s_channel(pColor[2]);
}

uint32_t HImage::colorToABGR(const float *pColor)
{
    return (s_channel(pColor[3]) << 24) | (s_channel(pColor[2]) << 16) |
           (s_channel(pColor[1]) << 8) | s_channel(pColor[0]);
}

void HImage::hsvToRGB(float *pOut, float fHue, float fSaturation, float fValue)
{
    if (fSaturation == 0.0f) {
        pOut[0] = pOut[1] = pOut[2] = fValue;
        return;
    }
    const float h = fHue / 60.0f;
    const float fi = floorf(h);
    const float f = h - fi;
    const float p = fValue * (1.0f - fSaturation);
    const float q = fValue * (1.0f - fSaturation * f);
    const float t = fValue * (1.0f - fSaturation * (1.0f - f));
    float r, g, b;
    const int i = (fi >= 0.0f && fi < 8.0f) ? (int)fi : -1;
    switch (i) {
    case 0:  r = fValue; g = t;      b = p;      break;
    case 1:  r = q;      g = fValue; b = p;      break;
    case 2:  r = p;      g = fValue; b = t;      break;
    case 3:  r = p;      g = q;      b = fValue; break;
    case 4:  r = t;      g = p;      b = fValue; break;
    default: r = fValue; g = p;      b = q;      break;
    }
    pOut[0] = r;
    pOut[1] = g;
    pOut[2] = b;
}
