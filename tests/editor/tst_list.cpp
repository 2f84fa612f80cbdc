// SPDX-License-Identifier: BSD-2-Clause
#include "dropevent.h"
#include "editor/List.h"
#include "editor/ListWidget.h"
#include "editor/RowDelegate.h"
#include "localeencoding.h"
#include "modalbox.h"
#include "store/store.h"
#include "testscript.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>
#include <QTimer>
#include <QTranslator>

#ifdef QVX_HAVE_FIU
#include <fiu-control.h>
#include <fiu.h>

// The store's allocator, where the failures are made to happen.
void *store_malloc(size_t size);
#endif

#include <errno.h>
#include <pwd.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

/*
 * The command list widget driven as the main window and a person drive it:
 * each action must become exactly one journalled store operation, the rows
 * must mirror the store, and the modified state must follow the snapshot.
 */

// "1:text" for an active entry, "0:text" for an inactive one.
static QStringList entries(const command_list *list)
{
    QStringList out;
    for (const command_entry *e = list->entries; e; e = e->next)
        out << QString::number(e->active) + QLatin1Char(':') + QString::fromUtf8(e->text);
    return out;
}

static QStringList rows(const QListWidget *view)
{
    QStringList out;
    for (int i = 0; i < view->count(); i++) {
        const QListWidgetItem *item = view->item(i);
        out << QString::number(item->checkState() == Qt::Checked ? 1 : 0) + QLatin1Char(':')
                + item->text();
    }
    return out;
}

static void *rowEntry(const QListWidgetItem *item)
{
    return item->data(Qt::UserRole).value<void *>();
}

static QList<QListWidgetItem *> viewItems(const QListWidget *view)
{
    QList<QListWidgetItem *> out;
    for (int i = 0; i < view->count(); i++)
        out << view->item(i);
    return out;
}

/* One step of a user, as the buttons and the rows take it: "cur:N" makes
 * row N current, "toggle:N" flips its check box, "edit:N:TEXT" gives it a
 * new text; "up", "down", "del", "add", "undo" and "redo" act as the
 * buttons do.  False for a step it does not know. */
static bool userStep(List *list, QListWidget *view, const QString &op)
{
    const int n = op.section(':', 1, 1).toInt();
    if (op.startsWith("cur:"))
        view->setCurrentRow(n);
    else if (op.startsWith("toggle:"))
        view->item(n)->setCheckState(view->item(n)->checkState() == Qt::Checked ? Qt::Unchecked
                                                                                : Qt::Checked);
    else if (op.startsWith("edit:"))
        view->item(n)->setText(op.section(':', 2));
    else if (op == "up")
        list->moveUp();
    else if (op == "down")
        list->moveDown();
    else if (op == "del")
        list->delItem();
    else if (op == "add")
        list->addItem();
    else if (op == "undo")
        list->undo();
    else if (op == "redo")
        list->redo();
    else
        return false;
    return true;
}

// Steps in effect: the undo journal up to its cursor, a step being
// records that are undone together.
static int steps(const command_list *list)
{
    return int(qvxsessrun_undo_steps(list));
}

/* Rows and entries correspond one to one, in order, each row naming its own
 * entry with the item layout the rest of the program relies on. */
static bool rowsMirrorStore(const QListWidget *view, const command_list *list, QString *why)
{
    const command_entry *e = list->entries;
    for (int i = 0; i < view->count(); i++, e = e->next) {
        const QListWidgetItem *item = view->item(i);
        if (!e) {
            *why = QString("row %1 has no entry").arg(i);
            return false;
        }
        const QVariant v = item->data(Qt::UserRole);
        if (v.userType() != QMetaType::VoidStar || v.value<void *>() != e) {
            *why = QString("row %1 does not name its entry").arg(i);
            return false;
        }
        if (int(item->flags()) != 51 || item->data(Qt::CheckStateRole).toInt() != e->active * 2
            || item->text() != QString::fromUtf8(e->text)) {
            *why = QString("row %1 differs from its entry").arg(i);
            return false;
        }
    }
    if (e) {
        *why = "an entry has no row";
        return false;
    }
    return true;
}

#define VERIFY_MIRROR(view, list)                                                                  \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2(rowsMirrorStore(view, list, &why), qPrintable(why));                              \
    } while (0)

static QRect checkIndicatorRect(QListWidget *view, QListWidgetItem *item)
{
    QStyleOptionViewItem opt;
    opt.initFrom(view->viewport());
    opt.rect = view->visualItemRect(item);
    opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    opt.checkState = item->checkState();
    opt.text = item->text();
    opt.widget = view;
    return view->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
}

/* What the window system delivers for a double click; QTest::mouseDClick
 * alone sends only the second press, which a view ignores. */
static void doubleClick(QWidget *w, const QPoint &pos)
{
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, pos);
}

/* Key presses that carry the text of each character, as a keyboard layout
 * with those characters gives them; QTest::keyClicks knows ASCII only. */
static void typeText(QWidget *w, const QString &text)
{
    for (uint ucs : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&ucs, 1),
                            Qt::NoModifier);
}

static QLineEdit *openEditor(QListWidget *view)
{
    const QList<QLineEdit *> editors = view->viewport()->findChildren<QLineEdit *>();
    for (QLineEdit *e : editors)
        if (e->isVisible())
            return e;
    return nullptr;
}

// The open editor of a row of several lines.
static QPlainTextEdit *openTextEditor(QListWidget *view)
{
    const QList<QPlainTextEdit *> editors = view->viewport()->findChildren<QPlainTextEdit *>();
    for (QPlainTextEdit *e : editors)
        if (e->isVisible())
            return e;
    return nullptr;
}

// What a row says when its command would not run, by reason.
static const char notShell[]
    = "This line is not valid shell: the script stops here and no later command runs.";
static const char foreground[]
    = "The final & is swallowed (by a comment or a trailing backslash): the command runs in the "
      "foreground and holds up every later one.";
static const char joinsAtEnd[]
    = "This line ends in && (or ||, |), so the shell joins it with the next line, and none "
      "follows: the script stops here.";
static const char readsOn[]
    = "This command is not complete: it ends in &&, ||, | or a backslash, or opens if, case, a "
      "loop or a brace that it does not close. The shell reads the lines below as part of it.";

static bool hasIcon(const QListWidgetItem *item)
{
    return !item->data(Qt::DecorationRole).value<QIcon>().isNull();
}

static bool checksEnded(List *list)
{
    QSignalSpy finished(list, SIGNAL(checksFinished()));
    return finished.isValid() && (!list->checking() || finished.wait(10000));
}

/* Every row's mark as "-" for none or its tool tip, after the checks that
 * are under way have ended. */
static QStringList marksWhenChecked(List *list, QListWidget *view)
{
    QStringList out;
    if (!checksEnded(list))
        return { "<the checks did not end>" };
    for (int i = 0; i < view->count(); i++) {
        const QListWidgetItem *item = view->item(i);
        QString tip = item->data(Qt::ToolTipRole).toString();
        // A command over several lines is shown whole first.
        if (item->text().contains('\n') && tip.startsWith(item->text()))
            tip = tip.mid(item->text().size() + 2);
        if (hasIcon(item) != !tip.isEmpty())
            out << "<icon and tool tip disagree>";
        else
            out << (tip.isEmpty() ? QString("-") : tip);
    }
    return out;
}

/* Every row as "icon" or "no icon" and its tool tip, once checked. */
static QStringList lookWhenChecked(List *list, QListWidget *view)
{
    QStringList out;
    if (!checksEnded(list))
        return { "<the checks did not end>" };
    for (int i = 0; i < view->count(); i++) {
        const QListWidgetItem *item = view->item(i);
        out << (hasIcon(item) ? "icon: " : "no icon: ") + item->toolTip();
    }
    return out;
}

/* The rightmost column of rect that holds dark ink: where a row's text ends. */
static int inkRight(const QImage &image, const QRect &rect)
{
    for (int x = rect.right(); x >= rect.left(); x--)
        for (int y = rect.top(); y <= rect.bottom(); y++)
            if (qGray(image.pixel(x, y)) < 0x80)
                return x;
    return -1;
}

class TestList : public QObject
{
    Q_OBJECT

private:
    /* The command list as the main window holds it: read from the script
     * with empty journals, kept for the life of the process.  A null
     * script stands for none on disk. */
    command_list *load(const QByteArray &script);
    // Save as the main window does it.
    void save(List *list, command_list *commands);

private slots:
    void cleanup();

    void construction_data();
    void construction();
    void toolTipTranslated();
    void toggleTwice();
    void editAndBack();
    void undoEverythingSinceSave();
    void syncAfterSave_data();
    void syncAfterSave();
    void foreignBytes_data();
    void foreignBytes();
    void personEditsForeignBytes();
    void storedTextShown_data();
    void storedTextShown();
    void currentRowAfterUndoRedo_data();
    void currentRowAfterUndoRedo();
    void undoRedoAsRebuilt_data();
    void undoRedoAsRebuilt();
    void modifiedFollowsContent_data();
    void modifiedFollowsContent();
    void typedTextStaysWithItsRow_data();
    void typedTextStaysWithItsRow();
    void moveAtEnd_data();
    void moveAtEnd();
    void syncAfterMoves();
    void drop_data();
    void drop();
    void dropUtf8UnderLatin1();
    void addItemLeftEmpty_data();
    void addItemLeftEmpty();
    void newRowsWhereTheUserIs_data();
    void newRowsWhereTheUserIs();
    void undoRedoNothing_data();
    void undoRedoNothing();
    void noCurrentRow_data();
    void noCurrentRow();
    void nonAscii();
    void deleteAndUndo();
    void personDoubleClickAndType_data();
    void personDoubleClickAndType();
    void markArrivesWhileTyping();
    void personClicksCheckBox();
    void personPressesDelete();
    void marks_data();
    void marks();
    void typedMarker();
    void carriageReturns();
    void marksWaitForEventLoop();
    void marksFollowTheWholeScript();
    void editChangesMark();
    void marksFollowUndoRedo();
    void rowTextsLineUp();
    void editorGetsWholeText_data();
    void editorGetsWholeText();
    void storeFailure_data();
    void storeFailure();
};

