#include "QVApplication.h"

#include <cstdlib>

#include "H2DDisplayDevice.h"
#include "HAudioDevice.h"
#include "HFile.h"
#include "HFileSystem.h"
#include "HLog.h"
#include "HMutex.h"
#include "HOVAudioStream.h"
#include "HPlatform.h"

int QVApplication::sm_volumeByte(float volume)
{
    return (int)(volume * 255.0f) & 0xFF;
}

bool QVApplication::loadThemeMusic(const char *name, HFileSystem *fileSystem, int loopPoint)
{
    if (!m_pMusicStream) {
        return true;
    }
    HFile *file = (fileSystem && name) ? fileSystem->openFileForRead(name) : nullptr;
    if (!file) {
        logPrintf("...***could not open theme music***\n");
        return false;
    }
    const int32_t size = file->getSize();
    uint8_t *data = (uint8_t *)malloc(size > 0 ? (size_t)size : 1);
    if (!data) {
        file->close();
        logPrintf("...***could not open theme music***\n");
        return false;
    }
    const int32_t got = size > 0 ? file->read(data, size) : 0;
    file->close();

    // A second load replaces the first: the mixer lets go of the stream
    // before its bytes change, and picks it up again afterwards.
    const bool wasPlaying = m_bMusicPlaying;
    QVApplication::setMusicPlaying(false);

    const bool opened = m_pMusicStream->setStream(data, got, 16, 22050, loopPoint);
    free(m_pMusicData);
    m_pMusicData = data;

    // The mixer adds the music's bytes to its own as they come: music of
    // another rate or channel count would play at the wrong speed. It is
    // refused, and the game goes on without it.
    if (opened && m_pMixingStream
        && (m_pMusicStream->getFrequency() != m_mixer.getFrequency()
            || m_pMusicStream->getChannels() != m_mixer.getChannels()
            || m_pMusicStream->getBits() != m_mixer.getBits())) {
        logPrintf("...***theme music '%s' is %d Hz with %d channel(s); the mixer plays %d Hz with %d "
                  "channel(s) in %d bits, so the music stays silent***\n",
                  name, (int)m_pMusicStream->getFrequency(), (int)m_pMusicStream->getChannels(),
                  (int)m_mixer.getFrequency(), (int)m_mixer.getChannels(), (int)m_mixer.getBits());
        m_pMusicStream->shutdown();
        m_pMusicStream->init();
        free(m_pMusicData);
        m_pMusicData = nullptr;
    }

    if (!m_pMusicMutex) {
        m_pMusicMutex = createMutex();
    }
    m_pMusicStream->setMutex(m_pMusicMutex);

    if (wasPlaying) {
        QVApplication::setMusicPlaying(true);
    }
    return true;
}

void QVApplication::unloadThemeMusic()
{
    QVApplication::setMusicPlaying(false);
    // The stream goes before the bytes it decodes from.
    if (m_pMusicStream) {
        m_pMusicStream->shutdown();
        delete m_pMusicStream;
        m_pMusicStream = nullptr;
    }
    free(m_pMusicData);
    m_pMusicData = nullptr;
    if (m_pMusicMutex) {
        m_pMusicMutex->destroy();
        delete m_pMusicMutex;
        m_pMusicMutex = nullptr;
    }
}

void QVApplication::rewindThemeMusic()
{
    if (m_pMusicStream && m_pMusicData) {
        m_pMusicStream->rewind();
    }
}

void QVApplication::setMusicPlaying(bool on)
{
    if (!m_pAudioDevice || on == m_bMusicPlaying || !m_pMixingStream) {
        return;
    }
    if (on) {
        m_mixer.setStream(&m_iMusicStreamHandle, m_pMusicStream, sm_volumeByte(m_fMusicVolume));
    } else {
        m_mixer.clearStream();
    }
    m_bMusicPlaying = on;
}

void QVApplication::setMusicVolume(float volume)
{
    if (!(volume > 0.0f)) {
        volume = 0.0f;
    } else if (volume > 1.0f) {
        volume = 1.0f;
    }
    m_fMusicVolume = volume;
    m_mixer.setStreamVolume(sm_volumeByte(volume));
}

void QVApplication::openURL(const char *address)
{
    if (!address) {
        return;
    }
    launchBrowser(address);
}

void QVApplication::setCursorShown(bool show)
{
    if (show == m_bCursorShown) {
        return;
    }
    m_bCursorShown = show;
    if (useSpriteCursor() && getCursorSprite()) {
        invalidateCursor();
    } else {
        setSystemCursorVisible(show);
    }
}

void QVApplication::setSystemCursorVisible(bool visible)
{
    if (m_pDisplayDevice && useSpriteCursor() && getCursorSprite()) {
        m_pDisplayDevice->showCursor(visible);
    }
}

bool QVApplication::toggleFullscreen()
{
    return m_pDisplayDevice ? m_pDisplayDevice->toggleFullscreen() : false;
}
