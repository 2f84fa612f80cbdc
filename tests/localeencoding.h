// SPDX-License-Identifier: BSD-2-Clause
#ifndef LOCALEENCODING_H
#define LOCALEENCODING_H

#include <QTextCodec>

/* Switches the locale's text encoding, as the environment would set it,
 * for the life of the object. */
class LocaleEncoding
{
public:
    explicit LocaleEncoding(const char *name)
        : saved(QTextCodec::codecForLocale()), codec(QTextCodec::codecForName(name))
    {
        if (codec)
            QTextCodec::setCodecForLocale(codec);
    }
    ~LocaleEncoding() { QTextCodec::setCodecForLocale(saved); }
    bool isValid() const { return codec && QTextCodec::codecForLocale() == codec; }

private:
    QTextCodec *saved;
    QTextCodec *codec;
    Q_DISABLE_COPY(LocaleEncoding)
};

#endif // LOCALEENCODING_H