command_list *TestList::load(const QByteArray &script)
{
    if (script.isNull())
        QFile::remove(script_path());
    else if (!write_script(script))
        return nullptr;
    command_list *list = qvxsessrun_read();
    // Held for the life of the process like the main window's list, and
    // reachable so that a leak checker does not report it.
    static QList<command_list *> *held = new QList<command_list *>;
    if (list)
        *held << list;
    return list;
}

void TestList::save(List *list, command_list *commands)
{
    list->syncItems();
    QCOMPARE(qvxsessrun_write(commands), 0);
    list->resetModified();
}

void TestList::cleanup()
{
    QFile::remove(script_path());
}

void TestList::construction_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("no script") << QByteArray() << QStringList();
    QTest::newRow("active and inactive")
        << QByteArray("#!/bin/sh\nxterm&\n#[INACTIVE]#xclock -digital&\nnm-applet&\n")
        << QStringList { "1:xterm", "0:xclock -digital", "1:nm-applet" };
    /* A blank line is no command; "&" alone is one, a broken one. */
    QTest::newRow("blank line, empty command")
        << QByteArray("#!/bin/sh\n\nxterm&\n&\n") << QStringList { "1:xterm", "1:" };
    QTest::newRow("a command over two lines")
        << QByteArray("#!/bin/sh\nxautolock \\\n  -time 5 &\n")
        << QStringList { "1:xautolock \\\n  -time 5" };
}

void TestList::construction()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, expected);

    command_list *commands = load(script);
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QVERIFY(view);

    QCOMPARE(rows(view), expected);
    VERIFY_MIRROR(view, commands);
    QVERIFY(!list.modified());
    QVERIFY(!list.canUndo());
    QVERIFY(!list.canRedo());
    QCOMPARE(view->toolTip(),
             QString("Double click to edit.\nUse checkbox to activate/deactivate a command.\n"
                     "Use Drag & Drop to add desktop files."));
    QVERIFY(list.toolTip().isEmpty());
    QVERIFY(view->testAttribute(Qt::WA_MouseTracking));
    QCOMPARE(view->parentWidget(), &list);
    QVERIFY(list.layout());
    QCOMPARE(list.layout()->count(), 1);
    QCOMPARE(list.layout()->indexOf(view), 0);
    QCOMPARE(steps(commands), 0);
}

/* Answers only for the List's own context, so a text looked up under
 * another context stays untranslated. */
class ListTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char * = nullptr,
                      int = -1) const override
    {
        if (qstrcmp(context, "List") == 0
            && qstrcmp(source,
                       "Double click to edit.\nUse checkbox to activate/deactivate a command.\n"
                       "Use Drag & Drop to add desktop files.")
                == 0)
            return QString("Doppelklick zum Bearbeiten.");
        return QString();
    }
    bool isEmpty() const override { return false; }
};

void TestList::toolTipTranslated()
{
    command_list *commands = load("#!/bin/sh\n");
    QVERIFY(commands);
    ListTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    List list(commands, nullptr);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(list.findChild<ListWidget *>()->toolTip(), QString("Doppelklick zum Bearbeiten."));
}

void TestList::toggleTwice()
{
    command_list *commands = load("#!/bin/sh\nxterm&\nxclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());
    // What a slot sees through modified() while the signal is delivered.
    QList<bool> seen;
    connect(&list, &List::listModified, [&] { seen << list.modified(); });

    view->item(1)->setCheckState(Qt::Unchecked);
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "0:xclock" }));
    QVERIFY(list.modified());
    view->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "1:xclock" }));
    QVERIFY(!list.modified());

    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
    QCOMPARE(seen, QList<bool>({ false, false }));
    QCOMPARE(steps(commands), 2);
    VERIFY_MIRROR(view, commands);
}

void TestList::editAndBack()
{
    command_list *commands = load("#!/bin/sh\nxterm&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    view->item(0)->setText("xterm -e top");
    QCOMPARE(entries(commands), QStringList({ "1:xterm -e top" }));
    view->item(0)->setText("xterm");
    QCOMPARE(entries(commands), QStringList({ "1:xterm" }));

    QVERIFY(!list.modified());
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.last().at(0).toBool(), false);
    QCOMPARE(steps(commands), 2);
}

void TestList::undoEverythingSinceSave()
{
    command_list *commands = load("#!/bin/sh\nxterm&\nxclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();

    view->item(0)->setCheckState(Qt::Unchecked);
    save(&list, commands);
    QVERIFY(!list.modified());
    QCOMPARE(read_file(script_path()), QByteArray("#!/bin/sh\n#[INACTIVE]#xterm&\nxclock&\n"));

    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());
    view->setCurrentRow(1);
    list.delItem();
    list.addItem();
    view->item(1)->setText("nm-applet");
    QVERIFY(list.modified());

    list.undo();
    list.undo();
    QVERIFY(list.modified());
    list.undo();
    QCOMPARE(entries(commands), QStringList({ "0:xterm", "1:xclock" }));
    QVERIFY(!list.modified());
    QCOMPARE(spy.last().at(0).toBool(), false);
    QVERIFY(list.canUndo()); // the operations before the save are still there
    VERIFY_MIRROR(view, commands);
}

void TestList::syncAfterSave_data()
{
    QTest::addColumn<bool>("edit");
    QTest::newRow("nothing changed") << false;
    QTest::newRow("one row edited") << true;
}

/* A save writes back only rows that differ from their entries: an unchanged
 * list leaves the journal as it was, and the first undo after a save undoes
 * the user's last change, not a no-op of the save. */
void TestList::syncAfterSave()
{
    QFETCH(bool, edit);

    command_list *commands = load("#!/bin/sh\nxterm&\nxclock&\nnm-applet&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    if (edit)
        view->item(1)->setText("xclock -digital");
    const int before = steps(commands);
    QCOMPARE(before, edit ? 1 : 0);
    spy.clear();
    for (int i = 0; i < 3; i++)
        save(&list, commands);
    QCOMPARE(steps(commands), before);
    QCOMPARE(spy.count(), 0);
    QVERIFY(!list.modified());
    QCOMPARE(list.canUndo(), edit);

    if (!edit)
        return;
    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "1:xclock", "1:nm-applet" }));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QVERIFY(list.modified());
    QVERIFY(!list.canUndo());
    VERIFY_MIRROR(view, commands);
}

void TestList::foreignBytes_data()
{
    QTest::addColumn<bool>("toggle");
    QTest::newRow("untouched") << false;
    QTest::newRow("check box toggled") << true;
}

/* Bytes that are no UTF-8 show as replacement characters in the row; a row
 * that the user did not edit must still keep its entry's own bytes. */
void TestList::foreignBytes()
{
    QFETCH(bool, toggle);

    const QByteArray latin1 = "echo caf\xe9 \xff\xfe";
    const QByteArray script = "#!/bin/sh\n" + latin1 + "&\n#[INACTIVE]#xmessage \xe4\xf6\xfc&\n";
    command_list *commands = load(script);
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QVERIFY(view->item(0)->text().contains(QChar::ReplacementCharacter));

    if (toggle)
        view->item(0)->setCheckState(Qt::Unchecked);
    QCOMPARE(QByteArray(commands->entries->text), latin1);
    QCOMPARE(int(commands->entries->active), toggle ? 0 : 1);
    QCOMPARE(steps(commands), toggle ? 1 : 0);
    if (toggle)
        view->item(0)->setCheckState(Qt::Checked);

    save(&list, commands);
    QCOMPARE(read_file(script_path()), script);
    QCOMPARE(QByteArray(commands->entries->text), latin1);
    QCOMPARE(QByteArray(commands->entries->next->text), QByteArray("xmessage \xe4\xf6\xfc"));
    QCOMPARE(steps(commands), toggle ? 2 : 0);
    QVERIFY(!list.modified());
}

/*
 * A row whose command holds bytes that are not UTF-8 is marked with them;
 * typing at its end keeps them, and an edit that replaces them writes the
 * typed text and takes the mark away at once.
 */
