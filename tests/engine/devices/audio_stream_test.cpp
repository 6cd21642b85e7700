// The Ogg Vorbis stream over memory: decoding, looping, seeking, bad data.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "HAudioMixerStreamingAudioSource.h"
#include "HOVAudioStream.h"
#include "HSDLMutex.h"
#include "audio_files.h"

namespace {

// A stereo tone of 22050 frames; each test encodes its own copy once.
struct EncodedTone {
    std::vector<uint8_t> ogg;
    EncodedTone(int channels = 2, int frames = 22050)
    {
        ogg = audioEncodeOgg(channels, 22050, audioSine(channels, 22050, frames, 441.0, 12000));
    }
};

class AudioStreamTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(stream.init()); }
    void TearDown() override { stream.shutdown(); }

    // Decodes the whole stream once, from the start, without looping.
    static std::vector<int16_t> decodeAll(const std::vector<uint8_t> &ogg)
    {
        HOVAudioStream s;
        EXPECT_TRUE(s.init());
        EXPECT_TRUE(s.setStream(ogg.data(), (int32_t)ogg.size(), 16, 22050, -1));
        const int32_t length = s.getLength();
        std::vector<int16_t> pcm((size_t)length / 2);
        EXPECT_EQ(length, s.read((uint8_t *)pcm.data(), length));
        s.shutdown();
        return pcm;
    }

    HOVAudioStream stream;
};

TEST_F(AudioStreamTest, LengthAndFormatOfAStereoSecond)
{
    EncodedTone tone;
    ASSERT_FALSE(tone.ogg.empty());
    ASSERT_TRUE(stream.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, 0));
    EXPECT_TRUE(stream.isOpened());
    EXPECT_EQ(2, stream.getChannels());
    EXPECT_EQ(88200, stream.getLength());

    // The decoded tone is really there: loud, not silence.
    std::vector<int16_t> pcm(4096);
    ASSERT_EQ(8192, stream.read((uint8_t *)pcm.data(), 8192));
    int peak = 0;
    for (int16_t v : pcm) {
        peak = std::max(peak, abs(v));
    }
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 16000);
}

TEST_F(AudioStreamTest, ReadPastTheEndWrapsToTheLoopPointInOneCall)
{
    EncodedTone tone;
    const std::vector<int16_t> whole = decodeAll(tone.ogg);
    ASSERT_EQ(44100u, whole.size());

    for (int32_t loop : { 0, 5000 }) {
        HOVAudioStream s;
        ASSERT_TRUE(s.init());
        ASSERT_TRUE(s.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, loop));
        // Up to 100 frames before the end, then 300 more: 100 old, 200 looped.
        std::vector<int16_t> skip((22050 - 100) * 2);
        ASSERT_EQ((int32_t)skip.size() * 2, s.read((uint8_t *)skip.data(), (int32_t)skip.size() * 2));
        std::vector<int16_t> tail(300 * 2);
        ASSERT_EQ(1200, s.read((uint8_t *)tail.data(), 1200)) << loop;
        for (int i = 0; i < 200; i++) {
            ASSERT_EQ(whole[(22050 - 100) * 2 + i], tail[i]) << loop << " " << i;
        }
        // The first frame after the end is the loop point's own frame.
        for (int i = 0; i < 400; i++) {
            ASSERT_EQ(whole[(size_t)loop * 2 + i], tail[200 + i]) << loop << " " << i;
        }
        s.shutdown();
    }
}

TEST_F(AudioStreamTest, UnreachableLoopPointEndsTheStream)
{
    EncodedTone tone(1, 2000);
    // Past the end (seek fails) and exactly at the end (seek works, but
    // there is nothing after it): both end in silence, never spin.
    for (int32_t loop : { 999999, 2000 }) {
        HOVAudioStream s;
        ASSERT_TRUE(s.init());
        ASSERT_TRUE(s.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, loop));
        std::vector<uint8_t> buffer(10000);
        EXPECT_EQ(4000, s.read(buffer.data(), 10000)) << loop;
        EXPECT_EQ(0, s.read(buffer.data(), 10000)) << loop;
        s.shutdown();
    }
}

TEST_F(AudioStreamTest, MixerPlaysTheMusicAtItsVolumeAndWrapsAtTheLoopPoint)
{
    EncodedTone tone;
    const std::vector<int16_t> whole = decodeAll(tone.ogg);
    ASSERT_EQ(44100u, whole.size());
    ASSERT_TRUE(stream.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, 3000));

    HAudioMixerStreamingAudioSource mixer;
    mixer.setFormat(2, 16, 22050);
    mixer.setStream(nullptr, &stream, 63);
    // Two seconds in 1024-frame buffers, as the device asks for them: the
    // second pass starts at frame 3000.
    std::vector<int16_t> played;
    std::vector<int16_t> buffer(2048);
    for (int i = 0; i < 44; i++) {
        ASSERT_EQ(4096, mixer.readNextChunk((uint8_t *)buffer.data(), 4096));
        played.insert(played.end(), buffer.begin(), buffer.end());
    }
    for (size_t i = 0; i < whole.size(); i++) {
        ASSERT_EQ((int16_t)(whole[i] * 63 >> 8), played[i]) << i;
    }
    const size_t second = (22050 - 3000) * 2;
    ASSERT_GT(played.size(), whole.size() + second);
    for (size_t i = 0; i < second; i++) {
        ASSERT_EQ((int16_t)(whole[3000 * 2 + i] * 63 >> 8), played[whole.size() + i]) << i;
    }
    mixer.clearStream();
}

