// TGA files: any bytes either decode to an image of the size the header
// claims or fail cleanly, never reading past the buffer.
#include "HTGALoader.h"
#include "ImageFuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    HTGALoader loader;
    return s_fuzzImageLoader(loader, pData, uSize);
}
