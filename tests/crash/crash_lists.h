// SPDX-License-Identifier: BSD-2-Clause
#ifndef CRASH_LISTS_H
#define CRASH_LISTS_H

#include <stdio.h>

#include <string>
#include <vector>

/*
 * The two command lists that crash_saver alternates between, shared with
 * tst_crash, which renders the expected script bytes on its own.  One is a
 * few lines, the other a few hundred kilobytes, so that a save of the large
 * one spans many buffer flushes and a kill can land in the middle of it.
 */
struct crash_command
{
    std::string text;
    int active;
};

static inline std::vector<crash_command> crash_commands(int which)
{
    std::vector<crash_command> list;

    if (which == 0) {
        list.push_back({ "xsetroot -solid grey", 1 });
        list.push_back({ "xterm -e top", 0 });
        list.push_back({ "sh -c 'sleep 2 && echo started'", 1 });
        return list;
    }
    for (int i = 0; i < 3000; i++) {
        char text[96];
        snprintf(text, sizeof text,
                 "/usr/local/bin/command-%04d --option=%d --and-some-padding=xxxxx", i, i * 7);
        list.push_back({ text, i % 5 != 0 });
    }
    return list;
}

#endif // CRASH_LISTS_H
