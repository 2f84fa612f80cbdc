// SPDX-License-Identifier: BSD-2-Clause
#include "Mainwin.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include "List.h"
#include "dialog.h"
#include "icon.h"
#include "store.h"

/* How long "Saved" stays in the status bar. */
static const int saved_message_ms = 5000;

/* One of the six buttons beside the list. */
static QPushButton *edit_button(QWidget *parent, const char *themeName,
                                QStyle::StandardPixmap fallback, const QString &caption)
{
    QPushButton *button
        = new QPushButton(theme_or_standard_icon(themeName, fallback), caption, parent);
    button->setStyleSheet("padding: 2px; text-align: left;");
    return button;
}

Mainwin::Mainwin(QWidget *parent)
    : QMainWindow(parent), list(nullptr), undoButton(nullptr), redoButton(nullptr),
      commandList(qvxsessrun_read()), addButton(nullptr), runAction(nullptr),
      backgroundAction(nullptr),      savedCountWanted(false)
{
    QWidget *central = new QWidget;
    if (!commandList)
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());

    list = new List(commandList, this);
    connect(list, SIGNAL(listModified(bool)), this, SLOT(catchListModified(bool)));
    connect(list, SIGNAL(filesSkipped(int)), this, SLOT(catchFilesSkipped(int)));
    connect(list, SIGNAL(contextMenuWanted(const QPoint &, bool)), this,
            SLOT(catchContextMenu(const QPoint &, bool)));
    connect(list, SIGNAL(checksFinished()), this, SLOT(catchChecksFinished()));
    connect(list, SIGNAL(runReported(const QString &)), statusBar(),
            SLOT(showMessage(const QString &)));

    // Run now is in the rows' context menu; its shortcut works everywhere
    // in the window.  Only the menu shows its icon, which the menu sets.
    runAction = new QAction(tr("Run no&w"), this);
    runAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addAction(runAction);
    connect(runAction, SIGNAL(triggered()), this, SLOT(runClicked()));
    backgroundAction = new QAction(tr("Run in the &background"), this);
    backgroundAction->setCheckable(true);
    connect(backgroundAction, SIGNAL(triggered(bool)), this, SLOT(backgroundToggled(bool)));

    QLabel *label = new QLabel(tr("Add commands to be executed at session start"));
    QHBoxLayout *middle = createMiddleRow();
    QHBoxLayout *bottom = createBottomRow();
    QVBoxLayout *outer = new QVBoxLayout;
    outer->addWidget(label, 0, Qt::AlignCenter);
    outer->addLayout(middle);
    outer->addLayout(bottom);
    outer->setContentsMargins(15, 15, 15, 15);

    statusBar()->showMessage(QString());
    central->setLayout(outer);
    setCentralWidget(central);
    setWindowTitle("QVXSessRun");
    setMinimumSize(500, 300);
    // The window keeps no icon of its own when the theme lacks this one.
    setWindowIcon(load_theme_icon("system-run", nullptr));
}

/*
 * The store lives as long as the window.  The list that edits it goes
 * first, so that nothing can reach the store while it is released.
 */
Mainwin::~Mainwin()
{
    delete list;
    qvxsessrun_free(commandList);
}

/*
 * The platform's standard key for a button, beside its mnemonic.  It clicks
 * the button, so a disabled button ignores it as it ignores a mouse click.
 */
void Mainwin::addShortcut(QKeySequence::StandardKey key, QPushButton *button)
{
    QAction *action = new QAction(this);
    action->setShortcuts(key);
    connect(action, SIGNAL(triggered()), button, SLOT(click()));
    addAction(action);
}

