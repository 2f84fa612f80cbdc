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
#include "store/store.h"

/*
 * The list as the window makes it, one added row after another, in a
 * list that knows no script (a copy of an empty one): its saves are never
 * refused, whoever wrote the script last.
 */
static command_list *make_list(int which)
{
    command_list *list = qvxsessrun_parse("", 0);

    if (list == nullptr)
        return nullptr;
    for (const crash_command &c : crash_commands(which)) {
        if (qvxsessrun_add_command(list, c.text.c_str(), c.active) == nullptr) {
            qvxsessrun_free(list);
            return nullptr;
        }
    }
    return list;
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
