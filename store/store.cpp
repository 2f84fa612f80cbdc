// SPDX-License-Identifier: BSD-2-Clause
#include "store.h"

#include "cfg.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define SCRIPT_NAME "autostart.sh"
#define SCRIPT_HEADER "#!/bin/sh\n"
#define INACTIVE_MARK "#[INACTIVE]#"
#define INACTIVE_MARK_LEN (sizeof(INACTIVE_MARK) - 1)
/* mkstemp() on glibc insists on six trailing X. */
#define TEMP_SUFFIX ".XXXXXX"
#define LINE_CHUNK 2048
/* A save's temporary file that a crash left behind is removed once it is
 * this old; a save of another window running now is younger. */
#define LEFTOVER_AGE_SECONDS (10 * 60)
/* 64-bit FNV-1a: cheap, and any accidental change shows. */
#define DIGEST_START UINT64_C(0xcbf29ce484222325)
#define DIGEST_PRIME UINT64_C(0x100000001b3)

static char store_error[1024];

/* The state of one read of the script, owned by the read. */
struct line_reader
{
    char *buf;
    size_t cap; /* bytes allocated */
    size_t off; /* first byte not yet handed out */
    size_t len; /* bytes read but not yet handed out */
    size_t seen; /* of those, bytes already known to hold no line feed */
    uint64_t digest; /* of every byte read so far */
};

/*
 * Fill the error buffer with the failing step, then ": " and the
 * system's reason when errno says there is one.
 */
