// SPDX-License-Identifier: BSD-2-Clause
#include "editor/RowMarks.h"

#include "check/CheckText.h"
#include "check/CommandCheck.h"
#include "dialogs/icon.h"
#include "editor/RowText.h"
#include "store/store.h"

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
                    const QString &word, int line)
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
    mark.line = line;
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
    const QString undecodable = RowText::undecodable(entry);
    const QSignalBlocker blocker(item->listWidget());
    if (verdict == CommandCheck::Ok && undecodable.isEmpty()
        && RowText::nulBytes(entry).isEmpty()) {
        // A row without an icon, as every new row is, is left alone.
        if (item->data(Qt::DecorationRole).isValid())
            item->setData(Qt::DecorationRole, QVariant());
    } else {
        if (warningIcon.isNull())
            warningIcon = theme_or_standard_icon("dialog-warning", QStyle::SP_MessageBoxWarning);
        item->setData(Qt::DecorationRole, warningIcon);
    }
    setToolTip(item, entry, undecodable);
}

QString RowMarks::reason(const command_entry *entry) const
{
    const Mark *mark = of(entry);
    QStringList reasons;
    reasons << (mark ? CheckText::forVerdict(entry, mark->verdict, mark->word, mark->line)
                     : QString())
            << RowText::undecodable(entry) << RowText::nulBytes(entry);
    reasons.removeAll(QString());
    return reasons.value(0);
}

/*
 * The row's tool tip and accessible description: a command over several lines, which the row shows
 * only the first of; why it is marked, or else whether the script waits
 * for it (a switched-off row does not run at all); which of its bytes are
 * not UTF-8 or NUL.
 */
void RowMarks::updateToolTip(QListWidgetItem *item, const command_entry *entry) const
{
    setToolTip(item, entry, RowText::undecodable(entry));
}

void RowMarks::setToolTip(QListWidgetItem *item, const command_entry *entry,
                          const QString &undecodable) const
{
    const Mark *mark = of(entry);
    QStringList tips;
    tips << RowText::wholeCommand(entry)
         << (mark ? CheckText::forVerdict(entry, mark->verdict, mark->word, mark->line)
                  : RowText::hint(entry))
         << undecodable << RowText::nulBytes(entry);
    tips.removeAll(QString());
    const QString tip = tips.join("\n\n");

    const QSignalBlocker blocker(item->listWidget());
    for (int role : { int(Qt::ToolTipRole), int(Qt::AccessibleDescriptionRole) }) {
        if (!tip.isEmpty())
            item->setData(role, tip);
        else if (item->data(role).isValid())
            item->setData(role, QVariant());
    }
}
