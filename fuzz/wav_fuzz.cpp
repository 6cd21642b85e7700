// Arbitrary bytes as a WAV file: the loader must refuse or decode without
// reading past the input, and the mixer must play whatever it decoded
// without reading past the sound.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "HAudioMixerStreamingAudioSource.h"
#include "HAudioSample.h"
#include "HWAVLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 || size > (1 << 20)) {
        return 0;
    }
    // The first byte picks the format asked for; the rest is the file.
    const int bits = (data[0] & 1) ? 8 : 16;
    const int channels = (data[0] & 2) ? 1 : 2;
    // An exact-size copy, so any over-read lands outside the allocation.
    const size_t fileSize = size - 1;
    uint8_t *file = (uint8_t *)malloc(fileSize ? fileSize : 1);
    if (fileSize) {
        memcpy(file, data + 1, fileSize);
    }

    HAudioSample sample;
    sample.clear();
    if (HWAVLoader::sm_decode(file, (int32_t)fileSize, "fuzz.wav", &sample, bits, 22050)) {
        if (sample.m_iLength < 0 || (sample.m_iLength > 0 && !sample.m_pBuffer)) {
            abort();
        }
        HAudioMixerStreamingAudioSource mixer;
        mixer.setFormat(channels, bits, 22050);
        mixer.playSample(nullptr, &sample, 200, 0, 1);
        mixer.playSample(nullptr, &sample, 255, 0, 0);
        uint8_t out[1024];
        for (int i = 0; i < 8; i++) {
            mixer.readNextChunk(out, sizeof(out));
        }
        mixer.resetVoices();
        delete[] sample.m_pBuffer;
    }
    free(file);
    return 0;
}
