// Start-up in this process on SDL's dummy display: the archive named in the
// registry, the assets, the buttons and the title screen; and the error box
// when the pictures are missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "GameApp.h"
#include "HListNode.h"
#include "HMessageBox.h"
#include "HObjectList.h"
#include "HRegistry.h"
#include "audio_files.h"

namespace {

const char *const kResources = GOBSTREL_BINARY_DIR "/Resources/";

struct Box {
    std::string title;
    std::string text;
};
std::vector<Box> s_boxes;

int s_recordBox(uint32_t, const char *title, const char *text)
{
    s_boxes.push_back({ title ? title : "", text ? text : "" });
    return MB_RESULT_OK;
}

// Writes registry values of the game (null data removes nothing; it stores
// the empty string).
void s_setRegistryString(const char *key, const char *value)
{
    HRegistry *registry = getRegistry();
    ASSERT_TRUE(registry && registry->open(nullptr, "Quorvex", "Gobstrel"));
    registry->setString(key, value, (int32_t)strlen(value) + 1);
    registry->close();
}

int s_countControls(GameApp &app)
{
    int n = 0;
    HObjectList *controls = app.getControls();
    for (HListNode *node = controls ? controls->getHead() : nullptr; node; node = controls->getNext(node)) {
        n++;
    }
    return n;
}

struct GameStartupTest : public ::testing::Test {
    void SetUp() override
    {
        s_boxes.clear();
        previous = getMessageBoxHook();
        setMessageBoxHook(s_recordBox);
    }
    void TearDown() override { setMessageBoxHook(previous); }
    HMessageBoxHook previous = nullptr;
};

TEST_F(GameStartupTest, StartsOnTheTitleScreenWithEverythingLoaded)
{
    struct stat st;
    if (stat((std::string(kResources) + "gobstrel.qvz").c_str(), &st) != 0) {
        GTEST_SKIP() << "asset archive not built";
    }
    s_setRegistryString("resourceFile", "gobstrel.qvz");

    GameApp *app = new GameApp;
    app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(app->initialize("+set c_soundDriver null", kResources));
    EXPECT_TRUE(s_boxes.empty()) << s_boxes[0].text;

    EXPECT_EQ(GS_INFO_START, app->m_state);
    EXPECT_EQ(0, app->m_countdown);
    EXPECT_FALSE(app->m_linksDisabled);
    EXPECT_NE(nullptr, app->getTextFont());
    EXPECT_TRUE(app->getCursorSprite()->isLoaded());
    EXPECT_FALSE(app->m_sprites[SPR_LOADING].isLoaded()) << "the loading screen is given back";
    EXPECT_FALSE(app->m_sprites[SPR_PROGRESS].isLoaded());
    // The play area is the arena's, and the board lies inside it.
    EXPECT_EQ(PLAY_AREA_LEFT, app->m_playAreaRect.left);
    EXPECT_EQ(PLAY_AREA_TOP, app->m_playAreaRect.top);
    EXPECT_GE(app->m_playAreaRect.right, BOARD_LEFT + BOARD_SIZE * CELL_PITCH);
    EXPECT_GE(app->m_playAreaRect.bottom, BOARD_TOP + BOARD_SIZE * CELL_PITCH);
    EXPECT_GT(app->m_timeBarRect.bottom, TIME_BAR_TOP);
    // Start, pause, restart, options, high scores, exit and logo at least.
    EXPECT_GE(s_countControls(*app), 7);
    EXPECT_EQ(38, (int)(sizeof(app->m_levels) / sizeof(app->m_levels[0])));
    EXPECT_EQ(2, app->m_levels[0].m_crunchesNeeded) << "the level table is filled";
    EXPECT_EQ(nullptr, app->getAudioDevice()) << "the null driver leaves the game silent";

    app->destroyDevices();
    EXPECT_FALSE(app->getCursorSprite()->isLoaded());
    EXPECT_EQ(nullptr, app->getTextFont());
    app->shutdown();
    delete app;
}

TEST_F(GameStartupTest, MissingPicturesEndStartUpWithTheErrorBox)
{
    // The registry may name another resource: here a folder with no pictures.
    AudioTempDir dir;
    ASSERT_EQ(0, mkdir(dir.file("loose").c_str(), 0755));
    s_setRegistryString("resourceFile", "loose");
    s_setRegistryString("disableLinks", "1");

    GameApp *app = new GameApp;
    app->getCvarManager()->initCvarManager();
    const std::string resources = dir.path() + "/";
    EXPECT_FALSE(app->initialize("+set c_soundDriver null", resources.c_str()));
    EXPECT_TRUE(app->m_linksDisabled);
    bool found = false;
    for (const Box &box : s_boxes) {
        found = found || (box.title == "Error" && box.text == "Gobstrel could not load its bitmaps");
    }
    EXPECT_TRUE(found);
    EXPECT_NE(GS_INFO_START, app->m_state) << "no title screen after a failed start";
    // Tear-down after a half start is safe, twice.
    app->destroyDevices();
    app->destroyDevices();
    app->shutdown();
    delete app;

    s_setRegistryString("resourceFile", "gobstrel.qvz");
}

TEST_F(GameStartupTest, MissingArchiveEndsStartUpBeforeTheDevices)
{
    AudioTempDir dir;
    s_setRegistryString("resourceFile", "nothing-here.qvz");
    GameApp *app = new GameApp;
    app->getCvarManager()->initCvarManager();
    const std::string resources = dir.path() + "/";
    EXPECT_FALSE(app->initialize("+set c_soundDriver null", resources.c_str()));
    EXPECT_EQ(nullptr, app->getDisplayDevice());
    EXPECT_FALSE(s_boxes.empty()) << "the archive's own message";
    app->destroyDevices();
    app->shutdown();
    delete app;
    s_setRegistryString("resourceFile", "gobstrel.qvz");
}

} // namespace
