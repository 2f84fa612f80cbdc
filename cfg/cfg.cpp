// SPDX-License-Identifier: BSD-2-Clause
#include "cfg/cfg.h"

#include <errno.h>
#include <pwd.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

/* The library's last error; replaced as a whole by every cfg_set_error(). */
static struct
{
    int code;
    int saved_errno;
    char context[1024];
    const char *file;
    int line;
} cfg_error;

/* Where the sectioned configuration-file reader stands; cfg_set_error() records it. */
static const char *cfg_pos_file = "";
static int cfg_pos_line;

static char cfg_text[2048];

static const struct
{
    int code;
    const char *message;
} cfg_messages[] = {
    { CFG_ERR_FATAL, "Fatal error" },
    { CFG_ERR_INCOMPLETE_ESCAPE, "Incomplete escape sequence" },
    { CFG_ERR_UNTERMINATED_QUOTE, "Unterminated quoted string" },
    { CFG_ERR_MISSING_EQUALS, "Missing '='" },
    { CFG_ERR_MISSING_VALUE, "Missing value" },
    { CFG_ERR_UNKNOWN_VARIABLE, "Unknown variable" },
    { CFG_ERR_PATH_TOO_LONG, "Path name too long" },
    { CFG_ERR_DUPLICATE_SECTION, "Duplicated config file section" },
};

/* The directories below the home directory, created one at a time. */
static const char *const cfg_components[] = { ".config", "QVX" };

void cfg_set_position(const char *file, int line)
{
    cfg_pos_file = file != nullptr ? file : "";
    cfg_pos_line = line;
}

void cfg_set_error(int code, const char *fmt, ...)
{
    cfg_error.file = cfg_pos_file;
    cfg_error.line = cfg_pos_line;
    cfg_error.saved_errno = errno;
    cfg_error.code = code;
    cfg_error.context[0] = '\0';
    if (fmt != nullptr) {
        va_list ap;

        va_start(ap, fmt);
        vsnprintf(cfg_error.context, sizeof(cfg_error.context), fmt, ap);
        va_end(ap);
    }
}

/*
 * Append to the rendered text, one byte short of the buffer's end, so
 * that a long context is cut off rather than overrun.
 */
static void text_append(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

static void text_append(const char *fmt, ...)
{
    size_t len = strlen(cfg_text);
    size_t room = sizeof(cfg_text) - 1 - len;
    va_list ap;

    if (room <= 1)
        return;
    va_start(ap, fmt);
    vsnprintf(cfg_text + len, room, fmt, ap);
    va_end(ap);
}

static const char *error_message(int code)
{
    for (const auto &m : cfg_messages)
        if (m.code == code)
            return m.message;
    return nullptr;
}

const char *cfg_error_text(void)
{
    int code = cfg_error.code;

    cfg_text[0] = '\0';
    switch (code) {
    case CFG_ERR_NONE:
        return cfg_text;
    case CFG_ERR_INCOMPLETE_ESCAPE:
    case CFG_ERR_UNTERMINATED_QUOTE:
    case CFG_ERR_MISSING_EQUALS:
    case CFG_ERR_MISSING_VALUE:
    case CFG_ERR_UNKNOWN_VARIABLE:
        text_append("Syntax error: ");
        break;
    case CFG_ERR_FATAL:
        /* A missing file or directory is the user's to fix, not fatal. */
        if (cfg_error.saved_errno != ENOENT)
            text_append("Fatal: ");
        break;
    case CFG_ERR_PATH_TOO_LONG:
    case CFG_ERR_DUPLICATE_SECTION:
        break;
    default:
        text_append("Unknown error code");
        return cfg_text;
    }

    if (cfg_error.context[0] != '\0')
        text_append("%s: ", cfg_error.context);
    text_append("%s", error_message(code));
    if (code == CFG_ERR_FATAL)
        text_append(": %s\n", strerror(cfg_error.saved_errno));
    else if (cfg_error.line > 0)
        text_append(", in file %s, line %d\n", cfg_error.file, cfg_error.line);
    else
        text_append("\n");

    errno = cfg_error.saved_errno;
    return cfg_text;
}

/*
 * Make sure the directory named by path exists: stat it, and create it
 * when it is missing.  Existing directories keep their modes.
 */
static int make_component(const char *path)
{
    struct stat sb;

    if (stat(path, &sb) == 0)
        return 0;
    if (errno != ENOENT) {
        cfg_set_error(CFG_ERR_FATAL, "stat()");
        return -1;
    }
    if (mkdir(path, 0700) == -1) {
        cfg_set_error(CFG_ERR_FATAL, "mkdir()");
        return -1;
    }
    return 0;
}

char *cfg_home_dir(void)
{
    struct passwd *pw;
    char *home;
    size_t size;
    int error;

    errno = 0;
    pw = getpwuid(getuid());
    if (pw == nullptr || pw->pw_dir == nullptr) {
        error = errno != 0 ? errno : ENOENT;
        endpwent();
        errno = error;
        return nullptr;
    }
    /* Copied before the database is closed under it, with malloc: the
     * store names a failure to allocate here as malloc's. */
    size = strlen(pw->pw_dir) + 1;
    home = static_cast<char *>(malloc(size));
    if (home != nullptr)
        memcpy(home, pw->pw_dir, size);
    endpwent();
    errno = home == nullptr ? ENOMEM : 0;
    return home;
}

/*
 * Return ~/.config/QVX, or the directory sub inside it, creating what is
 * missing on the way, in the home directory of cfg_home_dir().  The
 * caller frees the result.
 */
char *cfg_make_dir(const char *sub)
{
    char *home, *path;
    size_t size, len;

    home = cfg_home_dir();
    if (home == nullptr) {
        if (errno != ENOMEM)
            cfg_set_error(CFG_ERR_FATAL, "Couldn't find you in the password file");
        return nullptr;
    }

    size = strlen(home) + 16;
    if (sub != nullptr)
        size += strlen(sub);
    path = static_cast<char *>(malloc(size));
    if (path == nullptr) {
        free(home);
        return nullptr;
    }
    snprintf(path, size, "%s/", home);
    free(home);

    for (const char *component : cfg_components) {
        len = strlen(path);
        snprintf(path + len, size - len, "%s/", component);
        if (make_component(path) == -1)
            goto fail;
    }

    if (sub == nullptr) {
        path[strlen(path) - 1] = '\0';
        return path;
    }
    len = strlen(path);
    snprintf(path + len, size - len, "%s", sub);
    if (make_component(path) == -1)
        goto fail;
    return path;

fail:
    free(path);
    return nullptr;
}
