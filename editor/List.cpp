// SPDX-License-Identifier: BSD-2-Clause
#include "editor/List.h"

#include "check/CommandCheck.h"
#include "desktop/DesktopFile.h"
#include "dialogs/dialog.h"
#include "editor/ListWidget.h"
#include "editor/RowDelegate.h"
#include "editor/RowMarks.h"
#include "editor/RowText.h"
#include "editor/RowUse.h"
#include "editor/utf8bytes.h"
#include "run/RunText.h"
#include "run/RunWatcher.h"
#include "run/runnow.h"
#include "store/store.h"

#include <QByteArray>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidgetItem>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>
#include <QVector>

#include <string.h>

/* Rows can be selected, edited and switched on and off, nothing more: no
 * drag, no drop, no third check state. */
static const Qt::ItemFlags itemFlags
    = Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled;

/* An entry's command, all of its bytes. */
static QByteArray textOf(const command_entry *entry)
{
    return entry->text ? QByteArray(entry->text, int(entry->text_len)) : QByteArray();
}

/* How many lines an entry's command has. */
static int linesOf(const command_entry *entry)
{
    int lines = 1;
    const char *p = entry->text, *end = entry->text + entry->text_len;

    while ((p = static_cast<const char *>(memchr(p, '\n', size_t(end - p)))) != nullptr) {
        lines++;
        p++;
    }
    return lines;
}

/* An entry's text as its row shows it: a NUL byte as its sign. */
static QString shownText(const command_entry *entry)
{
    return utf8_shown(textOf(entry));
}

static command_entry *entryOf(const QListWidgetItem *item)
{
    QVariant v = item->data(Qt::UserRole);

    if (v.userType() == QMetaType::VoidStar)
        return static_cast<command_entry *>(v.value<void *>());
    if (!v.convert(QMetaType::VoidStar))
        return nullptr;
    return static_cast<command_entry *>(v.value<void *>());
}

List::List(command_list *commands, QWidget *parent, bool rowsNow)
    : QWidget(parent), modifiedFlag(false), commands(commands), snapshot(nullptr),
      listWidget(nullptr), commandCheck(nullptr)
{
    listWidget = new ListWidget(nullptr);
    listWidget->setAttribute(Qt::WA_MouseTracking);
    // Every row is one line of text with a check box: measuring one row
    // instead of all of them makes a long script show at once.  The rows
    // are laid out in one pass: in batches, the rows in view would be
    // drawn only once every batch above them was done.
    listWidget->setUniformItemSizes(true);
    // A warning icon no taller than a line of text, so that a row does not
    // grow under the mouse when its mark arrives.
    const int iconSide = qMin(listWidget->style()->pixelMetric(QStyle::PM_SmallIconSize),
                              listWidget->fontMetrics().height());
    listWidget->setIconSize(QSize(iconSide, iconSide));

    QVBoxLayout *layout = new QVBoxLayout;
    layout->addWidget(listWidget);
    setLayout(layout);

    listWidget->setToolTip(tr("Double click to edit.\n"
                              "Use checkbox to activate/deactivate a command.\n"
                              "Use Drag & Drop to add desktop files."));
    // What the tool tip says for the mouse, for the keyboard.
    listWidget->setAccessibleName(tr("Commands"));
    listWidget->setAccessibleDescription(
        tr("Enter or F2 edits the current command, Space switches it on or off, Shift+F10 opens "
           "its menu, F8 goes to the next marked command."));
    setFocusProxy(listWidget);

    if (rowsNow)
        buildRows();

    // Last, so that building the first rows reaches no slot.
    connect(listWidget, SIGNAL(itemChanged(QListWidgetItem *)), this,
            SLOT(catchItemChanged(QListWidgetItem *)));
    connect(listWidget, SIGNAL(itemDoubleClicked(QListWidgetItem *)), this,
            SLOT(catchDoubleClicked(QListWidgetItem *)));
    connect(listWidget, SIGNAL(itemDroped(QStringList &)), this,
            SLOT(addDesktopFiles(QStringList &)));
    connect(listWidget, SIGNAL(deleteKeyPressed()), this, SLOT(delItem()));
    connect(listWidget, SIGNAL(contextMenuWanted(const QPoint &, bool)), this,
            SIGNAL(contextMenuWanted(const QPoint &, bool)));
    connect(listWidget, SIGNAL(currentRowKeyed(QListWidgetItem *)), this,
            SLOT(catchCurrentRowKeyed(QListWidgetItem *)));
    connect(listWidget, SIGNAL(noMarkedRow()), this, SLOT(catchNoMarkedRow()));
    connect(listWidget, SIGNAL(currentRowChanged(int)), this, SIGNAL(currentRowStateChanged()));
    connect(listWidget, SIGNAL(editingChanged()), this, SIGNAL(currentRowStateChanged()));
    connect(listWidget, SIGNAL(editorClosed(QListWidgetItem *, bool)), this,
            SLOT(catchEditorClosed(QListWidgetItem *, bool)));

    commandCheck = new CommandCheck(this);
    connect(commandCheck, SIGNAL(checked(quint64, int, const QString &)), this,
            SLOT(catchChecked(quint64, int, const QString &)));
    connect(commandCheck, SIGNAL(allChecked()), this, SIGNAL(checksFinished()));
    connect(commandCheck, SIGNAL(uncheckable(const QString &)), this,
            SIGNAL(uncheckable(const QString &)));
    // From the event loop, so that the window is up before the first
    // shell is started.
    QTimer::singleShot(0, this, SLOT(checkWhenDrawn()));
}

