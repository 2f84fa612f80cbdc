// SPDX-License-Identifier: BSD-2-Clause
#include "editor/utf8bytes.h"

#include <QVector>

namespace {

/* One character of a command's bytes: a well-formed UTF-8 sequence, or a
 * single byte that does not decode. */
struct unit
{
    int start; // in the bytes
    QString text; // as the row shows it
};

} // namespace

const QChar utf8_nul_sign(0x2400);

/*
 * The length of the well-formed UTF-8 sequence at s, with left bytes
 * there, or 0 when the byte at s begins none: no overlong forms, no
 * surrogates, nothing above U+10FFFF.
 */
static int sequence_length(const unsigned char *s, int left)
{
    const unsigned char c = s[0];
    unsigned char low = 0x80, high = 0xbf;
    int n;

    if (c < 0x80)
        return 1;
    if (c >= 0xc2 && c <= 0xdf)
        n = 2;
    else if (c >= 0xe0 && c <= 0xef)
        n = 3;
    else if (c >= 0xf0 && c <= 0xf4)
        n = 4;
    else
        return 0;
    if (c == 0xe0)
        low = 0xa0;
    else if (c == 0xed)
        high = 0x9f;
    else if (c == 0xf0)
        low = 0x90;
    else if (c == 0xf4)
        high = 0x8f;
    if (left < n || s[1] < low || s[1] > high)
        return 0;
    for (int k = 2; k < n; k++)
        if (s[k] < 0x80 || s[k] > 0xbf)
            return 0;
    return n;
}

/* The character of the well-formed sequence of n bytes at s. */
static QString character(const unsigned char *s, int n)
{
    static const unsigned char lead_mask[] = { 0, 0x7f, 0x1f, 0x0f, 0x07 };
    char32_t c = s[0] & lead_mask[n];

    for (int k = 1; k < n; k++)
        c = c << 6 | (s[k] & 0x3f);
    // Not through fromUcs4 or fromUtf8, which drop a U+FEFF at the start.
    if (!QChar::requiresSurrogates(c))
        return QString(QChar(c));
    const QChar pair[] = { QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c)) };
    return QString(pair, 2);
}

/* The characters of bytes as utf8_shown() shows them: a byte-order mark at
 * the very start as nothing, a NUL byte as its sign. */
static QVector<unit> units_of(const QByteArray &bytes)
{
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    QVector<unit> units;

    for (int i = 0; i < bytes.size();) {
        const int n = sequence_length(s + i, bytes.size() - i);
        if (n == 0) {
            units.append({ i, QString(QChar::ReplacementCharacter) });
            i++;
            continue;
        }
        const bool mark = i == 0 && bytes.startsWith("\xef\xbb\xbf");
        units.append({ i,
                       mark            ? QString("")
                           : s[i] == 0 ? QString(utf8_nul_sign)
                                       : character(s + i, n) });
        i += n;
    }
    return units;
}

QString utf8_shown(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes.constData(), bytes.size());

    if (bytes.contains('\0'))
        text.replace(QChar(0), utf8_nul_sign);
    return text;
}

QByteArray utf8_invalid_bytes(const QByteArray &bytes)
{
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.constData());
    QByteArray invalid;

    for (int i = 0; i < bytes.size();) {
        const int n = sequence_length(s + i, bytes.size() - i);
        if (n == 0)
            invalid.append(bytes.at(i));
        i += n > 0 ? n : 1;
    }
    return invalid;
}

QByteArray utf8_edited(const QByteArray &bytes, const QString &shown, const QString &edited)
{
    const QVector<unit> units = units_of(bytes);
    QString decoded;
    for (const unit &u : units)
        decoded += u.text;
    if (decoded != shown)
        return edited.toUtf8();

    // The characters that the edit kept at the start, then at the end.
    int first = 0, head = 0;
    while (first < units.size() && edited.midRef(head).startsWith(units.at(first).text))
        head += units.at(first++).text.size();
    int last = units.size(), tail = edited.size();
    while (last > first && tail - units.at(last - 1).text.size() >= head
           && edited.leftRef(tail).endsWith(units.at(last - 1).text))
        tail -= units.at(--last).text.size();

    const int keptEnd = first < units.size() ? units.at(first).start : bytes.size();
    const int keptStart = last < units.size() ? units.at(last).start : bytes.size();
    return bytes.left(keptEnd) + edited.mid(head, tail - head).toUtf8() + bytes.mid(keptStart);
}
