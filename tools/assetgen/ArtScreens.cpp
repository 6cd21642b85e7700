#include "AssetArt.h"

#include <cmath>
#include <cstdio>

using namespace art;

static const Colour kWallA = {1.0, 0.80, 0.86, 1};
static const Colour kWallB = {1.0, 0.94, 0.88, 1};
static const Colour kTray = {0.80, 0.95, 0.90, 1};
static const Colour kCard = {1.0, 0.97, 0.90, 1};

// Chocolate frame with a bevel, drawn round a rectangle.
static void s_frame(cairo_t *cr, double x, double y, double w, double h, double border) {
    cairo_save(cr);
    cairo_new_path(cr);
    roundedRect(cr, x - border, y - border, w + border * 2, h + border * 2, border + 4);
    cairo_rectangle(cr, x + w, y, -w, h);
    cairo_pattern_t *pat = cairo_pattern_create_linear(0, y - border, 0, y + h + border);
    cairo_pattern_add_color_stop_rgb(pat, 0, 0.62, 0.36, 0.2);
    cairo_pattern_add_color_stop_rgb(pat, 1, 0.34, 0.17, 0.08);
    cairo_set_source(cr, pat);
    cairo_fill(cr);
    cairo_pattern_destroy(pat);
    roundedRect(cr, x - border + 1, y - border + 1, w + border * 2 - 2, h + border * 2 - 2, border + 3);
    cairo_set_source_rgba(cr, 1, 0.85, 0.7, 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_rectangle(cr, x - 0.5, y - 0.5, w + 1, h + 1);
    cairo_set_source_rgb(cr, 0.25, 0.1, 0.05);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A cream card with a pink border, the frame of every panel and notice.
static void s_card(cairo_t *cr, double x, double y, double w, double h, double r, double border) {
    roundedRect(cr, x, y, w, h, r);
    setColour(cr, kCard);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(232, 80, 140));
    cairo_set_line_width(cr, border);
    cairo_stroke(cr);
}

static void s_wallpaper(cairo_t *cr, double w, double h) {
    stripes(cr, 0, 0, w, h, kWallB, kWallA, 14, 0);
    dots(cr, 0, 0, w, h, rgb(255, 255, 255, 0.5), 28, 2.2, 7);
}

// A small labelled HUD well with its figure area.
static void s_hudWell(cairo_t *cr, double x0, double y0, double x1, double y1) {
    well(cr, x0, y0, x1 - x0, y1 - y0, 8, rgb(96, 44, 28));
}

static void s_label(cairo_t *cr, double x, double y, Align a, const char *s) {
    TextStyle st = titleStyle(15);
    st.outlineWidth = 1.8;
    text(cr, st, x, y, a, s);
}

static void s_background(AssetSet &set) {
    AssetCanvas *cv = set.image("background.jpg", 640, 480);
    cairo_t *cr = cv->cr();
    s_wallpaper(cr, 640, 480);
    // Shelf along the bottom, under the logo buttons.
    cairo_rectangle(cr, 0, 440, 640, 40);
    cairo_pattern_t *shelf = cairo_pattern_create_linear(0, 440, 0, 480);
    cairo_pattern_add_color_stop_rgb(shelf, 0, 0.62, 0.36, 0.2);
    cairo_pattern_add_color_stop_rgb(shelf, 1, 0.36, 0.18, 0.09);
    cairo_set_source(cr, shelf);
    cairo_fill(cr);
    cairo_pattern_destroy(shelf);
    cairo_rectangle(cr, 0, 440, 640, 2);
    cairo_set_source_rgb(cr, 1, 0.8, 0.62);
    cairo_fill(cr);
    // Frame round the play area.
    s_frame(cr, 23, 17, 420, 420, 8);
    cairo_rectangle(cr, 23, 17, 420, 420);
    setColour(cr, kTray);
    cairo_fill(cr);

    // Side panel: the shop sign, then the score, level and lines wells.
    s_card(cr, 456, 10, 178, 290, 14, 3);
    roundedRect(cr, 461, 15, 168, 280, 10);
    setColour(cr, rgb(255, 190, 210));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Awning stripes across the top of the panel.
    cairo_save(cr);
    roundedRect(cr, 462, 16, 166, 30, 9);
    cairo_clip(cr);
    stripes(cr, 462, 16, 166, 30, rgb(255, 255, 255), rgb(236, 60, 120), 12, 0);
    cairo_restore(cr);
    for (int i = 0; i < 7; i++) {
        cairo_arc(cr, 468 + i * 25, 46, 12.5, 0, M_PI);
        setColour(cr, (i & 1) ? rgb(255, 255, 255) : rgb(236, 60, 120));
        cairo_fill(cr);
    }
    TextStyle name = titleStyle(27);
    name.outlineWidth = 3;
    text(cr, name, 545, 92, ALIGN_CENTRE, "GOBSTREL");
    for (int i = 0; i < 5; i++) {
        static const int row[5] = {TILE_ORANGE, TILE_YELLOW, TILE_RED, TILE_GREEN, TILE_BLUE};
        cairo_save(cr);
        cairo_translate(cr, 478 + i * 31, 98);
        cairo_scale(cr, 0.62, 0.62);
        drawSweet(cr, row[i], 0, 0);
        cairo_restore(cr);
    }

    s_label(cr, 547, 145, ALIGN_CENTRE, "SCORE");
    s_hudWell(cr, 470, 150, 625, 175);
    s_label(cr, 512, 223, ALIGN_RIGHT, "LEVEL");
    s_hudWell(cr, 520, 205, 575, 230);
    s_label(cr, 512, 278, ALIGN_RIGHT, "LINES");
    s_hudWell(cr, 520, 260, 575, 285);

    // A raspberry board behind the side buttons.
    roundedRect(cr, 449, 309, 189, 130, 12);
    setColour(cr, rgb(180, 40, 90));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(110, 20, 55));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    dots(cr, 451, 311, 185, 126, rgb(255, 255, 255, 0.14), 14, 1.6, 3);
}

