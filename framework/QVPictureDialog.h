#ifndef QVPICTUREDIALOG_H
#define QVPICTUREDIALOG_H

#include <cstdint>

#include "QVDialog.h"
#include "QVDialogItemButton.h"
#include "QVSprite.h"

// The page viewer behind QVApplication::pictureDialog: close, previous and
// next buttons over a list of pictures, the current one as the background.
// Quitting does not close it.
class QVPictureDialog : public QVDialog {
public:
    explicit            QVPictureDialog(int32_t pageCount);
                        ~QVPictureDialog() override;

    bool                handleEvent(const HEvent &event) override;
    bool                onItemActivated(QVDialogItem *item) override;

    void                run(QVApplication *application, int x, int y, const char *close,
                            const char *closeHighlight, const char *next, const char *nextHighlight,
                            const char *previous, const char *previousHighlight,
                            const char *const *pages);

    int32_t             getCurrentPage() const { return m_iCurrentPage; }

    QVDialogItemButton  m_closeButton;
    QVDialogItemButton  m_previousButton;
    QVDialogItemButton  m_nextButton;
    QVSprite            m_close;
    QVSprite            m_closeHighlight;
    QVSprite            m_next;
    QVSprite            m_nextHighlight;
    QVSprite            m_previous;
    QVSprite            m_previousHighlight;
    QVSprite *          m_pPages;
    int32_t             m_iPageCount;
    int32_t             m_iCurrentPage;

private:
    bool *              m_pPageLoaded;
};

#endif
