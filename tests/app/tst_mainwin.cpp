// SPDX-License-Identifier: BSD-2-Clause
// The main window in-process: enabled states of Undo and Redo, the status
// bar, saving and every way out of the quit question.

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>

#include "app/Mainwin.h"
#include "check/checkshell.h"
#include "dialogs/icon.h"
#include "dropevent.h"
#include "editor/AppDialog.h"
#include "editor/AppModel.h"
#include "editor/List.h"
#include "modalbox.h"
#include "store/store.h"
#include "testscript.h"

static void writeScript(const QByteArray &text)
{
    QVERIFY(write_script(text));
}

static QByteArray readScript()
{
    return read_file(script_path());
}

/* A shown main window on the script of the temporary home, and handles on
 * the widgets that the tests drive. */
struct Window
{
    Mainwin win { nullptr };
    List *list = win.findChild<List *>();
    QListWidget *view = win.findChild<QListWidget *>();

    // By object name, so that a changed caption or mnemonic breaks no test.
    QPushButton *button(const QString &name) const { return win.findChild<QPushButton *>(name); }
    QPushButton *undo() const { return button("undoButton"); }
    QPushButton *redo() const { return button("redoButton"); }
    QString message() const { return win.statusBar()->currentMessage(); }
    // The row's open editor, or null.
    QLineEdit *editor(int row) const
    {
        return qobject_cast<QLineEdit *>(view->indexWidget(view->model()->index(row, 0)));
    }
    // Clicking a check box reaches the list as an itemChanged, as here.
    void toggle(int row)
    {
        QListWidgetItem *item = view->item(row);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

/* Runs the application's event loop with `action` as its first event and
 * returns what exec() returned: 0 when the window asked the application to
 * quit, 99 when it was still running 300 ms after the action. */
static int runLoop(const std::function<void()> &action)
{
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    QTimer::singleShot(0, [&] {
        action();
        stillRunning.start(300);
    });
    return QCoreApplication::exec();
}

class TestMainwin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void layoutAndTitle();
    void iconsFromThemeOrStyle_data();
    void iconsFromThemeOrStyle();
    void undoRedoFollowTheJournal();
    void statusBarFollowsModifiedState();
    void saveAlwaysWrites_data();
    void saveAlwaysWrites();
    void saveRecordsOnlyChanges_data();
    void saveRecordsOnlyChanges();
    void foreignBytesKept_data();
    void foreignBytesKept();
    void typedRowsGiveValidScript();
    void failedSaveKeepsWork_data();
    void failedSaveKeepsWork();
    void standardShortcuts_data();
    void standardShortcuts();
    void keysInEditor_data();
    void keysInEditor();
    void redoByMnemonicWhileTyping();
    void rowButtonsFollowTheCurrentRow_data();
    void rowButtonsFollowTheCurrentRow();
    void focusLeavesADisabledButton();
    void sharedMnemonicOnlyFocuses_data();
    void sharedMnemonicOnlyFocuses();
    void fastKeysCount_data();
    void fastKeysCount();
    void savedMessageClearsAfterFiveSeconds();
    void changeReplacesSavedAtOnce();
    void savedMessageCountsMarks_data();
    void savedMessageCountsMarks();
    void changeBeforeCountKeepsModified();
    void noShellSaysWhy();
    void filledAfterShown();
    void quitWithoutChanges_data();
    void quitWithoutChanges();
    void quitQuestion_data();
    void quitQuestion();
    void openEditorIsNotLost_data();
    void openEditorIsNotLost();
    void addWhileEditing();
    void dropTellsWhatWasSkipped();
    void longMessageShowsWhole();
    void addApplication_data();
    void addApplication();
    void addApplicationKeepsOpenEdit();
};

void TestMainwin::init()
{
    QFile::remove(script_path());
}

void TestMainwin::layoutAndTitle()
{
    writeScript("xterm&\n");
    Window w;
    QVERIFY(w.list);
    QVERIFY(w.view);
    QCOMPARE(w.win.windowTitle().remove("[*]"), QString("QVXSessRun"));
    QCOMPARE(w.win.minimumSize(), QSize(500, 300));
    QCOMPARE(w.view->count(), 1);
    const QPair<const char *, const char *> buttons[]
        = { { "undoButton", "&Undo" },     { "redoButton", "&Redo" }, { "addButton", "&Add" },
            { "deleteButton", "&Delete" }, { "upButton", "&Up" },     { "downButton", "Dow&n" },
            { "saveButton", "&Save" },     { "quitButton", "&Quit" } };
    for (const auto &named : buttons) {
        QPushButton *b = w.button(named.first);
        QVERIFY2(b, named.first);
        QCOMPARE(b->text(), QString(named.second));
        QVERIFY2(!b->icon().isNull(), named.first); // theme icon or the style's fallback
    }
    QCOMPARE(w.button("undoButton")->styleSheet(), QString("padding: 2px; text-align: left;"));
    QCOMPARE(w.button("saveButton")->styleSheet(), QString());

    // At the default size and in a large window alike, the side buttons
    // stand together at the top, beside the list.
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    for (const QSize &size : { QSize(500, 316), QSize(1600, 1100) }) {
        w.win.resize(size);
        QTRY_COMPARE(w.win.size(), size);
        const QString at = QString("at %1x%2").arg(size.width()).arg(size.height());
        const int listTop = w.view->mapTo(&w.win, QPoint(0, 0)).y();
        QPushButton *undo = w.button("undoButton");
        QPushButton *down = w.button("downButton");
        QVERIFY2(qAbs(undo->mapTo(&w.win, QPoint(0, 0)).y() - listTop) <= 12, qPrintable(at));
        QVERIFY2(down->mapTo(&w.win, QPoint(0, down->height())).y() - listTop
                     <= 6 * (undo->height() + 12),
                 qPrintable(at));
    }
}

static QImage picture(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
}

/* A one-colour 16x16 icon under the name in a throw-away theme. */
static bool addThemeIcon(const QString &themeDir, const QString &name, QColor colour)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return QDir().mkpath(themeDir + "/16x16/actions")
        && image.save(themeDir + "/16x16/actions/" + name + ".png");
}

void TestMainwin::iconsFromThemeOrStyle_data()
{
    QTest::addColumn<bool>("withTheme");
    QTest::newRow("theme lacks the names") << false;
    QTest::newRow("theme has edit-undo and system-run") << true;
}

