// SPDX-License-Identifier: BSD-2-Clause
#include "desktop/InstalledApps.h"

#include "cfg/cfg.h"
#include "desktop/DesktopFile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

#include <unistd.h>

// Deeper than any menu folder; a bound where links make a maze.
static const int maxDepth = 8;
// An icon file is a few kilobytes; a bigger one would stall the list that paints it.
static const qint64 maxIconSize = 2 * 1024 * 1024;

static const QString applicationsDir = QStringLiteral("applications");
static const QString entrySuffix = QStringLiteral(".desktop");

InstalledApps::InstalledApps(const QStringList &dataDirs, const QStringList &locales,
                             const QLocale &locale)
    : dirs(dataDirs), locales(locales), locale(locale)
{ }

QStringList InstalledApps::dataDirs()
{
    QStringList found;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(home)) {
        char *dir = cfg_home_dir();
        home = dir != nullptr ? QFile::decodeName(dir) + QLatin1String("/.local/share") : QString();
        free(dir);
    }
    if (!home.isEmpty())
        found << home;

    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : system.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            found << dir;
    return found;
}

/*
 * Adds the entries below dir to found, in the order of their names, with
 * idPrefix in front of their IDs.  A directory reached twice (through a
 * link) is read once.
 */
void InstalledApps::collect(const QString &dir, const QString &idPrefix, int depth,
                            QList<Found> *found)
{
    const QString canonical = QFileInfo(dir).canonicalFilePath();
    if (depth > maxDepth || canonical.isEmpty() || visitedDirs.contains(canonical))
        return;
    visitedDirs.insert(canonical);

    const QFileInfoList entries = QDir(dir).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            collect(entry.filePath(), idPrefix + entry.fileName() + QLatin1Char('-'), depth + 1,
                    found);
            continue;
        }
        // Whatever else bears the name (a FIFO, a broken link) still takes
        // the ID; the reader passes it over.
        if (entry.fileName().endsWith(entrySuffix) && entry.fileName().size() > entrySuffix.size())
            found->append({ idPrefix + entry.fileName(), entry.filePath() });
    }
}

/* Whether TryExec names an executable file: an absolute path, or a name
 * found on PATH. */
bool InstalledApps::installed(const QString &tryExec)
{
    auto it = tryExecFound.constFind(tryExec);
    if (it != tryExecFound.constEnd())
        return it.value();
    const bool found = !QStandardPaths::findExecutable(tryExec).isEmpty();
    tryExecFound.insert(tryExec, found);
    return found;
}

/* The icon that a row can load without waiting: a theme name, or an
 * absolute path to a regular file of a sensible size. */
static QString usableIcon(const QString &icon)
{
    if (icon.isEmpty())
        return QString();
    if (!QDir::isAbsolutePath(icon)) {
        // Older entries name the theme's file with its extension.
        for (const char *suffix : { ".png", ".svg", ".xpm" })
            if (icon.endsWith(QLatin1String(suffix)))
                return icon.left(icon.size() - 4);
        return icon;
    }
    const QFileInfo file(icon);
    return file.isFile() && file.isReadable() && file.size() <= maxIconSize ? icon : QString();
}

void InstalledApps::read()
{
    QList<Found> found;
    for (const QString &dir : qAsConst(dirs))
        collect(dir + QLatin1Char('/') + applicationsDir, QString(), 0, &found);

    QSet<QString> ids;
    QThread *thread = QThread::currentThread();
    for (const Found &f : qAsConst(found)) {
        if (thread->isInterruptionRequested())
            break;
        if (ids.contains(f.id))
            continue;
        ids.insert(f.id);

        DesktopFile file(f.path, locales);
        if (file.read() == -1 || file.type != QLatin1String("Application") || file.noDisplay
            || file.hidden || file.name.isEmpty())
            continue;
        if (!file.tryExec.isEmpty() && !installed(file.tryExec))
            continue;

        App app;
        app.id = f.id;
        app.path = f.path;
        app.name = file.name;
        app.description = file.comment.isEmpty() ? file.genericName : file.comment;
        app.icon = usableIcon(file.icon);
        app.exec = file.exec;
        // Separated by line feeds, which a filter of words never holds, so
        // that no word is found across two values.
        app.searchText
            = (QStringList { file.name, file.genericName, file.comment, file.exec } + file.keywords)
                  .join(QLatin1Char('\n'))
                  .toCaseFolded();
        apps.append(app);
    }
    sort();
}

/* By name as the locale sorts, then by ID, so that the order is the same
 * every time. */
void InstalledApps::sort()
{
    // The C locale's collation sets capitals apart from small letters.
    if (locale.language() == QLocale::C) {
        std::sort(apps.begin(), apps.end(), [](const App &a, const App &b) {
            const int c = a.name.compare(b.name, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a.id < b.id;
        });
        return;
    }
    // One key per name rather than a collation per comparison.
    QCollator collator(locale);
    std::vector<std::pair<QCollatorSortKey, int>> keys;
    keys.reserve(size_t(apps.size()));
    for (int i = 0; i < apps.size(); i++)
        keys.emplace_back(collator.sortKey(apps.at(i).name), i);
    std::sort(keys.begin(), keys.end(), [this](const auto &a, const auto &b) {
        const int c = a.first.compare(b.first);
        return c != 0 ? c < 0 : apps.at(a.second).id < apps.at(b.second).id;
    });
    QList<App> sorted;
    sorted.reserve(apps.size());
    for (const auto &key : keys)
        sorted.append(apps.at(key.second));
    apps = sorted;
}
