// SPDX-License-Identifier: BSD-2-Clause
#include "desktop/UriList.h"

static const char fileScheme[] = "file://";
static const int fileSchemeLength = sizeof(fileScheme) - 1;
static const char localHost[] = "localhost";

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/* Decodes the %XX escapes of a URI path; a "%" without two hex digits
 * after it stands for itself, as in a tolerant URL parser. */
static QByteArray percentDecoded(const QByteArray &in)
{
    QByteArray out;
    out.reserve(in.size());
    for (int i = 0; i < in.size(); i++) {
        if (in.at(i) == '%' && i + 2 < in.size() && hexValue(in.at(i + 1)) >= 0
            && hexValue(in.at(i + 2)) >= 0) {
            out.append(char(hexValue(in.at(i + 1)) << 4 | hexValue(in.at(i + 2))));
            i += 2;
        } else {
            out.append(in.at(i));
        }
    }
    return out;
}

/* True for the authority of a file URI that names this machine. */
static bool isLocalHost(const QByteArray &authority)
{
    return authority.isEmpty() || authority.compare(localHost, Qt::CaseInsensitive) == 0;
}

/*
 * A file URI names a local file when its authority is empty or
 * "localhost"; its path is percent-encoded UTF-8.  A file URI of another
 * host gives an empty path name, which names no file, so that the receiver
 * counts it among the files that it could not add.  Lines of other schemes,
 * comments and local "file://" lines without a path are skipped.  A NUL,
 * raw or escaped, ends the path, since no file name can hold one.
 */
QStringList UriList::paths(const QByteArray &data, QStringList *elsewhere)
{
    QStringList paths;
    const QList<QByteArray> pieces = data.split('\n');
    for (QByteArray piece : pieces) {
        if (piece.endsWith('\r'))
            piece.chop(1);
        if (!piece.startsWith(fileScheme))
            continue;
        piece.remove(0, fileSchemeLength);
        const int rawNul = piece.indexOf('\0');
        if (rawNul >= 0)
            piece.truncate(rawNul);
        const int slash = piece.indexOf('/');
        if (!isLocalHost(slash < 0 ? piece : piece.left(slash))) {
            paths.append(QString(""));
            if (elsewhere)
                *elsewhere += QString::fromUtf8(fileScheme + percentDecoded(piece));
            continue;
        }
        if (slash < 0)
            continue;
        QByteArray path = percentDecoded(piece.mid(slash));
        const int nul = path.indexOf('\0');
        if (nul >= 0)
            path.truncate(nul);
        paths.append(QString::fromUtf8(path.constData(), path.size()));
    }
    return paths;
}
