#include "HSDLAudioDevice.h"

#include <string.h>

#include "SDL.h"

#include "HLog.h"
#include "HSDLAudioMixingStream.h"
#include "HStreamingAudioSource.h"

HSDLAudioDevice::HSDLAudioDevice(void *pOwner)
    : HAudioDevice(pOwner), m_pMixingStream(nullptr), m_bOpen(false)
{
}

HSDLAudioDevice::~HSDLAudioDevice()
{
    close();
}

int32_t HSDLAudioDevice::sm_getBufferSamples(int32_t iFrequency)
{
    if (iFrequency <= 11025) {
        return 512;
    }
    if (iFrequency <= 22050) {
        return 1024;
    }
    if (iFrequency > 44100) {
        return 4096;
    }
    return 2048;
}

void HSDLAudioDevice::sm_fillSpec(SDL_AudioSpec *pSpec, int32_t iChannels, int32_t iBits,
                                  int32_t iFrequency, void *pUserData)
{
    memset(pSpec, 0, sizeof(*pSpec));
    pSpec->freq = iFrequency;
    pSpec->format = iBits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    pSpec->channels = (Uint8)iChannels;
    pSpec->samples = (Uint16)sm_getBufferSamples(iFrequency);
    pSpec->callback = audioCallback;
    pSpec->userdata = pUserData;
}

bool HSDLAudioDevice::create(int32_t iChannels, int32_t iBits, int32_t iFrequency)
{
    // SDL has one output. When it is open already (this device or another),
    // opening again would fail and the clean-up below would close it under
    // whoever plays through it.
    if (m_bOpen || SDL_GetAudioStatus() != SDL_AUDIO_STOPPED) {
        return false;
    }
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_NOPARACHUTE) == -1) {
        alertBox("createAudioDevice: SDL_Init() failed: %s", SDL_GetError());
        return false;
    }

    // Stored before the audio thread exists, which reads the width.
    m_iChannels = iChannels;
    m_iBits = iBits;
    m_iFrequency = iFrequency;

    // No obtained spec: SDL converts, so the engine mixes in this format.
    SDL_AudioSpec spec;
    sm_fillSpec(&spec, iChannels, iBits, iFrequency, this);
    if (SDL_OpenAudio(&spec, nullptr) == -1) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_iChannels = m_iBits = m_iFrequency = 0;
        return false;
    }
    m_bOpen = true;
    return true;
}

void HSDLAudioDevice::pause()
{
    if (m_bOpen) {
        SDL_PauseAudio(1);
    }
}

void HSDLAudioDevice::resume()
{
    if (m_bOpen) {
        SDL_PauseAudio(0);
    }
}

HAudioMixingStream *HSDLAudioDevice::attachSource(HStreamingAudioSource *pSource)
{
    if (!m_bOpen) {
        return nullptr;
    }
    HSDLAudioMixingStream *pStream = new HSDLAudioMixingStream();
    pStream->setDevice(this);
    pStream->setSource(pSource);
    pStream->start();

    // The callback may be running: swap under its lock.
    SDL_LockAudio();
    HSDLAudioMixingStream *pOld = m_pMixingStream;
    m_pMixingStream = pStream;
    SDL_UnlockAudio();
    delete pOld;

    SDL_PauseAudio(0);
    return pStream;
}

void HSDLAudioDevice::close()
{
    if (m_bOpen) {
        // Returns only once the audio thread has ended.
        SDL_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_bOpen = false;
    }
    delete m_pMixingStream;
    m_pMixingStream = nullptr;
}

// SDL's audio thread, with SDL's audio lock held.
void HSDLAudioDevice::audioCallback(void *pUserData, uint8_t *pBuffer, int iLength)
{
    HSDLAudioDevice *pDevice = (HSDLAudioDevice *)pUserData;
    HSDLAudioMixingStream *pStream = pDevice ? pDevice->m_pMixingStream : nullptr;
    if (pStream && pStream->isRunning() && pStream->getSource()) {
        pStream->getSource()->read(pBuffer, iLength);
        return;
    }
    memset(pBuffer, pDevice && pDevice->m_iBits == 8 ? 128 : 0, (size_t)iLength);
}
