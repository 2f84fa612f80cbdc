// SPDX-License-Identifier: BSD-2-Clause
#include "desktop/UriList.h"
#include "editor/ListWidget.h"
#include "editor/RowDelegate.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <stdio.h>
#include <string.h>
#include <unistd.h>

static const char uriListFormat[] = "text/uri-list";
static const char dragChildFlag[] = "--drag-child";

// The bytes of a literal that may hold NULs.
template<int N> static QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
}

/*
 * A drop from another application hands over the bytes of each format as
 * the source wrote them; QMimeData::setData would instead parse a URI list
 * into URLs and write it out again in its own form.
 */
class ForeignDropData : public QMimeData
{
public:
    ForeignDropData(const QString &format, const QByteArray &bytes) : format(format), bytes(bytes)
    { }

    QStringList formats() const override
    {
        return format.isEmpty() ? QStringList() : QStringList { format };
    }

protected:
    QVariant retrieveData(const QString &mimeType, QVariant::Type) const override
    {
        return mimeType == format ? QVariant(bytes) : QVariant();
    }

private:
    QString format;
    QByteArray bytes;
};

/* Records every itemDroped, connected the way the command list connects. */
class DropRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QStringList> drops;
    int deletes = 0;

public slots:
    void catchDrop(QStringList &files) { drops.append(files); }
    void catchDelete() { ++deletes; }
};

/* What a row delegate hands the style to paint and measure a row. */
class RowProbe : public RowDelegate
{
public:
    RowProbe() : RowDelegate(nullptr) { }

    QString shown(const QModelIndex &index) const
    {
        QStyleOptionViewItem option;
        initStyleOption(&option, index);
        return option.text;
    }
};

class TestListWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drop_data();
    void drop();
    void dropOfUrlsFromQt();
    void dropWithoutUriList_data();
    void dropWithoutUriList();
    void enterAcceptsEveryDrag();
    void moveWithoutDragSourceAccepted();
    void dragSourceDecidesMove();

    void deleteKey_data();
    void deleteKey();
    void arrowKeysMoveCurrentRow();
    void rowShowsOneShortLine_data();
    void rowShowsOneShortLine();
    void changedRowsDrawnAsBuilt_data();
    void changedRowsDrawnAsBuilt();

private:
    bool dropOnList(QMimeData *mime, bool accepted);

    ListWidget *list = nullptr;
    DropRecorder *recorder = nullptr;
};

void TestListWidget::init()
{
    list = new ListWidget(nullptr);
    recorder = new DropRecorder;
    QVERIFY(
        connect(list, SIGNAL(itemDroped(QStringList &)), recorder, SLOT(catchDrop(QStringList &))));
    QVERIFY(connect(list, SIGNAL(deleteKeyPressed()), recorder, SLOT(catchDelete())));
    list->addItems({ QStringLiteral("one&"), QStringLiteral("two&"), QStringLiteral("three&") });
    list->resize(200, 200);
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list));
}

void TestListWidget::cleanup()
{
    delete list;
    delete recorder;
}

