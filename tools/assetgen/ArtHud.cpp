#include "AssetArt.h"

#include <cmath>
#include <cstdio>

using namespace art;

TextStyle titleStyle(double size) {
    return TextStyle{FONT_BOLD, size, rgb(255, 255, 255), rgb(196, 28, 108), size / 9.0, rgb(90, 20, 50, 0.6)};
}

TextStyle bodyStyle(double size) {
    return TextStyle{FONT_SANS, size, rgb(92, 40, 24), rgb(0, 0, 0, 0), 0, rgb(0, 0, 0, 0)};
}

static TextStyle s_digitStyle(double size) {
    return TextStyle{FONT_BOLD, size, rgb(255, 232, 72), rgb(86, 30, 12), 1.4, rgb(0, 0, 0, 0)};
}

static void s_font(AssetSet &set) {
    // 8x12 cells, 16 to a row, from code 16: yellow with a dark rim so it
    // reads on every dialog picture.
    AssetCanvas *cv = set.image("font.tga", 128, 84);
    cairo_t *cr = cv->cr();
    TextStyle st{FONT_MONO_BOLD, 10.5, rgb(255, 236, 96), rgb(60, 20, 8), 0.9, rgb(0, 0, 0, 0)};
    for (int code = 32; code < 127; code++) {
        int col = code % 16, row = code / 16 - 1;
        char s[2] = {char(code), 0};
        cairo_save(cr);
        cairo_rectangle(cr, col * 8, row * 12, 8, 12);
        cairo_clip(cr);
        text(cr, st, col * 8 + 4, row * 12 + 9, ALIGN_CENTRE, s);
        cairo_restore(cr);
    }
}

static void s_digits(AssetSet &set) {
    static const char *const names[10] = {"zero", "one", "two", "three", "four",
                                          "five", "six", "seven", "eight", "nine"};
    char name[32];
    for (int d = 0; d < 10; d++) {
        snprintf(name, sizeof(name), "font_%s.tga", names[d]);
        AssetCanvas *cv = set.image(name, 18, 18);
        char s[2] = {char('0' + d), 0};
        cairo_t *cr = cv->cr();
        // Ink kept within columns 1-14 so the comma fits after every third digit.
        cairo_rectangle(cr, 1, 0, 14, 18);
        cairo_clip(cr);
        cairo_translate(cr, 8, 0);
        cairo_scale(cr, 1.12, 1);
        TextStyle st = s_digitStyle(18);
        st.outlineWidth = 1.15;
        text(cr, st, 0, 15.5, ALIGN_CENTRE, s);
    }
    AssetCanvas *comma = set.image("font_comma.tga", 12, 15);
    TextStyle cs = s_digitStyle(18);
    cs.outlineWidth = 1.15;
    text(comma->cr(), cs, 5.5, 12.5, ALIGN_CENTRE, ",");
}

static void s_captions(AssetSet &set) {
    // Shown over the empty wells of the tray, so a darker rim than the titles.
    TextStyle st = titleStyle(17);
    st.outline = rgb(120, 16, 64);
    st.outlineWidth = 2.2;
    AssetCanvas *level = set.image("level.tga", 64, 20);
    text(level->cr(), st, 62, 16, ALIGN_RIGHT, "LEVEL");

    TextStyle big = titleStyle(23);
    big.outline = rgb(120, 16, 64);
    big.outlineWidth = 2.6;
    AssetCanvas *tb = set.image("time_bonus.tga", 164, 32);
    big.size = fitSize(tb->cr(), FONT_BOLD, big.size, "TIME BONUS", 164 - 8);
    text(tb->cr(), big, 82, 25, ALIGN_CENTRE, "TIME BONUS");

    TextStyle cond = big;
    cond.font = FONT_CONDENSED_BOLD;
    cond.size = 20;
    AssetCanvas *sb = set.image("startlevel_bonus.tga", 180, 32);
    cond.size = fitSize(sb->cr(), cond.font, cond.size, "START LEVEL BONUS", 180 - 8);
    text(sb->cr(), cond, 90, 24, ALIGN_CENTRE, "START LEVEL BONUS");
}

