#ifndef SCREEN_PICTURE_H
#define SCREEN_PICTURE_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

// Pictures of the real program's 640x480 window, and waiting for what they
// must show, for the tests that drive the program in a virtual X server.

// Right and bottom exclusive; an empty area holds no pixel.
struct ScreenArea {
    int left;
    int top;
    int right;
    int bottom;

    bool holds(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct ScreenPicture {
    static const int kWidth = 640;
    static const int kHeight = 480;

    std::vector<uint8_t> rgb;   // kWidth x kHeight x 3
    bool ok = false;

    const uint8_t *at(int x, int y) const { return &rgb[((size_t)y * kWidth + x) * 3]; }
    // Share of pixels in the area that differ from the other picture.
    double changed(const ScreenPicture &other, int left, int top, int right, int bottom) const;
    // The same, leaving out the pixels inside hole.
    double changedAround(const ScreenPicture &other, const ScreenArea &area, const ScreenArea &hole) const;
    int distinctColours(int left, int top, int right, int bottom) const;
    // Pixels of the font sheet's yellow (bright red and green, little blue).
    int yellowPixels(int left, int top, int right, int bottom) const;
};

bool writeScreenPNG(const std::string &path, const ScreenPicture &picture);
// ok is false unless the file is a 640x480 PNG.
ScreenPicture readScreenPNG(const std::string &path);

typedef std::function<ScreenPicture()> PictureTaker;
typedef std::function<bool(const ScreenPicture &)> PictureTest;

// Long enough for any one step of the program on a machine loaded many
// times over; a step that takes longer has gone wrong.
const int kScreenPatienceMs = 30000;

// Takes pictures until ready accepts one and returns it. After timeoutMs
// the last picture comes back with ok false.
ScreenPicture waitForPicture(const PictureTaker &take, const PictureTest &ready,
                             int timeoutMs = kScreenPatienceMs);

// Takes pictures until the area, leaving out hole, has stood still for
// stillMs in pictures that accept (when given) takes, and returns the last.
// Standing still allows a share of at most stillShare of the area's pixels
// to change between two pictures (a blinking caret). After timeoutMs the
// last picture comes back with ok false.
ScreenPicture waitForStillPicture(const PictureTaker &take, const ScreenArea &area, const ScreenArea &hole,
                                  int stillMs, int timeoutMs = kScreenPatienceMs,
                                  const PictureTest &accept = nullptr, double stillShare = 0.0);

#endif
