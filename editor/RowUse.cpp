// SPDX-License-Identifier: BSD-2-Clause
#include "editor/RowUse.h"

#include "store/store.h"

#include <QByteArray>

/* Reserved words that go on or end a compound command begun above: a
 * line that starts with one runs nothing on its own. */
static const char *const continuingWords[]
    = { "then", "else", "elif", "fi", "do", "done", "esac", "}" };

static bool endsWord(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ';' || c == '&' || c == '|'
        || c == '<' || c == '>' || c == '(' || c == ')';
}

/* The first word of the line's first command, as the shell finds it. */
QString RowUse::firstWord(const command_list *list, const command_entry *entry)
{
    size_t start = 0;
    if (qvxsessrun_command_starts(list, entry->text, entry->text_len, &start, 1) == 0)
        return QString();
    size_t end = start;
    while (end < entry->text_len && !endsWord(entry->text[end]))
        end++;
    return QString::fromUtf8(entry->text + start, int(end - start));
}

QString RowUse::whyNotRun(const command_list *list, const command_entry *entry)
{
    if (!entry || QByteArray(entry->text, int(entry->text_len)).trimmed().isEmpty())
        return tr("The command is empty: there is nothing to run.");
    line_scan scan;
    qvxsessrun_scan(list, entry->text, entry->text_len, &scan);
    if (!scan.has_command)
        return tr("The line holds only a comment: there is nothing to run.");
    const QString word = firstWord(list, entry);
    for (const char *continuing : continuingWords)
        if (word == QLatin1String(continuing))
            return tr("“%1” belongs to a command that begins on a line above: on its "
                      "own it runs nothing.")
                .arg(word);
    return QString();
}

QString RowUse::whyBackgroundFixed(const command_list *list, const command_entry *entry)
{
    const QString noRun = whyNotRun(list, entry);
    if (!noRun.isEmpty())
        return noRun;
    int fixed = 1;
    qvxsessrun_background(list, entry, &fixed);
    if (!fixed)
        return QString();
    line_scan scan;
    qvxsessrun_scan(list, entry->text, entry->text_len, &scan);
    if (scan.func_def)
        return tr("The line defines a function, which starts nothing by itself.");
    if (scan.joins)
        return tr(
            "The line ends in &&, || or |: the command goes on in the next line, where a final & "
            "would belong.");
    if (scan.open != SCAN_CLOSED)
        return tr("The command is not complete on this line (a quote, an if, a loop or a "
                  "here-document is left open): an & cannot end it here.");
    if (scan.doc_last)
        return tr("The command ends with a here-document: its & belongs on its first "
                  "line. Edit the command to change it.");
    return tr("The final & of this line cannot be put in or taken out here. Edit "
              "the command to change it.");
}
