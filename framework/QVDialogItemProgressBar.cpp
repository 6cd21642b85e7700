#include "QVDialogItemProgressBar.h"

#include "QVControl.h"
#include "QVSprite.h"

HClassInfo QVDialogItemProgressBar::sm_classInfo("QVDialogItemProgressBar", "QVDialogItem");

const HClassInfo *QVDialogItemProgressBar::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialogItemProgressBar::QVDialogItemProgressBar()
    : m_fFraction(0.0f), m_pBarSprite(nullptr)
{
}

QVDialogItemProgressBar::~QVDialogItemProgressBar()
{
}

void QVDialogItemProgressBar::m_placeBar()
{
    m_rect.left = m_position.x;
    m_rect.top = m_position.y;
    m_rect.right = m_position.x + m_pBarSprite->getWidth();
    m_rect.bottom = m_position.y + m_pBarSprite->getHeight();
}

void QVDialogItemProgressBar::setSprite(QVSprite *sprite)
{
    m_pBarSprite = sprite;
    if (m_pBarSprite) {
        m_placeBar();
    }
}

void QVDialogItemProgressBar::setPosition(const HPoint &point)
{
    QVDialogItem::setPosition(point);
    if (m_pBarSprite) {
        m_placeBar();
    }
}

void QVDialogItemProgressBar::setFraction(float fraction)
{
    // Written so that NaN also lands on 0: it would make the filled width
    // an undefined conversion.
    if (!(fraction >= 0.0f)) {
        fraction = 0.0f;
    } else if (fraction > 1.0f) {
        fraction = 1.0f;
    }
    m_fFraction = fraction;
    invalidate(m_rect);
}

float QVDialogItemProgressBar::getFraction() const
{
    return m_fFraction;
}

void QVDialogItemProgressBar::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    (void)display;
    if (!m_pBarSprite) {
        return;
    }
    const int32_t width = m_pBarSprite->getWidth();
    const int32_t height = m_pBarSprite->getHeight();
    const int32_t filled = (int32_t)((float)width * m_fFraction);
    if (filled <= 0) {
        return;
    }
    const HRect bar = { m_position.x, m_position.y, m_position.x + filled, m_position.y + height };
    HRect src = { 0, 0, filled, height };
    HRect dst;
    if (!QVControl::sm_clipImage(bar, clipRect, dst, src)) {
        return;
    }
    m_pBarSprite->drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
}
