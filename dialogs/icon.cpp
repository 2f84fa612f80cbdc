// SPDX-License-Identifier: BSD-2-Clause
#include "dialogs/icon.h"

#include <QApplication>
#include <QString>

#include <stdarg.h>

/*
 * The theme may claim a name yet give an icon without pixmaps or without
 * a name (an unthemed fallback); such an icon is passed over like a
 * missing one.
 */
QIcon load_theme_icon(const char *name, ...)
{
    QIcon icon;
    va_list ap;

    va_start(ap, name);
    for (const char *n = name; n != nullptr; n = va_arg(ap, const char *)) {
        const QString themeName = QString::fromLatin1(n);
        // One lookup per name.  The theme has the name itself only when the
        // icon bears it: the loader also answers with the icon of a shorter
        // name (edit for edit-undo).
        QIcon candidate = QIcon::fromTheme(themeName);
        if (candidate.name() != themeName || candidate.isNull() || candidate.name().isEmpty())
            continue;
        icon = candidate;
        break;
    }
    va_end(ap);
    return icon;
}

QIcon standard_icon(QStyle::StandardPixmap pixmap, const QWidget *widget)
{
    return QApplication::style()->standardIcon(pixmap, nullptr, widget);
}

QIcon theme_or_standard_icon(const char *name, QStyle::StandardPixmap fallback)
{
    QIcon icon = load_theme_icon(name, nullptr);
    if (icon.isNull())
        icon = standard_icon(fallback, nullptr);
    return icon;
}
