// SPDX-License-Identifier: BSD-2-Clause
#ifndef DROPEVENT_H
#define DROPEVENT_H

#include <QApplication>
#include <QByteArray>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>

/* A drop of a text/uri-list in the middle of the list, with the events a
 * drag from a file manager delivers: enter, move, drop. */
inline void drop_uri_list(QListWidget *view, const QByteArray &uriList)
{
    QMimeData mime;
    mime.setData("text/uri-list", uriList);
    const QPoint pos = view->viewport()->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
}

#endif // DROPEVENT_H
