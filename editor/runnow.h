// SPDX-License-Identifier: BSD-2-Clause
#ifndef RUNNOW_H
#define RUNNOW_H

/*
 * Starts command as the session's script would run it, through /bin/sh -c,
 * in the home directory of the password database, with standard input
 * from /dev/null, in a session of its own and detached: nobody waits for
 * it.  Returns 0 once /bin/sh runs, else the errno of the failing step.
 */
int run_detached(const char *command);

#endif // RUNNOW_H
