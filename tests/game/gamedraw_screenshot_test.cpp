// The real program in a virtual X server: start it, look at its window the
// way a player would, press Enter and click, and keep PNG screenshots.
//
// Set GOBSTREL_SCREENSHOT_DIR to keep the pictures:
//   GOBSTREL_SCREENSHOT_DIR=/tmp/shots build/bin/test_game_gamedraw_screenshot
// Without it they go to a scratch folder that is removed afterwards. Skipped
// when Xvfb, the program or the X libraries are not there.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GameApp.h"
#include "ScreenshotTestSupport.h"
#include "program_child.h"
#include "xvfb_session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

const int kWidth = 640;
const int kHeight = 480;

// The few Xlib and XTest calls used, looked up at run time so the tests do
// not link against X.
struct XLib {
    void *lib = nullptr;
    void *tst = nullptr;
    Display *(*openDisplay)(const char *) = nullptr;
    int (*closeDisplay)(Display *) = nullptr;
    Status (*queryTree)(Display *, Window, Window *, Window *, Window **, unsigned int *) = nullptr;
    Status (*getWindowAttributes)(Display *, Window, XWindowAttributes *) = nullptr;
    Status (*fetchName)(Display *, Window, char **) = nullptr;
    XImage *(*getImage)(Display *, Drawable, int, int, unsigned int, unsigned int, unsigned long, int) = nullptr;
    int (*xfree)(void *) = nullptr;
    KeyCode (*keysymToKeycode)(Display *, KeySym) = nullptr;
    int (*flush)(Display *) = nullptr;
    int (*sync)(Display *, Bool) = nullptr;
    int (*fakeKey)(Display *, unsigned int, Bool, unsigned long) = nullptr;
    int (*fakeButton)(Display *, unsigned int, Bool, unsigned long) = nullptr;
    int (*fakeMotion)(Display *, int, int, int, unsigned long) = nullptr;

    bool load()
    {
        lib = dlopen("libX11.so.6", RTLD_NOW);
        tst = dlopen("libXtst.so.6", RTLD_NOW);
        if (!lib || !tst) {
            return false;
        }
        openDisplay = (decltype(openDisplay))dlsym(lib, "XOpenDisplay");
        closeDisplay = (decltype(closeDisplay))dlsym(lib, "XCloseDisplay");
        queryTree = (decltype(queryTree))dlsym(lib, "XQueryTree");
        getWindowAttributes = (decltype(getWindowAttributes))dlsym(lib, "XGetWindowAttributes");
        fetchName = (decltype(fetchName))dlsym(lib, "XFetchName");
        getImage = (decltype(getImage))dlsym(lib, "XGetImage");
        xfree = (decltype(xfree))dlsym(lib, "XFree");
        keysymToKeycode = (decltype(keysymToKeycode))dlsym(lib, "XKeysymToKeycode");
        flush = (decltype(flush))dlsym(lib, "XFlush");
        sync = (decltype(sync))dlsym(lib, "XSync");
        fakeKey = (decltype(fakeKey))dlsym(tst, "XTestFakeKeyEvent");
        fakeButton = (decltype(fakeButton))dlsym(tst, "XTestFakeButtonEvent");
        fakeMotion = (decltype(fakeMotion))dlsym(tst, "XTestFakeMotionEvent");
        return openDisplay && closeDisplay && queryTree && getWindowAttributes && fetchName && getImage &&
               xfree && keysymToKeycode && flush && sync && fakeKey && fakeButton && fakeMotion;
    }
    ~XLib()
    {
        if (tst) {
            dlclose(tst);
        }
        if (lib) {
            dlclose(lib);
        }
    }
};

typedef ScreenPicture Shot;

