// SPDX-License-Identifier: BSD-2-Clause
#ifndef SYSTEMSHELL_H
#define SYSTEMSHELL_H

/* The shell that runs the script at session start, and so the one that
 * runs a command now and judges the script. */
#define SYSTEM_SHELL "/bin/sh"

#endif // SYSTEMSHELL_H
