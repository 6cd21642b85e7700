#ifndef GAMEDRAWCLIP_H
#define GAMEDRAWCLIP_H

#include "HRect.h"
#include "QVSprite.h"

// The clipping rules every part of the game's drawing shares.

inline int32_t gameClampEdge(int32_t v, int32_t low, int32_t high)
{
    return v < low ? low : (v > high ? high : v);
}

// The part of a sprite standing with its top-left corner at (x, y) that lies
// inside clip, as target and source rectangles; false when nothing is left.
inline bool gameClipSprite(const QVSprite &sprite, int x, int y, const HRect &clip,
                           HRect *target, HRect *source)
{
    if (!sprite.isLoaded()) {
        return false;
    }
    target->left = gameClampEdge(x, clip.left, clip.right);
    target->top = gameClampEdge(y, clip.top, clip.bottom);
    target->right = gameClampEdge(x + sprite.getWidth(), clip.left, clip.right);
    target->bottom = gameClampEdge(y + sprite.getHeight(), clip.top, clip.bottom);
    if (target->right <= target->left || target->bottom <= target->top) {
        return false;
    }
    source->left = target->left - x;
    source->top = target->top - y;
    source->right = target->right - x;
    source->bottom = target->bottom - y;
    return true;
}

// Draws the part inside clip over the screen with the image's own alpha.
inline void gameDrawSpriteBlended(QVSprite &sprite, int x, int y, const HRect &clip)
{
    HRect target, source;
    if (gameClipSprite(sprite, x, y, clip, &target, &source)) {
        sprite.drawBlended(target, source, 2, 1, 0, 255, 3, 1, 0, 255, 0);
    }
}

// Copies the part inside clip: for opaque pictures.
inline void gameDrawSpriteCopied(QVSprite &sprite, int x, int y, const HRect &clip)
{
    HRect target, source;
    if (gameClipSprite(sprite, x, y, clip, &target, &source)) {
        sprite.drawPart(target, source);
    }
}

#endif // GAMEDRAWCLIP_H
