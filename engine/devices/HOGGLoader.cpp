#include "HOGGLoader.h"

#include "HAudioSample.h"
#include "HLog.h"
#include "HOVAudioStream.h"

// A sound effect longer than this (about six minutes of 22050 Hz stereo) is
// taken for a damaged header rather than allocated.
enum { OGG_MAX_DECODED = 32 * 1024 * 1024 };

bool HOGGLoader::loadAudioSample(HFileSystem *pFileSystem, const char *pszName,
                                 HAudioSample *pOut, int32_t iBits, int32_t iFrequency)
{
    if (!pFileSystem || !pszName || !pOut) {
        return false;
    }
    int32_t iSize;
    bool bOpened;
    uint8_t *pData = sm_readWholeFile(pFileSystem, pszName, &iSize, &bOpened);
    if (!bOpened) {
        errorPrintf("HOGGLoader::loadAudioSample - could not open file '%s'", pszName);
        return false;
    }
    if (!pData) {
        errorPrintf("HOGGLoader::loadAudioSample - could not read file '%s'", pszName);
        return false;
    }
    const bool bResult = sm_decode(pData, iSize, pszName, pOut, iBits, iFrequency);
    delete[] pData;
    return bResult;
}

bool HOGGLoader::sm_decode(const uint8_t *pData, int32_t iSize, const char *pszName,
                           HAudioSample *pOut, int32_t iBits, int32_t iFrequency)
{
    // The decoder only gives 16-bit samples; a record claiming 8 would lie.
    if (iBits != 16) {
        errorPrintf("HOGGLoader::loadAudioSample - %d bits requested for '%s', only 16 supported",
                    iBits, pszName);
        return false;
    }

    HOVAudioStream stream;
    if (!stream.init()) {
        errorPrintf("HOGGLoader::load - could not initialize ovas");
        return false;
    }
    // A file that is not Ogg Vorbis is a failed load, never an empty sound.
    // No loop point: a header that overstates the length then reads short
    // instead of wrapping round to the start.
    if (!stream.setStream(pData, iSize, iBits, iFrequency, -1)) {
        stream.shutdown();
        return false;
    }

    // Decoded at the file's own rate: another rate would play at the wrong
    // speed, so it is refused, as a WAV file at another rate is.
    if (stream.getFrequency() != iFrequency) {
        logPrintf("HOGGLoader::loadAudioSample - file '%s' frequency %d != requested frequency %d\n",
                  pszName, (int)stream.getFrequency(), (int)iFrequency);
        stream.shutdown();
        return false;
    }
    if (stream.getChannels() != 1 && stream.getChannels() != 2) {
        logPrintf("HOGGLoader::loadAudioSample - %d channels unsupported in file '%s'\n",
                  (int)stream.getChannels(), pszName);
        stream.shutdown();
        return false;
    }

    const int32_t iLength = stream.getLength();
    if (iLength <= 0 || iLength > OGG_MAX_DECODED) {
        errorPrintf("HOGGLoader::loadAudioSample - bad decoded length %d in '%s'", iLength, pszName);
        stream.shutdown();
        return false;
    }

    uint8_t *pBuffer = new uint8_t[(size_t)iLength];
    const int32_t iDecoded = stream.read(pBuffer, iLength);
    const int32_t iChannels = stream.getChannels();
    stream.shutdown();

    // Anything short of the whole length means damaged data.
    if (iDecoded != iLength || iChannels < 1) {
        errorPrintf("HOGGLoader::loadAudioSample - could only decode %d of %d bytes of '%s'",
                    iDecoded, iLength, pszName);
        delete[] pBuffer;
        return false;
    }

    pOut->m_pBuffer = pBuffer;
    pOut->m_iChannels = iChannels;
    pOut->m_iBits = iBits;
    pOut->m_iFrequency = iFrequency;
    pOut->m_iLength = iLength;
    return true;
}
