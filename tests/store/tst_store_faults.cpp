// SPDX-License-Identifier: BSD-2-Clause
/*
 * Failures of the command store made to happen for real: libc calls made to
 * fail by libfiu with a chosen errno, an unprivileged user meeting files and
 * directories it may not use, and the shape of the file that a save leaves.
 *
 * The fault injection needs the libfiu preload libraries: ctest runs this
 * executable under `fiu-run -x`.  Points are armed here, in-process, right
 * before the call under test, and fail only the chosen call of the main
 * thread, so that Qt's own threads cannot use up a failure.
 */
#include "cfg/cfg.h"
#include "faultinjection.h"
#include "store/store.h"
#include "unprivileged.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QtTest>

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <functional>

#ifdef QVX_HAVE_FIU
#include <fiu-control.h>
#include <fiu.h>
#endif

namespace {

/* A hand-edited script: comments, an inactive line, a line without "&". */
const QByteArray original_script = "#!/bin/sh\n"
                                   "# started by hand\n"
                                   "xterm -e top&\n"
                                   "#[INACTIVE]#picom --daemon&\n"
                                   "setxkbmap de\n";

/*
 * One armed failure point: the nth call of point on the main thread fails
 * with err.  Counting the calls tells afterwards whether the failure was
 * really injected, so that no case passes without its fault.
 */
class Fault
{
public:
    Fault(const QByteArray &point, int err, int nth);
    ~Fault() { disarm(); }
    void disarm();
    bool fired() const { return s_calls >= s_target; }
    int calls() const { return s_calls; }

    static bool available();

private:
    static int count(const char *, int *, void **, unsigned int *);

    QByteArray m_point;
    bool m_armed = false;
    static int s_calls;
    static int s_target;
    static pthread_t s_main;
    friend void faultInit();
};

int Fault::s_calls;
int Fault::s_target;
pthread_t Fault::s_main;

void faultInit()
{
    Fault::s_main = pthread_self();
#ifdef QVX_HAVE_FIU
    fiu_init(0);
#endif
}

Fault::Fault(const QByteArray &point, int err, int nth) : m_point(point)
{
    s_calls = 0;
    s_target = nth;
#ifdef QVX_HAVE_FIU
    m_armed
        = fiu_enable_external(m_point.constData(), 1, reinterpret_cast<void *>(long(err)), 0, count)
        == 0;
#else
    Q_UNUSED(err);
#endif
}

void Fault::disarm()
{
#ifdef QVX_HAVE_FIU
    if (m_armed)
        fiu_disable(m_point.constData());
#endif
    m_armed = false;
}

#ifdef QVX_HAVE_FIU
int Fault::count(const char *, int *, void **, unsigned int *)
{
    if (!pthread_equal(pthread_self(), s_main))
        return 0;
    return ++s_calls == s_target;
}
#endif

/* True when the preload libraries are in effect: strdup can be made to fail. */
bool Fault::available()
{
#if defined(__SANITIZE_ADDRESS__)
    /* The sanitizer's own malloc and stdio come before the preloaded points. */
    return false;
#endif
    Fault f("libc/str/strdup", ENOMEM, 1);
    char *p = strdup("probe");
    bool ok = p == nullptr && f.fired();

    free(p);
    return ok;
}

QString home()
{
    return QString::fromLocal8Bit(qgetenv("QVX_TEST_HOME"));
}

QString scriptDir(const QString &homeDir = home())
{
    return homeDir + "/.config/QVX";
}

QString scriptPath(const QString &homeDir = home())
{
    return scriptDir(homeDir) + "/autostart.sh";
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return f.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes, mode_t mode)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    return chmod(QFile::encodeName(path).constData(), mode) == 0;
}

/* The permission bits of path itself (links not followed); -1 when missing. */
int modeOf(const QString &path)
{
    struct stat sb;

    if (lstat(QFile::encodeName(path).constData(), &sb) == -1)
        return -1;
    return sb.st_mode & 07777;
}

