#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "HImage.h"
#include "HImageLoaderProxy.h"
#include "HPNGLoader.h"
#include "HStandardFileSystem.h"
#include "image_folder.h"

namespace {

void s_writeToVector(png_structp pPng, png_bytep pData, png_size_t iLength)
{
    std::vector<uint8_t> *pOut = (std::vector<uint8_t> *)png_get_io_ptr(pPng);
    pOut->insert(pOut->end(), pData, pData + iLength);
}

void s_flush(png_structp)
{
}

struct PngLayout {
    int w, h, depth, colorType;
    bool bInterlace;
    std::vector<png_color> palette;
    std::vector<uint8_t> pixels; // rows packed, no padding
};

std::vector<uint8_t> encodePng(const PngLayout &layout)
{
    std::vector<uint8_t> out;
    png_structp pPng = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pInfo = png_create_info_struct(pPng);
    if (setjmp(png_jmpbuf(pPng))) {
        png_destroy_write_struct(&pPng, &pInfo);
        ADD_FAILURE() << "libpng could not write the test image";
        return {};
    }
    png_set_benign_errors(pPng, 1);
#ifdef PNG_CHECK_FOR_INVALID_INDEX_SUPPORTED
    png_set_check_for_invalid_index(pPng, 0);
#endif
    png_set_write_fn(pPng, &out, s_writeToVector, s_flush);
    png_set_IHDR(pPng, pInfo, (png_uint_32)layout.w, (png_uint_32)layout.h, layout.depth,
                 layout.colorType,
                 layout.bInterlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty()) {
        png_set_PLTE(pPng, pInfo, layout.palette.data(), (int)layout.palette.size());
    }
    png_write_info(pPng, pInfo);
    const size_t iRow = layout.pixels.size() / (size_t)layout.h;
    std::vector<png_bytep> rows((size_t)layout.h);
    for (int y = 0; y < layout.h; y++) {
        rows[(size_t)y] = (png_bytep)&layout.pixels[(size_t)y * iRow];
    }
    png_write_image(pPng, rows.data());
    png_write_end(pPng, pInfo);
    png_destroy_write_struct(&pPng, &pInfo);
    return out;
}

class PNGTest : public ImageFolderTest {
protected:
    PNGTest() : ImageFolderTest("png") {}
    bool failsCleanly(const char *szName)
    {
        HImageLoaderProxy loader;
        const bool bLoaded = loader.load(&m_fs, szName);
        return !bLoaded && loader.getImage() == nullptr;
    }
};

std::vector<uint8_t> rgbaPixels(int w, int h)
{
    std::vector<uint8_t> pixels((size_t)w * h * 4);
    for (int y = 0; y < h; y++) {
        for (int x = 0; x < w; x++) {
            uint8_t *p = &pixels[(size_t)(y * w + x) * 4];
            p[0] = (uint8_t)(x * 3);
            p[1] = (uint8_t)(y * 5);
            p[2] = (uint8_t)(x + y);
            p[3] = (uint8_t)(255 - x);
        }
    }
    return pixels;
}

TEST_F(PNGTest, RGBAKeepsAlphaExactly)
{
    PngLayout layout = { 5, 3, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, rgbaPixels(5, 3) };
    writeFile("sprite.png", encodePng(layout));
    HImageLoaderProxy loader;
    ASSERT_TRUE(loader.load(&m_fs, "sprite.png"));
    HImage *pImage = loader.getImage();
    EXPECT_EQ(IMAGE_FORMAT_32BIT, pImage->getFormat());
    ASSERT_EQ(5, pImage->getWidth());
    ASSERT_EQ(3, pImage->getHeight());
    for (int y = 0; y < 3; y++) {
        for (int x = 0; x < 5; x++) {
            EXPECT_EQ(HImage::packColor(x * 3, y * 5, x + y, 255 - x), pImage->getPixel32(x, y));
        }
    }
    // Memory order blue, green, red, alpha.
    const uint8_t *p = pImage->getData() + (2 * 5 + 4) * 4;
    EXPECT_EQ(6, p[0]);
    EXPECT_EQ(10, p[1]);
    EXPECT_EQ(12, p[2]);
    EXPECT_EQ(251, p[3]);
    loader.release();
    EXPECT_TRUE(m_hook.boxes().empty());
}

TEST_F(PNGTest, RGBIsOpaqueAndInterlacedReadsTheSame)
{
    std::vector<uint8_t> rgb;
    const std::vector<uint8_t> rgba = rgbaPixels(9, 7);
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgb.insert(rgb.end(), { rgba[i], rgba[i + 1], rgba[i + 2] });
    }
    PngLayout plain = { 9, 7, 8, PNG_COLOR_TYPE_RGB, false, {}, rgb };
    PngLayout interlaced = plain;
    interlaced.bInterlace = true;
    writeFile("plain.png", encodePng(plain));
    writeFile("interlaced.png", encodePng(interlaced));
    for (const char *szName : { "plain.png", "interlaced.png" }) {
        HPNGLoader loader;
        ASSERT_TRUE(loader.load(&m_fs, szName)) << szName;
        for (int y = 0; y < 7; y++) {
            for (int x = 0; x < 9; x++) {
                ASSERT_EQ(HImage::packColor(x * 3, y * 5, x + y, 255),
                          loader.getImage()->getPixel32(x, y))
                    << szName << " " << x << "," << y;
            }
        }
        loader.release();
    }
}

