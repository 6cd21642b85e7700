#include "AssetGen.h"

#include "ArtKit.h"
#include "AssetArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

// Previews: the pictures laid out on contact sheets, and the screens put
// together the way the game draws them, so the look can be judged (also as
// the 16-bit screen shows it) without running the game.

static void s_checker(cairo_t *cr, double w, double h) {
    cairo_set_source_rgb(cr, 0.78, 0.78, 0.8);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.62, 0.62, 0.66);
    for (int y = 0; y < h; y += 8) {
        for (int x = (y / 8 & 1) * 8; x < w; x += 16) {
            cairo_rectangle(cr, x, y, 8, 8);
        }
    }
    cairo_fill(cr);
}

static bool s_sheet(const AssetSet &set, const std::string &path, const std::vector<std::string> &names,
                    double scale, int maxWidth) {
    // Lay out left to right, wrapping rows.
    struct Place {
        const AssetCanvas *cv;
        std::string name;
        double x, y;
    };
    std::vector<Place> places;
    double x = 8, y = 8, rowH = 0, width = 0;
    // Each place is as wide as its picture or its label, so labels never run
    // into the next picture's.
    AssetCanvas scratch(1, 1);
    for (const std::string &n : names) {
        const AssetCanvas *cv = set.find(n);
        if (!cv) {
            continue;
        }
        std::string shortName = n.substr(0, n.rfind('.'));
        double labelW = art::textWidth(scratch.cr(), art::FONT_SANS, 9, shortName.c_str());
        double w = std::max(cv->width() * scale, labelW), h = cv->height() * scale + 14;
        if (x + w > maxWidth && x > 8) {
            x = 8;
            y += rowH + 8;
            rowH = 0;
        }
        places.push_back(Place{cv, n, x, y});
        x += w + 8;
        rowH = std::max(rowH, h);
        width = std::max(width, x);
    }
    AssetCanvas sheet(int(width), int(y + rowH + 8));
    cairo_t *cr = sheet.cr();
    s_checker(cr, sheet.width(), sheet.height());
    art::TextStyle label{art::FONT_SANS, 9, art::rgb(20, 20, 30), art::rgb(0, 0, 0, 0), 0, art::rgb(0, 0, 0, 0)};
    for (const Place &p : places) {
        cairo_save(cr);
        cairo_translate(cr, p.x, p.y);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, p.cv->surface(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        std::string shortName = p.name.substr(0, p.name.rfind('.'));
        art::text(cr, label, p.x, p.y + p.cv->height() * scale + 10, art::ALIGN_LEFT, shortName.c_str());
    }
    return sheet.savePng(path);
}

static void s_blit(cairo_t *cr, const AssetSet &set, const char *name, double x, double y) {
    const AssetCanvas *cv = set.find(name);
    if (cv) {
        cairo_set_source_surface(cr, cv->surface(), x, y);
        cairo_paint(cr);
    }
}

static void s_blitPart(cairo_t *cr, const AssetSet &set, const char *name, double x, double y, double w) {
    const AssetCanvas *cv = set.find(name);
    if (cv) {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, w, cv->height());
        cairo_clip(cr);
        cairo_set_source_surface(cr, cv->surface(), x, y);
        cairo_paint(cr);
        cairo_restore(cr);
    }
}

// The game's figure drawing: right to left, a comma after every third digit.
static void s_number(cairo_t *cr, const AssetSet &set, int value, int x, int y) {
    static const char *const glyphs[10] = {"font_zero.tga", "font_one.tga", "font_two.tga", "font_three.tga",
                                           "font_four.tga", "font_five.tga", "font_six.tga", "font_seven.tga",
                                           "font_eight.tga", "font_nine.tga"};
    char buf[64];
    snprintf(buf, sizeof(buf), "%d", value);
    int pen = x, count = 0;
    bool comma = false;
    for (int i = int(strlen(buf)) - 1; i >= 0;) {
        if (comma) {
            s_blit(cr, set, "font_comma.tga", pen, y + 3);
            pen -= 13;
            comma = false;
            continue;
        }
        s_blit(cr, set, glyphs[buf[i] - '0'], pen, y);
        i--;
        count++;
        if (count % 3 == 0) {
            pen -= 14;
            comma = true;
        } else {
            pen -= 18;
        }
    }
}

// The side panel's score, level and lines.
static void s_figures(cairo_t *cr, const AssetSet &set, int score, int level, int lines) {
    s_number(cr, set, score, 595, 154);
    s_number(cr, set, level, 550, 211);
    s_number(cr, set, lines, 550, 267);
}

