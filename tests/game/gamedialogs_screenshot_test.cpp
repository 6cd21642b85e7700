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

#include "ScreenshotTestSupport.h"
#include "program_child.h"
#include "xvfb_session.h"

namespace {

typedef ScreenPicture Picture;

const int kWidth = Picture::kWidth;
const int kHeight = Picture::kHeight;

// Where the dialogs stand on the screen.
const int kDialogX = 23, kDialogY = 17;
const int kOptionsX = (640 - 440) / 2, kOptionsY = (480 - 440) / 2;

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
        m_displayName = startXvfb({ "-k", "2", "280" }, &m_serverPid);
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
            launchGame(m_program, m_home, m_displayName, m_scratch + "/lsan.supp", { "-k", "2", "240" });
        return m_gamePid > 0;
    }

    // True once the game's window is on screen, even if the server turned
    // the game away and it had to be started again.
    bool startGameWithWindow()
    {
        auto stop = [&] {
            endChild(m_gamePid);
            m_gamePid = -1;
        };
        auto refused = [&] { return displayRefused(readWholeFile(m_home + "/game.log")); };
        const bool up = startWithRetries([&] { return startGame(); },
                                         [&] { return waitForWindow(kScreenPatienceMs); }, stop, refused);
        if (!up) {
            printf("the game's output:\n%s\n", readWholeFile(m_home + "/game.log").c_str());
        }
        return up;
    }

    // Finds the game's window and keeps its id for the pictures.
    bool waitForWindow(int waitMs)
    {
        for (const int64_t start = nowMs(); nowMs() - start <= waitMs && !childHasEnded(&m_gamePid);) {
            FILE *found = popen("xdotool search --onlyvisible --name Gobstrel 2>/dev/null", "r");
            char id[64] = "";
            const bool read = found && fgets(id, sizeof(id), found) != nullptr;
            if (found) {
                pclose(found);
            }
            if (read && id[0] >= '0' && id[0] <= '9') {
                m_windowId = std::string(id, strcspn(id, "\n"));
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
    // One xdotool run, so the press comes after the move.
    void clickAt(int x, int y) { xdo("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"); }
    void key(const char *names) { xdo(std::string("key --delay 40 ") + names); }

    // The window as the player sees it now.
    Picture shoot()
    {
        const std::string path = m_scratch + "/now.png";
        const std::string cmd = "import -window " + m_windowId + " '" + path + "' >/dev/null 2>&1";
        return system(cmd.c_str()) == 0 ? readScreenPNG(path) : Picture();
    }
    PictureTaker take()
    {
        return [this] { return shoot(); };
    }
    // Keeps the picture under the given name.
    void keep(const char *name, const Picture &picture, bool announce = true)
    {
        const std::string path = m_outDir + "/" + name;
        EXPECT_TRUE(writeScreenPNG(path, picture)) << path;
        if (announce && m_outDir != m_scratch) {
            printf("screenshot: %s\n", path.c_str());
        }
    }
    // The window now, kept under the given name.
    Picture shoot(const char *name, bool announce = true)
    {
        const Picture picture = shoot();
        if (!picture.ok) {
            ADD_FAILURE() << "no capture for " << name;
        } else {
            keep(name, picture, announce);
        }
        return picture;
    }
    // Once the area has stood still in a picture that accept takes, that
    // picture kept under the given name; ok false when that did not happen.
    Picture shootWhenStill(const char *name, const ScreenArea &area, const PictureTest &accept)
    {
        const Picture picture = waitForStillPicture(take(), area, kNoHole, 600, kScreenPatienceMs, accept);
        if (picture.ok) {
            keep(name, picture);
        }
        return picture;
    }

    std::string m_program;
    std::string m_scratch;
    std::string m_outDir;
    std::string m_home;
    std::string m_displayName;
    std::string m_windowId;
    pid_t m_serverPid = -1;
    pid_t m_gamePid = -1;
};

} // namespace

TEST_F(DialogScreenshots, GameOverNameEntryHighScoresAndOptions)
{
    ASSERT_TRUE(startGameWithWindow()) << "no game window appeared";
    moveTo(600, 20);
    const Picture title = shootWhenStill("title.png", ScreenArea{ 0, 0, kWidth, kHeight }, buttonBarShown);
    ASSERT_TRUE(title.ok) << "the loading did not end";

    // The lesson: Enter, then the five cells the hand points at, each once
    // the slide before it is over. It ends with lines cleared and points on
    // the score.
    moveTo(300, 250);
    key("Return");
    const ScreenArea &board = kScreenBoard;
    Picture lesson = waitForStillPicture(take(), ScreenArea{ board.left, board.top + 60, board.right, board.bottom },
                                         kNoHole, 1000, kScreenPatienceMs,
                                         [](const Picture &now) { return !boardIsEmpty(now); });
    ASSERT_TRUE(lesson.ok) << "the lesson's board was not dealt";
    for (int click = 0; click < kLessonClicks; click++) {
        clickAt(cellCentreX(kLessonCells[click][0]), cellCentreY(kLessonCells[click][1]));
        lesson = waitForLessonMove(take(), lesson, click);
        ASSERT_TRUE(lesson.ok) << "click " << click + 1 << " was not played out";
    }
    // The bonus count, then the next level's info screen; Enter plays it.
    const Picture info = shootWhenStill("info.png", kPlayArea, [&](const Picture &now) {
        return now.changed(lesson, 520, 205, 575, 230) > 0.1;
    });
    ASSERT_TRUE(info.ok) << "no info screen for level 2";
    moveTo(300, 250);
    key("Return");
    const Picture play = shootWhenStill("level2.png", board, [&](const Picture &now) {
        return !boardIsEmpty(now) && now.changed(info, board.left, board.top, board.right, board.bottom) > 0.3;
    });
    ASSERT_TRUE(play.ok) << "level 2 was not dealt";

    // Developer mode, then the clock keys run the level's time out. The
    // game-over picture holds for two seconds before its button comes.
    moveTo(600, 20);
    key("bracketleft bracketright bracketleft");
    xdo("key --delay 5 --repeat 90 minus");
    const Picture held = waitForPicture(take(), [&](const Picture &now) {
        return now.changed(play, kDialogX, kDialogY, kDialogX + 420, kDialogY + 280) > 0.3;
    });
    ASSERT_TRUE(held.ok) << "no game-over picture";
    keep("gameover-held.png", held);
    EXPECT_GT(held.changed(play, kDialogX, kDialogY, kDialogX + 420, kDialogY + 280), 0.3)
        << "the game-over picture covers the play area";
    const int contX = kDialogX + 101, contY = kDialogY + 293;
    const Picture over = waitForPicture(take(), [&](const Picture &now) {
        return now.changed(held, contX, contY, contX + 200, contY + 36) > 0.3;
    });
    ASSERT_TRUE(over.ok) << "the continue button never came";
    keep("gameover.png", over);
    EXPECT_GT(over.changed(held, contX, contY, contX + 200, contY + 36), 0.3)
        << "the continue button appears only after the hold";
    EXPECT_EQ(over.changed(held, kDialogX, kDialogY, kDialogX + 420, contY), 0.0)
        << "nothing else of the picture moves";

    // Continue: the score ranks, so the name entry follows, its caret
    // blinking in the edit line.
    const ScreenArea editLine = { kDialogX + 20, kDialogY + 262, kDialogX + 300, kDialogY + 300 };
    clickAt(contX + 100, contY + 18);
    const Picture entry = waitForStillPicture(take(), kPlayArea, editLine, 600, kScreenPatienceMs,
                                              [&](const Picture &now) {
                                                  return now.changed(over, 23, 17, 443, 437) > 0.3;
                                              });
    ASSERT_TRUE(entry.ok) << "no name entry";
    xdo("key --delay 10 --repeat 20 BackSpace");
    xdo("type --delay 40 Tester");
    moveTo(600, 20);
    // The name is in once its text stands still but for the caret.
    const ScreenArea text = { kDialogX + 32, kDialogY + 270, kDialogX + 32 + 120, kDialogY + 292 };
    const Picture name = waitForStillPicture(
        take(), text, kNoHole, 600, kScreenPatienceMs,
        [&](const Picture &now) { return now.changed(entry, text.left, text.top, text.right, text.bottom) > 0.03; },
        0.02);
    ASSERT_TRUE(name.ok) << "the name was not taken";
    keep("name-entry.png", name);
    EXPECT_GT(name.yellowPixels(text.left, text.top, text.right, text.bottom), 40)
        << "the typed name shows in the edit line";
    EXPECT_GT(name.yellowPixels(kDialogX + 170, kDialogY + 134, kDialogX + 255, kDialogY + 156), 20)
        << "the score shows centred on its line";

    // Enter enters the score and opens the table with it on top.
    key("Return");
    const Picture table = shootWhenStill("highscores.png", kPlayArea, [&](const Picture &now) {
        return now.changed(name, 23, 17, 443, 437) > 0.3;
    });
    ASSERT_TRUE(table.ok) << "no high-score table";
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
    const Picture question = shootWhenStill("highscores-clearall.png", kPlayArea, [&](const Picture &now) {
        return now.changed(table, 200, 200, 440, 280) > 0.3;
    });
    ASSERT_TRUE(question.ok) << "no question";
    EXPECT_GT(question.changed(table, 200, 200, 440, 280), 0.3) << "the question is up";
    EXPECT_EQ(question.changed(table, kDialogX + 20, kDialogY + 310, kDialogX + 400, kDialogY + 370), 0.0)
        << "the table's lower rows stay in view";
    // No: the table and the registry keep the entry; OK closes the screen.
    clickAt(380, 287);
    moveTo(600, 20);
    const Picture kept = shootWhenStill("highscores-kept.png", kPlayArea, [&](const Picture &now) {
        return now.changed(question, 200, 200, 440, 280) > 0.3;
    });
    ASSERT_TRUE(kept.ok) << "the question did not close";
    EXPECT_GT(kept.yellowPixels(kDialogX + 33, row0 - 4, kDialogX + 150, row0 + 18), 30) << "still listed";
    key("Return");
    const Picture closed = waitForStillPicture(take(), kPlayArea, kNoHole, 600, kScreenPatienceMs,
                                               [&](const Picture &now) {
                                                   return now.changed(kept, 23, 17, 443, 437) > 0.3;
                                               });
    ASSERT_TRUE(closed.ok) << "the table did not close";

    // The options, centred, from the side bar.
    const ScreenArea optionsArea = { kOptionsX + 10, kOptionsY + 10, kOptionsX + 430, kOptionsY + 430 };
    clickAt(473 + 30, 347 + 8);
    moveTo(630, 10);
    const Picture options = shootWhenStill("options.png", optionsArea, [&](const Picture &now) {
        return now.changed(closed, optionsArea.left, optionsArea.top, optionsArea.right, optionsArea.bottom) > 0.5;
    });
    ASSERT_TRUE(options.ok) << "no options dialog";
    EXPECT_GT(options.changed(kept, kOptionsX + 10, kOptionsY + 10, kOptionsX + 430, kOptionsY + 430), 0.5)
        << "the options dialog is up";
    // Start level 14, then look again.
    clickAt(kOptionsX + 135 + 12, kOptionsY + 291 + 8);
    moveTo(630, 10);
    const Picture chosen = shootWhenStill("options-level14.png", optionsArea, [&](const Picture &now) {
        return now.changed(options, kOptionsX + 135, kOptionsY + 291, kOptionsX + 170, kOptionsY + 311) > 0.1;
    });
    ASSERT_TRUE(chosen.ok) << "level 14 was not chosen";
    EXPECT_GT(chosen.changed(options, kOptionsX + 135, kOptionsY + 291, kOptionsX + 170, kOptionsY + 311), 0.1)
        << "14 is lit";
    EXPECT_GT(chosen.changed(options, kOptionsX + 19, kOptionsY + 291, kOptionsX + 40, kOptionsY + 311), 0.1)
        << "1 is no longer lit";
    key("Return");
    EXPECT_TRUE(waitForPicture(take(), [&](const Picture &now) {
                    return now.changed(chosen, optionsArea.left, optionsArea.top, optionsArea.right,
                                       optionsArea.bottom) > 0.3;
                }).ok)
        << "the options did not close";

    endChild(m_gamePid);
    m_gamePid = -1;
    const std::string log = readWholeFile(m_home + "/game.log");
    EXPECT_EQ(log.find("AddressSanitizer"), std::string::npos) << log;
    EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
}