void TestMainwin::iconsFromThemeOrStyle()
{
    QFETCH(bool, withTheme);

    QTemporaryDir themes;
    QVERIFY(themes.isValid());
    const QString dir = themes.path() + "/qvxtest";
    QVERIFY(QDir().mkpath(dir));
    QFile index(dir + "/index.theme");
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=qvxtest\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nType=Fixed\n");
    index.close();
    if (withTheme) {
        QVERIFY(addThemeIcon(dir, "edit-undo", Qt::red));
        QVERIFY(addThemeIcon(dir, "system-run", Qt::blue));
        QVERIFY(addThemeIcon(dir, "go-down", Qt::green));
    }
    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldName = QIcon::themeName();
    QIcon::setThemeSearchPaths({ themes.path() });
    QIcon::setThemeName("qvxtest");

    writeScript("xterm&\n");
    {
        Window w;
        if (withTheme) {
            QCOMPARE(picture(w.undo()->icon()).pixelColor(8, 8), QColor(Qt::red));
            QCOMPARE(picture(w.button("downButton")->icon()).pixelColor(8, 8), QColor(Qt::green));
            QCOMPARE(picture(w.win.windowIcon()).pixelColor(8, 8), QColor(Qt::blue));
        } else {
            QCOMPARE(picture(w.undo()->icon()),
                     picture(standard_icon(QStyle::SP_ArrowLeft, nullptr)));
            QCOMPARE(picture(w.button("downButton")->icon()),
                     picture(standard_icon(QStyle::SP_ArrowDown, nullptr)));
            QVERIFY(w.win.windowIcon().isNull()); // no fallback for the window
        }
        // Redo's name is in neither theme; Quit takes the style's icon always.
        QCOMPARE(picture(w.redo()->icon()), picture(standard_icon(QStyle::SP_ArrowRight, nullptr)));
        QCOMPARE(picture(w.button("quitButton")->icon()),
                 picture(standard_icon(QStyle::SP_DialogCloseButton, nullptr)));

        // Run now shows its icon in the rows' menu only, twice the same.
        w.view->setCurrentRow(0);
        const QImage runIcon
            = withTheme ? QImage() : picture(standard_icon(QStyle::SP_MediaPlay, nullptr));
        for (int opened = 1; opened <= 2; ++opened) {
            QImage shown;
            PopupWatch watch([&](QWidget *popup) {
                QMenu *menu = qobject_cast<QMenu *>(popup);
                if (!menu)
                    return;
                shown = picture(menu->actions().first()->icon());
                menu->close();
            });
            QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
            QApplication::sendEvent(w.view, &key);
            QVERIFY2(!shown.isNull(), qPrintable(QString("menu %1").arg(opened)));
            if (withTheme)
                QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::blue));
            else
                QCOMPARE(shown, runIcon);
        }
    }
    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setThemeName(oldName);
}

void TestMainwin::undoRedoFollowTheJournal()
{
    writeScript("xterm&\n#[INACTIVE]#xclock&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    QVERIFY(!w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled());

    // Connected after the window's own slot, so this sees what it left.
    QStringList mismatches;
    int emissions = 0;
    connect(w.list, &List::listModified, this, [&](bool) {
        ++emissions;
        if (w.undo()->isEnabled() != w.list->canUndo()
            || w.redo()->isEnabled() != w.list->canRedo())
            mismatches << QString("emission %1").arg(emissions);
    });

    w.toggle(0);
    QVERIFY(w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled());

    w.undo()->click();
    QVERIFY(!w.undo()->isEnabled());
    QVERIFY(w.redo()->isEnabled());
    QCOMPARE(w.view->item(0)->checkState(), Qt::Checked);

    w.redo()->click();
    QVERIFY(w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled());
    QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);

    w.undo()->click();
    w.button("addButton")->click();
    QVERIFY(w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled()); // a new operation drops the redo
    QCOMPARE(w.view->count(), 3);

    w.view->setCurrentRow(0);
    w.button("downButton")->click();
    w.button("upButton")->click();
    w.button("deleteButton")->click();
    QCOMPARE(w.view->count(), 2);

    while (w.undo()->isEnabled())
        w.undo()->click();
    QVERIFY(w.redo()->isEnabled());
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.view->item(0)->text(), QString("xterm"));
    while (w.redo()->isEnabled())
        w.redo()->click();
    QVERIFY(w.undo()->isEnabled());

    w.button("saveButton")->click();
    QVERIFY(emissions > 10);
    QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(", ")));
}

/* The status bar and the window's title, as the window manager shows it. */
void TestMainwin::statusBarFollowsModifiedState()
{
    writeScript("xterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    const auto title = [&] { return w.win.windowHandle()->title(); };
    QCOMPARE(w.message(), QString());
    QCOMPARE(title(), QString("QVXSessRun"));
    w.toggle(0);
    QCOMPARE(w.message(), QString("Modified"));
    QCOMPARE(title(), QString("QVXSessRun*"));
    w.toggle(0); // back to the state read
    QCOMPARE(w.message(), QString());
    QCOMPARE(title(), QString("QVXSessRun"));
    w.button("addButton")->click();
    QCOMPARE(w.message(), QString("Modified"));
    QCOMPARE(title(), QString("QVXSessRun*"));
    w.undo()->click();
    QCOMPARE(w.message(), QString());
    QCOMPARE(title(), QString("QVXSessRun"));
    w.button("addButton")->click();
    w.button("saveButton")->click();
    QCOMPARE(title(), QString("QVXSessRun"));
}

void TestMainwin::saveAlwaysWrites_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("no script yet") << QByteArray() << QByteArray("#!/bin/sh\n");
    QTest::newRow("hand-written script")
        << QByteArray("# my comment\nxterm\n#[INACTIVE]#xclock&\n")
        << QByteArray("#!/bin/sh\n# my comment\nxterm\n#[INACTIVE]#xclock&\n");
    QTest::newRow("hand-written script with its own first line")
        << QByteArray("#!/bin/bash\n\nif true; then\n  xterm\nfi\nexec i3")
        << QByteArray("#!/bin/bash\n\nif true; then\n  xterm\nfi\nexec i3");
}

