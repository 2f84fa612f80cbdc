// SPDX-License-Identifier: BSD-2-Clause
#include "desktop/DesktopFile.h"
#include "localeencoding.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

static const qint64 MiB = 1024 * 1024;

// What a read in a child process gave back.
struct ChildRead
{
    bool finished = false;
    int result = 0;
    bool execNull = false;
    bool nameNull = false;
    qint64 elapsedMs = 0;
};

class TestDesktopFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void constructorTouchesNothing();
    void read_data();
    void read();
    void execValue_data();
    void execValue();
    void locationCode_data();
    void locationCode();
    void nameAndIconCodes_data();
    void nameAndIconCodes();
    void nameCodeIsTranslated();
    void notARegularFile_data();
    void notARegularFile();
    void sizeLimit_data();
    void sizeLimit();
    void unreadableFile();
    void reasons_data();
    void reasons();
    void localeNames_data();
    void localeNames();
    void localizedKeys_data();
    void localizedKeys();
    void menuKeys_data();
    void menuKeys();

private:
    QString writeFile(const QString &name, const QByteArray &content);
    static ChildRead readInChild(const QString &path, bool unprivileged);

    QTemporaryDir dir;
};

void TestDesktopFile::initTestCase()
{
    QVERIFY(dir.isValid());
    // The unprivileged reader of unreadableFile must reach the files.
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
}

QString TestDesktopFile::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    if (file.write(content) != content.size())
        return QString();
    return path;
}

/*
 * Reads path in a child, as uid 65534 when asked, so that a read that
 * blocks or runs away with memory fails the test instead of hanging it.
 */
ChildRead TestDesktopFile::readInChild(const QString &path, bool unprivileged)
{
    const child_run run = run_in_child(
        [&] {
#ifndef __SANITIZE_ADDRESS__
            // A read of /dev/zero without a bound must not take the machine down.
            const struct rlimit limit = { 1024 * MiB, 1024 * MiB };
            setrlimit(RLIMIT_AS, &limit);
#endif
            DesktopFile file(path);
            const int result = file.read();
            return (result == 0 ? 0 : 1) | (file.exec.isNull() ? 2 : 0)
                | (file.name.isNull() ? 4 : 0);
        },
        unprivileged, 5000);

    ChildRead r;
    r.elapsedMs = run.elapsed_ms;
    r.finished = run.ended && run.status < 8;
    if (r.finished) {
        r.result = (run.status & 1) ? -1 : 0;
        r.execNull = run.status & 2;
        r.nameNull = run.status & 4;
    }
    return r;
}

void TestDesktopFile::constructorTouchesNothing()
{
    const QString path = dir.filePath(QStringLiteral("never-created.desktop"));
    DesktopFile file(path);
    QCOMPARE(file.path, path);
    QVERIFY(file.exec.isNull());
    QVERIFY(file.name.isNull());
    QVERIFY(!QFile::exists(path));
}

void TestDesktopFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("name");

    const QString null;
    const QString empty = QStringLiteral("");

    QTest::newRow("name and exec with a field code")
        << QByteArray("[Desktop Entry]\nName=Editor\nExec=editor %F\n") << 0
        << QStringLiteral("editor") << QStringLiteral("Editor");
    QTest::newRow("browser with an action group after the main group")
        << QByteArray("[Desktop Entry]\nType=Application\nName=Browser\n"
                      "Exec=/usr/bin/browser %u\nActions=new-window;new-private-window;\n\n"
                      "[Desktop Action new-window]\nName=New Window\n"
                      "Exec=/usr/bin/browser --new-window %u\n\n"
                      "[Desktop Action new-private-window]\nName=New Private Window\n"
                      "Exec=/usr/bin/browser --private-window %u\n")
        << 0 << QStringLiteral("/usr/bin/browser") << QStringLiteral("Browser");
    QTest::newRow("Exec only in a later group")
        << QByteArray("[Desktop Entry]\nName=Broken\n[Desktop Action a]\nExec=a\n") << -1 << null
        << QStringLiteral("Broken");
    QTest::newRow("any group header ends the main group")
        << QByteArray("[Desktop Entry]\nExec=main\n[X-Vendor Extras]\nExec=vendor\nName=V\n") << 0
        << QStringLiteral("main") << null;
    QTest::newRow("group before the main group")
        << QByteArray("[Desktop Action a]\nExec=a\n[Desktop Entry]\nExec=main\n") << 0
        << QStringLiteral("main") << null;
    QTest::newRow("keys before the header ignored")
        << QByteArray("Exec=early\nName=Early\n[Desktop Entry]\nExec=late\n") << 0
        << QStringLiteral("late") << null;
    QTest::newRow("no header") << QByteArray("Name=Editor\nExec=editor\n") << -1 << null << null;
    QTest::newRow("header in other case")
        << QByteArray("[desktop entry]\nExec=editor\n") << -1 << null << null;
    // White space in front of a line, around "=" and after a header's "]"
    // counts for nothing.
    QTest::newRow("header with trailing blanks") << QByteArray("[Desktop Entry] \t \nExec=editor\n")
                                                 << 0 << QStringLiteral("editor") << null;
    QTest::newRow("indented header and keys")
        << QByteArray("  [Desktop Entry]\n  Name=Editor\n\tExec=editor\n") << 0
        << QStringLiteral("editor") << QStringLiteral("Editor");
    QTest::newRow("blanks around =")
        << QByteArray("[Desktop Entry]\nName \t= My Editor\nExec = editor --x\n") << 0
        << QStringLiteral("editor --x") << QStringLiteral("My Editor");
    QTest::newRow("indented later group ends the main group")
        << QByteArray("[Desktop Entry]\nExec=main\n  [Desktop Action a] \nExec=a\n") << 0
        << QStringLiteral("main") << null;
    QTest::newRow("text after a header's ]")
        << QByteArray("[Desktop Entry] x\nExec=editor\n") << -1 << null << null;
    QTest::newRow("empty exec") << QByteArray("[Desktop Entry]\nName=Editor\nExec=\n") << -1
                                << empty << QStringLiteral("Editor");
    QTest::newRow("empty exec, then a value") << QByteArray("[Desktop Entry]\nExec=\nExec=editor\n")
                                              << 0 << QStringLiteral("editor") << null;
    QTest::newRow("a value, then empty exec")
        << QByteArray("[Desktop Entry]\nExec=editor\nExec=\n") << -1 << empty << null;
    QTest::newRow("escaped leading blank kept")
        << QByteArray("[Desktop Entry]\nExec= \\sapp\n") << 0 << QStringLiteral(" app") << null;
    QTest::newRow("CR LF line ends")
        << QByteArray("[Desktop Entry]\r\nName=Editor\r\nExec=editor %F\r\n") << 0
        << QStringLiteral("editor") << QStringLiteral("Editor");
    QTest::newRow("empty lines anywhere")
        << QByteArray("\n\n[Desktop Entry]\n\nName=Editor\n\n\nExec=editor\n\n") << 0
        << QStringLiteral("editor") << QStringLiteral("Editor");
    QTest::newRow("blank lines are not empty but match nothing")
        << QByteArray("  \n[Desktop Entry]\n\t\nExec=editor\n ") << 0 << QStringLiteral("editor")
        << null;
    QTest::newRow("no final line end")
        << QByteArray("[Desktop Entry]\nExec=editor") << 0 << QStringLiteral("editor") << null;
    QTest::newRow("other keys do not match")
        << QByteArray("[Desktop Entry]\nExec=editor\nexec=lower\nEXEC=upper\nEx ec=split\n"
                      "Name[de]=Bearbeiter\nTryExec=try\n# Exec=comment\n=value\nExec\n")
        << 0 << QStringLiteral("editor") << null;
    QTest::newRow("quotes kept, escapes and codes decoded")
        << QByteArray(
               "[Desktop Entry]\nName=My\\sApp\nExec=\"/opt/my app/run\" --title=a\\sb %U %%\n")
        << 0 << QStringLiteral("\"/opt/my app/run\" --title=a b %") << QStringLiteral("My App");
    QTest::newRow("header only") << QByteArray("[Desktop Entry]\n") << -1 << null << null;
    QTest::newRow("empty file") << QByteArray() << -1 << null << null;
    QTest::newRow("UTF-8 name") << QByteArray("[Desktop Entry]\nName=\xc3\x89"
                                              "diteur \xe6\x97\xa5\n"
                                              "Exec=editor\n")
                                << 0 << QStringLiteral("editor")
                                << QString::fromUtf8("\xc3\x89"
                                                     "diteur \xe6\x97\xa5");
    QTest::newRow("UTF-8 command")
        << QByteArray("[Desktop Entry]\nExec=caf\xc3\xa9 --titre=\xe2\x82\xac %f\n") << 0
        << QString::fromUtf8("caf\xc3\xa9 --titre=\xe2\x82\xac") << null;
    QTest::newRow("UTF-8 byte-order mark")
        << QByteArray("\xef\xbb\xbf[Desktop Entry]\nExec=editor\n") << 0 << QStringLiteral("editor")
        << null;
    // This codec writes the byte-order mark itself.
    QTextCodec *utf16 = QTextCodec::codecForName("UTF-16LE");
    QTest::newRow("UTF-16 with byte-order mark")
        << utf16->fromUnicode(QStringLiteral("[Desktop Entry]\r\nExec=editor\r\n")) << 0
        << QStringLiteral("editor") << null;
}

void TestDesktopFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(QString, exec);
    QFETCH(QString, name);

    const QString path = writeFile(QStringLiteral("entry.desktop"), content);
    QVERIFY(!path.isEmpty());
    // Desktop entries are UTF-8 also where the locale's encoding is not.
    for (const char *encoding : { "UTF-8", "ISO-8859-1" }) {
        LocaleEncoding locale(encoding);
        QVERIFY(locale.isValid());
        DesktopFile file(path);
        QCOMPARE(file.read(), result);
        QCOMPARE(file.exec, exec);
        QCOMPARE(file.exec.isNull(), exec.isNull());
        QCOMPARE(file.name, name);
        QCOMPARE(file.name.isNull(), name.isNull());
        QCOMPARE(file.path, path);
    }
}

void TestDesktopFile::execValue_data()
{
    QTest::addColumn<QByteArray>("value"); // as written after "Exec="
    QTest::addColumn<QString>("exec"); // empty: the read fails

    // Field codes
    QTest::newRow("%f at the end") << QByteArray("app %f") << QStringLiteral("app");
    QTest::newRow("%F in the middle") << QByteArray("app %F --x") << QStringLiteral("app --x");
    QTest::newRow("%u at the start") << QByteArray("%u app") << QStringLiteral("app");
    QTest::newRow("%U after a tab") << QByteArray("app\t%U") << QStringLiteral("app");
    // An entry without Icon and Name: see nameAndIconCodes for one with them.
    QTest::newRow("%i %c without Icon and Name")
        << QByteArray("app %i --a %c") << QStringLiteral("app --a");
    QTest::newRow("deprecated codes")
        << QByteArray("app %d %D %n %N %v %m --x") << QStringLiteral("app --x");
    QTest::newRow("codes side by side") << QByteArray("app %f%u --x") << QStringLiteral("app --x");
    QTest::newRow("code inside a word")
        << QByteArray("app --file=%f --x") << QStringLiteral("app --file= --x");
    QTest::newRow("code between double blanks")
        << QByteArray("app  %u  --x") << QStringLiteral("app  --x");
    QTest::newRow("code before trailing blanks") << QByteArray("app %u  ") << QStringLiteral("app");
    QTest::newRow("blanks inside and at the end kept")
        << QByteArray(" app  --x ") << QStringLiteral("app  --x ");
    QTest::newRow("%% is a percent sign")
        << QByteArray("printf 100%% %u") << QStringLiteral("printf 100%");
    QTest::newRow("%% before a code letter")
        << QByteArray("date +%%u") << QStringLiteral("date +%u");
    QTest::newRow("other % sequences kept")
        << QByteArray("app %x 50% %") << QStringLiteral("app %x 50% %");
    QTest::newRow("nothing but codes") << QByteArray("%U %f") << QString();

    // String escapes
    QTest::newRow("\\s") << QByteArray("app\\s--x") << QStringLiteral("app --x");
    QTest::newRow("\\t \\n \\r") << QByteArray("app a\\tb\\nc\\rd")
                                 << QStringLiteral("app a\tb\nc\rd");
    QTest::newRow("\\\\") << QByteArray("app \"a\\\\\\\\b\"") << QStringLiteral("app \"a\\\\b\"");
    QTest::newRow("escaped backslash before s")
        << QByteArray("app a\\\\sb") << QStringLiteral("app a\\sb");
    QTest::newRow("other escapes kept for the shell")
        << QByteArray("app \\$HOME \"\\\"x\\\"\" \\")
        << QStringLiteral("app \\$HOME \"\\\"x\\\"\" \\");
    QTest::newRow("escaped blank before a code") << QByteArray("app\\s%u") << QStringLiteral("app");
}

