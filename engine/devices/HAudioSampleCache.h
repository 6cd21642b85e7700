#ifndef HAUDIOSAMPLECACHE_H
#define HAUDIOSAMPLECACHE_H

#include <stdint.h>

#include "HAudioSample.h"

class HFileSystem;
class HAudioMixerStreamingAudioSource;

#define HAUDIO_CACHE_SLOTS      64
#define HAUDIO_CACHE_NAME_SIZE  128
// Sounds loaded while every slot is taken; one per voice plus the newest.
#define HAUDIO_CACHE_OVERFLOW   9

// The only way the game plays sound effects: up to 64 sounds, decoded once by
// name (".wav" or ".ogg") from a file system and played through the mixer's
// voices. Names compare without regard to case. Main thread only.
class HAudioSampleCache {
public:
                        HAudioSampleCache();
    virtual             ~HAudioSampleCache();

    bool                init();
    void                setFileSystem(HFileSystem *pFileSystem) { m_pFileSystem = pFileSystem; }
    void                setMixer(HAudioMixerStreamingAudioSource *pMixer) { m_pMixer = pMixer; }
    void                setMuted(bool bMuted) { m_bEnabled = !bMuted; }
    bool                isMuted() const { return !m_bEnabled; }

    HAudioSample *      findSample(const char *pszName);
    // A cached sound is returned as it was first decoded, whatever format is
    // asked for now.
    bool                loadAudioSample(const char *pszName, HAudioSample *pOut, int32_t iBits,
                                        int32_t iFrequency);
    bool                isPlaying(const char *pszName);
    // True once the sound is loaded and handed to the mixer, even when the
    // mixer had no voice for it.
    bool                playSample(int32_t *piVoice, const char *pszName, int32_t iBits,
                                   int32_t iFrequency, int32_t iLoops, int32_t iVolume, int32_t iPan,
                                   bool bOverlap);
    void                pauseVoice(int32_t iVoice, bool bPaused);
    void                stopVoice(int32_t iVoice);
    void                setVoiceVolume(int32_t iVoice, int32_t iVolume);
    void                rewindVoice(int32_t iVoice);
    // Empties the slot but keeps its name: the sound then plays nothing.
    void                unloadSample(const char *pszName);
    // Frees everything and forgets the mixer.
    void                freeAll();

private:
                        HAudioSampleCache(const HAudioSampleCache &) = delete;
    HAudioSampleCache & operator=(const HAudioSampleCache &) = delete;

    struct Slot {
        char            m_szName[HAUDIO_CACHE_NAME_SIZE];
        HAudioSample    m_sample;
    };

    bool                m_storeAudioBufferTemplate(const char *pszName, const HAudioSample *pSample);
    void                m_keepOverflow(uint8_t *pBuffer);
    // Stops the voices that play it, then frees it.
    void                m_freeBuffer(uint8_t *pBuffer);

    Slot                m_slots[HAUDIO_CACHE_SLOTS];
    HFileSystem *       m_pFileSystem;      // not owned
    HAudioMixerStreamingAudioSource *m_pMixer;  // not owned
    bool                m_bEnabled;
    uint8_t *           m_pOverflow[HAUDIO_CACHE_OVERFLOW];
};

#endif // HAUDIOSAMPLECACHE_H
