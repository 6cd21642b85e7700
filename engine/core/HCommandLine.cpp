#include "HCommandLine.h"
#include "HPlatform.h"
#include "HString.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char s_szCommandLine[KEPT_STRING_SIZE];
static char s_szResourcePath[KEPT_STRING_SIZE];

static const char s_szUsage[] =
    "%s\n"
    " A sweet-shop sliding puzzle by Quorvex.\n"
    " https://www.quorvex.example/\n"
    "\n"
    "Options:\n"
    "   --help            Print this information and exit.\n"
    "   --nosound         Don't play any sound/music.\n"
    "   --swcursor        Use the pretty software cursor (may be slower).\n"
    "   --fullscreen      Force fullscreen mode.\n"
    "   --windowed        Force windowed mode.\n"
    "\n";

static bool s_isOption(const char *szArgument, const char *szName)
{
    char szOne[32];
    char szTwo[32];
    stringPrintf(szOne, sizeof(szOne), "-%s", szName);
    stringPrintf(szTwo, sizeof(szTwo), "--%s", szName);
    return stringCompareNoCase(szArgument, szOne) == 0 ||
           stringCompareNoCase(szArgument, szTwo) == 0;
}

// Appends as much of the text as fits; the command string is cut silently.
static void s_appendText(char *pBuffer, size_t iSize, size_t *piUsed, const char *szText)
{
    while (*szText && *piUsed + 1 < iSize) {
        pBuffer[(*piUsed)++] = *szText++;
    }
    pBuffer[*piUsed] = '\0';
}

// Appends a value as one token of the command string: as it is when it
// can be, else quoted, so that a file name holding blanks or ';' (or
// nothing) still reaches its variable whole.
static void s_appendValue(char *pBuffer, size_t iSize, size_t *piUsed, const char *szValue)
{
    if (szValue[0] != '\0' && !strpbrk(szValue, " ;\"")) {
        s_appendText(pBuffer, iSize, piUsed, szValue);
        return;
    }
    s_appendText(pBuffer, iSize, piUsed, "\"");
    for (const char *p = szValue; *p; p++) {
        const char szChar[3] = { '\\', *p, '\0' };
        s_appendText(pBuffer, iSize, piUsed, (*p == '"' || *p == '\\') ? szChar : szChar + 1);
    }
    s_appendText(pBuffer, iSize, piUsed, "\"");
}

bool parseArguments(char *pBuffer, size_t iSize, int argc, char **argv)
{
    bool bSound = true;
    bool bSoftwareCursor = false;
    bool bTrace = false;
    bool bJournal = false;
    const char *szDemoFile = nullptr;

    for (int i = 1; argv && i < argc; i++) {
        const char *szArgument = argv[i];
        if (!szArgument) {
            continue;
        }
        // "-help" with one dash is not the help option.
        if (stringCompareNoCase(szArgument, "-h") == 0 ||
            stringCompareNoCase(szArgument, "--help") == 0) {
            printUsage();
        } else if (s_isOption(szArgument, "journal")) {
            bJournal = true;
        } else if (s_isOption(szArgument, "fullscreen")) {
            setFullscreenPreference(1);
        } else if (s_isOption(szArgument, "windowed")) {
            setFullscreenPreference(0);
        } else if (s_isOption(szArgument, "demo")) {
            if (i + 1 >= argc || !argv[i + 1]) {
                printf("Failed to specify demo file, e.g. -demo demo.dem\n");
                fflush(stdout);
                exit(USAGE_EXIT_STATUS);
            }
            szDemoFile = argv[++i];
        } else if (s_isOption(szArgument, "trace")) {
            bTrace = true;
        } else if (s_isOption(szArgument, "swcursor")) {
            bSoftwareCursor = true;
        } else if (s_isOption(szArgument, "nosound")) {
            bSound = false;
        }
    }

    if (!pBuffer || iSize == 0) {
        return false;
    }
    size_t iUsed = 0;
    pBuffer[0] = '\0';
    if (!bSound) {
        s_appendText(pBuffer, iSize, &iUsed, "+set c_soundDriver null ");
    }
    if (!bSoftwareCursor) {
        s_appendText(pBuffer, iSize, &iUsed, "+set qv_spriteCursor 0 ");
    }
    if (szDemoFile) {
        s_appendText(pBuffer, iSize, &iUsed, "+set qv_demoFile ");
        s_appendValue(pBuffer, iSize, &iUsed, szDemoFile);
        s_appendText(pBuffer, iSize, &iUsed, " ");
    }
    if (bTrace) {
        s_appendText(pBuffer, iSize, &iUsed, "+set qv_trace 1 ");
    }
    if (bJournal) {
        s_appendText(pBuffer, iSize, &iUsed, "+set qv_journal 1 ");
    }
    return true;
}

