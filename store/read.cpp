// SPDX-License-Identifier: BSD-2-Clause
/*
 * Reading the script: lines out of the file, and entries out of lines.
 * Every byte read ends up somewhere, so that a save without edits gives
 * the file back: the "#!" line in the list's header, comment and blank
 * lines in the lead of the command below them (or the list's trailer),
 * and a command's line in its entry's text and tail.
 */
#include "store_impl.h"

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

/* The entries being made out of the lines, owned by the read. */
struct entry_builder
{
    command_list *list;
    command_entry *last; /* the last entry made */
    byte_buf lead; /* comment and blank lines waiting for the next command */
    byte_buf body; /* the command's line being read, its lines joined by line feeds */
    shell_scanner scan;
    bool first_line;
    bool building;
    bool active;
    bool newline; /* the command's last line had a line feed */
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

static bool has_mark(const char *line, size_t len)
{
    return len >= INACTIVE_MARK_LEN && memcmp(line, INACTIVE_MARK, INACTIVE_MARK_LEN) == 0;
}

/* A blank line, or a comment that is not a switched-off command: no command. */
static bool is_trivia(const char *line, size_t len)
{
    if (len > 0 && line[0] == '#')
        return !has_mark(line, len);
    for (size_t i = 0; i < len; i++)
        if (line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            return false;
    return true;
}

int qvxsessrun_line_kind(const char *line, size_t len)
{
    const char *nl = static_cast<const char *>(memchr(line, '\n', len));

    if (nl != nullptr)
        len = size_t(nl - line);
    if (has_mark(line, len))
        return LINE_INACTIVE;
    return is_trivia(line, len) ? LINE_TRIVIA : LINE_COMMAND;
}

static void take_buf(byte_buf *b, char **to, size_t *to_len)
{
    *to = b->len > 0 ? b->p : nullptr;
    *to_len = b->len;
    if (b->len == 0)
        free(b->p);
    b->p = nullptr;
    b->len = b->cap = 0;
}

/*
 * The command being read is complete: split its line into text and tail
 * and make the entry, with the comment lines above it as its lead.  The
 * text ends at a NUL byte, which no C string can hold; the rest is tail.
 */
static int finish_entry(entry_builder *b)
{
    const char *body = b->body.p != nullptr ? b->body.p : "";
    const bool closed = scan_open(&b->scan) == SCAN_CLOSED && !b->scan.body_last;
    const bool amp = closed && b->scan.background && !b->scan.comment;
    size_t text_len
        = b->body.len - (closed ? split_tail(body, b->body.len, amp, !b->scan.comment) : 0);
    const char *nul = static_cast<const char *>(memchr(body, '\0', text_len));
    command_entry *e;

    if (nul != nullptr)
        text_len = nul - body;
    e = entry_new();
    if (e == nullptr)
        return -1;
    e->active = b->active;
    e->newline = b->newline;
    e->as_read = 1;
    e->text = store_memdup(body, text_len);
    if (e->text != nullptr && b->body.len > text_len) {
        e->tail = store_memdup(body + text_len, b->body.len - text_len);
        e->tail_len = b->body.len - text_len;
    }
    if (e->text == nullptr || (b->body.len > text_len && e->tail == nullptr)) {
        entry_free(e);
        return -1;
    }
    take_buf(&b->lead, &e->lead, &e->lead_len);
    entry_link_after(b->list, b->last, e);
    b->last = e;
    b->building = false;
    b->body.len = 0;
    return 0;
}

/* One more line of the command being read, or the first of a new one. */
static int add_to_entry(entry_builder *b, const char *line, size_t len, bool lf)
{
    if (b->building && buf_add(&b->body, "\n", 1) == -1)
        return -1;
    if (buf_add(&b->body, line, len) == -1)
        return -1;
    scan_line(&b->scan, line, len);
    b->building = true;
    b->newline = lf;
    return 0;
}

static int take_line(entry_builder *b, const char *line, size_t len, bool lf)
{
    const bool first = b->first_line;

    b->first_line = false;
    if (first && len >= 2 && line[0] == '#' && line[1] == '!') {
        b->list->header = store_memdup(line, len + lf);
        b->list->header_len = len + lf;
        if (b->list->header != nullptr && lf)
            b->list->header[len] = '\n';
        return b->list->header == nullptr ? -1 : 0;
    }
    /* The shell is still reading the command: the line is part of it, a
     * switched-off one's only when it is switched off too. */
    if (b->building && scan_open(&b->scan) != SCAN_CLOSED) {
        if (b->active)
            return add_to_entry(b, line, len, lf);
        if (has_mark(line, len))
            return add_to_entry(b, line + INACTIVE_MARK_LEN, len - INACTIVE_MARK_LEN, lf);
    }
    if (b->building && finish_entry(b) == -1)
        return -1;
    if (is_trivia(line, len))
        return buf_add(&b->lead, line, len) == -1 || (lf && buf_add(&b->lead, "\n", 1) == -1) ? -1
                                                                                              : 0;
    b->active = !has_mark(line, len);
    scan_reset(&b->scan);
    if (b->active)
        return add_to_entry(b, line, len, lf);
    return add_to_entry(b, line + INACTIVE_MARK_LEN, len - INACTIVE_MARK_LEN, lf);
}

/* The end of the file: the last command, and the comment lines after it. */
static int finish_list(entry_builder *b)
{
    if (b->building && finish_entry(b) == -1)
        return -1;
    take_buf(&b->lead, &b->list->trailer, &b->list->trailer_len);
    return 0;
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
    entry_builder b = {};
    command_list *list;
    char *path = nullptr, *line;
    struct stat st;
    size_t len;
    FILE *fp = nullptr;
    bool lf;
    int r;

    list = list_new();
    if (list == nullptr)
        goto out;
    b.list = list;
    b.first_line = true;
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
        if (take_line(&b, line, len, lf) == -1)
            break;
    if (r != 0 || finish_list(&b) == -1)
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
    free(b.lead.p);
    free(b.body.p);
    return list;
}
