#ifndef ARTKIT_H
#define ARTKIT_H

#include <cairo.h>
#include <string>

// Small drawing vocabulary shared by every picture of the sweet shop.
namespace art {

struct Colour {
    double r, g, b, a;
};

Colour  rgb(int r, int g, int b, double a = 1.0);
Colour  mix(const Colour &c, const Colour &d, double t);
Colour  lighten(const Colour &c, double t);     // toward white
Colour  darken(const Colour &c, double t);      // toward black
void    setColour(cairo_t *cr, const Colour &c);

enum Font { FONT_SANS, FONT_BOLD, FONT_MONO_BOLD, FONT_CONDENSED_BOLD, FONT_COUNT };

// Fonts are opened by file so the output never depends on font lookup.
bool    openFonts();
void    closeFonts();
void    setFont(cairo_t *cr, Font font, double size);

enum Align { ALIGN_LEFT, ALIGN_CENTRE, ALIGN_RIGHT };

struct TextStyle {
    Font    font;
    double  size;
    Colour  fill;
    Colour  outline;        // alpha 0: none
    double  outlineWidth;
    Colour  shadow;         // alpha 0: none, drawn 1.5 px down-right
};

// Draws one line with its baseline at y; returns the advance width.
double  text(cairo_t *cr, const TextStyle &style, double x, double y, Align align, const char *str);
double  textWidth(cairo_t *cr, Font font, double size, const char *str);
// The size, at most the one given, at which the text fits the width.
double  fitSize(cairo_t *cr, Font font, double size, const char *str, double maxWidth);
// Word-wrapped block; returns the baseline of the last line.
double  paragraph(cairo_t *cr, const TextStyle &style, double x, double y, double width,
                  double lineHeight, Align align, const char *str);

void    roundedRect(cairo_t *cr, double x, double y, double w, double h, double r);
void    starPath(cairo_t *cr, double cx, double cy, double outer, double inner, int points, double rot);
void    heartPath(cairo_t *cr, double cx, double cy, double s);
void    leafPath(cairo_t *cr, double cx, double cy, double s);

// Fills the current path as a glossy sweet: base colour with a radial body
// shading, darker rim and a white highlight; keeps the path.
void    glossyFill(cairo_t *cr, const Colour &base, double cx, double cy, double radius);
// Soft shadow under a path-making callback, offset down-right.
void    softShadow(cairo_t *cr, void (*path)(cairo_t *, void *), void *user, double dx, double dy, double alpha);
void    highlight(cairo_t *cr, double cx, double cy, double rx, double ry, double alpha);
void    sparkle(cairo_t *cr, double cx, double cy, double r, double alpha);

// Background pattern pieces.
void    stripes(cairo_t *cr, double x, double y, double w, double h, const Colour &a, const Colour &b,
                double width, double slant);
void    dots(cairo_t *cr, double x, double y, double w, double h, const Colour &c, double spacing,
             double radius, unsigned seed);

// A candy button: pill with a rim, gloss and centred caption.
void    candyButton(cairo_t *cr, double x, double y, double w, double h, const Colour &base, bool lit,
                    const char *caption, double textSize);

// A recessed well (tray hollow) of the given colour.
void    well(cairo_t *cr, double x, double y, double w, double h, double r, const Colour &base);

}

#endif