// The time bar is a long striped candy stick.
static void s_stick(cairo_t *cr, double x, double y, double w, double h, bool roundLeft) {
    cairo_save(cr);
    cairo_new_path(cr);
    if (roundLeft) {
        roundedRect(cr, x, y, w + h, h, h / 2);
    } else {
        cairo_rectangle(cr, x, y, w, h);
    }
    cairo_clip(cr);
    stripes(cr, x - 40, y, w + 80, h, rgb(255, 250, 240), rgb(236, 36, 96), 6, 0.9);
    cairo_pattern_t *shade = cairo_pattern_create_linear(0, y, 0, y + h);
    cairo_pattern_add_color_stop_rgba(shade, 0, 1, 1, 1, 0.55);
    cairo_pattern_add_color_stop_rgba(shade, 0.35, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 0.7, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.3, 0, 0.1, 0.45);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
}

static void s_timer(AssetSet &set) {
    AssetCanvas *cv = set.image("timer.tga", kTimeBarLength, kTimeBarHeight);
    cairo_t *cr = cv->cr();
    cairo_rectangle(cr, 0, 0, kTimeBarLength, kTimeBarHeight);
    cairo_clip(cr);
    s_stick(cr, 1, 1, 380, 22, true);
    cairo_new_path(cr);
    roundedRect(cr, 1.5, 1.5, 400, 21, 10.5);
    cairo_set_source_rgb(cr, 0.55, 0.05, 0.2);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);

    // Bites: the chewed end of the stick, three chewing poses.
    for (int f = 0; f < 3; f++) {
        char name[32];
        snprintf(name, sizeof(name), "bites%02d.tga", f);
        AssetCanvas *b = set.image(name, kBitesWidth, kTimeBarHeight);
        cairo_t *bc = b->cr();
        cairo_new_path(bc);
        // Solid candy, then tooth-shaped bites cut out of the right edge.
        cairo_rectangle(bc, 0, 1, 10, 22);
        cairo_clip(bc);
        s_stick(bc, -2, 1, 14, 22, false);
        cairo_reset_clip(bc);
        cairo_set_operator(bc, CAIRO_OPERATOR_CLEAR);
        double off = f * 2.5;
        for (int i = -1; i < 4; i++) {
            double cy = 3 + i * 7 + off;
            cairo_arc(bc, 11.5 - (i & 1) * 2, cy, 4.6, 0, 2 * M_PI);
            cairo_fill(bc);
        }
        cairo_set_operator(bc, CAIRO_OPERATOR_OVER);
        // Crumbs at the bite.
        cairo_set_source_rgba(bc, 0.93, 0.15, 0.4, 0.9);
        cairo_arc(bc, 8 - f, 19 - f * 5, 1.0, 0, 2 * M_PI);
        cairo_fill(bc);
        cairo_set_source_rgba(bc, 1, 1, 1, 0.9);
        cairo_arc(bc, 7 + f, 6 + f * 4, 0.8, 0, 2 * M_PI);
        cairo_fill(bc);
    }
}

static void s_progress(AssetSet &set) {
    AssetCanvas *cv = set.image("progress.tga", 514, 20);
    cairo_t *cr = cv->cr();
    cairo_new_path(cr);
    roundedRect(cr, 0.5, 0.5, 513, 19, 9.5);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_new_path(cr);
    stripes(cr, 0, 0, 514, 20, rgb(255, 200, 60), rgb(255, 130, 30), 8, -0.8);
    cairo_pattern_t *shade = cairo_pattern_create_linear(0, 0, 0, 20);
    cairo_pattern_add_color_stop_rgba(shade, 0, 1, 1, 1, 0.6);
    cairo_pattern_add_color_stop_rgba(shade, 0.4, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 1, 0.5, 0.1, 0, 0.35);
    cairo_set_source(cr, shade);
    cairo_paint(cr);
    cairo_pattern_destroy(shade);
    cairo_restore(cr);
    roundedRect(cr, 0.5, 0.5, 513, 19, 9.5);
    cairo_set_source_rgb(cr, 0.6, 0.25, 0.05);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

static void s_cursor(AssetSet &set) {
    AssetCanvas *cv = set.image("cursor.tga", 20, 28);
    cairo_t *cr = cv->cr();
    // Tip exactly at pixel (0, 0): the hot spot.
    cairo_move_to(cr, 0.6, 0.6);
    cairo_line_to(cr, 0.6, 21);
    cairo_line_to(cr, 5.5, 16.5);
    cairo_line_to(cr, 9.5, 25.5);
    cairo_line_to(cr, 13, 24);
    cairo_line_to(cr, 9, 15.5);
    cairo_line_to(cr, 15.5, 15.5);
    cairo_close_path(cr);
    cairo_pattern_t *pat = cairo_pattern_create_linear(0, 0, 12, 24);
    cairo_pattern_add_color_stop_rgb(pat, 0, 1, 1, 1);
    cairo_pattern_add_color_stop_rgb(pat, 1, 1, 0.8, 0.88);
    cairo_set_source(cr, pat);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pat);
    cairo_set_source_rgb(cr, 0.45, 0.05, 0.2);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_set_source_rgb(cr, 0.45, 0.05, 0.2);
    cairo_fill(cr);
}

