#include "QVApplication.h"

#include <cstdint>
#include <cstring>

#include "H2DDisplayDevice.h"
#include "HInputDevice.h"
#include "HObjectList.h"
#include "HPlatform.h"
#include "HString.h"
#include "QVControl.h"

bool QVApplication::isContinuous()
{
    return false;
}

bool QVApplication::useSpriteCursor()
{
    return m_cvarManager.getVariableInt("qv_spriteCursor") != 0;
}

QVSprite *QVApplication::getCursorSprite()
{
    return nullptr;
}

bool QVApplication::canDraw()
{
    return !m_bMinimized && m_pDisplayDevice != nullptr;
}

void QVApplication::afterDraw()
{
}

void QVApplication::setActive(bool active)
{
    m_bActive = active;
}

// Pointer positions come from journals too, so a far-off one must not
// overflow when the cursor's size is added.
static int32_t s_addClamped(int32_t value, int32_t size)
{
    const int64_t sum = (int64_t)value + size;
    if (sum > INT32_MAX) {
        return INT32_MAX;
    }
    return sum < INT32_MIN ? INT32_MIN : (int32_t)sum;
}

// Takes one event through the framework and the game; true ends the loop.
static bool s_takeEvent(QVApplication *app, HMersenneTwister *random, bool *seeded,
                        const HEvent &event)
{
    const uint64_t stamp = event.getTime();
    app->setCurrentTime(stamp);
    // Seeded once from the first real stamp, so a replayed journal deals the
    // same boards.
    if (!*seeded && stamp != 0) {
        random->setSeed((uint32_t)stamp);
        *seeded = true;
    }
    if (app->preDispatchEvent(event)) {
        return false;
    }
    return app->handleEvent(event);
}

bool QVApplication::mainLoop()
{
    bool done = false;
    invalidateAll();

    for (;;) {
        const bool wait = m_paused || !isContinuous();
        HEvent event;
        while (m_eventQueue.getEvent(event, wait)) {
            done = s_takeEvent(this, &m_random, &m_bRandomSeeded, event);
            if (done) {
                return true;
            }
        }

        // An exhausted demo delivers nothing ever again and polls no live
        // input: end the run as if the window had been closed.
        if (m_eventQueue.isReplayFinished()) {
            HEvent quit;
            memset(&quit, 0, sizeof(quit));
            quit.m_iType = ET_QUIT;
            quit.setTime(m_uCurrentTime);
            s_takeEvent(this, &m_random, &m_bRandomSeeded, quit);
            return true;
        }

        drawFrame(false);
        drawCursorInDirtyRects();
        presentFrame();
    }
}

// Without it a waiting screen takes an idle tick every millisecond, and the
// wake-ups alone cost several percent of a core.
void QVApplication::paceIdleTick(uint64_t stamp)
{
    const uint32_t step = elapsedMilliseconds(stamp, m_uLastIdleTick);
    // A clock that stepped back further than one step starts anew.
    const bool steppedBack = elapsedMilliseconds(m_uLastIdleTick, stamp) > QV_IDLE_STEP_MS;
    if (!m_bIdleTicked || step >= QV_IDLE_STEP_MS || steppedBack) {
        m_uLastIdleTick = stamp;
        m_bIdleTicked = true;
        return;
    }
    sleepMilliseconds(QV_IDLE_STEP_MS - step);
    m_uLastIdleTick += QV_IDLE_STEP_MS;
}

bool QVApplication::preDispatchEvent(const HEvent &event)
{
    switch (event.m_iType) {
    case ET_PAINT:
        invalidateAll();
        break;
    case ET_ACTIVATE:
        if (event.m_iFlag != 0) {
            if (m_pDisplayDevice) {
                m_pDisplayDevice->activate();
            }
            if (m_pInputDevice) {
                m_pInputDevice->activate();
            }
            setActive(true);
        } else {
            if (m_pDisplayDevice) {
                m_pDisplayDevice->deactivate();
            }
            if (m_pInputDevice) {
                m_pInputDevice->deactivate();
            }
            setActive(false);
            invalidateAll();
        }
        break;
    case ET_WINDOW_MINIMIZED:
        if ((event.m_iFlag != 0) != m_bMinimized) {
            m_bMinimized = event.m_iFlag != 0;
        }
        break;
    case ET_MOUSEMOVE:
        if (useSpriteCursor()) {
            QVSprite *cursor = getCursorSprite();
            if (cursor) {
                const int w = cursor->getWidth();
                const int h = cursor->getHeight();
                // Old and new cursor areas together, so it never shows cut off.
                HRect area;
                area.left = m_iCursorX < event.m_iX ? m_iCursorX : event.m_iX;
                area.top = m_iCursorY < event.m_iY ? m_iCursorY : event.m_iY;
                area.right = s_addClamped(m_iCursorX > event.m_iX ? m_iCursorX : event.m_iX, w);
                area.bottom = s_addClamped(m_iCursorY > event.m_iY ? m_iCursorY : event.m_iY, h);
                invalidateRect(area);
            }
        }
        break;
    default:
        break;
    }
    return dispatchToControls(event);
}

