// The generated resource archive holds every picture and sound the game
// loads, in the formats and sizes its loaders and drawing code rely on.
#include "AssetArchiveReader.h"
#include "GameApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sys/stat.h>
#include <zlib.h>

#include <SDL/SDL_ttf.h>

namespace {

const std::string kResources = GOBSTREL_RESOURCE_DIR;

// What the game expects of each picture: exact size, or a box it must fit
// in (width/height as maxima), and whether it is blended (needs alpha) or
// copied (must be opaque).
enum Rule { EXACT, AT_MOST };
enum Draw { BLEND, COPY };

struct Expect {
    const char *name;
    Rule rule;
    int w, h;
    Draw draw;
};

std::vector<Expect> expectedPictures() {
    std::vector<Expect> v = {
        {"background.jpg", EXACT, 640, 480, COPY}, {"loading.jpg", EXACT, 640, 480, COPY},
        {"arena.jpg", EXACT, 420, 420, COPY}, {"pause.jpg", EXACT, 420, 420, COPY},
        {"info_start.jpg", EXACT, 420, 420, COPY}, {"info_hint.jpg", EXACT, 420, 420, COPY},
        {"info_blackjellybean.jpg", EXACT, 420, 420, COPY}, {"info_red.jpg", EXACT, 420, 420, COPY},
        {"info_wildcard.jpg", EXACT, 420, 420, COPY}, {"info_green.jpg", EXACT, 420, 420, COPY},
        {"info_blue.jpg", EXACT, 420, 420, COPY}, {"gameover.jpg", EXACT, 420, 420, COPY},
        {"entername.jpg", EXACT, 420, 420, COPY}, {"highscores.jpg", EXACT, 420, 420, COPY},
        {"options_dialog.jpg", EXACT, 440, 440, COPY},
        {"highscores_areyousure.jpg", AT_MOST, 640, 480, COPY}, {"restart_areyousure.jpg", AT_MOST, 640, 480, COPY},
        // Pages at (60, 355): right of the frame's edge at 443 and above the partner logo at 442.
        {"tutorial_1.jpg", AT_MOST, 383, 87, COPY}, {"tutorial_2.jpg", AT_MOST, 383, 87, COPY},
        {"tutorial_3.jpg", AT_MOST, 383, 87, COPY}, {"tutorial_4.jpg", AT_MOST, 383, 87, COPY},
        {"tutorial_5.jpg", AT_MOST, 383, 87, COPY}, {"tutorial_6.jpg", AT_MOST, 383, 87, COPY},
        {"progress.tga", AT_MOST, 514, 40, BLEND}, {"font.tga", EXACT, 128, 84, BLEND},
        {"cursor.tga", AT_MOST, 32, 32, BLEND}, {"timer.tga", AT_MOST, 390, 35, BLEND},
        {"bites00.tga", AT_MOST, 10, 35, BLEND}, {"bites01.tga", AT_MOST, 10, 35, BLEND},
        {"bites02.tga", AT_MOST, 10, 35, BLEND}, {"level.tga", AT_MOST, 100, 37, BLEND},
        {"time_bonus.tga", AT_MOST, 164, 37, BLEND}, {"startlevel_bonus.tga", AT_MOST, 180, 37, BLEND},
        {"font_comma.tga", AT_MOST, 14, 15, BLEND}, {"tutorial_hand.tga", AT_MOST, 96, 96, BLEND},
        {"icon_click_to_start_lit.tga", AT_MOST, 238, 49, BLEND},
        {"icon_pause.tga", AT_MOST, 188, 32, BLEND}, {"icon_pause_lit.tga", AT_MOST, 188, 32, BLEND},
        {"icon_resume.tga", AT_MOST, 188, 32, BLEND}, {"icon_resume_lit.tga", AT_MOST, 188, 32, BLEND},
        {"icon_options.tga", AT_MOST, 167, 28, BLEND}, {"icon_options_lit.tga", AT_MOST, 167, 28, BLEND},
        {"icon_highscores.tga", AT_MOST, 189, 44, BLEND}, {"icon_highscores_lit.tga", AT_MOST, 189, 44, BLEND},
        {"icon_restart.tga", AT_MOST, 170, 26, BLEND}, {"icon_restart_lit.tga", AT_MOST, 170, 26, BLEND},
        {"icon_exit.tga", AT_MOST, 136, 35, BLEND}, {"icon_exit_lit.tga", AT_MOST, 136, 35, BLEND},
        {"logo.tga", AT_MOST, 251, 37, BLEND}, {"logo_lit.tga", AT_MOST, 251, 37, BLEND},
        {"partnerlogo.tga", AT_MOST, 252, 38, BLEND}, {"partnerlogo_lit.tga", AT_MOST, 252, 38, BLEND},
        {"icon_continue.tga", AT_MOST, 319, 127, BLEND}, {"icon_continue_lit.tga", AT_MOST, 319, 127, BLEND},
        {"icon_ok.tga", AT_MOST, 241, 54, BLEND}, {"icon_ok_lit.tga", AT_MOST, 241, 54, BLEND},
        {"highscores_ok.tga", AT_MOST, 130, 42, BLEND}, {"highscores_ok_lit.tga", AT_MOST, 130, 42, BLEND},
        {"highscores_clearall.tga", AT_MOST, 230, 42, BLEND}, {"highscores_clearall_lit.tga", AT_MOST, 230, 42, BLEND},
        {"options_icon_ok.tga", AT_MOST, 252, 56, BLEND}, {"options_icon_ok_lit.tga", AT_MOST, 252, 56, BLEND},
        {"options_icon_on.tga", AT_MOST, 130, 39, BLEND}, {"options_icon_on_lit.tga", AT_MOST, 130, 39, BLEND},
        {"options_icon_off.tga", AT_MOST, 130, 39, BLEND}, {"options_icon_off_lit.tga", AT_MOST, 130, 39, BLEND},
        {"options_icon_space.tga", AT_MOST, 138, 42, BLEND}, {"options_icon_space_lit.tga", AT_MOST, 138, 42, BLEND},
        {"options_icon_candies.tga", AT_MOST, 138, 42, BLEND},
        {"options_icon_candies_lit.tga", AT_MOST, 138, 42, BLEND},
        {"options_icon_startlevel.tga", AT_MOST, 200, 26, BLEND},
        {"options_icon_1.tga", AT_MOST, 27, 30, BLEND}, {"options_icon_1_lit.tga", AT_MOST, 27, 30, BLEND},
        {"options_icon_6.tga", AT_MOST, 41, 30, BLEND}, {"options_icon_6_lit.tga", AT_MOST, 41, 30, BLEND},
        {"options_icon_10.tga", AT_MOST, 48, 30, BLEND}, {"options_icon_10_lit.tga", AT_MOST, 48, 30, BLEND},
        {"options_icon_14.tga", AT_MOST, 50, 30, BLEND}, {"options_icon_14_lit.tga", AT_MOST, 50, 30, BLEND},
        {"options_icon_18.tga", AT_MOST, 46, 30, BLEND}, {"options_icon_18_lit.tga", AT_MOST, 46, 30, BLEND},
        {"options_icon_22.tga", AT_MOST, 209, 30, BLEND}, {"options_icon_22_lit.tga", AT_MOST, 209, 30, BLEND},
    };
    const char *yesNo[] = {"highscores_areyousure_yes", "highscores_areyousure_no", "restart_areyousure_OK",
                           "restart_areyousure_CANCEL"};
    static std::vector<std::string> names;
    if (names.empty()) {
        for (const char *stem : yesNo) {
            names.push_back(std::string(stem) + ".tga");
            names.push_back(std::string(stem) + "_lit.tga");
        }
        const char *digits[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
        for (const char *d : digits) names.push_back(std::string("font_") + d + ".tga");
        const char *tiles[] = {"orange", "yellow", "purple", "red", "green", "blue", "bear", "cherries",
                               "chocolate", "grapefruit", "lifesaver", "peppermint", "worm", "blocker", "wild"};
        for (const char *t : tiles) names.push_back(std::string("tile_") + t + ".tga");
        const char *exploding[] = {"orange", "yellow", "purple", "red", "green", "blue", "blocker"};
        char buf[64];
        for (const char *t : exploding) {
            for (int f = 0; f < 11; f++) {
                snprintf(buf, sizeof(buf), "anim_tile_%s_ex%02d.tga", t, f);
                names.push_back(buf);
            }
        }
        for (int f = 0; f < 11; f++) {
            snprintf(buf, sizeof(buf), "anim_tile_generic%02d.tga", f);
            names.push_back(buf);
        }
        names.push_back("anim_tile_wild_ex00.tga");
    }
    for (size_t i = 0; i < 8; i++) v.push_back({names[i].c_str(), AT_MOST, 160, 60, BLEND});
    for (size_t i = 8; i < 18; i++) v.push_back({names[i].c_str(), EXACT, 18, 18, BLEND});
    for (size_t i = 18; i < names.size(); i++) v.push_back({names[i].c_str(), EXACT, 42, 42, BLEND});
    return v;
}

const char *const kSounds[] = {"splash.ogg", "theme.ogg", "click.wav", "guiclick.wav", "blocked.ogg", "crunch.wav",
                               "bjbcrunch.ogg", "onemoretogo.ogg", "levelup.ogg", "gameover.ogg", "candycane.ogg",
                               "klaxon.ogg"};

class AssetArchive : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        s_loaded = readArchive(kResources + "gobstrel.qvz", s_entries, error);
        s_error = error;
    }

