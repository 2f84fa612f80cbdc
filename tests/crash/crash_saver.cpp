// SPDX-License-Identifier: BSD-2-Clause
/*
 * Saves the script over and over, alternating between the two command lists
 * of crash_lists.h, until it is killed.  After every completed save it writes
 * one byte to standard output, so that the test knows how far it got.
 *
 *   crash_saver [FIRST [COUNT]]
 *
 * starts with list FIRST (0 or 1, default 0) and stops after COUNT saves
 * (default: never).
 */
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "crash_lists.h"
#include "store.h"

/* The store's own copy of a chain laid out here: no journal is kept. */
static command_list *make_list(int which)
{
    const std::vector<crash_command> commands = crash_commands(which);
    std::vector<command_entry> chain(commands.size());
    command_list list = {};

    for (size_t i = 0; i < chain.size(); i++) {
        chain[i].text = const_cast<char *>(commands[i].text.c_str());
        chain[i].active = static_cast<uint8_t>(commands[i].active);
        chain[i].prev = i > 0 ? &chain[i - 1] : nullptr;
        chain[i].next = i + 1 < chain.size() ? &chain[i + 1] : nullptr;
    }
    list.entries = chain.empty() ? nullptr : &chain[0];
    return qvxsessrun_copy(&list);
}

int main(int argc, char *argv[])
{
    command_list *lists[2] = { nullptr, nullptr };
    const unsigned long first = argc > 1 ? strtoul(argv[1], nullptr, 10) % 2 : 0;
    const unsigned long count = argc > 2 ? strtoul(argv[2], nullptr, 10) : 0;
    int status = 0;

    for (int i = 0; i < 2 && status == 0; i++) {
        if ((lists[i] = make_list(i)) == nullptr) {
            fprintf(stderr, "crash_saver: %s\n", qvxsessrun_error_text());
            status = 1;
        }
    }
    for (unsigned long n = 0; status == 0 && (count == 0 || n < count); n++) {
        if (qvxsessrun_write(lists[(first + n) % 2]) == -1) {
            fprintf(stderr, "crash_saver: %s\n", qvxsessrun_error_text());
            status = 1;
        } else if (write(STDOUT_FILENO, "s", 1) != 1) {
            status = 1;
        }
    }
    for (command_list *list : lists)
        if (list != nullptr)
            qvxsessrun_free(list);
    return status;
}
