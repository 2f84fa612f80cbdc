// SPDX-License-Identifier: BSD-2-Clause
#ifndef RUNWATCHER_H
#define RUNWATCHER_H

#include <QByteArray>
#include <QObject>

#include "run/runnow.h"

class QSocketNotifier;

/*
 * Waits, in the event loop, for the report on a command that run_detached
 * started, and hands it on once it is there.  It goes away by itself then;
 * deleted before, it drops the report, which the watcher then sends into a
 * closed pipe.
 */
class RunWatcher : public QObject
{
    Q_OBJECT

public:
    /* For the report descriptor of run_detached, which it takes over; the
     * command and its check state as they were when it was started. */
    RunWatcher(int fd, const QByteArray &command, bool active, QObject *parent);
    ~RunWatcher() override;

    QByteArray command() const;
    bool active() const;
    /* The report, once reported() came; a failure with the errno EIO when
     * the watcher gave none. */
    const run_report &report() const;

signals:
    void reported();

private slots:
    void catchReadable();

private:
    const QByteArray startedCommand;
    const bool startedActive;
    run_report received = {};
    int fd;
    QSocketNotifier *notifier;

    Q_DISABLE_COPY(RunWatcher)
};

#endif // RUNWATCHER_H
