// SPDX-License-Identifier: BSD-2-Clause
#ifndef DIALOG_H
#define DIALOG_H

class QWidget;

/*
 * Fatal error dialogs: show a modal critical message box over parent, then
 * exit(status).  dialog_err appends the system's text for errno as it was
 * on entry; dialog_errx shows the message alone.  dialog_warnx shows the
 * same box as dialog_errx and returns once it is closed.
 */
[[noreturn]] void dialog_err(QWidget *parent, int status, const char *fmt, ...)
    __attribute__((format(printf, 3, 4)));
[[noreturn]] void dialog_errx(QWidget *parent, int status, const char *fmt, ...)
    __attribute__((format(printf, 3, 4)));
void dialog_warnx(QWidget *parent, const char *fmt, ...) __attribute__((format(printf, 2, 3)));

#endif // DIALOG_H
