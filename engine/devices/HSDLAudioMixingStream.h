#ifndef HSDLAUDIOMIXINGSTREAM_H
#define HSDLAUDIOMIXINGSTREAM_H

#include "HAudioMixingStream.h"

class HSDLAudioDevice;
class HStreamingAudioSource;

// Binds a source to the SDL device. The running flag is read by the fill
// callback and changed only under SDL's audio lock, so stop() returns with
// no callback inside the source and none to come.
class HSDLAudioMixingStream : public HAudioMixingStream {
public:
                        HSDLAudioMixingStream();
    virtual             ~HSDLAudioMixingStream();

    virtual bool        start() override;
    virtual bool        stop() override;
    virtual void        close() override;
    virtual bool        isOpen() override { return m_pDevice != nullptr; }
    virtual bool        isReady() override { return m_pDevice != nullptr; }

    HStreamingAudioSource *getSource() const { return m_pSource; }
    void                setSource(HStreamingAudioSource *pSource) { m_pSource = pSource; }
    HSDLAudioDevice *   getDevice() const { return m_pDevice; }
    void                setDevice(HSDLAudioDevice *pDevice) { m_pDevice = pDevice; }
    // Read by the fill callback only, under SDL's audio lock.
    bool                isRunning() const { return m_bRunning; }

private:
                        HSDLAudioMixingStream(const HSDLAudioMixingStream &) = delete;
    HSDLAudioMixingStream &operator=(const HSDLAudioMixingStream &) = delete;

    void                m_setRunning(bool bRunning);

    HStreamingAudioSource *m_pSource;       // not owned
    HSDLAudioDevice *   m_pDevice;
    bool                m_bRunning;
};

#endif // HSDLAUDIOMIXINGSTREAM_H
