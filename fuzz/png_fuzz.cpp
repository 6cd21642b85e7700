// PNG files: libpng errors must come back as a failed load, never a crash
// or a read past the buffer.
#include "HPNGLoader.h"
#include "ImageFuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    HPNGLoader loader;
    return s_fuzzImageLoader(loader, pData, uSize);
}
