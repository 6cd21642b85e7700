// Loading the game's pictures: from the generated archive, in the fixed
// order behind the loading bar, stopping at the first missing file, and
// giving everything back when the devices go.
#include "GameDrawTestSupport.h"

#include <set>
#include <sys/stat.h>

#include <SDL.h>

namespace {

class SpriteLoading : public GameDrawTest {
protected:
    SpriteLoading() { loadUpFront = false; }

    void useFolder(const std::string &dir)
    {
        app.closeResourceFile();
        ASSERT_TRUE(app.openResourceFile(dir.c_str()));
    }
    std::set<std::string> loadedNames() const
    {
        std::set<std::string> names;
        for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
            if (app.m_sprites[i].isLoaded()) {
                names.insert(app.m_sprites[i].getName());
            }
        }
        return names;
    }
    int loadedCount() const { return (int)loadedNames().size(); }
};

const char *const s_colourWords[] = { "red", "blue", "green", "yellow", "orange", "purple", "blocker" };
const int s_colourSlots[] = { SPR_TILE_RED, SPR_TILE_BLUE, SPR_TILE_GREEN, SPR_TILE_YELLOW,
                              SPR_TILE_ORANGE, SPR_TILE_PURPLE, SPR_TILE_BLOCKER };

} // namespace

TEST_F(SpriteLoading, GeneratedArchiveLoadsWhole)
{
    const std::string archive = std::string(GOBSTREL_RESOURCE_DIR) + "gobstrel.qvz";
    struct stat st;
    if (stat(archive.c_str(), &st) != 0) {
        GTEST_SKIP() << "no generated archive in this build (" << archive << ")";
    }
    useFolder(archive);
    ASSERT_TRUE(app.loadImages());

    // Exactly the 143 pictures loaded up front, each once.
    const std::vector<DrawTestAsset> assets = drawTestAssets();
    std::set<std::string> expected;
    for (int i = 0; i < DRAW_TEST_LOADED_UP_FRONT; i++) {
        expected.insert(assets[i].name);
    }
    EXPECT_EQ(loadedNames(), expected);
    EXPECT_EQ(loadedCount(), DRAW_TEST_LOADED_UP_FRONT);
    for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
        EXPECT_LE(app.m_sprites[i].getRefCount(), 1) << i;
    }

    // The frame lists the drawing indexes into.
    for (int w = 0; w < 7; w++) {
        const int base = s_colourSlots[w];
        EXPECT_EQ(std::string(app.m_sprites[base].getName()), std::string("tile_") + s_colourWords[w] + ".tga");
        for (int f = 0; f < 11; f++) {
            char name[64];
            snprintf(name, sizeof(name), "anim_tile_%s_ex%02d.tga", s_colourWords[w], f);
            EXPECT_STREQ(app.m_sprites[base + 1 + f].getName(), name);
        }
    }
    EXPECT_STREQ(app.m_sprites[SPR_TILE_WILD].getName(), "tile_wild.tga");
    EXPECT_STREQ(app.m_sprites[SPR_TILE_WILD_EX00].getName(), "anim_tile_wild_ex00.tga");
    EXPECT_STREQ(app.m_sprites[SPR_TILE_BEAR].getName(), "tile_bear.tga");
    EXPECT_STREQ(app.m_sprites[SPR_TILE_WORM].getName(), "tile_worm.tga");
    EXPECT_STREQ(app.m_sprites[SPR_ANIM_GENERIC].getName(), "anim_tile_generic00.tga");
    EXPECT_STREQ(app.m_sprites[SPR_ANIM_GENERIC + 10].getName(), "anim_tile_generic10.tga");
    EXPECT_STREQ(app.m_sprites[SPR_BITES + 2].getName(), "bites02.tga");
    EXPECT_STREQ(app.m_sprites[SPR_FONT_COMMA].getName(), "font_comma.tga");
    EXPECT_STREQ(app.m_sprites[SPR_FONT_DIGIT + 7].getName(), "font_seven.tga");
    EXPECT_STREQ(app.m_sprites[SPR_CURSOR].getName(), "cursor.tga");
    EXPECT_STREQ(app.m_sprites[SPR_PAUSE_SCREEN].getName(), "pause.jpg");

    // The board's geometry rests on 42-pixel tiles; the bar's bottom on the timer.
    for (int slot = SPR_TILE_RED; slot < SPR_HUD_FIRST; slot++) {
        EXPECT_EQ(app.m_sprites[slot].getWidth(), 42) << app.m_sprites[slot].getName();
        EXPECT_EQ(app.m_sprites[slot].getHeight(), 42) << app.m_sprites[slot].getName();
    }
    EXPECT_EQ(app.m_timeBarRect.top, 402);
    EXPECT_EQ(app.m_timeBarRect.bottom, 402 + app.m_sprites[SPR_TIMER].getHeight());
    EXPECT_GT(app.m_sprites[SPR_TIMER].getHeight(), 0);

    // Everything the game loads later is there too.
    app.loadTutorialPages();
    for (int i = 0; i < 7; i++) {
        EXPECT_TRUE(app.m_sprites[SPR_TUTORIAL_PAGE + i].isLoaded()) << i;
    }
    app.m_playAreaRect = { 23, 17, 23 + app.m_sprites[SPR_ARENA].getWidth(), 17 + app.m_sprites[SPR_ARENA].getHeight() };
    for (int state = GS_INFO_START; state <= GS_INFO_BLUE; state++) {
        app.m_state = state;
        app.drawBackground(app.m_playAreaRect, false);
        EXPECT_TRUE(app.m_sprites[SPR_INFO_FIRST + state - GS_INFO_START].isLoaded()) << state;
    }
}

