// SPDX-License-Identifier: BSD-2-Clause
/*
 * The floor of the start-up benchmark: the least that a Qt Widgets program
 * does to show a window and quit on Alt+Q.  No Qt program starts faster.
 */
#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    auto *quit = new QPushButton(QStringLiteral("&Quit"), &window);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(quit);
    QObject::connect(quit, SIGNAL(clicked()), &app, SLOT(quit()));
    window.setWindowTitle(QStringLiteral("floor"));
    window.show();
    return QApplication::exec();
}