void TestDesktopFile::execValue()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, exec);

    const QString path
        = writeFile(QStringLiteral("exec.desktop"), "[Desktop Entry]\nExec=" + value + "\n");
    QVERIFY(!path.isEmpty());
    DesktopFile file(path);
    QCOMPARE(file.read(), exec.isEmpty() ? -1 : 0);
    QCOMPARE(file.exec, exec);
}

void TestDesktopFile::locationCode_data()
{
    QTest::addColumn<QByteArray>("value"); // as written after "Exec="
    QTest::addColumn<QString>("output"); // FILE for the entry's path, DIR for its directory

    QTest::newRow("a word of its own") << QByteArray("printf '[%%s]' %k") << "[FILE]";
    QTest::newRow("inside a word") << QByteArray("printf '[%%s]' --file=%k") << "[--file=FILE]";
    QTest::newRow("inside double quotes") << QByteArray("printf '[%%s]' \"in %k\"") << "[in FILE]";
    QTest::newRow("inside single quotes") << QByteArray("printf '[%%s]' 'in %k'") << "[in FILE]";
    QTest::newRow("after an escaped double quote")
        << QByteArray("printf '[%%s]' \"\\\"\" %k") << "[\"][FILE]";
    QTest::newRow("with the other codes") << QByteArray("printf '[%%s]' %f %k %U") << "[FILE]";
    // A launcher that runs a script beside its entry.
    QTest::newRow("the entry's directory")
        << QByteArray("sh -c \"cd \\\"\\$(dirname \\\"\\$1\\\")\\\" && pwd -P\" sh %k") << "DIR\n";
}

/*
 * %k is the entry's own path, which the shell that runs the command must
 * read back as one word exactly, whatever the path holds and wherever the
 * code stands.
 */
void TestDesktopFile::locationCode()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, output);

    const QStringList dirNames
        = { "plain",       "my apps",          "it's", "say \"hi\"", "$HOME `date`",
            "back\\slash", "caf\u00e9 \u65e5", "'",    "\\\"'$`" };
    for (const QString &dirName : dirNames) {
        const QString entryDir = dir.filePath("location/" + dirName);
        QVERIFY(QDir().mkpath(entryDir));
        const QString path = entryDir + "/entry.desktop";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Desktop Entry]\nExec=" + value + "\n");
        file.close();

        DesktopFile entry(path);
        QCOMPARE(entry.read(), 0);
        QProcess shell;
        shell.start("/bin/sh", { "-c", entry.exec });
        QVERIFY(shell.waitForFinished(5000));
        const QString want = QString(output)
                                 .replace("FILE", path)
                                 .replace("DIR", QFileInfo(entryDir).canonicalFilePath());
        QVERIFY2(shell.exitCode() == 0, shell.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), want);
    }
}

void TestDesktopFile::nameAndIconCodes_data()
{
    QTest::addColumn<QByteArray>("value"); // as written after "Exec="
    QTest::addColumn<QString>("output"); // NAME for the Name, ICON for the Icon

    QTest::newRow("%c a word of its own") << QByteArray("printf '[%%s]' %c") << "[NAME]";
    QTest::newRow("%c inside a word")
        << QByteArray("printf '[%%s]' --title=%c") << "[--title=NAME]";
    QTest::newRow("%c inside double quotes")
        << QByteArray("printf '[%%s]' \"--title=%c\"") << "[--title=NAME]";
    QTest::newRow("%c inside single quotes") << QByteArray("printf '[%%s]' 'by %c'") << "[by NAME]";
    QTest::newRow("%i two arguments") << QByteArray("printf '[%%s]' %i") << "[--icon][ICON]";
    QTest::newRow("%i inside double quotes")
        << QByteArray("printf '[%%s]' \"%i\"") << "[--icon ICON]";
    QTest::newRow("with the other codes") << QByteArray("printf '[%%s]' %f %i --name %c %k %U")
                                          << "[--icon][ICON][--name][NAME][FILE]";
}

