#include "HAudioSampleCache.h"

#include <string.h>

#include "HAudioMixerStreamingAudioSource.h"
#include "HLog.h"
#include "HOGGLoader.h"
#include "HString.h"
#include "HWAVLoader.h"

HAudioSampleCache::HAudioSampleCache()
    : m_pFileSystem(nullptr), m_pMixer(nullptr), m_bEnabled(true)
{
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        m_slots[i].m_szName[0] = '\0';
        m_slots[i].m_sample.clear();
    }
    for (int i = 0; i < HAUDIO_CACHE_OVERFLOW; i++) {
        m_pOverflow[i] = nullptr;
    }
}

// The mixer may already be gone (the application destroys it first), so it is
// not asked about voices here: by now the audio device is closed.
HAudioSampleCache::~HAudioSampleCache()
{
    m_pMixer = nullptr;
    freeAll();
}

bool HAudioSampleCache::init()
{
    return true;
}

void HAudioSampleCache::m_freeBuffer(uint8_t *pBuffer)
{
    if (!pBuffer) {
        return;
    }
    // The audio thread must be done with it before it goes.
    if (m_pMixer) {
        m_pMixer->stopVoicesPlaying(pBuffer);
    }
    delete[] pBuffer;
}

HAudioSample *HAudioSampleCache::findSample(const char *pszName)
{
    if (!pszName) {
        return nullptr;
    }
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        if (m_slots[i].m_szName[0] && stringCompareNoCase(m_slots[i].m_szName, pszName) == 0) {
            return &m_slots[i].m_sample;
        }
    }
    return nullptr;
}

bool HAudioSampleCache::m_storeAudioBufferTemplate(const char *pszName, const HAudioSample *pSample)
{
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        Slot *pSlot = &m_slots[i];
        if (pSlot->m_szName[0] == '\0' && !pSlot->m_sample.m_pBuffer) {
            stringCopyBounded(pSlot->m_szName, pszName, HAUDIO_CACHE_NAME_SIZE);
            pSlot->m_sample = *pSample;
            return true;
        }
    }
    errorPrintf("m_storeAudioBufferTemplate - couldn't find a free slot");
    return false;
}

// A sound that found no slot is still played, so its buffer can't be freed
// at once; it is kept here until no voice plays it any more.
void HAudioSampleCache::m_keepOverflow(uint8_t *pBuffer)
{
    int iFree = -1;
    for (int i = 0; i < HAUDIO_CACHE_OVERFLOW; i++) {
        if (m_pOverflow[i] && !(m_pMixer && m_pMixer->findVoice(m_pOverflow[i]))) {
            delete[] m_pOverflow[i];
            m_pOverflow[i] = nullptr;
        }
        if (!m_pOverflow[i] && iFree < 0) {
            iFree = i;
        }
    }
    if (iFree < 0) {
        // Cannot happen with eight voices; never leave a freed buffer playing.
        m_freeBuffer(pBuffer);
        return;
    }
    m_pOverflow[iFree] = pBuffer;
}

bool HAudioSampleCache::loadAudioSample(const char *pszName, HAudioSample *pOut, int32_t iBits,
                                        int32_t iFrequency)
{
    if (!m_pFileSystem || !pszName || !pOut) {
        return false;
    }
    const HAudioSample *pCached = findSample(pszName);
    if (pCached) {
        *pOut = *pCached;
        return true;
    }

    tracePrintf("...loading sound '%s'\n", pszName);
    bool bLoaded;
    if (strstr(pszName, ".wav")) {
        HWAVLoader loader;
        bLoaded = loader.loadAudioSample(m_pFileSystem, pszName, pOut, iBits, iFrequency);
    } else if (strstr(pszName, ".ogg")) {
        HOGGLoader loader;
        bLoaded = loader.loadAudioSample(m_pFileSystem, pszName, pOut, iBits, iFrequency);
    } else {
        errorPrintf("loadAudioSample - unknown file type for file '%s'", pszName);
        return false;
    }
    if (!bLoaded) {
        return false;
    }

    if (!m_storeAudioBufferTemplate(pszName, pOut)) {
        m_keepOverflow(pOut->m_pBuffer);
    }
    return true;
}

bool HAudioSampleCache::isPlaying(const char *pszName)
{
    if (!m_pMixer || !pszName) {
        return false;
    }
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        const Slot *pSlot = &m_slots[i];
        if (pSlot->m_sample.m_pBuffer && stringCompareNoCase(pSlot->m_szName, pszName) == 0 &&
            m_pMixer->findVoice(pSlot->m_sample.m_pBuffer)) {
            return true;
        }
    }
    return false;
}

bool HAudioSampleCache::playSample(int32_t *piVoice, const char *pszName, int32_t iBits,
                                   int32_t iFrequency, int32_t iLoops, int32_t iVolume, int32_t iPan,
                                   bool bOverlap)
{
    if (!pszName || !m_pFileSystem || !m_pMixer || !m_bEnabled) {
        return false;
    }
    HAudioSample sample;
    sample.clear();
    if (!loadAudioSample(pszName, &sample, iBits, iFrequency)) {
        return false;
    }
    if (!bOverlap && isPlaying(pszName)) {
        return false;
    }
    if (sample.m_pBuffer) {
        // Out of voices or a format the mixer refuses: still a success here.
        m_pMixer->playSample(piVoice, &sample, iVolume, iPan, iLoops);
    }
    return true;
}

void HAudioSampleCache::pauseVoice(int32_t iVoice, bool bPaused)
{
    if (m_pMixer) {
        m_pMixer->pauseVoice(iVoice, bPaused);
    }
}

void HAudioSampleCache::stopVoice(int32_t iVoice)
{
    if (m_pMixer) {
        m_pMixer->stopVoice(iVoice);
    }
}

void HAudioSampleCache::setVoiceVolume(int32_t iVoice, int32_t iVolume)
{
    if (m_pMixer) {
        m_pMixer->setVoiceVolume(iVoice, iVolume);
    }
}

void HAudioSampleCache::rewindVoice(int32_t iVoice)
{
    if (m_pMixer) {
        m_pMixer->rewindVoice(iVoice);
    }
}

void HAudioSampleCache::unloadSample(const char *pszName)
{
    if (!pszName) {
        return;
    }
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        Slot *pSlot = &m_slots[i];
        if (pSlot->m_szName[0] && stringCompareNoCase(pSlot->m_szName, pszName) == 0) {
            m_freeBuffer(pSlot->m_sample.m_pBuffer);
            pSlot->m_sample.clear();
        }
    }
}

void HAudioSampleCache::freeAll()
{
    for (int i = 0; i < HAUDIO_CACHE_SLOTS; i++) {
        Slot *pSlot = &m_slots[i];
        if (pSlot->m_sample.m_pBuffer) {
            m_freeBuffer(pSlot->m_sample.m_pBuffer);
            pSlot->m_sample.clear();
            pSlot->m_szName[0] = '\0';
        }
    }
    for (int i = 0; i < HAUDIO_CACHE_OVERFLOW; i++) {
        m_freeBuffer(m_pOverflow[i]);
        m_pOverflow[i] = nullptr;
    }
    m_pMixer = nullptr;
}
