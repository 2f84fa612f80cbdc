// SPDX-License-Identifier: BSD-2-Clause
#include "editor/AppDelegate.h"

#include "editor/AppModel.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

// Around the icon and the text, and between the two.
static const int margin = 4;

AppDelegate::AppDelegate(QObject *parent) : QStyledItemDelegate(parent) { }

void AppDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();

    // The background of a selected or hovered row, as the style has it.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const QRect area = opt.rect.adjusted(margin, margin, -margin, -margin);
    const QSize iconSize = opt.decorationSize;
    const QRect iconRect(area.left(), area.top() + (area.height() - iconSize.height()) / 2,
                         iconSize.width(), iconSize.height());
    const bool enabled = opt.state & QStyle::State_Enabled;
    opt.icon.paint(painter, QStyle::visualRect(opt.direction, opt.rect, iconRect), Qt::AlignCenter,
                   enabled ? QIcon::Normal : QIcon::Disabled);

    const int textLeft = iconRect.right() + 1 + 2 * margin;
    const QRect textRect(textLeft, area.top(), area.right() + 1 - textLeft, area.height());
    const QPalette::ColorGroup group = !enabled ? QPalette::Disabled
        : (opt.state & QStyle::State_Active)    ? QPalette::Active
                                                : QPalette::Inactive;
    const QColor colour = opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text);
    QColor faint = colour;
    faint.setAlphaF(0.7);
    const QString description = index.data(AppModel::DescriptionRole).toString();
    const QFontMetrics metrics(opt.font);
    const Qt::Alignment align
        = QStyle::visualAlignment(opt.direction, Qt::AlignLeft) | Qt::AlignVCenter;

    painter->save();
    painter->setFont(opt.font);
    painter->setPen(colour);
    QRect nameRect = textRect;
    if (!description.isEmpty())
        nameRect.setHeight(textRect.height() / 2);
    painter->drawText(QStyle::visualRect(opt.direction, opt.rect, nameRect), align,
                      metrics.elidedText(opt.text, Qt::ElideRight, nameRect.width()));
    if (!description.isEmpty()) {
        QRect lineRect = textRect;
        lineRect.setTop(nameRect.bottom() + 1);
        painter->setPen(faint);
        painter->drawText(QStyle::visualRect(opt.direction, opt.rect, lineRect), align,
                          metrics.elidedText(description, Qt::ElideRight, lineRect.width()));
    }
    painter->restore();

    if (opt.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(opt);
        focus.rect = opt.rect;
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.backgroundColor = opt.palette.color(
            group, (opt.state & QStyle::State_Selected) ? QPalette::Highlight : QPalette::Base);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

/* Every row is as high as two lines of text or the icon: the list measures
 * one row for all, and loads no icon for it. */
QSize AppDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    const int height = qMax(option.decorationSize.height(), 2 * metrics.lineSpacing());
    return QSize(option.decorationSize.width() + 4 * margin, height + 2 * margin);
}
