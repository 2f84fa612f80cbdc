// SPDX-License-Identifier: BSD-2-Clause
// The question before a save that would replace a script another program
// changed since the window read or last saved it, in-process: every answer,
// a change made while the save is under way, two windows on one script, and
// a save chosen in the quit question.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <sys/stat.h>

#include <functional>

#include "app/Mainwin.h"
#include "editor/List.h"
#include "fsynchook.h"
#include "modalbox.h"
#include "testscript.h"

static const QByteArray ours = "#!/bin/sh\ntrue&\n";
static const QByteArray theirs = "#!/bin/sh\ntrue&\nsleep 1&\n";
static const QByteArray theirsAgain = "#!/bin/sh\nsleep 2&\n";
/* The window's script once true is switched off. */
static const QByteArray mine = "#!/bin/sh\n#[INACTIVE]#true&\n";

static void writeScript(const QByteArray &text)
{
    QVERIFY(write_script(text));
}

static QByteArray readScript()
{
    return read_file(script_path());
}

/* Every name in the script's directory: the script, and any file a save left behind. */
static QStringList scriptDirNames()
{
    return QDir(script_dir())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

/* Whether fd is open on the temporary file of a save of the script. */
static bool isSaveTempFile(int fd)
{
    const QString dir = script_dir();
    struct stat st, other;

    if (fstat(fd, &st) == -1 || !S_ISREG(st.st_mode))
        return false;
    for (const QString &name :
         QDir(dir).entryList({ ".autostart.sh.save-*" }, QDir::Files | QDir::Hidden))
        if (stat(QFile::encodeName(dir + "/" + name).constData(), &other) == 0
            && other.st_dev == st.st_dev && other.st_ino == st.st_ino)
            return true;
    return false;
}

/*
 * The saves' syncs of their temporary files, counted; each of the first
 * ones also writes the next of changesDuringSave to the script (empty:
 * removes it) before its data reaches the disk, as another program that
 * changes the script while the save is under way.
 */
static int tempSyncs = 0;
static QList<QByteArray> changesDuringSave;

static void watchSaves(int fd)
{
    if (!isSaveTempFile(fd))
        return;
    tempSyncs++;
    if (changesDuringSave.isEmpty())
        return;
    const QByteArray other = changesDuringSave.takeFirst();
    if (other.isEmpty())
        QVERIFY(QFile::remove(script_path()));
    else
        writeScript(other);
}

enum Answer { NotAsked, Cancel, Escape, Overwrite, Reload };
Q_DECLARE_METATYPE(Answer)

/*
 * Answers the overwrite question from inside its own event loop, and notes
 * what it showed and how many temporary files had been synced by then.
 * Any other box is left alone.  Given a list, it gives those answers in
 * turn.
 */
class Answerer
{
public:
    explicit Answerer(Answer answer) : answer(answer) { }
    explicit Answerer(const QList<Answer> &answers) : answer(NotAsked), next(answers) { }

    Answer answer;
    QList<Answer> next;
    int asked = 0;
    int syncsWhenAsked = -1;
    QStringList seen;

private:
    void look(QMessageBox *box)
    {
        if (box->windowTitle() != "Script changed on disk")
            return;
        asked++;
        syncsWhenAsked = tempSyncs;
        if (!next.isEmpty())
            answer = next.takeFirst();
        QPushButton *reload = nullptr, *overwrite = nullptr, *cancel = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == "&Reload")
                reload = qobject_cast<QPushButton *>(b);
            if (b->text() == "&Overwrite")
                overwrite = qobject_cast<QPushButton *>(b);
            if (b->text() == "&Cancel")
                cancel = qobject_cast<QPushButton *>(b);
        }
        seen = QStringList { box->text(),
                             box->informativeText(),
                             reload ? "Reload" : "no Reload",
                             overwrite ? "Overwrite" : "no Overwrite",
                             cancel ? "Cancel" : "no Cancel",
                             QString("%1 buttons").arg(box->buttons().size()),
                             box->defaultButton() == cancel ? "default Cancel" : "other default",
                             box->icon() == QMessageBox::Warning ? "Warning" : "other icon" };
        switch (answer) {
        case Overwrite:
            if (overwrite)
                overwrite->click();
            break;
        case Reload:
            if (reload)
                reload->click();
            break;
        case Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        default:
            if (cancel)
                cancel->click();
            break;
        }
    }

    // Last, so that no look comes before the answer is set.
    ModalBoxWatch<> watch { [this](QMessageBox *box) { look(box); } };
};