/*
 * The rows, and the copy of the commands that tells whether they changed
 * since the save: at many rows the work of most of the start, which a
 * window built before it is shown does right after show(), so that it is
 * mapped the sooner.  Before any slot is connected, or with no row to
 * reach one.
 */
void List::buildRows()
{
    if (snapshot != nullptr)
        return;
    snapshot = qvxsessrun_copy(commands);
    if (!snapshot)
        dialog_err(this, 1, "%s", qvxsessrun_error_text());
    savedState.reset(snapshot);

    rebuild();
}

List::~List()
{
    items.clear(); // the view, our child, deletes the items themselves
    qvxsessrun_free(snapshot);
}

bool List::modified() const
{
    return modifiedFlag;
}

void List::resetModified()
{
    /* Copy before releasing the old snapshot, so that no dangling pointer
     * is left behind while the error dialog runs its event loop. */
    command_list *copy = qvxsessrun_copy(commands);
    if (!copy)
        dialog_err(this, 1, "%s", qvxsessrun_error_text());
    qvxsessrun_free(snapshot);
    snapshot = copy;
    savedState.reset(snapshot);
    modifiedFlag = false;
}

/* Writes every row into its entry, the text of an editor still open
 * included. */
void List::syncItems()
{
    listWidget->commitOpenEditor();
    // In creation order: each row carries its own entry, so the order of
    // the rows does not matter here.
    const QList<QListWidgetItem *> all = items;
    for (QListWidgetItem *item : all)
        syncItem(item);
}

void List::commitEdit()
{
    listWidget->commitOpenEditor();
}

void List::addItem()
{
    // The new row's editor can only open once the one still open is closed.
    listWidget->commitOpenEditor();
    const QListWidgetItem *current = listWidget->currentItem();
    const command_entry *currentEntry = current ? entryOf(current) : nullptr;
    const int currentRow = listWidget->currentRow();
    unsigned long made = qvxsessrun_records_made(commands);
    command_entry *entry = qvxsessrun_add_command(commands, "", 1);
    if (!entry)
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());

    // Where it runs: above a last "exec" that ends the script, if any.
    const int row = rowFor(entry);
    QListWidgetItem *item = createItem(entry, row);
    noteChange(made, row, row + 1);
    showNewRows(item, item);
    listWidget->editItem(item);
    pendingAdd = entry;
    currentBeforeAdd = currentEntry;
    rowBeforeAdd = currentRow;
    updateModified();
}

/*
 * Escape in the editor that Add opened, with the row still empty: the
 * user changed their mind, and the row goes as though Add had never been
 * pressed, with nothing to redo and the current row back where it was.
 * Any other way out of the editor keeps the row, and so does Escape once
 * the row held a command or anything else changed in between.
 */
