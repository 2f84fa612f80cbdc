// SPDX-License-Identifier: BSD-2-Clause
// The installed applications as the desktop's menus list them, read from
// data folders of the test's own: the temporary home's ~/.local/share and
// the folders of XDG_DATA_DIRS.
#include "desktop/InstalledApps.h"
#include "unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <iterator>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

static const char mainGroup[] = "[Desktop Entry]\n";

/* An entry file at path with content, its folders made on the way. */
static bool writeFile(const QString &path, const QByteArray &content)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(content) == content.size();
}

/* "id=name" of each application, in the order of the list. */
static QStringList listed(const QList<InstalledApps::App> &apps)
{
    QStringList out;
    for (const InstalledApps::App &app : apps)
        out << app.id + QLatin1Char('=') + app.name;
    return out;
}

/* Sets or (for a null value) unsets a variable for the life of the object. */
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QString &value)
        : name(name), saved(qgetenv(name)), wasSet(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    ~ScopedEnv()
    {
        if (wasSet)
            qputenv(name, saved);
        else
            qunsetenv(name);
    }

private:
    const char *name;
    QByteArray saved;
    bool wasSet;
    Q_DISABLE_COPY(ScopedEnv)
};

class TestInstalledApps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void dataDirs_data();
    void dataDirs();
    void listingRules_data();
    void listingRules();
    void whatARowShows();
    void sortedForTheLocale_data();
    void sortedForTheLocale();
    void badEntriesSkipped();

private:
    QString home() const { return qEnvironmentVariable("QVX_TEST_HOME"); }
    QString userApps() const { return home() + "/.local/share/applications"; }

    QTemporaryDir dir;
};

void TestInstalledApps::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY2(!home().isEmpty(), "run through tests/with-home.sh");
    const struct passwd *pw = getpwuid(getuid());
    QVERIFY(pw != nullptr);
    QCOMPARE(QFile::decodeName(pw->pw_dir), home());
    // The unprivileged reader of badEntriesSkipped must reach the files.
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
}

void TestInstalledApps::init()
{
    QVERIFY(QDir(home() + "/.local").removeRecursively());
    for (const char *folder : { "one", "two", "bad" })
        QVERIFY(QDir(dir.filePath(folder)).removeRecursively());
}

void TestInstalledApps::dataDirs_data()
{
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("dataDirs");
    QTest::addColumn<QStringList>("dirs"); // HOME for the home from the password database

    const QString unset;
    QTest::newRow("neither set") << unset << unset
                                 << QStringList { "HOME/.local/share", "/usr/local/share",
                                                  "/usr/share" };
    QTest::newRow("both set") << "/x/data"
                              << "/a:/b" << QStringList { "/x/data", "/a", "/b" };
    QTest::newRow("empty values are unset")
        << ""
        << "" << QStringList { "HOME/.local/share", "/usr/local/share", "/usr/share" };
    QTest::newRow("relative paths count for nothing")
        << "data"
        << "rel:/a::/b:./c" << QStringList { "HOME/.local/share", "/a", "/b" };
}

/* The home is the password database's, never $HOME (a decoy here). */
void TestInstalledApps::dataDirs()
{
    QFETCH(QString, dataHome);
    QFETCH(QString, dataDirs);
    QFETCH(QStringList, dirs);

    ScopedEnv h("XDG_DATA_HOME", dataHome);
    ScopedEnv d("XDG_DATA_DIRS", dataDirs);
    dirs.replaceInStrings(QRegularExpression("^HOME"), home());
    QCOMPARE(InstalledApps::dataDirs(), dirs);
}