void TestMainwin::saveAlwaysWrites()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, written);

    if (!script.isNull())
        writeScript(script);
    Window w;
    QVERIFY(!w.undo()->isEnabled());
    w.button("saveButton")->click();
    // Nothing was changed: the same bytes, with a first line "#!/bin/sh" where it had none.
    QCOMPARE(readScript(), written);
    QCOMPARE(w.message(), QString("Saved"));
    QVERIFY(!w.undo()->isEnabled()); // nothing was recorded
    QVERIFY(!w.list->modified());
}

void TestMainwin::saveRecordsOnlyChanges_data()
{
    QTest::addColumn<bool>("change");
    QTest::newRow("nothing changed") << false;
    QTest::newRow("check box changed") << true;
}

/* Undo after a Save undoes the user's last change at once; a Save of an
 * untouched list leaves nothing to undo. */
void TestMainwin::saveRecordsOnlyChanges()
{
    QFETCH(bool, change);

    writeScript("xterm&\nxclock&\nxload&\n");
    Window w;
    if (change)
        w.toggle(1);
    QSignalSpy spy(w.list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());
    w.button("saveButton")->click();
    w.button("saveButton")->click();
    QCOMPARE(spy.count(), 0);
    QCOMPARE(w.message(), QString("Saved"));
    QCOMPARE(w.undo()->isEnabled(), change);
    if (!change)
        return;

    w.undo()->click();
    QCOMPARE(w.view->item(1)->checkState(), Qt::Checked);
    QVERIFY(!w.undo()->isEnabled());
    QVERIFY(w.list->modified());
    QCOMPARE(w.message(), QString("Modified"));
}

void TestMainwin::foreignBytesKept_data()
{
    QTest::addColumn<bool>("saveFirst");
    QTest::newRow("Quit") << false;
    QTest::newRow("Save, then Quit") << true;
}

/* A script written in Latin-1 is not the user's change: it is saved as it
 * was, and Quit has nothing to ask. */
void TestMainwin::foreignBytesKept()
{
    QFETCH(bool, saveFirst);

    const QByteArray script("#!/bin/sh\necho caf\xe9&\n#[INACTIVE]#xmessage \xc4rger \xff&\n");
    writeScript(script);
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    QVERIFY(w.view->item(0)->text().contains(QChar::ReplacementCharacter));
    if (saveFirst) {
        w.button("saveButton")->click();
        QCOMPARE(readScript(), script);
        QVERIFY(!w.undo()->isEnabled());
    }

    bool asked = false;
    ModalBoxWatch<QWidget> watch([&](QWidget *box) {
        asked = true;
        box->close();
    });
    QCOMPARE(runLoop([&] { w.button("quitButton")->click(); }), 0);
    QVERIFY(!asked);
    QCOMPARE(readScript(), script);
}

/* Rows typed as a person would: a command that ends in its own "&" and a
 * row of blanks.  The saved script must still be one the login shell can
 * run, and each row shows exactly what its entry holds. */
void TestMainwin::typedRowsGiveValidScript()
{
    const QString sh = QStandardPaths::findExecutable("sh", { "/bin" });
    QVERIFY2(!sh.isEmpty(), "no /bin/sh");

    writeScript("#!/bin/sh\nxterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    for (const char *typed : { "sleep 30 &", "   " }) {
        w.button("addButton")->click();
        QLineEdit *editor = w.editor(w.view->count() - 1);
        QVERIFY(editor);
        QTest::keyClicks(editor, typed);
    }
    w.button("saveButton")->click();
    QCOMPARE(w.message(), QString("Saved"));

    for (int i = 0; i < w.view->count(); i++) {
        QListWidgetItem *item = w.view->item(i);
        const auto *entry
            = static_cast<const command_entry *>(item->data(Qt::UserRole).value<void *>());
        QVERIFY(entry);
        QCOMPARE(item->text(), QString::fromUtf8(entry->text));
    }
    QProcess check;
    check.start(sh, { "-n", script_path() });
    QVERIFY(check.waitForFinished(10000));
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0,
             (readScript() + check.readAllStandardError()).constData());
}

void TestMainwin::failedSaveKeepsWork_data()
{
    QTest::addColumn<bool>("byQuit");
    QTest::newRow("Save") << false;
    QTest::newRow("Save in the quit question") << true;
}

/* A save that cannot be written (here the script's name is taken by a
 * directory, which stops root as well) reports the error and leaves the
 * window, its rows and its history as they were; a later Save writes every
 * edit. */
void TestMainwin::failedSaveKeepsWork()
{
    QFETCH(bool, byQuit);

    writeScript("#!/bin/sh\nxterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggle(0);
    w.button("addButton")->click();
    QLineEdit *editor = w.editor(1);
    QVERIFY(editor);
    QTest::keyClicks(editor, "true");

    QVERIFY(QFile::remove(script_path()));
    QVERIFY(QDir().mkpath(script_path()));

    QStringList errors;
    ModalBoxWatch<> watch([&](QMessageBox *box) {
        if (box->button(QMessageBox::Discard)) { // the quit question
            box->button(QMessageBox::Save)->click();
            return;
        }
        // The directory in the script's place is a change by someone else:
        // the user chooses to overwrite it.
        for (QAbstractButton *b : box->buttons())
            if (b->text() == "&Overwrite") {
                b->click();
                return;
            }
        errors << box->windowTitle() + "|" + box->text();
        box->button(QMessageBox::Ok)->click();
    });
    const int result = runLoop([&] {
        if (byQuit)
            w.button("quitButton")->click();
        else
            w.button("saveButton")->click();
    });

    QCOMPARE(result, 99); // still running
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.at(0).startsWith("Error|qvxsessrun_write(): rename("),
             qPrintable(errors.at(0)));
    QVERIFY(w.win.isVisible());
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(w.view->item(1)->text(), QString("true"));
    QVERIFY(w.list->modified());
    QVERIFY(w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled());
    QCOMPARE(w.message(), QString("The script was not saved."));
    QTest::qWait(5300); // no time-out
    QCOMPARE(w.message(), QString("The script was not saved."));

    // The directory is out of the way again: the next Save writes it all.
    QVERIFY(QDir().rmdir(script_path()));
    w.button("saveButton")->click();
    QCOMPARE(errors.size(), 1);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#xterm&\ntrue&\n"));
    QCOMPARE(w.message(), QString("Saved"));
    QVERIFY(!w.list->modified());

    // Toggle, add, set: the failed save recorded nothing on top.
    int undone = 0;
    while (w.undo()->isEnabled() && undone < 10) {
        w.undo()->click();
        ++undone;
    }
    QCOMPARE(undone, 3);
    QCOMPARE(w.view->count(), 1);
    QCOMPARE(w.view->item(0)->checkState(), Qt::Checked);
}

