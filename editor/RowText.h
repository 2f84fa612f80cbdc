// SPDX-License-Identifier: BSD-2-Clause
#ifndef ROWTEXT_H
#define ROWTEXT_H

#include <QCoreApplication>
#include <QString>

struct command_entry;

/*
 * What a row's tool tip says of its command beside the check's verdict: a
 * hint on how it runs, its lines, its NUL bytes and which of its bytes are
 * not UTF-8.  The texts belong to the command list, where the catalogues
 * have them.
 */
class RowText
{
    Q_DECLARE_TR_FUNCTIONS(List)

public:
    static QString hint(const command_entry *entry);
    static QString undecodable(const command_entry *entry);
    static QString nulBytes(const command_entry *entry);
    static QString wholeCommand(const command_entry *entry);
    static QString firstSentence(const QString &text);
};

#endif // ROWTEXT_H