/*
 * %c is the entry's Name and %i "--icon" and its Icon: the shell that runs
 * the command reads each value back as it stands in the entry, one word
 * (two for %i), whatever it holds and wherever the code stands, and a
 * value's own "%" is no field code.  The Exec line comes first in the
 * file: the values that follow it count all the same.
 */
void TestDesktopFile::nameAndIconCodes()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, output);

    const QStringList values
        = { "Files",          "My Editor",        "it's", "say \"hi\"", "$HOME `date` $(id)",
            "back\\slash",    "caf\u00e9 \u65e5", "'",    "\\\"'$`",    "100% %f %k %%",
            "a;b & c | d > e" };
    for (const QString &v : values) {
        // In the file, a backslash is written as the escape "\\".
        const QByteArray escaped = v.toUtf8().replace("\\", "\\\\");
        const QString path = writeFile(QStringLiteral("codes.desktop"),
                                       "[Desktop Entry]\nExec=" + value + "\nName=" + escaped
                                           + "\nIcon=" + escaped + "\n");
        QVERIFY(!path.isEmpty());
        DesktopFile entry(path, QStringList());
        QCOMPARE(entry.read(), 0);
        QProcess shell;
        shell.start("/bin/sh", { "-c", entry.exec });
        QVERIFY(shell.waitForFinished(5000));
        QVERIFY2(shell.exitCode() == 0,
                 qPrintable(entry.exec + ": " + shell.readAllStandardError()));
        const QString want
            = QString(output).replace("NAME", v).replace("ICON", v).replace("FILE", path);
        QCOMPARE(QString::fromUtf8(shell.readAllStandardOutput()), want);
    }
}

/* %c is the Name for the locale, as the list of applications shows it. */
void TestDesktopFile::nameCodeIsTranslated()
{
    const QString path = writeFile(
        QStringLiteral("translated.desktop"),
        "[Desktop Entry]\nExec=app --title=%c\nName=Files\n"
        "Name[de]=Dateien\nName[ja]=\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab\n");
    QVERIFY(!path.isEmpty());
    const struct
    {
        QStringList locales;
        QString exec;
    } cases[] = {
        { {}, "app --title='Files'" },
        { { "de_DE", "de" }, "app --title='Dateien'" },
        { { "ja_JP", "ja" },
          QString::fromUtf8("app --title='\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab'") },
        { { "fr_FR", "fr" }, "app --title='Files'" },
    };
    for (const auto &c : cases) {
        DesktopFile entry(path, c.locales);
        QCOMPARE(entry.read(), 0);
        QCOMPARE(entry.exec, c.exec);
    }
}

void TestDesktopFile::notARegularFile_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("empty path") << QStringLiteral("empty");
    QTest::newRow("missing file") << QStringLiteral("missing");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
    QTest::newRow("directory") << QStringLiteral("directory");
    QTest::newRow("FIFO without a writer") << QStringLiteral("fifo");
    QTest::newRow("link to a FIFO") << QStringLiteral("fifo-link");
    QTest::newRow("/dev/zero") << QStringLiteral("zero");
    QTest::newRow("/dev/null") << QStringLiteral("null");
}

