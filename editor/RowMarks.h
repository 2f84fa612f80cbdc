// SPDX-License-Identifier: BSD-2-Clause
#ifndef ROWMARKS_H
#define ROWMARKS_H

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QString>

struct command_entry;
class QListWidgetItem;

/*
 * What the rows show of the checks: a warning icon on a row whose command
 * would not run as written, or that holds bytes that are not UTF-8, and a
 * tool tip that says why.  A verdict holds for the text and check state
 * the entry had when it was checked; a row whose entry changed since
 * shows none until the next check.  The tool tip is the row's accessible
 * description too, so that a screen reader says what the icon shows.  Rows
 * are changed without the view's itemChanged: a mark is no edit.
 */
class RowMarks
{
public:
    /* A check's verdict on the entry of the row item. */
    void take(QListWidgetItem *item, const command_entry *entry, int verdict, const QString &word,
              int line = 0);
    /* The row item of entry after it was built or the entry changed. */
    void refresh(QListWidgetItem *item, const command_entry *entry);
    void updateToolTip(QListWidgetItem *item, const command_entry *entry) const;
    /* The marked entries, of those in rows. */
    int count(const QHash<const command_entry *, QListWidgetItem *> &rows) const;
    /* Why the entry's row has its icon; empty for a row without one. */
    QString reason(const command_entry *entry) const;

private:
    struct Mark
    {
        QByteArray text;
        int active = 0;
        int verdict = 0;
        QString word;
        int line = 0; // of a command of several lines, where the shell stops
    };

    const Mark *of(const command_entry *entry) const;
    void show(QListWidgetItem *item, const command_entry *entry, int verdict);
    void setToolTip(QListWidgetItem *item, const command_entry *entry,
                    const QString &undecodable) const;

    QHash<const command_entry *, Mark> marks; // entries whose command would not run
    QIcon warningIcon; // loaded with the first mark
};

#endif // ROWMARKS_H