struct Window
{
    Mainwin win { nullptr };
    List *list = win.findChild<List *>();
    QListWidget *view = win.findChild<QListWidget *>();

    QString message() const { return win.statusBar()->currentMessage(); }
    // By object name, so that a changed caption or mnemonic breaks no test.
    void click(const QString &name)
    {
        if (QPushButton *b = win.findChild<QPushButton *>(name))
            b->click();
    }
    // As a person adds a row: Add opens the editor, the text is typed, Return commits it.
    void addRow(const QString &text)
    {
        click("addButton");
        QLineEdit *editor = view->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits a Return from its event loop
    }
    /* The rows as a person sees them: "-" before a switched-off one, " !" after a marked one. */
    QStringList rows() const
    {
        QStringList out;
        for (int i = 0; i < view->count(); i++) {
            const QListWidgetItem *item = view->item(i);
            out << (item->checkState() == Qt::Checked ? "" : "-") + item->text()
                    + (item->data(Qt::DecorationRole).isValid() ? " !" : "");
        }
        return out;
    }
    bool enabled(const QString &name) const
    {
        const QPushButton *b = win.findChild<QPushButton *>(name);
        return b && b->isEnabled();
    }
    void toggleFirst()
    {
        QListWidgetItem *item = view->item(0);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

class TestOverwrite : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void saveAfterAnotherWriter_data();
    void saveAfterAnotherWriter();
    void changedDuringSave_data();
    void changedDuringSave();
    void twoWindowsSaveInTurn();
    void quitQuestionSave_data();
    void quitQuestionSave();
    void reload_data();
    void reload();
    void reloadCannotRead();
};

/* What the question shows, about a script changed or removed. */
static QStringList question(bool removed)
{
    return { removed ? "The script was removed by another program since it was opened or last "
                       "saved here."
                     : "The script was changed by another program since it was opened or last "
                       "saved here.",
             removed ? "Reload empties the list; Undo brings back the commands shown here. "
                       "Overwrite saves the commands shown here as the script."
                     : "Reload shows the script as it is now; Undo brings back the commands shown "
                       "here. Overwrite saves the commands shown here over it.",
             "Reload",
             "Overwrite",
             "Cancel",
             "3 buttons",
             "default Cancel",
             "Warning" };
}

void TestOverwrite::initTestCase()
{
    fsync_hook = watchSaves;
}

void TestOverwrite::init()
{
    QDir(script_dir()).removeRecursively();
    changesDuringSave.clear();
}

void TestOverwrite::cleanup()
{
    // A change meant for a save that never came is a fault of the test.
    QCOMPARE(changesDuringSave, QList<QByteArray>());
}

void TestOverwrite::saveAfterAnotherWriter_data()
{
    QTest::addColumn<bool>("scriptAtStart");
    QTest::addColumn<QByteArray>("other"); /* what the other program leaves; empty: removed */
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("saved");

    QTest::newRow("nobody else wrote") << true << ours << NotAsked << true;
    QTest::newRow("edited, cancel") << true << theirs << Cancel << false;
    QTest::newRow("edited, escape") << true << theirs << Escape << false;
    QTest::newRow("edited, overwrite") << true << theirs << Overwrite << true;
    QTest::newRow("removed, cancel") << true << QByteArray() << Cancel << false;
    QTest::newRow("removed, overwrite") << true << QByteArray() << Overwrite << true;
    QTest::newRow("created meanwhile, cancel") << false << theirs << Cancel << false;
    QTest::newRow("created meanwhile, overwrite") << false << theirs << Overwrite << true;
}

/* Cancel writes nothing and keeps every edit; Overwrite saves as usual. */
void TestOverwrite::saveAfterAnotherWriter()
{
    QFETCH(bool, scriptAtStart);
    QFETCH(QByteArray, other);
    QFETCH(Answer, answer);
    QFETCH(bool, saved);

    if (scriptAtStart)
        writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    if (!scriptAtStart) {
        w.addRow("true");
        QCOMPARE(w.view->count(), 1);
        QCOMPARE(w.view->item(0)->text(), QString("true"));
    }
    w.toggleFirst(); // the window's own edit: true switched off

    // The other program, if any.
    if (other.isEmpty())
        QVERIFY(QFile::remove(script_path()));
    else if (other != ours)
        writeScript(other);

    {
        const int syncs = tempSyncs;
        Answerer answerer(answer);
        w.click("saveButton");
        QCOMPARE(answerer.asked, answer == NotAsked ? 0 : 1);
        if (answer != NotAsked) {
            QCOMPARE(answerer.seen, question(other.isEmpty()));
            // A change that is already there is asked about before a byte is written.
            QCOMPARE(answerer.syncsWhenAsked, syncs);
        }
    }
    if (saved) {
        QCOMPARE(readScript(), mine);
        QCOMPARE(w.message(), QString("Saved"));
        QVERIFY(!w.list->modified());
    } else {
        QCOMPARE(readScript(), other.isEmpty() ? QByteArray("<missing>") : other);
        QCOMPARE(w.message(), QString("The script was not saved."));
        QVERIFY(w.list->modified());
        QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);
        QVERIFY(w.list->canUndo());
    }