void List::catchEditorClosed(QListWidgetItem *item, bool cancelled)
{
    const command_entry *added = pendingAdd;
    pendingAdd = nullptr;
    if (!cancelled || !item || !added || entryOf(item) != added || added->text_len != 0)
        return;
    const int row = listWidget->row(item);
    // Released by the store: from here on only a key of the view's tables.
    if (qvxsessrun_take_back_add(commands, added) != 1)
        return;
    removeRow(item);
    savedState.noteUndone();
    savedState.noteChange(row, row + 1, listWidget->count());
    restoreCurrent(currentBeforeAdd, rowBeforeAdd);
    updateModified();
}

/*
 * Rows just added become where the user is: the first of them current, and
 * as many of them in view as fit, the first one always.  Whatever the user
 * does next (types, runs, deletes) then acts on what was added.
 */
void List::showNewRows(QListWidgetItem *first, QListWidgetItem *last)
{
    listWidget->setCurrentItem(first);
    listWidget->scrollToItem(last);
    listWidget->scrollToItem(first);
}

void List::delItem()
{
    QListWidgetItem *item = listWidget->currentItem();
    if (!item)
        return;

    unsigned long made = qvxsessrun_records_made(commands);
    if (!qvxsessrun_delete_command(commands, entryOf(item)))
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());

    // The next row takes the lines above the deleted one.
    const int row = listWidget->row(item);
    removeRow(item);
    noteChange(made, row, row + 1);
    updateModified();
}

void List::removeRow(QListWidgetItem *item)
{
    listWidget->setItemWidget(item, nullptr);
    items.removeOne(item);
    itemOf.remove(entryOf(item));
    delete item;
}

void List::moveUp()
{
    // The store leaves the first entry where it is and records nothing.
    moveCurrent(qvxsessrun_move_up, -1);
}

void List::moveDown()
{
    // The store leaves the last entry where it is and records nothing.
    moveCurrent(qvxsessrun_move_down, 1);
}

/*
 * Moves the current row one place, up for a step of -1 and down for 1. The
 * store is asked before the row is tested, so that it can refuse the move
 * at the end of the list itself.
 */
void List::moveCurrent(command_entry *(*move)(command_list *, command_entry *), int step)
{
    // The text being typed goes with its row: the editor stays at its
    // place, where the neighbour's text is about to be.
    listWidget->commitOpenEditor();
    QListWidgetItem *item = listWidget->currentItem();
    if (!item)
        return;

    unsigned long made = qvxsessrun_records_made(commands);
    if (!move(commands, entryOf(item)))
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());

    int row = listWidget->currentRow();
    int endRow = step < 0 ? 0 : listWidget->count() - 1;
    if (row == endRow)
        return;
    moveRow(row, row + step);
    listWidget->setCurrentRow(row + step);
    noteChange(made, qMin(row, row + step), qMax(row, row + step) + 1);
    updateModified();
}

bool List::reload()
{
    // What is being typed is an edit of its own, which the reload replaces
    // and undo brings back.
    syncItems();
    const int row = listWidget->currentRow();
    if (qvxsessrun_reload(commands) == -1)
        return false;
    rebuildAll(row);
    resetModified();
    updateModified();
    return true;
}

void List::undo()
{
    applyJournalStep(true);
}

void List::redo()
{
    applyJournalStep(false);
}

/*
 * An undo or redo.  A journalled operation adds, deletes, sets or moves
 * one entry, so the records a step applies name the rows that change; the
 * others stay as they are, and are not checked again.  A reload replaced
 * every entry: all rows are made anew.  The current row is kept as
 * restoreCurrent() keeps it.
 */
