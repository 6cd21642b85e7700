// Audio cost as a fraction of real time: mixing one second of 22050 Hz stereo
// with eight voices over the music stream, and decoding the music alone.
// The music is any Ogg Vorbis file named by GOBSTREL_BENCH_OGG, else the
// game's own "theme.ogg" from ../Resources/gobstrel.qvz beside this program,
// else ten seconds of stereo music the benchmark encodes itself; the label
// says which.
// Run:
//     build/bin/audio_bench --benchmark_min_time=0.5
// The counter "rt_fraction" is the time spent per second of audio (1.0 would
// take a whole core to keep up); "rt_percent" is the same in percent.
#include <benchmark/benchmark.h>

#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "HAudioMixerStreamingAudioSource.h"
#include "HFile.h"
#include "HMutex.h"
#include "HOVAudioStream.h"
#include "HZIPFileSystem.h"
#include "OggEncoder.h"

namespace {

const int kRate = 22050;
const int kBufferFrames = 1024;     // what the SDL device asks for at 22050 Hz

std::vector<uint8_t> s_readFile(const char *path)
{
    std::vector<uint8_t> bytes;
    FILE *f = fopen(path, "rb");
    if (!f) {
        return bytes;
    }
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    fclose(f);
    return bytes;
}

std::vector<uint8_t> s_readTheme()
{
    const char *env = getenv("GOBSTREL_BENCH_OGG");
    if (env && *env) {
        return s_readFile(env);
    }
    std::vector<uint8_t> bytes;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) {
        return bytes;
    }
    exe[n] = '\0';
    std::string dir(exe);
    dir = dir.substr(0, dir.rfind('/'));
    const std::string archive = dir + "/../Resources/gobstrel.qvz";

    HZIPFileSystem zip;
    if (!zip.init(archive.c_str())) {
        return bytes;
    }
    if (HFile *file = zip.openFileForRead("theme.ogg")) {
        bytes.resize((size_t)file->getSize());
        if (file->read(bytes.data(), (int32_t)bytes.size()) != (int32_t)bytes.size()) {
            bytes.clear();
        }
        file->close();
    }
    zip.shutdown();
    return bytes;
}

// Ten seconds of a stereo chord progression with a little noise, encoded like
// the game's music (22050 Hz, VBR quality 0.4), for when no theme is found.
std::vector<uint8_t> s_encodeMusic()
{
    static const double kRoots[4] = { 220.0, 174.61, 261.63, 196.0 };
    const int frames = kRate * 10;
    std::vector<float> samples((size_t)frames * 2);
    uint32_t noise = 12345;
    for (int i = 0; i < frames; i++) {
        const double t = (double)i / kRate;
        const double root = kRoots[i / (kRate * 5 / 2) % 4];
        double v = 0.0;
        for (int n = 0; n < 3; n++) {
            v += 0.12 * sin(2.0 * M_PI * root * (1.0 + 0.25 * n + (n == 2) * 0.25) * t);
        }
        noise = noise * 1664525u + 1013904223u;
        const double hiss = ((double)(noise >> 16) / 65536.0 - 0.5) * 0.02;
        samples[(size_t)i * 2] = (float)(v * (0.7 + 0.3 * sin(t)) + hiss);
        samples[(size_t)i * 2 + 1] = (float)(v * (0.7 + 0.3 * cos(t)) - hiss);
    }
    return oggEncodeFloat(2, kRate, samples, 2026);
}

struct Music {
    std::vector<uint8_t> bytes;
    const char *source;
};

Music s_loadMusic()
{
    Music music;
    music.bytes = s_readTheme();
    music.source = getenv("GOBSTREL_BENCH_OGG") ? "GOBSTREL_BENCH_OGG" : "theme.ogg";
    if (music.bytes.empty()) {
        music.bytes = s_encodeMusic();
        music.source = "encoded";
    }
    return music;
}

const Music &s_music()
{
    static const Music music = s_loadMusic();
    return music;
}

const std::vector<uint8_t> &s_theme()
{
    return s_music().bytes;
}

typedef std::chrono::steady_clock s_clock;

