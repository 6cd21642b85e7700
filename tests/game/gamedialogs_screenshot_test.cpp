// The game's dialogs in the real program under a virtual X server, reached
// the way a player reaches them: the lesson's five clicks earn a score, the
// developer clock keys run the next level's time out, and then come the
// game-over picture, the name entry, the high-score screen with its CLEAR ALL
// question and the options. Each is kept as a PNG and checked for what a
// player must see.
//
// Set GOBSTREL_SCREENSHOT_DIR to keep the pictures:
//   GOBSTREL_SCREENSHOT_DIR=/tmp/shots build/bin/test_game_gamedialogs_screenshot
// Skipped when Xvfb, xdotool, ImageMagick's import, the program or the
// generated archive is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <png.h>

#include "program_child.h"
#include "xvfb_session.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// Where the dialogs stand on the screen.
const int kDialogX = 23, kDialogY = 17;
const int kOptionsX = (640 - 440) / 2, kOptionsY = (480 - 440) / 2;

struct Picture {
    std::vector<uint8_t> rgb;
    bool ok = false;

    const uint8_t *at(int x, int y) const { return &rgb[((size_t)y * kWidth + x) * 3]; }
    // Share of pixels in the area that differ from the other picture.
    double changed(const Picture &other, int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; y++) {
            for (int x = left; x < right; x++) {
                n += memcmp(at(x, y), other.at(x, y), 3) != 0 ? 1 : 0;
            }
        }
        return (double)n / (double)((right - left) * (bottom - top));
    }
    // Pixels of the font sheet's yellow (bright red and green, little blue).
    int yellowPixels(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; y++) {
            for (int x = left; x < right; x++) {
                const uint8_t *p = at(x, y);
                n += (p[0] > 180 && p[1] > 160 && p[2] < 120) ? 1 : 0;
            }
        }
        return n;
    }
};

Picture readPNG(const std::string &path)
{
    Picture picture;
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    if (image.width != (png_uint_32)kWidth || image.height != (png_uint_32)kHeight) {
        png_image_free(&image);
        return picture;
    }
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    picture.ok = png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
    return picture;
}

class DialogScreenshots : public testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::string(GOBSTREL_BINARY_DIR) + "/bin/gobstrel-shared";
        if (access(m_program.c_str(), X_OK) != 0) {
            GTEST_SKIP() << "no program at " << m_program;
        }
        if (access((std::string(GOBSTREL_RESOURCE_DIR) + "gobstrel.qvz").c_str(), R_OK) != 0) {
            GTEST_SKIP() << "no generated archive";
        }
        for (const char *tool : { "Xvfb", "xdotool", "import", "timeout" }) {
            if (!onPath(tool)) {
                GTEST_SKIP() << tool << " is not installed";
            }
        }
        char pattern[] = "/tmp/gobstrel-dialogshots-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_scratch = pattern;
        const char *keep = getenv("GOBSTREL_SCREENSHOT_DIR");
        m_outDir = (keep && keep[0]) ? keep : m_scratch;
        mkdir(m_outDir.c_str(), 0755);
        ASSERT_TRUE(startServer());
    }
    void TearDown() override
    {
        endChild(m_gamePid);
        endChild(m_serverPid);
        if (!m_scratch.empty() && system(("rm -rf '" + m_scratch + "'").c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", m_scratch.c_str());
        }
    }

    bool startServer()
    {
        m_displayName = startXvfb({ "-k", "2", "240" }, &m_serverPid);
        if (m_displayName.empty()) {
            return false;
        }
        // The tools this test runs find the server through it.
        setenv("DISPLAY", m_displayName.c_str(), 1);
        return true;
    }

    bool startGame()
    {
        m_home = m_scratch + "/home";
        mkdir(m_home.c_str(), 0700);
        m_gamePid =
            launchGame(m_program, m_home, m_displayName, m_scratch + "/lsan.supp", { "-k", "2", "200" });
        return m_gamePid > 0;
    }

    // True once the game's window is on screen, even if the game had to be
    // started again.
    bool startGameWithWindow()
    {
        return startWithRetries([&] { return startGame(); }, [&] { return waitForWindow(30000); },
                                [&] {
                                    endChild(m_gamePid);
                                    m_gamePid = -1;
                                });
    }

    bool waitForWindow(int waitMs)
    {
        for (int waited = 0; waited <= waitMs && !childHasEnded(&m_gamePid); waited += 200) {
            if (system("xdotool search --onlyvisible --name Gobstrel >/dev/null 2>&1") == 0) {
                return true;
            }
            sleepMs(200);
        }
        return false;
    }

    void xdo(const std::string &args)
    {
        EXPECT_EQ(system(("xdotool " + args + " >/dev/null 2>&1").c_str()), 0) << args;
    }
    void moveTo(int x, int y) { xdo("mousemove " + std::to_string(x) + " " + std::to_string(y)); }
    void clickAt(int x, int y)
    {
        moveTo(x, y);
        sleepMs(150);
        xdo("click 1");
    }
    void key(const char *names) { xdo(std::string("key --delay 40 ") + names); }

    // The window as the player sees it, kept under the given name.
    Picture shoot(const char *name, bool announce = true)
    {
        const std::string path = m_outDir + "/" + name;
        const std::string cmd = "import -window \"$(xdotool search --onlyvisible --name Gobstrel | head -n 1)\" '" +
                                path + "' >/dev/null 2>&1";
        if (system(cmd.c_str()) != 0) {
            ADD_FAILURE() << "no capture for " << name;
            return Picture();
        }
        if (announce && m_outDir != m_scratch) {
            printf("screenshot: %s\n", path.c_str());
        }
        return readPNG(path);
    }
    // Captures until the picture has stood still for a second.
    Picture shootSettled(const char *name, int waitMs)
    {
        Picture last = shoot(name);
        int still = 0;
        for (int waited = 0; waited < waitMs && still < 3; waited += 400) {
            sleepMs(400);
            Picture now = shoot(name, false);
            still = (now.ok && last.ok && now.changed(last, 0, 0, kWidth, kHeight) == 0.0) ? still + 1 : 0;
            last = now;
        }
        return last;
    }

    std::string m_program;
    std::string m_scratch;
    std::string m_outDir;
    std::string m_home;
    std::string m_displayName;
    pid_t m_serverPid = -1;
    pid_t m_gamePid = -1;
};

} // namespace

