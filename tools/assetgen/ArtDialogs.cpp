#include "AssetArt.h"

#include <cmath>
#include <cstdio>

using namespace art;

static const Colour kCard = {1.0, 0.97, 0.90, 1};
static const Colour kBand = {0.43, 0.22, 0.13, 1};
// Room between an options label and its switch.
static const int kLabelGap = 12;

// A dialog card filling the canvas: wallpaper edge, cream card, pink rim.
static cairo_t *s_card(AssetSet &set, const char *name, int w, int h) {
    AssetCanvas *cv = set.image(name, w, h);
    cairo_t *cr = cv->cr();
    stripes(cr, 0, 0, w, h, rgb(255, 240, 225), rgb(255, 200, 215), 12, 0);
    roundedRect(cr, 6, 6, w - 12, h - 12, 18);
    setColour(cr, kCard);
    cairo_fill_preserve(cr);
    setColour(cr, rgb(232, 80, 140));
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 4);
    setColour(cr, rgb(110, 20, 55));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return cr;
}

static void s_band(cairo_t *cr, double x, double y, double w, double h, const Colour &c) {
    well(cr, x, y, w, h, h / 2 > 8 ? 8 : h / 2, c);
}

static void s_gameOver(AssetSet &set) {
    cairo_t *cr = s_card(set, "gameover.jpg", 420, 420);
    text(cr, titleStyle(40), 210, 78, ALIGN_CENTRE, "TIME'S UP!");
    // Spilled sweets.
    const int spill[5] = {TILE_BLOCKER, TILE_ORANGE, TILE_WORM, TILE_RED, TILE_BLUE};
    for (int i = 0; i < 5; i++) {
        drawSweet(cr, spill[i], 95 + i * 48, 110 + (i & 1) * 10);
    }
    TextStyle st = bodyStyle(17);
    st.font = FONT_BOLD;
    text(cr, st, 210, 200, ALIGN_CENTRE, "The clock ran out.");
    TextStyle body = bodyStyle(15);
    paragraph(cr, body, 50, 230, 320, 20, ALIGN_CENTRE,
              "The shop is closing for this game. Your score goes on the high-score table if "
              "it earned a place.");
    TextStyle over = titleStyle(26);
    text(cr, over, 210, 390, ALIGN_CENTRE, "GAME OVER");
}

static void s_enterName(AssetSet &set) {
    cairo_t *cr = s_card(set, "entername.jpg", 420, 420);
    text(cr, titleStyle(34), 210, 66, ALIGN_CENTRE, "NEW HIGH SCORE!");
    drawSweet(cr, TILE_YELLOW, 60, 80);
    drawSweet(cr, TILE_YELLOW, 318, 80);
    TextStyle st = bodyStyle(16);
    st.font = FONT_BOLD;
    text(cr, st, 210, 118, ALIGN_CENTRE, "Your score");
    s_band(cr, 110, 131, 204, 26, kBand);
    text(cr, st, 210, 200, ALIGN_CENTRE, "A place among the best sweet sorters!");
    text(cr, st, 30, 260, ALIGN_LEFT, "Type your name:");
    s_band(cr, 26, 266, 148, 26, kBand);
    TextStyle small = bodyStyle(13);
    paragraph(cr, small, 190, 276, 200, 17, ALIGN_LEFT, "Then press Enter or click OK.");
    const int row[6] = {TILE_BEAR, TILE_CHERRIES, TILE_PEPPERMINT, TILE_LIFESAVER, TILE_CHOCOLATE, TILE_WORM};
    for (int i = 0; i < 6; i++) {
        drawSweet(cr, row[i], 70 + i * 48, 310);
    }
}

static void s_highScores(AssetSet &set) {
    cairo_t *cr = s_card(set, "highscores.jpg", 420, 420);
    text(cr, titleStyle(36), 210, 66, ALIGN_CENTRE, "HIGH SCORES");
    const int row[6] = {TILE_BEAR, TILE_CHERRIES, TILE_CHOCOLATE, TILE_LIFESAVER, TILE_PEPPERMINT, TILE_WORM};
    for (int i = 0; i < 6; i++) {
        drawSweet(cr, row[i], 70 + i * 48, 84);
    }
    TextStyle head = titleStyle(14);
    head.outlineWidth = 1.6;
    text(cr, head, 33, 166, ALIGN_LEFT, "NAME");
    text(cr, head, 338 + 9, 166, ALIGN_RIGHT, "SCORE");
    text(cr, head, 395 + 9, 166, ALIGN_RIGHT, "LEVEL");
    const int ys[5] = {177, 221, 265, 309, 353};
    for (int i = 0; i < 5; i++) {
        s_band(cr, 26, ys[i] - 7, 384, 26, i & 1 ? rgb(130, 72, 44) : kBand);
        char rank[4];
        snprintf(rank, sizeof(rank), "%d", i + 1);
        TextStyle rs{FONT_BOLD, 13, rgb(200, 40, 110), rgb(0, 0, 0, 0), 0, rgb(0, 0, 0, 0)};
        text(cr, rs, 21, ys[i] + 11, ALIGN_CENTRE, rank);
    }
}

static void s_question(AssetSet &set, const char *name, const char *title, const char *question) {
    cairo_t *cr = s_card(set, name, 320, 160);
    TextStyle t = titleStyle(22);
    t.outlineWidth = 2.4;
    text(cr, t, 160, 42, ALIGN_CENTRE, title);
    TextStyle body = bodyStyle(14);
    paragraph(cr, body, 24, 68, 272, 18, ALIGN_CENTRE, question);
}

static void s_options(AssetSet &set) {
    cairo_t *cr = s_card(set, "options_dialog.jpg", 440, 440);
    text(cr, titleStyle(36), 220, 58, ALIGN_CENTRE, "OPTIONS");
    TextStyle st = bodyStyle(16);
    st.font = FONT_BOLD;
    // Each label ends just left of its switch, on the switch's middle line.
    // The switches stand at the game's fixed places: sound, music and alarm
    // nearly in one column, so their labels share one right edge; full
    // screen and the arrow keys stand further right, and so do their labels.
    static const struct {
        int right, y, h;
        const char *label;
    } labels[] = {{302 - kLabelGap, 96, 34, "Arrow keys move the:"}, {110 - kLabelGap, 138, 30, "Sound"},
                  {110 - kLabelGap, 183, 30, "Music"},                {178 - kLabelGap, 222, 30, "Full screen"},
                  {110 - kLabelGap, 326, 30, "Alarm"}};
    for (const auto &l : labels) {
        text(cr, st, l.right, l.y + l.h / 2 + 5, ALIGN_RIGHT, l.label);
    }
    TextStyle small = bodyStyle(12);
    text(cr, small, 185, 346, ALIGN_LEFT, "sounds when time runs low");
    paragraph(cr, small, 290, 266, 130, 15, ALIGN_LEFT,
              "A new game starts at the chosen level and pays a bonus once that level is done.");
    // Tray for the start-level row.
    s_band(cr, 14, 287, 266, 34, rgb(255, 214, 226));
    drawSweet(cr, TILE_PEPPERMINT, 34, 22);
    drawSweet(cr, TILE_LIFESAVER, 364, 22);
}

void drawDialogs(AssetSet &set) {
    s_gameOver(set);
    s_enterName(set);
    s_highScores(set);
    s_question(set, "highscores_areyousure.jpg", "CLEAR ALL?", "Wipe every name off the high-score table?");
    s_question(set, "restart_areyousure.jpg", "RESTART?", "Give up this game and go back to the title screen?");
    s_options(set);
}
