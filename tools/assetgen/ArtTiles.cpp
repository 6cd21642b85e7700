#include "AssetArt.h"

#include <cmath>
#include <cstdio>

using namespace art;

Colour sweetColour(int type) {
    switch (type) {
    case TILE_ORANGE:     return rgb(255, 136, 16);
    case TILE_YELLOW:     return rgb(255, 222, 24);
    case TILE_PURPLE:     return rgb(146, 60, 214);
    case TILE_RED:        return rgb(232, 24, 48);
    case TILE_GREEN:      return rgb(56, 196, 56);
    case TILE_BLUE:       return rgb(32, 112, 248);
    case TILE_BEAR:       return rgb(236, 64, 140);
    case TILE_CHERRIES:   return rgb(196, 8, 40);
    case TILE_CHOCOLATE:  return rgb(122, 66, 32);
    case TILE_GRAPEFRUIT: return rgb(255, 112, 88);
    case TILE_LIFESAVER:  return rgb(48, 208, 200);
    case TILE_PEPPERMINT: return rgb(240, 240, 240);
    case TILE_WORM:       return rgb(160, 232, 40);
    case TILE_BLOCKER:    return rgb(40, 36, 44);
    default:              return rgb(230, 30, 40);
    }
}

struct Shape {
    int     type;
};

static void s_outline(cairo_t *cr, int type) {
    const double c = kTileSize / 2.0;
    switch (type) {
    case TILE_ORANGE:
        cairo_arc(cr, c, c, 16, 0, 2 * M_PI);
        break;
    case TILE_YELLOW:
        starPath(cr, c, c + 1, 19, 9, 5, 0);
        break;
    case TILE_PURPLE:
        roundedRect(cr, c - 15, c - 15, 30, 30, 7);
        break;
    case TILE_RED:
        heartPath(cr, c, c + 1, 17);
        break;
    case TILE_GREEN:
        leafPath(cr, c, c, 17);
        break;
    case TILE_BLUE:
        cairo_move_to(cr, c, c - 19);
        cairo_line_to(cr, c + 16, c);
        cairo_line_to(cr, c, c + 19);
        cairo_line_to(cr, c - 16, c);
        cairo_close_path(cr);
        break;
    case TILE_BLOCKER:
        // A kidney-shaped jelly bean lying on its side.
        cairo_move_to(cr, c - 16, c + 2);
        cairo_curve_to(cr, c - 18, c - 10, c - 6, c - 14, c, c - 8);
        cairo_curve_to(cr, c + 6, c - 14, c + 18, c - 12, c + 17, c + 1);
        cairo_curve_to(cr, c + 16, c + 13, c - 14, c + 15, c - 16, c + 2);
        cairo_close_path(cr);
        break;
    default:
        cairo_arc(cr, c, c, 16, 0, 2 * M_PI);
        break;
    }
}

static void s_shapePath(cairo_t *cr, void *user) {
    s_outline(cr, static_cast<Shape *>(user)->type);
}

