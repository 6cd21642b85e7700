#ifndef HTGALOADER_H
#define HTGALOADER_H

#include "HImageLoader.h"

// Uncompressed TGA: true-colour 16, 24 and 32 bits, anything else as 8-bit.
class HTGALoader : public HImageLoader {
public:
    bool decode(const unsigned char *pBuffer, int iSize, const char *szName) override;

    // Writes a 32-bit or 16-bit image so that load() reads it back unchanged.
    static bool write(HFileSystem *pFileSystem, const char *szName, const HImage *pImage);
};

#endif
