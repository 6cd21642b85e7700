#include "QVDialog.h"

#include <cstring>

#include "HDirtyRectList.h"
#include "HEvent.h"
#include "HEventQueue.h"
#include "HObjectStack.h"
#include "HPlatform.h"
#include "QVApplication.h"
#include "QVControl.h"
#include "QVDialogItem.h"
#include "QVSprite.h"

HClassInfo QVDialog::sm_classInfo("QVDialog", "HObject");

HObjectStack QVDialog::sm_openDialogs;
HDirtyRectList QVDialog::sm_dirtyRects;

const HClassInfo *QVDialog::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialog::QVDialog()
    : m_pApplication(nullptr), m_pUserData(nullptr), m_pFirstItem(nullptr), m_pFocusedItem(nullptr),
      m_pDefaultItem(nullptr), m_pBackground(nullptr), m_uOpenMs(0)
{
    m_position.x = 0;
    m_position.y = 0;
    m_rect.left = 0;
    m_rect.top = 0;
    m_rect.right = 0;
    m_rect.bottom = 0;
    m_cursorPos.x = 0;
    m_cursorPos.y = 0;
    sm_dirtyRects.clear();
}

QVDialog::~QVDialog()
{
}

int32_t QVDialog::getOpenDialogCount()
{
    return sm_openDialogs.getCount();
}

const HDirtyRectList &QVDialog::getDirtyRects()
{
    return sm_dirtyRects;
}

void QVDialog::setBackground(QVSprite *sprite)
{
    m_pBackground = sprite;
    updateRect();
}

void QVDialog::setPosition(const HPoint &point)
{
    m_position = point;
    updateRect();
}

void QVDialog::updateRect()
{
    m_rect.left = m_position.x;
    m_rect.top = m_position.y;
    if (m_pBackground) {
        m_rect.right = m_position.x + m_pBackground->getWidth();
        m_rect.bottom = m_position.y + m_pBackground->getHeight();
    } else {
        m_rect.right = 0;
        m_rect.bottom = 0;
    }
}

bool QVDialog::onItemActivated(QVDialogItem *item)
{
    (void)item;
    return false;
}

bool QVDialog::onTimeout()
{
    return false;
}

void QVDialog::addItem(QVDialogItem *item)
{
    if (!item) {
        return;
    }
    // An item already in the chain would link to itself and the walks over
    // the chain would never end.
    QVDialogItem *last = nullptr;
    for (QVDialogItem *walk = m_pFirstItem; walk; walk = walk->getNext()) {
        if (walk == item) {
            return;
        }
        last = walk;
    }
    item->setNext(nullptr);
    item->setOwner(this);
    if (!m_pDefaultItem) {
        m_pDefaultItem = item;
    }
    setFocus(item);
    if (last) {
        last->setNext(item);
    } else {
        m_pFirstItem = item;
    }
}

void QVDialog::clearItems()
{
    m_pFirstItem = nullptr;
    setDefaultItem(nullptr);
    setFocus(nullptr);
}

void QVDialog::setDefaultItem(QVDialogItem *item)
{
    m_pDefaultItem = item;
}

void QVDialog::setFocus(QVDialogItem *item)
{
    if (m_pFocusedItem && m_pFocusedItem != item) {
        const HRect r = m_pFocusedItem->getRect();
        const HRect shifted = { r.left + m_rect.left, r.top + m_rect.top,
                                r.right + m_rect.left, r.bottom + m_rect.top };
        invalidate(shifted);
    }
    m_pFocusedItem = item ? item : m_pFirstItem;
}

void QVDialog::invalidate(const HRect &rect)
{
    invalidateRect(rect);
}

void QVDialog::invalidateRect(const HRect &rect)
{
    sm_dirtyRects.addRectRecord(rect);
    QVApplication *application = QVApplication::currentApplication();
    if (application) {
        application->invalidateRect(rect);
    }
}

