// SPDX-License-Identifier: BSD-2-Clause
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
static const QString fieldCodes = QStringLiteral("fFuUickdDnNvm");

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

/*
 * Decodes the string escapes of a value: \s, \n, \t, \r and \\.  A
 * backslash before any other character stays, with that character, for
 * the shell that reads the command.
 */
static QString unescaped(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); i++) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        switch (value.at(i + 1).unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            out.append(c);
            continue;
        }
        i++;
    }
    return out;
}

static bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

/*
 * Removes the field codes from an Exec value: the ones that stand for
 * files, URLs, the icon, the name and the entry's own location, and those
 * that are deprecated.  No file or URL is handed over here, so they expand
 * to nothing.  A code that stands as a word of its own goes with the
 * blanks that separated it, so that removing it leaves no blank doubled,
 * leading or trailing.  "%%" is a percent sign; any other "%" stays as
 * written.
 */
static QString withoutFieldCodes(const QString &exec)
{
    QString out;
    out.reserve(exec.size());
    for (int i = 0; i < exec.size(); i++) {
        const QChar c = exec.at(i);
        if (c != QLatin1Char('%') || i + 1 == exec.size()) {
            out.append(c);
            continue;
        }
        const QChar code = exec.at(i + 1);
        if (code == QLatin1Char('%')) {
            out.append(c);
            i++;
            continue;
        }
        if (!fieldCodes.contains(code)) {
            out.append(c);
            continue;
        }
        i++;
        const bool wordBefore = out.isEmpty() || isBlank(out.at(out.size() - 1));
        const bool wordAfter = i + 1 == exec.size() || isBlank(exec.at(i + 1));
        if (!wordBefore || !wordAfter)
            continue; // part of a longer word: only the code goes
        // The blanks before the code separated it from the word before.
        while (!out.isEmpty() && isBlank(out.at(out.size() - 1)))
            out.chop(1);
        int next = i + 1;
        while (next < exec.size() && isBlank(exec.at(next)))
            next++;
        // With no word before or none after, the blanks after it go too.
        if (out.isEmpty() || next == exec.size())
            i = next - 1;
    }
    return out;
}

int DesktopFile::read()
{
    if (path.isEmpty())
        return -1;

    QByteArray data;
    if (readRegularFile(path, data) == -1)
        return -1;

    // Desktop entries are UTF-8 whatever the locale; a byte-order mark of
    // another Unicode encoding is still honoured.
    QTextStream stream(data);
    stream.setCodec("UTF-8");
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
        // The next group, such as a desktop action, has keys of its own.
        if (line.startsWith(QLatin1Char('[')))
            break;
        if (line.startsWith(nameKey))
            name = unescaped(line.mid(nameKey.size()));
        else if (line.startsWith(execKey))
            exec = withoutFieldCodes(unescaped(line.mid(execKey.size())));
    }

    return inside && !exec.isEmpty() ? 0 : -1;
}
