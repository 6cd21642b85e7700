// The real SDL output: the device factory, the fill callback on SDL's audio
// thread, sound reaching the disk driver's captured output, and shutting
// everything down while a looping sound and the music play.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "SDL.h"

#include "HAudioDevice.h"
#include "HAudioMixerStreamingAudioSource.h"
#include "HAudioMixingStream.h"
#include "HAudioSampleCache.h"
#include "HCvarManager.h"
#include "HMutex.h"
#include "HOVAudioStream.h"
#include "HSDLAudioDevice.h"
#include "HSDLAudioMixingStream.h"
#include "HStandardFileSystem.h"
#include "audio_files.h"
#include "message_hook.h"

namespace {

// Counts the audio thread's reads, under SDL's audio lock.
class CountingSource : public HStreamingAudioSource {
public:
    bool init() override { return true; }
    void shutdown() override {}
    int32_t read(uint8_t *buffer, int32_t length) override
    {
        memset(buffer, 0, (size_t)length);
        reads++;
        return length;
    }
    int reads = 0;
};

int readsOf(CountingSource &source)
{
    SDL_LockAudio();
    const int n = source.reads;
    SDL_UnlockAudio();
    return n;
}

// Waits up to five seconds for the audio thread to have read from the source.
bool waitForReads(CountingSource &source, int count)
{
    for (int i = 0; i < 1000; i++) {
        if (readsOf(source) >= count) {
            return true;
        }
        SDL_Delay(5);
    }
    return false;
}

// Passes the music through and counts the bytes it decoded, under SDL's
// audio lock (the mixer reads it inside the fill callback).
class MusicTap : public HStreamingAudioSource {
public:
    explicit MusicTap(HStreamingAudioSource *music) : m_music(music) {}
    bool init() override { return true; }
    void shutdown() override {}
    int32_t read(uint8_t *buffer, int32_t length) override
    {
        const int32_t n = m_music->read(buffer, length);
        bytes += n;
        return n;
    }
    int64_t bytes = 0;

private:
    HStreamingAudioSource *m_music;
};

int64_t decodedBy(MusicTap &tap)
{
    SDL_LockAudio();
    const int64_t n = tap.bytes;
    SDL_UnlockAudio();
    return n;
}

class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value) : m_name(name)
    {
        const char *old = getenv(name);
        m_had = old != nullptr;
        if (old) {
            m_old = old;
        }
        setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (m_had) {
            setenv(m_name.c_str(), m_old.c_str(), 1);
        } else {
            unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name, m_old;
    bool m_had = false;
};

std::vector<uint8_t> wav16(int frames, int16_t left, int16_t right)
{
    std::vector<uint8_t> data((size_t)frames * 4);
    for (int f = 0; f < frames; f++) {
        memcpy(&data[(size_t)f * 4], &left, 2);
        memcpy(&data[(size_t)f * 4 + 2], &right, 2);
    }
    return audioMakeWav(2, 22050, 16, data);
}

TEST(AudioDevice, BufferSizeAndSampleFormatRequested)
{
    const int rates[] = { 11025, 11026, 22050, 22051, 44100, 44101 };
    const int samples[] = { 512, 1024, 1024, 2048, 2048, 4096 };
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(samples[i], HSDLAudioDevice::sm_getBufferSamples(rates[i])) << rates[i];
    }
    SDL_AudioSpec spec;
    HSDLAudioDevice::sm_fillSpec(&spec, 1, 8, 22050, nullptr);
    EXPECT_EQ(AUDIO_U8, spec.format);
    EXPECT_EQ(1, spec.channels);
    HSDLAudioDevice::sm_fillSpec(&spec, 2, 16, 44100, nullptr);
    EXPECT_EQ(AUDIO_S16LSB, spec.format);
    EXPECT_EQ(2048, spec.samples);
    EXPECT_EQ(&HSDLAudioDevice::audioCallback, spec.callback);
}