class Screenshot : public testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::string(GOBSTREL_BINARY_DIR) + "/bin/gobstrel";
        if (access(m_program.c_str(), X_OK) != 0) {
            GTEST_SKIP() << "no program at " << m_program;
        }
        const std::string archive = std::string(GOBSTREL_RESOURCE_DIR) + "gobstrel.qvz";
        if (access(archive.c_str(), R_OK) != 0) {
            GTEST_SKIP() << "no generated archive at " << archive;
        }
        if (!onPath("Xvfb") || !onPath("timeout")) {
            GTEST_SKIP() << "Xvfb is not installed";
        }
        if (!m_x.load()) {
            GTEST_SKIP() << "libX11 or libXtst is not installed";
        }
        char pattern[] = "/tmp/gobstrel-screenshot-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_scratch = pattern;
        const char *keep = getenv("GOBSTREL_SCREENSHOT_DIR");
        if (keep && keep[0]) {
            m_outDir = keep;
            mkdir(m_outDir.c_str(), 0755);
        } else {
            m_outDir = m_scratch;
        }
        ASSERT_TRUE(startServer());
    }
    void TearDown() override
    {
        stopGame();
        if (m_display) {
            m_x.closeDisplay(m_display);
            m_display = nullptr;
        }
        endChild(m_serverPid);
        m_serverPid = -1;
        if (!m_scratch.empty()) {
            const std::string cmd = "rm -rf '" + m_scratch + "'";
            if (system(cmd.c_str()) != 0) {
                fprintf(stderr, "could not remove %s\n", m_scratch.c_str());
            }
        }
    }

    bool startServer()
    {
        m_displayName = startXvfb({ "280" }, &m_serverPid);
        if (m_displayName.empty()) {
            return false;
        }
        m_display = m_x.openDisplay(m_displayName.c_str());
        return m_display != nullptr;
    }

    // HOME holds the registry; didTutorial writes "Did Tutorial" into it first.
    bool startGame(bool didTutorial)
    {
        const std::string home = m_scratch + (didTutorial ? "/played" : "/fresh");
        mkdir(home.c_str(), 0700);
        if (didTutorial) {
            const std::string folder = home + "/.quorvex";
            mkdir(folder.c_str(), 0700);
            FILE *f = fopen((folder + "/registry_Quorvex_Gobstrel").c_str(), "wb");
            if (!f) {
                return false;
            }
            const char key[] = "Did Tutorial";
            const uint8_t record[8] = { 4, 0, 0, 0, 1, 0, 0, 0 };
            fwrite(key, 1, sizeof(key), f);
            fwrite(record, 1, sizeof(record), f);
            fclose(f);
        }
        m_gamePid = launchGame(m_program, home, m_displayName, m_scratch + "/lsan.supp", { "240" });
        return m_gamePid > 0;
    }
    void stopGame()
    {
        endChild(m_gamePid);
        m_gamePid = -1;
    }
    // What the program printed; a sanitizer build reports memory errors here.
    std::string gameLog(bool didTutorial) const
    {
        return readWholeFile(m_scratch + (didTutorial ? "/played" : "/fresh") + "/game.log");
    }
    void expectCleanLog(bool didTutorial)
    {
        stopGame();
        const std::string log = gameLog(didTutorial);
        EXPECT_EQ(log.find("AddressSanitizer"), std::string::npos) << log;
        EXPECT_EQ(log.find("runtime error"), std::string::npos) << log;
    }

    // 0 when no window appeared, even after starting a game the server
    // turned away again; the game's output then tells why.
    Window startGameWindow(bool didTutorial)
    {
        m_window = 0;
        startWithRetries([&] { return startGame(didTutorial); },
                         [&] { return (m_window = findWindow(kScreenPatienceMs)) != 0; }, [&] { stopGame(); },
                         [&] { return displayRefused(gameLog(didTutorial)); });
        if (!m_window) {
            printf("the game's output:\n%s\n", gameLog(didTutorial).c_str());
        }
        return m_window;
    }

    // True for the game's own window, not the box an alert opens.
    bool isGameWindow(Window window)
    {
        char *name = nullptr;
        if (!m_x.fetchName(m_display, window, &name) || !name) {
            return false;
        }
        const bool game = strstr(name, "Gobstrel") != nullptr;
        m_x.xfree(name);
        return game;
    }

    // The game's top-level window once it is on screen; 0 when it did not
    // appear in time or the game ended first.
    Window findWindow(int waitMs)
    {
        for (const int64_t start = nowMs(); nowMs() - start <= waitMs && !childHasEnded(&m_gamePid);) {
            Window root = DefaultRootWindow(m_display);
            Window parent, *children = nullptr;
            unsigned int count = 0;
            Window found = 0;
            if (m_x.queryTree(m_display, root, &root, &parent, &children, &count)) {
                for (unsigned int i = 0; i < count && !found; i++) {
                    XWindowAttributes a;
                    if (m_x.getWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable &&
                        a.width == kWidth && a.height == kHeight && isGameWindow(children[i])) {
                        found = children[i];
                    }
                }
                if (children) {
                    m_x.xfree(children);
                }
            }
            if (found) {
                return found;
            }
            sleepMs(100);
        }
        return 0;
    }

    Shot capture(Window window)
    {
        Shot shot;
        XImage *image = m_x.getImage(m_display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        if (!image) {
            return shot;
        }
        shot.rgb.resize((size_t)kWidth * kHeight * 3);
        // Xvfb's 24-bit screen comes as 32-bit little-endian pixels: read
        // them straight, so pictures can be taken many times a second.
        if (image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xff0000 &&
            image->green_mask == 0xff00 && image->blue_mask == 0xff) {
            for (int y = 0; y < kHeight; y++) {
                const uint8_t *in = (const uint8_t *)image->data + (size_t)y * image->bytes_per_line;
                uint8_t *out = &shot.rgb[(size_t)y * kWidth * 3];
                for (int x = 0; x < kWidth; x++, in += 4, out += 3) {
                    out[0] = in[2];
                    out[1] = in[1];
                    out[2] = in[0];
                }
            }
            image->f.destroy_image(image);
            shot.ok = true;
            return shot;
        }
        auto channel = [](unsigned long pixel, unsigned long mask) -> uint8_t {
            if (!mask) {
                return 0;
            }
            int shift = 0;
            while (!((mask >> shift) & 1)) {
                shift++;
            }
            const unsigned long max = mask >> shift;
            return (uint8_t)(((pixel & mask) >> shift) * 255 / max);
        };
        for (int y = 0; y < kHeight; y++) {
            for (int x = 0; x < kWidth; x++) {
                const unsigned long p = image->f.get_pixel(image, x, y);
                uint8_t *out = &shot.rgb[((size_t)y * kWidth + x) * 3];
                out[0] = channel(p, image->red_mask);
                out[1] = channel(p, image->green_mask);
                out[2] = channel(p, image->blue_mask);
            }
        }
        image->f.destroy_image(image);
        shot.ok = true;
        return shot;
    }

    // The pictures the waits take.
    PictureTaker take(Window window)
    {
        return [this, window] { return capture(window); };
    }

    // Waits until the area has stood still for stillMs (the loading screen
    // pauses between files, never for a second and a half) in a picture that
    // is not a blank window, and returns it; ok is false when it did not.
    Shot captureSettled(Window window, int left, int top, int right, int bottom, int waitMs = kScreenPatienceMs,
                        int stillMs = 1500)
    {
        return waitForStillPicture(take(window), ScreenArea{ left, top, right, bottom }, kNoHole,
                                   stillMs, waitMs,
                                   [](const Shot &now) { return now.distinctColours(0, 0, kWidth, kHeight) > 16; });
    }

    // The title once the loading is over and it stands still, with the
    // pointer parked off the buttons.
    Shot settledTitle(Window window)
    {
        moveTo(600, 20);
        return waitForStillPicture(take(window), ScreenArea{ 0, 0, kWidth, kHeight }, kNoHole, 1500,
                                   kScreenPatienceMs, buttonBarShown);
    }
    // The board once sweets stand on it and it has stood still from top
    // down (the lesson's hand pulses above kBoardTop + 60).
    Shot dealtBoard(Window window, int top)
    {
        const ScreenArea area = { kScreenBoard.left, top, kScreenBoard.right, kScreenBoard.bottom };
        return waitForStillPicture(take(window), area, kNoHole, 1500, kScreenPatienceMs,
                                   [](const Shot &now) { return !boardIsEmpty(now); });
    }
    // Enter on the title starts a game: true once the board has changed.
    bool pressEnterOnTitle()
    {
        moveTo(300, 250);
        const Shot title = capture(m_window);
        pressKey(XK_Return);
        const ScreenArea &board = kScreenBoard;
        return waitForPicture(take(m_window), [&](const Shot &now) {
                   return now.changed(title, board.left, board.top, board.right, board.bottom) > 0.3;
               }).ok;
    }

    void save(const char *name, const Shot &shot)
    {
        const std::string path = m_outDir + "/" + name;
        EXPECT_TRUE(writeScreenPNG(path, shot)) << path;
        if (m_outDir != m_scratch) {
            printf("screenshot: %s\n", path.c_str());
        }
    }

    // The server spaces the press from the event before it: SDL takes a
    // release and a press of the same key close together for the key's
    // auto-repeat and drops both, however late the server gets to them.
    void pressKey(KeySym sym)
    {
        const KeyCode code = m_x.keysymToKeycode(m_display, sym);
        m_x.fakeKey(m_display, code, True, 20);
        m_x.fakeKey(m_display, code, False, 20);
        m_x.flush(m_display);
    }
    void moveTo(int x, int y)
    {
        m_x.fakeMotion(m_display, -1, x, y, 0);
        m_x.flush(m_display);
    }
    void clickAt(int x, int y)
    {
        moveTo(x, y);
        m_x.fakeButton(m_display, 1, True, 0);
        m_x.fakeButton(m_display, 1, False, 30);
        m_x.flush(m_display);
    }

    XLib m_x;
    Display *m_display = nullptr;
    Window m_window = 0;
    std::string m_displayName;
    std::string m_program;
    std::string m_scratch;
    std::string m_outDir;
    pid_t m_serverPid = -1;
    pid_t m_gamePid = -1;
};