// Take any one file away: the loading stops there with false, the files
// before it stay loaded and none after it is tried.
TEST_F(SpriteLoading, StopsAtTheFirstMissingFileInOrder)
{
    const std::string dir = drawTestMakeTempDir("gamedraw-order");
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(drawTestWriteAssets(dir, true));
    useFolder(dir);
    const std::vector<DrawTestAsset> assets = drawTestAssets();

    ASSERT_TRUE(app.loadImages());
    EXPECT_EQ(loadedCount(), DRAW_TEST_LOADED_UP_FRONT);
    app.releaseImages();
    EXPECT_EQ(loadedCount(), 0);

    for (int k = 0; k < DRAW_TEST_LOADED_UP_FRONT; k++) {
        const std::string path = dir + "/" + assets[k].name;
        const std::string away = path + ".gone";
        ASSERT_EQ(rename(path.c_str(), away.c_str()), 0);
        EXPECT_FALSE(app.loadImages()) << assets[k].name;
        std::set<std::string> expected;
        for (int i = 0; i < k; i++) {
            expected.insert(assets[i].name);
        }
        EXPECT_EQ(loadedNames(), expected) << "missing " << assets[k].name;
        app.releaseImages();
        ASSERT_EQ(rename(away.c_str(), path.c_str()), 0);
    }

    // By name: without "arena.jpg" the background is the last picture loaded.
    const std::string arena = dir + "/arena.jpg";
    ASSERT_EQ(remove(arena.c_str()), 0);
    EXPECT_FALSE(app.loadImages());
    EXPECT_TRUE(app.m_sprites[SPR_BACKGROUND].isLoaded());
    EXPECT_FALSE(app.m_sprites[SPR_ARENA].isLoaded());
    EXPECT_FALSE(app.m_sprites[SPR_PAUSE_SCREEN].isLoaded());
    EXPECT_FALSE(app.m_sprites[SPR_TILE_BLUE].isLoaded());

    // A file that is there but is no picture stops it just the same.
    app.releaseImages();
    FILE *f = fopen(arena.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("not a jpeg", f);
    fclose(f);
    FILE *g = fopen((dir + "/level.tga").c_str(), "wb");
    ASSERT_NE(g, nullptr);
    fputs("\x01\x02", g);
    fclose(g);
    EXPECT_FALSE(app.loadImages());
    EXPECT_TRUE(app.m_sprites[SPR_STARTLEVEL_BONUS].isLoaded());
    EXPECT_FALSE(app.m_sprites[SPR_LEVEL].isLoaded());
    EXPECT_FALSE(app.m_sprites[SPR_CURSOR].isLoaded());

    app.releaseImages();
    useFolder(s_dir);
    drawTestRemoveDir(dir);
}

// The bar grows by 0.95/130 of its width per file loaded, drawn before each
// file after the first; the last files run it to its full length.
TEST_F(SpriteLoading, LoadingBarAdvancesPerFile)
{
    app.showLoadingScreen();
    ASSERT_TRUE(app.m_sprites[SPR_PROGRESS].isLoaded());
    ASSERT_TRUE(app.m_sprites[SPR_LOADING].isLoaded());
    const int barWidth = app.m_sprites[SPR_PROGRESS].getWidth();
    ASSERT_EQ(barWidth, 514);

    const std::string arena = s_dir + "/arena.jpg";
    const std::string away = s_dir + "/arena.gone";
    ASSERT_EQ(rename(arena.c_str(), away.c_str()), 0);
    fillScreen(0x1234);
    const bool loaded = app.loadImages();
    ASSERT_EQ(rename(away.c_str(), arena.c_str()), 0);
    EXPECT_FALSE(loaded);

    // "arena.jpg" is the 24th file: the bar was last drawn for 23 loaded.
    const int width = (int)((float)barWidth * (0.95f * 23.0f / 130.0f));
    EXPECT_GT(width, 80);
    EXPECT_TRUE(shows(SPR_LOADING, 10, 10, 0, 0)) << "the loading screen was drawn first";
    EXPECT_TRUE(shows(SPR_PROGRESS, 63, 355, 63, 350));
    EXPECT_TRUE(shows(SPR_PROGRESS, 63 + width - 1, 355, 63, 350));
    EXPECT_TRUE(shows(SPR_LOADING, 63 + width, 355, 0, 0));
    EXPECT_TRUE(shows(SPR_LOADING, 63 + width + 1, 355, 0, 0));
    app.releaseImages();

    // A whole load runs the bar to its end.
    app.showLoadingScreen();
    fillScreen(0x1234);
    ASSERT_TRUE(app.loadImages());
    EXPECT_TRUE(shows(SPR_PROGRESS, 63 + barWidth - 1, 369, 63, 350));
    EXPECT_TRUE(shows(SPR_LOADING, 63 + barWidth, 355, 0, 0));
    app.releaseLoadingScreen();
}

TEST_F(SpriteLoading, SystemPointerFollowsTheSpriteCursor)
{
    HCvarManager *cvars = app.getCvarManager();
    ASSERT_TRUE(cvars->initCvarManager());

    // With the sprite cursor (the default) the system pointer stays hidden.
    cvars->registerVariable("qv_spriteCursor", "1", 0);
    SDL_ShowCursor(SDL_ENABLE);
    ASSERT_TRUE(app.loadImages());
    ASSERT_GE(app.systemCursor.size(), 2u);
    EXPECT_FALSE(app.systemCursor.front());
    EXPECT_FALSE(app.systemCursor.back());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    app.releaseImages();

    // Without it the system pointer is never touched, so it stays visible.
    cvars->setVariableString("qv_spriteCursor", "0");
    app.systemCursor.clear();
    SDL_ShowCursor(SDL_ENABLE);
    ASSERT_TRUE(app.loadImages());
    ASSERT_GE(app.systemCursor.size(), 2u);
    EXPECT_TRUE(app.systemCursor.back());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    cvars->shutdown();
}

TEST_F(SpriteLoading, ReleasingIsHarmlessAndComplete)
{
    // Nothing loaded yet: releasing changes nothing, and counts stay at 0.
    app.releaseImages();
    app.releaseImages();
    for (int i = 0; i < GAME_SPRITE_COUNT; i++) {
        EXPECT_EQ(app.m_sprites[i].getRefCount(), 0) << i;
    }

    ASSERT_TRUE(app.loadImages());
    // A second load of the set (as after a display restart gone wrong) is
    // counted; one release still gives every surface back.
    ASSERT_TRUE(app.loadImages());
    EXPECT_EQ(app.m_sprites[SPR_ARENA].getRefCount(), 2);
    app.releaseImages();
    EXPECT_EQ(loadedCount(), 0);
    app.releaseImages();
    EXPECT_EQ(loadedCount(), 0);

    // Loaded again after a release, as the full-screen switch does.
    ASSERT_TRUE(app.loadImages());
    EXPECT_EQ(loadedCount(), DRAW_TEST_LOADED_UP_FRONT);
    EXPECT_EQ(app.m_sprites[SPR_ARENA].getRefCount(), 1);
}

TEST_F(SpriteLoading, DestroyDevicesGivesEverythingBackFirst)
{
    ASSERT_TRUE(app.loadImages());
    QVSprite &font = app.m_sprites[SPR_FONT];
    ASSERT_TRUE(font.load(display, app.getResourceFileSystem(), "font.tga"));
    app.m_textFont = display->createFont(&font, 8, 12);
    ASSERT_NE(app.m_textFont, nullptr);
    app.loadTutorialPages();
    app.m_alarmVoice = 3;

    app.destroyDevices();
    EXPECT_EQ(app.m_alarmVoice, -1);
    EXPECT_EQ(app.m_textFont, nullptr);
    EXPECT_EQ(app.spritesLeftWhenDisplayWent, 0) << "every surface went back before the display";
    EXPECT_EQ(app.getDisplayDevice(), nullptr);
    EXPECT_EQ(loadedCount(), 0);

    // Safe a second time, with nothing left.
    app.destroyDevices();
    EXPECT_EQ(app.getDisplayDevice(), nullptr);
}