void TestList::personEditsForeignBytes()
{
    const QString tip = "This command holds bytes that are not UTF-8, shown as \uFFFD: \\xE9 "
                        "\\xFF \\xFE. An edit keeps them where it leaves the text as it was and "
                        "replaces those that it changes.";
    command_list *commands = load("#!/bin/sh\necho caf\xe9 \xff\xfe&\ntrue&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    // Marked from the start, before any check has ended.
    QVERIFY(hasIcon(view->item(0)));
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ tip, "-" }));
    QCOMPARE(list.markedCount(), 0); // the command itself would run

    const auto edit = [&](Qt::Key move, const QString &typed) {
        doubleClick(view->viewport(), view->visualItemRect(view->item(0)).center());
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = openEditor(view)) != nullptr);
        QTest::keyClick(editor, move, move == Qt::Key_A ? Qt::ControlModifier : Qt::NoModifier);
        typeText(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!openEditor(view));
    };
    edit(Qt::Key_End, " >/dev/null");
    QCOMPARE(QByteArray(commands->entries->text), QByteArray("echo caf\xe9 \xff\xfe >/dev/null"));
    QCOMPARE(view->item(0)->toolTip(), tip);

    edit(Qt::Key_A, QString::fromUtf8("echo caf\xc3\xa9"));
    QCOMPARE(QByteArray(commands->entries->text), QByteArray("echo caf\xc3\xa9"));
    QVERIFY(!hasIcon(view->item(0)));
    QCOMPARE(view->item(0)->toolTip(), QString());

    // Undo brings back the bytes and their mark.
    list.undo();
    QCOMPARE(QByteArray(commands->entries->text), QByteArray("echo caf\xe9 \xff\xfe >/dev/null"));
    QCOMPARE(view->item(0)->toolTip(), tip);
    save(&list, commands);
    QCOMPARE(read_file(script_path()),
             QByteArray("#!/bin/sh\necho caf\xe9 \xff\xfe >/dev/null&\ntrue&\n"));
}

void TestList::storedTextShown_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("line feed") << QString("xterm\n-ls");
    QTest::newRow("final ampersand") << QString("sleep 30 &");
    QTest::newRow("trailing blanks") << QString("xclock  \t");
    QTest::newRow("plain") << QString("xload");
}

/* Whatever the store makes of an edited text, the row shows what the entry
 * holds, and showing it records no second operation. */
void TestList::storedTextShown()
{
    QFETCH(QString, typed);

    command_list *commands = load("#!/bin/sh\nxterm&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    view->item(0)->setText(typed);
    QCOMPARE(view->item(0)->text(), QString::fromUtf8(commands->entries->text));
    QVERIFY(!view->item(0)->text().contains('\n'));
    QCOMPARE(steps(commands), 1);
    QCOMPARE(spy.count(), 1);
    VERIFY_MIRROR(view, commands);

    // A later save finds the row equal to its entry.
    save(&list, commands);
    QCOMPARE(steps(commands), 1);
    QCOMPARE(view->item(0)->text(), QString::fromUtf8(commands->entries->text));
}

void TestList::currentRowAfterUndoRedo_data()
{
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");

    // On rows a, b, c; the steps as userStep() takes them.
    QTest::newRow("toggle undone: same row")
        << QStringList { "cur:1", "toggle:1", "undo" } << 1 << "b";
    QTest::newRow("move undone: follows the entry")
        << QStringList { "cur:0", "down", "undo" } << 0 << "a";
    QTest::newRow("move redone: follows the entry")
        << QStringList { "cur:0", "down", "undo", "redo" } << 1 << "a";
    QTest::newRow("on another entry than the one moved")
        << QStringList { "cur:0", "down", "cur:0", "undo" } << 1 << "b";
    QTest::newRow("delete undone elsewhere")
        << QStringList { "cur:2", "del", "cur:0", "undo" } << 0 << "a";
    QTest::newRow("add undone: entry gone, nearest row")
        << QStringList { "add", "cur:3", "undo" } << 2 << "c";
    QTest::newRow("delete redone: entry gone, same row")
        << QStringList { "cur:1", "del", "undo", "cur:1", "redo" } << 1 << "c";
    QTest::newRow("no current row stays none")
        << QStringList { "toggle:0", "cur:-1", "undo" } << -1 << QString();
}

void TestList::currentRowAfterUndoRedo()
{
    QFETCH(QStringList, ops);
    QFETCH(int, row);
    QFETCH(QString, text);

    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    for (const QString &op : ops)
        QVERIFY2(userStep(&list, view, op), qPrintable("unknown step " + op));
    QCOMPARE(view->currentRow(), row);
    QCOMPARE(view->currentItem() ? view->currentItem()->text() : QString(), text);
    VERIFY_MIRROR(view, commands);
}

void TestList::undoRedoAsRebuilt_data()
{
    QTest::addColumn<QStringList>("ops");

    // On five rows that show each kind of mark and tool tip; the steps as
    // userStep() takes them.
    QTest::newRow("edit") << QStringList { "cur:3", "edit:0:true;", "undo", "redo", "undo" };
    QTest::newRow("edit that clears a mark")
        << QStringList { "cur:2", "edit:2:true --c", "undo", "redo" };
    QTest::newRow("toggle") << QStringList { "cur:1", "toggle:1", "undo", "redo" };
    QTest::newRow("delete in the middle, current on it")
        << QStringList { "cur:2", "del", "undo", "redo", "undo" };
    QTest::newRow("delete in the middle, current elsewhere")
        << QStringList { "cur:2", "del", "cur:3", "undo", "cur:0", "redo" };
    QTest::newRow("delete of the first row") << QStringList { "cur:0", "del", "undo", "redo" };
    QTest::newRow("delete of the last row, current on it")
        << QStringList { "cur:4", "del", "undo", "cur:4", "redo" };
    QTest::newRow("add") << QStringList { "cur:1", "add", "undo", "redo", "undo" };
    QTest::newRow("add, current on the new row") << QStringList { "add", "cur:5", "undo" };
    QTest::newRow("move down from the top") << QStringList { "cur:0", "down", "undo", "redo" };
    QTest::newRow("move down onto the end") << QStringList { "cur:3", "down", "undo", "redo" };
    QTest::newRow("move up from the end") << QStringList { "cur:4", "up", "undo", "redo" };
    QTest::newRow("move up onto the top") << QStringList { "cur:1", "up", "undo", "redo" };
    QTest::newRow("move, current on the neighbour")
        << QStringList { "cur:2", "down", "cur:2", "undo", "cur:3", "redo" };
    QTest::newRow("no current row") << QStringList { "toggle:0", "cur:-1", "undo", "redo" };
    QTest::newRow("several in a row")
        << QStringList { "cur:1", "edit:1:fi",    "toggle:3", "cur:2", "del",  "down",
                         "add",   "edit:4:true;", "undo",     "undo",  "undo", "undo",
                         "undo",  "undo",         "redo",     "redo",  "redo", "redo",
                         "redo",  "redo",         "undo",     "undo" };
}

/*
 * After each undo and redo the rows are those that a List built afresh on
 * the same commands shows: order, texts, check states, marks and tool tips,
 * with the current row kept on its entry, or at its place when the entry
 * is gone.  Only the row of the entry undone or redone, and for a move the
 * row it trades places with, may be another item: every other row is the
 * very item it was.
 */
void TestList::undoRedoAsRebuilt()
{
    QFETCH(QStringList, ops);

    command_list *commands = load("#!/bin/sh\ntrue --a&\n#[INACTIVE]#true --b&\ntrue;&\n"
                                  "echo caf\xe9&\nsleep 1\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QCOMPARE(lookWhenChecked(&list, view),
             QStringList({ "no icon: ", "no icon: ", QString("icon: ") + notShell,
                           "icon: This command holds bytes that are not UTF-8, shown as \uFFFD: "
                           "\\xE9. An edit keeps them where it leaves the text as it was and "
                           "replaces those that it changes.",
                           "no icon: Runs in the foreground: the commands below it wait until it "
                           "ends." }));

    for (const QString &op : ops) {
        const bool undo = op == "undo";
        if (!undo && op != "redo") {
            QVERIFY2(userStep(&list, view, op), qPrintable("unknown step " + op));
            continue;
        }
        journal_change record;
        QVERIFY(qvxsessrun_next_step(commands, undo, &record, 1) > 0);
        QHash<void *, QListWidgetItem *> itemOf;
        QHash<void *, int> rowOf;
        for (QListWidgetItem *item : viewItems(view)) {
            itemOf.insert(rowEntry(item), item);
            rowOf.insert(rowEntry(item), view->row(item));
        }
        const bool move = record.moved;
        const void *wasOn = view->currentItem() ? rowEntry(view->currentItem()) : nullptr;
        const int wasRow = view->currentRow();

        QVERIFY(userStep(&list, view, op));

        VERIFY_MIRROR(view, commands);
        for (QListWidgetItem *item : viewItems(view))
            if (rowEntry(item) != record.entry
                && !(move && rowOf.value(rowEntry(item)) != view->row(item)))
                QVERIFY2(itemOf.value(rowEntry(item)) == item,
                         qPrintable(item->text() + " is a new row after " + op));
        int current = 0;
        for (const command_entry *e = commands->entries; e && e != wasOn; e = e->next)
            current++;
        if (current == view->count())
            current = wasRow < 0 ? -1 : qMin(wasRow, view->count() - 1);
        QCOMPARE(view->currentRow(), current);

        List fresh(commands, nullptr);
        ListWidget *freshView = fresh.findChild<ListWidget *>();
        QCOMPARE(rows(view), rows(freshView));
        QCOMPARE(lookWhenChecked(&list, view), lookWhenChecked(&fresh, freshView));
    }
}

/* A run of n steps on the rows, the same for every run of the test. */
static QStringList randomSteps(int n, quint32 seed)
{
    QRandomGenerator random(seed);
    const char *const fixed[] = { "up", "down", "del", "add", "undo", "redo", "save" };
    QStringList ops;
    int rows = 6; // at most as many as there are: a step past the end is none
    for (int i = 0; i < n; i++) {
        const int row = int(random.bounded(rows));
        switch (random.bounded(11)) {
        case 0:
            ops << QString("cur:%1").arg(row) << "toggle:" + QString::number(row);
            break;
        case 10:
            ops << QString("bg:%1:%2").arg(row).arg(random.bounded(2));
            break;
        case 1:
            ops << QString("edit:%1:%2").arg(row).arg(random.bounded(3) == 0 ? "a" : "x");
            break;
        case 2:
            ops << QString("cur:%1").arg(row);
            break;
        default:
            ops << fixed[random.bounded(7)];
        }
        rows = qMax(1, rows + (ops.last() == "add") - (ops.last() == "del"));
    }
    return ops;
}

void TestList::modifiedFollowsContent_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QStringList>("ops");

    // The steps as userStep() takes them, "bg:N:0" or "bg:N:1", which takes
    // the final "&" of row N away or puts it back, and "save", which writes
    // the script.
    const QByteArray plain("#!/bin/sh\na&\nb&\nc&\nd&\ne&\n");
    // Comment lines go with the command below them, or after the last.
    const QByteArray notes(
        "#!/bin/sh\n# one\na&\nb\n# two\n\n#[INACTIVE]#a&\nc&\n# three\nd&\n# end\n");
    QTest::newRow("toggled twice") << plain << QStringList { "toggle:2", "toggle:2" };
    QTest::newRow("edited back by hand") << plain << QStringList { "edit:1:x", "edit:1:b" };
    QTest::newRow("moved down and up again")
        << plain << QStringList { "cur:1", "down", "up", "cur:3", "up", "cur:2", "down" };
    QTest::newRow("deleted, undone, redone")
        << plain << QStringList { "cur:4", "del", "undo", "redo", "undo" };
    QTest::newRow("undone past the save, then a new change")
        << plain
        << QStringList { "toggle:0", "save", "undo", "toggle:1", "toggle:1", "undo", "undo" };
    QTest::newRow("saved between undo and redo")
        << plain << QStringList { "cur:0", "down", "edit:4:y", "undo", "save",
                                  "redo",  "undo", "undo",     "redo" };
    QTest::newRow("rows at both ends")
        << plain << QStringList { "cur:0", "del", "cur:3", "del", "add", "undo", "undo", "undo" };
    QTest::newRow("last row with a comment above, deleted, a row added")
        << notes << QStringList { "cur:4", "del", "add", "edit:4:d", "undo", "undo", "undo" };
    QTest::newRow("background taken away and put back")
        << notes << QStringList { "bg:0:0", "bg:0:1", "save", "bg:3:0", "undo" };
    QTest::newRow("500 random steps") << plain << randomSteps(500, 20261211);
    QTest::newRow("500 random steps among comments") << notes << randomSteps(500, 1211);
}

