// SPDX-License-Identifier: BSD-2-Clause
// desktop/: desktop entries, the installed applications and the files a
// drop names; QtCore, no widgets.
#ifndef DESKTOPFILE_H
#define DESKTOPFILE_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

/*
 * A desktop entry file, read for its Exec value and for what a list of the
 * installed applications shows of it.  Name, GenericName, Comment,
 * Keywords and Icon are the locale's where the entry has them (Name[de_DE],
 * Name[de], ...), else the plain key's.
 */
class DesktopFile
{
    Q_DECLARE_TR_FUNCTIONS(DesktopFile)

public:
    /* With the message locale of the environment. */
    explicit DesktopFile(const QString &path);
    /* With the given locale names, most specific first. */
    DesktopFile(const QString &path, const QStringList &locales);

    /* 0, or -1 when the file cannot be read or is no desktop entry with a
     * command; error then says why, for the user. */
    int read();

    /* The names a localized key may carry for the message locale of the
     * environment (LC_ALL, LC_MESSAGES, LANG), most specific first:
     * de_DE@euro, de_DE, de@euro, de.  None for C and POSIX. */
    static QStringList localeNames();

    QString exec;
    QString name;
    QString path;

    QString type;
    QString genericName;
    QString comment;
    QStringList keywords;
    QString icon;
    QString tryExec;
    bool noDisplay = false;
    bool hidden = false;
    QString error;

private:
    int readRegularFile(QByteArray &data, QString *error) const;

    QStringList locales;
};

#endif // DESKTOPFILE_H
