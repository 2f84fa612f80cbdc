// SPDX-License-Identifier: BSD-2-Clause
#ifndef MAINWIN_H
#define MAINWIN_H

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>

struct command_list;
class List;
class QAction;
class QHBoxLayout;
class QPushButton;

/* The application's only window: the command list, its editing buttons,
 * Save, Quit and the status bar. */
class Mainwin : public QMainWindow
{
    Q_OBJECT

public:
    /* Without rowsNow, fillAfterShown() adds what the window needs only
     * once it is shown. */
    explicit Mainwin(QWidget *parent, bool rowsNow = true);
    ~Mainwin() override;

    void fillAfterShown();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void upClicked();
    void downClicked();
    void save();
    void quit();
    void addClicked();
    void addApplicationClicked();
    void delClicked();
    void undoClicked();
    void redoClicked();
    void catchListModified(bool state);
    void catchFilesSkipped(const QStringList &reasons);
    void runClicked();
    void backgroundToggled(bool background);
    void catchContextMenu(const QPoint &globalPos, bool forRow);
    void catchChecksFinished();
    void catchActionChanged();
    void nextMarkClicked();
    void previousMarkClicked();
    void showReason(const QString &reason);
    void updateRowActions();

private:
    QHBoxLayout *createMiddleRow();
    QHBoxLayout *createBottomRow();
    void createActions();
    void describeActions();
    QPushButton *buttonFor(QAction *action);
    bool mnemonicShared(const QPushButton *button) const;
    void setActionIcons(bool real);
    /* What to do about a script that another program changed. */
    enum DiskAnswer { KeepScript, ReloadScript, OverwriteScript };

    bool saveScript();
    DiskAnswer askAboutDiskChange();
    void reloadScript();
    void showSaved();

    List *list;
    command_list *commandList;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *addRowAction = nullptr; /* the one editing action that needs no row */
    QAction *addApplicationAction = nullptr; /* needs no row either; in the menu only */
    QAction *deleteAction = nullptr;
    QAction *upAction = nullptr;
    QAction *downAction = nullptr;
    QList<QAction *> editActions; /* the column beside the list, in its order */
    QAction *saveAction = nullptr;
    QAction *quitAction = nullptr;
    QAction *runAction;
    QAction *backgroundAction; /* the row's final "&", in the context menu */
    QAction *nextMarkAction = nullptr; /* keys only */
    QAction *previousMarkAction = nullptr;
    QString shownReason; /* the status bar's message about the current row's mark */
    QHash<QAction *, QPushButton *> buttons;
    bool savedCountWanted; /* a save waits for the rows' checks to say how many are marked */
    bool iconsReal = false; /* the actions' icons are the theme's or the style's */

    Q_DISABLE_COPY(Mainwin)
};

#endif // MAINWIN_H
