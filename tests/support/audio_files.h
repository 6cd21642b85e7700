#ifndef AUDIO_FILES_H
#define AUDIO_FILES_H

#include <stdint.h>

#include <string>
#include <vector>

// Sound files made by the tests themselves: RIFF WAVE with the 44-byte
// header, and Ogg Vorbis encoded with libvorbisenc.

// data_size_field < 0 writes the real size of data.
std::vector<uint8_t> audioMakeWav(int channels, int rate, int bits, const std::vector<uint8_t> &data,
                                  int64_t data_size_field = -1);

// Interleaved signed 16-bit samples; quality 0.4 VBR. Empty on failure.
std::vector<uint8_t> audioEncodeOgg(int channels, int rate, const std::vector<int16_t> &interleaved);

// frames of a sine at hz (amplitude 0..32767), the same on every channel.
std::vector<int16_t> audioSine(int channels, int rate, int frames, double hz, int amplitude);

// A fresh folder under /tmp, removed with everything in it on destruction.
class AudioTempDir {
public:
    AudioTempDir();
    ~AudioTempDir();

    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    bool write(const std::string &name, const std::vector<uint8_t> &bytes) const;
    std::vector<uint8_t> read(const std::string &name) const;

private:
    std::string m_path;
};

#endif
