// SPDX-License-Identifier: BSD-2-Clause
#ifndef SAVER_HARNESS_H
#define SAVER_HARNESS_H

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>

#include "crash/crash_lists.h"

/*
 * What the tests that interrupt crash_saver (kills, power cuts) share: the
 * two versions of the script it writes, starting it, and hearing of each
 * save it completes.
 */

/* The bytes of the script that a save of list which writes. */
inline QByteArray crash_script(int which)
{
    QByteArray bytes("#!/bin/sh\n");

    for (const crash_command &c : crash_commands(which)) {
        if (!c.active)
            bytes += "#[INACTIVE]#";
        bytes += QByteArray::fromStdString(c.text) + "&\n";
    }
    return bytes;
}

inline void sleep_microseconds(long us)
{
    struct timespec ts = { us / 1000000, (us % 1000000) * 1000 };

    while (nanosleep(&ts, &ts) == -1 && errno == EINTR)
        ;
}

/* Waits for the byte that the saver writes after each completed save. */
inline bool wait_for_byte(int fd, int timeoutMs)
{
    struct pollfd pfd = { fd, POLLIN, 0 };
    char c;

    return poll(&pfd, 1, timeoutMs) == 1 && read(fd, &c, 1) == 1;
}

/*
 * Starts saver for count saves (0: until it is stopped) beginning with list
 * first, its standard output on a pipe (*fd); returns its pid, -1 on
 * failure.  preload, when not empty, is added to LD_PRELOAD; quiet sends
 * its error messages to /dev/null.
 */
inline pid_t start_saver(const QByteArray &saver, int first, int count, const QByteArray &preload,
                         bool quiet, int *fd)
{
    int p[2];

    if (pipe(p) == -1)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(p[1], STDOUT_FILENO);
        close(p[0]);
        close(p[1]);
        if (quiet) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        if (!preload.isEmpty()) {
            QByteArray all = qgetenv("LD_PRELOAD");
            all += (all.isEmpty() ? "" : " ") + preload;
            setenv("LD_PRELOAD", all.constData(), 1);
        }
        const QByteArray a = QByteArray::number(first), b = QByteArray::number(count);
        execl(saver.constData(), saver.constData(), a.constData(), b.constData(),
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(p[1]);
    if (pid == -1) {
        close(p[0]);
        return -1;
    }
    *fd = p[0];
    return pid;
}

/* How a script found after an interruption differs from the two versions. */
inline QString describe_script(const QByteArray &bytes, const QByteArray expected[2])
{
    int same = 0;
    const QByteArray &closer = bytes.size() > expected[0].size() ? expected[1] : expected[0];

    while (same < bytes.size() && same < closer.size() && bytes[same] == closer[same])
        same++;
    return QString("%1 bytes (expected %2 or %3), same as the nearer version for the first %4")
        .arg(bytes.size())
        .arg(expected[0].size())
        .arg(expected[1].size())
        .arg(same);
}

#endif // SAVER_HARNESS_H
