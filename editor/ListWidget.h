// SPDX-License-Identifier: BSD-2-Clause
#ifndef LISTWIDGET_H
#define LISTWIDGET_H

#include <QListWidget>
#include <QPersistentModelIndex>
#include <QStringList>

class QByteArray;

/* A list view that turns dropped file URIs into path names, reports the
 * Delete key and commits its open row editor on request.  The row that the
 * keys act on is always the one highlighted: current and selected go
 * together, a click on a row's check box makes it current too.  A row with
 * an icon is marked: F8 and Shift+F8 go to the next and the previous one. */
class ListWidget : public QListWidget
{
    Q_OBJECT

public:
    explicit ListWidget(QWidget *parent);
    ~ListWidget() override;

    /* While itemDroped is being handled: the URIs of the dropped files of
     * another host, in the order of their empty path names. */
    const QStringList &filesElsewhere() const { return droppedElsewhere; }

    /* Hands the text of a row editor still open to its row and closes it. */
    void commitOpenEditor();
    bool editing() const;
    using QListWidget::edit;
    /* Makes the next marked row current, or for a step of -1 the previous
     * one, from the current row on and round. */
    void goToMarkedRow(int step);

signals:
    void itemDroped(QStringList &files);
    void deleteKeyPressed();
    /* A context menu is wanted at globalPos: for the current row when
     * forRow, else for the list as a whole (the empty area below the rows,
     * or no current row). */
    void contextMenuWanted(const QPoint &globalPos, bool forRow);
    /* A key made item the current row (item may be the row it was on). */
    void currentRowKeyed(QListWidgetItem *item);
    /* F8 or Shift+F8 found no marked row to go to. */
    void noMarkedRow();
    /* The editor of item closed; cancelled by Escape, its text not taken. */
    void editorClosed(QListWidgetItem *item, bool cancelled);
    /* A row's editor opened or closed. */
    void editingChanged();

protected slots:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QVector<int> &roles = QVector<int>()) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool onCheckBox(const QPoint &pos) const;
    void openMenuAtCurrentRow();
    void notifyAccessibility(int first, int last, const QVector<int> &roles);

    QPersistentModelIndex edited; // the row whose editor opened last
    QStringList droppedElsewhere;
    bool swallowRelease = false; // the release of a double click on a check box

    Q_DISABLE_COPY(ListWidget)
};

#endif // LISTWIDGET_H
