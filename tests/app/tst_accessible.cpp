// SPDX-License-Identifier: BSD-2-Clause
// The window as a keyboard and screen reader user meets it: what Qt's
// accessibility interfaces say of the list, its rows and the editor, the
// events a screen reader hears, the keys, and what shows where the focus is.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

#include <cmath>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "app/Mainwin.h"
#include "editor/List.h"
#include "testscript.h"

#define MISSING "qvx-no-such-command"

static const QString missingReason
    = MISSING ": no such command (not a shell builtin, and not found on PATH).";

/* A shown, active main window on the script of the temporary home. */
struct Window
{
    Mainwin win { nullptr };
    List *list = win.findChild<List *>();
    QListWidget *view = win.findChild<QListWidget *>();

    bool show()
    {
        win.show();
        QApplication::setActiveWindow(&win);
        return QTest::qWaitForWindowActive(&win);
    }
    bool checked()
    {
        QSignalSpy finished(list, SIGNAL(checksFinished()));
        return !list->checking() || finished.wait(10000);
    }
    QString message() const { return win.statusBar()->currentMessage(); }
    QPushButton *button(const QString &name) const { return win.findChild<QPushButton *>(name); }
    QAccessibleInterface *viewInterface() const
    {
        return QAccessible::queryAccessibleInterface(view);
    }
    QAccessibleInterface *cell(int row) const
    {
        QAccessibleInterface *v = viewInterface();
        return v && v->tableInterface() ? v->tableInterface()->cellAt(row, 0) : nullptr;
    }
    // Keys as the keyboard gives them, to the widget with the focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    QWidget *openEditor() const
    {
        for (QWidget *w : view->viewport()->findChildren<QWidget *>())
            if (w->isVisible()
                && (qobject_cast<QLineEdit *>(w) || qobject_cast<QPlainTextEdit *>(w)))
                return w;
        return nullptr;
    }
};

/* What a screen reader is told: the events, by kind, and the row they are of. */
struct Heard
{
    QAccessible::Event type;
    int row; // -1 for the list itself
    int change; // of a table model change
    int firstRow, lastRow;
};

static QVector<Heard> heard;

static void hear(QAccessibleEvent *event)
{
    Heard h { event->type(), -1, -1, -1, -1 };
    QAccessibleInterface *iface = event->accessibleInterface();
    if (iface && iface->tableCellInterface())
        h.row = iface->tableCellInterface()->rowIndex();
    if (event->type() == QAccessible::TableModelChanged) {
        const auto *change = static_cast<QAccessibleTableModelChangeEvent *>(event);
        h.change = change->modelChangeType();
        h.firstRow = change->firstRow();
        h.lastRow = change->lastRow();
    }
    if (event->type() == QAccessible::StateChanged
        && !static_cast<QAccessibleStateChangeEvent *>(event)->changedStates().checked)
        return;
    heard.append(h);
}

static bool heardOf(QAccessible::Event type, int row)
{
    for (const Heard &h : qAsConst(heard))
        if (h.type == type && h.row == row)
            return true;
    return false;
}

static bool heardChange(QAccessibleTableModelChangeEvent::ModelChangeType change, int row)
{
    for (const Heard &h : qAsConst(heard))
        if (h.type == QAccessible::TableModelChanged
            && (h.change == change || h.change == QAccessibleTableModelChangeEvent::ModelReset)
            && (h.change == QAccessibleTableModelChangeEvent::ModelReset
                || (h.firstRow <= row && row <= h.lastRow)))
            return true;
    return false;
}

/* The contrast between two colours, as WCAG counts it: 1 to 21. */
static double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
            + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

class TestAccessible : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void namesAndRelations();
    void rowsSayTheirMarks();
    void nextMarkedRow_data();
    void nextMarkedRow();
    void keyedRowSaysWhy();
    void savedCountNamesTheKey();
    void changesAreHeard_data();
    void changesAreHeard();
    void keysOnRows();
    void tabLeavesTheList_data();
    void tabLeavesTheList();
    void highlightedRowIsActedOn();
    void doubleClickOnCheckBox();
    void focusIsPlainToSee();
};

