// SPDX-License-Identifier: BSD-2-Clause
/*
 * The rules of lossyfs, each shown by what a mount holds after a power cut
 * and a reboot: unsynced file data is lost, directory changes are durable
 * at once or only after an fsync of the directory (--dir-fsync), and the
 * control file cuts the power, counts the changes and reboots.
 */
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QtTest>

#include "lossyfs_mount.h"

class LossyfsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void fileData_data();
    void fileData();
    void directoryChanges_data();
    void directoryChanges();
    void controlFile();

private:
    void mount(bool dirFsync, const QMap<QString, QByteArray> &files);
    QByteArray path(const char *name) const { return (mnt + "/" + name).toLocal8Bit(); }
    QString listing() const;
    bool cutAndReboot();

    LossyMount fs;
    QString backing, mnt;
};

static bool writeFile(const QByteArray &path, const QByteArray &data, int flags, int *fdOut)
{
    const int fd = open(path.constData(), O_WRONLY | flags, 0600);
    if (fd == -1)
        return false;
    if (write(fd, data.constData(), data.size()) != data.size()) {
        close(fd);
        return false;
    }
    if (fdOut != nullptr) {
        *fdOut = fd;
        return true;
    }
    return close(fd) == 0;
}

static QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

static bool syncDir(const QString &dir)
{
    const int fd = open(dir.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    const bool ok = fd != -1 && fsync(fd) == 0;
    if (fd != -1)
        close(fd);
    return ok;
}

void LossyfsTest::init()
{
    const QString top = qEnvironmentVariable("QVX_TEST_DIR");
    QVERIFY2(!top.isEmpty(), "run through tests/with-home.sh");
    backing = top + "/disk";
    mnt = top + "/mnt";
    QVERIFY(QDir().mkpath(mnt));
}

void LossyfsTest::cleanup()
{
    fs.stop();
}

/* A fresh mount over a disk that holds files and nothing else. */
void LossyfsTest::mount(bool dirFsync, const QMap<QString, QByteArray> &files)
{
    QDir(backing).removeRecursively();
    QVERIFY(QDir().mkpath(backing));
    for (auto it = files.begin(); it != files.end(); ++it) {
        QFile f(backing + "/" + it.key());
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(it.value()) == it.value().size());
        f.close();
        QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }
    QString why;
    QVERIFY2(fs.start(backing, mnt, dirFsync, &why), qPrintable(why));
}

/* The mount's files as "name=contents/mode", sorted. */
QString LossyfsTest::listing() const
{
    QStringList out;
    for (const QString &name : QDir(mnt).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
        struct stat st;
        const QByteArray p = (mnt + "/" + name).toLocal8Bit();
        if (stat(p.constData(), &st) == -1)
            return QString("%1: %2").arg(name, strerror(errno));
        out += QString("%1=%2/%3")
                   .arg(name, QString::fromLatin1(readFile(mnt + "/" + name)))
                   .arg(st.st_mode & 0777, 0, 8);
    }
    return out.join(' ');
}

bool LossyfsTest::cutAndReboot()
{
    return fs.control("cut") && fs.control("reboot");
}

void LossyfsTest::fileData_data()
{
    QTest::addColumn<bool>("dirFsync");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("sync");
    QTest::addColumn<QByteArray>("after");

    for (const bool dirFsync : { false, true }) {
        const char *mode = dirFsync ? "dir-fsync" : "harsh";
        QTest::addRow("%s: new file, not synced", mode) << dirFsync << false << "" << QByteArray();
        QTest::addRow("%s: new file, fsync", mode)
            << dirFsync << false << "fsync" << QByteArray("new data");
        QTest::addRow("%s: new file, fdatasync", mode)
            << dirFsync << false << "fdatasync" << QByteArray("new data");
        QTest::addRow("%s: new file, sync command", mode)
            << dirFsync << false << "sync" << QByteArray("new data");
        QTest::addRow("%s: overwritten file, not synced", mode)
            << dirFsync << true << "" << QByteArray("old");
        QTest::addRow("%s: overwritten file, fsync", mode)
            << dirFsync << true << "fsync" << QByteArray("new data");
    }
}

/*
 * Data written to a file is seen at once but reaches the disk only with an
 * fsync of the file or a flush of everything; a truncation is data too.
 */
void LossyfsTest::fileData()
{
    QFETCH(bool, dirFsync);
    QFETCH(bool, existing);
    QFETCH(QString, sync);
    QFETCH(QByteArray, after);

    QMap<QString, QByteArray> files;
    if (existing)
        files["f"] = "old";
    mount(dirFsync, files);
    if (QTest::currentTestFailed())
        return;

    int fd;
    QVERIFY(writeFile(path("f"), "new data", O_CREAT | O_TRUNC, &fd));
    if (sync == "fsync")
        QVERIFY(fsync(fd) == 0);
    if (sync == "fdatasync")
        QVERIFY(fdatasync(fd) == 0);
    QVERIFY(close(fd) == 0);
    // The new name is made durable, so that only the data can be lost.
    QVERIFY(syncDir(mnt));
    if (sync == "sync")
        QVERIFY(fs.control("sync"));

    // Before the cut every reader sees the new data, as from a page cache.
    struct stat st;
    QVERIFY(stat(path("f").constData(), &st) == 0);
    QCOMPARE(st.st_size, 8);
    QCOMPARE(readFile(mnt + "/f"), QByteArray("new data"));

    QVERIFY(cutAndReboot());
    QCOMPARE(readFile(mnt + "/f"), after);
}

