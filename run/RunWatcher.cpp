// SPDX-License-Identifier: BSD-2-Clause
#include "run/RunWatcher.h"

#include <QSocketNotifier>

#include <errno.h>
#include <unistd.h>

RunWatcher::RunWatcher(int fd, const QByteArray &command, bool active, QObject *parent)
    : QObject(parent), startedCommand(command), startedActive(active), fd(fd), notifier(nullptr)
{
    notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier, SIGNAL(activated(int)), this, SLOT(catchReadable()));
}

RunWatcher::~RunWatcher()
{
    if (fd != -1)
        close(fd);
}

QByteArray RunWatcher::command() const
{
    return startedCommand;
}

bool RunWatcher::active() const
{
    return startedActive;
}

const run_report &RunWatcher::report() const
{
    return received;
}

/* The watcher writes its report at once, or ends without one: either way
 * the read does not wait. */
void RunWatcher::catchReadable()
{
    notifier->setEnabled(false);
    if (run_report_read(fd, &received) == -1) {
        received = {};
        received.state = RUN_FAILED;
        received.value = EIO;
    }
    fd = -1;
    emit reported();
    deleteLater();
}