    void SetUp() override {
        struct stat st;
        if (stat((kResources + "gobstrel.qvz").c_str(), &st) != 0) {
            SKIP_OR_FAIL_WITHOUT(kResources + "gobstrel.qvz");
        }
        ASSERT_TRUE(s_loaded) << s_error;
    }

    static Picture picture(const std::string &name) {
        Picture p;
        std::string error;
        auto it = s_entries.find(name);
        EXPECT_NE(it, s_entries.end()) << name;
        if (it == s_entries.end()) return p;
        bool ok = name.find(".tga") != std::string::npos ? decodeTga(it->second.bytes, p, error)
                                                         : decodeJpeg(it->second.bytes, p, error);
        EXPECT_TRUE(ok) << name << ": " << error;
        return p;
    }

    static std::map<std::string, ArchiveEntry> s_entries;
    static bool s_loaded;
    static std::string s_error;
};

std::map<std::string, ArchiveEntry> AssetArchive::s_entries;
bool AssetArchive::s_loaded;
std::string AssetArchive::s_error;

TEST_F(AssetArchive, HoldsExactlyTheGamesFilesDeflated) {
    std::set<std::string> wanted;
    for (const Expect &e : expectedPictures()) wanted.insert(e.name);
    for (const char *s : kSounds) wanted.insert(s);
    ASSERT_EQ(wanted.size(), 217u);
    for (const std::string &n : wanted) {
        auto it = s_entries.find(n);
        ASSERT_NE(it, s_entries.end()) << "missing " << n;
        EXPECT_EQ(it->second.method, Z_DEFLATED) << n;
        EXPECT_LT(n.size(), 256u);
    }
    for (const auto &e : s_entries) {
        EXPECT_TRUE(wanted.count(e.first)) << "unexpected entry " << e.first;
    }
}

