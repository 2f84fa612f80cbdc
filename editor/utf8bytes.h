// SPDX-License-Identifier: BSD-2-Clause
#ifndef UTF8BYTES_H
#define UTF8BYTES_H

#include <QByteArray>
#include <QString>

/*
 * A command's bytes need not be UTF-8; its row shows them decoded, each
 * byte that is no part of a well-formed UTF-8 sequence as U+FFFD, and a
 * NUL byte, which the shell skips, as U+2400 (the symbol for null).
 */

/* The sign that a row shows for a NUL byte. */
extern const QChar utf8_nul_sign;

/* The text of a command's bytes as its row shows them. */
QString utf8_shown(const QByteArray &bytes);

/* The bytes of a command that do not decode, in their order. */
QByteArray utf8_invalid_bytes(const QByteArray &bytes);

/*
 * The bytes for an edit of a command: shown is how its row showed bytes,
 * edited the row's text after the edit.  Only what the edit changed is
 * encoded anew; the characters it kept at the start and at the end keep
 * their bytes, also those that do not decode.  When shown is not the
 * decoding of bytes, the whole text is encoded anew.
 */
QByteArray utf8_edited(const QByteArray &bytes, const QString &shown, const QString &edited);

#endif // UTF8BYTES_H
