// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHECKSHELL_H
#define CHECKSHELL_H

#include <QByteArray>
#include <QList>

#include <atomic>

/*
 * The system's shell as the judge of the script, run from a worker thread:
 * "sh -n" over script text, and a shell that looks command names up.
 * Nothing in the text is ever executed.  A shell runs for a limited time
 * and is killed when the caller's cancel flag is set.
 */

enum {
    SHELL_PASSED, /* exit status 0 */
    SHELL_FAILED, /* any other exit status */
    SHELL_CRASHED, /* ended by a signal it did not get from us */
    SHELL_TIMED_OUT, /* killed after shell_time_limit_ms */
    SHELL_CANCELLED, /* killed because the result is no longer wanted */
    SHELL_NOT_RUN /* could not be started */
};

struct shell_run
{
    int outcome = SHELL_NOT_RUN;
    int line = 0; /* the line a syntax error names, 0 when none */
    QByteArray output; /* standard output */
};

/* How long a shell may run before it is killed; tests shorten it. */
extern int shell_time_limit_ms;
/* The shell that judges; tests put a stand-in here. */
extern const char *shell_program;

/* "sh -n" over text, which must end in a line feed. */
void shell_parse(const QByteArray &text, const std::atomic<bool> *cancel, shell_run *run);
/* Looks each word up, and prints one line "STATUS WORD" for it, in order:
 * 0 found, 126 there but not executable, 127 not found. */
void shell_lookup(const QList<QByteArray> &words, const std::atomic<bool> *cancel, shell_run *run);
/* The line number in a shell's syntax error message, 0 when there is none. */
int shell_error_line(const QByteArray &message);

#endif // CHECKSHELL_H