QStringList listing(const QString &dir)
{
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

/* Open descriptors of this process: a failure path must not leak one. */
int openDescriptors()
{
    int n = 0;

    for (int fd = 0; fd < 1024; fd++)
        if (fcntl(fd, F_GETFD) != -1)
            n++;
    return n;
}

/* Make every directory below dir writable again, then remove it. */
void removeTree(const QString &dir)
{
    if (!QFileInfo::exists(dir))
        return;
    chmod(QFile::encodeName(dir).constData(), 0700);
    QDirIterator it(dir, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        chmod(QFile::encodeName(it.next()).constData(), 0700);
    QDir(dir).removeRecursively();
}

QString errorText()
{
    return QString::fromLocal8Bit(qvxsessrun_error_text());
}

QString reason(int err)
{
    return QString::fromLocal8Bit(strerror(err));
}

/*
 * An allocation inside the password lookup makes cfg_make_dir() fail with a
 * recorded configuration error, which the store passes on unchanged.  A
 * stale record must never be passed on instead: when cfg_make_dir() runs
 * out of memory without recording anything, the store says "malloc()".
 */
bool isConfigText(const QString &text)
{
    int saved = errno;
    const QString current = QString::fromLocal8Bit(cfg_error_text());

    errno = saved;
    return text == current && !current.isEmpty() && current != "Unknown error code";
}

/* Make ~/.config/QVX and put the script there. */
bool installScript(const QByteArray &bytes, mode_t mode)
{
    return QDir().mkpath(scriptDir()) && writeBytes(scriptPath(), bytes, mode);
}

/* What a failed save must not change. */
struct DiskState
{
    QByteArray script;
    int mode;
    QStringList names;
    int descriptors;

    static DiskState now()
    {
        return { readBytes(scriptPath()), modeOf(scriptPath()), listing(scriptDir()),
                 openDescriptors() };
    }
};

command_entry *nth(command_list *list, int n)
{
    command_entry *e = list->entries;

    while (e != nullptr && n-- > 0)
        e = e->next;
    return e;
}

/* A journal operation on the second entry of a fresh A, B, C list. */
enum JournalOp { AddOp, DeleteOp, SetOp, MoveUpOp, MoveDownOp, ReloadOp };

/* What the unprivileged subject does, and what it finds. */
enum SubjectOp { SubjectRead, SubjectWrite };

struct Outcome
{
    int result = 0; /* read: 0 for a list, -1 for null; write: its result */
    QByteArray text; /* the store's error text */
    QByteArray problem; /* set when the child could not run the subject */
};

/*
 * Run op as the unprivileged user in a child process: as root, the child
 * gives up every privilege for uid 65534 (whose home is
 * $QVX_TEST_DIR/nobody); otherwise it runs as the current user.
 */
Outcome runUnprivileged(SubjectOp op)
{
    const child_run run = run_in_child(
        [op] {
            int result;
            command_list *list = qvxsessrun_read();
            if (op == SubjectRead) {
                result = list != nullptr ? 0 : -1;
            } else {
                /* A save must fail on its own, also where the read failed. */
                if (list == nullptr)
                    list = qvxsessrun_parse("", 0);
                qvxsessrun_add_command(list, "added by the test", 1);
                result = qvxsessrun_write(list);
            }
            const char *text = qvxsessrun_error_text();
            if (write(STDOUT_FILENO, &result, sizeof(result)) != sizeof(result)
                || write(STDOUT_FILENO, text, strlen(text)) != ssize_t(strlen(text)))
                return 4;
            return 0;
        },
        true);

    Outcome out;
    if (!run.ended || run.status != 0 || run.output.size() < int(sizeof(int))) {
        out.problem = "the unprivileged child failed, status " + QByteArray::number(run.status);
        return out;
    }
    memcpy(&out.result, run.output.constData(), sizeof(int));
    out.text = run.output.mid(sizeof(int));
    return out;
}

/* The home of the unprivileged subject: uid 65534's as root, else ours. */
QString subjectHome()
{
    if (getuid() == 0)
        return QString::fromLocal8Bit(qgetenv("QVX_TEST_DIR")) + "/nobody";
    return home();
}

/* Hand a path that the parent made over to the unprivileged subject. */
bool giveToSubject(const QString &path)
{
    if (getuid() != 0)
        return true;
    return lchown(QFile::encodeName(path).constData(), unprivileged_id, unprivileged_id) == 0;
}

} // namespace

class TestStoreFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writeFailure_data();
    void writeFailure();
    void directorySyncFailureIsNotReported();
    void writeAllocationFailures();

    void readFailure_data();
    void readFailure();
    void readAllocationFailures_data();
    void readAllocationFailures();
    void readListAllocationFailure();

    void copyAllocationFailures_data();
    void copyAllocationFailures();

    void journalAllocationFailures_data();
    void journalAllocationFailures();
    void undoRedoOfSetUnderAllocationFailure_data();
    void undoRedoOfSetUnderAllocationFailure();

    void unprivileged_data();
    void unprivileged();

public:
    bool faultsInjected() const { return m_faults; }

private:
    bool m_faults = false;
};

