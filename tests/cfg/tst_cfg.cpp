// SPDX-License-Identifier: BSD-2-Clause
#include "cfg/cfg.h"
#include "unprivileged.h"

#include <QtTest>

#include <errno.h>
#include <ftw.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

/*
 * The configuration directory and the rendering of the library's errors.
 * The home comes from the private password database of with-home.sh;
 * tests that need another home rewrite that database and put it back.
 */
class TestCfg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void createsMissingDirectories_data();
    void createsMissingDirectories();
    void keepsExistingModes();
    void ignoresHome();
    void subDirectory_data();
    void subDirectory();
    void failures_data();
    void failures();
    void noPasswordEntry();
    void permissionDenied();

    void renderedText_data();
    void renderedText();
    void contextIsFormatted();
    void textIsBounded();

private:
    QString home;
    QString decoy;
    QString passwdPath;
    QByteArray passwd;
    int passwdGeneration = 0;

    QString qvxDir() const { return home + "/.config/QVX"; }
    void writePasswd(const QByteArray &content);
    QByteArray homeLine(const QString &newHome) const;
};

static mode_t modeOf(const QString &path)
{
    struct stat sb;

    if (stat(QFile::encodeName(path).constData(), &sb) == -1)
        return static_cast<mode_t>(-1);
    return sb.st_mode & 07777;
}

static int makeWritable(const char *path, const struct stat *sb, int type, struct FTW *)
{
    if (type == FTW_D || type == FTW_DNR || type == FTW_DP)
        chmod(path, (sb->st_mode & 07777) | 0700);
    return 0;
}

static void removeTree(const QString &path)
{
    QDir dir(path);

    if (dir.exists()) {
        /* A test may have taken away our own search permission. */
        nftw(QFile::encodeName(path).constData(), makeWritable, 16, FTW_PHYS);
        dir.removeRecursively();
    }
    QFile::remove(path);
}

void TestCfg::initTestCase()
{
    /* The expected system texts are the untranslated ones. */
    setlocale(LC_ALL, "C");
    home = qEnvironmentVariable("QVX_TEST_HOME");
    decoy = qEnvironmentVariable("HOME");
    passwdPath = qEnvironmentVariable("QVX_TEST_DIR") + "/passwd";
    QVERIFY2(!home.isEmpty(), "run through with-home.sh");
    QVERIFY(home != decoy);
    QFile f(passwdPath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    passwd = f.readAll();
    QVERIFY(!passwd.isEmpty());
}

void TestCfg::init()
{
    removeTree(home + "/.config");
    QVERIFY(QDir(home).exists());
}

void TestCfg::cleanup()
{
    writePasswd(passwd);
    cfg_set_position(nullptr, 0);
    QVERIFY2(
        QDir(decoy).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty(),
        "the decoy $HOME was touched");
}

/*
 * Rewrite the password database in place.  The wrapper reloads it only
 * when its modification time changes, so every generation gets its own.
 */
void TestCfg::writePasswd(const QByteArray &content)
{
    QFile f(passwdPath);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(content), content.size());
    f.close();
    struct timeval tv[2] = {};
    tv[0].tv_sec = tv[1].tv_sec = 1000000 + ++passwdGeneration;
    QCOMPARE(utimes(QFile::encodeName(passwdPath).constData(), tv), 0);
}

/* The password database with our own line pointing home at newHome. */
QByteArray TestCfg::homeLine(const QString &newHome) const
{
    QByteArray out;
    QByteArray uid = QByteArray::number(getuid());

    for (const QByteArray &line : passwd.split('\n')) {
        QList<QByteArray> f = line.split(':');
        if (f.size() == 7 && f[2] == uid)
            f[5] = QFile::encodeName(newHome);
        if (!line.isEmpty())
            out += f.join(':') + '\n';
    }
    return out;
}

void TestCfg::createsMissingDirectories_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("mode");

    QTest::newRow("umask 022") << 022 << 0700;
    QTest::newRow("umask 077") << 077 << 0700;
    QTest::newRow("umask 027") << 027 << 0700;
    /* Only root can go on below a directory it cannot search. */
    if (geteuid() == 0)
        QTest::newRow("umask 0100") << 0100 << 0600;
}

