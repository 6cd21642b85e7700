#include <gtest/gtest.h>

#include <limits.h>
#include <string.h>

#include "HImage.h"
#include "HImageArray.h"
#include "message_hook.h"

namespace {

HImage *makeImage32(int w, int h)
{
    HImage *pImage = new HImage(w, h, IMAGE_FORMAT_32BIT);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            pImage->setPixel(x, y, HImage::packColor(x, y, x + y, 200));
        }
    }
    return pImage;
}

TEST(Image, FormatsGiveTheirPixelSizes)
{
    HImage grey(3, 2, IMAGE_FORMAT_8BIT);
    HImage truecolor(3, 2, IMAGE_FORMAT_32BIT);
    HImage packed(3, 2, IMAGE_FORMAT_16BIT);
    EXPECT_EQ(1, grey.getBytesPerPixel());
    EXPECT_EQ(4, truecolor.getBytesPerPixel());
    EXPECT_EQ(2, packed.getBytesPerPixel());
    EXPECT_EQ(12, truecolor.getBytesPerRow());
    EXPECT_EQ(6, packed.getBytesPerRow());
    EXPECT_STREQ("HImage", truecolor.getClassName());
    EXPECT_STREQ("HObject", truecolor.getParentClassName());
}

TEST(Image, RefusesBadSizes)
{
    const int sizes[][2] = { { 0, 5 }, { 5, 0 }, { -3, 4 }, { 4, -3 }, { INT_MAX, 2 },
                             { 65536, 65536 }, { 46341, 46341 } };
    for (const auto &s : sizes) {
        HImage image(s[0], s[1], IMAGE_FORMAT_32BIT);
        EXPECT_EQ(nullptr, image.getData()) << s[0] << "x" << s[1];
        EXPECT_EQ(0, image.getWidth());
        EXPECT_EQ(0, image.getHeight());
    }
}

TEST(Image, UnsupportedFormatShowsBox)
{
    ScopedMessageHook hook;
    // An unknown format keeps its size and code but has no pixels to hold.
    HImage seven(3, 2, 7);
    EXPECT_EQ(nullptr, seven.getData());
    EXPECT_EQ(3, seven.getWidth());
    EXPECT_EQ(2, seven.getHeight());
    EXPECT_EQ(7, seven.getFormat());
    EXPECT_TRUE(hook.boxes().empty());
    EXPECT_EQ(0, seven.getBytesPerPixel());
    ASSERT_EQ(1u, hook.boxes().size());
    EXPECT_EQ("Alert", hook.boxes()[0].title);
    EXPECT_EQ("getBytesPerPixel - unsupported format '7'", hook.boxes()[0].text);
    HImage *pCopy = static_cast<HImage *>(seven.clone());
    EXPECT_EQ(7, pCopy->getFormat());
    EXPECT_EQ(nullptr, pCopy->getData());
    delete pCopy;

    hook.clear();
    HImage image(2, 2, IMAGE_FORMAT_8BIT);
    image.destroy();
    EXPECT_EQ(0, image.getBytesPerPixel());
    ASSERT_EQ(1u, hook.boxes().size());
    EXPECT_EQ("Alert", hook.boxes()[0].title);
    EXPECT_EQ("getBytesPerPixel - unsupported format '0'", hook.boxes()[0].text);

    hook.clear();
    image.convertFormats();
    ASSERT_EQ(1u, hook.boxes().size());
    EXPECT_EQ("HImage::convertFormats - Not implemented", hook.boxes()[0].text);
}

TEST(Image, PixelAccessAndPacking)
{
    HImage image(2, 2, IMAGE_FORMAT_32BIT);
    image.setPixel(1, 1, HImage::packColor(1, 2, 3, 4));
    const uint8_t *p = image.getData() + 12;
    EXPECT_EQ(3, p[0]);
    EXPECT_EQ(2, p[1]);
    EXPECT_EQ(1, p[2]);
    EXPECT_EQ(4, p[3]);
    EXPECT_EQ(0xff123456u, HImage::packColor(0x112, 0x134, 0x156, 0x1ff));

    const uint8_t raw[4] = { 10, 20, 30, 40 };
    memcpy(image.getData(), raw, 4);
    uint8_t out[4];
    image.getPixelSwapped(0, 0, out);
    EXPECT_EQ(30, out[0]);
    EXPECT_EQ(20, out[1]);
    EXPECT_EQ(10, out[2]);
    EXPECT_EQ(40, out[3]);

    HImage packed(3, 2, IMAGE_FORMAT_16BIT);
    const uint16_t v = 0xabcd;
    memcpy(packed.getData() + (1 * 3 + 2) * 2, &v, 2);
    EXPECT_EQ(0xabcd, packed.getPixel16(2, 1));

    HImage grey(3, 2, IMAGE_FORMAT_8BIT);
    grey.getData()[4] = 77;
    EXPECT_EQ(77, grey.getPixel8(1, 1));
}

