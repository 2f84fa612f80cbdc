// SPDX-License-Identifier: BSD-2-Clause
// Run now, in-process: the command starts as the script would start it
// (through /bin/sh, in the home directory, standard input from /dev/null,
// detached), from the rows' context menu or its shortcut, and the status
// bar says within a second whether it ended at once.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <stdio.h>
#include <unistd.h>

#include "app/Mainwin.h"
#include "modalbox.h"
#include "testscript.h"

static QString home()
{
    return qEnvironmentVariable("QVX_TEST_HOME");
}

static QString outDir()
{
    return qEnvironmentVariable("QVX_TEST_DIR") + "/runnow";
}

static QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

/* Waits up to ms for path to hold bytes; true when it does. */
static bool waitForFile(const QString &path, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly) && f.size() > 0)
            return true;
        QTest::qWait(20);
    }
    return false;
}

/* What this process writes on its standard error while one lives: the
 * descriptor goes to a file meanwhile. */
class StandardError
{
public:
    StandardError() : saved(dup(STDERR_FILENO))
    {
        file.open();
        fflush(stderr);
        dup2(file.handle(), STDERR_FILENO);
    }
    ~StandardError()
    {
        fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    QByteArray written()
    {
        fflush(stderr);
        file.seek(0);
        return file.readAll();
    }

private:
    int saved;
    QTemporaryFile file;
    Q_DISABLE_COPY(StandardError)
};

static QAction *runAction(const Mainwin &win)
{
    QAction *action = win.findChild<QAction *>("run");
    if (!action)
        qFatal("no Run now action");
    return action;
}

class TestRunNow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void runsAsTheScriptWould_data();
    void runsAsTheScriptWould();
    void neverWaits();
    void endsAtOnce_data();
    void endsAtOnce();
    void switchedOffRow();
    void runsTheTextBeingTyped();
    void bytesAfterANul_data();
    void bytesAfterANul();
    void withoutStandardInput();
    void nothingToRun_data();
    void nothingToRun();
    void missingHomeIsReported();
    void contextMenuFromKeyboard();
    void menuBelongsWhereItOpens_data();
    void menuBelongsWhereItOpens();
    void rowMenuSaysWhatItCannotDo_data();
    void rowMenuSaysWhatItCannotDo();

private:
    void writeScript(const QByteArray &text);
};

void TestRunNow::writeScript(const QByteArray &text)
{
    QVERIFY(write_script(text));
}

void TestRunNow::init()
{
    QDir(outDir()).removeRecursively();
    QVERIFY(QDir().mkpath(outDir()));
}

void TestRunNow::runsAsTheScriptWould_data()
{
    QTest::addColumn<QByteArray>("command"); /* OUT stands for the output file */
    QTest::addColumn<QByteArray>("expected"); /* what OUT holds; HOME for the home directory */

    QTest::newRow("in the home of the password database")
        << QByteArray("pwd >OUT") << QByteArray("HOME\n");
    QTest::newRow("standard input is /dev/null")
        << QByteArray("{ cat; echo end; } >OUT") << QByteArray("end\n");
    QTest::newRow("shell syntax as in the script")
        << QByteArray("FOO=1; (echo $FOO; echo two) >OUT") << QByteArray("1\ntwo\n");
    QTest::newRow("bytes as stored")
        << QByteArray("printf '%s\\n' caf\xc3\xa9 >OUT") << QByteArray("caf\xc3\xa9\n");
    QTest::newRow("no descriptor of the program is inherited")
        << QByteArray("for fd in 3 4 5 6 7 8 9; do (: <&$fd) 2>/dev/null && echo $fd; done; "
                      "echo checked >>OUT")
        << QByteArray("checked\n");
}

/* The row's text goes to /bin/sh -c exactly; the status bar says that it
 * is starting, then that it ended. */
