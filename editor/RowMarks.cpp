// SPDX-License-Identifier: BSD-2-Clause
#include "RowMarks.h"

#include "CommandCheck.h"
#include "MarkText.h"
#include "icon.h"
#include "store.h"

#include <QListWidget>
#include <QListWidgetItem>
#include <QSignalBlocker>
#include <QStringList>
#include <QStyle>
#include <QVariant>

static QByteArray textOf(const command_entry *entry)
{
    return entry->text ? QByteArray(entry->text, int(entry->text_len)) : QByteArray();
}

void RowMarks::take(QListWidgetItem *item, const command_entry *entry, int verdict,
                    const QString &word)
{
    if (verdict == CommandCheck::Ok) {
        if (marks.remove(entry) > 0)
            show(item, entry, verdict);
        return;
    }
    Mark mark;
    mark.text = textOf(entry);
    mark.active = entry->active;
    mark.verdict = verdict;
    mark.word = word;
    marks.insert(entry, mark);
    show(item, entry, verdict);
}

/* The entry's mark, when the last check was of the entry as it is now. */
const RowMarks::Mark *RowMarks::of(const command_entry *entry) const
{
    const auto mark = marks.constFind(entry);
    if (mark == marks.constEnd() || mark->active != entry->active || mark->text != textOf(entry))
        return nullptr;
    return &*mark;
}

void RowMarks::refresh(QListWidgetItem *item, const command_entry *entry)
{
    const Mark *mark = of(entry);
    show(item, entry, mark ? mark->verdict : int(CommandCheck::Ok));
}

int RowMarks::count(const QHash<const command_entry *, QListWidgetItem *> &rows) const
{
    int n = 0;
    for (auto it = marks.constBegin(); it != marks.constEnd(); ++it)
        n += rows.contains(it.key());
    return n;
}

void RowMarks::show(QListWidgetItem *item, const command_entry *entry, int verdict)
{
    const QSignalBlocker blocker(item->listWidget());
    if (verdict == CommandCheck::Ok && MarkText::undecodable(entry).isEmpty()
        && MarkText::nulBytes(entry).isEmpty()) {
        item->setData(Qt::DecorationRole, QVariant());
    } else {
        if (warningIcon.isNull())
            warningIcon = theme_or_standard_icon("dialog-warning", QStyle::SP_MessageBoxWarning);
        item->setData(Qt::DecorationRole, warningIcon);
    }
    updateToolTip(item, entry);
}

/*
 * The row's tool tip: a command over several lines, which the row shows
 * only the first of; why it is marked, or else whether the script waits
 * for it (a switched-off row does not run at all); which of its bytes are
 * not UTF-8 or NUL.
 */
void RowMarks::updateToolTip(QListWidgetItem *item, const command_entry *entry) const
{
    QStringList tips;
    tips << MarkText::wholeCommand(entry);
    if (const Mark *mark = of(entry))
        tips << MarkText::forVerdict(entry, mark->verdict, mark->word);
    else
        tips << MarkText::hint(entry);
    tips << MarkText::undecodable(entry) << MarkText::nulBytes(entry);
    tips.removeAll(QString());

    const QSignalBlocker blocker(item->listWidget());
    item->setData(Qt::ToolTipRole, tips.isEmpty() ? QVariant() : QVariant(tips.join("\n\n")));
}
