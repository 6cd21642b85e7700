#include "HAudioMixerStreamingAudioSource.h"

#include <string.h>

#include "HLog.h"

static inline int32_t s_clamp16(int32_t v)
{
    return v < -32768 ? -32768 : (v > 32767 ? 32767 : v);
}

static inline int32_t s_clamp8(int32_t v)
{
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

HAudioMixerStreamingAudioSource::HAudioMixerStreamingAudioSource()
    : m_pStream(nullptr), m_uStreamVolume(255)
{
    for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
        sm_freeVoice(&m_voices[i]);
    }
    // Without a mutex the mixer still works, unguarded, for one thread.
    m_lock.create();
}

HAudioMixerStreamingAudioSource::~HAudioMixerStreamingAudioSource()
{
    m_lock.destroy();
}

void HAudioMixerStreamingAudioSource::sm_freeVoice(HAudioVoice *pVoice)
{
    pVoice->m_sample.clear();
    pVoice->m_bStopped = true;
    pVoice->m_iPosition = 0;
    pVoice->m_uVolume = 255;
    pVoice->m_uPan = 0;
    pVoice->m_iLoops = 0;
    pVoice->m_iLength = 0;
}

void HAudioMixerStreamingAudioSource::setFormat(int32_t iChannels, int32_t iBits, int32_t iFrequency)
{
    m_lock.lock();
    HStreamingAudioSource::setFormat(iChannels, iBits, iFrequency);
    m_lock.unlock();
}

void HAudioMixerStreamingAudioSource::setStreamVolume(int32_t iVolume)
{
    m_lock.lock();
    m_uStreamVolume = (uint8_t)iVolume;
    m_lock.unlock();
}

int32_t HAudioMixerStreamingAudioSource::playSample(int32_t *piVoice, const HAudioSample *pSample,
                                                    int32_t iVolume, int32_t iPan, int32_t iLoops)
{
    if (!pSample || iLoops < -1 || !pSample->m_pBuffer || pSample->m_iLength <= 0) {
        return -2;
    }
    if (pSample->m_iBits != 8 && pSample->m_iBits != 16) {
        return -2;
    }
    // Whole frames only, so a stereo voice never reads half a frame past the
    // end of an odd-sized buffer.
    int32_t iLength = pSample->m_iLength / (pSample->m_iBits / 8);
    if (pSample->m_iChannels > 0) {
        iLength -= iLength % pSample->m_iChannels;
    }

    m_lock.lock();
    if (pSample->m_iBits != m_iBits || pSample->m_iChannels < 1 ||
        pSample->m_iChannels > m_iChannels || pSample->m_iFrequency != m_iFrequency ||
        iLength <= 0) {
        m_lock.unlock();
        return -2;
    }

    int32_t iVoice = 0;
    while (iVoice < HAUDIO_MAX_VOICES && m_voices[iVoice].m_sample.m_pBuffer) {
        iVoice++;
    }
    if (iVoice == HAUDIO_MAX_VOICES) {
        m_lock.unlock();
        tracePrintf("*WARNING* HAudioMixerStreamingAudioSource::playSample - out of voices\n");
        return -1;
    }

    HAudioVoice *pVoice = &m_voices[iVoice];
    pVoice->m_sample = *pSample;
    pVoice->m_iLoops = iLoops;
    pVoice->m_uPan = (uint8_t)iPan;
    pVoice->m_uVolume = (uint8_t)iVolume;
    pVoice->m_iPosition = 0;
    pVoice->m_bStopped = false;
    pVoice->m_iLength = iLength;
    m_lock.unlock();

    if (piVoice) {
        *piVoice = iVoice;
    }
    return 0;
}

void HAudioMixerStreamingAudioSource::stopVoice(int32_t iVoice)
{
    if ((uint32_t)iVoice >= HAUDIO_MAX_VOICES) {
        return;
    }
    m_lock.lock();
    sm_freeVoice(&m_voices[iVoice]);
    m_lock.unlock();
}

void HAudioMixerStreamingAudioSource::pauseVoice(int32_t iVoice, bool bPaused)
{
    if ((uint32_t)iVoice >= HAUDIO_MAX_VOICES) {
        return;
    }
    m_lock.lock();
    // A free voice stays silent whatever it is told.
    if (m_voices[iVoice].m_sample.m_pBuffer) {
        m_voices[iVoice].m_bStopped = bPaused;
    }
    m_lock.unlock();
}

