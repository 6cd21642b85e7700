#include "AssetArt.h"

#include <cmath>
#include <string>

using namespace art;

// One normal/lit pair of the same size.
static void s_pair(AssetSet &set, const std::string &stem, int w, int h, const Colour &c, const char *caption,
                   double size) {
    for (int lit = 0; lit < 2; lit++) {
        std::string name = stem + (lit ? "_lit.tga" : ".tga");
        AssetCanvas *cv = set.image(name, w, h);
        candyButton(cv->cr(), 0, 0, w, h, c, lit != 0, caption, size);
    }
}

// A wordmark on a candy-wrapper ribbon, for the two link buttons.
static void s_logo(AssetSet &set, const std::string &stem, int w, int h, const char *line1, const char *line2,
                   const Colour &c) {
    for (int lit = 0; lit < 2; lit++) {
        std::string name = stem + (lit ? "_lit.tga" : ".tga");
        AssetCanvas *cv = set.image(name, w, h);
        cairo_t *cr = cv->cr();
        Colour body = lit ? lighten(c, 0.25) : c;
        // Wrapper twists at both ends.
        for (int side = 0; side < 2; side++) {
            double x0 = side ? w - 2 : 2, x1 = side ? w - 16 : 16;
            cairo_move_to(cr, x0, 4);
            cairo_line_to(cr, x1, h / 2.0);
            cairo_line_to(cr, x0, h - 4);
            cairo_close_path(cr);
        }
        setColour(cr, lighten(body, 0.3));
        cairo_fill_preserve(cr);
        setColour(cr, darken(body, 0.45));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        roundedRect(cr, 13, 3, w - 26, h - 6, 8);
        cairo_pattern_t *pat = cairo_pattern_create_linear(0, 3, 0, h - 3);
        Colour top = lighten(body, 0.3), bot = darken(body, 0.2);
        cairo_pattern_add_color_stop_rgb(pat, 0, top.r, top.g, top.b);
        cairo_pattern_add_color_stop_rgb(pat, 1, bot.r, bot.g, bot.b);
        cairo_set_source(cr, pat);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(pat);
        setColour(cr, lit ? rgb(255, 250, 200) : darken(body, 0.5));
        cairo_set_line_width(cr, lit ? 2 : 1.3);
        cairo_stroke(cr);
        roundedRect(cr, 20, 5, w - 40, (h - 10) * 0.4, 4);
        cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.5 : 0.35);
        cairo_fill(cr);
        TextStyle st{FONT_BOLD, 15, rgb(255, 255, 255), darken(c, 0.6), 1.6, rgb(0, 0, 0, 0)};
        if (line2) {
            text(cr, st, w / 2.0, h / 2.0 + 1, ALIGN_CENTRE, line1);
            TextStyle small{FONT_CONDENSED_BOLD, 9, rgb(255, 245, 210), rgb(0, 0, 0, 0), 0, rgb(0, 0, 0, 0)};
            text(cr, small, w / 2.0, h - 7.5, ALIGN_CENTRE, line2);
        } else {
            text(cr, st, w / 2.0, h / 2.0 + 5.5, ALIGN_CENTRE, line1);
        }
    }
}

static const Colour kPink = {0.94, 0.33, 0.58, 1};
static const Colour kMint = {0.16, 0.66, 0.62, 1};
static const Colour kOrange = {0.96, 0.52, 0.10, 1};
static const Colour kGrape = {0.56, 0.30, 0.80, 1};
static const Colour kCherry = {0.86, 0.18, 0.22, 1};
static const Colour kLime = {0.36, 0.70, 0.16, 1};
static const Colour kSky = {0.20, 0.52, 0.90, 1};
static const Colour kCocoa = {0.55, 0.32, 0.18, 1};

void drawButtons(AssetSet &set) {
    // The side bar, top to bottom.
    s_pair(set, "icon_pause", 186, 30, kPink, "PAUSE", 15);
    s_pair(set, "icon_resume", 186, 30, kLime, "RESUME", 15);
    s_pair(set, "icon_options", 146, 27, kMint, "OPTIONS", 13);
    s_pair(set, "icon_highscores", 188, 40, kOrange, "HIGH SCORES", 16);
    // Low enough to end inside the board's bottom edge (y 438), lit halo included.
    s_pair(set, "icon_restart", 150, 19, kGrape, "RESTART", 10.5);
    s_pair(set, "icon_exit", 132, 32, kCherry, "EXIT", 15);
    s_logo(set, "logo", 250, 36, "QUORVEX", "sweet games", kCocoa);
    s_logo(set, "partnerlogo", 250, 36, "MORE SWEETS", "games from our friends", kSky);

    // The start caption's lit twin; the un-lit one is printed on the info screens.
    {
        AssetCanvas *cv = set.image("icon_click_to_start_lit.tga", 236, 44);
        candyButton(cv->cr(), 0, 0, 236, 44, kPink, true, "CLICK TO START", 19);
    }

    // Dialog buttons.
    s_pair(set, "icon_continue", 218, 40, kPink, "CONTINUE", 18);
    s_pair(set, "icon_ok", 62, 32, kLime, "OK", 15);
    s_pair(set, "highscores_ok", 70, 32, kLime, "OK", 15);
    s_pair(set, "highscores_clearall", 140, 32, kCherry, "CLEAR ALL", 14);
    s_pair(set, "highscores_areyousure_yes", 80, 32, kCherry, "YES", 15);
    s_pair(set, "highscores_areyousure_no", 80, 32, kLime, "NO", 15);
    s_pair(set, "restart_areyousure_OK", 80, 32, kCherry, "OK", 15);
    s_pair(set, "restart_areyousure_CANCEL", 80, 32, kLime, "CANCEL", 13);
    s_pair(set, "options_icon_ok", 64, 36, kLime, "OK", 16);
    s_pair(set, "options_icon_on", 60, 30, kLime, "ON", 14);
    s_pair(set, "options_icon_off", 60, 30, rgb(150, 130, 140), "OFF", 14);
    s_pair(set, "options_icon_space", 110, 34, kMint, "SPACE", 14);
    s_pair(set, "options_icon_candies", 110, 34, kOrange, "SWEETS", 14);
    {
        AssetCanvas *cv = set.image("options_icon_startlevel.tga", 120, 24);
        TextStyle st = titleStyle(15);
        st.outlineWidth = 1.6;
        text(cv->cr(), st, 2, 18, ALIGN_LEFT, "Start level:");
    }
    static const struct {
        const char *label;
        int width;
    } levels[] = {{"1", 26}, {"6", 38}, {"10", 46}, {"14", 48}, {"18", 44}, {"22", 44}};
    for (const auto &l : levels) {
        s_pair(set, std::string("options_icon_") + l.label, l.width, 26, kSky, l.label, 13);
    }
}
