// SPDX-License-Identifier: BSD-2-Clause
#ifndef ROWUSE_H
#define ROWUSE_H

#include <QCoreApplication>
#include <QString>

struct command_entry;
struct command_list;

/*
 * What the row menu's Run now and "Run in the background" can do with a
 * row, and why not where they can do nothing: said in their tool tips.
 * The texts belong to the command list, where the catalogues have them.
 */
class RowUse
{
    Q_DECLARE_TR_FUNCTIONS(List)

public:
    /* Why running the entry's line alone makes no sense: it is empty,
     * holds only a comment, or is a word such as "fi" that belongs to a
     * command above it.  Empty where it can run. */
    static QString whyNotRun(const command_list *list, const command_entry *entry);
    /* Why the final "&" of the entry's line cannot be put in or taken
     * out; empty where it can. */
    static QString whyBackgroundFixed(const command_list *list, const command_entry *entry);

private:
    static QString firstWord(const command_list *list, const command_entry *entry);
};

#endif // ROWUSE_H