    // Once saved, the script is the window's own: the next save asks nothing.
    // Not saved, it still is not, and the next save asks again.
    Answerer again(Overwrite);
    w.click("saveButton");
    QCOMPARE(again.asked, saved ? 0 : 1);
    QCOMPARE(readScript(), mine);
}

void TestOverwrite::changedDuringSave_data()
{
    // What the other program writes during each save in turn; empty: it removes the script.
    QTest::addColumn<QList<QByteArray>>("changes");
    QTest::addColumn<QList<Answer>>("answers");
    QTest::addColumn<bool>("saved");

    QTest::newRow("edited, cancel")
        << QList<QByteArray> { theirs } << QList<Answer> { Cancel } << false;
    QTest::newRow("edited, escape")
        << QList<QByteArray> { theirs } << QList<Answer> { Escape } << false;
    QTest::newRow("edited, overwrite")
        << QList<QByteArray> { theirs } << QList<Answer> { Overwrite } << true;
    QTest::newRow("removed, cancel")
        << QList<QByteArray> { QByteArray() } << QList<Answer> { Cancel } << false;
    QTest::newRow("removed, overwrite")
        << QList<QByteArray> { QByteArray() } << QList<Answer> { Overwrite } << true;
    QTest::newRow("edited again while overwriting, overwrite twice")
        << QList<QByteArray> { theirs, theirsAgain } << QList<Answer> { Overwrite, Overwrite }
        << true;
    QTest::newRow("edited again while overwriting, then cancel")
        << QList<QByteArray> { theirs, theirsAgain } << QList<Answer> { Overwrite, Cancel }
        << false;
}

/*
 * Another program changes the script while the save is under way, once
 * the save found no change to ask about: the save leaves that program's
 * script and asks the same question, and each answer does what it says;
 * a change during the overwrite is asked about again.
 */
void TestOverwrite::changedDuringSave()
{
    QFETCH(QList<QByteArray>, changes);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, saved);

    writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggleFirst();

    const int syncs = tempSyncs;
    changesDuringSave = changes;
    {
        Answerer answerer(answers);
        w.click("saveButton");
        QCOMPARE(answerer.asked, answers.size());
        QCOMPARE(answerer.seen, question(changes.last().isEmpty()));
    }
    // Each change came during a save of its own, and each save wrote a temporary file.
    QCOMPARE(changesDuringSave, QList<QByteArray>());
    QCOMPARE(tempSyncs - syncs, changes.size() + (saved ? 1 : 0));

    if (saved) {
        QCOMPARE(readScript(), mine);
        QCOMPARE(w.message(), QString("Saved"));
        QVERIFY(!w.list->modified());
    } else {
        const QByteArray last = changes.last();
        QCOMPARE(readScript(), last.isEmpty() ? QByteArray("<missing>") : last);
        QCOMPARE(w.message(), QString("The script was not saved."));
        QVERIFY(w.list->modified());
        QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);
    }
    // No temporary file is left behind, whatever the answer.
    QCOMPARE(scriptDirNames(),
             readScript() == "<missing>" ? QStringList() : QStringList { "autostart.sh" });

    // Saved, the script is the window's own; not saved, the next save asks again.
    Answerer again(Overwrite);
    w.click("saveButton");
    QCOMPARE(again.asked, saved ? 0 : 1);
    QCOMPARE(readScript(), mine);
}

