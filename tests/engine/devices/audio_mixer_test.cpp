// The software mixer's fill path, called directly on buffers.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "HAudioMixerStreamingAudioSource.h"

namespace {

// A sound held by the test; the mixer gets a record pointing at it.
struct TestSound {
    std::vector<uint8_t> bytes;
    HAudioSample sample;

    static TestSound from16(int channels, const std::vector<int16_t> &values, int rate = 22050)
    {
        TestSound s;
        s.bytes.resize(values.size() * 2);
        if (!values.empty()) {
            memcpy(s.bytes.data(), values.data(), s.bytes.size());
        }
        s.fill(channels, 16, rate);
        return s;
    }
    static TestSound from8(int channels, const std::vector<uint8_t> &values, int rate = 22050)
    {
        TestSound s;
        s.bytes = values;
        s.fill(channels, 8, rate);
        return s;
    }
    void fill(int channels, int bits, int rate)
    {
        sample.m_pBuffer = bytes.data();
        sample.m_iChannels = channels;
        sample.m_iBits = bits;
        sample.m_iFrequency = rate;
        sample.m_iLength = (int32_t)bytes.size();
    }
};

// Music that is a constant value, or runs dry after a number of bytes.
class ConstantStream : public HStreamingAudioSource {
public:
    explicit ConstantStream(int16_t value, int32_t limit = -1) : m_value(value), m_limit(limit) {}
    bool init() override { return true; }
    void shutdown() override {}
    int32_t read(uint8_t *buffer, int32_t length) override
    {
        reads++;
        int32_t n = length;
        if (m_limit >= 0 && n > m_limit) {
            n = m_limit;
        }
        for (int32_t i = 0; i + 1 < n; i += 2) {
            memcpy(buffer + i, &m_value, 2);
        }
        return n;
    }
    int reads = 0;

private:
    int16_t m_value;
    int32_t m_limit;
};

class AudioMixerTest : public ::testing::Test {
protected:
    void SetUp() override { mixer.setFormat(2, 16, 22050); }

    // Mixes frames stereo frames and returns the interleaved result.
    std::vector<int16_t> mix16(int frames)
    {
        std::vector<int16_t> out((size_t)frames * 2, 0x5555);
        EXPECT_EQ(frames * 4, mixer.readNextChunk((uint8_t *)out.data(), frames * 4));
        return out;
    }

