// Test entry point: keeps every test away from the screen, the sound card,
// standard input and the real user's home folder.
#include <gtest/gtest.h>

#include "HMessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    // A message box on the console must never wait for a person.
    if (!freopen("/dev/null", "r", stdin)) {
        fclose(stdin);
    }

    // Registry and settings land in a scratch home, never the user's own.
    char home[] = "/tmp/gobstrel-test-home-XXXXXX";
    if (mkdtemp(home)) {
        setenv("HOME", home, 1);
    }

    // No box may ever wait for a person: unless a test installs its own
    // hook, every box is answered "OK" and echoed to the log.
    setMessageBoxHook([](uint32_t, const char *szTitle, const char *szText) {
        fprintf(stderr, "[box] %s: %s\n", szTitle ? szTitle : "", szText ? szText : "");
        return 6;
    });

    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();

    std::string cmd = std::string("rm -rf '") + home + "'";
    if (system(cmd.c_str()) != 0) {
        fprintf(stderr, "could not remove %s\n", home);
    }
    return result;
}