void TestDesktopFile::notARegularFile()
{
    QFETCH(QString, kind);

    const QString valid
        = writeFile(QStringLiteral("valid.desktop"), "[Desktop Entry]\nExec=editor\n");
    QVERIFY(!valid.isEmpty());
    QString path;
    if (kind == QLatin1String("missing")) {
        path = dir.filePath(QStringLiteral("missing.desktop"));
    } else if (kind == QLatin1String("dangling")) {
        path = dir.filePath(QStringLiteral("dangling.desktop"));
        QFile::remove(path);
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), path));
    } else if (kind == QLatin1String("directory")) {
        path = dir.filePath(QStringLiteral("dir.desktop"));
        QVERIFY(QDir().mkpath(path));
    } else if (kind.startsWith(QLatin1String("fifo"))) {
        const QString fifo = dir.filePath(QStringLiteral("fifo.desktop"));
        if (!QFile::exists(fifo))
            QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
        path = fifo;
        if (kind == QLatin1String("fifo-link")) {
            path = dir.filePath(QStringLiteral("fifo-link.desktop"));
            QFile::remove(path);
            QVERIFY(QFile::link(fifo, path));
        }
    } else if (kind == QLatin1String("zero")) {
        path = QStringLiteral("/dev/zero");
    } else if (kind == QLatin1String("null")) {
        path = QStringLiteral("/dev/null");
    }

    const ChildRead r = readInChild(path, false);
    QVERIFY2(r.finished, "the read did not return within 5 s");
    QCOMPARE(r.result, -1);
    QVERIFY(r.execNull);
    QVERIFY(r.nameNull);
    QVERIFY2(r.elapsedMs < 2000, qPrintable(QStringLiteral("took %1 ms").arg(r.elapsedMs)));

    // The same reader accepts a valid entry, so the -1 above is the file's.
    QCOMPARE(readInChild(valid, false).result, 0);
}

void TestDesktopFile::sizeLimit_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<int>("result");

    QTest::newRow("exactly 1 MiB") << MiB << 0;
    QTest::newRow("1 MiB and one byte") << MiB + 1 << -1;
    QTest::newRow("2 MiB") << 2 * MiB << -1;
}

void TestDesktopFile::sizeLimit()
{
    QFETCH(qint64, size);
    QFETCH(int, result);

    // A valid entry first, then comment lines up to the size.
    QByteArray content("[Desktop Entry]\nName=Big\nExec=big\n");
    const QByteArray filler("# padding padding padding padding padding padding padding\n");
    while (content.size() + filler.size() <= size)
        content += filler;
    content += QByteArray(size - content.size(), '#');
    QCOMPARE(qint64(content.size()), size);

    const QString path = writeFile(QStringLiteral("big.desktop"), content);
    QVERIFY(!path.isEmpty());
    const ChildRead r = readInChild(path, false);
    QVERIFY2(r.finished, "the read did not return within 5 s");
    QCOMPARE(r.result, result);
    QCOMPARE(r.execNull, result == -1);
}

void TestDesktopFile::reasons_data()
{
    // The file's content; "-" for no file, "/" for a folder, "|" for a FIFO.
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");

    QTest::newRow("missing") << QByteArray("-") << "not found";
    QTest::newRow("folder") << QByteArray("/") << "a folder, not a file";
    QTest::newRow("FIFO") << QByteArray("|") << "not a regular file";
    QTest::newRow("too large") << QByteArray(MiB + 1, '#')
                               << "too large for a desktop entry (over 1 MiB)";
    QTest::newRow("no group") << QByteArray("Exec=xterm\n") << "not a desktop entry";
    QTest::newRow("another group only")
        << QByteArray("[Desktop Action new]\nExec=xterm\n") << "not a desktop entry";
    QTest::newRow("no Exec") << QByteArray("[Desktop Entry]\nName=X\n")
                             << "a desktop entry without a command";
    QTest::newRow("Exec of field codes only")
        << QByteArray("[Desktop Entry]\nExec=%U\n") << "a desktop entry without a command";
    QTest::newRow("read") << QByteArray("[Desktop Entry]\nExec=xterm\n") << QString();
}

/* What a person who dropped a file is told about it. */
void TestDesktopFile::reasons()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);

    QString path = dir.filePath(QStringLiteral("reason.desktop"));
    if (content == "/") {
        QVERIFY(QDir().mkpath(path));
    } else if (content == "|") {
        path = dir.filePath(QStringLiteral("reason-fifo.desktop"));
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    } else if (content != "-") {
        path = writeFile(QStringLiteral("reason-file.desktop"), content);
    }
    DesktopFile file(path, QStringList());
    QCOMPARE(file.read(), error.isEmpty() ? 0 : -1);
    QCOMPARE(file.error, error);
    QDir(dir.path()).rmpath(QStringLiteral("reason.desktop"));
    QFile::remove(path);
}