TEST_F(AssetArchive, PicturesDecodeAtTheirSizesWithoutTheKeyColour) {
    for (const Expect &e : expectedPictures()) {
        SCOPED_TRACE(e.name);
        Picture p = picture(e.name);
        if (p.width == 0) continue;
        if (e.rule == EXACT) {
            EXPECT_EQ(p.width, e.w);
            EXPECT_EQ(p.height, e.h);
        } else {
            EXPECT_LE(p.width, e.w);
            EXPECT_LE(p.height, e.h);
        }
        if (strstr(e.name, ".jpg")) {
            EXPECT_EQ(p.components, 3);
            EXPECT_FALSE(p.progressive);
            EXPECT_LE(p.width, 1365);
        }
        bool key = false, translucent = false;
        for (int y = 0; y < p.height; y++) {
            for (int x = 0; x < p.width; x++) {
                const uint8_t *px = p.at(x, y);
                key |= px[0] == 255 && px[1] == 0 && px[2] == 255;
                translucent |= px[3] < 255;
            }
        }
        EXPECT_FALSE(key) << "uses the transparency key (255, 0, 255)";
        if (e.draw == BLEND) {
            EXPECT_TRUE(translucent) << "a blended picture needs transparent parts";
        } else {
            EXPECT_FALSE(translucent);
        }
    }
}

TEST_F(AssetArchive, PairedButtonsShareTheirSize) {
    const char *stems[] = {"icon_pause", "icon_resume", "icon_options", "icon_highscores", "icon_restart", "icon_exit",
                           "logo", "partnerlogo", "icon_continue", "icon_ok", "highscores_ok", "highscores_clearall",
                           "highscores_areyousure_yes", "highscores_areyousure_no", "restart_areyousure_OK",
                           "restart_areyousure_CANCEL", "options_icon_ok", "options_icon_on", "options_icon_off",
                           "options_icon_space", "options_icon_candies", "options_icon_1", "options_icon_6",
                           "options_icon_10", "options_icon_14", "options_icon_18", "options_icon_22"};
    for (const char *stem : stems) {
        SCOPED_TRACE(stem);
        Picture a = picture(std::string(stem) + ".tga"), b = picture(std::string(stem) + "_lit.tga");
        EXPECT_EQ(a.width, b.width);
        EXPECT_EQ(a.height, b.height);
        EXPECT_NE(a.rgba, b.rgba) << "the lit picture must look different";
    }
    // Swapped in place, so one size; on and off likewise, space and sweets likewise.
    EXPECT_EQ(picture("icon_pause.tga").width, picture("icon_resume.tga").width);
    EXPECT_EQ(picture("icon_pause.tga").height, picture("icon_resume.tga").height);
    EXPECT_EQ(picture("options_icon_on.tga").width, picture("options_icon_off.tga").width);
    EXPECT_EQ(picture("options_icon_space.tga").width, picture("options_icon_candies.tga").width);
    EXPECT_EQ(picture("highscores_areyousure_yes.tga").width, picture("highscores_areyousure_no.tga").width);
    EXPECT_EQ(picture("restart_areyousure_OK.tga").width, picture("restart_areyousure_CANCEL.tga").width);
}