// Tray with 36 cell wells, shared by the arena and the info screens.
static void s_tray(cairo_t *cr, bool wells) {
    setColour(cr, kTray);
    cairo_paint(cr);
    dots(cr, 0, 0, kArenaSize, kArenaSize, rgb(255, 255, 255, 0.45), 21, 2.5, 11);
    // Candy stripe border round the arena edge.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kArenaSize, kArenaSize);
    cairo_rectangle(cr, kArenaSize - 8, 8, -(kArenaSize - 16), kArenaSize - 16);
    cairo_clip(cr);
    stripes(cr, 0, 0, kArenaSize, kArenaSize, rgb(255, 255, 255), rgb(80, 190, 170), 8, 1);
    cairo_restore(cr);
    if (!wells) {
        return;
    }
    // The board's tray, raised a little, then the wells.
    roundedRect(cr, 76, 76, 268, 268, 14);
    setColour(cr, rgb(255, 214, 226));
    cairo_fill_preserve(cr);
    setColour(cr, rgb(200, 80, 120));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    roundedRect(cr, 79, 79, 262, 262, 12);
    setColour(cr, rgb(255, 240, 245));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    for (int r = 0; r < 6; r++) {
        for (int c = 0; c < 6; c++) {
            well(cr, 84 + 42 * c + 2, 84 + 42 * r + 2, 38, 38, 9, rgb(240, 168, 192));
        }
    }
}

static void s_arena(AssetSet &set) {
    AssetCanvas *cv = set.image("arena.jpg", kArenaSize, kArenaSize);
    cairo_t *cr = cv->cr();
    s_tray(cr, true);
    // The trough the time bar is eaten out of: it holds the full bar with its
    // bites, a little room all round, and starts right of the tutorial
    // page's left edge (screen x 60), so nothing of it shows beside the page
    // while the bar is hidden.
    well(cr, kTimeBarLeft - kArenaLeft - 2, kTimeBarTop - kArenaTop - 2, kTimeBarLength + kBitesWidth + 4,
         kTimeBarHeight + 4, 10, rgb(120, 60, 70));
    // Lollipops in the corners of the margin.
    const int corners[4][2] = {{40, 40}, {380, 40}, {40, 345}, {380, 345}};
    const int types[4] = {TILE_PEPPERMINT, TILE_LIFESAVER, TILE_CHERRIES, TILE_BEAR};
    for (int i = 0; i < 4; i++) {
        drawSweet(cr, types[i], corners[i][0] - 21, corners[i][1] - 21);
    }
    TextStyle st{FONT_BOLD, 11, rgb(80, 150, 130), rgb(0, 0, 0, 0), 0, rgb(0, 0, 0, 0)};
    text(cr, st, 210, 375, ALIGN_CENTRE, "TIME");
}