void HAudioMixerStreamingAudioSource::rewindVoice(int32_t iVoice)
{
    if ((uint32_t)iVoice >= HAUDIO_MAX_VOICES) {
        return;
    }
    m_lock.lock();
    m_voices[iVoice].m_iPosition = 0;
    m_lock.unlock();
}

void HAudioMixerStreamingAudioSource::setVoiceVolume(int32_t iVoice, int32_t iVolume)
{
    if ((uint32_t)iVoice >= HAUDIO_MAX_VOICES) {
        return;
    }
    m_lock.lock();
    m_voices[iVoice].m_uVolume = (uint8_t)iVolume;
    m_lock.unlock();
}

bool HAudioMixerStreamingAudioSource::findVoice(const uint8_t *pBuffer)
{
    if (!pBuffer) {
        return false;
    }
    bool bFound = false;
    m_lock.lock();
    for (int i = 0; i < HAUDIO_MAX_VOICES && !bFound; i++) {
        bFound = m_voices[i].m_sample.m_pBuffer == pBuffer;
    }
    m_lock.unlock();
    return bFound;
}

void HAudioMixerStreamingAudioSource::stopVoicesPlaying(const uint8_t *pBuffer)
{
    if (!pBuffer) {
        return;
    }
    m_lock.lock();
    for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
        if (m_voices[i].m_sample.m_pBuffer == pBuffer) {
            sm_freeVoice(&m_voices[i]);
        }
    }
    m_lock.unlock();
}

void HAudioMixerStreamingAudioSource::resetVoices()
{
    m_lock.lock();
    for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
        sm_freeVoice(&m_voices[i]);
    }
    m_lock.unlock();
}

bool HAudioMixerStreamingAudioSource::getVoice(int32_t iVoice, HAudioVoice *pOut)
{
    if ((uint32_t)iVoice >= HAUDIO_MAX_VOICES || !pOut) {
        return false;
    }
    m_lock.lock();
    *pOut = m_voices[iVoice];
    m_lock.unlock();
    return true;
}

int32_t HAudioMixerStreamingAudioSource::setStream(int32_t *piHandle, HStreamingAudioSource *pStream,
                                                   int32_t iVolume)
{
    m_lock.lock();
    if (pStream != m_pStream) {
        if (piHandle) {
            *piHandle = 0;
        }
        m_pStream = pStream;
        m_uStreamVolume = (uint8_t)iVolume;
    }
    m_lock.unlock();
    return 0;
}

void HAudioMixerStreamingAudioSource::clearStream()
{
    m_lock.lock();
    m_pStream = nullptr;
    m_lock.unlock();
}

// After a step: at the end of the data start the next repetition, or free
// the voice after its last one. -1 loops for ever.
void HAudioMixerStreamingAudioSource::sm_advanceVoice(HAudioVoice *pVoice, int32_t iStep)
{
    pVoice->m_iPosition += iStep;
    if (pVoice->m_iPosition >= pVoice->m_iLength) {
        pVoice->m_iPosition = 0;
        pVoice->m_iLoops--;
        if (pVoice->m_iLoops == -1) {
            sm_freeVoice(pVoice);
        } else if (pVoice->m_iLoops < -1) {
            pVoice->m_iLoops = -1;
        }
    }
}

int32_t HAudioMixerStreamingAudioSource::readNextChunk(uint8_t *pBuffer, int32_t iLength)
{
    if (!pBuffer || iLength <= 0) {
        return 0;
    }

    m_lock.lock();
    m_mixStream(pBuffer, iLength);

    if (m_iChannels == 2 && m_iBits == 16) {
        m_mixStereo16((int16_t *)pBuffer, iLength / 4);
    } else if (m_iChannels == 1 && m_iBits == 8) {
        m_mixMono8(pBuffer, iLength);
    } else if (m_iChannels == 2 && m_iBits == 8) {
        m_mixStereo8(pBuffer, iLength / 2);
    } else {
        errorPrintf("readNextChunk: unsupported format %d channels %d bits", m_iChannels, m_iBits);
    }
    m_lock.unlock();
    return iLength;
}

