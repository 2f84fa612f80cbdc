// SPDX-License-Identifier: BSD-2-Clause
// editor/: the command list and its rows, their marks and texts, the
// saved state and the Add Application dialog; the widgets.
#ifndef LIST_H
#define LIST_H

#include <QHash>
#include <QList>
#include <QStringList>
#include <QWidget>

#include "editor/RowMarks.h"
#include "editor/SavedState.h"

struct command_entry;
struct command_list;
class CommandCheck;
class ListWidget;
class QLabel;
class QListWidgetItem;

/* The commands of a command_list as rows with check boxes; every user
 * action becomes one journalled store operation.  Rows whose command would
 * not run as written carry a warning icon and a tool tip that says why. */
class List : public QWidget
{
    Q_OBJECT

public:
    /* Without rowsNow, the rows are built by buildRows(). */
    List(command_list *commands, QWidget *parent, bool rowsNow = true);
    ~List() override;

    void buildRows();
    bool modified() const;
    void resetModified();
    void syncItems();
    /* Hands the text of an open row editor to its row. */
    void commitEdit();
    void addItem();
    void moveUp();
    void moveDown();
    void undo();
    void redo();
    /* The script read again into the rows, as one step of undo and redo;
     * the rows are then the script's, as saved.  False when it could not be
     * read: nothing changed, and the store's error text says why. */
    bool reload();
    bool canUndo() const;
    bool canRedo() const;
    QString runCurrent();
    /* Whether the current row runs in the background; *changeable tells
     * whether its final "&" can change that. */
    bool currentInBackground(bool *changeable) const;
    void setCurrentInBackground(bool background);
    bool hasCurrentRow() const;
    bool canMoveUp() const;
    bool canMoveDown() const;
    /* Why Run now, or "Run in the background", can do nothing on the
     * current row; empty where it can. */
    QString whyCurrentCannotRun() const;
    QString whyCurrentBackgroundFixed() const;
    int markedCount() const;
    bool checking() const;
    /* Adds the commands of desktop entry files as a drop of the files does. */
    void addDesktopEntries(const QStringList &paths);
    /* The next marked row, or the previous for a step of -1, becomes
     * current, and the list gets the focus. */
    void goToMarkedRow(int step);
    /* label names the list, for a screen reader too. */
    void setLabel(QLabel *label);

signals:
    void listModified(bool);
    /* Files dropped or picked that could not be added: for each, its
     * name and why. */
    void filesSkipped(const QStringList &reasons);
    void contextMenuWanted(const QPoint &globalPos, bool forRow);
    /* Every row asked for has its mark, or none. */
    void checksFinished();
    /* What became of a command that runCurrent() started. */
    void runReported(const QString &message);
    /* No row could be checked, and why. */
    void uncheckable(const QString &message);
    /* A key made a row current: the first sentence of why it is marked,
     * empty for a row that is not. */
    void keyedRowReason(const QString &reason);
    /* Something the status bar should say. */
    void statusMessage(const QString &message);
    /* Another row, or none, became current, or its editor opened or
     * closed: what can be done with it may have changed. */
    void currentRowStateChanged();

public slots:
    void delItem();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void catchItemChanged(QListWidgetItem *item);
    void catchDoubleClicked(QListWidgetItem *item);
    void addDesktopFiles(QStringList &list);
    void checkWhenDrawn();
    void checkAll();
    void catchChecked(quint64 key, int verdict, const QString &word);
    void catchRunReported();
    void catchCurrentRowKeyed(QListWidgetItem *item);
    void catchNoMarkedRow();
    void catchEditorClosed(QListWidgetItem *item, bool cancelled);

private:
    QListWidgetItem *createItem(command_entry *entry, int row);
    void removeRow(QListWidgetItem *item);
    void showNewRows(QListWidgetItem *first, QListWidgetItem *last);
    void syncItem(QListWidgetItem *item);
    void showEntry(QListWidgetItem *item, const command_entry *entry);
    void updateModified();
    void rebuild();
    void rebuildAll(int currentRow);
    void applyJournalStep(bool undo);
    void updateRow(command_entry *entry, bool inList);
    int rowFor(const command_entry *entry) const;
    void restoreCurrent(const command_entry *entry, int row);
    void moveRow(int from, int to);
    void noteChange(unsigned long madeBefore, int from, int to);
    void moveCurrent(command_entry *(*move)(command_list *, command_entry *), int step);
    void refreshMark(QListWidgetItem *item);
    void updateToolTip(QListWidgetItem *item);

    bool modifiedFlag;
    bool checkedAll = false; // the first check of every row has started
    command_list *commands;
    command_list *snapshot;
    SavedState savedState; // whether the rows are still those of snapshot
    QList<QListWidgetItem *> items;
    QHash<const command_entry *, QListWidgetItem *> itemOf; // the rows in the view
    RowMarks rowMarks;
    ListWidget *listWidget;
    CommandCheck *commandCheck;
    /* The entry that Add made, while its first editor is open and nothing
     * else changed, and the current row's entry and place before it. */
    const command_entry *pendingAdd = nullptr;
    const command_entry *currentBeforeAdd = nullptr;
    int rowBeforeAdd = -1;

    Q_DISABLE_COPY(List)
};

#endif // LIST_H
