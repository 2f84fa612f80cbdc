// SPDX-License-Identifier: BSD-2-Clause
#ifndef ICON_H
#define ICON_H

#include <QIcon>
#include <QStyle>

/* The first of the null-terminated list of names that the icon theme has,
 * or a null icon. */
QIcon load_theme_icon(const char *name, ...) __attribute__((sentinel));

/* The current application style's icon for a standard pixmap. */
QIcon standard_icon(QStyle::StandardPixmap pixmap, const QWidget *widget);

/* The theme's icon when the desktop has one, else the style's picture, so
 * that nothing goes without an icon on a bare X server. */
QIcon theme_or_standard_icon(const char *name, QStyle::StandardPixmap fallback);

#endif // ICON_H