/* Skips the case where failures cannot be injected.  A macro, since QSKIP
 * ends only the function it is written in. */
#define REQUIRE_FAULTS()                                                                           \
    do {                                                                                           \
        if (!m_faults)                                                                             \
            QSKIP("no fault injection");                                                           \
    } while (0)

void TestStoreFaults::initTestCase()
{
    QVERIFY2(!home().isEmpty(), "run through tests/with-home.sh");
    faultInit();
    m_faults = Fault::available();
    if (m_faults)
        return;
#if !defined(__SANITIZE_ADDRESS__)
    if (fault_injection_required())
        QFAIL("the libfiu preload libraries are not in effect: install libfiu (scripts/setup) "
              "and run under fiu-run -x, as ctest does");
#endif
    qWarning("no fault injection: libfiu is missing (FreeBSD has no package of it), the test "
             "does not run under fiu-run -x, or the build has the sanitizer; the cases that "
             "need it are skipped");
}

void TestStoreFaults::init()
{
    umask(022);
    removeTree(home() + "/.config");
    removeTree(home() + "/target");
    chmod(QFile::encodeName(subjectHome()).constData(), 0755);
    removeTree(subjectHome() + "/.config");
}

void TestStoreFaults::cleanup()
{
    init();
}

/*
 * A save that fails at one step: the result, the text naming the step, and
 * a directory exactly as before.  The list differs from the script, so a
 * replaced script would show.
 */
void TestStoreFaults::writeFailure_data()
{
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<int>("err");
    QTest::addColumn<int>("nth");
    QTest::addColumn<QString>("step");

    QTest::newRow("fdopen EMFILE")
        << QByteArray("posix/stdio/oc/fdopen") << EMFILE << 1 << "fdopen()";
    /* The whole script goes to the stream in one write. */
    QTest::newRow("fwrite ENOSPC")
        << QByteArray("posix/stdio/rw/fwrite") << ENOSPC << 1 << "fwrite()";
    QTest::newRow("fwrite EDQUOT")
        << QByteArray("posix/stdio/rw/fwrite") << EDQUOT << 1 << "fwrite()";
    QTest::newRow("fwrite EIO") << QByteArray("posix/stdio/rw/fwrite") << EIO << 1 << "fwrite()";
    QTest::newRow("fflush ENOSPC") << QByteArray("posix/stdio/fflush") << ENOSPC << 1 << "fflush()";
    QTest::newRow("fflush EDQUOT") << QByteArray("posix/stdio/fflush") << EDQUOT << 1 << "fflush()";
    QTest::newRow("fsync EIO") << QByteArray("posix/io/sync/fsync") << EIO << 1 << "fsync()";
    QTest::newRow("fsync ENOSPC") << QByteArray("posix/io/sync/fsync") << ENOSPC << 1 << "fsync()";
    QTest::newRow("fclose EIO") << QByteArray("posix/stdio/oc/fclose") << EIO << 1 << "fclose()";
    QTest::newRow("fclose ENOSPC")
        << QByteArray("posix/stdio/oc/fclose") << ENOSPC << 1 << "fclose()";
    QTest::newRow("rename EXDEV") << QByteArray("posix/io/dir/rename") << EXDEV << 1 << "rename()";
    QTest::newRow("rename EROFS") << QByteArray("posix/io/dir/rename") << EROFS << 1 << "rename()";
    /* No injection: a directory in the script's place, which the user chose
     * to overwrite, makes the rename fail. */
    QTest::newRow("rename onto a directory") << QByteArray() << EISDIR << 0 << "rename()";
}

