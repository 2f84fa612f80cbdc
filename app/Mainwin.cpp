// SPDX-License-Identifier: BSD-2-Clause
#include "app/Mainwin.h"
#include "app/StatusBar.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

#include "dialogs/dialog.h"
#include "dialogs/icon.h"
#include "editor/AppDialog.h"
#include "editor/List.h"
#include "store/store.h"

/* How long "Saved" stays in the status bar. */
static const int saved_message_ms = 5000;

/* An action of the window, known to tests and tools by its object name. */
static QAction *window_action(QObject *parent, const char *name, const QString &text)
{
    QAction *action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

/* The icons of the actions that have a button: the theme's by name, or
 * the style's picture; Quit's is always the style's. */
static const struct
{
    const char *action;
    const char *theme;
    QStyle::StandardPixmap fallback;
} action_icons[] = {
    { "undo", "edit-undo", QStyle::SP_ArrowLeft },
    { "redo", "edit-redo", QStyle::SP_ArrowRight },
    { "add", "list-add", QStyle::SP_FileDialogNewFolder },
    { "delete", "edit-delete", QStyle::SP_TrashIcon },
    { "up", "go-up", QStyle::SP_ArrowUp },
    { "down", "go-down", QStyle::SP_ArrowDown },
    { "save", "document-save", QStyle::SP_DialogSaveButton },
    { "quit", nullptr, QStyle::SP_DialogCloseButton },
};

Mainwin::Mainwin(QWidget *parent, bool rowsNow)
    : QMainWindow(parent), list(nullptr), commandList(qvxsessrun_read()), runAction(nullptr),
      backgroundAction(nullptr), savedCountWanted(false)
{
    QWidget *central = new QWidget;
    setStatusBar(new StatusBar(this));
    if (!commandList)
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());

    list = new List(commandList, this, rowsNow);
    connect(list, SIGNAL(listModified(bool)), this, SLOT(catchListModified(bool)));
    connect(list, SIGNAL(filesSkipped(const QStringList &)), this,
            SLOT(catchFilesSkipped(const QStringList &)));
    connect(list, SIGNAL(contextMenuWanted(const QPoint &, bool)), this,
            SLOT(catchContextMenu(const QPoint &, bool)));
    connect(list, SIGNAL(checksFinished()), this, SLOT(catchChecksFinished()));
    connect(list, SIGNAL(runReported(const QString &)), statusBar(),
            SLOT(showMessage(const QString &)));
    connect(list, SIGNAL(uncheckable(const QString &)), statusBar(),
            SLOT(showMessage(const QString &)));
    connect(list, SIGNAL(statusMessage(const QString &)), statusBar(),
            SLOT(showMessage(const QString &)));
    connect(list, SIGNAL(keyedRowReason(const QString &)), this, SLOT(showReason(const QString &)));
    connect(list, SIGNAL(currentRowStateChanged()), this, SLOT(updateRowActions()));
    createActions();
    setActionIcons(rowsNow);

    QLabel *label = new QLabel(tr("Add commands to be executed at session start"));
    list->setLabel(label);
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
    // "QVXSessRun", with the desktop's sign of unsaved changes.
    setWindowTitle("QVXSessRun[*]");
    setMinimumSize(500, 300);
    if (rowsNow)
        fillAfterShown();
}

/*
 * What the window needs only once it is shown: the rows of the list and
 * the window's icon, whose theme lookup is the first and so the slowest.
 * Called right after show(), they are there before the window is first
 * drawn; built before, they would hold up its mapping.
 */
