#include "QVPictureDialog.h"

#include "HEvent.h"
#include "HString.h"
#include "QVApplication.h"

QVPictureDialog::QVPictureDialog(int32_t pageCount)
    : m_pPages(nullptr), m_iPageCount(pageCount > 0 ? pageCount : 0), m_iCurrentPage(0),
      m_pPageLoaded(nullptr)
{
    if (m_iPageCount > 0) {
        m_pPages = new QVSprite[m_iPageCount];
        m_pPageLoaded = new bool[m_iPageCount]();
    }
}

QVPictureDialog::~QVPictureDialog()
{
    delete[] m_pPages;
    delete[] m_pPageLoaded;
}

bool QVPictureDialog::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_QUIT) {
        return true;
    }
    return QVDialog::handleEvent(event);
}

bool QVPictureDialog::onItemActivated(QVDialogItem *item)
{
    if (item == &m_closeButton) {
        return true;
    }
    if (item == &m_nextButton) {
        m_iCurrentPage++;
    } else if (item == &m_previousButton) {
        m_iCurrentPage--;
    }
    clampValue(m_iCurrentPage, 0, m_iPageCount - 1);
    m_previousButton.setEnabled(m_iCurrentPage != 0);
    m_nextButton.setEnabled(m_iCurrentPage != m_iPageCount - 1);
    // Pages may differ in size: what a larger page covered must be redrawn
    // too, or its edges would stay on the screen.
    invalidate(m_rect);
    setBackground(&m_pPages[m_iCurrentPage]);
    invalidate(m_rect);
    return false;
}

void QVPictureDialog::run(QVApplication *application, int x, int y, const char *close,
                          const char *closeHighlight, const char *next, const char *nextHighlight,
                          const char *previous, const char *previousHighlight,
                          const char *const *pages)
{
    for (int32_t i = 0; i < m_iPageCount; i++) {
        m_pPageLoaded[i] = sm_loadPicture(m_pPages[i], application, pages[i]);
    }
    const HPoint where = { x, y };
    setPosition(where);
    setBackground(&m_pPages[0]);

    bool loaded[6];
    loaded[0] = sm_loadPicture(m_close, application, close);
    loaded[1] = sm_loadPicture(m_closeHighlight, application, closeHighlight);
    loaded[2] = sm_loadPicture(m_next, application, next);
    loaded[3] = sm_loadPicture(m_nextHighlight, application, nextHighlight);
    loaded[4] = sm_loadPicture(m_previous, application, previous);
    loaded[5] = sm_loadPicture(m_previousHighlight, application, previousHighlight);

    const int pageWidth = m_pPages[0].isLoaded() ? m_pPages[0].getWidth() : 0;
    const int pageHeight = m_pPages[0].isLoaded() ? m_pPages[0].getHeight() : 0;
    const int closeHeight = m_close.isLoaded() ? m_close.getHeight() : 0;
    const int previousWidth = m_previous.isLoaded() ? m_previous.getWidth() : 0;
    const int previousHeight = m_previous.isLoaded() ? m_previous.getHeight() : 0;
    const int nextHeight = m_next.isLoaded() ? m_next.getHeight() : 0;

    // An unnamed highlight shows the plain picture in both states.
    m_closeButton.setSprites(&m_close, closeHighlight ? &m_closeHighlight : &m_close, nullptr);
    m_closeButton.setPosition(HPoint{ pageWidth / 4, pageHeight - (closeHeight * 5) / 4 });
    m_previousButton.setSprites(&m_previous, previousHighlight ? &m_previousHighlight : &m_previous, nullptr);
    m_previousButton.setPosition(HPoint{ (2 * pageWidth) / 3, pageHeight - (previousHeight * 3) / 2 });
    m_nextButton.setSprites(&m_next, nextHighlight ? &m_nextHighlight : &m_next, nullptr);
    m_nextButton.setPosition(HPoint{ (2 * pageWidth) / 3 + 2 * previousWidth, pageHeight - (nextHeight * 3) / 2 });

    m_previousButton.setEnabled(false);
    if (m_iPageCount == 1) {
        m_nextButton.setEnabled(false);
    }
    addItem(&m_closeButton);
    addItem(&m_previousButton);
    addItem(&m_nextButton);

    doModal(application, application->getDisplayDevice(), application->getEventQueue(), 0, application);

    for (int32_t i = 0; i < m_iPageCount; i++) {
        if (m_pPageLoaded[i]) {
            m_pPages[i].release();
        }
    }
    QVSprite *const buttons[6] = { &m_close, &m_closeHighlight, &m_next, &m_nextHighlight,
                                   &m_previous, &m_previousHighlight };
    for (int i = 0; i < 6; i++) {
        if (loaded[i]) {
            buttons[i]->release();
        }
    }
    clearItems();
}

bool QVApplication::pictureDialog(int x, int y, const char *close, const char *closeHighlight,
                                  const char *next, const char *nextHighlight,
                                  const char *previous, const char *previousHighlight,
                                  const char *const *pages, int pageCount)
{
    // Without a page there is nothing to show and no background to stand on.
    if (!pages || pageCount < 1) {
        return false;
    }
    QVPictureDialog dialog(pageCount);
    dialog.run(this, x, y, close, closeHighlight, next, nextHighlight, previous, previousHighlight, pages);
    return true;
}