void TestInstalledApps::listingRules_data()
{
    // Each file as "place|path below applications/|content"; place is
    // home (~/.local/share), one or two (the folders of XDG_DATA_DIRS in
    // that order).  Content without a group header is an application's
    // keys, given the header and Type=Application.
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("locales");
    QTest::addColumn<QStringList>("apps"); // "id=name", in the list's order

    const QStringList none;
    QTest::newRow("an entry") << QStringList { "one|alpha.desktop|Name=Alpha\nExec=alpha %U" }
                              << none << QStringList { "alpha.desktop=Alpha" };
    QTest::newRow("a subfolder is part of the ID")
        << QStringList { "one|kde4/sub.desktop|Name=Sub\nExec=sub",
                         "two|x/y/deep.desktop|Name=Deep\nExec=deep" }
        << none << QStringList { "x-y-deep.desktop=Deep", "kde4-sub.desktop=Sub" };
    QTest::newRow("the user's entry shadows the system's")
        << QStringList { "one|web.desktop|Name=System Web\nExec=web",
                         "home|web.desktop|Name=My Web\nExec=web --mine" }
        << none << QStringList { "web.desktop=My Web" };
    QTest::newRow("shadowed by ID, from a subfolder")
        << QStringList { "home|kde4/sub.desktop|Name=Mine\nExec=sub",
                         "one|kde4-sub.desktop|Name=Theirs\nExec=sub" }
        << none << QStringList { "kde4-sub.desktop=Mine" };
    QTest::newRow("the first system folder wins")
        << QStringList { "two|e.desktop|Name=Two\nExec=e", "one|e.desktop|Name=One\nExec=e" }
        << none << QStringList { "e.desktop=One" };
    QTest::newRow("Hidden hides the system's entry")
        << QStringList { "home|e.desktop|[Desktop Entry]\nHidden=true\n",
                         "one|e.desktop|Name=E\nExec=e", "two|f.desktop|Name=F\nExec=f" }
        << none << QStringList { "f.desktop=F" };
    QTest::newRow("NoDisplay left out")
        << QStringList { "one|n.desktop|Name=N\nExec=n\nNoDisplay=true",
                         "one|v.desktop|Name=V\nExec=v\nNoDisplay=false" }
        << none << QStringList { "v.desktop=V" };
    QTest::newRow("only applications")
        << QStringList { "one|link.desktop|[Desktop Entry]\nType=Link\nName=L\nExec=l\n",
                         "one|dir.desktop|[Desktop Entry]\nType=Directory\nName=D\nExec=d\n",
                         "one|none.desktop|[Desktop Entry]\nName=N\nExec=n\n" }
        << none << none;
    QTest::newRow("a name and a command needed")
        << QStringList { "one|noexec.desktop|Name=X", "one|codes.desktop|Name=Y\nExec=%U",
                         "one|noname.desktop|Exec=z" }
        << none << none;
    QTest::newRow("TryExec found or not")
        << QStringList { "one|path.desktop|Name=On PATH\nExec=a\nTryExec=sh",
                         "one|abs.desktop|Name=Absolute\nExec=b\nTryExec=/bin/sh",
                         "one|gone.desktop|Name=Not on PATH\nExec=c\nTryExec=qvx-no-such-program",
                         "one|nofile.desktop|Name=No file\nExec=d\nTryExec=/nonexistent/bin/sh",
                         "one|noexec.desktop|Name=Not executable\nExec=e\nTryExec=/etc/passwd",
                         "one|dir.desktop|Name=A folder\nExec=f\nTryExec=/" }
        << none << QStringList { "abs.desktop=Absolute", "path.desktop=On PATH" };
    QTest::newRow("other names are no entries")
        << QStringList { "one|readme.txt|Name=R\nExec=r", "one|backup.desktop~|Name=B\nExec=b",
                         "one|.desktop|Name=S\nExec=s", "one|ok.desktop|Name=Ok\nExec=ok" }
        << none << QStringList { "ok.desktop=Ok" };
    QTest::newRow("the locale's name")
        << QStringList { "one|files.desktop|Name=Files\nName[de]=Dateien\nExec=files" }
        << QStringList { "de_DE", "de" } << QStringList { "files.desktop=Dateien" };
}

