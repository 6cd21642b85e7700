#ifndef HIMAGE_H
#define HIMAGE_H

#include "HObject.h"

#include <cstdint>

// Pixel formats of an HImage.
enum {
    IMAGE_FORMAT_8BIT  = 1, // one grey byte
    IMAGE_FORMAT_32BIT = 2, // bytes blue, green, red, alpha (alpha 255 opaque)
    IMAGE_FORMAT_16BIT = 3  // blue 15-11, green 10-6, red 5-1, bit 0 clear
};

// The engine's in-memory bitmap: rows top to bottom, no padding between rows.
// The constructor refuses a non-positive or overflowing size by leaving the
// image empty (no data, width, height and format 0): check getData(). An
// unknown format keeps its size and format but holds no pixels.
class HImage : public HObject {
public:
    // Largest pixel count an image may hold; keeps a lying file header from
    // asking for gigabytes.
    static const int kiMaxPixels = 1 << 26;

    HImage(int iWidth, int iHeight, int iFormat);
    ~HImage() override;

    virtual const HClassInfo *getClassInfo() const override;
    virtual HObject *clone() const override;

    static HClassInfo sm_classInfo;

    void destroy();

    int getBytesPerPixel() const;
    int getBytesPerRow() const;
    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    int getFormat() const { return m_iFormat; }
    uint8_t *getData() const { return m_pData; }

    // Pixel access: no bounds checks, use the accessor matching the format.
    uint32_t getPixel32(int x, int y) const;
    void setPixel(int x, int y, uint32_t uValue);
    uint16_t getPixel16(int x, int y) const;
    uint8_t getPixel8(int x, int y) const;
    void getPixelSwapped(int x, int y, uint8_t *pOut) const; // r, g, b, a

    void flipVertical();
    void convertFormats();
    void downsample(HImage *pDest) const;
    void clearBorderAlpha();
    void applyGammaRamp(const uint16_t *pRamps); // 3 x 256 entries
    void heightToNormalMap(HImage *pDest) const;

    static uint32_t packColor(int r, int g, int b, int a);
    static uint32_t averageColors(uint32_t c0, uint32_t c1, uint32_t c2, uint32_t c3);

    // Colour conversions; colours are red, green, blue, alpha in 0..1.
    static uint32_t colorToARGB(const float *pColor);
    static uint32_t colorToABGR(const float *pColor);
    static void hsvToRGB(float *pOut, float fHue, float fSaturation, float fValue);

    static int sm_bytesPerPixel(int iFormat);

private:
    uint8_t *m_pData;
    int m_iWidth;
    int m_iHeight;
    int m_iFormat;

    HImage(const HImage &) = delete;
    HImage &operator=(const HImage &) = delete;
};

#endif
