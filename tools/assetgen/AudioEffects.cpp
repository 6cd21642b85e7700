#include "AssetAudio.h"
#include "AudioSynth.h"

#include <cmath>

using namespace synth;

// The mixer adds voices with no limiter: at a level's end the bonus ticks,
// the jingle and the music sound together. Effects peak well below full
// scale so that sum stays clear of clipping.
static const float kEffectHeadroom = 0.6f;

static bool s_addOgg(AssetSet &set, const char *name, Buffer &buf, uint32_t serial) {
    std::vector<uint8_t> bytes;
    if (!encodeOgg(buf, 0.5f, serial, bytes)) {
        return false;
    }
    set.addSound(name, std::move(bytes));
    return true;
}

static Buffer s_click() {
    Buffer b(1, long(0.05 * kRate));
    Rng rng(11);
    Note n;
    n.freq = 2200; n.freqEnd = 1500; n.wave = WAVE_SINE; n.amp = 0.8;
    n.attack = 0.001; n.duration = 0.01; n.release = 0.035; n.sustain = 1; n.decayRate = 60;
    render(b, n, rng);
    Note t;
    t.wave = WAVE_NOISE; t.amp = 0.35; t.attack = 0.0005; t.duration = 0.003; t.release = 0.006;
    t.highpass = 3000;
    render(b, t, rng);
    normalise(b, 0.7f * kEffectHeadroom);
    fadeEdges(b, 0, 0.005);
    return b;
}

static Buffer s_guiClick() {
    Buffer b(1, long(0.09 * kRate));
    Rng rng(12);
    // A soft "plip": a quick downward chirp with a wooden knock under it.
    Note n;
    n.freq = 1500; n.freqEnd = 600; n.wave = WAVE_TRIANGLE; n.amp = 0.7;
    n.attack = 0.001; n.duration = 0.02; n.release = 0.05; n.sustain = 1; n.decayRate = 35;
    render(b, n, rng);
    Note k;
    k.freq = 320; k.wave = WAVE_SINE; k.amp = 0.5; k.attack = 0.001; k.duration = 0.01; k.release = 0.03;
    k.decayRate = 50;
    render(b, k, rng);
    normalise(b, 0.65f * kEffectHeadroom);
    fadeEdges(b, 0, 0.01);
    return b;
}

// Crumbling: many tiny noise grains thinning out, over a short thump.
static Buffer s_crunch(double length, double thumpHz, double grainCut, int grains, uint32_t seed) {
    Buffer b(1, long(length * kRate));
    Rng rng(seed);
    Note thump;
    thump.freq = thumpHz; thump.freqEnd = thumpHz * 0.3; thump.wave = WAVE_SINE; thump.amp = 0.9;
    thump.attack = 0.002; thump.duration = 0.04; thump.release = 0.12; thump.decayRate = 12;
    render(b, thump, rng);
    for (int i = 0; i < grains; i++) {
        double u = rng.unit();
        Note g;
        g.start = u * u * (length - 0.12);
        g.wave = WAVE_NOISE;
        g.amp = 0.55 * (1.0 - 0.7 * u) * (0.5 + 0.5 * rng.unit());
        g.attack = 0.0008; g.duration = 0.004 + 0.01 * rng.unit(); g.release = 0.02;
        g.lowpass = grainCut * (0.6 + 0.8 * rng.unit());
        g.highpass = 400;
        render(b, g, rng);
    }
    normalise(b, 0.8f * kEffectHeadroom);
    fadeEdges(b, 0, 0.05);
    return b;
}

static Buffer s_blocked() {
    Buffer b(1, long(0.32 * kRate));
    Rng rng(14);
    Note buzz;
    buzz.freq = 92; buzz.freqEnd = 80; buzz.wave = WAVE_SQUARE; buzz.amp = 0.6;
    buzz.attack = 0.004; buzz.duration = 0.16; buzz.release = 0.12; buzz.lowpass = 700; buzz.sustain = 0.8;
    render(b, buzz, rng);
    Note buzz2 = buzz;
    buzz2.freq = 97; buzz2.freqEnd = 84; buzz2.wave = WAVE_SAW; buzz2.amp = 0.3;
    render(b, buzz2, rng);
    Note thud;
    thud.freq = 120; thud.freqEnd = 45; thud.amp = 0.8; thud.attack = 0.002; thud.duration = 0.03;
    thud.release = 0.1; thud.decayRate = 15;
    render(b, thud, rng);
    normalise(b, 0.75f * kEffectHeadroom);
    fadeEdges(b, 0.002, 0.04);
    return b;
}