/* The list with the column of editing buttons at its right. */
QHBoxLayout *Mainwin::createMiddleRow()
{
    undoButton = edit_button(this, "edit-undo", QStyle::SP_ArrowLeft, tr("&Undo"));
    undoButton->setEnabled(list->canUndo());
    redoButton = edit_button(this, "edit-redo", QStyle::SP_ArrowRight, tr("&Redo"));
    redoButton->setEnabled(list->canRedo());
    addButton = edit_button(this, "list-add", QStyle::SP_FileDialogNewFolder, tr("&Add"));
    QPushButton *delButton = edit_button(this, "edit-delete", QStyle::SP_TrashIcon, tr("&Delete"));
    QPushButton *upButton = edit_button(this, "go-up", QStyle::SP_ArrowUp, tr("&Up"));
    QPushButton *downButton = edit_button(this, "go-down", QStyle::SP_ArrowDown, tr("Dow&n"));

    connect(undoButton, SIGNAL(clicked()), this, SLOT(undoClicked()));
    connect(redoButton, SIGNAL(clicked()), this, SLOT(redoClicked()));
    connect(addButton, SIGNAL(clicked()), this, SLOT(addClicked()));
    connect(delButton, SIGNAL(clicked()), this, SLOT(delClicked()));
    connect(upButton, SIGNAL(clicked()), this, SLOT(upClicked()));
    connect(downButton, SIGNAL(clicked()), this, SLOT(downClicked()));
    addShortcut(QKeySequence::Undo, undoButton);
    addShortcut(QKeySequence::Redo, redoButton);
    addShortcut(QKeySequence::New, addButton);

    // The stretches above and below hold the buttons together in the middle.
    QVBoxLayout *column = new QVBoxLayout;
    column->addStretch(1);
    editButtons = { undoButton, redoButton, addButton, delButton, upButton, downButton };
    for (QPushButton *button : qAsConst(editButtons))
        column->addWidget(button, 1);
    column->addStretch(1);

    QHBoxLayout *row = new QHBoxLayout;
    row->addWidget(list, 0);
    row->addLayout(column, 0);
    return row;
}

/* Save and Quit at the right end of the window. */
QHBoxLayout *Mainwin::createBottomRow()
{
    QPushButton *saveButton = new QPushButton(
        theme_or_standard_icon("document-save", QStyle::SP_DialogSaveButton), tr("&Save"), this);
    QPushButton *quitButton
        = new QPushButton(standard_icon(QStyle::SP_DialogCloseButton, nullptr), tr("&Quit"), this);
    connect(saveButton, SIGNAL(clicked(bool)), this, SLOT(save()));
    connect(quitButton, SIGNAL(clicked(bool)), this, SLOT(quit()));
    addShortcut(QKeySequence::Save, saveButton);
    addShortcut(QKeySequence::Quit, quitButton);

    QHBoxLayout *row = new QHBoxLayout;
    row->addWidget(saveButton, 1, Qt::AlignRight);
    row->addWidget(quitButton, 0, Qt::AlignRight);
    return row;
}

void Mainwin::closeEvent(QCloseEvent *event)
{
    quit();
    // Only QCoreApplication::quit() ends the program; the window stays up
    // when the user cancels the question.
    event->ignore();
}

void Mainwin::upClicked()
{
    list->moveUp();
}

void Mainwin::downClicked()
{
    list->moveDown();
}

void Mainwin::save()
{
    saveScript();
}

/*
 * Writes the rows to the script.  When another program (an editor, a
 * second window of this one) changed it since it was read or last saved
 * here, the user decides whether to overwrite it: a change already there
 * is asked about before anything is written, and one that comes while the
 * save is under way makes the write give up and leave that program's
 * script, and is asked about the same way.  A failed write is reported and
 * leaves everything as it was (rows, journal, modified state), so that the
 * user can make room or fix the directory and save again.  True when
 * written.
 */
bool Mainwin::saveScript()
{
    const char *call = "qvxsessrun_write()";
    int r;

    list->syncItems();
    // A script that cannot be looked at counts as changed.
    r = qvxsessrun_changed_on_disk(commandList) == 0 ? qvxsessrun_write(commandList) : 1;
    while (r == 1) {
        if (!overwriteAllowed()) {
            statusBar()->showMessage(tr("The script was not saved."));
            return false;
        }
        if (qvxsessrun_accept_disk(commandList) == -1) {
            call = "qvxsessrun_accept_disk()";
            r = -1;
        } else {
            r = qvxsessrun_write(commandList); // 1 again when it changed once more meanwhile
        }
    }
    if (r == -1) {
        dialog_warnx(this, "%s: %s", call, qvxsessrun_error_text());
        statusBar()->showMessage(tr("The script was not saved."));
        return false;
    }
    list->resetModified();
    showSaved();
    return true;
}

/*
 * Asks whether to overwrite the script that another program changed;
 * Cancel is the default.  True for Overwrite.
 */
