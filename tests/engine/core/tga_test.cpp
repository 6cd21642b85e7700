#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "HBMPLoader.h"
#include "HFile.h"
#include "HImage.h"
#include "HImageLoaderProxy.h"
#include "HStandardFileSystem.h"
#include "HTGALoader.h"
#include "image_folder.h"

namespace {

class TGATest : public ImageFolderTest {
protected:
    TGATest() : ImageFolderTest("tga") {}

    static std::vector<uint8_t> header(int type, int w, int h, int depth, int descriptor = 0)
    {
        std::vector<uint8_t> b(18, 0);
        b[2] = (uint8_t)type;
        b[12] = (uint8_t)(w & 0xff);
        b[13] = (uint8_t)((w >> 8) & 0xff);
        b[14] = (uint8_t)(h & 0xff);
        b[15] = (uint8_t)((h >> 8) & 0xff);
        b[16] = (uint8_t)depth;
        b[17] = (uint8_t)descriptor;
        return b;
    }
};

TEST_F(TGATest, ThirtyTwoBitsBottomRowFirst)
{
    std::vector<uint8_t> file = header(2, 2, 2, 32);
    // Stored bottom row first: bottom row pixels 1..8, top row 11..18.
    const uint8_t pixels[] = { 1, 2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16, 17, 18 };
    file.insert(file.end(), pixels, pixels + sizeof(pixels));
    writeFile("logo.tga", file);

    HImageLoaderProxy loader;
    ASSERT_TRUE(loader.load(&m_fs, "logo.tga"));
    HImage *pImage = loader.getImage();
    ASSERT_NE(nullptr, pImage);
    EXPECT_EQ(IMAGE_FORMAT_32BIT, pImage->getFormat());
    EXPECT_EQ(2, pImage->getWidth());
    EXPECT_EQ(2, pImage->getHeight());
    const uint8_t expected[] = { 11, 12, 13, 14, 15, 16, 17, 18, 1, 2, 3, 4, 5, 6, 7, 8 };
    EXPECT_EQ(0, memcmp(expected, pImage->getData(), sizeof(expected)));
    loader.release();
    EXPECT_EQ(nullptr, loader.getImage());
}

TEST_F(TGATest, TwentyFourBitsGetOpaqueAlphaAndTopOriginIsKept)
{
    std::vector<uint8_t> file = header(2, 1, 2, 24, 0x20);
    const uint8_t pixels[] = { 1, 2, 3, 4, 5, 6 };
    file.insert(file.end(), pixels, pixels + sizeof(pixels));
    writeFile("top.tga", file);

    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "top.tga"));
    const uint8_t expected[] = { 1, 2, 3, 255, 4, 5, 6, 255 };
    EXPECT_EQ(0, memcmp(expected, loader.getImage()->getData(), sizeof(expected)));
    loader.release();
}

TEST_F(TGATest, SixteenBitsMoveToFormatThreeLayout)
{
    std::vector<uint8_t> file = header(2, 4, 1, 16);
    const uint16_t values[] = { 0x7c00, 0x03e0, 0x001f, 0xffff }; // red, green, blue, all + top bit
    for (uint16_t v : values) {
        file.push_back((uint8_t)(v & 0xff));
        file.push_back((uint8_t)(v >> 8));
    }
    writeFile("packed.tga", file);

    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "packed.tga"));
    HImage *pImage = loader.getImage();
    EXPECT_EQ(IMAGE_FORMAT_16BIT, pImage->getFormat());
    EXPECT_EQ(62, pImage->getPixel16(0, 0));          // red: bits 5-1
    EXPECT_EQ(31 << 6, pImage->getPixel16(1, 0));     // green: bits 10-6
    EXPECT_EQ(31 << 11, pImage->getPixel16(2, 0));    // blue: bits 15-11
    EXPECT_EQ(0xfffe, pImage->getPixel16(3, 0));      // bit 0 stays clear
    loader.release();
}

TEST_F(TGATest, OtherTypesReadAsGreyBytes)
{
    std::vector<uint8_t> file = header(3, 3, 1, 8);
    file.push_back(9);
    file.push_back(99);
    file.push_back(199);
    writeFile("grey.tga", file);
    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "grey.tga"));
    EXPECT_EQ(IMAGE_FORMAT_8BIT, loader.getImage()->getFormat());
    EXPECT_EQ(99, loader.getImage()->getPixel8(1, 0));
    loader.release();
}

