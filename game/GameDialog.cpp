#include "GameDialog.h"

#include "GameApp.h"
#include "HEvent.h"
#include "HPlatform.h"

GameDialog::GameDialog()
    : m_uLastIdleTick(0), m_bIdleTicked(false)
{
}

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

bool GameDialog::handleEvent(const HEvent &event)
{
    if (event.m_iType == ET_TIMESTAMP) {
        m_paceIdleTick(event.getTime());
    }
    return QVDialog::handleEvent(event);
}

// A dialog waiting for the player would otherwise take an idle tick every
// millisecond, and the wake-ups alone cost several percent of a core. Ticks
// closer than the game's idle step sleep the rest of it; the time stamps
// decide, so a replayed journal with ticks far apart never sleeps.
void GameDialog::m_paceIdleTick(uint64_t uTime)
{
    const uint32_t uStep = elapsedMilliseconds(uTime, m_uLastIdleTick);
    // A clock that stepped back further than one pacing step starts anew.
    const bool bSteppedBack = elapsedMilliseconds(m_uLastIdleTick, uTime) > IDLE_TICK_MS;
    if (!m_bIdleTicked || uStep >= IDLE_TICK_MS || bSteppedBack) {
        m_uLastIdleTick = uTime;
        m_bIdleTicked = true;
        return;
    }
    sleepMilliseconds(IDLE_TICK_MS - uStep);
    m_uLastIdleTick += IDLE_TICK_MS;
}
