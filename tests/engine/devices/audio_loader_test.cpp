// WAV and Ogg Vorbis loading through the sample cache, from files the tests
// write into a temporary folder, and the cache's playing rules.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HAudioMixerStreamingAudioSource.h"
#include "HAudioSampleCache.h"
#include "HOGGLoader.h"
#include "HStandardFileSystem.h"
#include "HWAVLoader.h"
#include "audio_files.h"

namespace {

std::vector<uint8_t> bytes16(const std::vector<int16_t> &values)
{
    std::vector<uint8_t> out(values.size() * 2);
    memcpy(out.data(), values.data(), out.size());
    return out;
}

int16_t sampleAt(const HAudioSample &s, int i)
{
    int16_t v;
    memcpy(&v, s.m_pBuffer + i * 2, 2);
    return v;
}

class AudioLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(dir.path().empty());
        ASSERT_TRUE(fs.init(dir.path().c_str()));
        mixer.setFormat(2, 16, 22050);
        cache.init();
        cache.setFileSystem(&fs);
        cache.setMixer(&mixer);
    }
    void TearDown() override
    {
        cache.freeAll();
        fs.shutdown();
    }

    void put(const std::string &name, const std::vector<uint8_t> &bytes)
    {
        ASSERT_TRUE(dir.write(name, bytes));
    }

    // Loads through the cache; a failure must leave no slot behind.
    bool load(const char *name, HAudioSample *out, int bits = 16, int rate = 22050)
    {
        out->clear();
        const bool ok = cache.loadAudioSample(name, out, bits, rate);
        if (!ok) {
            EXPECT_EQ(nullptr, cache.findSample(name)) << name;
        }
        return ok;
    }

    AudioTempDir dir;
    HStandardFileSystem fs;
    HAudioMixerStreamingAudioSource mixer;
    HAudioSampleCache cache;
};

TEST_F(AudioLoaderTest, WavSixteenBitMonoAndStereo)
{
    const std::vector<int16_t> mono = { 0, 1000, -1000, 32767, -32768 };
    const std::vector<int16_t> stereo = { 1, -1, 2, -2, 3, -3 };
    put("mono.wav", audioMakeWav(1, 22050, 16, bytes16(mono)));
    put("stereo.wav", audioMakeWav(2, 22050, 16, bytes16(stereo)));

    HAudioSample s;
    ASSERT_TRUE(load("mono.wav", &s));
    EXPECT_EQ(1, s.m_iChannels);
    EXPECT_EQ(16, s.m_iBits);
    EXPECT_EQ(22050, s.m_iFrequency);
    ASSERT_EQ(10, s.m_iLength);
    for (size_t i = 0; i < mono.size(); i++) {
        EXPECT_EQ(mono[i], sampleAt(s, (int)i));
    }

    ASSERT_TRUE(load("stereo.wav", &s));
    EXPECT_EQ(2, s.m_iChannels);
    ASSERT_EQ(12, s.m_iLength);
    EXPECT_EQ(-3, sampleAt(s, 5));
    EXPECT_NE(nullptr, cache.findSample("STEREO.WAV"));
}

TEST_F(AudioLoaderTest, WavEightBitKeptOrWidenedToSixteen)
{
    const std::vector<uint8_t> data = { 128, 255, 0, 129, 127 };
    put("eight.wav", audioMakeWav(1, 22050, 8, data));
    put("wide.wav", audioMakeWav(1, 22050, 8, data));

    HAudioSample s;
    ASSERT_TRUE(load("eight.wav", &s, 8));
    EXPECT_EQ(8, s.m_iBits);
    ASSERT_EQ(5, s.m_iLength);
    EXPECT_EQ(0, memcmp(s.m_pBuffer, data.data(), 5));

    ASSERT_TRUE(load("wide.wav", &s, 16));
    EXPECT_EQ(16, s.m_iBits);
    ASSERT_EQ(10, s.m_iLength);
    EXPECT_EQ(0, sampleAt(s, 0));
    EXPECT_EQ(32639, sampleAt(s, 1));
    EXPECT_EQ(-32640, sampleAt(s, 2));
    EXPECT_EQ(257, sampleAt(s, 3));
    EXPECT_EQ(-255, sampleAt(s, 4));
}

