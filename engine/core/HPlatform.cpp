#include "HPlatform.h"
#include "HRegistry.h"
#include "HString.h"

#include <SDL.h>

#include <errno.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { BROWSER_TABLE_ROWS = 10 };

struct HBrowserRow {
    int32_t         iTextMode;      // 1: runs in the program's own terminal
    const char *    szProgram;      // whose presence on PATH selects the row
    const char *    szCommand;      // shell command; every %s is the address
};

// Tried in order. Rows 7 and 8 look for the text browser but run it in an
// xterm; rows 9 and 10 run it in our own terminal.
static const HBrowserRow s_browsers[BROWSER_TABLE_ROWS] = {
    { 0, "galeon",           "galeon %s &" },
    { 0, "opera",            "opera -page='%s' &" },
    { 0, "mozilla",          "mozilla %s &" },
    { 0, "gnome-moz-remote", "gnome-moz-remote --newwin %s" },
    { 0, "netscape",         "netscape -remote 'openURL(%s,new-window)' || netscape %s" },
    { 0, "NetPositive",      "NetPositive %s" },
    { 0, "links",            "xterm -T \"Web Browser\" -e links %s &" },
    { 0, "lynx",             "xterm -T \"Web Browser\" -e lynx %s &" },
    { 1, "links",            "links %s" },
    { 1, "lynx",             "lynx %s" },
};

static HApplicationNameHook s_pApplicationNameHook = nullptr;

char *getLoginName(char *pBuffer, size_t iSize)
{
    const struct passwd *pEntry = getpwuid(getuid());
    if (!pEntry || !pEntry->pw_name || !pEntry->pw_name[0] || iSize == 0) {
        return nullptr;
    }
    return stringCopyBounded(pBuffer, pEntry->pw_name, iSize);
}

uint64_t getMilliseconds()
{
    return (uint64_t)(uint32_t)SDL_GetTicks();
}

uint32_t elapsedMilliseconds(uint64_t uNow, uint64_t uSince)
{
    const uint32_t uSpan = (uint32_t)uNow - (uint32_t)uSince;
    return uSpan < 0x80000000u ? uSpan : 0;
}

uint64_t getSteadyMilliseconds()
{
    static uint64_t s_uLast = 0;
    static uint64_t s_uTotal = 0;
    const uint64_t uNow = getMilliseconds();
    s_uTotal += elapsedMilliseconds(uNow, s_uLast);
    s_uLast = uNow;
    return s_uTotal;
}

void sleepMilliseconds(uint32_t uMilliseconds)
{
    SDL_Delay(uMilliseconds);
}

int getPasteText(char *pBuffer, size_t iSize)
{
    (void)pBuffer;
    (void)iSize;
    return 0;
}

bool isProgramInPath(const char *szProgram)
{
    const char *szPath = getenv("PATH");
    if (!szPath || !szProgram || !szProgram[0]) {
        return false;
    }
    const char *szHome = getenv("HOME");
    char szCandidate[4096];
    const char *p = szPath;
    for (;;) {
        const char *szEnd = strchr(p, ':');
        const size_t iLength = szEnd ? (size_t)(szEnd - p) : strlen(p);
        int iUsed;
        // An empty element means the working directory; '~' the home folder.
        if (iLength == 0) {
            iUsed = snprintf(szCandidate, sizeof(szCandidate), "./%s", szProgram);
        } else if (p[0] == '~') {
            iUsed = snprintf(szCandidate, sizeof(szCandidate), "%s/%.*s/%s",
                             szHome ? szHome : ".", (int)(iLength - 1), p + 1, szProgram);
        } else {
            iUsed = snprintf(szCandidate, sizeof(szCandidate), "%.*s/%s", (int)iLength, p,
                             szProgram);
        }
        if (iUsed > 0 && (size_t)iUsed < sizeof(szCandidate)) {
            struct stat info;
            if (access(szCandidate, X_OK) == 0 && stat(szCandidate, &info) == 0 &&
                S_ISREG(info.st_mode)) {
                return true;
            }
        }
        if (!szEnd) {
            return false;
        }
        p = szEnd + 1;
    }
}

// Appends one character; false once the buffer is full (the NUL needs room).
static bool s_append(char *pBuffer, size_t iSize, size_t *piUsed, char c)
{
    if (*piUsed + 1 >= iSize) {
        return false;
    }
    pBuffer[(*piUsed)++] = c;
    return true;
}