/*
 * The list is modified exactly when a save would write something else than
 * the last save did, whatever way the rows got where they are.
 */
void TestList::modifiedFollowsContent()
{
    QFETCH(QByteArray, script);
    QFETCH(QStringList, ops);

    command_list *commands = load(script);
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    command_list *saved = qvxsessrun_copy(commands);
    QVERIFY(saved);

    for (int i = 0; i < ops.size(); i++) {
        const QString &op = ops.at(i);
        const int n = op.section(':', 1, 1).toInt();
        if (op == "save") {
            save(&list, commands);
            qvxsessrun_free(saved);
            saved = qvxsessrun_copy(commands);
            QVERIFY(saved);
        } else if (n >= view->count() || (op == "del" && !view->currentItem())) {
            continue;
        } else if (op.startsWith("bg:")) {
            view->setCurrentRow(n);
            list.setCurrentInBackground(op.section(':', 2) == "1");
        } else {
            QVERIFY2(userStep(&list, view, op), qPrintable("unknown step " + op));
        }
        list.syncItems(); // what a save reads, an open editor's text included
        QVERIFY2(list.modified() == !qvxsessrun_equal(saved, commands),
                 qPrintable(QString("after step %1, %2").arg(i).arg(op)));
    }
    qvxsessrun_free(saved);
}

void TestList::typedTextStaysWithItsRow_data()
{
    QTest::addColumn<QStringList>("before"); // steps before the editor opens
    QTest::addColumn<int>("row"); // whose editor gets " -x"
    QTest::addColumn<QStringList>("steps"); // while it is open
    QTest::addColumn<QStringList>("after");

    // On rows a, b, c, d; the steps as userStep() takes them.
    QTest::newRow("move up") << QStringList() << 1 << QStringList { "up" }
                             << QStringList({ "1:b -x", "1:a", "1:c", "1:d" });
    QTest::newRow("move down") << QStringList() << 1 << QStringList { "down" }
                               << QStringList({ "1:a", "1:c", "1:b -x", "1:d" });
    QTest::newRow("another row put back by undo")
        << QStringList { "cur:0", "down" } << 2 << QStringList { "undo" }
        << QStringList({ "1:a", "1:b", "1:c -x", "1:d" });
    QTest::newRow("another row put back by undo, then a move")
        << QStringList { "cur:0", "down" } << 2 << QStringList { "undo", "up" }
        << QStringList({ "1:a", "1:c -x", "1:b", "1:d" });
}

/*
 * What is typed into a row's editor goes with its row, whatever moves the
 * rows while the editor is open: a move by its key, an Undo by its
 * button's mnemonic (neither takes the focus), and the rows read as a save
 * reads them.
 */
void TestList::typedTextStaysWithItsRow()
{
    QFETCH(QStringList, before);
    QFETCH(int, row);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);

    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\nd&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();

    for (const QString &step : before)
        QVERIFY(userStep(&list, view, step));
    view->setCurrentRow(row);
    view->editItem(view->item(row));
    QLineEdit *editor = openEditor(view);
    QVERIFY(editor);
    editor->end(false);
    typeText(editor, " -x");
    for (const QString &step : steps)
        QVERIFY(userStep(&list, view, step));
    list.syncItems();
    QCOMPARE(entries(commands), after);
    QVERIFY(view->currentItem()->text().endsWith(" -x"));
    VERIFY_MIRROR(view, commands);
}

void TestList::moveAtEnd_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("up");

    QTest::newRow("first row up") << 0 << true;
    QTest::newRow("last row down") << 2 << false;
}

void TestList::moveAtEnd()
{
    QFETCH(int, row);
    QFETCH(bool, up);

    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();

    // Leave something to redo: a move at the end must not drop it.
    view->item(0)->setCheckState(Qt::Unchecked);
    list.undo();
    QVERIFY(list.canRedo());

    view->setCurrentRow(row);
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());
    if (up)
        list.moveUp();
    else
        list.moveDown();

    QCOMPARE(spy.count(), 0);
    QCOMPARE(steps(commands), 0);
    QVERIFY(list.canRedo());
    QCOMPARE(entries(commands), QStringList({ "1:a", "1:b", "1:c" }));
    QCOMPARE(view->currentRow(), row);
    VERIFY_MIRROR(view, commands);
}