void TestStoreFaults::writeFailure()
{
    QFETCH(QByteArray, point);
    QFETCH(int, err);
    QFETCH(int, nth);
    QFETCH(QString, step);

    if (!point.isEmpty())
        REQUIRE_FAULTS();
    QVERIFY(installScript(original_script, 0640));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "conky", 1) != nullptr);
    if (point.isEmpty()) {
        QVERIFY(QFile::remove(scriptPath()));
        QVERIFY(QDir().mkdir(scriptPath()));
        QVERIFY(writeBytes(scriptPath() + "/kept", "inside\n", 0644));
        QCOMPARE(qvxsessrun_accept_disk(list), 0);
    }
    const DiskState before = DiskState::now();

    int result;
    bool fired = true;
    if (!point.isEmpty()) {
        Fault fault(point, err, nth);
        result = qvxsessrun_write(list);
        fired = fault.fired();
    } else {
        result = qvxsessrun_write(list);
    }
    const QString text = errorText();
    const DiskState after = DiskState::now();

    QVERIFY2(fired, "the failure was not injected");
    QCOMPARE(result, -1);
    if (step == "rename()") {
        const QRegularExpression re("^rename\\((" + QRegularExpression::escape(scriptDir())
                                    + "/\\.autostart\\.sh\\.save-\\w+), "
                                    + QRegularExpression::escape(scriptPath()) + "\\): (.*)$");
        const QRegularExpressionMatch m = re.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        QCOMPARE(m.captured(2), reason(err));
        QVERIFY2(!QFileInfo::exists(m.captured(1)), "the temporary file named is still there");
    } else {
        QCOMPARE(text, step + ": " + reason(err));
    }
    QCOMPARE(after.script, before.script);
    QCOMPARE(after.mode, before.mode);
    QCOMPARE(after.names, before.names);
    if (point.isEmpty())
        QCOMPARE(readBytes(scriptPath() + "/kept"), QByteArray("inside\n"));
    /* A failing fclose() under libfiu keeps its stream open; the store cannot know. */
    if (!point.endsWith("fclose"))
        QCOMPARE(after.descriptors, before.descriptors);
    qvxsessrun_free(list);
}

/* The second fsync is the directory's: the script is already replaced then. */
void TestStoreFaults::directorySyncFailureIsNotReported()
{
    REQUIRE_FAULTS();
    QVERIFY(installScript(original_script, 0644));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "conky", 0) != nullptr);
    const int descriptors = openDescriptors();

    int result;
    {
        Fault fault("posix/io/sync/fsync", EIO, 2);
        result = qvxsessrun_write(list);
        QVERIFY2(fault.fired(), "the directory was not synced");
    }
    QCOMPARE(result, 0);
    QCOMPARE(readBytes(scriptPath()), original_script + "#[INACTIVE]#conky&\n");
    QCOMPARE(listing(scriptDir()), QStringList { "autostart.sh" });
    QCOMPARE(openDescriptors(), descriptors);
    qvxsessrun_free(list);
}

/*
 * Every allocation of a save fails in turn, until a save runs through
 * without reaching the armed one.  Each failed save reports it and leaves
 * the directory as it was.
 */
