#include "QVConfirmDialog.h"

#include "H2DDisplayDevice.h"
#include "QVApplication.h"

QVConfirmDialog::QVConfirmDialog()
{
}

QVConfirmDialog::~QVConfirmDialog()
{
}

bool QVConfirmDialog::onItemActivated(QVDialogItem *item)
{
    (void)item;
    return true;
}

bool QVConfirmDialog::onTimeout()
{
    m_okButton.setEnabled(true);
    invalidate(m_okButton.getRect());
    return false;
}

// Loads a named picture; an unnamed one stays empty. True when it needs a
// release afterwards.
int QVConfirmDialog::run(QVApplication *application, int x, int y, int timeoutMs,
                         const char *background, const char *ok, const char *okHighlight,
                         const char *cancel, const char *cancelHighlight)
{
    H2DDisplayDevice *display = application->getDisplayDevice();
    const bool loadedBackground = sm_loadPicture(m_background, application, background);
    const bool loadedOk = sm_loadPicture(m_ok, application, ok);
    const bool loadedCancel = sm_loadPicture(m_cancel, application, cancel);
    const bool loadedOkHighlight = sm_loadPicture(m_okHighlight, application, okHighlight);
    const bool loadedCancelHighlight = sm_loadPicture(m_cancelHighlight, application, cancelHighlight);
    setBackground(&m_background);

    const int screenWidth = display ? display->getScreenWidth() : 0;
    const int screenHeight = display ? display->getScreenHeight() : 0;
    const int backgroundWidth = m_background.isLoaded() ? m_background.getWidth() : 0;
    const int backgroundHeight = m_background.isLoaded() ? m_background.getHeight() : 0;
    HPoint where = { x, y };
    if (x == -1) {
        where.x = (screenWidth - backgroundWidth) / 2;
    }
    if (y == -1) {
        where.y = (screenHeight - backgroundHeight) / 2;
    }
    setPosition(where);

    m_okButton.setName("Are you sure, ok");
    m_okButton.setSprites(&m_ok, okHighlight ? &m_okHighlight : &m_ok, nullptr);
    // Only a time-out that will pass disables OK: with none (or a negative
    // one, which never fires) the question could not be answered.
    if (timeoutMs > 0) {
        m_okButton.setEnabled(false);
    }
    const bool withCancel = cancel != nullptr;
    if (withCancel) {
        m_cancelButton.setName("Are you sure, cancel");
        m_cancelButton.setSprites(&m_cancel, cancelHighlight ? &m_cancelHighlight : &m_cancel, nullptr);
    }

    const int okWidth = m_ok.isLoaded() ? m_ok.getWidth() : 0;
    const int okHeight = m_ok.isLoaded() ? m_ok.getHeight() : 0;
    const int rowY = backgroundHeight - (okHeight * 3) / 2;
    const HPoint okAt = { withCancel ? (backgroundWidth - okWidth) / 4 : (backgroundWidth - okWidth) / 2, rowY };
    m_okButton.setPosition(okAt);
    addItem(&m_okButton);
    if (withCancel) {
        const int cancelWidth = m_cancel.isLoaded() ? m_cancel.getWidth() : 0;
        const HPoint cancelAt = { ((backgroundWidth - cancelWidth) * 3) / 4, rowY };
        m_cancelButton.setPosition(cancelAt);
        addItem(&m_cancelButton);
        setDefaultItem(&m_cancelButton);
    }

    const intptr_t result = doModal(application, display, application->getEventQueue(), timeoutMs, application);

    if (loadedBackground) m_background.release();
    if (loadedOk) m_ok.release();
    if (loadedCancel) m_cancel.release();
    if (loadedOkHighlight) m_okHighlight.release();
    if (loadedCancelHighlight) m_cancelHighlight.release();
    clearItems();
    application->invalidateAll();

    if (result == (intptr_t)&m_okButton) {
        return 1;
    }
    if (result == QVDIALOG_QUIT) {
        return 2;
    }
    return 0;
}

int QVApplication::confirmDialog(int x, int y, int timeoutMs, const char *background,
                                 const char *ok, const char *okHighlight,
                                 const char *cancel, const char *cancelHighlight)
{
    QVConfirmDialog dialog;
    return dialog.run(this, x, y, timeoutMs, background, ok, okHighlight, cancel, cancelHighlight);
}
