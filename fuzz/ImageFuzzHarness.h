#ifndef IMAGEFUZZHARNESS_H
#define IMAGEFUZZHARNESS_H

// The image fuzz targets' one body: any bytes either decode to an image as
// large as its header says or fail cleanly.
#include <stddef.h>
#include <stdint.h>

#include "HImage.h"
#include "HImageLoader.h"
#include "HMessageBox.h"

// Loaders may raise boxes (libpng warnings and errors): answer them at once.
static int s_answer(uint32_t, const char *, const char *)
{
    return 6;
}

static int s_fuzzImageLoader(HImageLoader &loader, const uint8_t *pData, size_t uSize)
{
    setMessageBoxHook(s_answer);
    if (uSize > 1 << 20) {
        return 0;
    }
    if (loader.decode(pData, (int)uSize, "fuzz")) {
        const HImage *pImage = loader.getImage();
        if (!pImage || !pImage->getData() || pImage->getWidth() <= 0 || pImage->getHeight() <= 0) {
            __builtin_trap();
        }
        // Touch the last byte: the buffer must be as large as the size says.
        const size_t uBytes = (size_t)pImage->getBytesPerRow() * (size_t)pImage->getHeight();
        volatile uint8_t uLast = pImage->getData()[uBytes - 1];
        (void)uLast;
    }
    loader.release();
    return 0;
}

#endif
