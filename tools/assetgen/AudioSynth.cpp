#include "AudioSynth.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vorbis/vorbisenc.h>

namespace synth {

uint32_t Rng::next() {
    m_uState ^= m_uState << 13;
    m_uState ^= m_uState >> 17;
    m_uState ^= m_uState << 5;
    return m_uState;
}

float Rng::uniform() {
    return float(next() >> 8) / float(1 << 23) - 1.0f;
}

float Rng::unit() {
    return float(next() >> 8) / float(1 << 24);
}

double midiToFreq(double midi) {
    return 440.0 * pow(2.0, (midi - 69.0) / 12.0);
}

static double s_envelope(const Note &n, double t) {
    double e;
    if (t < n.attack) {
        e = t / n.attack;
    } else if (t < n.attack + n.decay) {
        e = 1.0 - (1.0 - n.sustain) * (t - n.attack) / n.decay;
    } else {
        e = n.sustain;
    }
    if (t > n.duration) {
        double r = (t - n.duration) / n.release;
        e *= r >= 1.0 ? 0.0 : 1.0 - r;
    }
    if (n.decayRate > 0) {
        e *= exp(-n.decayRate * t);
    }
    return e;
}

void render(Buffer &buf, const Note &n, Rng &rng, long loopStart, long loopEnd) {
    long first = long(n.start * kRate + 0.5);
    long count = long((n.duration + n.release) * kRate) + 1;
    double phase = 0, modPhase = 0;
    double lp = 0, hpIn = 0, hpOut = 0;
    double lpA = n.lowpass > 0 ? 1.0 - exp(-2.0 * M_PI * n.lowpass / kRate) : 1.0;
    double hpA = n.highpass > 0 ? exp(-2.0 * M_PI * n.highpass / kRate) : 0.0;
    double panL = cos((n.pan + 1) * M_PI / 4), panR = sin((n.pan + 1) * M_PI / 4);
    // Karplus-Strong string for plucks.
    std::vector<float> string;
    size_t stringPos = 0;
    if (n.wave == WAVE_PLUCK) {
        size_t len = size_t(kRate / n.freq + 0.5);
        if (len < 2) len = 2;
        string.resize(len);
        for (float &s : string) {
            s = rng.uniform();
        }
    }
    for (long i = 0; i < count; i++) {
        double t = double(i) / kRate;
        double f = n.freq;
        if (n.freqEnd > 0) {
            double k = t / (n.duration + n.release);
            f = n.freq * pow(n.freqEnd / n.freq, k);
        }
        if (n.vibratoDepth > 0) {
            f *= pow(2.0, n.vibratoDepth * sin(2 * M_PI * n.vibratoRate * t) / 12.0);
        }
        phase += f / kRate;
        phase -= floor(phase);
        double v;
        switch (n.wave) {
        case WAVE_TRIANGLE: v = 4.0 * fabs(phase - 0.5) - 1.0; break;
        case WAVE_SQUARE:   v = phase < n.duty ? 0.7 : -0.7; break;
        case WAVE_SAW:      v = 2.0 * phase - 1.0; break;
        case WAVE_NOISE:    v = rng.uniform(); break;
        case WAVE_BELL: {
            // Two-operator FM whose brightness fades with the note.
            modPhase += f * 3.5 / kRate;
            modPhase -= floor(modPhase);
            double index = 2.2 * exp(-6.0 * t);
            v = sin(2 * M_PI * phase + index * sin(2 * M_PI * modPhase));
            break;
        }
        case WAVE_PLUCK: {
            size_t next = (stringPos + 1) % string.size();
            float out = string[stringPos];
            string[stringPos] = 0.497f * (string[stringPos] + string[next]);
            stringPos = next;
            v = out;
            break;
        }
        default:            v = sin(2 * M_PI * phase); break;
        }
        if (n.lowpass > 0) {
            lp += lpA * (v - lp);
            v = lp;
        }
        if (n.highpass > 0) {
            double o = hpA * (hpOut + v - hpIn);
            hpIn = v;
            hpOut = o;
            v = o;
        }
        v *= n.amp * s_envelope(n, t);
        long frame = first + i;
        if (loopEnd > loopStart) {
            while (frame >= loopEnd) {
                frame -= loopEnd - loopStart;
            }
        }
        if (frame < 0 || frame >= buf.frames()) {
            continue;
        }
        if (buf.channels == 2) {
            buf.samples[size_t(frame) * 2] += float(v * panL * M_SQRT2);
            buf.samples[size_t(frame) * 2 + 1] += float(v * panR * M_SQRT2);
        } else {
            buf.samples[size_t(frame)] += float(v);
        }
    }
}

void lowpass(Buffer &buf, double cutoff) {
    double a = 1.0 - exp(-2.0 * M_PI * cutoff / kRate);
    for (int c = 0; c < buf.channels; c++) {
        double s = 0;
        for (long i = 0; i < buf.frames(); i++) {
            float &x = buf.samples[size_t(i) * size_t(buf.channels) + size_t(c)];
            s += a * (x - s);
            x = float(s);
        }
    }
}

void normalise(Buffer &buf, float peak) {
    float m = 0;
    for (float s : buf.samples) {
        m = std::max(m, std::fabs(s));
    }
    if (m > 0) {
        float k = peak / m;
        for (float &s : buf.samples) {
            s *= k;
        }
    }
}

void fadeEdges(Buffer &buf, double inSeconds, double outSeconds) {
    long n = buf.frames();
    long fi = long(inSeconds * kRate), fo = long(outSeconds * kRate);
    for (long i = 0; i < n; i++) {
        double g = 1;
        if (i < fi) g *= double(i) / fi;
        if (n - 1 - i < fo) g *= double(n - 1 - i) / fo;
        for (int c = 0; c < buf.channels; c++) {
            buf.samples[size_t(i) * size_t(buf.channels) + size_t(c)] *= float(g);
        }
    }
}

static void s_put32(std::vector<uint8_t> &o, uint32_t v) {
    for (int i = 0; i < 4; i++) o.push_back(uint8_t(v >> (8 * i)));
}

static void s_put16(std::vector<uint8_t> &o, uint16_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}

static int16_t s_toPcm(float s) {
    if (s > 1.0f) s = 1.0f;
    if (s < -1.0f) s = -1.0f;
    return int16_t(lrintf(s * 32767.0f));
}

std::vector<uint8_t> encodeWav(const Buffer &buf) {
    std::vector<uint8_t> o;
    uint32_t dataBytes = uint32_t(buf.samples.size() * 2);
    o.insert(o.end(), {'R', 'I', 'F', 'F'});
    s_put32(o, 36 + dataBytes);
    o.insert(o.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    s_put32(o, 16);
    s_put16(o, 1);
    s_put16(o, uint16_t(buf.channels));
    s_put32(o, kRate);
    s_put32(o, uint32_t(kRate * buf.channels * 2));
    s_put16(o, uint16_t(buf.channels * 2));
    s_put16(o, 16);
    o.insert(o.end(), {'d', 'a', 't', 'a'});
    s_put32(o, dataBytes);
    for (float s : buf.samples) {
        s_put16(o, uint16_t(s_toPcm(s)));
    }
    return o;
}

static void s_append(std::vector<uint8_t> &out, const ogg_page &og) {
    out.insert(out.end(), og.header, og.header + og.header_len);
    out.insert(out.end(), og.body, og.body + og.body_len);
}

bool encodeOgg(const Buffer &buf, float quality, uint32_t serial, std::vector<uint8_t> &out) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, buf.channels, kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        return false;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Gobstrel");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, int(serial));
    ogg_packet header, headerComm, headerCode;
    vorbis_analysis_headerout(&vd, &vc, &header, &headerComm, &headerCode);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &headerComm);
    ogg_stream_packetin(&os, &headerCode);
    ogg_page og;
    out.clear();
    while (ogg_stream_flush(&os, &og) != 0) {
        s_append(out, og);
    }
    const long chunk = 1024;
    long total = buf.frames();
    long pos = 0;
    bool eos = false;
    while (!eos) {
        long n = std::min(chunk, total - pos);
        if (n > 0) {
            float **in = vorbis_analysis_buffer(&vd, int(n));
            for (long i = 0; i < n; i++) {
                for (int c = 0; c < buf.channels; c++) {
                    in[c][i] = buf.samples[size_t(pos + i) * size_t(buf.channels) + size_t(c)];
                }
            }
            vorbis_analysis_wrote(&vd, int(n));
            pos += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og) != 0) {
                    s_append(out, og);
                    if (ogg_page_eos(&og)) {
                        eos = true;
                    }
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return true;
}

}
