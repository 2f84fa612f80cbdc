// SPDX-License-Identifier: BSD-2-Clause
// The dialog that adds installed applications, as a person uses it: the
// filter, the keys, the mouse, what it shows and what it hands back.  The
// applications come from data folders of the test's own.
#include "editor/AppDialog.h"
#include "editor/AppModel.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <iterator>
#include <memory>

#include <sys/stat.h>

namespace {

const char entryHead[] = "[Desktop Entry]\nType=Application\n";

bool writeFile(const QString &path, const QByteArray &content)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(content) == content.size();
}

bool writePng(const QString &path, QColor colour)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return QDir().mkpath(QFileInfo(path).path()) && image.save(path);
}

QColor colourOf(const QVariant &icon)
{
    return icon.value<QIcon>().pixmap(QSize(16, 16)).toImage().pixelColor(8, 8);
}

/* Sets a variable for the life of the object. */
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value) : name(name), saved(qgetenv(name))
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() { qputenv(name, saved); }

private:
    const char *name;
    QByteArray saved;
    Q_DISABLE_COPY(ScopedEnv)
};

/* A shown dialog whose applications have been read, with its widgets. */
struct Shown
{
    std::unique_ptr<AppDialog> dialog { new AppDialog(nullptr) };
    QLineEdit *filter = dialog->findChild<QLineEdit *>("filter");
    QListView *view = dialog->findChild<QListView *>("applications");
    QPushButton *add = dialog->findChild<QPushButton *>("addButton");
    QLabel *status = dialog->findChild<QLabel *>("status");

    bool show()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        return filter && view && add && status
            && QTest::qWaitForWindowActive(dialog.get())
            // A bound against a hang, not a measure: bench_appdialog times it.
            && QTest::qWaitFor([this] { return dialog->applications()->isLoaded(); }, 60000);
    }
    QStringList names() const
    {
        QStringList out;
        for (int row = 0; row < view->model()->rowCount(); row++)
            out << view->model()->index(row, 0).data().toString();
        return out;
    }
    QList<int> selectedRows() const
    {
        QList<int> rows;
        for (const QModelIndex &index : view->selectionModel()->selectedRows())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QString pathAt(int row) const
    {
        return view->model()->index(row, 0).data(AppModel::PathRole).toString();
    }
    QPoint centreOf(int row) const
    {
        return view->visualRect(view->model()->index(row, 0)).center();
    }
};

} // namespace

class TestAppDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void openedWithTheFilterFocused();
    void filter_data();
    void filter();
    void keysFromTheFilter_data();
    void keysFromTheFilter();
    void mouseSelectionInListOrder();
    void doubleClickAdds();
    void nothingToAdd();
    void accessibleAndReachable();
    void rowTextAndToolTip();
    void icons();
    void iconsOnlyForRowsInView();
    void closedWhileReading();

private:
    QString makeApps(const QString &folder, int count, const QByteArray &extraKeys);

    QTemporaryDir dir;
    QString systemApps;
};

void TestAppDialog::initTestCase()
{
    QVERIFY(dir.isValid());
    const QString home = qEnvironmentVariable("QVX_TEST_HOME");
    QVERIFY2(!home.isEmpty(), "run through tests/with-home.sh");
    systemApps = dir.filePath("share");
    const QString apps = systemApps + "/applications/";
    const QByteArray head(entryHead);
    QVERIFY(writeFile(apps + "firefox.desktop",
                      head
                          + "Name=Firefox Web Browser\nGenericName=Web Browser\n"
                            "Comment=Browse the World Wide Web\nKeywords=Internet;WWW;\n"
                            "Exec=firefox %u\nIcon=firefox\n"));
    QVERIFY(writeFile(apps + "pasystray.desktop",
                      head
                          + "Name=PulseAudio System Tray\nGenericName=Volume Control\n"
                            "Exec=pasystray\n"));
    QVERIFY(writeFile(apps + "xfce/mousepad.desktop",
                      head
                          + "Name=Mousepad\nComment=Simple text editor\n"
                            "Keywords=notepad;write;\nExec=mousepad %F\n"));
    QVERIFY(writeFile(apps + "xterm.desktop",
                      head + "Name=XTerm\nComment=Terminal emulator\nExec=xterm\n"));
    // The user's own, in the temporary home.
    QVERIFY(writeFile(home + "/.local/share/applications/clock.desktop",
                      head + "Name=Clock\nExec=xclock -digital\n"));
    qunsetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_DIRS", systemApps.toUtf8());
}

