#ifndef QVMESSAGEDIALOG_H
#define QVMESSAGEDIALOG_H

#include <cstdint>

#include "QVDialog.h"
#include "QVDialogItemButton.h"
#include "QVDialogItemProgressBar.h"
#include "QVSprite.h"

// The timed notice behind QVApplication::messageDialog: one button, and an
// optional bar that fills while the notice shows and closes it when full.
// Quitting does not close it.
class QVMessageDialog : public QVDialog {
public:
    explicit            QVMessageDialog(QVApplication *application);
                        ~QVMessageDialog() override;

    bool                handleEvent(const HEvent &event) override;
    bool                onItemActivated(QVDialogItem *item) override;
    bool                onTimeout() override;

    void                run(const char *background, int x, int y, const char *button,
                            const char *buttonHighlight, int buttonX, int buttonY,
                            const char *bar, int barX, int barY, int durationMs);

    QVApplication *     m_pApplication;
    uint64_t            m_startTime;        // open time at the first time-out check; 0 before
    int32_t             m_iDurationMs;
    QVDialogItemProgressBar m_progressBar;
    QVDialogItemButton  m_button;
    QVSprite            m_background;
    QVSprite            m_bar;
    QVSprite            m_buttonSprite;
    QVSprite            m_buttonHighlight;
};

#endif
