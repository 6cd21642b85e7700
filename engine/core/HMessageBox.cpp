#include "HMessageBox.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "SDL.h"
#include "SDL_ttf.h"

#include "HCommandLine.h"
#include "HSDLVideo.h"
#include "HString.h"

enum {
    MB_TEXT_SIZE    = 1024,
    MB_FONT_POINTS  = 12,
    MB_WINDOW_W     = 640,
    MB_WINDOW_H     = 480,
    MB_WINDOW_BPP   = 16
};

#define MB_FONT_NAME    "quorvex.ttf"

// Button names per set, chosen by the low four bits of the type word.
static const char *const s_buttonSets[][4] = {
    { "OK", nullptr },
    { "OK", nullptr },
    { "OK", "CANCEL", nullptr },
    { "ABORT", "RETRY", "CANCEL", nullptr },
    { "YES", "NO", "CANCEL", nullptr },
    { "YES", "NO", nullptr },
    { "RETRY", "CANCEL", nullptr }
};

// A button's code is found by its first letter.
static const struct {
    int iLetter;
    int iCode;
} s_resultTable[] = {
    { 'A', MB_RESULT_ABORT },
    { 'C', MB_RESULT_CANCEL },
    { 'I', MB_RESULT_IGNORE },
    { 'Y', MB_RESULT_YES },
    { 'N', MB_RESULT_NO },
    { 'O', MB_RESULT_OK },
    { 'R', MB_RESULT_RETRY },
    { -1, 0 }
};

static HMessageBoxHook s_pHook = nullptr;

// Set while showMessageBox runs on a window it opened itself: only that
// window may be closed before falling back to the console.
static bool s_bOwnVideo = false;

// Boxes under way; one raised meanwhile asks on the console.
static int s_iBoxDepth = 0;

// A request to end the program that ended a box, kept for the input.
static bool s_bQuitPending = false;

static const char *const *s_getButtons(uint32_t uType)
{
    const uint32_t uSet = uType & MB_TYPE_MASK;
    // Sets 7 to 15 do not exist: they get the plain "OK" box.
    if (uSet >= sizeof(s_buttonSets) / sizeof(s_buttonSets[0])) {
        return s_buttonSets[MB_TYPE_OK];
    }
    return s_buttonSets[uSet];
}

// Code of the button starting with that (upper-case) letter, or 0 when the
// set has no such button.
static int s_getButtonCode(const char *const *pButtons, int iLetter)
{
    for (int i = 0; pButtons[i]; i++) {
        if (pButtons[i][0] != iLetter) {
            continue;
        }
        for (int j = 0; s_resultTable[j].iLetter != -1; j++) {
            if (s_resultTable[j].iLetter == iLetter) {
                return s_resultTable[j].iCode;
            }
        }
    }
    return 0;
}

static const char *s_orEmpty(const char *szText)
{
    return szText ? szText : "";
}

void setMessageBoxHook(HMessageBoxHook pHook)
{
    s_pHook = pHook;
}

HMessageBoxHook getMessageBoxHook()
{
    return s_pHook;
}

bool takeMessageBoxQuit()
{
    const bool bPending = s_bQuitPending;
    s_bQuitPending = false;
    return bPending;
}

static int s_showBox(uint32_t uType, const char *szTitle, const char *szText);

int showMessageBox(uint32_t uType, const char *szTitle, const char *szText)
{
    if (s_pHook) {
        return s_pHook(uType, szTitle, szText);
    }
    // No second box on SDL while one waits or while SDL's video is starting
    // (a driver that ends the process runs the exit handlers, and their
    // boxes, from inside its start-up); and none waits once the user asked
    // to end the program.
    if (s_iBoxDepth > 0 || isSDLVideoStarting() || s_bQuitPending) {
        return consoleMessageBox(uType, szTitle, szText);
    }
    s_iBoxDepth++;
    const int iCode = s_showBox(uType, szTitle, szText);
    s_iBoxDepth--;
    return iCode;
}

