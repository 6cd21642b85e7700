#ifndef H2DBLENDSTATE_H
#define H2DBLENDSTATE_H

#include <cstdint>

// How a source pixel is combined with the screen. Always nine words in this
// order; the blend arithmetic lives in H2DBlender.
struct H2DBlendState {
    int32_t srcAlphaSource;   // 0 zero, 1 one, 2 mask, 3 1-mask, 4 A, 5 1-A, 6 B, 7 1-B
    int32_t srcParam;         // 0 zero, 1 one, 2 A, 3 1-A, 4 B, 5 1-B
    int32_t srcInvert;        // 1: 65025 minus the factor
    int32_t constA;           // read as an unsigned byte
    int32_t dstAlphaSource;
    int32_t dstParam;
    int32_t dstInvert;
    int32_t constB;           // read as an unsigned byte
    int32_t op;               // 0 add, 1 multiply, 2 subtract, 3 reverse subtract
};

enum {
    BLEND_OP_ADD = 0,
    BLEND_OP_MULTIPLY = 1,
    BLEND_OP_SUBTRACT = 2,
    BLEND_OP_REVSUBTRACT = 3
};

// Source weighted by its mask over the screen weighted by 255 minus the mask.
static const H2DBlendState kStandardBlend = { 2, 1, 0, 255, 3, 1, 0, 255, 0 };

#endif