void TestStoreFaults::writeAllocationFailures()
{
    REQUIRE_FAULTS();
    QVERIFY(installScript(original_script, 0640));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    QVERIFY(qvxsessrun_add_command(list, "conky", 1) != nullptr);
    const DiskState before = DiskState::now();

    int failures = 0, exact = 0;
    for (int n = 1; n < 1000; n++) {
        int result;
        bool fired;
        {
            Fault fault("libc/mm/malloc", ENOMEM, n);
            result = qvxsessrun_write(list);
            fired = fault.fired();
        }
        const QString text = errorText();
        if (!fired) {
            QCOMPARE(result, 0);
            break;
        }
        failures++;
        const DiskState after = DiskState::now();
        QVERIFY2(result == -1, qPrintable(QString("allocation %1").arg(n)));
        if (text != "malloc(): " + reason(ENOMEM))
            QVERIFY2(isConfigText(text), qPrintable(text));
        else
            exact++;
        QCOMPARE(after.script, before.script);
        QCOMPARE(after.mode, before.mode);
        QCOMPARE(after.names, before.names);
        QCOMPARE(after.descriptors, before.descriptors);
    }
    QVERIFY(failures > 0);
    QVERIFY(exact > 0);
    qvxsessrun_free(list);
}

/*
 * A read that fails at one step is null, never a partial list, names the
 * step, and leaves no descriptor open.
 */
void TestStoreFaults::readFailure_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<int>("err");
    QTest::addColumn<int>("nth");
    QTest::addColumn<QString>("expected");

    const QString fopen = "fopen(" + scriptPath() + "): ";
    /* More than one read buffer, so that a later read can fail as well. */
    QByteArray big = "#!/bin/sh\n";
    for (int i = 0; i < 2000; i++)
        big += "command number " + QByteArray::number(i) + "&\n";

    QTest::newRow("open EIO") << original_script << QByteArray("posix/io/oc/open") << EIO << 1
                              << fopen + reason(EIO);
    QTest::newRow("open EMFILE") << original_script << QByteArray("posix/io/oc/open") << EMFILE << 1
                                 << fopen + reason(EMFILE);
    /* The descriptor is open by then and must not be left so. */
    QTest::newRow("fdopen ENOMEM")
        << original_script << QByteArray("posix/stdio/oc/fdopen") << ENOMEM << 1
        << "fdopen(" + scriptPath() + "): " + reason(ENOMEM);
    QTest::newRow("fread EIO at once") << original_script << QByteArray("posix/stdio/rw/fread")
                                       << EIO << 1 << "fread(): " + reason(EIO);
    QTest::newRow("fread EIO after some lines")
        << big << QByteArray("posix/stdio/rw/fread") << EIO << 3 << "fread(): " + reason(EIO);
    /* No injection: a directory opens for reading, but is not read. */
    QTest::newRow("script is a directory")
        << QByteArray() << QByteArray() << 0 << 0 << scriptPath() + ": Not a regular file";
}

void TestStoreFaults::readFailure()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, point);
    QFETCH(int, err);
    QFETCH(int, nth);
    QFETCH(QString, expected);

    if (!point.isEmpty())
        REQUIRE_FAULTS();
    if (script.isNull())
        QVERIFY(QDir().mkpath(scriptPath()));
    else
        QVERIFY(installScript(script, 0644));
    const int descriptors = openDescriptors();

    command_list *list;
    bool fired = true;
    if (!point.isEmpty()) {
        Fault fault(point, err, nth);
        list = qvxsessrun_read();
        fired = fault.fired();
    } else {
        list = qvxsessrun_read();
    }

    QVERIFY2(fired, "the failure was not injected");
    QVERIFY2(list == nullptr, "a failed read gave a list");
    QCOMPARE(errorText(), expected);
    QCOMPARE(openDescriptors(), descriptors);

    /* Nothing is left behind that spoils the next read. */
    if (!script.isNull()) {
        list = qvxsessrun_read();
        QVERIFY2(list != nullptr, qvxsessrun_error_text());
        qvxsessrun_free(list);
    }
}

/*
 * Every allocation of a read fails in turn.  The script has a line longer
 * than the reader's first buffer, so growing the buffer fails too.
 */
