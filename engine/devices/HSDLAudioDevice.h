#ifndef HSDLAUDIODEVICE_H
#define HSDLAUDIODEVICE_H

#include "HAudioDevice.h"

class HSDLAudioMixingStream;
struct SDL_AudioSpec;

// SDL's audio output, opened in exactly the requested format (SDL converts
// for the hardware). The fill callback runs on SDL's audio thread and hands
// each buffer to the attached source; until one is attached, or while the
// mixing stream is stopped, it writes silence.
class HSDLAudioDevice : public HAudioDevice {
public:
                        HSDLAudioDevice(void *pOwner = nullptr);
    virtual             ~HSDLAudioDevice();

    virtual void        pause() override;
    virtual void        resume() override;
    // Replaces (and frees) any earlier mixing stream, then unpauses.
    virtual HAudioMixingStream *attachSource(HStreamingAudioSource *pSource) override;
    virtual bool        create(int32_t iChannels, int32_t iBits, int32_t iFrequency) override;
    // Closes SDL's audio (waiting for the callback) and frees the mixing stream.
    virtual void        close() override;

    HSDLAudioMixingStream *getMixingStream() const { return m_pMixingStream; }
    bool                isOpen() const { return m_bOpen; }

    static void         audioCallback(void *pUserData, uint8_t *pBuffer, int iLength);
    // What create asks SDL for.
    static void         sm_fillSpec(SDL_AudioSpec *pSpec, int32_t iChannels, int32_t iBits,
                                    int32_t iFrequency, void *pUserData);
    static int32_t      sm_getBufferSamples(int32_t iFrequency);

private:
    HSDLAudioMixingStream *m_pMixingStream;     // owned
    bool                m_bOpen;
};

#endif // HSDLAUDIODEVICE_H
