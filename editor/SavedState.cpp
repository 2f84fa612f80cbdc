// SPDX-License-Identifier: BSD-2-Clause
#include "editor/SavedState.h"

#include "store/store.h"

#include <QtGlobal>

#include <limits.h>
#include <string.h>

void SavedState::reset(const command_list *snapshot)
{
    savedList = snapshot;
    savedEntries.clear();
    for (const command_entry *e = snapshot->entries; e != nullptr; e = e->next)
        savedEntries.append(e);
    steps = 0;
    reachable = true;
    forgetChanges();
}

void SavedState::forgetChanges()
{
    sameHead = INT_MAX;
    sameTail = INT_MAX;
}

/* Rows at the head keep their numbers through a change behind them, rows
 * at the tail their distance from the end through a change before them. */
void SavedState::noteChange(int from, int to, int count)
{
    sameHead = qMin(sameHead, qMax(0, from));
    sameTail = qMin(sameTail, qMax(0, count - to));
}

void SavedState::noteRecorded()
{
    // Records undone since the save go, and the save's place with them.
    if (steps < 0)
        reachable = false;
    steps++;
}

void SavedState::noteUndone()
{
    steps--;
}

void SavedState::noteRedone()
{
    steps++;
}

bool SavedState::saved(const command_list *now, int count,
                       const std::function<const command_entry *(int)> &entryAt)
{
    if (reachable && steps == 0) {
        // Every change since the save was undone again: nothing to compare
        // from here on.
        forgetChanges();
        return true;
    }
    // The lines above a deleted last command go to those after the commands.
    if (count != savedEntries.size() || !qvxsessrun_same_frame(now, savedList))
        return false;
    const int end = count - qMin(sameTail, count);
    for (int i = qMin(sameHead, count); i < end; i++)
        if (!qvxsessrun_entry_equal(entryAt(i), savedEntries.at(i)))
            return false;
    return true;
}