// The hand in local units: the fingertip at the origin, the pointing
// finger along -y, the three folded fingers beside it as knuckles, the
// thumb out to the other side, the cuff at the wrist.

// A capsule from (x0, y0) to (x1, y1), as one closed sub-path.
static void s_capsule(cairo_t *cr, double x0, double y0, double x1, double y1, double width) {
    const double dx = x1 - x0, dy = y1 - y0;
    cairo_save(cr);
    cairo_translate(cr, x0, y0);
    cairo_rotate(cr, atan2(dy, dx));
    roundedRect(cr, -width / 2, -width / 2, sqrt(dx * dx + dy * dy) + width, width, width / 2);
    cairo_restore(cr);
}

// Tops of the three folded fingers, from the pointing finger outward.
static const double kKnuckleTop[3] = {15, 17, 20.5};

// The silhouette: overlapping rounded parts, filled together.
static void s_handShape(cairo_t *cr) {
    cairo_new_path(cr);
    roundedRect(cr, -4.5, 0, 9, 32, 4.5);           // pointing finger
    for (int i = 0; i < 3; i++) {                   // folded fingers
        roundedRect(cr, 3.5 + i * 7.5, kKnuckleTop[i], 8, 22, 4);
    }
    roundedRect(cr, -5, 26, 32, 19, 7);             // palm
    s_capsule(cr, -3, 36, -10, 25, 8);              // thumb
    roundedRect(cr, -2, 43, 27, 8, 2);              // cuff
}

// The lines cut out of it: the nail, the gaps between the fingers, the
// thumb's crease and the cuff seam.
static void s_handLines(cairo_t *cr) {
    cairo_new_path(cr);
    cairo_move_to(cr, -2, 7);
    cairo_line_to(cr, -2, 4);
    cairo_arc(cr, 0, 4, 2, M_PI, 2 * M_PI);
    cairo_line_to(cr, 2, 7);
    for (int i = 0; i < 3; i++) {
        const double x = 4 + i * 7.5;
        cairo_move_to(cr, x, kKnuckleTop[i] + 2.5);
        cairo_line_to(cr, x, 30);
    }
    cairo_move_to(cr, -4.5, 31);
    cairo_line_to(cr, -1, 36);
    cairo_move_to(cr, -1.5, 43);
    cairo_line_to(cr, 24.5, 43);
}

static void s_hand(AssetSet &set) {
    // Added onto the screen by the game with a pulsing strength: it can only
    // lighten, and on the pale arena anything light turns white at the peak.
    // So the hand is one solid light silhouette whose lines are cut out of
    // it: what shows through them is the screen beneath, which keeps the
    // finger, fist and thumb apart however white the rest turns. A thin gap
    // and a faint glow outside the rim carry the outline. The game puts the
    // top-left 49 px left of and 56 px above the target cell; the fingertip
    // ends near the cell's middle.
    AssetCanvas *cv = set.image("tutorial_hand.tga", 96, 96);
    cairo_t *cr = cv->cr();
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_translate(cr, 68, 74);
    cairo_rotate(cr, 3 * M_PI / 4);     // local -y (the finger) points down-right
    cairo_scale(cr, 1.3, 1.3);
    cairo_push_group(cr);
    // The solid silhouette, then its lines cut out.
    s_handShape(cr);
    cairo_set_source_rgb(cr, 1, 0.97, 0.88);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_set_line_width(cr, 2);
    s_handLines(cr);
    cairo_stroke(cr);
    cairo_pop_group_to_source(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_paint(cr);
}

void drawHud(AssetSet &set) {
    s_font(set);
    s_digits(set);
    s_captions(set);
    s_timer(set);
    s_progress(set);
    s_cursor(set);
    s_hand(set);
}
