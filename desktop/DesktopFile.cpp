// SPDX-License-Identifier: BSD-2-Clause
#include "desktop/DesktopFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

// A desktop entry is a few kilobytes; anything bigger is not one.
static const qint64 maxEntrySize = 1024 * 1024;

static const QString mainGroup = QStringLiteral("Desktop Entry");
static const QString execKey = QStringLiteral("Exec");
static const QString typeKey = QStringLiteral("Type");
static const QString tryExecKey = QStringLiteral("TryExec");
static const QString noDisplayKey = QStringLiteral("NoDisplay");
static const QString hiddenKey = QStringLiteral("Hidden");
// Removed from Exec: what stands for files and URLs, and what is
// deprecated.  %k, %c and %i expand to the entry's own values.
static const QString removedFieldCodes = QStringLiteral("fFuUdDnNvm");
static const QString entryFieldCodes = QStringLiteral("kci");

DesktopFile::DesktopFile(const QString &path) : path(path), locales(localeNames()) { }

DesktopFile::DesktopFile(const QString &path, const QStringList &locales)
    : path(path), locales(locales)
{ }

/* The names of a locale value such as de_DE.UTF-8@euro that a localized
 * key may carry, most specific first. */
static QStringList localeNamesOf(QString value)
{
    QString modifier;
    const int at = value.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        modifier = value.mid(at);
        value.truncate(at);
    }
    const int dot = value.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        value.truncate(dot);
    if (value.isEmpty() || value == QLatin1String("C") || value == QLatin1String("POSIX"))
        return QStringList();
    const int underscore = value.indexOf(QLatin1Char('_'));
    const QString language = value.left(underscore);
    const QString country = underscore >= 0 ? value.mid(underscore) : QString();
    if (language.isEmpty())
        return QStringList();

    QStringList names;
    if (!country.isEmpty() && !modifier.isEmpty())
        names << language + country + modifier;
    if (!country.isEmpty())
        names << language + country;
    if (!modifier.isEmpty())
        names << language + modifier;
    names << language;
    return names;
}

QStringList DesktopFile::localeNames()
{
    // The first that is set decides, as for the C library's messages.
    for (const char *variable : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return localeNamesOf(value);
    }
    return QStringList();
}

/* What the C library says of an error, in the locale's language. */
static QString systemError(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

/*
 * Reads at most maxEntrySize bytes of a regular file into data.  Whatever
 * was dropped may be a FIFO, a device or a huge file: the file is opened
 * without blocking and checked through the open descriptor, so nothing
 * swapped in after a check can block the GUI thread or fill memory.  On
 * failure, *error says why, for the user.
 */
int DesktopFile::readRegularFile(QByteArray &data, QString *error) const
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
        *error = errno == ENOENT ? tr("not found") : systemError(errno);
        return -1;
    }

    struct stat st;
    if (fstat(fd, &st) == -1) {
        *error = systemError(errno);
        goto fail;
    }
    if (S_ISDIR(st.st_mode)) {
        *error = tr("a folder, not a file");
        goto fail;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = tr("not a regular file");
        goto fail;
    }
    if (st.st_size > maxEntrySize)
        goto tooLarge;

    // One byte more than allowed tells a file that grew since fstat.
    data.resize(maxEntrySize + 1);
    {
        qint64 total = 0;
        for (;;) {
            const ssize_t n = ::read(fd, data.data() + total, data.size() - total);
            if (n == -1 && errno == EINTR)
                continue;
            if (n == -1) {
                *error = systemError(errno);
                goto fail;
            }
            if (n == 0)
                break;
            total += n;
            if (total > maxEntrySize)
                goto tooLarge;
        }
        data.truncate(total);
    }
    ::close(fd);
    return 0;

tooLarge:
    *error = tr("too large for a desktop entry (over %1 MiB)").arg(maxEntrySize / (1024 * 1024));
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

/* White space as the desktop entry format knows it: ASCII only. */
static bool isSpace(QChar c)
{
    return isBlank(c) || c == QLatin1Char('\n') || c == QLatin1Char('\v') || c == QLatin1Char('\f')
        || c == QLatin1Char('\r');
}

/* The line without the white space it begins with, which counts for
 * nothing in front of a group header, a key or a comment. */
static QString chugged(const QString &line)
{
    int start = 0;
    while (start < line.size() && isSpace(line.at(start)))
        start++;
    return line.mid(start);
}

/* The name of a group header "[name]", which blanks may follow; a null
 * string for any other line. */
