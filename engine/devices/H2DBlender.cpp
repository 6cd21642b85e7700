#include "H2DBlender.h"

#include <cstring>

#include "HLog.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

int H2DBlender::sm_iRedBits = 5;
int H2DBlender::sm_iGreenBits = 6;
int H2DBlender::sm_iBlueBits = 5;
int H2DBlender::sm_iRedShift = 11;
int H2DBlender::sm_iGreenShift = 5;
int H2DBlender::sm_iBlueShift = 0;
int H2DBlender::sm_iRedMax = 31;
int H2DBlender::sm_iGreenMax = 63;
int H2DBlender::sm_iBlueMax = 31;
// The operation reads as invalid until a state is loaded.
H2DBlendState H2DBlender::sm_state = { 0, 0, 0, 0, 0, 0, 0, 0, -1 };
bool H2DBlender::sm_bStateLoaded = false;
int H2DBlender::sm_iFastMode = H2DBlender::FAST_NONE;
uint8_t H2DBlender::sm_flags[4] = { 0, 0, 0, 0 };
int32_t H2DBlender::sm_srcFactor[256];
int32_t H2DBlender::sm_dstFactor[256];

// floor(c * m / 255) for channels up to 6 bits: the standard blend's terms.
static uint8_t s_scale255[256][64];
static bool s_scaleReady = false;

static void s_buildScaleTable()
{
    for (int m = 0; m < 256; m++) {
        for (int c = 0; c < 64; c++) {
            s_scale255[m][c] = (uint8_t)(c * m / 255);
        }
    }
    s_scaleReady = true;
}

void H2DBlender::setBlendPixelFormat(int redBits, int greenBits, int blueBits,
                                     int redShift, int greenShift, int blueShift)
{
    sm_iRedBits = redBits;
    sm_iGreenBits = greenBits;
    sm_iBlueBits = blueBits;
    sm_iRedShift = redShift;
    sm_iGreenShift = greenShift;
    sm_iBlueShift = blueShift;
    sm_iRedMax = (1 << redBits) - 1;
    sm_iGreenMax = (1 << greenBits) - 1;
    sm_iBlueMax = (1 << blueBits) - 1;
}

int H2DBlender::sm_getBlendAlpha(int source, int maskByte)
{
    switch (source) {
    case 0: return 0;
    case 1: return 255;
    case 2: return maskByte;
    case 3: return 255 - maskByte;
    case 4: return (uint8_t)sm_state.constA;
    case 5: return 255 - (uint8_t)sm_state.constA;
    case 6: return (uint8_t)sm_state.constB;
    case 7: return 255 - (uint8_t)sm_state.constB;
    default:
        errorPrintf("sm_getBlendAlpha: invalid alpha source 0x%x", (unsigned)source);
        return 255;
    }
}

int H2DBlender::sm_getBlendParam(int param)
{
    switch (param) {
    case 0: return 0;
    case 1: return 255;
    case 2: return (uint8_t)sm_state.constA;
    case 3: return 255 - (uint8_t)sm_state.constA;
    case 4: return (uint8_t)sm_state.constB;
    case 5: return 255 - (uint8_t)sm_state.constB;
    default:
        errorPrintf("sm_getBlendParam: invalid source value 0x'%x'", (unsigned)param);
        return 255;
    }
}

void H2DBlender::m_loadFactors()
{
    const int srcParam = sm_getBlendParam(sm_state.srcParam);
    const int dstParam = sm_getBlendParam(sm_state.dstParam);
    for (int m = 0; m < 256; m++) {
        int f = sm_getBlendAlpha(sm_state.srcAlphaSource, m) * srcParam;
        int g = sm_getBlendAlpha(sm_state.dstAlphaSource, m) * dstParam;
        sm_srcFactor[m] = sm_state.srcInvert == 1 ? 65025 - f : f;
        sm_dstFactor[m] = sm_state.dstInvert == 1 ? 65025 - g : g;
    }
}

void H2DBlender::setBlendState(const H2DBlendState &state)
{
    // blendBlit loads the state on every call (each glyph of a text): only a
    // real change rebuilds the factor tables.
    const bool same = sm_bStateLoaded && memcmp(&state, &sm_state, sizeof(state)) == 0;
    sm_state = state;
    sm_bStateLoaded = true;
    if (!same) {
        m_loadFactors();
    }
    if (state.srcAlphaSource == 2 && state.srcParam == 1 && state.srcInvert == 0 &&
        state.dstAlphaSource == 3 && state.dstParam == 1 && state.dstInvert == 0 && state.op == 0) {
        sm_iFastMode = sm_flags[0] ? FAST_ALPHA_TEST : FAST_COPY;
    } else {
        sm_iFastMode = FAST_NONE;
    }
}

