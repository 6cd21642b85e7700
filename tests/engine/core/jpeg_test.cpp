#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include <jpeglib.h>

#include "HImage.h"
#include "HImageLoaderProxy.h"
#include "HJPGLoader.h"
#include "HStandardFileSystem.h"
#include "image_folder.h"

namespace {

// Encodes an image with libjpeg at quality 100. With RGB kept as RGB and
// every 8x8 block of one colour, the decoder gives the colours back exactly.
std::vector<uint8_t> encodeJpeg(int w, int h, int components, J_COLOR_SPACE inSpace,
                                const std::vector<uint8_t> &pixels, bool bKeepRGB,
                                bool bProgressive = false)
{
    struct jpeg_compress_struct info;
    struct jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char *pOut = nullptr;
    unsigned long lSize = 0;
    jpeg_mem_dest(&info, &pOut, &lSize);
    info.image_width = (JDIMENSION)w;
    info.image_height = (JDIMENSION)h;
    info.input_components = components;
    info.in_color_space = inSpace;
    jpeg_set_defaults(&info);
    if (bKeepRGB) {
        jpeg_set_colorspace(&info, JCS_RGB);
    }
    jpeg_set_quality(&info, 100, TRUE);
    if (bProgressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = (JSAMPROW)&pixels[(size_t)info.next_scanline * w * components];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(pOut, pOut + lSize);
    free(pOut);
    return bytes;
}

// 16 x 16, four 8x8 blocks of one colour each.
std::vector<uint8_t> blockPixels(const uint8_t colors[4][3])
{
    std::vector<uint8_t> pixels(16 * 16 * 3);
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            const uint8_t *c = colors[(y / 8) * 2 + x / 8];
            memcpy(&pixels[(y * 16 + x) * 3], c, 3);
        }
    }
    return pixels;
}

class JPEGTest : public ImageFolderTest {
protected:
    JPEGTest() : ImageFolderTest("jpeg") {}
};

const uint8_t s_colors[4][3] = { { 10, 20, 30 }, { 200, 100, 50 }, { 0, 255, 128 }, { 7, 7, 7 } };

TEST_F(JPEGTest, ColourPixelsStoredBlueGreenRedAlpha)
{
    writeFile("blocks.jpg", encodeJpeg(16, 16, 3, JCS_RGB, blockPixels(s_colors), true));
    HImageLoaderProxy loader;
    ASSERT_TRUE(loader.load(&m_fs, "blocks.jpg"));
    HImage *pImage = loader.getImage();
    EXPECT_EQ(IMAGE_FORMAT_32BIT, pImage->getFormat());
    ASSERT_EQ(16, pImage->getWidth());
    ASSERT_EQ(16, pImage->getHeight());
    const uint8_t *p = pImage->getData();
    EXPECT_EQ(30, p[0]);
    EXPECT_EQ(20, p[1]);
    EXPECT_EQ(10, p[2]);
    EXPECT_EQ(255, p[3]);
    for (int y = 0; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            const uint8_t *c = s_colors[(y / 8) * 2 + x / 8];
            ASSERT_EQ(HImage::packColor(c[0], c[1], c[2], 255), pImage->getPixel32(x, y))
                << x << "," << y;
        }
    }
    loader.release();
}

TEST_F(JPEGTest, YCbCrAndProgressiveDecodeCloseToSource)
{
    const std::vector<uint8_t> pixels = blockPixels(s_colors);
    writeFile("ycc.jpeg", encodeJpeg(16, 16, 3, JCS_RGB, pixels, false));
    writeFile("progressive.jpg", encodeJpeg(16, 16, 3, JCS_RGB, pixels, false, true));
    for (const char *szName : { "ycc.jpeg", "progressive.jpg" }) {
        HImageLoaderProxy loader;
        ASSERT_TRUE(loader.load(&m_fs, szName)) << szName;
        const uint32_t c = loader.getImage()->getPixel32(12, 3); // block (200, 100, 50)
        EXPECT_NEAR(200, (int)((c >> 16) & 0xff), 3) << szName;
        EXPECT_NEAR(100, (int)((c >> 8) & 0xff), 3) << szName;
        EXPECT_NEAR(50, (int)(c & 0xff), 3) << szName;
        EXPECT_EQ(255u, c >> 24);
        loader.release();
    }
}

TEST_F(JPEGTest, GreyScaleBecomesRGB)
{
    std::vector<uint8_t> grey(16 * 8);
    for (int y = 0; y < 8; y++) {
        for (int x = 0; x < 16; x++) {
            grey[y * 16 + x] = x < 8 ? 77 : 230;
        }
    }
    writeFile("grey.jpg", encodeJpeg(16, 8, 1, JCS_GRAYSCALE, grey, false));
    HJPGLoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "grey.jpg"));
    EXPECT_EQ(HImage::packColor(77, 77, 77, 255), loader.getImage()->getPixel32(3, 5));
    EXPECT_EQ(HImage::packColor(230, 230, 230, 255), loader.getImage()->getPixel32(15, 7));
    loader.release();
}

TEST_F(JPEGTest, WideImageNeedsNoFixedRowBuffer)
{
    const int w = 2000; // wider than 4096 bytes of RGB
    std::vector<uint8_t> pixels((size_t)w * 8 * 3, 0);
    for (int y = 0; y < 8; y++) {
        for (int x = 0; x < w; x++) {
            pixels[(size_t)(y * w + x) * 3 + 0] = (x / 8) % 2 ? 240 : 16;
        }
    }
    writeFile("wide.jpg", encodeJpeg(w, 8, 3, JCS_RGB, pixels, true));
    HJPGLoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "wide.jpg"));
    EXPECT_EQ(w, loader.getImage()->getWidth());
    EXPECT_EQ(HImage::packColor(240, 0, 0, 255), loader.getImage()->getPixel32(1996, 7));
    EXPECT_EQ(HImage::packColor(16, 0, 0, 255), loader.getImage()->getPixel32(1990, 7));
    loader.release();
}