TEST_F(TGATest, EightAndTwentyFourBitsBottomRowFirst)
{
    std::vector<uint8_t> grey = header(3, 2, 2, 8);
    grey.insert(grey.end(), { 1, 2, 3, 4 }); // bottom row 1 2, top row 3 4
    writeFile("grey2.tga", grey);
    std::vector<uint8_t> rgb = header(2, 1, 2, 24);
    rgb.insert(rgb.end(), { 1, 2, 3, 4, 5, 6 }); // bottom pixel, then top
    writeFile("rgb2.tga", rgb);

    HImageLoaderProxy loader;
    ASSERT_TRUE(loader.load(&m_fs, "grey2.tga"));
    EXPECT_EQ(IMAGE_FORMAT_8BIT, loader.getImage()->getFormat());
    const uint8_t expectedGrey[] = { 3, 4, 1, 2 };
    EXPECT_EQ(0, memcmp(expectedGrey, loader.getImage()->getData(), 4));
    loader.release();

    ASSERT_TRUE(loader.load(&m_fs, "rgb2.tga"));
    EXPECT_EQ(IMAGE_FORMAT_32BIT, loader.getImage()->getFormat());
    const uint8_t expectedRGB[] = { 4, 5, 6, 255, 1, 2, 3, 255 };
    EXPECT_EQ(0, memcmp(expectedRGB, loader.getImage()->getData(), 8));
    loader.release();
}

TEST_F(TGATest, ColourMapIsReportedAndSkipped)
{
    // Colour-map type 1 with three 24-bit entries ahead of the pixels.
    std::vector<uint8_t> file = header(2, 1, 1, 32);
    file[1] = 1;
    file[5] = 3;
    file[7] = 24;
    file.insert(file.end(), 9, 0xee);
    file.insert(file.end(), { 1, 2, 3, 4 });
    writeFile("mapped.tga", file);
    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "mapped.tga"));
    EXPECT_EQ(HImage::packColor(3, 2, 1, 4), loader.getImage()->getPixel32(0, 0));
    EXPECT_TRUE(m_hook.boxes().empty()); // a developer note, never a box
    loader.release();

    // The same map cut short: the pixels are missing.
    file.resize(18 + 9 + 2);
    writeFile("mapcut.tga", file);
    EXPECT_FALSE(loader.load(&m_fs, "mapcut.tga"));
    EXPECT_EQ(nullptr, loader.getImage());
}

TEST_F(TGATest, SkipsImageIdField)
{
    std::vector<uint8_t> file = header(2, 1, 1, 32);
    file[0] = 3;
    file.insert(file.end(), { 'a', 'b', 'c', 1, 2, 3, 4 });
    writeFile("id.tga", file);
    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "id.tga"));
    EXPECT_EQ(HImage::packColor(3, 2, 1, 4), loader.getImage()->getPixel32(0, 0));
    loader.release();
}

TEST_F(TGATest, BadFilesFailCleanly)
{
    writeFile("empty.tga", {});
    writeFile("short.tga", { 0, 0, 2, 0, 0 });
    std::vector<uint8_t> truncated = header(2, 100, 100, 32);
    truncated.resize(18 + 100 * 100 * 4 - 1);
    writeFile("truncated.tga", truncated);
    std::vector<uint8_t> negative = header(2, 1, 1, 32);
    negative[15] = 0x80; // height -32768 (signed 16-bit)
    negative.resize(18 + 64);
    writeFile("negative.tga", negative);
    std::vector<uint8_t> zero = header(2, 0, 5, 32);
    writeFile("zero.tga", zero);
    std::vector<uint8_t> huge = header(2, 32767, 32767, 32); // 4 GB claimed, 64 bytes given
    huge.resize(18 + 64);
    writeFile("huge.tga", huge);
    std::vector<uint8_t> depth = header(2, 1, 1, 15);
    depth.resize(30);
    writeFile("depth.tga", depth);

    for (const char *szName : { "empty.tga", "short.tga", "truncated.tga", "negative.tga",
                                "zero.tga", "huge.tga", "depth.tga", "missing.tga" }) {
        HImageLoaderProxy loader;
        EXPECT_FALSE(loader.load(&m_fs, szName)) << szName;
        EXPECT_EQ(nullptr, loader.getImage()) << szName;
    }
}

