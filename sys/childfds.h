// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHILDFDS_H
#define CHILDFDS_H

#include <fcntl.h>
#include <unistd.h>

/*
 * Descriptors for the pipes to a child process.  A program started without
 * standard descriptors hands those numbers out first, and the child's dup2
 * of one onto another would overwrite it: these stay above them, and are
 * closed on exec.
 */

/* fd moved above the standard descriptors, close-on-exec; -1 on failure. */
static inline int above_std(int fd)
{
    int moved;

    if (fd == -1 || fd > STDERR_FILENO)
        return fd;
    moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    close(fd);
    return moved;
}

/* A pipe whose two ends are above the standard descriptors; -1 on failure. */
static inline int pipe_above_std(int fds[2])
{
    if (pipe2(fds, O_CLOEXEC) == -1)
        return -1;
    fds[0] = above_std(fds[0]);
    fds[1] = above_std(fds[1]);
    return fds[0] == -1 || fds[1] == -1 ? -1 : 0;
}

#endif // CHILDFDS_H
