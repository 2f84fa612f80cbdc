// SPDX-License-Identifier: BSD-2-Clause
/*
 * Crash safety of saving: crash_saver saves two different command lists in
 * turn while this test kills it with SIGKILL at random moments.  After every
 * kill the script must be byte for byte one of the two versions, never
 * missing, empty or cut short; the only other files allowed in the directory
 * are temporary files of an interrupted save.
 */
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include "saver_harness.h"

/* The temporary file of a save: the prefix, then six letters or digits. */
static const QRegularExpression tempName("^\\.autostart\\.sh\\.save-[A-Za-z0-9]{6}$");

class CrashTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killWhileSaving();

private:
    int stopSaver(pid_t pid, int fd);

    QByteArray saver;
    QString dir;
    QString script;
    QByteArray expected[2];
};

void CrashTest::initTestCase()
{
    saver = qgetenv("QVX_CRASH_SAVER");
    QVERIFY2(!saver.isEmpty() && QFile::exists(QString::fromLocal8Bit(saver)),
             "QVX_CRASH_SAVER must name the crash_saver program");
    const QString home = qEnvironmentVariable("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "run through tests/with-home.sh");
    dir = home + "/.config/QVX";
    script = dir + "/autostart.sh";
    expected[0] = crash_script(0);
    expected[1] = crash_script(1);
    QVERIFY(expected[1].size() > 64 * expected[0].size());
}

/* Kills the saver and returns the number of saves it reported, or -1 when
 * it had ended by itself. */
int CrashTest::stopSaver(pid_t pid, int fd)
{
    char buf[256];
    ssize_t n;
    int status, saves = 0;

    const bool killed = kill(pid, SIGKILL) == 0;
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR)
        ;
    while ((n = read(fd, buf, sizeof buf)) > 0)
        saves += n;
    close(fd);
    if (!killed || !WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
        return -1;
    return saves;
}

void CrashTest::killWhileSaving()
{
    const int kills = qMax(1000, qEnvironmentVariableIntValue("QVX_CRASH_KILLS"));
    quint32 seed = static_cast<quint32>(qEnvironmentVariableIntValue("QVX_CRASH_SEED"));
    if (seed == 0)
        seed = QRandomGenerator::global()->generate() | 1;
    QRandomGenerator random(seed);
    qInfo("random seed %u (QVX_CRASH_SEED repeats a run)", seed);

    // How long one save takes here, so that the kills spread over a whole save.
    int fd;
    pid_t pid = start_saver(saver, 0, 0, QByteArray(), false, &fd);
    QVERIFY(pid > 0);
    QVERIFY2(wait_for_byte(fd, 30000), "crash_saver did not complete a first save");
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 20; i++)
        QVERIFY2(wait_for_byte(fd, 30000), "crash_saver stopped saving");
    const qint64 perSave = qBound<qint64>(100, timer.nsecsElapsed() / 20 / 1000, 200000);
    QVERIFY2(stopSaver(pid, fd) >= 0, "crash_saver ended by itself");
    qInfo("one save takes about %lld us; killing within 0..%lld us after a save",
          static_cast<long long>(perSave), static_cast<long long>(2 * perSave));

    int found[2] = { 0, 0 };
    long saves = 0;
    QStringList temps;
    for (int k = 0; k < kills; k++) {
        pid = start_saver(saver, 0, 0, QByteArray(), false, &fd);
        QVERIFY(pid > 0);
        // Kill only once the saver alternates: the first save may repeat the
        // contents that are already on disk.
        if (!wait_for_byte(fd, 30000)) {
            stopSaver(pid, fd);
            QFAIL("crash_saver did not complete a save");
        }
        sleep_microseconds(static_cast<long>(random.bounded(static_cast<quint32>(2 * perSave))));
        const int n = stopSaver(pid, fd);
        QVERIFY2(n >= 0, "crash_saver ended by itself instead of being killed");
        saves += 1 + n;

        QFile file(script);
        QVERIFY2(file.open(QIODevice::ReadOnly),
                 qPrintable(
                     QString("kill %1: the script is missing: %2").arg(k).arg(file.errorString())));
        const QByteArray bytes = file.readAll();
        if (bytes == expected[0]) {
            found[0]++;
        } else if (bytes == expected[1]) {
            found[1]++;
        } else {
            QFAIL(qPrintable(QString("kill %1: the script is neither version: %2")
                                 .arg(k)
                                 .arg(describe_script(bytes, expected))));
        }

        const QStringList names = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                      | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            if (name == "autostart.sh" || temps.contains(name))
                continue;
            QVERIFY2(tempName.match(name).hasMatch(),
                     qPrintable(QString("kill %1 left an unexpected file: %2").arg(k).arg(name)));
            temps += name;
        }
    }
    qInfo("%d kills after %ld completed saves: small version found %d times, large %d times; "
          "%lld stale temporary files left by interrupted saves",
          kills, saves, found[0], found[1], static_cast<long long>(temps.size()));
    // A kill is as likely to land in a save of either list; seeing only one
    // of them would mean the kills never fell inside the alternation.
    QVERIFY(found[0] > 0 && found[1] > 0);

    // The next save after the kills completes and writes its version.  The
    // interrupted saves are made to look eleven minutes old, as when the
    // program is started again later: a save removes only leftovers that old,
    // never the file of a save that another window may be making now.
    for (const QString &name : temps) {
        struct timespec aged[2];
        clock_gettime(CLOCK_REALTIME, &aged[0]);
        aged[0].tv_sec -= 11 * 60;
        aged[1] = aged[0];
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(dir + "/" + name).constData(), aged, 0), 0);
    }
    pid = start_saver(saver, 1, 1, QByteArray(), false, &fd);
    QVERIFY(pid > 0);
    QVERIFY2(wait_for_byte(fd, 30000), "crash_saver did not save after the kills");
    int status;
    while (waitpid(pid, &status, 0) == -1 && errno == EINTR)
        ;
    close(fd);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QFile file(script);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected[1]);

    // It leaves no temporary file of the interrupted saves behind.
    QStringList left = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                           | QDir::NoDotAndDotDot);
    left.removeOne("autostart.sh");
    QVERIFY2(left.isEmpty(),
             qPrintable(QString("%1 temporary files remain after the next save, for example %2")
                            .arg(left.size())
                            .arg(left.value(0))));
}

QTEST_GUILESS_MAIN(CrashTest)
#include "tst_crash.moc"