// Number of items in the chain; walks over it are bounded by it, so a focus
// set to an item of another chain cannot make them run for ever.
static int s_countItems(const QVDialogItem *first)
{
    int count = 0;
    for (const QVDialogItem *walk = first; walk; walk = walk->getNext()) {
        count++;
    }
    return count;
}

QVDialogItem *QVDialog::findItem(const HEvent &event)
{
    if (event.m_iType == ET_KEYDOWN && event.m_cChar == 13 && m_pDefaultItem &&
        m_pDefaultItem->handleEvent(event)) {
        return m_pDefaultItem;
    }
    if (!m_pFocusedItem) {
        return nullptr;
    }
    const int limit = s_countItems(m_pFirstItem) + 1;
    QVDialogItem *item = m_pFocusedItem;
    for (int step = 0; step < limit && item; step++) {
        if (item->handleEvent(event)) {
            return item;
        }
        item = item->getNext() ? item->getNext() : m_pFirstItem;
        if (item == m_pFocusedItem) {
            break;
        }
    }
    return nullptr;
}

bool QVDialog::handleEvent(const HEvent &event)
{
    switch (event.m_iType) {
    case ET_QUIT:
        return false;
    case ET_PAINT:
        if (m_pApplication) {
            m_pApplication->invalidateAll();
        }
        invalidate(m_rect);
        return true;
    case ET_KEYDOWN:
        if (event.m_cChar == 9 && m_pFocusedItem) {
            const int limit = s_countItems(m_pFirstItem) + 1;
            QVDialogItem *start = m_pFocusedItem;
            QVDialogItem *item = start;
            for (int step = 0; step < limit; step++) {
                item = item->getNext() ? item->getNext() : m_pFirstItem;
                if (!item || item == start) {
                    break;
                }
                if (item->canFocus()) {
                    m_pFocusedItem = item;
                    break;
                }
            }
        }
        return true;
    case ET_MOUSEMOVE:
        if (m_pApplication && m_pApplication->useSpriteCursor()) {
            QVSprite *cursor = m_pApplication->getCursorSprite();
            if (cursor) {
                const int32_t w = cursor->getWidth();
                const int32_t h = cursor->getHeight();
                const HRect before = { m_cursorPos.x, m_cursorPos.y, m_cursorPos.x + w, m_cursorPos.y + h };
                const HRect after = { event.m_iX, event.m_iY, event.m_iX + w, event.m_iY + h };
                invalidate(before);
                invalidate(after);
                m_cursorPos.x = event.m_iX;
                m_cursorPos.y = event.m_iY;
            }
        }
        return true;
    default:
        return true;
    }
}

void QVDialog::m_drawInto(H2DDisplayDevice *display, const HRect &clipRect)
{
    if (m_pBackground) {
        HRect src;
        m_pBackground->getRect(src);
        HRect dst;
        if (QVControl::sm_clipImage(m_rect, clipRect, dst, src) && dst.right > dst.left && dst.bottom > dst.top) {
            m_pBackground->drawPart(dst, src);
        }
    }
    const int limit = s_countItems(m_pFirstItem);
    int step = 0;
    for (QVDialogItem *item = m_pFirstItem; item && step < limit; item = item->getNext(), step++) {
        item->draw(display, clipRect);
    }
}

void QVDialog::draw(H2DDisplayDevice *display)
{
    // Copies: an item's draw may report more areas dirty.
    for (int i = 0; i < sm_dirtyRects.getCount(); i++) {
        const HRect r = *sm_dirtyRects.getRect(i);
        m_drawInto(display, r);
    }
    QVApplication *application = m_pApplication ? m_pApplication : QVApplication::currentApplication();
    if (application) {
        HDirtyRectList *list = application->getDirtyRects();
        for (int i = 0; i < list->getCount(); i++) {
            const HRect r = *list->getRect(i);
            m_drawInto(display, r);
        }
    }
}

