#ifndef HLOG_H
#define HLOG_H

#include <stdint.h>

#include "HString.h"    // H_PRINTF_FORMAT

class HFile;

// Every function here formats into its own 1024-byte buffer: a message holds
// at most 1023 characters and longer text is cut.
enum { LOG_LINE_SIZE = 1024 };

// Log lines go to the log stream, when one is set, and are dropped otherwise.
void    logPrintf(const char *szFormat, ...) H_PRINTF_FORMAT(1, 2);
void    outputLogLine(const char *szText);
// The stream is not owned: whoever sets it opens it, clears it and closes it.
void    setLogStream(HFile *pFile);
// Writes the text as it is (no newline added) and flushes at once, so the
// trace is complete up to the last line if the program dies.
void    writeLogStream(const char *szText);

// Developer diagnostics: discarded without even formatting, so they are safe
// anywhere, the audio thread included.
void    errorPrintf(const char *szFormat, ...) H_PRINTF_FORMAT(1, 2);
void    tracePrintf(const char *szFormat, ...) H_PRINTF_FORMAT(1, 2);

// Boxes the user must answer (see HMessageBox.h); they return the chosen
// button's code.
int     alertBox(const char *szFormat, ...) H_PRINTF_FORMAT(1, 2);
int     messageBox(uint32_t uType, const char *szTitle, const char *szFormat, ...) H_PRINTF_FORMAT(3, 4);
// Shows a box only the first time in a run; every later call returns 0.
int     verifyFailed(const char *szFormat, ...) H_PRINTF_FORMAT(1, 2);

#endif // HLOG_H