TEST_F(AssetArchive, ScreenLayoutFits) {
    Picture timer = picture("timer.tga");
    for (const char *b : {"bites00.tga", "bites01.tga", "bites02.tga"}) {
        EXPECT_LE(picture(b).height, timer.height) << b;
    }
    // The bar's full width plus its bites stays inside the play area.
    EXPECT_LE(TIME_BAR_LEFT + timer.width + 10, 443);
    // Side buttons must not overlap one another.
    struct Box {
        const char *name;
        int x, y;
    } side[] = {{"icon_pause.tga", 452, 315}, {"icon_options.tga", 473, 347}, {"icon_highscores.tga", 451, 375},
                {"icon_restart.tga", 470, 419}, {"icon_exit.tga", 504, 445}};
    for (size_t i = 0; i + 1 < sizeof(side) / sizeof(side[0]); i++) {
        EXPECT_LE(side[i].y + picture(side[i].name).height, side[i + 1].y) << side[i].name;
    }
    for (const Box &b : side) EXPECT_LE(b.x + picture(b.name).width, 640) << b.name;
    // Start-level choices in one row, left to right without touching.
    const int xs[] = {19, 46, 87, 135, 185, 231};
    const char *levels[] = {"options_icon_1.tga", "options_icon_6.tga", "options_icon_10.tga",
                            "options_icon_14.tga", "options_icon_18.tga", "options_icon_22.tga"};
    for (int i = 0; i < 5; i++) EXPECT_LE(xs[i] + picture(levels[i]).width, xs[i + 1]) << levels[i];
    Picture options = picture("options_dialog.jpg");
    EXPECT_LE(231 + picture("options_icon_22.tga").width, options.width);
    EXPECT_LE(188 + picture("options_icon_ok.tga").width, options.width);
    EXPECT_LE(384 + picture("options_icon_ok.tga").height, options.height);
    // Options rows, top to bottom, each clear of the next (the dialog places
    // them at fixed offsets, so a tall picture would cover its neighbour).
    struct Row {
        const char *name;
        int y;
    } rows[] = {{"options_icon_space.tga", 96},  {"options_icon_on.tga", 138},      {"options_icon_on.tga", 183},
                {"options_icon_on.tga", 222},    {"options_icon_startlevel.tga", 265}, {"options_icon_1.tga", 291},
                {"options_icon_on.tga", 326},    {"options_icon_ok.tga", 384}};
    for (size_t i = 0; i + 1 < sizeof(rows) / sizeof(rows[0]); i++) {
        EXPECT_LE(rows[i].y + picture(rows[i].name).height, rows[i + 1].y) << rows[i].name << " at " << rows[i].y;
    }
    // Buttons placed at fixed spots that were meant to sit centred in their dialog.
    struct Centred {
        const char *name;
        int x, dialogWidth;
    } centred[] = {{"icon_continue.tga", 101, 420}, {"icon_ok.tga", 179, 420}, {"options_icon_ok.tga", 188, 440},
                   {"icon_click_to_start_lit.tga", 114 - 23, 420}};
    for (const Centred &c : centred) {
        EXPECT_LE(std::abs(2 * c.x + picture(c.name).width - c.dialogWidth), 6) << c.name;
    }
    // Confirmation dialogs: the button row at h - 1.5 button heights stays inside.
    for (const char *q : {"highscores_areyousure", "restart_areyousure"}) {
        Picture bg = picture(std::string(q) + ".jpg");
        Picture yes = picture(std::string(q) + (q[0] == 'h' ? "_yes.tga" : "_OK.tga"));
        EXPECT_GE(bg.width, 3 * yes.width) << q;
        EXPECT_LE(bg.width, 640);
        EXPECT_LE(bg.height, 480);
        EXPECT_GE(bg.height, 3 * yes.height) << q;
    }
    // The tutorial page stays clear of the partner logo and the side bar.
    for (int i = 1; i <= 6; i++) {
        Picture page = picture("tutorial_" + std::to_string(i) + ".jpg");
        EXPECT_LE(60 + page.width, 443);
        EXPECT_LE(355 + page.height, 442);
    }
    // While the page shows, the arena beside it (screen x 31 to 59, past the
    // striped borders) holds nothing of the time bar's dark trough.
    Picture arena = picture("arena.jpg");
    for (int y = 395 - 17; y < 429 - 17; y++)
        for (int x = 31 - 23; x < 60 - 23; x++) {
            const uint8_t *p = arena.at(x, y);
            EXPECT_GT(p[0] + p[1] + p[2], 3 * 170) << "screen " << x + 23 << ", " << y + 17;
        }
    // The trough is the dark hollow under the arena's "TIME" label, inside
    // its striped border; at every length the bar and its bites lie in it.
    HRect trough = { 640, 480, -1, -1 };
    for (int y = 370; y < 412; y++)
        for (int x = 8; x < 412; x++) {
            const uint8_t *p = arena.at(x, y);
            if (p[0] + p[1] + p[2] >= 330) continue;
            trough.left = std::min(trough.left, x + 23);
            trough.top = std::min(trough.top, y + 17);
            trough.right = std::max(trough.right, x + 23 + 1);
            trough.bottom = std::max(trough.bottom, y + 17 + 1);
        }
    ASSERT_GT(trough.right, trough.left) << "no trough in the arena";
    for (const char *b : {"bites00.tga", "bites01.tga", "bites02.tga"}) {
        Picture bites = picture(b);
        for (int length = 1; length <= timer.width; length++) {
            const int right = TIME_BAR_LEFT + length;
            const HRect bar = { TIME_BAR_LEFT, TIME_BAR_TOP, right, TIME_BAR_TOP + timer.height };
            const HRect end = { right, TIME_BAR_TOP, right + bites.width, TIME_BAR_TOP + bites.height };
            bool inside = true;
            for (const HRect &r : {bar, end}) {
                inside &= r.left >= trough.left && r.top >= trough.top && r.right <= trough.right &&
                          r.bottom <= trough.bottom;
            }
            if (!inside) {
                ADD_FAILURE() << b << ": a bar of " << length << " px at x " << TIME_BAR_LEFT << ".." << end.right
                              << ", y " << TIME_BAR_TOP << ".." << bar.bottom << " leaves the trough at x "
                              << trough.left << ".." << trough.right << ", y " << trough.top << ".."
                              << trough.bottom;
                break;
            }
        }
    }
    // Every solid pixel of the side buttons, lit or not, stands on the
    // raspberry board behind them; the exit button's on the shelf below.
    Picture background = picture("background.jpg");
    auto onPanel = [](const uint8_t *p, bool shelf) {
        return shelf ? p[0] < 200 && p[0] > p[1] && p[1] > p[2] + 20 : p[1] < 110 && p[2] > p[1] + 10;
    };
    const Box panelled[] = {{"icon_pause", 452, 315},      {"icon_resume", 452, 315}, {"icon_options", 473, 347},
                            {"icon_highscores", 451, 375}, {"icon_restart", 470, 419}, {"icon_exit", 504, 445}};
    for (const Box &b : panelled) {
        const bool shelf = strcmp(b.name, "icon_exit") == 0;
        for (const char *suffix : {".tga", "_lit.tga"}) {
            const std::string name = std::string(b.name) + suffix;
            Picture button = picture(name);
            int off = 0, firstX = -1, firstY = -1;
            for (int y = 0; y < button.height; y++)
                for (int x = 0; x < button.width; x++) {
                    if (button.at(x, y)[3] < 128) continue;
                    const int sx = b.x + x, sy = b.y + y;
                    const bool held = sx < background.width && sy < background.height &&
                                      onPanel(background.at(sx, sy), shelf);
                    if (!held && off++ == 0) {
                        firstX = sx;
                        firstY = sy;
                    }
                }
            EXPECT_EQ(off, 0) << name << " stands off its panel, first at screen " << firstX << ", " << firstY;
        }
    }
    // Each options label ends just left of its own switch, on its middle
    // line: the dark ink nearest the switch is a few pixels from it.
    struct Switch {
        int x, y, h;
    } switches[] = {{302, 96, 34}, {110, 138, 30}, {114, 183, 30}, {178, 222, 30}, {115, 326, 30}};
    for (const Switch &sw : switches) {
        int inkRight = -1;
        for (int y = sw.y + 4; y < sw.y + sw.h - 4; y++)
            for (int x = 14; x < sw.x; x++) {
                const uint8_t *p = options.at(x, y);
                if (p[0] < 150 && p[1] < 110) inkRight = std::max(inkRight, x);
            }
        EXPECT_GE(inkRight, sw.x - 20) << "label of the switch at " << sw.x << ", " << sw.y;
        EXPECT_LE(inkRight, sw.x - 4) << "label of the switch at " << sw.x << ", " << sw.y;
    }
}