/* Folder share-<folder>/applications with count entries "App 0001"...;
 * the folder's path, for XDG_DATA_DIRS. */
QString TestAppDialog::makeApps(const QString &folder, int count, const QByteArray &extraKeys)
{
    const QString share = dir.filePath("share-" + folder);
    for (int i = 0; i < count; i++) {
        const QByteArray n = QByteArray::number(i).rightJustified(4, '0');
        if (!writeFile(share + "/applications/app" + n + ".desktop",
                       QByteArray(entryHead) + "Name=App " + n + "\nExec=app" + n + "\n"
                           + extraKeys))
            return QString();
    }
    return share;
}

void TestAppDialog::openedWithTheFilterFocused()
{
    Shown s;
    QVERIFY(s.status);
    // Before the event loop ran, the reader cannot have reported.
    QCOMPARE(s.status->text(), QString("Looking for the installed applications\u2026"));
    QVERIFY(!s.add->isEnabled());
    QVERIFY(s.show());
    QCOMPARE(QApplication::focusWidget(), s.filter);
    QCOMPARE(s.dialog->windowTitle(), QString("Add Application"));
    QCOMPARE(s.names(),
             QStringList({ "Clock", "Firefox Web Browser", "Mousepad", "PulseAudio System Tray",
                           "XTerm" }));
    QCOMPARE(s.selectedRows(), QList<int>({ 0 }));
    QVERIFY(s.add->isEnabled());
    QCOMPARE(s.status->text(), QString());
}

void TestAppDialog::filter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("part of a name") << "fire" << QStringList("Firefox Web Browser");
    QTest::newRow("whatever the case") << "xTERM" << QStringList("XTerm");
    QTest::newRow("generic name") << "volume" << QStringList("PulseAudio System Tray");
    QTest::newRow("comment") << "editor" << QStringList("Mousepad");
    QTest::newRow("keyword") << "notepad" << QStringList("Mousepad");
    QTest::newRow("command") << "pasys" << QStringList("PulseAudio System Tray");
    QTest::newRow("command with its option") << "-digital" << QStringList("Clock");
    QTest::newRow("every word, anywhere")
        << "  web   BROWSE " << QStringList("Firefox Web Browser");
    QTest::newRow("words from different keys")
        << "www firefox" << QStringList("Firefox Web Browser");
    QTest::newRow("one word that is not there") << "web zzz" << QStringList();
    QTest::newRow("words of the comment and the keywords")
        << "editor notepad write simple" << QStringList("Mousepad");
    QTest::newRow("not across two values") << "editormousepad" << QStringList();
    QTest::newRow("field codes are no part of the command") << "%u" << QStringList();
    QTest::newRow("blanks only") << "   "
                                 << QStringList({ "Clock", "Firefox Web Browser", "Mousepad",
                                                  "PulseAudio System Tray", "XTerm" });
}

/* Typing narrows the list and selects its first row. */
void TestAppDialog::filter()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, names);

    Shown s;
    QVERIFY(s.show());
    QTest::keyClicks(s.filter, typed);
    QCOMPARE(s.names(), names);
    QCOMPARE(s.selectedRows(), names.isEmpty() ? QList<int>() : QList<int>({ 0 }));
    QCOMPARE(s.add->isEnabled(), !names.isEmpty());
    QCOMPARE(s.status->text(),
             names.isEmpty() ? QString("No application matches the filter.") : QString());
    QCOMPARE(QApplication::focusWidget(), s.filter);
}

