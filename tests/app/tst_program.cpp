// SPDX-License-Identifier: BSD-2-Clause
// The real program, started as a process on its own Xvfb display and driven
// with xdotool as a user would: quitting, an unreadable script, saves that
// cannot be written (a read-only directory for uid 65534, a failing rename
// through libfiu) and the platform's standard keys.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include "faultinjection.h"
#include "parentdeath.h"
#include "unprivileged.h"
#include "xvfb.h"

enum Launch { AsSelf, AsNobody, WithFailingRename };
Q_DECLARE_METATYPE(Launch)

/* Steps a user takes: "wait:RE" waits for a window whose title matches RE
 * and gives it the focus, "absent:RE" checks that no such window is shown,
 * "key:K" presses K, "keys:MS:K K ..." presses the keys MS ms apart, "type:T" types T, "pause:MS"
 * waits, "chmod:MODE" sets the mode (octal) of the script's directory, "script:TEXT" writes the
 * script as another program would, "exists:PATH" waits up to 5 s for a
 * file to appear. */
using Steps = QStringList;

static const char main_title[] = "wait:^QVXSessRun\\*?$";
static const char question_title[] = "wait:^The file has been modified\\.$";
static const char error_title[] = "wait:^Error$";

static const char no_fiu_run[]
    = "fiu-run is missing (libfiu has no FreeBSD package): the failing rename is not tried";

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void normalQuit_data();
    void normalQuit();
    void unreadableScript_data();
    void unreadableScript();
    void unwritableSave_data();
    void unwritableSave();
    void standardKeys();
    void highDensityScreen();
    void changedByAnotherProgram_data();
    void changedByAnotherProgram();
    void runNow();
    void fastKeys();

private:
    bool xdotool(const QStringList &args, QByteArray *out = nullptr);
    bool runStep(const QString &step, QString *why);
    void startProgram(QProcess &proc, Launch launch, const QString &peakFile = QString());
    void drive(QProcess &proc, const Steps &steps);
    QString homeFor(Launch launch) const;
    void prepareScript(Launch launch, const QByteArray &text, int dirMode, int scriptMode);
    QStringList fiuPrefix() const;
    bool canLaunch(Launch launch);

    xvfb_server xvfb;
    QString display;
    QString testDir;
    QString scriptDir; // of the running test, for "chmod:"
    bool root = false;
    bool haveFiuRun = false;
};

void TestProgram::initTestCase()
{
    for (const char *tool : { "Xvfb", "xdotool" })
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing: run scripts/setup").arg(tool)));
    haveFiuRun = !QStandardPaths::findExecutable("fiu-run").isEmpty();
    QVERIFY2(haveFiuRun || !fault_injection_required(), "fiu-run is missing: run scripts/setup");
    QVERIFY2(QFile::exists(qEnvironmentVariable("QVX_PROGRAM")), "QVX_PROGRAM names no program");
    testDir = qEnvironmentVariable("QVX_TEST_DIR");
    QVERIFY(!testDir.isEmpty());
    root = geteuid() == 0;

    xvfb = xvfb_start("1024x768x24");
    QVERIFY2(xvfb.pid != -1, "Xvfb did not report its display");
    display = QString::fromStdString(xvfb.display);

    // uid 65534 may not reach the build tree: it runs a copy of the program.
    const QString copy = testDir + "/qvxsessrun";
    QFile::remove(copy);
    QVERIFY(QFile::copy(qEnvironmentVariable("QVX_PROGRAM"), copy));
    QVERIFY(QFile::setPermissions(copy,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                      | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                      | QFileDevice::ExeOther));
    if (root) {
        // Qt wants a runtime directory of the user's own.
        const QString runtime = testDir + "/nobody-runtime";
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(chown(QFile::encodeName(runtime).constData(), unprivileged_id, unprivileged_id)
                == 0);
        QVERIFY(chmod(QFile::encodeName(runtime).constData(), 0700) == 0);
    }
}

void TestProgram::cleanupTestCase()
{
    xvfb_stop(xvfb);
}