void QVDialog::drawOpenDialogs(H2DDisplayDevice *display)
{
    for (int32_t i = sm_openDialogs.getCount() - 1; i >= 0; i--) {
        QVDialog *dialog = static_cast<QVDialog *>(sm_openDialogs.peek(i));
        if (dialog) {
            dialog->draw(display);
        }
    }
}

bool QVDialog::sm_loadPicture(QVSprite &sprite, QVApplication *application, const char *name)
{
    if (!name) {
        return false;
    }
    return sprite.load(application->getDisplayDevice(), application->getResourceFileSystem(), name);
}

intptr_t QVDialog::doModal(QVApplication *application, H2DDisplayDevice *display,
                           HEventQueue *eventQueue, int32_t timeoutMs, void *userData)
{
    // Without a queue nothing could ever end the loop.
    if (!eventQueue) {
        return QVDIALOG_QUIT;
    }
    sm_openDialogs.push(this);
    m_pApplication = application;
    m_pUserData = userData;
    uint64_t now = application ? application->getCurrentTime() : 0;
    uint64_t lastClock = now;
    m_uOpenMs = 0;

    if (application) {
        application->invalidateAll();
    }
    invalidateRect(m_rect);
    m_cursorPos.x = eventQueue->getLastPointerX();
    m_cursorPos.y = eventQueue->getLastPointerY();

    bool done = false;
    intptr_t result = 0;
    for (;;) {
        HEvent event;
        while (!done && eventQueue->getEvent(event, true)) {
            now = event.getTime();
            if (application) {
                application->setCurrentTime(now);
                if (event.m_iType == ET_TIMESTAMP) {
                    application->paceIdleTick(now);
                }
            }
            if (!handleEvent(event)) {
                done = true;
                result = QVDIALOG_QUIT;
                break;
            }
            QVDialogItem *item = findItem(event);
            result = (intptr_t)item;
            if (item && event.m_iType == ET_KEYDOWN && (event.m_iKey == KC_LBUTTON || event.m_cChar == 13)) {
                done = onItemActivated(item);
            }
        }

        if (application) {
            application->drawFrame(true);
        }
        drawOpenDialogs(display);
        if (application) {
            application->drawCursorInDirtyRects();
            application->presentFrame();
        }
        sm_dirtyRects.clear();

        if (done) {
            break;
        }
        // A demo that has run out brings no event and no clock tick ever
        // again: end the dialog as if the window had been closed.
        if (eventQueue->isReplayFinished()) {
            result = QVDIALOG_QUIT;
            break;
        }
        // The open time grows by each frame's step of the clock, so a wait
        // across the tick count's wrap ends on time and a clock that went
        // back only adds nothing.
        const uint64_t clock = application ? application->getCurrentTime() : now;
        m_uOpenMs += elapsedMilliseconds(clock, lastClock);
        lastClock = clock;
        if (timeoutMs > 0 && m_uOpenMs > (uint64_t)timeoutMs && onTimeout()) {
            result = QVDIALOG_TIMEOUT;
            break;
        }
    }

    invalidateRect(m_rect);
    if (application) {
        application->invalidateAll();
    }
    sm_openDialogs.pop();

    // Whatever lies below heard no pointer motion while the dialog ran: let
    // it see where the pointer is now, so a button lit when the dialog
    // opened does not stay lit after it closed. That is the dialog below,
    // or the controls once the last dialog has closed.
    if (application) {
        HEvent motion;
        memset(&motion, 0, sizeof(motion));
        motion.m_iType = ET_MOUSEMOVE;
        motion.setTime(application->getCurrentTime());
        motion.m_iX = eventQueue->getLastPointerX();
        motion.m_iY = eventQueue->getLastPointerY();
        QVDialog *below = sm_openDialogs.getCount() > 0 ? static_cast<QVDialog *>(sm_openDialogs.peek(0)) : nullptr;
        if (below) {
            // As its own loop would take it: the items see it through the
            // walk, which no item ends on a motion.
            if (below->handleEvent(motion)) {
                below->findItem(motion);
            }
        } else {
            application->dispatchToControls(motion);
        }
    }
    return result;
}
