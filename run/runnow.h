// SPDX-License-Identifier: BSD-2-Clause
// run/: Run now, a command started from the window as the session would
// start it and watched for a moment; QtCore and POSIX, no widgets.
#ifndef RUNNOW_H
#define RUNNOW_H

#include <stddef.h>

/* How long a started command is watched: what it does later goes unseen. */
#define RUN_WATCH_MS 1000

/* What became of a command within RUN_WATCH_MS of its start. */
enum run_state {
    RUN_RUNNING, /* still running: started */
    RUN_ENDED, /* ended; value is its wait status */
    RUN_FAILED /* /bin/sh could not be started; value is the errno */
};

struct run_report
{
    int state; /* a run_state */
    int value;
    int length; /* of text */
    char text[256]; /* the start of what it wrote on standard error */
};

/*
 * Starts the len bytes of command as the session's script would run them,
 * through /bin/sh, in the home directory of the password database, with
 * standard input from /dev/null, in a session of its own and detached:
 * nobody waits for it.  The shell gets every byte, also those after a NUL
 * byte, which no argument can carry: such a command is read from a named
 * pipe in a directory of its own below $TMPDIR (else /tmp), both removed
 * as soon as the shell has opened it; any other goes to /bin/sh -c.  Its
 * standard output goes to /dev/null, and so does its standard error, once
 * a watcher has read it for RUN_WATCH_MS or until the command ended,
 * whichever came first.  Returns 0 and sets *report to a descriptor that
 * becomes readable once the watcher knows, for run_report_read; else the
 * errno of the failing step.
 */
int run_detached(const char *command, size_t len, int *report);

/*
 * Reads the watcher's report from the descriptor that run_detached gave,
 * and closes it.  Blocks until the report is there.  Returns 0, or -1 when
 * the watcher ended without one.
 */
int run_report_read(int fd, struct run_report *report);

#endif // RUNNOW_H