TEST(AudioDevice, DriverVariableChoosesTheDevice)
{
    ScopedMessageHook hook;
    HCvarManager cvars;
    ASSERT_TRUE(cvars.initCvarManager());
    cvars.registerVariable("c_soundDriver", "default", 0);

    cvars.setVariableString("c_soundDriver", "Null");
    HAudioDevice *silent = createAudioDeviceForDriver(&cvars, 2, 16, 22050);
    ASSERT_NE(nullptr, silent);
    CountingSource source;
    EXPECT_EQ(nullptr, silent->attachSource(&source));
    EXPECT_EQ(0, silent->getChannels());   // the silent device keeps no format
    destroyAudioDevice(silent);

    cvars.setVariableString("c_soundDriver", "default");
    HAudioDevice *device = createAudioDeviceForDriver(&cvars, 2, 16, 22050);
    ASSERT_NE(nullptr, device);
    EXPECT_EQ(2, device->getChannels());
    EXPECT_EQ(16, device->getBits());
    EXPECT_EQ(22050, device->getFrequency());
    destroyAudioDevice(device);
    destroyAudioDevice(nullptr);

    EXPECT_TRUE(hook.boxes().empty());
    cvars.shutdown();
}

TEST(AudioDevice, OutputThatCannotOpenLeavesNoDeviceAndNoBox)
{
    ScopedMessageHook hook;
    HCvarManager cvars;
    ASSERT_TRUE(cvars.initCvarManager());
    cvars.registerVariable("c_soundDriver", "default", 0);

    // SDL takes 1, 2, 4 or 6 channels; and a driver SDL does not have starts
    // the subsystem but opens nothing. Either way: no device, no box, and
    // SDL's audio subsystem is down again.
    EXPECT_EQ(nullptr, createAudioDeviceForDriver(&cvars, 3, 16, 22050));
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_AUDIO));
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_EQ(nullptr, createAudioDeviceForDriver(&cvars, 2, 16, 22050));
    }
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_AUDIO));
    EXPECT_TRUE(hook.boxes().empty());

    // And the next device opens normally.
    HAudioDevice *device = createAudioDeviceForDriver(&cvars, 2, 16, 22050);
    ASSERT_NE(nullptr, device);
    destroyAudioDevice(device);
    EXPECT_EQ(0u, SDL_WasInit(SDL_INIT_AUDIO));
    cvars.shutdown();
}

TEST(AudioDevice, CallbackRunsOnlyOnceASourceIsAttachedAndNotAfterStop)
{
    ScopedMessageHook hook;   // a failed SDL_Init must not wait on a box
    HSDLAudioDevice device;
    ASSERT_TRUE(device.create(2, 16, 22050));
    CountingSource source;
    SDL_Delay(150);
    EXPECT_EQ(0, readsOf(source));

    HAudioMixingStream *stream = device.attachSource(&source);
    ASSERT_NE(nullptr, stream);
    EXPECT_TRUE(stream->isOpen());
    EXPECT_TRUE(stream->isReady());
    ASSERT_TRUE(waitForReads(source, 2));

    // Once stop returns the source is not read any more.
    EXPECT_TRUE(stream->stop());
    const int stopped = readsOf(source);
    SDL_Delay(150);
    EXPECT_EQ(stopped, readsOf(source));
    EXPECT_TRUE(stream->start());
    EXPECT_TRUE(waitForReads(source, stopped + 1));

    // SDL has one output: a second create, on this device or another, fails
    // and leaves the open one playing.
    HSDLAudioDevice rival;
    EXPECT_FALSE(rival.create(2, 16, 22050));
    EXPECT_FALSE(device.create(2, 16, 22050));
    const int before = readsOf(source);
    EXPECT_TRUE(waitForReads(source, before + 2));
    EXPECT_EQ(2, device.getChannels());

    // A second attach replaces the first stream.
    CountingSource other;
    HAudioMixingStream *second = device.attachSource(&other);
    ASSERT_NE(nullptr, second);
    EXPECT_TRUE(waitForReads(other, 1));

    device.close();
    const int closed = readsOf(other);
    SDL_Delay(100);
    EXPECT_EQ(closed, other.reads);
    EXPECT_EQ(nullptr, device.attachSource(&source));
}