void TestRunNow::runsAsTheScriptWould()
{
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, expected);

    const QString out = outDir() + "/out";
    command.replace("OUT", QFile::encodeName(out));
    // The fd check writes any inherited descriptor to OUT before "checked".
    if (command.contains("for fd"))
        command.replace("&& echo $fd", "&& echo $fd >>" + QFile::encodeName(out));
    expected.replace("HOME", QFile::encodeName(home()));
    writeScript("#!/bin/sh\nxterm&\n" + command + "&\n");

    Mainwin win(nullptr);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(1);
    view->setFocus();
    QTest::keySequence(&win, QKeySequence(Qt::CTRL | Qt::Key_R));
    QCOMPARE(win.statusBar()->currentMessage(), "Starting " + QString::fromUtf8(command));

    QVERIFY2(waitForFile(out, 5000), "the command did not run");
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(out), expected, 5000); // it may still be writing
    QTRY_COMPARE(win.statusBar()->currentMessage(),
                 QString::fromUtf8(command) + " ended at once with status 0");
}

/*
 * A command that takes its time is started and left alone: the window goes
 * on at once, and says after a second that it was started.  What it writes
 * on standard error after that second goes nowhere and does it no harm.
 */
void TestRunNow::neverWaits()
{
    const QString out = outDir() + "/late";
    const QByteArray command = "sleep 2; echo late >&2; echo late >" + QFile::encodeName(out);
    writeScript("#!/bin/sh\n" + command + "&\n");
    Mainwin win(nullptr);
    win.show();
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(0);
    StandardError err;

    QElapsedTimer timer;
    timer.start();
    runAction(win)->trigger();
    QVERIFY(timer.elapsed() < 500);
    QCOMPARE(win.statusBar()->currentMessage(), "Starting " + QString::fromUtf8(command));
    QTRY_COMPARE_WITH_TIMEOUT(win.statusBar()->currentMessage(),
                              "Started " + QString::fromUtf8(command), 5000);
    QVERIFY2(timer.elapsed() >= 1000, "said started before the second was over");
    QVERIFY(!QFile::exists(out));
    QVERIFY2(waitForFile(out, 6000), "the command never ran, or died writing on standard error");
    QCOMPARE(err.written(), QByteArray());
}

void TestRunNow::endsAtOnce_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("how"); // after "ended at once "; ERR for the shell's first line

    QTest::newRow("no such command")
        << QByteArray("qvx-no-such-command --flag") << "with status 127: ERR";
    QTest::newRow("not valid shell") << QByteArray("fi") << "with status 2: ERR";
    QTest::newRow("the first of several lines")
        << QByteArray("echo first >&2; echo second >&2; exit 1") << "with status 1: first";
    QTest::newRow("status without a word") << QByteArray("exit 3") << "with status 3";
    QTest::newRow("success") << QByteArray("true") << "with status 0";
    QTest::newRow("killed") << QByteArray("echo dying >&2; kill -9 $$") << "by signal 9";
    // What it left behind writes later, into nothing, unharmed.
    QTest::newRow("a process left behind")
        << QByteArray("(sleep 2; echo late >&2; echo late >OUT) & echo gone >&2; exit 4")
        << "with status 4: gone";
}

/*
 * A command that ends within the second: the status bar says so, with its
 * status and the first line of its standard error, as soon as it ended.
 * Nothing reaches the program's own standard error.
 */
void TestRunNow::endsAtOnce()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, how);

    const QString out = outDir() + "/left";
    const bool leavesProcess = command.contains("OUT");
    command.replace("OUT", QFile::encodeName(out));
    if (how.contains("ERR")) {
        // The first line of what the system's shell says.
        QProcess shell;
        shell.start("/bin/sh", { "-c", QString::fromUtf8(command) });
        QVERIFY(shell.waitForFinished(5000));
        const QByteArray said = shell.readAllStandardError();
        QVERIFY(!said.isEmpty());
        how.replace("ERR", QString::fromLocal8Bit(said.left(said.indexOf('\n'))).trimmed());
    }
    writeScript("#!/bin/sh\n" + command + "&\n");
    Mainwin win(nullptr);
    win.show();
    win.findChild<QListWidget *>()->setCurrentRow(0);
    StandardError err;

    QElapsedTimer timer;
    timer.start();
    runAction(win)->trigger();
    const QString ended = QString::fromUtf8(command) + " ended at once " + how;
    QTRY_COMPARE_WITH_TIMEOUT(win.statusBar()->currentMessage(), ended, 5000);
