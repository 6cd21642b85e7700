// JPEG files: libjpeg must never end the process or read past the buffer,
// and a decoded image must be as large as its header says.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include "HImage.h"
#include "HMessageBox.h"
#include "HJPGLoader.h"

// Loaders may raise boxes (libpng warnings and errors): answer them at once.
static int s_answer(uint32_t, const char *, const char *)
{
    return 6;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    setMessageBoxHook(s_answer);
    if (uSize > 1 << 20) {
        return 0;
    }
    HJPGLoader loader;
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
