// SPDX-License-Identifier: BSD-2-Clause
#include "store/store.h"

#include <QtTest>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/types.h>
#include <unistd.h>

#include <functional>

#include "fsynchook.h"
#include "unprivileged.h"

/*
 * The script on disk against what the list last read or wrote: changes
 * made by another program between the two, also while a save is being
 * made; what a save keeps of the old script (its permission bits, a
 * symbolic link); and the temporary files that interrupted saves left
 * behind.  The home is the temporary one of with-home.sh.
 */
class TestStoreDisk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void otherWriter_data();
    void otherWriter();
    void changeDuringSave_data();
    void changeDuringSave();
    void twoWindows();
    void fifoInPlace();
    void modeKept_data();
    void modeKept();
    void symbolicLink_data();
    void symbolicLink();
    void linkLoop_data();
    void linkLoop();
    void leftovers_data();
    void leftovers();

private:
    QString home;
    QString dirPath() const { return home + "/.config/QVX"; }
    QString scriptPath() const { return dirPath() + "/autostart.sh"; }
    QString refusal() const { return scriptPath() + ": changed by another program; not saved"; }
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
    Created, /* there was no script, now there is one */
    LinkReplaced, /* the symbolic link replaced by a regular file */
    LinkRepointed /* the symbolic link now leads to another file */
};
Q_DECLARE_METATYPE(Change)

/* The name of a save's temporary file: ours, and nobody else's. */
static const QRegularExpression tempName("^\\.autostart\\.sh\\.save-[A-Za-z0-9]{6}$");

static QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

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
    stat(native(path).constData(), &st);
    return st.st_mtim;
}

static bool setMtime(const QString &path, struct timespec t)
{
    const struct timespec times[2] = { t, t };
    return utimensat(AT_FDCWD, native(path).constData(), times, 0) == 0;
}

static int modeOf(const QString &path)
{
    struct stat st = {};
    return stat(native(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

static bool renameOver(const QString &from, const QString &to)
{
    return ::rename(native(from).constData(), native(to).constData()) == 0;
}

/*
 * Another program's change to the script at path.  For the two link
 * changes, path is the link and the file it leads to stays as it was.
 */
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
        QVERIFY(renameOver(path + ".new", path));
        break;
    case Removed:
        QVERIFY(QFile::remove(path));
        break;
    case Created:
        QVERIFY(writeBytes(path, "#!/bin/sh\nxclock&\n"));
        break;
    case LinkReplaced:
        QVERIFY(writeBytes(path + ".new", "#!/bin/sh\nxclock&\n"));
        QVERIFY(renameOver(path + ".new", path));
        break;
    case LinkRepointed: {
        const QString elsewhere = QFileInfo(QFileInfo(path).symLinkTarget()).path() + "/other.sh";
        QVERIFY(writeBytes(elsewhere, "#!/bin/sh\nxclock&\n"));
        QVERIFY(QFile::remove(path));
        QCOMPARE(symlink(native(elsewhere).constData(), native(path).constData()), 0);
        break;
    }
    }
}

/*
 * Everything under root, one line for each entry in name order: a
 * symbolic link with its target as written, a directory or a file with
 * its permission bits, a file with its bytes.  Two of them compared show
 * any file a save made, changed or left behind.
 */
static QStringList treeOf(const QString &root)
{
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);

    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = path.mid(root.size() + 1);
        struct stat st;
        if (lstat(native(path).constData(), &st) == -1) {
            lines += name + ": " + strerror(errno);
        } else if (S_ISLNK(st.st_mode)) {
            char target[PATH_MAX];
            const ssize_t n = readlink(native(path).constData(), target, sizeof(target));
            lines
                += name + " -> " + QFile::decodeName(QByteArray(target, int(qMax<ssize_t>(n, 0))));
        } else {
            const QString mode = QString::number(st.st_mode & 07777, 8);
            if (S_ISDIR(st.st_mode))
                lines += name + "/ " + mode;
            else
                lines += name + " " + mode + " "
                    + QString::fromLatin1(fileBytes(path).replace('\n', "\\n"));
        }
    }
    lines.sort();
    return lines;
}

/* The temporary files of saves anywhere under root. */
static QStringList tempFiles(const QString &root)
{
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);

    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName().startsWith(".autostart.sh.save-"))
            found += path;
    }
    return found;
}