#ifndef QVX_SANITIZE_BUILD
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString("%1 ms").arg(timer.elapsed())));
#endif
    if (leavesProcess) {
        QVERIFY2(waitForFile(out, 6000), "the process left behind did not live on");
        QCOMPARE(fileBytes(out), QByteArray("late\n"));
    }
    QCOMPARE(err.written(), QByteArray());
}

/*
 * Run now on a switched-off row runs it, a good way to try it out, and the
 * status bar says that the session start would not.
 */
void TestRunNow::switchedOffRow()
{
    const QString out = outDir() + "/off";
    const QString command = "echo off >" + out;
    writeScript("#!/bin/sh\n#[INACTIVE]#" + QFile::encodeName(command) + "&\n");
    Mainwin win(nullptr);
    win.show();
    win.findChild<QListWidget *>()->setCurrentRow(0);

    runAction(win)->trigger();
    const QString off = " (switched off: the session start does not run it)";
    QCOMPARE(win.statusBar()->currentMessage(), "Starting " + command + off);
    QVERIFY2(waitForFile(out, 5000), "the switched-off row did not run");
    QCOMPARE(fileBytes(out), QByteArray("off\n"));
    QTRY_COMPARE(win.statusBar()->currentMessage(), command + " ended at once with status 0" + off);
}

/* A row still being edited runs what is typed in its editor, not what it
 * held before. */
void TestRunNow::runsTheTextBeingTyped()
{
    const QString out = outDir() + "/typed";
    writeScript("#!/bin/sh\nxterm&\n");
    Mainwin win(nullptr);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(0);
    view->editItem(view->item(0));
    QLineEdit *editor = view->findChild<QLineEdit *>();
    QVERIFY(editor);
    const QString command = "echo typed >" + out;
    editor->setText(command);

    runAction(win)->trigger();
    QVERIFY2(waitForFile(out, 5000), "the typed command did not run");
    QTRY_COMPARE(win.statusBar()->currentMessage(), command + " ended at once with status 0");
    QCOMPARE(view->item(0)->text(), command);
}

void TestRunNow::bytesAfterANul_data()
{
    // OUT stands for the output file, NUL for a NUL byte.
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QString>("how"); // after "ended at once "

    QTest::newRow("one line") << QByteArray("printf '%s\\n' shown@NUL@hidden >OUT")
                              << "with status 0";
    QTest::newRow("a command of several lines")
        << QByteArray("if true; then\n  echo shown >OUT\n  echo @NUL@hidden >>OUT\nfi")
        << "with status 0";
    QTest::newRow("the shell's message")
        << QByteArray("qvx-no-such-@NUL@hidden; echo @NUL@hidden >OUT") << "with status 0: ";
}

/*
 * A row whose line holds a NUL byte: Run now gives the shell every byte,
 * and the shell does with them what it does at login, where it reads them
 * from the script: the bytes after the NUL count.  The named pipe they go
 * through is gone once the shell has read them.
 */
void TestRunNow::bytesAfterANul()
{
    QFETCH(QByteArray, command);
    QFETCH(QString, how);
    command.replace("@NUL@", QByteArray(1, '\0'));

    const QString out = outDir() + "/nul";
    const QString atLogin = outDir() + "/login";
    // What the shell makes of the line in a script.
    QFile script(outDir() + "/script.sh");
    QVERIFY(script.open(QIODevice::WriteOnly));
    QVERIFY(script.write(QByteArray(command).replace("OUT", QFile::encodeName(atLogin)) + "\n")
            > 0);
    script.close();
    QProcess shell;
    shell.start("/bin/sh", { script.fileName() });
    QVERIFY(shell.waitForFinished(5000));
    QVERIFY(fileBytes(atLogin).contains("hidden"));

    const QString tmp = outDir() + "/tmp";
    QVERIFY(QDir().mkpath(tmp));
    const QByteArray tmpBefore = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    command.replace("OUT", QFile::encodeName(out));
    writeScript("#!/bin/sh\n" + command + "&\n");
    Mainwin win(nullptr);
    win.show();
    win.findChild<QListWidget *>()->setCurrentRow(0);
    runAction(win)->trigger();
    const QString shown
        = QString::fromUtf8(command.constData(), command.size()).replace(QChar(0), QChar(0x2400));
    QCOMPARE(win.statusBar()->currentMessage(), "Starting " + shown);
    QTRY_VERIFY_WITH_TIMEOUT(
        win.statusBar()->currentMessage().startsWith(shown + " ended at once "), 5000);
    qputenv("TMPDIR", tmpBefore);

    const QString ended = win.statusBar()->currentMessage();
    QVERIFY2(ended.startsWith(shown + " ended at once " + how), qPrintable(ended));
    if (how.endsWith(": "))
        QVERIFY2(ended.contains("qvx-no-such-hidden: not found"), qPrintable(ended));
    QVERIFY2(waitForFile(out, 5000), "the command did not run");
    QCOMPARE(fileBytes(out), fileBytes(atLogin));
    // The checks of the rows have files of their own there for a moment.
    QCOMPARE(QDir(tmp).entryList({ "qvxsessrun-run-*" }, QDir::AllEntries | QDir::Hidden),
             QStringList());
}