void formatUsage(char *pBuffer, size_t iSize, const char *szApplicationName)
{
    if (!pBuffer || iSize == 0) {
        return;
    }
    // snprintf cuts and terminates; a failure leaves an empty text.
    if (snprintf(pBuffer, iSize, s_szUsage, szApplicationName ? szApplicationName : "") < 0) {
        pBuffer[0] = '\0';
    }
}

void printUsage()
{
    char szText[1024];
    setvbuf(stdout, nullptr, _IONBF, 0);
    formatUsage(szText, sizeof(szText), getPlatformApplicationName());
    fputs(szText, stdout);
    exit(USAGE_EXIT_STATUS);
}

char *getEnvironmentCopy(const char *szName)
{
    const char *szValue = szName ? getenv(szName) : nullptr;
    return szValue ? strdup(szValue) : nullptr;
}

// realpath into a work buffer; a heap copy of the result or null.
static char *s_resolve(const char *szPath)
{
    char szResolved[PATH_MAX > PATH_WORK_SIZE ? PATH_MAX : PATH_WORK_SIZE];
    if (!realpath(szPath, szResolved)) {
        return nullptr;
    }
    return strdup(szResolved);
}

char *getExecutablePath(const char *szProgram)
{
    if (!szProgram || !szProgram[0]) {
        return nullptr;
    }
    if (strchr(szProgram, '/')) {
        return s_resolve(szProgram);
    }

    char *szPath = getEnvironmentCopy("PATH");
    if (!szPath) {
        // No PATH to search: take the program as living in the working
        // directory, so its parent still holds the resources.
        char *szDirectory = s_resolve(".");
        if (!szDirectory) {
            return nullptr;
        }
        const size_t iLength = strlen(szDirectory) + 1 + strlen(szProgram) + 1;
        char *szResult = (char *)malloc(iLength);
        if (szResult) {
            snprintf(szResult, iLength, "%s%s%s", szDirectory,
                     strcmp(szDirectory, "/") == 0 ? "" : "/", szProgram);
        }
        free(szDirectory);
        return szResult;
    }

    char *szHome = getEnvironmentCopy("HOME");
    char *szResult = nullptr;
    char szCandidate[PATH_WORK_SIZE];
    char *pElement = szPath;
    while (!szResult && pElement) {
        char *pEnd = strchr(pElement, ':');
        if (pEnd) {
            *pEnd = '\0';
        }
        int iUsed;
        if (pElement[0] == '~') {
            iUsed = snprintf(szCandidate, sizeof(szCandidate), "%s/%s", szHome ? szHome : ".",
                             pElement + 1);
        } else {
            iUsed = snprintf(szCandidate, sizeof(szCandidate), "%s", pElement);
        }
        if (iUsed >= 0 && (size_t)iUsed < sizeof(szCandidate)) {
            // An empty element is the working directory: the bare name.
            const size_t iLength = strlen(szCandidate);
            if (iLength > 0 && szCandidate[iLength - 1] != '/') {
                stringCopyBounded(szCandidate + iLength, "/", sizeof(szCandidate) - iLength);
            }
            const size_t iHave = strlen(szCandidate);
            if (iHave + strlen(szProgram) < sizeof(szCandidate)) {
                stringCopyBounded(szCandidate + iHave, szProgram, sizeof(szCandidate) - iHave);
                char *szResolved = s_resolve(szCandidate);
                if (szResolved && access(szResolved, X_OK) == 0) {
                    szResult = szResolved;
                } else {
                    free(szResolved);
                }
            }
        }
        pElement = pEnd ? pEnd + 1 : nullptr;
    }
    free(szHome);
    free(szPath);
    return szResult;
}

void getResourceDirectory(char *pBuffer, size_t iSize, const char *szProgram)
{
    if (!pBuffer || iSize == 0) {
        return;
    }
    pBuffer[0] = '\0';
    char *szPath = getExecutablePath(szProgram);
    if (szPath) {
        stringCopyBounded(pBuffer, szPath, iSize);
        free(szPath);
    }
    // Drop the program's name, then the directory holding it.
    for (int iCut = 0; iCut < 2; iCut++) {
        char *pSlash = strrchr(pBuffer, '/');
        if (pSlash) {
            *pSlash = '\0';
        } else {
            pBuffer[0] = '\0';
        }
    }
    const size_t iLength = strlen(pBuffer);
    stringCopyBounded(pBuffer + iLength, "/Resources/", iSize - iLength);
}

void setCommandLine(const char *szText)
{
    if (szText) {
        stringCopyBounded(s_szCommandLine, szText, sizeof(s_szCommandLine));
    }
}

const char *getCommandLine()
{
    return s_szCommandLine;
}

void setResourcePath(const char *szText)
{
    if (szText) {
        stringCopyBounded(s_szResourcePath, szText, sizeof(s_szResourcePath));
    }
}

const char *getResourcePath()
{
    return s_szResourcePath;
}
