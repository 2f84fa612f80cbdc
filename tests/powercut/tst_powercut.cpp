// SPDX-License-Identifier: BSD-2-Clause
/*
 * Saving survives a power cut.  The configuration directory of the
 * temporary home is a lossyfs mount, and the two command lists of the crash
 * test are saved in turn while the power is cut after every change that a
 * save makes to the file system (each write, each new or renamed name,
 * each fsync), in turn, and at random moments.  After each cut and reboot
 * the script must be byte for byte the old or the new version, never
 * missing, empty or cut short: with directory changes durable at once, and
 * with them durable only after an fsync of the directory.
 *
 * The same cuts, with the saver's fsync of files made a no-op by a
 * preloaded library, must leave a broken script at least once: otherwise
 * the cuts could not catch a save that does not sync its data.
 */
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include "lossyfs_mount.h"
#include "saver_harness.h"

class PowercutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cutWhileSaving_data();
    void cutWhileSaving();

private:
    enum Outcome { Old, New, Broken };
    struct Tally
    {
        int cuts = 0;
        int random = 0; /* of the cuts, those at random moments */
        int found[3] = { 0, 0, 0 };
        QString firstBroken;
    };

    void prepare(int which);
    Outcome afterCut(int old, const QString &where, Tally *tally);
    void cutAfterEveryOperation(bool nosync, Tally *tally);
    void cutAtRandom(bool nosync, QRandomGenerator *random, Tally *tally);

    LossyMount fs;
    QByteArray saver, nosyncLibrary;
    QString backing, dir, script;
    QByteArray expected[2];
    int randomCuts = 0;
    long perSave = 0;
};

static int reap(pid_t pid)
{
    int status;

    while (waitpid(pid, &status, 0) == -1 && errno == EINTR)
        ;
    return status;
}

void PowercutTest::initTestCase()
{
    saver = qgetenv("QVX_CRASH_SAVER");
    nosyncLibrary = qgetenv("QVX_NOSYNC");
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(saver)),
             "QVX_CRASH_SAVER must name the crash_saver program");
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(nosyncLibrary)),
             "QVX_NOSYNC must name the library that turns fsync off");
    const QString home = qEnvironmentVariable("QVX_TEST_HOME");
    const QString top = qEnvironmentVariable("QVX_TEST_DIR");
    QVERIFY2(!home.isEmpty() && !top.isEmpty(), "run through tests/with-home.sh");
    dir = home + "/.config/QVX";
    script = dir + "/autostart.sh";
    backing = top + "/disk";
    QVERIFY(QDir().mkpath(dir) && QDir().mkpath(backing));
    QVERIFY(QFile::setPermissions(backing, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    expected[0] = crash_script(0);
    expected[1] = crash_script(1);
    randomCuts = qMax(40, qEnvironmentVariableIntValue("QVX_POWERCUT_RANDOM"));
}

void PowercutTest::cleanup()
{
    fs.stop();
}

/*
 * With the power down, puts version which of the script on the disk as
 * the only file, then boots.
 */
void PowercutTest::prepare(int which)
{
    QVERIFY(fs.status().startsWith("down "));
    for (const QString &name : QDir(backing).entryList(QDir::Files | QDir::Hidden | QDir::System))
        QVERIFY(QFile::remove(backing + "/" + name));
    QFile file(backing + "/autostart.sh");
    QVERIFY(file.open(QIODevice::WriteOnly)
            && file.write(expected[which]) == expected[which].size());
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(fs.control("reboot"));
}

/*
 * The power is (or goes) down: reboots, reads the script and counts what
 * was found, then takes the power down again for the next cut.
 */
PowercutTest::Outcome PowercutTest::afterCut(int old, const QString &where, Tally *tally)
{
    Outcome outcome = Broken;
    QString what;

    fs.control("cut");
    if (!fs.control("reboot"))
        what = "the file system did not come back up";
    QFile file(script);
    if (what.isEmpty() && !file.open(QIODevice::ReadOnly)) {
        what = "the script is missing: " + file.errorString();
    } else if (what.isEmpty()) {
        const QByteArray bytes = file.readAll();
        if (bytes == expected[old])
            outcome = Old;
        else if (bytes == expected[1 - old])
            outcome = New;
        else
            what = "the script is neither version: " + describe_script(bytes, expected);
    }
    file.close();
    tally->cuts++;
    tally->found[outcome]++;
    if (outcome == Broken && tally->firstBroken.isEmpty())
        tally->firstBroken = where + ": " + what;
    fs.control("cut");
    return outcome;
}

/*
 * For each direction (small list to large and back), counts the changes
 * that one whole save makes, then repeats the save once for every one of
 * them with the power cut right after it.
 */
void PowercutTest::cutAfterEveryOperation(bool nosync, Tally *tally)
{
    for (int old = 0; old < 2; old++) {
        int fd;
        prepare(old);
        const long before = fs.operations();
        pid_t pid
            = start_saver(saver, 1 - old, 1, nosync ? nosyncLibrary : QByteArray(), true, &fd);
        QVERIFY(pid > 0);
        int status = reap(pid);
        close(fd);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "crash_saver failed to save");
        const long operations = fs.operations() - before;
        QVERIFY(before >= 0 && operations > 0);
        // A save that has returned is on the disk.
        const Outcome whole = afterCut(old, "after a whole save", tally);
        QVERIFY2(nosync || whole == New,
                 whole == Old ? "a completed save was undone by a power cut"
                              : qPrintable(tally->firstBroken));

        for (long n = 1; n <= operations; n++) {
            prepare(old);
            QVERIFY(fs.control(qPrintable(QString("cut-after %1").arg(n))));
            pid = start_saver(saver, 1 - old, 1, nosync ? nosyncLibrary : QByteArray(), true, &fd);
            QVERIFY(pid > 0);
            reap(pid);
            close(fd);
            const QByteArray status = fs.status();
            afterCut(old,
                     QString("cut after operation %1 of %2 of a save of list %3 (%4)")
                         .arg(n)
                         .arg(operations)
                         .arg(1 - old)
                         .arg(QString::fromLocal8Bit(status)),
                     tally);
        }
    }
}