void TestListWidget::drop_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("paths");

    const QString a = QStringLiteral("/usr/share/applications/a.desktop");
    const QString b = QStringLiteral("/home/u/.local/share/applications/b.desktop");

    QTest::newRow("two files, CR LF")
        << QByteArray("file:///usr/share/applications/a.desktop\r\n"
                      "file:///home/u/.local/share/applications/b.desktop\r\n")
        << QStringList { a, b };
    QTest::newRow("two files, LF")
        << QByteArray("file:///usr/share/applications/a.desktop\n"
                      "file:///home/u/.local/share/applications/b.desktop\n")
        << QStringList { a, b };
    QTest::newRow("no final line end")
        << QByteArray("file:///usr/share/applications/a.desktop\r\n"
                      "file:///home/u/.local/share/applications/b.desktop")
        << QStringList { a, b };
    QTest::newRow("empty lines between")
        << QByteArray("\r\n\nfile:///usr/share/applications/a.desktop\r\n\r\n\n")
        << QStringList { a };
    QTest::newRow("other scheme after a file")
        << QByteArray("file:///usr/share/applications/a.desktop\r\n"
                      "https://example.org/b.desktop\r\n")
        << QStringList { a };
    QTest::newRow("no file URI") << QByteArray("https://example.org/a\r\nsmb://host/b.desktop\r\n")
                                 << QStringList();
    QTest::newRow("empty data") << QByteArray("") << QStringList();
    QTest::newRow("scheme in capitals")
        << QByteArray("FILE:///x.desktop\r\nFile:///y.desktop\r\nfile:///usr/share/applications/"
                      "a.desktop\r\n")
        << QStringList { a };
    QTest::newRow("bare file://") << QByteArray("file://\r\nfile://\nfile:///z.desktop")
                                  << QStringList { QStringLiteral("/z.desktop") };
    QTest::newRow("comment line") << QByteArray(
        "# dragged from a file manager\r\nfile:///z.desktop")
                                  << QStringList { QStringLiteral("/z.desktop") };
    QTest::newRow("blank before scheme") << QByteArray(" file:///z.desktop\r\n") << QStringList();
    QTest::newRow("blank as %20") << QByteArray("file:///opt/my%20app/My%20Browser.desktop\r\n")
                                  << QStringList { QStringLiteral(
                                         "/opt/my app/My Browser.desktop") };
    QTest::newRow("escapes in either case")
        << QByteArray("file:///opt/run%2Bit%2bnow%25.desktop\r\n")
        << QStringList { QStringLiteral("/opt/run+it+now%.desktop") };
    QTest::newRow("non-ASCII percent-encoded")
        << QByteArray("file:///tmp/%C3%A9t%C3%A9/%E2%82%AC%e6%97%a5.desktop\r\n")
        << QStringList { QString::fromUtf8(
               "/tmp/\xc3\xa9t\xc3\xa9/\xe2\x82\xac\xe6\x97\xa5.desktop") };
    QTest::newRow("percent without two hex digits stays")
        << QByteArray("file:///a%zz%4g%.desktop%\r\nfile:///b%4\r\n")
        << QStringList { QStringLiteral("/a%zz%4g%.desktop%"), QStringLiteral("/b%4") };
    QTest::newRow("non-ASCII path")
        << QByteArray("file:///tmp/\xc3\xa9t\xc3\xa9/\xe2\x82\xac\xe6\x97\xa5.desktop\r\n")
        << QStringList { QString::fromUtf8(
               "/tmp/\xc3\xa9t\xc3\xa9/\xe2\x82\xac\xe6\x97\xa5.desktop") };
    QTest::newRow("localhost") << QByteArray(
        "file://localhost/etc/a.desktop\r\nfile://LocalHost/etc/b%20c.desktop\r\n")
                               << QStringList { QStringLiteral("/etc/a.desktop"),
                                                QStringLiteral("/etc/b c.desktop") };
    // A file that is there but cannot be read here: an empty path name.
    QTest::newRow("other host") << QByteArray(
        "file://example.org/etc/a.desktop\r\nfile://localhost.example.org/b\r\n"
        "file://localhost:80/c\r\nfile:///z.desktop\r\n")
                                << QStringList { "", "", "", QStringLiteral("/z.desktop") };
    QTest::newRow("authority without a path")
        << QByteArray("file://localhost\r\nfile://example.org\r\n") << QStringList { "" };
    QTest::newRow("only one CR removed")
        << QByteArray("file:///z.desktop\r\r\n") << QStringList { QStringLiteral("/z.desktop\r") };
    QTest::newRow("NUL inside a path")
        << bytes("file:///z.desktop\0/etc/shadow\r\nfile:///y.desktop\r\n")
        << QStringList { QStringLiteral("/z.desktop"), QStringLiteral("/y.desktop") };
    QTest::newRow("escaped NUL inside a path")
        << QByteArray("file:///z.desktop%00/etc/shadow\r\nfile:///y%2500.desktop\r\n")
        << QStringList { QStringLiteral("/z.desktop"), QStringLiteral("/y%00.desktop") };
    // The line ends before the path begins: no local file is named, the
    // second line names the host "local".
    QTest::newRow("NUL right after the scheme")
        << bytes("file://\0/z.desktop\nfile://local\0host/z.desktop\n") << QStringList { "" };
}