static void store_set_error(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

static void store_set_error(const char *fmt, ...)
{
    int saved_errno = errno;
    size_t len;
    va_list ap;

    va_start(ap, fmt);
    vsnprintf(store_error, sizeof(store_error), fmt, ap);
    va_end(ap);
    if (saved_errno != 0) {
        len = strlen(store_error);
        snprintf(store_error + len, sizeof(store_error) - len, ": %s", strerror(saved_errno));
    }
    errno = saved_errno;
}

/*
 * Every allocation of the store goes through these: on failure the error
 * buffer names the call and the reason, so that no caller can leave an
 * empty or older text behind.  store_malloc() stays out of line, so that a
 * zero-filled allocation is not merged into calloc() behind its back.
 */
static void *store_malloc(size_t size) __attribute__((noinline));

static void *store_malloc(size_t size)
{
    void *p = malloc(size);

    if (p == nullptr)
        store_set_error("malloc()");
    return p;
}

static char *store_strdup(const char *text)
{
    char *copy = strdup(text);

    if (copy == nullptr)
        store_set_error("strdup()");
    return copy;
}

static uint64_t digest_add(uint64_t digest, const void *data, size_t len)
{
    const unsigned char *p = static_cast<const unsigned char *>(data);

    for (size_t i = 0; i < len; i++)
        digest = (digest ^ p[i]) * DIGEST_PRIME;
    return digest;
}

static void stamp_from_stat(script_stamp *stamp, const struct stat *st, uint64_t digest)
{
    stamp->exists = 1;
    stamp->dev = st->st_dev;
    stamp->ino = st->st_ino;
    stamp->size = st->st_size;
    stamp->mtime = st->st_mtim;
    stamp->digest = digest;
}

const char *qvxsessrun_error_text(void)
{
    return store_error;
}

/*
 * The path of the script with suffix appended, in the configuration
 * directory, which is created when missing.  The caller frees it.
 */
static char *script_path(const char *suffix)
{
    char *dir, *path;
    size_t size;

    if (suffix == nullptr)
        suffix = "";
    /*
     * cfg_make_dir records nothing when it runs out of memory; start from a
     * cleared record so that an old, unrelated text is never shown instead.
     */
    cfg_set_error(CFG_ERR_NONE, nullptr);
    dir = cfg_make_dir(nullptr);
    if (dir == nullptr) {
        const char *cfg_text = cfg_error_text();

        if (*cfg_text == '\0')
            store_set_error("malloc()");
        else /* the configuration text carries its own reason */
            snprintf(store_error, sizeof(store_error), "%s", cfg_text);
        return nullptr;
    }
    size = strlen(dir) + 1 + strlen(SCRIPT_NAME) + strlen(suffix) + 1;
    path = static_cast<char *>(store_malloc(size));
    if (path == nullptr) {
        free(dir);
        return nullptr;
    }
    snprintf(path, size, "%s/%s%s", dir, SCRIPT_NAME, suffix);
    free(dir);
    return path;
}

static command_list *list_new(void)
{
    command_list *list = static_cast<command_list *>(store_malloc(sizeof(*list)));

    if (list != nullptr)
        memset(list, 0, sizeof(*list));
    return list;
}

/*
 * A copy of a command text that stays on one script line.  A line feed
 * would split the command in two, and the second half would run even
 * when the command is switched off; it becomes a blank instead.
 */
static char *text_copy(const char *text)
{
    char *copy = store_strdup(text);

    if (copy != nullptr)
        for (char *p = copy; (p = strchr(p, '\n')) != nullptr; p++)
            *p = ' ';
    return copy;
}

static size_t trim_blanks(const char *text, size_t len)
{
    while (len > 0 && (text[len - 1] == ' ' || text[len - 1] == '\t'))
        len--;
    return len;
}

/*
 * A copy of a command text as given by the user, made ready for its
 * script line: on one line, without trailing blanks, and without the "&"
 * that the writer adds itself.  A final "&" that ends "&&" belongs to the
 * command, and so does one escaped by a backslash; only a lone one goes.
 */
static char *command_copy(const char *text)
{
    char *copy = text_copy(text);
    size_t len, slashes;

    if (copy == nullptr)
        return nullptr;
    len = trim_blanks(copy, strlen(copy));
    if (len > 0 && copy[len - 1] == '&' && (len == 1 || copy[len - 2] != '&')) {
        for (slashes = 0; slashes < len - 1 && copy[len - 2 - slashes] == '\\'; slashes++)
            ;
        if (slashes % 2 == 0)
            len = trim_blanks(copy, len - 1);
    }
    copy[len] = '\0';
    return copy;
}

static command_entry *last_entry(const command_list *list)
{
    command_entry *e = list->entries;

    while (e != nullptr && e->next != nullptr)
        e = e->next;
    return e;
}

/*
 * Make an entry holding copy, which it takes over, and link it behind
 * tail, the last entry of the list (null when the list is empty).  On
 * failure copy is released and the list is unchanged.
 */
static command_entry *link_new(command_list *list, command_entry *tail, char *copy, int active)
{
    command_entry *e;

    if (copy == nullptr)
        return nullptr;
    e = static_cast<command_entry *>(store_malloc(sizeof(*e)));
    if (e == nullptr) {
        free(copy);
        return nullptr;
    }
    e->text = copy;
    e->active = active ? 1 : 0;
    e->next = nullptr;
    e->prev = tail;
    if (tail == nullptr)
        list->entries = e;
    else
        tail->next = e;
    return e;
}

/* An entry with the bytes of text, as read or copied, behind tail. */
static command_entry *append_after(command_list *list, command_entry *tail, const char *text,
                                   int active)
{
    return link_new(list, tail, text_copy(text), active);
}

/* An entry with a text given by the user, made ready for its line, at the end. */
static command_entry *append_entry(command_list *list, const char *text, int active)
{
    return link_new(list, last_entry(list), command_copy(text), active);
}

static void entry_free(command_entry *e)
{
    free(e->text);
    free(e);
}

/*
 * Hand out the next line of fp, read through rd, in line and len: 1 for a
 * line, 0 at the end of the file, -1 on failure (the error text is set).
 * The line is NUL-terminated in place but may hold NUL bytes of its own;
 * len counts its bytes without the line end, a line feed or a carriage
 * return and line feed.  The line lives until the next call.
 */
static int next_line(line_reader *rd, FILE *fp, char **line, size_t *len)
{
    char *nl, *grown;
    size_t n, cap;

    for (;;) {
        /* Before the first read the buffer is null: nothing to search. */
        nl = nullptr;
        if (rd->len > rd->seen)
            nl = static_cast<char *>(
                memchr(rd->buf + rd->off + rd->seen, '\n', rd->len - rd->seen));
        if (nl != nullptr) {
            *line = rd->buf + rd->off;
            *len = nl - *line;
            *nl = '\0';
            rd->off += *len + 1;
            rd->len -= *len + 1;
            rd->seen = 0;
            if (*len > 0 && (*line)[*len - 1] == '\r')
                (*line)[--*len] = '\0';
            return 1;
        }
        rd->seen = rd->len;

        if (rd->off != 0) {
            memmove(rd->buf, rd->buf + rd->off, rd->len);
            rd->off = 0;
        }
        /* Room for at least one byte and the NUL behind it; grow geometrically. */
        if (rd->cap - rd->len < 2) {
            cap = rd->cap == 0 ? LINE_CHUNK : rd->cap * 2;
            if (cap <= rd->cap) {
                errno = ENOMEM;
                store_set_error("malloc()");
                return -1;
            }
            grown = static_cast<char *>(store_malloc(cap));
            if (grown == nullptr)
                return -1;
            if (rd->len != 0)
                memcpy(grown, rd->buf, rd->len);
            free(rd->buf);
            rd->buf = grown;
            rd->cap = cap;
        }

        errno = 0;
        n = fread(rd->buf + rd->len, 1, rd->cap - rd->len - 1, fp);
        if (n == 0) {
            if (ferror(fp)) {
                store_set_error("fread()");
                return -1;
            }
            if (rd->len == 0)
                return 0;
            /* A last line without a line feed. */
            *line = rd->buf;
            *len = rd->len;
            rd->buf[rd->len] = '\0';
            rd->off = rd->len = rd->seen = 0;
            return 1;
        }
        rd->digest = digest_add(rd->digest, rd->buf + rd->len, n);
        rd->len += n;
    }
}

/*
 * Turn one script line into an entry behind tail.  Returns 0 for a
 * skipped line, 1 for an entry (stored in *tail), -1 on failure.
 */
static int parse_line(command_list *list, command_entry **tail, char *line, size_t len)
{
    command_entry *e;
    int active = 1;

    /* A NUL byte ends the command's text; the rest of the line is lost. */
    len = strnlen(line, len);
    line[len] = '\0';

    if (len >= INACTIVE_MARK_LEN && memcmp(line, INACTIVE_MARK, INACTIVE_MARK_LEN) == 0) {
        line += INACTIVE_MARK_LEN;
        len -= INACTIVE_MARK_LEN;
        active = 0;
    } else if (line[0] == '#') {
        return 0;
    }
    if (len > 0 && line[len - 1] == '&')
        line[--len] = '\0';

    e = append_after(list, *tail, line, active);
    if (e == nullptr)
        return -1;
    *tail = e;
    return 1;
}

/*
 * Open path for reading without blocking (a FIFO must not wait for a
 * writer) and fstat it: the descriptor, or -1.  errno is ENOENT when there
 * is no such file; on any other failure the error text is set.
 */
static int open_and_stat(const char *path, struct stat *sb)
{
    int fd;

    errno = 0;
    fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
        if (errno != ENOENT)
            store_set_error("fopen(%s)", path);
        return -1;
    }
    errno = 0;
    if (fstat(fd, sb) == -1) {
        store_set_error("fstat(%s)", path);
        close(fd);
        return -1;
    }
    return fd;
}

