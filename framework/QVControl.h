#ifndef QVCONTROL_H
#define QVCONTROL_H

#include "HObject.h"
#include "HRect.h"

class H2DDisplayDevice;
class QVApplication;
class QVSprite;
struct HEvent;

// An on-screen control of the main screen: a rectangle with up to three
// images (normal, highlighted, disabled) that lights up while the pointer is
// over it. The base class never takes an event; subclasses override
// handleEvent and call isClicked.
//
// Sprites are never owned: whoever loads them releases them. The destructor
// does not unregister the control; the application deletes the controls
// still registered at shutdown.
class QVControl : public HObject {
public:
                        QVControl();
                        ~QVControl() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's, in this order.
    virtual bool        isVisibleUnderDialog() const;
    virtual void        setVisibleUnderDialog(bool visible);
    virtual void        setEnabled(bool enabled);
    virtual bool        isEnabled() const;
    virtual void        draw(H2DDisplayDevice *display, const HRect &clipRect);
    // Any of the three may be null; the last non-null one in this order
    // gives the control its size.
    virtual void        setSprites(QVSprite *normal, QVSprite *highlight, QVSprite *disabled);
    virtual void        setOwner(QVApplication *owner);
    // True when the event is consumed.
    virtual bool        handleEvent(const HEvent &event);
    virtual void        setPosition(const HPoint &point);
    virtual HRect       getRect() const;
    virtual bool        isHighlighted() const;
    virtual void        setHighlighted(bool highlighted);
    // A left press inside the control (right and bottom edges included).
    virtual bool        isClicked(const HEvent &event) const;

    void                updateRect();
    QVApplication *     getOwner() const { return m_pOwner; }

    // Clips an image placed at rect to clipRect: false when they do not
    // overlap (touching edges do overlap); otherwise dst is the visible part
    // and src the matching part of the image, whose full source is src on
    // entry. Dialogs and their items clip their images the same way.
    static bool         sm_clipImage(const HRect &rect, const HRect &clipRect, HRect &dst, HRect &src);

    static HClassInfo   sm_classInfo;

protected:
    bool                m_isInside(int32_t x, int32_t y) const;

    bool                m_bVisibleUnderDialog;
    bool                m_bHighlighted;
    bool                m_bEnabled;
    QVSprite *          m_pHighlightSprite;
    QVSprite *          m_pDisabledSprite;
    QVSprite *          m_pNormalSprite;
    QVApplication *     m_pOwner;
    HRect               m_rect;

private:
                        QVControl(const QVControl &) = delete;
    QVControl &         operator=(const QVControl &) = delete;
};

#endif
