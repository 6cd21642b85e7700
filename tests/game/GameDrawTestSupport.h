#ifndef GAMEDRAWTESTSUPPORT_H
#define GAMEDRAWTESTSUPPORT_H

// A game application over a real (dummy-driver) SDL display and a folder of
// made-up pictures: every picture is one solid colour of its own, so a pixel
// on the screen tells which sprite was drawn there. Included by the drawing
// tests only.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "GameApp.h"
#include "H2DSurface16.h"
#include "HSDLDisplayDevice.h"
#include "message_hook.h"
#include "test_pictures.h"

// What the pictures are called, in the order the game loads them, and the
// size each is made at. The first 143 are the ones loaded up front.
struct DrawTestAsset {
    std::string name;
    int         width;
    int         height;
};

inline std::vector<DrawTestAsset> drawTestAssets()
{
    std::vector<DrawTestAsset> a;
    auto add = [&a](const std::string &name, int w, int h) { a.push_back({ name, w, h }); };
    add("timer.tga", 400, 20);
    add("time_bonus.tga", 160, 30);
    add("startlevel_bonus.tga", 200, 30);
    add("level.tga", 100, 30);
    add("cursor.tga", 16, 16);
    add("bites00.tga", 30, 20);
    add("bites01.tga", 30, 20);
    add("bites02.tga", 30, 20);
    for (const char *icon : { "resume", "pause", "restart", "options", "exit" }) {
        add(std::string("icon_") + icon + ".tga", 40, 40);
        add(std::string("icon_") + icon + "_lit.tga", 40, 40);
    }
    add("logo.tga", 60, 30);
    add("logo_lit.tga", 60, 30);
    add("partnerlogo.tga", 60, 30);
    add("partnerlogo_lit.tga", 60, 30);
    add("background.jpg", 640, 480);
    add("arena.jpg", 420, 420);
    add("pause.jpg", 420, 420);
    add("icon_click_to_start_lit.tga", 200, 30);
    for (const char *t : { "blue", "red", "green", "yellow", "purple", "orange", "wild", "blocker", "bear",
                           "cherries", "chocolate", "grapefruit", "lifesaver", "peppermint", "worm" }) {
        add(std::string("tile_") + t + ".tga", 42, 42);
    }
    add("icon_highscores.tga", 40, 40);
    add("icon_highscores_lit.tga", 40, 40);
    add("font_comma.tga", 10, 12);
    for (const char *d : { "zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine" }) {
        // 13 wide: the comma after a third digit stands 13 pixels left of it.
        add(std::string("font_") + d + ".tga", 13, 18);
    }
    add("anim_tile_wild_ex00.tga", 42, 42);
    for (const char *t : { "blocker", "orange", "purple", "yellow", "blue", "green", "red" }) {
        for (int i = 0; i <= 10; i++) {
            char name[64];
            snprintf(name, sizeof(name), "anim_tile_%s_ex%02d.tga", t, i);
            add(name, 42, 42);
        }
    }
    for (int i = 0; i <= 10; i++) {
        char name[64];
        snprintf(name, sizeof(name), "anim_tile_generic%02d.tga", i);
        add(name, 42, 42);
    }
    // Loaded elsewhere: loading screen, text font, info screens, tutorial.
    add("loading.jpg", 640, 480);
    add("progress.tga", 514, 20);
    add("font.tga", 128, 84);
    for (const char *s : { "start", "hint", "blackjellybean", "wildcard", "red", "green", "blue" }) {
        add(std::string("info_") + s + ".jpg", 420, 420);
    }
    for (int i = 1; i <= 6; i++) {
        add("tutorial_" + std::to_string(i) + ".jpg", 380, 85);
    }
    add("tutorial_hand.tga", 48, 48);
    return a;
}

enum { DRAW_TEST_LOADED_UP_FRONT = 143 };

// A colour exact in 5-6-5 (so the dither leaves it alone), different for
// every index and never the transparent magenta.
inline void drawTestColour(int index, uint8_t rgb[3])
{
    rgb[0] = (uint8_t)((index % 32) * 8);
    rgb[1] = (uint8_t)((16 + index / 32) * 4);
    rgb[2] = (uint8_t)(((index * 7) % 32) * 8);
}

// Uncompressed 32-bit TGA, bottom row first, one colour and one alpha.
inline bool drawTestWriteTGA(const std::string &path, int w, int h, const uint8_t rgb[3],
                             uint8_t alpha = 255)
{
    return writeSolidTGA(path, w, h, rgb[0], rgb[1], rgb[2], alpha, false);
}

// Baseline RGB JPEG of one colour.
inline bool drawTestWriteJPEG(const std::string &path, int w, int h, const uint8_t rgb[3])
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    struct jpeg_compress_struct info;
    struct jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, f);
    info.image_width = (JDIMENSION)w;
    info.image_height = (JDIMENSION)h;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, JCS_RGB);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row((size_t)w * 3);
    for (int x = 0; x < w; x++) {
        memcpy(&row[(size_t)x * 3], rgb, 3);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return fclose(f) == 0;
}