// The start button has only a lit picture: un-lit, the caption painted into
// each info screen shows through, so it must sit exactly under the lit one.
TEST_F(AssetArchive, InfoScreensCarryTheUnlitStartCaption) {
    Picture lit = picture("icon_click_to_start_lit.tga");
    ASSERT_GT(lit.width, 0);
    const int left = 114 - 23, top = 388 - 17;
    const char *screens[] = {"info_start.jpg", "info_hint.jpg",  "info_blackjellybean.jpg", "info_red.jpg",
                             "info_wildcard.jpg", "info_green.jpg", "info_blue.jpg"};
    Picture first = picture(screens[0]);
    for (const char *name : screens) {
        SCOPED_TRACE(name);
        Picture info = picture(name);
        ASSERT_EQ(info.width, 420);
        // Inside the button's shape the picture differs from just outside it.
        double inside[3] = {0, 0, 0}, outside[3] = {0, 0, 0};
        int nIn = 0, nOut = 0;
        double drift = 0;
        for (int y = 0; y < lit.height; y++) {
            for (int x = 0; x < lit.width; x++) {
                const uint8_t *p = info.at(left + x, top + y);
                uint8_t a = lit.at(x, y)[3];
                for (int c = 0; c < 3; c++) {
                    if (a == 255) inside[c] += p[c];
                    if (a == 0) outside[c] += p[c];
                    drift += std::abs(int(p[c]) - int(first.at(left + x, top + y)[c]));
                }
                nIn += a == 255;
                nOut += a == 0;
            }
        }
        ASSERT_GT(nIn, lit.width * lit.height / 2);
        ASSERT_GT(nOut, 0);
        double d = 0;
        for (int c = 0; c < 3; c++) d += std::fabs(inside[c] / nIn - outside[c] / nOut);
        EXPECT_GT(d, 60.0) << "no caption under the lit start button";
        // And the same caption on every screen.
        EXPECT_LT(drift / (lit.width * lit.height * 3), 4.0);
    }
}

