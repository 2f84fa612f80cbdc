// SPDX-License-Identifier: BSD-2-Clause
#include "editor/AppModel.h"

#include "dialogs/icon.h"

#include <QDir>
#include <QLocale>
#include <QThread>

#include <algorithm>

AppModel::AppModel(QObject *parent) : QAbstractListModel(parent) { }

/*
 * A reader still at work is asked to stop at the next file and goes by
 * itself when it has, so that closing the list never waits for the disk.
 */
AppModel::~AppModel()
{
    if (reader == nullptr)
        return;
    reader->disconnect(this);
    reader->requestInterruption();
    connect(reader, SIGNAL(finished()), reader, SLOT(deleteLater()));
    // Deleting a thread that has ended drops the deleteLater it posted.
    if (reader->isFinished())
        delete reader;
}

void AppModel::load(const QStringList &dataDirs, const QStringList &locales)
{
    if (reader != nullptr || result != nullptr)
        return;
    result = std::make_shared<InstalledApps>(dataDirs, locales, QLocale());
    const std::shared_ptr<InstalledApps> read = result;
    reader = QThread::create([read] { read->read(); });
    connect(reader, SIGNAL(finished()), this, SLOT(catchReadFinished()));
    reader->start();
}

bool AppModel::isLoaded() const
{
    return result != nullptr && reader == nullptr;
}

int AppModel::total() const
{
    return apps.size();
}

void AppModel::catchReadFinished()
{
    beginResetModel();
    apps = result->apps;
    result->apps.clear();
    applyFilter();
    endResetModel();
    reader->deleteLater();
    reader = nullptr;
    emit loaded();
}

void AppModel::setFilter(const QString &text)
{
    words = text.toCaseFolded().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    beginResetModel();
    applyFilter();
    endResetModel();
}

void AppModel::applyFilter()
{
    shown.clear();
    for (int i = 0; i < apps.size(); i++) {
        const QString &text = apps.at(i).searchText;
        const bool all = std::all_of(words.cbegin(), words.cend(),
                                     [&text](const QString &word) { return text.contains(word); });
        if (all)
            shown.append(i);
    }
}

int AppModel::iconsLoaded() const
{
    return icons.size();
}

int AppModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : shown.size();
}

/* The entry's icon, looked up the first time its row is painted; the
 * theme's icon of an application where it has none. */
QIcon AppModel::iconOf(int app) const
{
    const auto cached = icons.constFind(app);
    if (cached != icons.constEnd())
        return cached.value();
    const QString &name = apps.at(app).icon;
    QIcon icon;
    if (!name.isEmpty())
        icon = QDir::isAbsolutePath(name) ? QIcon(name) : QIcon::fromTheme(name);
    if (icon.isNull()) {
        if (fallbackIcon.isNull())
            fallbackIcon = theme_or_standard_icon("application-x-executable", QStyle::SP_FileIcon);
        icon = fallbackIcon;
    }
    icons.insert(app, icon);
    return icon;
}

QVariant AppModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= shown.size())
        return QVariant();
    const int app = shown.at(index.row());
    const InstalledApps::App &a = apps.at(app);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return a.name;
    case DescriptionRole:
    case Qt::AccessibleDescriptionRole:
        return a.description;
    case Qt::ToolTipRole: {
        const QString command = tr("Command: %1").arg(a.exec);
        return a.description.isEmpty() ? command : a.description + QLatin1Char('\n') + command;
    }
    case Qt::DecorationRole:
        return iconOf(app);
    case PathRole:
        return a.path;
    default:
        return QVariant();
    }
}