    HAudioMixerStreamingAudioSource mixer;
};

TEST_F(AudioMixerTest, SilenceWithoutStreamOrVoices)
{
    for (int16_t v : mix16(64)) {
        ASSERT_EQ(0, v);
    }

    mixer.setFormat(2, 8, 22050);
    std::vector<uint8_t> out(128, 7);
    EXPECT_EQ(128, mixer.readNextChunk(out.data(), 128));
    for (uint8_t v : out) {
        ASSERT_EQ(128, v);
    }
}

TEST_F(AudioMixerTest, OneMonoVoiceHeardOnBothSidesAtItsVolume)
{
    TestSound s = TestSound::from16(1, { 1000, -2000, 3000, 4000 });
    int32_t voice = -1;
    ASSERT_EQ(0, mixer.playSample(&voice, &s.sample, 255, 0, 0));
    EXPECT_EQ(0, voice);

    std::vector<int16_t> out = mix16(6);
    const int16_t expected[] = { 1000 * 255 >> 8, -2000 * 255 >> 8, 3000 * 255 >> 8, 4000 * 255 >> 8 };
    for (int f = 0; f < 4; f++) {
        EXPECT_EQ(expected[f], out[f * 2]) << f;
        EXPECT_EQ(expected[f], out[f * 2 + 1]) << f;
    }
    // Played once, then free and silent.
    EXPECT_EQ(0, out[8]);
    EXPECT_EQ(0, out[11]);
    EXPECT_FALSE(mixer.findVoice(s.sample.m_pBuffer));
}

TEST_F(AudioMixerTest, VolumeScalesAndStereoVoiceKeepsItsSides)
{
    TestSound s = TestSound::from16(2, { 1000, -1000, 20000, 300 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &s.sample, 128, 0, 0));
    std::vector<int16_t> out = mix16(2);
    EXPECT_EQ(500, out[0]);
    EXPECT_EQ(-500, out[1]);
    EXPECT_EQ(10000, out[2]);
    EXPECT_EQ(150, out[3]);

    TestSound quiet = TestSound::from16(1, { 12345 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &quiet.sample, 0, 0, 0));
    out = mix16(1);
    EXPECT_EQ(0, out[0]);
}

TEST_F(AudioMixerTest, EightVoicesAddAndClip)
{
    std::vector<TestSound> up, down;
    for (int i = 0; i < 4; i++) {
        up.push_back(TestSound::from16(2, { 10000, 3000 }));
        down.push_back(TestSound::from16(2, { -10000, -3000 }));
    }
    for (int i = 0; i < 4; i++) {
        ASSERT_EQ(0, mixer.playSample(nullptr, &up[i].sample, 255, 0, -1));
    }
    std::vector<int16_t> out = mix16(1);
    // Four voices: 4 * 9960 = 39840 clips; 4 * 2988 fits.
    EXPECT_EQ(32767, out[0]);
    EXPECT_EQ(4 * (3000 * 255 >> 8), out[1]);

    for (int i = 0; i < 4; i++) {
        ASSERT_EQ(0, mixer.playSample(nullptr, &down[i].sample, 255, 0, -1));
    }
    for (int i = 0; i < 4; i++) {
        mixer.stopVoice(i);
    }
    out = mix16(1);
    EXPECT_EQ(-32768, out[0]);
}

TEST_F(AudioMixerTest, EightVoicesAtOnceClipBothWaysWithoutWrapping)
{
    // Each voice: a loud frame (+6000 left, -6000 right), then a quiet one.
    std::vector<TestSound> sounds;
    for (int i = 0; i < 8; i++) {
        sounds.push_back(TestSound::from16(2, { 6000, -6000, 1000, -1000 }));
    }
    for (int i = 0; i < 8; i++) {
        int32_t voice = -1;
        ASSERT_EQ(0, mixer.playSample(&voice, &sounds[i].sample, 255, 0, 0));
        EXPECT_EQ(i, voice);
    }
    std::vector<int16_t> out = mix16(3);
    // 8 * 5976 = 47808 would wrap to a negative value without clipping.
    EXPECT_EQ(32767, out[0]);
    EXPECT_EQ(-32768, out[1]);
    // Below the limits the eight add up exactly.
    EXPECT_EQ(8 * (1000 * 255 >> 8), out[2]);
    EXPECT_EQ(8 * (-1000 * 255 >> 8), out[3]);
    // All played once and freed.
    EXPECT_EQ(0, out[4]);
    EXPECT_EQ(0, out[5]);
    for (int i = 0; i < 8; i++) {
        EXPECT_FALSE(mixer.findVoice(sounds[i].sample.m_pBuffer)) << i;
    }
}

TEST_F(AudioMixerTest, NinthSoundFindsNoVoiceAndDisturbsNothing)
{
    std::vector<TestSound> sounds;
    for (int i = 0; i < 9; i++) {
        sounds.push_back(TestSound::from16(1, { (int16_t)(100 * (i + 1)), 0, 0, 0 }));
    }
    for (int i = 0; i < 8; i++) {
        int32_t voice = -1;
        ASSERT_EQ(0, mixer.playSample(&voice, &sounds[i].sample, 255, 0, -1));
        EXPECT_EQ(i, voice);
    }
    int32_t voice = 77;
    EXPECT_EQ(-1, mixer.playSample(&voice, &sounds[8].sample, 255, 0, 0));
    EXPECT_EQ(77, voice);
    for (int i = 0; i < 8; i++) {
        HAudioVoice v;
        ASSERT_TRUE(mixer.getVoice(i, &v));
        EXPECT_EQ(sounds[i].sample.m_pBuffer, v.m_sample.m_pBuffer);
        EXPECT_EQ(0, v.m_iPosition);
    }
    int sum = 0;
    for (int i = 0; i < 8; i++) {
        sum += 100 * (i + 1) * 255 >> 8;
    }
    EXPECT_EQ(sum, mix16(1)[0]);
}

TEST_F(AudioMixerTest, LoopCounts)
{
    TestSound s = TestSound::from16(1, { 1000, 2000 });

    // loops 0: once; loops 2: three times.
    for (int loops : { 0, 2 }) {
        ASSERT_EQ(0, mixer.playSample(nullptr, &s.sample, 255, 0, loops));
        std::vector<int16_t> out = mix16(2 * (loops + 1) + 2);
        for (int i = 0; i < loops + 1; i++) {
            EXPECT_EQ(1000 * 255 >> 8, out[i * 4]) << loops;
            EXPECT_EQ(2000 * 255 >> 8, out[i * 4 + 2]) << loops;
        }
        EXPECT_EQ(0, out[(loops + 1) * 4]) << loops;
        EXPECT_FALSE(mixer.findVoice(s.sample.m_pBuffer)) << loops;
    }

    // -1: still playing after many passes, and stays -1.
    int32_t voice = -1;
    ASSERT_EQ(0, mixer.playSample(&voice, &s.sample, 255, 0, -1));
    std::vector<int16_t> out = mix16(1001);
    EXPECT_EQ(1000 * 255 >> 8, out[2000]);
    HAudioVoice v;
    ASSERT_TRUE(mixer.getVoice(voice, &v));
    EXPECT_EQ(s.sample.m_pBuffer, v.m_sample.m_pBuffer);
    EXPECT_EQ(-1, v.m_iLoops);
}

TEST_F(AudioMixerTest, RefusesOtherFormatsAndEmptySounds)
{
    TestSound rate = TestSound::from16(1, { 1 }, 44100);
    TestSound eight = TestSound::from8(1, { 200 });
    TestSound ok = TestSound::from16(2, { 1, 2 });
    TestSound empty = TestSound::from16(1, {});
    EXPECT_EQ(-2, mixer.playSample(nullptr, &rate.sample, 255, 0, 0));
    EXPECT_EQ(-2, mixer.playSample(nullptr, &eight.sample, 255, 0, 0));
    EXPECT_EQ(-2, mixer.playSample(nullptr, nullptr, 255, 0, 0));
    EXPECT_EQ(-2, mixer.playSample(nullptr, &ok.sample, 255, 0, -2));
    EXPECT_EQ(-2, mixer.playSample(nullptr, &empty.sample, 255, 0, 0));

    mixer.setFormat(1, 8, 22050);
    EXPECT_EQ(-2, mixer.playSample(nullptr, &ok.sample, 255, 0, 0));  // stereo into mono
    for (int i = 0; i < 8; i++) {
        HAudioVoice v;
        ASSERT_TRUE(mixer.getVoice(i, &v));
        EXPECT_EQ(nullptr, v.m_sample.m_pBuffer);
    }
}

TEST_F(AudioMixerTest, PauseKeepsPositionAndRewindRestarts)
{
    TestSound s = TestSound::from16(1, { 10, 20, 30, 40, 50, 60 });
    int32_t voice = -1;
    ASSERT_EQ(0, mixer.playSample(&voice, &s.sample, 256 - 1, 0, 0));
    auto at = [](int16_t v) { return (int16_t)(v * 255 >> 8); };

    EXPECT_EQ(at(10), mix16(2)[0]);
    mixer.pauseVoice(voice, true);
    EXPECT_EQ(0, mix16(3)[0]);
    mixer.pauseVoice(voice, false);
    std::vector<int16_t> out = mix16(1);
    EXPECT_EQ(at(30), out[0]);

    mixer.rewindVoice(voice);
    EXPECT_EQ(at(10), mix16(1)[0]);

    // Indexes outside 0..7 are ignored.
    mixer.pauseVoice(-1, true);
    mixer.pauseVoice(8, true);
    mixer.stopVoice(99);
    mixer.setVoiceVolume(-5, 0);
    EXPECT_EQ(at(20), mix16(1)[0]);

    mixer.setVoiceVolume(voice, 128);
    EXPECT_EQ(15, mix16(1)[0]);
}

TEST_F(AudioMixerTest, MusicMixedAtItsOwnVolumeUnderTheVoices)
{
    ConstantStream music(1000);
    int32_t handle = 99;
    EXPECT_EQ(0, mixer.setStream(&handle, &music, 128));
    EXPECT_EQ(0, handle);

    std::vector<int16_t> out = mix16(4);
    for (int16_t v : out) {
        ASSERT_EQ(500, v);
    }

    TestSound s = TestSound::from16(1, { 2000 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &s.sample, 128, 0, 0));
    out = mix16(2);
    EXPECT_EQ(1500, out[0]);
    EXPECT_EQ(1500, out[1]);
    EXPECT_EQ(500, out[2]);

    // The same stream again changes nothing, not even the volume.
    handle = 42;
    mixer.setStream(&handle, &music, 255);
    EXPECT_EQ(42, handle);
    EXPECT_EQ(128, mixer.getStreamVolume());
    mixer.setStreamVolume(64);
    EXPECT_EQ(250, mix16(1)[0]);

    mixer.clearStream();
    const int reads = music.reads;
    EXPECT_EQ(0, mix16(1)[0]);
    EXPECT_EQ(reads, music.reads);
}

TEST_F(AudioMixerTest, ShortStreamReadLeavesTheRestSilent)
{
    ConstantStream music(4000, 8);  // two frames, then dry
    mixer.setStream(nullptr, &music, 255);
    std::vector<int16_t> out = mix16(4);
    EXPECT_EQ(4000 * 255 >> 8, out[0]);
    EXPECT_EQ(4000 * 255 >> 8, out[3]);
    EXPECT_EQ(0, out[4]);
    EXPECT_EQ(0, out[7]);
}

TEST_F(AudioMixerTest, EightBitOutputStaysInsideTheBuffer)
{
    // A 16-bit stream into 8-bit output: scaling must not treat the buffer as
    // twice its size. The exact-size heap buffer lets ASan see any overrun.
    mixer.setFormat(2, 8, 22050);
    ConstantStream music(0x4080);  // bytes 0x80, 0x40
    mixer.setStream(nullptr, &music, 128);
    std::vector<uint8_t> guard(64 + 16, 0xAB);
    EXPECT_EQ(64, mixer.readNextChunk(guard.data(), 64));
    EXPECT_EQ(128, guard[0]);                        // the midpoint stays put
    EXPECT_EQ(((0x40 - 128) * 128 >> 8) + 128, guard[1]);
    for (size_t i = 64; i < guard.size(); i++) {
        ASSERT_EQ(0xAB, guard[i]) << i;
    }

    mixer.setFormat(1, 8, 22050);
    uint8_t *exact = new uint8_t[33];
    EXPECT_EQ(33, mixer.readNextChunk(exact, 33));
    delete[] exact;
}

TEST_F(AudioMixerTest, EightBitVoices)
{
    mixer.setFormat(1, 8, 22050);
    TestSound a = TestSound::from8(1, { 255, 0, 128 });
    TestSound b = TestSound::from8(1, { 255, 0, 200 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &a.sample, 255, 0, 0));
    ASSERT_EQ(0, mixer.playSample(nullptr, &b.sample, 255, 0, 0));
    std::vector<uint8_t> out(4);
    mixer.readNextChunk(out.data(), 4);
    EXPECT_EQ(255, out[0]);   // 128 + 126 + 126 clips
    EXPECT_EQ(0, out[1]);     // 128 - 127 - 127 clips
    EXPECT_EQ(128 + (72 * 255 >> 8), out[2]);
    EXPECT_EQ(128, out[3]);

    mixer.setFormat(2, 8, 22050);
    TestSound mono = TestSound::from8(1, { 228 });
    TestSound stereo = TestSound::from8(2, { 28, 148 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &mono.sample, 255, 0, 0));
    ASSERT_EQ(0, mixer.playSample(nullptr, &stereo.sample, 255, 0, 0));
    std::vector<uint8_t> st(2);
    mixer.readNextChunk(st.data(), 2);
    EXPECT_EQ(128 + (100 * 255 >> 8) + (-100 * 255 >> 8), st[0]);
    EXPECT_EQ(128 + (100 * 255 >> 8) + (20 * 255 >> 8), st[1]);
}

TEST_F(AudioMixerTest, OddSizedStereoVoiceNeverReadsPastItsEnd)
{
    // Three 16-bit values in a stereo sound: the half frame is dropped.
    uint8_t *bytes = new uint8_t[6];
    const int16_t values[3] = { 100, 200, 300 };
    memcpy(bytes, values, 6);
    HAudioSample s = { bytes, 2, 16, 22050, 6 };
    ASSERT_EQ(0, mixer.playSample(nullptr, &s, 255, 0, 3));
    std::vector<int16_t> out = mix16(8);
    for (int f = 0; f < 4; f++) {
        EXPECT_EQ(100 * 255 >> 8, out[f * 2]) << f;
        EXPECT_EQ(200 * 255 >> 8, out[f * 2 + 1]) << f;
    }
    EXPECT_EQ(0, out[8]);
    EXPECT_FALSE(mixer.findVoice(bytes));
    delete[] bytes;

    // An odd byte count in a 16-bit sound: the lone byte is never read.
    uint8_t *odd = new uint8_t[3];
    memcpy(odd, values, 2);
    odd[2] = 0x7f;
    HAudioSample m = { odd, 1, 16, 22050, 3 };
    ASSERT_EQ(0, mixer.playSample(nullptr, &m, 255, 0, 0));
    out = mix16(2);
    EXPECT_EQ(100 * 255 >> 8, out[0]);
    EXPECT_EQ(0, out[2]);
    delete[] odd;
}

TEST_F(AudioMixerTest, UnsupportedFormatLeavesVoicesAlone)
{
    mixer.setFormat(1, 16, 22050);
    TestSound s = TestSound::from16(1, { 5000, 6000 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &s.sample, 255, 0, 0));
    std::vector<int16_t> out(4, 1);
    mixer.readNextChunk((uint8_t *)out.data(), 8);
    EXPECT_EQ(0, out[0]);
    HAudioVoice v;
    ASSERT_TRUE(mixer.getVoice(0, &v));
    EXPECT_EQ(0, v.m_iPosition);
}

TEST_F(AudioMixerTest, StopAndResetFreeVoices)
{
    TestSound a = TestSound::from16(1, { 1, 2 });
    TestSound b = TestSound::from16(1, { 3, 4 });
    ASSERT_EQ(0, mixer.playSample(nullptr, &a.sample, 255, 0, -1));
    ASSERT_EQ(0, mixer.playSample(nullptr, &b.sample, 255, 0, -1));
    ASSERT_EQ(0, mixer.playSample(nullptr, &a.sample, 255, 0, -1));
    EXPECT_TRUE(mixer.findVoice(a.sample.m_pBuffer));

    mixer.stopVoicesPlaying(a.sample.m_pBuffer);
    EXPECT_FALSE(mixer.findVoice(a.sample.m_pBuffer));
    EXPECT_TRUE(mixer.findVoice(b.sample.m_pBuffer));

    mixer.resetVoices();
    EXPECT_FALSE(mixer.findVoice(b.sample.m_pBuffer));
    for (int i = 0; i < 8; i++) {
        HAudioVoice v;
        ASSERT_TRUE(mixer.getVoice(i, &v));
        EXPECT_TRUE(v.m_bStopped);
        EXPECT_EQ(255, v.m_uVolume);
        EXPECT_EQ(0, v.m_iLength);
    }
}

} // namespace