void TestMainwin::standardShortcuts_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Undo") << int(QKeySequence::Undo);
    QTest::newRow("Redo") << int(QKeySequence::Redo);
    QTest::newRow("New adds a row") << int(QKeySequence::New);
    QTest::newRow("Save") << int(QKeySequence::Save);
}

/* The platform's keys click their buttons; a disabled button ignores them.
 * Quit has no key in the offscreen platform's scheme: the program test
 * presses it on X. */
void TestMainwin::standardShortcuts()
{
    QFETCH(int, key);
    const auto standard = QKeySequence::StandardKey(key);
    QVERIFY(!QKeySequence::keyBindings(standard).isEmpty());

    writeScript("#!/bin/sh\nxterm&\n");
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    QSignalSpy spy(w.list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    switch (standard) {
    case QKeySequence::Undo:
        QTest::keySequence(&w.win, QKeySequence(standard)); // disabled: nothing
        QCOMPARE(spy.count(), 0);
        w.toggle(0);
        QTest::keySequence(&w.win, QKeySequence(standard));
        QCOMPARE(w.view->item(0)->checkState(), Qt::Checked);
        QVERIFY(w.redo()->isEnabled());
        break;
    case QKeySequence::Redo:
        QTest::keySequence(&w.win, QKeySequence(standard)); // disabled: nothing
        QCOMPARE(spy.count(), 0);
        w.toggle(0);
        w.undo()->click();
        QTest::keySequence(&w.win, QKeySequence(standard));
        QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);
        QVERIFY(!w.redo()->isEnabled());
        break;
    case QKeySequence::New:
        QTest::keySequence(&w.win, QKeySequence(standard));
        QCOMPARE(w.view->count(), 2);
        QVERIFY(w.editor(1));
        break;
    case QKeySequence::Save:
        w.toggle(0);
        QTest::keySequence(&w.win, QKeySequence(standard));
        QCOMPARE(readScript(), QByteArray("#!/bin/sh\n#[INACTIVE]#xterm&\n"));
        QCOMPARE(w.message(), QString("Saved"));
        break;
    default:
        QFAIL("no case for this key");
    }
}

void TestMainwin::keysInEditor_data()
{
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<bool>("cursorAtStart");
    QTest::addColumn<QString>("text"); // the editor's after the key

    QTest::newRow("Undo undoes the typing") << QKeySequence(QKeySequence::Undo) << false << "xterm";
    QTest::newRow("Delete deletes a character")
        << QKeySequence(Qt::Key_Delete) << true << "term -ls";
}

/* Inside an open row editor, keys that the window or the list also use
 * edit the text: the rows and the list's last operation stay. */
void TestMainwin::keysInEditor()
{
    QFETCH(QKeySequence, key);
    QFETCH(bool, cursorAtStart);
    QFETCH(QString, text);

    writeScript("#!/bin/sh\nxterm&\nxclock&\n");
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.toggle(1);
    w.view->editItem(w.view->item(0));
    QLineEdit *editor = w.editor(0);
    QVERIFY(editor);
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    editor->end(false);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, " -ls");
    QCOMPARE(editor->text(), QString("xterm -ls"));
    if (cursorAtStart)
        editor->home(false);

    QTest::keySequence(editor, key);
    QCOMPARE(editor->text(), text);
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.view->item(1)->checkState(), Qt::Unchecked); // the toggle stays
    QVERIFY(w.undo()->isEnabled());
    QVERIFY(!w.redo()->isEnabled());
}

/* Redo by its button's mnemonic, which takes no focus, while a row's
 * editor is open, then Save by its key: the script holds what was typed. */
void TestMainwin::redoByMnemonicWhileTyping()
{
    writeScript("#!/bin/sh\na&\nb&\nc&\n");
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.view->setCurrentRow(0);
    w.list->moveDown(); // b a c
    w.list->undo(); // a b c, the move can be redone
    w.view->setCurrentRow(2);
    w.view->editItem(w.view->item(2));
    QLineEdit *editor = w.editor(2);
    QVERIFY(editor);
    editor->setFocus();
    QTRY_VERIFY(editor->hasFocus());
    editor->end(false);
    QTest::keyClicks(editor, " -x");
    QTest::keyClick(editor, Qt::Key_R, Qt::AltModifier);
    QTRY_VERIFY(!w.redo()->isEnabled());
    QVERIFY(editor->hasFocus());
    QTest::keySequence(editor, QKeySequence::Save);
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\nb&\na&\nc -x&\n"));
}

/* Rows named r0, r1, ... in a script. */
static QByteArray numberedRows(int count)
{
    QByteArray script = "#!/bin/sh\n";
    for (int i = 0; i < count; i++)
        script += "r" + QByteArray::number(i) + "&\n";
    return script;
}

static QStringList rowTexts(const QListWidget *view)
{
    QStringList texts;
    for (int i = 0; i < view->count(); i++)
        texts << view->item(i)->text();
    return texts;
}

void TestMainwin::rowButtonsFollowTheCurrentRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("canDelete");
    QTest::addColumn<bool>("canUp");
    QTest::addColumn<bool>("canDown");

    QTest::newRow("no rows") << 0 << -1 << false << false << false;
    QTest::newRow("rows, none current") << 3 << -1 << false << false << false;
    QTest::newRow("the first row") << 3 << 0 << true << false << true;
    QTest::newRow("a middle row") << 3 << 1 << true << true << true;
    QTest::newRow("the last row") << 3 << 2 << true << true << false;
    QTest::newRow("the only row") << 1 << 0 << true << false << false;
}

/* Delete, Up and Down are enabled only where they can act, on the buttons
 * and in the row menu; their keys then do nothing. */
