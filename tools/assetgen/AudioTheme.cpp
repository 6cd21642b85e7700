#include "AssetAudio.h"
#include "AudioSynth.h"

#include <cmath>

using namespace synth;

// A bouncy shop-counter tune in C major at about 160 beats a minute: a
// two-bar intro played once, then 32 bars that loop for ever.
static const long kBeat = kThemeLoopFrame / 8;      // 8252 frames
static const long kBar = kBeat * 4;
static const int kLoopBars = 32;
static const long kLoopEnd = kThemeLoopFrame + kBar * kLoopBars;

struct MelodyNote {
    int     midi;       // 0: rest
    int     eighths;
};

// One bar per line, eight eighths each.
static const MelodyNote s_sectionA[8][6] = {
    {{76, 2}, {79, 1}, {76, 1}, {72, 2}, {74, 1}, {76, 1}},
    {{81, 3}, {79, 1}, {76, 2}, {72, 2}},
    {{77, 1}, {81, 1}, {84, 2}, {81, 1}, {79, 1}, {77, 2}},
    {{79, 3}, {77, 1}, {76, 2}, {74, 2}},
    {{76, 2}, {79, 1}, {76, 1}, {72, 2}, {74, 1}, {76, 1}},
    {{81, 2}, {84, 2}, {83, 1}, {81, 1}, {79, 2}},
    {{77, 2}, {74, 2}, {79, 2}, {71, 2}},
    {{72, 6}, {0, 2}},
};

static const MelodyNote s_sectionB[8][6] = {
    {{69, 1}, {72, 1}, {77, 2}, {77, 1}, {76, 1}, {74, 2}},
    {{71, 1}, {74, 1}, {79, 2}, {79, 1}, {77, 1}, {76, 2}},
    {{76, 1}, {79, 1}, {83, 2}, {81, 1}, {79, 1}, {76, 2}},
    {{81, 4}, {76, 2}, {72, 2}},
    {{77, 2}, {81, 2}, {84, 2}, {81, 2}},
    {{83, 2}, {79, 2}, {74, 2}, {79, 2}},
    {{84, 3}, {83, 1}, {81, 2}, {79, 2}},
    {{74, 2}, {76, 2}, {77, 2}, {79, 2}},
};

static const MelodyNote s_sectionC[8][6] = {
    {{76, 4}, {72, 4}},
    {{77, 4}, {81, 4}},
    {{79, 6}, {76, 2}},
    {{74, 8}},
    {{72, 2}, {76, 2}, {81, 4}},
    {{84, 4}, {81, 4}},
    {{77, 2}, {81, 2}, {86, 4}},
    {{83, 4}, {79, 2}, {74, 2}},
};

// Chord roots (MIDI) and qualities per bar of each section; 'm' minor.
struct Chord {
    int     root;
    bool    minor;
};

static const Chord s_chordsA[8] = {{48, false}, {45, true}, {41, false}, {43, false},
                                   {48, false}, {45, true}, {50, true},  {48, false}};
static const Chord s_chordsB[8] = {{41, false}, {43, false}, {40, true},  {45, true},
                                   {41, false}, {43, false}, {48, false}, {43, false}};
static const Chord s_chordsC[8] = {{45, true},  {41, false}, {48, false}, {43, false},
                                   {45, true},  {41, false}, {50, true},  {43, false}};

static double s_time(long frame) {
    return double(frame) / kRate;
}

class ThemeWriter {
public:
    explicit    ThemeWriter(Buffer &buf) : m_buf(buf), m_rng(0x5eed) {}

    void        note(const Note &n) { render(m_buf, n, m_rng, kThemeLoopFrame, kLoopEnd); }

    void        melody(long at, const MelodyNote *bar, Wave wave, double amp, double pan, int transpose) {
        long pos = at;
        for (int i = 0; i < 6 && bar[i].eighths > 0; i++) {
            long len = bar[i].eighths * kBeat / 2;
            if (bar[i].midi > 0) {
                Note n;
                n.start = s_time(pos);
                n.freq = midiToFreq(bar[i].midi + transpose);
                n.wave = wave;
                n.amp = amp;
                n.pan = pan;
                n.duty = 0.25;
                n.attack = 0.006;
                n.decay = 0.12;
                n.sustain = wave == WAVE_BELL ? 0.0 : 0.55;
                n.duration = s_time(len) * 0.85;
                n.release = 0.07;
                n.lowpass = wave == WAVE_SQUARE ? 3000 : 0;
                n.vibratoDepth = bar[i].eighths >= 3 ? 0.12 : 0.0;
                n.vibratoRate = 5.5;
                if (wave == WAVE_BELL) {
                    n.decay = s_time(len) + 0.3;
                    n.duration = s_time(len) + 0.2;
                    n.decayRate = 2.5;
                }
                note(n);
            }
            pos += len;
        }
    }