void TestListWidget::drop()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, paths);

    QCOMPARE(UriList::paths(data), paths);

    ForeignDropData mime(uriListFormat, data);
    QVERIFY(dropOnList(&mime, true));
    QCOMPARE(recorder->drops.size(), 1);
    QCOMPARE(recorder->drops.first(), paths);
    // The view's own drop handling would have inserted or moved rows.
    QCOMPARE(list->count(), 3);
}

void TestListWidget::dropOfUrlsFromQt()
{
    // A drag from a Qt widget writes the list itself: CR LF line ends and
    // percent-escapes, as file managers write them.
    QMimeData mime;
    mime.setUrls({ QUrl::fromLocalFile(QStringLiteral("/usr/share/applications/a.desktop")),
                   QUrl(QStringLiteral("https://example.org/b.desktop")),
                   QUrl::fromLocalFile(QStringLiteral("/opt/my app/c.desktop")) });
    QVERIFY(dropOnList(&mime, true));
    QCOMPARE(recorder->drops.size(), 1);
    QCOMPARE(recorder->drops.first(),
             QStringList({ QStringLiteral("/usr/share/applications/a.desktop"),
                           QStringLiteral("/opt/my app/c.desktop") }));
}

void TestListWidget::dropWithoutUriList_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("data");

    QTest::newRow("plain text") << QStringLiteral("text/plain")
                                << QByteArray("file:///usr/share/applications/a.desktop\r\n");
    QTest::newRow("nothing at all") << QString() << QByteArray();
    QTest::newRow("rows of a list view")
        << QStringLiteral("application/x-qabstractitemmodeldatalist") << bytes("\0\0\0\0");
}

void TestListWidget::dropWithoutUriList()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, data);

    ForeignDropData mime(format, data);
    QVERIFY(dropOnList(&mime, false));
    QVERIFY(recorder->drops.isEmpty());
    QCOMPARE(list->count(), 3);
}

/*
 * Enters and drops mime over the middle of the list as the application
 * delivers a drop: the accepted enter makes the viewport the drop's
 * target.  The drop starts in the opposite state of the expected one, so
 * a handler that leaves it alone fails.  True when the drop ended accepted
 * or ignored as expected with the proposed action unchanged.
 */