void TestList::syncAfterMoves()
{
    command_list *commands = load("#!/bin/sh\na&\nb&\n#[INACTIVE]#c&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    const command_entry *a = commands->entries, *b = a->next, *c = b->next;

    view->setCurrentRow(0);
    list.moveDown();
    list.moveDown(); // b, c, a
    view->setCurrentRow(1);
    list.moveUp(); // c, b, a
    QCOMPARE(entries(commands), QStringList({ "0:c", "1:b", "1:a" }));
    QCOMPARE(view->currentRow(), 0);
    VERIFY_MIRROR(view, commands);

    // Change the rows behind the List's back; only syncItems() writes them.
    {
        const QSignalBlocker blocker(view);
        for (int i = 0; i < view->count(); i++)
            view->item(i)->setText(QString("row %1").arg(i));
        view->item(2)->setCheckState(Qt::Unchecked);
    }
    const int before = steps(commands);
    list.syncItems();
    QCOMPARE(entries(commands), QStringList({ "0:row 0", "1:row 1", "0:row 2" }));
    VERIFY_MIRROR(view, commands);

    // The rows were written in the order they were created, not shown.
    QCOMPARE(steps(commands), before + 3);
    QList<const command_entry *> order;
    for (int i = 0; i < 3; i++) {
        journal_change last;
        QCOMPARE(qvxsessrun_next_step(commands, 1, &last, 1), size_t(1));
        order.prepend(last.entry);
        qvxsessrun_undo(commands);
    }
    QCOMPARE(order, QList<const command_entry *>({ a, b, c }));
}

void TestList::drop_data()
{
    // Desktop entry contents; "-" for a missing file, "@" for one on another host.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("modifiedBefore");
    QTest::addColumn<QStringList>("added");
    // Why the files that are not added were not, "@" standing for the
    // folder's URI: the files are "My App 0.desktop", "My App 1.desktop", ...
    QTest::addColumn<QStringList>("skipped");

    const QString first = "[Desktop Entry]\nName=Terminal\nExec=xterm -ls\n";
    const QString third = "[Desktop Entry]\nExec=pcmanfm %U\nName=Files\n";
    QTest::newRow("all read") << QStringList { first, third } << false
                              << QStringList { "1:xterm -ls", "1:pcmanfm" } << QStringList();
    QTest::newRow("second missing")
        << QStringList { first, "-", third } << false << QStringList { "1:xterm -ls", "1:pcmanfm" }
        << QStringList { "My App 1.desktop: not found" };
    QTest::newRow("second on another host")
        << QStringList { first, "@", third } << false << QStringList { "1:xterm -ls", "1:pcmanfm" }
        << QStringList { "file://otherhost@/My App 1.desktop: a file of another computer" };
    QTest::newRow("second without group header")
        << QStringList { first, "Exec=evil\n", third } << false
        << QStringList { "1:xterm -ls", "1:pcmanfm" }
        << QStringList { "My App 1.desktop: not a desktop entry" };
    QTest::newRow("second with empty Exec")
        << QStringList { first, "[Desktop Entry]\nExec=\n", third } << true
        << QStringList { "1:xterm -ls", "1:pcmanfm" }
        << QStringList { "My App 1.desktop: a desktop entry without a command" };
    QTest::newRow("nothing reads, saved state")
        << QStringList { "-", "no entry\n" } << false << QStringList()
        << QStringList { "My App 0.desktop: not found", "My App 1.desktop: not a desktop entry" };
    QTest::newRow("nothing reads, modified state")
        << QStringList { "-", "no entry\n", "[Desktop Entry]\nExec=%f\n" } << true << QStringList()
        << QStringList { "My App 0.desktop: not found", "My App 1.desktop: not a desktop entry",
                         "My App 2.desktop: a desktop entry without a command" };
}

/* Files dropped at once are added as one step, and each file that is not
 * added is named with the reason. */
void TestList::drop()
{
    QFETCH(QStringList, files);
    QFETCH(bool, modifiedBefore);
    QFETCH(QStringList, added);
    QFETCH(QStringList, skipped);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QByteArray uris;
    for (int i = 0; i < files.size(); i++) {
        // Named as people name them, and sent as file managers send them.
        const QString path = dir.filePath(QString("My App %1.desktop").arg(i));
        if (files.at(i) == "@") {
            // The file exists here too, so that only its host keeps it out.
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Desktop Entry]\nExec=remote\n");
            uris += "file://otherhost" + path.toUtf8().toPercentEncoding("/") + "\r\n";
            continue;
        }
        if (files.at(i) != "-") {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(files.at(i).toUtf8());
        }
        uris += "file://" + path.toUtf8().toPercentEncoding("/") + "\r\n";
    }
    skipped.replaceInStrings("@", dir.path());

    command_list *commands = load("#!/bin/sh\nxclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    if (modifiedBefore)
        view->item(0)->setCheckState(Qt::Unchecked);
    const QStringList before = entries(commands);
    const int stepsBefore = steps(commands);

    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QSignalSpy skippedSpy(&list, SIGNAL(filesSkipped(const QStringList &)));
    QVERIFY(spy.isValid() && skippedSpy.isValid());
    QStringList order;
    connect(&list, &List::listModified, [&order] { order << "modified"; });
    connect(&list, &List::filesSkipped, [&order] { order << "skipped"; });
    drop_uri_list(view, uris);

    QCOMPARE(entries(commands), before + added);
    QCOMPARE(steps(commands), stepsBefore + (added.isEmpty() ? 0 : 1));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), modifiedBefore || !added.isEmpty());
    QCOMPARE(list.modified(), modifiedBefore || !added.isEmpty());
    VERIFY_MIRROR(view, commands);
    // The reasons come last, so that the window's last word is about them.
    if (!skipped.isEmpty()) {
        QCOMPARE(skippedSpy.count(), 1);
        QCOMPARE(skippedSpy.at(0).at(0).toStringList(), skipped);
        QCOMPARE(order, QStringList({ "modified", "skipped" }));
    } else {
        QCOMPARE(skippedSpy.count(), 0);
        QCOMPARE(order, QStringList({ "modified" }));
    }
    if (added.isEmpty())
        return;

    // One undo takes back every file of the drop, and the saved state with it.
    list.undo();
    QCOMPARE(entries(commands), before);
    QCOMPARE(list.modified(), modifiedBefore);
    VERIFY_MIRROR(view, commands);
    list.redo();
    QCOMPARE(entries(commands), before + added);
    QVERIFY(list.modified());
    VERIFY_MIRROR(view, commands);
}

void TestList::dropUtf8UnderLatin1()
{
    const QByteArray command("caf\xc3\xa9 --titre=\xe2\x82\xac");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("Cafe Bar.desktop");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nName=Caf\xc3\xa9\nExec=" + command + " %U\n");
    f.close();

    command_list *commands = load("#!/bin/sh\nxclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    {
        LocaleEncoding latin1("ISO-8859-1");
        QVERIFY(latin1.isValid());
        drop_uri_list(view, "file://" + path.toUtf8().toPercentEncoding("/") + "\r\n");
    }

    QCOMPARE(view->count(), 2);
    QCOMPARE(QByteArray(commands->entries->next->text), command);
    QCOMPARE(view->item(1)->text(), QString::fromUtf8(command));
    VERIFY_MIRROR(view, commands);
    save(&list, commands);
    QCOMPARE(read_file(script_path()), "#!/bin/sh\nxclock&\n" + command + "&\n");
}

void TestList::addItemLeftEmpty_data()
{
    QTest::addColumn<bool>("changedBefore"); // the first row switched off before Add
    QTest::addColumn<QString>("keys"); // into the new row's editor; see below
    QTest::addColumn<bool>("kept"); // the new row stays

    // Keys: a letter types it, "<" erases one character, "E" Escape,
    // "R" Enter, "F" F2 (edits the current row again).
    QTest::newRow("Escape at once") << false << "E" << false;
    QTest::newRow("typed, erased, Escape") << false << "ab<<E" << false;
    QTest::newRow("typed, Escape: the text was never taken") << false << "abE" << false;
    QTest::newRow("Escape after another change") << true << "E" << false;
    QTest::newRow("Enter on the empty row") << false << "R" << true;
    QTest::newRow("Enter, edited again, Escape") << false << "RFE" << true;
    QTest::newRow("Enter, edited again, typed, Escape") << false << "RFabE" << true;
}

/*
 * Escape in the editor that Add opened, on a row that is still empty,
 * takes the Add back as though it had never been made: no row, no step
 * to undo or redo, the state as before, the current row where it was.  A
 * row that was committed once is an existing row: Escape only cancels.
 */
void TestList::addItemLeftEmpty()
{
    QFETCH(bool, changedBefore);
    QFETCH(QString, keys);
    QFETCH(bool, kept);

    command_list *commands = load("#!/bin/sh\nxterm&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    view->setCurrentRow(0);
    if (changedBefore)
        view->item(0)->setCheckState(Qt::Unchecked);
    const QStringList before = entries(commands);
    const int stepsBefore = steps(commands);
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    list.addItem();
    QCOMPARE(view->currentRow(), 1);
    for (QChar key : keys) {
        QLineEdit *editor = openEditor(view);
        if (key == 'F') {
            QVERIFY(!editor);
            QTest::keyClick(view, Qt::Key_F2);
            continue;
        }
        QVERIFY2(editor, "no editor open");
        if (key == 'E')
            QTest::keyClick(editor, Qt::Key_Escape);
        else if (key == 'R')
            QTest::keyClick(editor, Qt::Key_Return);
        else if (key == '<')
            QTest::keyClick(editor, Qt::Key_Backspace);
        else
            QTest::keyClicks(editor, QString(key));
        if (key == 'E' || key == 'R')
            QTRY_VERIFY(!openEditor(view));
    }

    VERIFY_MIRROR(view, commands);
    QVERIFY(!spy.isEmpty());
    if (kept) {
        QCOMPARE(entries(commands), before + QStringList("1:"));
        QCOMPARE(steps(commands), stepsBefore + 1);
        QCOMPARE(spy.last().at(0).toBool(), true);
        QCOMPARE(view->currentRow(), 1);
        // An empty command is not a line of the script.
        save(&list, commands);
        QCOMPARE(
            read_file(script_path()),
            QByteArray(changedBefore ? "#!/bin/sh\n#[INACTIVE]#xterm&\n" : "#!/bin/sh\nxterm&\n"));
        return;
    }
    QCOMPARE(entries(commands), before);
    QCOMPARE(steps(commands), stepsBefore);
    QVERIFY(!list.canRedo()); // no step that brings back an empty row
    QCOMPARE(spy.last().at(0).toBool(), changedBefore);
    QCOMPARE(list.modified(), changedBefore);
    QCOMPARE(view->currentRow(), 0);
    // What was done before the Add is the next undo.
    list.undo();
    QCOMPARE(entries(commands), QStringList("1:xterm"));
    QVERIFY(!list.modified());
}

void TestList::newRowsWhereTheUserIs_data()
{
    QTest::addColumn<int>("dropped"); // desktop entries dropped; 0 for Add
    QTest::newRow("Add") << 0;
    QTest::newRow("drop of one file") << 1;
    QTest::newRow("drop of three files") << 3;
}

/*
 * In a list longer than its view, with the first row current, the rows
 * that Add or a drop append come into view with the first of them current
 * (and Add's editor open on it), so that Delete right after removes what
 * was added and nothing else.
 */
void TestList::newRowsWhereTheUserIs()
{
    QFETCH(int, dropped);

    QByteArray script = "#!/bin/sh\n";
    for (int i = 0; i < 30; i++)
        script += "true " + QByteArray::number(i) + "&\n";
    command_list *commands = load(script);
    QVERIFY(commands);
    const QStringList before = entries(commands);
    List list(commands, nullptr);
    list.resize(300, 200);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    view->setCurrentRow(0);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (dropped == 0) {
        list.addItem();
    } else {
        QByteArray uris;
        for (int i = 0; i < dropped; i++) {
            const QString path = dir.filePath(QString("app%1.desktop").arg(i));
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Desktop Entry]\nExec=app" + QByteArray::number(i) + "\n");
            uris += "file://" + QFile::encodeName(path) + "\r\n";
        }
        drop_uri_list(view, uris);
    }

    const int added = qMax(dropped, 1);
    QCOMPARE(view->count(), 30 + added);
    QCOMPARE(view->currentRow(), 30);
    const QRect shown = view->viewport()->rect();
    for (int row = 30; row < view->count(); row++)
        QVERIFY2(shown.contains(view->visualItemRect(view->item(row))),
                 qPrintable(QString("row %1 is out of view").arg(row)));
    if (dropped == 0) {
        QLineEdit *editor = openEditor(view);
        QVERIFY(editor);
        QVERIFY(shown.contains(editor->geometry()));
        // Escape would take an empty new row back.
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!openEditor(view));
    }

    list.delItem();
    QCOMPARE(entries(commands).mid(0, 30), before);
    QCOMPARE(entries(commands).size(), 30 + added - 1);
    if (dropped > 1)
        QCOMPARE(entries(commands).at(30), QString("1:app1"));
}