void TestRunNow::nothingToRun_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("row");

    QTest::newRow("no rows") << QByteArray("#!/bin/sh\n") << -1;
    QTest::newRow("no current row") << QByteArray("#!/bin/sh\nxterm&\n") << -1;
    QTest::newRow("a blank row") << QByteArray("#!/bin/sh\nxterm&\n \t\n") << 1;
}

void TestRunNow::nothingToRun()
{
    QFETCH(QByteArray, script);
    QFETCH(int, row);

    writeScript(script);
    Mainwin win(nullptr);
    win.show();
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(row);
    runAction(win)->trigger();
    QCOMPARE(win.statusBar()->currentMessage(), QString("There is no command to run."));
}

/* A step that fails before /bin/sh runs is reported with its reason. */
void TestRunNow::missingHomeIsReported()
{
    writeScript("#!/bin/sh\ntrue&\n");
    Mainwin win(nullptr);
    win.show();
    win.findChild<QListWidget *>()->setCurrentRow(0);

    const QString moved = home() + ".moved";
    QVERIFY(QDir().rename(home(), moved));
    runAction(win)->trigger();
    QVERIFY(QDir().rename(moved, home()));
    QCOMPARE(win.statusBar()->currentMessage(),
             QString("Could not start true: ") + strerror(ENOENT));
}

/* The menu key opens the menu for the current row: Run now, then the editing buttons.
 * (The real key under X is driven in the end-to-end test.) */
void TestRunNow::contextMenuFromKeyboard()
{
    const QString out = outDir() + "/menu";
    writeScript("#!/bin/sh\necho menu >" + QFile::encodeName(out) + "&\n");
    Mainwin win(nullptr);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(0);
    view->setFocus();

    QStringList seen;
    bool undoEnabled = true;
    PopupWatch watch([&](QWidget *popup) {
        QMenu *menu = qobject_cast<QMenu *>(popup);
        if (!menu)
            return;
        for (QAction *a : menu->actions()) {
            seen << (a->isSeparator() ? QString("-") : a->text());
            if (a->objectName() == "undo")
                undoEnabled = a->isEnabled();
        }
        menu->actions().first()->trigger();
        menu->close();
    });
    // What the X platform makes of the menu key; the offscreen one makes nothing.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
    QApplication::sendEvent(view, &key);

    QCOMPARE(seen,
             QStringList({ "Run no&w", "Run in the &background", "-", "&Undo", "&Redo", "&Add",
                           "Add A&pplication\u2026", "&Delete", "&Up", "Dow&n" }));
    QVERIFY(!undoEnabled); // nothing to undo yet, as on the button
    QVERIFY2(waitForFile(out, 5000), "Run now from the menu did not run the row");
    QCOMPARE(fileBytes(out), QByteArray("menu\n"));
}

/*
 * A program started without a standard input (descriptor 0 closed) still
 * gives the command /dev/null there: whatever the program opens first takes
 * descriptor 0, and must not leave it closed for the command.
 */