static const char *s_tileName(int type) {
    static const char *const names[16] = {nullptr, "tile_orange.tga", "tile_yellow.tga", "tile_purple.tga",
                                          "tile_red.tga", "tile_green.tga", "tile_blue.tga", "tile_bear.tga",
                                          "tile_cherries.tga", "tile_chocolate.tga", "tile_grapefruit.tga",
                                          "tile_lifesaver.tga", "tile_peppermint.tga", "tile_worm.tga",
                                          "tile_blocker.tga", "tile_wild.tga"};
    return type > 0 && type < 16 ? names[type] : nullptr;
}

static void s_board(cairo_t *cr, const AssetSet &set, const int board[6][6]) {
    for (int r = 0; r < 6; r++) {
        for (int c = 0; c < 6; c++) {
            int t = board[r][c];
            if (t >= 100) {
                // 100 + frame: an exploding orange, to show the frames in place.
                char name[40];
                snprintf(name, sizeof(name), "anim_tile_orange_ex%02d.tga", t - 100);
                s_blit(cr, set, name, 107 + 42 * c, 101 + 42 * r);
            } else if (s_tileName(t)) {
                s_blit(cr, set, s_tileName(t), 107 + 42 * c, 101 + 42 * r);
            }
        }
    }
}

// all: the side bar as after the tutorial (else only exit and the logos);
// the restart button hides on the title screen, the pause button shows
// its resume pair while paused.
static void s_sideButtons(cairo_t *cr, const AssetSet &set, bool all, const char *lit, bool onTitle = false,
                          bool paused = false) {
    struct {
        const char *stem;
        int x, y;
        bool always;
    } buttons[] = {{"icon_pause", 452, 315, false},     {"icon_options", 473, 347, false},
                   {"icon_highscores", 451, 375, false}, {"icon_restart", 470, 419, false},
                   {"icon_exit", 504, 445, true},       {"logo", 1, 443, true},
                   {"partnerlogo", 252, 442, true}};
    for (const auto &b : buttons) {
        if ((!all && !b.always) || (onTitle && strcmp(b.stem, "icon_restart") == 0)) {
            continue;
        }
        const char *stem = paused && strcmp(b.stem, "icon_pause") == 0 ? "icon_resume" : b.stem;
        std::string name = std::string(stem) + (lit && strcmp(lit, stem) == 0 ? "_lit.tga" : ".tga");
        s_blit(cr, set, name.c_str(), b.x, b.y);
    }
}

// 5-6-5 with the 2x2 ordered dither the game's screen uses.
static void s_reduce565(AssetCanvas &cv) {
    cairo_surface_flush(cv.surface());
    uint8_t *data = cairo_image_surface_get_data(cv.surface());
    int stride = cairo_image_surface_get_stride(cv.surface());
    static const double bayer[4] = {0.125, 0.625, 0.875, 0.375};
    for (int y = 0; y < cv.height(); y++) {
        for (int x = 0; x < cv.width(); x++) {
            uint8_t *p = data + y * stride + x * 4;
            double d = bayer[(y & 1) * 2 + (x & 1)];
            const int bits[3] = {5, 6, 5};   // b, g, r in memory order
            for (int c = 0; c < 3; c++) {
                int levels = (1 << bits[c]) - 1;
                int q = int(p[c] / 255.0 * levels + d - 0.5 + 0.5);
                q = std::min(levels, std::max(0, q));
                p[c] = uint8_t(q * 255 / levels);
            }
        }
    }
    cairo_surface_mark_dirty(cv.surface());
}

static bool s_save(AssetCanvas &cv, const std::string &dir, const char *name, bool also565) {
    bool ok = cv.savePng(dir + "/" + name + ".png");
    if (also565) {
        s_reduce565(cv);
        ok = cv.savePng(dir + "/" + name + "_565.png") && ok;
    }
    return ok;
}