void TestMainwin::rowButtonsFollowTheCurrentRow()
{
    QFETCH(int, rows);
    QFETCH(int, current);
    QFETCH(bool, canDelete);
    QFETCH(bool, canUp);
    QFETCH(bool, canDown);

    writeScript(numberedRows(rows));
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.view->setCurrentRow(current);
    const QPair<const char *, bool> expected[]
        = { { "delete", canDelete }, { "up", canUp }, { "down", canDown } };
    for (const auto &e : expected) {
        QCOMPARE(w.button(QString(e.first) + "Button")->isEnabled(), e.second);
        QCOMPARE(w.win.findChild<QAction *>(e.first)->isEnabled(), e.second);
    }

    const QStringList before = rowTexts(w.view);
    if (!canDown)
        QTest::keyClick(&w.win, Qt::Key_N, Qt::AltModifier);
    if (!canDelete)
        QTest::keyClick(&w.win, Qt::Key_D, Qt::AltModifier);
    QCOMPARE(rowTexts(w.view), before);
    QVERIFY(!w.list->canUndo());
}

/* Down on the last row by the focused button: the button is disabled, and
 * the keyboard is left on the list, where Up then moves the row back. */
void TestMainwin::focusLeavesADisabledButton()
{
    writeScript(numberedRows(3));
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.view->setCurrentRow(1);
    QPushButton *down = w.button("downButton");
    down->setFocus();
    QTRY_VERIFY(down->hasFocus());

    QTest::keyClick(down, Qt::Key_Space);
    QCOMPARE(rowTexts(w.view), QStringList({ "r0", "r2", "r1" }));
    QVERIFY(!down->isEnabled());
    QVERIFY(w.view->hasFocus());
    QTest::keyClick(w.view, Qt::Key_Up); // the list has the keys: the current row moves up
    QCOMPARE(w.view->currentRow(), 1);
}

void TestMainwin::sharedMnemonicOnlyFocuses_data()
{
    QTest::addColumn<bool>("changeFirst"); // Undo enabled
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("focused"); // after Alt+U

    QTest::newRow("Up disabled, Undo enabled") << true << 0 << "undoButton";
    QTest::newRow("Undo disabled, Up enabled") << false << 1 << "upButton";
    QTest::newRow("both enabled") << true << 1 << "undoButton";
}

/* Undo and Up share their letter: the key only takes the focus to one of
 * them, so that it never undoes where Up is disabled, nor moves a row
 * while Undo is. */
void TestMainwin::sharedMnemonicOnlyFocuses()
{
    QFETCH(bool, changeFirst);
    QFETCH(int, current);
    QFETCH(QString, focused);

    writeScript(numberedRows(3));
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    if (changeFirst)
        w.toggle(2);
    w.view->setCurrentRow(current);
    w.view->setFocus();
    QTRY_VERIFY(w.view->hasFocus());

    QTest::keyClick(&w.win, Qt::Key_U, Qt::AltModifier);
    QTest::qWait(200); // a click would be over by now
    QCOMPARE(rowTexts(w.view), QStringList({ "r0", "r1", "r2" }));
    QCOMPARE(w.view->item(2)->checkState(), changeFirst ? Qt::Unchecked : Qt::Checked);
    QVERIFY2(w.button(focused)->hasFocus(), qPrintable(focused));
}

void TestMainwin::fastKeysCount_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("autoRepeat"); // held down rather than pressed
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("rowOfR0"); // where the first row ends up; -1: deleted

    QTest::newRow("Alt+N pressed fast") << int(Qt::Key_N) << false << 20 << 20;
    QTest::newRow("Alt+N held down") << int(Qt::Key_N) << true << 20 << 20;
    QTest::newRow("Alt+D pressed fast") << int(Qt::Key_D) << false << 5 << -1;
    QTest::newRow("Alt+R pressed fast") << int(Qt::Key_R) << false << 10 << 10;
}

/* Every press of a button's letter acts, however fast the presses come
 * and also while the key is held down: none is lost to the button's look
 * of being pressed. */
void TestMainwin::fastKeysCount()
{
    QFETCH(int, key);
    QFETCH(bool, autoRepeat);
    QFETCH(int, presses);
    QFETCH(int, rowOfR0);

    writeScript(numberedRows(30));
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.view->setCurrentRow(0);
    if (key == Qt::Key_R) {
        for (int i = 0; i < presses; i++)
            w.list->moveDown();
        while (w.list->canUndo())
            w.list->undo();
        QCOMPARE(w.view->currentRow(), 0);
    }
    w.view->setFocus();
    QTRY_VERIFY(w.view->hasFocus());

    const QString text = QString(QChar(key)).toLower();
    for (int i = 0; i < presses; i++) {
        const bool repeated = autoRepeat && i > 0;
        if (repeated)
            QTest::simulateEvent(w.view, false, key, Qt::AltModifier, text, true);
        QTest::simulateEvent(w.view, true, key, Qt::AltModifier, text, repeated);
        if (!autoRepeat)
            QTest::simulateEvent(w.view, false, key, Qt::AltModifier, text, false);
    }
    if (autoRepeat)
        QTest::simulateEvent(w.view, false, key, Qt::AltModifier, text, false);
    QTest::qWait(200); // a click still animated would be over by now

    const QStringList rows = rowTexts(w.view);
    QCOMPARE(rows.indexOf("r0"), rowOfR0);
    QCOMPARE(rows.size(), rowOfR0 < 0 ? 30 - presses : 30);
    if (rowOfR0 < 0)
        QCOMPARE(rows.first(), "r" + QString::number(presses));
}

void TestMainwin::savedMessageClearsAfterFiveSeconds()
{
    writeScript("true&\n"); // a command that runs: nothing to count after the save
    Window w;
    w.button("saveButton")->click();
    QCOMPARE(w.message(), QString("Saved"));
    QTest::qWait(4500);
    QCOMPARE(w.message(), QString("Saved"));
    QTRY_COMPARE_WITH_TIMEOUT(w.message(), QString(), 1500);
}

void TestMainwin::changeReplacesSavedAtOnce()
{
    writeScript("xterm&\n");
    Window w;
    w.button("saveButton")->click();
    QCOMPARE(w.message(), QString("Saved"));
    w.toggle(0);
    QCOMPARE(w.message(), QString("Modified"));
    // The time-out of "Saved" must not clear its successor.
    QTest::qWait(5300);
    QCOMPARE(w.message(), QString("Modified"));
}