void LossyfsTest::directoryChanges_data()
{
    QTest::addColumn<bool>("dirFsync");
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("fsyncDir");
    QTest::addColumn<QString>("after");

    const QString before = "a=A/600 b=B/600";
    struct
    {
        const char *change;
        const char *done; /* the files once the change is durable */
    } changes[] = {
        { "create", "a=A/600 b=B/600 c=/600" },
        { "rename", "b=A/600" },
        { "unlink", "b=B/600" },
        { "chmod", "a=A/644 b=B/600" },
        // A file written, not synced and renamed over another: the rename
        // is durable, the data is not.
        { "replace", "a=A/600 b=/600" },
    };
    for (const auto &c : changes) {
        QTest::addRow("harsh: %s", c.change) << false << c.change << false << c.done;
        const bool inode = strcmp(c.change, "chmod") == 0;
        QTest::addRow("dir-fsync: %s, no fsync of the directory", c.change)
            << true << c.change << false << (inode ? c.done : before);
        QTest::addRow("dir-fsync: %s, fsync of the directory", c.change)
            << true << c.change << true << c.done;
    }
}

/*
 * Directory changes reach the disk at once, or with --dir-fsync only when
 * the directory is fsync'ed; a chmod reaches it at once in both modes.
 */
void LossyfsTest::directoryChanges()
{
    QFETCH(bool, dirFsync);
    QFETCH(QString, change);
    QFETCH(bool, fsyncDir);
    QFETCH(QString, after);

    mount(dirFsync, { { "a", "A" }, { "b", "B" } });
    if (QTest::currentTestFailed())
        return;
    if (change == "create") {
        QVERIFY(writeFile(path("c"), "", O_CREAT | O_EXCL, nullptr));
    } else if (change == "rename") {
        QVERIFY(rename(path("a").constData(), path("b").constData()) == 0);
    } else if (change == "unlink") {
        QVERIFY(unlink(path("a").constData()) == 0);
    } else if (change == "chmod") {
        QVERIFY(chmod(path("a").constData(), 0644) == 0);
    } else {
        QVERIFY(writeFile(path("t"), "T", O_CREAT | O_EXCL, nullptr));
        QVERIFY(rename(path("t").constData(), path("b").constData()) == 0);
    }
    if (fsyncDir)
        QVERIFY(syncDir(mnt));
    QVERIFY(cutAndReboot());
    QCOMPARE(listing(), after);
}

/*
 * The control file: only changes are counted (reading it, a stat, an open,
 * a read are not), a cut stops every operation until the reboot, files
 * opened before it stay dead, "cut-after N" makes exactly N more changes,
 * and commands that make no sense are refused.
 */
void LossyfsTest::controlFile()
{
    mount(false, { { "a", "A" } });
    if (QTest::currentTestFailed())
        return;
    struct stat st;
    char byte;

    QVERIFY(fs.status().startsWith("up "));
    const long before = fs.operations();
    QVERIFY(before >= 0);
    int fd = open(path("a").constData(), O_RDWR);
    QVERIFY(fd != -1);
    QVERIFY(stat(path("a").constData(), &st) == 0);
    QCOMPARE(read(fd, &byte, 1), ssize_t(1));
    QCOMPARE(fs.operations(), before);
    QCOMPARE(pwrite(fd, "X", 1, 0), ssize_t(1));
    QCOMPARE(fs.operations(), before + 1);
    QVERIFY2(fs.status().endsWith(" write /a"), fs.status().constData());

    QVERIFY(fs.control("cut"));
    QVERIFY(fs.status().startsWith("down "));
    QVERIFY(stat(path("a").constData(), &st) == -1 && errno == EIO);
    QVERIFY(!fs.control("sync"));
    QVERIFY(fs.control("reboot"));
    QVERIFY(fs.status().startsWith("up "));
    QVERIFY(write(fd, "Y", 1) == -1 && errno == EIO);
    close(fd);
    QCOMPARE(listing(), QString("a=A/600"));

    for (const char *bad : { "reboot", "cut-after 0", "cut-after", "cut-after 2x", "halt" })
        QVERIFY2(!fs.control(bad), bad);

    const long planned = fs.operations();
    fd = open(path("a").constData(), O_WRONLY);
    QVERIFY(fd != -1);
    QVERIFY(fs.control("cut-after 3"));
    int served = 0;
    while (served < 100 && pwrite(fd, "Z", 1, 0) == 1)
        served++;
    QCOMPARE(errno, EIO);
    close(fd);
    QCOMPARE(served, 3);
    QVERIFY(fs.status().startsWith("down "));
    QCOMPARE(fs.operations(), planned + 3);
}

int main(int argc, char *argv[])
{
    return lossyfs_test_main<LossyfsTest>(argc, argv);
}

#include "tst_lossyfs.moc"
