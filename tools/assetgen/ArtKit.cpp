#include "ArtKit.h"

#include <cairo-ft.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace art {

static const char *const s_fontFiles[FONT_COUNT] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
};

static FT_Library s_library;
static FT_Face s_faces[FONT_COUNT];
static cairo_font_face_t *s_cairoFaces[FONT_COUNT];
static cairo_font_options_t *s_fontOptions;

Colour rgb(int r, int g, int b, double a) {
    return Colour{r / 255.0, g / 255.0, b / 255.0, a};
}

Colour mix(const Colour &c, const Colour &d, double t) {
    return Colour{c.r + (d.r - c.r) * t, c.g + (d.g - c.g) * t, c.b + (d.b - c.b) * t,
                  c.a + (d.a - c.a) * t};
}

Colour lighten(const Colour &c, double t) {
    return mix(c, Colour{1, 1, 1, c.a}, t);
}

Colour darken(const Colour &c, double t) {
    return mix(c, Colour{0, 0, 0, c.a}, t);
}

void setColour(cairo_t *cr, const Colour &c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

bool openFonts() {
    if (s_library) {
        return true;
    }
    if (FT_Init_FreeType(&s_library) != 0) {
        return false;
    }
    for (int i = 0; i < FONT_COUNT; i++) {
        if (FT_New_Face(s_library, s_fontFiles[i], 0, &s_faces[i]) != 0) {
            fprintf(stderr, "assetgen: cannot open font %s\n", s_fontFiles[i]);
            closeFonts();
            return false;
        }
        s_cairoFaces[i] = cairo_ft_font_face_create_for_ft_face(s_faces[i], 0);
    }
    // Fixed rendering options so every machine draws the same pixels.
    s_fontOptions = cairo_font_options_create();
    cairo_font_options_set_antialias(s_fontOptions, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(s_fontOptions, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(s_fontOptions, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_subpixel_order(s_fontOptions, CAIRO_SUBPIXEL_ORDER_DEFAULT);
    return true;
}

void closeFonts() {
    for (int i = 0; i < FONT_COUNT; i++) {
        if (s_cairoFaces[i]) {
            cairo_font_face_destroy(s_cairoFaces[i]);
            s_cairoFaces[i] = nullptr;
        }
    }
    // cairo may hold scaled fonts in its cache; drop them before the faces.
    cairo_debug_reset_static_data();
    for (int i = 0; i < FONT_COUNT; i++) {
        if (s_faces[i]) {
            FT_Done_Face(s_faces[i]);
            s_faces[i] = nullptr;
        }
    }
    if (s_fontOptions) {
        cairo_font_options_destroy(s_fontOptions);
        s_fontOptions = nullptr;
    }
    if (s_library) {
        FT_Done_FreeType(s_library);
        s_library = nullptr;
    }
}

void setFont(cairo_t *cr, Font font, double size) {
    cairo_set_font_face(cr, s_cairoFaces[font]);
    cairo_set_font_size(cr, size);
    cairo_set_font_options(cr, s_fontOptions);
}

double textWidth(cairo_t *cr, Font font, double size, const char *str) {
    setFont(cr, font, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, str, &ext);
    return ext.x_advance;
}

double fitSize(cairo_t *cr, Font font, double size, const char *str, double maxWidth) {
    double w = textWidth(cr, font, size, str);
    return w > maxWidth ? floor(size * maxWidth / w * 4) / 4 : size;
}

double text(cairo_t *cr, const TextStyle &style, double x, double y, Align align, const char *str) {
    setFont(cr, style.font, style.size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, str, &ext);
    double left = x;
    if (align == ALIGN_CENTRE) {
        left = x - ext.x_advance / 2;
    } else if (align == ALIGN_RIGHT) {
        left = x - ext.x_advance;
    }
    cairo_save(cr);
    cairo_new_path(cr);
    if (style.shadow.a > 0) {
        cairo_move_to(cr, left + 1.5, y + 1.5);
        cairo_text_path(cr, str);
        if (style.outline.a > 0) {
            setColour(cr, style.shadow);
            cairo_set_line_width(cr, style.outlineWidth * 2);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke_preserve(cr);
        }
        setColour(cr, style.shadow);
        cairo_fill(cr);
    }
    cairo_move_to(cr, left, y);
    cairo_text_path(cr, str);
    if (style.outline.a > 0) {
        setColour(cr, style.outline);
        cairo_set_line_width(cr, style.outlineWidth * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    setColour(cr, style.fill);
    cairo_fill(cr);
    cairo_restore(cr);
    return ext.x_advance;
}

double paragraph(cairo_t *cr, const TextStyle &style, double x, double y, double width,
                 double lineHeight, Align align, const char *str) {
    std::string line, word;
    double baseline = y;
    bool first = true;
    auto flush = [&]() {
        double ax = align == ALIGN_CENTRE ? x + width / 2 : align == ALIGN_RIGHT ? x + width : x;
        text(cr, style, ax, baseline, align, line.c_str());
        baseline += lineHeight;
        line.clear();
    };
    for (const char *p = str;; p++) {
        if (*p == ' ' || *p == '\n' || *p == '\0') {
            if (!word.empty()) {
                std::string trial = line.empty() ? word : line + " " + word;
                if (!line.empty() && textWidth(cr, style.font, style.size, trial.c_str()) > width) {
                    flush();
                    line = word;
                } else {
                    line = trial;
                }
                word.clear();
            }
            if (*p == '\n') {
                flush();
                baseline += lineHeight * 0.4;     // a little air between paragraphs
                first = false;
            }
            if (*p == '\0') {
                break;
            }
        } else {
            word += *p;
        }
    }
    if (!line.empty() || first) {
        flush();
    }
    return baseline - lineHeight;
}

void roundedRect(cairo_t *cr, double x, double y, double w, double h, double r) {
    if (r > w / 2) r = w / 2;
    if (r > h / 2) r = h / 2;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void starPath(cairo_t *cr, double cx, double cy, double outer, double inner, int points, double rot) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; i++) {
        double r = (i & 1) ? inner : outer;
        double a = rot - M_PI / 2 + i * M_PI / points;
        double px = cx + r * cos(a), py = cy + r * sin(a);
        if (i == 0) {
            cairo_move_to(cr, px, py);
        } else {
            cairo_line_to(cr, px, py);
        }
    }
    cairo_close_path(cr);
}

void heartPath(cairo_t *cr, double cx, double cy, double s) {
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx, cy + s * 0.95);
    cairo_curve_to(cr, cx - s * 0.45, cy + s * 0.55, cx - s * 1.05, cy + s * 0.2, cx - s * 1.0, cy - s * 0.3);
    cairo_curve_to(cr, cx - s * 0.95, cy - s * 0.9, cx - s * 0.2, cy - s * 1.0, cx, cy - s * 0.45);
    cairo_curve_to(cr, cx + s * 0.2, cy - s * 1.0, cx + s * 0.95, cy - s * 0.9, cx + s * 1.0, cy - s * 0.3);
    cairo_curve_to(cr, cx + s * 1.05, cy + s * 0.2, cx + s * 0.45, cy + s * 0.55, cx, cy + s * 0.95);
    cairo_close_path(cr);
}

void leafPath(cairo_t *cr, double cx, double cy, double s) {
    // A pointed leaf leaning right, tip at the top right.
    cairo_new_sub_path(cr);
    cairo_move_to(cr, cx - s * 0.85, cy + s * 0.85);
    cairo_curve_to(cr, cx - s * 1.05, cy - s * 0.25, cx - s * 0.3, cy - s * 0.95, cx + s * 0.95, cy - s * 0.95);
    cairo_curve_to(cr, cx + s * 0.95, cy + s * 0.3, cx + s * 0.25, cy + s * 1.05, cx - s * 0.85, cy + s * 0.85);
    cairo_close_path(cr);
}

void glossyFill(cairo_t *cr, const Colour &base, double cx, double cy, double radius) {
    cairo_pattern_t *pat = cairo_pattern_create_radial(cx - radius * 0.35, cy - radius * 0.4, radius * 0.1,
                                                       cx, cy, radius * 1.15);
    Colour hi = lighten(base, 0.35), lo = darken(base, 0.35);
    cairo_pattern_add_color_stop_rgba(pat, 0.0, hi.r, hi.g, hi.b, base.a);
    cairo_pattern_add_color_stop_rgba(pat, 0.55, base.r, base.g, base.b, base.a);
    cairo_pattern_add_color_stop_rgba(pat, 1.0, lo.r, lo.g, lo.b, base.a);
    cairo_set_source(cr, pat);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pat);
    Colour rim = darken(base, 0.5);
    rim.a = 0.9 * base.a;
    setColour(cr, rim);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
}

void softShadow(cairo_t *cr, void (*path)(cairo_t *, void *), void *user, double dx, double dy, double alpha) {
    // A few widening strokes approximate a blur cheaply and deterministically.
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    for (int i = 3; i >= 0; i--) {
        cairo_new_path(cr);
        path(cr, user);
        cairo_set_source_rgba(cr, 0.25, 0.08, 0.05, alpha / 4);
        cairo_set_line_width(cr, i * 1.5 + 0.01);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
        if (i == 0) {
            cairo_fill(cr);
        }
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

void highlight(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t *pat = cairo_pattern_create_radial(0, -0.2, 0.05, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(pat, 0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(pat, 0.6, 1, 1, 1, alpha * 0.55);
    cairo_pattern_add_color_stop_rgba(pat, 1, 1, 1, 1, 0);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_set_source(cr, pat);
    cairo_fill(cr);
    cairo_pattern_destroy(pat);
    cairo_restore(cr);
}

void sparkle(cairo_t *cr, double cx, double cy, double r, double alpha) {
    cairo_save(cr);
    cairo_new_path(cr);
    starPath(cr, cx, cy, r, r * 0.22, 4, 0);
    cairo_set_source_rgba(cr, 1, 1, 0.9, alpha);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r * 0.3, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 1, 1, 1, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void stripes(cairo_t *cr, double x, double y, double w, double h, const Colour &a, const Colour &b,
             double width, double slant) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    setColour(cr, a);
    cairo_paint(cr);
    setColour(cr, b);
    for (double sx = x - h * fabs(slant) - width * 2; sx < x + w + h * fabs(slant); sx += width * 2) {
        cairo_move_to(cr, sx, y);
        cairo_line_to(cr, sx + width, y);
        cairo_line_to(cr, sx + width + h * slant, y + h);
        cairo_line_to(cr, sx + h * slant, y + h);
        cairo_close_path(cr);
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void dots(cairo_t *cr, double x, double y, double w, double h, const Colour &c, double spacing,
          double radius, unsigned seed) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    setColour(cr, c);
    int row = 0;
    for (double py = y + spacing / 2; py < y + h + spacing; py += spacing * 0.866, row++) {
        for (double px = x + ((row & 1) ? spacing / 2 : 0); px < x + w + spacing; px += spacing) {
            seed = seed * 1103515245u + 12345u;
            double jitter = ((seed >> 16) & 0xff) / 255.0;
            cairo_new_sub_path(cr);
            cairo_arc(cr, px, py, radius * (0.8 + 0.4 * jitter), 0, 2 * M_PI);
        }
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

void candyButton(cairo_t *cr, double x, double y, double w, double h, const Colour &base, bool lit,
                 const char *caption, double textSize) {
    // Lit: warmer and brighter, with a golden rim and halo.
    Colour body = lit ? mix(lighten(base, 0.18), rgb(255, 230, 80), 0.12) : base;
    cairo_save(cr);
    double inset = 3;
    if (lit) {
        for (int i = 3; i >= 1; i--) {
            cairo_new_path(cr);
            roundedRect(cr, x + inset - 0.5, y + inset - 0.5, w - inset * 2, h - inset * 2, (h - inset * 2) / 2);
            cairo_set_source_rgba(cr, 1, 0.95, 0.4, 0.3);
            cairo_set_line_width(cr, i * 2.0);
            cairo_stroke(cr);
        }
    }
    cairo_new_path(cr);
    roundedRect(cr, x + inset + 1, y + inset + 1.5, w - inset * 2, h - inset * 2, (h - inset * 2) / 2);
    cairo_set_source_rgba(cr, 0.25, 0.05, 0.05, 0.45);
    cairo_fill(cr);
    cairo_new_path(cr);
    roundedRect(cr, x + inset, y + inset, w - inset * 2 - 1, h - inset * 2 - 1, (h - inset * 2) / 2);
    cairo_pattern_t *pat = cairo_pattern_create_linear(0, y, 0, y + h);
    Colour top = lighten(body, 0.25), bot = darken(body, 0.2);
    cairo_pattern_add_color_stop_rgb(pat, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pat, 1, bot.r, bot.g, bot.b);
    cairo_set_source(cr, pat);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pat);
    setColour(cr, lit ? rgb(255, 236, 110) : darken(base, 0.45));
    cairo_set_line_width(cr, lit ? 2.2 : 1.5);
    cairo_stroke(cr);
    // Gloss band across the top half.
    cairo_new_path(cr);
    roundedRect(cr, x + inset + h * 0.25, y + inset + 2, w - inset * 2 - h * 0.5 - 1, (h - inset * 2) * 0.38,
                (h - inset * 2) * 0.19);
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.55 : 0.4);
    cairo_fill(cr);
    if (caption && *caption) {
        textSize = fitSize(cr, FONT_BOLD, textSize, caption, w - h * 0.6);
        TextStyle st{FONT_BOLD, textSize, lit ? rgb(255, 255, 200) : rgb(255, 255, 255),
                     darken(base, 0.6), 1.3, rgb(0, 0, 0, 0), };
        cairo_text_extents_t ext;
        setFont(cr, FONT_BOLD, textSize);
        cairo_text_extents(cr, "Ag", &ext);
        double baseline = y + h / 2 - (ext.y_bearing + ext.height / 2) - 0.5;
        text(cr, st, x + w / 2, floor(baseline + 0.5), ALIGN_CENTRE, caption);
    }
    cairo_restore(cr);
}

void well(cairo_t *cr, double x, double y, double w, double h, double r, const Colour &base) {
    cairo_save(cr);
    cairo_new_path(cr);
    roundedRect(cr, x, y, w, h, r);
    cairo_pattern_t *pat = cairo_pattern_create_linear(0, y, 0, y + h);
    Colour top = darken(base, 0.22), bot = lighten(base, 0.12);
    cairo_pattern_add_color_stop_rgb(pat, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(pat, 0.35, base.r, base.g, base.b);
    cairo_pattern_add_color_stop_rgb(pat, 1, bot.r, bot.g, bot.b);
    cairo_set_source(cr, pat);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(pat);
    Colour rim = darken(base, 0.4);
    setColour(cr, rim);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Light lip along the bottom edge.
    cairo_new_path(cr);
    cairo_move_to(cr, x + r, y + h + 0.8);
    cairo_line_to(cr, x + w - r, y + h + 0.8);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}
