#include "GameDialog.h"

#include "GameApp.h"

void GameDialog::m_playClick()
{
    if (getApplication()) {
        playClickSound(getApplication());
    }
}

bool GameDialog::onItemActivated(QVDialogItem *)
{
    m_playClick();
    return true;
}
