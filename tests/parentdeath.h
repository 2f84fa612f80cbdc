// SPDX-License-Identifier: BSD-2-Clause
#ifndef PARENTDEATH_H
#define PARENTDEATH_H

#include <signal.h>
#ifdef __linux__
#include <sys/prctl.h>
#elif defined(__FreeBSD__)
#include <sys/procctl.h>
#endif

/* In a child that a test forks: sig reaches the child when the test's
 * process ends, also when it is killed, so that no child outlives it. */
inline void end_with_parent(int sig)
{
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, sig);
#elif defined(__FreeBSD__)
    procctl(P_PID, 0, PROC_PDEATHSIG_CTL, &sig);
#endif
}

#endif // PARENTDEATH_H