void TestCfg::createsMissingDirectories()
{
    QFETCH(int, mask);
    QFETCH(int, mode);

    mode_t old = umask(mask);
    char *dir = cfg_make_dir(nullptr);
    umask(old);

    QVERIFY(dir != nullptr);
    QCOMPARE(QString::fromLocal8Bit(dir), qvxDir());
    free(dir);
    QCOMPARE(modeOf(home + "/.config"), static_cast<mode_t>(mode));
    QCOMPARE(modeOf(qvxDir()), static_cast<mode_t>(mode));
    QVERIFY(QFileInfo(qvxDir()).isDir());
    QVERIFY(QDir(qvxDir()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void TestCfg::keepsExistingModes()
{
    QVERIFY(QDir(home).mkpath(".config/QVX"));
    QCOMPARE(chmod(QFile::encodeName(home + "/.config").constData(), 0751), 0);
    QCOMPARE(chmod(QFile::encodeName(qvxDir()).constData(), 0705), 0);

    for (int i = 0; i < 2; i++) {
        char *dir = cfg_make_dir(nullptr);
        QVERIFY(dir != nullptr);
        QCOMPARE(QString::fromLocal8Bit(dir), qvxDir());
        free(dir);
        QCOMPARE(modeOf(home + "/.config"), static_cast<mode_t>(0751));
        QCOMPARE(modeOf(qvxDir()), static_cast<mode_t>(0705));
    }
}

void TestCfg::ignoresHome()
{
    /* $HOME names the decoy; cleanup() checks that it stayed empty. */
    QVERIFY(QDir(decoy).exists());
    char *dir = cfg_make_dir(nullptr);
    QVERIFY(dir != nullptr);
    QCOMPARE(QString::fromLocal8Bit(dir), qvxDir());
    free(dir);
}

void TestCfg::subDirectory_data()
{
    QTest::addColumn<bool>("existsAsFile");

    QTest::newRow("missing: created") << false;
    QTest::newRow("a regular file: returned as it is") << true;
}

void TestCfg::subDirectory()
{
    QFETCH(bool, existsAsFile);

    if (existsAsFile) {
        QVERIFY(QDir(home).mkpath(".config/QVX"));
        QFile f(qvxDir() + "/sub");
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    char *dir = cfg_make_dir("sub");
    QVERIFY(dir != nullptr);
    QCOMPARE(QString::fromLocal8Bit(dir), qvxDir() + "/sub");
    free(dir);
    if (existsAsFile) {
        QVERIFY(QFileInfo(qvxDir() + "/sub").isFile());
    } else {
        QVERIFY(QFileInfo(qvxDir() + "/sub").isDir());
        QCOMPARE(modeOf(qvxDir() + "/sub") & 0700, static_cast<mode_t>(0700));
    }
}

void TestCfg::failures_data()
{
    QTest::addColumn<QString>("file"); /* made a regular file, relative to home */
    QTest::addColumn<bool>("homeMissing");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("error");

    QTest::newRow("~/.config a regular file")
        << ".config" << false << "Fatal: stat(): Fatal error: Not a directory\n"
        << ENOTDIR;
    QTest::newRow("~/.config/QVX a regular file")
        << ".config/QVX" << false << "Fatal: stat(): Fatal error: Not a directory\n"
        << ENOTDIR;
    QTest::newRow("home directory missing")
        << QString() << true << "mkdir(): Fatal error: No such file or directory\n"
        << ENOENT;
}

void TestCfg::failures()
{
    QFETCH(QString, file);
    QFETCH(bool, homeMissing);
    QFETCH(QString, text);
    QFETCH(int, error);

    if (!file.isEmpty()) {
        QVERIFY(QDir(home).mkpath(QFileInfo(file).path()));
        QFile f(home + "/" + file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QString missing = qEnvironmentVariable("QVX_TEST_DIR") + "/missing";
    if (homeMissing)
        writePasswd(homeLine(missing));

    QVERIFY(cfg_make_dir(nullptr) == nullptr);
    errno = 0;
    QCOMPARE(QString::fromLocal8Bit(cfg_error_text()), text);
    QCOMPARE(errno, error);

    /* Nothing was created on the way to the failure. */
    QVERIFY(!QFileInfo::exists(missing));
    if (!file.isEmpty())
        QVERIFY(QFileInfo(home + "/" + file).isFile());
}

void TestCfg::noPasswordEntry()
{
    QByteArray out;
    QByteArray uid = QByteArray::number(getuid());

    for (const QByteArray &line : passwd.split('\n'))
        if (!line.isEmpty() && line.split(':').value(2) != uid)
            out += line + '\n';
    writePasswd(out);

    QVERIFY(cfg_make_dir(nullptr) == nullptr);
    errno = EXDEV;
    QByteArray text = cfg_error_text();
    int saved = errno;
    QVERIFY(saved != EXDEV);
    QByteArray expected = saved == ENOENT ? "" : "Fatal: ";
    expected += "Couldn't find you in the password file: Fatal error: ";
    expected += strerror(saved);
    expected += "\n";
    QCOMPARE(text, expected);
    QVERIFY(!QFileInfo::exists(home + "/.config"));
}

/*
 * Run as uid 65534, whose home from the password database is not
 * writable: the test binary itself, started with this option, prints the
 * rendered text.  A fresh program keeps the test's threads out of it.
 */
static const char unprivilegedOption[] = "--make-dir-unprivileged";

static int makeDirUnprivileged()
{
    if (!drop_to_unprivileged())
        return 2;
    char *dir = cfg_make_dir(nullptr);
    if (dir != nullptr) {
        printf("created %s\n", dir);
        return 1;
    }
    fputs(cfg_error_text(), stdout);
    return 0;
}

void TestCfg::permissionDenied()
{
    if (geteuid() != 0)
        QSKIP("needs root to become uid 65534");
    QString nobody = qEnvironmentVariable("QVX_TEST_DIR") + "/nobody";
    QCOMPARE(chmod(QFile::encodeName(nobody).constData(), 0555), 0);

    const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
    const child_run run = run_in_child(
        [&] {
            execl(self.constData(), self.constData(), unprivilegedOption,
                  static_cast<char *>(nullptr));
            return 127;
        },
        false);
    chmod(QFile::encodeName(nobody).constData(), 0755);
    QVERIFY(run.ended);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.output, QByteArray("Fatal: mkdir(): Fatal error: Permission denied\n"));
    QVERIFY(!QFileInfo::exists(nobody + "/.config"));
}

void TestCfg::renderedText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("error"); /* errno when the error is recorded */
    QTest::addColumn<QByteArray>("fmt"); /* null: no format */
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("setsErrno");

    const QByteArray none;

    QTest::newRow("7 mkdir, EACCES")
        << 7 << EACCES << QByteArray("mkdir()") << none << 0
        << QByteArray("Fatal: mkdir(): Fatal error: Permission denied\n") << true;
    QTest::newRow("7 mkdir, ENOENT: no prefix")
        << 7 << ENOENT << QByteArray("mkdir()") << none << 0
        << QByteArray("mkdir(): Fatal error: No such file or directory\n") << true;
    QTest::newRow("7 stat, ENOTDIR")
        << 7 << ENOTDIR << QByteArray("stat()") << none << 0
        << QByteArray("Fatal: stat(): Fatal error: Not a directory\n") << true;
    QTest::newRow("7 password file, errno 0")
        << 7 << 0 << QByteArray("Couldn't find you in the password file") << none << 0
        << QByteArray("Fatal: Couldn't find you in the password file: Fatal error: ")
            + QByteArray(strerror(0)) + "\n"
        << true;
    QTest::newRow("7 null format") << 7 << EACCES << none << none << 0
                                   << QByteArray("Fatal: Fatal error: Permission denied\n") << true;
    QTest::newRow("7 empty context")
        << 7 << EACCES << QByteArray("") << none << 0
        << QByteArray("Fatal: Fatal error: Permission denied\n") << true;
    QTest::newRow("7 with a line: no file part")
        << 7 << EACCES << QByteArray("ctx") << QByteArray("a.conf") << 4
        << QByteArray("Fatal: ctx: Fatal error: Permission denied\n") << true;

    QTest::newRow("257") << 257 << 0 << QByteArray("ctx") << none << 0
                         << QByteArray("Syntax error: ctx: Incomplete escape sequence\n") << true;
    QTest::newRow("258") << 258 << 0 << QByteArray("ctx") << none << 0
                         << QByteArray("Syntax error: ctx: Unterminated quoted string\n") << true;
    QTest::newRow("259") << 259 << 0 << QByteArray("ctx") << none << 0
                         << QByteArray("Syntax error: ctx: Missing '='\n") << true;
    QTest::newRow("260") << 260 << 0 << QByteArray("ctx") << none << 0
                         << QByteArray("Syntax error: ctx: Missing value\n") << true;
    QTest::newRow("261") << 261 << 0 << QByteArray("ctx") << none << 0
                         << QByteArray("Syntax error: ctx: Unknown variable\n") << true;
    QTest::newRow("259 null format")
        << 259 << 0 << none << none << 0 << QByteArray("Syntax error: Missing '='\n") << true;
    QTest::newRow("258 with file and line")
        << 258 << EINVAL << QByteArray("ctx") << QByteArray("a.conf") << 12
        << QByteArray("Syntax error: ctx: Unterminated quoted string, in file a.conf, line 12\n")
        << true;
    QTest::newRow("261 line 1, null format")
        << 261 << 0 << none << QByteArray("b") << 1
        << QByteArray("Syntax error: Unknown variable, in file b, line 1\n") << true;
    QTest::newRow("260 negative line: bare line feed")
        << 260 << 0 << QByteArray("ctx") << QByteArray("a.conf") << -3
        << QByteArray("Syntax error: ctx: Missing value\n") << true;

    QTest::newRow("6") << 6 << ENAMETOOLONG << QByteArray("ctx") << none << 0
                       << QByteArray("ctx: Path name too long\n") << true;
    QTest::newRow("8") << 8 << 0 << none << none << 0
                       << QByteArray("Duplicated config file section\n") << true;
    QTest::newRow("8 with file and line")
        << 8 << 0 << QByteArray("[x]") << QByteArray("c.conf") << 7
        << QByteArray("[x]: Duplicated config file section, in file c.conf, line 7\n") << true;

    QTest::newRow("-1: empty") << -1 << EACCES << QByteArray("ctx") << none << 0 << QByteArray("")
                               << false;
    QTest::newRow("0: unknown") << 0 << EACCES << QByteArray("ctx") << none << 0
                                << QByteArray("Unknown error code") << false;
    QTest::newRow("1: unknown") << 1 << EACCES << QByteArray("ctx") << QByteArray("f") << 2
                                << QByteArray("Unknown error code") << false;
    QTest::newRow("262: unknown") << 262 << 0 << none << none << 0
                                  << QByteArray("Unknown error code") << false;
    QTest::newRow("-2: unknown") << -2 << 0 << none << none << 0 << QByteArray("Unknown error code")
                                 << false;
}

void TestCfg::renderedText()
{
    QFETCH(int, code);
    QFETCH(int, error);
    QFETCH(QByteArray, fmt);
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(bool, setsErrno);

    cfg_set_position(file.isNull() ? nullptr : file.constData(), line);
    errno = error;
    if (fmt.isNull())
        cfg_set_error(code, nullptr);
    else
        cfg_set_error(code, "%s", fmt.constData());

    errno = EXDEV;
    QCOMPARE(QByteArray(cfg_error_text()), text);
    QCOMPARE(errno, setsErrno ? error : EXDEV);

    /* Rendering changes nothing but the text: the same again. */
    QCOMPARE(QByteArray(cfg_error_text()), text);
}

void TestCfg::contextIsFormatted()
{
    errno = ENOSPC;
    cfg_set_error(6, "write(%s, %d)", "x.conf", 42);
    QCOMPARE(QByteArray(cfg_error_text()), QByteArray("write(x.conf, 42): Path name too long\n"));
    QCOMPARE(errno, ENOSPC);

    /* A later error replaces the whole record, context included. */
    errno = 0;
    cfg_set_error(8, nullptr);
    QCOMPARE(QByteArray(cfg_error_text()), QByteArray("Duplicated config file section\n"));
    QCOMPARE(errno, 0);
}

void TestCfg::textIsBounded()
{
    QByteArray longContext(3000, 'c');
    QByteArray longFile(3000, 'f');

    /* The context is cut to 1023 bytes. */
    cfg_set_error(6, "%s", longContext.constData());
    QCOMPARE(QByteArray(cfg_error_text()), longContext.left(1023) + ": Path name too long\n");

    /* The whole text is cut to 2046 bytes, without a final line feed. */
    cfg_set_position(longFile.constData(), 5);
    cfg_set_error(257, "%s", longContext.constData());
    QByteArray full = "Syntax error: " + longContext.left(1023)
        + ": Incomplete escape sequence, in file " + longFile + ", line 5\n";
    QCOMPARE(QByteArray(cfg_error_text()), full.left(2046));
}

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], unprivilegedOption) == 0) {
        setlocale(LC_ALL, "C");
        return makeDirUnprivileged();
    }
    QCoreApplication app(argc, argv);
    TestCfg test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_cfg.moc"
