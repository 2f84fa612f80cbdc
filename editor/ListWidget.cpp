// SPDX-License-Identifier: BSD-2-Clause
#include "editor/ListWidget.h"

#include "desktop/UriList.h"
#include "editor/RowDelegate.h"

#include <QAbstractItemDelegate>
#include <QAccessible>
#include <QByteArray>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

static const char uriListFormat[] = "text/uri-list";

ListWidget::ListWidget(QWidget *parent) : QListWidget(parent)
{
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setItemDelegate(new RowDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A selected row looks otherwise while the list does not have the
    // focus: a lighter highlight, with the text in its own colour.
    QPalette colours = palette();
    const QColor highlight = colours.color(QPalette::Active, QPalette::Highlight);
    const QColor base = colours.color(QPalette::Active, QPalette::Base);
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     QColor((highlight.red() * 2 + base.red() * 3) / 5,
                            (highlight.green() * 2 + base.green() * 3) / 5,
                            (highlight.blue() * 2 + base.blue() * 3) / 5));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::Text));
    setPalette(colours);
}

ListWidget::~ListWidget() = default;

/*
 * A row whose editor is still open holds the user's latest text in the
 * editor only.  Hand it to the row, as leaving the editor would, before the
 * rows are read: a save or quit by keyboard shortcut or by a close request
 * moves no focus, and the edit would be lost.  Add by its shortcut likewise
 * needs the editor closed to open its own.
 */
void ListWidget::commitOpenEditor()
{
    if (!editing())
        return;
    QWidget *editor = indexWidget(edited);
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

/* Every row editor is opened here, whatever asked for it. */
bool ListWidget::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!QListWidget::edit(index, trigger, event))
        return false;
    edited = index;
    emit editingChanged();
    return true;
}

/* Told once the view is done with the editor, so that the row may go. */
void ListWidget::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool ours = edited.isValid() && indexWidget(edited) == editor;
    const QPersistentModelIndex index = edited;
    QListWidget::closeEditor(editor, hint);
    if (ours && index.isValid())
        emit editorClosed(itemFromIndex(index), hint == QAbstractItemDelegate::RevertModelCache);
    emit editingChanged();
}

/*
 * A list view lays out every row again when any row changes.  With rows
 * of one size that cannot move a row, so a change of rows is only drawn;
 * but the size of all rows is taken from the last one, whose change is
 * laid out as the view would.
 */
void ListWidget::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                             const QVector<int> &roles)
{
    if (uniformItemSizes() && viewMode() == QListView::ListMode && !isWrapping()
        && bottomRight.row() < count() - 1)
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    else
        QListWidget::dataChanged(topLeft, bottomRight, roles);
    notifyAccessibility(topLeft.row(), bottomRight.row(), roles);
}

/*
 * The view tells assistive tools that rows changed, but not that a check
 * box was switched or a row's description (its mark) changed: a screen
 * reader would say neither.  A row's data changes only when its value
 * does, so every change told here is one.
 */
void ListWidget::notifyAccessibility(int first, int last, const QVector<int> &roles)
{
#ifndef QT_NO_ACCESSIBILITY
    const bool checked = roles.contains(Qt::CheckStateRole);
    const bool described = roles.contains(Qt::AccessibleDescriptionRole);
    if (!QAccessible::isActive() || (!checked && !described))
        return;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(this);
    QAccessibleTableInterface *table = view ? view->tableInterface() : nullptr;
    for (int row = first; table && row <= last; row++) {
        QAccessibleInterface *cell = table->cellAt(row, 0);
        if (!cell)
            continue;
        if (checked) {
            QAccessible::State state;
            state.checked = true;
            QAccessibleStateChangeEvent event(cell, state);
            QAccessible::updateAccessibility(&event);
        }
        if (described) {
            QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
            QAccessible::updateAccessibility(&event);
        }
    }
#else
    Q_UNUSED(first);
    Q_UNUSED(last);
    Q_UNUSED(roles);
#endif
}

/* Whether a row's editor is open.  The view's state does not tell: a row
 * taken out of the view ends it while the editor of another row stays. */