static bool s_mockups(const AssetSet &set, const std::string &dir) {
    bool ok = true;
    const int playBoard[6][6] = {{1, 2, 3, 4, 5, 6},  {6, 14, 2, 1, 3, 4}, {3, 4, 0, 6, 15, 2},
                                 {5, 1, 6, 2, 4, 3},  {2, 3, 5, 14, 6, 1}, {4, 6, 1, 3, 2, 5}};
    {
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_board(cr, set, playBoard);
        s_figures(cr, set, 1234567, 14, 3);
        int barRight = kTimeBarLeft + int(kTimeBarLength * 0.62);
        s_blitPart(cr, set, "timer.tga", kTimeBarLeft, kTimeBarTop, barRight - kTimeBarLeft);
        s_blit(cr, set, "bites01.tga", barRight, kTimeBarTop);
        s_sideButtons(cr, set, true, "icon_highscores");
        s_blit(cr, set, "cursor.tga", 560, 392);
        ok = s_save(cv, dir, "screen_play", true) && ok;
    }
    {
        const int bonusBoard[6][6] = {{7, 8, 9, 10, 11, 12}, {13, 7, 8, 9, 10, 11}, {12, 13, 14, 7, 0, 9},
                                      {10, 11, 12, 13, 7, 8}, {9, 15, 11, 12, 13, 14}, {8, 9, 10, 11, 12, 13}};
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_board(cr, set, bonusBoard);
        s_figures(cr, set, 98765, 37, 8);
        s_blitPart(cr, set, "timer.tga", kTimeBarLeft, kTimeBarTop, 120);
        s_blit(cr, set, "bites02.tga", kTimeBarLeft + 120, kTimeBarTop);
        s_sideButtons(cr, set, true, "icon_pause");
        ok = s_save(cv, dir, "screen_bonus_sweets", true) && ok;
    }
    {
        const int exploding[6][6] = {{1, 2, 3, 4, 5, 6},  {100, 101, 102, 103, 104, 105}, {106, 107, 108, 109, 110, 2},
                                     {5, 1, 6, 2, 4, 3},  {2, 3, 5, 14, 6, 1}, {4, 6, 1, 3, 2, 0}};
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_board(cr, set, exploding);
        s_sideButtons(cr, set, true, nullptr);
        ok = s_save(cv, dir, "screen_explosion_frames", false) && ok;
    }
    {
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "info_start.jpg", 23, 17);
        s_blit(cr, set, "icon_click_to_start_lit.tga", 114, 388);
        s_sideButtons(cr, set, true, nullptr, true);
        s_figures(cr, set, 0, 1, 2);
        ok = s_save(cv, dir, "screen_title", true) && ok;
    }
    {
        // Paused: the tray is covered, the clock and the figures stay.
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "pause.jpg", 23, 17);
        s_sideButtons(cr, set, true, "icon_resume", false, true);
        s_figures(cr, set, 4321, 5, 4);
        ok = s_save(cv, dir, "screen_pause", true) && ok;
    }
    {
        const int tut[6][6] = {{1, 1, 1, 0, 1, 1}, {2, 3, 3, 1, 1, 3}, {1, 2, 3, 3, 1, 2},
                               {3, 2, 1, 1, 3, 1}, {1, 2, 3, 1, 2, 3}, {1, 2, 1, 3, 2, 3}};
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_board(cr, set, tut);
        s_figures(cr, set, 0, 1, 2);
        s_blit(cr, set, "tutorial_4.jpg", 60, 355);
        // The hand is added onto the screen by the game.
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        s_blit(cr, set, "tutorial_hand.tga", 184, 87);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        s_sideButtons(cr, set, false, nullptr);
        ok = s_save(cv, dir, "screen_tutorial", false) && ok;
    }
    {
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_blit(cr, set, "time_bonus.tga", 151, 172);
        s_number(cr, set, 4560, 23 + (420 + 18 * (5 / 2)) / 2, 210);
        s_blit(cr, set, "level.tga", 100, 300);
        s_number(cr, set, 12, 100 + 64 + 18 * 2, 300);
        s_blit(cr, set, "startlevel_bonus.tga", 143, 110);
        s_blitPart(cr, set, "timer.tga", kTimeBarLeft, kTimeBarTop, 300);
        s_blit(cr, set, "bites00.tga", kTimeBarLeft + 300, kTimeBarTop);
        s_sideButtons(cr, set, true, "icon_exit");
        ok = s_save(cv, dir, "screen_captions", false) && ok;
    }
    struct Dialog {
        const char *file, *png;
        int x, y;
        std::vector<std::pair<const char *, std::pair<int, int>>> items;
    };
    const std::vector<Dialog> dialogs = {
        {"options_dialog.jpg", "dialog_options", 100, 20,
         {{"options_icon_ok.tga", {188, 384}}, {"options_icon_on.tga", {110, 138}},
          {"options_icon_off_lit.tga", {114, 183}}, {"options_icon_off.tga", {178, 222}},
          {"options_icon_on.tga", {115, 326}}, {"options_icon_space.tga", {302, 96}},
          {"options_icon_startlevel.tga", {15, 265}}, {"options_icon_1.tga", {19, 291}},
          {"options_icon_6_lit.tga", {46, 291}}, {"options_icon_10.tga", {87, 291}},
          {"options_icon_14.tga", {135, 291}}, {"options_icon_18.tga", {185, 291}},
          {"options_icon_22.tga", {231, 291}}}},
        {"highscores.jpg", "dialog_highscores", 23, 17,
         {{"highscores_ok.tga", {290, 378}}, {"highscores_clearall_lit.tga", {60, 378}}}},
        {"gameover.jpg", "dialog_gameover", 23, 17, {{"icon_continue.tga", {101, 293}}}},
        {"entername.jpg", "dialog_entername", 23, 17, {{"icon_ok_lit.tga", {179, 366}}}},
        {"highscores_areyousure.jpg", "dialog_clear_question", 160, 160,
         {{"highscores_areyousure_yes.tga", {60, 112}}, {"highscores_areyousure_no_lit.tga", {180, 112}}}},
        {"restart_areyousure.jpg", "dialog_restart_question", 160, 160,
         {{"restart_areyousure_OK.tga", {60, 112}}, {"restart_areyousure_CANCEL.tga", {180, 112}}}},
    };
    for (const Dialog &d : dialogs) {
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "background.jpg", 0, 0);
        s_blit(cr, set, "arena.jpg", 23, 17);
        s_board(cr, set, playBoard);
        s_sideButtons(cr, set, true, nullptr);
        s_blit(cr, set, d.file, d.x, d.y);
        for (const auto &it : d.items) {
            s_blit(cr, set, it.first, d.x + it.second.first, d.y + it.second.second);
        }
        // Sample lines in the 8x12 text font.
        const AssetCanvas *font = set.find("font.tga");
        auto line = [&](const char *s, int x, int y) {
            for (int i = 0; s[i]; i++) {
                int code = (unsigned char)s[i];
                cairo_save(cr);
                cairo_rectangle(cr, x + i * 8, y, 8, 12);
                cairo_clip(cr);
                cairo_set_source_surface(cr, font->surface(), x + i * 8 - (code % 16) * 8, y - (code / 16 - 1) * 12);
                cairo_paint(cr);
                cairo_restore(cr);
            }
        };
        if (strcmp(d.png, "dialog_highscores") == 0) {
            const char *names[5] = {"Marzipan Mo", "Toffee Tilly", "Fudge", "Sherbet Sam", "Liquorice Lu"};
            const char *scores[5] = {"1234567", "456789", "98765", "4321", "120"};
            const char *levels[5] = {"38", "22", "14", "6", "2"};
            for (int i = 0; i < 5; i++) {
                int y = d.y + 177 + 44 * i;
                line(names[i], d.x + 33, y);
                line(scores[i], d.x + 338 - 8 * int(strlen(scores[i])), y);
                line(levels[i], d.x + 395 - 8 * int(strlen(levels[i])), y);
            }
        } else if (strcmp(d.png, "dialog_entername") == 0) {
            line("123456", d.x + 212 - 24, d.y + 138);
            line("Bonbon Betty|", d.x + 32, d.y + 273);
        }
        ok = s_save(cv, dir, d.png, strcmp(d.png, "dialog_options") == 0) && ok;
    }
    {
        AssetCanvas cv(640, 480);
        cairo_t *cr = cv.cr();
        s_blit(cr, set, "loading.jpg", 0, 0);
        s_blitPart(cr, set, "progress.tga", 63, 350, 514 * 0.6);
        ok = s_save(cv, dir, "screen_loading", true) && ok;
    }
    return ok;
}