// Writes every picture of drawTestAssets() into dir; small shrinks them all
// to 4x4 for tests that only load.
inline bool drawTestWriteAssets(const std::string &dir, bool small = false)
{
    const std::vector<DrawTestAsset> assets = drawTestAssets();
    for (size_t i = 0; i < assets.size(); i++) {
        uint8_t rgb[3];
        drawTestColour((int)i, rgb);
        const DrawTestAsset &a = assets[i];
        const int w = small ? 4 : a.width;
        const int h = small ? 4 : a.height;
        const std::string path = dir + "/" + a.name;
        // The hand is blended with a constant of its own, which needs an
        // alpha mask; everything else is opaque so it lands unchanged.
        const uint8_t alpha = a.name == "tutorial_hand.tga" ? 200 : 255;
        const bool ok = a.name.find(".jpg") != std::string::npos ? drawTestWriteJPEG(path, w, h, rgb)
                                                                  : drawTestWriteTGA(path, w, h, rgb, alpha);
        if (!ok) {
            return false;
        }
    }
    return true;
}

inline std::string drawTestMakeTempDir(const char *tag)
{
    std::string pattern = std::string("/tmp/gobstrel-") + tag + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

inline void drawTestRemoveDir(const std::string &dir)
{
    if (dir.empty()) {
        return;
    }
    const std::string cmd = "rm -rf '" + dir + "'";
    if (system(cmd.c_str()) != 0) {
        fprintf(stderr, "could not remove %s\n", dir.c_str());
    }
}

// The game with the members the framework keeps protected opened up, so a
// test can hand it a display and a resource folder without a full start-up.
class DrawTestApp : public GameApp {
public:
    using QVApplication::m_paused;
    using QVApplication::m_pDisplayDevice;
    using QVApplication::m_pResourceFileSystem;
    using QVApplication::m_dirtyRects;

    std::vector<bool> systemCursor;
    int spritesLeftWhenDisplayWent = -1;

    void destroyDisplayDevice() override
    {
        spritesLeftWhenDisplayWent = 0;
        for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
            spritesLeftWhenDisplayWent += m_sprites[i].isLoaded() ? 1 : 0;
        }
        GameApp::destroyDisplayDevice();
    }

    void setSystemCursorVisible(bool visible) override
    {
        systemCursor.push_back(visible);
        GameApp::setSystemCursorVisible(visible);
    }
};

// Fixture: one app, one display, one folder of pictures; loadImages has run
// and the play area is set as the game's start-up sets it.
class GameDrawTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = drawTestMakeTempDir("gamedraw");
        ASSERT_FALSE(s_dir.empty());
        ASSERT_TRUE(drawTestWriteAssets(s_dir));
    }
    static void TearDownTestSuite()
    {
        drawTestRemoveDir(s_dir);
        s_dir.clear();
    }

    void SetUp() override
    {
        display = createSDLDisplayDevice(640, 480, "gamedraw", false, 0, nullptr);
        ASSERT_NE(display, nullptr);
        app.m_pDisplayDevice = display;
        ASSERT_TRUE(app.openResourceFile(s_dir.c_str()));
        if (loadUpFront) {
            ASSERT_TRUE(app.loadImages());
            const QVSprite &arena = app.m_sprites[SPR_ARENA];
            app.m_playAreaRect = { 23, 17, 23 + arena.getWidth(), 17 + arena.getHeight() };
        }
        app.m_settings.m_iDidTutorial = 1;
        app.m_board.setRandom(app.getRandom());
        app.getRandom()->setSeed(1234);
        app.m_dirtyRects.clear();
    }
    void TearDown() override
    {
        app.releaseImages();
        for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
            EXPECT_FALSE(app.m_sprites[i].isLoaded()) << i;
        }
        // A test that tore the devices down has already given the display back.
        if (app.m_pDisplayDevice) {
            app.m_pDisplayDevice = nullptr;
            destroyDisplayDevice(display);
        }
        display = nullptr;
        app.closeResourceFile();
    }

    uint16_t screen(int x, int y) const { return display->getScreen().getRow(y)[x]; }
    void fillScreen(uint16_t v)
    {
        for (int y = 0; y < 480; y++) {
            uint16_t *row = display->getScreen().getRow(y);
            for (int x = 0; x < 640; x++) {
                row[x] = v;
            }
        }
    }
    // The pixel the sprite in slot would put at its own (sx, sy).
    uint16_t spritePixel(int slot, int sx = 0, int sy = 0) const
    {
        const H2DSurface16 *s = static_cast<const H2DSurface16 *>(app.m_sprites[slot].getSurface());
        return s ? s->getRow(sy)[sx] : 0;
    }
    // True when the screen at (x, y) shows the sprite of slot drawn with its
    // corner at (ox, oy).
    bool shows(int slot, int x, int y, int ox, int oy) const
    {
        return app.m_sprites[slot].isLoaded() && screen(x, y) == spritePixel(slot, x - ox, y - oy);
    }
    bool dirtyContains(const HRect &r) const
    {
        for (int i = 0; i < app.m_dirtyRects.getCount(); i++) {
            const HRect *d = app.m_dirtyRects.getRect(i);
            if (d->left <= r.left && d->top <= r.top && d->right >= r.right && d->bottom >= r.bottom) {
                return true;
            }
        }
        return false;
    }

    static std::string s_dir;
    bool loadUpFront = true;
    ScopedMessageHook hook;
    DrawTestApp app;
    HSDLDisplayDevice *display = nullptr;
};

inline std::string GameDrawTest::s_dir;

#endif // GAMEDRAWTESTSUPPORT_H
