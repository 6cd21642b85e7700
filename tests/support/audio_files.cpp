#include "audio_files.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include "OggEncoder.h"

static void s_put32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int i = 0; i < 4; i++) {
        out.push_back((uint8_t)(v >> (8 * i)));
    }
}

static void s_put16(std::vector<uint8_t> &out, uint16_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

static void s_putTag(std::vector<uint8_t> &out, const char *tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::vector<uint8_t> audioMakeWav(int channels, int rate, int bits, const std::vector<uint8_t> &data,
                                  int64_t data_size_field)
{
    std::vector<uint8_t> out;
    s_putTag(out, "RIFF");
    s_put32(out, (uint32_t)(36 + data.size()));
    s_putTag(out, "WAVE");
    s_putTag(out, "fmt ");
    s_put32(out, 16);
    s_put16(out, 1);
    s_put16(out, (uint16_t)channels);
    s_put32(out, (uint32_t)rate);
    s_put32(out, (uint32_t)(rate * channels * bits / 8));
    s_put16(out, (uint16_t)(channels * bits / 8));
    s_put16(out, (uint16_t)bits);
    s_putTag(out, "data");
    s_put32(out, data_size_field < 0 ? (uint32_t)data.size() : (uint32_t)data_size_field);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<int16_t> audioSine(int channels, int rate, int frames, double hz, int amplitude)
{
    std::vector<int16_t> out((size_t)frames * channels);
    for (int f = 0; f < frames; f++) {
        const int16_t v = (int16_t)lround(amplitude * sin(2.0 * M_PI * hz * f / rate));
        for (int c = 0; c < channels; c++) {
            out[(size_t)f * channels + c] = v;
        }
    }
    return out;
}

std::vector<uint8_t> audioEncodeOgg(int channels, int rate, const std::vector<int16_t> &interleaved)
{
    std::vector<float> samples(interleaved.size());
    for (size_t i = 0; i < interleaved.size(); i++) {
        samples[i] = interleaved[i] / 32768.0f;
    }
    return oggEncodeFloat(channels, rate, samples, 1234);
}

AudioTempDir::AudioTempDir()
{
    char path[] = "/tmp/gobstrel-audio-XXXXXX";
    if (mkdtemp(path)) {
        m_path = path;
    }
}

AudioTempDir::~AudioTempDir()
{
    if (!m_path.empty()) {
        std::string cmd = "rm -rf '" + m_path + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", m_path.c_str());
        }
    }
}

bool AudioTempDir::write(const std::string &name, const std::vector<uint8_t> &bytes) const
{
    FILE *f = fopen(file(name).c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::vector<uint8_t> AudioTempDir::read(const std::string &name) const
{
    std::vector<uint8_t> bytes;
    FILE *f = fopen(file(name).c_str(), "rb");
    if (!f) {
        return bytes;
    }
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    fclose(f);
    return bytes;
}