static QString groupName(const QString &line)
{
    if (!line.startsWith(QLatin1Char('[')))
        return QString();
    const int close = line.indexOf(QLatin1Char(']'));
    if (close < 0)
        return QString();
    for (int i = close + 1; i < line.size(); i++)
        if (!isBlank(line.at(i)))
            return QString();
    return line.mid(1, close - 1);
}

/*
 * Splits "key=value" at its first "=".  White space before and after the
 * "=" is no part of the key or the value; white space at the end of the
 * value is, as is any that an escape such as \s writes.  False for a line
 * without a key.
 */
static bool splitKeyValue(const QString &line, QString *key, QString *value)
{
    const int equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return false;
    int keyEnd = equals;
    while (keyEnd > 0 && isSpace(line.at(keyEnd - 1)))
        keyEnd--;
    int valueStart = equals + 1;
    while (valueStart < line.size() && isSpace(line.at(valueStart)))
        valueStart++;
    *key = line.left(keyEnd);
    *value = line.mid(valueStart);
    return true;
}

/*
 * Splits a key such as "Name[de_DE]" into "Name" and its locale; a key
 * without one keeps a null locale.  False for a bracket that is not a
 * locale at the key's end.
 */
static bool splitLocale(QString *key, QString *locale)
{
    const int open = key->indexOf(QLatin1Char('['));
    if (open < 0)
        return true;
    if (open == 0 || !key->endsWith(QLatin1Char(']'))
        || key->indexOf(QLatin1Char(']')) < key->size() - 1)
        return false;
    *locale = key->mid(open + 1, key->size() - open - 2);
    key->truncate(open);
    return true;
}

static bool isTrue(const QString &value)
{
    // "1" is what older entries wrote.
    return value == QLatin1String("true") || value == QLatin1String("1");
}

/*
 * The strings of a list value such as Keywords, separated by ";": an
 * escaped "\;" belongs to its string, and each is decoded as a value is.
 * The ";" after the last string may be missing.
 */
static QStringList splitList(const QString &value)
{
    QStringList list;
    QString current;
    for (int i = 0; i < value.size(); i++) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            if (value.at(i + 1) != QLatin1Char(';'))
                current.append(c); // decoded below with the character after it
            current.append(value.at(++i));
        } else if (c == QLatin1Char(';')) {
            list << unescaped(current);
            current.clear();
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        list << unescaped(current);
    return list;
}

/* Where the shell stands in a command: outside quotes, or inside single or
 * double quotes. */
enum Quoting { Unquoted, SingleQuoted, DoubleQuoted };

static Quoting quotingAfter(Quoting quoting, QChar c)
{
    if (quoting == SingleQuoted)
        return c == QLatin1Char('\'') ? Unquoted : SingleQuoted;
    if (c == QLatin1Char('"'))
        return quoting == DoubleQuoted ? Unquoted : DoubleQuoted;
    if (c == QLatin1Char('\'') && quoting == Unquoted)
        return SingleQuoted;
    return quoting;
}

/* text as the shell reads it back unchanged where the quoting stands. */
static QString quotedForShell(const QString &text, Quoting quoting)
{
    QString out;
    for (const QChar c : text) {
        if (quoting != DoubleQuoted && c == QLatin1Char('\''))
            out += QLatin1String("'\\''"); // end the quotes, a quoted ', quotes again
        else if (quoting == DoubleQuoted && QStringLiteral("\\$`\"").contains(c))
            out += QLatin1Char('\\') + c;
        else
            out += c;
    }
    return quoting == Unquoted ? QLatin1Char('\'') + out + QLatin1Char('\'') : out;
}

/* What the field codes of an Exec value stand for in one entry. */
struct FieldValues
{
    QString location; // %k: the entry's own file
    QString name; // %c: its Name for the locale
    QString icon; // %i: its Icon
};

/*
 * What the code stands for, quoted for the shell where it stands: a null
 * string for a code that expands to nothing here.  %i is two arguments,
 * "--icon" and the icon; inside quotes, where no second argument can
 * begin, the two go into the quoted one as they are.
 */
static QString fieldValue(QChar code, const FieldValues &values, Quoting quoting)
{
    switch (code.unicode()) {
    case 'k':
        return quotedForShell(values.location, quoting);
    case 'c':
        return values.name.isEmpty() ? QString() : quotedForShell(values.name, quoting);
    case 'i':
        if (values.icon.isEmpty())
            return QString();
        if (quoting == Unquoted)
            return QLatin1String("--icon ") + quotedForShell(values.icon, quoting);
        return quotedForShell(QLatin1String("--icon ") + values.icon, quoting);
    default:
        return QString();
    }
}