void TestMainwin::savedMessageCountsMarks_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("checkedBeforeSave");
    QTest::addColumn<QString>("message");

    const QByteArray none = "#!/bin/sh\ntrue&\n#[INACTIVE]#true;&\n";
    const QByteArray two = "#!/bin/sh\ntrue;&\nqvx-no-such-command&\ntrue&\n";
    const QByteArray one = "#!/bin/sh\ntrue # mine&\ntrue&\n";
    QTest::newRow("nothing marked") << none << true << "Saved";
    QTest::newRow("two marked") << two << true
                                << "Saved. 2 command(s) would not run as written: F8 goes to them.";
    QTest::newRow("one marked") << one << true
                                << "Saved. 1 command(s) would not run as written: F8 goes to them.";
    QTest::newRow("saved while checking, nothing marked") << none << false << "Saved";
    QTest::newRow("saved while checking, two marked")
        << two << false << "Saved. 2 command(s) would not run as written: F8 goes to them.";
}

/* The save writes whatever the rows hold and then says how many of them
 * would not run; a save before the checks end says so when they end. */
/*
 * The window as the program builds it: shown before its rows and icons,
 * which come before anything else happens and leave the buttons as large
 * as they are from the start.
 */
void TestMainwin::filledAfterShown()
{
    writeScript("true&\nfi&\n");
    Window built;
    Mainwin win(nullptr, false);
    QListWidget *view = win.findChild<QListWidget *>();
    QPushButton *undo = win.findChild<QPushButton *>("undoButton");
    QVERIFY(view && undo);
    QCOMPARE(view->count(), 0);
    win.show();
    const QSize size = undo->sizeHint();
    win.fillAfterShown();
    QCOMPARE(view->count(), 2);
    QCOMPARE(undo->sizeHint(), size);
    for (const char *name : { "undoButton", "saveButton", "quitButton" })
        QCOMPARE(picture(win.findChild<QPushButton *>(name)->icon()),
                 picture(built.button(name)->icon()));
    QCOMPARE(win.windowIcon().isNull(), built.win.windowIcon().isNull());
    QSignalSpy finished(win.findChild<List *>(), SIGNAL(checksFinished()));
    QVERIFY(finished.wait(10000));
    QCOMPARE(win.findChild<List *>()->markedCount(), 1);
}

/* Without a shell to check with, the status bar says so and why. */
void TestMainwin::noShellSaysWhy()
{
    writeScript("fi&\nxterm&\n");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray missing = QFile::encodeName(dir.filePath("sh"));
    const char *const shell = shell_program;
    shell_program = missing.constData();
    Window w;
    QSignalSpy finished(w.list, SIGNAL(checksFinished()));
    const bool checked = finished.wait(10000);
    shell_program = shell;
    QVERIFY(checked);
    QVERIFY2(w.message().contains(QFile::decodeName(missing)), qPrintable(w.message()));
    QCOMPARE(w.list->markedCount(), 0);
}

void TestMainwin::savedMessageCountsMarks()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, checkedBeforeSave);
    QFETCH(QString, message);

    writeScript(script);
    Window w;
    QSignalSpy finished(w.list, SIGNAL(checksFinished()));
    QVERIFY(finished.isValid());
    if (checkedBeforeSave)
        QVERIFY(finished.wait(10000));

    w.button("saveButton")->click();
    QCOMPARE(readScript(), script);
    if (checkedBeforeSave) {
        QCOMPARE(w.message(), message);
    } else {
        QCOMPARE(w.message(), QString("Saved"));
        QVERIFY(finished.wait(10000));
        QCOMPARE(w.message(), message);
    }
}

/* A count that arrives after the next change would describe the script no
 * more: "Modified" stays. */