static bool s_previews(const std::string &dir);

bool writePreviews(const std::string &dir) {
    bool ok = s_previews(dir);
    // Fonts go last: cairo's caches must be empty before they are closed.
    art::closeFonts();
    if (ok) {
        printf("assetgen: previews written to %s\n", dir.c_str());
    }
    return ok;
}

static bool s_previews(const std::string &dir) {
    AssetSet set;
    if (!generateAssets(set)) {
        return false;
    }
    std::vector<std::string> tiles, hud, buttons, pictures;
    for (const std::string &n : set.imageNames()) {
        if (n.compare(0, 5, "tile_") == 0 || n.compare(0, 5, "anim_") == 0) {
            tiles.push_back(n);
        } else if (n.find(".jpg") != std::string::npos) {
            pictures.push_back(n);
        } else if (n.find("icon") != std::string::npos || n.find("logo") != std::string::npos ||
                   n.find("_ok") != std::string::npos || n.find("areyousure") != std::string::npos ||
                   n.find("clearall") != std::string::npos) {
            buttons.push_back(n);
        } else {
            hud.push_back(n);
        }
    }
    // Tiles: each sweet followed by its frames, twelve to a row.
    bool ok = s_sheet(set, dir + "/sheet_tiles.png", tiles, 2.0, 1250) &&
              s_sheet(set, dir + "/sheet_hud.png", hud, 2.0, 1250) &&
              s_sheet(set, dir + "/sheet_buttons.png", buttons, 1.0, 1000) &&
              s_sheet(set, dir + "/sheet_pictures.png", pictures, 1.0, 1400) && s_mockups(set, dir);
    return ok;
}
