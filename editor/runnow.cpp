// SPDX-License-Identifier: BSD-2-Clause
#include "runnow.h"

#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

static const char shell[] = "/bin/sh";

/* Only async-signal-safe calls from here on: the child of a threaded process. */
[[noreturn]] static void report_and_exit(int fd, int error)
{
    while (write(fd, &error, sizeof(error)) == -1 && errno == EINTR)
        ;
    _exit(127);
}

/*
 * The grandchild: the command's process.  Every descriptor but the three
 * standard ones goes (the error pipe by its close-on-exec flag), so that
 * the command holds none of the program's files or its display connection.
 */
[[noreturn]] static void exec_command(char *const argv[], const char *dir, int in, int err)
{
    sigset_t none;

    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (chdir(dir) == -1 || dup2(in, STDIN_FILENO) == -1)
        report_and_exit(err, errno);
    for (int fd = STDERR_FILENO + 1; fd < err; fd++)
        close(fd);
    closefrom(err + 1);
    execve(shell, argv, environ);
    report_and_exit(err, errno);
}

int run_detached(const char *command)
{
    char *const argv[] = { const_cast<char *>(shell), const_cast<char *>("-c"),
                           const_cast<char *>(command), nullptr };
    struct passwd *pw;
    int pipefd[2], in, error = 0;
    pid_t pid;
    ssize_t n;

    errno = 0;
    pw = getpwuid(getuid());
    if (pw == nullptr || pw->pw_dir == nullptr)
        return errno != 0 ? errno : ENOENT;
    if (pipe2(pipefd, O_CLOEXEC) == -1)
        return errno;
    in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (in == -1) {
        error = errno;
        goto out;
    }
    pid = fork();
    if (pid == -1) {
        error = errno;
        goto out;
    }
    if (pid == 0) {
        // A session of its own, and a grandchild that init adopts: the
        // command outlives the program and leaves no zombie behind.
        setsid();
        pid = fork();
        if (pid == -1)
            report_and_exit(pipefd[1], errno);
        if (pid != 0)
            _exit(0);
        exec_command(argv, pw->pw_dir, in, pipefd[1]);
    }
    close(pipefd[1]);
    pipefd[1] = -1;
    while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR)
        ;
    // End of file once /bin/sh runs; an errno when a step before failed.
    while ((n = read(pipefd[0], &error, sizeof(error))) == -1 && errno == EINTR)
        ;
    if (n != sizeof(error))
        error = 0;

out:
    if (in != -1)
        close(in);
    close(pipefd[0]);
    if (pipefd[1] != -1)
        close(pipefd[1]);
    return error;
}
