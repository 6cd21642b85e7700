#include "HBMPLoader.h"
#include "HImage.h"
#include "HLog.h"

#include <stdlib.h>

enum { BMP_FILE_HEADER = 14, BMP_INFO_HEADER = 40 };

static uint32_t s_read32(const unsigned char *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

bool HBMPLoader::decode(const unsigned char *pBuffer, int iSize, const char *szName)
{
    release();
    if (!pBuffer || iSize < BMP_FILE_HEADER + BMP_INFO_HEADER || pBuffer[0] != 'B' ||
        pBuffer[1] != 'M') {
        errorPrintf("HBMPLoader::load - '%s' is not a BMP file", szName);
        return false;
    }
    const unsigned char *pInfo = pBuffer + BMP_FILE_HEADER;
    const uint32_t uOffset = s_read32(pBuffer + 10);
    const int32_t iWidth = (int32_t)s_read32(pInfo + 4);
    const int32_t iHeight = (int32_t)s_read32(pInfo + 8);
    const int iBitCount = pInfo[14] | (pInfo[15] << 8);
    const uint32_t uCompression = s_read32(pInfo + 16);
    // Only what we read correctly: uncompressed 24-bit, bottom row first.
    if (iBitCount != 24 || uCompression != 0 || iWidth <= 0 || iHeight <= 0) {
        errorPrintf("HBMPLoader::load - unsupported BMP '%s'", szName);
        return false;
    }
    const long long llRowBytes = ((3LL * iWidth) + 3) & ~3LL;
    if ((long long)uOffset + llRowBytes * iHeight > iSize) {
        errorPrintf("HBMPLoader::load - '%s' is truncated", szName);
        return false;
    }
    HImage *pImage = new HImage(iWidth, iHeight, IMAGE_FORMAT_32BIT);
    if (!pImage->getData()) {
        delete pImage;
        return false;
    }
    m_pImage = pImage;
    for (int y = 0; y < iHeight; y++) {
        const unsigned char *pSource = pBuffer + uOffset + (size_t)(llRowBytes * y);
        unsigned char *pDest = pImage->getData() + (size_t)(iHeight - 1 - y) * iWidth * 4;
        for (int x = 0; x < iWidth; x++) {
            pDest[0] = pSource[0];
            pDest[1] = pSource[1];
            pDest[2] = pSource[2];
            pDest[3] = 255;
            pDest += 4;
            pSource += 3;
        }
    }
    return true;
}
