// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHECKTEXT_H
#define CHECKTEXT_H

#include <QCoreApplication>
#include <QString>

struct command_entry;

/* Why the check marked a command, in words for its row. */
class CheckText
{
    Q_DECLARE_TR_FUNCTIONS(CheckText)

public:
    /* verdict is one of CommandCheck's; word the command it names, line
     * the line of the command where the shell stopped. */
    static QString forVerdict(const command_entry *entry, int verdict, const QString &word,
                              int line = 0);
};

#endif // CHECKTEXT_H