void Mainwin::fillAfterShown()
{
    list->buildRows();
    updateRowActions();
    setActionIcons(true);
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
 * Every command of the window as an action, in one place: its text with
 * its mnemonic, its keys, and the slot it runs.  The buttons and the
 * context menu are made from them, and a key works as its button does:
 * not while the action is disabled.  The keys work anywhere in the window;
 * the list itself takes Delete, so that in a row's editor it deletes text.
 */
void Mainwin::createActions()
{
    undoAction = window_action(this, "undo", tr("&Undo"));
    undoAction->setShortcuts(QKeySequence::Undo);
    connect(undoAction, SIGNAL(triggered()), this, SLOT(undoClicked()));
    redoAction = window_action(this, "redo", tr("&Redo"));
    redoAction->setShortcuts(QKeySequence::Redo);
    connect(redoAction, SIGNAL(triggered()), this, SLOT(redoClicked()));
    addRowAction = window_action(this, "add", tr("&Add"));
    addRowAction->setShortcuts(QKeySequence::New);
    connect(addRowAction, SIGNAL(triggered()), this, SLOT(addClicked()));
    deleteAction = window_action(this, "delete", tr("&Delete"));
    // For the menu to show: the list takes the key itself, so that a row's
    // editor keeps it, and the action is added to no widget that has the
    // focus while a row is edited.
    deleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteAction->setShortcutContext(Qt::WidgetShortcut);
    connect(deleteAction, SIGNAL(triggered()), this, SLOT(delClicked()));
    upAction = window_action(this, "up", tr("&Up"));
    connect(upAction, SIGNAL(triggered()), this, SLOT(upClicked()));
    downAction = window_action(this, "down", tr("Dow&n"));
    connect(downAction, SIGNAL(triggered()), this, SLOT(downClicked()));
    editActions = { undoAction, redoAction, addRowAction, deleteAction, upAction, downAction };
    addApplicationAction = window_action(this, "addApplication", tr("Add A&pplication…"));
    addApplicationAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N));
    connect(addApplicationAction, SIGNAL(triggered()), this, SLOT(addApplicationClicked()));

    saveAction = window_action(this, "save", tr("&Save"));
    saveAction->setShortcuts(QKeySequence::Save);
    connect(saveAction, SIGNAL(triggered()), this, SLOT(save()));
    quitAction = window_action(this, "quit", tr("&Quit"));
    quitAction->setShortcuts(QKeySequence::Quit);
    // Some platforms' key schemes have no key to quit.
    if (quitAction->shortcuts().isEmpty())
        quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quitAction, SIGNAL(triggered()), this, SLOT(quit()));

    // Only the menu shows Run now's icon, which the menu sets.
    runAction = window_action(this, "run", tr("Run no&w"));
    runAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(runAction, SIGNAL(triggered()), this, SLOT(runClicked()));
    backgroundAction = window_action(this, "background", tr("Run in the &background"));
    backgroundAction->setCheckable(true);
    connect(backgroundAction, SIGNAL(triggered(bool)), this, SLOT(backgroundToggled(bool)));

    nextMarkAction = window_action(this, "nextMark", tr("Next marked command"));
    nextMarkAction->setShortcut(QKeySequence(Qt::Key_F8));
    connect(nextMarkAction, SIGNAL(triggered()), this, SLOT(nextMarkClicked()));
    previousMarkAction = window_action(this, "previousMark", tr("Previous marked command"));
    previousMarkAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    connect(previousMarkAction, SIGNAL(triggered()), this, SLOT(previousMarkClicked()));

    for (QAction *action : { undoAction, redoAction, addRowAction, addApplicationAction, saveAction,
                             quitAction, runAction, nextMarkAction, previousMarkAction })
        addAction(action);
    describeActions();
    undoAction->setEnabled(list->canUndo());
    redoAction->setEnabled(list->canRedo());
    updateRowActions();
}

/*
 * What needs a row, a row above or below it, or a command in it is
 * enabled only where it has that; Run now says in its tool tip why not.
 */
void Mainwin::updateRowActions()
{
    deleteAction->setEnabled(list->hasCurrentRow());
    upAction->setEnabled(list->canMoveUp());
    downAction->setEnabled(list->canMoveDown());
    const QString noRun = list->whyCurrentCannotRun();
    runAction->setEnabled(noRun.isEmpty());
    runAction->setToolTip(noRun);
}