void TestAccessible::initTestCase()
{
    QAccessible::installUpdateHandler(hear);
    // As when a screen reader listens: the platform's, not only the
    // observers', which QAccessible::setActive() tells.
    QPlatformAccessibility *platform
        = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
}

void TestAccessible::init()
{
    QFile::remove(script_path());
    heard.clear();
}

/* Where the focus lands, a screen reader has a name to say, and the
 * buttons say their keys. */
void TestAccessible::namesAndRelations()
{
    QVERIFY(write_script("true &\nif true; then\n  true\nfi\n"));
    Window w;
    QVERIFY(w.show());

    QAccessibleInterface *list = w.viewInterface();
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QString("Commands"));
    QVERIFY(list->text(QAccessible::Description).contains("F8"));
    // The heading labels the list (Qt tells it from the label's side).
    QLabel *heading = nullptr;
    for (QLabel *l : w.win.findChildren<QLabel *>())
        if (l->text() == "Add commands to be executed at session start")
            heading = l;
    QVERIFY(heading);
    const auto labelled
        = QAccessible::queryAccessibleInterface(heading)->relations(QAccessible::Labelled);
    QCOMPARE(labelled.size(), 1);
    QCOMPARE(labelled.first().first, list);

    // The editors of a row of one line and of several.
    for (int row : { 0, 1 }) {
        w.view->setFocus();
        w.view->setCurrentRow(row);
        w.key(Qt::Key_F2);
        QWidget *editor = w.openEditor();
        QVERIFY2(editor, qPrintable(QString("row %1").arg(row)));
        QAccessibleInterface *e = QAccessible::queryAccessibleInterface(editor);
        QCOMPARE(e->text(QAccessible::Name), QString("Command"));
        w.key(Qt::Key_Escape);
    }

    // Each button names, in parentheses at the end, a key that does what it
    // does: the platform's first standard key (Ctrl+Shift+Z for Redo at an X
    // display, Ctrl+Y under the offscreen platform's key scheme).
    const QPair<const char *, QList<QKeySequence>> keys[] = {
        { "undoButton", QKeySequence::keyBindings(QKeySequence::Undo) },
        { "redoButton", QKeySequence::keyBindings(QKeySequence::Redo) },
        { "addButton", QKeySequence::keyBindings(QKeySequence::New) },
        { "deleteButton", { QKeySequence(Qt::Key_Delete) } },
        { "saveButton", QKeySequence::keyBindings(QKeySequence::Save) },
        { "quitButton", { QKeySequence(Qt::CTRL | Qt::Key_Q) } },
    };
    for (const auto &k : keys) {
        QPushButton *b = w.button(k.first);
        QVERIFY2(b, k.first);
        const QString description
            = QAccessible::queryAccessibleInterface(b)->text(QAccessible::Description);
        QCOMPARE(b->toolTip(), description);
        const QRegularExpressionMatch named
            = QRegularExpression(QStringLiteral("\\(([^()]+)\\)$")).match(description);
        QVERIFY2(named.hasMatch(), qPrintable(description));
        const QKeySequence key
            = QKeySequence::fromString(named.captured(1), QKeySequence::NativeText);
        QVERIFY2(!key.isEmpty() && k.second.contains(key), qPrintable(description));
    }
}

/* A marked row's description says why; a row that runs says nothing of a mark. */
void TestAccessible::rowsSayTheirMarks()
{
    QVERIFY(write_script("true &\n" MISSING " &\n"));
    heard.clear();
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.checked());
    // The mark arrives after the window is shown: a screen reader hears of it.
    QVERIFY(heardOf(QAccessible::DescriptionChanged, 1));
    QCOMPARE(w.cell(1)->text(QAccessible::Description), missingReason);
    QCOMPARE(w.cell(1)->text(QAccessible::Name), QString(MISSING));
    QVERIFY(w.cell(1)->state().checked);
    QCOMPARE(w.cell(0)->text(QAccessible::Description), QString());
}

