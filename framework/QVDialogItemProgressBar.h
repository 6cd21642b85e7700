#ifndef QVDIALOGITEMPROGRESSBAR_H
#define QVDIALOGITEMPROGRESSBAR_H

#include "QVDialogItem.h"

class QVSprite;

// A bar that shows the left part of its image in proportion to a fraction.
// Placed in screen coordinates: it does not follow the dialog. It takes no
// events and is drawn whether enabled or not.
class QVDialogItemProgressBar : public QVDialogItem {
public:
                        QVDialogItemProgressBar();
                        ~QVDialogItemProgressBar() override;

    const HClassInfo *  getClassInfo() const override;

    void                setPosition(const HPoint &point) override;
    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;

    virtual void        setSprite(QVSprite *sprite);
    // Clamped to [0, 1].
    virtual void        setFraction(float fraction);
    virtual float       getFraction() const;

    static HClassInfo   sm_classInfo;

private:
    void                m_placeBar();

    float               m_fFraction;
    QVSprite *          m_pBarSprite;
};

#endif