void List::applyJournalStep(bool undo)
{
    pendingAdd = nullptr;
    QVector<journal_change> step(int(qvxsessrun_next_step(commands, undo, nullptr, 0)));
    qvxsessrun_next_step(commands, undo, step.data(), size_t(step.size()));
    const QListWidgetItem *current = listWidget->currentItem();
    const command_entry *currentEntry = current ? entryOf(current) : nullptr;
    const int row = listWidget->currentRow();

    // A record that could not be applied ends the step there.
    const int applied = int(undo ? qvxsessrun_undo(commands) : qvxsessrun_redo(commands));
    if (applied == 0) {
        updateModified();
        return;
    }
    if (undo)
        savedState.noteUndone();
    else
        savedState.noteRedone();
    if (!step.first().entry) {
        rebuildAll(row);
        savedState.noteChange(0, listWidget->count(), listWidget->count());
    } else {
        for (int i = 0; i < applied; i++)
            updateRow(step[i].entry, step[i].in_list);
        restoreCurrent(currentEntry, row);
    }
    updateModified();
}

/*
 * The row of an entry that an undo or redo changed: taken away with the
 * entry, put back where the entry is now, or showing its text and check
 * state.  Without the view's itemChanged: it is no edit of the user's.
 */
void List::updateRow(command_entry *entry, bool inList)
{
    QListWidgetItem *item = itemOf.value(entry);
    const int row = item ? listWidget->row(item) : -1;
    if (!inList) {
        if (item) {
            removeRow(item);
            savedState.noteChange(row, row + 1, listWidget->count());
        }
        return;
    }
    // rowFor() counts the row itself when it is above its new place.
    int to = rowFor(entry);
    if (item && to > row)
        to--;
    if (item && to != row) {
        moveRow(row, to);
        savedState.noteChange(qMin(row, to), qMax(row, to) + 1, listWidget->count());
    } else if (item) {
        showEntry(item, entry);
        refreshMark(item);
        savedState.noteChange(row, row + 1, listWidget->count());
    } else {
        // The row below gives back the lines above the entry.
        createItem(entry, to);
        savedState.noteChange(to, to + 2, listWidget->count());
    }
}

/*
 * Moves a row from one place to another.  Next to each other, the two rows
 * trade what they show, so that the view lays out no row anew; taken out
 * and put in again otherwise, or while a row's editor is open, which is
 * bound to its place.
 */
void List::moveRow(int from, int to)
{
    if (qAbs(from - to) != 1 || listWidget->editing()) {
        listWidget->insertItem(to, listWidget->takeItem(from));
        return;
    }
    QListWidgetItem *a = listWidget->item(from);
    QListWidgetItem *b = listWidget->item(to);
    // The items keep the order their entries were made in.
    items.swapItemsAt(items.indexOf(a), items.indexOf(b));
    const QSignalBlocker blocker(listWidget);
    for (int role : { int(Qt::DisplayRole), int(RowDelegate::LinesRole), int(Qt::CheckStateRole),
                      int(Qt::UserRole), int(Qt::DecorationRole), int(Qt::ToolTipRole),
                      int(Qt::AccessibleDescriptionRole) }) {
        const QVariant value = a->data(role);
        a->setData(role, b->data(role));
        b->setData(role, value);
    }
    itemOf.insert(entryOf(a), a);
    itemOf.insert(entryOf(b), b);
}

/* Where an entry's row belongs: right below the row of the entry before it. */
int List::rowFor(const command_entry *entry) const
{
    const QListWidgetItem *above = entry->prev ? itemOf.value(entry->prev) : nullptr;
    return above ? listWidget->row(above) + 1 : 0;
}

/*
 * The current row on the entry it was on, or at the same place (the last
 * row at most) when that entry is gone, so that a keyboard user keeps the
 * place; no current row when there was none.
 */
void List::restoreCurrent(const command_entry *entry, int row)
{
    const QListWidgetItem *item = entry ? itemOf.value(entry) : nullptr;
    if (item)
        row = listWidget->row(item);
    if (row >= 0 && listWidget->count() > 0) {
        row = qMin(row, listWidget->count() - 1);
        // Setting the current row anew costs a pass over the selection.
        if (row != listWidget->currentRow())
            listWidget->setCurrentRow(row);
    } else {
        listWidget->setCurrentItem(nullptr);
    }
}

/* The rows anew from the entries, before the List's signals are connected. */
void List::rebuild()
{
    listWidget->clear();
    items = QList<QListWidgetItem *>();
    itemOf.clear();
    for (command_entry *e = commands->entries; e; e = e->next)
        createItem(e, listWidget->count());
}

