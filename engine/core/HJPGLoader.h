#ifndef HJPGLOADER_H
#define HJPGLOADER_H

#include "HImageLoader.h"

// Baseline and progressive JPEG through libjpeg, decoded to 32 bits. A corrupt
// file fails the load instead of ending the program.
class HJPGLoader : public HImageLoader {
public:
    bool decode(const unsigned char *pBuffer, int iSize, const char *szName) override;
};

#endif
