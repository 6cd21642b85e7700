#include "xvfb_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

// execvp's argument list, built before fork so the child only execs.
static std::vector<char *> s_argv(std::vector<std::string> &words)
{
    std::vector<char *> argv;
    for (std::string &word : words) {
        argv.push_back(&word[0]);
    }
    argv.push_back(nullptr);
    return argv;
}

void sleepMs(int ms)
{
    if (ms <= 0) {
        return;
    }
    struct timespec ts = { ms / 1000, (long)(ms % 1000) * 1000000L };
    nanosleep(&ts, nullptr);
}

int64_t nowMs()
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (int64_t)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

bool onPath(const char *program)
{
    const char *path = getenv("PATH");
    if (!path) {
        return false;
    }
    std::string all = path;
    size_t start = 0;
    while (start <= all.size()) {
        size_t end = all.find(':', start);
        if (end == std::string::npos) {
            end = all.size();
        }
        const std::string candidate = all.substr(start, end - start) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

void endChild(pid_t pid)
{
    if (pid <= 0) {
        return;
    }
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; i++) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return;
        }
        sleepMs(50);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

bool childHasEnded(pid_t *pid)
{
    int status = 0;
    if (*pid > 0 && waitpid(*pid, &status, WNOHANG) == *pid) {
        *pid = -1;
    }
    return *pid <= 0;
}

std::string startXvfb(const std::vector<std::string> &timeoutArgs, pid_t *pid)
{
    *pid = -1;
    int fds[2];
    if (pipe(fds) != 0) {
        return "";
    }
    std::vector<std::string> words = { "timeout" };
    words.insert(words.end(), timeoutArgs.begin(), timeoutArgs.end());
    for (const char *word : { "Xvfb", "-displayfd", "", "-screen", "0", "640x480x24", "-nolisten", "tcp",
                              "-noreset" }) {
        words.push_back(word);
    }
    words[timeoutArgs.size() + 3] = std::to_string(fds[1]);
    std::vector<char *> argv = s_argv(words);
    *pid = fork();
    if (*pid == 0) {
        close(fds[0]);
        const int quiet = open("/dev/null", O_RDWR);
        dup2(quiet, 0);
        dup2(quiet, 1);
        dup2(quiet, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (*pid < 0) {
        close(fds[0]);
        return "";
    }
    // The server writes its display number once it is ready.
    std::string number;
    struct pollfd p = { fds[0], POLLIN, 0 };
    while (poll(&p, 1, 15000) > 0) {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    close(fds[0]);
    return number.empty() ? "" : ":" + number;
}

pid_t launchGame(const std::string &program, const std::string &home, const std::string &display,
                 const std::string &suppressions, const std::vector<std::string> &timeoutArgs)
{
    FILE *supp = fopen(suppressions.c_str(), "w");
    if (supp) {
        fputs("leak:libX11.so\n", supp);
        fclose(supp);
    }
    std::vector<std::string> words = { "timeout" };
    words.insert(words.end(), timeoutArgs.begin(), timeoutArgs.end());
    words.push_back(program);
    words.push_back("--nosound");
    std::vector<char *> argv = s_argv(words);
    const std::string leakOptions = "suppressions=" + suppressions;
    const std::string log = home + "/game.log";
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(home.c_str()) != 0) {
            _exit(126);
        }
        setenv("HOME", home.c_str(), 1);
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Only X11: with the server unreachable SDL would otherwise pick a
        // text-terminal driver and run on with no window at all.
        setenv("SDL_VIDEODRIVER", "x11", 1);
        // In a sanitizer build, leaks inside the X library are not ours.
        setenv("LSAN_OPTIONS", leakOptions.c_str(), 1);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

bool displayRefused(const std::string &gameLog)
{
    return gameLog.find("SDL_Init() failed") != std::string::npos;
}

bool startWithRetries(const std::function<bool()> &start, const std::function<bool()> &appeared,
                      const std::function<void()> &stop, const std::function<bool()> &refused)
{
    for (int attempt = 0; attempt < 3; attempt++) {
        if (!start()) {
            return false;
        }
        if (appeared()) {
            return true;
        }
        stop();
        if (!refused()) {
            return false;
        }
    }
    return false;
}