/* One fsync() that a save made: the file it was handed, and that file's
 * path when it was one of the save's temporary files. */
struct SyncCall
{
    struct stat st;
    QString tempPath;
};

/*
 * Notes the fsync() calls made while it lives; first runs at the first,
 * before the data reaches the disk, as another program's change made
 * while the save is under way.
 */
class SyncWatch
{
public:
    SyncWatch(const QString &home, const std::function<void()> &first)
    {
        fsync_hook = [this, home, first](int fd) {
            SyncCall call = {};
            fstat(fd, &call.st);
            for (const QString &path : tempFiles(home)) {
                struct stat st;
                if (lstat(native(path).constData(), &st) == 0 && st.st_dev == call.st.st_dev
                    && st.st_ino == call.st.st_ino)
                    call.tempPath = path;
            }
            calls += call;
            if (calls.size() == 1 && first)
                first();
        };
    }
    ~SyncWatch() { fsync_hook = nullptr; }

    QList<SyncCall> calls;

private:
    Q_DISABLE_COPY(SyncWatch)
};

/* Sets the process's umask while it lives. */
class Umask
{
public:
    explicit Umask(mode_t mask) : old(umask(mask)) { }
    ~Umask() { umask(old); }

private:
    mode_t old;
    Q_DISABLE_COPY(Umask)
};

void TestStoreDisk::initTestCase()
{
    home = qEnvironmentVariable("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "run through with-home.sh");
}

/* An empty home but for ~/.config/QVX. */
void TestStoreDisk::init()
{
    QDir dir(home);
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isDir() && !entry.isSymLink())
            QVERIFY(QDir(entry.filePath()).removeRecursively());
        else
            QVERIFY(QFile::remove(entry.filePath()));
    }
    QVERIFY(dir.mkpath(".config/QVX"));
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

/*
 * A change by another program is seen, and a save over it is refused and
 * leaves the script as that program left it, until the user accepts the
 * script as it is now.
 */
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
    QCOMPARE(qvxsessrun_removed_on_disk(list), what == Removed ? 1 : 0);
    QVERIFY(qvxsessrun_add_command(list, "xload", 1) != nullptr);

    const QStringList theirs = treeOf(home);
    QCOMPARE(qvxsessrun_write(list), changed);
    if (changed) {
        QCOMPARE(QString(qvxsessrun_error_text()), refusal());
        QCOMPARE(treeOf(home), theirs);
        QCOMPARE(qvxsessrun_changed_on_disk(list), 1);

        // The user chose to overwrite it.
        QCOMPARE(qvxsessrun_accept_disk(list), 0);
        QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
        QCOMPARE(qvxsessrun_write(list), 0);
    }
    QCOMPARE(fileBytes(scriptPath()),
             QByteArray(scriptAtStart ? "#!/bin/sh\nxterm&\n#[INACTIVE]#xeyes&\n" : "#!/bin/sh\n")
                 + (savedFirst ? "nm-applet&\n" : "") + "xload&\n");
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    QCOMPARE(tempFiles(home), QStringList());
    qvxsessrun_free(list);
}

void TestStoreDisk::changeDuringSave_data()
{
    QTest::addColumn<bool>("scriptAtStart");
    QTest::addColumn<bool>("link"); /* the script is a link to ~/dots/autostart.sh */
    QTest::addColumn<Change>("what"); /* made to the file the script is, or to the link */
    QTest::addColumn<int>("changed");

    QTest::newRow("nothing") << true << false << Nothing << 0;
    QTest::newRow("same bytes, same time") << true << false << SameBytesSameTime << 0;
    QTest::newRow("other bytes, same size and time") << true << false << OtherBytesSameTime << 1;
    QTest::newRow("touched") << true << false << Touched << 1;
    QTest::newRow("appended") << true << false << Appended << 1;
    QTest::newRow("replaced by the same bytes") << true << false << ReplacedSameBytes << 1;
    QTest::newRow("removed") << true << false << Removed << 1;
    QTest::newRow("no script, then created") << false << false << Created << 1;
    QTest::newRow("link, nothing") << true << true << Nothing << 0;
    QTest::newRow("link, its target appended") << true << true << Appended << 1;
    QTest::newRow("link, its target replaced") << true << true << ReplacedSameBytes << 1;
    QTest::newRow("link, its target removed") << true << true << Removed << 1;
    QTest::newRow("link, replaced by a regular file") << true << true << LinkReplaced << 1;
    QTest::newRow("link, pointed at another file") << true << true << LinkRepointed << 1;
}

