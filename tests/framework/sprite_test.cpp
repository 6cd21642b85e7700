#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../engine/devices/display_support.h"
#include "HSDLDisplayDevice.h"
#include "HStandardFileSystem.h"
#include "QVSprite.h"
#include "message_hook.h"
#include "test_pictures.h"

class SpriteTest : public testing::Test {
protected:
    void SetUp() override
    {
        char path[] = "/tmp/gobstrel-sprite-XXXXXX";
        ASSERT_NE(mkdtemp(path), nullptr);
        m_dir = path;
        ASSERT_TRUE(m_fs.init(m_dir.c_str()));
        m_display = createSDLDisplayDevice(640, 480, "sprites", false, 0, nullptr);
        ASSERT_NE(m_display, nullptr);
    }
    void TearDown() override
    {
        destroyDisplayDevice(m_display);
        use565();
        m_fs.shutdown();
        std::string cmd = "rm -rf '" + m_dir + "'";
        if (system(cmd.c_str()) != 0) fprintf(stderr, "could not remove %s\n", m_dir.c_str());
    }
    std::string path(const std::string &name) const { return m_dir + "/" + name; }
    uint16_t screenPixel(int x, int y) const { return m_display->getScreen().getRow(y)[x]; }

    ScopedMessageHook m_hook; // no box may wait for a person
    std::string m_dir;
    HStandardFileSystem m_fs;
    HSDLDisplayDevice *m_display = nullptr;
};

TEST_F(SpriteTest, LoadsAreCounted)
{
    ASSERT_TRUE(writeSolidTGA(path("red.tga"), 6, 4, 255, 0, 0, 255));
    QVSprite sprite;
    EXPECT_STREQ(sprite.getName(), "(unnamed)");
    ASSERT_TRUE(sprite.load(m_display, &m_fs, "red.tga"));
    EXPECT_TRUE(sprite.isLoaded());
    EXPECT_EQ(sprite.getRefCount(), 1);
    EXPECT_STREQ(sprite.getName(), "red.tga");
    EXPECT_EQ(sprite.getWidth(), 6);
    EXPECT_EQ(sprite.getHeight(), 4);
    HRect r;
    sprite.getRect(r);
    EXPECT_EQ(r.right, 6);
    EXPECT_EQ(r.bottom, 4);
    // The second load does not read the file again.
    remove(path("red.tga").c_str());
    EXPECT_TRUE(sprite.load(m_display, &m_fs, "red.tga"));
    EXPECT_EQ(sprite.getRefCount(), 2);
    sprite.release();
    EXPECT_TRUE(sprite.isLoaded());
    sprite.release();
    EXPECT_FALSE(sprite.isLoaded());
    EXPECT_STREQ(sprite.getName(), "red.tga");
    EXPECT_EQ(sprite.getWidth(), 0);
}

TEST_F(SpriteTest, FailedLoadsChangeNothing)
{
    QVSprite sprite;
    EXPECT_FALSE(sprite.load(m_display, &m_fs, "missing.tga"));
    EXPECT_FALSE(sprite.isLoaded());
    EXPECT_EQ(sprite.getRefCount(), 0);
    EXPECT_STREQ(sprite.getName(), "(unnamed)");
    HRect r = { 1, 2, 3, 4 };
    sprite.getRect(r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 0);
    EXPECT_EQ(r.bottom, 0);

    // Garbage in a file of a known type, and an unknown type.
    FILE *f = fopen(path("junk.tga").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("not an image at all", f);
    fclose(f);
    EXPECT_FALSE(sprite.load(m_display, &m_fs, "junk.tga"));
    ASSERT_TRUE(writeSolidTGA(path("pic.xyz"), 2, 2, 1, 2, 3, 255));
    EXPECT_FALSE(sprite.load(m_display, &m_fs, "pic.xyz"));
    EXPECT_EQ(sprite.getRefCount(), 0);
    EXPECT_FALSE(sprite.drawBlended(HRect{ 0, 0, 2, 2 }, HRect{ 0, 0, 2, 2 }, 2, 1, 0, 255, 3, 1, 0, 255, 0));
    sprite.drawAt(HPoint{ 0, 0 });
    EXPECT_EQ(m_display->getDirtyRects().getCount(), 0);

    // An earlier good name survives a later failure.
    ASSERT_TRUE(writeSolidTGA(path("ok.tga"), 2, 2, 1, 2, 3, 255));
    ASSERT_TRUE(sprite.load(m_display, &m_fs, "ok.tga"));
    sprite.release();
    EXPECT_FALSE(sprite.load(m_display, &m_fs, "missing.tga"));
    EXPECT_STREQ(sprite.getName(), "ok.tga");
}

TEST_F(SpriteTest, NoFileSystemShowsTheError)
{
    ScopedMessageHook &hook = m_hook;
    hook.clear();
    QVSprite sprite;
    EXPECT_FALSE(sprite.load(m_display, nullptr, "a.tga"));
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].uType, 49u);
    EXPECT_EQ(hook.boxes()[0].title, "Error");
    EXPECT_EQ(hook.boxes()[0].text.rfind("Gobstrel's read file system was not initialized.", 0), 0u);
    EXPECT_EQ(sprite.getRefCount(), 0);
}