void TestDesktopFile::unreadableFile()
{
    const QByteArray entry("[Desktop Entry]\nName=Secret\nExec=secret\n");
    const QString readable = writeFile(QStringLiteral("readable.desktop"), entry);
    const QString unreadable = writeFile(QStringLiteral("unreadable.desktop"), entry);
    QVERIFY(!readable.isEmpty() && !unreadable.isEmpty());
    QVERIFY(::chmod(QFile::encodeName(readable).constData(), 0644) == 0);
    // As root the file is root's with mode 0600 and the child reads as
    // uid 65534; otherwise the owner loses the read permission.
    QVERIFY(::chmod(QFile::encodeName(unreadable).constData(), getuid() == 0 ? 0600 : 0200) == 0);

    const ChildRead control = readInChild(readable, true);
    QVERIFY(control.finished);
    QCOMPARE(control.result, 0);

    const ChildRead r = readInChild(unreadable, true);
    QVERIFY(r.finished);
    QCOMPARE(r.result, -1);
    QVERIFY(r.execNull);
    QVERIFY(r.nameNull);
}

void TestDesktopFile::localeNames_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QStringList>("names");

    const QString unset;
    QTest::newRow("language, country, encoding and modifier")
        << unset << unset << "de_DE.UTF-8@euro"
        << QStringList { "de_DE@euro", "de_DE", "de@euro", "de" };
    QTest::newRow("language and country")
        << unset << unset << "pt_BR.UTF-8" << QStringList { "pt_BR", "pt" };
    QTest::newRow("language and modifier")
        << unset << unset << "sr@latin" << QStringList { "sr@latin", "sr" };
    QTest::newRow("language alone") << unset << unset << "fr" << QStringList { "fr" };
    QTest::newRow("C") << unset << unset << "C.UTF-8" << QStringList();
    QTest::newRow("POSIX") << unset << unset << "POSIX" << QStringList();
    QTest::newRow("nothing set") << unset << unset << unset << QStringList();
    QTest::newRow("LC_MESSAGES before LANG") << unset << "ja_JP.UTF-8"
                                             << "de_DE.UTF-8" << QStringList { "ja_JP", "ja" };
    QTest::newRow("LC_ALL before both") << "ru_RU.UTF-8"
                                        << "ja_JP.UTF-8"
                                        << "de_DE.UTF-8" << QStringList { "ru_RU", "ru" };
    QTest::newRow("an empty LC_ALL counts for nothing")
        << "" << unset << "it_IT.UTF-8" << QStringList { "it_IT", "it" };
}

/* The locale that picks a localized value is the environment's for messages. */
void TestDesktopFile::localeNames()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(QStringList, names);

    const QByteArray saved[] = { qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG") };
    const char *variables[] = { "LC_ALL", "LC_MESSAGES", "LANG" };
    const QString values[] = { lcAll, lcMessages, lang };
    for (int i = 0; i < 3; i++) {
        if (values[i].isNull())
            qunsetenv(variables[i]);
        else
            qputenv(variables[i], values[i].toUtf8());
    }
    const QStringList got = DesktopFile::localeNames();
    for (int i = 0; i < 3; i++)
        qputenv(variables[i], saved[i]);
    QCOMPARE(got, names);
}

void TestDesktopFile::localizedKeys_data()
{
    QTest::addColumn<QByteArray>("content"); // after the group header
    QTest::addColumn<QStringList>("locales");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("keywords");

    const QByteArray entry("Exec=app\n"
                           "Name=Files\nName[de]=Dateien\nName[de_AT]=Dateien (AT)\n"
                           "Name[sr@latin]=Datoteke\nComment=Manage files\n"
                           "Comment[de]=Dateien verwalten\nKeywords=folder;disk;\n"
                           "Keywords[de]=Ordner;Platte;\n");
    const QStringList plainKeywords { "folder", "disk" };
    const QStringList germanKeywords { "Ordner", "Platte" };
    QTest::newRow("no locale") << entry << QStringList() << "Files"
                               << "Manage files" << plainKeywords;
    QTest::newRow("language") << entry << QStringList { "de_DE", "de" } << "Dateien"
                              << "Dateien verwalten" << germanKeywords;
    QTest::newRow("country before language")
        << entry << QStringList { "de_AT", "de" } << "Dateien (AT)"
        << "Dateien verwalten" << germanKeywords;
    QTest::newRow("modifier") << entry << QStringList { "sr_RS@latin", "sr_RS", "sr@latin", "sr" }
                              << "Datoteke"
                              << "Manage files" << plainKeywords;
    QTest::newRow("a locale without values") << entry << QStringList { "fr_FR", "fr" } << "Files"
                                             << "Manage files" << plainKeywords;
    QTest::newRow("the better fit wins wherever it stands")
        << QByteArray("Exec=app\nName[de_AT]=AT\nName[de]=DE\nName=plain\n")
        << QStringList { "de_AT", "de" } << "AT" << QString() << QStringList();
    QTest::newRow("escapes decoded, list separators escaped")
        << QByteArray("Exec=app\nName[de]=A\\sB\nKeywords=semi\\;colon;back\\\\slash;"
                      "last")
        << QStringList { "de" } << "A B" << QString()
        << QStringList { "semi;colon", "back\\slash", "last" };
    QTest::newRow("a locale on a key without one counts for nothing")
        << QByteArray("Exec=app\nExec[de]=other\nName[de=broken\nName=N\n") << QStringList { "de" }
        << "N" << QString() << QStringList();
}