// The board's area on screen and the play area around it.
const int kBoardLeft = 107, kBoardTop = 101, kBoardRight = 359, kBoardBottom = 353;

} // namespace

TEST_F(Screenshot, TitleThenTheTutorialBoard)
{
    const Window window = startGameWindow(false);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";

    // The title screen, once the loading is over and it stands still. The
    // pointer is parked off the buttons.
    const Shot title = settledTitle(window);
    ASSERT_TRUE(title.ok);
    save("title.png", title);
    EXPECT_GT(title.distinctColours(0, 0, kWidth, kHeight), 500) << "a real picture, not a blank window";
    EXPECT_GT(title.distinctColours(23, 17, 443, 437), 100) << "the play area shows the title picture";

    // Enter starts the first game: the lesson's fixed board, its first page
    // and the hand. The hand pulses, so only the board must settle.
    ASSERT_TRUE(pressEnterOnTitle()) << "no game began";
    const Shot lesson = dealtBoard(window, kBoardTop + 60);
    ASSERT_TRUE(lesson.ok);
    save("tutorial.png", lesson);
    EXPECT_GT(lesson.changed(title, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3)
        << "tiles stand on the board";
    EXPECT_GT(lesson.changed(title, 60, 355, 440, 437), 0.3) << "the lesson's page under the board";

    // The click the hand asks for: cell (1, 0) slides left into the blank.
    clickAt(cellCentreX(1), cellCentreY(0));
    const Shot moved = waitForLessonMove(take(window), lesson, 0);
    ASSERT_TRUE(moved.ok) << "the click was not played out";
    save("tutorial-move.png", moved);
    EXPECT_GT(moved.changed(lesson, kBoardLeft, kBoardTop, kBoardLeft + 84, kBoardTop + 42), 0.2)
        << "the first two cells of row 0 changed";
    expectCleanLog(false);
}

TEST_F(Screenshot, DealtBoardWithTheClockRunning)
{
    const Window window = startGameWindow(true);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";
    const Shot title = settledTitle(window);
    ASSERT_TRUE(title.ok);

    ASSERT_TRUE(pressEnterOnTitle()) << "no game began";
    const Shot play = dealtBoard(window, kBoardTop);
    ASSERT_TRUE(play.ok);
    save("play.png", play);
    EXPECT_GT(play.changed(title, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3)
        << "a dealt board";
    // The time bar runs along the bottom of the play area.
    EXPECT_GT(play.changed(title, 43, 402, 243, 412), 0.3) << "the time bar is up";
    expectCleanLog(true);
}

// The lesson played to its end: a row bursting, the level's end, the time
// bonus, the info screen before level 2, its "level" caption and the pause
// picture. Each picture is taken once what it must show is on the screen;
// the bursts and captions last only as long as the game's clock gives them.
TEST_F(Screenshot, ExplosionCaptionsInfoScreenAndPause)
{
    const Window window = startGameWindow(false);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";
    const Shot title = settledTitle(window);
    ASSERT_TRUE(title.ok);
    ASSERT_TRUE(pressEnterOnTitle()) << "no game began";
    const Shot lesson = dealtBoard(window, kBoardTop + 60);
    ASSERT_TRUE(lesson.ok);

    // The first three clicks walk the blank along row 0, each once the
    // slide before it is over.
    Shot before = lesson;
    for (int click = 0; click < 3; click++) {
        clickAt(cellCentreX(kLessonCells[click][0]), cellCentreY(kLessonCells[click][1]));
        before = waitForLessonMove(take(window), before, click);
        ASSERT_TRUE(before.ok) << "click " << click + 1 << " was not played out";
    }

    // The fourth click completes row 0. Cell (0, 0) holds an orange before and
    // after, so the first picture in which it differs shows the burst.
    clickAt(cellCentreX(3), cellCentreY(1));
    const Shot burst = waitForPicture(take(window), [&](const Shot &now) {
        return now.changed(before, kBoardLeft + 4, kBoardTop + 4, kBoardLeft + 38, kBoardTop + 38) > 0.1;
    });
    ASSERT_TRUE(burst.ok) << "row 0 never burst";
    save("explosion.png", burst);
    // The rest of the board stands still while row 0 bursts (the hand has
    // moved on to the left of row 1, and a score floats up from cell (3, 1)).
    EXPECT_EQ(burst.changed(before, kBoardLeft + 210, kBoardTop + 42, kBoardRight, kBoardBottom), 0.0)
        << "a row below the burst was disturbed";
    // The refill is over and the score has floated away once the board and
    // what is above it stand still, but for the hand.
    const Shot refilled =
        waitForStillPicture(take(window), ScreenArea{ kBoardLeft, 23, kBoardRight, kBoardBottom }, lessonHand(4), 1000);
    ASSERT_TRUE(refilled.ok);
    save("refilled.png", refilled);
    // Nothing is left above the board once the refill is over.
    EXPECT_EQ(refilled.changed(before, kBoardLeft, 23, kBoardRight, kBoardTop - 2), 0.0)
        << "stale pixels above the board";

    // The fifth click completes column 1 and the level: the whole board bursts,
    // then the time bonus counts up and stands.
    clickAt(cellCentreX(0), cellCentreY(1));
    // Rows 2 to 5 at the right stand still until the whole board bursts.
    const Shot levelBurst = waitForPicture(take(window), [&](const Shot &now) {
        return now.changed(refilled, kBoardLeft + 84, kBoardTop + 84, kBoardRight, kBoardBottom) > 0.1;
    });
    ASSERT_TRUE(levelBurst.ok) << "the board never burst at the level's end";
    save("level-explosion.png", levelBurst);
    EXPECT_GT(levelBurst.distinctColours(kBoardLeft + 84, kBoardTop + 84, kBoardRight, kBoardBottom), 100)
        << "the bursting sweets are drawn";
    // The bonus counts in yellow over the emptied board; its figure stands
    // still once counted.
    const Shot bonus = waitForPicture(take(window), [](const Shot &now) {
        return boardIsEmpty(now) && now.yellowPixels(150, 200, 300, 235) > 20;
    });
    ASSERT_TRUE(bonus.ok) << "the bonus never counted over an empty board";
    save("time-bonus.png", bonus);
    const Shot nextLevel = waitForStillPicture(take(window), ScreenArea{ 150, 200, 300, 235 },
                                               kNoHole, 600, kScreenPatienceMs, boardIsEmpty);
    ASSERT_TRUE(nextLevel.ok);
    save("next-level.png", nextLevel);
    // The tiles are gone and the caption is up.
    EXPECT_GT(nextLevel.changed(refilled, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3);
    EXPECT_GT(bonus.distinctColours(151, 172, 151 + 140, 172 + 30), 8) << "no time bonus caption";
    // The counted figure under the caption stands at the full bonus.
    EXPECT_GT(nextLevel.changed(bonus, 150, 200, 300, 235), 0.0) << "the bonus figure did not count";

    // Level 2 begins with its info screen, which waits for Enter.
    const Shot info =
        waitForStillPicture(take(window), kPlayArea, kNoHole, 1500, kScreenPatienceMs,
                            [&](const Shot &now) { return now.changed(nextLevel, 23, 17, 443, 437) > 0.3; });
    ASSERT_TRUE(info.ok) << "no info screen";
    save("info-level2.png", info);
    EXPECT_GT(info.changed(nextLevel, 23, 17, 443, 437), 0.3) << "the info screen fills the play area";

    // Enter: the level's caption over the empty board, for a second.
    pressKey(XK_Return);
    const Shot ready = waitForPicture(take(window), [&](const Shot &now) {
        return now.changed(info, 181, 172, 300, 200) > 0.3 &&
               now.changed(nextLevel, kBoardLeft, kBoardBottom - 42, kBoardRight, kBoardBottom) == 0.0;
    });
    ASSERT_TRUE(ready.ok) << "no level caption over an empty board";
    save("get-ready.png", ready);
    EXPECT_GT(ready.changed(info, 181, 172, 300, 200), 0.3) << "the level caption";
    // The tutorial is over: its page is gone and the time bar is up.
    EXPECT_GT(ready.changed(lesson, 60, 355, 440, 400), 0.3) << "the tutorial page is gone";

    const Shot playing = dealtBoard(window, kBoardTop);
    ASSERT_TRUE(playing.ok) << "level 2 was not dealt";
    save("level2.png", playing);

    // The pause button at the right shows the pause picture over the play area.
    clickAt(540, 328);
    moveTo(600, 20);
    const Shot paused = waitForStillPicture(
        take(window), kPlayArea, kNoHole, 1500, kScreenPatienceMs,
        [&](const Shot &now) { return now.changed(playing, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom) > 0.3; });
    ASSERT_TRUE(paused.ok) << "the game did not pause";
    save("pause.png", paused);
    EXPECT_GT(paused.changed(playing, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3)
        << "the tiles are hidden while paused";
    EXPECT_GT(paused.changed(playing, 43, 402, 400, 412), 0.3) << "no time bar while paused";

    // Resume, then the developer keys: the access sequence, and a minute off
    // the clock shortens the bar; what it leaves behind must be repainted.
    clickAt(540, 328);
    moveTo(600, 20);
    ASSERT_TRUE(waitForPicture(take(window), [&](const Shot &now) {
                    return now.changed(playing, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom) == 0.0;
                }).ok)
        << "the board did not come back";
    pressKey(XK_bracketleft);
    pressKey(XK_bracketright);
    pressKey(XK_bracketleft);
    for (int i = 0; i < 6; i++) {
        pressKey(XK_minus);
    }
    const Shot shorter = waitForPicture(
        take(window), [&](const Shot &now) { return now.changed(playing, 395, 404, 403, 424) > 0.3; });
    ASSERT_TRUE(shorter.ok) << "the bar did not shrink";
    save("clock-short.png", shorter);
    EXPECT_GT(shorter.changed(playing, 395, 404, 403, 424), 0.3) << "the bar did not shrink";
    EXPECT_EQ(shorter.changed(playing, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.0)
        << "the board was disturbed";

    // Shift with 1 and 2 jumps to a new game at level 12.
    const KeyCode shift = m_x.keysymToKeycode(m_display, XK_Shift_L);
    m_x.fakeKey(m_display, shift, True, 0);
    pressKey(XK_1);
    pressKey(XK_2);
    m_x.fakeKey(m_display, shift, False, 20);
    m_x.flush(m_display);
    const Shot level12 = waitForPicture(take(window), [&](const Shot &now) {
        return now.changed(shorter, 520, 205, 575, 230) > 0.1 && now.changed(shorter, 470, 150, 625, 175) > 0.1;
    });
    ASSERT_TRUE(level12.ok) << "no new game at level 12";
    save("level12.png", level12);
    EXPECT_GT(level12.changed(shorter, 520, 205, 575, 230), 0.1) << "the level box shows 12";
    EXPECT_GT(level12.changed(shorter, 470, 150, 625, 175), 0.1) << "the score is back to 0";

    // Level 12 has a minute: fifty seconds off leaves under ten, where the bar
    // blinks every quarter second.
    for (int i = 0; i < 5; i++) {
        pressKey(XK_minus);
    }
    ASSERT_TRUE(waitForPicture(take(window), [&](const Shot &now) {
                    return now.changed(level12, 120, 404, 440, 424) > 0.3;
                }).ok)
        << "the clock did not run low";
    for (int i = 0; i < 2; i++) {
        const Shot low = capture(window);
        ASSERT_TRUE(low.ok);
        save(i == 0 ? "clock-low.png" : "clock-low-later.png", low);
        sleepMs(130);
    }
    expectCleanLog(false);
}

// The time bar after the clock jumps and while it blinks: a jump must not
// leave the old bites image behind, and a blink must not hide the bar for
// good.
TEST_F(Screenshot, TimeBarRepaintsAfterJumpsAndBlinks)
{
    const Window window = startGameWindow(true);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";
    ASSERT_TRUE(settledTitle(window).ok);
    ASSERT_TRUE(pressEnterOnTitle()) << "no game began";
    // The jump needs a game in play.
    const Shot level1 = dealtBoard(window, kBoardTop);
    ASSERT_TRUE(level1.ok);

    // Developer mode, then a new game at level 12, which has a minute.
    pressKey(XK_bracketleft);
    pressKey(XK_bracketright);
    pressKey(XK_bracketleft);
    const KeyCode shift = m_x.keysymToKeycode(m_display, XK_Shift_L);
    m_x.fakeKey(m_display, shift, True, 0);
    pressKey(XK_1);
    pressKey(XK_2);
    m_x.fakeKey(m_display, shift, False, 20);
    m_x.flush(m_display);
    const Shot full = waitForStillPicture(
        take(window), kScreenBoard, kNoHole, 500, kScreenPatienceMs,
        [&](const Shot &now) { return now.changed(level1, 520, 205, 575, 230) > 0.1; });
    ASSERT_TRUE(full.ok) << "no new game at level 12";

    // Thirty seconds off: the bar halves in one step.
    for (int i = 0; i < 3; i++) {
        pressKey(XK_minus);
    }
    const Shot half =
        waitForPicture(take(window), [&](const Shot &now) { return now.changed(full, 43, 404, 443, 424) > 0.3; });
    ASSERT_TRUE(half.ok) << "the bar did not jump";
    save("bar-half.png", half);
    // Pause and resume repaint the whole window.
    clickAt(540, 328);
    ASSERT_TRUE(waitForPicture(take(window), [&](const Shot &now) {
                    return now.changed(half, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom) > 0.3;
                }).ok)
        << "the game did not pause";
    clickAt(540, 328);
    moveTo(600, 20);
    const Shot repainted = waitForStillPicture(
        take(window), ScreenArea{ 260, 402, 430, 426 }, kNoHole, 300, kScreenPatienceMs,
        [&](const Shot &now) { return now.changed(half, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom) == 0.0; });
    ASSERT_TRUE(repainted.ok) << "the game did not resume";
    EXPECT_EQ(half.changed(repainted, 260, 402, 430, 426), 0.0) << "stale pixels right of the bar";

    // Under ten seconds the bar is hidden and shown by turns.
    for (int i = 0; i < 2; i++) {
        pressKey(XK_minus);
    }
    auto barShown = [&](const Shot &now) {
        return now.changed(full, TIME_BAR_LEFT + 2, 404, TIME_BAR_LEFT + 17, 424) < 0.1;
    };
    const bool hidden =
        waitForPicture(take(window), [&](const Shot &now) { return !barShown(now); }, 5000).ok;
    EXPECT_TRUE(hidden) << "the bar never blinked";
    EXPECT_TRUE(hidden && waitForPicture(take(window), barShown, 5000).ok) << "the bar never came back after a blink";
    expectCleanLog(true);
}
