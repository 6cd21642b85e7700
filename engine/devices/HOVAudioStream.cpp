#include "HOVAudioStream.h"

#include <limits.h>
#include <string.h>

// Only the memory callbacks are used; skip the stdio ones the header defines.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include "HLog.h"

HOVAudioStream::HOVAudioStream() : m_pDecoder(nullptr), m_iCurrentSection(0), m_bOpened(false)
{
}

// The owner calls shutdown() first; the decoder is not released here.
HOVAudioStream::~HOVAudioStream()
{
}

bool HOVAudioStream::init()
{
    if (m_pDecoder) {
        shutdown();
    }
    m_pDecoder = new OggVorbis_File();
    m_bOpened = false;
    return m_pDecoder != nullptr;
}

// Under the mutex as well: a reader that still holds the stream then finds
// it closed instead of a decoder half torn down.
void HOVAudioStream::shutdown()
{
    HMutex *pLocked = m_lock();
    if (m_pDecoder) {
        m_close();
        delete m_pDecoder;
        m_pDecoder = nullptr;
    }
    m_bOpened = false;
    m_unlock(pLocked);
}

void HOVAudioStream::m_close()
{
    if (m_bOpened) {
        ov_clear(m_pDecoder);
        m_bOpened = false;
    }
}

bool HOVAudioStream::setStream(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                               int32_t iFrequency, int32_t iLoopPoint)
{
    HMutex *pLocked = m_lock();
    const bool bOpened = m_open(pBlock, iSize, iBits, iFrequency, iLoopPoint);
    m_unlock(pLocked);
    return bOpened;
}

bool HOVAudioStream::m_open(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                            int32_t iFrequency, int32_t iLoopPoint)
{
    // A second load replaces the first.
    if (m_pDecoder) {
        m_close();
    }
    HCompressedAudioStream::setStream(pBlock, iSize, iBits, iFrequency, iLoopPoint);
    if (!m_pDecoder || !m_pStart) {
        errorPrintf("HOVAudioStream::setStream - ov_open_callbacks failed");
        return false;
    }

    ov_callbacks callbacks;
    callbacks.read_func = memRead;
    callbacks.seek_func = memSeek;
    callbacks.close_func = memClose;
    callbacks.tell_func = memTell;
    if (ov_open_callbacks(this, m_pDecoder, nullptr, 0, callbacks) < 0) {
        errorPrintf("HOVAudioStream::setStream - ov_open_callbacks failed");
        return false;
    }

    // The format reported is the one read() gives: the file's channels and
    // rate in 16 bits, whatever the caller asked for.
    const vorbis_info *pInfo = ov_info(m_pDecoder, -1);
    m_iChannels = pInfo ? pInfo->channels : 0;
    m_iFrequency = pInfo && pInfo->rate > 0 && pInfo->rate <= INT32_MAX ? (int32_t)pInfo->rate : 0;
    m_iBits = 16;
    m_iCurrentSection = 0;
    m_bOpened = true;
    return true;
}

int32_t HOVAudioStream::read(uint8_t *pBuffer, int32_t iLength)
{
    if (!pBuffer || iLength <= 0) {
        return 0;
    }

    HMutex *pLocked = m_lock();
    int32_t iProduced = 0;
    // Set after a jump to the loop point: another end of data before any new
    // sample means the loop point itself lies at the end, and looping again
    // would spin here for ever.
    bool bLooped = false;
    if (m_bOpened && m_pStart) {
        while (iProduced < iLength) {
            const long n = ov_read(m_pDecoder, (char *)pBuffer + iProduced, iLength - iProduced,
                                   0, 2, 1, &m_iCurrentSection);
            if (n == 0) {
                if (bLooped || ov_pcm_seek(m_pDecoder, (ogg_int64_t)m_iLoopPoint) != 0) {
                    // The loop point cannot be reached: the music ends here.
                    break;
                }
                bLooped = true;
                continue;
            }
            if (n < 0) {
                break;
            }
            bLooped = false;
            iProduced += (int32_t)n;
        }
    }
    m_unlock(pLocked);
    return iProduced;
}

void HOVAudioStream::rewind()
{
    if (!m_bOpened) {
        return;
    }
    HMutex *pLocked = m_lock();
    ov_pcm_seek(m_pDecoder, 0);
    m_unlock(pLocked);
}

int32_t HOVAudioStream::getLength()
{
    HMutex *pLocked = m_lock();
    const ogg_int64_t iSamples = (m_pDecoder && m_bOpened) ? ov_pcm_total(m_pDecoder, -1) : 0;
    m_unlock(pLocked);
    if (iSamples <= 0 || m_iChannels <= 0) {
        return 0;
    }
    // A damaged header can claim any length; one that does not fit is unknown.
    const int64_t iBytes = (int64_t)iSamples * m_iChannels * 2;
    if (iBytes > INT_MAX) {
        return 0;
    }
    return (int32_t)iBytes;
}

size_t HOVAudioStream::memRead(void *pDest, size_t iSize, size_t iCount, void *pSource)
{
    HOVAudioStream *pStream = (HOVAudioStream *)pSource;
    if (iSize == 0) {
        return 0;
    }
    size_t iBytes = iSize * iCount;
    if (iCount != 0 && iBytes / iCount != iSize) {
        return 0;
    }
    if (iBytes > INT_MAX) {
        iBytes = INT_MAX;
    }
    return (size_t)pStream->readBytes(pDest, (int32_t)iBytes) / iSize;
}

int HOVAudioStream::memSeek(void *pSource, int64_t iOffset, int iOrigin)
{
    return ((HOVAudioStream *)pSource)->m_seekStream(iOffset, iOrigin);
}

int HOVAudioStream::memClose(void *)
{
    return 0;
}

long HOVAudioStream::memTell(void *pSource)
{
    return ((HOVAudioStream *)pSource)->getOffset();
}
