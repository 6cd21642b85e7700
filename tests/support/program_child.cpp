#include "program_child.h"

#include <errno.h>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

ScratchDir::ScratchDir(const char *tag)
{
    std::string pattern = std::string("/tmp/gobstrel-") + tag + "-XXXXXX";
    if (mkdtemp(&pattern[0])) {
        path = pattern;
    }
}

ScratchDir::~ScratchDir()
{
    if (!path.empty()) {
        const std::string cmd = "rm -rf '" + path + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", path.c_str());
        }
    }
}

bool pathExists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string readWholeFile(const std::string &path)
{
    std::string text;
    FILE *f = fopen(path.c_str(), "rb");
    if (f) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) {
            text.append(buffer, n);
        }
        fclose(f);
    }
    return text;
}

void becomeUser(const char *program, uid_t uid)
{
    if (uid == 0) {
        return;
    }
    if (setgroups(0, nullptr) != 0 || setgid((gid_t)uid) != 0 || setuid(uid) != 0) {
        _exit(126);
    }
    if (access(program, X_OK) != 0) {
        _exit(124);
    }
}

pid_t startProgram(const std::string &program, const std::string &work, const std::string &home,
                   const std::vector<std::string> &args, int seconds, bool noDesktop, uid_t uid)
{
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    if (chdir(work.c_str()) != 0) {
        _exit(126);
    }
    setenv("HOME", home.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (noDesktop) {
        unsetenv("DISPLAY");
        setenv("PATH", "/nonexistent", 1);
    }
    const int in = open("/dev/null", O_RDONLY);
    const int out = open("output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) {
        _exit(126);
    }
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    becomeUser(program.c_str(), uid);
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &a : args) {
        argv.push_back(const_cast<char *>(a.c_str()));
    }
    argv.push_back(nullptr);
    alarm((unsigned)seconds);
    execv(program.c_str(), argv.data());
    _exit(127);
}

int waitProgram(pid_t pid, int seconds)
{
    if (pid <= 0) {
        return -1;
    }
    int status = 0;
    for (int waited = 0; waited < seconds * 10 + 50; waited++) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        if (done < 0 && errno != EINTR) {
            return -1;
        }
        usleep(100000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}
