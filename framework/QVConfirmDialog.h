#ifndef QVCONFIRMDIALOG_H
#define QVCONFIRMDIALOG_H

#include "QVDialog.h"
#include "QVDialogItemButton.h"
#include "QVSprite.h"

// The OK / Cancel question behind QVApplication::confirmDialog. With a
// time-out, OK stays disabled until the time-out has passed.
class QVConfirmDialog : public QVDialog {
public:
                        QVConfirmDialog();
                        ~QVConfirmDialog() override;

    bool                onItemActivated(QVDialogItem *item) override;
    bool                onTimeout() override;

    // Builds, runs and tears down the dialog; 1 OK, 2 quit, 0 otherwise.
    int                 run(QVApplication *application, int x, int y, int timeoutMs,
                            const char *background, const char *ok, const char *okHighlight,
                            const char *cancel, const char *cancelHighlight);

    QVDialogItemButton  m_okButton;
    QVDialogItemButton  m_cancelButton;
    QVSprite            m_background;
    QVSprite            m_ok;
    QVSprite            m_cancel;
    QVSprite            m_okHighlight;
    QVSprite            m_cancelHighlight;
};

#endif
