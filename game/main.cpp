#include <cstdlib>
#include <new>

#include "GameApp.h"
#include "HCommandLine.h"

// The one application. Its storage is static; construction and destruction
// are explicit so that they happen exactly once, around main.
alignas(GameApp) static unsigned char s_appStorage[sizeof(GameApp)];
GameApp &theApp = *reinterpret_cast<GameApp *>(s_appStorage);

void constructGameApp(bool build)
{
    if (build) {
        new (s_appStorage) GameApp();
    } else {
        // The sprites go last to first with the members, then the base.
        theApp.~GameApp();
    }
}

namespace {
// Static construction builds the game before main; static destruction, after
// exit, takes it down again.
struct GameAppLifetime {
    GameAppLifetime() { constructGameApp(true); }
    ~GameAppLifetime() { constructGameApp(false); }
};
GameAppLifetime s_gameAppLifetime;
}

static char s_resourceDirectory[4095];
static char s_commandString[2000];

int main(int argc, char **argv)
{
    getResourceDirectory(s_resourceDirectory, sizeof(s_resourceDirectory), argv[0]);
    parseArguments(s_commandString, sizeof(s_commandString), argc, argv);
    theApp.run(s_commandString, s_resourceDirectory);
    exit(0);
}
