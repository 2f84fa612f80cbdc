// SPDX-License-Identifier: BSD-2-Clause
#include "RowDelegate.h"

#include <QLineEdit>
#include <QVariant>

#include <limits>

static const QChar lineFeedSign(0x23CE); // the return symbol
static const QChar ellipsis(0x2026);

RowDelegate::RowDelegate(QObject *parent) : QStyledItemDelegate(parent) { }

RowDelegate::~RowDelegate() = default;

/*
 * A row's text as the row shows it: one line, each line feed as a sign,
 * and no more than shownLength characters, an ellipsis after them.  Laying
 * out a text costs as much as the text is long, and the style lays out the
 * whole text to paint or measure a row even where it shows a piece of it,
 * so a row of some megabytes would hold up every key that moves onto it.
 * Only the display is cut: the row's data, which the editor gets and an
 * edit is compared with, keeps the whole text.
 */
QString RowDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.userType() != QMetaType::QString)
        return QStyledItemDelegate::displayText(value, locale);
    const QString text = value.toString();
    int length = qMin(text.size(), shownLength);
    if (length < text.size() && text.at(length - 1).isHighSurrogate())
        length--; // never half a character
    QString shown = text.left(length);
    shown.replace(QLatin1Char('\n'), lineFeedSign);
    if (length < text.size())
        shown += ellipsis;
    return shown;
}

/* A line editor takes 32767 characters unless told otherwise, and would cut
 * a longer text as it opens: closed unchanged, it would still change the
 * row. */
QWidget *RowDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                   const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (QLineEdit *line = qobject_cast<QLineEdit *>(editor))
        line->setMaxLength(std::numeric_limits<int>::max());
    return editor;
}

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
