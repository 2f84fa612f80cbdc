// SPDX-License-Identifier: BSD-2-Clause
// The question before a save that would replace a script another program
// changed since the window read or last saved it, in-process: every answer,
// two windows on one script, and a save chosen in the quit question.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "List.h"
#include "Mainwin.h"
#include "modalbox.h"

static const QByteArray ours = "#!/bin/sh\ntrue&\n";
static const QByteArray theirs = "#!/bin/sh\ntrue&\nsleep 1&\n";

static QString scriptPath()
{
    return qEnvironmentVariable("QVX_TEST_HOME") + "/.config/QVX/autostart.sh";
}

static void writeScript(const QByteArray &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(scriptPath()).path()));
    QFile file(scriptPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(text), qint64(text.size()));
}

static QByteArray readScript()
{
    QFile file(scriptPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

enum Answer { NotAsked, Cancel, Escape, Overwrite };
Q_DECLARE_METATYPE(Answer)

/*
 * Answers the overwrite question from inside its own event loop, and notes
 * what it showed.  Any other box is left alone.
 */
class Answerer
{
public:
    explicit Answerer(Answer answer) : answer(answer) { }

    Answer answer;
    int asked = 0;
    QStringList seen;

private:
    void look(QMessageBox *box)
    {
        if (!box->text().contains("changed by another program"))
            return;
        asked++;
        QPushButton *overwrite = nullptr, *cancel = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == "&Overwrite")
                overwrite = qobject_cast<QPushButton *>(b);
            if (b->text() == "&Cancel")
                cancel = qobject_cast<QPushButton *>(b);
        }
        seen = QStringList { box->text(),
                             box->informativeText(),
                             overwrite ? "Overwrite" : "no Overwrite",
                             cancel ? "Cancel" : "no Cancel",
                             box->defaultButton() == cancel ? "default Cancel" : "other default",
                             box->icon() == QMessageBox::Warning ? "Warning" : "other icon" };
        switch (answer) {
        case Overwrite:
            if (overwrite)
                overwrite->click();
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
    void click(const QString &caption)
    {
        for (QPushButton *b : win.findChildren<QPushButton *>())
            if (b->text() == caption)
                b->click();
    }
    // As a person adds a row: Add opens the editor, the text is typed, Return commits it.
    void addRow(const QString &text)
    {
        click("&Add");
        QLineEdit *editor = view->findChild<QLineEdit *>();
        QVERIFY(editor);
        editor->setText(text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the view commits a Return from its event loop
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
    void init();
    void saveAfterAnotherWriter_data();
    void saveAfterAnotherWriter();
    void twoWindowsSaveInTurn();
    void quitQuestionSaveCancelled();
};

void TestOverwrite::init()
{
    QDir(QFileInfo(scriptPath()).path()).removeRecursively();
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
    const QByteArray mine = "#!/bin/sh\n#[INACTIVE]#true&\n";

    // The other program, if any.
    if (other.isEmpty())
        QVERIFY(QFile::remove(scriptPath()));
    else if (other != ours)
        writeScript(other);

    {
        Answerer answerer(answer);
        w.click("&Save");
        QCOMPARE(answerer.asked, answer == NotAsked ? 0 : 1);
        if (answer != NotAsked)
            QCOMPARE(answerer.seen,
                     QStringList({ "The script was changed by another program since it was "
                                   "opened.",
                                   "Overwrite it with the commands shown here?", "Overwrite",
                                   "Cancel", "default Cancel", "Warning" }));
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
    w.click("&Save");
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
    first.click("&Save");
    QCOMPARE(answers.asked, 0);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#true&\n"));

    answers.answer = Cancel;
    second.click("&Save");
    QCOMPARE(answers.asked, 1);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#true&\n"));

    answers.answer = Overwrite;
    second.click("&Save");
    QCOMPARE(answers.asked, 2);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\ntrue&\nsleep 1&\n"));

    // Now the first window is the one that is behind.
    answers.answer = Cancel;
    first.click("&Save");
    QCOMPARE(answers.asked, 3);
}

/* Save in the quit question, then Cancel in the overwrite question: the window stays. */
void TestOverwrite::quitQuestionSaveCancelled()
{
    writeScript(ours);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggleFirst();
    writeScript(theirs);

    // The quit question first: Save.
    ModalBoxWatch<> quitAnswer([&](QMessageBox *box) {
        if (box->button(QMessageBox::Discard)) {
            quitAnswer.stop();
            box->button(QMessageBox::Save)->click();
        }
    });
    Answerer answerer(Cancel);

    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    QTimer::singleShot(0, [&] {
        w.click("&Quit");
        stillRunning.start(300);
    });
    QCOMPARE(QCoreApplication::exec(), 99);
    QCOMPARE(answerer.asked, 1);
    QCOMPARE(readScript(), theirs);
    QVERIFY(w.win.isVisible());
    QVERIFY(w.list->modified());
}

QTEST_MAIN(TestOverwrite)
#include "tst_overwrite.moc"
