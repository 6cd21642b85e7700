#ifndef HCOMMANDLINE_H
#define HCOMMANDLINE_H

#include <stddef.h>

// Start-up strings: main turns its arguments into a "+set" command string
// and finds the resources directory beside the program's own directory.
// Heap strings returned here belong to the caller (free()).

enum {
    COMMAND_LINE_SIZE   = 2000,     // main's command-string buffer
    RESOURCE_DIR_SIZE   = 4095,     // main's resources-directory buffer
    KEPT_STRING_SIZE    = 1024,     // kept command string and resource path
    PATH_WORK_SIZE      = 4096,
    USAGE_EXIT_STATUS   = 42
};

// Builds the command string from argv[1..]. Ends the process with 42 on
// "-h"/"--help" or a "-demo" without a file; "--fullscreen" and "--windowed"
// write the registry at once. False only when formatting fails.
bool            parseArguments(char *pBuffer, size_t iSize, int argc, char **argv);

// Prints the usage text to standard output and exits with status 42.
[[noreturn]] void printUsage();
// The usage text itself, with the application's name.
void            formatUsage(char *pBuffer, size_t iSize, const char *szApplicationName);

// Parent of the program's directory plus "/Resources/".
void            getResourceDirectory(char *pBuffer, size_t iSize, const char *szProgram);
// Absolute path of the running program, or null.
char *          getExecutablePath(const char *szProgram);
// Heap copy of an environment variable, or null when unset.
char *          getEnvironmentCopy(const char *szName);

// Process-wide copies (at most 1023 characters) kept for the whole run.
void            setCommandLine(const char *szText);
const char *    getCommandLine();
void            setResourcePath(const char *szText);
const char *    getResourcePath();

#endif // HCOMMANDLINE_H
