#ifndef HCOMPRESSEDAUDIOSTREAM_H
#define HCOMPRESSEDAUDIOSTREAM_H

#include <stdint.h>

#include "HStreamingAudioSource.h"

class HMutex;

// A source that decodes a compressed file held whole in one block of memory.
// The block is not owned and must outlive the stream's use of it. The
// decoder reads it through readBytes / m_seekStream / getOffset, which never
// leave the block.
class HCompressedAudioStream : public HStreamingAudioSource {
public:
                        HCompressedAudioStream();
    virtual             ~HCompressedAudioStream();

    // Back to the first sample.
    virtual void        rewind() = 0;
    // Keeps the block; decoders open it as well. iLoopPoint is counted in
    // samples per channel.
    virtual bool        setStream(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                                  int32_t iFrequency, int32_t iLoopPoint);
    // Decoded size of the whole stream in bytes, 0 when unknown.
    virtual int32_t     getLength() = 0;
    // Taken around decoding when set; not owned.
    virtual void        setMutex(HMutex *pMutex) { m_pMutex = pMutex; }

    // Copies up to iCount bytes from the current position and advances.
    int32_t             readBytes(void *pDest, int32_t iCount);
    // 0, or -1 for an invalid origin or a target outside the block (the
    // position is then clamped to the block's nearest end).
    int32_t             m_seekStream(int64_t iOffset, int32_t iOrigin);
    // Current position from the start of the block.
    int32_t             getOffset() const { return (int32_t)(m_pPosition - m_pStart); }
    int32_t             getLoopPoint() const { return m_iLoopPoint; }

protected:
    // m_lock returns the mutex it took (or null) and m_unlock releases that
    // one, so a setMutex in between can never unbalance them.
    HMutex *            m_lock();
    void                m_unlock(HMutex *pLocked);

    int32_t             m_iLoopPoint;
    HMutex *            m_pMutex;
    const uint8_t *     m_pPosition;
    const uint8_t *     m_pStart;
    int32_t             m_iSize;
};

#endif // HCOMPRESSEDAUDIOSTREAM_H
