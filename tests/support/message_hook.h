#ifndef MESSAGE_HOOK_H
#define MESSAGE_HOOK_H

#include <stdint.h>

#include <string>
#include <vector>

#include "HMessageBox.h"

// Answers every message box while it lives, without a window or a console,
// and records what each box showed. The hook set before comes back after.
struct RecordedMessageBox {
    uint32_t    uType;
    std::string title;
    std::string text;
};

class ScopedMessageHook {
public:
    explicit ScopedMessageHook(int iAnswer = MB_RESULT_OK);
    ~ScopedMessageHook();

    void setAnswer(int iAnswer) { m_iAnswer = iAnswer; }
    const std::vector<RecordedMessageBox> &boxes() const { return m_boxes; }
    void clear() { m_boxes.clear(); }

private:
    static int sm_answer(uint32_t uType, const char *szTitle, const char *szText);

    int m_iAnswer;
    HMessageBoxHook m_pPrevious;
    ScopedMessageHook *m_pPreviousScope;
    std::vector<RecordedMessageBox> m_boxes;
};

#endif