static void s_pause(AssetSet &set) {
    AssetCanvas *cv = set.image("pause.jpg", kArenaSize, kArenaSize);
    cairo_t *cr = cv->cr();
    s_tray(cr, false);
    s_card(cr, 60, 120, 300, 180, 20, 4);
    text(cr, titleStyle(40), 210, 190, ALIGN_CENTRE, "PAUSED");
    TextStyle body = bodyStyle(16);
    text(cr, body, 210, 230, ALIGN_CENTRE, "The sweets are hidden and");
    text(cr, body, 210, 252, ALIGN_CENTRE, "the clock has stopped.");
    // A click anywhere on the play area ends the pause, as does the button.
    body.font = FONT_BOLD;
    static const char *const resume = "Click here or RESUME to play on.";
    body.size = fitSize(cr, body.font, body.size, resume, 280);
    text(cr, body, 210, 280, ALIGN_CENTRE, resume);
}

static void s_loading(AssetSet &set) {
    AssetCanvas *cv = set.image("loading.jpg", 640, 480);
    cairo_t *cr = cv->cr();
    s_wallpaper(cr, 640, 480);
    s_card(cr, 40, 60, 560, 340, 28, 5);
    TextStyle big = titleStyle(72);
    big.outlineWidth = 6;
    text(cr, big, 320, 185, ALIGN_CENTRE, "GOBSTREL");
    const int row[6] = {TILE_ORANGE, TILE_YELLOW, TILE_PURPLE, TILE_RED, TILE_GREEN, TILE_BLUE};
    for (int i = 0; i < 6; i++) {
        drawSweet(cr, row[i], 320 - 3 * 48 + i * 48 + 3, 215);
    }
    TextStyle body = bodyStyle(18);
    body.font = FONT_BOLD;
    text(cr, body, 320, 300, ALIGN_CENTRE, "A sliding sweet-shop puzzle");
    TextStyle small = bodyStyle(14);
    text(cr, small, 320, 335, ALIGN_CENTRE, "Filling the jars...");
    // The empty trough the loading bar fills, at (63, 350).
    well(cr, 61, 348, 518, 24, 12, rgb(120, 60, 70));
}

// An info card: title, a row of illustrative sweets, explanation, the
// un-lit start caption at (91, 371).
static void s_info(AssetSet &set, const char *name, const char *title, const int *sweets, int count,
                   const char *body) {
    AssetCanvas *cv = set.image(name, kArenaSize, kArenaSize);
    cairo_t *cr = cv->cr();
    s_tray(cr, false);
    s_card(cr, 22, 22, 376, 340, 22, 4);
    text(cr, titleStyle(fitSize(cr, FONT_BOLD, 32, title, 340)), 210, 68, ALIGN_CENTRE, title);
    if (count > 0) {
        double x0 = 210 - count * 48 / 2.0 + 3;
        for (int i = 0; i < count; i++) {
            well(cr, x0 + i * 48 - 2, 86, 46, 46, 10, rgb(240, 168, 192));
            drawSweet(cr, sweets[i], x0 + i * 48, 88);
        }
    }
    TextStyle st = bodyStyle(15.5);
    paragraph(cr, st, 40, 166, 340, 21, ALIGN_CENTRE, body);
    candyButton(cr, 91, 371, 236, 44, rgb(240, 84, 148), false, "CLICK TO START", 19);
}