void H2DBlender::setBlendFlag(int index, int value)
{
    if (index < 0 || index > 3) {
        return;
    }
    if (sm_flags[index] != (uint8_t)value) {
        sm_flags[index] = (uint8_t)value;
        const H2DBlendState current = sm_state;
        setBlendState(current);
    }
}

int H2DBlender::getBlendFlag(int index)
{
    return (index >= 0 && index <= 3) ? sm_flags[index] : 0;
}

static inline int s_combine(int op, int s, int d)
{
    switch (op) {
    case BLEND_OP_ADD: return s + d;
    case BLEND_OP_MULTIPLY: return s * d / 255;
    case BLEND_OP_SUBTRACT: return s - d;
    default: return d - s;
    }
}

static inline int s_clamp(int v, int max)
{
    return v < 0 ? 0 : (v > max ? max : v);
}

uint16_t H2DBlender::sm_blendPixels16(uint16_t src, uint16_t dst, int maskByte)
{
    if (sm_iFastMode == FAST_COPY) {
        if (maskByte == 255) {
            return src;
        }
        if (maskByte == 0) {
            return dst;
        }
    } else if (sm_iFastMode == FAST_ALPHA_TEST) {
        return maskByte >= 128 ? src : dst;
    }

    const int sr = (src >> sm_iRedShift) & sm_iRedMax;
    const int sg = (src >> sm_iGreenShift) & sm_iGreenMax;
    const int sb = (src >> sm_iBlueShift) & sm_iBlueMax;
    const int dr = (dst >> sm_iRedShift) & sm_iRedMax;
    const int dg = (dst >> sm_iGreenShift) & sm_iGreenMax;
    const int db = (dst >> sm_iBlueShift) & sm_iBlueMax;

    int f = sm_getBlendAlpha(sm_state.srcAlphaSource, maskByte) * sm_getBlendParam(sm_state.srcParam);
    if (sm_state.srcInvert == 1) {
        f = 65025 - f;
    }
    int g = sm_getBlendAlpha(sm_state.dstAlphaSource, maskByte) * sm_getBlendParam(sm_state.dstParam);
    if (sm_state.dstInvert == 1) {
        g = 65025 - g;
    }

    const int op = sm_state.op;
    if (op < 0 || op > 3) {
        // Nothing sensible to blend with: leave the screen as it is.
        errorPrintf("sm_blendPixels16: invalid blend op");
        return dst;
    }
    const int r = s_clamp(s_combine(op, sr * f / 65025, dr * g / 65025), sm_iRedMax);
    const int gg = s_clamp(s_combine(op, sg * f / 65025, dg * g / 65025), sm_iGreenMax);
    const int b = s_clamp(s_combine(op, sb * f / 65025, db * g / 65025), sm_iBlueMax);
    return (uint16_t)((r << sm_iRedShift) | (gg << sm_iGreenShift) | (b << sm_iBlueShift));
}

void H2DBlender::m_blendRowGeneric(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count)
{
    const int op = sm_state.op;
    if (op < 0 || op > 3) {
        errorPrintf("sm_blendPixels16: invalid blend op");
        return;
    }
    const int rs = sm_iRedShift, gs = sm_iGreenShift, bs = sm_iBlueShift;
    const int rm = sm_iRedMax, gm = sm_iGreenMax, bm = sm_iBlueMax;
    for (int i = 0; i < count; i++) {
        const int m = pMask ? pMask[i] : 255;
        if (m == 0 && pMask) {
            continue;
        }
        const uint32_t s = pSrc[i], d = pDst[i];
        const uint32_t f = (uint32_t)sm_srcFactor[m], g = (uint32_t)sm_dstFactor[m];
        const int r = s_clamp(s_combine(op, (int)(((s >> rs) & rm) * f / 65025u), (int)(((d >> rs) & rm) * g / 65025u)), rm);
        const int gg = s_clamp(s_combine(op, (int)(((s >> gs) & gm) * f / 65025u), (int)(((d >> gs) & gm) * g / 65025u)), gm);
        const int b = s_clamp(s_combine(op, (int)(((s >> bs) & bm) * f / 65025u), (int)(((d >> bs) & bm) * g / 65025u)), bm);
        pDst[i] = (uint16_t)((r << rs) | (gg << gs) | (b << bs));
    }
}

