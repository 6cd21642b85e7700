#ifndef HOVAUDIOSTREAM_H
#define HOVAUDIOSTREAM_H

#include <stddef.h>
#include <stdint.h>

#include "HCompressedAudioStream.h"

struct OggVorbis_File;

// Ogg Vorbis decoded from memory into signed 16-bit little-endian samples at
// the file's own rate; once opened, getChannels and getFrequency give the
// file's. At the end of the data it jumps back to the loop point,
// so a read normally fills the whole buffer; it comes back short only when the
// data is damaged or the loop point cannot be reached (a negative loop point
// plays the data once).
//
// Use: init, setStream, read / rewind / getLength, shutdown, delete. All but
// init take the mutex when one is set; still, the stream may only be deleted
// once nothing can read it any more (the mixer detaches it first).
class HOVAudioStream : public HCompressedAudioStream {
public:
                        HOVAudioStream();
    virtual             ~HOVAudioStream();

    virtual bool        init() override;
    virtual void        shutdown() override;
    virtual int32_t     read(uint8_t *pBuffer, int32_t iLength) override;
    virtual void        rewind() override;
    virtual bool        setStream(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                                  int32_t iFrequency, int32_t iLoopPoint) override;
    virtual int32_t     getLength() override;

    bool                isOpened() const { return m_bOpened; }

    // vorbisfile's view of the block.
    static size_t       memRead(void *pDest, size_t iSize, size_t iCount, void *pSource);
    static int          memSeek(void *pSource, int64_t iOffset, int iOrigin);
    static int          memClose(void *pSource);
    static long         memTell(void *pSource);

private:
    bool                m_open(const uint8_t *pBlock, int32_t iSize, int32_t iBits,
                               int32_t iFrequency, int32_t iLoopPoint);
    void                m_close();

    OggVorbis_File *    m_pDecoder;
    int                 m_iCurrentSection;
    bool                m_bOpened;
};

#endif // HOVAUDIOSTREAM_H
