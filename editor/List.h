#ifndef LIST_H
#define LIST_H

#include <QList>
#include <QStringList>
#include <QWidget>

struct command_entry;
struct command_list;
class ListWidget;
class QListWidgetItem;

/* The commands of a command_list as rows with check boxes; every user
 * action becomes one journalled store operation. */
class List : public QWidget
{
    Q_OBJECT

public:
    List(command_list *commands, QWidget *parent);
    ~List() override;

    bool modified() const;
    void resetModified();
    void syncItems();
    void addItem();
    void moveUp();
    void moveDown();
    void undo();
    void redo();
    bool canUndo() const;
    bool canRedo() const;
    QString runCurrent();

signals:
    void listModified(bool);
    void filesSkipped(int count);
    void contextMenuWanted(const QPoint &globalPos);

public slots:
    void delItem();

private slots:
    void catchItemChanged(QListWidgetItem *item);
    void catchDoubleClicked(QListWidgetItem *item);
    void addDesktopFiles(QStringList &list);

private:
    QListWidgetItem *createItem(command_entry *entry);
    void syncItem(QListWidgetItem *item);
    void updateModified();
    void rebuild();
    void moveCurrent(command_entry *(*move)(command_list *, command_entry *), int step);

    bool modifiedFlag;
    command_list *commands;
    command_list *snapshot;
    QList<QListWidgetItem *> items;
    ListWidget *listWidget;

    Q_DISABLE_COPY(List)
};

#endif // LIST_H