static int s_showBox(uint32_t uType, const char *szTitle, const char *szText)
{
    // A box shown before the application has a window opens one of its own
    // and closes it again afterwards.
    const bool bHadVideo = SDL_WasInit(SDL_INIT_VIDEO) != 0;
    bool bStartedTTF = false;
    if (!bHadVideo) {
        if (startSDLVideo(false) < 0) {
            return consoleMessageBox(uType, szTitle, szText);
        }
        bool bReady = SDL_SetVideoMode(MB_WINDOW_W, MB_WINDOW_H, MB_WINDOW_BPP, 0) != nullptr;
        if (bReady && !TTF_WasInit()) {
            bReady = TTF_Init() == 0;
            bStartedTTF = bReady;
        }
        if (!bReady) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return consoleMessageBox(uType, szTitle, szText);
        }
    }

    const int iCursor = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(SDL_DISABLE);

    const bool bOuterOwnVideo = s_bOwnVideo;
    s_bOwnVideo = !bHadVideo;
    const int iCode = runMessageBox(uType, szTitle, szText);
    s_bOwnVideo = bOuterOwnVideo;

    // The console fallback may already have closed the box's own window.
    if (SDL_WasInit(SDL_INIT_VIDEO)) {
        SDL_ShowCursor(iCursor);
    }
    if (bStartedTTF) {
        TTF_Quit();
    }
    if (!bHadVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    return iCode;
}

int runMessageBox(uint32_t uType, const char *szTitle, const char *szText)
{
    const char *const *pButtons = s_getButtons(uType);

    // No window or no font: ask on the console. A window the box opened for
    // itself is closed first; the application's own video is left running,
    // since shutting it down would crash the application's next frame.
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    SDL_Surface *pBox = pScreen ? renderMessageBox(uType, szTitle, szText) : nullptr;
    if (!pBox) {
        if (s_bOwnVideo) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        return consoleMessageBox(uType, szTitle, szText);
    }

    // SDL refuses blits onto a locked screen, and the display device keeps a
    // screen that must be locked locked between its frames: undo its locks
    // while the box shows and put them back after.
    const Uint32 uLocks = SDL_MUSTLOCK(pScreen) ? pScreen->locked : 0;
    for (Uint32 i = 0; i < uLocks; i++) {
        SDL_UnlockSurface(pScreen);
    }

    const int iFirstCode = s_getButtonCode(pButtons, pButtons[0][0]);
    int iCode = 0;
    while (iCode == 0) {
        SDL_BlitSurface(pBox, nullptr, pScreen, nullptr);
        SDL_Flip(pScreen);

        SDL_Event event;
        if (!SDL_WaitEvent(&event)) {
            // The event queue is gone: nobody can answer any more.
            iCode = iFirstCode;
            break;
        }
        if (event.type == SDL_QUIT) {
            // The close button, or SIGINT or SIGTERM through SDL: the first
            // button answers and the request goes on to the program.
            s_bQuitPending = true;
            iCode = iFirstCode;
            break;
        }
        if (event.type != SDL_KEYDOWN) {
            continue;
        }
        // Only ASCII symbols have a letter; the rest (arrows, world keys)
        // would index past toupper's table.
        const int iSym = (int)event.key.keysym.sym;
        if (iSym > 0 && iSym < 128) {
            iCode = s_getButtonCode(pButtons, toupper(iSym));
        }
    }
    for (Uint32 i = 0; i < uLocks; i++) {
        SDL_LockSurface(pScreen);
    }
    SDL_FreeSurface(pBox);
    return iCode;
}

void drawTextLine(SDL_Surface *pSurface, TTF_Font *pFont, const char *szText, int x, int y)
{
    if (!pSurface || !pFont || !szText || !szText[0]) {
        return;
    }
    SDL_Color white = { 255, 255, 255, 0 };
    SDL_Surface *pLine = TTF_RenderText_Solid(pFont, szText, white);
    if (!pLine) {
        return;
    }
    SDL_Rect dest;
    dest.x = (Sint16)x;
    dest.y = (Sint16)y;
    dest.w = 0;
    dest.h = 0;
    SDL_BlitSurface(pLine, nullptr, pSurface, &dest);
    SDL_FreeSurface(pLine);
}