    void        bass(long at, const Chord &c, bool busy) {
        // Root and fifth bouncing on the eighths, octave jump on the "and" of four.
        static const int busyPattern[8] = {0, -1, 7, 0, 12, -1, 7, 12};
        static const int calmPattern[8] = {0, -1, -1, -1, 7, -1, -1, -1};
        const int *pat = busy ? busyPattern : calmPattern;
        for (int e = 0; e < 8; e++) {
            if (pat[e] < 0) {
                continue;
            }
            Note n;
            n.start = s_time(at + e * kBeat / 2);
            n.freq = midiToFreq(c.root - 12 + pat[e]);
            n.wave = WAVE_TRIANGLE;
            n.amp = 0.5;
            n.attack = 0.004;
            n.decay = 0.15;
            n.sustain = 0.5;
            n.duration = s_time(busy ? kBeat / 2 : kBeat * 2) * 0.8;
            n.release = 0.05;
            note(n);
            Note pluck = n;
            pluck.wave = WAVE_PLUCK;
            pluck.amp = 0.25;
            note(pluck);
        }
    }

    void        stabs(long at, const Chord &c, double amp) {
        // Off-beat chord on two and four, a little to the right.
        int third = c.minor ? 3 : 4;
        int tones[3] = {c.root + 12 + 12, c.root + 12 + third + 12, c.root + 12 + 7 + 12};
        for (int beat = 1; beat < 4; beat += 2) {
            for (int t : tones) {
                Note n;
                n.start = s_time(at + beat * kBeat);
                n.freq = midiToFreq(t > 76 ? t - 12 : t);
                n.wave = WAVE_SQUARE;
                n.duty = 0.5;
                n.amp = amp;
                n.pan = 0.45;
                n.attack = 0.005;
                n.decay = 0.08;
                n.sustain = 0.3;
                n.duration = s_time(kBeat) * 0.45;
                n.release = 0.04;
                n.lowpass = 1800;
                note(n);
            }
        }
    }

    void        arpeggio(long at, const Chord &c, double amp) {
        int third = c.minor ? 3 : 4;
        const int steps[8] = {0, third, 7, 12, 7, third, 0, 7};
        for (int e = 0; e < 8; e++) {
            Note n;
            n.start = s_time(at + e * kBeat / 2);
            n.freq = midiToFreq(c.root + 36 + steps[e] - (c.root >= 48 ? 12 : 0));
            n.wave = WAVE_PLUCK;
            n.amp = amp;
            n.pan = -0.4;
            n.duration = s_time(kBeat / 2);
            n.release = 0.2;
            n.sustain = 1;
            note(n);
        }
    }

    void        pad(long at, const Chord &c, double amp) {
        int third = c.minor ? 3 : 4;
        const int tones[3] = {0, third, 7};
        for (int i = 0; i < 3; i++) {
            Note n;
            n.start = s_time(at);
            n.freq = midiToFreq(c.root + 24 + tones[i]);
            n.wave = WAVE_SAW;
            n.amp = amp;
            n.pan = i == 0 ? -0.5 : i == 1 ? 0.5 : 0.0;
            n.attack = 0.25;
            n.decay = 0.3;
            n.sustain = 0.8;
            n.duration = s_time(kBar) - 0.2;
            n.release = 0.25;
            n.lowpass = 900;
            n.vibratoDepth = 0.06;
            n.vibratoRate = 4 + i * 0.7;
            note(n);
        }
    }

