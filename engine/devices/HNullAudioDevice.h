#ifndef HNULLAUDIODEVICE_H
#define HNULLAUDIODEVICE_H

#include "HAudioDevice.h"

// Plays nothing and attaches nothing, so whoever asks for a mixing stream
// learns there is no sound.
class HNullAudioDevice : public HAudioDevice {
public:
                        HNullAudioDevice(void *pOwner = nullptr) : HAudioDevice(pOwner) {}

    virtual void        pause() override {}
    virtual void        resume() override {}
    virtual HAudioMixingStream *attachSource(HStreamingAudioSource *) override { return nullptr; }
    virtual bool        create(int32_t, int32_t, int32_t) override { return true; }
    virtual void        close() override {}
};

#endif // HNULLAUDIODEVICE_H
