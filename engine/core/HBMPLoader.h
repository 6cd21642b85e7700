#ifndef HBMPLOADER_H
#define HBMPLOADER_H

#include "HImageLoader.h"

// Uncompressed 24-bit BMP. Not reachable from the proxy.
class HBMPLoader : public HImageLoader {
public:
    bool decode(const unsigned char *pBuffer, int iSize, const char *szName) override;
};

#endif