static void s_bell(Buffer &b, Rng &rng, double start, double midi, double amp, double len, double pan = 0) {
    Note n;
    n.start = start; n.freq = midiToFreq(midi); n.wave = WAVE_BELL; n.amp = amp; n.pan = pan;
    n.attack = 0.003; n.duration = len; n.decay = len; n.sustain = 0.0; n.release = 0.05; n.decayRate = 3;
    render(b, n, rng);
}

static void s_lead(Buffer &b, Rng &rng, double start, double midi, double amp, double len, Wave w) {
    Note n;
    n.start = start; n.freq = midiToFreq(midi); n.wave = w; n.amp = amp; n.duty = 0.25;
    n.attack = 0.01; n.decay = 0.08; n.sustain = 0.6; n.duration = len; n.release = 0.08;
    n.lowpass = 3500; n.vibratoDepth = 0.08; n.vibratoRate = 6;
    render(b, n, rng);
}

static Buffer s_oneMoreToGo() {
    Buffer b(1, long(1.1 * kRate));
    Rng rng(15);
    // Rising "one more!" call: two quick notes then a held higher one.
    s_lead(b, rng, 0.00, 72, 0.3, 0.12, WAVE_SQUARE);
    s_lead(b, rng, 0.15, 76, 0.3, 0.12, WAVE_SQUARE);
    s_lead(b, rng, 0.30, 84, 0.35, 0.45, WAVE_SQUARE);
    s_bell(b, rng, 0.00, 84, 0.25, 0.3);
    s_bell(b, rng, 0.15, 88, 0.25, 0.3);
    s_bell(b, rng, 0.30, 96, 0.3, 0.7);
    normalise(b, 0.8f * kEffectHeadroom);
    fadeEdges(b, 0, 0.08);
    return b;
}

static Buffer s_levelUp() {
    Buffer b(1, long(2.2 * kRate));
    Rng rng(16);
    const double notes[] = {60, 64, 67, 72, 67, 72, 76};
    for (int i = 0; i < 6; i++) {
        s_lead(b, rng, i * 0.1, notes[i], 0.22, 0.08, WAVE_SQUARE);
        s_bell(b, rng, i * 0.1, notes[i] + 12, 0.12, 0.2);
    }
    // The held chord.
    const double chord[] = {72, 76, 79, 84};
    for (double m : chord) {
        s_lead(b, rng, 0.62, m, 0.16, 1.0, m == 84 ? WAVE_SQUARE : WAVE_TRIANGLE);
        s_bell(b, rng, 0.62, m + 12, 0.1, 1.2);
    }
    Note roll;
    roll.start = 0.62; roll.wave = WAVE_NOISE; roll.amp = 0.12; roll.duration = 0.05; roll.release = 0.4;
    roll.highpass = 5000; roll.decayRate = 4;
    render(b, roll, rng);
    normalise(b, 0.8f * kEffectHeadroom);
    fadeEdges(b, 0, 0.3);
    return b;
}

static Buffer s_gameOver() {
    Buffer b(1, long(2.3 * kRate));
    Rng rng(17);
    // Sad trombone-ish fall: four steps down, the last one wobbling.
    const double notes[] = {67, 66, 65, 64};
    for (int i = 0; i < 4; i++) {
        Note n;
        n.start = i * 0.36; n.freq = midiToFreq(notes[i]); n.wave = WAVE_SAW; n.amp = 0.35;
        n.attack = 0.03; n.decay = 0.1; n.sustain = 0.8; n.duration = i == 3 ? 0.95 : 0.28;
        n.release = i == 3 ? 0.3 : 0.06; n.lowpass = 1200;
        if (i == 3) {
            n.vibratoDepth = 0.5; n.vibratoRate = 5; n.freqEnd = midiToFreq(notes[i] - 2);
        }
        render(b, n, rng);
        Note l = n;
        l.freq /= 2; l.freqEnd = n.freqEnd > 0 ? n.freqEnd / 2 : 0; l.wave = WAVE_TRIANGLE; l.amp = 0.3;
        render(b, l, rng);
    }
    normalise(b, 0.8f * kEffectHeadroom);
    fadeEdges(b, 0, 0.2);
    return b;
}