void TestInstalledApps::listingRules()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, locales);
    QFETCH(QStringList, apps);

    const QMap<QString, QString> places { { "home", home() + "/.local/share" },
                                          { "one", dir.filePath("one") },
                                          { "two", dir.filePath("two") } };
    for (const QString &file : qAsConst(files)) {
        const QStringList parts = file.split('|');
        QCOMPARE(parts.size(), 3);
        QByteArray content = parts[2].toUtf8();
        if (!content.startsWith('['))
            content = mainGroup + QByteArray("Type=Application\n") + content + '\n';
        QVERIFY(writeFile(places[parts[0]] + "/applications/" + parts[1], content));
    }

    ScopedEnv h("XDG_DATA_HOME", QString());
    ScopedEnv d("XDG_DATA_DIRS", places["one"] + ':' + places["two"]);
    InstalledApps installed(InstalledApps::dataDirs(), locales, QLocale::c());
    installed.read();
    QCOMPARE(listed(installed.apps), apps);
}

/* A row's second line, its icon and the command it adds. */
void TestInstalledApps::whatARowShows()
{
    const QString apps = dir.filePath("one/applications");
    const QString icon = dir.filePath("one/icon.png");
    const QString fifo = dir.filePath("one/fifo.png");
    const QString big = dir.filePath("one/big.png");
    QVERIFY(writeFile(icon, "not looked at here"));
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    QVERIFY(writeFile(big, QByteArray(3 * 1024 * 1024, 'x')));
    const QByteArray head = QByteArray(mainGroup) + "Type=Application\n";
    const struct
    {
        const char *file;
        QByteArray keys;
        const char *description;
        QString icon;
        const char *exec;
    } cases[] = {
        { "a.desktop", "Name=A\nComment=Says what\nGenericName=Kind\nIcon=a-icon\nExec=a %U",
          "Says what", "a-icon", "a" },
        { "b.desktop", "Name=B\nGenericName=Kind\nIcon=b.png\nExec=b\\s--x", "Kind", "b", "b --x" },
        { "c.desktop", "Name=C\nIcon=" + icon.toUtf8() + "\nExec=c", "", icon, "c" },
        { "d.desktop", "Name=D\nIcon=" + fifo.toUtf8() + "\nExec=d", "", "", "d" },
        { "e.desktop", "Name=E\nIcon=" + big.toUtf8() + "\nExec=e", "", "", "e" },
        { "f.desktop", "Name=F\nIcon=/nonexistent/f.png\nExec=f", "", "", "f" },
    };
    for (const auto &c : cases)
        QVERIFY(writeFile(apps + '/' + c.file, head + c.keys + '\n'));

    InstalledApps installed({ dir.filePath("one") }, QStringList(), QLocale::c());
    installed.read();
    QCOMPARE(installed.apps.size(), int(std::size(cases)));
    for (int i = 0; i < installed.apps.size(); i++) {
        const InstalledApps::App &app = installed.apps.at(i);
        QCOMPARE(app.path, apps + '/' + cases[i].file);
        QCOMPARE(app.description, QString(cases[i].description));
        QCOMPARE(app.icon, cases[i].icon);
        QCOMPARE(app.exec, QString(cases[i].exec));
    }
}

void TestInstalledApps::sortedForTheLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("names"); // as installed, in the order of their files
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("C: case does not count")
        << "C" << QStringList { "cherry", "Banana", "apple", "Zebra" }
        << QStringList { "apple", "Banana", "cherry", "Zebra" };
    QTest::newRow("German: umlauts with their vowels")
        << "de_DE" << QStringList { "Zebra", "\u00e4pfel", "Apfel", "banane", "\u00c4rger" }
        << QStringList { "Apfel", "\u00e4pfel", "\u00c4rger", "banane", "Zebra" };
    QTest::newRow("Swedish: \u00e4 after z")
        << "sv_SE" << QStringList { "\u00c4rlig", "Zebra", "Apa" }
        << QStringList { "Apa", "Zebra", "\u00c4rlig" };
    QTest::newRow("the same name: by ID")
        << "C" << QStringList { "Same", "Same", "Same" } << QStringList { "Same", "Same", "Same" };
}

