#include "QVDialogItem.h"

#include "HString.h"
#include "QVDialog.h"
#include "QVSprite.h"

HClassInfo QVDialogItem::sm_classInfo("QVDialogItem", "HObject");

const HClassInfo *QVDialogItem::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialogItem::QVDialogItem()
    : m_pOwner(nullptr), m_pNext(nullptr), m_bEnabled(true), m_iId(0)
{
    m_rect.left = 0;
    m_rect.top = 0;
    m_rect.right = 0;
    m_rect.bottom = 0;
    m_szName[0] = '\0';
    m_position.x = 0;
    m_position.y = 0;
}

QVDialogItem::~QVDialogItem()
{
}

bool QVDialogItem::isEnabled() const
{
    return m_bEnabled;
}

void QVDialogItem::setEnabled(bool enabled)
{
    m_bEnabled = enabled;
}

bool QVDialogItem::canFocus() const
{
    return false;
}

HRect QVDialogItem::getRect() const
{
    return m_rect;
}

void QVDialogItem::setPosition(const HPoint &point)
{
    m_position = point;
    updateRect();
}

int32_t QVDialogItem::getId() const
{
    return m_iId;
}

void QVDialogItem::setId(int32_t id)
{
    m_iId = id;
}

void QVDialogItem::setName(const char *name)
{
    stringCopyBounded(m_szName, name ? name : "", sizeof(m_szName));
}

const char *QVDialogItem::getName() const
{
    return m_szName;
}

void QVDialogItem::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    (void)display;
    (void)clipRect;
}

bool QVDialogItem::handleEvent(const HEvent &event)
{
    (void)event;
    return false;
}

void QVDialogItem::updateRect()
{
}

void QVDialogItem::invalidate(const HRect &rect)
{
    if (m_pOwner) {
        m_pOwner->invalidate(rect);
    }
}

void QVDialogItem::setOwner(QVDialog *dialog)
{
    m_pOwner = dialog;
    updateRect();
    invalidate(m_rect);
}

void QVDialogItem::setNext(QVDialogItem *item)
{
    m_pNext = item;
}

QVDialogItem *QVDialogItem::getNext() const
{
    return m_pNext;
}

bool QVDialogItem::sm_isInside(const HRect &rect, int32_t x, int32_t y)
{
    return rectHitInclusive(rect, x, y);
}

HPoint QVDialogItem::m_getDialogOrigin() const
{
    HPoint origin = { 0, 0 };
    if (m_pOwner) {
        const HRect r = m_pOwner->getRect();
        origin.x = r.left;
        origin.y = r.top;
    }
    return origin;
}

void QVDialogItem::sm_drawClipped(QVSprite *image, const HRect &rect, const HRect &clipRect)
{
    if (!image) {
        return;
    }
    if (!rectsMeet(rect, clipRect)) {
        return;
    }
    HRect dst = rect;
    clampValue(dst.left, clipRect.left, clipRect.right);
    clampValue(dst.right, clipRect.left, clipRect.right);
    clampValue(dst.top, clipRect.top, clipRect.bottom);
    clampValue(dst.bottom, clipRect.top, clipRect.bottom);
    const HRect src = { dst.left - rect.left, dst.top - rect.top, dst.right - rect.left, dst.bottom - rect.top };
    image->drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
}
