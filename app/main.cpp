// SPDX-License-Identifier: BSD-2-Clause
#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include "app/Mainwin.h"
#include "app/catalogue.h"

int main(int argc, char **argv)
{
    // Qt 5 reads both only before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QTranslator translator;

    // Installed before the window exists: the window and the list translate
    // their texts while they are built.
    if (load_catalogue(&translator, QLocale(), QStringLiteral(QVX_CATALOG_DIR)))
        app.installTranslator(&translator);

    // The rows after show(), which sends the window to be mapped: no event
    // is handled in between, and the first drawing has them.
    Mainwin win(nullptr, false);
    win.show();
    win.fillAfterShown();
    return app.exec();
}
