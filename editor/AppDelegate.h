// SPDX-License-Identifier: BSD-2-Clause
#ifndef APPDELEGATE_H
#define APPDELEGATE_H

#include <QStyledItemDelegate>

/* A row of the installed applications: the icon, the name, and below it,
 * fainter, what the application is. */
class AppDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit AppDelegate(QObject *parent);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    Q_DISABLE_COPY(AppDelegate)
};

#endif // APPDELEGATE_H
