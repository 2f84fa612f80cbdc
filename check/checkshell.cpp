// SPDX-License-Identifier: BSD-2-Clause
#include "check/checkshell.h"

#include "sys/childfds.h"
#include "sys/clock.h"
#include "sys/systemshell.h"

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
#include <QMutex>
#include <QMutexLocker>

extern char **environ;

int shell_time_limit_ms = 5000;
const char *shell_program = SYSTEM_SHELL;
int shell_kill_signal = SIGKILL;
int shell_reap_limit_ms = 1000;

/* How often a running shell is looked at for the time limit and the
 * cancel flag. */
static const int poll_step_ms = 50;
/* Of the syntax errors only their first lines matter. */
static const int error_bytes_kept = 4096;
/* Of the lines that messages name, the first this many. */
static const int lines_kept = 8;

/* Shells that were killed but had not ended when they were given up on:
 * each later run collects those that have ended since. */
static QMutex stragglers_lock;
static QVector<pid_t> stragglers;

/*
 * Each word as an argument, never as part of the script.  Absolute paths
 * must be executable regular files; any other name must be a keyword, a
 * builtin or a program on PATH.  The reserved words of every POSIX shell
 * are taken as known: not every shell's "command -v" names them.
 */
static const char lookup_script[]
    = "for w do\n"
      "    case $w in\n"
      "    /*) if [ -f \"$w\" ] && [ -x \"$w\" ]; then s=0\n"
      "        elif [ -e \"$w\" ]; then s=126; else s=127; fi ;;\n"
      "    '!' | '{' | '}' | case | do | done | elif | else | esac | fi | for | if | in | then \\\n"
      "    | until | while) s=0 ;;\n"
      "    *) if command -v -- \"$w\" >/dev/null 2>&1; then s=0\n"
      "        else s=127; fi ;;\n"
      "    esac\n"
      "    printf '%s %s\\n' \"$s\" \"$w\"\n"
      "done\n";

static void sleep_us(long us)
{
    struct timespec ts = { us / 1000000, (us % 1000000) * 1000 };

    while (nanosleep(&ts, &ts) == -1 && errno == EINTR)
        ;
}

/* Collects the shells given up on earlier that have ended since. */
static void collect_stragglers()
{
    QMutexLocker locker(&stragglers_lock);
    for (int i = stragglers.size() - 1; i >= 0; i--)
        if (waitpid(stragglers.at(i), nullptr, WNOHANG) != 0)
            stragglers.remove(i);
}

/*
 * Waits for the shell to end, until the time given is up or cancel is set:
 * a shell that closed its output may still be running, and one that was
 * killed may be held in the kernel for long.  False when it had not ended;
 * a killed one is then collected by a later run.
 */
static bool wait_for(pid_t pid, int *status, long long until, const std::atomic<bool> *cancel,
                     bool killed)
{
    long step_us = 50;

    for (;;) {
        const pid_t r = waitpid(pid, status, WNOHANG);
        if (r == pid || (r == -1 && errno != EINTR))
            return r == pid;
        if (sys_now_ms() >= until || (cancel != nullptr && cancel->load()))
            break;
        // It mostly ends right after it closed its output: look again
        // soon at first, and less often the longer it takes.
        sleep_us(step_us);
        step_us = qMin<long>(step_us * 2, poll_step_ms * 1000L);
    }
    if (killed) {
        QMutexLocker locker(&stragglers_lock);
        stragglers.append(pid);
    }
    return false;
}

/*
 * The text in a new temporary file, which the shell reads by its name,
 * into path; the caller removes it.  -1 with errno set on failure.
 */
static int script_file(const QByteArray &text, QByteArray *path)
{
    const char *p = text.constData();
    size_t left = size_t(text.size());
    int fd;

    *path = QFile::encodeName(QDir::tempPath()) + "/qvxsessrun-check-XXXXXX";
    if ((fd = mkostemp(path->data(), O_CLOEXEC)) == -1)
        return -1;
    while (left > 0) {
        const ssize_t n = write(fd, p, left);
        if (n == -1 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            goto fail;
        }
        p += n;
        left -= size_t(n);
    }
    if (close(fd) == -1) {
        fd = -1;
        goto fail;
    }
    return 0;

fail:
    const int saved = errno;
    if (fd != -1)
        close(fd);
    unlink(path->constData());
    errno = saved;
    return -1;
}

/* The shell with argv, its standard input from in; -1 with errno set when
 * it could not be started. */
static pid_t spawn_shell(char *const argv[], int in, int out, int err)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attr;
    sigset_t none, all;
    pid_t pid = -1;
    int r;

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
    if ((r = posix_spawn(&pid, shell_program, &actions, &attr, argv, environ)) != 0) {
        pid = -1;
        errno = r;
    }
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
 * Runs the shell with argv, its standard input from /dev/null, collecting
 * its standard output and error, until it ends, its time is up or cancel
 * is set.  No wait has no end: not for a shell that closed its output and
 * goes on, nor for one that a kill does not end at once.
 */
