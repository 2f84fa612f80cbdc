// SPDX-License-Identifier: BSD-2-Clause
#ifndef APPMODEL_H
#define APPMODEL_H

#include <QAbstractListModel>
#include <QHash>
#include <QIcon>
#include <QStringList>
#include <QVector>

#include <memory>

#include "desktop/InstalledApps.h"

class QThread;

/*
 * The installed applications as rows of a list: read on a thread of their
 * own, so that the window never waits for the disk; narrowed by a filter;
 * each with its icon, which is loaded when its row is first shown.
 */
class AppModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        PathRole = Qt::UserRole, // the desktop entry file
        DescriptionRole, // Comment, else GenericName
    };

    explicit AppModel(QObject *parent);
    ~AppModel() override;

    /* Starts reading the applications of the data folders; loaded() follows. */
    void load(const QStringList &dataDirs, const QStringList &locales);
    bool isLoaded() const;
    /* The applications read, whatever the filter shows. */
    int total() const;
    /* Shows the applications that hold every word of text, whatever the
     * case, in their name, generic name, comment, keywords or command. */
    void setFilter(const QString &text);
    /* How many icons have been loaded so far. */
    int iconsLoaded() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

signals:
    void loaded();

private slots:
    void catchReadFinished();

private:
    void applyFilter();
    QIcon iconOf(int app) const;

    QThread *reader = nullptr;
    std::shared_ptr<InstalledApps> result; // shared with the reader, which may outlive the model
    QList<InstalledApps::App> apps;
    QVector<int> shown; // the rows: positions in apps
    QStringList words; // of the filter, case-folded
    mutable QHash<int, QIcon> icons; // by position in apps
    mutable QIcon fallbackIcon;

    Q_DISABLE_COPY(AppModel)
};

#endif // APPMODEL_H