/*
 * Open the script at path for reading into *fp, its status into *sb: 1
 * when it is open, 0 when there is none, -1 on failure (the error text is
 * set).  Only a regular file is read: opening a FIFO must not wait for a
 * writer, a device such as /dev/zero may never end, and a directory cannot
 * be read at all.
 */
static int open_script(const char *path, FILE **fp, struct stat *sb)
{
    int fd, flags;

    fd = open_and_stat(path, sb);
    if (fd == -1)
        return errno == ENOENT ? 0 : -1;
    if (!S_ISREG(sb->st_mode)) {
        errno = 0;
        store_set_error("%s: Not a regular file", path);
        goto fail;
    }
    /* Reading a regular file never blocks; the flag goes all the same. */
    errno = 0;
    if ((flags = fcntl(fd, F_GETFL)) == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        store_set_error("fcntl(%s)", path);
        goto fail;
    }
    errno = 0;
    *fp = fdopen(fd, "r");
    if (*fp == nullptr) {
        store_set_error("fdopen(%s)", path);
        goto fail;
    }
    return 1;

fail:
    close(fd);
    return -1;
}

/*
 * Read the script into a new list.  A missing script is an empty list;
 * every other failure is null, never a partial list, since a later save
 * would replace the script with what was read.
 */
command_list *qvxsessrun_read(void)
{
    line_reader rd = { nullptr, 0, 0, 0, 0, DIGEST_START };
    command_list *list;
    command_entry *tail = nullptr;
    char *path = nullptr, *line;
    struct stat st;
    size_t len;
    FILE *fp = nullptr;
    int r;

    list = list_new();
    if (list == nullptr)
        goto out;
    path = script_path(nullptr);
    if (path == nullptr)
        goto fail;
    r = open_script(path, &fp, &st);
    if (r == 0) /* no script: an empty list */
        goto out;
    if (r == -1)
        goto fail;
    while ((r = next_line(&rd, fp, &line, &len)) == 1)
        if (parse_line(list, &tail, line, len) == -1)
            break;
    if (r != 0)
        goto fail;
    stamp_from_stat(&list->disk, &st, rd.digest);
    goto out;

fail:
    qvxsessrun_free(list);
    list = nullptr;
out:
    if (fp != nullptr)
        fclose(fp);
    free(path);
    free(rd.buf);
    return list;
}