void TestRunNow::withoutStandardInput()
{
    const QString out = outDir() + "/stdin";
    writeScript("#!/bin/sh\n{ (: <&0) 2>/dev/null && echo open || echo closed; } >"
                + QFile::encodeName(out) + "&\n");
    Mainwin win(nullptr);
    win.show();
    win.findChild<QListWidget *>()->setCurrentRow(0);

    const int saved = dup(STDIN_FILENO);
    QVERIFY(saved != -1);
    close(STDIN_FILENO);
    runAction(win)->trigger();
    dup2(saved, STDIN_FILENO);
    close(saved);

    QVERIFY(win.statusBar()->currentMessage().startsWith("Starting "));
    QTRY_COMPARE_WITH_TIMEOUT(fileBytes(out), QByteArray("open\n"), 5000);
}

enum MenuPlace { OnThirdRow, BelowTheRows, MenuKeyWithoutRow };
Q_DECLARE_METATYPE(MenuPlace)

void TestRunNow::menuBelongsWhereItOpens_data()
{
    QTest::addColumn<MenuPlace>("place");
    QTest::addColumn<int>("current"); // the current row before
    QTest::addColumn<QStringList>("entries"); // of the menu, "-" for a separator
    QTest::addColumn<QString>("chosen"); // the entry taken
    QTest::addColumn<QStringList>("rowsAfter");

    const QStringList rowEntries
        = { "Run no&w", "Run in the &background", "-",       "&Undo", "&Redo",
            "&Add",     "Add A&pplication\u2026", "&Delete", "&Up",   "Dow&n" };
    const QStringList added = { "first", "second", "third", "" };
    QTest::newRow("right click on a row, another current")
        << OnThirdRow << 0 << rowEntries << "&Delete" << QStringList({ "first", "second" });
    QTest::newRow("right click below the rows, a row current")
        << BelowTheRows << 0 << QStringList({ "&Add", "Add A&pplication\u2026" }) << "&Add"
        << added;
    QTest::newRow("menu key without a current row")
        << MenuKeyWithoutRow << -1 << QStringList({ "&Add", "Add A&pplication\u2026" }) << "&Add"
        << added;
}

/*
 * A right click on a row opens the menu of that row, whatever was current
 * before; below the rows, and for the menu key with no current row, the
 * menu offers only what needs no row.
 */
void TestRunNow::menuBelongsWhereItOpens()
{
    QFETCH(MenuPlace, place);
    QFETCH(int, current);
    QFETCH(QStringList, entries);
    QFETCH(QString, chosen);
    QFETCH(QStringList, rowsAfter);

    writeScript("#!/bin/sh\nfirst&\nsecond&\nthird&\n");
    Mainwin win(nullptr);
    win.resize(600, 400); // room below the rows
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(current);

    QStringList seen;
    PopupWatch watch([&](QWidget *popup) {
        QMenu *menu = qobject_cast<QMenu *>(popup);
        if (!menu)
            return;
        for (QAction *a : menu->actions())
            seen << (a->isSeparator() ? QString("-") : a->text());
        for (QAction *a : menu->actions())
            if (a->text() == chosen)
                a->trigger();
        menu->close();
    });
    if (place == MenuKeyWithoutRow) {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(view, &key);
    } else {
        const QRect last = view->visualItemRect(view->item(2));
        const QPoint at = place == OnThirdRow ? last.center() : last.bottomLeft() + QPoint(20, 30);
        QVERIFY(view->viewport()->rect().contains(at));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
    }

    QCOMPARE(seen, entries);
    // A button's click is animated: the entry acts once that is over.
    QTRY_COMPARE(view->count(), rowsAfter.size());
    QStringList rows;
    for (int i = 0; i < view->count(); i++)
        rows << view->item(i)->text();
    QCOMPARE(rows, rowsAfter);
}

