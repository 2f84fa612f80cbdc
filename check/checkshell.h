// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHECKSHELL_H
#define CHECKSHELL_H

#include <QByteArray>
#include <QList>
#include <QVector>

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
    SHELL_NOT_RUN /* could not be started: see error and failed */
};

struct shell_run
{
    int outcome = SHELL_NOT_RUN;
    /* Every line that the shell's error messages name, in their order: a
     * shell may name the line where it gave up and then the line where
     * what it gave up on began. */
    QVector<int> lines;
    QByteArray output; /* standard output */
    int error = 0; /* SHELL_NOT_RUN: the errno */
    QByteArray failed; /* SHELL_NOT_RUN: the program or file it is about */
};

/* How long a shell may run before it is killed; tests shorten it. */
extern int shell_time_limit_ms;
/* The shell that judges; tests put a stand-in here. */
extern const char *shell_program;
/* What a shell that is stopped gets; tests put 0 here for a shell that
 * does not go away at once. */
extern int shell_kill_signal;
/* How long a shell that was killed is waited for before it is left to be
 * collected later. */
extern int shell_reap_limit_ms;

/* "sh -n FILE" over text, which must end in a line feed, in a temporary
 * file of its own: named, so that every shell says which line an error
 * is on. */
void shell_parse(const QByteArray &text, const std::atomic<bool> *cancel, shell_run *run);
/* Looks each word up, and prints one line "STATUS WORD" for it, in order:
 * 0 found, 126 there but not executable, 127 not found. */
void shell_lookup(const QList<QByteArray> &words, const std::atomic<bool> *cancel, shell_run *run);
/* The lines that a shell's syntax error messages name, in their order;
 * script is the name the shell was given for the script, whose own
 * characters are not read as part of a message.  Messages without a line
 * name none. */
QVector<int> shell_error_lines(const QByteArray &messages, const QByteArray &script);

#endif // CHECKSHELL_H
