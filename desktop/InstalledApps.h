// SPDX-License-Identifier: BSD-2-Clause
#ifndef INSTALLEDAPPS_H
#define INSTALLEDAPPS_H

#include <QHash>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

/*
 * The applications installed for the user, as the desktop's menus list
 * them: the desktop entries under applications/ of each data folder, the
 * user's own first.  An entry is known by its desktop-file ID, its path
 * below applications/ with "/" as "-" (kde4/sub.desktop is
 * kde4-sub.desktop); the first folder that has an ID decides for it, so
 * that a user's entry hides the system's, also when it cannot be read.
 */
class InstalledApps
{
public:
    /* One application that a menu would show. */
    struct App
    {
        QString id;
        QString path;
        QString name;
        QString description; // Comment, else GenericName
        QString icon; // a theme name, or the absolute path of a regular file; empty for none
        QString exec; // the command, as a drop of the file adds it
        QString searchText; // what a filter looks in, case-folded
    };

    InstalledApps(const QStringList &dataDirs, const QStringList &locales, const QLocale &locale);

    /* $XDG_DATA_HOME (else ~/.local/share, the home from the password
     * database), then each folder of $XDG_DATA_DIRS (else /usr/local/share
     * and /usr/share); relative paths count for nothing.  Reads the
     * password database, which is no business of a second thread. */
    static QStringList dataDirs();

    /* Reads the entries into apps, sorted by name for the locale.  On a
     * thread that is asked to stop it ends early. */
    void read();

    QList<App> apps;

private:
    struct Found
    {
        QString id;
        QString path;
    };

    void collect(const QString &dir, const QString &idPrefix, int depth, QList<Found> *found);
    bool installed(const QString &tryExec);
    void sort();

    QStringList dirs;
    QStringList locales;
    QLocale locale;
    QSet<QString> visitedDirs; // canonical paths, against symbolic link loops
    QHash<QString, bool> tryExecFound;
};

#endif // INSTALLEDAPPS_H
