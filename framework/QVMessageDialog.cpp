#include "QVMessageDialog.h"

#include "H2DDisplayDevice.h"
#include "HEvent.h"
#include "QVApplication.h"

// The notice checks its clock about once a frame.
static const int32_t kiCheckIntervalMs = 16;

QVMessageDialog::QVMessageDialog(QVApplication *application)
    : m_pApplication(application), m_startTime(0), m_iDurationMs(0)
{
}

QVMessageDialog::~QVMessageDialog()
{
}

bool QVMessageDialog::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_QUIT) {
        return true;
    }
    return QVDialog::handleEvent(event);
}

bool QVMessageDialog::onItemActivated(QVDialogItem *item)
{
    (void)item;
    return true;
}

bool QVMessageDialog::onTimeout()
{
    // On the dialog's open time, which keeps counting across the tick
    // count's wrap; the first check comes after 16 ms, so never at 0.
    const uint64_t open = getOpenTime();
    if (m_startTime == 0) {
        m_startTime = open;
    }
    const int64_t elapsed = (int64_t)(open - m_startTime);
    if (elapsed > (int64_t)m_iDurationMs) {
        return true;
    }
    // A one-millisecond notice would divide by zero: show it full.
    const float span = (float)((int64_t)m_iDurationMs - 1);
    m_progressBar.setFraction(span > 0.0f ? (float)elapsed / span : 1.0f);
    return false;
}

void QVMessageDialog::run(const char *background, int x, int y, const char *button,
                          const char *buttonHighlight, int buttonX, int buttonY,
                          const char *bar, int barX, int barY, int durationMs)
{
    QVApplication *application = m_pApplication;
    H2DDisplayDevice *display = application->getDisplayDevice();
    m_iDurationMs = durationMs;

    const bool loadedBackground = sm_loadPicture(m_background, application, background);
    const int backgroundWidth = m_background.isLoaded() ? m_background.getWidth() : 0;
    const int backgroundHeight = m_background.isLoaded() ? m_background.getHeight() : 0;
    HPoint where = { x, y };
    if (x == -1) {
        where.x = ((display ? display->getScreenWidth() : 0) - backgroundWidth) / 2;
    }
    if (y == -1) {
        where.y = ((display ? display->getScreenHeight() : 0) - backgroundHeight) / 2;
    }
    setPosition(where);
    setBackground(&m_background);

    const bool loadedButton = sm_loadPicture(m_buttonSprite, application, button);
    const bool loadedHighlight = sm_loadPicture(m_buttonHighlight, application, buttonHighlight);
    m_button.setSprites(&m_buttonSprite, buttonHighlight ? &m_buttonHighlight : &m_buttonSprite, nullptr);
    const int buttonWidth = m_buttonSprite.isLoaded() ? m_buttonSprite.getWidth() : 0;
    const int buttonHeight = m_buttonSprite.isLoaded() ? m_buttonSprite.getHeight() : 0;
    HPoint buttonAt = { buttonX, buttonY };
    if (buttonX == -1) {
        buttonAt.x = (backgroundWidth - buttonWidth) / 2;
    }
    if (buttonY == -1) {
        buttonAt.y = backgroundHeight - (buttonHeight * 3) / 2;
    }
    m_button.setPosition(buttonAt);
    addItem(&m_button);

    bool loadedBar = false;
    if (bar) {
        loadedBar = sm_loadPicture(m_bar, application, bar);
        const HPoint barAt = { barX, barY };
        m_progressBar.setPosition(barAt);
        m_progressBar.setSprite(&m_bar);
        addItem(&m_progressBar);
    }

    doModal(application, display, application->getEventQueue(), durationMs != 0 ? kiCheckIntervalMs : 0,
            application);

    if (loadedBackground) m_background.release();
    if (loadedBar) m_bar.release();
    if (loadedButton) m_buttonSprite.release();
    if (loadedHighlight) m_buttonHighlight.release();
    clearItems();
}

void QVApplication::messageDialog(const char *background, int x, int y,
                                  const char *button, const char *buttonHighlight,
                                  int buttonX, int buttonY,
                                  const char *bar, int barX, int barY, int durationMs)
{
    QVMessageDialog dialog(this);
    dialog.run(background, x, y, button, buttonHighlight, buttonX, buttonY, bar, barX, barY, durationMs);
}