static void s_simpleSweet(cairo_t *cr, int type) {
    Shape s{type};
    softShadow(cr, s_shapePath, &s, 1.5, 2.0, 0.55);
    cairo_new_path(cr);
    s_outline(cr, type);
    glossyFill(cr, sweetColour(type), 21, 21, 18);
    cairo_new_path(cr);
    // Each shape gets a little detail of its own on top of the gloss.
    if (type == TILE_ORANGE) {
        // Sugar dimples of a round fruit drop.
        cairo_set_source_rgba(cr, 0.6, 0.25, 0, 0.35);
        for (int i = 0; i < 6; i++) {
            double a = i * M_PI / 3 + 0.4;
            cairo_arc(cr, 21 + 9 * cos(a), 22 + 9 * sin(a), 1.1, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    } else if (type == TILE_PURPLE) {
        cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
        roundedRect(cr, 12, 12, 18, 18, 4);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
    } else if (type == TILE_GREEN) {
        cairo_move_to(cr, 8, 33);
        cairo_curve_to(cr, 14, 24, 22, 15, 33, 9);
        cairo_set_source_rgba(cr, 0.1, 0.4, 0.05, 0.6);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    } else if (type == TILE_BLUE) {
        cairo_move_to(cr, 21, 4);
        cairo_line_to(cr, 21, 38);
        cairo_move_to(cr, 6, 21);
        cairo_line_to(cr, 36, 21);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    double hx = 15, hy = 13, rx = 7, ry = 4.5;
    if (type == TILE_YELLOW) { hx = 17; hy = 15; rx = 5; ry = 3.5; }
    if (type == TILE_RED) { hx = 13; hy = 13; rx = 5; ry = 3.5; }
    if (type == TILE_BLOCKER) { hx = 13; hy = 16; rx = 6; ry = 2.5; }
    if (type == TILE_GREEN) { hx = 16; hy = 16; rx = 6; ry = 3; }
    highlight(cr, hx, hy, rx, ry, type == TILE_BLOCKER ? 0.6 : 0.85);
}

static void s_circlePath(cairo_t *cr, void *user) {
    const double *v = static_cast<const double *>(user);
    cairo_arc(cr, v[0], v[1], v[2], 0, 2 * M_PI);
}

static void s_bearPath(cairo_t *cr, void *) {
    cairo_arc(cr, 21, 12, 8, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 14.5, 6, 3.5, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 27.5, 6, 3.5, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_save(cr);
    cairo_translate(cr, 21, 27);
    cairo_scale(cr, 9.5, 10.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 11, 22, 3.5, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 31, 22, 3.5, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 14, 36, 4, 0, 2 * M_PI);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 28, 36, 4, 0, 2 * M_PI);
}

static void s_bear(cairo_t *cr) {
    softShadow(cr, s_bearPath, nullptr, 1.5, 2, 0.5);
    cairo_new_path(cr);
    s_bearPath(cr, nullptr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    glossyFill(cr, sweetColour(TILE_BEAR), 21, 21, 18);
    cairo_new_path(cr);
    // Face and tummy.
    cairo_set_source_rgba(cr, 0.45, 0.05, 0.2, 0.85);
    cairo_arc(cr, 18, 11, 1.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 24, 11, 1.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_arc(cr, 21, 14.5, 1.4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.28);
    cairo_save(cr);
    cairo_translate(cr, 21, 28);
    cairo_scale(cr, 5, 6);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_fill(cr);
    highlight(cr, 17, 8, 4, 2.5, 0.8);
    highlight(cr, 16, 22, 3, 4, 0.5);
}

static void s_cherries(cairo_t *cr) {
    // Stems and a leaf first, then the two cherries.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 12, 28);
    cairo_curve_to(cr, 14, 18, 20, 9, 26, 5);
    cairo_move_to(cr, 29, 30);
    cairo_curve_to(cr, 29, 20, 27, 11, 26, 5);
    cairo_set_source_rgb(cr, 0.16, 0.5, 0.1);
    cairo_set_line_width(cr, 2.2);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 31, 7);
    cairo_rotate(cr, -0.3);
    leafPath(cr, 0, 0, 5.5);
    cairo_restore(cr);
    glossyFill(cr, rgb(70, 180, 50), 31, 7, 6);
    cairo_new_path(cr);
    const double a[3] = {12, 29, 9.5}, b[3] = {29, 31, 9.5};
    softShadow(cr, s_circlePath, const_cast<double *>(a), 1.5, 2, 0.5);
    softShadow(cr, s_circlePath, const_cast<double *>(b), 1.5, 2, 0.5);
    cairo_arc(cr, a[0], a[1], a[2], 0, 2 * M_PI);
    glossyFill(cr, sweetColour(TILE_CHERRIES), a[0], a[1], a[2]);
    cairo_new_path(cr);
    cairo_arc(cr, b[0], b[1], b[2], 0, 2 * M_PI);
    glossyFill(cr, sweetColour(TILE_CHERRIES), b[0], b[1], b[2]);
    cairo_new_path(cr);
    highlight(cr, 9, 25, 3.5, 2.5, 0.9);
    highlight(cr, 26, 27, 3.5, 2.5, 0.9);
}

static void s_chocolate(cairo_t *cr) {
    void (*path)(cairo_t *, void *) = [](cairo_t *c, void *) { roundedRect(c, 5, 7, 32, 28, 3); };
    softShadow(cr, path, nullptr, 1.5, 2, 0.55);
    cairo_new_path(cr);
    path(cr, nullptr);
    glossyFill(cr, sweetColour(TILE_CHOCOLATE), 21, 21, 20);
    cairo_new_path(cr);
    // Three by two squares with bevelled edges.
    for (int r = 0; r < 2; r++) {
        for (int c = 0; c < 3; c++) {
            double x = 8 + c * 9.2, y = 10 + r * 11;
            roundedRect(cr, x, y, 7.8, 9.5, 1.5);
            cairo_set_source_rgb(cr, 0.36, 0.19, 0.08);
            cairo_fill_preserve(cr);
            cairo_set_source_rgba(cr, 0.9, 0.6, 0.4, 0.55);
            cairo_set_line_width(cr, 0.9);
            cairo_stroke(cr);
        }
    }
    highlight(cr, 14, 11, 6, 2, 0.5);
}

static void s_grapefruit(cairo_t *cr) {
    const double v[3] = {21, 21, 17};
    softShadow(cr, s_circlePath, const_cast<double *>(v), 1.5, 2, 0.5);
    cairo_arc(cr, 21, 21, 17, 0, 2 * M_PI);
    glossyFill(cr, rgb(255, 196, 40), 21, 21, 17);     // rind
    cairo_new_path(cr);
    cairo_arc(cr, 21, 21, 14.5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1, 0.95, 0.85);
    cairo_fill(cr);
    for (int i = 0; i < 8; i++) {
        double a0 = i * M_PI / 4 + 0.07, a1 = (i + 1) * M_PI / 4 - 0.07;
        cairo_move_to(cr, 21 + 2 * cos((a0 + a1) / 2), 21 + 2 * sin((a0 + a1) / 2));
        cairo_arc(cr, 21, 21, 13, a0, a1);
        cairo_close_path(cr);
    }
    Colour flesh = sweetColour(TILE_GRAPEFRUIT);
    cairo_pattern_t *pat = cairo_pattern_create_radial(21, 21, 2, 21, 21, 14);
    cairo_pattern_add_color_stop_rgb(pat, 0, 1, 0.65, 0.55);
    cairo_pattern_add_color_stop_rgb(pat, 1, flesh.r * 0.9, flesh.g * 0.8, flesh.b * 0.8);
    cairo_set_source(cr, pat);
    cairo_fill(cr);
    cairo_pattern_destroy(pat);
    highlight(cr, 15, 13, 6, 3.5, 0.6);
}

static void s_lifesaver(cairo_t *cr) {
    void (*ring)(cairo_t *, void *) = [](cairo_t *c, void *) {
        cairo_arc(c, 21, 21, 17, 0, 2 * M_PI);
        cairo_new_sub_path(c);
        cairo_arc_negative(c, 21, 21, 6.5, 2 * M_PI, 0);
    };
    softShadow(cr, ring, nullptr, 1.5, 2, 0.5);
    cairo_new_path(cr);
    ring(cr, nullptr);
    glossyFill(cr, sweetColour(TILE_LIFESAVER), 21, 21, 17);
    cairo_new_path(cr);
    // Ridges round the ring.
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 16; i++) {
        double a = i * M_PI / 8;
        cairo_move_to(cr, 21 + 9 * cos(a), 21 + 9 * sin(a));
        cairo_line_to(cr, 21 + 15 * cos(a), 21 + 15 * sin(a));
    }
    cairo_stroke(cr);
    highlight(cr, 14, 12, 5, 3, 0.85);
}

static void s_peppermint(cairo_t *cr) {
    // Twisted wrapper ends, then the white disc with red swirls.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, 21 + side * 13, 21);
        cairo_line_to(cr, 21 + side * 20.5, 13);
        cairo_line_to(cr, 21 + side * 20.5, 29);
        cairo_close_path(cr);
    }
    cairo_set_source_rgba(cr, 0.85, 0.95, 1, 0.85);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.4, 0.55, 0.7, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    const double v[3] = {21, 21, 14};
    softShadow(cr, s_circlePath, const_cast<double *>(v), 1.5, 2, 0.5);
    cairo_arc(cr, 21, 21, 14, 0, 2 * M_PI);
    glossyFill(cr, sweetColour(TILE_PEPPERMINT), 21, 21, 14);
    cairo_new_path(cr);
    for (int i = 0; i < 6; i++) {
        double a = i * M_PI / 3;
        cairo_move_to(cr, 21, 21);
        cairo_arc(cr, 21, 21, 13.2, a, a + M_PI / 6);
        cairo_close_path(cr);
    }
    cairo_set_source_rgb(cr, 0.9, 0.08, 0.12);
    cairo_fill(cr);
    cairo_arc(cr, 21, 21, 3, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    highlight(cr, 15, 14, 6, 3.5, 0.7);
}

// The drop shadow under a stroked sweet: its path drawn round-capped, a
// little down and to the right, in translucent brown.
static void s_strokeShadow(cairo_t *cr, void (*path)(cairo_t *, void *), double width) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_translate(cr, 1.5, 2);
    path(cr, nullptr);
    cairo_set_source_rgba(cr, 0.25, 0.08, 0.05, 0.35);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    cairo_restore(cr);
}

static void s_wormPath(cairo_t *cr, void *) {
    cairo_move_to(cr, 6, 30);
    cairo_curve_to(cr, 10, 14, 18, 36, 24, 20);
    cairo_curve_to(cr, 28, 10, 33, 12, 36, 10);
}

static void s_worm(cairo_t *cr) {
    s_strokeShadow(cr, s_wormPath, 11);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    s_wormPath(cr, nullptr);
    cairo_set_source_rgb(cr, 0.3, 0.45, 0.05);
    cairo_set_line_width(cr, 10.5);
    cairo_stroke(cr);
    // Two-colour gummy: lime tail fading into orange head.
    s_wormPath(cr, nullptr);
    cairo_pattern_t *pat = cairo_pattern_create_linear(6, 0, 36, 0);
    cairo_pattern_add_color_stop_rgb(pat, 0.0, 0.63, 0.91, 0.16);
    cairo_pattern_add_color_stop_rgb(pat, 0.45, 0.63, 0.91, 0.16);
    cairo_pattern_add_color_stop_rgb(pat, 0.6, 1.0, 0.55, 0.1);
    cairo_pattern_add_color_stop_rgb(pat, 1.0, 1.0, 0.5, 0.1);
    cairo_set_source(cr, pat);
    cairo_set_line_width(cr, 8.5);
    cairo_stroke(cr);
    cairo_pattern_destroy(pat);
    s_wormPath(cr, nullptr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_set_line_width(cr, 2.5);
    cairo_save(cr);
    cairo_translate(cr, -1, -2);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    // Eyes on the head.
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, 34, 8.5, 2.2, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.1, 0.05, 0.05);
    cairo_arc(cr, 34.6, 8.5, 1.1, 0, 2 * M_PI);
    cairo_fill(cr);
}

static void s_candyCanePath(cairo_t *cr, void *) {
    cairo_move_to(cr, 13, 37);
    cairo_line_to(cr, 25, 14);
    cairo_arc(cr, 19.5, 11, 6.5, 0.4, M_PI + 0.4);
}

static void s_wild(cairo_t *cr) {
    s_strokeShadow(cr, s_candyCanePath, 9);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    s_candyCanePath(cr, nullptr);
    cairo_set_source_rgb(cr, 0.55, 0.1, 0.12);
    cairo_set_line_width(cr, 8.5);
    cairo_stroke(cr);
    s_candyCanePath(cr, nullptr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 6.5);
    cairo_stroke_preserve(cr);
    // Red stripes: a dashed stroke along the same path.
    double dash[2] = {3.2, 3.2};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, 0.9, 0.06, 0.1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    s_candyCanePath(cr, nullptr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, 1.6);
    cairo_save(cr);
    cairo_translate(cr, -1.2, -0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
    cairo_new_path(cr);
    sparkle(cr, 33, 30, 5, 0.95);
    sparkle(cr, 8, 9, 3.5, 0.8);
}

void drawSweet(cairo_t *cr, int type, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_new_path(cr);
    switch (type) {
    case TILE_BEAR:       s_bear(cr); break;
    case TILE_CHERRIES:   s_cherries(cr); break;
    case TILE_CHOCOLATE:  s_chocolate(cr); break;
    case TILE_GRAPEFRUIT: s_grapefruit(cr); break;
    case TILE_LIFESAVER:  s_lifesaver(cr); break;
    case TILE_PEPPERMINT: s_peppermint(cr); break;
    case TILE_WORM:       s_worm(cr); break;
    case TILE_WILD:       s_wild(cr); break;
    default:              s_simpleSweet(cr, type); break;
    }
    cairo_restore(cr);
}

// Crumbs fly out from the middle and fade; frame 10 is only a faint puff.
static void s_explosionFrame(cairo_t *cr, int type, int frame, bool multicolour, unsigned seed) {
    double p = (frame + 1) / 11.0;
    const double c = kTileSize / 2.0;
    // The sweet itself splits into four pieces for the first frames.
    if (type > 0 && frame < 4) {
        double d = 2 + frame * 3.0;
        double fade = 1.0 - frame * 0.22;
        for (int q = 0; q < 4; q++) {
            double sx = (q & 1) ? 1 : -1, sy = (q & 2) ? 1 : -1;
            cairo_save(cr);
            cairo_translate(cr, sx * d, sy * d);
            cairo_translate(cr, c, c);
            cairo_rotate(cr, sx * sy * frame * 0.12);
            cairo_scale(cr, 1.0 - frame * 0.12, 1.0 - frame * 0.12);
            cairo_translate(cr, -c, -c);
            cairo_rectangle(cr, sx > 0 ? c : 0, sy > 0 ? c : 0, c, c);
            cairo_clip(cr);
            cairo_push_group(cr);
            drawSweet(cr, type, 0, 0);
            cairo_pop_group_to_source(cr);
            cairo_paint_with_alpha(cr, fade);
            cairo_restore(cr);
        }
    }
    if (frame < 4) {
        // A white flash in the middle as it bursts.
        cairo_pattern_t *flash = cairo_pattern_create_radial(c, c, 0, c, c, 10 + frame * 3);
        cairo_pattern_add_color_stop_rgba(flash, 0, 1, 1, 0.9, 0.8 - frame * 0.2);
        cairo_pattern_add_color_stop_rgba(flash, 1, 1, 1, 0.9, 0);
        cairo_set_source(cr, flash);
        cairo_paint(cr);
        cairo_pattern_destroy(flash);
    }
    if (frame == 10) {
        cairo_pattern_t *puff = cairo_pattern_create_radial(c, c, 4, c, c, 19);
        cairo_pattern_add_color_stop_rgba(puff, 0, 1, 1, 1, 0.0);
        cairo_pattern_add_color_stop_rgba(puff, 0.7, 1, 1, 1, 0.16);
        cairo_pattern_add_color_stop_rgba(puff, 1, 1, 1, 1, 0.0);
        cairo_set_source(cr, puff);
        cairo_paint(cr);
        cairo_pattern_destroy(puff);
        sparkle(cr, c + 9, c - 10, 2.5, 0.25);
        return;
    }
    Colour base = type > 0 ? sweetColour(type) : rgb(255, 160, 40);
    if (type == TILE_WILD) {
        base = rgb(235, 20, 30);
    }
    const Colour rainbow[6] = {rgb(255, 136, 16), rgb(255, 222, 24), rgb(146, 60, 214),
                               rgb(232, 24, 48), rgb(56, 196, 56), rgb(32, 112, 248)};
    double alpha = frame < 6 ? 1.0 : 1.0 - (frame - 5) / 5.5;
    unsigned s = seed;
    for (int i = 0; i < 14; i++) {
        s = s * 1664525u + 1013904223u;
        double a = i * 2 * M_PI / 14 + ((s >> 20) & 0xff) / 255.0 * 0.4;
        double speed = 0.75 + ((s >> 12) & 0xff) / 255.0 * 0.5;
        double dist = 4 + 17 * p * speed * (0.7 + 0.3 * ((s >> 4) & 0xff) / 255.0);
        double x = c + dist * cos(a), y = c + dist * sin(a) + p * p * 3;
        double size = (3.8 - p * 2.0) * (0.7 + 0.5 * speed);
        Colour col = multicolour ? rainbow[i % 6] : ((i % 3 == 0) ? lighten(base, 0.45) : base);
        if (type == TILE_WILD && (i & 1)) {
            col = rgb(255, 255, 255);
        }
        if (type == TILE_BLOCKER && i % 3 == 0) {
            col = rgb(120, 110, 130);
        }
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a + p * 4);
        cairo_move_to(cr, -size, -size * 0.6);
        cairo_line_to(cr, size, -size * 0.3);
        cairo_line_to(cr, size * 0.2, size * 0.8);
        cairo_close_path(cr);
        col.a = alpha;
        setColour(cr, col);
        cairo_fill_preserve(cr);
        Colour edge = darken(col, 0.4);
        edge.a = alpha * 0.8;
        setColour(cr, edge);
        cairo_set_line_width(cr, 0.7);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    // Sparkles peak in the middle of the burst.
    double sp = sin(p * M_PI);
    for (int i = 0; i < 4; i++) {
        double a = i * M_PI / 2 + 0.8 + p;
        double dist = 6 + 12 * p;
        sparkle(cr, c + dist * cos(a), c + dist * sin(a), 2 + 3 * sp, 0.95 * sp);
    }
}

void drawTiles(AssetSet &set) {
    static const struct {
        const char *word;
        int type;
    } colours[] = {{"orange", TILE_ORANGE}, {"yellow", TILE_YELLOW}, {"purple", TILE_PURPLE},
                   {"red", TILE_RED},       {"green", TILE_GREEN},   {"blue", TILE_BLUE},
                   {"blocker", TILE_BLOCKER}};
    static const struct {
        const char *word;
        int type;
    } bonuses[] = {{"bear", TILE_BEAR},           {"cherries", TILE_CHERRIES},
                   {"chocolate", TILE_CHOCOLATE}, {"grapefruit", TILE_GRAPEFRUIT},
                   {"lifesaver", TILE_LIFESAVER}, {"peppermint", TILE_PEPPERMINT},
                   {"worm", TILE_WORM}};
    char name[64];
    for (const auto &c : colours) {
        snprintf(name, sizeof(name), "tile_%s.tga", c.word);
        drawSweet(set.image(name, kTileSize, kTileSize)->cr(), c.type, 0, 0);
    }
    for (const auto &b : bonuses) {
        snprintf(name, sizeof(name), "tile_%s.tga", b.word);
        drawSweet(set.image(name, kTileSize, kTileSize)->cr(), b.type, 0, 0);
    }
    drawSweet(set.image("tile_wild.tga", kTileSize, kTileSize)->cr(), TILE_WILD, 0, 0);
    {
        cairo_t *cr = set.image("anim_tile_wild_ex00.tga", kTileSize, kTileSize)->cr();
        s_explosionFrame(cr, TILE_WILD, 7, false, 77);
    }
    for (const auto &c : colours) {
        for (int f = 0; f < 11; f++) {
            snprintf(name, sizeof(name), "anim_tile_%s_ex%02d.tga", c.word, f);
            s_explosionFrame(set.image(name, kTileSize, kTileSize)->cr(), c.type, f, false, unsigned(c.type * 31));
        }
    }
    for (int f = 0; f < 11; f++) {
        snprintf(name, sizeof(name), "anim_tile_generic%02d.tga", f);
        s_explosionFrame(set.image(name, kTileSize, kTileSize)->cr(), 0, f, true, 99);
    }
}
