// SPDX-License-Identifier: BSD-2-Clause
#include "app/catalogue.h"

#include <QLocale>
#include <QTranslator>

/* Where the resource compiled from the English catalogue has it. */
static const char builtin_english[] = ":/i18n/qvxsessrun_en.qm";

bool load_catalogue(QTranslator *translator, const QLocale &locale, const QString &dir)
{
    // The resource lives in a static library: nothing else would make the
    // linker keep it.
    Q_INIT_RESOURCE(qvxcatalog);

    // An installed English catalogue may be older than the program; the
    // one built in always fits its texts.
    if (translator->load(locale, QStringLiteral("qvxsessrun"), QStringLiteral("_"), dir, QString())
        && QLocale(translator->language()).language() != QLocale::English)
        return true;
    return translator->load(QLatin1String(builtin_english));
}