/*
 * Another program changes the script while a save is under way, after
 * the temporary file was written and before it is renamed (at its
 * fsync()): the save is given up and the other program's script stays,
 * with no temporary file left behind.  Accepted, the next save goes
 * through.
 */
void TestStoreDisk::changeDuringSave()
{
    QFETCH(bool, scriptAtStart);
    QFETCH(bool, link);
    QFETCH(Change, what);
    QFETCH(int, changed);

    const QString target = link ? home + "/dots/autostart.sh" : scriptPath();
    if (link) {
        QVERIFY(QDir(home).mkpath("dots"));
        QCOMPARE(symlink("../../dots/autostart.sh", native(scriptPath()).constData()), 0);
    }
    if (scriptAtStart)
        QVERIFY(writeBytes(target, "#!/bin/sh\nxterm&\n#[INACTIVE]#xeyes&\n"));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "nm-applet", 1) != nullptr);
    const QByteArray mine
        = QByteArray(scriptAtStart ? "#!/bin/sh\nxterm&\n#[INACTIVE]#xeyes&\n" : "#!/bin/sh\n")
        + "nm-applet&\n";

    QStringList theirs;
    int r;
    {
        SyncWatch watch(home, [&] {
            change(what, what == LinkReplaced || what == LinkRepointed ? scriptPath() : target);
            // All that there is now but the save's own temporary file.
            for (const QString &line : treeOf(home))
                if (!line.contains("/.autostart.sh.save-"))
                    theirs += line;
        });
        r = qvxsessrun_write(list);
        QVERIFY2(!watch.calls.isEmpty(), "the save's fsync() was not seen");
    }
    QCOMPARE(r, changed);
    if (changed) {
        QCOMPARE(QString(qvxsessrun_error_text()), refusal());
        QCOMPARE(treeOf(home), theirs);
        QCOMPARE(qvxsessrun_accept_disk(list), 0);
        QCOMPARE(qvxsessrun_write(list), 0);
    }
    QCOMPARE(fileBytes(scriptPath()), mine);
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    QCOMPARE(tempFiles(home), QStringList());
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

    // The second window does not save over the first one's save unasked.
    QVERIFY(qvxsessrun_add_command(second, "second", 1) != nullptr);
    QCOMPARE(qvxsessrun_write(second), 1);
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\nxterm&\nfirst&\n"));
    QCOMPARE(qvxsessrun_accept_disk(second), 0);
    QCOMPARE(qvxsessrun_write(second), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(second), 0);
    QCOMPARE(qvxsessrun_changed_on_disk(first), 1);
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\nxterm&\nsecond&\n"));

    // A copy, such as the editor's snapshot, knows no script at all: it
    // counts as changed, and its save is never refused.
    command_list *copy = qvxsessrun_copy(first);
    QVERIFY(copy != nullptr);
    QCOMPARE(qvxsessrun_changed_on_disk(copy), 1);
    QCOMPARE(qvxsessrun_write(copy), 0);
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\nxterm&\nfirst&\n"));
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
    QCOMPARE(mkfifo(native(scriptPath()).constData(), 0600), 0);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(qvxsessrun_changed_on_disk(list), 1);
    QCOMPARE(qvxsessrun_write(list), 1);
    QVERIFY(timer.elapsed() < 1000);
    struct stat st;
    QVERIFY(lstat(native(scriptPath()).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    qvxsessrun_free(list);
}

void TestStoreDisk::modeKept_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode"); /* of the script before the save; -1: there is none */
    QTest::addColumn<int>("saved"); /* of the script after it */

    for (int mask : { 022, 077 }) {
        for (int mode : { 0755, 0700, 0644, 0640, 0400, 04755 })
            QTest::addRow("%04o, umask %03o", mode, mask) << mask << mode << mode;
        QTest::addRow("a new script, umask %03o", mask) << mask << -1 << 0600;
    }
    QTest::newRow("0777, umask 0") << 0 << 0777 << 0777;
    QTest::newRow("a new script, umask 0") << 0 << -1 << 0600;
}