void TestProgram::init()
{
    for (const QString &home : { homeFor(AsSelf), homeFor(AsNobody) }) {
        if (QFileInfo(home + "/.config").isDir())
            QProcess::execute("chmod", { "-R", "u+rwX", home + "/.config" });
        QDir(home + "/.config").removeRecursively();
        QFile::remove(home + "/.config");
    }
}

QString TestProgram::homeFor(Launch launch) const
{
    if (launch == AsNobody && root)
        return testDir + "/nobody";
    return qEnvironmentVariable("QVX_TEST_HOME");
}

/* fiu-run replaces LD_PRELOAD; the inner shell puts this process's preloads
 * (nss_wrapper, so that the program finds the temporary home) back behind
 * libfiu's before it runs the program. */
QStringList TestProgram::fiuPrefix() const
{
    return { "fiu-run",
             "-x",
             "-f",
             "",
             "-c",
             "enable name=posix/io/dir/rename,failinfo=28,onetime",
             "sh",
             "-c",
             "LD_PRELOAD=\"$LD_PRELOAD $0\" exec \"$@\"",
             qEnvironmentVariable("LD_PRELOAD") };
}

void TestProgram::prepareScript(Launch launch, const QByteArray &text, int dirMode, int scriptMode)
{
    const QString home = homeFor(launch);
    const QString dir = home + "/.config/QVX";
    QVERIFY(QDir().mkpath(dir));
    QFile file(dir + "/autostart.sh");
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), qint64(text.size()));
    file.close();
    if (launch == AsNobody && root) {
        for (const QString &path : { home + "/.config", dir, dir + "/autostart.sh" })
            QVERIFY(chown(QFile::encodeName(path).constData(), unprivileged_id, unprivileged_id)
                    == 0);
    }
    QVERIFY(chmod(QFile::encodeName(dir + "/autostart.sh").constData(), scriptMode) == 0);
    QVERIFY(chmod(QFile::encodeName(dir).constData(), dirMode) == 0);
}

bool TestProgram::xdotool(const QStringList &args, QByteArray *out)
{
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    proc.setProcessEnvironment(env);
    proc.start("xdotool", args);
    // --sync waits for ever; a window that never comes within 30 s (a
    // start on a busy machine can take long) is a failure.
    if (!proc.waitForFinished(30000)) {
        proc.kill();
        proc.waitForFinished();
        return false;
    }
    if (out)
        *out = proc.readAllStandardOutput();
    return proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
}

bool TestProgram::runStep(const QString &step, QString *why)
{
    const QString kind = step.section(':', 0, 0);
    const QString arg = step.section(':', 1);
    QByteArray out;
    if (kind == "wait") {
        if (!xdotool({ "search", "--sync", "--onlyvisible", "--name", arg }, &out)) {
            *why = "no window " + arg;
            return false;
        }
        const QString window = QString::fromLatin1(out).split('\n').first();
        return xdotool({ "windowfocus", "--sync", window });
    }
    if (kind == "absent") {
        const bool found = xdotool({ "search", "--onlyvisible", "--name", arg }, &out);
        *why = "a window " + arg + " is shown";
        return !found;
    }
    if (kind == "key")
        return xdotool({ "key", arg });
    if (kind == "keys")
        return xdotool(QStringList({ "key", "--delay", arg.section(':', 0, 0) })
                       + arg.section(':', 1).split(' ', Qt::SkipEmptyParts));
    if (kind == "type")
        return xdotool({ "type", "--delay", "20", arg });
    if (kind == "pause") {
        QTest::qWait(arg.toInt());
        return true;
    }
    if (kind == "script") {
        QFile file(scriptDir + "/autostart.sh");
        *why = "cannot write " + file.fileName();
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(arg.toUtf8()) == arg.toUtf8().size();
    }
    if (kind == "exists") {
        for (int waited = 0; waited < 5000; waited += 50) {
            if (QFile::exists(arg))
                return true;
            QTest::qWait(50);
        }
        *why = arg + " did not appear";
        return false;
    }
    if (kind == "chmod") {
        *why = "chmod " + scriptDir;
        return chmod(QFile::encodeName(scriptDir).constData(), arg.toInt(nullptr, 8)) == 0;
    }
    *why = "unknown step";
    return false;
}