static Buffer s_candyCane() {
    Buffer b(1, long(0.9 * kRate));
    Rng rng(18);
    // A run of high chimes, like sugar glittering.
    const double scale[] = {84, 86, 88, 91, 93, 96, 98, 100};
    for (int i = 0; i < 10; i++) {
        double m = scale[(i * 3 + (i >> 1)) % 8];
        s_bell(b, rng, i * 0.045, m, 0.25 * (1.0 - i * 0.05), 0.35);
    }
    Note shimmer;
    shimmer.wave = WAVE_NOISE; shimmer.amp = 0.05; shimmer.duration = 0.3; shimmer.release = 0.3;
    shimmer.highpass = 7000; shimmer.attack = 0.05;
    render(b, shimmer, rng);
    normalise(b, 0.75f * kEffectHeadroom);
    fadeEdges(b, 0, 0.1);
    return b;
}

static Buffer s_klaxon() {
    // Rendered three times round and the middle cycle kept, so the filters
    // are settled and the end flows straight into the start.
    const long cycle = long(0.8 * kRate);    // 17640 frames: whole waves of both tones
    Buffer b(1, cycle * 3);
    Rng rng(19);
    for (int rep = 0; rep < 3; rep++) {
        for (int half = 0; half < 2; half++) {
            Note n;
            n.start = double(rep * cycle + half * cycle / 2) / kRate;
            n.freq = half == 0 ? 660.0 : 495.0;   // both a whole number of cycles per half
            n.wave = WAVE_SQUARE; n.amp = 0.45; n.attack = 0.008; n.decay = 0.01; n.sustain = 1;
            n.duration = 0.4 - 0.016; n.release = 0.008; n.lowpass = 2500;
            render(b, n, rng);
            Note s = n;
            s.wave = WAVE_TRIANGLE; s.freq *= 2; s.amp = 0.2; s.lowpass = 0;
            render(b, s, rng);
        }
    }
    Buffer out(1, cycle);
    for (long i = 0; i < cycle; i++) {
        out.samples[size_t(i)] = b.samples[size_t(cycle + i)];
    }
    normalise(out, 0.7f * kEffectHeadroom);
    return out;
}

static Buffer s_splash() {
    Buffer b(1, long(3.0 * kRate));
    Rng rng(20);
    // A sugary whoosh up into a bright chord and a little bell motif.
    Note whoosh;
    whoosh.wave = WAVE_NOISE; whoosh.amp = 0.3; whoosh.attack = 0.5; whoosh.duration = 0.55; whoosh.release = 0.1;
    whoosh.lowpass = 2500; whoosh.highpass = 600;
    render(b, whoosh, rng);
    Note gliss;
    gliss.freq = midiToFreq(48); gliss.freqEnd = midiToFreq(72); gliss.wave = WAVE_TRIANGLE; gliss.amp = 0.25;
    gliss.attack = 0.05; gliss.duration = 0.5; gliss.release = 0.1;
    render(b, gliss, rng);
    const double chord[] = {60, 64, 67, 72};
    for (double m : chord) {
        s_lead(b, rng, 0.6, m, 0.13, 0.9, WAVE_SQUARE);
        s_bell(b, rng, 0.6, m + 12, 0.1, 1.0);
    }
    const double motif[] = {79, 84, 88, 91, 96};
    for (int i = 0; i < 5; i++) {
        s_bell(b, rng, 1.4 + i * 0.14, motif[i], 0.22, i == 4 ? 1.2 : 0.4);
    }
    normalise(b, 0.8f * kEffectHeadroom);
    fadeEdges(b, 0.01, 0.5);
    return b;
}

bool synthSoundEffects(AssetSet &set) {
    set.addSound("click.wav", encodeWav(s_click()));
    set.addSound("guiclick.wav", encodeWav(s_guiClick()));
    set.addSound("crunch.wav", encodeWav(s_crunch(0.45, 260, 5000, 90, 13)));
    Buffer bjb = s_crunch(0.55, 150, 2600, 140, 21);
    Buffer blocked = s_blocked();
    Buffer omtg = s_oneMoreToGo();
    Buffer levelup = s_levelUp();
    Buffer gameover = s_gameOver();
    Buffer candy = s_candyCane();
    Buffer klaxon = s_klaxon();
    Buffer splash = s_splash();
    return s_addOgg(set, "splash.ogg", splash, 101) && s_addOgg(set, "blocked.ogg", blocked, 102) &&
           s_addOgg(set, "bjbcrunch.ogg", bjb, 103) && s_addOgg(set, "onemoretogo.ogg", omtg, 104) &&
           s_addOgg(set, "levelup.ogg", levelup, 105) && s_addOgg(set, "gameover.ogg", gameover, 106) &&
           s_addOgg(set, "candycane.ogg", candy, 107) && s_addOgg(set, "klaxon.ogg", klaxon, 108);
}
