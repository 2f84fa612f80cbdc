// SPDX-License-Identifier: BSD-2-Clause
#include "check/CheckText.h"

#include "check/CommandCheck.h"
#include "check/checkshell.h"
#include "store/store.h"
#include "sys/systemshell.h"

#include <string.h>

/* The time the shell may take, in whole seconds, as the texts give it. */
static int timeLimitSeconds()
{
    return (shell_time_limit_ms + 999) / 1000;
}

QString CheckText::forVerdict(const command_entry *entry, int verdict, const QString &word,
                              int line)
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
        return tr("%1 is not found by %2; this shell knows only POSIX syntax. Write it in POSIX "
                  "syntax, or name another shell in the first line of the script.")
            .arg(word, QStringLiteral(SYSTEM_SHELL));
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
            return tr("This line could not be checked: the shell took longer than %n second(s) "
                      "over the script from here and was stopped.",
                      nullptr, timeLimitSeconds());
        return tr("%1 could not be checked: the shell took longer than %n second(s) to look it "
                  "up and was stopped.",
                  nullptr, timeLimitSeconds())
            .arg(word);
    default:
        return QString();
    }
}
