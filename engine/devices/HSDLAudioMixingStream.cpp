#include "HSDLAudioMixingStream.h"

#include "SDL.h"

HSDLAudioMixingStream::HSDLAudioMixingStream()
    : m_pSource(nullptr), m_pDevice(nullptr), m_bRunning(false)
{
}

HSDLAudioMixingStream::~HSDLAudioMixingStream()
{
}

void HSDLAudioMixingStream::m_setRunning(bool bRunning)
{
    // SDL holds this lock around every call of the fill callback.
    SDL_LockAudio();
    m_bRunning = bRunning;
    SDL_UnlockAudio();
}

bool HSDLAudioMixingStream::start()
{
    if (m_pDevice) {
        m_setRunning(true);
    }
    return true;
}

bool HSDLAudioMixingStream::stop()
{
    if (m_pDevice) {
        m_setRunning(false);
    }
    return true;
}

void HSDLAudioMixingStream::close()
{
    stop();
}
