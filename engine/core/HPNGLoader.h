#ifndef HPNGLOADER_H
#define HPNGLOADER_H

#include "HImageLoader.h"

// 8-bit palette, RGB and RGBA PNG through libpng, decoded to 32 bits.
class HPNGLoader : public HImageLoader {
public:
    bool decode(const unsigned char *pBuffer, int iSize, const char *szName) override;
};

#endif
