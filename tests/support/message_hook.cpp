#include "message_hook.h"

#include "HMessageBox.h"

static ScopedMessageHook *s_pActive = nullptr;

ScopedMessageHook::ScopedMessageHook(int iAnswer)
    : m_iAnswer(iAnswer), m_pPrevious(getMessageBoxHook()), m_pPreviousScope(s_pActive)
{
    s_pActive = this;
    setMessageBoxHook(&ScopedMessageHook::sm_answer);
}

ScopedMessageHook::~ScopedMessageHook()
{
    setMessageBoxHook(m_pPrevious);
    s_pActive = m_pPreviousScope;
}

int ScopedMessageHook::sm_answer(uint32_t uType, const char *szTitle, const char *szText)
{
    if (!s_pActive) {
        return MB_RESULT_OK;
    }
    s_pActive->m_boxes.push_back({ uType, szTitle ? szTitle : "", szText ? szText : "" });
    return s_pActive->m_iAnswer;
}
