#include "DesktopFile.h"

#include <QByteArray>
#include <QFile>
#include <QTextStream>

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A desktop entry is a few kilobytes; anything bigger is not one.
static const qint64 maxEntrySize = 1024 * 1024;

static const QString groupHeader = QStringLiteral("[Desktop Entry]");
static const QString execKey = QStringLiteral("Exec=");
static const QString nameKey = QStringLiteral("Name=");

DesktopFile::DesktopFile(const QString &path) : path(path) { }

/*
 * Reads at most maxEntrySize bytes of a regular file into data.  Whatever
 * was dropped may be a FIFO, a device or a huge file: the file is opened
 * without blocking and checked through the open descriptor, so nothing
 * swapped in after a check can block the GUI thread or fill memory.
 */
static int readRegularFile(const QString &path, QByteArray &data)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1)
        return -1;

    struct stat st;
    if (fstat(fd, &st) == -1 || !S_ISREG(st.st_mode) || st.st_size > maxEntrySize)
        goto fail;

    // One byte more than allowed tells a file that grew since fstat.
    data.resize(maxEntrySize + 1);
    {
        qint64 total = 0;
        for (;;) {
            const ssize_t n = ::read(fd, data.data() + total, data.size() - total);
            if (n == -1 && errno == EINTR)
                continue;
            if (n == -1)
                goto fail;
            if (n == 0)
                break;
            total += n;
            if (total > maxEntrySize)
                goto fail;
        }
        data.truncate(total);
    }
    ::close(fd);
    return 0;

fail:
    ::close(fd);
    data.clear();
    return -1;
}

int DesktopFile::read()
{
    if (path.isEmpty())
        return -1;

    QByteArray data;
    if (readRegularFile(path, data) == -1)
        return -1;

    // The stream decodes with the locale's codec and honours a byte-order
    // mark, as reading the file through it directly would.
    QTextStream stream(data);
    bool inside = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (line.isEmpty())
            continue;
        if (!inside) {
            // Keys before the group header count for nothing.
            if (line == groupHeader)
                inside = true;
            continue;
        }
        if (line.startsWith(nameKey))
            name = line.mid(nameKey.size());
        else if (line.startsWith(execKey))
            exec = line.mid(execKey.size());
    }

    return inside && !exec.isEmpty() ? 0 : -1;
}