/* A save keeps the script's permission bits whatever the umask; a new script is 0600. */
void TestStoreDisk::modeKept()
{
    QFETCH(int, mask);
    QFETCH(int, mode);
    QFETCH(int, saved);

    const Umask masked(mask);
    if (mode != -1) {
        QVERIFY(writeBytes(scriptPath(), "#!/bin/sh\nxterm&\n"));
        QCOMPARE(chmod(native(scriptPath()).constData(), mode), 0);
    }
    command_list *list = qvxsessrun_read();
    QVERIFY(list != nullptr);
    for (const char *text : { "xclock", "xload" }) { // the second save replaces the first's file
        QVERIFY(qvxsessrun_add_command(list, text, 1) != nullptr);
        QCOMPARE(qvxsessrun_write(list), 0);
        QCOMPARE(modeOf(scriptPath()), saved);
    }
    QCOMPARE(fileBytes(scriptPath()),
             QByteArray(mode != -1 ? "#!/bin/sh\nxterm&\n" : "#!/bin/sh\n") + "xclock&\nxload&\n");
    qvxsessrun_free(list);
}

void TestStoreDisk::symbolicLink_data()
{
    // Paths are under the home; a link's target starting with "@" starts
    // with the home.  error: the text of a save that must fail, "@" again
    // for the home.
    QTest::addColumn<QStringList>("links"); /* "where>target" */
    QTest::addColumn<QString>("target"); /* the file the save writes */
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<QString>("error");

    const QString script = ".config/QVX/autostart.sh";
    QTest::newRow("relative link")
        << QStringList { script + ">real.sh" } << ".config/QVX/real.sh" << true << QString();
    QTest::newRow("absolute link") << QStringList { script + ">@/dots/autostart.sh" }
                                   << "dots/autostart.sh" << true << QString();
    QTest::newRow("into another directory")
        << QStringList { script + ">../../dots/qvx/autostart.sh" } << "dots/qvx/autostart.sh"
        << true << QString();
    QTest::newRow("chain of two links, relative")
        << QStringList { script + ">../../dots/current", "dots/current>qvx/autostart.sh" }
        << "dots/qvx/autostart.sh" << true << QString();
    QTest::newRow("chain of two links, absolute then relative")
        << QStringList { script + ">@/dots/current", "dots/current>../real/autostart.sh" }
        << "real/autostart.sh" << true << QString();
    QTest::newRow("dangling, its directory there")
        << QStringList { script + ">../../dots/autostart.sh" } << "dots/autostart.sh" << false
        << QString();
    QTest::newRow("dangling at the end of a chain")
        << QStringList { script + ">../../dots/current", "dots/current>qvx/autostart.sh" }
        << "dots/qvx/autostart.sh" << false << QString();
    QTest::newRow("dangling into a missing directory, absolute")
        << QStringList { script + ">@/gone/autostart.sh" } << "gone/autostart.sh" << false
        << "@/.config/QVX/autostart.sh -> @/gone/autostart.sh: No such file or directory";
    QTest::newRow("dangling into a missing directory, relative")
        << QStringList { script + ">../../gone/autostart.sh" } << "gone/autostart.sh" << false
        << "@/.config/QVX/autostart.sh -> @/.config/QVX/../../gone/autostart.sh: No such file or "
           "directory";
    QTest::newRow("dangling into a missing directory, chain")
        << QStringList { script + ">../../dots/current", "dots/current>@/gone/autostart.sh" }
        << "gone/autostart.sh" << false
        << "@/.config/QVX/autostart.sh -> @/gone/autostart.sh: No such file or directory";
}

/*
 * A script that is a symbolic link stays one: the save writes the file it
 * leads to, through a temporary file in that file's directory which is
 * synced, as is the directory after the rename, and keeps its mode.  A
 * link into a directory that is missing fails and changes nothing.
 */
