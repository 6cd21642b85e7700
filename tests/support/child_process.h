#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <functional>
#include <string>

// Runs fn in a forked child under alarm(iSeconds) with the descriptor iFd
// (STDOUT_FILENO or STDERR_FILENO) captured into *pOutput; returns the exit
// status, or -1 when the child did not exit normally in time. fn is expected
// to end the process (the child exits 99 if it returns). Reading stops at the
// child's exit, not at end of file: background processes it starts inherit
// the pipe.
int runChildCapturing(int iFd, const std::function<void()> &fn, std::string *pOutput,
                      int iSeconds = 20);

#endif
