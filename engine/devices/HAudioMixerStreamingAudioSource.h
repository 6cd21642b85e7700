#ifndef HAUDIOMIXERSTREAMINGAUDIOSOURCE_H
#define HAUDIOMIXERSTREAMINGAUDIOSOURCE_H

#include <stdint.h>

#include "HAudioSample.h"
#include "HSDLMutex.h"
#include "HStreamingAudioSource.h"

#define HAUDIO_MAX_VOICES 8

// One playing sound. The sample's buffer belongs to the sample cache.
struct HAudioVoice {
    HAudioSample        m_sample;
    bool                m_bStopped;     // not mixed: paused or free
    int32_t             m_iPosition;    // next value to read (a stereo frame is two)
    uint8_t             m_uVolume;
    uint8_t             m_uPan;         // kept, not used in mixing
    int32_t             m_iLoops;       // repetitions after this one; -1 for ever
    int32_t             m_iLength;      // values in the buffer, whole frames only
};

// The software mixer: the one source the audio device pulls from. Each read
// yields the music stream (scaled by its own volume) or silence, with up to
// eight sound voices added on top and clipped.
//
// readNextChunk runs on the audio thread, everything else on the main thread.
// Both sides take the mixer's own lock, so once a main-thread call returns the
// audio thread is no longer using what it replaced or stopped: a stopped
// voice's buffer or a cleared stream may then be freed.
//
// Lock order: SDL's audio lock (held around the fill callback), then this
// lock, then the music stream's mutex (taken inside its read). Main-thread
// calls take this lock alone, for a few stores, and never call out while
// holding it, so they can neither stall the audio thread nor deadlock with
// SDL_LockAudio or the stream's mutex.
class HAudioMixerStreamingAudioSource : public HStreamingAudioSource {
public:
                        HAudioMixerStreamingAudioSource();
    virtual             ~HAudioMixerStreamingAudioSource();

    virtual bool        init() override { return true; }
    virtual void        shutdown() override { resetVoices(); }
    virtual int32_t     read(uint8_t *pBuffer, int32_t iLength) override
                        {
                            return readNextChunk(pBuffer, iLength);
                        }
    virtual void        setFormat(int32_t iChannels, int32_t iBits, int32_t iFrequency) override;
    virtual void        setStreamVolume(int32_t iVolume);

    // 0 started (its index in *piVoice when given), -1 every voice busy,
    // -2 refused: no sample, no data, loops below -1, or a format other than
    // the output's (no conversion is made; fewer channels are allowed).
    int32_t             playSample(int32_t *piVoice, const HAudioSample *pSample, int32_t iVolume,
                                   int32_t iPan, int32_t iLoops);
    // Indexes outside 0..7 are ignored.
    void                stopVoice(int32_t iVoice);
    void                pauseVoice(int32_t iVoice, bool bPaused);
    void                rewindVoice(int32_t iVoice);
    void                setVoiceVolume(int32_t iVoice, int32_t iVolume);
    // Some voice holds this buffer.
    bool                findVoice(const uint8_t *pBuffer);
    // Frees every voice that holds this buffer, before its owner frees it.
    void                stopVoicesPlaying(const uint8_t *pBuffer);
    void                resetVoices();

    // Attaches the music stream; the same stream again changes nothing.
    int32_t             setStream(int32_t *piHandle, HStreamingAudioSource *pStream, int32_t iVolume);
    // After this the stream is no longer read and may be shut down.
    void                clearStream();

    // Fills the whole buffer in the output format; returns iLength.
    int32_t             readNextChunk(uint8_t *pBuffer, int32_t iLength);

    // For tests and tools: a copy of a voice taken under the lock.
    bool                getVoice(int32_t iVoice, HAudioVoice *pOut);
    uint8_t             getStreamVolume() const { return m_uStreamVolume; }

private:
    static void         sm_freeVoice(HAudioVoice *pVoice);
    static void         sm_advanceVoice(HAudioVoice *pVoice, int32_t iStep);

    void                m_mixStream(uint8_t *pBuffer, int32_t iLength);
    void                m_mixStereo16(int16_t *pOut, int32_t iFrames);
    void                m_mixStereo8(uint8_t *pOut, int32_t iFrames);
    void                m_mixMono8(uint8_t *pOut, int32_t iValues);

    HAudioVoice         m_voices[HAUDIO_MAX_VOICES];
    HStreamingAudioSource *m_pStream;           // not owned
    uint8_t             m_uStreamVolume;
    HSDLMutex           m_lock;                 // guards voices, stream and format
};

#endif // HAUDIOMIXERSTREAMINGAUDIOSOURCE_H