void TestAccessible::nextMarkedRow_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("back");
    QTest::addColumn<int>("reached"); // -1: none

    // Rows 1 and 3 are marked.
    QTest::newRow("from the top") << 0 << false << 1;
    QTest::newRow("from a marked row") << 1 << false << 3;
    QTest::newRow("round from the last") << 3 << false << 1;
    QTest::newRow("back") << 2 << true << 1;
    QTest::newRow("back round from the first") << 0 << true << 3;
    QTest::newRow("back from a marked row") << 3 << true << 1;
}

/* F8 and Shift+F8 from wherever the focus is: the list gets it, and the
 * marked row is current and highlighted. */
void TestAccessible::nextMarkedRow()
{
    QFETCH(int, current);
    QFETCH(bool, back);
    QFETCH(int, reached);

    QVERIFY(write_script("true &\n" MISSING " &\ntrue &\n" MISSING "-2 &\n"));
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.checked());
    w.view->setCurrentRow(current);
    w.button("saveButton")->setFocus();
    w.key(Qt::Key_F8, back ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(w.view->currentRow(), reached);
    QVERIFY(w.view->item(reached)->isSelected());
    QCOMPARE(QApplication::focusWidget(), w.view);
}

/* The status bar says the first sentence of why a row that a key made
 * current is marked, and takes it away on a row that is not; with no
 * marked row, F8 says so. */
void TestAccessible::keyedRowSaysWhy()
{
    QVERIFY(write_script("true &\nif true; then\n  " MISSING "\nfi &\ntrue &\n"));
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.checked());
    w.view->setFocus();
    w.view->setCurrentRow(0);
    QCOMPARE(w.message(), QString());
    w.key(Qt::Key_Down);
    QCOMPARE(w.view->currentRow(), 1);
    QCOMPARE(w.message(), missingReason);
    w.key(Qt::Key_Down);
    QCOMPARE(w.message(), QString());
    w.key(Qt::Key_F8);
    QCOMPARE(w.message(), missingReason);

    // A message of its own is not taken away by a row.
    w.key(Qt::Key_Space);
    QCOMPARE(w.message(), QString("Modified"));
    w.key(Qt::Key_Down);
    QCOMPARE(w.message(), QString("Modified"));

    QVERIFY(write_script("true &\n"));
    Window unmarked;
    QVERIFY(unmarked.show());
    QVERIFY(unmarked.checked());
    unmarked.key(Qt::Key_F8);
    QCOMPARE(unmarked.message(), QString("No command is marked."));
    QCOMPARE(unmarked.view->currentRow(), 0);
}

void TestAccessible::savedCountNamesTheKey()
{
    QVERIFY(write_script(MISSING " &\n"));
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.checked());
    w.key(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.message(),
             QString("Saved. 1 command(s) would not run as written: F8 goes to them."));
}

void TestAccessible::changesAreHeard_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    // Keys: s Space, z Ctrl+Z, Z Ctrl+Shift+Z, n Ctrl+N (then Escape), d Delete.
    // Expected: c<row> checked state, i<row> rows inserted, r<row> rows removed.
    QTest::newRow("switch") << "s"
                            << "c0";
    QTest::newRow("undo of a switch") << "sz"
                                      << "c0";
    QTest::newRow("redo of a switch") << "szZ"
                                      << "c0";
    // A new row goes at the end of a script without a final exec.
    QTest::newRow("add") << "n"
                         << "i2";
    QTest::newRow("delete") << "d"
                            << "r0";
    QTest::newRow("undo of a delete") << "dz"
                                      << "i0";
}