TEST_F(AudioLoaderTest, WavEightBitStereoKeepsItsFrames)
{
    // Left 255/0, right 0/128: interleaving survives both widths.
    const std::vector<uint8_t> data = { 255, 0, 0, 128 };
    put("st8.wav", audioMakeWav(2, 22050, 8, data));
    put("st8wide.wav", audioMakeWav(2, 22050, 8, data));

    HAudioSample s;
    ASSERT_TRUE(load("st8.wav", &s, 8));
    EXPECT_EQ(2, s.m_iChannels);
    EXPECT_EQ(8, s.m_iBits);
    ASSERT_EQ(4, s.m_iLength);
    EXPECT_EQ(0, memcmp(s.m_pBuffer, data.data(), 4));

    ASSERT_TRUE(load("st8wide.wav", &s, 16));
    EXPECT_EQ(2, s.m_iChannels);
    ASSERT_EQ(8, s.m_iLength);
    EXPECT_EQ(32639, sampleAt(s, 0));
    EXPECT_EQ(-32640, sampleAt(s, 1));
    EXPECT_EQ(-32640, sampleAt(s, 2));
    EXPECT_EQ(0, sampleAt(s, 3));

    // Played through a stereo mixer, the sides stay apart.
    int32_t voice = -1;
    ASSERT_TRUE(cache.playSample(&voice, "st8wide.wav", 16, 22050, 0, 255, 0, true));
    std::vector<int16_t> out(4);
    mixer.readNextChunk((uint8_t *)out.data(), 8);
    EXPECT_EQ(32639 * 255 >> 8, out[0]);
    EXPECT_EQ(-32640 * 255 >> 8, out[1]);
    EXPECT_EQ(-32640 * 255 >> 8, out[2]);
    EXPECT_EQ(0, out[3]);
}

TEST_F(AudioLoaderTest, WavSixteenBitNarrowedToEight)
{
    put("narrow.wav", audioMakeWav(2, 22050, 16, bytes16({ 0, -32768, 32767, 256 })));
    HAudioSample s;
    ASSERT_TRUE(load("narrow.wav", &s, 8));
    ASSERT_EQ(4, s.m_iLength);
    EXPECT_EQ(128, s.m_pBuffer[0]);
    EXPECT_EQ(0, s.m_pBuffer[1]);
    EXPECT_EQ(255, s.m_pBuffer[2]);
    EXPECT_EQ(129, s.m_pBuffer[3]);
}

TEST_F(AudioLoaderTest, SoundAtAnotherRateOrWidthIsRefused)
{
    put("fast.wav", audioMakeWav(1, 44100, 16, bytes16({ 1, 2 })));
    put("fast.ogg", audioEncodeOgg(2, 44100, audioSine(2, 44100, 2000, 300.0, 10000)));
    put("wide24.wav", audioMakeWav(1, 22050, 24, std::vector<uint8_t>(6, 1)));
    HAudioSample s;
    EXPECT_FALSE(load("fast.wav", &s));
    EXPECT_TRUE(load("fast.wav", &s, 16, 44100));
    EXPECT_FALSE(load("fast.ogg", &s));
    ASSERT_TRUE(load("fast.ogg", &s, 16, 44100));
    EXPECT_EQ(44100, s.m_iFrequency);
    EXPECT_FALSE(load("wide24.wav", &s, 24));
    EXPECT_FALSE(load("wide24.wav", &s, 16));
}

