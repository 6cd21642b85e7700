#include "HConsoleBuffer.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "HLog.h"

HConsoleBuffer::HConsoleBuffer()
{
    clear();
}

void HConsoleBuffer::clear()
{
    memset(m_szLines, 0, sizeof(m_szLines));
    m_iCurrentLine = 0;
}

void HConsoleBuffer::printf(const char *szFormat, ...)
{
    // Too big for the stack of a deep call chain; the buffer is short-lived.
    char *pText = (char *)malloc(PRINTF_SIZE);
    if (!pText) {
        return;
    }
    va_list args;
    va_start(args, szFormat);
    if (!szFormat || vsnprintf(pText, PRINTF_SIZE, szFormat, args) < 0) {
        pText[0] = '\0';
    }
    va_end(args);

    // An empty piece (two line breaks in a row) ends the splitting; the log
    // still gets everything.
    const char *pCursor = pText;
    for (;;) {
        char szPiece[LINE_SIZE];
        size_t iLength = 0;
        while (*pCursor && *pCursor != '\n') {
            if (iLength + 1 < sizeof(szPiece)) {
                szPiece[iLength++] = *pCursor;
            }
            pCursor++;
        }
        szPiece[iLength] = '\0';
        const bool bLineEnds = (*pCursor == '\n');
        if (bLineEnds) {
            pCursor++;
        }
        if (iLength == 0) {
            break;
        }
        appendText(szPiece, bLineEnds);
    }

    // Every log line holds at most 1023 characters.
    if (strlen(pText) >= LOG_LINE_SIZE) {
        pText[LOG_LINE_SIZE - 1] = '\0';
    }
    outputLogLine(pText);
    free(pText);
}

void HConsoleBuffer::appendText(const char *szText, bool bLineEnds)
{
    if (!szText || !szText[0]) {
        return;
    }
    stringAppendBounded(m_szLines[m_iCurrentLine], szText, LINE_SIZE);
    if (!bLineEnds) {
        return;
    }
    if (m_iCurrentLine < MAX_LINES - 1) {
        m_iCurrentLine++;
        return;
    }
    // Full: the oldest line scrolls away and the last line is filled again,
    // so lines 0 to the index minus one stay the complete ones, newest last.
    memmove(m_szLines[0], m_szLines[1], sizeof(m_szLines[0]) * (MAX_LINES - 1));
    memset(m_szLines[MAX_LINES - 1], 0, sizeof(m_szLines[0]));
}

const char *HConsoleBuffer::getLine(int32_t iAge) const
{
    if (iAge < 0 || iAge >= m_iCurrentLine) {
        return nullptr;
    }
    return m_szLines[m_iCurrentLine - iAge - 1];
}