/* Two windows on one script: the first saves without a word, the second is asked. */
void TestOverwrite::twoWindowsSaveInTurn()
{
    writeScript(ours);
    Window first, second;
    first.win.show();
    second.win.show();
    first.toggleFirst();
    second.addRow("sleep 1");

    Answerer answers(Overwrite);
    first.click("saveButton");
    QCOMPARE(answers.asked, 0);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#true&\n"));

    answers.answer = Cancel;
    second.click("saveButton");
    QCOMPARE(answers.asked, 1);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#true&\n"));

    answers.answer = Overwrite;
    second.click("saveButton");
    QCOMPARE(answers.asked, 2);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\ntrue&\nsleep 1&\n"));

    // Now the first window is the one that is behind.
    answers.answer = Cancel;
    first.click("saveButton");
    QCOMPARE(answers.asked, 3);
}

void TestOverwrite::quitQuestionSave_data()
{
    QTest::addColumn<bool>("duringSave"); /* the other program writes while the save is under way */
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("quits");

    QTest::newRow("changed before, cancel") << false << Cancel << false;
    QTest::newRow("changed before, overwrite") << false << Overwrite << true;
    QTest::newRow("changed during the save, cancel") << true << Cancel << false;
    QTest::newRow("changed during the save, overwrite") << true << Overwrite << true;
    QTest::newRow("changed before, reload") << false << Reload << false;
    QTest::newRow("changed during the save, reload") << true << Reload << false;
}

/*
 * Save in the quit question, then the overwrite question: Cancel keeps the
 * window and its work, Overwrite saves and quits, Reload keeps the window
 * with the script as the other program left it.
 */
void TestOverwrite::quitQuestionSave()
{
    QFETCH(bool, duringSave);
    QFETCH(Answer, answer);
    QFETCH(bool, quits);

    writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggleFirst();
    if (duringSave)
        changesDuringSave = { theirs };
    else
        writeScript(theirs);

    // The quit question first: Save.
    ModalBoxWatch<> quitAnswer([&](QMessageBox *box) {
        if (box->button(QMessageBox::Discard)) {
            quitAnswer.stop();
            box->button(QMessageBox::Save)->click();
        }
    });
    Answerer answerer(answer);

    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    QTimer::singleShot(0, [&] {
        w.click("quitButton");
        stillRunning.start(300);
    });
    QCOMPARE(QCoreApplication::exec(), quits ? 0 : 99);
    QCOMPARE(answerer.asked, 1);
    QCOMPARE(readScript(), quits ? mine : theirs);
    QCOMPARE(w.list->modified(), !quits && answer != Reload);
    if (!quits)
        QVERIFY(w.win.isVisible());
}

/* The window's edits in reload(): true switched off, and a row added. */
static const QStringList mineRows { "-true", "qvx-mine-missing !" };

void TestOverwrite::reload_data()
{
    QTest::addColumn<QByteArray>("other"); /* what the other program leaves; empty: removed */
    QTest::addColumn<QStringList>("theirRows");

    QTest::newRow("edited") << QByteArray("#!/bin/sh\n# theirs\ntrue&\nqvx-theirs-missing &\n"
                                          "#[INACTIVE]#sleep 1&\n# the end, no line feed")
                            << QStringList { "true", "qvx-theirs-missing !", "-sleep 1" };
    QTest::newRow("removed") << QByteArray() << QStringList();
}

