#include "QVDialogItemTextLine.h"

#include <cstring>

#include "H2DDisplayDevice.h"
#include "HEvent.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HString.h"
#include "QVDialog.h"

HClassInfo QVDialogItemTextLine::sm_classInfo("QVDialogItemTextLine", "QVDialogItem");

// When a caret was last redrawn, shared by every line so that several
// fields on screen do not each redraw the dialog every tick.
static bool s_bCaretStamped = false;
static uint64_t s_uCaretStamp = 0;

// The caret and the blink swap every 500 ms.
static const uint64_t kuBlinkHalfPeriod = 500;
static const uint32_t kuCaretRedrawMs = 250;

const HClassInfo *QVDialogItemTextLine::getClassInfo() const
{
    return &sm_classInfo;
}

QVDialogItemTextLine::QVDialogItemTextLine()
    : m_iAlignment(0), m_bEditable(false), m_iMaxLength(kiTextSize - 1), m_iVisibleLength(64),
      m_iLength(0), m_pFont(nullptr), m_iBlink(0)
{
    m_rect.left = -1;
    m_rect.top = -1;
    m_rect.right = -1;
    m_rect.bottom = -1;
    for (float &c : m_colour) {
        c = 1.0f;
    }
    m_szText[0] = '\0';
}

QVDialogItemTextLine::~QVDialogItemTextLine()
{
}

void QVDialogItemTextLine::sm_resetCaretStamp()
{
    s_bCaretStamped = false;
    s_uCaretStamp = 0;
}

bool QVDialogItemTextLine::canFocus() const
{
    return isEditable();
}

void QVDialogItemTextLine::setEditable(bool editable)
{
    m_bEditable = editable;
}

void QVDialogItemTextLine::setFont(H2DFont *font)
{
    m_pFont = font;
}

void QVDialogItemTextLine::setColour(float r, float g, float b, float a)
{
    m_colour[0] = r;
    m_colour[1] = g;
    m_colour[2] = b;
    m_colour[3] = a;
}

void QVDialogItemTextLine::setAlignment(int32_t alignment)
{
    m_iAlignment = alignment;
}

void QVDialogItemTextLine::setMaxLength(int32_t length)
{
    // The text lives in a fixed buffer: a longer limit would let typing run
    // past it.
    clampValue(length, 0, kiTextSize - 1);
    m_iMaxLength = length;
    m_iVisibleLength = length;
}

void QVDialogItemTextLine::setVisibleLength(int32_t length)
{
    clampValue(length, 0, kiTextSize - 1);
    m_iVisibleLength = length;
}

void QVDialogItemTextLine::setBlink(int32_t bits)
{
    m_iBlink = bits;
}

int32_t QVDialogItemTextLine::getBlink() const
{
    return m_iBlink;
}

void QVDialogItemTextLine::setRect(const HRect &rect)
{
    m_rect = rect;
}

void QVDialogItemTextLine::setText(const char *text)
{
    stringCopyBounded(m_szText, text ? text : "", (size_t)m_iMaxLength + 1);
    m_iLength = (int32_t)strlen(m_szText);
    if (m_rect.left == -1 && m_rect.top == -1 && m_rect.right == -1 && m_rect.bottom == -1) {
        tracePrintf("QVDialogItemTextLine::setText - uninitialized text rect!\n");
        if (m_pOwner) {
            invalidate(m_pOwner->getRect());
        }
    } else if (m_pOwner) {
        invalidate(m_rect);
    }
}

bool QVDialogItemTextLine::m_hasFocus() const
{
    return m_pOwner && m_pOwner->getFocusedItem() == this;
}

HRect QVDialogItemTextLine::m_getScreenRect() const
{
    const HPoint origin = m_getDialogOrigin();
    const HRect r = { m_rect.left + origin.x, m_rect.top + origin.y,
                      m_rect.right + origin.x, m_rect.bottom + origin.y };
    return r;
}

bool QVDialogItemTextLine::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_KEYDOWN) {
        if (!m_bEditable) {
            return false;
        }
        if (event.m_iKey == KC_LBUTTON) {
            if (!m_pOwner || !sm_isInside(m_getScreenRect(), event.m_iX, event.m_iY)) {
                return false;
            }
            m_pOwner->setFocus(this);
            return true;
        }
        if (!m_hasFocus()) {
            return false;
        }
        invalidate(m_pOwner->getRect());
        const uint8_t c = event.m_cChar;
        if (c == 8) {
            if (m_iLength > 0) {
                m_szText[--m_iLength] = '\0';
            }
            return false;
        }
        if (c == 13) {
            return true;
        }
        if (c >= 32 && m_iLength < m_iMaxLength) {
            m_szText[m_iLength++] = (char)c;
            m_szText[m_iLength] = '\0';
        }
        return false;
    }
    if (event.m_iType == ET_PASTE) {
        if (!m_bEditable || !m_hasFocus()) {
            return false;
        }
        // Pasted into a scratch buffer: a paste that yields nothing leaves
        // the text as it was.
        char paste[kiTextSize];
        paste[0] = '\0';
        if (getPasteText(paste, sizeof(paste)) > 0) {
            paste[sizeof(paste) - 1] = '\0';
            setText(paste);
        }
        return true;
    }
    if (event.m_iType == ET_TIMESTAMP) {
        if (!(m_iBlink & 1) && !m_bEditable) {
            return false;
        }
        const uint64_t now = event.getTime();
        const uint32_t since = elapsedMilliseconds(now, s_uCaretStamp);
        // A clock that went back behind the stamp starts it again rather
        // than freezing the caret until the clock catches up.
        if (!s_bCaretStamped || since == 0) {
            s_bCaretStamped = true;
            s_uCaretStamp = now;
        } else if (since > kuCaretRedrawMs && m_pOwner) {
            invalidate(m_getScreenRect());
            s_uCaretStamp = now;
        }
        return false;
    }
    return false;
}

void QVDialogItemTextLine::getShownText(char *buffer, size_t size, uint64_t ticks) const
{
    if (!buffer || size == 0) {
        return;
    }
    buffer[0] = '\0';
    const bool odd = ((ticks / kuBlinkHalfPeriod) & 1) != 0;
    if ((m_iBlink & 1) && odd) {
        return;
    }
    const int32_t skip = m_iLength > m_iVisibleLength ? m_iLength - m_iVisibleLength : 0;
    stringCopyBounded(buffer, m_szText + skip, size < 254 ? size : 254);
    if (m_bEditable && m_hasFocus() && odd) {
        stringAppendBounded(buffer, "|", size);
    }
}

void QVDialogItemTextLine::draw(H2DDisplayDevice *display, const HRect &clipRect)
{
    if (!m_bEnabled || !display || !m_pFont) {
        return;
    }
    const HPoint origin = m_getDialogOrigin();
    char shown[256];
    getShownText(shown, sizeof(shown), getSteadyMilliseconds());
    if (!shown[0]) {
        return;
    }
    display->drawText(shown, m_position.x + origin.x, m_position.y + origin.y, clipRect, m_iAlignment, m_pFont);
}
