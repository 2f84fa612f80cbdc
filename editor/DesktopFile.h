// SPDX-License-Identifier: BSD-2-Clause
#ifndef DESKTOPFILE_H
#define DESKTOPFILE_H

#include <QString>

/* A desktop entry file, read for its Exec and Name values. */
class DesktopFile
{
public:
    explicit DesktopFile(const QString &path);

    int read();

    QString exec;
    QString name;
    QString path;
};

#endif // DESKTOPFILE_H