/*
 * Expands the field codes of an Exec value.  %k, %c and %i become the
 * entry's own file, name and icon, quoted for the shell where they stand,
 * and are not read again for codes.  No file or URL is handed over here,
 * so the codes that stand for them, and the deprecated ones, expand to
 * nothing, as %c and %i do for an entry without a name or an icon.  A code
 * that expands to nothing and stands as a word of its own goes with the
 * blanks that separated it, so that removing it leaves no blank doubled,
 * leading or trailing.  "%%" is a percent sign; any other "%" stays as
 * written.
 */
static QString expandedFieldCodes(const QString &exec, const FieldValues &values)
{
    QString out;
    Quoting quoting = Unquoted;
    out.reserve(exec.size());
    for (int i = 0; i < exec.size(); i++) {
        const QChar c = exec.at(i);
        if (c == QLatin1Char('\\') && quoting != SingleQuoted && i + 1 < exec.size()
            && exec.at(i + 1) != QLatin1Char('%')) {
            out.append(c).append(exec.at(++i)); // an escaped character quotes nothing
            continue;
        }
        if (c != QLatin1Char('%') || i + 1 == exec.size()) {
            out.append(c);
            quoting = quotingAfter(quoting, c);
            continue;
        }
        const QChar code = exec.at(i + 1);
        if (code == QLatin1Char('%')) {
            out.append(c);
            i++;
            continue;
        }
        const QString value = fieldValue(code, values, quoting);
        if (!value.isNull()) {
            out += value;
            i++;
            continue;
        }
        if (!removedFieldCodes.contains(code) && !entryFieldCodes.contains(code)) {
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
    error.clear();
    if (path.isEmpty()) {
        error = tr("not found");
        return -1;
    }

    QByteArray data;
    if (readRegularFile(data, &error) == -1)
        return -1;

    // Desktop entries are UTF-8 whatever the locale; a byte-order mark of
    // another Unicode encoding is still honoured.
    QTextStream stream(data);
    stream.setCodec("UTF-8");
    bool inside = false;
    // Expanded at the end, when the name and the icon are known.
    QString execValue;
    // The keys with a value for each locale, and how well the value they
    // have fits: the position of its locale in locales, locales.size() for
    // the plain key's.  A list is decoded string by string at the end.
    QString keywordsValue;
    struct Localized
    {
        QLatin1String key;
        QString *value;
        bool list;
        int fit;
    } localized[] = {
        { QLatin1String("Name"), &name, false, INT_MAX },
        { QLatin1String("GenericName"), &genericName, false, INT_MAX },
        { QLatin1String("Comment"), &comment, false, INT_MAX },
        { QLatin1String("Keywords"), &keywordsValue, true, INT_MAX },
        { QLatin1String("Icon"), &icon, false, INT_MAX },
    };
    while (!stream.atEnd()) {
        const QString line = chugged(stream.readLine());
        if (line.isEmpty())
            continue;
        if (!inside) {
            // Keys before the group header count for nothing.
            if (groupName(line) == mainGroup)
                inside = true;
            continue;
        }
        // The next group, such as a desktop action, has keys of its own.
        if (line.startsWith(QLatin1Char('[')))
            break;
        QString key, value, locale;
        if (!splitKeyValue(line, &key, &value) || !splitLocale(&key, &locale))
            continue;
        // A later value of the same fit replaces an earlier one.
        const int fit = locale.isNull() ? locales.size() : locales.indexOf(locale);
        for (Localized &l : localized)
            if (fit >= 0 && key == l.key && fit <= l.fit) {
                *l.value = l.list ? value : unescaped(value);
                l.fit = fit;
            }
        // The other keys have no localized forms.
        if (!locale.isNull())
            continue;
        if (key == execKey)
            execValue = unescaped(value);
        else if (key == typeKey)
            type = unescaped(value);
        else if (key == tryExecKey)
            tryExec = unescaped(value);
        else if (key == noDisplayKey)
            noDisplay = isTrue(value);
        else if (key == hiddenKey)
            hidden = isTrue(value);
    }
    if (!keywordsValue.isNull())
        keywords = splitList(keywordsValue);
    if (!execValue.isNull())
        exec = expandedFieldCodes(execValue, { QFileInfo(path).absoluteFilePath(), name, icon });

    if (!inside)
        error = tr("not a desktop entry");
    else if (exec.isEmpty())
        error = tr("a desktop entry without a command");
    return error.isEmpty() ? 0 : -1;
}
