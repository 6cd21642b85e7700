#include "HLog.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "HFile.h"
#include "HMessageBox.h"

static HFile *s_pLogStream = nullptr;     // not owned
static bool s_bVerifyFailed = false;

// vsnprintf into a 1024-byte message; a failed format gives an empty one.
static void s_formatMessage(char *pBuffer, const char *szFormat, va_list args)
{
    if (!szFormat || vsnprintf(pBuffer, LOG_LINE_SIZE, szFormat, args) < 0) {
        pBuffer[0] = '\0';
    }
}

void logPrintf(const char *szFormat, ...)
{
    char szLine[LOG_LINE_SIZE];
    va_list args;
    va_start(args, szFormat);
    s_formatMessage(szLine, szFormat, args);
    va_end(args);
    outputLogLine(szLine);
}

void outputLogLine(const char *szText)
{
    writeLogStream(szText);
}

void setLogStream(HFile *pFile)
{
    s_pLogStream = pFile;
}

void writeLogStream(const char *szText)
{
    if (!s_pLogStream || !szText) {
        return;
    }
    // Every line goes through the same bound, whoever calls.
    const size_t iLength = strnlen(szText, LOG_LINE_SIZE - 1);
    // Failures of the stream are ignored: logging must never stop the game.
    s_pLogStream->write(szText, (int32_t)iLength);
    s_pLogStream->flush();
}

void errorPrintf(const char *, ...)
{
}

void tracePrintf(const char *, ...)
{
}

int alertBox(const char *szFormat, ...)
{
    char szText[LOG_LINE_SIZE];
    va_list args;
    va_start(args, szFormat);
    s_formatMessage(szText, szFormat, args);
    va_end(args);
    return showMessageBox(MB_TYPE_OK, "Alert", szText);
}

int messageBox(uint32_t uType, const char *szTitle, const char *szFormat, ...)
{
    char szText[LOG_LINE_SIZE];
    va_list args;
    va_start(args, szFormat);
    s_formatMessage(szText, szFormat, args);
    va_end(args);
    return showMessageBox(uType, szTitle, szText);
}

int verifyFailed(const char *szFormat, ...)
{
    if (s_bVerifyFailed) {
        return 0;
    }
    s_bVerifyFailed = true;

    char szText[LOG_LINE_SIZE];
    va_list args;
    va_start(args, szFormat);
    s_formatMessage(szText, szFormat, args);
    va_end(args);
    return showMessageBox(MB_TYPE_OK, "Verify Failed", szText);
}
