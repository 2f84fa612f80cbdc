// SPDX-License-Identifier: BSD-2-Clause
#include "store.h"

#include <QtTest>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <unistd.h>

/*
 * The script on disk against what the list last read or wrote: changes
 * made by another program between the two, and the temporary files that
 * interrupted saves left behind.  The home is the temporary one of
 * with-home.sh.
 */
class TestStoreDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void otherWriter_data();
    void otherWriter();
    void twoWindows();
    void fifoInPlace();
    void leftovers_data();
    void leftovers();

private:
    QString home;
    QString dirPath() const { return home + "/.config/QVX"; }
    QString scriptPath() const { return dirPath() + "/autostart.sh"; }
};

/* What another program does to the script while the list is open. */
enum Change {
    Nothing,
    SameBytesSameTime, /* rewritten in place with the bytes it had, time kept */
    OtherBytesSameTime, /* same size, same time, one byte different */
    Touched, /* only the modification time */
    Appended,
    ReplacedSameBytes, /* a new file with the same bytes renamed over it */
    Removed,
    Created /* there was no script, now there is one */
};
Q_DECLARE_METATYPE(Change)

static QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

static bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

static struct timespec mtimeOf(const QString &path)
{
    struct stat st = {};
    stat(QFile::encodeName(path).constData(), &st);
    return st.st_mtim;
}