/* Every row anew, after the store traded all its entries for others; the
 * current row stays at its place, the last row at most. */
void List::rebuildAll(int currentRow)
{
    rebuild();
    restoreCurrent(nullptr, currentRow);
}

bool List::currentInBackground(bool *changeable) const
{
    const QListWidgetItem *item = listWidget->currentItem();
    const command_entry *entry = item ? entryOf(item) : nullptr;
    int fixed = 1;

    const bool background = entry && qvxsessrun_background(commands, entry, &fixed) == 1;
    if (changeable)
        *changeable = entry && !fixed;
    return background;
}

bool List::hasCurrentRow() const
{
    return listWidget->currentItem() != nullptr;
}

bool List::canMoveUp() const
{
    return listWidget->currentRow() > 0;
}

bool List::canMoveDown() const
{
    const int row = listWidget->currentRow();
    return row >= 0 && row < listWidget->count() - 1;
}

/* While a row's editor is open, Run now runs what is typed there. */
QString List::whyCurrentCannotRun() const
{
    if (listWidget->editing())
        return QString();
    const QListWidgetItem *item = listWidget->currentItem();
    return RowUse::whyNotRun(commands, item ? entryOf(item) : nullptr);
}

QString List::whyCurrentBackgroundFixed() const
{
    const QListWidgetItem *item = listWidget->currentItem();
    return RowUse::whyBackgroundFixed(commands, item ? entryOf(item) : nullptr);
}

/* Adds or removes the final "&" of the current row's line: one journalled step. */
void List::setCurrentInBackground(bool background)
{
    listWidget->commitOpenEditor();
    QListWidgetItem *item = listWidget->currentItem();
    command_entry *entry = item ? entryOf(item) : nullptr;
    if (!entry)
        return;

    syncItem(item);
    unsigned long made = qvxsessrun_records_made(commands);
    if (qvxsessrun_set_background(commands, entry, background) == -1)
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());
    const int row = listWidget->currentRow();
    noteChange(made, row, row + 1);
    updateToolTip(item);
    updateModified();
}

bool List::canUndo() const
{
    return qvxsessrun_can_undo(commands);
}

bool List::canRedo() const
{
    return qvxsessrun_can_redo(commands);
}

/*
 * Starts the current row's command now, as the script would at session
 * start, also when the row is switched off, and says in a message for the
 * status bar that it is starting or why it could not.  What became of it
 * follows within a second, through runReported().
 */
QString List::runCurrent()
{
    // The text being typed into a row is the one meant.
    listWidget->commitOpenEditor();
    QListWidgetItem *item = listWidget->currentItem();
    const command_entry *entry = item ? entryOf(item) : nullptr;

    const QByteArray bytes = entry ? textOf(entry) : QByteArray();
    if (bytes.trimmed().isEmpty())
        return RunText::nothingToRun();
    int report;
    // Every byte, also those after a NUL, as the script holds them.
    const int error = run_detached(bytes.constData(), size_t(bytes.size()), &report);
    if (error == 0) {
        RunWatcher *watcher = new RunWatcher(report, bytes, entry->active, this);
        connect(watcher, SIGNAL(reported()), this, SLOT(catchRunReported()));
    }
    // Named as its row shows it.
    return RunText::starting(utf8_shown(bytes), error, entry->active);
}

/* What became of a command within a second of Run now. */
void List::catchRunReported()
{
    const RunWatcher *watcher = qobject_cast<const RunWatcher *>(sender());
    if (watcher)
        emit runReported(RunText::reported(utf8_shown(watcher->command()), watcher->report(),
                                           watcher->active()));
}

void List::goToMarkedRow(int step)
{
    listWidget->setFocus(Qt::ShortcutFocusReason);
    listWidget->goToMarkedRow(step);
}

void List::setLabel(QLabel *label)
{
    label->setBuddy(listWidget);
}

void List::catchCurrentRowKeyed(QListWidgetItem *item)
{
    emit keyedRowReason(RowText::firstSentence(rowMarks.reason(entryOf(item))));
}

