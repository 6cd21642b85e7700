#ifndef QVDIALOG_H
#define QVDIALOG_H

#include <cstdint>

#include "HObject.h"
#include "HRect.h"

class H2DDisplayDevice;
class HDirtyRectList;
class HEventQueue;
class HObjectStack;
class QVApplication;
class QVDialogItem;
class QVSprite;
struct HEvent;

// Results of doModal besides the activated item's pointer.
enum {
    QVDIALOG_TIMEOUT = -1,
    QVDIALOG_QUIT = -2
};

// A modal screen: a background image with a chain of dialog items. doModal
// runs its own event loop on the application's queue, nested inside the call
// that opened it, and draws every frame itself; dialogs opened from inside a
// dialog stack up and are drawn bottom first.
//
// The dialog owns neither its items nor its sprites: whoever builds it keeps
// both and gives them back after doModal returns.
class QVDialog : public HObject {
public:
                        QVDialog();
                        ~QVDialog() override;

    const HClassInfo *  getClassInfo() const override;

    // Virtual slots after HObject's, in this order.
    virtual void        setBackground(QVSprite *sprite);
    // The activated item's pointer, QVDIALOG_TIMEOUT or QVDIALOG_QUIT.
    virtual intptr_t    doModal(QVApplication *application, H2DDisplayDevice *display,
                                HEventQueue *eventQueue, int32_t timeoutMs, void *userData);
    // True closes the dialog.
    virtual bool        onItemActivated(QVDialogItem *item);
    // True closes the dialog with QVDIALOG_TIMEOUT.
    virtual bool        onTimeout();
    virtual void        addItem(QVDialogItem *item);
    virtual void        clearItems();
    virtual void        setDefaultItem(QVDialogItem *item);
    virtual void        invalidate(const HRect &rect);
    // False asks the loop to stop with QVDIALOG_QUIT.
    virtual bool        handleEvent(const HEvent &event);
    virtual void        draw(H2DDisplayDevice *display);

    void                setPosition(const HPoint &point);
    void                updateRect();
    HRect               getRect() const { return m_rect; }
    QVDialogItem *      getFocusedItem() const { return m_pFocusedItem; }
    QVDialogItem *      getDefaultItem() const { return m_pDefaultItem; }
    QVDialogItem *      getFirstItem() const { return m_pFirstItem; }
    QVApplication *     getApplication() const { return m_pApplication; }
    void *              getUserData() const { return m_pUserData; }
    // Milliseconds the running dialog has been open on the application
    // clock, as of its last frame.
    uint64_t            getOpenTime() const { return m_uOpenMs; }
    // The item that takes the event, or null.
    QVDialogItem *      findItem(const HEvent &event);
    // Null focuses the first item.
    void                setFocus(QVDialogItem *item);

    static void         drawOpenDialogs(H2DDisplayDevice *display);
    // Into the dialogs' own list and the application's.
    static void         invalidateRect(const HRect &rect);
    static int32_t      getOpenDialogCount();
    static const HDirtyRectList &getDirtyRects();

    static HClassInfo   sm_classInfo;

protected:
    // The standard dialogs' pictures, from the application's resources; a
    // null name loads nothing.
    static bool         sm_loadPicture(QVSprite &sprite, QVApplication *application, const char *name);

    QVApplication *     m_pApplication;
    void *              m_pUserData;
    HPoint              m_position;
    HRect               m_rect;
    HPoint              m_cursorPos;
    QVDialogItem *      m_pFirstItem;
    QVDialogItem *      m_pFocusedItem;
    QVDialogItem *      m_pDefaultItem;
    QVSprite *          m_pBackground;
    uint64_t            m_uOpenMs;

private:
                        QVDialog(const QVDialog &) = delete;
    QVDialog &          operator=(const QVDialog &) = delete;

    void                m_drawInto(H2DDisplayDevice *display, const HRect &clipRect);

    static HObjectStack sm_openDialogs;
    static HDirtyRectList sm_dirtyRects;
};

#endif