void s_reportRealTime(benchmark::State &state, s_clock::time_point start, double audioSeconds)
{
    const double spent = std::chrono::duration<double>(s_clock::now() - start).count();
    if (audioSeconds > 0.0) {
        state.counters["rt_fraction"] = spent / audioSeconds;
        state.counters["rt_percent"] = 100.0 * spent / audioSeconds;
    }
}

void BM_MixOneSecond(benchmark::State &state)
{
    const bool withMusic = state.range(0) != 0;
    const std::vector<uint8_t> &theme = s_theme();
    if (withMusic && theme.empty()) {
        state.SkipWithError("no music: neither found nor encoded");
        return;
    }
    if (withMusic) {
        state.SetLabel(s_music().source);
    }

    // Eight different looping voices, mono and stereo, at mixed volumes.
    std::vector<std::vector<int16_t>> pcm(8);
    HAudioMixerStreamingAudioSource mixer;
    mixer.setFormat(2, 16, kRate);
    for (int v = 0; v < 8; v++) {
        const int channels = 1 + (v & 1);
        const int frames = 3000 + 1700 * v;
        pcm[v].resize((size_t)frames * channels);
        for (size_t i = 0; i < pcm[v].size(); i++) {
            pcm[v][i] = (int16_t)(12000 * sin(0.01 * (v + 1) * (double)i));
        }
        HAudioSample sample = { (uint8_t *)pcm[v].data(), channels, 16, kRate,
                                (int32_t)(pcm[v].size() * 2) };
        mixer.playSample(nullptr, &sample, 96 + 20 * v, 0, -1);
    }

    HOVAudioStream music;
    HMutex *mutex = nullptr;
    if (withMusic) {
        music.init();
        if (!music.setStream(theme.data(), (int32_t)theme.size(), 16, kRate, 0)) {
            state.SkipWithError("the music does not open");
            music.shutdown();
            mixer.resetVoices();
            return;
        }
        mutex = createMutex();
        music.setMutex(mutex);
        mixer.setStream(nullptr, &music, 63);
    }

    std::vector<int16_t> buffer((size_t)kBufferFrames * 2);
    const int buffersPerSecond = (kRate + kBufferFrames - 1) / kBufferFrames;
    const s_clock::time_point start = s_clock::now();
    for (auto _ : state) {
        for (int b = 0; b < buffersPerSecond; b++) {
            mixer.readNextChunk((uint8_t *)buffer.data(), kBufferFrames * 4);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    s_reportRealTime(state, start,
                     (double)state.iterations() * buffersPerSecond * kBufferFrames / kRate);

    mixer.clearStream();
    mixer.resetVoices();
    if (withMusic) {
        music.shutdown();
    }
    if (mutex) {
        mutex->destroy();
        delete mutex;
    }
}
BENCHMARK(BM_MixOneSecond)->Arg(0)->Arg(1)->ArgName("music")->Unit(benchmark::kMicrosecond);

void BM_DecodeMusic(benchmark::State &state)
{
    const std::vector<uint8_t> &theme = s_theme();
    if (theme.empty()) {
        state.SkipWithError("no music: neither found nor encoded");
        return;
    }
    state.SetLabel(s_music().source);
    HOVAudioStream music;
    music.init();
    if (!music.setStream(theme.data(), (int32_t)theme.size(), 16, kRate, 0)) {
        state.SkipWithError("the music does not open");
        music.shutdown();
        return;
    }
    const int channels = music.getChannels();
    std::vector<uint8_t> buffer((size_t)kBufferFrames * channels * 2);
    int64_t bytes = 0;
    const s_clock::time_point start = s_clock::now();
    for (auto _ : state) {
        bytes += music.read(buffer.data(), (int32_t)buffer.size());
        benchmark::DoNotOptimize(buffer.data());
    }
    // Seconds of decoded music, at the rate the game plays it.
    s_reportRealTime(state, start, (double)bytes / (channels * 2.0 * kRate));
    state.SetBytesProcessed(bytes);
    music.shutdown();
}
BENCHMARK(BM_DecodeMusic)->Unit(benchmark::kMicrosecond);

} // namespace