void TestStoreFaults::readAllocationFailures_data()
{
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("mustFail");

    QTest::newRow("malloc") << QByteArray("libc/mm/malloc") << "malloc(): " + reason(ENOMEM)
                            << true;
    /* The compiler may turn the list's zero-filled malloc into calloc. */
    QTest::newRow("calloc") << QByteArray("libc/mm/calloc") << "malloc(): " + reason(ENOMEM)
                            << false;
    /* The read copies with malloc; the configuration directory may still use strdup. */
    QTest::newRow("strdup") << QByteArray("libc/str/strdup") << "strdup(): " + reason(ENOMEM)
                            << false;
}

void TestStoreFaults::readAllocationFailures()
{
    QFETCH(QByteArray, point);
    QFETCH(QString, expected);
    QFETCH(bool, mustFail);

    REQUIRE_FAULTS();
    const QByteArray longCommand = "echo " + QByteArray(5000, 'x');
    QVERIFY(installScript(original_script + longCommand + "&\nlast&\n", 0644));
    const int descriptors = openDescriptors();

    int failures = 0, exact = 0;
    for (int n = 1; n < 1000; n++) {
        command_list *list;
        bool fired;
        {
            Fault fault(point, ENOMEM, n);
            list = qvxsessrun_read();
            fired = fault.fired();
        }
        const QString text = errorText();
        if (!fired) {
            QVERIFY2(list != nullptr, qvxsessrun_error_text());
            QCOMPARE(QByteArray(nth(list, 3)->text), longCommand);
            qvxsessrun_free(list);
            break;
        }
        failures++;
        QVERIFY2(list == nullptr, qPrintable(QString("allocation %1 gave a list").arg(n)));
        QCOMPARE(openDescriptors(), descriptors);
        if (text == expected)
            exact++;
        else
            QVERIFY2(isConfigText(text), qPrintable(QString("allocation %1: %2").arg(n).arg(text)));
    }
    QVERIFY(!mustFail || exact > 0);
}

/*
 * The list itself is the read's first allocation.  Its failure is named
 * like any other; the text of an earlier failure must not stay, or the
 * start's error dialog would show that instead.
 */
void TestStoreFaults::readListAllocationFailure()
{
    REQUIRE_FAULTS();
    QVERIFY(QDir().mkpath(scriptPath()));
    QVERIFY(qvxsessrun_read() == nullptr);
    QCOMPARE(errorText(), scriptPath() + ": Not a regular file");

    command_list *list;
    bool fired;
    {
        Fault fault("libc/mm/malloc", ENOMEM, 1);
        list = qvxsessrun_read();
        fired = fault.fired();
    }
    QVERIFY2(fired, "the failure was not injected");
    QVERIFY2(list == nullptr, "a failed read gave a list");
    QCOMPARE(errorText(), "malloc(): " + reason(ENOMEM));
}

/* A copy that fails is null and leaves the original as it was. */
void TestStoreFaults::copyAllocationFailures_data()
{
    readAllocationFailures_data();
}

void TestStoreFaults::copyAllocationFailures()
{
    QFETCH(QByteArray, point);
    QFETCH(QString, expected);
    QFETCH(bool, mustFail);

    REQUIRE_FAULTS();
    QVERIFY(installScript(original_script, 0644));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    command_list *reference = qvxsessrun_read();
    QVERIFY2(reference != nullptr, qvxsessrun_error_text());

    int failures = 0;
    for (int n = 1; n < 1000; n++) {
        command_list *copy;
        bool fired;
        {
            Fault fault(point, ENOMEM, n);
            copy = qvxsessrun_copy(list);
            fired = fault.fired();
        }
        if (!fired) {
            QVERIFY2(copy != nullptr, qvxsessrun_error_text());
            QVERIFY(qvxsessrun_equal(copy, list));
            qvxsessrun_free(copy);
            break;
        }
        failures++;
        QVERIFY2(copy == nullptr, qPrintable(QString("allocation %1 gave a copy").arg(n)));
        QCOMPARE(errorText(), expected);
        QVERIFY(qvxsessrun_equal(list, reference));
    }
    QVERIFY(!mustFail || failures > 0);
    qvxsessrun_free(reference);
    qvxsessrun_free(list);
}

/*
 * Each journal operation with each of its allocations failing in turn, on
 * a list with an undone operation, so that recording also drops a record.
 */
