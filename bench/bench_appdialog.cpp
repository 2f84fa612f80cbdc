// SPDX-License-Identifier: BSD-2-Clause
/*
 * Times Add Application with 2,000 desktop entries installed: from the
 * action's trigger in the main window until the dialog is shown, and
 * until its list is filled and its rows in view are painted, icons
 * included.  The entries are written as packages write them (names,
 * comments and keywords in some 40 languages, a few in subfolders, some
 * not shown), each with its own icon in an icon theme of 2,000 icons; the
 * listing runs under a German locale, so that localized keys are picked
 * and the names are collated.  The dialog is opened and closed several
 * times; the median and the worst are printed.
 *
 * Fails (exit status 1) when an opening takes more than 300 ms to show
 * the filled list, or the list does not hold every entry it should.
 *
 * It writes ~/.config/QVX/autostart.sh and the entries in the temporary
 * home that tests/with-home.sh provides (scripts/bench does that).
 */
#include "app/Mainwin.h"
#include "cfg/cfg.h"
#include "editor/AppDialog.h"
#include "editor/AppModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListView>
#include <QTimer>

#include <algorithm>
#include <vector>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

const int entries = 2000;
const int hiddenEvery = 20; // one in so many is NoDisplay
const int runs = 9;
const double limitMs = 300;

const char *const languages[]
    = { "ar", "be", "bg",    "ca", "cs", "da", "de", "el", "eo", "es", "et", "eu",    "fa",   "fi",
        "fr", "ga", "gl",    "he", "hr", "hu", "id", "it", "ja", "ko", "lt", "lv",    "nb",   "nl",
        "pl", "pt", "pt_BR", "ro", "ru", "sk", "sl", "sr", "sv", "tr", "uk", "zh_CN", "zh_TW" };

[[noreturn]] void die(const char *what)
{
    fprintf(stderr, "bench_appdialog: %s\n", what);
    exit(1);
}

/* Refuse to write anywhere but in the temporary home of with-home.sh. */
QString checkedHome()
{
    const char *want = getenv("QVX_TEST_HOME");
    char *home = cfg_home_dir();
    const bool inTestHome = want != nullptr && home != nullptr && strcmp(home, want) == 0;

    free(home);
    if (!inTestHome)
        die("run through tests/with-home.sh (scripts/bench), never in the real home");
    return QFile::decodeName(want);
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(content) != content.size())
        die("cannot write the entries");
}

void writeScript()
{
    char *dir = cfg_make_dir(nullptr);
    if (dir == nullptr)
        die(cfg_error_text());
    writeFile(QFile::decodeName(dir) + "/autostart.sh", "#!/bin/sh\nxterm&\n");
    free(dir);
}

/* One entry as a distribution ships it. */
QByteArray entry(int i)
{
    const QByteArray n = QByteArray::number(i).rightJustified(4, '0');
    QByteArray e = "[Desktop Entry]\nType=Application\nVersion=1.0\n";
    e += "Name=Application " + n + "\n";
    for (const char *lang : languages)
        e += "Name[" + QByteArray(lang) + "]=Anwendung " + n + " (" + lang + ")\n";
    e += "GenericName=Tool number " + n + "\n";
    for (const char *lang : languages)
        e += "GenericName[" + QByteArray(lang) + "]=Werkzeug " + n + "\n";
    e += "Comment=Does what application " + n + " does, and does it well\n";
    for (const char *lang : languages)
        e += "Comment[" + QByteArray(lang) + "]=Tut, was Anwendung " + n + " tut\n";
    e += "Keywords=tool;utility;number" + n + ";\n";
    for (const char *lang : languages)
        e += "Keywords[" + QByteArray(lang) + "]=Werkzeug;Hilfsmittel;\n";
    e += "Exec=application-" + n + " --new-window %U\nIcon=bench-app-" + n
        + "\nTerminal=false\nCategories=Utility;\nStartupNotify=true\n";
    if (i % hiddenEvery == 0)
        e += "NoDisplay=true\n";
    e += "Actions=new-window;\n\n[Desktop Action new-window]\nName=New Window\n"
         "Exec=application-"
        + n + " --new-window\n";
    return e;
}

