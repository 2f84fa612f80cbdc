// SPDX-License-Identifier: BSD-2-Clause
#ifndef TESTSCRIPT_H
#define TESTSCRIPT_H

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

/*
 * The script in the temporary home that tests/with-home.sh gives a test
 * (QVX_TEST_HOME), where the program looks for it, and reading and
 * writing it as a person's editor would.
 */

inline QString script_dir()
{
    return qEnvironmentVariable("QVX_TEST_HOME") + QLatin1String("/.config/QVX");
}

inline QString script_path()
{
    return script_dir() + QLatin1String("/autostart.sh");
}

/* Writes bytes as the script, its folder made first; false when it could not. */
inline bool write_script(const QByteArray &bytes)
{
    QFile file(script_path());
    return QDir().mkpath(script_dir()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

/* A file's bytes, or missing when it cannot be read. */
inline QByteArray read_file(const QString &path, const QByteArray &missing = "<missing>")
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

#endif // TESTSCRIPT_H