void TestAppDialog::keysFromTheFilter_data()
{
    QTest::addColumn<QString>("keys"); // d: Down, u: Up, D and U with Shift, n: PageDown
    QTest::addColumn<QList<int>>("rows"); // selected after them
    QTest::addColumn<bool>("escape"); // then Escape instead of Enter

    QTest::newRow("Enter adds the first") << "" << QList<int>({ 0 }) << false;
    QTest::newRow("Down") << "dd" << QList<int>({ 2 }) << false;
    QTest::newRow("Down and Up") << "dddu" << QList<int>({ 2 }) << false;
    QTest::newRow("Up at the top stays") << "uu" << QList<int>({ 0 }) << false;
    QTest::newRow("Shift with Down") << "dDD" << QList<int>({ 1, 2, 3 }) << false;
    QTest::newRow("Shift with Up") << "dddUU" << QList<int>({ 1, 2, 3 }) << false;
    QTest::newRow("Page Down to the last") << "n" << QList<int>({ 4 }) << false;
    QTest::newRow("Escape adds nothing") << "dD" << QList<int>({ 1, 2 }) << true;
}

/* Up and Down (with Shift) move the selection from the filter, which
 * keeps the keyboard; Enter adds, Escape closes. */
void TestAppDialog::keysFromTheFilter()
{
    QFETCH(QString, keys);
    QFETCH(QList<int>, rows);
    QFETCH(bool, escape);

    Shown s;
    QVERIFY(s.show());
    for (const QChar k : keys) {
        const Qt::KeyboardModifiers shift = k.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        const Qt::Key key = k.toLower() == 'd' ? Qt::Key_Down
            : k.toLower() == 'u'               ? Qt::Key_Up
                                               : Qt::Key_PageDown;
        QTest::keyClick(QApplication::focusWidget(), key, shift);
    }
    QCOMPARE(QApplication::focusWidget(), s.filter);
    QCOMPARE(s.selectedRows(), rows);
    QStringList paths;
    for (int row : rows)
        paths << s.pathAt(row);

    QTest::keyClick(s.filter, escape ? Qt::Key_Escape : Qt::Key_Return);
    QVERIFY(!s.dialog->isVisible());
    QCOMPARE(s.dialog->result(), escape ? int(QDialog::Rejected) : int(QDialog::Accepted));
    if (!escape)
        QCOMPARE(s.dialog->selectedPaths(), paths);
}

