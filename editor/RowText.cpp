// SPDX-License-Identifier: BSD-2-Clause
#include "editor/RowText.h"

#include "editor/utf8bytes.h"
#include "store/store.h"

#include <QStringList>

#include <string.h>

/* Whether the row's command holds up the commands below it, or the shell
 * joins its line with the next one; empty when neither.  A function's
 * definition runs nothing there. */
QString RowText::hint(const command_entry *entry)
{
    line_scan scan;

    if (!entry->active)
        return QString();
    qvxsessrun_scan(nullptr, entry->text, entry->text_len, &scan);
    if (scan.joins)
        return tr("The shell joins this line with the next one: it ends in &&, || or |.");
    if (scan.open == SCAN_CLOSED && scan.has_command && !scan.func_def
        && qvxsessrun_background(nullptr, entry, nullptr) == 0)
        return tr("Runs in the foreground: the commands below it wait until it ends.");
    return QString();
}

/* A command over several lines, as a tool tip shows it: its first lines,
 * cut short where it is long; empty for a command of one line. */
QString RowText::wholeCommand(const command_entry *entry)
{
    static const int linesAtMost = 30, charactersAtMost = 3000;

    if (!entry || !entry->text || memchr(entry->text, '\n', entry->text_len) == nullptr)
        return QString();
    const QString text = utf8_shown(QByteArray(entry->text, int(entry->text_len)));
    int cut = text.size(), lines = 0;
    for (int i = 0; i < text.size() && i < charactersAtMost; i++)
        if (text.at(i) == QLatin1Char('\n') && ++lines == linesAtMost) {
            cut = i;
            break;
        }
    cut = qMin(cut, charactersAtMost);
    if (cut < text.size() && text.at(cut - 1).isHighSurrogate())
        cut--;
    return cut < text.size() ? text.left(cut) + QChar(0x2026) : text;
}

/* What a NUL byte in the command is; empty when there is none. */
QString RowText::nulBytes(const command_entry *entry)
{
    if (!entry || !entry->text || memchr(entry->text, '\0', entry->text_len) == nullptr)
        return QString();
    return tr("%1 stands for a NUL byte in the script. The shell skips it: what stands on either "
              "side of it runs as one word.")
        .arg(utf8_nul_sign);
}

/* Which bytes of an entry's command are not UTF-8, and what an edit does
 * to them; empty when all of them are. */
QString RowText::undecodable(const command_entry *entry)
{
    static const int listedAtMost = 8;
    // Mostly ASCII: nothing to decode, and every row is built with this.
    const char *p = entry && entry->text ? entry->text : "";
    const char *end = p + (entry && entry->text ? entry->text_len : 0);
    while (p < end && uchar(*p) < 0x80)
        p++;
    if (p == end)
        return QString();
    const QByteArray invalid = utf8_invalid_bytes(QByteArray(entry->text, int(entry->text_len)));
    if (invalid.isEmpty())
        return QString();

    QStringList listed;
    for (int i = 0; i < invalid.size() && i < listedAtMost; i++)
        listed << "\\x" + QString::number(uchar(invalid.at(i)), 16).toUpper();
    if (invalid.size() > listedAtMost)
        listed << QString(QChar(0x2026)); // an ellipsis
    return tr("This command holds bytes that are not UTF-8, shown as %1: %2. An edit keeps them "
              "where it leaves the text as it was and replaces those that it changes.")
        .arg(QString(QChar::ReplacementCharacter), listed.join(' '));
}

/* The first sentence of a text, for a line that has room for no more: up
 * to a full stop (or ! or ?) before a space, or a line feed. */
QString RowText::firstSentence(const QString &text)
{
    static const QString fullWidthStops = QStringLiteral("\u3002\uFF01\uFF1F");

    for (int i = 0; i < text.size(); i++) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n'))
            return text.left(i);
        if (fullWidthStops.contains(c))
            return text.left(i + 1);
        if ((c == QLatin1Char('.') || c == QLatin1Char('!') || c == QLatin1Char('?'))
            && (i + 1 == text.size() || text.at(i + 1).isSpace()))
            return text.left(i + 1);
    }
    return text;
}
