// SPDX-License-Identifier: BSD-2-Clause
#ifndef MODALBOX_H
#define MODALBOX_H

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

/* The message box (or other Box) shown modally now, if any. */
template<class Box = QMessageBox> Box *shown_modal_box()
{
    auto *box = qobject_cast<Box *>(QApplication::activeModalWidget());
    return box && box->isVisible() ? box : nullptr;
}

/*
 * Looks for a modal message box every 20 ms and hands each one found to
 * `seen`, which answers it or reports it.  The look runs from whatever
 * event loop is running, the box's own exec() included, as a person finds
 * the box on the screen.  It ends with the watch, or when `seen` calls
 * stop(); a box left open is handed over again at the next look.  With
 * QWidget for Box it sees any modal window.
 */
template<class Box = QMessageBox> class ModalBoxWatch
{
public:
    explicit ModalBoxWatch(const std::function<void(Box *)> &seen)
    {
        QObject::connect(&timer, &QTimer::timeout, [seen] {
            if (Box *box = shown_modal_box<Box>())
                seen(box);
        });
        timer.start(20);
    }

    void stop() { timer.stop(); }

private:
    QTimer timer;

    Q_DISABLE_COPY(ModalBoxWatch)
};

/*
 * The same for a popup, such as a context menu, whose exec() runs its own
 * event loop: `seen` gets the popup each time one is found (and should
 * close it), from that loop.  A popup that comes late is still found.
 */
class PopupWatch
{
public:
    explicit PopupWatch(const std::function<void(QWidget *)> &seen)
    {
        QObject::connect(&timer, &QTimer::timeout, [seen] {
            if (QWidget *popup = QApplication::activePopupWidget())
                seen(popup);
        });
        timer.start(20);
    }

private:
    QTimer timer;
    Q_DISABLE_COPY(PopupWatch)
};

#endif // MODALBOX_H
