// SPDX-License-Identifier: BSD-2-Clause
#include "run/runnow.h"

#include "cfg/cfg.h"

#include "sys/childfds.h"
#include "sys/clock.h"
#include "sys/systemshell.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

static const char shell[] = SYSTEM_SHELL;
static const char drainer[] = "/bin/cat";
/* How often the watcher looks whether the command ended. */
static const int watch_step_ms = 10;

/*
 * A command that the shell reads from a named pipe, as it reads the
 * script: its bytes, and where the pipe is, in a directory of mode 0700
 * that nobody else can reach.
 */
struct command_pipe
{
    const char *bytes;
    size_t len;
    char dir[PATH_MAX];
    char path[PATH_MAX];
};

/* Only async-signal-safe calls in the children: they come from a threaded
 * process. */

static void write_all(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    ssize_t n;

    while (size > 0) {
        n = write(fd, p, size);
        if (n == -1 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        size -= size_t(n);
    }
}

[[noreturn]] static void report_and_exit(int fd, const struct run_report *report)
{
    write_all(fd, report, sizeof(*report));
    _exit(0);
}

static void remove_pipe(const command_pipe *fifo)
{
    if (fifo == nullptr)
        return;
    unlink(fifo->path);
    rmdir(fifo->dir);
}

/* The pipe goes as well: the shell never reads it. */
[[noreturn]] static void report_failure(int fd, int error, const command_pipe *fifo = nullptr)
{
    struct run_report report = {};

    remove_pipe(fifo);
    report.state = RUN_FAILED;
    report.value = error;
    report_and_exit(fd, &report);
}

/*
 * The command's process.  Every descriptor but the three standard ones
 * goes (the error pipe by its close-on-exec flag), so that the command
 * holds none of the program's files or its display connection.  A step
 * that fails before /bin/sh runs sends its errno through the error pipe.
 */
[[noreturn]] static void exec_command(char *const argv[], const char *dir, int null, int out,
                                      int err)
{
    sigset_t none;
    int error;

    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (chdir(dir) == -1 || dup2(null, STDIN_FILENO) == -1 || dup2(null, STDOUT_FILENO) == -1
        || dup2(out, STDERR_FILENO) == -1)
        goto fail;
    for (int fd = STDERR_FILENO + 1; fd < err; fd++)
        close(fd);
    closefrom(err + 1);
    execve(shell, argv, environ);
fail:
    error = errno;
    write_all(err, &error, sizeof(error));
    _exit(127);
}

/*
 * Reads what is on fd within timeout_ms into the report's text, as far as
 * it has room, and the rest into nothing.  Returns -1 at the end of the
 * pipe, 0 when nothing came, 1 when something did.
 */
static int collect(int fd, struct run_report *report, int timeout_ms)
{
    struct pollfd ready = { fd, POLLIN, 0 };
    char discard[512];
    const int room = int(sizeof(report->text)) - report->length;
    ssize_t n;

    if (poll(&ready, 1, timeout_ms) <= 0)
        return 0;
    if (room > 0)
        n = read(fd, report->text + report->length, size_t(room));
    else
        n = read(fd, discard, sizeof(discard));
    if (n == -1)
        return errno == EINTR ? 1 : -1;
    if (n == 0)
        return -1;
    if (room > 0)
        report->length += int(n);
    return 1;
}

/*
 * What the command writes on standard error after the watch goes nowhere:
 * a small process of its own reads it to the end, so that the command
 * neither blocks nor dies of a broken pipe.
 */
static void drain(int fd, int null)
{
    char *const argv[] = { const_cast<char *>("cat"), nullptr };
    char discard[512];

    if (fork() != 0)
        return;
    if (dup2(fd, STDIN_FILENO) != -1 && dup2(null, STDOUT_FILENO) != -1
        && dup2(null, STDERR_FILENO) != -1) {
        closefrom(STDERR_FILENO + 1);
        execve(drainer, argv, environ);
    }
    while (read(fd, discard, sizeof(discard)) != 0)
        ;
    _exit(0);
}

/*
 * Hands the command's bytes to the shell, whose process is shell_pid,
 * through the named pipe, and removes the pipe as soon as the shell has
 * opened it: a process of its own, which writes for as long as the shell
 * takes to read, and gives up when the shell is gone before it opened the
 * pipe.  The line feed ends the command as it ends a line of the script.
 */
[[noreturn]] static void feed(const command_pipe *fifo, pid_t shell_pid, int null)
{
    int fd;

    if (dup2(null, STDIN_FILENO) == -1 || dup2(null, STDOUT_FILENO) == -1
        || dup2(null, STDERR_FILENO) == -1)
        _exit(1);
    closefrom(STDERR_FILENO + 1);
    // Fails with ENXIO until the shell opens the pipe to read it.
    while ((fd = open(fifo->path, O_WRONLY | O_NONBLOCK)) == -1) {
        if (errno == EINTR)
            continue;
        if (errno != ENXIO || kill(shell_pid, 0) == -1)
            break;
        poll(nullptr, 0, watch_step_ms);
    }
    remove_pipe(fifo);
    if (fd != -1 && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != -1) {
        write_all(fd, fifo->bytes, fifo->len);
        write_all(fd, "\n", 1);
    }
    _exit(0);
}

/*
 * The watcher: starts the command with its standard error on a pipe, and
 * reports on report_fd as soon as the command ended or RUN_WATCH_MS passed,
 * with what it wrote on standard error by then.  With fifo, the shell reads
 * the command from there.
 */
[[noreturn]] static void watch(char *const argv[], const char *dir, int null, int report_fd,
                               const command_pipe *fifo)
{
    struct run_report report = {};
    int errpipe[2], out[2], error, status, open = 1;
    long long left;
    pid_t pid;
    ssize_t n;

    if (pipe_above_std(errpipe) == -1 || pipe_above_std(out) == -1)
        report_failure(report_fd, errno, fifo);
    pid = fork();
    if (pid == -1)
        report_failure(report_fd, errno, fifo);
    if (pid == 0)
        exec_command(argv, dir, null, out[1], errpipe[1]);
    close(errpipe[1]);
    close(out[1]);
    // The program may be gone before the report: no signal for that.
    signal(SIGPIPE, SIG_IGN);

    // End of file once /bin/sh runs; an errno when a step before failed.
    while ((n = read(errpipe[0], &error, sizeof(error))) == -1 && errno == EINTR)
        ;
    if (n == sizeof(error)) {
        while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR)
            ;
        report_failure(report_fd, error, fifo);
    }
    if (fifo != nullptr) {
        const pid_t feeder = fork();
        if (feeder == 0)
            feed(fifo, pid, null);
        if (feeder == -1) {
            // The shell waits for the pipe that nobody would open.
            error = errno;
            kill(pid, SIGKILL);
            while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR)
                ;
            report_failure(report_fd, error, fifo);
        }
    }

    report.state = RUN_RUNNING;
    const long long deadline = sys_now_ms() + RUN_WATCH_MS;
    while ((left = deadline - sys_now_ms()) > 0) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            report.state = RUN_ENDED;
            report.value = status;
            break;
        }
        const int step = left < watch_step_ms ? int(left) : watch_step_ms;
        if (!open)
            poll(nullptr, 0, step);
        else if (collect(out[0], &report, step) == -1)
            open = 0;
    }
    // What it wrote just before it ended; a process that it left behind
    // may hold the pipe open, so nothing more is waited for.
    while (open && report.state == RUN_ENDED && (n = collect(out[0], &report, 0)) != 0)
        open = n == 1;
    if (open)
        drain(out[0], null);
    report_and_exit(report_fd, &report);
}

