#include "DialogText.h"

#include "H2DFont.h"
#include "QVDialogItemTextLine.h"

// Glyph size assumed when a line has no font (nothing is drawn then, but the
// rectangle still bounds redraws).
static const int32_t s_iGuessGlyphWidth = 16;
static const int32_t s_iGuessGlyphHeight = 16;

HRect dialogTextRect(const H2DFont *font, int32_t x, int32_t y, int32_t alignment, int32_t maxLength)
{
    int32_t gw = s_iGuessGlyphWidth;
    int32_t gh = s_iGuessGlyphHeight;
    if (font && font->m_iGlyphWidth > 0 && font->m_iGlyphHeight > 0) {
        gw = font->m_iGlyphWidth;
        gh = font->m_iGlyphHeight;
    }
    if (maxLength < 1) {
        maxLength = 1;
    }
    // One glyph more than the text for the caret.
    const int32_t width = (maxLength + 1) * gw;
    HRect rect;
    rect.top = y;
    rect.bottom = y + gh;
    if (alignment == TEXT_ALIGN_RIGHT) {
        rect.left = x - width;
        rect.right = x;
    } else if (alignment == TEXT_ALIGN_CENTRE) {
        rect.left = x - width / 2 - gw;
        rect.right = x + width / 2 + gw;
    } else {
        rect.left = x;
        rect.right = x + width;
    }
    return rect;
}

void setupDialogTextLine(QVDialogItemTextLine *line, H2DFont *font, int32_t x, int32_t y,
                         int32_t alignment, int32_t maxLength, float r, float g, float b, float a)
{
    if (!line) {
        return;
    }
    line->setMaxLength(maxLength);
    line->setFont(font);
    line->setColour(r, g, b, a);
    line->setAlignment(alignment);
    line->setEditable(false);
    line->setPosition(HPoint{ x, y });
    line->setRect(dialogTextRect(font, x, y, alignment, maxLength));
}