TEST_F(TGATest, ProxyPicksLoaderByCaseSensitiveExtension)
{
    std::vector<uint8_t> file = header(2, 1, 1, 32);
    file.insert(file.end(), { 1, 2, 3, 4 });
    writeFile("logo.tga", file);
    writeFile("logo.TGA", file);
    writeFile("logo.tga.png", file);

    HImageLoaderProxy loader;
    EXPECT_TRUE(loader.load(&m_fs, "logo.tga"));
    EXPECT_FALSE(loader.load(&m_fs, "logo.TGA"));
    EXPECT_EQ(nullptr, loader.getImage());
    // Read as PNG, which this file is not.
    EXPECT_FALSE(loader.load(&m_fs, "logo.tga.png"));
}

TEST_F(TGATest, LoadingAgainReplacesTheImage)
{
    std::vector<uint8_t> one = header(2, 1, 1, 32);
    one.insert(one.end(), { 1, 2, 3, 4 });
    std::vector<uint8_t> two = header(2, 2, 1, 32);
    two.insert(two.end(), { 5, 6, 7, 8, 9, 10, 11, 12 });
    writeFile("one.tga", one);
    writeFile("two.tga", two);
    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "one.tga"));
    ASSERT_TRUE(loader.load(&m_fs, "two.tga"));
    EXPECT_EQ(2, loader.getImage()->getWidth());
    loader.release();
}

TEST_F(TGATest, WriterRoundTrips)
{
    HImage image(3, 2, IMAGE_FORMAT_32BIT);
    for (int i = 0; i < 3 * 2 * 4; i++) {
        image.getData()[i] = (uint8_t)(i * 7 + 1);
    }
    ASSERT_TRUE(HTGALoader::write(&m_fs, "out.tga", &image));
    HTGALoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "out.tga"));
    ASSERT_EQ(3, loader.getImage()->getWidth());
    ASSERT_EQ(2, loader.getImage()->getHeight());
    EXPECT_EQ(IMAGE_FORMAT_32BIT, loader.getImage()->getFormat());
    EXPECT_EQ(0, memcmp(image.getData(), loader.getImage()->getData(), 3 * 2 * 4));
    loader.release();

    HImage packed(2, 2, IMAGE_FORMAT_16BIT);
    const uint16_t values[] = { 62, 31 << 6, 31 << 11, 0xfffe };
    memcpy(packed.getData(), values, sizeof(values));
    ASSERT_TRUE(HTGALoader::write(&m_fs, "packed.tga", &packed));
    ASSERT_TRUE(loader.load(&m_fs, "packed.tga"));
    EXPECT_EQ(IMAGE_FORMAT_16BIT, loader.getImage()->getFormat());
    EXPECT_EQ(0, memcmp(values, loader.getImage()->getData(), sizeof(values)));
    loader.release();

    EXPECT_TRUE(m_hook.boxes().empty());
    HImage grey(2, 2, IMAGE_FORMAT_8BIT);
    EXPECT_FALSE(HTGALoader::write(&m_fs, "grey.tga", &grey));
    ASSERT_EQ(1u, m_hook.boxes().size());
    EXPECT_EQ("HTGALoader::write() - Unsupported image format", m_hook.boxes()[0].text);
}

// The BMP reader sits beside the TGA one: 24-bit, bottom row first, rows
// padded to four bytes.
TEST_F(TGATest, BMPReaderAndItsBadInput)
{
    std::vector<uint8_t> file(54, 0);
    file[0] = 'B';
    file[1] = 'M';
    file[10] = 54;  // pixel offset
    file[14] = 40;  // info header size
    file[18] = 2;   // width
    file[22] = 2;   // height
    file[26] = 1;   // planes
    file[28] = 24;  // bit count
    // Bottom row, then top row; each 6 bytes of pixels and 2 of padding.
    file.insert(file.end(), { 1, 2, 3, 4, 5, 6, 0, 0, 11, 12, 13, 14, 15, 16, 0, 0 });
    writeFile("pic.bmp", file);
    HBMPLoader loader;
    ASSERT_TRUE(loader.load(&m_fs, "pic.bmp"));
    const uint8_t expected[] = { 11, 12, 13, 255, 14, 15, 16, 255, 1, 2, 3, 255, 4, 5, 6, 255 };
    EXPECT_EQ(0, memcmp(expected, loader.getImage()->getData(), sizeof(expected)));

    std::vector<uint8_t> truncated(file.begin(), file.end() - 1);
    writeFile("short.bmp", truncated);
    EXPECT_FALSE(loader.load(&m_fs, "short.bmp"));
    EXPECT_EQ(nullptr, loader.getImage());
    std::vector<uint8_t> deep = file;
    deep[28] = 32;
    writeFile("deep.bmp", deep);
    EXPECT_FALSE(loader.load(&m_fs, "deep.bmp"));
}

} // namespace
