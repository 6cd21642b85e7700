#include "AssetCanvas.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

AssetCanvas::AssetCanvas(int width, int height)
    : m_iWidth(width), m_iHeight(height) {
    m_pSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    m_pCairo = cairo_create(m_pSurface);
    cairo_set_antialias(m_pCairo, CAIRO_ANTIALIAS_GOOD);
}

AssetCanvas::~AssetCanvas() {
    cairo_destroy(m_pCairo);
    cairo_surface_destroy(m_pSurface);
}

void AssetCanvas::pixel(int x, int y, uint8_t rgba[4]) const {
    cairo_surface_flush(m_pSurface);
    const uint8_t *data = cairo_image_surface_get_data(m_pSurface);
    int stride = cairo_image_surface_get_stride(m_pSurface);
    uint32_t p = *reinterpret_cast<const uint32_t *>(data + y * stride + x * 4);
    uint32_t a = p >> 24;
    uint32_t r = (p >> 16) & 0xff, g = (p >> 8) & 0xff, b = p & 0xff;
    if (a != 0 && a != 255) {
        r = (r * 255 + a / 2) / a;
        g = (g * 255 + a / 2) / a;
        b = (b * 255 + a / 2) / a;
        if (r > 255) r = 255;
        if (g > 255) g = 255;
        if (b > 255) b = 255;
    }
    rgba[0] = uint8_t(r);
    rgba[1] = uint8_t(g);
    rgba[2] = uint8_t(b);
    rgba[3] = uint8_t(a);
}

void AssetCanvas::avoidKeyColour() {
    // Transparent pixels are written as black, so only visible ones matter.
    cairo_surface_flush(m_pSurface);
    uint8_t *data = cairo_image_surface_get_data(m_pSurface);
    int stride = cairo_image_surface_get_stride(m_pSurface);
    for (int y = 0; y < m_iHeight; y++) {
        for (int x = 0; x < m_iWidth; x++) {
            uint8_t rgba[4];
            pixel(x, y, rgba);
            if (rgba[0] == 255 && rgba[1] == 0 && rgba[2] == 255 && rgba[3] != 0) {
                uint32_t *p = reinterpret_cast<uint32_t *>(data + y * stride + x * 4);
                uint32_t a = rgba[3];
                uint32_t r = 250 * a / 255, b = 250 * a / 255;
                *p = (a << 24) | (r << 16) | b;
            }
        }
    }
    cairo_surface_mark_dirty(m_pSurface);
}

bool AssetCanvas::encodeTga(std::vector<uint8_t> &out) const {
    out.assign(18, 0);
    out[2] = 2;
    out[12] = uint8_t(m_iWidth & 0xff);
    out[13] = uint8_t(m_iWidth >> 8);
    out[14] = uint8_t(m_iHeight & 0xff);
    out[15] = uint8_t(m_iHeight >> 8);
    out[16] = 32;
    out[17] = 8;    // 8 alpha bits, origin bottom-left
    out.reserve(18 + size_t(m_iWidth) * m_iHeight * 4);
    for (int y = m_iHeight - 1; y >= 0; y--) {
        for (int x = 0; x < m_iWidth; x++) {
            uint8_t rgba[4];
            pixel(x, y, rgba);
            if (rgba[3] == 0) {
                rgba[0] = rgba[1] = rgba[2] = 0;
            }
            out.push_back(rgba[2]);
            out.push_back(rgba[1]);
            out.push_back(rgba[0]);
            out.push_back(rgba[3]);
        }
    }
    return true;
}

bool AssetCanvas::encodeJpeg(std::vector<uint8_t> &out, int quality) const {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char *mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&cinfo, &mem, &memSize);
    cinfo.image_width = JDIMENSION(m_iWidth);
    cinfo.image_height = JDIMENSION(m_iHeight);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour keeps the lettering crisp.
    for (int i = 0; i < cinfo.num_components; i++) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    cinfo.write_JFIF_header = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(m_iWidth) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = int(cinfo.next_scanline);
        for (int x = 0; x < m_iWidth; x++) {
            uint8_t rgba[4];
            pixel(x, y, rgba);
            // Over black, as the premultiplied surface already is.
            row[x * 3 + 0] = uint8_t(rgba[0] * rgba[3] / 255);
            row[x * 3 + 1] = uint8_t(rgba[1] * rgba[3] / 255);
            row[x * 3 + 2] = uint8_t(rgba[2] * rgba[3] / 255);
        }
        JSAMPROW rp = row.data();
        jpeg_write_scanlines(&cinfo, &rp, 1);
    }
    jpeg_finish_compress(&cinfo);
    out.assign(mem, mem + memSize);
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return true;
}

bool AssetCanvas::savePng(const std::string &path) const {
    cairo_surface_flush(m_pSurface);
    return cairo_surface_write_to_png(m_pSurface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