static void run_shell(char *const argv[], const std::atomic<bool> *cancel, shell_run *run,
                      QByteArray *error)
{
    int in = -1, out[2] = { -1, -1 }, err[2] = { -1, -1 };
    pid_t pid = -1;
    int status = 0;

    collect_stragglers();
    run->outcome = SHELL_NOT_RUN;
    in = above_std(open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (in == -1 || pipe_above_std(out) == -1 || pipe_above_std(err) == -1) {
        run->error = errno;
        run->failed = "/dev/null";
    } else if ((pid = spawn_shell(argv, in, out[1], err[1])) == -1) {
        run->error = errno;
        run->failed = shell_program;
    }
    for (int fd : { in, out[1], err[1] })
        if (fd != -1)
            close(fd);
    if (pid == -1) {
        for (int fd : { out[0], err[0] })
            if (fd != -1)
                close(fd);
        return;
    }

    const long long deadline = sys_now_ms() + shell_time_limit_ms;
    struct pollfd fds[2] = { { out[0], POLLIN, 0 }, { err[0], POLLIN, 0 } };
    int open = 2;
    bool ended = false;
    while (open > 0) {
        if (cancel != nullptr && cancel->load()) {
            run->outcome = SHELL_CANCELLED;
            break;
        }
        if (sys_now_ms() >= deadline) {
            run->outcome = SHELL_TIMED_OUT;
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
    // Its output is closed: it ends now, or it runs on to the time limit
    // like any other shell that takes too long.
    if (open == 0)
        ended = wait_for(pid, &status, deadline, cancel, false);
    if (!ended) {
        if (run->outcome == SHELL_NOT_RUN)
            run->outcome = cancel != nullptr && cancel->load() ? SHELL_CANCELLED : SHELL_TIMED_OUT;
        kill(pid, shell_kill_signal);
        wait_for(pid, &status, sys_now_ms() + shell_reap_limit_ms, nullptr, true);
        return;
    }
    if (WIFSIGNALED(status))
        run->outcome = SHELL_CRASHED;
    else
        run->outcome = WEXITSTATUS(status) == 0 ? SHELL_PASSED : SHELL_FAILED;
}

/* The number of "N:" or "line N:" at from, blanks in front allowed; 0
 * when there is none. */
static int line_field(const QByteArray &message, int from, char end = ':')
{
    int i = from;

    while (i < message.size() && message.at(i) == ' ')
        i++;
    if (message.mid(i, 5) == "line ")
        i += 5;
    const int digits = i;
    while (i < message.size() && message.at(i) >= '0' && message.at(i) <= '9')
        i++;
    if (i == digits || i - digits > 9 || i >= message.size() || message.at(i) != end)
        return 0;
    return message.mid(digits, i - digits).toInt();
}

/*
 * The line that one message names.  With the script's name in front, the
 * field right after it: "FILE: 12:" (dash, FreeBSD's sh), "FILE: line 12:"
 * (bash, busybox), "FILE:12:" and "FILE[12]:" (the Korn shells).  With
 * another name, such as a shell that read its standard input and gives its
 * own, one of the first fields: "sh: 12:", "sh: line 12:".
 */
static int message_line(const QByteArray &message, const QByteArray &script)
{
    if (!script.isEmpty() && message.startsWith(script) && message.size() > script.size()) {
        const char after = message.at(script.size());
        if (after == ':')
            return line_field(message, script.size() + 1);
        if (after == '[')
            return line_field(message, script.size() + 1, ']');
    }
    int colon = -1;
    for (int field = 0; field < 3; field++) {
        if ((colon = message.indexOf(':', colon + 1)) == -1)
            break;
        if (const int line = line_field(message, colon + 1))
            return line;
    }
    return 0;
}

QVector<int> shell_error_lines(const QByteArray &messages, const QByteArray &script)
{
    QVector<int> lines;

    for (const QByteArray &message : messages.split('\n'))
        if (const int line = message_line(message, script))
            if (lines.size() < lines_kept)
                lines.append(line);
    return lines;
}

void shell_parse(const QByteArray &text, const std::atomic<bool> *cancel, shell_run *run)
{
    QByteArray path, error;

    run->outcome = SHELL_NOT_RUN;
    if (script_file(text, &path) == -1) {
        run->error = errno;
        run->failed = QFile::encodeName(QDir::tempPath());
        return;
    }
    char arg0[] = "sh", n[] = "-n";
    char *const argv[] = { arg0, n, path.data(), nullptr };
    run_shell(argv, cancel, run, &error);
    unlink(path.constData());
    if (run->outcome == SHELL_FAILED)
        run->lines = shell_error_lines(error, path);
}

void shell_lookup(const QList<QByteArray> &words, const std::atomic<bool> *cancel, shell_run *run)
{
    QByteArray arg0("sh"), c("-c"), script(lookup_script), name("sh");
    QVector<char *> argv { arg0.data(), c.data(), script.data(), name.data() };
    QList<QByteArray> args = words;
    QByteArray error;

    for (QByteArray &word : args)
        argv.append(word.data());
    argv.append(nullptr);
    run_shell(argv.data(), cancel, run, &error);
}