    void        drums(long at, bool fill, bool light) {
        for (int e = 0; e < 8; e++) {
            long pos = at + e * kBeat / 2;
            if (!light && (e == 0 || e == 4 || (fill && e == 7))) {
                Note k;
                k.start = s_time(pos);
                k.freq = 140;
                k.freqEnd = 45;
                k.wave = WAVE_SINE;
                k.amp = 0.55;
                k.attack = 0.002;
                k.duration = 0.05;
                k.release = 0.12;
                k.decayRate = 10;
                note(k);
            }
            if (e == 2 || e == 6 || (fill && e >= 5)) {
                Note s;
                s.start = s_time(pos);
                s.wave = WAVE_NOISE;
                s.amp = light ? 0.12 : 0.22;
                s.attack = 0.001;
                s.duration = 0.02;
                s.release = 0.1;
                s.lowpass = 5000;
                s.highpass = 900;
                s.decayRate = 18;
                s.pan = -0.1;
                note(s);
                Note body = s;
                body.wave = WAVE_TRIANGLE;
                body.freq = 220;
                body.amp = light ? 0.06 : 0.12;
                body.lowpass = 0;
                body.highpass = 0;
                note(body);
            }
            Note h;
            h.start = s_time(pos);
            h.wave = WAVE_NOISE;
            h.amp = (e & 1) ? 0.05 : 0.08;
            h.attack = 0.0005;
            h.duration = 0.005;
            h.release = 0.03;
            h.highpass = 7000;
            h.pan = 0.5;
            note(h);
        }
    }

private:
    Buffer &    m_buf;
    Rng         m_rng;
};

bool synthTheme(AssetSet &set) {
    Buffer buf(2, kLoopEnd);
    ThemeWriter w(buf);

    // Intro: a glockenspiel run up the C chord over a snare roll, ending
    // cleanly before the loop so the first pass matches every other one.
    const int run[8] = {60, 64, 67, 72, 76, 79, 84, 88};
    for (int i = 0; i < 8; i++) {
        Note n;
        n.start = s_time(i * kBeat * 3 / 4);
        n.freq = midiToFreq(run[i]);
        n.wave = WAVE_BELL;
        n.amp = 0.28;
        n.pan = -0.6 + i * 0.17;
        n.attack = 0.004;
        n.decay = 0.5;
        n.sustain = 0;
        n.duration = 0.45;
        n.release = 0.1;
        n.decayRate = 3;
        w.note(n);
    }
    for (int i = 0; i < 12; i++) {
        Note s;
        s.start = s_time(kBar + i * kBeat / 4);
        s.wave = WAVE_NOISE;
        s.amp = 0.05 + 0.015 * i;
        s.attack = 0.001;
        s.duration = 0.015;
        s.release = 0.06;
        s.lowpass = 5000;
        s.highpass = 900;
        w.note(s);
    }
    w.bass(kBar, Chord{43, false}, false);

    // The loop: A, B, A again with the bells doubling, then the bridge.
    for (int section = 0; section < 4; section++) {
        const MelodyNote (*mel)[6] = section == 1 ? s_sectionB : section == 3 ? s_sectionC : s_sectionA;
        const Chord *chords = section == 1 ? s_chordsB : section == 3 ? s_chordsC : s_chordsA;
        for (int bar = 0; bar < 8; bar++) {
            long at = kThemeLoopFrame + (section * 8 + bar) * kBar;
            const Chord &c = chords[bar];
            bool last = bar == 7;
            if (section == 3) {
                w.melody(at, mel[bar], WAVE_BELL, 0.3, -0.15, 0);
                w.melody(at, mel[bar], WAVE_TRIANGLE, 0.14, 0.2, -12);
                w.pad(at, c, 0.055);
                w.bass(at, c, false);
                w.arpeggio(at, c, 0.16);
                w.drums(at, last, bar < 6);
            } else {
                w.melody(at, mel[bar], WAVE_SQUARE, 0.2, -0.1, 0);
                if (section == 2) {
                    w.melody(at, mel[bar], WAVE_BELL, 0.16, 0.3, 12);
                    w.arpeggio(at, c, 0.12);
                }
                w.stabs(at, c, 0.05);
                w.bass(at, c, true);
                w.drums(at, last, false);
            }
        }
    }

    // Headroom without changing the shape: the loop seam is untouched.
    normalise(buf, 0.95f);
    std::vector<uint8_t> bytes;
    if (!encodeOgg(buf, 0.4f, 100, bytes)) {
        return false;
    }
    set.addSound("theme.ogg", std::move(bytes));
    return true;
}