void TestStoreFaults::journalAllocationFailures_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<QByteArray>("point");
    QTest::addColumn<QString>("expected");

    const QString mallocText = "malloc(): " + reason(ENOMEM);
    const QByteArray mallocPoint = "libc/mm/malloc";

    /* Texts may hold NUL bytes: they are copied with malloc, never strdup. */
    QTest::newRow("add, malloc") << int(AddOp) << mallocPoint << mallocText;
    QTest::newRow("delete, malloc") << int(DeleteOp) << mallocPoint << mallocText;
    QTest::newRow("set, malloc") << int(SetOp) << mallocPoint << mallocText;
    QTest::newRow("move up, malloc") << int(MoveUpOp) << mallocPoint << mallocText;
    QTest::newRow("move down, malloc") << int(MoveDownOp) << mallocPoint << mallocText;
    QTest::newRow("reload, malloc") << int(ReloadOp) << mallocPoint << mallocText;
}

void TestStoreFaults::journalAllocationFailures()
{
    QFETCH(int, op);
    QFETCH(QByteArray, point);
    QFETCH(QString, expected);

    REQUIRE_FAULTS();
    QVERIFY(installScript("A&\nB&\nC&\n", 0644));

    int failures = 0;
    for (int n = 1; n < 1000; n++) {
        command_list *list = qvxsessrun_read();
        QVERIFY2(list != nullptr, qvxsessrun_error_text());
        command_entry *b = nth(list, 1);
        QVERIFY(qvxsessrun_set_command(list, nth(list, 2), "C2", 0) == 0);
        qvxsessrun_undo(list);

        bool ok;
        bool fired;
        {
            Fault fault(point, ENOMEM, n);
            switch (op) {
            case AddOp:
                ok = qvxsessrun_add_command(list, "D", 1) != nullptr;
                break;
            case DeleteOp:
                ok = qvxsessrun_delete_command(list, b) == b;
                break;
            case SetOp:
                ok = qvxsessrun_set_command(list, b, "B2", 0) == 0;
                break;
            case MoveUpOp:
                ok = qvxsessrun_move_up(list, b) == b;
                break;
            case ReloadOp:
                ok = qvxsessrun_reload(list) == 0;
                break;
            default:
                ok = qvxsessrun_move_down(list, b) == b;
                break;
            }
            fired = fault.fired();
        }
        if (!fired) {
            QVERIFY2(ok, qvxsessrun_error_text());
            QVERIFY(qvxsessrun_can_undo(list));
            QVERIFY(!qvxsessrun_can_redo(list));
            qvxsessrun_free(list);
            break;
        }
        failures++;
        QVERIFY2(!ok, qPrintable(QString("allocation %1 did not fail the operation").arg(n)));
        /* A reload reads the script, which may need the configuration directory. */
        if (op != ReloadOp || !isConfigText(errorText()))
            QCOMPARE(errorText(), expected);
        /* The undone set survives the failed operation and can be redone. */
        QVERIFY(qvxsessrun_can_redo(list));
        qvxsessrun_redo(list);
        QCOMPARE(QByteArray(nth(list, 2)->text), QByteArray("C2"));
        qvxsessrun_free(list);
    }
    QVERIFY(failures > 0);
}

/*
 * Undo and redo return nothing, so the list goes on being used after a
 * failed copy: the entry keeps its text, and the journal still fits the
 * chain, so the same step can be taken again.
 */
void TestStoreFaults::undoRedoOfSetUnderAllocationFailure_data()
{
    QTest::addColumn<bool>("redo");

    QTest::newRow("undo") << false;
    QTest::newRow("redo") << true;
}

