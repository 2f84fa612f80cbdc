// SPDX-License-Identifier: BSD-2-Clause
#ifndef XVFB_H
#define XVFB_H

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <initializer_list>
#include <string>
#include <vector>

/* A private X server: its process and the display it took (":N"). */
struct xvfb_server
{
    pid_t pid = -1;
    std::string display;
};

/*
 * Starts Xvfb through tests/xvfb.sh (found through QVX_SOURCE_DIR), with
 * one screen of the given geometry ("1024x768x24") and the extra
 * arguments; it picks a free display and says which.  Its own output goes
 * to /dev/null.  The pid is -1
 * when it did not say its display within 10 s.
 */
inline xvfb_server xvfb_start(const char *screen, std::initializer_list<const char *> extra = {})
{
    xvfb_server server;
    int fds[2];

    if (pipe(fds) == -1)
        return server;
    const std::string fd = std::to_string(fds[1]);
    const char *source = getenv("QVX_SOURCE_DIR");
    const std::string starter = std::string(source ? source : ".") + "/tests/xvfb.sh";
    std::vector<const char *> argv { "sh", starter.c_str(), screen, fd.c_str() };
    argv.insert(argv.end(), extra.begin(), extra.end());
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == -1) {
        close(fds[0]);
        close(fds[1]);
        return server;
    }
    if (pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execvp(argv[0], const_cast<char *const *>(argv.data()));
        _exit(127);
    }
    close(fds[1]);

    std::string number;
    const time_t deadline = time(nullptr) + 10;
    char c;
    while (number.find('\n') == std::string::npos && time(nullptr) < deadline) {
        struct pollfd ready = { fds[0], POLLIN, 0 };
        const int n = poll(&ready, 1, 1000);
        if (n == 0 || (n == -1 && errno == EINTR))
            continue;
        if (n == -1 || read(fds[0], &c, 1) != 1)
            break;
        number += c;
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return server;
    }
    number.pop_back();
    server.pid = pid;
    server.display = ":" + number;
    return server;
}

/* Ends the server and waits for it, so that its display is free again. */
inline void xvfb_stop(xvfb_server &server)
{
    if (server.pid == -1)
        return;
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
    server.pid = -1;
}

#endif // XVFB_H
