// SPDX-License-Identifier: BSD-2-Clause
// sys/: what the store, the check and Run now take from the system: the
// shell, the monotonic clock, the descriptors of a child process.
#ifndef SYSTEMSHELL_H
#define SYSTEMSHELL_H

/* The shell that runs the script at session start, and so the one that
 * runs a command now and judges the script. */
#define SYSTEM_SHELL "/bin/sh"

#endif // SYSTEMSHELL_H
