#include "ListWidget.h"

#include <QByteArray>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

static const char uriListFormat[] = "text/uri-list";
static const char fileScheme[] = "file://";
static const int fileSchemeLength = sizeof(fileScheme) - 1;

ListWidget::ListWidget(QWidget *parent) : QListWidget(parent)
{
    setAcceptDrops(true);
    setDropIndicatorShown(true);
}

ListWidget::~ListWidget() = default;

/*
 * What follows "file://" is taken as it stands: no percent decoding and
 * no removal of a host part.  Lines of other schemes, comments and bare
 * "file://" lines are skipped.
 */
QStringList ListWidget::pathsFromUriList(const QByteArray &data)
{
    QStringList paths;
    const QList<QByteArray> pieces = data.split('\n');
    for (QByteArray piece : pieces) {
        if (piece.endsWith('\r'))
            piece.chop(1);
        if (!piece.startsWith(fileScheme))
            continue;
        piece.remove(0, fileSchemeLength);
        if (piece.isEmpty())
            continue;
        const int nul = piece.indexOf('\0');
        if (nul >= 0)
            piece.truncate(nul);
        paths.append(QString::fromUtf8(piece.constData(), piece.size()));
    }
    return paths;
}

void ListWidget::keyPressEvent(QKeyEvent *event)
{
    // Delete with any modifier removes the row; the view's own handling of
    // the key must not run as well.
    if (event->key() == Qt::Key_Delete) {
        emit deleteKeyPressed();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void ListWidget::dragEnterEvent(QDragEnterEvent *event)
{
    event->accept();
}

void ListWidget::dragMoveEvent(QDragMoveEvent *event)
{
    // Rows are never moved by dragging them onto the list itself.
    if (event->source() == this)
        event->ignore();
    else
        event->accept();
}

void ListWidget::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasFormat(uriListFormat)) {
        event->ignore();
        return;
    }
    event->accept();
    QStringList files = pathsFromUriList(event->mimeData()->data(uriListFormat));
    emit itemDroped(files);
}
