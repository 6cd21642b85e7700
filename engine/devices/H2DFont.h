#ifndef H2DFONT_H
#define H2DFONT_H

#include <cstdint>

class H2DGlyphSheet;

// A fixed-width bitmap font: cells of m_iGlyphWidth x m_iGlyphHeight, 16 to a
// row, the first row holding codes 16-31. The sheet stays its loader's.
struct H2DFont {
    H2DGlyphSheet * m_pSheet;
    int32_t         m_iGlyphWidth;
    int32_t         m_iGlyphHeight;
};

#endif
