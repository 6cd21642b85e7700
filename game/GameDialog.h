#ifndef GAMEDIALOG_H
#define GAMEDIALOG_H

#include "QVDialog.h"

// Base of the game's own dialogs: every activation clicks, and by default
// closes the dialog.
class GameDialog : public QVDialog {
public:
    bool                onItemActivated(QVDialogItem *item) override;

protected:
    // The interface click, when the dialog runs for an application.
    void                m_playClick();
};

#endif // GAMEDIALOG_H