TEST(AudioDevice, SoundFromTheCacheReachesTheDiskOutput)
{
    ScopedMessageHook hook;   // a failed SDL_Init must not wait on a box
    AudioTempDir dir;
    ASSERT_FALSE(dir.path().empty());
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", dir.file("out.raw").c_str());
    ScopedEnv delay("SDL_DISKAUDIODELAY", "10");

    ASSERT_TRUE(dir.write("chord.wav", wav16(3000, 12000, -6000)));
    HStandardFileSystem fs;
    ASSERT_TRUE(fs.init(dir.path().c_str()));

    HAudioMixerStreamingAudioSource mixer;
    mixer.setFormat(2, 16, 22050);
    HAudioSampleCache cache;
    cache.init();
    cache.setFileSystem(&fs);

    HAudioDevice *device = new HSDLAudioDevice();
    ASSERT_TRUE(device->create(2, 16, 22050));
    HAudioMixingStream *stream = device->attachSource(&mixer);
    ASSERT_NE(nullptr, stream);
    cache.setMixer(&mixer);
    stream->start();

    int32_t voice = -1;
    ASSERT_TRUE(cache.playSample(&voice, "chord.wav", 16, 22050, 0, 255, 0, true));
    ASSERT_EQ(0, voice);
    // Wait for the voice to have played through.
    for (int i = 0; i < 1000 && cache.isPlaying("chord.wav"); i++) {
        SDL_Delay(5);
    }
    EXPECT_FALSE(cache.isPlaying("chord.wav"));

    stream->stop();
    cache.freeAll();
    mixer.resetVoices();
    destroyAudioDevice(device);
    fs.shutdown();

    const std::vector<uint8_t> raw = dir.read("out.raw");
    ASSERT_GE(raw.size(), 3000u * 4);
    const int16_t left = 12000 * 255 >> 8, right = -6000 * 255 >> 8;
    size_t frames = 0, other = 0;
    for (size_t i = 0; i + 4 <= raw.size(); i += 4) {
        int16_t l, r;
        memcpy(&l, &raw[i], 2);
        memcpy(&r, &raw[i + 2], 2);
        if (l == left && r == right) {
            frames++;
        } else if (l != 0 || r != 0) {
            other++;
        }
    }
    // Every frame of the sound, and nothing but it and silence.
    EXPECT_EQ(3000u, frames);
    EXPECT_EQ(0u, other);
}

// The application's shutdown order, run while SDL's audio thread mixes a
// looping sound over looping music. ASan and TSan watch the audio thread.
TEST(AudioDevice, QuitWhileALoopingSoundAndTheMusicPlay)
{
    ScopedMessageHook hook;   // a failed SDL_Init must not wait on a box
    AudioTempDir dir;
    ASSERT_TRUE(dir.write("alarm.wav", wav16(500, 8000, 8000)));
    const std::vector<uint8_t> ogg = audioEncodeOgg(2, 22050, audioSine(2, 22050, 4000, 220.0, 9000));
    ASSERT_FALSE(ogg.empty());

    for (int round = 0; round < 3; round++) {
        HStandardFileSystem fs;
        ASSERT_TRUE(fs.init(dir.path().c_str()));
        HAudioMixerStreamingAudioSource mixer;
        HAudioSampleCache cache;
        cache.init();
        cache.setFileSystem(&fs);

        HAudioDevice *device = new HSDLAudioDevice();
        ASSERT_TRUE(device->create(2, 16, 22050));
        mixer.setFormat(2, 16, 22050);
        HAudioMixingStream *stream = device->attachSource(&mixer);
        ASSERT_NE(nullptr, stream);
        cache.setMixer(&mixer);
        stream->start();

        // The music: its bytes live beside the stream, which does not own them.
        uint8_t *music = new uint8_t[ogg.size()];
        memcpy(music, ogg.data(), ogg.size());
        HOVAudioStream *musicStream = new HOVAudioStream();
        ASSERT_TRUE(musicStream->init());
        ASSERT_TRUE(musicStream->setStream(music, (int32_t)ogg.size(), 16, 22050, 1000));
        HMutex *mutex = createMutex();
        musicStream->setMutex(mutex);
        MusicTap tap(musicStream);
        int32_t handle = -1;
        mixer.setStream(&handle, &tap, 63);

        int32_t voice = -1;
        ASSERT_TRUE(cache.playSample(&voice, "alarm.wav", 16, 22050, -1, 200, 0, true));
        SDL_Delay(120);
        musicStream->rewind();
        // The audio thread is really decoding music, past the rewind too.
        const int64_t decoded = decodedBy(tap);
        for (int i = 0; i < 400 && decodedBy(tap) <= decoded; i++) {
            SDL_Delay(5);
        }
        EXPECT_GT(decodedBy(tap), decoded);
        ASSERT_TRUE(cache.isPlaying("alarm.wav"));

        // Round 1 skips stopping the mixing stream: the mixer's own lock must
        // still keep the audio thread off everything that is freed.
        if (round != 1) {
            stream->stop();
        }
        mixer.clearStream();
        musicStream->shutdown();
        delete musicStream;
        delete[] music;
        mutex->destroy();
        delete mutex;
        cache.freeAll();
        stream->close();
        mixer.resetVoices();
        if (round == 2) {
            // Let the callback run a while over what is left: silence.
            SDL_Delay(60);
        }
        destroyAudioDevice(device);
        fs.shutdown();
    }
}

