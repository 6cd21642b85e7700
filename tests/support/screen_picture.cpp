#include "screen_picture.h"

#include <stdio.h>
#include <string.h>

#include <set>

#include <png.h>

#include "xvfb_session.h"

// Between two pictures: short, since a state the tests look for may last
// only a quarter of a second.
static const int kPollMs = 20;

double ScreenPicture::changed(const ScreenPicture &other, int left, int top, int right, int bottom) const
{
    return changedAround(other, ScreenArea{ left, top, right, bottom }, ScreenArea{ 0, 0, 0, 0 });
}

double ScreenPicture::changedAround(const ScreenPicture &other, const ScreenArea &area,
                                    const ScreenArea &hole) const
{
    int n = 0;
    int total = 0;
    for (int y = area.top; y < area.bottom; y++) {
        for (int x = area.left; x < area.right; x++) {
            if (!hole.holds(x, y)) {
                n += memcmp(at(x, y), other.at(x, y), 3) != 0 ? 1 : 0;
                total++;
            }
        }
    }
    return total ? (double)n / (double)total : 0.0;
}

int ScreenPicture::distinctColours(int left, int top, int right, int bottom) const
{
    std::set<uint32_t> colours;
    for (int y = top; y < bottom; y++) {
        for (int x = left; x < right; x++) {
            const uint8_t *p = at(x, y);
            colours.insert((uint32_t)p[0] << 16 | (uint32_t)p[1] << 8 | p[2]);
        }
    }
    return (int)colours.size();
}

int ScreenPicture::yellowPixels(int left, int top, int right, int bottom) const
{
    int n = 0;
    for (int y = top; y < bottom; y++) {
        for (int x = left; x < right; x++) {
            const uint8_t *p = at(x, y);
            n += (p[0] > 180 && p[1] > 160 && p[2] < 120) ? 1 : 0;
        }
    }
    return n;
}

bool writeScreenPNG(const std::string &path, const ScreenPicture &picture)
{
    if (picture.rgb.size() != (size_t)ScreenPicture::kWidth * ScreenPicture::kHeight * 3) {
        return false;
    }
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, ScreenPicture::kWidth, ScreenPicture::kHeight, 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < ScreenPicture::kHeight; y++) {
        png_write_row(png, (png_const_bytep)picture.at(0, y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return fclose(f) == 0;
}

ScreenPicture readScreenPNG(const std::string &path)
{
    ScreenPicture picture;
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    if (image.width != (png_uint_32)ScreenPicture::kWidth || image.height != (png_uint_32)ScreenPicture::kHeight) {
        png_image_free(&image);
        return picture;
    }
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    picture.ok = png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
    return picture;
}

ScreenPicture waitForPicture(const PictureTaker &take, const PictureTest &ready, int timeoutMs)
{
    const int64_t start = nowMs();
    for (;;) {
        ScreenPicture now = take();
        if (now.ok && ready(now)) {
            return now;
        }
        if (nowMs() - start >= timeoutMs) {
            now.ok = false;
            return now;
        }
        sleepMs(kPollMs);
    }
}

ScreenPicture waitForStillPicture(const PictureTaker &take, const ScreenArea &area, const ScreenArea &hole,
                                  int stillMs, int timeoutMs, const PictureTest &accept, double stillShare)
{
    const int64_t start = nowMs();
    ScreenPicture last = take();
    int64_t stillSince = nowMs();
    for (;;) {
        sleepMs(kPollMs);
        ScreenPicture now = take();
        const int64_t taken = nowMs();
        const bool still = now.ok && last.ok && now.changedAround(last, area, hole) <= stillShare &&
                           (!accept || accept(now));
        if (!still) {
            stillSince = taken;
        } else if (taken - stillSince >= stillMs) {
            return now;
        }
        last = std::move(now);
        if (taken - start >= timeoutMs) {
            last.ok = false;
            return last;
        }
    }
}