TEST_F(JPEGTest, CMYKIsRefused)
{
    std::vector<uint8_t> cmyk(8 * 8 * 4, 100);
    writeFile("cmyk.jpg", encodeJpeg(8, 8, 4, JCS_CMYK, cmyk, false));
    HJPGLoader loader;
    EXPECT_FALSE(loader.load(&m_fs, "cmyk.jpg"));
    EXPECT_EQ(nullptr, loader.getImage());
}

TEST_F(JPEGTest, DamagedFilesFailWithoutEndingTheProgram)
{
    const std::vector<uint8_t> good = encodeJpeg(16, 16, 3, JCS_RGB, blockPixels(s_colors), false);
    std::vector<uint8_t> truncated(good.begin(), good.begin() + (long)good.size() * 2 / 3);
    std::vector<uint8_t> headerOnly(good.begin(), good.begin() + 20);
    std::vector<uint8_t> garbage(good.begin(), good.end());
    for (size_t i = good.size() / 2; i < good.size() - 2; i++) {
        garbage[i] = (uint8_t)(i * 37);
    }
    std::vector<uint8_t> notJpeg = { 'h', 'e', 'l', 'l', 'o' };
    writeFile("truncated.jpg", truncated);
    writeFile("header.jpg", headerOnly);
    writeFile("garbage.jpg", garbage);
    writeFile("text.jpg", notJpeg);
    writeFile("empty.jpg", {});

    for (const char *szName : { "truncated.jpg", "header.jpg", "garbage.jpg", "text.jpg",
                                "empty.jpg", "missing.jpg" }) {
        HImageLoaderProxy loader;
        EXPECT_FALSE(loader.load(&m_fs, szName)) << szName;
        EXPECT_EQ(nullptr, loader.getImage()) << szName;
    }
    // A few junk bytes before a marker only draw a warning: the image is
    // whole and loads, exactly.
    const std::vector<uint8_t> exact = encodeJpeg(16, 16, 3, JCS_RGB, blockPixels(s_colors), true);
    std::vector<uint8_t> junk(exact.begin(), exact.end());
    const uint8_t aJunk[] = { 0x12, 0x34, 0x56 };
    junk.insert(junk.end() - 2, aJunk, aJunk + sizeof(aJunk));          // before the end marker
    for (size_t i = 2; i + 1 < junk.size(); i++) {
        if (junk[i] == 0xFF && junk[i + 1] == 0xDB) {                  // before the first table
            junk.insert(junk.begin() + (long)i, aJunk, aJunk + sizeof(aJunk));
            break;
        }
    }
    writeFile("junk.jpg", junk);
    HJPGLoader junkLoader;
    ASSERT_TRUE(junkLoader.load(&m_fs, "junk.jpg"));
    EXPECT_EQ(HImage::packColor(200, 100, 50, 255), junkLoader.getImage()->getPixel32(12, 3));
    EXPECT_EQ(HImage::packColor(7, 7, 7, 255), junkLoader.getImage()->getPixel32(15, 15));
    junkLoader.release();

    // The same loader still decodes a good file afterwards.
    writeFile("good.jpg", good);
    HJPGLoader loader;
    EXPECT_FALSE(loader.load(&m_fs, "truncated.jpg"));
    EXPECT_TRUE(loader.load(&m_fs, "good.jpg"));
    loader.release();
}

TEST_F(JPEGTest, SegmentLongerThanTheFileFails)
{
    // An APP1 segment claiming 65535 bytes where only a few follow: the
    // skip must stop at the end of the buffer and the load must fail.
    std::vector<uint8_t> file = { 0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 'E', 'x', 'i', 'f' };
    writeFile("longapp.jpg", file);
    // A whole image whose end was cut inside such a segment.
    std::vector<uint8_t> good = encodeJpeg(16, 16, 3, JCS_RGB, blockPixels(s_colors), false);
    const uint8_t segment[] = { 0xFF, 0xE2, 0x40, 0x00 };
    std::vector<uint8_t> cut(good.size() + sizeof(segment));
    memcpy(cut.data(), good.data(), 2);
    memcpy(cut.data() + 2, segment, sizeof(segment));
    memcpy(cut.data() + 2 + sizeof(segment), good.data() + 2, good.size() - 2);
    writeFile("swallowed.jpg", cut);

    for (const char *szName : { "longapp.jpg", "swallowed.jpg" }) {
        HJPGLoader loader;
        EXPECT_FALSE(loader.load(&m_fs, szName)) << szName;
        EXPECT_EQ(nullptr, loader.getImage()) << szName;
    }
}

TEST_F(JPEGTest, HeaderClaimingHugeSizeFails)
{
    std::vector<uint8_t> file = encodeJpeg(16, 16, 3, JCS_RGB, blockPixels(s_colors), false);
    // Patch the frame header (SOF0) to claim 65000 x 65000.
    for (size_t i = 0; i + 8 < file.size(); i++) {
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = 0xFD;
            file[i + 6] = 0xE8;
            file[i + 7] = 0xFD;
            file[i + 8] = 0xE8;
            break;
        }
    }
    writeFile("huge.jpg", file);
    HJPGLoader loader;
    EXPECT_FALSE(loader.load(&m_fs, "huge.jpg"));
    EXPECT_EQ(nullptr, loader.getImage());
}

} // namespace
