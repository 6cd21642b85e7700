#ifndef DIALOGTEXT_H
#define DIALOGTEXT_H

#include <cstdint>

#include "HRect.h"

class QVDialogItemTextLine;
struct H2DFont;

// Text alignments of QVDialogItemTextLine.
enum {
    TEXT_ALIGN_LEFT     = 0,
    TEXT_ALIGN_RIGHT    = 1,
    TEXT_ALIGN_CENTRE   = 2
};

// Sets up a text line of the game's dialogs at a dialog-relative position:
// font, colour, alignment, longest text, not editable, and the rectangle its
// longest text covers (for hits and redraws) before any text is set.
void    setupDialogTextLine(QVDialogItemTextLine *line, H2DFont *font, int32_t x, int32_t y,
                            int32_t alignment, int32_t maxLength,
                            float r, float g, float b, float a);

// The dialog-relative rectangle that maxLength glyphs of the font cover
// when drawn at (x, y) with the alignment; a line without a font gets one
// glyph-sized guess.
HRect   dialogTextRect(const H2DFont *font, int32_t x, int32_t y, int32_t alignment, int32_t maxLength);

#endif // DIALOGTEXT_H