void TestMainwin::changeBeforeCountKeepsModified()
{
    writeScript("#!/bin/sh\ntrue;&\ntrue&\n");
    Window w;
    QSignalSpy finished(w.list, SIGNAL(checksFinished()));
    QVERIFY(finished.isValid());
    w.button("saveButton")->click();
    QCOMPARE(w.message(), QString("Saved"));
    w.toggle(1);
    QCOMPARE(w.message(), QString("Modified"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(w.list->markedCount(), 1);
    QCOMPARE(w.message(), QString("Modified"));
}

void TestMainwin::quitWithoutChanges_data()
{
    QTest::addColumn<bool>("saveFirst");
    QTest::addColumn<bool>("change");
    QTest::newRow("unchanged") << false << false;
    QTest::newRow("changed, then saved") << true << true;
    QTest::newRow("changed back") << false << true;
}

void TestMainwin::quitWithoutChanges()
{
    QFETCH(bool, saveFirst);
    QFETCH(bool, change);

    writeScript("xterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    if (change)
        w.toggle(0);
    if (saveFirst)
        w.button("saveButton")->click();
    else if (change)
        w.toggle(0);

    bool asked = false;
    ModalBoxWatch<QWidget> watch([&](QWidget *box) {
        asked = true;
        box->close();
    });
    QCOMPARE(runLoop([&] { w.button("quitButton")->click(); }), 0);
    QVERIFY(!asked);
}

enum Answer { Save, Discard, Cancel, Escape };
Q_DECLARE_METATYPE(Answer)

void TestMainwin::quitQuestion_data()
{
    QTest::addColumn<bool>("byCloseEvent");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("quits");
    QTest::addColumn<QByteArray>("scriptAfter");

    const QByteArray before("#!/bin/sh\nxterm&\n");
    const QByteArray saved("#!/bin/sh\n#[INACTIVE]#xterm&\n");
    for (bool byClose : { false, true }) {
        const char *via = byClose ? "close event" : "Quit button";
        QTest::addRow("%s, Save", via) << byClose << Save << true << saved;
        QTest::addRow("%s, Quit without saving", via) << byClose << Discard << true << before;
        QTest::addRow("%s, Cancel", via) << byClose << Cancel << false << before;
        QTest::addRow("%s, Escape", via) << byClose << Escape << false << before;
    }
}

void TestMainwin::quitQuestion()
{
    QFETCH(bool, byCloseEvent);
    QFETCH(Answer, answer);
    QFETCH(bool, quits);
    QFETCH(QByteArray, scriptAfter);

    writeScript("#!/bin/sh\nxterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.toggle(0);
    QVERIFY(w.list->modified());

    // Checks the box and answers it from inside its own event loop.
    QStringList seen;
    ModalBoxWatch<> watch([&](QMessageBox *box) {
        watch.stop();
        seen << box->windowTitle() << box->text() << box->informativeText();
        for (QMessageBox::StandardButton b :
             { QMessageBox::Save, QMessageBox::Discard, QMessageBox::Cancel })
            seen << (box->button(b) ? box->button(b)->text() : QString("<none>"));
        seen << QString::number(box->standardButtons().operator int());
        seen << (box->defaultButton() == box->button(QMessageBox::Save) ? "default Save" : "?");
        seen << (box->icon() == QMessageBox::Question ? "Question" : "?");
        seen << (box->windowModality() == Qt::WindowModal ? "WindowModal" : "?");
        seen << (box->windowIcon().isNull() ? "no window icon" : "window icon");
        seen << (box->parentWidget() == &w.win ? "over the window" : "?");
        switch (answer) {
        case Save:
            box->button(QMessageBox::Save)->click();
            break;
        case Discard:
            box->button(QMessageBox::Discard)->click();
            break;
        case Cancel:
            box->button(QMessageBox::Cancel)->click();
            break;
        case Escape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        }
    });

    bool closed = true;
    const int result = runLoop([&] {
        if (byCloseEvent)
            closed = w.win.close(); // what a close request of the window manager runs
        else
            w.button("quitButton")->click();
    });

    const QStringList expected {
        "The file has been modified.",
        "The file has been modified.",
        "Do you want to save your changes?",
        "&Save",
        "&Quit without saving",
        "&Cancel",
        QString::number(int(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)),
        "default Save",
        "Question",
        "WindowModal",
        "window icon",
        "over the window",
    };
    QCOMPARE(seen, expected);
    QCOMPARE(result, quits ? 0 : 99);
    QCOMPARE(readScript(), scriptAfter);
    if (byCloseEvent)
        QVERIFY(!closed); // the close event is always ignored
    QVERIFY(w.win.isVisible());
    if (!quits) {
        QVERIFY(w.list->modified());
        QCOMPARE(w.message(), QString("Modified"));
        QCOMPARE(w.view->item(0)->checkState(), Qt::Unchecked);
    }
}

void TestMainwin::openEditorIsNotLost_data()
{
    QTest::addColumn<bool>("byQuit");
    QTest::newRow("Save") << false;
    QTest::newRow("Quit, then Save in the question") << true;
}

/* A shortcut or a close request moves no focus, so the editor is still open
 * with the text typed when the window saves or quits. */
void TestMainwin::openEditorIsNotLost()
{
    QFETCH(bool, byQuit);

    writeScript("xterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.view->editItem(w.view->item(0));
    QLineEdit *editor = w.view->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText("xclock -digital");
    QCOMPARE(w.view->item(0)->text(), QString("xterm")); // not yet committed

    if (byQuit) {
        bool asked = false;
        ModalBoxWatch<> watch([&](QMessageBox *box) {
            asked = true;
            box->button(QMessageBox::Save)->click();
        });
        QCOMPARE(runLoop([&] { w.button("quitButton")->click(); }), 0);
        QVERIFY(asked);
    } else {
        w.button("saveButton")->click();
        QCOMPARE(w.message(), QString("Saved"));
    }
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\nxclock -digital&\n"));
    QCOMPARE(w.view->item(0)->text(), QString("xclock -digital"));
}

/* Add by its shortcut moves no focus either: the open edit is kept and the
 * new row gets the editor, so that what is typed next goes there. */
void TestMainwin::addWhileEditing()
{
    writeScript("xterm&\n");
    Window w;
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    w.view->editItem(w.view->item(0));
    QLineEdit *editor = w.view->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText("xclock");

    w.button("addButton")->click();
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.view->item(0)->text(), QString("xclock"));
    QVERIFY(w.editor(1));
    QVERIFY(!w.editor(0));

    editor = w.editor(1);
    QVERIFY(editor);
    editor->setText("xload");
    w.button("saveButton")->click();
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\nxclock&\nxload&\n"));
}

/* Drops the files on the list as another application's drag does. */
static void dropFiles(QListWidget *view, const QStringList &paths)
{
    QByteArray uris;
    for (const QString &path : paths)
        uris += "file://" + path.toUtf8().toPercentEncoding("/") + "\r\n";
    drop_uri_list(view, uris);
}

/* A person who dropped files and finds fewer rows learns which and why
 * from the status bar, for as long as nothing else happens; the files
 * added at once go with one Undo. */
void TestMainwin::dropTellsWhatWasSkipped()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString good = dir.filePath("Good App.desktop");
    const QString other = dir.filePath("Other App.desktop");
    for (const QString &path : { good, other }) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Desktop Entry]\nExec=good %U\n");
    }
    const QString missing = dir.filePath("missing.desktop");
    const QString folder = dir.path();

    writeScript("xterm&\n");
    Window w;
    w.win.resize(1200, 400);
    dropFiles(w.view, { good });
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.message(), QString("Modified"));

    dropFiles(w.view, { missing, good, folder, other });
    QCOMPARE(w.view->count(), 4);
    QCOMPARE(w.message(),
             "2 dropped file(s) could not be added: missing.desktop: not found; "
                 + QFileInfo(folder).fileName() + ": a folder, not a file");
    w.button("undoButton")->click();
    QCOMPARE(w.view->count(), 2);
    w.button("redoButton")->click();
    QCOMPARE(w.view->count(), 4);

    w.button("saveButton")->click();
    dropFiles(w.view, { missing });
    QCOMPARE(w.view->count(), 4);
    const QString one = "1 dropped file(s) could not be added: missing.desktop: not found";
    QCOMPARE(w.message(), one);
    // Unlike "Saved", it has no time-out.
    QTest::qWait(5300);
    QCOMPARE(w.message(), one);
}

/* A message wider than the status bar is never cut without a sign: it ends
 * in an ellipsis, and the bar's tool tip shows it whole; a screen reader
 * hears it whole, as the bar's name. */
void TestMainwin::longMessageShowsWhole()
{
    writeScript("xterm&\n");
    Window w;
    w.win.resize(500, 316);
    w.win.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.win));
    QStatusBar *bar = w.win.statusBar();
    const QString longMessage = "notexist-cmd ended at once with status 127: "
                                "sh: 1: notexist-cmd: not found, and much more besides that";
    const QString shortMessage = "Saved";
    bar->showMessage(longMessage);
    QCOMPARE(bar->toolTip(), longMessage);
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), longMessage);

    // Wide enough for all of it, the bar needs no tool tip.
    w.win.resize(1400, 316);
    QTRY_COMPARE(bar->toolTip(), QString());
    w.win.resize(500, 316);
    QTRY_COMPARE(bar->toolTip(), longMessage);

    bar->showMessage(shortMessage);
    QCOMPARE(bar->toolTip(), QString());
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Name), shortMessage);
}

