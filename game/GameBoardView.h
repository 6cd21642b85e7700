#ifndef GAMEBOARDVIEW_H
#define GAMEBOARDVIEW_H

class QVSprite;
struct TileCell;

// What the board's animation step needs from whoever draws it. The game
// application implements it; the rules themselves never see a sprite, the
// screen or the application.
class GameBoardView {
public:
    virtual             ~GameBoardView() {}

    // Chooses the cell's sprite from its kind and explosion progress and
    // returns it (null for blank and removed cells); the board keeps it in
    // the cell to see what changed on the next tick.
    virtual QVSprite *  selectTileSprite(TileCell *cell) = 0;
    virtual void        getTileSpriteSize(const QVSprite *sprite, int *width, int *height) = 0;
    // The play area in screen pixels {left, top, right, bottom}, right and
    // bottom exclusive.
    virtual void        getPlayAreaRect(int rect[4]) = 0;
    // Reports a screen rectangle for redrawing.
    virtual void        invalidateBoardRect(int left, int top, int right, int bottom) = 0;
};

#endif // GAMEBOARDVIEW_H
