// SPDX-License-Identifier: BSD-2-Clause
#include "app/StatusBar.h"

#include <QPainter>
#include <QResizeEvent>
#include <QSizeGrip>
#include <QStyle>
#include <QStyleOption>

StatusBar::StatusBar(QWidget *parent) : QStatusBar(parent)
{
    connect(this, SIGNAL(messageChanged(const QString &)), this,
            SLOT(catchMessageChanged(const QString &)));
}

/*
 * Where the message goes, as the bar itself places it: the bar less its
 * margins and the size grip.  The window puts no widgets of its own in it.
 */
QRect StatusBar::messageRect() const
{
    int left = 6;
    int right = width() - 12;
    const QSizeGrip *grip = findChild<QSizeGrip *>(QString(), Qt::FindDirectChildrenOnly);
    if (grip && grip->isVisible()) {
        if (layoutDirection() == Qt::RightToLeft)
            left = grip->x() + grip->width();
        else
            right = grip->x();
    }
    return QRect(left, 0, qMax(0, right - left), height());
}

bool StatusBar::elided() const
{
    const QString message = currentMessage();
    return !message.isEmpty() && fontMetrics().horizontalAdvance(message) > messageRect().width();
}

void StatusBar::paintEvent(QPaintEvent *event)
{
    const QString message = currentMessage();
    if (message.isEmpty()) {
        QStatusBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    const QRect rect = messageRect();
    painter.setPen(palette().windowText().color());
    painter.drawText(rect, Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(message, Qt::ElideRight, rect.width()));
}

void StatusBar::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    updateToolTip();
}

void StatusBar::catchMessageChanged(const QString &message)
{
    updateToolTip();
    setAccessibleName(message);
}

/* The whole message, for as long as the bar cannot show it whole. */
void StatusBar::updateToolTip()
{
    setToolTip(elided() ? currentMessage() : QString());
}
