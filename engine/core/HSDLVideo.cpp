#include "HSDLVideo.h"

#include <stdlib.h>

#include "SDL.h"

static bool s_bStarting = false;

int startSDLVideo(bool bParachute)
{
    // An empty name chooses nothing: SDL would find no driver by it.
    const char *szChosen = getenv("SDL_VIDEODRIVER");
    const bool bWasSet = szChosen != nullptr;
    const bool bChosen = bWasSet && szChosen[0];
    if (!bChosen) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    s_bStarting = true;
    const int iResult = bParachute ? SDL_Init(SDL_INIT_VIDEO) : SDL_InitSubSystem(SDL_INIT_VIDEO);
    s_bStarting = false;
    if (iResult < 0 && !bChosen) {
        // SDL only says it found no driver; say which display was missing.
        const char *szDisplay = getenv("DISPLAY");
        if (szDisplay && szDisplay[0]) {
            SDL_SetError("cannot open the X display \"%s\"", szDisplay);
        } else {
            SDL_SetError("no X display (DISPLAY is not set)");
        }
    }
    if (!bChosen) {
        if (bWasSet) {
            setenv("SDL_VIDEODRIVER", "", 1);
        } else {
            unsetenv("SDL_VIDEODRIVER");
        }
    }
    return iResult;
}

bool isSDLVideoStarting()
{
    return s_bStarting;
}