void TestStoreDisk::symbolicLink()
{
    QFETCH(QStringList, links);
    QFETCH(QString, target);
    QFETCH(bool, targetExists);
    QFETCH(QString, error);

    QDir top(home);
    for (const QString &link : links) {
        const QString where = link.section('>', 0, 0);
        QString to = link.section('>', 1);
        to.replace(QRegularExpression("^@"), home);
        QVERIFY(top.mkpath(QFileInfo(where).path()));
        QCOMPARE(symlink(native(to).constData(), native(home + "/" + where).constData()), 0);
    }
    const QString targetPath = home + "/" + target;
    const QString targetDir = QFileInfo(targetPath).path();
    if (error.isEmpty())
        QVERIFY(top.mkpath(QFileInfo(target).path()));
    if (targetExists) {
        QVERIFY(writeBytes(targetPath, "#!/bin/sh\nxterm&\n"));
        QCOMPARE(chmod(native(targetPath).constData(), 0750), 0);
    }

    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QCOMPARE(list->entries != nullptr, targetExists); // it read the target
    QVERIFY(qvxsessrun_add_command(list, "xclock", 1) != nullptr);

    const QStringList before = treeOf(home);
    SyncWatch watch(home, nullptr);
    const int r = qvxsessrun_write(list);
    if (!error.isEmpty()) {
        QCOMPARE(r, -1);
        QCOMPARE(QString(qvxsessrun_error_text()), QString(error).replace("@", home));
        QCOMPARE(treeOf(home), before);
        QCOMPARE(watch.calls.size(), 0);
        qvxsessrun_free(list);
        return;
    }
    QCOMPARE(r, 0);

    // The target has the new bytes and its mode; every link is as it was.
    const QByteArray bytes = targetExists ? "#!/bin/sh\nxterm&\nxclock&\n" : "#!/bin/sh\nxclock&\n";
    QStringList expected = before;
    expected.removeAll(target + " 750 #!/bin/sh\\nxterm&\\n");
    expected += target + (targetExists ? " 750 " : " 600 ")
        + QString::fromLatin1(QByteArray(bytes).replace('\n', "\\n"));
    expected.sort();
    QCOMPARE(treeOf(home), expected);

    // The data was synced in a temporary file in the target's directory,
    // which became the target, and the directory was synced after it.
    struct stat file, dir;
    QCOMPARE(stat(native(targetPath).constData(), &file), 0);
    QCOMPARE(stat(native(targetDir).constData(), &dir), 0);
    QVERIFY(!watch.calls.isEmpty());
    const SyncCall first = watch.calls.first();
    QVERIFY2(!first.tempPath.isEmpty(), "the first fsync() was not of a temporary file");
    QCOMPARE(QFileInfo(first.tempPath).path(), targetDir);
    QVERIFY2(tempName.match(QFileInfo(first.tempPath).fileName()).hasMatch(),
             qPrintable(first.tempPath));
    QVERIFY(first.st.st_dev == file.st_dev && first.st.st_ino == file.st_ino);
    bool dirSynced = false;
    for (const SyncCall &call : watch.calls.mid(1))
        dirSynced = dirSynced
            || (S_ISDIR(call.st.st_mode) && call.st.st_dev == dir.st_dev
                && call.st.st_ino == dir.st_ino);
    QVERIFY2(dirSynced, "the target's directory was not synced after the rename");

    // The list knows the script it wrote: the next save is not refused.
    QCOMPARE(qvxsessrun_changed_on_disk(list), 0);
    QCOMPARE(qvxsessrun_write(list), 0);
    qvxsessrun_free(list);
}

void TestStoreDisk::linkLoop_data()
{
    QTest::addColumn<QStringList>("links"); /* as in symbolicLink */

    const QString script = ".config/QVX/autostart.sh";
    QTest::newRow("a link to itself") << QStringList { script + ">autostart.sh" };
    QTest::newRow("two links in a ring")
        << QStringList { script + ">../../dots/a", "dots/a>@/" + script };
}

