// SPDX-License-Identifier: BSD-2-Clause
#ifndef CFG_H
#define CFG_H

/*
 * Configuration library: the user's configuration directory and the
 * library's last error.  Plain functions; failures return null and leave
 * a record that cfg_error_text() renders.
 */

/* Error codes of the configuration library. */
#define CFG_ERR_NONE (-1)
#define CFG_ERR_PATH_TOO_LONG 6
#define CFG_ERR_FATAL 7
#define CFG_ERR_DUPLICATE_SECTION 8
#define CFG_ERR_INCOMPLETE_ESCAPE 257
#define CFG_ERR_UNTERMINATED_QUOTE 258
#define CFG_ERR_MISSING_EQUALS 259
#define CFG_ERR_MISSING_VALUE 260
#define CFG_ERR_UNKNOWN_VARIABLE 261

/*
 * The user's home directory from the password database, never from $HOME,
 * as the session has it.  The caller frees it.  Null with errno set when
 * the user is not in the database (ENOENT where it gives no reason) or
 * memory ran out (ENOMEM).
 */
char *cfg_home_dir(void);
char *cfg_make_dir(const char *sub);
void cfg_set_error(int code, const char *fmt, ...) __attribute__((format(printf, 2, 3)));
const char *cfg_error_text(void);
/* The sectioned reader's position (file name, not copied; line), recorded by cfg_set_error(). */
void cfg_set_position(const char *file, int line);

#endif // CFG_H