/* Starts the program as launch says; with a peakFile (as itself only), the
 * most memory it held is written there once it has ended. */
void TestProgram::startProgram(QProcess &proc, Launch launch, const QString &peakFile)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("LC_ALL", "C.UTF-8");
    env.remove("LANGUAGE");
    QString command = qEnvironmentVariable("QVX_PROGRAM");
    QStringList args;
    if (launch == AsNobody && root) {
        env.insert("XDG_RUNTIME_DIR", testDir + "/nobody-runtime");
        args << "--as-nobody" << testDir + "/qvxsessrun";
        command = QCoreApplication::applicationFilePath();
    } else if (launch == WithFailingRename) {
        args = fiuPrefix() << command;
        command = args.takeFirst();
    } else if (!peakFile.isEmpty()) {
        args << "--peak-memory" << peakFile << command;
        command = QCoreApplication::applicationFilePath();
    }
    proc.setProcessEnvironment(env);
    proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc.start(command, args);
    QVERIFY(proc.waitForStarted());
}

/* Runs the steps and waits for the program to end. */
void TestProgram::drive(QProcess &proc, const Steps &steps)
{
    for (int i = 0; i < steps.size(); i++) {
        const QString &step = steps.at(i);
        QString why = step;
        if (!runStep(step, &why)) {
            // Whether the program was still there tells a window that did
            // not come from a program that ended too early.
            const QString state = proc.state() == QProcess::NotRunning
                ? QString("the program had ended with status %1").arg(proc.exitCode())
                : QString("the program was running");
            proc.kill();
            proc.waitForFinished();
            QFAIL(qPrintable(QString("step %1 of %2, %3: %4; %5")
                                 .arg(i + 1)
                                 .arg(steps.size())
                                 .arg(step, why, state)));
        }
    }
    if (!proc.waitForFinished(15000)) {
        proc.kill();
        proc.waitForFinished();
        QFAIL("the program did not end");
    }
    QCOMPARE(proc.exitStatus(), QProcess::NormalExit);
}

/* The most memory that a program started with a peakFile held, in KiB;
 * -1 when unknown. */
static qint64 peakMemoryKiB(const QString &peakFile)
{
    QFile file(peakFile);
    bool ok = false;
    const qint64 kib
        = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong(&ok) : 0;
    return ok ? kib : -1;
}

static QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// A mnemonic clicks its button 100 ms after the key (animateClick): the
// editor of the new row opens only then.
static const Steps add_xclock { "key:alt+a", "pause:600", "type:xclock", "key:Return" };

void TestProgram::normalQuit_data()
{
    QTest::addColumn<Launch>("launch");
    QTest::addColumn<Steps>("steps");
    QTest::addColumn<QByteArray>("scriptAfter");

    const QByteArray before("xterm&\n");
    const Steps quit { main_title, "key:alt+q" };
    QTest::newRow("Quit") << AsSelf << quit << before;
    QTest::newRow("Save, then Quit")
        << AsSelf << Steps { main_title, "key:alt+s", "pause:400", "key:alt+q" }
        << QByteArray("#!/bin/sh\nxterm&\n");
    QTest::newRow("change, Quit, Save")
        << AsSelf
        << (Steps { main_title } + add_xclock + Steps { "key:alt+q", question_title, "key:Return" })
        << QByteArray("#!/bin/sh\nxterm&\nxclock&\n");
    QTest::newRow("change, Quit, Quit without saving")
        << AsSelf
        << (Steps { main_title } + add_xclock + Steps { "key:alt+q", question_title, "key:alt+q" })
        << before;
    // Shortcuts move no focus: the text still in the row's editor is saved.
    QTest::newRow("type, Save while editing, Quit")
        << AsSelf << Steps { main_title,  "key:alt+a", "pause:600", "type:xclock",
                             "key:alt+s", "pause:400", "key:alt+q" }
        << QByteArray("#!/bin/sh\nxterm&\nxclock&\n");
    // The rename that fails in the save tests is hit nowhere else.
    QTest::newRow("Quit, rename failing") << WithFailingRename << quit << before;
}