bool Mainwin::overwriteAllowed()
{
    QMessageBox box(this);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(tr("The script was changed by another program since it was opened."));
    box.setText(tr("The script was changed by another program since it was opened."));
    box.setInformativeText(tr("Overwrite it with the commands shown here?"));
    QPushButton *overwrite = box.addButton(tr("&Overwrite"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    cancel->setText(tr("&Cancel"));
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.setIcon(QMessageBox::Warning);
    box.setWindowIcon(standard_icon(QStyle::SP_MessageBoxWarning, nullptr));
    box.exec();
    return box.clickedButton() == overwrite;
}

/*
 * "Saved", or how many rows would not run as written.  The save never
 * waits for the checks: while they run, the count follows when they end.
 */
void Mainwin::showSaved()
{
    const int marked = list->checking() ? 0 : list->markedCount();

    savedCountWanted = list->checking();
    if (marked == 0)
        statusBar()->showMessage(tr("Saved"), saved_message_ms);
    else
        statusBar()->showMessage(
            tr("Saved. %n command(s) would not run as written.", nullptr, marked));
}

void Mainwin::catchChecksFinished()
{
    if (!savedCountWanted)
        return;
    savedCountWanted = false;
    // "Saved" is already there, on its time-out; only a count replaces it.
    if (list->markedCount() > 0)
        showSaved();
}

void Mainwin::quit()
{
    list->syncItems();
    if (!list->modified()) {
        QCoreApplication::quit();
        return;
    }

    QMessageBox box(this);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(tr("The file has been modified."));
    box.setText(tr("The file has been modified."));
    box.setInformativeText(tr("Do you want to save your changes?"));
    box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box.button(QMessageBox::Save)->setText(tr("&Save"));
    box.button(QMessageBox::Discard)->setText(tr("&Quit without saving"));
    box.button(QMessageBox::Cancel)->setText(tr("&Cancel"));
    box.setDefaultButton(QMessageBox::Save);
    box.setIcon(QMessageBox::Question);
    box.setWindowIcon(standard_icon(QStyle::SP_MessageBoxQuestion, nullptr));

    switch (box.exec()) {
    case QMessageBox::Save:
        if (saveScript()) // else the window stays with the unsaved work
            QCoreApplication::quit();
        break;
    case QMessageBox::Discard:
        QCoreApplication::quit();
        break;
    default: // Cancel, Escape or the box closed: keep editing
        break;
    }
}

void Mainwin::addClicked()
{
    list->addItem();
}

void Mainwin::delClicked()
{
    list->delItem();
}

void Mainwin::undoClicked()
{
    list->undo();
    undoButton->setEnabled(list->canUndo());
}

void Mainwin::redoClicked()
{
    list->redo();
    redoButton->setEnabled(list->canRedo());
}

void Mainwin::catchListModified(bool state)
{
    savedCountWanted = false; // a count from now on would not be the saved script's
    undoButton->setEnabled(list->canUndo());
    redoButton->setEnabled(list->canRedo());
    statusBar()->showMessage(state ? tr("Modified") : QString());
}

void Mainwin::catchFilesSkipped(int count)
{
    // No time-out: the user reads it when looking for the missing rows.
    statusBar()->showMessage(tr("%n dropped file(s) could not be added.", nullptr, count));
}

void Mainwin::runClicked()
{
    statusBar()->showMessage(list->runCurrent());
}

void Mainwin::backgroundToggled(bool background)
{
    list->setCurrentInBackground(background);
}

/* A button of the window as an entry of a menu, enabled as the button is. */
static void add_button_entry(QMenu *menu, QPushButton *button)
{
    QAction *action = menu->addAction(button->icon(), button->text(), button, SLOT(click()));
    action->setEnabled(button->isEnabled());
}

/*
 * For a row: Run now and the row's final "&", then the editing buttons as
 * they stand, enabled or not.  For the list without a row: only what needs
 * no row.
 */
void Mainwin::catchContextMenu(const QPoint &globalPos, bool forRow)
{
    // Looked up the first time the menu opens rather than at start, where
    // nothing shows it.
    if (runAction->icon().isNull())
        runAction->setIcon(theme_or_standard_icon("system-run", QStyle::SP_MediaPlay));
    bool changeable = false;
    backgroundAction->setChecked(list->currentInBackground(&changeable));
    backgroundAction->setEnabled(changeable);
    QMenu menu(this);
    if (forRow) {
        menu.addAction(runAction);
        menu.addAction(backgroundAction);
        menu.addSeparator();
        for (QPushButton *button : qAsConst(editButtons))
            add_button_entry(&menu, button);
    } else {
        add_button_entry(&menu, addButton);
    }
    menu.exec(globalPos);
}
