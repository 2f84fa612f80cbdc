// SPDX-License-Identifier: BSD-2-Clause
/*
 * Times what a user of the command list waits for after a key press: one
 * Undo and one Redo of an edit, a delete and a move of a middle row, on
 * lists of 1,000 and 100,000 commands, and moving the current row onto a
 * row that holds 2 MB of text.  A press is timed from the call to the
 * moment its rows are painted: the call, the events it posts (the view's
 * layout, the start of the check) and a paint of the viewport.  Each
 * press is timed after the checks of the press before have ended, and
 * the median of several is printed.
 *
 * Fails when a press at 100,000 commands costs more than three times the
 * same press at 1,000: the cost of Undo and Redo must not grow with the
 * length of the list.
 *
 * It writes ~/.config/QVX/autostart.sh, so it runs only in the temporary
 * home that tests/with-home.sh provides (scripts/bench does that).
 */
#include "cfg/cfg.h"
#include "editor/List.h"
#include "store/store.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QListWidgetItem>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

const int smallSize = 1000;
const int largeSize = 100000;
const int longTextBytes = 2 * 1024 * 1024;
const double allowedRatio = 3.0;
const int checkTimeoutMs = 600000;

[[noreturn]] void die(const char *what)
{
    fprintf(stderr, "bench_undo: %s\n", what);
    exit(1);
}

/* Refuse to write anywhere but in the temporary home of with-home.sh. */
void checkHome()
{
    const char *want = getenv("QVX_TEST_HOME");
    char *home = cfg_home_dir();
    const bool inTestHome = want != nullptr && home != nullptr && strcmp(home, want) == 0;

    free(home);
    if (!inTestHome)
        die("run through tests/with-home.sh (scripts/bench), never in the real home");
}

std::string scriptPath()
{
    char *dir = cfg_make_dir(nullptr);
    if (dir == nullptr)
        die(cfg_error_text());
    std::string path = std::string(dir) + "/autostart.sh";
    free(dir);
    return path;
}

/* A script of n commands that all run, the one at longRow (when not -1)
 * some 2 MB long. */
