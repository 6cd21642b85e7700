// Reads the generated resource archive with minizip and decodes its
// pictures and sounds with the reference libraries, for the asset tests.
#ifndef ASSETARCHIVEREADER_H
#define ASSETARCHIVEREADER_H

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <setjmp.h>
#include <unzip.h>
#include <vorbis/vorbisfile.h>

// With the generator in the build, the archive and the generator are build
// products: their absence is a broken build and fails. Only a build made
// without assets (GOBSTREL_ASSETS=OFF) skips the tests that need them.
#ifdef GOBSTREL_HAVE_ASSETGEN
#define SKIP_OR_FAIL_WITHOUT(what) FAIL() << what << " is missing although this build generates it"
#else
#define SKIP_OR_FAIL_WITHOUT(what) GTEST_SKIP() << what << " is not built (GOBSTREL_ASSETS=OFF)"
#endif

struct ArchiveEntry {
    std::vector<uint8_t> bytes;
    int method = -1;
};

// Every entry of a ZIP by name; false when the archive cannot be read.
inline bool readArchive(const std::string &path, std::map<std::string, ArchiveEntry> &out, std::string &error) {
    unzFile zf = unzOpen(path.c_str());
    if (!zf) {
        error = "cannot open " + path;
        return false;
    }
    bool ok = true;
    for (int r = unzGoToFirstFile(zf); r == UNZ_OK; r = unzGoToNextFile(zf)) {
        char name[256];
        unz_file_info info;
        if (unzGetCurrentFileInfo(zf, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK ||
            unzOpenCurrentFile(zf) != UNZ_OK) {
            error = "bad entry";
            ok = false;
            break;
        }
        ArchiveEntry e;
        e.method = int(info.compression_method);
        e.bytes.resize(info.uncompressed_size);
        int n = e.bytes.empty() ? 0 : unzReadCurrentFile(zf, e.bytes.data(), unsigned(e.bytes.size()));
        if (n != int(e.bytes.size()) || unzCloseCurrentFile(zf) != UNZ_OK) {
            error = std::string("cannot read ") + name + " (bad CRC or data)";
            ok = false;
            break;
        }
        if (out.count(name)) {
            error = std::string("duplicate entry ") + name;
            ok = false;
            break;
        }
        out[name] = std::move(e);
    }
    unzClose(zf);
    return ok;
}

struct Picture {
    int width = 0, height = 0, components = 0;
    bool progressive = false;
    std::vector<uint8_t> rgba;      // top row first

    const uint8_t *at(int x, int y) const { return &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

// Strict reader for what the game's TGA loader expects: type 2, 32-bit,
// no ID, no colour map, rows bottom first.
inline bool decodeTga(const std::vector<uint8_t> &b, Picture &p, std::string &error) {
    if (b.size() < 18) {
        error = "short header";
        return false;
    }
    if (b[0] != 0 || b[1] != 0 || b[2] != 2 || b[16] != 32) {
        error = "not an uncompressed 32-bit type 2 TGA without ID or colour map";
        return false;
    }
    p.width = b[12] | (b[13] << 8);
    p.height = b[14] | (b[15] << 8);
    p.components = 4;
    size_t need = 18 + size_t(p.width) * size_t(p.height) * 4;
    if (p.width == 0 || p.height == 0 || b.size() != need) {
        error = "pixel data size does not match the header";
        return false;
    }
    p.rgba.resize(size_t(p.width) * size_t(p.height) * 4);
    for (int y = 0; y < p.height; y++) {
        const uint8_t *src = &b[18 + size_t(p.height - 1 - y) * size_t(p.width) * 4];
        uint8_t *dst = &p.rgba[size_t(y) * size_t(p.width) * 4];
        for (int x = 0; x < p.width; x++) {
            dst[x * 4 + 0] = src[x * 4 + 2];
            dst[x * 4 + 1] = src[x * 4 + 1];
            dst[x * 4 + 2] = src[x * 4 + 0];
            dst[x * 4 + 3] = src[x * 4 + 3];
        }
    }
    return true;
}

struct JpegErrorJump {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

inline void jpegErrorExit(j_common_ptr cinfo) {
    JpegErrorJump *err = reinterpret_cast<JpegErrorJump *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    longjmp(err->jump, 1);
}

inline bool decodeJpeg(const std::vector<uint8_t> &b, Picture &p, std::string &error) {
    jpeg_decompress_struct cinfo;
    JpegErrorJump jerr;
    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    if (setjmp(jerr.jump)) {
        error = jerr.message;
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char *>(b.data()), (unsigned long)b.size());
    jpeg_read_header(&cinfo, TRUE);
    p.components = cinfo.num_components;
    p.progressive = cinfo.progressive_mode != 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    p.width = int(cinfo.output_width);
    p.height = int(cinfo.output_height);
    p.rgba.assign(size_t(p.width) * size_t(p.height) * 4, 255);
    std::vector<uint8_t> row(size_t(p.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = int(cinfo.output_scanline);
        JSAMPROW rp = row.data();
        jpeg_read_scanlines(&cinfo, &rp, 1);
        for (int x = 0; x < p.width; x++) {
            memcpy(&p.rgba[(size_t(y) * size_t(p.width) + size_t(x)) * 4], &row[size_t(x) * 3], 3);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

struct MemoryStream {
    const std::vector<uint8_t> *bytes;
    size_t pos;
};

inline size_t memRead(void *ptr, size_t size, size_t n, void *src) {
    MemoryStream *m = static_cast<MemoryStream *>(src);
    size_t want = size * n, left = m->bytes->size() - m->pos;
    if (want > left) want = left;
    memcpy(ptr, m->bytes->data() + m->pos, want);
    m->pos += want;
    return size ? want / size : 0;
}

inline int memSeek(void *src, ogg_int64_t off, int whence) {
    MemoryStream *m = static_cast<MemoryStream *>(src);
    ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(m->pos) : ogg_int64_t(m->bytes->size());
    ogg_int64_t to = base + off;
    if (to < 0 || to > ogg_int64_t(m->bytes->size())) return -1;
    m->pos = size_t(to);
    return 0;
}

inline long memTell(void *src) {
    return long(static_cast<MemoryStream *>(src)->pos);
}

struct Sound {
    int rate = 0, channels = 0;
    std::vector<float> samples;     // interleaved

    long frames() const { return channels ? long(samples.size() / size_t(channels)) : 0; }
};

inline bool decodeOgg(const std::vector<uint8_t> &b, Sound &s, std::string &error) {
    MemoryStream m{&b, 0};
    ov_callbacks cb{memRead, memSeek, nullptr, memTell};
    OggVorbis_File vf;
    if (ov_open_callbacks(&m, &vf, nullptr, 0, cb) != 0) {
        error = "not an Ogg Vorbis stream";
        return false;
    }
    vorbis_info *vi = ov_info(&vf, -1);
    s.rate = int(vi->rate);
    s.channels = vi->channels;
    int section = 0;
    for (;;) {
        float **pcm;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            error = "decoding error";
            ov_clear(&vf);
            return false;
        }
        if (n == 0) break;
        for (long i = 0; i < n; i++)
            for (int c = 0; c < s.channels; c++) s.samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return true;
}

inline uint32_t le32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 3]) << 24);
}

inline uint16_t le16(const std::vector<uint8_t> &b, size_t at) {
    return uint16_t(b[at] | (b[at + 1] << 8));
}

#endif
