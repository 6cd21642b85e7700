#ifndef SCREENSHOTTESTSUPPORT_H
#define SCREENSHOTTESTSUPPORT_H

// Where the game's board and lesson stand on its window, and waiting for a
// lesson click to be played out, for the tests that look at the real
// program's window.
#include "screen_picture.h"

// The play area left of the side bar, where the dialogs stand too.
const ScreenArea kPlayArea = { 23, 17, 443, 437 };
// For the waits that leave nothing out.
const ScreenArea kNoHole = { 0, 0, 0, 0 };

// The board's area on screen: 6 x 6 cells of 42 pixels.
const ScreenArea kScreenBoard = { 107, 101, 359, 353 };
const int kScreenCell = 42;

// The lesson's page under the board, which turns with every click taken.
const ScreenArea kLessonPage = { 60, 355, 440, 437 };

// The cells the lesson's hand points at, in order.
const int kLessonClicks = 5;
const int kLessonCells[kLessonClicks][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };

inline int cellCentreX(int column)
{
    return kScreenBoard.left + kScreenCell * column + kScreenCell / 2;
}
inline int cellCentreY(int row)
{
    return kScreenBoard.top + kScreenCell * row + kScreenCell / 2;
}

// True once the loading is over: the button bar along the bottom of the
// window is up, where the loading screen's stripes show a few dozen colours
// and the buttons over a thousand.
inline bool buttonBarShown(const ScreenPicture &picture)
{
    return picture.distinctColours(0, 440, ScreenPicture::kWidth, ScreenPicture::kHeight) > 300;
}

// True when no sweets stand in the board's bottom row: its empty cells show
// a couple of hundred colours, a row of sweets several times more.
inline bool boardIsEmpty(const ScreenPicture &picture)
{
    const ScreenArea &board = kScreenBoard;
    return picture.distinctColours(board.left, board.bottom - kScreenCell, board.right, board.bottom) < 400;
}

// The hand that pulses over the cell of the given click, 96 pixels square
// up and left of it; empty once every click is made.
inline ScreenArea lessonHand(int click)
{
    if (click < 0 || click >= kLessonClicks) {
        return ScreenArea{ 0, 0, 0, 0 };
    }
    const int left = 58 + kScreenCell * kLessonCells[click][0];
    const int top = 45 + kScreenCell * kLessonCells[click][1];
    return ScreenArea{ left, top, left + 96, top + 96 };
}

// After the given lesson click, made on a board that looked like before:
// waits until the click is taken (the page turns) and then until the board,
// but for the hand pulsing over the next cell, has stood still, so the
// slide is over and the next click counts. The last click ends the level
// and the board moves on into the next one: only the page is waited for.
// ok is false when either did not happen in time.
inline ScreenPicture waitForLessonMove(const PictureTaker &take, const ScreenPicture &before, int click)
{
    const ScreenArea &page = kLessonPage;
    const ScreenPicture turned = waitForPicture(take, [&](const ScreenPicture &now) {
        return now.changed(before, page.left, page.top, page.right, page.bottom) > 0.02;
    });
    if (!turned.ok || click + 1 >= kLessonClicks) {
        return turned;
    }
    return waitForStillPicture(take, kScreenBoard, lessonHand(click + 1), 800);
}

#endif
