#ifndef H2DBLENDER_H
#define H2DBLENDER_H

#include <cstdint>

#include "H2DBlendState.h"

// The software blender behind H2DDisplayDevice::blendBlit. Its state is
// process-wide (there is one screen): the screen's channel layout, the loaded
// blend state, the fast mode it implies and four flag bytes.
//
// Pixel rule (sm_blendPixels16): each channel c of the source is scaled by
// a x p / 65025 (or its complement when inverted), each screen channel the
// same way with the screen term's factors, then the two are added,
// multiplied (/255), subtracted or reverse-subtracted and clamped. The row
// routines give exactly the same bits, only faster.
class H2DBlender {
public:
    enum {
        FAST_NONE = 0,
        FAST_COPY = 1,      // standard alpha blend: 255 copies, 0 keeps
        FAST_ALPHA_TEST = 2 // flag 0 set: mask >= 128 copies, else keeps
    };

    // Channel widths and shifts of the screen; 5-6-5 until initScreen.
    static void         setBlendPixelFormat(int redBits, int greenBits, int blueBits,
                                            int redShift, int greenShift, int blueShift);
    static void         setBlendState(const H2DBlendState &state);
    // Index 0-3; a change re-runs setBlendState so the fast mode follows.
    static void         setBlendFlag(int index, int value);
    static int          getBlendFlag(int index);

    static const H2DBlendState &getBlendState() { return sm_state; }
    static int          getFastMode() { return sm_iFastMode; }
    static int          getRedBits() { return sm_iRedBits; }
    static int          getGreenBits() { return sm_iGreenBits; }
    static int          getBlueBits() { return sm_iBlueBits; }

    static int          sm_getBlendAlpha(int source, int maskByte);
    static int          sm_getBlendParam(int param);
    static uint16_t     sm_blendPixels16(uint16_t src, uint16_t dst, int maskByte);

    // One row of blendBlit: mask may be null (every pixel 255); pixels whose
    // mask byte is 0 are left alone.
    static void         blendRow(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count);

private:
    static void         m_loadFactors();
    static void         m_blendRowGeneric(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count);
    static void         m_blendRowStandard(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count);

    static int          sm_iRedBits, sm_iGreenBits, sm_iBlueBits;
    static int          sm_iRedShift, sm_iGreenShift, sm_iBlueShift;
    static int          sm_iRedMax, sm_iGreenMax, sm_iBlueMax;
    static H2DBlendState sm_state;
    static bool         sm_bStateLoaded;
    static int          sm_iFastMode;
    static uint8_t      sm_flags[4];
    // Per mask byte, the source and screen factors (0-65025) of the state.
    static int32_t      sm_srcFactor[256];
    static int32_t      sm_dstFactor[256];
};

#endif