TEST_F(PNGTest, PaletteGivesOpaqueColours)
{
    PngLayout layout = { 3, 2, 8, PNG_COLOR_TYPE_PALETTE, false,
                     { { 255, 0, 0 }, { 0, 128, 0 }, { 1, 2, 3 } }, { 0, 1, 2, 2, 1, 0 } };
    writeFile("palette.png", encodePng(layout));
    HPNGLoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "palette.png"));
    HImage *pImage = loader.getImage();
    EXPECT_EQ(HImage::packColor(255, 0, 0, 255), pImage->getPixel32(0, 0));
    EXPECT_EQ(HImage::packColor(0, 128, 0, 255), pImage->getPixel32(1, 0));
    EXPECT_EQ(HImage::packColor(1, 2, 3, 255), pImage->getPixel32(0, 1));
    EXPECT_EQ(HImage::packColor(255, 0, 0, 255), pImage->getPixel32(2, 1));
    loader.release();
}

TEST_F(PNGTest, PaletteIndexPastThePaletteFails)
{
    PngLayout layout = { 2, 1, 8, PNG_COLOR_TYPE_PALETTE, false, { { 9, 9, 9 }, { 8, 8, 8 } },
                     { 1, 200 } };
    writeFile("badindex.png", encodePng(layout));
    EXPECT_TRUE(failsCleanly("badindex.png"));
}

TEST_F(PNGTest, WideRowsNeedNoFixedBuffer)
{
    PngLayout layout = { 700, 2, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, rgbaPixels(700, 2) };
    writeFile("wide.png", encodePng(layout));
    HPNGLoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "wide.png"));
    EXPECT_EQ(HImage::packColor((699 * 3) & 0xff, 5, (699 + 1) & 0xff, (255 - 699) & 0xff),
              loader.getImage()->getPixel32(699, 1));
    loader.release();
}

TEST_F(PNGTest, OtherKindsAreRefused)
{
    PngLayout grey = { 2, 2, 8, PNG_COLOR_TYPE_GRAY, false, {}, { 1, 2, 3, 4 } };
    PngLayout deep = { 1, 1, 16, PNG_COLOR_TYPE_RGB, false, {}, { 1, 2, 3, 4, 5, 6 } };
    writeFile("grey.png", encodePng(grey));
    writeFile("deep.png", encodePng(deep));
    EXPECT_TRUE(failsCleanly("grey.png"));
    EXPECT_TRUE(failsCleanly("deep.png"));
    writeFile("text.png", { 'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g' });
    writeFile("tiny.png", { 0x89, 'P' });
    EXPECT_TRUE(failsCleanly("text.png"));
    EXPECT_TRUE(failsCleanly("tiny.png"));
    EXPECT_TRUE(failsCleanly("missing.png"));
    EXPECT_TRUE(m_hook.boxes().empty()); // refused before libpng complains
}

TEST_F(PNGTest, DamagedFilesFailWithTheErrorBox)
{
    PngLayout layout = { 16, 16, 8, PNG_COLOR_TYPE_RGB_ALPHA, false, {}, rgbaPixels(16, 16) };
    const std::vector<uint8_t> good = encodePng(layout);
    std::vector<uint8_t> truncated(good.begin(), good.begin() + (long)good.size() / 2);
    std::vector<uint8_t> corrupt = good;
    corrupt[good.size() / 2] ^= 0x55; // inside IDAT: the CRC no longer matches
    // IHDR claiming 20000 x 20000 with a valid CRC: more pixels than we take.
    std::vector<uint8_t> huge = good;
    const uint8_t size[8] = { 0, 0, 0x4e, 0x20, 0, 0, 0x4e, 0x20 };
    memcpy(&huge[16], size, 8);
    const uLong uCrc = crc32(0, &huge[12], 17);
    for (int i = 0; i < 4; i++) {
        huge[29 + i] = (uint8_t)(uCrc >> (24 - 8 * i));
    }
    writeFile("truncated.png", truncated);
    writeFile("corrupt.png", corrupt);
    writeFile("huge.png", huge);

    EXPECT_TRUE(failsCleanly("truncated.png"));
    ASSERT_FALSE(m_hook.boxes().empty());
    EXPECT_EQ("Alert", m_hook.boxes().back().title);
    EXPECT_EQ(0u, m_hook.boxes().back().text.find("lpng122 encountered fatal error '"));
    EXPECT_TRUE(failsCleanly("corrupt.png"));
    m_hook.clear();
    EXPECT_TRUE(failsCleanly("huge.png"));
    EXPECT_TRUE(m_hook.boxes().empty()); // refused by us, before libpng reads pixels

    // A good file still loads after the failures.
    writeFile("good.png", good);
    HPNGLoader loader;
    EXPECT_TRUE(loader.load(&m_fs, "good.png"));
    loader.release();
}

} // namespace