// A decoded image that gives no surface is a failed load: not counted, so
// the caller can report the missing pictures.
TEST_F(SpriteTest, LoadWithoutSurfaceFails)
{
    ASSERT_TRUE(writeSolidTGA(path("blue.tga"), 3, 3, 0, 0, 255, 255));
    MemoryDisplay noSurfaces;
    QVSprite sprite;
    EXPECT_FALSE(sprite.load(&noSurfaces, &m_fs, "blue.tga"));
    EXPECT_EQ(sprite.getRefCount(), 0);
    EXPECT_FALSE(sprite.isLoaded());
    EXPECT_STREQ(sprite.getName(), "(unnamed)");
    EXPECT_FALSE(sprite.load(nullptr, &m_fs, "blue.tga"));
    EXPECT_EQ(sprite.getRefCount(), 0);
}

TEST_F(SpriteTest, LongNamesAreCut)
{
    const std::string name = std::string(70, 'n') + ".tga";
    ASSERT_TRUE(writeSolidTGA(path(name), 1, 1, 9, 9, 9, 255));
    QVSprite sprite;
    ASSERT_TRUE(sprite.load(m_display, &m_fs, name.c_str()));
    EXPECT_EQ(std::string(sprite.getName()), name.substr(0, 63));
    sprite.release();
}

TEST_F(SpriteTest, DrawingIsClippedAndDirty)
{
    ASSERT_TRUE(writeSolidTGA(path("white.tga"), 10, 10, 255, 255, 255, 255));
    QVSprite sprite;
    ASSERT_TRUE(sprite.load(m_display, &m_fs, "white.tga"));
    const float black[3] = { 0, 0, 0 };
    m_display->clear(black);
    sprite.drawAt(HPoint{ 635, -5 });
    EXPECT_EQ(screenPixel(639, 0), 0xFFFF);
    EXPECT_EQ(screenPixel(635, 4), 0xFFFF);
    EXPECT_EQ(screenPixel(634, 0), 0);
    EXPECT_EQ(screenPixel(635, 5), 0);
    ASSERT_EQ(m_display->getDirtyRects().getCount(), 1);
    const HRect *dirty = m_display->getDirtyRects().getRect(0);
    EXPECT_EQ(dirty->left, 635);
    EXPECT_EQ(dirty->top, 0);
    EXPECT_EQ(dirty->right, 640);
    EXPECT_EQ(dirty->bottom, 5);

    sprite.drawPart(HRect{ 100, 100, 102, 102 }, HRect{ 0, 0, 2, 2 });
    EXPECT_EQ(screenPixel(101, 101), 0xFFFF);
    EXPECT_EQ(screenPixel(102, 101), 0);
    EXPECT_TRUE(sprite.drawBlended(HRect{ 200, 200, 201, 201 }, HRect{ 0, 0, 1, 1 }, 2, 1, 0, 255, 3, 1, 0, 255, 0));
    EXPECT_EQ(screenPixel(200, 200), 0xFFFF);
    m_display->present();
    sprite.release();
}

TEST_F(SpriteTest, CloneCopiesTheSurface)
{
    ASSERT_TRUE(writeSolidTGA(path("g.tga"), 3, 2, 0, 255, 0, 255));
    QVSprite sprite;
    ASSERT_TRUE(sprite.load(m_display, &m_fs, "g.tga"));
    HObject plain;
    EXPECT_EQ(sprite.clone(&plain), nullptr);
    QVSprite *copy = sprite.clone(&sprite);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy->getSurface(), sprite.getSurface());
    EXPECT_EQ(copy->getWidth(), 3);
    EXPECT_STREQ(copy->getName(), "(unnamed)");
    EXPECT_EQ(copy->getRefCount(), 0);
    sprite.release();
    EXPECT_EQ(copy->getHeight(), 2); // independent of the original
    m_display->destroySurface(copy->getSurface());
    delete copy;
}

// Bitmap text drawn by the display device through a sprite glyph sheet.
TEST_F(SpriteTest, TextDrawsThroughTheSheet)
{
    ASSERT_TRUE(writeSolidTGA(path("font.tga"), 128, 84, 255, 255, 255, 255));
    QVSprite sheet;
    ASSERT_TRUE(sheet.load(m_display, &m_fs, "font.tga"));
    H2DFont *font = m_display->createFont(&sheet, 8, 12);
    const float black[3] = { 0, 0, 0 };
    m_display->clear(black);
    const HRect screen = { 0, 0, 640, 480 };
    const char text[] = { 'A', (char)0xE9, 'B', 0 };
    m_display->drawText(text, 10, 20, screen, 0, font);
    EXPECT_EQ(screenPixel(10, 20), 0xFFFF);
    EXPECT_EQ(screenPixel(17, 31), 0xFFFF);
    EXPECT_EQ(screenPixel(18, 20), 0);     // the Latin-1 letter only advances
    EXPECT_EQ(screenPixel(26, 20), 0xFFFF);
    EXPECT_EQ(screenPixel(34, 20), 0);
    m_display->destroyFont(font);
    sheet.release();
}