void TestProgram::normalQuit()
{
    QFETCH(Launch, launch);
    QFETCH(Steps, steps);
    QFETCH(QByteArray, scriptAfter);

    if (!canLaunch(launch))
        return;
    prepareScript(launch, "xterm&\n", 0700, 0600);
    QProcess proc;
    startProgram(proc, launch);
    drive(proc, steps);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
    QCOMPARE(readFile(homeFor(launch) + "/.config/QVX/autostart.sh"), scriptAfter);
}

void TestProgram::unreadableScript_data()
{
    QTest::addColumn<Launch>("launch");
    QTest::addColumn<QString>("setup");

    QTest::newRow("script without read permission") << AsNobody << "unreadable";
    QTest::newRow("~/.config is a regular file") << AsSelf << "config file";
    // Nothing waits for a writer or reads without end: the dialog comes at once.
    QTest::newRow("script is a FIFO") << AsSelf << "fifo";
    QTest::newRow("script is a symbolic link to /dev/zero") << AsSelf << "zero";
    QTest::newRow("script is a directory") << AsSelf << "directory";
}

void TestProgram::unreadableScript()
{
    QFETCH(Launch, launch);
    QFETCH(QString, setup);

    const QString home = homeFor(launch);
    const QString script = home + "/.config/QVX/autostart.sh";
    const QByteArray scriptName = QFile::encodeName(script);
    if (setup == "config file") {
        QFile file(home + "/.config");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a directory\n");
    } else if (setup == "unreadable") {
        prepareScript(launch, "xterm&\n", 0700, 0000);
    } else {
        QVERIFY(QDir().mkpath(home + "/.config/QVX"));
        if (setup == "fifo")
            QVERIFY(mkfifo(scriptName.constData(), 0600) == 0);
        else if (setup == "zero")
            QVERIFY(symlink("/dev/zero", scriptName.constData()) == 0);
        else
            QVERIFY(QDir().mkdir(script));
    }

    const QString peakFile = testDir + "/peak-memory";
    QFile::remove(peakFile);
    QElapsedTimer timer;
    timer.start();
    QProcess proc;
    startProgram(proc, launch, launch == AsSelf ? peakFile : QString());
    // Looked for every 50 ms: xdotool's own --sync looks only twice a second.
    while (!xdotool({ "search", "--onlyvisible", "--name", "^Error$" })
           && proc.state() != QProcess::NotRunning && timer.elapsed() < 15000)
        QTest::qWait(50);
    const qint64 shown = timer.elapsed();
    if (proc.state() == QProcess::NotRunning)
        QFAIL(qPrintable(QString("the program ended without a dialog (status %1) after %2 ms")
                             .arg(proc.exitCode())
                             .arg(shown)));
    drive(proc, { error_title, "absent:^QVXSessRun\\*?$", "key:Return" });
    if (QTest::currentTestFailed())
        return;
    const qint64 ended = timer.elapsed();
    const qint64 peak = peakMemoryKiB(peakFile);
    QCOMPARE(proc.exitCode(), 1);
    qInfo("error dialog after %lld ms, program ended %lld ms after it, peak memory %lld KiB", shown,
          ended - shown, peak);
    if (setup == "config file") {
        QCOMPARE(readFile(home + "/.config"), QByteArray("not a directory\n"));
    } else if (setup == "unreadable") {
        QProcess::execute("chmod", { "u+r", script });
        QCOMPARE(readFile(script), QByteArray("xterm&\n"));
    } else {
        // A start with its dialog takes well under a second here; a read
        // that blocks or runs on would never show it, or only after
        // gigabytes, when memory runs out.
        QVERIFY2(shown < 3000, qPrintable(QString("the error came after %1 ms").arg(shown)));
        QVERIFY2(peak > 0 && peak < 256 * 1024,
                 qPrintable(QString("the program took %1 KiB").arg(peak)));
        QVERIFY2(ended - shown < 1000,
                 qPrintable(QString("the program ended %1 ms after the error").arg(ended - shown)));
        QFileInfo info(script);
        QVERIFY(info.isSymLink() == (setup == "zero"));
        QVERIFY(info.isDir() == (setup == "directory"));
    }
}