/* Rows picked with Ctrl come back in the list's order, not the clicks'. */
void TestAppDialog::mouseSelectionInListOrder()
{
    Shown s;
    QVERIFY(s.show());
    QTest::mouseClick(s.view->viewport(), Qt::LeftButton, Qt::NoModifier, s.centreOf(3));
    QTest::mouseClick(s.view->viewport(), Qt::LeftButton, Qt::ControlModifier, s.centreOf(1));
    QTest::mouseClick(s.view->viewport(), Qt::LeftButton, Qt::ControlModifier, s.centreOf(4));
    QCOMPARE(s.selectedRows(), QList<int>({ 1, 3, 4 }));
    const QStringList paths { s.pathAt(1), s.pathAt(3), s.pathAt(4) };
    QVERIFY(paths[0].endsWith("/firefox.desktop"));
    QVERIFY(paths[1].endsWith("/pasystray.desktop"));
    s.add->click();
    QCOMPARE(s.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(s.dialog->selectedPaths(), paths);
}

void TestAppDialog::doubleClickAdds()
{
    Shown s;
    QVERIFY(s.show());
    const int row = s.names().indexOf("Mousepad");
    QVERIFY(row > 0); // not the row selected at the start
    // As the window system delivers it: a click, then the double click.
    QTest::mouseClick(s.view->viewport(), Qt::LeftButton, Qt::NoModifier, s.centreOf(row));
    QTest::mouseDClick(s.view->viewport(), Qt::LeftButton, Qt::NoModifier, s.centreOf(row));
    QVERIFY(!s.dialog->isVisible());
    QCOMPARE(s.dialog->result(), int(QDialog::Accepted));
    QCOMPARE(s.dialog->selectedPaths(),
             QStringList(systemApps + "/applications/xfce/mousepad.desktop"));
}

/* With nothing to pick, Enter does not close the dialog as if it had added. */
void TestAppDialog::nothingToAdd()
{
    {
        ScopedEnv home("XDG_DATA_HOME", dir.filePath("empty"));
        ScopedEnv dirs("XDG_DATA_DIRS", dir.filePath("empty"));
        Shown s;
        QVERIFY(s.show());
        QCOMPARE(s.names(), QStringList());
        QCOMPARE(s.status->text(), QString("No installed application was found."));
        QVERIFY(!s.add->isEnabled());
        QTest::keyClick(s.filter, Qt::Key_Return);
        QVERIFY(s.dialog->isVisible());
    }
    Shown s;
    QVERIFY(s.show());
    QTest::keyClicks(s.filter, "zzz");
    QTest::keyClick(s.filter, Qt::Key_Return);
    QVERIFY(s.dialog->isVisible());
    QCOMPARE(s.dialog->selectedPaths(), QStringList());
}

/* Every control has a name for a screen reader, and Tab reaches each. */
void TestAppDialog::accessibleAndReachable()
{
    Shown s;
    QVERIFY(s.show());
    QCOMPARE(s.filter->accessibleName(), QString("Filter"));
    QCOMPARE(s.view->accessibleName(), QString("Installed applications"));
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(s.view);
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QString("Installed applications"));
    QAccessibleInterface *row = nullptr;
    for (int i = 0; i < list->childCount() && !row; i++)
        if (list->child(i)->text(QAccessible::Name) == "Firefox Web Browser")
            row = list->child(i);
    QVERIFY2(row, "no accessible row names the application");
    QCOMPARE(row->text(QAccessible::Description), QString("Browse the World Wide Web"));

    QList<QWidget *> reached;
    for (int i = 0; i < 4; i++) {
        reached << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(reached,
             QList<QWidget *>(
                 { s.filter, s.view, s.add, s.dialog->findChild<QPushButton *>("cancelButton") }));
    QCOMPARE(QApplication::focusWidget(), s.filter); // and round again
    // The labels' mnemonics take the keyboard to their fields.
    QTest::keyClick(s.dialog.get(), Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), s.view);
    QTest::keyClick(s.dialog.get(), Qt::Key_F, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), s.filter);
}

/* The second line is the comment, else the generic name; the tool tip
 * says which command a row adds. */
void TestAppDialog::rowTextAndToolTip()
{
    Shown s;
    QVERIFY(s.show());
    const QAbstractItemModel *m = s.view->model();
    const QModelIndex firefox = m->index(1, 0), pasystray = m->index(3, 0), clock = m->index(0, 0);
    QCOMPARE(firefox.data(AppModel::DescriptionRole).toString(),
             QString("Browse the World Wide Web"));
    QCOMPARE(pasystray.data(AppModel::DescriptionRole).toString(), QString("Volume Control"));
    QCOMPARE(firefox.data(Qt::ToolTipRole).toString(),
             QString("Browse the World Wide Web\nCommand: firefox"));
    QCOMPARE(clock.data(Qt::ToolTipRole).toString(), QString("Command: xclock -digital"));
}

/* An icon by theme name or absolute path; where neither gives one, the
 * theme's icon for an application. */
