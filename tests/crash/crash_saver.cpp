/*
 * Saves the script over and over, alternating between the two command lists
 * of crash_lists.h, until it is killed.  After every completed save it writes
 * one byte to standard output, so that the test knows how far it got.
 */
#include <stdio.h>
#include <unistd.h>

#include "crash_lists.h"
#include "store.h"

static command_list *make_list(int which)
{
    const command_list empty = {};
    command_list *list;

    if ((list = qvxsessrun_copy(&empty)) == nullptr)
        return nullptr;
    for (const crash_command &c : crash_commands(which))
        if (qvxsessrun_add_command(list, c.text.c_str(), c.active) == nullptr)
            return nullptr;
    return list;
}

int main(void)
{
    command_list *lists[2];

    for (int i = 0; i < 2; i++) {
        if ((lists[i] = make_list(i)) == nullptr) {
            fprintf(stderr, "crash_saver: %s\n", qvxsessrun_error_text());
            return 1;
        }
    }
    for (unsigned long n = 0;; n++) {
        if (qvxsessrun_write(lists[n % 2]) == -1) {
            fprintf(stderr, "crash_saver: %s\n", qvxsessrun_error_text());
            return 1;
        }
        if (write(STDOUT_FILENO, "s", 1) != 1)
            return 1;
    }
}