TEST_F(DialogScreenshots, GameOverNameEntryHighScoresAndOptions)
{
    ASSERT_TRUE(startGameWithWindow()) << "no game window appeared";
    moveTo(600, 20);
    const Picture title = shootSettled("title.png", 20000);
    ASSERT_TRUE(title.ok);

    // The lesson: Enter, then the five cells the hand points at. It ends
    // with lines cleared and points on the score.
    moveTo(300, 250);
    key("Return");
    sleepMs(2500);
    const int cells[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };
    for (const auto &cell : cells) {
        clickAt(107 + 42 * cell[0] + 21, 101 + 42 * cell[1] + 21);
        sleepMs(2500);
    }
    // The bonus count, then the next level's info screen; Enter plays it.
    sleepMs(6000);
    ASSERT_TRUE(shootSettled("info.png", 10000).ok);
    moveTo(300, 250);
    key("Return");
    sleepMs(2500);
    const Picture play = shoot("level2.png");
    ASSERT_TRUE(play.ok);

    // Developer mode, then the clock keys run the level's time out.
    moveTo(600, 20);
    key("bracketleft bracketright bracketleft");
    xdo("key --delay 5 --repeat 90 minus");
    sleepMs(700);
    const Picture held = shoot("gameover-held.png");
    ASSERT_TRUE(held.ok);
    EXPECT_GT(held.changed(play, kDialogX, kDialogY, kDialogX + 420, kDialogY + 280), 0.3)
        << "the game-over picture covers the play area";
    sleepMs(2500);
    const Picture over = shoot("gameover.png");
    ASSERT_TRUE(over.ok);
    const int contX = kDialogX + 101, contY = kDialogY + 293;
    EXPECT_GT(over.changed(held, contX, contY, contX + 200, contY + 36), 0.3)
        << "the continue button appears only after the hold";
    EXPECT_EQ(over.changed(held, kDialogX, kDialogY, kDialogX + 420, contY), 0.0)
        << "nothing else of the picture moves";

    // Continue: the score ranks, so the name entry follows.
    clickAt(contX + 100, contY + 18);
    sleepMs(1000);
    xdo("key --delay 10 --repeat 20 BackSpace");
    xdo("type --delay 40 Tester");
    moveTo(600, 20);
    sleepMs(800);
    const Picture name = shoot("name-entry.png");
    ASSERT_TRUE(name.ok);
    EXPECT_GT(name.yellowPixels(kDialogX + 32, kDialogY + 270, kDialogX + 32 + 120, kDialogY + 292), 40)
        << "the typed name shows in the edit line";
    EXPECT_GT(name.yellowPixels(kDialogX + 170, kDialogY + 134, kDialogX + 255, kDialogY + 156), 20)
        << "the score shows centred on its line";

    // Enter enters the score and opens the table with it on top.
    key("Return");
    sleepMs(1200);
    const Picture table = shoot("highscores.png");
    ASSERT_TRUE(table.ok);
    const int row0 = kDialogY + 177;
    EXPECT_GT(table.yellowPixels(kDialogX + 33, row0 - 4, kDialogX + 150, row0 + 18), 30) << "the new name";
    EXPECT_GT(table.yellowPixels(kDialogX + 280, row0 - 4, kDialogX + 340, row0 + 18), 15) << "its score";
    const std::string registry = readWholeFile(m_home + "/.quorvex/registry_Quorvex_Gobstrel");
    const size_t at = registry.find(std::string("HS:0\0", 5));
    ASSERT_NE(at, std::string::npos) << "the table was saved";
    ASSERT_GE(registry.size(), at + 5 + 4 + 44);
    const uint8_t *record = (const uint8_t *)registry.data() + at + 5 + 4;
    EXPECT_EQ(record[0] | record[1] << 8, 257);
    EXPECT_STREQ((const char *)record + 4, "Tester");
    EXPECT_GT(record[36] | record[37] << 8 | record[38] << 16, 0);
    EXPECT_EQ(record[40], 2) << "level reached";

    // CLEAR ALL asks over the table, which stays in view.
    clickAt(kDialogX + 60 + 60, kDialogY + 378 + 12);
    moveTo(600, 20);
    sleepMs(1000);
    const Picture question = shoot("highscores-clearall.png");
    ASSERT_TRUE(question.ok);
    EXPECT_GT(question.changed(table, 200, 200, 440, 280), 0.3) << "the question is up";
    EXPECT_EQ(question.changed(table, kDialogX + 20, kDialogY + 310, kDialogX + 400, kDialogY + 370), 0.0)
        << "the table's lower rows stay in view";
    // No: the table and the registry keep the entry; OK closes the screen.
    clickAt(380, 287);
    sleepMs(800);
    moveTo(600, 20);
    sleepMs(600);
    const Picture kept = shoot("highscores-kept.png");
    ASSERT_TRUE(kept.ok);
    EXPECT_GT(kept.yellowPixels(kDialogX + 33, row0 - 4, kDialogX + 150, row0 + 18), 30) << "still listed";
    key("Return");
    sleepMs(1000);

    // The options, centred, from the side bar.
    clickAt(473 + 30, 347 + 8);
    moveTo(630, 10);
    sleepMs(1000);
    const Picture options = shoot("options.png");
    ASSERT_TRUE(options.ok);
    EXPECT_GT(options.changed(kept, kOptionsX + 10, kOptionsY + 10, kOptionsX + 430, kOptionsY + 430), 0.5)
        << "the options dialog is up";
    // Start level 14, then look again.
    clickAt(kOptionsX + 135 + 12, kOptionsY + 291 + 8);
    moveTo(630, 10);
    sleepMs(600);
    const Picture chosen = shoot("options-level14.png");
    ASSERT_TRUE(chosen.ok);
    EXPECT_GT(chosen.changed(options, kOptionsX + 135, kOptionsY + 291, kOptionsX + 170, kOptionsY + 311), 0.1)
        << "14 is lit";
    EXPECT_GT(chosen.changed(options, kOptionsX + 19, kOptionsY + 291, kOptionsX + 40, kOptionsY + 311), 0.1)
        << "1 is no longer lit";
    key("Return");
    sleepMs(800);

    endChild(m_gamePid);
    m_gamePid = -1;
    const std::string log = readWholeFile(m_home + "/game.log");
    EXPECT_EQ(log.find("AddressSanitizer"), std::string::npos) << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
}