void TestList::undoRedoNothing_data()
{
    QTest::addColumn<bool>("redo");
    QTest::newRow("undo") << false;
    QTest::newRow("redo") << true;
}

void TestList::undoRedoNothing()
{
    QFETCH(bool, redo);

    command_list *commands = load("#!/bin/sh\nxterm&\n#[INACTIVE]#xclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    view->setCurrentRow(1);
    const QList<QListWidgetItem *> before = viewItems(view);
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());
    if (redo)
        list.redo();
    else
        list.undo();

    // The very rows they were: nothing was rebuilt.
    QCOMPARE(viewItems(view), before);
    QCOMPARE(rows(view), QStringList({ "1:xterm", "0:xclock" }));
    QCOMPARE(view->currentRow(), 1);
    VERIFY_MIRROR(view, commands);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), false);
    QCOMPARE(steps(commands), 0);
}

void TestList::noCurrentRow_data()
{
    QTest::addColumn<int>("op");
    QTest::newRow("delItem") << 0;
    QTest::newRow("moveUp") << 1;
    QTest::newRow("moveDown") << 2;
}

void TestList::noCurrentRow()
{
    QFETCH(int, op);

    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    view->setCurrentItem(nullptr);
    QVERIFY(!view->currentItem());
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    if (op == 0)
        list.delItem();
    else if (op == 1)
        list.moveUp();
    else
        list.moveDown();

    QCOMPARE(spy.count(), 0);
    QCOMPARE(steps(commands), 0);
    QCOMPARE(entries(commands), QStringList({ "1:a", "1:b", "1:c" }));
    VERIFY_MIRROR(view, commands);
}

void TestList::nonAscii()
{
    const QByteArray grusse = QString("echo Grüße € ✓").toUtf8();
    command_list *commands = load("#!/bin/sh\n" + grusse + "&\n#[INACTIVE]#日本語&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();

    // Store to row.
    QCOMPARE(view->item(0)->text(), QString("echo Grüße € ✓"));
    QCOMPARE(view->item(1)->text(), QString("日本語"));

    // Row to store, and unchanged through a full write-back.
    view->item(1)->setText("Ärger ñ 🙂");
    QCOMPARE(QByteArray(commands->entries->next->text), QString("Ärger ñ 🙂").toUtf8());
    list.syncItems();
    QCOMPARE(QByteArray(commands->entries->text), grusse);
    QCOMPARE(QByteArray(commands->entries->next->text), QString("Ärger ñ 🙂").toUtf8());
    VERIFY_MIRROR(view, commands);
}

void TestList::deleteAndUndo()
{
    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    command_entry *b = commands->entries->next;

    view->setCurrentRow(1);
    list.delItem();
    QCOMPARE(rows(view), QStringList({ "1:a", "1:c" }));
    VERIFY_MIRROR(view, commands);
    // The remaining rows still write into their own entries.
    list.syncItems();
    QCOMPARE(entries(commands), QStringList({ "1:a", "1:c" }));

    list.undo();
    list.undo();
    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:a", "1:b", "1:c" }));
    QCOMPARE(rowEntry(view->item(1)), static_cast<void *>(b));
    VERIFY_MIRROR(view, commands);
    list.redo();
    list.redo();
    list.redo();
    QCOMPARE(rows(view), QStringList({ "1:a", "1:c" }));
    VERIFY_MIRROR(view, commands);
    QVERIFY(list.modified());
}

void TestList::personDoubleClickAndType_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("ascii") << QString("xterm -e htop");
    QTest::newRow("non-ascii") << QString("notify-send 'Grüße ✓'");
}

void TestList::personDoubleClickAndType()
{
    QFETCH(QString, typed);

    command_list *commands = load("#!/bin/sh\nxterm&\nxclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    doubleClick(view->viewport(), view->visualItemRect(view->item(0)).center());
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = openEditor(view)) != nullptr);
    QCOMPARE(editor->text(), QString("xterm"));
    // The row edited is the one highlighted, which the keys act on next.
    QCOMPARE(view->currentRow(), 0);
    QVERIFY(view->item(0)->isSelected());
    QCOMPARE(steps(commands), 0); // opening the editor records nothing
    QCOMPARE(spy.count(), 0);

    editor->selectAll();
    typeText(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!openEditor(view));

    QCOMPARE(entries(commands), QStringList({ "1:" + typed, "1:xclock" }));
    QCOMPARE(QByteArray(commands->entries->text), typed.toUtf8());
    QCOMPARE(steps(commands), 1);
    QCOMPARE(spy.count(), 1);
    VERIFY_MIRROR(view, commands);

    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "1:xclock" }));
    QVERIFY(!list.canUndo());
    QVERIFY(!list.modified());
}

/* A mark that arrives while the user types in the row changes the row's
 * icon and tool tip, not what is being typed. */
void TestList::markArrivesWhileTyping()
{
    command_list *commands = load("#!/bin/sh\nxterm&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy finished(&list, SIGNAL(checksFinished()));
    QVERIFY(!list.checking() || finished.wait(10000));

    view->editItem(view->item(0));
    QLineEdit *editor = openEditor(view);
    QVERIFY(editor);
    editor->end(false);
    typeText(editor, " -e top");
    view->item(0)->setData(Qt::ToolTipRole, QString("a mark"));
    view->item(0)->setData(Qt::DecorationRole, QIcon());
    QCOMPARE(editor->text(), QString("xterm -e top"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(!openEditor(view));
    QCOMPARE(entries(commands), QStringList({ "1:xterm -e top" }));
}

void TestList::personClicksCheckBox()
{
    command_list *commands = load("#!/bin/sh\nxterm&\n#[INACTIVE]#xclock&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();

    const QRect box = checkIndicatorRect(view, view->item(1));
    QVERIFY(box.isValid());
    QVERIFY(view->visualItemRect(view->item(1)).contains(box));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "1:xclock" }));
    QCOMPARE(steps(commands), 1);
    QVERIFY(list.modified());
    VERIFY_MIRROR(view, commands);

    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      checkIndicatorRect(view, view->item(0)).center());
    QCOMPARE(entries(commands), QStringList({ "0:xterm", "1:xclock" }));
    QCOMPARE(steps(commands), 2);

    list.undo();
    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:xterm", "0:xclock" }));
    QVERIFY(!list.canUndo());
    QVERIFY(!list.modified());
}

void TestList::personPressesDelete()
{
    command_list *commands = load("#!/bin/sh\na&\nb&\nc&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    const command_entry *b = commands->entries->next;
    QSignalSpy spy(&list, SIGNAL(listModified(bool)));
    QVERIFY(spy.isValid());

    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualItemRect(view->item(1)).center());
    QCOMPARE(view->currentRow(), 1);
    QCOMPARE(steps(commands), 0);
    QTest::keyClick(view, Qt::Key_Delete);

    QCOMPARE(entries(commands), QStringList({ "1:a", "1:c" }));
    QCOMPARE(steps(commands), 1);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    VERIFY_MIRROR(view, commands);

    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:a", "1:b", "1:c" }));
    QCOMPARE(commands->entries->next, b);
    QVERIFY(!list.canUndo());
    VERIFY_MIRROR(view, commands);
}

void TestList::marks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("tip");

    QTest::newRow("unmatched quote")
        << "echo \"unterminated" << true << "echo \"unterminated"
        << "This line leaves a quote open: the shell reads the lines below as part of this "
           "command, up to the next matching quote.";
    // The "&" goes in front of a comment, and in place of a final ";".
    QTest::newRow("trailing comment") << "true # mine" << true << "true # mine"
                                      << "-";
    QTest::newRow("true;") << "true;" << true << "true"
                           << "-";
    QTest::newRow("trailing backslash") << "true \\" << true << "true \\" << readsOn;
    QTest::newRow("ends in &&") << "true &&" << true << "true &&" << readsOn;
    QTest::newRow("opens an if") << "if true; then" << true << "if true; then"
                                 << "The shell reads on from this line to the end of the script "
                                    "for the end of what it opens (if, case, a loop, a brace or a "
                                    "quote): this command and every later one never run.";
    QTest::newRow("stray fi") << "fi" << true << "fi" << notShell;
    QTest::newRow("active comment")
        << "#x" << true << "#x"
        << "An active command that begins with # is a comment: it does not run, and it is gone "
           "the next time the script is read.";
    QTest::newRow("unknown command")
        << "qvx-no-such-command --flag" << true << "qvx-no-such-command --flag"
        << "qvx-no-such-command: no such command (not a shell builtin, and not found on PATH).";
    // A program that the row tests for before it runs it is not missing.
    QTest::newRow("guarded by command -v")
        << "command -v qvx-no-such-command >/dev/null && qvx-no-such-command --flag" << true
        << "command -v qvx-no-such-command >/dev/null && qvx-no-such-command --flag"
        << "-";
    QTest::newRow("guarded by an if")
        << "if [ -x /usr/bin/qvx-no-such-command ]; then qvx-no-such-command; fi" << true
        << "if [ -x /usr/bin/qvx-no-such-command ]; then qvx-no-such-command; fi"
        << "-";
    QTest::newRow("not executable") << "/dev/null" << true << "/dev/null"
                                    << "/dev/null is not an executable file.";
    QTest::newRow("valid command") << "true --flag" << true << "true --flag"
                                   << "-";
    QTest::newRow("subshell") << "(sleep 1; true)" << true << "(sleep 1; true)"
                              << "-";
    QTest::newRow("if over lines")
        << "if true; then\n  true\nfi" << true << "if true; then\n  true\nfi"
        << "-";
    QTest::newRow("function") << "f() { true; }" << true << "f() { true; }"
                              << "-";
    // A command of several lines says where in it the shell stops.
    QTest::newRow("error on a later line")
        << "if true; then\n  echo a\n  )\nfi" << true << "if true; then\n  echo a\n  )\nfi"
        << "Line 3 of this command is not valid shell: the script stops there and no later "
           "command runs.";
    QTest::newRow("inactive bad row") << "echo \"unterminated" << false << "echo \"unterminated"
                                      << "-";
    QTest::newRow("inactive unknown command")
        << "qvx-no-such-command" << false << "qvx-no-such-command"
        << "-";
}

