// JPEG files: libjpeg must never end the process or read past the buffer,
// and a decoded image must be as large as its header says.
#include "HJPGLoader.h"
#include "ImageFuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    HJPGLoader loader;
    return s_fuzzImageLoader(loader, pData, uSize);
}