bool TestListWidget::dropOnList(QMimeData *mime, bool accepted)
{
    const QPoint pos = list->viewport()->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(list->viewport(), &enter);
    if (!enter.isAccepted() || enter.dropAction() != Qt::CopyAction) {
        qWarning("the enter was refused");
        return false;
    }
    QDropEvent event(pos, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    event.setAccepted(!accepted);
    QApplication::sendEvent(list->viewport(), &event);
    return event.isAccepted() == accepted && event.dropAction() == Qt::CopyAction;
}

void TestListWidget::enterAcceptsEveryDrag()
{
    QMimeData mime;
    mime.setData(uriListFormat, "file:///z.desktop\r\n");
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    for (Qt::DropAction proposed : { Qt::CopyAction, Qt::MoveAction, Qt::LinkAction }) {
        QDragEnterEvent enter(QPoint(5, 5), all, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(proposed);
        enter.ignore();
        QApplication::sendEvent(list->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), proposed);
    }
}

void TestListWidget::moveWithoutDragSourceAccepted()
{
    // A drag from another application has no source object here.
    QMimeData mime;
    mime.setData(uriListFormat, "file:///z.desktop\r\n");
    const QPoint pos = list->viewport()->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QVERIFY(move.source() == nullptr);
    move.ignore();
    QApplication::sendEvent(list->viewport(), &move);
    QVERIFY(move.isAccepted());
}

/*
 * A drag has a source object only while QDrag::exec runs, and the offscreen
 * platform ends a drag at once.  The child runs on the minimal platform,
 * whose drag keeps running an event loop: a timer inside that loop sends
 * moves over the list and reports whether each was accepted.
 */
static int runDragChild(int argc, char **argv)
{
    const bool fromSelf = strcmp(argv[2], "self") == 0;
    QApplication app(argc, argv);
    QWidget window;
    ListWidget *list = new ListWidget(&window);
    QWidget *other = new QWidget(&window);
    list->addItems({ QStringLiteral("one&"), QStringLiteral("two&"), QStringLiteral("three&") });
    list->setGeometry(0, 0, 200, 200);
    other->setGeometry(0, 200, 200, 50);
    window.resize(200, 250);
    window.show();

    QTimer::singleShot(0, list, [list]() {
        QMimeData mime;
        mime.setData(uriListFormat, "file:///z.desktop\r\n");
        const QRect area = list->viewport()->rect();
        QDragEnterEvent enter(area.center(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        printf("enter accepted=%d\n", enter.isAccepted() ? 1 : 0);
        const QPoint points[]
            = { area.topLeft() + QPoint(2, 2), list->visualItemRect(list->item(1)).center(),
                area.center(), area.bottomRight() - QPoint(2, 2) };
        for (const QPoint &p : points) {
            for (Qt::DropAction action : { Qt::MoveAction, Qt::CopyAction }) {
                QDragMoveEvent move(p, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                                    Qt::NoModifier);
                move.setDropAction(action);
                // Start from the opposite of the expected answer.
                move.setAccepted(move.source() == list);
                QApplication::sendEvent(list->viewport(), &move);
                printf("move source=%s accepted=%d\n",
                       move.source() == list ? "list"
                           : move.source()   ? "other"
                                             : "none",
                       move.isAccepted() ? 1 : 0);
            }
        }
        // Escape ends the drag loop.
        QTest::keyClick(list, Qt::Key_Escape);
    });
    QTimer::singleShot(10000, &app, []() {
        printf("drag loop did not end\n");
        fflush(stdout);
        _exit(3);
    });

    QDrag *drag = new QDrag(fromSelf ? static_cast<QWidget *>(list) : other);
    drag->setMimeData(list->model()->mimeData({ list->model()->index(0, 0) }));
    drag->exec(Qt::CopyAction | Qt::MoveAction);
    fflush(stdout);
    return 0;
}

void TestListWidget::dragSourceDecidesMove()
{
    for (const char *source : { "self", "other" }) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    { dragChildFlag, QString::fromLatin1(source), QStringLiteral("-platform"),
                      QStringLiteral("minimal") });
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
        const QByteArray expected = strcmp(source, "self") == 0 ? "move source=list accepted=0"
                                                                : "move source=other accepted=1";
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.takeFirst(), QByteArray("enter accepted=1"));
        for (const QByteArray &line : lines)
            QCOMPARE(line, expected);
    }
}

void TestListWidget::deleteKey_data()
{
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("autoRepeat");

    QTest::newRow("Delete") << Qt::KeyboardModifiers(Qt::NoModifier) << false;
    QTest::newRow("Shift+Delete") << Qt::KeyboardModifiers(Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Delete") << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    QTest::newRow("Ctrl+Shift+Delete")
        << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Delete on the keypad") << Qt::KeyboardModifiers(Qt::KeypadModifier) << false;
    QTest::newRow("Delete held down") << Qt::KeyboardModifiers(Qt::NoModifier) << true;
}

void TestListWidget::deleteKey()
{
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, autoRepeat);

    list->setCurrentRow(1);
    if (autoRepeat) {
        for (int i = 1; i <= 3; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, modifiers, QString(), i > 1);
            press.ignore();
            QApplication::sendEvent(list, &press);
            QVERIFY(press.isAccepted());
            QCOMPARE(recorder->deletes, i);
        }
    } else {
        QTest::keyClick(list, Qt::Key_Delete, modifiers);
        QCOMPARE(recorder->deletes, 1);
    }
    // Removing the row is the receiver's business, not the view's.
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->currentRow(), 1);
    QVERIFY(recorder->drops.isEmpty());
}

void TestListWidget::arrowKeysMoveCurrentRow()
{
    list->setFocus();
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 2);
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(recorder->deletes, 0);
}

