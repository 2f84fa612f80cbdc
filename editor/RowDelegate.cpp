// SPDX-License-Identifier: BSD-2-Clause
#include "RowDelegate.h"

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
