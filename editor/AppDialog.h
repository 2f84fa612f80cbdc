// SPDX-License-Identifier: BSD-2-Clause
#ifndef APPDIALOG_H
#define APPDIALOG_H

#include <QDialog>
#include <QStringList>

class AppModel;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;

/*
 * Picks installed applications to add: a filter field that keeps the
 * keyboard, the list of applications below it, Add and Cancel.  Up and
 * Down in the field move through the list; Enter or a double click adds
 * what is selected, several with Ctrl and Shift; Escape adds nothing.
 */
class AppDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AppDialog(QWidget *parent);

    /* The desktop entry files of the chosen applications, in the list's order. */
    QStringList selectedPaths() const;
    /* The applications behind the list, for a look at how it is doing. */
    const AppModel *applications() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void catchFilterChanged(const QString &text);
    void catchLoaded();
    void catchSelectionChanged();
    void catchDoubleClicked(const QModelIndex &index);

private:
    void createWidgets();
    void selectFirst();
    void updateStatus();

    AppModel *model;
    QLineEdit *filter = nullptr;
    QListView *view = nullptr;
    QLabel *status = nullptr;
    QPushButton *addButton = nullptr;

    Q_DISABLE_COPY(AppDialog)
};

#endif // APPDIALOG_H
