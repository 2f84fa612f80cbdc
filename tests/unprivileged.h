// SPDX-License-Identifier: BSD-2-Clause
#ifndef UNPRIVILEGED_H
#define UNPRIVILEGED_H

#include <QByteArray>
#include <QElapsedTimer>

#include <errno.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

/*
 * The unprivileged user of the permission tests.  CI runs as root, which
 * passes every permission check, so a test of "permission denied" runs its
 * subject as this user; with-home.sh gives it a password entry and a home.
 */
static const uid_t unprivileged_id = 65534;

/*
 * Drops a root process to the unprivileged user for good: groups, group id
 * and user id.  False when a step fails or root could be taken back.
 */
inline bool drop_to_unprivileged()
{
    const gid_t group = unprivileged_id;

    if (setgroups(1, &group) == -1 || setgid(unprivileged_id) == -1
        || setuid(unprivileged_id) == -1)
        return false;
    return getuid() == unprivileged_id && geteuid() == unprivileged_id && setuid(0) == -1;
}

/* The exit status of a child that could not give up root. */
static const int drop_failed_status = 125;

/* How a child of run_in_child ended, and what it wrote. */
struct child_run
{
    bool ended = false; /* it exited in time (not killed, no signal) */
    int status = -1; /* its exit status when it ended */
    QByteArray output; /* its standard output */
    qint64 elapsed_ms = 0; /* from the fork until it was reaped */
};

/*
 * Runs body in a forked child whose return value is its exit status, as
 * the unprivileged user when `unprivileged` is set and the test runs as
 * root (drop_failed_status when that fails).  A child still running after
 * timeout_ms is killed, so that a subject that blocks fails the test
 * instead of hanging it.
 */
inline child_run run_in_child(const std::function<int()> &body, bool unprivileged,
                              int timeout_ms = 30000)
{
    child_run run;
    QElapsedTimer clock;
    int fds[2];

    if (pipe(fds) == -1)
        return run;
    fflush(nullptr); // else the child writes the test's buffered output again
    clock.start();
    const pid_t pid = fork();
    if (pid == -1) {
        close(fds[0]);
        close(fds[1]);
        return run;
    }
    if (pid == 0) {
        close(fds[0]);
        if (dup2(fds[1], STDOUT_FILENO) == -1)
            _exit(drop_failed_status);
        close(fds[1]);
        if (unprivileged && getuid() == 0 && !drop_to_unprivileged())
            _exit(drop_failed_status);
        const int status = body();
        fflush(stdout);
        _exit(status);
    }
    close(fds[1]);

    bool killed = false;
    for (;;) {
        const qint64 left = timeout_ms - clock.elapsed();
        if (left <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        struct pollfd ready = { fds[0], POLLIN, 0 };
        const int n = poll(&ready, 1, int(left));
        if (n == 0 || (n == -1 && errno == EINTR))
            continue;
        char buf[512];
        const ssize_t got = n == -1 ? -1 : read(fds[0], buf, sizeof(buf));
        if (got <= 0)
            break; // the end of its output: it has exited or is about to
        run.output.append(buf, int(got));
    }
    close(fds[0]);

    int status = 0;
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR) { }
    run.elapsed_ms = clock.elapsed();
    if (!killed && WIFEXITED(status)) {
        run.ended = true;
        run.status = WEXITSTATUS(status);
    }
    return run;
}

#endif // UNPRIVILEGED_H
