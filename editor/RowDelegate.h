// SPDX-License-Identifier: BSD-2-Clause
#ifndef ROWDELEGATE_H
#define ROWDELEGATE_H

#include <QStyledItemDelegate>

/* Draws and edits the rows as the style does, with the room of a row icon
 * on every row, so that the texts of rows with and without a warning icon
 * start in one column. */
class RowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit RowDelegate(QObject *parent);
    ~RowDelegate() override;

    void setEditorData(QWidget *editor, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    Q_DISABLE_COPY(RowDelegate)
};

#endif // ROWDELEGATE_H
