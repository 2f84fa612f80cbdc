// SPDX-License-Identifier: BSD-2-Clause
#ifndef ROWDELEGATE_H
#define ROWDELEGATE_H

#include <QStyledItemDelegate>

/* Draws and edits the rows as the style does, with the room of a row icon
 * on every row, so that the texts of rows with and without a warning icon
 * start in one column, and a frame that is plain to see around the current
 * row while the list has the focus.  A row shows its text on one line and cut short: a
 * command over several lines shows its first and how many there are.  Its
 * editor gets the whole text, a command over several lines an editor of
 * several lines, where Enter starts a new line and Ctrl+Enter or leaving
 * it commits. */
class RowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /* The characters of a text that a row shows at most. */
    static constexpr int shownLength = 500;
    /* The role in which a row may say how many lines its text has. */
    static constexpr int LinesRole = Qt::UserRole + 1;

    explicit RowDelegate(QObject *parent);
    ~RowDelegate() override;

    QString displayText(const QVariant &value, const QLocale &locale) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    /* Where the row at index, drawn with option, has its check box. */
    QRect checkRect(const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QString severalLines(const QString &text, int lines) const;

    mutable int knownLines = 0; // of the row being shown, when it says so

    Q_DISABLE_COPY(RowDelegate)
};

#endif // ROWDELEGATE_H
