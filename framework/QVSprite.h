#ifndef QVSPRITE_H
#define QVSPRITE_H

#include "HObject.h"
#include "HRect.h"
#include "H2DGlyphSheet.h"

class H2DDisplayDevice;
class H2DSurface;
class HFileSystem;

// A named image: decoded from a file system, turned into a display surface,
// drawn whole, in part or blended. Loads are counted in the reference count:
// each successful load adds one, each release takes one, and the surface goes
// back to the display device when the count falls to 0. Owners release
// before they destroy: destruction alone gives nothing back.
//
// It is also the glyph sheet of the display device's bitmap fonts.
class QVSprite : public HObject, public H2DGlyphSheet {
public:
                        QVSprite();
                        ~QVSprite() override;

    const HClassInfo *  getClassInfo() const override;

    using HObject::clone;
    // A new sprite with a copy of this one's surface, when other is exactly
    // a QVSprite; null otherwise. The caller owns it.
    virtual QVSprite *  clone(const HObject *other) const;
    bool                isLoaded() const override { return m_pSpriteSurface != nullptr; }
    virtual void        drawAt(const HPoint &point);
    bool                drawBlended(const HRect &dstRect, const HRect &srcRect,
                                    int w1, int w2, int w3, int w4, int w5,
                                    int w6, int w7, int w8, int w9) override;
    virtual void        drawPart(const HRect &dstRect, const HRect &srcRect);
    // True when the sprite holds a surface afterwards; a sprite already
    // loaded only counts the load and reads nothing.
    virtual bool        load(H2DDisplayDevice *display, HFileSystem *fileSystem, const char *name);
    void                release() override;
    int                 getWidth() const override;
    int                 getHeight() const override;
    virtual void        getRect(HRect &outRect) const;

    const char *        getName() const { return m_szName; }
    H2DSurface *        getSurface() const { return m_pSpriteSurface; }

    static HClassInfo   sm_classInfo;

private:
                        QVSprite(const QVSprite &) = delete;
    QVSprite &          operator=(const QVSprite &) = delete;

    H2DDisplayDevice *  m_pDisplay;
    H2DSurface *        m_pSpriteSurface;
    char                m_szName[64];
};

#endif
