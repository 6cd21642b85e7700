#ifndef HCONSOLEBUFFER_H
#define HCONSOLEBUFFER_H

#include <stdint.h>

#include "HString.h"    // H_PRINTF_FORMAT

// Scrolling text of console lines: the complete lines oldest first, then the
// line being filled. Once every line is in use the oldest scrolls away, so
// the newest lines are always kept.
class HConsoleBuffer {
public:
    enum {
        MAX_LINES       = 100,
        LINE_SIZE       = 256,      // 255 characters and the terminator
        PRINTF_SIZE     = 16000
    };

                        HConsoleBuffer();

    void                clear();
    // Formats, splits at line breaks into the buffer and logs the whole text.
    void                printf(const char *szFormat, ...) H_PRINTF_FORMAT(2, 3);
    // Adds text to the current line; bLineEnds completes it.
    void                appendText(const char *szText, bool bLineEnds);
    // The n-th most recent complete line (0 the newest), or null.
    const char *        getLine(int32_t iAge) const;

private:
    char                m_szLines[MAX_LINES][LINE_SIZE];
    int32_t             m_iCurrentLine;
};

#endif // HCONSOLEBUFFER_H