// Sweets sit on the rounded cell wells, so their corners show the arena.
TEST_F(AssetArchive, TilesHaveTransparentCornersAndFadeOut) {
    for (const Expect &e : expectedPictures()) {
        if (strncmp(e.name, "tile_", 5) != 0) continue;
        SCOPED_TRACE(e.name);
        Picture p = picture(e.name);
        if (p.width != 42) continue;
        EXPECT_EQ(p.at(0, 0)[3], 0);
        EXPECT_EQ(p.at(41, 0)[3], 0);
        EXPECT_EQ(p.at(0, 41)[3], 0);
        EXPECT_EQ(p.at(41, 41)[3], 0);
    }
    // The last frame stays on screen, so it must be nearly empty; the tile itself is solid.
    auto ink = [](const Picture &p) {
        double sum = 0;
        for (size_t i = 3; i < p.rgba.size(); i += 4) sum += p.rgba[i];
        return sum / 255.0;
    };
    const char *kinds[] = {"orange", "yellow", "purple", "red", "green", "blue", "blocker"};
    for (const char *k : kinds) {
        double tile = ink(picture(std::string("tile_") + k + ".tga"));
        double last = ink(picture(std::string("anim_tile_") + k + "_ex10.tga"));
        EXPECT_GT(tile, 42 * 42 * 0.3) << k;
        EXPECT_LT(last, tile * 0.15) << k;
    }
    EXPECT_LT(ink(picture("anim_tile_generic10.tga")), 42 * 42 * 0.1);
    EXPECT_LT(ink(picture("anim_tile_wild_ex00.tga")), ink(picture("tile_wild.tga")));
}

TEST_F(AssetArchive, ColourTilesStayDistinctInSixteenBits) {
    const char *kinds[] = {"orange", "yellow", "purple", "red", "green", "blue", "blocker"};
    double mean[7][3];
    for (int k = 0; k < 7; k++) {
        Picture p = picture(std::string("tile_") + kinds[k] + ".tga");
        double sum[3] = {0, 0, 0}, n = 0;
        for (size_t i = 0; i < p.rgba.size(); i += 4) {
            if (p.rgba[i + 3] != 255) continue;
            // Reduced to 5-6-5 as the screen shows it.
            sum[0] += (p.rgba[i] >> 3) * 255.0 / 31;
            sum[1] += (p.rgba[i + 1] >> 2) * 255.0 / 63;
            sum[2] += (p.rgba[i + 2] >> 3) * 255.0 / 31;
            n++;
        }
        ASSERT_GT(n, 200) << kinds[k];
        for (int c = 0; c < 3; c++) mean[k][c] = sum[c] / n;
    }
    for (int a = 0; a < 7; a++) {
        for (int b = a + 1; b < 7; b++) {
            double d = 0;
            for (int c = 0; c < 3; c++) d += (mean[a][c] - mean[b][c]) * (mean[a][c] - mean[b][c]);
            EXPECT_GT(std::sqrt(d), 60.0) << kinds[a] << " vs " << kinds[b];
        }
    }
}

