#ifndef HMESSAGEBOX_H
#define HMESSAGEBOX_H

#include <stdint.h>

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

// Type word: the low four bits choose the button set; higher bits are passed
// through unread.
enum {
    MB_TYPE_OK                  = 0,
    MB_TYPE_OK_ALT              = 1,
    MB_TYPE_OKCANCEL            = 2,
    MB_TYPE_ABORTRETRYCANCEL    = 3,
    MB_TYPE_YESNOCANCEL         = 4,
    MB_TYPE_YESNO               = 5,
    MB_TYPE_RETRYCANCEL         = 6,
    MB_TYPE_MASK                = 0x0F,
    MB_TYPE_ERROR               = 0x31      // what error and warning boxes pass
};

// Result codes, found by the first letter of the chosen button.
enum {
    MB_RESULT_ABORT     = 1,    // 'A'
    MB_RESULT_CANCEL    = 2,    // 'C'
    MB_RESULT_IGNORE    = 3,    // 'I' (no button set offers it)
    MB_RESULT_YES       = 4,    // 'Y'
    MB_RESULT_NO        = 5,    // 'N'
    MB_RESULT_OK        = 6,    // 'O'
    MB_RESULT_RETRY     = 7     // 'R'
};

// Modal box: draws into SDL's video surface with SDL_ttf, or asks on the
// console when no window or font is available. Blocks until answered, except
// that a console at end of input answers with the first button at once.
// A box raised while another waits or while SDL's video is starting asks on
// the console.
int             showMessageBox(uint32_t uType, const char *szTitle, const char *szText);

// A request to end the program (the window's close button, SIGINT, SIGTERM)
// that reached a waiting box: the box answered with its first button and
// keeps the request for whoever reads input next. True once per request;
// until it is taken, every box answers at once on the console.
bool            takeMessageBoxQuit();

// The steps of showMessageBox, each usable on its own.
int             runMessageBox(uint32_t uType, const char *szTitle, const char *szText);
SDL_Surface *   renderMessageBox(uint32_t uType, const char *szTitle, const char *szText);
// Greedy word wrap at blanks. Cuts szText in place; returns a heap array of
// line pointers into it (release with free()) and the count, null when empty.
char **         wrapTextLines(TTF_Font *pFont, char *szText, int iWidth, int *pCount);
void            drawTextLine(SDL_Surface *pSurface, TTF_Font *pFont, const char *szText, int x, int y);
// Prints on standard output and reads standard input; an answer nobody typed
// (end of input, a quit) also leaves the title and text on standard error.
int             consoleMessageBox(uint32_t uType, const char *szTitle, const char *szText);

// When set, every box is answered by the hook instead (tests, unattended
// runs); null restores the real boxes.
typedef int (*HMessageBoxHook)(uint32_t uType, const char *szTitle, const char *szText);
void            setMessageBoxHook(HMessageBoxHook pHook);
HMessageBoxHook getMessageBoxHook();

#endif // HMESSAGEBOX_H