TEST_F(AudioLoaderTest, MalformedWavIsRefusedNeverOverread)
{
    const std::vector<uint8_t> good = audioMakeWav(2, 22050, 16, bytes16({ 1, 2, 3, 4 }));
    std::vector<std::pair<std::string, std::vector<uint8_t>>> bad;
    bad.push_back({ "empty.wav", {} });
    bad.push_back({ "three.wav", { 'R', 'I', 'F' } });
    bad.push_back({ "header.wav", std::vector<uint8_t>(good.begin(), good.begin() + 43) });
    bad.push_back({ "past.wav", audioMakeWav(2, 22050, 16, bytes16({ 1, 2 }), 5) });
    bad.push_back({ "huge.wav", audioMakeWav(1, 22050, 8, { 1, 2 }, 0xFFFFFFF0) });
    bad.push_back({ "nochan.wav", audioMakeWav(0, 22050, 16, bytes16({ 1, 2 })) });
    bad.push_back({ "threechan.wav", audioMakeWav(3, 22050, 16, bytes16({ 1, 2, 3 })) });
    std::vector<uint8_t> v = good;
    memcpy(v.data(), "RIFX", 4);
    bad.push_back({ "riff.wav", v });
    v = good;
    memcpy(v.data() + 8, "AVI ", 4);
    bad.push_back({ "wave.wav", v });
    v = good;
    v[16] = 18;
    bad.push_back({ "fmt.wav", v });
    v = good;
    memcpy(v.data() + 36, "LIST", 4);
    bad.push_back({ "list.wav", v });

    for (auto &b : bad) {
        put(b.first, b.second);
        HAudioSample s;
        EXPECT_FALSE(load(b.first.c_str(), &s)) << b.first;
        EXPECT_EQ(nullptr, s.m_pBuffer) << b.first;
    }
    HAudioSample s;
    EXPECT_FALSE(load("missing.wav", &s));

    // Shorter data than the header promised by one byte: refused; exactly
    // the bytes present: accepted.
    put("exact.wav", audioMakeWav(2, 22050, 16, bytes16({ 1, 2 }), 4));
    EXPECT_TRUE(load("exact.wav", &s));
    EXPECT_EQ(4, s.m_iLength);
}

TEST_F(AudioLoaderTest, OggDecodesToSixteenBitsAtTheFileChannels)
{
    const std::vector<uint8_t> ogg = audioEncodeOgg(1, 22050, audioSine(1, 22050, 3000, 300.0, 10000));
    ASSERT_FALSE(ogg.empty());
    put("tone.ogg", ogg);

    HAudioSample s;
    ASSERT_TRUE(load("tone.ogg", &s));
    EXPECT_EQ(1, s.m_iChannels);
    EXPECT_EQ(16, s.m_iBits);
    EXPECT_EQ(22050, s.m_iFrequency);
    EXPECT_EQ(6000, s.m_iLength);
    int peak = 0;
    for (int i = 0; i < 3000; i++) {
        peak = std::max(peak, abs(sampleAt(s, i)));
    }
    EXPECT_GT(peak, 7000);

    // Only 16 bits can come out of the decoder.
    put("eight.ogg", ogg);
    EXPECT_FALSE(load("eight.ogg", &s, 8));
}

TEST_F(AudioLoaderTest, CorruptOggIsAFailedLoad)
{
    const std::vector<uint8_t> ogg = audioEncodeOgg(2, 22050, audioSine(2, 22050, 20000, 500.0, 9000));
    ASSERT_GT(ogg.size(), 2000u);

    std::vector<uint8_t> junk(3000, 0x33);
    std::vector<uint8_t> head(ogg.begin(), ogg.begin() + 40);
    // Audio pages damaged in the middle: the headers still open.
    std::vector<uint8_t> smashed = ogg;
    for (size_t i = ogg.size() / 2; i < ogg.size() / 2 + 400; i++) {
        smashed[i] ^= 0xA5;
    }
    put("junk.ogg", junk);
    put("head.ogg", head);
    put("smashed.ogg", smashed);
    put("empty.ogg", {});

    for (const char *name : { "junk.ogg", "head.ogg", "smashed.ogg", "empty.ogg", "missing.ogg" }) {
        HAudioSample s;
        EXPECT_FALSE(load(name, &s)) << name;
        EXPECT_FALSE(cache.playSample(nullptr, name, 16, 22050, 0, 255, 0, true)) << name;
    }
}