void writeScript(int n, int longRow)
{
    FILE *fp = fopen(scriptPath().c_str(), "w");
    if (fp == nullptr)
        die("cannot write the script");
    fputs("#!/bin/sh\n", fp);
    for (int i = 0; i < n; i++) {
        if (i == longRow)
            fprintf(fp, "echo %s&\n", std::string(longTextBytes, 'x').c_str());
        else
            fprintf(fp, "true --option=value-%d --flag&\n", i);
    }
    if (fclose(fp) != 0)
        die("cannot write the script");
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

/* A list of commands on the screen, its first checks ended. */
struct Shown
{
    command_list *commands;
    List *list;
    QListWidget *view;
};

/* Waits until no row waits for its mark. */
void settle(List *list)
{
    QElapsedTimer waited;
    waited.start();
    while (list->checking()) {
        if (waited.elapsed() > checkTimeoutMs)
            die("the checks did not end");
        QEventLoop loop;
        QObject::connect(list, SIGNAL(checksFinished()), &loop, SLOT(quit()));
        QTimer::singleShot(100, &loop, SLOT(quit()));
        loop.exec();
    }
    QCoreApplication::processEvents();
}

Shown show(int n, int longRow)
{
    writeScript(n, longRow);
    command_list *commands = qvxsessrun_read();
    if (commands == nullptr)
        die(qvxsessrun_error_text());
    List *list = new List(commands, nullptr);
    list->resize(800, 600);
    list->show();
    QListWidget *view = list->findChild<QListWidget *>();
    if (view == nullptr)
        die("the list has no view");
    settle(list);
    return { commands, list, view };
}

void release(Shown &s)
{
    delete s.list;
    qvxsessrun_free(s.commands);
}

/* Milliseconds from fn to its rows painted.  The view lays out its rows
 * from the event loop; a paint before they are laid out where the view
 * shows them would draw none, so the events run until they are. */
double pressMs(QListWidget *view, const std::function<void()> &fn)
{
    QElapsedTimer timer;
    timer.start();
    fn();
    QCoreApplication::processEvents();
    while (view->count() > 0 && !view->indexAt(QPoint(1, 1)).isValid()) {
        if (timer.elapsed() > checkTimeoutMs)
            die("the rows were never laid out");
        QCoreApplication::processEvents();
    }
    view->viewport()->grab();
    return timer.nsecsElapsed() / 1e6;
}

int countEntries(const command_list *commands)
{
    int n = 0;
    for (const command_entry *e = commands->entries; e != nullptr; e = e->next)
        n++;
    return n;
}

/* The rows must show the store after every press, or the figures would
 * time a press that did not do its work. */
void verifyRows(const Shown &s, int middle)
{
    if (s.view->count() != countEntries(s.commands))
        die("the rows do not match the entries in number");
    const command_entry *e = s.commands->entries;
    for (int i = 0; i < middle + 2 && e != nullptr; i++, e = e->next)
        if (i >= middle - 1 && s.view->item(i)->text() != QString::fromUtf8(e->text))
            die("a row does not show its entry");
}

struct Operation
{
    const char *name;
    std::function<void(Shown &, int)> apply;
};

struct Figures
{
    double undo;
    double redo;
};

/* The operation on the middle row, then as many Undo and Redo presses as
 * runs, each timed once the checks of the one before have ended. */
Figures timeUndoRedo(Shown &s, const Operation &op, int runs)
{
    const int middle = s.view->count() / 2;
    std::vector<double> undo, redo;

    s.view->setCurrentRow(middle);
    op.apply(s, middle);
    settle(s.list);
    for (int i = 0; i < runs; i++) {
        undo.push_back(pressMs(s.view, [&] { s.list->undo(); }));
        verifyRows(s, middle);
        settle(s.list);
        redo.push_back(pressMs(s.view, [&] { s.list->redo(); }));
        verifyRows(s, middle);
        settle(s.list);
    }
    // The next operation starts from the list as it was.
    s.list->undo();
    settle(s.list);
    return { median(undo), median(redo) };
}

const Operation operations[] = {
    { "edit", [](Shown &s, int middle) { s.view->item(middle)->setText("true --edited --flag"); } },
    { "delete", [](Shown &s, int) { s.list->delItem(); } },
    { "move down", [](Shown &s, int) { s.list->moveDown(); } },
};
const int operationCount = sizeof(operations) / sizeof(operations[0]);

void pressKey(QWidget *w, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

/* The Down arrow from the row above onto the long row, and back up,
 * runs times; the median of the presses onto it. */
double timeOntoLongRow(int runs)
{
    const int longRow = smallSize / 2;
    Shown s = show(smallSize, longRow);
    std::vector<double> onto;

    s.view->setFocus();
    s.view->setCurrentRow(longRow - 1);
    QCoreApplication::processEvents();
    for (int i = 0; i < runs; i++) {
        onto.push_back(pressMs(s.view, [&] { pressKey(s.view, Qt::Key_Down); }));
        if (s.view->currentRow() != longRow)
            die("the Down arrow did not reach the long row");
        pressMs(s.view, [&] { pressKey(s.view, Qt::Key_Up); });
    }
    release(s);
    return median(onto);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    checkHome();
    const int runs = argc > 1 ? qMax(1, atoi(argv[1])) : 5;

    Figures figures[2][operationCount];
    const int sizes[2] = { smallSize, largeSize };
    for (int k = 0; k < 2; k++) {
        Shown s = show(sizes[k], -1);
        for (int i = 0; i < operationCount; i++)
            figures[k][i] = timeUndoRedo(s, operations[i], runs);
        release(s);
    }

    printf("Undo and Redo presses, median ms of %d, from the call to the rows painted\n", runs);
    printf("%-18s %10s %10s %8s\n", "press", "1000", "100000", "ratio");
    bool slow = false;
    for (int i = 0; i < operationCount; i++) {
        const double small[2] = { figures[0][i].undo, figures[0][i].redo };
        const double large[2] = { figures[1][i].undo, figures[1][i].redo };
        for (int j = 0; j < 2; j++) {
            const double ratio = large[j] / small[j];
            const std::string name = std::string(j == 0 ? "undo " : "redo ") + operations[i].name;
            printf("%-18s %10.3f %10.3f %8.2f\n", name.c_str(), small[j], large[j], ratio);
            slow = slow || ratio > allowedRatio;
        }
    }
    const double onto = timeOntoLongRow(runs);
    printf("Down arrow onto a row of %d bytes, to the rows painted: %.3f ms (median of %d)\n",
           longTextBytes, onto, runs);
    printf("every press at %d commands within %.0f times the same at %d: %s\n", largeSize,
           allowedRatio, smallSize, slow ? "NO" : "yes");
    return slow ? 1 : 0;
}