void TestRunNow::rowMenuSaysWhatItCannotDo_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("row"); // -1: a row added and left empty
    QTest::addColumn<QString>("typed"); // into the row before the menu opens, if any
    QTest::addColumn<QString>("noRun"); // Run now's tool tip; empty: enabled
    QTest::addColumn<QString>("noBackground"); // that of "Run in the background"

    const QString empty = "The command is empty: there is nothing to run.";
    const QString comment = "The line holds only a comment: there is nothing to run.";
    const QString above = "\u201c%1\u201d belongs to a command that begins on a line above: on "
                          "its own it runs nothing.";
    const QByteArray head = "#!/bin/sh\nxterm &\n";
    QTest::newRow("a command") << head << 0 << ""
                               << ""
                               << "";
    QTest::newRow("a switched-off command")
        << QByteArray("#!/bin/sh\n#[INACTIVE]#xterm &\n") << 0 << ""
        << ""
        << "";
    QTest::newRow("an empty row") << head << -1 << "" << empty << empty;
    QTest::newRow("a comment typed as the row") << head << 0 << "# later" << comment << comment;
    for (const char *word : { "fi", "else", "done", "then xterm &", "esac" })
        QTest::newRow(qPrintable(QString("a stray %1").arg(word)))
            << head + word + "\n"
            << 1 << "" << above.arg(QString(word).section(' ', 0, 0))
            << above.arg(QString(word).section(' ', 0, 0));
    QTest::newRow("a function") << head + "f() { :; }\n"
                                << 1 << ""
                                << ""
                                << "The line defines a function, which starts nothing by itself.";
    QTest::newRow("ends in &&")
        << head + "true &&\n"
        << 1 << ""
        << ""
        << "The line ends in &&, || or |: the command goes on in the next line, where a final & "
           "would belong.";
    QTest::newRow("an if left open")
        << head + "if true; then\n"
        << 1 << ""
        << ""
        << "The command is not complete on this line (a quote, an if, a loop or a here-document "
           "is left open): an & cannot end it here.";
    QTest::newRow("a here-document")
        << head + "cat <<E >/dev/null &\nx\nE\n"
        << 1 << ""
        << ""
        << "The command ends with a here-document: its & belongs on its first line. Edit the "
           "command to change it.";
    QTest::newRow("two & at the end")
        << head + "true & &\n"
        << 1 << ""
        << ""
        << "The final & of this line cannot be put in or taken out here. Edit the command to "
           "change it.";
}

/*
 * The row menu's Run now and "Run in the background" are disabled where
 * they can do nothing, and the menu shows why in their tool tips; where
 * they can, they have none.  Delete shows its key as the others do.
 */
void TestRunNow::rowMenuSaysWhatItCannotDo()
{
    QFETCH(QByteArray, script);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QString, noRun);
    QFETCH(QString, noBackground);

    writeScript(script);
    Mainwin win(nullptr);
    win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&win));
    QListWidget *view = win.findChild<QListWidget *>();
    view->setCurrentRow(row);
    if (row < 0) {
        win.findChild<QPushButton *>("addButton")->click();
        QLineEdit *editor = view->findChild<QLineEdit *>();
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!view->isPersistentEditorOpen(view->currentIndex())
                    && !view->indexWidget(view->currentIndex()));
    }
    if (!typed.isEmpty()) {
        view->editItem(view->item(row));
        QLineEdit *editor = view->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(typed);
    }

    bool tipsShown = false, seen = false;
    QMap<QString, QAction *> byName;
    PopupWatch watch([&](QWidget *popup) {
        QMenu *menu = qobject_cast<QMenu *>(popup);
        if (!menu)
            return;
        seen = true;
        tipsShown = menu->toolTipsVisible();
        for (QAction *a : menu->actions())
            byName.insert(a->objectName(), a);
        menu->close();
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
    QApplication::sendEvent(view, &key);

    QVERIFY(seen);
    QVERIFY(tipsShown);
    QAction *run = byName.value("run"), *background = byName.value("background");
    QVERIFY(run && background && byName.value("delete"));
    QCOMPARE(run->isEnabled(), noRun.isEmpty());
    QCOMPARE(run->toolTip() == run->text().remove('&') ? QString() : run->toolTip(), noRun);
    QCOMPARE(background->isEnabled(), noBackground.isEmpty());
    QCOMPARE(background->isEnabled() ? QString() : background->toolTip(), noBackground);
    QCOMPARE(byName.value("delete")->shortcut(), QKeySequence(Qt::Key_Delete));
}

QTEST_MAIN(TestRunNow)
#include "tst_runnow.moc"
