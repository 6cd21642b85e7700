#include "HPNGLoader.h"
#include "HImage.h"
#include "HLog.h"

#include <stdlib.h>
#include <string.h>

#include <png.h>

// Read position in the file buffer, handed to libpng as its I/O pointer.
struct HPNGSource {
    const unsigned char *   pData;
    size_t                  iSize;
    size_t                  iPosition;
};

static void s_read(png_structp pPng, png_bytep pOut, png_size_t iLength)
{
    HPNGSource *pSource = (HPNGSource *)png_get_io_ptr(pPng);
    if (iLength > pSource->iSize - pSource->iPosition) {
        png_error(pPng, "read past the end of the file");
    }
    memcpy(pOut, pSource->pData + pSource->iPosition, iLength);
    pSource->iPosition += iLength;
}

// A fatal error must not return into libpng: jump back to the load.
static void s_error(png_structp pPng, png_const_charp szMessage)
{
    alertBox("lpng122 encountered fatal error '%s'", szMessage);
    png_longjmp(pPng, 1);
}

static void s_warning(png_structp, png_const_charp szMessage)
{
    alertBox("lpng122 encountered warning '%s'", szMessage);
}

bool HPNGLoader::decode(const unsigned char *pBuffer, int iSize, const char *szName)
{
    release();
    if (!pBuffer || iSize < 8 || png_sig_cmp(pBuffer, 0, 8) != 0) {
        errorPrintf("HPNGLoader::load - invalid PNG file '%s'", szName);
        return false;
    }

    png_structp pPng = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, s_error, s_warning);
    if (!pPng) {
        return false;
    }
    png_infop pInfo = png_create_info_struct(pPng);
    if (!pInfo) {
        png_destroy_read_struct(&pPng, nullptr, nullptr);
        return false;
    }

    HPNGSource source = { pBuffer, (size_t)iSize, 0 };
    // Touched after setjmp and needed after a jump: keep them in memory.
    unsigned char *volatile pPixels = nullptr;
    png_bytep *volatile ppRows = nullptr;

    if (setjmp(png_jmpbuf(pPng))) {
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
        free(pPixels);
        free(ppRows);
        release();
        return false;
    }

    png_set_read_fn(pPng, &source, s_read);
    png_read_info(pPng, pInfo);

    png_uint_32 uWidth, uHeight;
    int iDepth, iColorType, iInterlace, iCompression, iFilter;
    png_get_IHDR(pPng, pInfo, &uWidth, &uHeight, &iDepth, &iColorType, &iInterlace, &iCompression,
                 &iFilter);

    const bool bPalette = iDepth == 8 && iColorType == PNG_COLOR_TYPE_PALETTE;
    const bool bRGBA = iDepth == 8 && iColorType == PNG_COLOR_TYPE_RGB_ALPHA;
    const bool bRGB = iDepth == 8 && iColorType == PNG_COLOR_TYPE_RGB;
    if (!bPalette && !bRGBA && !bRGB) {
        errorPrintf("File '%s' has unknown colorType %d with iBPP = %d", szName, iColorType,
                    iDepth);
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
        return false;
    }

    png_colorp pPalette = nullptr;
    int iPaletteSize = 0;
    if (bPalette && !png_get_PLTE(pPng, pInfo, &pPalette, &iPaletteSize)) {
        iPaletteSize = 0;
    }

    if (uWidth > (png_uint_32)HImage::kiMaxPixels || uHeight > (png_uint_32)HImage::kiMaxPixels) {
        errorPrintf("HPNGLoader::load - bad size %ux%u in '%s'", (unsigned)uWidth,
                    (unsigned)uHeight, szName);
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
        return false;
    }
    HImage *pImage = new HImage((int)uWidth, (int)uHeight, IMAGE_FORMAT_32BIT);
    if (!pImage->getData()) {
        delete pImage;
        png_destroy_read_struct(&pPng, &pInfo, nullptr);
        return false;
    }
    m_pImage = pImage;

    const int iPasses = png_set_interlace_handling(pPng);
    png_read_update_info(pPng, pInfo);
    const size_t iRowBytes = png_get_rowbytes(pPng, pInfo);
    const int iBytesPerPixel = bPalette ? 1 : (bRGBA ? 4 : 3);
    if (iRowBytes < (size_t)uWidth * iBytesPerPixel) {
        png_error(pPng, "row shorter than its pixels");
    }

    // Rows are sized from the image's own width. An interlaced image needs
    // every row at hand for its passes; a plain one just one at a time.
    const int iWidth = (int)uWidth;
    const int iHeight = (int)uHeight;
    const int iBufferRows = iPasses > 1 ? iHeight : 1;
    pPixels = (unsigned char *)malloc(iRowBytes * (size_t)iBufferRows);
    if (!pPixels) {
        png_error(pPng, "out of memory");
    }
    if (iPasses > 1) {
        ppRows = (png_bytep *)malloc(sizeof(png_bytep) * (size_t)iHeight);
        if (!ppRows) {
            png_error(pPng, "out of memory");
        }
        for (int y = 0; y < iHeight; y++) {
            ppRows[y] = pPixels + (size_t)y * iRowBytes;
        }
        png_read_image(pPng, ppRows);
    }

    for (int y = 0; y < iHeight; y++) {
        unsigned char *pRow = pPixels;
        if (iPasses > 1) {
            pRow = ppRows[y];
        } else {
            png_read_row(pPng, pRow, nullptr);
        }
        for (int x = 0; x < iWidth; x++) {
            uint32_t uColor;
            if (bPalette) {
                const int iIndex = pRow[x];
                if (iIndex >= iPaletteSize) {
                    errorPrintf("HPNGLoader::load - palette index %d past the palette in '%s'",
                                iIndex, szName);
                    png_destroy_read_struct(&pPng, &pInfo, nullptr);
                    free(pPixels);
                    free(ppRows);
                    release();
                    return false;
                }
                uColor = HImage::packColor(pPalette[iIndex].red, pPalette[iIndex].green,
                                           pPalette[iIndex].blue, 255);
            } else if (bRGBA) {
                const unsigned char *p = pRow + 4 * x;
                uColor = HImage::packColor(p[0], p[1], p[2], p[3]);
            } else {
                const unsigned char *p = pRow + 3 * x;
                uColor = HImage::packColor(p[0], p[1], p[2], 255);
            }
            pImage->setPixel(x, y, uColor);
        }
    }

    png_destroy_read_struct(&pPng, &pInfo, nullptr);
    free(pPixels);
    free(ppRows);
    tracePrintf("...loaded '%s' %dx%dx%d\n", szName, iWidth, iHeight, 32);
    return true;
}
