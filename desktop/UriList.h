// SPDX-License-Identifier: BSD-2-Clause
#ifndef URILIST_H
#define URILIST_H

#include <QByteArray>
#include <QStringList>

/* The files that a drop names in a text/uri-list. */
class UriList
{
public:
    /* The local path names of the "file://" lines of a text/uri-list, and
     * an empty one for each file of another host; elsewhere, when not null,
     * gets the URIs of those, decoded, in their order. */
    static QStringList paths(const QByteArray &data, QStringList *elsewhere = nullptr);
};

#endif // URILIST_H
