#include "QVControl.h"

#include "HEvent.h"
#include "HLog.h"
#include "QVApplication.h"
#include "QVSprite.h"

HClassInfo QVControl::sm_classInfo("QVControl", "HObject");

// "No valid control" is worth saying once per run, not once per frame.
static bool s_bReportedInvalid = false;

const HClassInfo *QVControl::getClassInfo() const
{
    return &sm_classInfo;
}

QVControl::QVControl()
    : m_bVisibleUnderDialog(false), m_bHighlighted(false), m_bEnabled(true),
      m_pHighlightSprite(nullptr), m_pDisabledSprite(nullptr), m_pNormalSprite(nullptr),
      m_pOwner(nullptr)
{
    // Off screen until the first setPosition.
    m_rect.left = -1000;
    m_rect.top = 0;
    m_rect.right = -1000;
    m_rect.bottom = -1000;
}

QVControl::~QVControl()
{
}

bool QVControl::isVisibleUnderDialog() const
{
    return m_bVisibleUnderDialog;
}

void QVControl::setVisibleUnderDialog(bool visible)
{
    m_bVisibleUnderDialog = visible;
}

void QVControl::setEnabled(bool enabled)
{
    m_bEnabled = enabled;
}

bool QVControl::isEnabled() const
{
    return m_bEnabled;
}

void QVControl::setSprites(QVSprite *normal, QVSprite *highlight, QVSprite *disabled)
{
    if (normal == m_pNormalSprite && highlight == m_pHighlightSprite && disabled == m_pDisabledSprite) {
        return;
    }
    m_pNormalSprite = normal;
    m_pHighlightSprite = highlight;
    m_pDisabledSprite = disabled;
    updateRect();
}

void QVControl::setOwner(QVApplication *owner)
{
    m_pOwner = owner;
}

bool QVControl::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_MOUSEMOVE) {
        setHighlighted(m_isInside(event.m_iX, event.m_iY));
    }
    return false;
}

void QVControl::setPosition(const HPoint &point)
{
    m_rect.left = point.x;
    m_rect.top = point.y;
    updateRect();
}

HRect QVControl::getRect() const
{
    return m_rect;
}

bool QVControl::isHighlighted() const
{
    return m_bHighlighted;
}

void QVControl::setHighlighted(bool highlighted)
{
    if (highlighted == m_bHighlighted) {
        return;
    }
    m_bHighlighted = highlighted;
    if (m_pOwner) {
        m_pOwner->invalidateRect(m_rect);
    }
}

bool QVControl::isClicked(const HEvent &event) const
{
    return event.m_iType == ET_KEYDOWN && event.m_iKey == KC_LBUTTON && m_isInside(event.m_iX, event.m_iY);
}

void QVControl::updateRect()
{
    int32_t width = 0;
    int32_t height = 0;
    const QVSprite *const sizing[3] = { m_pNormalSprite, m_pHighlightSprite, m_pDisabledSprite };
    for (const QVSprite *sprite : sizing) {
        if (sprite) {
            width = sprite->getWidth();
            height = sprite->getHeight();
        }
    }
    m_rect.right = m_rect.left + width;
    m_rect.bottom = m_rect.top + height;
    if (m_pOwner) {
        m_pOwner->invalidateRect(m_rect);
    }
}

bool QVControl::m_isInside(int32_t x, int32_t y) const
{
    // Bounds included: the pixel just past the image still counts.
    return rectHitInclusive(getRect(), x, y);
}

bool QVControl::sm_clipImage(const HRect &rect, const HRect &clipRect, HRect &dst, HRect &src)
{
    if (rect.left > clipRect.right || rect.right < clipRect.left ||
        rect.top > clipRect.bottom || rect.bottom < clipRect.top) {
        return false;
    }
    dst = rect;
    if (dst.left < clipRect.left) {
        src.left += clipRect.left - dst.left;
        dst.left = clipRect.left;
    }
    if (dst.top < clipRect.top) {
        src.top += clipRect.top - dst.top;
        dst.top = clipRect.top;
    }
    if (dst.right > clipRect.right) {
        src.right -= dst.right - clipRect.right;
        dst.right = clipRect.right;
    }
    if (dst.bottom > clipRect.bottom) {
        src.bottom -= dst.bottom - clipRect.bottom;
        dst.bottom = clipRect.bottom;
    }
    return true;
}

void QVControl::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    (void)display;
    const QVSprite *sizing = m_pNormalSprite ? m_pNormalSprite : m_pHighlightSprite;
    if (!sizing) {
        if (!s_bReportedInvalid) {
            s_bReportedInvalid = true;
            errorPrintf("No valid control");
        }
        return;
    }
    HRect src;
    sizing->getRect(src);
    // Clip the image's own area at the control's corner: the rect may be
    // sized by a larger disabled image, and cutting the source by the rect's
    // overhang would then leave it inside out.
    const HRect rect = getRect();
    const HRect area = { rect.left, rect.top, rect.left + src.right, rect.top + src.bottom };
    HRect dst;
    if (!sm_clipImage(area, clipRect, dst, src)) {
        return;
    }
    // A sliver where the edges only touch has nothing to draw.
    if (dst.right <= dst.left || dst.bottom <= dst.top) {
        return;
    }
    if (m_bEnabled) {
        QVSprite *image = isHighlighted() ? m_pHighlightSprite : m_pNormalSprite;
        if (image) {
            image->drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
        }
    } else if (m_pDisabledSprite) {
        m_pDisabledSprite->drawPart(dst, src);
    }
}
