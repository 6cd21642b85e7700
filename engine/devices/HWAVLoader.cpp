#include "HWAVLoader.h"

#include <stdlib.h>
#include <string.h>

#include "HAudioSample.h"
#include "HLog.h"

enum {
    WAV_HEADER_SIZE = 44,
    WAV_MAX_OUTPUT  = 0x7fffffff
};

static uint32_t s_readU32(const uint8_t *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

static uint16_t s_readU16(const uint8_t *p)
{
    return (uint16_t)(p[0] | (p[1] << 8));
}

bool HWAVLoader::loadAudioSample(HFileSystem *pFileSystem, const char *pszName,
                                 HAudioSample *pOut, int32_t iBits, int32_t iFrequency)
{
    if (!pFileSystem || !pszName || !pOut) {
        return false;
    }
    int32_t iSize;
    bool bOpened;
    uint8_t *pData = sm_readWholeFile(pFileSystem, pszName, &iSize, &bOpened);
    if (!pData) {
        return false;
    }
    const bool bResult = sm_decode(pData, iSize, pszName, pOut, iBits, iFrequency);
    delete[] pData;
    return bResult;
}

bool HWAVLoader::sm_decode(const uint8_t *pData, int32_t iSize, const char *pszName,
                           HAudioSample *pOut, int32_t iBits, int32_t iFrequency)
{
    // Shorter than its header: nothing below may be read.
    if (!pData || iSize < WAV_HEADER_SIZE) {
        return false;
    }
    if (memcmp(pData, "RIFF", 4) != 0 || memcmp(pData + 8, "WAVE", 4) != 0 ||
        s_readU32(pData + 16) != 16 || memcmp(pData + 36, "data", 4) != 0) {
        return false;
    }

    const int32_t iChannels = s_readU16(pData + 22);
    const int32_t iFileRate = (int32_t)s_readU32(pData + 24);
    const int32_t iFileBits = s_readU16(pData + 34);
    const uint32_t uDataSize = s_readU32(pData + 40);

    // A sound the mixer can't play as it is: said in the log, since the
    // game goes on without it.
    if (iFileRate != iFrequency) {
        logPrintf("HWAVLoader::loadAudioSample - file '%s' frequency %d != requested frequency %d\n",
                  pszName, iFileRate, iFrequency);
        return false;
    }
    if (iChannels != 1 && iChannels != 2) {
        logPrintf("HWAVLoader::loadAudioSample - %d channels unsupported in file '%s'\n",
                  iChannels, pszName);
        return false;
    }
    // The data may not claim more bytes than follow the header.
    if (uDataSize > (uint32_t)(iSize - WAV_HEADER_SIZE)) {
        errorPrintf("HWAVLoader::loadAudioSample - data size %u past the end of file '%s'",
                    uDataSize, pszName);
        return false;
    }

    int64_t iOutSize;
    if (iBits == iFileBits) {
        iOutSize = uDataSize;
    } else if (iBits == 16 && iFileBits == 8) {
        iOutSize = (int64_t)uDataSize * 2;
    } else if (iBits == 8 && iFileBits == 16) {
        iOutSize = uDataSize / 2;
    } else {
        errorPrintf("HWAVLoader::loadAudioSample - Bit size mismatch %d vs. %d", iBits, iFileBits);
        return false;
    }
    if (iBits == iFileBits && iBits != 8 && iBits != 16) {
        errorPrintf("HWAVLoader::loader - m_iBitsPerSample (%d) unsupported in file '%s'",
                    iFileBits, pszName);
        return false;
    }
    if (iOutSize > WAV_MAX_OUTPUT) {
        return false;
    }

    const uint8_t *pSource = pData + WAV_HEADER_SIZE;
    // new[] of 0 bytes still gives a distinct buffer: an empty sound loads and
    // plays nothing.
    uint8_t *pBuffer = new uint8_t[(size_t)iOutSize];

    if (iBits == iFileBits) {
        memcpy(pBuffer, pSource, (size_t)iOutSize);
    } else if (iBits == 16) {
        // 8 to 16: v * 256 | |v| spreads 0..255 over almost the full range.
        for (uint32_t i = 0; i < uDataSize; i++) {
            const int32_t v = (int32_t)pSource[i] - 128;
            const uint16_t uSample = (uint16_t)((uint16_t)(v * 256) | (uint16_t)abs(v));
            pBuffer[i * 2] = (uint8_t)(uSample & 0xff);
            pBuffer[i * 2 + 1] = (uint8_t)(uSample >> 8);
        }
    } else {
        errorPrintf("Untested!");
        for (int64_t i = 0; i < iOutSize; i++) {
            const int16_t s = (int16_t)s_readU16(pSource + i * 2);
            pBuffer[i] = (uint8_t)((s >> 8) + 128);
        }
    }

    pOut->m_pBuffer = pBuffer;
    pOut->m_iChannels = iChannels;
    pOut->m_iBits = iBits;
    pOut->m_iFrequency = iFrequency;
    pOut->m_iLength = (int32_t)iOutSize;
    return true;
}