/* Cuts the power at a random moment while crash_saver saves in a loop. */
void PowercutTest::cutAtRandom(bool nosync, QRandomGenerator *random, Tally *tally)
{
    for (int k = 0; k < randomCuts; k++) {
        int fd;
        prepare(0);
        const pid_t pid
            = start_saver(saver, 0, 0, nosync ? nosyncLibrary : QByteArray(), true, &fd);
        QVERIFY(pid > 0);
        // Cut only once the saver alternates: the first save repeats the
        // contents that are already on disk.
        const bool saved = wait_for_byte(fd, 30000);
        if (saved)
            sleep_microseconds(
                static_cast<long>(random->bounded(static_cast<quint32>(2 * perSave))));
        fs.control("cut");
        kill(pid, SIGKILL);
        reap(pid);
        close(fd);
        QVERIFY2(saved, "crash_saver did not complete a save");
        afterCut(0, QString("random cut %1").arg(k), tally);
        tally->random++;
    }
}

void PowercutTest::cutWhileSaving_data()
{
    QTest::addColumn<bool>("dirFsync");

    QTest::newRow("directory changes durable at once") << false;
    QTest::newRow("directory changes durable after an fsync of the directory") << true;
}

void PowercutTest::cutWhileSaving()
{
    QFETCH(bool, dirFsync);
    QString why;
    QVERIFY2(fs.start(backing, dir, dirFsync, &why), qPrintable(why));

    quint32 seed = static_cast<quint32>(qEnvironmentVariableIntValue("QVX_POWERCUT_SEED"));
    if (seed == 0)
        seed = QRandomGenerator::global()->generate() | 1;
    QRandomGenerator random(seed);
    qInfo("random seed %u (QVX_POWERCUT_SEED repeats a run)", seed);

    // How long one save takes on the mount, so that the random cuts spread
    // over whole saves.
    QVERIFY(fs.control("cut"));
    prepare(0);
    int fd;
    const pid_t pid = start_saver(saver, 0, 0, QByteArray(), true, &fd);
    QVERIFY(pid > 0);
    bool ok = wait_for_byte(fd, 30000);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; ok && i < 20; i++)
        ok = wait_for_byte(fd, 30000);
    perSave = qBound<qint64>(100, timer.nsecsElapsed() / 20 / 1000, 200000);
    kill(pid, SIGKILL);
    reap(pid);
    close(fd);
    QVERIFY2(ok, "crash_saver did not save on the mount");
    fs.control("cut");
    qInfo("one save takes about %ld us; random cuts within 0..%ld us after a save", perSave,
          2 * perSave);

    Tally synced, unsynced;
    cutAfterEveryOperation(false, &synced);
    if (QTest::currentTestFailed())
        return;
    cutAtRandom(false, &random, &synced);
    if (QTest::currentTestFailed())
        return;
    qInfo("%d cuts (%d of them at random moments): old version %d times, new %d, broken %d",
          synced.cuts, synced.random, synced.found[Old], synced.found[New], synced.found[Broken]);
    QVERIFY2(synced.found[Broken] == 0, qPrintable(synced.firstBroken));
    // Cuts early in a save find the old version: the cuts must have landed
    // inside saves.
    QVERIFY(synced.found[Old] > 0);

    cutAfterEveryOperation(true, &unsynced);
    if (QTest::currentTestFailed())
        return;
    cutAtRandom(true, &random, &unsynced);
    if (QTest::currentTestFailed())
        return;
    qInfo("with fsync of files a no-op, %d cuts made the same way (%d at random moments): old "
          "version %d "
          "times, new %d, broken %d (first: %s)",
          unsynced.cuts, unsynced.random, unsynced.found[Old], unsynced.found[New],
          unsynced.found[Broken], qPrintable(unsynced.firstBroken));
    QVERIFY2(unsynced.found[Broken] > 0,
             "no cut broke the script of a save without fsync: the cuts prove nothing");
}

int main(int argc, char *argv[])
{
    return lossyfs_test_main<PowercutTest>(argc, argv);
}

#include "tst_powercut.moc"