TEST_F(AudioLoaderTest, NamesAndExtensions)
{
    put("beep.wav", audioMakeWav(1, 22050, 16, bytes16({ 5, 6 })));
    put("LOUD.WAV", audioMakeWav(1, 22050, 16, bytes16({ 5, 6 })));
    put("beep.raw", bytes16({ 5, 6 }));

    HAudioSample s, again;
    ASSERT_TRUE(load("beep.wav", &s));
    // Found without regard to case once cached...
    ASSERT_TRUE(load("BEEP.wav", &again));
    EXPECT_EQ(s.m_pBuffer, again.m_pBuffer);
    // ...and returned as first decoded, whatever is asked now.
    ASSERT_TRUE(load("beep.wav", &again, 8, 11025));
    EXPECT_EQ(16, again.m_iBits);
    EXPECT_EQ(s.m_pBuffer, again.m_pBuffer);

    // Only a lower-case extension picks a loader.
    EXPECT_FALSE(load("LOUD.WAV", &s));
    EXPECT_FALSE(load("beep.raw", &s));
    EXPECT_FALSE(cache.loadAudioSample(nullptr, &s, 16, 22050));
}

TEST_F(AudioLoaderTest, OverlapMuteAndMixerRules)
{
    put("ping.wav", audioMakeWav(1, 22050, 16, bytes16(std::vector<int16_t>(100, 3000))));

    int32_t voice = -1;
    ASSERT_TRUE(cache.playSample(&voice, "ping.wav", 16, 22050, -1, 255, 0, false));
    EXPECT_EQ(0, voice);
    EXPECT_TRUE(cache.isPlaying("PING.WAV"));
    EXPECT_FALSE(cache.playSample(&voice, "ping.wav", 16, 22050, 0, 255, 0, false));
    ASSERT_TRUE(cache.playSample(&voice, "ping.wav", 16, 22050, 0, 255, 0, true));
    EXPECT_EQ(1, voice);

    // The voice operations reach the mixer.
    cache.setVoiceVolume(0, 128);
    cache.pauseVoice(1, true);
    HAudioVoice v;
    mixer.getVoice(0, &v);
    EXPECT_EQ(128, v.m_uVolume);
    mixer.getVoice(1, &v);
    EXPECT_TRUE(v.m_bStopped);
    cache.stopVoice(1);
    mixer.getVoice(1, &v);
    EXPECT_EQ(nullptr, v.m_sample.m_pBuffer);

    cache.setMuted(true);
    EXPECT_FALSE(cache.playSample(nullptr, "ping.wav", 16, 22050, 0, 255, 0, true));
    cache.setMuted(false);
    EXPECT_TRUE(cache.playSample(nullptr, "ping.wav", 16, 22050, 0, 255, 0, true));

    // A sound the mixer refuses (another rate) still counts as played.
    put("other.wav", audioMakeWav(1, 11025, 16, bytes16({ 1 })));
    EXPECT_TRUE(cache.playSample(nullptr, "other.wav", 16, 11025, 0, 255, 0, true));
    EXPECT_FALSE(cache.isPlaying("other.wav"));

    EXPECT_FALSE(cache.playSample(nullptr, nullptr, 16, 22050, 0, 255, 0, true));
    cache.setMixer(nullptr);
    EXPECT_FALSE(cache.playSample(nullptr, "ping.wav", 16, 22050, 0, 255, 0, true));
    EXPECT_FALSE(cache.isPlaying("ping.wav"));
}