void List::catchNoMarkedRow()
{
    emit statusMessage(checking() ? tr("No command is marked yet: the commands are still being "
                                       "checked.")
                                  : tr("No command is marked."));
}

void List::catchItemChanged(QListWidgetItem *item)
{
    syncItem(item);
}

/* The row double-clicked is edited, and is the current row, highlighted:
 * what the keys do next acts on it. */
void List::catchDoubleClicked(QListWidgetItem *item)
{
    listWidget->editItem(item);
    listWidget->setCurrentItem(item);
}

/*
 * The files dropped or picked at once are one step of undo and redo.  The
 * files that cannot be added are named with the reason, for the user.
 */
void List::addDesktopFiles(QStringList &list)
{
    QStringList skipped;
    const QStringList &elsewhere = listWidget->filesElsewhere();
    int elsewhereSeen = 0;
    QListWidgetItem *first = nullptr, *last = nullptr;
    for (const QString &path : list) {
        if (path.isEmpty()) {
            const QString uri = elsewhere.value(elsewhereSeen++);
            skipped += uri.isEmpty() ? tr("a file of another computer")
                                     : tr("%1: a file of another computer").arg(uri);
            continue;
        }
        DesktopFile file(path);
        if (file.read() == -1) {
            skipped += tr("%1: %2").arg(QFileInfo(path).fileName(), file.error);
            continue;
        }
        unsigned long made = qvxsessrun_records_made(commands);
        const QByteArray exec = file.exec.toUtf8();
        size_t count = 0;
        command_entry *entry
            = qvxsessrun_add_text(commands, exec.constData(), size_t(exec.size()), 1, &count);
        if (!entry)
            dialog_errx(this, 1, "%s", qvxsessrun_error_text());
        if (first) {
            qvxsessrun_join_step(commands);
            // Part of the step that the first file began, which counts once.
            made = qvxsessrun_records_made(commands);
        }
        const int row = rowFor(entry);
        for (size_t i = 0; i < count; i++, entry = entry->next) {
            last = createItem(entry, row + int(i));
            first = first ? first : last;
        }
        noteChange(made, row, row + int(count));
    }
    if (first)
        showNewRows(first, last);
    updateModified();
    // After listModified, so that this message is the one left showing.
    if (!skipped.isEmpty())
        emit filesSkipped(skipped);
}

void List::addDesktopEntries(const QStringList &paths)
{
    QStringList files = paths;
    addDesktopFiles(files);
}

QListWidgetItem *List::createItem(command_entry *entry, int row)
{
    QListWidgetItem *item = new QListWidgetItem(shownText(entry));

    // All of this before the item joins the view, so no itemChanged.
    item->setFlags(itemFlags);
    item->setData(RowDelegate::LinesRole, linesOf(entry));
    item->setData(Qt::CheckStateRole, entry->active * 2);
    item->setData(Qt::UserRole, QVariant::fromValue(static_cast<void *>(entry)));
    // A rebuilt row keeps its mark while its entry is as it was checked.
    refreshMark(item);
    listWidget->insertItem(row, item);
    items.append(item);
    itemOf.insert(entry, item);
    return item;
}

/*
 * Writes one row into its entry, and only when the row differs from it: an
 * unchanged row records nothing, so that a save or quit leaves the journal
 * as it was, and bytes that do not decode as UTF-8 are never re-encoded.
 * The row compares with the entry as the row shows it.  A text of several
 * commands becomes rows of their own below it.
 */
void List::syncItem(QListWidgetItem *item)
{
    command_entry *entry = entryOf(item);
    const int active = item->data(Qt::CheckStateRole).toInt() != Qt::Unchecked ? 1 : 0;
    const QString shown = item->data(Qt::DisplayRole).toString();
    const bool sameText = entry != nullptr && entry->text != nullptr && shown == shownText(entry);

    if (sameText && entry->active == active)
        return;
    // A changed check state alone keeps the entry's own bytes, an edit
    // those of the text it left as it was.
    const QByteArray text
        = sameText ? textOf(entry) : utf8_edited(textOf(entry), shownText(entry), shown);
    unsigned long made = qvxsessrun_records_made(commands);
    size_t added = 0;
    if (qvxsessrun_set_text(commands, entry, text.constData(), size_t(text.size()), active, &added)
        == -1)
        dialog_errx(this, 1, "%s", qvxsessrun_error_text());
    const int row = listWidget->row(item);
    command_entry *next = entry;
    for (int i = 1; i <= int(added); i++)
        createItem(next = next->next, row + i);
    noteChange(made, row, row + 1 + int(added));

    // The store may have stored the text otherwise than given (no final
    // "&", several rows, switched off behind the marker); the row shows
    // what it holds, without a second operation for the view's own
    // itemChanged.
    showEntry(item, entry);
    refreshMark(item);
    updateModified();
}