void TestAppDialog::icons()
{
    const QString themes = dir.filePath("icons");
    QVERIFY(writeFile(themes + "/qvxtest/index.theme",
                      "[Icon Theme]\nName=qvxtest\nDirectories=16x16/apps\n\n"
                      "[16x16/apps]\nSize=16\nType=Fixed\n"));
    QVERIFY(writePng(themes + "/qvxtest/16x16/apps/qvx-red.png", Qt::red));
    QVERIFY(writePng(themes + "/qvxtest/16x16/apps/application-x-executable.png", Qt::green));
    const QString blue = dir.filePath("blue.png");
    QVERIFY(writePng(blue, Qt::blue));
    const QString fifo = dir.filePath("fifo.png");
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    const QString share = dir.filePath("share-icons");
    const QPair<QByteArray, QColor> cases[] = {
        { "qvx-red", Qt::red },
        { "qvx-red.png", Qt::red },
        { blue.toUtf8(), Qt::blue },
        { "qvx-missing", Qt::green },
        { fifo.toUtf8(), Qt::green },
        { "/nonexistent/icon.png", Qt::green },
        { "", Qt::green },
    };
    for (int i = 0; i < int(std::size(cases)); i++)
        QVERIFY(writeFile(share + QString("/applications/%1.desktop").arg(i),
                          QByteArray(entryHead) + "Name=Icon " + QByteArray::number(i)
                              + "\nExec=x\nIcon=" + cases[i].first + "\n"));

    const QStringList oldPaths = QIcon::themeSearchPaths();
    const QString oldName = QIcon::themeName();
    QIcon::setThemeSearchPaths({ themes });
    QIcon::setThemeName("qvxtest");
    {
        ScopedEnv home("XDG_DATA_HOME", dir.filePath("empty"));
        ScopedEnv dirs("XDG_DATA_DIRS", share);
        Shown s;
        QVERIFY(s.show());
        QCOMPARE(s.view->model()->rowCount(), int(std::size(cases)));
        for (int i = 0; i < int(std::size(cases)); i++)
            QVERIFY2(colourOf(s.view->model()->index(i, 0).data(Qt::DecorationRole))
                         == cases[i].second,
                     cases[i].first.constData());
    }
    QIcon::setThemeSearchPaths(oldPaths);
    QIcon::setThemeName(oldName);
}

/* A long list loads the icons of the rows that are shown, not of all. */
void TestAppDialog::iconsOnlyForRowsInView()
{
    const QString png = dir.filePath("some.png");
    QVERIFY(writePng(png, Qt::red));
    const QString share = makeApps("many", 400, "Icon=" + png.toUtf8() + "\n");
    QVERIFY(!share.isEmpty());
    ScopedEnv home("XDG_DATA_HOME", dir.filePath("empty"));
    ScopedEnv dirs("XDG_DATA_DIRS", share);
    Shown s;
    QVERIFY(s.show());
    QCOMPARE(s.view->model()->rowCount(), 400);
    s.view->viewport()->grab();
    const int rowHeight = s.view->visualRect(s.view->model()->index(0, 0)).height();
    const int inView = s.view->viewport()->height() / rowHeight + 1;
    const int first = s.dialog->applications()->iconsLoaded();
    QVERIFY2(first > 0 && first <= inView,
             qPrintable(QString("%1 icons for %2 rows in view").arg(first).arg(inView)));
    s.view->scrollToBottom();
    s.view->viewport()->grab();
    const int second = s.dialog->applications()->iconsLoaded();
    QVERIFY2(second > first && second <= 2 * inView + 1,
             qPrintable(QString("%1 icons at the bottom").arg(second)));
}

/* Closing the dialog while the applications are read neither waits for
 * them nor breaks anything: the reader goes when it has stopped. */
void TestAppDialog::closedWhileReading()
{
    const QString share = makeApps("closed", 600, "Comment=An application to close on\n");
    QVERIFY(!share.isEmpty());
    ScopedEnv home("XDG_DATA_HOME", dir.filePath("empty"));
    ScopedEnv dirs("XDG_DATA_DIRS", share);
    for (int i = 0; i < 20; i++) {
        AppDialog dialog(nullptr);
        dialog.show();
        if (i % 2)
            QCoreApplication::processEvents();
    }
    QTest::qWait(100); // the readers' deleteLater
    Shown s;
    QVERIFY(s.show());
    QCOMPARE(s.view->model()->rowCount(), 600);
}

QTEST_MAIN(TestAppDialog)

#include "tst_appdialog.moc"
