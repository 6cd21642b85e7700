#ifndef QVDIALOGITEMTEXTLINE_H
#define QVDIALOGITEMTEXTLINE_H

#include <cstdint>

#include "QVDialogItem.h"

struct H2DFont;

// A line of bitmap-font text: a label, or an editable one-line field that
// edits while it holds the dialog's focus. Its rect is relative to the
// dialog and is only used for hits and redraws; the text is drawn at the
// item's position.
class QVDialogItemTextLine : public QVDialogItem {
public:
    enum { kiTextSize = 1024 };

                        QVDialogItemTextLine();
                        ~QVDialogItemTextLine() override;

    const HClassInfo *  getClassInfo() const override;

    bool                canFocus() const override;
    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;

    virtual void        setEditable(bool editable);
    virtual void        setFont(H2DFont *font);
    virtual void        setColour(float r, float g, float b, float a);
    // 0 left, 1 right, 2 centred on the position's x.
    virtual void        setAlignment(int32_t alignment);
    // Longest text and visible length at once.
    virtual void        setMaxLength(int32_t length);
    virtual void        setVisibleLength(int32_t length);
    // Bit 0: the text blinks.
    virtual void        setBlink(int32_t bits);
    virtual int32_t     getBlink() const;

    bool                isEditable() const { return m_bEditable; }
    void                setText(const char *text);
    const char *        getText() const { return m_szText; }
    int32_t             getLength() const { return m_iLength; }
    int32_t             getMaxLength() const { return m_iMaxLength; }
    int32_t             getVisibleLength() const { return m_iVisibleLength; }
    // Relative to the dialog.
    void                setRect(const HRect &rect);
    // The line as drawn now: the visible tail of the text plus the caret
    // or nothing at all during a blink, by the given millisecond clock.
    void                getShownText(char *buffer, size_t size, uint64_t ticks) const;

    // Forgets the caret-redraw stamp all text lines share.
    static void         sm_resetCaretStamp();

    static HClassInfo   sm_classInfo;

private:
    bool                m_hasFocus() const;
    HRect               m_getScreenRect() const;

    int32_t             m_iAlignment;
    float               m_colour[4];
    bool                m_bEditable;
    int32_t             m_iMaxLength;
    int32_t             m_iVisibleLength;
    char                m_szText[kiTextSize];
    int32_t             m_iLength;
    H2DFont *           m_pFont;
    int32_t             m_iBlink;
};

#endif
