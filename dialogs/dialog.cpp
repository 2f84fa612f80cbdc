// SPDX-License-Identifier: BSD-2-Clause
#include "dialogs/dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStyle>

#include <errno.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// The text of the dialog being built: at most 1023 characters and the NUL.
static char dialog_text[1024];

// The title goes through QObject::tr in dialog_show; marked here so that
// the catalogue holds it under "QObject".
static const char *const dialog_title = QT_TRANSLATE_NOOP("QObject", "Error");

/*
 * Shows the text of dialog_text in a modal critical box over parent and
 * returns once the box is closed, however that happens.  The text is read
 * here, before the box runs its event loop.
 */
static void dialog_show(const char *title, QWidget *parent)
{
    QMessageBox box(parent);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(QObject::tr(title));
    box.setText(QString::fromUtf8(dialog_text));
    box.setIcon(QMessageBox::Critical);
    box.setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

static void dialog_format(const char *fmt, va_list ap)
{
    dialog_text[0] = '\0';
    vsnprintf(dialog_text, sizeof(dialog_text), fmt, ap);
}

void dialog_err(QWidget *parent, int status, const char *fmt, ...)
{
    // Formatting may change errno; the text is for the caller's error.
    const int saved_errno = errno;
    va_list ap;

    va_start(ap, fmt);
    dialog_format(fmt, ap);
    va_end(ap);

    // The bound counts the terminator, so a full buffer gets nothing.
    const size_t len = strlen(dialog_text);
    snprintf(dialog_text + len, sizeof(dialog_text) - 1 - len, ":\n%s\n", strerror(saved_errno));

    dialog_show(dialog_title, parent);
    exit(status);
}

void dialog_errx(QWidget *parent, int status, const char *fmt, ...)
{
    va_list ap;

    va_start(ap, fmt);
    dialog_format(fmt, ap);
    va_end(ap);

    dialog_show(dialog_title, parent);
    exit(status);
}

void dialog_warnx(QWidget *parent, const char *fmt, ...)
{
    va_list ap;

    va_start(ap, fmt);
    dialog_format(fmt, ap);
    va_end(ap);

    dialog_show(dialog_title, parent);
}
