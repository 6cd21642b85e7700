#include "HTGALoader.h"
#include "HFile.h"
#include "HFileSystem.h"
#include "HImage.h"
#include "HLog.h"

#include <stdlib.h>
#include <string.h>

enum { TGA_HEADER_SIZE = 18, TGA_TYPE_TRUE_COLOR = 2, TGA_ORIGIN_TOP = 0x20 };

static int s_read16(const unsigned char *p)
{
    return (int16_t)(p[0] | (p[1] << 8));
}

bool HTGALoader::decode(const unsigned char *pBuffer, int iSize, const char *szName)
{
    release();
    if (!pBuffer || iSize < TGA_HEADER_SIZE) {
        errorPrintf("HTGALoader::load - '%s' is shorter than its header", szName);
        return false;
    }
    const int iIdLength = pBuffer[0];
    const int iColorMapType = pBuffer[1];
    const int iImageType = pBuffer[2];
    const int iColorMapLength = pBuffer[5] | (pBuffer[6] << 8);
    const int iColorMapBits = pBuffer[7];
    const int iWidth = s_read16(pBuffer + 12);
    const int iHeight = s_read16(pBuffer + 14);
    const int iDepth = pBuffer[16];
    const int iDescriptor = pBuffer[17];

    // Pixels follow the image-ID field and any colour map, which we skip.
    long long llOffset = TGA_HEADER_SIZE + iIdLength;
    if (iColorMapType != 0) {
        errorPrintf("HTGALoader::load - colormap found in '%s'", szName);
        if (iColorMapType == 1) {
            llOffset += (long long)iColorMapLength * ((iColorMapBits + 7) / 8);
        }
    }

    int iFormat;
    int iSourceBpp;
    if (iImageType == TGA_TYPE_TRUE_COLOR) {
        switch (iDepth) {
        case 16: iFormat = IMAGE_FORMAT_16BIT; iSourceBpp = 2; break;
        case 24: iFormat = IMAGE_FORMAT_32BIT; iSourceBpp = 3; break;
        case 32: iFormat = IMAGE_FORMAT_32BIT; iSourceBpp = 4; break;
        default:
            errorPrintf("HTGALoader::load - unsupported depth %d in '%s'", iDepth, szName);
            return false;
        }
    } else {
        iFormat = IMAGE_FORMAT_8BIT;
        iSourceBpp = 1;
    }

    if (iWidth <= 0 || iHeight <= 0) {
        errorPrintf("HTGALoader::load - bad size %dx%d in '%s'", iWidth, iHeight, szName);
        return false;
    }
    const long long llPixels = (long long)iWidth * iHeight;
    if (llOffset + llPixels * iSourceBpp > iSize) {
        errorPrintf("HTGALoader::load - '%s' is truncated", szName);
        return false;
    }

    HImage *pImage = new HImage(iWidth, iHeight, iFormat);
    if (!pImage->getData()) {
        delete pImage;
        return false;
    }
    m_pImage = pImage;

    const unsigned char *pSource = pBuffer + llOffset;
    unsigned char *pDest = pImage->getData();
    for (long long i = 0; i < llPixels; i++) {
        switch (iSourceBpp) {
        case 4:
            memcpy(pDest, pSource, 4);
            pDest += 4;
            break;
        case 3:
            pDest[0] = pSource[0];
            pDest[1] = pSource[1];
            pDest[2] = pSource[2];
            pDest[3] = 255;
            pDest += 4;
            break;
        case 2: {
            // TGA keeps 1-5-5-5 with red on top; ours has blue on top and
            // bit 0 clear. The attribute bit is dropped.
            const unsigned v = pSource[0] | (pSource[1] << 8);
            const uint16_t uPixel = (uint16_t)((((v >> 10) & 31) << 1) | (((v >> 5) & 31) << 6) |
                                               ((v & 31) << 11));
            memcpy(pDest, &uPixel, 2);
            pDest += 2;
            break;
        }
        default:
            *pDest++ = *pSource;
            break;
        }
        pSource += iSourceBpp;
    }

    tracePrintf("...loaded '%s' %dx%dx%d\n", szName, iWidth, iHeight, pImage->getBytesPerPixel());
    // Stored bottom row first unless the descriptor says otherwise.
    if (!(iDescriptor & TGA_ORIGIN_TOP)) {
        pImage->flipVertical();
    }
    return true;
}

bool HTGALoader::write(HFileSystem *pFileSystem, const char *szName, const HImage *pImage)
{
    if (!pFileSystem || !szName || !pImage || !pImage->getData()) {
        return false;
    }
    const int iFormat = pImage->getFormat();
    if (iFormat != IMAGE_FORMAT_32BIT && iFormat != IMAGE_FORMAT_16BIT) {
        alertBox("HTGALoader::write() - Unsupported image format");
        return false;
    }
    const int iWidth = pImage->getWidth();
    const int iHeight = pImage->getHeight();
    if (iWidth > 32767 || iHeight > 32767) {
        errorPrintf("HTGALoader::write - %dx%d does not fit a TGA header", iWidth, iHeight);
        return false;
    }
    HFile *pFile = pFileSystem->openFileForWrite(szName);
    if (!pFile) {
        return false;
    }

    const int iBpp = pImage->getBytesPerPixel();
    unsigned char header[TGA_HEADER_SIZE] = {};
    header[2] = TGA_TYPE_TRUE_COLOR;
    header[12] = (unsigned char)(iWidth & 0xff);
    header[13] = (unsigned char)(iWidth >> 8);
    header[14] = (unsigned char)(iHeight & 0xff);
    header[15] = (unsigned char)(iHeight >> 8);
    header[16] = (unsigned char)(8 * iBpp);
    bool bOk = pFile->write(header, TGA_HEADER_SIZE) == TGA_HEADER_SIZE;

    // Bottom row first in TGA's own byte order, so load() gives back the
    // same image.
    const int iRowBytes = iWidth * iBpp;
    unsigned char *pRow = (unsigned char *)malloc((size_t)iRowBytes);
    bOk = bOk && pRow;
    for (int y = iHeight - 1; bOk && y >= 0; y--) {
        const unsigned char *pSource = pImage->getData() + (size_t)y * iRowBytes;
        if (iFormat == IMAGE_FORMAT_32BIT) {
            memcpy(pRow, pSource, (size_t)iRowBytes);
        } else {
            for (int x = 0; x < iWidth; x++) {
                uint16_t p;
                memcpy(&p, pSource + 2 * x, 2);
                const unsigned v = (((p >> 1) & 31u) << 10) | (((p >> 6) & 31u) << 5) |
                                   ((p >> 11) & 31u);
                pRow[2 * x] = (unsigned char)(v & 0xff);
                pRow[2 * x + 1] = (unsigned char)(v >> 8);
            }
        }
        bOk = pFile->write(pRow, iRowBytes) == iRowBytes;
    }
    free(pRow);
    pFile->close();
    return bOk;
}