bool formatBrowserCommand(char *pBuffer, size_t iSize, const char *szFormat,
                          const char *szAddress)
{
    if (!pBuffer || iSize == 0) {
        return false;
    }
    pBuffer[0] = '\0';
    size_t iUsed = 0;
    char cQuote = 0; // the shell's quoting where the format stands: 0, '\'' or '"'
    for (const char *f = szFormat; *f; f++) {
        if (f[0] == '%' && f[1] == 's') {
            f++;
            // Bare: wrap in single quotes. Inside single quotes: close, put an
            // escaped quote, reopen. Inside double quotes: escape the four
            // characters the shell still reads there.
            if (cQuote == 0 && !s_append(pBuffer, iSize, &iUsed, '\'')) {
                return false;
            }
            for (const char *a = szAddress; *a; a++) {
                bool bOk = true;
                if (cQuote != '"' && *a == '\'') {
                    bOk = s_append(pBuffer, iSize, &iUsed, '\'') &&
                          s_append(pBuffer, iSize, &iUsed, '\\') &&
                          s_append(pBuffer, iSize, &iUsed, '\'') &&
                          s_append(pBuffer, iSize, &iUsed, '\'');
                } else if (cQuote == '"' && strchr("\"\\$`", *a)) {
                    bOk = s_append(pBuffer, iSize, &iUsed, '\\') &&
                          s_append(pBuffer, iSize, &iUsed, *a);
                } else {
                    bOk = s_append(pBuffer, iSize, &iUsed, *a);
                }
                if (!bOk) {
                    pBuffer[0] = '\0';
                    return false;
                }
            }
            if (cQuote == 0 && !s_append(pBuffer, iSize, &iUsed, '\'')) {
                pBuffer[0] = '\0';
                return false;
            }
            continue;
        }
        if (f[0] == '%' && f[1] == '%') {
            f++;
        } else if (cQuote == 0 && (f[0] == '\'' || f[0] == '"')) {
            cQuote = f[0];
        } else if (cQuote != 0 && f[0] == cQuote) {
            cQuote = 0;
        }
        if (!s_append(pBuffer, iSize, &iUsed, *f)) {
            pBuffer[0] = '\0';
            return false;
        }
    }
    pBuffer[iUsed] = '\0';
    return true;
}

void launchBrowser(const char *szAddress)
{
    static char s_szCommand[BROWSER_COMMAND_SIZE];

    if (!szAddress) {
        szAddress = "";
    }
    SDL_Quit();

    const int iTextMode = getenv("DISPLAY") ? 0 : 1;
    const HBrowserRow *pRow = nullptr;
    for (int i = 0; i < BROWSER_TABLE_ROWS; i++) {
        if (s_browsers[i].iTextMode == iTextMode && isProgramInPath(s_browsers[i].szProgram)) {
            pRow = &s_browsers[i];
            break;
        }
    }

    bool bLaunched = false;
    // An address too long for the command buffer is refused, not cut.
    if (pRow && formatBrowserCommand(s_szCommand, sizeof(s_szCommand), pRow->szCommand,
                                     szAddress)) {
        bLaunched = system(s_szCommand) != -1;
    }
    if (!bLaunched) {
        fprintf(stderr, "You should be looking at [%s],\n but we can't launch a browser.\n",
                szAddress);
    }
    _exit(0);
}

void setApplicationNameHook(HApplicationNameHook pHook)
{
    s_pApplicationNameHook = pHook;
}

const char *getPlatformApplicationName()
{
    const char *szName = s_pApplicationNameHook ? s_pApplicationNameHook() : nullptr;
    return (szName && szName[0]) ? szName : "Gobstrel";
}

void setFullscreenPreference(int iValue)
{
    HRegistry *pRegistry = getRegistry();
    if (!pRegistry || !pRegistry->open(nullptr, "Quorvex", getPlatformApplicationName())) {
        printf("Failed to open registry. Can't change fullscreen state.\n");
        return;
    }
    // Stored as a 4-byte little-endian integer, as the game reads it.
    const uint32_t uValue = (uint32_t)iValue;
    const unsigned char bytes[4] = { (unsigned char)uValue, (unsigned char)(uValue >> 8),
                                     (unsigned char)(uValue >> 16), (unsigned char)(uValue >> 24) };
    // The file is written at close: a home we cannot write fails there, and
    // the preference has not changed either.
    const bool bStored = pRegistry->setBinary("Fullscreen", bytes, 4);
    if (!pRegistry->close() || !bStored) {
        printf("Failed to open registry. Can't change fullscreen state.\n");
    }
}

bool isSameFile(const char *szFirst, const char *szSecond)
{
    // Device and inode settle it whatever the paths: the resolved names, a
    // symbolic link or a hard link all come to the same pair.
    struct stat first;
    struct stat second;
    if (!szFirst || !szSecond || stat(szFirst, &first) != 0 || stat(szSecond, &second) != 0) {
        return false;
    }
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

const char *getFileReadProblem(const char *szPath)
{
    struct stat st;
    if (!szPath || !szPath[0]) {
        return "no name given";
    }
    if (stat(szPath, &st) != 0) {
        return strerror(errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return "not a regular file";
    }
    if (access(szPath, R_OK) != 0) {
        return strerror(errno);
    }
    return "";
}

const char *getFileIdentityProblem(const char *szPath)
{
    struct stat st;
    if (!szPath || !szPath[0] || stat(szPath, &st) == 0) {
        return "";
    }
    // A path through a plain file names nothing, as a missing one does.
    if (errno == ENOENT || errno == ENOTDIR) {
        return "";
    }
    return strerror(errno);
}
