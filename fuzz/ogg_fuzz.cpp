// Arbitrary bytes as Ogg Vorbis: the sound loader must decode or refuse, and
// the looping music stream must fill its buffers or stop short, without
// reading outside the block or spinning.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "HAudioSample.h"
#include "HOGGLoader.h"
#include "HOVAudioStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2 || size > (1 << 18)) {
        return 0;
    }
    // The first two bytes pick the loop point; the rest is the file, copied to
    // an exact-size block.
    const int32_t loopPoint = (int32_t)(data[0] | (data[1] << 8)) - 1000;
    const size_t fileSize = size - 2;
    uint8_t *file = (uint8_t *)malloc(fileSize ? fileSize : 1);
    if (fileSize) {
        memcpy(file, data + 2, fileSize);
    }

    HAudioSample sample;
    sample.clear();
    if (HOGGLoader::sm_decode(file, (int32_t)fileSize, "fuzz.ogg", &sample, 16, 22050)) {
        if (!sample.m_pBuffer || sample.m_iLength <= 0 || sample.m_iChannels < 1) {
            abort();
        }
        delete[] sample.m_pBuffer;
    }

    HOVAudioStream stream;
    if (stream.init()) {
        if (stream.setStream(file, (int32_t)fileSize, 16, 22050, loopPoint)) {
            static uint8_t out[4096];
            for (int i = 0; i < 16; i++) {
                const int32_t n = stream.read(out, sizeof(out));
                if (n < 0 || n > (int32_t)sizeof(out)) {
                    abort();
                }
                if (i == 8) {
                    stream.rewind();
                }
            }
            stream.getLength();
        }
        stream.shutdown();
    }
    free(file);
    return 0;
}