TEST(Image, FlipKeepsMiddleRow)
{
    HImage *pImage = makeImage32(3, 3);
    const uint32_t top = pImage->getPixel32(1, 0);
    const uint32_t middle = pImage->getPixel32(1, 1);
    const uint32_t bottom = pImage->getPixel32(1, 2);
    pImage->flipVertical();
    EXPECT_EQ(bottom, pImage->getPixel32(1, 0));
    EXPECT_EQ(middle, pImage->getPixel32(1, 1));
    EXPECT_EQ(top, pImage->getPixel32(1, 2));
    delete pImage;
}

TEST(Image, CloneCopiesPixelsIntoANewObject)
{
    HImage *pImage = makeImage32(4, 3);
    HImage *pCopy = static_cast<HImage *>(pImage->clone());
    ASSERT_NE(nullptr, pCopy);
    EXPECT_NE(pImage->getId(), pCopy->getId());
    EXPECT_NE(pImage->getData(), pCopy->getData());
    EXPECT_EQ(0, memcmp(pImage->getData(), pCopy->getData(), 4 * 3 * 4));
    delete pCopy;
    delete pImage;
}

TEST(Image, DownsampleAveragesAndRepeatsEdges)
{
    HImage source(3, 3, IMAGE_FORMAT_32BIT);
    for (int y = 0; y < 3; y++) {
        for (int x = 0; x < 3; x++) {
            source.setPixel(x, y, HImage::packColor(10 * (y * 3 + x), 0, 0, 255));
        }
    }
    HImage dest(2, 2, IMAGE_FORMAT_32BIT);
    source.downsample(&dest);
    // (0,0): pixels 0, 1, 3, 4 -> red (0+10+30+40)/4 = 20.
    EXPECT_EQ(HImage::packColor(20, 0, 0, 255), dest.getPixel32(0, 0));
    // (1,1): the corner (2,2) alone, four times.
    EXPECT_EQ(source.getPixel32(2, 2), dest.getPixel32(1, 1));
    EXPECT_EQ(0x02040608u, HImage::averageColors(0x04080c10u, 0x04080c10u, 0, 0));
    EXPECT_EQ(0u, HImage::averageColors(3, 0, 0, 0)); // truncates
    EXPECT_EQ(0x3f000000u, HImage::averageColors(0xff000000u, 0, 0, 0));
}

TEST(Image, ClearBorderAlpha)
{
    HImage *pImage = makeImage32(4, 4);
    pImage->clearBorderAlpha();
    for (int y = 0; y < 4; y++) {
        for (int x = 0; x < 4; x++) {
            const bool bBorder = x == 0 || y == 0 || x == 3 || y == 3;
            EXPECT_EQ(bBorder ? 0u : 200u, pImage->getPixel32(x, y) >> 24) << x << "," << y;
            EXPECT_EQ(HImage::packColor(x, y, x + y, 0), pImage->getPixel32(x, y) & 0x00ffffffu);
        }
    }
    delete pImage;

    HImage *pRow = makeImage32(3, 1);
    pRow->clearBorderAlpha();
    EXPECT_EQ(0u, pRow->getPixel32(0, 0) >> 24);
    EXPECT_EQ(200u, pRow->getPixel32(1, 0) >> 24);
    EXPECT_EQ(0u, pRow->getPixel32(2, 0) >> 24);
    delete pRow;
}

TEST(Image, GammaRampUsesHighBytes)
{
    HImage image(1, 1, IMAGE_FORMAT_32BIT);
    image.setPixel(0, 0, 0x7f030201u);
    uint16_t ramps[3 * 256] = {};
    ramps[0 * 256 + 1] = 0x1100; // b0 = 1
    ramps[1 * 256 + 2] = 0x22ff; // b1 = 2
    ramps[2 * 256 + 3] = 0x3300; // b2 = 3
    image.applyGammaRamp(ramps);
    EXPECT_EQ(HImage::packColor(0x11, 0x22, 0x33, 0x7f), image.getPixel32(0, 0));
}

TEST(Image, FlatHeightMapGivesUpNormal)
{
    HImage height(2, 2, IMAGE_FORMAT_8BIT);
    memset(height.getData(), 90, 4);
    HImage normal(2, 2, IMAGE_FORMAT_32BIT);
    height.heightToNormalMap(&normal);
    EXPECT_EQ(HImage::packColor(255, 128, 128, 255), normal.getPixel32(1, 1));

    // A step up to the right tilts x: gx = -4, s = 1/sqrt(17).
    memset(height.getData(), 0, 4);
    height.getData()[1] = 255;
    height.heightToNormalMap(&normal);
    const uint8_t *p = normal.getData();
    EXPECT_EQ(251, p[0]); // 128 + 127 * 4 / sqrt(17) = 251.2
    EXPECT_EQ(128, p[1]);
    EXPECT_EQ(158, p[2]); // 128 + 127 / sqrt(17) = 158.8
}

