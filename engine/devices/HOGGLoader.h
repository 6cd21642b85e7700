#ifndef HOGGLOADER_H
#define HOGGLOADER_H

#include "HAudioLoader.h"

// Ogg Vorbis sound effects, decoded whole once into signed 16-bit samples at
// the file's own rate and channel count. Only 16 bits can be asked for. A file
// that does not decode completely is refused.
class HOGGLoader : public HAudioLoader {
public:
    virtual bool        loadAudioSample(HFileSystem *pFileSystem, const char *pszName,
                                        HAudioSample *pOut, int32_t iBits, int32_t iFrequency) override;

    // The same over a file already in memory (the fuzzer uses it directly).
    static bool         sm_decode(const uint8_t *pData, int32_t iSize, const char *pszName,
                                  HAudioSample *pOut, int32_t iBits, int32_t iFrequency);
};

#endif // HOGGLOADER_H