static bool setMtime(const QString &path, struct timespec t)
{
    const struct timespec times[2] = { t, t };
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

static void change(Change what, const QString &path)
{
    const QByteArray bytes = fileBytes(path);
    const struct timespec t = mtimeOf(path);
    QByteArray other = bytes;

    switch (what) {
    case Nothing:
        break;
    case SameBytesSameTime:
        QVERIFY(writeBytes(path, bytes));
        QVERIFY(setMtime(path, t));
        break;
    case OtherBytesSameTime:
        other[other.size() - 2] = other[other.size() - 2] == 'x' ? 'y' : 'x';
        QVERIFY(writeBytes(path, other));
        QVERIFY(setMtime(path, t));
        break;
    case Touched: {
        struct timespec later = t;
        later.tv_sec += 2;
        QVERIFY(setMtime(path, later));
        break;
    }
    case Appended:
        QVERIFY(writeBytes(path, bytes + "xclock&\n"));
        break;
    case ReplacedSameBytes:
        QVERIFY(writeBytes(path + ".new", bytes));
        QVERIFY(setMtime(path + ".new", t));
        QVERIFY(::rename(QFile::encodeName(path + ".new").constData(),
                         QFile::encodeName(path).constData())
                == 0);
        break;
    case Removed:
        QVERIFY(QFile::remove(path));
        break;
    case Created:
        QVERIFY(writeBytes(path, "#!/bin/sh\nxclock&\n"));
        break;
    }
}

void TestStoreDisk::initTestCase()
{
    home = qEnvironmentVariable("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "run through with-home.sh");
}

void TestStoreDisk::init()
{
    QDir(home + "/.config").removeRecursively();
    QVERIFY(QDir(home).mkpath(".config/QVX"));
}

void TestStoreDisk::otherWriter_data()
{
    QTest::addColumn<bool>("scriptAtStart");
    QTest::addColumn<bool>("savedFirst"); /* the list saved itself before the change */
    QTest::addColumn<Change>("what");
    QTest::addColumn<int>("changed");

    const struct
    {
        const char *name;
        Change what;
        int changed;
    } rows[] = {
        { "nothing", Nothing, 0 },
        { "same bytes, same time", SameBytesSameTime, 0 },
        { "other bytes, same size and time", OtherBytesSameTime, 1 },
        { "touched", Touched, 1 },
        { "appended", Appended, 1 },
        { "replaced by the same bytes", ReplacedSameBytes, 1 },
        { "removed", Removed, 1 },
    };
    for (bool saved : { false, true })
        for (const auto &r : rows)
            QTest::addRow("%s%s", saved ? "after a save: " : "after the read: ", r.name)
                << true << saved << r.what << r.changed;
    QTest::newRow("no script, nothing") << false << false << Nothing << 0;
    QTest::newRow("no script, then created") << false << false << Created << 1;
}

void TestStoreDisk::otherWriter()
{
    QFETCH(bool, scriptAtStart);
    QFETCH(bool, savedFirst);
    QFETCH(Change, what);
    QFETCH(int, changed);

    if (scriptAtStart)
        QVERIFY(writeBytes(scriptPath(), "#!/bin/sh\nxterm&\n#[INACTIVE]#xeyes&\n"));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    if (savedFirst) {
        QVERIFY(qvxsessrun_add_command(list, "nm-applet", 1) != nullptr);
        QCOMPARE(qvxsessrun_write(list), 0);
        QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    }
    change(what, scriptPath());
    QCOMPARE(qvxsessrun_changed_on_disk(list), changed);

    // Saving over it makes the script the list's own again.
    QCOMPARE(qvxsessrun_write(list), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    qvxsessrun_free(list);
}

/* Two windows on one script: each save is seen by the other, never by itself. */
void TestStoreDisk::twoWindows()
{
    QVERIFY(writeBytes(scriptPath(), "#!/bin/sh\nxterm&\n"));
    command_list *first = qvxsessrun_read();
    command_list *second = qvxsessrun_read();
    QVERIFY(first != nullptr && second != nullptr);

    QVERIFY(qvxsessrun_add_command(first, "first", 1) != nullptr);
    QCOMPARE(qvxsessrun_write(first), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(first), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(second), 1);

    QVERIFY(qvxsessrun_add_command(second, "second", 1) != nullptr);
    QCOMPARE(qvxsessrun_write(second), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(second), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(first), 1);
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\nxterm&\nsecond&\n"));

    // A copy, such as the editor's snapshot, knows no script at all.
    command_list *copy = qvxsessrun_copy(second);
    QVERIFY(copy != nullptr);
    QCOMPARE(qvxsessrun_changed_on_disk(copy), 1);
    qvxsessrun_free(copy);
    qvxsessrun_free(first);
    qvxsessrun_free(second);
}

/* A FIFO put in the script's place is a change, told at once without a reader on the other end. */
void TestStoreDisk::fifoInPlace()
{
    QVERIFY(writeBytes(scriptPath(), "#!/bin/sh\nxterm&\n"));
    command_list *list = qvxsessrun_read();
    QVERIFY(list != nullptr);
    QVERIFY(QFile::remove(scriptPath()));
    QCOMPARE(mkfifo(QFile::encodeName(scriptPath()).constData(), 0600), 0);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(qvxsessrun_changed_on_disk(list), 1);
    QVERIFY(timer.elapsed() < 1000);
    qvxsessrun_free(list);
}

void TestStoreDisk::leftovers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); /* file, dir, link, foreign (another user's file) */
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");

    QTest::newRow("old leftover") << "autostart.sh.aB3xY9"
                                  << "file" << 11 * 60 << true;
    QTest::newRow("a day old") << "autostart.sh.000000"
                               << "file" << 24 * 3600 << true;
    QTest::newRow("a save running now") << "autostart.sh.aB3xY9"
                                        << "file" << 0 << false;
    QTest::newRow("nine minutes old") << "autostart.sh.aB3xY9"
                                      << "file" << 9 * 60 << false;
    QTest::newRow("five characters") << "autostart.sh.aB3xY"
                                     << "file" << 3600 << false;
    QTest::newRow("seven characters") << "autostart.sh.aB3xY9z"
                                      << "file" << 3600 << false;
    QTest::newRow("not a letter or digit") << "autostart.sh.aB3-Y9"
                                           << "file" << 3600 << false;
    QTest::newRow("another name") << "autostart.sx.aB3xY9"
                                  << "file" << 3600 << false;
    QTest::newRow("six letters") << "autostart.sh.abcdef"
                                 << "file" << 3600 << true;
    QTest::newRow("a directory") << "autostart.sh.aB3xY9"
                                 << "dir" << 3600 << false;
    QTest::newRow("a symbolic link") << "autostart.sh.aB3xY9"
                                     << "link" << 3600 << false;
    QTest::newRow("another user's file") << "autostart.sh.aB3xY9"
                                         << "foreign" << 3600 << false;
}

/* After a successful save, old leftovers of the save's own name go, nothing else. */
void TestStoreDisk::leftovers()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, ageSeconds);
    QFETCH(bool, removed);

    if (kind == "foreign" && geteuid() != 0)
        QSKIP("giving a file to another user needs root");

    const QString path = dirPath() + "/" + name;
    const QByteArray native = QFile::encodeName(path);
    const QString target = dirPath() + "/target";
    QVERIFY(writeBytes(target, "keep me\n"));
    if (kind == "dir")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "link")
        QCOMPARE(symlink(QFile::encodeName(target).constData(), native.constData()), 0);
    else
        QVERIFY(writeBytes(path, "#!/bin/sh\nhalf a li"));
    if (kind == "foreign")
        QCOMPARE(lchown(native.constData(), 65534, 65534), 0);

    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    t.tv_sec -= ageSeconds;
    const struct timespec times[2] = { t, t };
    QCOMPARE(utimensat(AT_FDCWD, native.constData(), times, AT_SYMLINK_NOFOLLOW), 0);

    command_list *list = qvxsessrun_read();
    QVERIFY(list != nullptr);
    QCOMPARE(qvxsessrun_write(list), 0);
    qvxsessrun_free(list);

    struct stat st;
    QCOMPARE(lstat(native.constData(), &st) == -1, removed);
    QCOMPARE(fileBytes(target), QByteArray("keep me\n"));
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\n"));
}

QTEST_MAIN(TestStoreDisk)
#include "tst_store_disk.moc"
