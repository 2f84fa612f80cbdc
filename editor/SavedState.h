// SPDX-License-Identifier: BSD-2-Clause
#ifndef SAVEDSTATE_H
#define SAVEDSTATE_H

#include <QVector>

#include <functional>

struct command_entry;
struct command_list;

/*
 * Whether the rows are still what the last save wrote, told without
 * comparing every row.  It keeps how many rows at the head and at the
 * tail no change since the save has touched, and how far the undo journal
 * has moved since: a list undone or redone back to its save is known to be
 * saved at once, and otherwise only the rows in between are compared.
 */
class SavedState
{
public:
    /* The rows as saved are now those of snapshot, which must live as long
     * as they are asked about. */
    void reset(const command_list *snapshot);

    /* After a change that left the rows before `from` and from `to` on (as
     * numbered after it) as they were, with count rows in all now. */
    void noteChange(int from, int to, int count);
    /* A record that an operation added to the undo journal, which drops
     * the records undone before. */
    void noteRecorded();
    void noteUndone();
    void noteRedone();

    /* Whether now, with count rows, the entry of row i being entryAt(i),
     * is as saved: the lines before and after the commands, the number of
     * rows and each row written the same. */
    bool saved(const command_list *now, int count,
               const std::function<const command_entry *(int)> &entryAt);

private:
    void forgetChanges();

    const command_list *savedList = nullptr;
    QVector<const command_entry *> savedEntries;
    int steps = 0; // the records in effect, counted from the save on
    bool reachable = true; // undo and redo can bring back the journal as saved
    int sameHead = 0; // rows at the head untouched since the save
    int sameTail = 0; // and at the tail
};

#endif // SAVEDSTATE_H
