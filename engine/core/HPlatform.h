#ifndef HPLATFORM_H
#define HPLATFORM_H

#include <stddef.h>
#include <stdint.h>

// What the engine takes from the operating system and SDL on Linux/X11.

// Login name of the real user, cut to iSize - 1 characters; null (buffer
// untouched) when the user has no password entry or no name.
char *          getLoginName(char *pBuffer, size_t iSize);

// SDL's 32-bit tick count widened to 64 bits: it wraps after ~49.7 days.
uint64_t        getMilliseconds();
void            sleepMilliseconds(uint32_t uMilliseconds);

// The one rule for the time between two tick counts: the difference of
// their low 32 bits, so a span across the wrap counts as the short span it
// is, and time never runs backwards: a later count behind the earlier one
// (a difference of 2^31 or more) counts as 0.
uint32_t        elapsedMilliseconds(uint64_t uNow, uint64_t uSince);
// The platform clock's steps added up by that rule from the first call: it
// neither wraps nor runs back, so blinks and pulses keep their beat.
uint64_t        getSteadyMilliseconds();

// Paste hook for text lines: nothing to paste on this platform, returns 0.
int             getPasteText(char *pBuffer, size_t iSize);

// True when PATH holds an executable regular file of that name.
bool            isProgramInPath(const char *szProgram);

// Shows the address in the first browser of the table that is installed,
// then ends the process with status 0. Never returns.
[[noreturn]] void launchBrowser(const char *szAddress);

// Writes the registry value "Fullscreen" (1 full screen, 0 windowed) now.
void            setFullscreenPreference(int iValue);

// The application's name selects the registry file and heads the usage text.
// The framework installs a hook that asks the running application; without
// one the game's own name is used.
typedef const char *(*HApplicationNameHook)();
void            setApplicationNameHook(HApplicationNameHook pHook);
const char *    getPlatformApplicationName();

// True when both names lead to one existing file, whatever the paths or the
// links between them.
bool            isSameFile(const char *szFirst, const char *szSecond);
// Why the file can't be opened for reading, in words; the empty text when
// nothing stands in the way.
const char *    getFileReadProblem(const char *szPath);
// Why the file's identity (device and inode) can't be known, in words; the
// empty text when it can, or when no file of that name exists.
const char *    getFileIdentityProblem(const char *szPath);

// Size of the launcher's shell-command buffer.
enum { BROWSER_COMMAND_SIZE = 16380 };

// Formats a row's command with the address quoted for the shell so that it
// reaches the browser as one argument, whatever it holds (the address may
// come from the registry). False when the command would not fit iSize bytes.
bool            formatBrowserCommand(char *pBuffer, size_t iSize, const char *szFormat,
                                     const char *szAddress);

#endif // HPLATFORM_H