/*
 * Reload in the question: the rows become the script's as the other
 * program left it, which is saved as it is; the window's edits come back
 * with one Undo and go again with Redo, and "Modified" and the marks
 * follow each.  The script is only read: a save right after it writes the
 * other program's bytes unchanged.
 */
void TestOverwrite::reload()
{
    QFETCH(QByteArray, other);
    QFETCH(QStringList, theirRows);

    writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggleFirst();
    w.addRow("qvx-mine-missing");
    QTRY_COMPARE(w.rows(), mineRows);
    if (other.isEmpty())
        QVERIFY(QFile::remove(script_path()));
    else
        writeScript(other);

    {
        Answerer answerer(Reload);
        w.click("saveButton");
        QCOMPARE(answerer.asked, 1);
        QCOMPARE(answerer.seen, question(other.isEmpty()));
    }
    QCOMPARE(readScript(), other.isEmpty() ? QByteArray("<missing>") : other);
    QCOMPARE(w.message(), QString("Reloaded. Undo brings back the commands shown before."));
    QVERIFY(!w.list->modified());
    QVERIFY(w.enabled("undoButton"));
    QVERIFY(!w.enabled("redoButton"));
    QTRY_VERIFY(!w.list->checking());
    QCOMPARE(w.rows(), theirRows);

    // One Undo brings back the window's edits, and "Modified" with them.
    w.click("undoButton");
    QTRY_VERIFY(!w.list->checking());
    QCOMPARE(w.rows(), mineRows);
    QVERIFY(w.list->modified());
    QCOMPARE(w.message(), QString("Modified"));
    QVERIFY(w.enabled("redoButton"));

    w.click("redoButton");
    QTRY_VERIFY(!w.list->checking());
    QCOMPARE(w.rows(), theirRows);
    QVERIFY(!w.list->modified());
    QCOMPARE(w.message(), QString());
    QVERIFY(!w.enabled("redoButton"));

    // Undo goes on through the steps before the reload, back to the
    // script as it was opened, which is no longer the one on disk; Redo
    // goes all the way forward again.
    while (w.enabled("undoButton"))
        w.click("undoButton");
    QCOMPARE(w.rows(), QStringList("true"));
    QVERIFY(w.list->modified());
    while (w.enabled("redoButton"))
        w.click("redoButton");
    QTRY_VERIFY(!w.list->checking());
    QCOMPARE(w.rows(), theirRows);
    QVERIFY(!w.list->modified());

    // The reloaded script is the window's: a save asks nothing and writes
    // it as it is (no script at all reads as an empty one).
    Answerer again(Cancel);
    w.click("saveButton");
    QCOMPARE(again.asked, 0);
    QCOMPARE(readScript(), other.isEmpty() ? QByteArray("#!/bin/sh\n") : other);
}

/*
 * A script that cannot be read (a directory in its place) is not
 * reloaded: the error is shown, and the rows, the journal and "Modified"
 * stay as they were.
 */
void TestOverwrite::reloadCannotRead()
{
    writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggleFirst();
    w.addRow("qvx-mine-missing");
    QVERIFY(QFile::remove(script_path()));
    QVERIFY(QDir().mkdir(script_path()));

    QStringList errors;
    ModalBoxWatch<> errorBox([&](QMessageBox *box) {
        if (box->windowTitle() != "Error")
            return;
        errors << box->text();
        box->button(QMessageBox::Ok)->click();
    });
    {
        Answerer answerer(Reload);
        w.click("saveButton");
        QCOMPARE(answerer.asked, 1);
        QCOMPARE(answerer.seen, question(false));
    }
    QCOMPARE(errors, QStringList("qvxsessrun_reload(): " + script_path() + ": Not a regular file"));
    QCOMPARE(w.message(), QString("The script was not reloaded."));
    QTRY_COMPARE(w.rows(), mineRows);
    QVERIFY(w.list->modified());
    QVERIFY(!w.enabled("redoButton"));
    while (w.enabled("undoButton"))
        w.click("undoButton");
    QCOMPARE(w.rows(), QStringList("true"));
    QVERIFY(QFileInfo(script_path()).isDir());
}

QTEST_MAIN(TestOverwrite)
#include "tst_overwrite.moc"
