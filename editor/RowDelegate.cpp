// SPDX-License-Identifier: BSD-2-Clause
#include "RowDelegate.h"

#include <QVariant>

RowDelegate::RowDelegate(QObject *parent) : QStyledItemDelegate(parent) { }

RowDelegate::~RowDelegate() = default;

/*
 * A row without an icon still has one as far as the layout goes: the style
 * sets the text, and the editor, to the right of an icon of the view's icon
 * size, and paints nothing there, as the icon is null.
 */
void RowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

/*
 * A row's mark and tool tip change while its editor may be open, and the
 * view then hands the row's data to the editor again: the editor gets the
 * row's text once, when it opens, so that what the user typed stays.
 */
void RowDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    static const char filled[] = "qvxFilled";

    if (editor->property(filled).toBool())
        return;
    QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty(filled, true);
}
