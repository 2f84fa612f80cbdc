// SPDX-License-Identifier: BSD-2-Clause
#ifndef STORE_H
#define STORE_H

#include <stdint.h>
#include <sys/types.h>
#include <time.h>

/*
 * The command store: the commands of ~/.config/QVX/autostart.sh in memory,
 * reading and atomic writing of the script, and the undo/redo journal.
 * Plain records and functions; failures return null or -1 and leave their
 * text in the store's error buffer (qvxsessrun_error_text()).
 */

struct command_entry
{
    char *text; /* owned; without the trailing "&" of the line */
    uint8_t active; /* 1 runs at session start, 0 kept as comment */
    command_entry *next;
    command_entry *prev;
};

enum {
    JOURNAL_ADD = 1,
    JOURNAL_DELETE = 2,
    JOURNAL_SET = 3,
    JOURNAL_MOVE_UP = 4,
    JOURNAL_MOVE_DOWN = 5
};

/*
 * One operation in one of the two journals, which run in step: the undo
 * journal's records up to undo_cursor are in effect, those after it are
 * undone, and the redo journal's twins refer to the same entries.
 *
 * Who holds an entry.  An entry in the chain belongs to the list.  An
 * entry out of the chain belongs to the one undo record that took it out:
 * the JOURNAL_DELETE in effect, or the JOURNAL_ADD undone (the entry's
 * later records are then undone as well).  Every other record only
 * refers to its entry.  So dropping undone records frees the entries of
 * the undone additions among them, and releasing a list frees the chain,
 * then the entries of the deletions in effect and of the additions
 * undone, each exactly once.
 */
struct journal_record
{
    uint8_t type;
    uint8_t active; /* JOURNAL_SET only */
    char *text; /* JOURNAL_SET only; owned */
    command_entry *entry; /* held as said above */
    command_entry *saved_prev; /* add (redo) and delete (undo) only */
    command_entry *saved_next;
    journal_record *prev;
    journal_record *next;
};

/*
 * The script on disk as the list last read or wrote it, so that a change
 * made by another program in between can be told before a save.  The
 * digest catches a change that leaves size and time alone (a write within
 * the clock's granularity).
 */
struct script_stamp
{
    uint8_t exists; /* 0: there was no script */
    dev_t dev;
    ino_t ino;
    off_t size;
    struct timespec mtime;
    uint64_t digest;
};

struct command_list
{
    command_entry *entries;
    journal_record *undo_head;
    journal_record *redo_head;
    journal_record *undo_cursor;
    journal_record *redo_cursor;
    script_stamp disk; /* lists read from or written to the script only */
};

/* Script file */
command_list *qvxsessrun_read(void);
int qvxsessrun_write(command_list *list);
command_list *qvxsessrun_copy(const command_list *list);
bool qvxsessrun_equal(const command_list *a, const command_list *b);
void qvxsessrun_free(command_list *list);
const char *qvxsessrun_error_text(void);
/* 1 when the script is no longer what list read or wrote last, 0 when it
 * is, -1 when that cannot be told (the error text is set). */
int qvxsessrun_changed_on_disk(const command_list *list);

/* Journalled edits */
command_entry *qvxsessrun_add_command(command_list *list, const char *text, int active);
command_entry *qvxsessrun_delete_command(command_list *list, command_entry *entry);
int qvxsessrun_set_command(command_list *list, command_entry *entry, const char *text, int active);
command_entry *qvxsessrun_move_up(command_list *list, command_entry *entry);
command_entry *qvxsessrun_move_down(command_list *list, command_entry *entry);
void qvxsessrun_undo(command_list *list);
void qvxsessrun_redo(command_list *list);
bool qvxsessrun_can_undo(const command_list *list);
bool qvxsessrun_can_redo(const command_list *list);

#endif // STORE_H
