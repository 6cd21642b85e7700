// Blitter speed on a full 640x480 16-bit screen, beside SDL 1.2's own blits
// and a plain memcpy of the same bytes. Run:
//     build/bin/blit_bench --benchmark_min_time=0.5
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <cstring>
#include <random>
#include <vector>

#include "H2DBlender.h"
#include "H2DDisplayDevice.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// A display device over plain memory: the blitters without a video mode.
class MemoryDisplay : public H2DDisplayDevice {
public:
    MemoryDisplay() : H2DDisplayDevice(nullptr), m_pixels((size_t)kWidth * kHeight, 0x1234)
    {
        m_screen.setWidth(kWidth);
        m_screen.setHeight(kHeight);
        m_screen.setBitsPerPixel(16);
        m_screen.setPitch(kWidth * 2);
        m_screen.setPixels(m_pixels.data());
        H2DDisplayDevice::initScreen(kWidth, kHeight, "bench", false, 0);
        H2DBlender::setBlendPixelFormat(5, 6, 5, 11, 5, 0);
    }
    void shutdown() override {}
    void clear(const float *) override {}
    H2DSurface *createSurface(const HImage *) override { return nullptr; }
    void showCursor(bool) override {}
    void updateRects(const HRect *, int) override {}

private:
    std::vector<uint16_t> m_pixels;
};

enum MaskKind { MASK_NONE, MASK_255, MASK_0, MASK_128, MASK_RANDOM, MASK_RANDOM_BINARY };

H2DSurface16 *makeSurface(MaskKind kind)
{
    std::mt19937 rng(42);
    H2DSurface16 *s = new H2DSurface16;
    s->setWidth(kWidth);
    s->setHeight(kHeight);
    s->setBitsPerPixel(16);
    s->setPitch(kWidth * 2);
    uint16_t *pixels = new uint16_t[(size_t)kWidth * kHeight];
    for (int i = 0; i < kWidth * kHeight; i++) pixels[i] = (uint16_t)rng();
    s->setPixels(pixels);
    if (kind != MASK_NONE) {
        uint8_t *mask = new uint8_t[(size_t)kWidth * kHeight];
        for (int i = 0; i < kWidth * kHeight; i++) {
            switch (kind) {
            case MASK_255: mask[i] = 255; break;
            case MASK_0: mask[i] = 0; break;
            case MASK_128: mask[i] = 128; break;
            case MASK_RANDOM_BINARY: mask[i] = (rng() & 1) ? 255 : 0; break;
            default: mask[i] = (uint8_t)rng(); break;
            }
        }
        s->setMask(mask);
    }
    return s;
}

const HRect kFull = { 0, 0, kWidth, kHeight };

void runBlit(benchmark::State &state, MaskKind kind)
{
    MemoryDisplay display;
    H2DSurface16 *surface = makeSurface(kind);
    for (auto _ : state) {
        display.blit(kFull, kFull, surface);
        display.getDirtyRects().clear();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
    display.destroySurface(surface);
}

void runBlend(benchmark::State &state, MaskKind kind)
{
    MemoryDisplay display;
    H2DSurface16 *surface = makeSurface(kind);
    for (auto _ : state) {
        display.blendBlit(kFull, kFull, surface, kStandardBlend);
        display.getDirtyRects().clear();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
    display.destroySurface(surface);
}

void BM_BlitOpaque(benchmark::State &s) { runBlit(s, MASK_NONE); }
void BM_BlitMasked255(benchmark::State &s) { runBlit(s, MASK_255); }
void BM_BlitMaskedRandom01(benchmark::State &s) { runBlit(s, MASK_RANDOM_BINARY); }
void BM_BlendMask255(benchmark::State &s) { runBlend(s, MASK_255); }
void BM_BlendMask0(benchmark::State &s) { runBlend(s, MASK_0); }
void BM_BlendMask128(benchmark::State &s) { runBlend(s, MASK_128); }
void BM_BlendMaskRandom(benchmark::State &s) { runBlend(s, MASK_RANDOM); }

void BM_Memcpy(benchmark::State &state)
{
    std::vector<uint16_t> src((size_t)kWidth * kHeight, 1), dst((size_t)kWidth * kHeight, 0);
    for (auto _ : state) {
        memcpy(dst.data(), src.data(), src.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
}

SDL_Surface *make565(uint16_t seed)
{
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, kWidth, kHeight, 16, 0xF800, 0x07E0, 0x001F, 0);
    std::mt19937 rng(seed);
    for (int y = 0; y < kHeight; y++) {
        uint16_t *row = (uint16_t *)((uint8_t *)s->pixels + y * s->pitch);
        for (int x = 0; x < kWidth; x++) row[x] = (uint16_t)rng();
    }
    return s;
}

// Times SDL's own blit of src onto dst, then frees both.
void timeSDLBlit(benchmark::State &state, SDL_Surface *src, SDL_Surface *dst)
{
    for (auto _ : state) {
        SDL_BlitSurface(src, nullptr, dst, nullptr);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 2);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dst);
}

void BM_SDL_Blit565(benchmark::State &state)
{
    SDL_Surface *src = make565(1), *dst = make565(2);
    timeSDLBlit(state, src, dst);
}

void BM_SDL_BlitSurfaceAlpha128(benchmark::State &state)
{
    SDL_Surface *src = make565(1), *dst = make565(2);
    SDL_SetAlpha(src, SDL_SRCALPHA, 128);
    timeSDLBlit(state, src, dst);
}

void runSDLPixelAlpha(benchmark::State &state, bool random)
{
    SDL_Surface *src = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, kWidth, kHeight, 32,
                                            0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    std::mt19937 rng(3);
    for (int y = 0; y < kHeight; y++) {
        uint32_t *row = (uint32_t *)((uint8_t *)src->pixels + y * src->pitch);
        for (int x = 0; x < kWidth; x++) {
            const uint32_t alpha = random ? (rng() & 0xFF) : 128;
            row[x] = (rng() & 0x00FFFFFF) | (alpha << 24);
        }
    }
    SDL_Surface *dst = make565(2);
    timeSDLBlit(state, src, dst);
}

void BM_SDL_BlitPixelAlpha128(benchmark::State &s) { runSDLPixelAlpha(s, false); }
void BM_SDL_BlitPixelAlphaRandom(benchmark::State &s) { runSDLPixelAlpha(s, true); }

} // namespace

BENCHMARK(BM_Memcpy);
BENCHMARK(BM_BlitOpaque);
BENCHMARK(BM_BlitMasked255);
BENCHMARK(BM_BlitMaskedRandom01);
BENCHMARK(BM_BlendMask255);
BENCHMARK(BM_BlendMask0);
BENCHMARK(BM_BlendMask128);
BENCHMARK(BM_BlendMaskRandom);
BENCHMARK(BM_SDL_Blit565);
BENCHMARK(BM_SDL_BlitSurfaceAlpha128);
BENCHMARK(BM_SDL_BlitPixelAlpha128);
BENCHMARK(BM_SDL_BlitPixelAlphaRandom);