bool QVApplication::dispatchToControls(const HEvent &event)
{
    if (!m_pControls) {
        return false;
    }
    HListNode *next = nullptr;
    for (HListNode *node = m_pControls->getHead(); node; node = next) {
        // Read ahead: a control may unregister itself while handling.
        next = m_pControls->getNext(node);
        QVControl *control = static_cast<QVControl *>(node->getObject());
        if (control && control->isEnabled() && control->handleEvent(event)) {
            return true;
        }
    }
    return false;
}

// --- frame drawing ---

void QVApplication::drawFrame(bool underDialog)
{
    if (!canDraw()) {
        return;
    }
    const int count = m_dirtyRects.getCount();
    for (int i = 0; i < count; i++) {
        drawBackground(*m_dirtyRects.getRect(i), underDialog);
    }
    for (int i = 0; i < count; i++) {
        drawControls(m_pDisplayDevice, *m_dirtyRects.getRect(i), underDialog);
    }
    afterDraw();
}

void QVApplication::drawControls(H2DDisplayDevice *display, const HRect &rect, bool underDialog)
{
    if (!m_pControls) {
        return;
    }
    for (HListNode *node = m_pControls->getHead(); node; node = m_pControls->getNext(node)) {
        QVControl *control = static_cast<QVControl *>(node->getObject());
        if (!control) {
            continue;
        }
        if (!underDialog || control->isVisibleUnderDialog()) {
            control->draw(display, rect);
        }
    }
}

void QVApplication::presentFrame()
{
    if (m_pDisplayDevice) {
        m_pDisplayDevice->present();
    }
    m_dirtyRects.clear();
}

void QVApplication::invalidateRect(const HRect &rect)
{
    if (!m_pDisplayDevice) {
        return;
    }
    HRect r = rect;
    const int32_t width = m_pDisplayDevice->getScreenWidth();
    const int32_t height = m_pDisplayDevice->getScreenHeight();
    clampValue(r.left, 0, width);
    clampValue(r.right, 0, width);
    clampValue(r.top, 0, height);
    clampValue(r.bottom, 0, height);
    m_dirtyRects.addRectRecord(r);
}

void QVApplication::invalidateAll()
{
    if (!m_pDisplayDevice) {
        return;
    }
    HRect r = { 0, 0, m_pDisplayDevice->getScreenWidth(), m_pDisplayDevice->getScreenHeight() };
    m_dirtyRects.addRectRecord(r);
}

// --- software cursor ---

void QVApplication::invalidateCursor()
{
    if (!useSpriteCursor()) {
        return;
    }
    QVSprite *cursor = getCursorSprite();
    if (!cursor) {
        return;
    }
    const int32_t x = m_eventQueue.getLastPointerX();
    const int32_t y = m_eventQueue.getLastPointerY();
    HRect r = { x, y, s_addClamped(x, cursor->getWidth()), s_addClamped(y, cursor->getHeight()) };
    invalidateRect(r);
}

void QVApplication::drawCursor(const HRect &rect)
{
    const int32_t x = m_eventQueue.getLastPointerX();
    const int32_t y = m_eventQueue.getLastPointerY();
    const int32_t width = m_pDisplayDevice ? m_pDisplayDevice->getScreenWidth() : 0;
    const int32_t height = m_pDisplayDevice ? m_pDisplayDevice->getScreenHeight() : 0;
    if (x < 0 || y < 0 || x > width || y > height) {
        setSystemCursorVisible(true);
        return;
    }
    if (!useSpriteCursor() || !m_bCursorShown) {
        return;
    }
    QVSprite *cursor = getCursorSprite();
    if (!cursor) {
        return;
    }
    setSystemCursorVisible(false);
    m_iCursorX = x;
    m_iCursorY = y;

    HRect dst = { x, y, x + cursor->getWidth(), y + cursor->getHeight() };
    HRect src;
    cursor->getRect(src);
    // Touching edges count as overlap.
    if (dst.left > rect.right || dst.right < rect.left ||
        dst.top > rect.bottom || dst.bottom < rect.top) {
        return;
    }
    if (dst.left < rect.left) {
        src.left += rect.left - dst.left;
        dst.left = rect.left;
    }
    if (dst.right > rect.right) {
        src.right -= dst.right - rect.right;
        dst.right = rect.right;
    }
    if (dst.top < rect.top) {
        src.top += rect.top - dst.top;
        dst.top = rect.top;
    }
    if (dst.bottom > rect.bottom) {
        src.bottom -= dst.bottom - rect.bottom;
        dst.bottom = rect.bottom;
    }
    cursor->drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
}

void QVApplication::drawCursorInDirtyRects()
{
    // The count is read again each step: drawing may report more areas.
    for (int i = 0; i < m_dirtyRects.getCount(); i++) {
        const HRect rect = *m_dirtyRects.getRect(i);
        drawCursor(rect);
    }
}