bool ListWidget::editing() const
{
    return edited.isValid() && indexWidget(edited) != nullptr;
}

void ListWidget::keyPressEvent(QKeyEvent *event)
{
    // Delete with any modifier removes the row; the view's own handling of
    // the key must not run as well.
    if (event->key() == Qt::Key_Delete) {
        emit deleteKeyPressed();
        event->accept();
        return;
    }
    // Enter edits the current row, as F2 does; Shift+F10 opens its menu,
    // as the menu key does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier && !editing() && currentIndex().isValid()) {
        edit(currentIndex());
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        openMenuAtCurrentRow();
        event->accept();
        return;
    }
    const QModelIndex before = currentIndex();
    QListWidget::keyPressEvent(event);
    if (currentIndex() != before && currentItem())
        emit currentRowKeyed(currentItem());
}

void ListWidget::goToMarkedRow(int step)
{
    const int rows = count();
    const int from = currentRow() >= 0 ? currentRow() : step > 0 ? -1 : rows;

    for (int i = 1; i <= rows; i++) {
        const int row = ((from + step * i) % rows + rows) % rows;
        QListWidgetItem *candidate = item(row);
        if (candidate->data(Qt::DecorationRole).isValid()) {
            setCurrentItem(candidate);
            scrollToItem(candidate);
            emit currentRowKeyed(candidate);
            return;
        }
    }
    emit noMarkedRow();
}

/* The current row is the selected one, however it became current: a row
 * that is acted on is never one that is not highlighted. */
void ListWidget::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListWidget::currentChanged(current, previous);
    if (current.isValid() && !selectionModel()->isSelected(current))
        selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

bool ListWidget::onCheckBox(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    const RowDelegate *delegate = qobject_cast<const RowDelegate *>(itemDelegate());
    if (!index.isValid() || !delegate)
        return false;
    QStyleOptionViewItem option = viewOptions();
    option.rect = visualRect(index);
    return delegate->checkRect(option, index).contains(pos);
}

/* A click on a row's check box switches it and makes it the current row,
 * as a click on its text does. */
void ListWidget::mousePressEvent(QMouseEvent *event)
{
    QListWidgetItem *item = itemAt(event->pos());
    if (item && event->button() == Qt::LeftButton && onCheckBox(event->pos())
        && item != currentItem())
        setCurrentItem(item);
    QListWidget::mousePressEvent(event);
}

void ListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (swallowRelease) {
        swallowRelease = false;
        event->accept();
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

/* A double click on a check box switches the row once, as its first click
 * did, and opens no editor. */
void ListWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onCheckBox(event->pos())) {
        swallowRelease = true;
        event->accept();
        return;
    }
    QListWidget::mouseDoubleClickEvent(event);
}

/*
 * A right click on a row makes that row current first; one below the rows
 * asks for the list's menu, whatever row is current.  The menu key opens
 * the menu under the current row, or the list's at the top of the list.
 */
void ListWidget::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse) {
        openMenuAtCurrentRow();
        return;
    }
    QListWidgetItem *item = itemAt(event->pos());
    if (item)
        setCurrentItem(item);
    emit contextMenuWanted(event->globalPos(), item != nullptr);
}

/* The menu of the current row under it, or the list's at its top. */
void ListWidget::openMenuAtCurrentRow()
{
    if (QListWidgetItem *item = currentItem()) {
        emit contextMenuWanted(viewport()->mapToGlobal(visualItemRect(item).bottomLeft()), true);
        return;
    }
    emit contextMenuWanted(viewport()->mapToGlobal(QPoint(0, 0)), false);
}

void ListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    event->accept();
}

void ListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    // Rows are never moved by dragging them onto the list itself.
    if (event->source() == this)
        event->ignore();
    else
        event->accept();
}

void ListWidget::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(uriListFormat)) {
        event->ignore();
        return;
    }
    event->accept();
    QStringList files = UriList::paths(event->mimeData()->data(uriListFormat), &droppedElsewhere);
    emit itemDroped(files);
    droppedElsewhere.clear();
}
