// SPDX-License-Identifier: BSD-2-Clause
#include "checkshell.h"

#include "childfds.h"
#include "systemshell.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QVector>

extern char **environ;

int shell_time_limit_ms = 5000;

const char *shell_program = SYSTEM_SHELL;
/* How often a running shell is looked at for the time limit and the
 * cancel flag. */
static const int poll_step_ms = 50;
/* Of a syntax error only its first line matters. */
static const int error_bytes_kept = 4096;

/*
 * Each word as an argument, never as part of the script.  Absolute paths
 * must be executable regular files; any other name must be a keyword, a
 * builtin or a program on PATH.
 */
static const char lookup_script[] = "for w do\n"
                                    "    case $w in\n"
                                    "    /*) if [ -f \"$w\" ] && [ -x \"$w\" ]; then s=0\n"
                                    "        elif [ -e \"$w\" ]; then s=126; else s=127; fi ;;\n"
                                    "    *) if command -v -- \"$w\" >/dev/null 2>&1; then s=0\n"
                                    "        else s=127; fi ;;\n"
                                    "    esac\n"
                                    "    printf '%s %s\\n' \"$s\" \"$w\"\n"
                                    "done\n";

static long long now_ms()
{
    struct timespec ts;

    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

/* The text in an unlinked temporary file, to be the shell's input: a
 * shell that stops reading early leaves no writer blocked on a pipe. */
static int input_file(const QByteArray &text)
{
    QByteArray name = QFile::encodeName(QDir::tempPath()) + "/qvxsessrun-check-XXXXXX";
    int fd = mkostemp(name.data(), O_CLOEXEC);
    const char *p = text.constData();
    size_t left = size_t(text.size());

    if (fd == -1)
        return -1;
    unlink(name.constData());
    fd = above_std(fd);
    while (fd != -1 && left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n == -1 && errno == EINTR)
            continue;
        if (n <= 0) {
            close(fd);
            return -1;
        }
        p += n;
        left -= size_t(n);
    }
    if (fd != -1 && lseek(fd, 0, SEEK_SET) == -1) {
        close(fd);
        return -1;
    }
    return fd;
}

static pid_t spawn_shell(char *const argv[], int in, int out, int err)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    sigset_t none, all;
    pid_t pid = -1;

    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attr);
    // The shell gets the signals a program expects, whatever this thread
    // blocks or the program ignores.
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    if (posix_spawn(&pid, shell_program, &actions, &attr, argv, environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return pid;
}

/* Reads what is there on fd into to, keeping at most limit bytes; false at
 * its end. */
static bool drain(int fd, QByteArray *to, int limit)
{
    char buf[8192];
    const ssize_t n = read(fd, buf, sizeof(buf));

    if (n == -1)
        return errno == EINTR || errno == EAGAIN;
    if (n == 0)
        return false;
    if (to->size() < limit)
        to->append(buf, int(qMin<ssize_t>(n, limit - to->size())));
    return true;
}

/*
 * Runs the shell with argv on the input file in, collecting its standard
 * output and error, until it ends, its time is up or cancel is set.
 */
static void run_shell(char *const argv[], int in, const std::atomic<bool> *cancel, shell_run *run,
                      QByteArray *error)
{
    int out[2] = { -1, -1 }, err[2] = { -1, -1 };
    pid_t pid = -1;
    int status = 0;

    run->outcome = SHELL_NOT_RUN;
    if (in == -1 || pipe_above_std(out) == -1 || pipe_above_std(err) == -1
        || (pid = spawn_shell(argv, in, out[1], err[1])) == -1) {
        for (int fd : { out[0], out[1], err[0], err[1] })
            if (fd != -1)
                close(fd);
        return;
    }
    close(out[1]);
    close(err[1]);

    const long long deadline = now_ms() + shell_time_limit_ms;
    struct pollfd fds[2] = { { out[0], POLLIN, 0 }, { err[0], POLLIN, 0 } };
    int open = 2;
    bool killed = false;
    while (open > 0) {
        if (cancel != nullptr && cancel->load()) {
            run->outcome = SHELL_CANCELLED;
            killed = true;
        } else if (now_ms() >= deadline) {
            run->outcome = SHELL_TIMED_OUT;
            killed = true;
        }
        if (killed) {
            kill(pid, SIGKILL);
            break;
        }
        if (poll(fds, 2, poll_step_ms) == -1 && errno != EINTR)
            break;
        for (struct pollfd &p : fds) {
            if (p.fd == -1 || p.revents == 0)
                continue;
            if (!drain(p.fd, p.fd == out[0] ? &run->output : error,
                       p.fd == out[0] ? INT_MAX / 2 : error_bytes_kept)) {
                p.fd = -1;
                open--;
            }
        }
    }
    close(out[0]);
    close(err[0]);
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR)
        ;
    if (killed)
        return;
    if (WIFSIGNALED(status))
        run->outcome = SHELL_CRASHED;
    else
        run->outcome = WEXITSTATUS(status) == 0 ? SHELL_PASSED : SHELL_FAILED;
}

int shell_error_line(const QByteArray &message)
{
    const int nl = message.indexOf('\n');
    const QByteArray first = nl < 0 ? message : message.left(nl);

    // "sh: 12: Syntax error: ..." or "sh: line 12: syntax error ...".
    for (int colon = first.indexOf(':'); colon != -1; colon = first.indexOf(':', colon + 1)) {
        int i = colon + 1;
        while (i < first.size() && first.at(i) == ' ')
            i++;
        if (first.mid(i, 5) == "line ")
            i += 5;
        const int digits = i;
        while (i < first.size() && first.at(i) >= '0' && first.at(i) <= '9')
            i++;
        if (i > digits && i - digits < 10 && i < first.size() && first.at(i) == ':')
            return first.mid(digits, i - digits).toInt();
    }
    return 0;
}

void shell_parse(const QByteArray &text, const std::atomic<bool> *cancel, shell_run *run)
{
    char arg0[] = "sh", n[] = "-n";
    char *const argv[] = { arg0, n, nullptr };
    const int in = input_file(text);
    QByteArray error;

    run_shell(argv, in, cancel, run, &error);
    if (in != -1)
        close(in);
    run->line = run->outcome == SHELL_FAILED ? shell_error_line(error) : 0;
}

void shell_lookup(const QList<QByteArray> &words, const std::atomic<bool> *cancel, shell_run *run)
{
    QByteArray arg0("sh"), c("-c"), script(lookup_script), name("sh");
    QVector<char *> argv { arg0.data(), c.data(), script.data(), name.data() };
    QList<QByteArray> args = words;
    const int in = above_std(open("/dev/null", O_RDONLY | O_CLOEXEC));
    QByteArray error;

    for (QByteArray &word : args)
        argv.append(word.data());
    argv.append(nullptr);
    run_shell(argv.data(), in, cancel, run, &error);
    if (in != -1)
        close(in);
}
