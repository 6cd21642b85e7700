#ifndef QVDIALOGITEMBUTTON_H
#define QVDIALOGITEMBUTTON_H

#include "QVDialogItem.h"

class QVSprite;

// A push button with normal, highlighted and disabled images (not owned).
// It takes a left press inside it and Enter wherever the pointer is; it
// cannot take the focus.
class QVDialogItemButton : public QVDialogItem {
public:
                        QVDialogItemButton();
                        ~QVDialogItemButton() override;

    const HClassInfo *  getClassInfo() const override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
    void                updateRect() override;

    virtual void        setSprites(QVSprite *normal, QVSprite *highlight, QVSprite *disabled);

    bool                isHover() const { return m_bHover; }

    static HClassInfo   sm_classInfo;

private:
    bool                m_bHover;
    QVSprite *          m_pNormalSprite;
    QVSprite *          m_pHighlightSprite;
    QVSprite *          m_pDisabledSprite;
};

#endif