void TestInstalledApps::sortedForTheLocale()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);

    // File names in the reverse order of the names, so that the files'
    // order is not the list's by chance.
    for (int i = 0; i < names.size(); i++)
        QVERIFY(writeFile(dir.filePath("one/applications/%1.desktop").arg(names.size() - i),
                          QByteArray(mainGroup) + "Type=Application\nName=" + names[i].toUtf8()
                              + "\nExec=x\n"));
    InstalledApps installed({ dir.filePath("one") }, QStringList(), QLocale(locale));
    installed.read();
    QStringList got, ids;
    for (const InstalledApps::App &app : qAsConst(installed.apps)) {
        got << app.name;
        ids << app.id;
    }
    QCOMPARE(got, sorted);
    if (sorted.size() == sorted.count(sorted.first())) {
        QStringList byId = ids;
        byId.sort();
        QCOMPARE(ids, byId);
    }
}

/*
 * What cannot be read as a desktop entry is passed over, quickly and in
 * any case: a FIFO that no one writes, a file too big to be an entry, a
 * binary, an unreadable one, a folder link that loops.  The reader runs
 * as the unprivileged user in a child that is killed after 5 s; it prints
 * what it listed.  An entry of the first folder takes its ID whatever it
 * holds.
 */
void TestInstalledApps::badEntriesSkipped()
{
    const QString first = dir.filePath("bad/first/applications");
    const QString second = dir.filePath("bad/second/applications");
    const QByteArray good = QByteArray(mainGroup) + "Type=Application\nName=Good\nExec=good\n";
    QVERIFY(writeFile(first + "/good.desktop", good));
    QVERIFY(writeFile(second + "/unreadable.desktop", good));
    QVERIFY(QDir().mkpath(first));
    QVERIFY(mkfifo(QFile::encodeName(first + "/fifo.desktop").constData(), 0644) == 0);
    QByteArray huge = good;
    while (huge.size() <= 1024 * 1024)
        huge += "# padding padding padding padding padding padding padding padding\n";
    QVERIFY(writeFile(first + "/huge.desktop", huge));
    QByteArray binary;
    quint32 x = 12345;
    for (int i = 0; i < 8192; i++) {
        x = x * 1103515245 + 12345;
        binary += char(x >> 24);
    }
    QVERIFY(writeFile(first + "/binary.desktop", binary));
    QVERIFY(writeFile(first + "/unreadable.desktop", good));
    QVERIFY(::chmod(QFile::encodeName(first + "/unreadable.desktop").constData(),
                    getuid() == 0 ? 0600 : 0200)
            == 0);
    QVERIFY(QDir().mkpath(first + "/loop"));
    QVERIFY(QFile::link(first, first + "/loop/back"));
    QVERIFY(writeFile(dir.filePath("bad/first/link-target.desktop"), good));
    QVERIFY(QFile::link(dir.filePath("bad/first/link-target.desktop"), first + "/linked.desktop"));

    const child_run run = run_in_child(
        [&] {
            InstalledApps installed({ dir.filePath("bad/first"), dir.filePath("bad/second") },
                                    QStringList(), QLocale::c());
            installed.read();
            printf("%s\n", qPrintable(listed(installed.apps).join(' ')));
            return 0;
        },
        true, 5000);
    QVERIFY2(run.ended, "the listing did not end within 5 s");
    QCOMPARE(run.status, 0);
    QCOMPARE(run.output.trimmed(), QByteArray("good.desktop=Good linked.desktop=Good"));
}

QTEST_GUILESS_MAIN(TestInstalledApps)

#include "tst_installedapps.moc"