/* A switch, its undo and redo, a row added, removed and restored reach a
 * screen reader as events. */
void TestAccessible::changesAreHeard()
{
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    QVERIFY(write_script("true &\ntrue 2 &\n"));
    Window w;
    QVERIFY(w.show());
    QVERIFY(w.checked());
    w.view->setFocus();
    w.view->setCurrentRow(0);
    for (QChar k : keys) {
        heard.clear();
        switch (k.toLatin1()) {
        case 's':
            w.key(Qt::Key_Space);
            break;
        case 'z':
            w.key(Qt::Key_Z, Qt::ControlModifier);
            break;
        case 'Z':
            w.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
            break;
        case 'n':
            w.key(Qt::Key_N, Qt::ControlModifier);
            w.key(Qt::Key_Escape);
            break;
        case 'd':
            w.key(Qt::Key_Delete);
            break;
        }
    }
    const int row = expected.mid(1).toInt();
    switch (expected.at(0).toLatin1()) {
    case 'c':
        QVERIFY(heardOf(QAccessible::StateChanged, row));
        break;
    case 'i':
        QVERIFY(heardChange(QAccessibleTableModelChangeEvent::RowsInserted, row));
        break;
    case 'r':
        QVERIFY(heardChange(QAccessibleTableModelChangeEvent::RowsRemoved, row));
        break;
    }
}

/* Enter edits the current row as F2 does; Shift+F10 opens its menu. */
void TestAccessible::keysOnRows()
{
    QVERIFY(write_script("true &\ntrue 2 &\n"));
    Window w;
    QVERIFY(w.show());
    w.view->setFocus();
    w.view->setCurrentRow(1);
    for (Qt::Key k : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2 }) {
        w.key(k);
        QWidget *editor = w.openEditor();
        QVERIFY(editor);
        QCOMPARE(qobject_cast<QLineEdit *>(editor)->text(), QString("true 2"));
        w.key(Qt::Key_Escape);
        QVERIFY(!w.openEditor());
    }

    QString menuItems;
    QTimer::singleShot(0, [&] {
        if (QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *a : menu->actions())
                menuItems += a->text() + '|';
            menu->close();
        }
    });
    w.key(Qt::Key_F10, Qt::ShiftModifier);
    QVERIFY2(menuItems.startsWith("Run no&w|Run in the &background|"), qPrintable(menuItems));
    QCOMPARE(w.view->currentRow(), 1);
}

void TestAccessible::tabLeavesTheList_data()
{
    QTest::addColumn<bool>("back");
    QTest::addColumn<QString>("focus");

    QTest::newRow("Tab") << false << "undoButton";
    QTest::newRow("Shift+Tab") << true << "quitButton";
}

/* Tab in a row's editor keeps what was typed and goes on to the control
 * after the list; Shift+Tab to the one before it. */