void TestDesktopFile::localizedKeys()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, locales);
    QFETCH(QString, name);
    QFETCH(QString, comment);
    QFETCH(QStringList, keywords);

    const QString path
        = writeFile(QStringLiteral("localized.desktop"), "[Desktop Entry]\n" + content);
    QVERIFY(!path.isEmpty());
    DesktopFile file(path, locales);
    QCOMPARE(file.read(), 0);
    QCOMPARE(file.exec, QString("app"));
    QCOMPARE(file.name, name);
    QCOMPARE(file.comment, comment);
    QCOMPARE(file.keywords, keywords);
}

void TestDesktopFile::menuKeys_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("tryExec");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("genericName");
    QTest::addColumn<bool>("noDisplay");
    QTest::addColumn<bool>("hidden");

    QTest::newRow("an application's keys")
        << QByteArray("[Desktop Entry]\nType=Application\nTryExec=/usr/bin/app\nIcon=app\n"
                      "GenericName=Viewer\nExec=app\n")
        << 0 << "Application"
        << "/usr/bin/app"
        << "app"
        << "Viewer" << false << false;
    QTest::newRow("NoDisplay and Hidden")
        << QByteArray("[Desktop Entry]\nExec=app\n"
                      "NoDisplay=true\nHidden=true\n")
        << 0 << QString() << QString() << QString() << QString() << true << true;
    QTest::newRow("false, and other words, are not true")
        << QByteArray("[Desktop Entry]\nExec=app\nNoDisplay=false\nHidden=yes\n") << 0 << QString()
        << QString() << QString() << QString() << false << false;
    // An entry that hides the system's of the same name need not run anything.
    QTest::newRow("Hidden without Exec")
        << QByteArray("[Desktop Entry]\nHidden=true\n") << -1 << QString() << QString() << QString()
        << QString() << false << true;
    QTest::newRow("keys of a later group count for nothing")
        << QByteArray("[Desktop Entry]\nExec=app\n[Desktop Action a]\nNoDisplay=true\n"
                      "Type=Link\nIcon=other\n")
        << 0 << QString() << QString() << QString() << QString() << false << false;
    QTest::newRow("an absolute icon path")
        << QByteArray("[Desktop Entry]\nExec=app\n"
                      "Icon=/opt/app/icon 1.png\n")
        << 0 << QString() << QString() << "/opt/app/icon 1.png" << QString() << false << false;
}

/* What a list of the installed applications needs of an entry. */
void TestDesktopFile::menuKeys()
{
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(QString, type);
    QFETCH(QString, tryExec);
    QFETCH(QString, icon);
    QFETCH(QString, genericName);
    QFETCH(bool, noDisplay);
    QFETCH(bool, hidden);

    const QString path = writeFile(QStringLiteral("menu.desktop"), content);
    QVERIFY(!path.isEmpty());
    DesktopFile file(path, QStringList());
    QCOMPARE(file.read(), result);
    QCOMPARE(file.type, type);
    QCOMPARE(file.tryExec, tryExec);
    QCOMPARE(file.icon, icon);
    QCOMPARE(file.genericName, genericName);
    QCOMPARE(file.noDisplay, noDisplay);
    QCOMPARE(file.hidden, hidden);
}

QTEST_GUILESS_MAIN(TestDesktopFile)

#include "tst_desktopfile.moc"