void TestProgram::unwritableSave_data()
{
    QTest::addColumn<Launch>("launch");
    QTest::addColumn<int>("dirMode");
    QTest::addColumn<Steps>("steps");

    // The failed save leaves the window with the edit; once the directory
    // is writable again (the rename fails only once) a second save writes
    // it, after which Quit asks nothing.
    const Steps error { error_title, "key:Return", main_title, "absent:^Error$" };
    const Steps save = Steps { main_title } + add_xclock + Steps { "key:alt+s" } + error
        + Steps { "chmod:700", "key:alt+s", "pause:400", "key:alt+q" };
    const Steps quitSave = Steps { main_title } + add_xclock
        + Steps { "key:alt+q", question_title, "key:Return" } + error
        + Steps { "chmod:700", "key:alt+q", question_title, "key:Return" };

    QTest::newRow("read-only directory, Save") << AsNobody << 0500 << save;
    QTest::newRow("read-only directory, Save in the quit question") << AsNobody << 0500 << quitSave;
    QTest::newRow("rename fails, Save") << WithFailingRename << 0700 << save;
    QTest::newRow("rename fails, Save in the quit question")
        << WithFailingRename << 0700 << quitSave;
}

void TestProgram::unwritableSave()
{
    QFETCH(Launch, launch);
    QFETCH(int, dirMode);
    QFETCH(Steps, steps);

    if (!canLaunch(launch))
        return;
    scriptDir = homeFor(launch) + "/.config/QVX";
    prepareScript(launch, "xterm&\n", dirMode, 0600);

    QProcess proc;
    startProgram(proc, launch);
    drive(proc, steps);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
    QCOMPARE(readFile(scriptDir + "/autostart.sh"), QByteArray("#!/bin/sh\nxterm&\nxclock&\n"));
    // Nor is a temporary file of the failed save left behind.
    QCOMPARE(QDir(scriptDir).entryList({ ".autostart.sh.save-*" }, QDir::Files | QDir::Hidden),
             QStringList());
}

/* The platform's standard keys beside the mnemonics: New adds two rows,
 * Undo takes back the second, Redo brings it back and Undo empties it again
 * (an empty row is not written), Save writes and Quit ends. */
void TestProgram::standardKeys()
{
    prepareScript(AsSelf, "xterm&\n", 0700, 0600);
    QProcess proc;
    startProgram(proc, AsSelf);
    drive(proc,
          { main_title, "key:ctrl+n", "pause:300", "type:xclock", "key:Return", "key:ctrl+n",
            "pause:300", "type:xload", "key:Return", "key:ctrl+z", "key:ctrl+z", "key:ctrl+shift+z",
            "key:ctrl+shift+z", "key:ctrl+z", "key:ctrl+s", "pause:400", "key:ctrl+q" });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
    QCOMPARE(readFile(homeFor(AsSelf) + "/.config/QVX/autostart.sh"),
             QByteArray("#!/bin/sh\nxterm&\nxclock&\n"));
}

/* Fifty presses of Down's letter 40 ms apart, as a user holding the pace
 * of a key's repeat: the first row moves fifty places, every press counts. */
void TestProgram::fastKeys()
{
    QByteArray script = "#!/bin/sh\n", moved = script;
    for (int i = 0; i < 60; i++)
        script += "r" + QByteArray::number(i) + "&\n";
    for (int i = 1; i < 60; i++) {
        moved += "r" + QByteArray::number(i) + "&\n";
        if (i == 50)
            moved += "r0&\n";
    }
    prepareScript(AsSelf, script, 0700, 0600);
    QProcess proc;
    startProgram(proc, AsSelf);
    QStringList presses;
    for (int i = 0; i < 50; i++)
        presses << "alt+n";
    drive(proc,
          { main_title, "key:Home", "pause:300", "keys:40:" + presses.join(' '), "pause:500",
            "key:ctrl+s", "pause:400", "key:ctrl+q" });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
    QCOMPARE(readFile(homeFor(AsSelf) + "/.config/QVX/autostart.sh"), moved);
}