void TestAccessible::tabLeavesTheList()
{
    QFETCH(bool, back);
    QFETCH(QString, focus);

    QVERIFY(write_script("true &\ntrue 2 &\n"));
    Window w;
    QVERIFY(w.show());
    w.view->setFocus();
    w.view->setCurrentRow(1);
    w.key(Qt::Key_F2);
    QLineEdit *editor = qobject_cast<QLineEdit *>(w.openEditor());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "false");
    w.key(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    QVERIFY(!w.openEditor());
    QCOMPARE(w.view->item(1)->text(), QString("false"));
    QVERIFY(QApplication::focusWidget());
    // The button the focus chain holds next to the list, enabled or not.
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

/* The row that the keys act on is the one highlighted: at start once the
 * list has the focus, and after a click on a row's check box. */
void TestAccessible::highlightedRowIsActedOn()
{
    QVERIFY(write_script("true 0 &\ntrue 1 &\ntrue 2 &\n"));
    Window w;
    QVERIFY(w.show());
    w.view->setFocus(Qt::TabFocusReason);
    QCOMPARE(w.view->currentRow(), 0);
    QVERIFY(w.view->item(0)->isSelected());

    // A click on the third row's check box: that row switched, current
    // and the only one highlighted; Delete deletes it.
    const QRect row = w.view->visualItemRect(w.view->item(2));
    QStyleOptionViewItem option;
    option.initFrom(w.view);
    option.rect = row;
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QPoint box = w.view->style()
                           ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, w.view)
                           .center();
    QTest::mouseClick(w.view->viewport(), Qt::LeftButton, Qt::NoModifier, box);
    QCOMPARE(w.view->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(w.view->currentRow(), 2);
    QCOMPARE(w.view->selectedItems(), QList<QListWidgetItem *>({ w.view->item(2) }));
    w.key(Qt::Key_Delete);
    QCOMPARE(w.view->count(), 2);
    QCOMPARE(w.view->item(1)->text(), QString("true 1"));
}

/* A double click on a check box switches the row once: one undo step, no
 * editor, and the row is the highlighted one. */
void TestAccessible::doubleClickOnCheckBox()
{
    QVERIFY(write_script("true 0 &\ntrue 1 &\n"));
    Window w;
    QVERIFY(w.show());
    w.view->setFocus();
    w.view->setCurrentRow(0);
    QStyleOptionViewItem option;
    option.initFrom(w.view);
    option.rect = w.view->visualItemRect(w.view->item(1));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QPoint box = w.view->style()
                           ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, w.view)
                           .center();
    QWidget *port = w.view->viewport();
    QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, box);
    QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, box);
    QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, box);
    QTest::mouseDClick(port, Qt::LeftButton, Qt::NoModifier, box);
    QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, box);

    QCOMPARE(w.view->item(1)->checkState(), Qt::Unchecked);
    QVERIFY(!w.openEditor());
    QCOMPARE(w.view->currentRow(), 1);
    QVERIFY(w.view->item(1)->isSelected());
    QVERIFY(w.list->canUndo());
    w.list->undo();
    QCOMPARE(w.view->item(1)->checkState(), Qt::Checked);
    QVERIFY(!w.list->canUndo());
}

/*
 * The current row, with the list focused, has a frame that stands out at
 * least 3:1 from the row; without the focus the row's highlight is another.
 */
void TestAccessible::focusIsPlainToSee()
{
    QVERIFY(write_script("true &\ntrue 2 &\n"));
    Window w;
    QVERIFY(w.show());
    w.view->setFocus();
    w.view->setCurrentRow(0);
    QTRY_VERIFY(w.view->hasFocus());
    const QRect row = w.view->visualItemRect(w.view->item(0));
    // The frame at the row's left edge, the row's own colour at its right
    // end, where the short text does not reach.
    const QPoint frameAt(row.left() + 1, row.center().y());
    const QPoint fillAt(row.right() - 6, row.center().y());
    QImage focused = w.view->viewport()->grab().toImage();
    const qreal ratio = focused.devicePixelRatio();
    const auto pixel = [ratio](const QImage &image, const QPoint &p) {
        return image.pixelColor(int(p.x() * ratio), int(p.y() * ratio));
    };
    const QColor frame = pixel(focused, frameAt), fill = pixel(focused, fillAt);
    QVERIFY2(contrast(frame, fill) >= 3.0,
             qPrintable(QString("frame %1 on %2").arg(frame.name(), fill.name())));

    w.button("saveButton")->setFocus();
    QTRY_VERIFY(!w.view->hasFocus());
    QImage unfocused = w.view->viewport()->grab().toImage();
    QVERIFY(w.view->item(0)->isSelected());
    QVERIFY2(pixel(unfocused, fillAt) != fill, qPrintable(fill.name()));
    QVERIFY(pixel(unfocused, fillAt) != w.view->palette().color(QPalette::Base));
}

QTEST_MAIN(TestAccessible)
#include "tst_accessible.moc"