// Width and height of one line of text; 0 when it cannot be measured.
static void s_measureText(TTF_Font *pFont, const char *szText, int *pWidth, int *pHeight)
{
    int w = 0, h = 0;
    if (TTF_SizeText(pFont, szText, &w, &h) < 0) {
        w = 0;
        h = 0;
    }
    if (pWidth) {
        *pWidth = w;
    }
    if (pHeight) {
        *pHeight = h;
    }
}

char **wrapTextLines(TTF_Font *pFont, char *szText, int iWidth, int *pCount)
{
    if (pCount) {
        *pCount = 0;
    }
    if (!pFont || !szText || !szText[0] || !pCount) {
        return nullptr;
    }
    // No more lines than words, and no more words than half the text plus one.
    const size_t iMaxLines = strlen(szText) / 2 + 1;
    char **pLines = (char **)malloc(iMaxLines * sizeof(char *));
    if (!pLines) {
        return nullptr;
    }

    int iCount = 0;
    char *pLineStart = szText;
    char *pLastWordEnd = nullptr;   // end of the line's last word so far
    char *p = szText;
    for (;;) {
        while (*p == ' ') {
            p++;
        }
        if (!*p) {
            break;
        }
        char *pWordStart = p;
        while (*p && *p != ' ') {
            p++;
        }
        char *pWordEnd = p;

        const char cSaved = *pWordEnd;
        *pWordEnd = '\0';
        int iLineWidth = 0;
        s_measureText(pFont, pLineStart, &iLineWidth, nullptr);
        *pWordEnd = cSaved;

        if (iLineWidth > iWidth && pLastWordEnd) {
            // The blank after the previous word ends the line; a word that is
            // too wide on its own still stands alone on the next one.
            *pLastWordEnd = '\0';
            pLines[iCount++] = pLineStart;
            pLineStart = pWordStart;
        }
        pLastWordEnd = pWordEnd;
    }
    if (pLastWordEnd) {
        *pLastWordEnd = '\0';      // trailing blanks add nothing
        pLines[iCount++] = pLineStart;
    }
    if (iCount == 0) {
        free(pLines);
        return nullptr;
    }
    *pCount = iCount;
    return pLines;
}

// "YES, NO, CANCEL (type 'Y', 'N', 'C')"
static void s_buildWindowPrompt(const char *const *pButtons, char *pBuffer, size_t iSize)
{
    pBuffer[0] = '\0';
    for (int i = 0; pButtons[i]; i++) {
        if (i > 0) {
            stringAppendBounded(pBuffer, ", ", iSize);
        }
        stringAppendBounded(pBuffer, pButtons[i], iSize);
    }
    stringAppendBounded(pBuffer, " (type ", iSize);
    for (int i = 0; pButtons[i]; i++) {
        char szLetter[8];
        stringPrintf(szLetter, sizeof(szLetter), "%s'%c'", i > 0 ? ", " : "", pButtons[i][0]);
        stringAppendBounded(pBuffer, szLetter, iSize);
    }
    stringAppendBounded(pBuffer, ")", iSize);
}

