#ifndef HWAVLOADER_H
#define HWAVLOADER_H

#include "HAudioLoader.h"

// Plain RIFF WAVE: a 16-byte format chunk followed at once by the data chunk
// (44-byte header). 8 or 16 bits, mono or stereo, at exactly the requested
// rate; 8 and 16 bits convert into each other.
class HWAVLoader : public HAudioLoader {
public:
    virtual bool        loadAudioSample(HFileSystem *pFileSystem, const char *pszName,
                                        HAudioSample *pOut, int32_t iBits, int32_t iFrequency) override;

    // The same over a file already in memory (the fuzzer uses it directly).
    static bool         sm_decode(const uint8_t *pData, int32_t iSize, const char *pszName,
                                  HAudioSample *pOut, int32_t iBits, int32_t iFrequency);
};

#endif // HWAVLOADER_H