void install(const QString &share, const QString &themes)
{
    for (int i = 0; i < entries; i++) {
        // Some, as desktops do, in a folder of their own.
        const QString sub = i % 10 == 0 ? QStringLiteral("vendor/") : QString();
        writeFile(
            QString("%1/applications/%2app%3.desktop").arg(share, sub).arg(i, 4, 10, QChar('0')),
            entry(i));
    }
    writeFile(themes + "/bench/index.theme",
              "[Icon Theme]\nName=bench\nDirectories=48x48/apps\n\n"
              "[48x48/apps]\nSize=48\nType=Fixed\n");
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    const QString first = themes + "/bench/48x48/apps/bench-app-0000.png";
    QDir().mkpath(QFileInfo(first).path());
    if (!image.save(first))
        die("cannot write an icon");
    for (int i = 1; i < entries; i++)
        QFile::copy(
            first,
            QString("%1/bench/48x48/apps/bench-app-%2.png").arg(themes).arg(i, 4, 10, QChar('0')));
}

struct Opening
{
    double shown = -1; // ms until the dialog is visible
    double filled = -1; // ms until its rows in view are painted
    int rows = -1;
};

/* Triggers the action and watches the dialog that it runs from inside
 * the dialog's own event loop; closes it once it is filled. */
Opening open(QAction *action)
{
    Opening o;
    QElapsedTimer timer;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        AppDialog *dialog = qobject_cast<AppDialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        if (o.shown < 0 && dialog->isVisible())
            o.shown = timer.nsecsElapsed() / 1e6;
        QListView *view = dialog->findChild<QListView *>();
        if (!dialog->applications()->isLoaded() || view == nullptr
            || !view->indexAt(QPoint(4, 4)).isValid())
            return;
        view->viewport()->grab();
        o.filled = timer.nsecsElapsed() / 1e6;
        o.rows = view->model()->rowCount();
        probe.stop();
        dialog->reject();
    });
    probe.start();
    timer.start();
    action->trigger();
    return o;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const QString home = checkedHome();
    const QString share = home + "/bench-share";
    const QString themes = home + "/bench-icons";
    setenv("XDG_DATA_HOME", QFile::encodeName(home + "/bench-empty").constData(), 1);
    setenv("XDG_DATA_DIRS", QFile::encodeName(share).constData(), 1);
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    writeScript();
    install(share, themes);
    QIcon::setThemeSearchPaths({ themes });
    QIcon::setThemeName("bench");

    Mainwin win(nullptr);
    win.show();
    QAction *action = win.findChild<QAction *>("addApplication");
    if (action == nullptr)
        die("the window has no Add Application action");

    const int expected = entries - (entries + hiddenEvery - 1) / hiddenEvery;
    std::vector<double> shown, filled;
    for (int i = 0; i < runs; i++) {
        const Opening o = open(action);
        if (o.filled < 0)
            die("the dialog was never filled");
        if (o.rows != expected) {
            fprintf(stderr, "bench_appdialog: %d rows instead of %d\n", o.rows, expected);
            return 1;
        }
        printf("  opening %d: shown %.1f ms, filled and painted %.1f ms\n", i + 1, o.shown,
               o.filled);
        shown.push_back(o.shown);
        filled.push_back(o.filled);
    }
    const double worst = *std::max_element(filled.begin(), filled.end());
    printf("Add Application, %d entries (%d listed): shown %.1f ms, filled %.1f ms "
           "(median of %d), worst %.1f ms; limit %.0f ms\n",
           entries, expected, median(shown), median(filled), runs, worst, limitMs);
    if (worst > limitMs) {
        fprintf(stderr, "bench_appdialog: an opening took %.1f ms, more than %.0f ms\n", worst,
                limitMs);
        return 1;
    }
    return 0;
}