// The main thread changes voices and the stream as fast as it can while the
// audio thread mixes; TSan reports any access not ordered by a lock.
TEST(AudioDevice, MainThreadChangesWhileTheAudioThreadMixes)
{
    ScopedMessageHook hook;   // a failed SDL_Init must not wait on a box
    const std::vector<uint8_t> ogg = audioEncodeOgg(2, 22050, audioSine(2, 22050, 3000, 330.0, 5000));
    ASSERT_FALSE(ogg.empty());
    std::vector<int16_t> pcm(2000, 3000);
    HAudioSample sample = { (uint8_t *)pcm.data(), 1, 16, 22050, (int32_t)pcm.size() * 2 };

    HAudioMixerStreamingAudioSource mixer;
    mixer.setFormat(2, 16, 22050);
    HSDLAudioDevice device;
    ASSERT_TRUE(device.create(2, 16, 22050));
    HAudioMixingStream *stream = device.attachSource(&mixer);
    ASSERT_NE(nullptr, stream);

    HOVAudioStream music;
    ASSERT_TRUE(music.init());
    ASSERT_TRUE(music.setStream(ogg.data(), (int32_t)ogg.size(), 16, 22050, 0));
    HMutex *mutex = createMutex();
    music.setMutex(mutex);

    const uint32_t end = SDL_GetTicks() + 300;
    int i = 0;
    while (SDL_GetTicks() < end) {
        int32_t voice = -1;
        if (mixer.playSample(&voice, &sample, i & 255, 0, i % 3 - 1) == 0) {
            mixer.setVoiceVolume(voice, 100);
            mixer.pauseVoice(voice, (i & 1) != 0);
            mixer.rewindVoice(voice);
        }
        if (i % 5 == 0) {
            mixer.stopVoice(i % 8);
        }
        if (i % 7 == 0) {
            mixer.setStream(nullptr, &music, i & 255);
        } else if (i % 11 == 0) {
            mixer.clearStream();
        } else if (i % 13 == 0) {
            music.rewind();
        }
        mixer.setStreamVolume(i & 255);
        mixer.findVoice(sample.m_pBuffer);
        // SDL's audio lock from this side too, first alone and then, in the
        // audio thread's own order, around mixer calls: TSan reports any
        // inversion of the lock order as a potential deadlock.
        if (i % 17 == 0) {
            stream->stop();
            stream->start();
        } else if (i % 19 == 0) {
            SDL_LockAudio();
            mixer.stopVoice(i % 8);
            mixer.setStreamVolume(200);
            SDL_UnlockAudio();
        }
        i++;
        if (i % 64 == 0) {
            SDL_Delay(1);
        }
    }
    stream->stop();
    mixer.clearStream();
    mixer.resetVoices();
    device.close();
    music.shutdown();
    mutex->destroy();
    delete mutex;
    EXPECT_GT(i, 100);
}

} // namespace