static void s_infoScreens(AssetSet &set) {
    const int three[3] = {TILE_ORANGE, TILE_YELLOW, TILE_PURPLE};
    s_info(set, "info_start.jpg", "GOBSTREL", three, 3,
           "The sweets slide about in their tray, with one empty space.\n"
           "Click a sweet in the same row or column as the space: it and every sweet between slide "
           "one step into the gap. The arrow keys work too.\n"
           "Six of a kind in a row or a column clear away. Clear the lines each level asks for "
           "before the clock runs out!");
    const int hint[2] = {TILE_ORANGE, TILE_ORANGE};
    s_info(set, "info_hint.jpg", "SWEET TIP", hint, 2,
           "The LINES box shows how many lines this level still needs.\n"
           "Cleared lines put time back on the clock, and the time you have left when "
           "the level is done turns into bonus points.\n"
           "When the alarm sounds, hurry: under ten seconds to go!");
    const int bean[3] = {TILE_BLOCKER, TILE_YELLOW, TILE_BLOCKER};
    s_info(set, "info_blackjellybean.jpg", "BLACK JELLY BEANS", bean, 3,
           "Black jelly beans are stuck fast: you cannot slide them, and no sweet can slide past "
           "one. A click that would push through a jelly bean only gets a dull thud.\n"
           "Build your lines around them, and watch where the empty space can still travel.");
    const int red[4] = {TILE_ORANGE, TILE_YELLOW, TILE_PURPLE, TILE_RED};
    s_info(set, "info_red.jpg", "NEW SWEET: RED HEARTS", red, 4,
           "Red hearts join the tray, so now there are four kinds of sweet to sort.\n"
           "The lines are harder to build and the clock is shorter. Each heart is worth more "
           "points than the sweets before it.");
    const int wild[3] = {TILE_WILD, TILE_PURPLE, TILE_BLOCKER};
    s_info(set, "info_wildcard.jpg", "CANDY CANES", wild, 3,
           "A striped candy cane matches any sweet: a line of five alike plus a candy cane "
           "clears.\n"
           "It even makes black jelly beans match in its line. New candy canes sometimes "
           "slide in when lines refill. Listen for the sparkle!");
    const int green[5] = {TILE_ORANGE, TILE_YELLOW, TILE_PURPLE, TILE_RED, TILE_GREEN};
    s_info(set, "info_green.jpg", "NEW SWEET: GREEN LEAVES", green, 5,
           "Green leaves arrive: five kinds of sweet now share the tray.\n"
           "Plan a few slides ahead, and use every cleared line to win back time on the clock.");
    const int blue[6] = {TILE_ORANGE, TILE_YELLOW, TILE_PURPLE, TILE_RED, TILE_GREEN, TILE_BLUE};
    s_info(set, "info_blue.jpg", "NEW SWEET: BLUE GEMS", blue, 6,
           "Blue gems complete the set: all six kinds at once.\n"
           "Later on, bonus sweets (gummy bears, cherries, chocolate and more) take the place of "
           "the cheaper ones, and they score even higher.");
}

static void s_tutorial(AssetSet &set) {
    static const char *const pages[6][2] = {
        {"Step 1 of 5", "The empty space is at the top left. Click the orange the hand points "
                        "at: it slides into the gap."},
        {"Step 2 of 5", "The space moved along. Click the next orange in the top row."},
        {"Step 3 of 5", "Once more: click the next orange in the top row."},
        {"Step 4 of 5", "Click the orange just below the space. It slides up and makes a row of "
                        "six oranges, which clears!"},
        {"Step 5 of 5", "Click the yellow at the left of the second row. The row slides right and "
                        "the second column is all yellow."},
        {"Well done!", "That is the game. Now play on your own: click any sweet in line with the "
                       "space."},
    };
    for (int i = 0; i < 6; i++) {
        char name[32];
        snprintf(name, sizeof(name), "tutorial_%d.jpg", i + 1);
        AssetCanvas *cv = set.image(name, 380, 85);
        cairo_t *cr = cv->cr();
        s_wallpaper(cr, 380, 85);
        s_card(cr, 3, 3, 374, 79, 12, 3);
        TextStyle head = titleStyle(16);
        head.outlineWidth = 1.8;
        text(cr, head, 16, 24, ALIGN_LEFT, pages[i][0]);
        drawSweet(cr, i == 4 ? TILE_YELLOW : TILE_ORANGE, 330, 6);
        TextStyle body = bodyStyle(13);
        paragraph(cr, body, 16, 45, 306, 16, ALIGN_LEFT, pages[i][1]);
    }
}

void drawScreens(AssetSet &set) {
    s_background(set);
    s_arena(set);
    s_pause(set);
    s_loading(set);
    s_infoScreens(set);
    s_tutorial(set);
}