/* What the row shows of its entry, without the view's itemChanged: it is
 * no edit of the user's. */
void List::showEntry(QListWidgetItem *item, const command_entry *entry)
{
    const QSignalBlocker blocker(listWidget);
    const QString stored = shownText(entry);
    if (item->data(Qt::DisplayRole).toString() != stored) {
        item->setData(RowDelegate::LinesRole, linesOf(entry));
        item->setData(Qt::DisplayRole, stored);
    }
    if (item->data(Qt::CheckStateRole).toInt() != entry->active * 2)
        item->setData(Qt::CheckStateRole, entry->active * 2);
}

/*
 * After every change of the commands.  The check reads the whole script as
 * a save would write it, since a change of one row, its removal or its
 * move can change the verdict on others; it asks the shell again only
 * about what the change can affect.
 */
void List::updateModified()
{
    commandCheck->check(commands);
    const auto entryAt
        = [this](int row) -> const command_entry * { return entryOf(listWidget->item(row)); };
    if (savedState.saved(commands, listWidget->count(), entryAt)) {
        modifiedFlag = false;
        emit listModified(false);
    } else {
        // Slots still see the previous state through modified().
        emit listModified(true);
        modifiedFlag = true;
    }
}

/*
 * After a store operation that changed the rows from..to-1 (as numbered
 * now), whether or not it added a record to the undo journal.
 */
void List::noteChange(unsigned long madeBefore, int from, int to)
{
    pendingAdd = nullptr;
    if (qvxsessrun_records_made(commands) != madeBefore)
        savedState.noteRecorded();
    savedState.noteChange(from, to, listWidget->count());
}

/* Rows that the last checks found would not run as written. */
int List::markedCount() const
{
    return rowMarks.count(itemOf);
}

/* True while a row waits for its mark, the first check of all included. */
bool List::checking() const
{
    return !checkedAll || commandCheck->isBusy();
}

/*
 * The first check once the rows are drawn: its copy of the script and its
 * shells would otherwise hold up the window's first appearance.  A list
 * that is not shown is checked at once, one whose window is never drawn
 * (as on another desktop) after a while all the same.
 */
void List::checkWhenDrawn()
{
    static const int drawnWithinMs = 1000;

    if (!isVisible()) {
        checkAll();
        return;
    }
    listWidget->viewport()->installEventFilter(this);
    QTimer::singleShot(drawnWithinMs, this, SLOT(checkAll()));
}

bool List::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == listWidget->viewport()) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, SLOT(checkAll()));
    }
    return QWidget::eventFilter(watched, event);
}

/* The first check of every row; later ones follow the changes. */
void List::checkAll()
{
    if (checkedAll)
        return;
    checkedAll = true;
    commandCheck->check(commands);
}

/*
 * A check's result.  The check itself drops a result for an older text of
 * the entry; a result for an entry whose row is gone is dropped here, and
 * the entry is not touched, as it may be released.
 */
void List::catchChecked(quint64 key, int verdict, const QString &word)
{
    const command_entry *entry = reinterpret_cast<const command_entry *>(quintptr(key));
    QListWidgetItem *item = itemOf.value(entry);
    if (item)
        rowMarks.take(item, entry, verdict, word, commandCheck->stopLine(key));
}

/* A row's mark after it was built or its entry changed. */
void List::refreshMark(QListWidgetItem *item)
{
    rowMarks.refresh(item, entryOf(item));
}

void List::updateToolTip(QListWidgetItem *item)
{
    rowMarks.updateToolTip(item, entryOf(item));
}