TEST_F(AssetArchive, TextFontAndFiguresFollowTheirLayout) {
    Picture font = picture("font.tga");
    ASSERT_EQ(font.width, 128);
    auto cellInk = [&](int code) {
        int cx = (code % 16) * 8, cy = (code / 16 - 1) * 12, n = 0;
        for (int y = cy; y < cy + 12; y++)
            for (int x = cx; x < cx + 8; x++) n += font.at(x, y)[3] > 0;
        return n;
    };
    for (int code = 16; code < 32; code++) EXPECT_EQ(cellInk(code), 0) << "control code " << code;
    EXPECT_EQ(cellInk(' '), 0);
    for (int code = 33; code < 127; code++) EXPECT_GT(cellInk(code), 3) << "code " << code;
    // Between glyph cells the background is see-through.
    EXPECT_EQ(font.at(0, 0)[3], 0);

    const char *digits[] = {"zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    for (const char *d : digits) {
        SCOPED_TRACE(d);
        Picture p = picture(std::string("font_") + d + ".tga");
        int inkLeft = 99, inkRight = -1, inkBottom = -1;
        for (int y = 0; y < p.height; y++)
            for (int x = 0; x < p.width; x++)
                if (p.at(x, y)[3] > 0) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x);
                    inkBottom = std::max(inkBottom, y);
                }
        // After every third digit the next is only 14 px further left.
        EXPECT_GE(inkLeft, 1);
        EXPECT_LE(inkRight, 14);
        EXPECT_GT(inkBottom, 10);
    }
    Picture comma = picture("font_comma.tga");
    int commaLeft = 99, commaRight = -1;
    for (int y = 0; y < comma.height; y++)
        for (int x = 0; x < comma.width; x++)
            if (comma.at(x, y)[3] > 0) {
                commaLeft = std::min(commaLeft, x);
                commaRight = std::max(commaRight, x);
            }
    // The comma sits in the 13-px gap before the digit 14 px to its right.
    EXPECT_GE(commaLeft, 0);
    EXPECT_LE(commaRight, 12);
}

TEST_F(AssetArchive, PointersHaveTheirHotSpots) {
    Picture cursor = picture("cursor.tga");
    EXPECT_GT(cursor.at(0, 0)[3], 128) << "the arrow tip is the top-left pixel";
    Picture hand = picture("tutorial_hand.tga");
    // Drawn at 49 px left of and 56 px above the target cell: the fingertip
    // must reach well into that cell (at least 7 px past its corner), and no
    // ink may point past the cell into its neighbours to the right or below.
    bool tip = false, beyond = false;
    for (int y = 0; y < hand.height; y++)
        for (int x = 0; x < hand.width; x++) {
            bool inked = hand.at(x, y)[3] > 128;
            tip |= inked && x >= 56 && y >= 63 && x < 91 && y < 98;
            beyond |= inked && (x >= 91 || y >= 98);
        }
    EXPECT_TRUE(tip);
    EXPECT_FALSE(beyond);
    // Added onto the screen with a pulsing strength: that needs a mask.
    bool translucent = false;
    for (size_t i = 3; i < hand.rgba.size(); i += 4) translucent |= hand.rgba[i] < 255;
    EXPECT_TRUE(translucent);
}

TEST_F(AssetArchive, WavesMatchTheLoader) {
    struct {
        const char *name;
        double minSeconds, maxSeconds;
    } waves[] = {{"click.wav", 0.01, 0.1}, {"guiclick.wav", 0.01, 0.15}, {"crunch.wav", 0.25, 0.6}};
    for (const auto &w : waves) {
        SCOPED_TRACE(w.name);
        const std::vector<uint8_t> &b = s_entries[w.name].bytes;
        ASSERT_GE(b.size(), 44u);
        EXPECT_EQ(memcmp(&b[0], "RIFF", 4), 0);
        EXPECT_EQ(le32(b, 4), b.size() - 8);
        EXPECT_EQ(memcmp(&b[8], "WAVEfmt ", 8), 0);
        EXPECT_EQ(le32(b, 16), 16u);
        EXPECT_EQ(le16(b, 20), 1);      // PCM
        uint16_t channels = le16(b, 22), bits = le16(b, 34);
        EXPECT_TRUE(channels == 1 || channels == 2);
        EXPECT_EQ(le32(b, 24), 22050u);
        EXPECT_TRUE(bits == 8 || bits == 16);
        EXPECT_EQ(le32(b, 28), 22050u * channels * bits / 8);
        EXPECT_EQ(le16(b, 32), channels * bits / 8);
        EXPECT_EQ(memcmp(&b[36], "data", 4), 0);
        uint32_t data = le32(b, 40);
        EXPECT_EQ(data, b.size() - 44);
        double seconds = double(data) / (22050.0 * channels * bits / 8);
        EXPECT_GE(seconds, w.minSeconds);
        EXPECT_LE(seconds, w.maxSeconds);
        // Not silent.
        int peak = 0;
        for (size_t i = 44; i + 1 < b.size(); i += 2) peak = std::max(peak, std::abs(int16_t(le16(b, i))));
        EXPECT_GT(peak, 8000);
    }
}

