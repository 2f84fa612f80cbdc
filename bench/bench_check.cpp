// SPDX-License-Identifier: BSD-2-Clause
/*
 * Times the check of the commands against the system's shell, in the
 * command list widget that the window shows:
 *   - 10,000 rows that are all broken (or as many as the first argument
 *     says), until every row has its verdict,
 *     and how many check shells ran at once;
 *   - 10,000 rows (or as many) each broken by itself, every one of them
 *     marked, most of them a syntax error of its own;
 *   - 100,000 clean rows, until the checks end;
 *   - at 10,000 rows, a quarter of them broken, one edit, one Undo and one
 *     Redo in the widget, each until the marks are right again.
 * Each figure is printed next to the same run's cost of one "sh -n" over
 * the whole script.  Fails when a figure misses its limit.
 *
 * It writes ~/.config/QVX/autostart.sh, so it runs only in the temporary
 * home that tests/with-home.sh provides (scripts/bench does that).
 */
#include "editor/List.h"
#include "editor/ListWidget.h"
#include "store/store.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidgetItem>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QVector>

#include <atomic>
#include <stdio.h>
#include <stdlib.h>
#include <thread>
#include <unistd.h>

namespace {

const double brokenLimitMs = 10000;
const double cleanLimitMs = 3000;
const double editLimitMs = 200;

/* The most check shells that ran at once, seen by looking for children of
 * this process every few milliseconds; -1 where /proc does not tell. */
class ShellCounter
{
public:
    ShellCounter() : thread([this] { watch(); }) { }
    ~ShellCounter()
    {
        stop = true;
        thread.join();
    }
    int most() const { return available ? peak.load() : -1; }

private:
    void watch()
    {
        const QByteArray self = QByteArray::number(qint64(getpid()));
        available = QFile::exists("/proc/self/stat");
        while (!stop && available) {
            int now = 0;
            const QStringList pids = QDir("/proc").entryList(QDir::Dirs);
            for (const QString &pid : pids) {
                QFile stat("/proc/" + pid + "/stat");
                if (!stat.open(QIODevice::ReadOnly))
                    continue;
                // "pid (name) state ppid ...": the name may hold blanks.
                const QByteArray line = stat.readAll();
                const QList<QByteArray> rest = line.mid(line.lastIndexOf(')') + 2).split(' ');
                now += rest.size() > 1 && rest.at(1) == self;
            }
            peak = qMax(peak.load(), now);
            QThread::msleep(2);
        }
    }

    std::atomic<bool> stop { false };
    std::atomic<int> peak { 0 };
    bool available = false;
    std::thread thread;
};

[[noreturn]] void die(const char *what)
{
    fprintf(stderr, "bench_check: %s\n", what);
    exit(1);
}

command_list *readScript(const QByteArray &script)
{
    const QString dir = qEnvironmentVariable("QVX_TEST_HOME") + "/.config/QVX";
    if (qEnvironmentVariableIsEmpty("QVX_TEST_HOME") || !QDir().mkpath(dir))
        die("no temporary home (run through tests/with-home.sh)");
    QFile file(dir + "/autostart.sh");
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(script) != script.size())
        die("cannot write the script");
    file.close();
    command_list *list = qvxsessrun_read();
    if (!list)
        die(qvxsessrun_error_text());
    return list;
}

/* Milliseconds of one "sh -n" over the script as a save writes it. */
double oneParseMs(const command_list *list)
{
    size_t len = 0;
    char *bytes = qvxsessrun_render(list, &len);
    const QByteArray script(bytes, int(len));
    free(bytes);
    QProcess sh;
    sh.setStandardOutputFile(QProcess::nullDevice());
    sh.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    sh.start("/bin/sh", { "-n" });
    sh.write(script);
    sh.closeWriteChannel();
    sh.waitForFinished(60000);
    return timer.nsecsElapsed() / 1e6;
}

/* A script of the given rows, each the next of the forms in turn, with
 * "N" in a form standing for the row's number. */
static QByteArray scriptOfForms(int rows, const QVector<QByteArray> &forms)
{
    QByteArray script = "#!/bin/sh\n";
    for (int i = 0; i < rows; i++)
        script += QByteArray(forms.at(i % forms.size())).replace("N", QByteArray::number(i));
    return script;
}

QByteArray brokenScript(int rows)
{
    return scriptOfForms(rows,
                         { "then&\n", "fi&\n", "echo \"unclosed N&\n", "true N;&\n",
                           "sleep N # swallowed&\n", "qvx-missing-N --flag&\n" });
}

/*
 * Rows that each break the script, or hold it up, by themselves, whatever
 * the rows around them: six in ten are a syntax error of their own, so
 * that the shell stops at every one of them.  In "cd /tmp #&" the comment
 * swallows the "&": it runs in the foreground.
 */
