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
#include <set>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <png.h>

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
        getImage = (decltype(getImage))dlsym(lib, "XGetImage");
        xfree = (decltype(xfree))dlsym(lib, "XFree");
        keysymToKeycode = (decltype(keysymToKeycode))dlsym(lib, "XKeysymToKeycode");
        flush = (decltype(flush))dlsym(lib, "XFlush");
        sync = (decltype(sync))dlsym(lib, "XSync");
        fakeKey = (decltype(fakeKey))dlsym(tst, "XTestFakeKeyEvent");
        fakeButton = (decltype(fakeButton))dlsym(tst, "XTestFakeButtonEvent");
        fakeMotion = (decltype(fakeMotion))dlsym(tst, "XTestFakeMotionEvent");
        return openDisplay && closeDisplay && queryTree && getWindowAttributes && getImage && xfree &&
               keysymToKeycode && flush && sync && fakeKey && fakeButton && fakeMotion;
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

struct Shot {
    std::vector<uint8_t> rgb;   // kWidth x kHeight x 3
    bool ok = false;

    const uint8_t *at(int x, int y) const { return &rgb[((size_t)y * kWidth + x) * 3]; }
    int distinctColours(int left, int top, int right, int bottom) const
    {
        std::set<uint32_t> colours;
        for (int y = top; y < bottom; y++) {
            for (int x = left; x < right; x++) {
                const uint8_t *p = at(x, y);
                colours.insert((uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]);
            }
        }
        return (int)colours.size();
    }
    // Share of pixels in the area that differ from the other shot.
    double changed(const Shot &other, int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; y++) {
            for (int x = left; x < right; x++) {
                n += memcmp(at(x, y), other.at(x, y), 3) != 0 ? 1 : 0;
            }
        }
        return (double)n / (double)((right - left) * (bottom - top));
    }
};

