// SPDX-License-Identifier: BSD-2-Clause
/*
 * The desktop entry reader, fed any bytes as a file: it never crashes,
 * hangs or leaks, answers 0 or -1, and 0 only with a non-empty Exec value.
 * A value holds a line feed only where the file has the escape for one.
 */
#include <stddef.h>
#include <stdint.h>

#include <QByteArray>
#include <QString>

#include "desktop/DesktopFile.h"
#include "fuzz_common.h"

static QString path;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    path = QString::fromStdString(fuzz_test_home("fuzz_desktopfile") + "/entry.desktop");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_put_file(path.toStdString(), data, size);

    DesktopFile entry(path);
    const int result = entry.read();
    if (result != 0 && result != -1)
        fuzz_fail("read() answered neither 0 nor -1");
    if (result == 0 && entry.exec.isEmpty())
        fuzz_fail("read() succeeded without an Exec value");
    const bool escapedLineFeed
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<int>(size))
              .contains("\\n");
    if ((entry.exec.contains(QLatin1Char('\n')) || entry.name.contains(QLatin1Char('\n')))
        && !escapedLineFeed)
        fuzz_fail("a value holds a line feed");
    if (entry.path != path)
        fuzz_fail("read() changed the path");
    return 0;
}