/*
 * What the buttons do, with their keys: the buttons' tool tips, which are
 * their descriptions for a screen reader too.  A key is named as the menus
 * name it: the platform's first for the action.
 */
void Mainwin::describeActions()
{
    const auto keys
        = [](const QKeySequence &key) { return key.toString(QKeySequence::NativeText); };
    undoAction->setToolTip(tr("Undo the last change (%1)").arg(keys(undoAction->shortcut())));
    redoAction->setToolTip(
        tr("Redo the change undone last (%1)").arg(keys(redoAction->shortcut())));
    addRowAction->setToolTip(tr("Add an empty command (%1)").arg(keys(addRowAction->shortcut())));
    deleteAction->setToolTip(
        tr("Delete the current command (%1)").arg(keys(deleteAction->shortcut())));
    upAction->setToolTip(tr("Move the current command up one place"));
    downAction->setToolTip(tr("Move the current command down one place"));
    saveAction->setToolTip(
        tr("Save the commands to the script (%1)").arg(keys(saveAction->shortcut())));
    quitAction->setToolTip(tr("Quit the program (%1)").arg(keys(quitAction->shortcut())));
}

/* A button that triggers the action, with its icon, text and tool tip,
 * enabled as it is. */
QPushButton *Mainwin::buttonFor(QAction *action)
{
    QPushButton *button = new QPushButton(action->icon(), action->text(), this);
    button->setObjectName(action->objectName() + QLatin1String("Button"));
    button->setToolTip(action->toolTip());
    button->setEnabled(action->isEnabled());
    connect(button, SIGNAL(clicked()), action, SLOT(trigger()));
    connect(action, SIGNAL(changed()), this, SLOT(catchActionChanged()));
    button->installEventFilter(this);
    buttons.insert(action, button);
    return button;
}

/*
 * A button's underlined letter with Alt clicks it at once, for every
 * press: the button's own handling shows the press for 100 ms first and
 * drops the presses that come meanwhile, so that a row moved by keys
 * fast, or held down, would lag behind them.  A letter that two buttons
 * share only takes the focus to them in turn, also while one of them is
 * disabled, so that the same key never acts on the one or the other
 * depending on what can be done just then.
 */
bool Mainwin::eventFilter(QObject *watched, QEvent *event)
{
    QPushButton *button = qobject_cast<QPushButton *>(watched);
    if (!button || event->type() != QEvent::Shortcut || !buttons.key(button))
        return QMainWindow::eventFilter(watched, event);
    if (static_cast<QShortcutEvent *>(event)->isAmbiguous())
        return QMainWindow::eventFilter(watched, event); // the button takes the focus
    if (mnemonicShared(button)) {
        button->setFocus(Qt::ShortcutFocusReason);
        setAttribute(Qt::WA_KeyboardFocusChange);
    } else if (button->isEnabled()) {
        button->click();
    }
    return true;
}

bool Mainwin::mnemonicShared(const QPushButton *button) const
{
    const QKeySequence key = QKeySequence::mnemonic(button->text());
    for (const QPushButton *other : buttons)
        if (other != button && !key.isEmpty() && QKeySequence::mnemonic(other->text()) == key)
            return true;
    return false;
}

void Mainwin::catchActionChanged()
{
    QAction *action = qobject_cast<QAction *>(sender());
    if (QPushButton *button = buttons.value(action)) {
        // The focus stays in the window's work, on the list, rather than
        // moving on to whatever button follows in the tab order.
        if (!action->isEnabled() && button->hasFocus())
            list->setFocus(Qt::OtherFocusReason);
        button->setEnabled(action->isEnabled());
        button->setIcon(action->icon());
    }
}

/*
 * The icons of the actions, and so of their buttons: found in the theme or
 * the style when real, else a blank one that takes the same place, so
 * that the buttons keep their size when the real ones come.  The first
 * lookups are slow, and the window is laid out and mapped without them.
 */
