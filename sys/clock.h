// SPDX-License-Identifier: BSD-2-Clause
#ifndef CLOCK_H
#define CLOCK_H

#include <time.h>

/* Milliseconds on the monotonic clock, for deadlines that a change of the
 * system's time does not move. */
static inline long long sys_now_ms(void)
{
    struct timespec ts;

    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

#endif // CLOCK_H
