// SPDX-License-Identifier: BSD-2-Clause
/*
 * Reading the script: lines out of the file, and entries out of lines.
 * Every byte read ends up somewhere, so that a save without edits gives
 * the file back: the "#!" line in the list's header, comment and blank
 * lines in the lead of the command below them (or the list's trailer),
 * and a command's line in its entry's text and tail.
 */
#include "store/store_impl.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define LINE_CHUNK 2048

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
 * Hand out the next line of fp, read through rd, in line and len, and
 * whether a line feed ended it in *lf: 1 for a line, 0 at the end of the
 * file, -1 on failure (the error text is set).  The line may hold NUL
 * bytes and a CR; it lives until the next call.
 */
static int next_line(line_reader *rd, FILE *fp, char **line, size_t *len, bool *lf)
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
            *lf = true;
            rd->off += *len + 1;
            rd->len -= *len + 1;
            rd->seen = 0;
            return 1;
        }
        rd->seen = rd->len;

        if (rd->off != 0) {
            memmove(rd->buf, rd->buf + rd->off, rd->len);
            rd->off = 0;
        }
        /* Room for at least one byte; grow geometrically. */
        if (rd->cap - rd->len < 1) {
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
        n = fread(rd->buf + rd->len, 1, rd->cap - rd->len, fp);
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
            *lf = false;
            rd->off = rd->len = rd->seen = 0;
            return 1;
        }
        rd->digest = digest_add(rd->digest, rd->buf + rd->len, n);
        rd->len += n;
    }
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
    entry_builder b;
    command_list *list;
    char *path = nullptr, *line;
    struct stat st;
    size_t len;
    FILE *fp = nullptr;
    bool lf;
    int r;

    list = list_new();
    builder_start(&b, list, 0, true);
    if (list == nullptr)
        goto out;
    path = script_path(nullptr);
    if (path == nullptr)
        goto fail;
    r = open_script(path, &fp, &st);
    if (r == 0) { /* no script: an empty list */
        list->disk.known = 1;
        goto out;
    }
    if (r == -1)
        goto fail;
    while ((r = next_line(&rd, fp, &line, &len, &lf)) == 1)
        if (builder_line(&b, line, len, lf) == -1)
            break;
    if (r != 0 || builder_finish(&b) == -1)
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
    builder_free(&b);
    return list;
}
