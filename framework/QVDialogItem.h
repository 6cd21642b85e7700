#ifndef QVDIALOGITEM_H
#define QVDIALOGITEM_H

#include "HObject.h"
#include "HRect.h"

class H2DDisplayDevice;
class QVDialog;
struct HEvent;

// One part of a modal dialog, linked into the dialog's chain. The chain and
// the items belong to the code that builds the dialog. Items report their
// changes through their dialog, never to the application directly.
//
// Buttons and sliders keep m_rect in screen coordinates; a text line keeps it
// relative to the dialog; a progress bar is placed on the screen and does not
// follow the dialog.
class QVDialogItem : public HObject {
public:
    enum { kiNameSize = 256 };

                        QVDialogItem();
                        ~QVDialogItem() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's, in this order.
    virtual bool        isEnabled() const;
    virtual void        setEnabled(bool enabled);
    virtual bool        canFocus() const;
    virtual HRect       getRect() const;
    virtual void        setPosition(const HPoint &point);
    virtual int32_t     getId() const;
    virtual void        setId(int32_t id);
    virtual void        setName(const char *name);
    virtual const char *getName() const;
    virtual void        draw(H2DDisplayDevice *display, const HRect &clipRect);
    // True when this item takes the event: the dialog offers it no further.
    virtual bool        handleEvent(const HEvent &event);
    virtual void        updateRect();
    virtual void        invalidate(const HRect &rect);
    virtual void        setOwner(QVDialog *dialog);
    virtual void        setNext(QVDialogItem *item);
    virtual QVDialogItem *getNext() const;

    HPoint              getPosition() const { return m_position; }
    QVDialog *          getOwner() const { return m_pOwner; }

    static HClassInfo   sm_classInfo;

protected:
    // Bounds included, as for controls.
    static bool         sm_isInside(const HRect &rect, int32_t x, int32_t y);
    // Blends the image into rect, cut to clipRect; buttons and slider knobs.
    static void         sm_drawClipped(class QVSprite *image, const HRect &rect, const HRect &clipRect);
    // The dialog's top-left corner; 0, 0 without an owner.
    HPoint              m_getDialogOrigin() const;

    HRect               m_rect;
    QVDialog *          m_pOwner;
    QVDialogItem *      m_pNext;
    bool                m_bEnabled;
    char                m_szName[kiNameSize];
    int32_t             m_iId;
    HPoint              m_position;

private:
                        QVDialogItem(const QVDialogItem &) = delete;
    QVDialogItem &      operator=(const QVDialogItem &) = delete;
};

#endif