/* A script that is a ring of links can be neither read nor saved; neither hangs. */
void TestStoreDisk::linkLoop()
{
    QFETCH(QStringList, links);

    command_list *list = qvxsessrun_read(); // no script yet
    QVERIFY(list != nullptr);
    QVERIFY(qvxsessrun_add_command(list, "xclock", 1) != nullptr);
    for (const QString &link : links) {
        const QString where = link.section('>', 0, 0);
        QString to = link.section('>', 1);
        to.replace(QRegularExpression("^@"), home);
        QVERIFY(QDir(home).mkpath(QFileInfo(where).path()));
        QCOMPARE(symlink(native(to).constData(), native(home + "/" + where).constData()), 0);
    }
    const QStringList before = treeOf(home);

    const child_run run = run_in_child(
        [list] {
            const int written = qvxsessrun_write(list);
            printf("write %d: %s\n", written, qvxsessrun_error_text());
            command_list *read = qvxsessrun_read();
            printf("read %s: %s\n", read ? "a list" : "null", qvxsessrun_error_text());
            return 0;
        },
        false, 10000);
    QVERIFY2(run.ended, "the save or the read did not end");
    const QByteArray script = native(scriptPath()), loop = QByteArray(strerror(ELOOP));
    QCOMPARE(run.output,
             "write -1: " + script + ": " + loop + "\nread null: fopen(" + script + "): " + loop
                 + "\n");
    QCOMPARE(treeOf(home), before);
    qvxsessrun_free(list);
}

void TestStoreDisk::leftovers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind"); /* file, dir, link, foreign (another user's file) */
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("removed");

    const int hour = 3600;
    QTest::newRow("old leftover") << ".autostart.sh.save-aB3xY9"
                                  << "file" << 11 * 60 << true;
    QTest::newRow("a day old") << ".autostart.sh.save-000000"
                               << "file" << 24 * hour << true;
    QTest::newRow("six letters") << ".autostart.sh.save-abcdef"
                                 << "file" << hour << true;
    QTest::newRow("a save running now") << ".autostart.sh.save-aB3xY9"
                                        << "file" << 0 << false;
    QTest::newRow("nine minutes old") << ".autostart.sh.save-aB3xY9"
                                      << "file" << 9 * 60 << false;
    QTest::newRow("three characters") << ".autostart.sh.save-abc"
                                      << "file" << hour << false;
    QTest::newRow("five characters") << ".autostart.sh.save-aB3xY"
                                     << "file" << hour << false;
    QTest::newRow("seven characters") << ".autostart.sh.save-aB3xY9z"
                                      << "file" << hour << false;
    QTest::newRow("not a letter or digit") << ".autostart.sh.save-aB3-Y9"
                                           << "file" << hour << false;
    QTest::newRow("not hidden") << "autostart.sh.save-aB3xY9"
                                << "file" << hour << false;
    QTest::newRow("another prefix") << ".autostart.sx.save-aB3xY9"
                                    << "file" << hour << false;
    QTest::newRow("a directory") << ".autostart.sh.save-aB3xY9"
                                 << "dir" << hour << false;
    QTest::newRow("a symbolic link") << ".autostart.sh.save-aB3xY9"
                                     << "link" << hour << false;
    QTest::newRow("another user's file") << ".autostart.sh.save-aB3xY9"
                                         << "foreign" << hour << false;
    // A person's own copies, also of six letters or digits after the dot.
    for (const char *own : { "autostart.sh.backup", "autostart.sh.before", "autostart.sh.old123",
                             "autostart.sh.ORIGIN", "autostart.sh.aB3xY9", "autostart.sh.000000" })
        QTest::addRow("a person's %s", own) << own << "file" << 24 * hour << false;
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
    const QByteArray nativePath = native(path);
    const QString target = dirPath() + "/target";
    QVERIFY(writeBytes(target, "keep me\n"));
    if (kind == "dir")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "link")
        QCOMPARE(symlink(native(target).constData(), nativePath.constData()), 0);
    else
        QVERIFY(writeBytes(path, "#!/bin/sh\nhalf a li"));
    if (kind == "foreign")
        QCOMPARE(lchown(nativePath.constData(), 65534, 65534), 0);

    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    t.tv_sec -= ageSeconds;
    const struct timespec times[2] = { t, t };
    QCOMPARE(utimensat(AT_FDCWD, nativePath.constData(), times, AT_SYMLINK_NOFOLLOW), 0);

    command_list *list = qvxsessrun_read();
    QVERIFY(list != nullptr);
    QCOMPARE(qvxsessrun_write(list), 0);
    qvxsessrun_free(list);

    struct stat st;
    QCOMPARE(lstat(nativePath.constData(), &st) == -1, removed);
    QCOMPARE(fileBytes(target), QByteArray("keep me\n"));
    QCOMPARE(fileBytes(scriptPath()), QByteArray("#!/bin/sh\n"));
}

QTEST_MAIN(TestStoreDisk)
#include "tst_store_disk.moc"
