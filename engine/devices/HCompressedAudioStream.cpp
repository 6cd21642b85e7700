#include "HCompressedAudioStream.h"

#include <stdio.h>
#include <string.h>

#include "HLog.h"
#include "HMutex.h"

HCompressedAudioStream::HCompressedAudioStream()
    : m_iLoopPoint(0), m_pMutex(nullptr), m_pPosition(nullptr), m_pStart(nullptr), m_iSize(0)
{
}

HCompressedAudioStream::~HCompressedAudioStream()
{
}

bool HCompressedAudioStream::setStream(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                                       int32_t iFrequency, int32_t iLoopPoint)
{
    m_pStart = pBlock;
    m_pPosition = pBlock;
    m_iSize = (pBlock && iSize > 0) ? iSize : 0;
    m_iBits = iBits;
    m_iFrequency = iFrequency;
    m_iLoopPoint = iLoopPoint;
    return true;
}

int32_t HCompressedAudioStream::readBytes(void *pDest, int32_t iCount)
{
    if (!m_pStart || iCount <= 0) {
        return 0;
    }
    const int32_t iLeft = (int32_t)(m_pStart + m_iSize - m_pPosition);
    if (iCount > iLeft) {
        iCount = iLeft;
    }
    if (iCount > 0) {
        memcpy(pDest, m_pPosition, (size_t)iCount);
        m_pPosition += iCount;
    }
    return iCount;
}

// Offsets are checked before the pointer moves, so the position never points
// outside the block, even for offsets the decoder never asks for.
int32_t HCompressedAudioStream::m_seekStream(int64_t iOffset, int32_t iOrigin)
{
    const int64_t iCurrent = m_pPosition - m_pStart;
    int64_t iTarget;

    switch (iOrigin) {
    case SEEK_SET:
        iTarget = iOffset;
        if (iTarget > m_iSize) {
            m_pPosition = m_pStart + m_iSize;
            errorPrintf("HCompressedAudioStream::m_seekStream - SEEK_SET out of range");
            return -1;
        }
        break;
    case SEEK_CUR:
        iTarget = iCurrent + iOffset;
        if (iTarget > m_iSize) {
            m_pPosition = m_pStart + m_iSize;
            errorPrintf("HCompressedAudioStream::m_seekStream - SEEK_CUR out of range");
            return -1;
        }
        break;
    case SEEK_END:
        iTarget = (int64_t)m_iSize - iOffset;
        if (iTarget < 0) {
            m_pPosition = m_pStart;
            errorPrintf("HCompressedAudioStream::m_seekStream - SEEK_END out of range");
            return -1;
        }
        if (iTarget > m_iSize) {
            m_pPosition = m_pStart + m_iSize;
            errorPrintf("HCompressedAudioStream::m_seekStream - SEEK_END out of range");
            return -1;
        }
        break;
    default:
        errorPrintf("HCompressedAudioStream::m_seekStream - invalid whence '%d'", iOrigin);
        return -1;
    }

    if (iTarget < 0) {
        m_pPosition = m_pStart;
        errorPrintf("HCompressedAudioStream::m_seekStream - seek before the start");
        return -1;
    }
    m_pPosition = m_pStart + iTarget;
    return 0;
}

HMutex *HCompressedAudioStream::m_lock()
{
    HMutex *pMutex = m_pMutex;
    if (pMutex) {
        pMutex->lock();
    }
    return pMutex;
}

void HCompressedAudioStream::m_unlock(HMutex *pLocked)
{
    if (pLocked) {
        pLocked->unlock();
    }
}