void TestListWidget::rowShowsOneShortLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const int most = RowDelegate::shownLength;
    const QString ellipsis(QChar(0x2026));
    QTest::newRow("short") << QString("xterm -ls") << QString("xterm -ls");
    // A command over several lines shows its first and how many there are.
    QTest::newRow("line feeds") << QString("cat <<EOF\nhello\nEOF")
                                << QString("cat <<EOF \u23CE \u2026 (3 lines)");
    QTest::newRow("as long as a row shows") << QString(most, 'y') << QString(most, 'y');
    QTest::newRow("one character more") << QString(most + 1, 'y') << QString(most, 'y') + ellipsis;
    // Past the 32767 characters that a line editor takes by default.
    QTest::newRow("longer than a line editor takes")
        << QString(40000, 'w') << QString(most, 'w') + ellipsis;
    QTest::newRow("a character of two halves at the cut") << QString(most - 1, 'z')
            + QString::fromUtf8("\xf0\x9f\x99\x82 tail") << QString(most - 1, 'z') + ellipsis;
    QTest::newRow("line feeds in a long text")
        << QString("a\n").repeated(most) << QString("a \u23CE \u2026 (%1 lines)").arg(most + 1);
}

/*
 * A row is painted and measured as one line of at most a few hundred
 * characters, so that a row of megabytes costs no more than any other;
 * its editor gets the whole text, line feeds included.
 */
void TestListWidget::rowShowsOneShortLine()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    QVERIFY(qobject_cast<RowDelegate *>(list->itemDelegate()));
    QListWidgetItem *item = new QListWidgetItem(text);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    list->addItem(item);
    QListWidgetItem *plain = new QListWidgetItem(shown);
    list->addItem(plain);
    const QModelIndex index = list->model()->index(list->row(item), 0);
    const RowProbe probe;
    QCOMPARE(probe.shown(index), shown);

    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.decorationSize = list->iconSize();
    QCOMPARE(list->itemDelegate()->sizeHint(option, index),
             list->itemDelegate()->sizeHint(option, list->model()->index(list->row(plain), 0)));

    list->editItem(item);
    if (text.contains('\n')) {
        QPlainTextEdit *editor = list->viewport()->findChild<QPlainTextEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->toPlainText(), text);
    } else {
        QLineEdit *editor = list->viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->text(), text);
    }
    QCOMPARE(item->text(), text);
}

/* What a shown list widget has drawn in its window. */
static QImage drawn(QWidget *window)
{
    QCoreApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
}

void TestListWidget::changedRowsDrawnAsBuilt_data()
{
    // Each row as "text" or "text|unchecked"; the rows before and after.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    const QStringList rows { "one&", "two&", "three&" };
    QTest::newRow("middle row's text") << rows << QStringList { "one&", "a longer two&", "three&" };
    QTest::newRow("last row's text, longer than the view")
        << rows << QStringList { "one&", "two&", QString(80, 'w') };
    QTest::newRow("check state") << rows << QStringList { "one&", "two&|unchecked", "three&" };
    QTest::newRow("two rows trade places") << rows << QStringList { "two&", "one&", "three&" };
}

/*
 * The rows are all of one size, so the view draws a changed row without
 * laying out the others; what it draws is what a view built on the rows
 * as they are now draws.
 */
void TestListWidget::changedRowsDrawnAsBuilt()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);

    const auto fill = [](QListWidget *view, const QStringList &rows) {
        for (int i = 0; i < rows.size(); i++) {
            if (view->count() <= i)
                view->addItem(QString());
            view->item(i)->setText(rows.at(i).section('|', 0, 0));
            view->item(i)->setCheckState(rows.at(i).endsWith("|unchecked") ? Qt::Unchecked
                                                                           : Qt::Checked);
        }
    };
    list->clear();
    list->setUniformItemSizes(true);
    list->setFocusPolicy(Qt::NoFocus);
    fill(list, before);
    const QImage first = drawn(list);
    fill(list, after);

    ListWidget built(nullptr);
    built.setUniformItemSizes(true);
    built.setFocusPolicy(Qt::NoFocus);
    fill(&built, after);
    built.resize(list->size());
    built.show();
    QVERIFY(QTest::qWaitForWindowExposed(&built));
    const QImage expected = drawn(&built);
    QVERIFY(expected != first);
    QTRY_COMPARE(drawn(list), expected);
}

int main(int argc, char **argv)
{
    if (argc >= 3 && strcmp(argv[1], dragChildFlag) == 0)
        return runDragChild(argc, argv);
    QApplication app(argc, argv);
    TestListWidget test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_listwidget.moc"