/* The named pipe for a command, made before any fork.  0, or the errno. */
static int make_pipe(command_pipe *fifo, const char *bytes, size_t len)
{
    const char *tmp = getenv("TMPDIR");
    int error;

    if (tmp == nullptr || *tmp == '\0')
        tmp = "/tmp";
    fifo->bytes = bytes;
    fifo->len = len;
    if (snprintf(fifo->dir, sizeof(fifo->dir), "%s/qvxsessrun-run-XXXXXX", tmp)
        >= int(sizeof(fifo->dir)))
        return ENAMETOOLONG;
    if (mkdtemp(fifo->dir) == nullptr)
        return errno;
    if (snprintf(fifo->path, sizeof(fifo->path), "%s/command", fifo->dir)
        >= int(sizeof(fifo->path))) {
        rmdir(fifo->dir);
        return ENAMETOOLONG;
    }
    if (mkfifo(fifo->path, 0600) == -1) {
        error = errno;
        rmdir(fifo->dir);
        return error;
    }
    return 0;
}

int run_detached(const char *command, size_t len, int *report)
{
    // What follows a NUL byte reaches the shell only as the script's
    // bytes reach it, read from a file.
    const bool piped = memchr(command, '\0', len) != nullptr;
    command_pipe fifo;
    char *const argv[] = { const_cast<char *>(shell), piped ? fifo.path : const_cast<char *>("-c"),
                           piped ? nullptr : const_cast<char *>(command), nullptr };
    char *home;
    int fds[2] = { -1, -1 }, null = -1, error = 0;
    pid_t pid;

    home = cfg_home_dir();
    if (home == nullptr)
        return errno;
    // Said at once rather than a moment later from the command's process.
    if (access(home, X_OK) == -1)
        error = errno;
    else if (piped)
        error = make_pipe(&fifo, command, len);
    if (error != 0) {
        free(home);
        return error;
    }
    null = above_std(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (null == -1 || pipe_above_std(fds) == -1) {
        error = errno;
        goto out;
    }
    pid = fork();
    if (pid == -1) {
        error = errno;
        goto out;
    }
    if (pid == 0) {
        // A session of its own, and a watcher and a command that init
        // adopts: they outlive the program and leave no zombie behind.
        close(fds[0]);
        setsid();
        pid = fork();
        if (pid == -1)
            report_failure(fds[1], errno, piped ? &fifo : nullptr);
        if (pid != 0)
            _exit(0);
        watch(argv, home, null, fds[1], piped ? &fifo : nullptr);
    }
    while (waitpid(pid, nullptr, 0) == -1 && errno == EINTR)
        ;
    *report = fds[0];
    fds[0] = -1;

out:
    free(home);
    if (error != 0 && piped)
        remove_pipe(&fifo);
    if (null != -1)
        close(null);
    if (fds[0] != -1)
        close(fds[0]);
    if (fds[1] != -1)
        close(fds[1]);
    return error;
}

int run_report_read(int fd, struct run_report *report)
{
    char *p = reinterpret_cast<char *>(report);
    size_t got = 0;
    ssize_t n;

    while (got < sizeof(*report)) {
        n = read(fd, p + got, sizeof(*report) - got);
        if (n == -1 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += size_t(n);
    }
    close(fd);
    if (got != sizeof(*report) || report->length < 0 || report->length > int(sizeof(report->text)))
        return -1;
    return 0;
}