/* A row edited to a text, and its mark once checked; the other rows are
 * valid throughout and never marked. */
void TestList::marks()
{
    QFETCH(QString, text);
    QFETCH(bool, active);
    QFETCH(QString, stored);
    QFETCH(QString, tip);

    command_list *commands = load("#!/bin/sh\ntrue&\ntrue&\ntrue&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", "-", "-" }));

    view->item(1)->setText(text);
    view->item(1)->setCheckState(active ? Qt::Checked : Qt::Unchecked);
    QCOMPARE(entries(commands).at(1), QString("%1:%2").arg(active ? 1 : 0).arg(stored));
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", tip, "-" }));
    QCOMPARE(list.markedCount(), tip == "-" ? 0 : 1);
    // The mark is no edit of the row.
    QCOMPARE(steps(commands), active ? 1 : 2);
    VERIFY_MIRROR(view, commands);
    // The list's own help stays on the view.
    QVERIFY(view->toolTip().startsWith("Double click to edit."));
}

/*
 * A script saved on another system, its lines ending in CR LF: each line
 * whose CR the shell reads as part of a word is marked and says so, and
 * a save gives every CR back, also on a row that was edited.
 */
void TestList::carriageReturns()
{
    const QByteArray script = "#!/bin/sh\r\n"
                              "true b off\r\n"
                              "sleep 1 &\r\n"
                              "true &&\n  true --flag\r\n"
                              "true & # a note\r\n"
                              "true &\n";
    command_list *commands = load(script);
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    const QString tip = "This line ends in a carriage return (CR), as lines of a script saved on "
                        "another system do. The shell takes the CR for a part of the line's last "
                        "word, or after a final & for a command of its own.";
    QCOMPARE(marksWhenChecked(&list, view),
             QStringList({ tip, tip,
                           "Line 2 of this command ends in a carriage return (CR), as lines of a "
                           "script saved on another system do. The shell takes the CR for a part "
                           "of that line's last word, or after a final & for a command of its own.",
                           "-", "-" }));
    QCOMPARE(list.markedCount(), 3);

    save(&list, commands);
    QCOMPARE(read_file(script_path()), script);
    view->item(0)->setText("true b on");
    view->item(4)->setCheckState(Qt::Unchecked);
    save(&list, commands);
    QCOMPARE(read_file(script_path()),
             QByteArray(script)
                 .replace("b off", "b on")
                 .replace("\ntrue &\n", "\n#[INACTIVE]#true &\n"));
    QCOMPARE(marksWhenChecked(&list, view).at(0), tip);
}

/* A text given with the marker in front of a line is a switched-off
 * command, as the script reads it back: the row's box goes off. */
void TestList::typedMarker()
{
    command_list *commands = load("#!/bin/sh\ntrue&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();

    view->item(0)->setText("#[INACTIVE]#xclock");
    QCOMPARE(entries(commands), QStringList({ "0:xclock" }));
    QCOMPARE(view->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(view->item(0)->text(), QString("xclock"));
    VERIFY_MIRROR(view, commands);
    save(&list, commands);
    QCOMPARE(read_file(script_path()), QByteArray("#!/bin/sh\n#[INACTIVE]#xclock&\n"));
}

/* The script's rows are checked once the event loop runs, not while the
 * list is built; the marks come in then, with one icon for all rows. */
void TestList::marksWaitForEventLoop()
{
    command_list *commands = load("#!/bin/sh\nfi&\ntrue&\ntrue # mine&\n#[INACTIVE]#true;&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QSignalSpy finished(&list, SIGNAL(checksFinished()));
    QVERIFY(finished.isValid());

    QVERIFY(list.checking());
    for (int i = 0; i < view->count(); i++)
        QVERIFY(!hasIcon(view->item(i)));
    QCOMPARE(list.markedCount(), 0);

    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, 10000);
    QVERIFY(!list.checking());
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell, "-", foreground, "-" }));
    QCOMPARE(list.markedCount(), 2);
    QCOMPARE(view->item(0)->icon().cacheKey(), view->item(2)->icon().cacheKey());
    QVERIFY(!list.modified());
    QCOMPARE(steps(commands), 0);
}

/* A mark follows the row's text and check state; a result for a text the
 * row no longer holds never shows. */
/*
 * The marks judge the script as a whole: deleting or moving one row
 * changes the verdict on another, and undoing it changes it back.
 */
void TestList::marksFollowTheWholeScript()
{
    command_list *commands = load("#!/bin/sh\nqvx_f() {\n  true\n}\nqvx_f &\nexec true\ntrue &\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    // Each row as "mark" with the start of its tool tip, or "-".
    const auto marks = [&] {
        QStringList out;
        for (const QString &look : lookWhenChecked(&list, view))
            out << (look.startsWith("icon: ") ? look.mid(6, 24) : QString("-"));
        return out;
    };
    QCOMPARE(marks(), QStringList({ "-", "-", "-", "This command never runs:" }));

    // Without its definition the function is no command.
    view->setCurrentRow(0);
    list.delItem();
    QCOMPARE(marks(), QStringList({ "qvx_f: no such command (", "-", "This command never runs:" }));
    list.undo();
    QCOMPARE(marks(), QStringList({ "-", "-", "-", "This command never runs:" }));

    // Above the exec, the last row runs.
    view->setCurrentRow(3);
    list.moveUp();
    QCOMPARE(marks(), QStringList({ "-", "-", "-", "-" }));
    QCOMPARE(list.markedCount(), 0);
    list.undo();
    QCOMPARE(marks(), QStringList({ "-", "-", "-", "This command never runs:" }));
    QCOMPARE(list.markedCount(), 1);
}

void TestList::editChangesMark()
{
    command_list *commands = load("#!/bin/sh\nfi&\ntrue&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell, "-" }));

    view->item(0)->setText("echo terminated");
    view->item(1)->setText("fi");
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", notShell }));

    // Switched off, the bad row runs no more; switched on again, it would.
    view->item(1)->setCheckState(Qt::Unchecked);
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", "-" }));
    view->item(1)->setCheckState(Qt::Checked);
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", notShell }));

    // Bad, then good again before any result is in: only the last counts.
    view->item(0)->setText("then");
    view->item(0)->setText("true");
    view->item(1)->setText("true");
    view->item(1)->setText("true &&");
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", joinsAtEnd }));
    QCOMPARE(list.markedCount(), 1);
}

/* Undo and redo rebuild the rows: the marks follow the texts, a deleted
 * marked row is not counted, and its result is dropped. */
void TestList::marksFollowUndoRedo()
{
    command_list *commands = load("#!/bin/sh\ntrue&\ntrue&\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    ListWidget *view = list.findChild<ListWidget *>();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", "-" }));

    view->item(0)->setText("fi");
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell, "-" }));
    list.undo();
    QCOMPARE(entries(commands), QStringList({ "1:true", "1:true" }));
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-", "-" }));
    list.redo();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell, "-" }));
    QCOMPARE(list.markedCount(), 1);

    view->setCurrentRow(0);
    list.delItem();
    QCOMPARE(list.markedCount(), 0);
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ "-" }));
    list.undo();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell, "-" }));

    // Deleted while its check runs: the result finds no row.
    view->item(1)->setText("done");
    view->setCurrentRow(1);
    list.delItem();
    QCOMPARE(marksWhenChecked(&list, view), QStringList({ notShell }));
    QCOMPARE(list.markedCount(), 1);
}

/* A marked row's text starts where an unmarked row's does, on the screen
 * and in the row's editor. */
void TestList::rowTextsLineUp()
{
    // The same text twice: active it is a comment and marked, switched off
    // it is not.
    command_list *commands = load("#!/bin/sh\ntrue&\n#[INACTIVE]##x y z\n");
    QVERIFY(commands);
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    view->item(0)->setText("#x y z");
    const QStringList marks = marksWhenChecked(&list, view);
    QCOMPARE(marks.size(), 2);
    QVERIFY(marks.at(0) != "-");
    QCOMPARE(marks.at(1), QString("-"));

    view->setCurrentItem(nullptr); // no highlight, no focus frame
    const QImage image = view->viewport()->grab().toImage();
    const int end = inkRight(image, view->visualItemRect(view->item(0)));
    QVERIFY(end > 0);
    QCOMPARE(inkRight(image, view->visualItemRect(view->item(1))), end);

    QList<int> editorLeft;
    for (int row = 0; row < 2; row++) {
        view->editItem(view->item(row));
        QLineEdit *editor = openEditor(view);
        QVERIFY(editor);
        editorLeft << editor->geometry().left();
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!openEditor(view));
    }
    QCOMPARE(editorLeft.at(1), editorLeft.at(0));
}

