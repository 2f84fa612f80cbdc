// SPDX-License-Identifier: BSD-2-Clause
#include "run/RunText.h"

#include "run/runnow.h"

#include <QByteArray>

#include <string.h>
#include <sys/wait.h>

QString RunText::nothingToRun()
{
    return tr("There is no command to run.");
}

QString RunText::starting(const QString &command, int error, bool active)
{
    if (error != 0)
        return onRow(couldNotStart(command, error), active);
    return onRow(tr("Starting %1").arg(command), active);
}

QString RunText::reported(const QString &command, const run_report &report, bool active)
{
    if (report.state == RUN_FAILED)
        return onRow(couldNotStart(command, report.value), active);
    if (report.state == RUN_ENDED)
        return onRow(ended(command, report), active);
    return onRow(tr("Started %1").arg(command), active);
}

QString RunText::couldNotStart(const QString &command, int error)
{
    return tr("Could not start %1: %2").arg(command, QString::fromLocal8Bit(strerror(error)));
}

/* A word on the row when it is switched off: the command ran although
 * the session start does not run it. */
QString RunText::onRow(const QString &message, bool active)
{
    if (active)
        return message;
    return tr("%1 (switched off: the session start does not run it)").arg(message);
}

/* A command that ended at once: how, and the first line of its standard
 * error, which says why more often than not. */
QString RunText::ended(const QString &command, const run_report &report)
{
    const QByteArray err(report.text, report.length);
    const QString line = QString::fromLocal8Bit(err.left(err.indexOf('\n'))).trimmed();

    if (WIFSIGNALED(report.value))
        return tr("%1 ended at once by signal %2")
            .arg(command, QString::number(WTERMSIG(report.value)));
    const QString status = QString::number(WEXITSTATUS(report.value));
    if (line.isEmpty())
        return tr("%1 ended at once with status %2").arg(command, status);
    return tr("%1 ended at once with status %2: %3").arg(command, status, line);
}
