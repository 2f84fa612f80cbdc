// SPDX-License-Identifier: BSD-2-Clause
#ifndef CATALOGUE_H
#define CATALOGUE_H

#include <QString>

class QLocale;
class QTranslator;

/*
 * Loads into translator the catalogue of the locale's language from dir,
 * where the catalogues are installed, or the English catalogue built into
 * the program where the locale is English or dir has none for it.  The
 * English texts are the code's own, but a text with a number takes its
 * plural forms from a catalogue, which is then always there, also for a
 * program run from its build tree.  False when none could be loaded.
 */
bool load_catalogue(QTranslator *translator, const QLocale &locale, const QString &dir);

#endif // CATALOGUE_H
