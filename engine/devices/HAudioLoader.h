#ifndef HAUDIOLOADER_H
#define HAUDIOLOADER_H

#include <stdint.h>

class HFileSystem;
struct HAudioSample;

// Decodes one sound file into a new buffer (allocated with new[]) in the
// requested format. Loaders are short-lived local objects.
class HAudioLoader {
public:
    virtual             ~HAudioLoader() {}
    // On failure pOut is left untouched and nothing stays allocated.
    virtual bool        loadAudioSample(HFileSystem *pFileSystem, const char *pszName,
                                        HAudioSample *pOut, int32_t iBits, int32_t iFrequency) = 0;

    // The whole file in a new[] block; null when it can't be opened or read
    // in full. An empty file gives null with *piSize 0.
    static uint8_t *    sm_readWholeFile(HFileSystem *pFileSystem, const char *pszName,
                                         int32_t *piSize, bool *pbOpened);
};

#endif // HAUDIOLOADER_H