SDL_Surface *renderMessageBox(uint32_t uType, const char *szTitle, const char *szText)
{
    SDL_Surface *pScreen = SDL_GetVideoSurface();
    if (!pScreen) {
        return nullptr;
    }
    const bool bTTFWasUp = TTF_WasInit() != 0;
    if (!bTTFWasUp && TTF_Init() < 0) {
        return nullptr;
    }

    char szPath[MB_TEXT_SIZE];
    const char *szResources = getResourcePath();
    stringPrintf(szPath, sizeof(szPath), "%s%s", s_orEmpty(szResources), MB_FONT_NAME);
    TTF_Font *pFont = TTF_OpenFont(szPath, MB_FONT_POINTS);
    SDL_Surface *pDraw = nullptr;
    if (pFont) {
        pDraw = SDL_CreateRGBSurface(SDL_SWSURFACE, pScreen->w, pScreen->h, 16, 0, 0, 0, 0);
    }
    if (!pDraw) {
        if (pFont) {
            TTF_CloseFont(pFont);
        }
        if (!bTTFWasUp) {
            TTF_Quit();
        }
        return nullptr;
    }
    SDL_FillRect(pDraw, nullptr, SDL_MapRGB(pDraw->format, 0, 0, 0));
    const int iWidth = pDraw->w;
    const int iHeight = pDraw->h;

    // Title centred at the top.
    int iTextW = 0, iTextH = 0;
    s_measureText(pFont, s_orEmpty(szTitle), &iTextW, nullptr);
    drawTextLine(pDraw, pFont, s_orEmpty(szTitle), (iWidth - iTextW) / 2, 0);

    // Text wrapped to three quarters of the width, centred as a block.
    char szBody[MB_TEXT_SIZE];
    stringCopyBounded(szBody, s_orEmpty(szText), sizeof(szBody));
    int iLineCount = 0;
    char **pLines = wrapTextLines(pFont, szBody, iWidth * 3 / 4, &iLineCount);
    if (pLines) {
        int iLineH = 0;
        s_measureText(pFont, pLines[0], nullptr, &iLineH);
        int y = (iHeight - iLineCount * iLineH) / 2;
        for (int i = 0; i < iLineCount; i++) {
            s_measureText(pFont, pLines[i], &iTextW, &iTextH);
            drawTextLine(pDraw, pFont, pLines[i], (iWidth - iTextW) / 2, y);
            y += iTextH;
        }
        free(pLines);
    }

    // The prompt centred at the bottom.
    char szPrompt[MB_TEXT_SIZE];
    s_buildWindowPrompt(s_getButtons(uType), szPrompt, sizeof(szPrompt));
    s_measureText(pFont, szPrompt, &iTextW, &iTextH);
    drawTextLine(pDraw, pFont, szPrompt, (iWidth - iTextW) / 2, iHeight - iTextH);

    SDL_Surface *pBox = SDL_ConvertSurface(pDraw, pScreen->format, SDL_SWSURFACE);
    SDL_FreeSurface(pDraw);
    TTF_CloseFont(pFont);
    if (!bTTFWasUp) {
        TTF_Quit();
    }
    return pBox;
}

static void s_printConsolePrompt(const char *const *pButtons)
{
    for (int i = 0; pButtons[i]; i++) {
        printf("%s ", pButtons[i]);
    }
    printf(" (type '%c'", pButtons[0][0]);
    for (int i = 1; pButtons[i]; i++) {
        printf(", '%c'", pButtons[i][0]);
    }
    printf(") : ");
    fflush(stdout);
}

int consoleMessageBox(uint32_t uType, const char *szTitle, const char *szText)
{
    const char *const *pButtons = s_getButtons(uType);
    const char *szShownTitle = s_orEmpty(szTitle);
    const size_t iTitleLength = strlen(szShownTitle);

    // The prompt must be out before the read blocks.
    setvbuf(stdout, nullptr, _IONBF, 0);

    printf("\n\n+-");
    for (size_t i = 0; i < iTitleLength; i++) {
        putchar('-');
    }
    printf("-+\n| %s%s |\n+-", "", szShownTitle);
    for (size_t i = 0; i < iTitleLength; i++) {
        putchar('-');
    }
    printf("-+\n%s\n\n", s_orEmpty(szText));

    int iCode = 0;
    bool bUnanswered = false;
    while (iCode == 0) {
        s_printConsolePrompt(pButtons);

        // End of input (or a closed input, or a signal that interrupts the
        // read) answers with the first button, so scripts and CI never wait
        // on a box; so does a request to end the program.
        int iLetter = s_bQuitPending ? EOF : getchar();
        if (iLetter == EOF || iLetter == '\n' || iLetter == '\r') {
            bUnanswered = iLetter == EOF;
            iLetter = pButtons[0][0];
        } else {
            iLetter = toupper(iLetter);
            int c;
            do {
                c = getchar();
            } while (c != EOF && c != '\n' && c != '\r');
        }
        iCode = s_getButtonCode(pButtons, iLetter);
    }
    if (bUnanswered) {
        // Nobody answered: the message also goes where logs are kept, on a
        // line of its own after the prompt.
        fprintf(stderr, "\n%s: %s\n", szShownTitle, s_orEmpty(szText));
    }
    return iCode;
}
