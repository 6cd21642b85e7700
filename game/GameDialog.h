#ifndef GAMEDIALOG_H
#define GAMEDIALOG_H

#include <cstdint>

#include "QVDialog.h"

// Base of the game's own dialogs: every activation clicks, and by default
// closes the dialog; idle ticks are paced like the game's own.
class GameDialog : public QVDialog {
public:
                        GameDialog();

    bool                onItemActivated(QVDialogItem *item) override;
    bool                handleEvent(const HEvent &event) override;

protected:
    // The interface click, when the dialog runs for an application.
    void                m_playClick();

private:
    void                m_paceIdleTick(uint64_t uTime);

    uint64_t            m_uLastIdleTick;        // stamp the last idle tick ended at
    bool                m_bIdleTicked;
};

#endif // GAMEDIALOG_H
