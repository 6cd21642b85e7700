#ifndef HAUDIODEVICE_H
#define HAUDIODEVICE_H

#include <stdint.h>

#include "HDevice.h"

class HAudioMixingStream;
class HCvarManager;
class HStreamingAudioSource;

// The link to the sound output. Once a source is attached, the device pulls
// every buffer the output needs from it, on the audio thread.
class HAudioDevice : public HDevice {
public:
                        HAudioDevice(void *pOwner = nullptr);
    virtual             ~HAudioDevice();

    virtual void        pause() = 0;
    virtual void        resume() = 0;
    // The playback handle (owned by the device), or null.
    virtual HAudioMixingStream *attachSource(HStreamingAudioSource *pSource) = 0;
    virtual int32_t     getChannels() const { return m_iChannels; }
    virtual int32_t     getBits() const { return m_iBits; }
    virtual int32_t     getFrequency() const { return m_iFrequency; }
    virtual bool        create(int32_t iChannels, int32_t iBits, int32_t iFrequency) = 0;
    // Waits for the audio thread to finish; nothing is read after it.
    virtual void        close() = 0;

protected:
    int32_t             m_iChannels;
    int32_t             m_iBits;
    int32_t             m_iFrequency;
};

// c_soundDriver "null" (any case) makes the silent device, anything else
// SDL's. Null when the device can't be created.
HAudioDevice *          createAudioDeviceForDriver(HCvarManager *pCvars, int32_t iChannels,
                                                   int32_t iBits, int32_t iFrequency);
// Closes and deletes; null is ignored.
void                    destroyAudioDevice(HAudioDevice *pDevice);

#endif // HAUDIODEVICE_H
