#ifndef PROGRAM_CHILD_H
#define PROGRAM_CHILD_H

#include <sys/types.h>

#include <string>
#include <vector>

// Running the real program as a child, the way the whole-program tests do.

// A scratch folder "/tmp/gobstrel-<tag>-XXXXXX" removed with its contents;
// path is empty when it could not be made.
struct ScratchDir {
    explicit ScratchDir(const char *tag);
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    std::string path;
};

bool pathExists(const std::string &path);

// The file's whole contents; empty when it cannot be read.
std::string readWholeFile(const std::string &path);

// In a child about to run program: becomes the user uid unless it is 0,
// ending the child with 126 when it cannot and with 124 when that user
// cannot run the program.
void becomeUser(const char *program, uid_t uid);

// Starts program with args in the folder work with HOME home, SDL's dummy
// drivers, stdin from /dev/null and its output in work/output.txt, ended by
// alarm(seconds). noDesktop also unsets DISPLAY and empties PATH, so a web
// link the program reaches can never start a real browser. A uid other than
// 0 runs it as that user; it then ends with 124 when that user cannot run
// the program. The child's id, or -1.
pid_t startProgram(const std::string &program, const std::string &work, const std::string &home,
                   const std::vector<std::string> &args, int seconds, bool noDesktop, uid_t uid = 0);

// Waits for the child started with the same seconds; its exit status, or
// -1 when it had to be killed or did not exit normally.
int waitProgram(pid_t pid, int seconds);

#endif
