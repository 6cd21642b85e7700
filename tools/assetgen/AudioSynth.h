#ifndef AUDIOSYNTH_H
#define AUDIOSYNTH_H

#include <cstddef>
#include <cstdint>
#include <vector>

// A tiny additive synthesiser: notes of simple waves with envelopes and
// one-pole filters, mixed into float buffers at the game's mixing rate.
namespace synth {

const int kRate = 22050;

struct Buffer {
    int                 channels;
    std::vector<float>  samples;    // interleaved

                        Buffer(int ch, long frames) : channels(ch), samples(size_t(ch) * size_t(frames), 0.0f) {}
    long                frames() const { return long(samples.size() / size_t(channels)); }
};

// Deterministic noise: the same seed always gives the same sound.
class Rng {
public:
    explicit            Rng(uint32_t seed) : m_uState(seed ? seed : 1u) {}
    uint32_t            next();
    float               uniform();      // -1 .. 1
    float               unit();         // 0 .. 1

private:
    uint32_t            m_uState;
};

enum Wave { WAVE_SINE, WAVE_TRIANGLE, WAVE_SQUARE, WAVE_SAW, WAVE_NOISE, WAVE_BELL, WAVE_PLUCK };

struct Note {
    double  start = 0;          // seconds
    double  duration = 0.1;     // seconds until release begins
    double  freq = 440;
    double  freqEnd = 0;        // 0: no glide
    Wave    wave = WAVE_SINE;
    double  amp = 0.3;
    double  pan = 0;            // -1 left .. 1 right
    double  attack = 0.005;
    double  decay = 0.1;
    double  sustain = 0.7;
    double  release = 0.05;
    double  vibratoDepth = 0;   // semitones
    double  vibratoRate = 5;
    double  duty = 0.5;
    double  lowpass = 0;        // Hz, 0: none
    double  highpass = 0;       // Hz, 0: none
    double  decayRate = 0;      // extra exponential fade per second (percussive)
};

double  midiToFreq(double midi);

// Mixes one note in. With a loop region (loopStart < loopEnd), anything that
// would land at or past loopEnd wraps back into the region, so the region
// repeats without a seam.
void    render(Buffer &buf, const Note &n, Rng &rng, long loopStart = 0, long loopEnd = 0);

void    lowpass(Buffer &buf, double cutoff);
void    normalise(Buffer &buf, float peak);
void    fadeEdges(Buffer &buf, double inSeconds, double outSeconds);

// PCM WAV, 16-bit, 16-byte fmt chunk, data right after.
std::vector<uint8_t> encodeWav(const Buffer &buf);
// Ogg Vorbis at the buffer's channel count and 22050 Hz.
bool    encodeOgg(const Buffer &buf, float quality, uint32_t serial, std::vector<uint8_t> &out);

}

#endif