bool writePNG(const std::string &path, const Shot &shot)
{
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; y++) {
        png_write_row(png, (png_const_bytep)shot.at(0, y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

int64_t nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

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
        m_displayName = startXvfb({ "180" }, &m_serverPid);
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
        m_gamePid = launchGame(m_program, home, m_displayName, m_scratch + "/lsan.supp", { "120" });
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

    // 0 when no window appeared, even after starting the game again.
    Window startGameWindow(bool didTutorial)
    {
        Window window = 0;
        startWithRetries([&] { return startGame(didTutorial); },
                         [&] { return (window = findWindow(30000)) != 0; }, [&] { stopGame(); });
        return window;
    }

    // The game's top-level window once it is on screen; 0 when it did not
    // appear in time or the game ended first.
    Window findWindow(int waitMs)
    {
        for (int waited = 0; waited <= waitMs && !childHasEnded(&m_gamePid); waited += 100) {
            Window root = DefaultRootWindow(m_display);
            Window parent, *children = nullptr;
            unsigned int count = 0;
            Window found = 0;
            if (m_x.queryTree(m_display, root, &root, &parent, &children, &count)) {
                for (unsigned int i = 0; i < count && !found; i++) {
                    XWindowAttributes a;
                    if (m_x.getWindowAttributes(m_display, children[i], &a) && a.map_state == IsViewable &&
                        a.width == kWidth && a.height == kHeight) {
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

    // Waits until the area has stood still for a second and a half (the
    // loading screen pauses between files, never that long), and returns
    // the last capture.
    Shot captureSettled(Window window, int left, int top, int right, int bottom, int waitMs)
    {
        Shot last = capture(window);
        int still = 0;
        for (int waited = 0; waited < waitMs; waited += 300) {
            sleepMs(300);
            Shot now = capture(window);
            if (now.ok && last.ok && now.changed(last, left, top, right, bottom) == 0.0 &&
                now.distinctColours(0, 0, kWidth, kHeight) > 16) {
                if (++still >= 5) {
                    return now;
                }
            } else {
                still = 0;
            }
            last = now;
        }
        return last;
    }

    // The title once the loading is over and it stands still, with the
    // pointer parked off the buttons.
    Shot settledTitle(Window window)
    {
        moveTo(600, 20);
        return captureSettled(window, 0, 0, kWidth, kHeight, 20000);
    }
    // Enter on the title starts a game; the board is dealt a little later.
    void pressEnterOnTitle()
    {
        moveTo(300, 250);
        sleepMs(200);
        pressKey(XK_Return);
        sleepMs(2500);
    }

    void save(const char *name, const Shot &shot)
    {
        const std::string path = m_outDir + "/" + name;
        EXPECT_TRUE(writePNG(path, shot)) << path;
        if (m_outDir != m_scratch) {
            printf("screenshot: %s\n", path.c_str());
        }
    }

    void pressKey(KeySym sym)
    {
        const KeyCode code = m_x.keysymToKeycode(m_display, sym);
        m_x.fakeKey(m_display, code, True, 0);
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
        sleepMs(100);
        m_x.fakeButton(m_display, 1, True, 0);
        m_x.fakeButton(m_display, 1, False, 30);
        m_x.flush(m_display);
    }

    XLib m_x;
    Display *m_display = nullptr;
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
    pressEnterOnTitle();
    const Shot lesson = captureSettled(window, kBoardLeft, kBoardTop + 60, kBoardRight, kBoardBottom, 10000);
    ASSERT_TRUE(lesson.ok);
    save("tutorial.png", lesson);
    EXPECT_GT(lesson.changed(title, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3)
        << "tiles stand on the board";
    EXPECT_GT(lesson.changed(title, 60, 355, 440, 437), 0.3) << "the lesson's page under the board";

    // The click the hand asks for: cell (1, 0) slides left into the blank.
    clickAt(107 + 42 + 21, 101 + 21);
    sleepMs(1500);
    const Shot moved = capture(window);
    ASSERT_TRUE(moved.ok);
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

    pressEnterOnTitle();
    const Shot play = captureSettled(window, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom, 10000);
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
// picture. The states run on the game's clock, so the pictures are taken at
// moments well inside each state.
TEST_F(Screenshot, ExplosionCaptionsInfoScreenAndPause)
{
    const Window window = startGameWindow(false);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";
    const Shot title = settledTitle(window);
    ASSERT_TRUE(title.ok);
    pressEnterOnTitle();
    const Shot lesson = captureSettled(window, kBoardLeft, kBoardTop + 60, kBoardRight, kBoardBottom, 10000);
    ASSERT_TRUE(lesson.ok);

    // The first three clicks walk the blank along row 0; slides take half a second.
    const int cells[3][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 } };
    for (const auto &cell : cells) {
        clickAt(kBoardLeft + 42 * cell[0] + 21, kBoardTop + 42 * cell[1] + 21);
        sleepMs(1000);
    }
    const Shot before = captureSettled(window, kBoardLeft, kBoardTop + 60, kBoardRight, kBoardBottom, 5000);
    ASSERT_TRUE(before.ok);

    // The fourth click completes row 0. Cell (0, 0) holds an orange before and
    // after, so the first picture in which it differs shows the burst.
    clickAt(kBoardLeft + 42 * 3 + 21, kBoardTop + 42 + 21);
    Shot burst;
    for (int waited = 0; waited < 3000 && !burst.ok; waited += 15) {
        Shot now = capture(window);
        if (now.ok && now.changed(before, kBoardLeft + 4, kBoardTop + 4, kBoardLeft + 38, kBoardTop + 38) > 0.1) {
            burst = now;
        }
        sleepMs(15);
    }
    ASSERT_TRUE(burst.ok) << "row 0 never burst";
    save("explosion.png", burst);
    // The rest of the board stands still while row 0 bursts (the hand has
    // moved on to the left of row 1, and a score floats up from cell (3, 1)).
    EXPECT_EQ(burst.changed(before, kBoardLeft + 210, kBoardTop + 42, kBoardRight, kBoardBottom), 0.0)
        << "a row below the burst was disturbed";
    sleepMs(1500);
    const Shot refilled = captureSettled(window, kBoardLeft, kBoardTop + 60, kBoardRight, kBoardBottom, 5000);
    ASSERT_TRUE(refilled.ok);
    save("refilled.png", refilled);
    // Nothing is left above the board once the refill is over.
    EXPECT_EQ(refilled.changed(before, kBoardLeft, 23, kBoardRight, kBoardTop - 2), 0.0)
        << "stale pixels above the board";

    // The fifth click completes column 1 and the level: the whole board bursts,
    // then the time bonus counts up and stands.
    clickAt(kBoardLeft + 21, kBoardTop + 42 + 21);
    // Rows 2 to 5 at the right stand still until the whole board bursts.
    const int64_t clicked = nowMs();
    Shot levelBurst;
    while (!levelBurst.ok && nowMs() - clicked < 2500) {
        Shot now = capture(window);
        if (now.ok && now.changed(refilled, kBoardLeft + 84, kBoardTop + 84, kBoardRight, kBoardBottom) > 0.1) {
            levelBurst = now;
        }
        sleepMs(15);
    }
    ASSERT_TRUE(levelBurst.ok) << "the board never burst at the level's end";
    save("level-explosion.png", levelBurst);
    EXPECT_GT(levelBurst.distinctColours(kBoardLeft + 84, kBoardTop + 84, kBoardRight, kBoardBottom), 100)
        << "the bursting sweets are drawn";
    sleepMs((int)(2700 - (nowMs() - clicked)));
    const Shot bonus = capture(window);
    ASSERT_TRUE(bonus.ok);
    save("time-bonus.png", bonus);
    sleepMs(1700);
    const Shot nextLevel = capture(window);
    ASSERT_TRUE(nextLevel.ok);
    save("next-level.png", nextLevel);
    // The tiles are gone and the caption is up.
    EXPECT_GT(nextLevel.changed(refilled, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3);
    EXPECT_GT(bonus.distinctColours(151, 172, 151 + 140, 172 + 30), 8) << "no time bonus caption";
    // The counted figure under the caption stands at the full bonus.
    EXPECT_GT(nextLevel.changed(bonus, 150, 200, 300, 235), 0.0) << "the bonus figure did not count";

    // Level 2 begins with its info screen, which waits for Enter.
    sleepMs(3000);
    const Shot info = captureSettled(window, 23, 17, 443, 437, 10000);
    ASSERT_TRUE(info.ok);
    save("info-level2.png", info);
    EXPECT_GT(info.changed(nextLevel, 23, 17, 443, 437), 0.3) << "the info screen fills the play area";

    pressKey(XK_Return);
    sleepMs(350);
    const Shot ready = capture(window);
    ASSERT_TRUE(ready.ok);
    save("get-ready.png", ready);
    EXPECT_GT(ready.changed(info, 181, 172, 300, 200), 0.3) << "the level caption";
    // The tutorial is over: its page is gone and the time bar is up.
    EXPECT_GT(ready.changed(lesson, 60, 355, 440, 400), 0.3) << "the tutorial page is gone";

    sleepMs(2000);
    const Shot playing = captureSettled(window, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom, 10000);
    ASSERT_TRUE(playing.ok);
    save("level2.png", playing);

    // The pause button at the right shows the pause picture over the play area.
    clickAt(540, 328);
    sleepMs(1000);
    moveTo(600, 20);
    const Shot paused = captureSettled(window, 23, 17, 443, 437, 5000);
    ASSERT_TRUE(paused.ok);
    save("pause.png", paused);
    EXPECT_GT(paused.changed(playing, kBoardLeft, kBoardTop, kBoardRight, kBoardBottom), 0.3)
        << "the tiles are hidden while paused";
    EXPECT_GT(paused.changed(playing, 43, 402, 400, 412), 0.3) << "no time bar while paused";

    // Resume, then the developer keys: the access sequence, and a minute off
    // the clock shortens the bar; what it leaves behind must be repainted.
    clickAt(540, 328);
    sleepMs(800);
    moveTo(600, 20);
    pressKey(XK_bracketleft);
    pressKey(XK_bracketright);
    pressKey(XK_bracketleft);
    for (int i = 0; i < 6; i++) {
        pressKey(XK_minus);
        sleepMs(50);
    }
    sleepMs(800);
    const Shot shorter = capture(window);
    ASSERT_TRUE(shorter.ok);
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
    sleepMs(600);
    const Shot level12 = capture(window);
    ASSERT_TRUE(level12.ok);
    save("level12.png", level12);
    EXPECT_GT(level12.changed(shorter, 520, 205, 575, 230), 0.1) << "the level box shows 12";
    EXPECT_GT(level12.changed(shorter, 470, 150, 625, 175), 0.1) << "the score is back to 0";

    // Level 12 has a minute: fifty seconds off leaves under ten, where the bar
    // blinks every quarter second.
    for (int i = 0; i < 5; i++) {
        pressKey(XK_minus);
        sleepMs(50);
    }
    sleepMs(400);
    for (int i = 0; i < 2; i++) {
        const Shot low = capture(window);
        ASSERT_TRUE(low.ok);
        save(i == 0 ? "clock-low.png" : "clock-low-later.png", low);
        sleepMs(130);
    }
    expectCleanLog(false);
}

// The time bar after the clock jumps and while it blinks. Disabled until the
// bar's repaint is mended: a jump leaves the old bites image behind, and a
// blink hides the bar for good because only its end is reported when it comes
// back.
TEST_F(Screenshot, TimeBarRepaintsAfterJumpsAndBlinks)
{
    const Window window = startGameWindow(true);
    ASSERT_NE(window, 0u) << "no 640x480 window appeared";
    ASSERT_TRUE(settledTitle(window).ok);
    pressEnterOnTitle();

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
    sleepMs(1000);
    const Shot full = capture(window);
    ASSERT_TRUE(full.ok);

    // Thirty seconds off: the bar halves in one step.
    for (int i = 0; i < 3; i++) {
        pressKey(XK_minus);
        sleepMs(50);
    }
    sleepMs(500);
    const Shot half = capture(window);
    ASSERT_TRUE(half.ok);
    save("bar-half.png", half);
    // Pause and resume repaint the whole window.
    clickAt(540, 328);
    sleepMs(500);
    clickAt(540, 328);
    sleepMs(500);
    moveTo(600, 20);
    sleepMs(200);
    const Shot repainted = capture(window);
    ASSERT_TRUE(repainted.ok);
    EXPECT_EQ(half.changed(repainted, 260, 402, 430, 426), 0.0) << "stale pixels right of the bar";

    // Under ten seconds the bar is shown and hidden by turns.
    for (int i = 0; i < 2; i++) {
        pressKey(XK_minus);
        sleepMs(50);
    }
    sleepMs(300);
    bool shown = false, hidden = false;
    for (int i = 0; i < 10; i++) {
        const Shot blink = capture(window);
        ASSERT_TRUE(blink.ok);
        (blink.changed(full, 45, 404, 60, 424) < 0.1 ? shown : hidden) = true;
        sleepMs(60);
    }
    EXPECT_TRUE(shown) << "the bar never came back after a blink";
    EXPECT_TRUE(hidden) << "the bar never blinked";
    expectCleanLog(true);
}