TEST_F(AssetArchive, OggSoundsAre22050HzAndTheirLength) {
    struct {
        const char *name;
        double minSeconds, maxSeconds;
    } oggs[] = {{"splash.ogg", 1.5, 5}, {"blocked.ogg", 0.15, 0.5}, {"bjbcrunch.ogg", 0.25, 0.7},
                {"onemoretogo.ogg", 0.6, 1.6}, {"levelup.ogg", 0.8, 2.6}, {"gameover.ogg", 1.2, 2.6},
                {"candycane.ogg", 0.4, 1.1}, {"klaxon.ogg", 0.4, 1.2}, {"theme.ogg", 45, 120}};
    for (const auto &o : oggs) {
        SCOPED_TRACE(o.name);
        Sound s;
        std::string error;
        ASSERT_TRUE(decodeOgg(s_entries[o.name].bytes, s, error)) << error;
        EXPECT_EQ(s.rate, 22050);
        if (strcmp(o.name, "theme.ogg") == 0) {
            EXPECT_EQ(s.channels, 2);
        } else {
            EXPECT_TRUE(s.channels == 1 || s.channels == 2);
        }
        double seconds = double(s.frames()) / 22050.0;
        EXPECT_GE(seconds, o.minSeconds);
        EXPECT_LE(seconds, o.maxSeconds);
        float peak = 0;
        for (float v : s.samples) peak = std::max(peak, std::fabs(v));
        EXPECT_GT(peak, 0.3f);
        EXPECT_LE(peak, 1.01f);
    }
}

// Joins the frames before `end` to the frames from `start` (one channel),
// smooths the result and returns the largest step at the join divided by the
// largest step anywhere else: below 1 means the join is no click.
float joinStepRatio(const Sound &s, int channel, long end, long start) {
    const long window = 2048;
    std::vector<float> z;
    for (long i = end - window; i < end; i++) z.push_back(s.samples[size_t(i * s.channels + channel)]);
    for (long i = start; i < start + window; i++) z.push_back(s.samples[size_t(i * s.channels + channel)]);
    float y = z[0];
    for (float &v : z) {
        y += 0.15f * (v - y);
        v = y;
    }
    float atJoin = 0, elsewhere = 0;
    for (long i = 1; i < long(z.size()); i++) {
        float d = std::fabs(z[size_t(i)] - z[size_t(i - 1)]);
        if (std::labs(i - window) < 24) {
            atJoin = std::max(atJoin, d);
        } else {
            elsewhere = std::max(elsewhere, d);
        }
    }
    return elsewhere > 0 ? atJoin / elsewhere : 1e9f;
}

float rms(const Sound &s, long from, long to) {
    double sum = 0;
    for (long i = from * s.channels; i < to * s.channels; i++) sum += double(s.samples[size_t(i)]) * s.samples[size_t(i)];
    return float(std::sqrt(sum / double((to - from) * s.channels)));
}

TEST_F(AssetArchive, LoopsJoinWithoutAClick) {
    // The theme jumps from its last frame back to frame 66016, the klaxon
    // from its last frame to its first: the music must carry on at the same
    // loudness, with no step at the join bigger than its ordinary ones.
    Sound theme, klaxon;
    std::string error;
    ASSERT_TRUE(decodeOgg(s_entries["theme.ogg"].bytes, theme, error)) << error;
    ASSERT_TRUE(decodeOgg(s_entries["klaxon.ogg"].bytes, klaxon, error)) << error;
    const long loop = 66016;
    const long n = theme.frames();
    ASSERT_GT(n, loop + 22050);
    for (int c = 0; c < 2; c++) EXPECT_LT(joinStepRatio(theme, c, n, loop), 1.0f) << "channel " << c;
    float before = rms(theme, n - 11025, n), after = rms(theme, loop, loop + 11025);
    EXPECT_GT(before, after * 0.5f);
    EXPECT_LT(before, after * 2.0f);
    EXPECT_LT(joinStepRatio(klaxon, 0, klaxon.frames(), 0), 1.0f);
    EXPECT_GT(rms(klaxon, klaxon.frames() - 2205, klaxon.frames()), rms(klaxon, 0, klaxon.frames()) * 0.5f);
}

TEST_F(AssetArchive, MessageBoxFontOpensAtTwelvePoints) {
    const std::string path = kResources + "quorvex.ttf";
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    ASSERT_EQ(stat((kResources + "quorvex-font-license.txt").c_str(), &st), 0);
    EXPECT_GT(st.st_size, 100);
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font *font = TTF_OpenFont(path.c_str(), 12);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    int w = 0, h = 0;
    EXPECT_EQ(TTF_SizeText(font, "Missing Resource File", &w, &h), 0);
    EXPECT_GT(w, 60);
    EXPECT_GT(h, 8);
    for (int c = 32; c < 127; c++) EXPECT_NE(TTF_GlyphIsProvided(font, Uint16(c)), 0) << c;
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface *s = TTF_RenderText_Solid(font, "OK  (type 'O')", white);
    EXPECT_NE(s, nullptr);
    if (s) SDL_FreeSurface(s);
    TTF_CloseFont(font);
    TTF_Quit();
}

}