void Mainwin::setActionIcons(bool real)
{
    if (iconsReal)
        return;
    iconsReal = real;
    QIcon blank;
    if (!real) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        blank = QIcon(pixmap);
    }
    for (const auto &named : action_icons) {
        QAction *action
            = findChild<QAction *>(QLatin1String(named.action), Qt::FindDirectChildrenOnly);
        if (!real)
            action->setIcon(blank);
        else if (named.theme != nullptr)
            action->setIcon(theme_or_standard_icon(named.theme, named.fallback));
        else
            action->setIcon(standard_icon(named.fallback, nullptr));
    }
}

/* The list with the column of editing buttons at its right. */
QHBoxLayout *Mainwin::createMiddleRow()
{
    // The stretch below holds the buttons together at the top, beside the
    // list's first rows, however tall the window.
    QVBoxLayout *column = new QVBoxLayout;
    for (QAction *action : qAsConst(editActions)) {
        QPushButton *button = buttonFor(action);
        button->setStyleSheet("padding: 2px; text-align: left;");
        column->addWidget(button, 1);
    }
    column->addStretch(1);

    QHBoxLayout *row = new QHBoxLayout;
    row->addWidget(list, 0);
    row->addLayout(column, 0);
    return row;
}

/* Save and Quit at the right end of the window. */
QHBoxLayout *Mainwin::createBottomRow()
{
    QPushButton *saveButton = buttonFor(saveAction);
    QPushButton *quitButton = buttonFor(quitAction);
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
 * here, the user decides whether to overwrite it, to read it again instead
 * or to leave it: a change already there is asked about before anything
 * is written, and one that comes while the save is under way makes the
 * write give up and leave that program's script, and is asked about the
 * same way.  A failed write is reported and leaves everything as it was
 * (rows, journal, modified state), so that the user can make room or fix
 * the directory and save again.  True when written.
 */
bool Mainwin::saveScript()
{
    const char *call = "qvxsessrun_write()";
    int r;

    list->syncItems();
    // A script that cannot be looked at counts as changed.
    r = qvxsessrun_changed_on_disk(commandList) == 0 ? qvxsessrun_write(commandList) : 1;
    while (r == 1) {
        const DiskAnswer answer = askAboutDiskChange();
        if (answer == ReloadScript) {
            reloadScript();
            return false;
        }
        if (answer != OverwriteScript) {
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
    setWindowModified(false);
    showSaved();
    return true;
}

/*
 * Asks what to do about the script that another program changed or
 * removed: read it again (the edits made here go, and Undo brings them
 * back), overwrite it, or leave it for now.  Cancel is the default, and
 * Escape cancels too.
 */
Mainwin::DiskAnswer Mainwin::askAboutDiskChange()
{
    // A script that cannot be looked at is spoken of as changed.
    const bool removed = qvxsessrun_removed_on_disk(commandList) == 1;
    QMessageBox box(this);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(tr("Script changed on disk"));
    if (removed) {
        box.setText(tr("The script was removed by another program since it was opened or last "
                       "saved here."));
        box.setInformativeText(tr("Reload empties the list; Undo brings back the commands shown "
                                  "here. Overwrite saves the commands shown here as the script."));
    } else {
        box.setText(tr("The script was changed by another program since it was opened or last "
                       "saved here."));
        box.setInformativeText(tr("Reload shows the script as it is now; Undo brings back the "
                                  "commands shown here. Overwrite saves the commands shown here "
                                  "over it."));
    }
    QPushButton *reload = box.addButton(tr("&Reload"), QMessageBox::DestructiveRole);
    QPushButton *overwrite = box.addButton(tr("&Overwrite"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    cancel->setText(tr("&Cancel"));
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.setIcon(QMessageBox::Warning);
    box.setWindowIcon(standard_icon(QStyle::SP_MessageBoxWarning, nullptr));
    box.exec();
    if (box.clickedButton() == reload)
        return ReloadScript;
    return box.clickedButton() == overwrite ? OverwriteScript : KeepScript;
}

/*
 * The script as it is now in the rows, instead of the edits made here,
 * which Undo brings back.  When it cannot be read, nothing changes and
 * the user is told why.
 */
void Mainwin::reloadScript()
{
    if (!list->reload()) {
        dialog_warnx(this, "%s: %s", "qvxsessrun_reload()", qvxsessrun_error_text());
        statusBar()->showMessage(tr("The script was not reloaded."));
        return;
    }
    statusBar()->showMessage(tr("Reloaded. Undo brings back the commands shown before."));
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
        statusBar()->showMessage(tr("Saved. %n command(s) would not run as written: F8 goes to "
                                    "them.",
                                    nullptr, marked));
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

/* The chosen applications become rows as a drop of their files would. */
void Mainwin::addApplicationClicked()
{
    AppDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted)
        list->addDesktopEntries(dialog.selectedPaths());
}

void Mainwin::delClicked()
{
    list->delItem();
}

void Mainwin::undoClicked()
{
    list->undo();
    undoAction->setEnabled(list->canUndo());
}

void Mainwin::redoClicked()
{
    list->redo();
    redoAction->setEnabled(list->canRedo());
}

void Mainwin::catchListModified(bool state)
{
    setWindowModified(state);
    savedCountWanted = false; // a count from now on would not be the saved script's
    undoAction->setEnabled(list->canUndo());
    redoAction->setEnabled(list->canRedo());
    updateRowActions();
    statusBar()->showMessage(state ? tr("Modified") : QString());
}

void Mainwin::catchFilesSkipped(const QStringList &reasons)
{
    // No time-out: the user reads it when looking for the missing rows.
    statusBar()->showMessage(
        tr("%n dropped file(s) could not be added: %1", nullptr, reasons.size())
            .arg(reasons.join(QLatin1String("; "))));
}

void Mainwin::runClicked()
{
    statusBar()->showMessage(list->runCurrent());
}

void Mainwin::backgroundToggled(bool background)
{
    list->setCurrentInBackground(background);
}

/*
 * For a row: Run now and the row's final "&", then the editing buttons as
 * they stand, enabled or not, with Add Application after Add.  For the
 * list without a row: only what needs no row.
 */
void Mainwin::catchContextMenu(const QPoint &globalPos, bool forRow)
{
    // Looked up the first time the menu opens rather than at start, where
    // nothing shows it.
    if (runAction->icon().isNull())
        runAction->setIcon(theme_or_standard_icon("system-run", QStyle::SP_MediaPlay));
    // The menu acts on the row as typed.
    list->commitEdit();
    updateRowActions();
    const QString fixed = list->whyCurrentBackgroundFixed();
    backgroundAction->setChecked(list->currentInBackground(nullptr));
    backgroundAction->setEnabled(fixed.isEmpty());
    backgroundAction->setToolTip(fixed);
    QMenu menu(this);
    menu.setToolTipsVisible(true);
    if (forRow) {
        menu.addAction(runAction);
        menu.addAction(backgroundAction);
        menu.addSeparator();
        menu.addActions(editActions);
        menu.insertAction(deleteAction, addApplicationAction);
    } else {
        menu.addAction(addRowAction);
        menu.addAction(addApplicationAction);
    }
    menu.exec(globalPos);
}

void Mainwin::nextMarkClicked()
{
    list->goToMarkedRow(1);
}

void Mainwin::previousMarkClicked()
{
    list->goToMarkedRow(-1);
}

/*
 * Why the row that a key made current is marked, in the status bar; a row
 * that is not takes away the message about the one before, and only that.
 */
void Mainwin::showReason(const QString &reason)
{
    if (!reason.isEmpty())
        statusBar()->showMessage(reason);
    else if (!shownReason.isEmpty() && statusBar()->currentMessage() == shownReason)
        statusBar()->clearMessage();
    shownReason = reason;
}