void TestList::editorGetsWholeText_data()
{
    QTest::addColumn<QByteArray>("line"); // of the script
    QTest::addColumn<QString>("text"); // of its entry
    QTest::addColumn<bool>("doubleClick"); // else F2

    const QByteArray quoted = "echo 'one\ntwo'";
    const QByteArray heredoc = "cat <<EOF >/tmp/qvx-note\nhello\nEOF";
    const QByteArray longLine = "echo " + QByteArray(40000, 'x');
    const QByteArray longLines = "echo '" + QByteArray("line\n").repeated(1000) + "'";
    QTest::newRow("quote over two lines, F2") << quoted + "&" << QString(quoted) << false;
    QTest::newRow("quote over two lines, double click") << quoted + "&" << QString(quoted) << true;
    QTest::newRow("here-document") << heredoc << QString(heredoc) << false;
    QTest::newRow("40,000 characters, F2") << longLine + "&" << QString(longLine) << false;
    QTest::newRow("40,000 characters, double click") << longLine + "&" << QString(longLine) << true;
    QTest::newRow("a thousand lines") << longLines + "&" << QString(longLines) << false;
}

/*
 * A row of many lines or many characters shows one short line, while its
 * editor gets the entry's whole text; closed unchanged, the editor records
 * nothing and a save writes the script as it was read.
 */
void TestList::editorGetsWholeText()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, text);
    QFETCH(bool, doubleClick);

    const QByteArray script = "#!/bin/sh\ntrue&\n" + line + "\n";
    command_list *commands = load(script);
    QVERIFY(commands);
    QCOMPARE(entries(commands), QStringList({ "1:true", "1:" + text }));
    List list(commands, nullptr);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    ListWidget *view = list.findChild<ListWidget *>();
    QListWidgetItem *item = view->item(1);

    const QStyledItemDelegate *delegate = qobject_cast<RowDelegate *>(view->itemDelegate());
    QVERIFY(delegate);
    const QString shown = delegate->displayText(item->data(Qt::DisplayRole), QLocale());
    QVERIFY(!shown.contains('\n') && !shown.contains(QChar::LineSeparator));
    QVERIFY(shown.size() <= RowDelegate::shownLength + 1);
    QCOMPARE(item->text(), text);

    if (doubleClick) {
        ::doubleClick(view->viewport(), view->visualItemRect(item).center());
    } else {
        view->setCurrentItem(item);
        QTest::keyClick(view, Qt::Key_F2);
    }
    // A command of one line gets a line's editor, one of several lines an
    // editor of several lines, which Ctrl+Enter commits.
    if (text.contains('\n')) {
        QPlainTextEdit *editor = nullptr;
        QTRY_VERIFY((editor = openTextEditor(view)) != nullptr);
        QVERIFY(!openEditor(view));
        QCOMPARE(editor->toPlainText(), text);
        QVERIFY(editor->height() > view->visualItemRect(item).height());
        QTest::keyClick(editor, Qt::Key_Return, Qt::ControlModifier);
        QTRY_VERIFY(!openTextEditor(view));
    } else {
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = openEditor(view)) != nullptr);
        QCOMPARE(editor->text(), text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!openEditor(view));
    }

    QCOMPARE(steps(commands), 0);
    QVERIFY(!list.modified());
    VERIFY_MIRROR(view, commands);
    save(&list, commands);
    QCOMPARE(read_file(script_path()), script);
}

void TestList::storeFailure_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("text");

    const QString nomem = QString::fromUtf8(strerror(ENOMEM));
    QTest::newRow("addItem, malloc") << "add"
                                     << "libc/mm/malloc"
                                     << "malloc(): " + nomem;
    QTest::newRow("syncItems, malloc") << "sync"
                                       << "libc/mm/malloc"
                                       << "malloc(): " + nomem;
    QTest::newRow("check box, malloc") << "toggle"
                                       << "libc/mm/malloc"
                                       << "malloc(): " + nomem;
    QTest::newRow("delItem, malloc") << "delete"
                                     << "libc/mm/malloc"
                                     << "malloc(): " + nomem;
    QTest::newRow("moveDown, malloc") << "down"
                                      << "libc/mm/malloc"
                                      << "malloc(): " + nomem;
    QTest::newRow("moveUp, malloc") << "up"
                                    << "libc/mm/malloc"
                                    << "malloc(): " + nomem;
    QTest::newRow("drop, malloc") << "drop"
                                  << "libc/mm/malloc"
                                  << "malloc(): " + nomem;
    // The snapshot failure also names the system's reason.
    QTest::newRow("resetModified, malloc") << "reset"
                                           << "libc/mm/malloc"
                                           << "malloc(): " + nomem + ":\n" + nomem + "\n";
}

/* Runs this executable under fiu-run as a child that arms one failure point
 * right before the operation; the child reports the dialog's text. */
void TestList::storeFailure()
{
    QFETCH(QString, op);
    QFETCH(QString, point);
    QFETCH(QString, text);

#if !defined(QVX_HAVE_FIU)
    QSKIP("built without libfiu");
#elif defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizer's allocator does not go through the failure points");
#endif
    const QString fiuRun = QStandardPaths::findExecutable("fiu-run");
    if (fiuRun.isEmpty())
        QSKIP("fiu-run is not installed");

    const QByteArray script = "#!/bin/sh\nxterm&\n#[INACTIVE]#xclock&\n";
    QVERIFY(write_script(script));

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // fiu-run replaces LD_PRELOAD; the temporary home depends on ours.
    env.insert("QVX_OUTER_PRELOAD", qEnvironmentVariable("LD_PRELOAD"));
    child.setProcessEnvironment(env);
    child.start(fiuRun,
                { "-x", "-f", "", "sh", "-c",
                  "LD_PRELOAD=\"$LD_PRELOAD $QVX_OUTER_PRELOAD\" exec \"$@\"", "sh",
                  QCoreApplication::applicationFilePath(), "--fail-child", op, point });
    QVERIFY(child.waitForFinished(60000));
    const QByteArray out = child.readAllStandardOutput();
    const QByteArray err = child.readAllStandardError();

    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 1, (out + err).constData());
    QCOMPARE(QString::fromUtf8(out), "Error\n" + text);
    QCOMPARE(read_file(script_path()), script);
    QCOMPARE(QDir(script_dir()).entryList(QDir::Files | QDir::Hidden),
             QStringList({ "autostart.sh" }));
}

/* The child of storeFailure: builds the widget on the script, prepares the
 * operation, arms the failure point and runs the operation.  A timer
 * writes the title and text of the modal box to stdout and presses Ok,
 * after which the dialog ends the process. */
static int failChild(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString op = argv[2];
    const QByteArray point = argv[3];

    // Never let the child near a real home directory.
    const struct passwd *pw = getpwuid(getuid());
    if (!pw || qgetenv("QVX_TEST_HOME").isEmpty() || qgetenv("QVX_TEST_HOME") != pw->pw_dir)
        return 3;
    command_list *commands = qvxsessrun_read();
    if (!commands)
        return 4;
    List list(commands, nullptr);
    list.show();
    ListWidget *view = list.findChild<ListWidget *>();

    ModalBoxWatch<> watch([](QMessageBox *box) {
        const QByteArray report = box->windowTitle().toUtf8() + '\n' + box->text().toUtf8();
        fwrite(report.constData(), 1, report.size(), stdout);
        fflush(stdout);
        box->button(QMessageBox::Ok)->click();
    });

    QTimer::singleShot(0, [&] {
        QTemporaryDir dir;
        QByteArray uris;
        if (op == "drop") {
            QFile f(dir.filePath("app.desktop"));
            if (!f.open(QIODevice::WriteOnly))
                QCoreApplication::exit(5);
            f.write("[Desktop Entry]\nExec=xterm\n");
            uris = "file://" + f.fileName().toUtf8() + "\n";
        }
        view->setCurrentRow(op == "down" ? 0 : 1);
        if (op == "sync") {
            // Only a row that differs from its entry is written back.
            const QSignalBlocker blocker(view);
            view->item(1)->setText("xclock -digital");
        }

#ifdef QVX_HAVE_FIU
        // Only the store's own allocations fail: Qt's on the way there
        // would end the process otherwise.
        fiu_init(0);
        if (fiu_enable_stack(point.constData(), 1, reinterpret_cast<void *>(long(ENOMEM)),
                             FIU_ONETIME, reinterpret_cast<void *>(&store_malloc), -1)
            != 0)
            QCoreApplication::exit(6);
#endif
        if (op == "add")
            list.addItem();
        else if (op == "sync")
            list.syncItems();
        else if (op == "toggle")
            view->item(0)->setCheckState(Qt::Unchecked);
        else if (op == "delete")
            list.delItem();
        else if (op == "down")
            list.moveDown();
        else if (op == "up")
            list.moveUp();
        else if (op == "drop")
            drop_uri_list(view, uris);
        else if (op == "reset")
            list.resetModified();
#ifdef QVX_HAVE_FIU
        fiu_disable(point.constData());
#endif
        fputs("no dialog", stdout);
        QCoreApplication::exit(0);
    });
    return app.exec();
}

int main(int argc, char **argv)
{
    if (argc == 4 && strcmp(argv[1], "--fail-child") == 0)
        return failChild(argc, argv);

    QApplication app(argc, argv);
    TestList test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_list.moc"