/* Installed applications in a data folder of the test's own, for as long
 * as the object lives: the environment points the listing at it alone. */
class InstalledFixture
{
public:
    InstalledFixture() : savedHome(qgetenv("XDG_DATA_HOME")), savedDirs(qgetenv("XDG_DATA_DIRS"))
    {
        if (!dir.isValid() || !QDir().mkpath(dir.filePath("share/applications")))
            return;
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("home")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath("share")));
        ok = add("browser.desktop",
                 "Name=Web Browser\nExec=web-browser %u\nActions=private;\n\n"
                 "[Desktop Action private]\nName=Private\nExec=web-browser --private %u\n")
            && add("volume.desktop", "Name=Volume Control\nExec=pasystray")
            && add("launcher.desktop", "Name=My Launcher\nExec=launch --entry %k --title=a\\sb %F");
    }
    ~InstalledFixture()
    {
        qputenv("XDG_DATA_HOME", savedHome);
        qputenv("XDG_DATA_DIRS", savedDirs);
    }
    QString path(const QString &file) const { return dir.filePath("share/applications/" + file); }

    bool ok = false;

private:
    bool add(const QString &file, const QByteArray &keys)
    {
        QFile f(path(file));
        const QByteArray content = "[Desktop Entry]\nType=Application\n" + keys + "\n";
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    }

    QTemporaryDir dir;
    QByteArray savedHome, savedDirs;
};

/*
 * Ctrl+Shift+N opens the dialog; once it has read the applications, the
 * filter is typed, then the keys (d: Down, D: Shift+Down, u: Shift+Up) and
 * Enter, or Escape.  False when no dialog came.
 */
static bool pickApplications(QWidget *window, const QString &typed, const QString &keys,
                             bool escape)
{
    bool seen = false;
    ModalBoxWatch<AppDialog> watch([&](AppDialog *dialog) {
        if (!dialog->applications()->isLoaded())
            return;
        watch.stop();
        seen = true;
        QLineEdit *filter = dialog->findChild<QLineEdit *>("filter");
        QTest::keyClicks(filter, typed);
        for (const QChar k : keys)
            QTest::keyClick(filter, k == 'u' ? Qt::Key_Up : Qt::Key_Down,
                            k == 'd' ? Qt::NoModifier : Qt::ShiftModifier);
        QTest::keyClick(filter, escape ? Qt::Key_Escape : Qt::Key_Return);
    });
    QTest::keySequence(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    // The filter's clear button fades in with an animation that ends, and
    // deletes itself, at a tick of the event loop after the dialog has gone;
    // the last test has no event loop after it to do that.
    QTest::qWait(100);
    return seen;
}

void TestMainwin::addApplication_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QStringList>("files"); // whose drop gives the same rows

    // The list: My Launcher, Volume Control, Web Browser.
    QTest::newRow("by a part of its name")
        << "volu" << QString() << false << QStringList("volume.desktop");
    QTest::newRow("the command's %k is its file")
        << "launch" << QString() << false << QStringList("launcher.desktop");
    QTest::newRow("several, selected upwards, in the list's order")
        << QString() << "ddu" << false << QStringList({ "volume.desktop", "browser.desktop" });
    QTest::newRow("all three") << QString() << "DD" << false
                               << QStringList(
                                      { "launcher.desktop", "volume.desktop", "browser.desktop" });
    QTest::newRow("Escape adds nothing") << "volu" << QString() << true << QStringList();
}

/*
 * An application picked in the dialog becomes a row exactly as a drop of
 * its file does, current and in view, with one undo step for each.
 */
void TestMainwin::addApplication()
{
    QFETCH(QString, typed);
    QFETCH(QString, keys);
    QFETCH(bool, escape);
    QFETCH(QStringList, files);
    InstalledFixture installed;
    QVERIFY(installed.ok);
    QStringList paths;
    for (const QString &file : qAsConst(files))
        paths << installed.path(file);

    writeScript("#!/bin/sh\nxterm&\n");
    QStringList dropped { "xterm" };
    {
        Window d;
        dropFiles(d.view, paths);
        for (int i = 1; i < d.view->count(); i++)
            dropped << d.view->item(i)->text();
    }
    QCOMPARE(dropped.size(), files.size() + 1);

    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    QVERIFY2(pickApplications(&w.win, typed, keys, escape), "Ctrl+Shift+N opened no dialog");

    QStringList rows;
    for (int i = 0; i < w.view->count(); i++)
        rows << w.view->item(i)->text();
    QCOMPARE(rows, dropped);
    if (files.contains("launcher.desktop"))
        QVERIFY(rows.contains("launch --entry '" + installed.path("launcher.desktop")
                              + "' --title=a b"));
    if (escape) {
        QVERIFY(!w.list->modified());
        QVERIFY(!w.undo()->isEnabled());
        return;
    }
    QCOMPARE(w.view->currentRow(), 1);
    QCOMPARE(w.message(), QString("Modified"));
    // The applications picked at once go with one Undo, as dropped files do.
    QVERIFY(w.undo()->isEnabled());
    w.undo()->click();
    QCOMPARE(w.view->count(), 1);
    QVERIFY(!w.list->modified());
}

/* Opening the dialog over a row's editor loses nothing typed there. */
void TestMainwin::addApplicationKeepsOpenEdit()
{
    InstalledFixture installed;
    QVERIFY(installed.ok);
    writeScript("xterm&\n");
    Window w;
    w.win.show();
    QApplication::setActiveWindow(&w.win);
    QVERIFY(QTest::qWaitForWindowActive(&w.win));
    w.view->editItem(w.view->item(0));
    QLineEdit *editor = w.editor(0);
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, " -ls");

    QVERIFY2(pickApplications(editor, "volu", QString(), false), "no dialog");
    w.button("saveButton")->click();
    QCOMPARE(readScript(), QByteArray("#!/bin/sh\nxterm -ls&\npasystray&\n"));
}

QTEST_MAIN(TestMainwin)
#include "tst_mainwin.moc"