TEST_F(AudioLoaderTest, UnloadKeepsTheNameAndFreeAllForgetsTheMixer)
{
    put("loop.wav", audioMakeWav(1, 22050, 16, bytes16(std::vector<int16_t>(64, 1000))));
    int32_t voice = -1;
    ASSERT_TRUE(cache.playSample(&voice, "loop.wav", 16, 22050, -1, 255, 0, true));
    const uint8_t *buffer = cache.findSample("loop.wav")->m_pBuffer;
    ASSERT_TRUE(mixer.findVoice(buffer));

    // Unloading stops the voice before the buffer goes.
    cache.unloadSample("loop.wav");
    EXPECT_FALSE(mixer.findVoice(buffer));
    HAudioSample *slot = cache.findSample("loop.wav");
    ASSERT_NE(nullptr, slot);
    EXPECT_EQ(nullptr, slot->m_pBuffer);
    // The emptied record comes back without reading the file, and plays nothing.
    ASSERT_TRUE(dir.write("loop.wav", {}));
    HAudioSample s;
    EXPECT_TRUE(load("loop.wav", &s));
    EXPECT_EQ(nullptr, s.m_pBuffer);
    EXPECT_TRUE(cache.playSample(&voice, "loop.wav", 16, 22050, 0, 255, 0, true));
    EXPECT_FALSE(cache.isPlaying("loop.wav"));

    put("hum.wav", audioMakeWav(1, 22050, 16, bytes16(std::vector<int16_t>(64, 700))));
    ASSERT_TRUE(cache.playSample(&voice, "hum.wav", 16, 22050, -1, 255, 0, true));
    cache.freeAll();
    // Every voice that played a freed buffer is free again.
    for (int i = 0; i < 8; i++) {
        HAudioVoice v;
        ASSERT_TRUE(mixer.getVoice(i, &v));
        EXPECT_EQ(nullptr, v.m_sample.m_pBuffer) << i;
    }
    std::vector<int16_t> out(64);
    mixer.readNextChunk((uint8_t *)out.data(), 128);
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ(nullptr, cache.findSample("hum.wav"));
    EXPECT_FALSE(cache.playSample(nullptr, "hum.wav", 16, 22050, 0, 255, 0, true));
}

TEST_F(AudioLoaderTest, SixtyFifthSoundPlaysButIsNotKept)
{
    for (int i = 0; i < 65; i++) {
        put("s" + std::to_string(i) + ".wav", audioMakeWav(1, 22050, 16, bytes16({ (int16_t)(i + 1) })));
    }
    for (int i = 0; i < 64; i++) {
        HAudioSample s;
        ASSERT_TRUE(load(("s" + std::to_string(i) + ".wav").c_str(), &s)) << i;
    }
    // Decoded again on every request, played each time, never leaked.
    for (int round = 0; round < 20; round++) {
        int32_t voice = -1;
        ASSERT_TRUE(cache.playSample(&voice, "s64.wav", 16, 22050, 0, 255, 0, true));
        EXPECT_EQ(nullptr, cache.findSample("s64.wav"));
        std::vector<int16_t> out(2);
        mixer.readNextChunk((uint8_t *)out.data(), 4);
        EXPECT_EQ(65 * 255 >> 8, out[0]);
    }
}

TEST(AudioLoaderMemory, FromMemory)
{
    const std::vector<uint8_t> wav = audioMakeWav(1, 22050, 8, { 128, 255 });
    HAudioSample s;
    s.clear();
    ASSERT_TRUE(HWAVLoader::sm_decode(wav.data(), (int32_t)wav.size(), "mem.wav", &s, 16, 22050));
    EXPECT_EQ(4, s.m_iLength);
    delete[] s.m_pBuffer;
    EXPECT_FALSE(HWAVLoader::sm_decode(wav.data(), 43, "mem.wav", &s, 16, 22050));
    EXPECT_FALSE(HOGGLoader::sm_decode(wav.data(), (int32_t)wav.size(), "mem.ogg", &s, 16, 22050));
}

} // namespace
