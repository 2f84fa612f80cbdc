// SPDX-License-Identifier: BSD-2-Clause
#ifndef RUNTEXT_H
#define RUNTEXT_H

#include <QCoreApplication>
#include <QString>

struct run_report;

/*
 * What the status bar says of a command that Run now started: that it
 * is starting, could not start, started or ended at once, with a word on
 * a row that is switched off.  The texts belong to the command list,
 * where the catalogues have them.
 */
class RunText
{
    Q_DECLARE_TR_FUNCTIONS(List)

public:
    static QString nothingToRun();
    /* error is an errno value, 0 when the command is starting. */
    static QString starting(const QString &command, int error, bool active);
    /* What became of it within a second. */
    static QString reported(const QString &command, const run_report &report, bool active);

private:
    static QString couldNotStart(const QString &command, int error);
    static QString onRow(const QString &message, bool active);
    static QString ended(const QString &command, const run_report &report);
};

#endif // RUNTEXT_H
