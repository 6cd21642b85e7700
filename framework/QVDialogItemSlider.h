#ifndef QVDIALOGITEMSLIDER_H
#define QVDIALOGITEMSLIDER_H

#include <cstdint>

#include "QVDialogItem.h"

class QVSprite;

// A knob dragged along a track that starts at the item's position. Only the
// knob is drawn; its centre sits on the track point for the current value.
class QVDialogItemSlider : public QVDialogItem {
public:
                        QVDialogItemSlider();
                        ~QVDialogItemSlider() override;

    const HClassInfo *  getClassInfo() const override;

    void                draw(H2DDisplayDevice *display, const HRect &clipRect) override;
    bool                handleEvent(const HEvent &event) override;
    void                updateRect() override;

    virtual void        setTrack(int32_t vertical, int32_t length);
    // Stored as given; dragging keeps it within [0, 1].
    virtual void        setValue(float value);
    virtual float       getValue() const;
    virtual void        setKnobSprite(QVSprite *sprite);

    bool                isDragging() const { return m_bDragging; }
    int32_t             getTrackLength() const { return m_iTrackLength; }

    static HClassInfo   sm_classInfo;

private:
    bool                m_bDragging;
    int32_t             m_iTrackLength;
    int32_t             m_bVertical;
    float               m_fValue;
    QVSprite *          m_pKnobSprite;
};

#endif