void TestProgram::changedByAnotherProgram_data()
{
    QTest::addColumn<Steps>("answer");
    QTest::addColumn<QByteArray>("scriptAfter");

    const QByteArray other = "#!/bin/sh\nxterm&\nnm-applet&\n";
    // Cancel keeps the window modified: quitting then asks, and is told not to save.
    // Without a window manager the focus does not come back by itself.
    QTest::newRow("Cancel") << Steps { "key:Escape", "pause:300",    main_title,
                                       "key:ctrl+q", question_title, "key:alt+q" }
                            << other;
    QTest::newRow("Overwrite") << Steps { "key:alt+o", "pause:300", main_title, "key:ctrl+q" }
                               << QByteArray("#!/bin/sh\nxterm&\nxclock&\n");
    // Reload shows the other program's script, which is then saved as it
    // is: quitting asks nothing.
    QTest::newRow("Reload") << Steps { "key:alt+r", "pause:300", main_title, "key:ctrl+q" }
                            << other;
    // Undo brings back the window's edit, which a save then writes without
    // asking again.
    QTest::newRow("Reload, Undo, Save")
        << Steps { "key:alt+r",  "pause:300", main_title,  "key:ctrl+z",
                   "key:ctrl+s", "pause:300", "key:ctrl+q" }
        << QByteArray("#!/bin/sh\nxterm&\nxclock&\n");
}

/*
 * Another program changes the script while the window is open; Save asks
 * before it replaces that change.
 */
void TestProgram::changedByAnotherProgram()
{
    QFETCH(Steps, answer);
    QFETCH(QByteArray, scriptAfter);

    scriptDir = homeFor(AsSelf) + "/.config/QVX";
    prepareScript(AsSelf, "xterm&\n", 0700, 0600);
    QProcess proc;
    startProgram(proc, AsSelf);
    drive(proc,
          Steps { main_title, "key:ctrl+n", "pause:300", "type:xclock", "key:Return",
                  "script:#!/bin/sh\nxterm&\nnm-applet&\n", "key:ctrl+s",
                  "wait:^Script changed on disk$" }
              + answer);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
    QCOMPARE(readFile(scriptDir + "/autostart.sh"), scriptAfter);
}

/*
 * Run now, by its shortcut on the first row (current at start) and through
 * the menu key's menu on the second, starts the row's command: the files
 * that the commands create appear.
 */
void TestProgram::runNow()
{
    const QString byKey = testDir + "/ran-by-key", byMenu = testDir + "/ran-from-menu";
    QFile::remove(byKey);
    QFile::remove(byMenu);
    scriptDir = homeFor(AsSelf) + "/.config/QVX";
    prepareScript(AsSelf,
                  "touch " + QFile::encodeName(byKey) + "&\ntouch " + QFile::encodeName(byMenu)
                      + "&\n",
                  0700, 0600);
    QProcess proc;
    startProgram(proc, AsSelf);
    drive(proc,
          { main_title, "key:ctrl+r", "exists:" + byKey, "key:Down", "key:Menu", "pause:400",
            "key:w", "exists:" + byMenu, main_title, "key:ctrl+q" });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(proc.exitCode(), 0);
}

/*
 * On a screen of 192 dots per inch the whole window is drawn at twice its
 * size, as other Qt programs of the desktop are: its minimum of 500 by 300
 * becomes 1000 by 600.  Without scaling only the text would grow.
 */