QByteArray selfBrokenScript(int rows)
{
    return scriptOfForms(rows,
                         { "then&\n", "fi&\n", "do&\n", "}&\n", "esac&\n", "true N;&\n",
                           "cd /tmp #&\n", "export A=N #&\n", "sleep N # swallowed&\n",
                           "qvx-missing-N --flag&\n" });
}

QByteArray cleanScript(int rows, int brokenEvery)
{
    const char *const names[]
        = { "true", "sleep", "echo", "env A=1 true", "/bin/sh -c :", "cat /dev/null" };
    QByteArray script = "#!/bin/sh\n";
    for (int i = 0; i < rows; i++) {
        if (brokenEvery > 0 && i % brokenEvery == 0)
            script += i % (2 * brokenEvery) == 0 ? "fi&\n" : "true;&\n";
        else
            script += QByteArray(names[i % 6]) + " " + QByteArray::number(i) + " >/dev/null&\n";
    }
    return script;
}

void report(const char *what, double ms, double parseMs, double limitMs, int shells, bool *failed)
{
    printf("%-44s %9.1f ms   (one sh -n over the script: %7.1f ms)", what, ms, parseMs);
    if (shells >= 0)
        printf("   shells at once: %d of %d cores", shells, QThread::idealThreadCount());
    printf("\n");
    if (ms > limitMs || shells > QThread::idealThreadCount()) {
        printf("  over the limit of %.0f ms or of one shell per core\n", limitMs);
        *failed = true;
    }
}

/* Milliseconds from the start of timer until the list's checks end. */
double untilChecked(List *list, QSignalSpy *finished, const QElapsedTimer &timer)
{
    while (finished->isEmpty() || list->checking())
        if (!finished->wait(1200000))
            die("the checks did not end");
    return timer.nsecsElapsed() / 1e6;
}

/*
 * The first check of a script in the widget the window shows, until every
 * row has its verdict, and the longest time in which the event loop, which
 * answers the keys, was held meanwhile.
 */
void firstCheck(const QByteArray &script, const char *what, double limitMs, bool *failed)
{
    command_list *list = readScript(script);
    const double parseMs = oneParseMs(list);
    ShellCounter counter;
    QElapsedTimer timer;
    timer.start();
    {
        List view(list, nullptr);
        QSignalSpy finished(&view, SIGNAL(checksFinished()));
        QElapsedTimer sinceTick;
        qint64 longestHold = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout,
                         [&] { longestHold = qMax(longestHold, sinceTick.restart()); });
        sinceTick.start();
        ticks.start(5);
        const double ms = untilChecked(&view, &finished, timer);
        char line[96];
        snprintf(line, sizeof(line), "%s (%d marked)", what, view.markedCount());
        report(line, ms, parseMs, limitMs, counter.most(), failed);
        printf("  the event loop was held for %lld ms at most during the check\n",
               qMax<qint64>(0, longestHold - 5));
    }
    qvxsessrun_free(list);
}

/* One edit, Undo and Redo at many rows, until the marks are right again. */
void editUndoRedo(int rows, bool *failed)
{
    command_list *list = readScript(cleanScript(rows, 4));
    const double parseMs = oneParseMs(list);
    {
        List view(list, nullptr);
        QSignalSpy finished(&view, SIGNAL(checksFinished()));
        QElapsedTimer first;
        first.start();
        untilChecked(&view, &finished, first);
        const int marked = view.markedCount();
        ListWidget *widget = view.findChild<ListWidget *>();
        QListWidgetItem *item = widget->item(rows / 2);
        const char *const steps[] = { "edit", "undo", "redo" };
        for (const char *step : steps) {
            finished.clear();
            QElapsedTimer timer;
            timer.start();
            if (step == steps[0])
                item->setText("true fixed");
            else if (step == steps[1])
                view.undo();
            else
                view.redo();
            const double ms = untilChecked(&view, &finished, timer);
            char what[80];
            snprintf(what, sizeof(what), "%d rows, one %s, marks right (%d marked)", rows, step,
                     view.markedCount());
            report(what, ms, parseMs, editLimitMs, -1, failed);
        }
        if (view.markedCount() != marked - 1)
            die("the edit did not take the mark away");
    }
    qvxsessrun_free(list);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool failed = false;

    // A smaller first figure on request, for code that takes minutes.
    const int broken = argc > 1 ? atoi(argv[1]) : 10000;
    char what[64];
    snprintf(what, sizeof(what), "%d broken rows, all checked", broken);
    firstCheck(brokenScript(broken), what, brokenLimitMs, &failed);
    snprintf(what, sizeof(what), "%d rows each broken by itself", broken);
    firstCheck(selfBrokenScript(broken), what, brokenLimitMs, &failed);
    firstCheck(cleanScript(100000, 0), "100000 clean rows in the list", cleanLimitMs, &failed);
    editUndoRedo(10000, &failed);
    return failed ? 1 : 0;
}