TEST_F(AudioStreamTest, MusicThatCannotLoopFallsSilentUnderTheVoices)
{
    EncodedTone tone(2, 1500);
    ASSERT_TRUE(stream.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, 99999));
    HAudioMixerStreamingAudioSource mixer;
    mixer.setFormat(2, 16, 22050);
    mixer.setStream(nullptr, &stream, 255);

    std::vector<int16_t> buffer(2048);
    mixer.readNextChunk((uint8_t *)buffer.data(), 4096);   // 1024 of 1500 frames
    mixer.readNextChunk((uint8_t *)buffer.data(), 4096);   // the rest, then silence
    int loud = 0;
    for (size_t i = 0; i < 476 * 2; i++) {
        loud += buffer[i] != 0;
    }
    EXPECT_GT(loud, 400);
    for (size_t i = 476 * 2; i < buffer.size(); i++) {
        ASSERT_EQ(0, buffer[i]) << i;
    }

    // From then on the music gives nothing, quickly, and a voice still plays.
    std::vector<int16_t> pcm(4, 8000);
    HAudioSample sample = { (uint8_t *)pcm.data(), 1, 16, 22050, 8 };
    ASSERT_EQ(0, mixer.playSample(nullptr, &sample, 255, 0, 0));
    EXPECT_EQ(4096, mixer.readNextChunk((uint8_t *)buffer.data(), 4096));
    EXPECT_EQ(8000 * 255 >> 8, buffer[0]);
    EXPECT_EQ(0, buffer[8]);
    mixer.clearStream();
}

TEST_F(AudioStreamTest, RewindUnderTheMutexRestartsFromTheFirstSample)
{
    EncodedTone tone;
    const std::vector<int16_t> whole = decodeAll(tone.ogg);
    HMutex *mutex = createMutex();
    ASSERT_NE(nullptr, mutex);
    ASSERT_TRUE(stream.setStream(tone.ogg.data(), (int32_t)tone.ogg.size(), 16, 22050, 0));
    stream.setMutex(mutex);

    std::vector<int16_t> pcm(2000);
    stream.read((uint8_t *)pcm.data(), 4000);
    stream.rewind();
    stream.read((uint8_t *)pcm.data(), 4000);
    for (int i = 0; i < 2000; i++) {
        ASSERT_EQ(whole[i], pcm[i]) << i;
    }

    stream.setMutex(nullptr);
    mutex->destroy();
    delete mutex;
}

TEST_F(AudioStreamTest, DataThatIsNotOggVorbisFailsToOpen)
{
    EncodedTone tone;
    std::vector<uint8_t> junk(5000, 0x5a);
    memcpy(junk.data(), "OggS", 4);
    std::vector<uint8_t> cut(tone.ogg.begin(), tone.ogg.begin() + 60);

    for (const std::vector<uint8_t> *bad : { &junk, &cut }) {
        HOVAudioStream s;
        ASSERT_TRUE(s.init());
        EXPECT_FALSE(s.setStream(bad->data(), (int32_t)bad->size(), 16, 22050, 0));
        EXPECT_FALSE(s.isOpened());
        uint8_t buffer[256];
        EXPECT_EQ(0, s.read(buffer, sizeof(buffer)));
        EXPECT_EQ(0, s.getLength());
        s.rewind();  // nothing to rewind
        s.shutdown();
    }
    // No block at all.
    EXPECT_FALSE(stream.setStream(nullptr, 0, 16, 22050, 0));
    uint8_t buffer[16];
    EXPECT_EQ(0, stream.read(buffer, sizeof(buffer)));
}

TEST_F(AudioStreamTest, NeverOpenedStreamDoesNothing)
{
    HOVAudioStream s;
    s.rewind();
    EXPECT_EQ(0, s.getLength());
    uint8_t buffer[16];
    EXPECT_EQ(0, s.read(buffer, sizeof(buffer)));
    s.shutdown();
    s.shutdown();
}

TEST(AudioStreamSeek, StaysInsideTheBlock)
{
    uint8_t block[100];
    for (int i = 0; i < 100; i++) {
        block[i] = (uint8_t)i;
    }
    HOVAudioStream s;
    s.HCompressedAudioStream::setStream(block, 100, 16, 22050, 0);

    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, 100, SEEK_SET));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, 101, SEEK_SET));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, -1, SEEK_SET));
    EXPECT_EQ(0, HOVAudioStream::memTell(&s));

    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, 10, SEEK_CUR));
    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, -4, SEEK_CUR));
    EXPECT_EQ(6, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, 95, SEEK_CUR));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, -101, SEEK_CUR));
    EXPECT_EQ(0, HOVAudioStream::memTell(&s));

    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, 0, SEEK_END));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, 101, SEEK_END));
    EXPECT_EQ(0, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, -1, SEEK_END));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));
    EXPECT_EQ(-1, HOVAudioStream::memSeek(&s, 0, 7));
    EXPECT_EQ(100, HOVAudioStream::memTell(&s));

    // Reads copy only what is left.
    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, 97, SEEK_SET));
    uint8_t out[8] = { 0 };
    EXPECT_EQ(3u, HOVAudioStream::memRead(out, 1, 8, &s));
    EXPECT_EQ(97, out[0]);
    EXPECT_EQ(99, out[2]);
    EXPECT_EQ(0u, HOVAudioStream::memRead(out, 1, 8, &s));
    EXPECT_EQ(0, HOVAudioStream::memSeek(&s, 0, SEEK_SET));
    EXPECT_EQ(2u, HOVAudioStream::memRead(out, 4, 2, &s));
    EXPECT_EQ(0, HOVAudioStream::memClose(&s));
}

} // namespace