void TestProgram::highDensityScreen()
{
    xvfb_server dense = xvfb_start("1600x1200x24", { "-dpi", "192" });
    QVERIFY2(dense.pid != -1, "Xvfb did not report its display");
    const QString normal = display;
    display = QString::fromStdString(dense.display);

    prepareScript(AsSelf, "xterm&\n", 0700, 0600);
    QProcess proc;
    startProgram(proc, AsSelf);
    QByteArray out;
    QString why;
    const bool shown = runStep(main_title, &why)
        && xdotool({ "search", "--onlyvisible", "--name", "^QVXSessRun\\*?$", "getwindowgeometry",
                     "--shell" },
                   &out);
    if (shown)
        drive(proc, { "key:alt+q" });
    else
        proc.kill();
    proc.waitForFinished();
    display = normal;
    xvfb_stop(dense);

    QVERIFY2(shown, qPrintable(why));
    QMap<QString, int> geometry;
    for (const QString &line : QString::fromLatin1(out).split('\n'))
        if (line.contains('='))
            geometry.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
    QVERIFY2(geometry.value("WIDTH") >= 1000 && geometry.value("HEIGHT") >= 600, out.constData());
}

/* Whether the program can be launched so; the test is skipped when fiu-run
 * is missing, and fails where the program would see the real home. */
bool TestProgram::canLaunch(Launch launch)
{
    if (launch != WithFailingRename)
        return true;
    if (!haveFiuRun) {
        QTest::qSkip(no_fiu_run, __FILE__, __LINE__);
        return false;
    }
    QProcess check;
    const QStringList args = fiuPrefix() << "getent"
                                         << "passwd" << QString::number(getuid());
    check.start(args.first(), args.mid(1));
    if (!QTest::qVerify(check.waitForFinished(10000), "check.waitForFinished(10000)", "", __FILE__,
                        __LINE__))
        return false;
    return QTest::qVerify(check.readAllStandardOutput().contains(homeFor(AsSelf).toLocal8Bit()),
                          "the temporary home under fiu-run", "nss_wrapper is lost under fiu-run",
                          __FILE__, __LINE__);
}

/* "--as-nobody PROGRAM": become uid and gid 65534, then run PROGRAM, so
 * that permissions apply although the tests run as root. */
static int exec_as_nobody(char **argv)
{
    if (!drop_to_unprivileged()) {
        perror("tst_program: dropping privileges");
        return 127;
    }
    execv(argv[0], argv);
    perror("tst_program: execv");
    return 127;
}

/* "--peak-memory FILE PROGRAM": runs PROGRAM as a child and, once it has
 * ended, writes the most memory it held to FILE, in KiB (ru_maxrss counts
 * kilobytes on Linux and FreeBSD alike); then ends as PROGRAM did.  Only
 * the parent that reaps a process learns this, and QProcess keeps it to
 * itself. */
static int run_measured(char **argv)
{
    const pid_t pid = fork();
    if (pid == -1) {
        perror("tst_program: fork");
        return 127;
    }
    if (pid == 0) {
        // Ends with this process also when the test kills it.
        end_with_parent(SIGKILL);
        execv(argv[1], argv + 1);
        perror("tst_program: execv");
        _exit(127);
    }
    int status;
    struct rusage usage;
    while (wait4(pid, &status, 0, &usage) == -1) {
        if (errno != EINTR) {
            perror("tst_program: wait4");
            return 127;
        }
    }
    FILE *out = fopen(argv[0], "w");
    bool written = out != nullptr && fprintf(out, "%ld\n", usage.ru_maxrss) > 0;
    if (out != nullptr && fclose(out) != 0)
        written = false;
    if (!written) {
        perror(argv[0]);
        return 127;
    }
    if (WIFSIGNALED(status)) {
        signal(WTERMSIG(status), SIG_DFL);
        raise(WTERMSIG(status));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}

int main(int argc, char **argv)
{
    if (argc > 2 && strcmp(argv[1], "--as-nobody") == 0)
        return exec_as_nobody(argv + 2);
    if (argc > 3 && strcmp(argv[1], "--peak-memory") == 0)
        return run_measured(argv + 2);
    QCoreApplication app(argc, argv);
    TestProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program.moc"
