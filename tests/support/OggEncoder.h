#ifndef OGGENCODER_H
#define OGGENCODER_H

#include <stdint.h>

#include <vector>

// Ogg Vorbis through libvorbisenc, shared by the tests and the audio
// benchmark (so it needs nothing from the test framework).

// Interleaved samples in -1..1; quality 0.4 VBR; serial names the logical
// stream. Empty on failure.
std::vector<uint8_t> oggEncodeFloat(int channels, int rate, const std::vector<float> &interleaved,
                                    int serial);

#endif