TEST(Image, ColourConversions)
{
    const float color[4] = { 1.0f, 0.5f, 0.0f, 1.0f };
    EXPECT_EQ(0xffff7f00u, HImage::colorToARGB(color));
    EXPECT_EQ(0xff007fffu, HImage::colorToABGR(color));

    float rgb[3];
    HImage::hsvToRGB(rgb, 120.0f, 1.0f, 1.0f);
    EXPECT_FLOAT_EQ(0.0f, rgb[0]);
    EXPECT_FLOAT_EQ(1.0f, rgb[1]);
    EXPECT_FLOAT_EQ(0.0f, rgb[2]);
    HImage::hsvToRGB(rgb, 33.0f, 0.0f, 0.5f);
    EXPECT_FLOAT_EQ(0.5f, rgb[0]);
    EXPECT_FLOAT_EQ(0.5f, rgb[1]);
    EXPECT_FLOAT_EQ(0.5f, rgb[2]);
    HImage::hsvToRGB(rgb, 300.0f, 1.0f, 1.0f); // i = 5: magenta
    EXPECT_FLOAT_EQ(1.0f, rgb[0]);
    EXPECT_FLOAT_EQ(0.0f, rgb[1]);
    EXPECT_FLOAT_EQ(1.0f, rgb[2]);
}

TEST(ImageArray, BuildsEveryLevel)
{
    HImage *pSource = makeImage32(256, 64);
    HImageArray array;
    ASSERT_TRUE(array.build(pSource, false));
    ASSERT_EQ(9, array.getNumImages());
    EXPECT_EQ(pSource, array.getImage(0));
    EXPECT_EQ(128, array.getImage(1)->getWidth());
    EXPECT_EQ(32, array.getImage(1)->getHeight());
    EXPECT_EQ(1, array.getImage(8)->getWidth());
    EXPECT_EQ(1, array.getImage(8)->getHeight());
    EXPECT_EQ(nullptr, array.getImage(9));
    EXPECT_EQ(nullptr, array.getImage(-1));
    array.destroy();
    EXPECT_EQ(0, array.getNumImages());
    EXPECT_EQ(nullptr, pSource->getData()); // the source's pixels went too
    delete pSource;

    HImage *pDot = makeImage32(1, 1);
    HImageArray dots;
    ASSERT_TRUE(dots.build(pDot, true));
    EXPECT_EQ(1, dots.getNumImages());
    EXPECT_EQ(0u, pDot->getPixel32(0, 0) >> 24);
    delete pDot; // the array never deletes its source object
}

TEST(Image, HelpersLeaveImagesOfTheWrongFormatAlone)
{
    // Each helper reads fixed-size pixels: a mismatched image must not be
    // read or written past its buffer (ASan watches these).
    HImage grey(4, 4, IMAGE_FORMAT_8BIT);
    memset(grey.getData(), 0x55, 16);
    HImage small(1, 1, IMAGE_FORMAT_32BIT);
    small.setPixel(0, 0, 0x11223344u);
    HImage *pSource = makeImage32(4, 4);

    pSource->downsample(&small); // destination smaller than half
    grey.downsample(&small);     // 8-bit source
    EXPECT_EQ(0x11223344u, small.getPixel32(0, 0));
    grey.clearBorderAlpha();
    uint16_t ramps[3 * 256] = {};
    grey.applyGammaRamp(ramps);
    for (int i = 0; i < 16; i++) {
        EXPECT_EQ(0x55, grey.getData()[i]);
    }
    grey.heightToNormalMap(&small); // destination smaller than the map
    pSource->heightToNormalMap(&small); // a 32-bit "height map"
    EXPECT_EQ(0x11223344u, small.getPixel32(0, 0));

    HImageArray array;
    EXPECT_FALSE(array.build(&grey, false));
    EXPECT_EQ(0, array.getNumImages());
    delete pSource;
}

TEST(ImageArray, ClearsBordersOnEveryLevel)
{
    HImage *pSource = makeImage32(8, 8);
    HImageArray array;
    ASSERT_TRUE(array.build(pSource, true));
    ASSERT_EQ(4, array.getNumImages());
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(0u, array.getImage(i)->getPixel32(0, 0) >> 24) << "level " << i;
    }
    // Level 1's inside pixel (1,1) comes from source pixels 2..3 inside the border.
    EXPECT_EQ(200u, array.getImage(1)->getPixel32(1, 1) >> 24);
    delete pSource;
}

} // namespace