/*
 * Sync the directory that holds path, so that a rename in it survives a
 * power loss.  The script is already replaced: a failure is not reported.
 */
static void sync_dir(const char *path)
{
    const char *slash = strrchr(path, '/');
    char *dir;
    int fd;

    if (slash == nullptr)
        return;
    dir = strndup(path, slash == path ? 1 : slash - path);
    if (dir == nullptr)
        return;
    fd = open(dir, O_RDONLY | O_DIRECTORY);
    if (fd != -1) {
        fsync(fd);
        close(fd);
    }
    free(dir);
}

/*
 * Whether name is one that mkstemp() made from the save's template: the
 * script's name, TEMP_SUFFIX's dot and as many letters or digits as X.
 */
static bool is_temp_name(const char *name)
{
    const size_t base = strlen(SCRIPT_NAME) + 1, xs = strlen(TEMP_SUFFIX) - 1;

    if (strlen(name) != base + xs || strncmp(name, SCRIPT_NAME ".", base) != 0)
        return false;
    for (size_t i = base; i < base + xs; i++)
        if (!isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

/*
 * Remove the temporary files that saves cut short by a crash or a kill
 * left beside the script at path: regular files of ours with the save's
 * temporary name, untouched for LEFTOVER_AGE_SECONDS, so that a save that
 * another window is making now keeps its file.  Nothing is reported.
 */
static void remove_leftovers(const char *path)
{
    const char *slash = strrchr(path, '/');
    struct timespec now;
    struct dirent *de;
    struct stat st;
    char *dir;
    DIR *d;

    if (slash == nullptr || clock_gettime(CLOCK_REALTIME, &now) == -1)
        return;
    dir = strndup(path, slash == path ? 1 : slash - path);
    if (dir == nullptr)
        return;
    d = opendir(dir);
    free(dir);
    if (d == nullptr)
        return;
    while ((de = readdir(d)) != nullptr) {
        if (!is_temp_name(de->d_name))
            continue;
        if (fstatat(dirfd(d), de->d_name, &st, AT_SYMLINK_NOFOLLOW) == -1)
            continue;
        if (S_ISREG(st.st_mode) && st.st_uid == getuid()
            && st.st_mtim.tv_sec <= now.tv_sec - LEFTOVER_AGE_SECONDS)
            unlinkat(dirfd(d), de->d_name, 0);
    }
    closedir(d);
}

static int write_lines(FILE *fp, const command_list *list)
{
    const command_entry *e;

    errno = 0;
    if (fputs(SCRIPT_HEADER, fp) == EOF) {
        store_set_error("fputs()");
        return -1;
    }
    for (e = list->entries; e != nullptr; e = e->next) {
        /* A line of blanks and "&" alone is a syntax error that stops the shell. */
        if (e->text[strspn(e->text, " \t")] == '\0')
            continue;
        errno = 0;
        if (fprintf(fp, e->active ? "%s&\n" : INACTIVE_MARK "%s&\n", e->text) < 0) {
            store_set_error("fprintf()");
            return -1;
        }
    }
    return 0;
}

/*
 * The digest of the whole file open on fd, read from its start whatever
 * the descriptor's offset.  -1 on a read error (the error text is set).
 */
static int digest_fd(int fd, uint64_t *digest)
{
    char buf[8192];
    off_t off = 0;
    ssize_t n;

    *digest = DIGEST_START;
    for (;;) {
        errno = 0;
        n = pread(fd, buf, sizeof(buf), off);
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1) {
            store_set_error("read()");
            return -1;
        }
        if (n == 0)
            return 0;
        *digest = digest_add(*digest, buf, n);
        off += n;
    }
}

/*
 * Push the stream's data to the disk, note what the file now is in stamp,
 * and close it; fp is gone afterwards.
 */
static int finish_file(FILE *fp, script_stamp *stamp)
{
    struct stat st;
    uint64_t digest;

    errno = 0;
    if (fflush(fp) == EOF) {
        store_set_error("fflush()");
        goto fail;
    }
    errno = 0;
    if (fsync(fileno(fp)) == -1) {
        store_set_error("fsync()");
        goto fail;
    }
    errno = 0;
    if (fstat(fileno(fp), &st) == -1) {
        store_set_error("fstat()");
        goto fail;
    }
    if (digest_fd(fileno(fp), &digest) == -1)
        goto fail;
    stamp_from_stat(stamp, &st, digest);
    errno = 0;
    if (fclose(fp) == EOF) {
        store_set_error("fclose()");
        return -1;
    }
    return 0;

fail:
    fclose(fp);
    return -1;
}

/*
 * Write the list to a temporary file beside the script and rename it over
 * the script.  On failure the script is left as it was and the temporary
 * file is removed.
 */
int qvxsessrun_write(command_list *list)
{
    char *tmp, *path = nullptr;
    script_stamp stamp;
    FILE *fp;
    int fd;

    tmp = script_path(TEMP_SUFFIX);
    if (tmp == nullptr)
        return -1;
    errno = 0;
    fd = mkstemp(tmp);
    if (fd == -1) {
        store_set_error("mkstemp()");
        free(tmp);
        return -1;
    }
    errno = 0;
    fp = fdopen(fd, "w");
    if (fp == nullptr) {
        store_set_error("fdopen()");
        close(fd);
        goto fail;
    }
    path = script_path(nullptr);
    if (path == nullptr || write_lines(fp, list) == -1) {
        fclose(fp);
        goto fail;
    }
    if (finish_file(fp, &stamp) == -1)
        goto fail;
    errno = 0;
    if (rename(tmp, path) == -1) {
        store_set_error("rename(%s, %s)", tmp, path);
        goto fail;
    }
    sync_dir(path);
    list->disk = stamp;
    remove_leftovers(path);
    free(tmp);
    free(path);
    return 0;

fail:
    unlink(tmp);
    free(tmp);
    free(path);
    return -1;
}

/*
 * Compare the script on disk with the list's stamp: identity, size and
 * time first, the digest of the bytes only when those agree.  Anything
 * that is no longer the regular file that was read or written counts as
 * changed.  The script is opened without blocking, so a FIFO put in its
 * place cannot hang the caller.
 */
int qvxsessrun_changed_on_disk(const command_list *list)
{
    const script_stamp *was = &list->disk;
    struct stat st;
    uint64_t digest;
    char *path;
    int fd, changed = -1;

    path = script_path(nullptr);
    if (path == nullptr)
        return -1;
    fd = open_and_stat(path, &st);
    if (fd == -1 && errno == ENOENT)
        changed = was->exists;
    free(path);
    if (fd == -1)
        return changed;
    if (!was->exists || !S_ISREG(st.st_mode) || st.st_dev != was->dev || st.st_ino != was->ino
        || st.st_size != was->size || st.st_mtim.tv_sec != was->mtime.tv_sec
        || st.st_mtim.tv_nsec != was->mtime.tv_nsec) {
        changed = 1;
    } else if (digest_fd(fd, &digest) == 0) {
        changed = digest != was->digest;
    }
    close(fd);
    return changed;
}

command_list *qvxsessrun_copy(const command_list *list)
{
    command_list *copy;
    command_entry *tail = nullptr;

    copy = list_new();
    if (copy == nullptr)
        return nullptr;
    for (const command_entry *e = list->entries; e != nullptr; e = e->next) {
        tail = append_after(copy, tail, e->text, e->active);
        if (tail == nullptr) {
            qvxsessrun_free(copy);
            return nullptr;
        }
    }
    return copy;
}

bool qvxsessrun_equal(const command_list *a, const command_list *b)
{
    const command_entry *x = a->entries, *y = b->entries;

    for (; x != nullptr && y != nullptr; x = x->next, y = y->next)
        if (x->active != y->active || strcmp(x->text, y->text) != 0)
            return false;
    return x == nullptr && y == nullptr;
}

/*
 * The entry that record r alone holds, or null.  in_effect tells whether r
 * is at or before the undo cursor; the rule is written beside the records.
 */
static command_entry *held_entry(const journal_record *r, bool in_effect)
{
    return r->type == (in_effect ? JOURNAL_DELETE : JOURNAL_ADD) ? r->entry : nullptr;
}

static void records_free(journal_record *r)
{
    journal_record *next;

    for (; r != nullptr; r = next) {
        next = r->next;
        free(r->text);
        free(r);
    }
}

/*
 * Release the list, its entries and texts.  Lists with a journal are
 * released whole: the chain, then the entries that only the journal
 * holds, then the records.
 */
void qvxsessrun_free(command_list *list)
{
    command_entry *e, *next;
    bool in_effect;

    if (list == nullptr)
        return;
    for (e = list->entries; e != nullptr; e = next) {
        next = e->next;
        entry_free(e);
    }
    in_effect = list->undo_cursor != nullptr;
    for (const journal_record *r = list->undo_head; r != nullptr; r = r->next) {
        if ((e = held_entry(r, in_effect)) != nullptr)
            entry_free(e);
        if (r == list->undo_cursor)
            in_effect = false;
    }
    records_free(list->undo_head);
    records_free(list->redo_head);
    free(list);
}

/* Entry chain primitives of the journal. */

static void unlink_entry(command_list *list, command_entry *e)
{
    if (list->entries == e) {
        list->entries = e->next;
        if (e->next != nullptr)
            e->next->prev = nullptr;
        e->prev = nullptr;
    } else {
        e->prev->next = e->next;
        if (e->next != nullptr)
            e->next->prev = e->prev;
    }
}

static void link_entry(command_list *list, command_entry *e, command_entry *p, command_entry *n)
{
    if (p == nullptr)
        list->entries = e;
    else
        p->next = e;
    if (n != nullptr)
        n->prev = e;
    e->prev = p;
    e->next = n;
}

/* Move e one place towards the front. */
static void swap_with_prev(command_list *list, command_entry *e)
{
    command_entry *p = e->prev, *pp, *n;

    if (p == nullptr)
        return;
    pp = p->prev;
    n = e->next;
    if (pp == nullptr)
        list->entries = e;
    else
        pp->next = e;
    if (n != nullptr)
        n->prev = p;
    p->next = n;
    e->next = p;
    e->prev = pp;
    p->prev = e;
}

/*
 * Drop the undone operations: the records after the cursors, and the
 * entries that only they hold.
 */
static void journal_drop(command_list *list)
{
    journal_record *u, *r;
    command_entry *e;

    u = list->undo_cursor != nullptr ? list->undo_cursor->next : list->undo_head;
    r = list->redo_cursor != nullptr ? list->redo_cursor->next : list->redo_head;
    if (list->undo_cursor != nullptr)
        list->undo_cursor->next = nullptr;
    else
        list->undo_head = nullptr;
    if (list->redo_cursor != nullptr)
        list->redo_cursor->next = nullptr;
    else
        list->redo_head = nullptr;

    for (const journal_record *d = u; d != nullptr; d = d->next)
        if ((e = held_entry(d, false)) != nullptr)
            entry_free(e);
    records_free(u);
    records_free(r);
}

static journal_record *record_new(uint8_t type, command_entry *entry)
{
    journal_record *r = static_cast<journal_record *>(store_malloc(sizeof(*r)));

    if (r == nullptr)
        return nullptr;
    memset(r, 0, sizeof(*r));
    r->type = type;
    r->entry = entry;
    return r;
}

static void journal_append(journal_record **head, journal_record **cursor, journal_record *r)
{
    if (*cursor == nullptr) {
        *head = r;
    } else {
        (*cursor)->next = r;
        r->prev = *cursor;
    }
    *cursor = r;
}

/*
 * Record one operation: make its redo and undo records, drop the undone
 * operations, then put the records behind the cursors.  Both records are
 * made before anything changes, so a failure leaves the journals as they
 * were, undone operations included.
 */
static int journal_push(command_list *list, uint8_t type, command_entry *entry,
                        journal_record **undo, journal_record **redo)
{
    *redo = record_new(type, entry);
    if (*redo == nullptr)
        return -1;
    *undo = record_new(type, entry);
    if (*undo == nullptr) {
        free(*redo);
        return -1;
    }
    journal_drop(list);
    journal_append(&list->redo_head, &list->redo_cursor, *redo);
    journal_append(&list->undo_head, &list->undo_cursor, *undo);
    return 0;
}

command_entry *qvxsessrun_add_command(command_list *list, const char *text, int active)
{
    journal_record *undo, *redo;
    command_entry *e;

    e = append_entry(list, text, active);
    if (e == nullptr)
        return nullptr;
    if (journal_push(list, JOURNAL_ADD, e, &undo, &redo) == -1) {
        /* Unrecorded, the entry must not stay in the chain. */
        unlink_entry(list, e);
        entry_free(e);
        return nullptr;
    }
    redo->saved_prev = e->prev;
    redo->saved_next = e->next;
    return e;
}

command_entry *qvxsessrun_delete_command(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;

    if (entry == nullptr)
        return nullptr;
    if (journal_push(list, JOURNAL_DELETE, entry, &undo, &redo) == -1)
        return nullptr;
    undo->saved_prev = entry->prev;
    undo->saved_next = entry->next;
    unlink_entry(list, entry);
    return entry;
}

/*
 * Every copy is made before anything changes, so that a failed set
 * leaves the entry and the journal as they were.  The text is made ready
 * for its line as for an addition; the redo record keeps it so.
 */
int qvxsessrun_set_command(command_list *list, command_entry *entry, const char *text, int active)
{
    journal_record *undo, *redo;
    char *old_copy, *new_copy, *entry_copy;

    if (entry == nullptr)
        return -1;
    old_copy = store_strdup(entry->text);
    new_copy = old_copy != nullptr ? command_copy(text) : nullptr;
    entry_copy = new_copy != nullptr ? store_strdup(new_copy) : nullptr;
    if (entry_copy == nullptr)
        goto fail;
    if (journal_push(list, JOURNAL_SET, entry, &undo, &redo) == -1)
        goto fail;
    undo->text = old_copy;
    undo->active = entry->active;
    redo->text = new_copy;
    redo->active = active ? 1 : 0;
    free(entry->text);
    entry->text = entry_copy;
    entry->active = active ? 1 : 0;
    return 0;

fail:
    free(old_copy);
    free(new_copy);
    free(entry_copy);
    return -1;
}

command_entry *qvxsessrun_move_up(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;

    if (entry == nullptr)
        return nullptr;
    if (entry->prev == nullptr)
        return entry;
    if (journal_push(list, JOURNAL_MOVE_UP, entry, &undo, &redo) == -1)
        return nullptr;
    swap_with_prev(list, entry);
    return entry;
}

command_entry *qvxsessrun_move_down(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;

    if (entry == nullptr)
        return nullptr;
    if (entry->next == nullptr)
        return entry;
    if (journal_push(list, JOURNAL_MOVE_DOWN, entry, &undo, &redo) == -1)
        return nullptr;
    swap_with_prev(list, entry->next);
    return entry;
}

/*
 * The primitives that undo and redo are made of.  Each takes the record
 * being applied and returns 0, or -1 when it could not be applied and
 * changed nothing (the error text is set).
 */
typedef int (*journal_step)(command_list *list, const journal_record *r);

/* Put the entry back between the neighbours the record saved. */
static int step_link(command_list *list, const journal_record *r)
{
    link_entry(list, r->entry, r->saved_prev, r->saved_next);
    return 0;
}

static int step_unlink(command_list *list, const journal_record *r)
{
    unlink_entry(list, r->entry);
    return 0;
}

/*
 * Put a set record's text and flag into its entry.  The entry gets a
 * fresh copy, so the record can be applied again; when the copy fails
 * the entry keeps its current text.
 */
static int step_set(command_list *, const journal_record *r)
{
    char *copy = store_strdup(r->text);

    if (copy == nullptr)
        return -1;
    free(r->entry->text);
    r->entry->text = copy;
    r->entry->active = r->active;
    return 0;
}

static int step_up(command_list *list, const journal_record *r)
{
    swap_with_prev(list, r->entry);
    return 0;
}

static int step_down(command_list *list, const journal_record *r)
{
    if (r->entry->next != nullptr)
        swap_with_prev(list, r->entry->next);
    return 0;
}

/*
 * For each operation, the step that undoes it and the step that redoes
 * it: a new operation is added here and nowhere else in undo and redo.
 */
struct journal_inverse
{
    uint8_t type;
    journal_step undo;
    journal_step redo;
};

/* clang-format off */
static const journal_inverse journal_steps[] = {
    { JOURNAL_ADD,       step_unlink, step_link   },
    { JOURNAL_DELETE,    step_link,   step_unlink },
    { JOURNAL_SET,       step_set,    step_set    },
    { JOURNAL_MOVE_UP,   step_down,   step_up     },
    { JOURNAL_MOVE_DOWN, step_up,     step_down   },
};
/* clang-format on */

/* Apply record r of the undo journal (undo) or of the redo journal. */
static int apply_record(command_list *list, const journal_record *r, bool undo)
{
    if (r->entry == nullptr)
        return 0;
    for (const auto &s : journal_steps)
        if (s.type == r->type)
            return (undo ? s.undo : s.redo)(list, r);
    return 0;
}

/*
 * Undo the newest operation in effect.  A record that could not be
 * applied leaves the cursors where they are, so that journal and chain
 * still agree.
 */
void qvxsessrun_undo(command_list *list)
{
    if (list->undo_cursor == nullptr)
        return;
    if (apply_record(list, list->undo_cursor, true) == -1)
        return;
    list->undo_cursor = list->undo_cursor->prev;
    list->redo_cursor = list->redo_cursor->prev;
}

void qvxsessrun_redo(command_list *list)
{
    journal_record *r;

    if (list->redo_head == nullptr)
        return;
    r = list->redo_cursor == nullptr ? list->redo_head : list->redo_cursor->next;
    if (r == nullptr)
        return;
    if (apply_record(list, r, false) == -1)
        return;
    list->redo_cursor = r;
    list->undo_cursor = list->undo_cursor == nullptr ? list->undo_head : list->undo_cursor->next;
}

bool qvxsessrun_can_undo(const command_list *list)
{
    return list->undo_cursor != nullptr;
}

bool qvxsessrun_can_redo(const command_list *list)
{
    if (list->redo_head == nullptr)
        return false;
    return list->redo_cursor == nullptr || list->redo_cursor->next != nullptr;
}
