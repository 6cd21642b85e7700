#ifndef XVFB_SESSION_H
#define XVFB_SESSION_H

#include <stdint.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// Pieces shared by the tests that run the real program in a virtual X server.

void sleepMs(int ms);

// Milliseconds on the monotonic clock.
int64_t nowMs();

// True when the program is an executable in one of PATH's folders.
bool onPath(const char *program);

// Ends a child and reaps it: SIGTERM, up to five seconds to go, then
// SIGKILL. A `timeout` wrapper passes the signal on.
void endChild(pid_t pid);

// Reaps the child if it has exited (setting *pid to -1); true once it is gone.
bool childHasEnded(pid_t *pid);

// Starts a 640x480x24 Xvfb without TCP under `timeout timeoutArgs...` and
// waits up to 15 s for it to report its display number. Returns the display
// name (":N") and the child in *pid, or "" when the server did not come up.
std::string startXvfb(const std::vector<std::string> &timeoutArgs, pid_t *pid);

// Starts `timeout timeoutArgs... program --nosound` with home as its HOME
// and working folder on the given X display, SDL's X11 video and dummy
// audio, stdin from /dev/null and its output in home/game.log. The file
// suppressions is written to keep LeakSanitizer quiet about the X library.
// Returns the child, or -1.
pid_t launchGame(const std::string &program, const std::string &home, const std::string &display,
                 const std::string &suppressions, const std::vector<std::string> &timeoutArgs);

// True when the game's output shows its "SDL_Init() failed" alert: the X
// server refused its connection.
bool displayRefused(const std::string &gameLog);

// Starts the game and waits for its window: start launches it, appeared
// waits for the window, stop ends it and refused then tells whether the
// server turned the game away. Only a game whose connection was refused is
// started again, three times at most; any other failure stays a failure.
// True once the window appeared.
bool startWithRetries(const std::function<bool()> &start, const std::function<bool()> &appeared,
                      const std::function<void()> &stop, const std::function<bool()> &refused);

#endif
