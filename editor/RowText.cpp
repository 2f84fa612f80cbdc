// SPDX-License-Identifier: BSD-2-Clause
#include "editor/RowText.h"

#include "check/CommandCheck.h"
#include "store/store.h"
#include "editor/utf8bytes.h"

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

QString RowText::forVerdict(const command_entry *entry, int verdict, const QString &word, int line)
{
    line_scan scan;
    qvxsessrun_scan(nullptr, entry->text, entry->text_len, &scan);

    switch (verdict) {
    case CommandCheck::NotShell:
        if (line > 0)
            return tr("Line %1 of this command is not valid shell: the script stops there and no "
                      "later command runs.")
                .arg(line + 1);
        return tr("This line is not valid shell: the script stops here and no later command "
                  "runs.");
    case CommandCheck::Unclosed:
        if (scan.joins)
            return tr("This line ends in && (or ||, |), so the shell joins it with the next "
                      "line, and none follows: the script stops here.");
        return tr("The shell reads on from this line to the end of the script for the end of "
                  "what it opens (if, case, a loop, a brace or a quote): this command and every "
                  "later one never run.");
    case CommandCheck::OpenQuote:
        return tr("This line leaves a quote open: the shell reads the lines below as part of "
                  "this command, up to the next matching quote.");
    case CommandCheck::HereDocument:
        return tr("This line starts a here-document that no line ends: every line below "
                  "becomes its text, and no later command runs.");
    case CommandCheck::ReadsOn:
        return tr("This command is not complete: it ends in &&, ||, | or a backslash, or opens "
                  "if, case, a loop or a brace that it does not close. The shell reads the lines "
                  "below as part of it.");
    case CommandCheck::Foreground:
        return tr("The final & is swallowed (by a comment or a trailing backslash): the command "
                  "runs in the foreground and holds up every later one.");
    case CommandCheck::Comment:
        return tr("An active command that begins with # is a comment: it does not run, and it "
                  "is gone the next time the script is read.");
    case CommandCheck::ComesBackInactive:
        return tr("This command begins with #[INACTIVE]#: it does not run and comes back "
                  "switched off.");
    case CommandCheck::NotFound:
        return tr("%1: no such command (not a shell builtin, and not found on PATH).").arg(word);
    case CommandCheck::NotExecutable:
        return tr("%1 is not an executable file.").arg(word);
    case CommandCheck::StateInBackground:
        if (word.isEmpty())
            return tr("This assignment has no effect on the commands below it, because it runs "
                      "in a background subshell. Switch off \"Run in the background\" in the "
                      "row's menu to let it act on the script.");
        return tr("%1 has no effect on the commands below it, because it runs in a background "
                  "subshell. Switch off \"Run in the background\" in the row's menu to let it "
                  "act on the script.")
            .arg(word);
    case CommandCheck::NeverRuns:
        return tr("This command never runs: a line above replaces or ends the shell (exec or "
                  "exit).");
    case CommandCheck::ExecInBackground:
        return tr("exec here does not replace the session's shell: the final & runs it in a "
                  "background subshell. Switch off \"Run in the background\" in the row's menu "
                  "if the script should end in this command.");
    case CommandCheck::NotPosix:
        return tr("%1 is not found by /bin/sh; this shell knows only POSIX syntax. Write it in "
                  "POSIX syntax, or name another shell in the first line of the script.")
            .arg(word);
    case CommandCheck::CarriageReturn:
        if (entry->text != nullptr && memchr(entry->text, '\n', entry->text_len) != nullptr)
            return tr("Line %1 of this command ends in a carriage return (CR), as lines of a "
                      "script saved on another system do. The shell takes the CR for a part of "
                      "that line's last word, or after a final & for a command of its own.")
                .arg(line + 1);
        return tr("This line ends in a carriage return (CR), as lines of a script saved on "
                  "another system do. The shell takes the CR for a part of the line's last word, "
                  "or after a final & for a command of its own.");
    case CommandCheck::Unchecked:
        if (word.isEmpty())
            return tr("This line could not be checked: the shell took longer than 5 seconds "
                      "over the script from here and was stopped.");
        return tr("%1 could not be checked: the shell took longer than 5 seconds to look it up "
                  "and was stopped.")
            .arg(word);
    default:
        return QString();
    }
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