// The standard blend: floor(s * m / 255) + floor(d * (255 - m) / 255) per
// channel, which never exceeds the channel's maximum. Mask 255 gives the
// source and mask 0 the screen, exactly as the fast copy rule says.
void H2DBlender::m_blendRowStandard(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count)
{
    const int rs = sm_iRedShift, gs = sm_iGreenShift, bs = sm_iBlueShift;
    const int rm = sm_iRedMax, gm = sm_iGreenMax, bm = sm_iBlueMax;
    int i = 0;

#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i ff = _mm_set1_epi8((char)0xFF);
    const __m128i all255 = _mm_set1_epi16(255);
    const __m128i one = _mm_set1_epi16(1);
    const __m128i rmask = _mm_set1_epi16((short)rm);
    const __m128i gmask = _mm_set1_epi16((short)gm);
    const __m128i bmask = _mm_set1_epi16((short)bm);
    const __m128i rshift = _mm_cvtsi32_si128(rs);
    const __m128i gshift = _mm_cvtsi32_si128(gs);
    const __m128i bshift = _mm_cvtsi32_si128(bs);
    // Eight pixels of arithmetic; m holds their mask bytes widened to words.
    auto blend8 = [&](uint16_t *dst, const uint16_t *src, __m128i m) {
        const __m128i s = _mm_loadu_si128((const __m128i *)src);
        const __m128i d = _mm_loadu_si128((const __m128i *)dst);
        const __m128i im = _mm_sub_epi16(all255, m);
        // floor(x / 255) == (x + 1 + (x >> 8)) >> 8 for x below 65535.
        auto div255 = [&](__m128i x) {
            return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, one), _mm_srli_epi16(x, 8)), 8);
        };
        auto channel = [&](__m128i shift, __m128i mask) {
            const __m128i sc = _mm_and_si128(_mm_srl_epi16(s, shift), mask);
            const __m128i dc = _mm_and_si128(_mm_srl_epi16(d, shift), mask);
            return _mm_add_epi16(div255(_mm_mullo_epi16(sc, m)), div255(_mm_mullo_epi16(dc, im)));
        };
        const __m128i r = channel(rshift, rmask);
        const __m128i g = channel(gshift, gmask);
        const __m128i b = channel(bshift, bmask);
        _mm_storeu_si128((__m128i *)dst, _mm_or_si128(_mm_or_si128(_mm_sll_epi16(r, rshift),
                                                                   _mm_sll_epi16(g, gshift)),
                                                      _mm_sll_epi16(b, bshift)));
    };
    // Sixteen at a time: all-transparent and all-opaque runs (most of an
    // image) need no arithmetic. A blended 0 keeps the screen and a blended
    // 255 gives the source, so mixed blocks need no per-pixel choice.
    for (; i + 16 <= count; i += 16) {
        const __m128i m16 = _mm_loadu_si128((const __m128i *)(pMask + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(m16, zero)) == 0xFFFF) {
            continue;
        }
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(m16, ff)) == 0xFFFF) {
            _mm_storeu_si128((__m128i *)(pDst + i), _mm_loadu_si128((const __m128i *)(pSrc + i)));
            _mm_storeu_si128((__m128i *)(pDst + i + 8), _mm_loadu_si128((const __m128i *)(pSrc + i + 8)));
            continue;
        }
        blend8(pDst + i, pSrc + i, _mm_unpacklo_epi8(m16, zero));
        blend8(pDst + i + 8, pSrc + i + 8, _mm_unpackhi_epi8(m16, zero));
    }
    for (; i + 8 <= count; i += 8) {
        blend8(pDst + i, pSrc + i, _mm_unpacklo_epi8(_mm_loadl_epi64((const __m128i *)(pMask + i)), zero));
    }
#endif

    for (; i < count; i++) {
        const int m = pMask[i];
        if (m == 0) {
            continue;
        }
        const uint32_t s = pSrc[i];
        if (m == 255) {
            pDst[i] = (uint16_t)s;
            continue;
        }
        const uint32_t d = pDst[i];
        const uint8_t *ts = s_scale255[m];
        const uint8_t *td = s_scale255[255 - m];
        const int r = ts[(s >> rs) & rm] + td[(d >> rs) & rm];
        const int g = ts[(s >> gs) & gm] + td[(d >> gs) & gm];
        const int b = ts[(s >> bs) & bm] + td[(d >> bs) & bm];
        pDst[i] = (uint16_t)((r << rs) | (g << gs) | (b << bs));
    }
}

void H2DBlender::blendRow(uint16_t *pDst, const uint16_t *pSrc, const uint8_t *pMask, int count)
{
    if (count <= 0) {
        return;
    }
    switch (sm_iFastMode) {
    case FAST_COPY:
        if (!pMask) {
            memmove(pDst, pSrc, (size_t)count * 2);
            return;
        }
        if (sm_iRedMax <= 63 && sm_iGreenMax <= 63 && sm_iBlueMax <= 63) {
            if (!s_scaleReady) {
                s_buildScaleTable();
            }
            m_blendRowStandard(pDst, pSrc, pMask, count);
            return;
        }
        break;
    case FAST_ALPHA_TEST:
        for (int i = 0; i < count; i++) {
            if (!pMask || pMask[i] >= 128) {
                pDst[i] = pSrc[i];
            }
        }
        return;
    default:
        break;
    }
    m_blendRowGeneric(pDst, pSrc, pMask, count);
}
