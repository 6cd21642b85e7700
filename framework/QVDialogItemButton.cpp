#include "QVDialogItemButton.h"

#include "HEvent.h"
#include "QVSprite.h"

HClassInfo QVDialogItemButton::sm_classInfo("QVDialogItemButton", "QVDialogItem");

const HClassInfo *QVDialogItemButton::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialogItemButton::QVDialogItemButton()
    : m_bHover(false), m_pNormalSprite(nullptr), m_pHighlightSprite(nullptr), m_pDisabledSprite(nullptr)
{
}

QVDialogItemButton::~QVDialogItemButton()
{
}

void QVDialogItemButton::setSprites(QVSprite *normal, QVSprite *highlight, QVSprite *disabled)
{
    m_pNormalSprite = normal;
    m_pHighlightSprite = highlight;
    m_pDisabledSprite = disabled;
    updateRect();
    invalidate(m_rect);
}

void QVDialogItemButton::updateRect()
{
    const HPoint origin = m_getDialogOrigin();
    const int32_t ox = m_position.x + origin.x;
    const int32_t oy = m_position.y + origin.y;
    const QVSprite *const sizing[3] = { m_pNormalSprite, m_pHighlightSprite, m_pDisabledSprite };
    const QVSprite *last = nullptr;
    for (const QVSprite *sprite : sizing) {
        if (sprite) {
            last = sprite;
        }
    }
    m_rect.left = ox;
    m_rect.top = oy;
    if (last) {
        m_rect.right = ox + last->getWidth();
        m_rect.bottom = oy + last->getHeight();
    } else {
        m_rect.right = 0;
        m_rect.bottom = 0;
    }
}

bool QVDialogItemButton::handleEvent(const HEvent &event)
{
    if (!m_bEnabled) {
        return false;
    }
    if (event.m_iType == ET_MOUSEMOVE) {
        const bool inside = sm_isInside(m_rect, event.m_iX, event.m_iY);
        if (inside != m_bHover) {
            invalidate(m_rect);
            m_bHover = inside;
        }
        return false;
    }
    if (event.m_iType == ET_KEYDOWN) {
        if (event.m_iKey == KC_LBUTTON && sm_isInside(m_rect, event.m_iX, event.m_iY)) {
            return true;
        }
        return event.m_cChar == 13;
    }
    return false;
}

void QVDialogItemButton::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    (void)display;
    QVSprite *image;
    if (!m_bEnabled) {
        image = m_pDisabledSprite;
    } else {
        image = m_bHover ? m_pHighlightSprite : m_pNormalSprite;
    }
    sm_drawClipped(image, m_rect, clipRect);
}
