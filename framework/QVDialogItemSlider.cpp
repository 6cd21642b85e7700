#include "QVDialogItemSlider.h"

#include "HEvent.h"
#include "QVDialog.h"
#include "QVSprite.h"

HClassInfo QVDialogItemSlider::sm_classInfo("QVDialogItemSlider", "QVDialogItem");

const HClassInfo *QVDialogItemSlider::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialogItemSlider::QVDialogItemSlider()
    : m_bDragging(false), m_iTrackLength(250), m_bVertical(0), m_fValue(0.0f), m_pKnobSprite(nullptr)
{
}

QVDialogItemSlider::~QVDialogItemSlider()
{
}

void QVDialogItemSlider::setTrack(int32_t vertical, int32_t length)
{
    m_bVertical = vertical;
    m_iTrackLength = length;
}

void QVDialogItemSlider::setValue(float value)
{
    m_fValue = value;
    updateRect();
}

float QVDialogItemSlider::getValue() const
{
    return m_fValue;
}

void QVDialogItemSlider::setKnobSprite(QVSprite *sprite)
{
    m_pKnobSprite = sprite;
    updateRect();
}

// Truncation of a float offset, kept to a range the rectangle can hold:
// a value set from outside is not clamped, and NaN or a huge value would make
// the conversion undefined.
static int32_t s_truncateOffset(float offset)
{
    if (!(offset == offset)) {
        return 0;
    }
    const float limit = 1.0e8f;
    if (offset > limit) {
        return (int32_t)limit;
    }
    if (offset < -limit) {
        return -(int32_t)limit;
    }
    return (int32_t)offset;
}

void QVDialogItemSlider::updateRect()
{
    if (!m_pKnobSprite) {
        return;
    }
    HRect knob;
    m_pKnobSprite->getRect(knob);
    const int32_t w = knob.right - knob.left;
    const int32_t h = knob.bottom - knob.top;
    const HPoint origin = m_getDialogOrigin();
    int32_t x = m_position.x - w / 2 + origin.x;
    int32_t y = m_position.y - h / 2 + origin.y;
    const int32_t offset = s_truncateOffset((float)m_iTrackLength * m_fValue);
    if (m_bVertical) {
        y += offset;
    } else {
        x += offset;
    }
    m_rect.left = x;
    m_rect.top = y;
    m_rect.right = x + w;
    m_rect.bottom = y + h;
}

bool QVDialogItemSlider::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_KEYDOWN && event.m_iKey == KC_LBUTTON) {
        if (!sm_isInside(m_rect, event.m_iX, event.m_iY)) {
            return false;
        }
        m_bDragging = true;
        if (m_pOwner) {
            m_pOwner->setFocus(this);
        }
        return true;
    }
    if (event.m_iType == ET_KEYUP && event.m_iKey == KC_LBUTTON) {
        if (!m_bDragging) {
            return false;
        }
        m_bDragging = false;
        if (m_pOwner) {
            m_pOwner->setFocus(nullptr);
        }
        return true;
    }
    if (event.m_iType == ET_MOUSEMOVE && m_bDragging) {
        const HPoint origin = m_getDialogOrigin();
        float value = 0.0f;
        // A track of no length has nowhere to go: 0 rather than a division
        // by zero.
        if (m_iTrackLength > 0) {
            value = (float)((int64_t)event.m_iX - ((int64_t)origin.x + m_position.x)) / (float)m_iTrackLength;
        }
        if (value < 0.0f) {
            value = 0.0f;
        } else if (value > 1.0f) {
            value = 1.0f;
        }
        invalidate(m_rect);
        setValue(value);
        invalidate(m_rect);
        return true;
    }
    return false;
}

void QVDialogItemSlider::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    (void)display;
    sm_drawClipped(m_pKnobSprite, m_rect, clipRect);
}
