#ifndef HSTREAMINGAUDIOSOURCE_H
#define HSTREAMINGAUDIOSOURCE_H

#include <stdint.h>

// Pull interface of everything that produces sound: the consumer asks for a
// buffer of bytes in the source's format and the source fills it.
class HStreamingAudioSource {
public:
                        HStreamingAudioSource() : m_iChannels(0), m_iFrequency(0), m_iBits(0) {}
    virtual             ~HStreamingAudioSource() {}

    virtual bool        init() = 0;
    virtual void        shutdown() = 0;
    // Bytes written into pBuffer, at most iLength.
    virtual int32_t     read(uint8_t *pBuffer, int32_t iLength) = 0;
    virtual int32_t     getChannels() const { return m_iChannels; }
    virtual int32_t     getFrequency() const { return m_iFrequency; }
    virtual void        setFormat(int32_t iChannels, int32_t iBits, int32_t iFrequency)
                        {
                            m_iChannels = iChannels;
                            m_iBits = iBits;
                            m_iFrequency = iFrequency;
                        }

    int32_t             getBits() const { return m_iBits; }

protected:
    int32_t             m_iChannels;
    int32_t             m_iFrequency;
    int32_t             m_iBits;

private:
                        HStreamingAudioSource(const HStreamingAudioSource &) = delete;
    HStreamingAudioSource &operator=(const HStreamingAudioSource &) = delete;
};

#endif // HSTREAMINGAUDIOSOURCE_H
