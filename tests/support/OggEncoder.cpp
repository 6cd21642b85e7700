#include "OggEncoder.h"

#include <vorbis/vorbisenc.h>

static void s_flushPages(ogg_stream_state *os, std::vector<uint8_t> &out, bool force)
{
    ogg_page page;
    while (force ? ogg_stream_flush(os, &page) : ogg_stream_pageout(os, &page)) {
        out.insert(out.end(), page.header, page.header + page.header_len);
        out.insert(out.end(), page.body, page.body + page.body_len);
    }
}

std::vector<uint8_t> oggEncodeFloat(int channels, int rate, const std::vector<float> &interleaved,
                                    int serial)
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
    ogg_stream_init(&os, serial);

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
                    buffer[c][f] = interleaved[(done + f) * channels + c];
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
