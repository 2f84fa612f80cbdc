// SPDX-License-Identifier: BSD-2-Clause
/*
 * The URI-list parsing of a drop, fed any bytes: it never crashes or leaks,
 * and every path it gives comes from a line of its own that begins with
 * "file://", is absolute (its authority, empty or "localhost", is gone) or
 * empty (a file of another host), and holds no NUL character, raw or
 * decoded from an escape.
 */
#include <stddef.h>
#include <stdint.h>

#include <QByteArray>
#include <QStringList>

#include "desktop/UriList.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QStringList paths = UriList::paths(bytes);

    int fileLines = 0;
    for (const QByteArray &line : bytes.split('\n'))
        if (line.startsWith("file://"))
            fileLines++;
    if (paths.size() > fileLines)
        fuzz_fail("more paths than lines beginning with file://");
    for (const QString &p : paths) {
        if (!p.isEmpty() && !p.startsWith(QLatin1Char('/')))
            fuzz_fail("a path that is neither absolute nor empty");
        if (p.contains(QChar(0)))
            fuzz_fail("a path with a NUL character");
    }
    return 0;
}