// The music, or silence, underneath the voices.
void HAudioMixerStreamingAudioSource::m_mixStream(uint8_t *pBuffer, int32_t iLength)
{
    const uint8_t uSilence = m_iBits == 8 ? 128 : 0;
    int32_t iGot = m_pStream ? m_pStream->read(pBuffer, iLength) : 0;
    if (iGot <= 0) {
        memset(pBuffer, uSilence, (size_t)iLength);
        return;
    }
    if (iGot > iLength) {
        iGot = iLength;
    }
    // A short read leaves the rest silent rather than stale.
    if (iGot < iLength) {
        memset(pBuffer + iGot, uSilence, (size_t)(iLength - iGot));
    }

    const int32_t iVolume = m_uStreamVolume;
    if (m_iBits == 8) {
        // Unsigned bytes scale around their midpoint, one per byte.
        for (int32_t i = 0; i < iLength; i++) {
            pBuffer[i] = (uint8_t)((((int32_t)pBuffer[i] - 128) * iVolume >> 8) + 128);
        }
    } else {
        int16_t *pSamples = (int16_t *)pBuffer;
        const int32_t iValues = iLength / 2;
        for (int32_t i = 0; i < iValues; i++) {
            pSamples[i] = (int16_t)((int32_t)pSamples[i] * iVolume >> 8);
        }
    }
}

void HAudioMixerStreamingAudioSource::m_mixStereo16(int16_t *pOut, int32_t iFrames)
{
    for (int32_t f = 0; f < iFrames; f++) {
        int32_t iLeft = pOut[f * 2];
        int32_t iRight = pOut[f * 2 + 1];
        for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
            HAudioVoice *pVoice = &m_voices[i];
            if (!pVoice->m_sample.m_pBuffer || pVoice->m_bStopped) {
                continue;
            }
            const int16_t *pData = (const int16_t *)pVoice->m_sample.m_pBuffer + pVoice->m_iPosition;
            const int32_t v = pVoice->m_uVolume;
            if (pVoice->m_sample.m_iChannels == 2) {
                iLeft += pData[0] * v >> 8;
                iRight += pData[1] * v >> 8;
                sm_advanceVoice(pVoice, 2);
            } else {
                const int32_t c = pData[0] * v >> 8;
                iLeft += c;
                iRight += c;
                sm_advanceVoice(pVoice, 1);
            }
        }
        pOut[f * 2] = (int16_t)s_clamp16(iLeft);
        pOut[f * 2 + 1] = (int16_t)s_clamp16(iRight);
    }
}

void HAudioMixerStreamingAudioSource::m_mixStereo8(uint8_t *pOut, int32_t iFrames)
{
    for (int32_t f = 0; f < iFrames; f++) {
        int32_t iLeft = pOut[f * 2];
        int32_t iRight = pOut[f * 2 + 1];
        for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
            HAudioVoice *pVoice = &m_voices[i];
            if (!pVoice->m_sample.m_pBuffer || pVoice->m_bStopped) {
                continue;
            }
            const uint8_t *pData = pVoice->m_sample.m_pBuffer + pVoice->m_iPosition;
            const int32_t v = pVoice->m_uVolume;
            if (pVoice->m_sample.m_iChannels == 2) {
                iLeft += ((int32_t)pData[0] - 128) * v >> 8;
                iRight += ((int32_t)pData[1] - 128) * v >> 8;
                sm_advanceVoice(pVoice, 2);
            } else {
                const int32_t c = ((int32_t)pData[0] - 128) * v >> 8;
                iLeft += c;
                iRight += c;
                sm_advanceVoice(pVoice, 1);
            }
        }
        pOut[f * 2] = (uint8_t)s_clamp8(iLeft);
        pOut[f * 2 + 1] = (uint8_t)s_clamp8(iRight);
    }
}

void HAudioMixerStreamingAudioSource::m_mixMono8(uint8_t *pOut, int32_t iValues)
{
    for (int32_t n = 0; n < iValues; n++) {
        int32_t iValue = pOut[n];
        for (int i = 0; i < HAUDIO_MAX_VOICES; i++) {
            HAudioVoice *pVoice = &m_voices[i];
            if (!pVoice->m_sample.m_pBuffer || pVoice->m_bStopped) {
                continue;
            }
            iValue += ((int32_t)pVoice->m_sample.m_pBuffer[pVoice->m_iPosition] - 128) *
                      pVoice->m_uVolume >> 8;
            sm_advanceVoice(pVoice, 1);
        }
        pOut[n] = (uint8_t)s_clamp8(iValue);
    }
}
