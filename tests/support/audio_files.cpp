#include "audio_files.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <vorbis/vorbisenc.h>

static void s_put32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int i = 0; i < 4; i++) {
        out.push_back((uint8_t)(v >> (8 * i)));
    }
}

static void s_put16(std::vector<uint8_t> &out, uint16_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

static void s_putTag(std::vector<uint8_t> &out, const char *tag)
{
    out.insert(out.end(), tag, tag + 4);
}

std::vector<uint8_t> audioMakeWav(int channels, int rate, int bits, const std::vector<uint8_t> &data,
                                  int64_t data_size_field)
{
    std::vector<uint8_t> out;
    s_putTag(out, "RIFF");
    s_put32(out, (uint32_t)(36 + data.size()));
    s_putTag(out, "WAVE");
    s_putTag(out, "fmt ");
    s_put32(out, 16);
    s_put16(out, 1);
    s_put16(out, (uint16_t)channels);
    s_put32(out, (uint32_t)rate);
    s_put32(out, (uint32_t)(rate * channels * bits / 8));
    s_put16(out, (uint16_t)(channels * bits / 8));
    s_put16(out, (uint16_t)bits);
    s_putTag(out, "data");
    s_put32(out, data_size_field < 0 ? (uint32_t)data.size() : (uint32_t)data_size_field);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<int16_t> audioSine(int channels, int rate, int frames, double hz, int amplitude)
{
    std::vector<int16_t> out((size_t)frames * channels);
    for (int f = 0; f < frames; f++) {
        const int16_t v = (int16_t)lround(amplitude * sin(2.0 * M_PI * hz * f / rate));
        for (int c = 0; c < channels; c++) {
            out[(size_t)f * channels + c] = v;
        }
    }
    return out;
}

static void s_flushPages(ogg_stream_state *os, std::vector<uint8_t> &out, bool force)
{
    ogg_page page;
    while (force ? ogg_stream_flush(os, &page) : ogg_stream_pageout(os, &page)) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }
}

std::vector<uint8_t> audioEncodeOgg(int channels, int rate, const std::vector<int16_t> &interleaved)
{
    std::vector<uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&vi);
        return out;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1234);

    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    s_flushPages(&os, out, true);

    const size_t frames = interleaved.size() / channels;
    size_t done = 0;
    for (;;) {
        const size_t chunk = frames - done < 1024 ? frames - done : 1024;
        if (chunk == 0) {
            // End of input: the last blocks come out below.
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float **buffer = vorbis_analysis_buffer(&vd, (int)chunk);
            for (size_t f = 0; f < chunk; f++) {
                for (int c = 0; c < channels; c++) {
                    buffer[c][f] = interleaved[(done + f) * channels + c] / 32768.0f;
                }
            }
            vorbis_analysis_wrote(&vd, (int)chunk);
            done += chunk;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                s_flushPages(&os, out, false);
            }
        }
        if (chunk == 0) {
            break;
        }
    }
    s_flushPages(&os, out, true);

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

AudioTempDir::AudioTempDir()
{
    char path[] = "/tmp/gobstrel-audio-XXXXXX";
    if (mkdtemp(path)) {
        m_path = path;
    }
}

AudioTempDir::~AudioTempDir()
{
    if (!m_path.empty()) {
        std::string cmd = "rm -rf '" + m_path + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", m_path.c_str());
        }
    }
}

bool AudioTempDir::write(const std::string &name, const std::vector<uint8_t> &bytes) const
{
    FILE *f = fopen(file(name).c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

std::vector<uint8_t> AudioTempDir::read(const std::string &name) const
{
    std::vector<uint8_t> bytes;
    FILE *f = fopen(file(name).c_str(), "rb");
    if (!f) {
        return bytes;
    }
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    fclose(f);
    return bytes;
}