void TestStoreFaults::undoRedoOfSetUnderAllocationFailure()
{
    QFETCH(bool, redo);

    REQUIRE_FAULTS();
    QVERIFY(installScript("t0&\n", 0644));
    command_list *list = qvxsessrun_read();
    QVERIFY2(list != nullptr, qvxsessrun_error_text());
    command_entry *a = list->entries;
    QVERIFY(qvxsessrun_set_command(list, a, "t1", 0) == 0);
    if (redo)
        qvxsessrun_undo(list);
    const QByteArray current = a->text;
    const int active = a->active;
    QCOMPARE(current, redo ? QByteArray("t0") : QByteArray("t1"));

    {
        Fault fault("libc/mm/malloc", ENOMEM, 1);
        if (redo)
            qvxsessrun_redo(list);
        else
            qvxsessrun_undo(list);
        QVERIFY2(fault.fired(), "the set record was applied without a copy");
    }
    QVERIFY(a->text != nullptr);
    QCOMPARE(QByteArray(a->text), current);
    QCOMPARE(int(a->active), active);
    QCOMPARE(errorText(), "malloc(): " + reason(ENOMEM));

    if (redo)
        qvxsessrun_redo(list);
    else
        qvxsessrun_undo(list);
    QCOMPARE(QByteArray(a->text), redo ? QByteArray("t1") : QByteArray("t0"));
    QCOMPARE(int(a->active), redo ? 0 : 1);
    qvxsessrun_free(list);
}

/*
 * An unprivileged user meets a script it may not read, a directory it may
 * not write and a home in which ~/.config cannot be made.
 */
void TestStoreFaults::unprivileged_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("op");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("expected");

    const QString dir = scriptDir(subjectHome());
    const QString noConfig = "Fatal: mkdir(): Fatal error: " + reason(EACCES) + "\n";

    QTest::newRow("unreadable script, read")
        << "unreadable script" << int(SubjectRead) << -1
        << "fopen(" + dir + "/autostart.sh): " + reason(EACCES);
    QTest::newRow("unwritable directory, write")
        << "unwritable directory" << int(SubjectWrite) << -1 << "mkstemp(): " + reason(EACCES);
    QTest::newRow("unwritable home, read")
        << "unwritable home" << int(SubjectRead) << -1 << noConfig;
    QTest::newRow("unwritable home, write")
        << "unwritable home" << int(SubjectWrite) << -1 << noConfig;
}

void TestStoreFaults::unprivileged()
{
    QFETCH(QString, setup);
    QFETCH(int, op);
    QFETCH(int, result);
    QFETCH(QString, expected);

    const QString homeDir = subjectHome();
    const QString dir = scriptDir(homeDir);
    const QString path = scriptPath(homeDir);
    if (setup == "unwritable home") {
        QVERIFY(chmod(QFile::encodeName(homeDir).constData(), 0555) == 0);
    } else {
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(writeBytes(path, original_script, setup == "unreadable script" ? 0200 : 0644));
        QVERIFY(giveToSubject(homeDir + "/.config") && giveToSubject(dir) && giveToSubject(path));
        if (setup == "unwritable directory")
            QVERIFY(chmod(QFile::encodeName(dir).constData(), 0500) == 0);
    }
    const QStringList namesBefore = listing(dir);
    const QStringList homeBefore = listing(homeDir);
    const int modeBefore = modeOf(path);

    const Outcome out = runUnprivileged(SubjectOp(op));

    QVERIFY2(out.problem.isEmpty(), out.problem.constData());
    QCOMPARE(out.result, result);
    QCOMPARE(QString::fromLocal8Bit(out.text), expected);
    QCOMPARE(listing(homeDir), homeBefore);
    QCOMPARE(listing(dir), namesBefore);
    QCOMPARE(modeOf(path), modeBefore);
    if (setup == "unreadable script") /* for the test itself, when it is not root */
        QVERIFY(chmod(QFile::encodeName(path).constData(), 0600) == 0);
    if (setup != "unwritable home")
        QCOMPARE(readBytes(path), original_script);
}

/* A run without fault injection skipped most of the cases: it ends with
 * status 77, which ctest shows as skipped, once the others have passed. */
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    TestStoreFaults test;
    QTEST_SET_MAIN_SOURCE_PATH
    const int failed = QTest::qExec(&test, argc, argv);
    return failed == 0 && !test.faultsInjected() ? 77 : failed;
}
#include "tst_store_faults.moc"
