#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static void s_drain(int iFd, std::string &output)
{
    char buffer[4096];
    ssize_t n;
    while ((n = read(iFd, buffer, sizeof(buffer))) > 0) {
        output.append(buffer, (size_t)n);
    }
}

int runChildCapturing(int iFd, const std::function<void()> &fn, std::string *pOutput, int iSeconds)
{
    int fds[2];
    if (pipe(fds) != 0) {
        return -1;
    }
    fflush(stdout);
    fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm((unsigned)iSeconds);
        dup2(fds[1], iFd);
        close(fds[0]);
        close(fds[1]);
        fn();
        _exit(99);
    }
    close(fds[1]);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    std::string output;
    int status = 0;
    const time_t deadline = time(nullptr) + iSeconds + 5;
    for (;;) {
        s_drain(fds[0], output);
        if (waitpid(pid, &status, WNOHANG) == pid) {
            break;
        }
        if (time(nullptr) > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            close(fds[0]);
            return -1;
        }
        usleep(10000);
    }
    s_drain(fds[0], output);
    close(fds[0]);
    if (pOutput) {
        *pOutput = output;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
