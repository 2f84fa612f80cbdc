// SPDX-License-Identifier: BSD-2-Clause
/*
 * Entries out of script lines.  The shell scanner says where each command
 * ends: the lines up to there are one entry, its text and the form of its
 * line; the comment and blank lines before a command, at the script's top
 * level, are its lead; a switched-off command is its lines behind the
 * marker.  Every byte goes somewhere, so that the entries give the lines
 * back.  The reader of the script and the edits of a command share this.
 */
#include "store/store_impl.h"

#include <stdlib.h>
#include <string.h>

void builder_start(entry_builder *b, command_list *list, int bash, bool header)
{
    memset(b, 0, sizeof(*b));
    b->list = list;
    b->bash = bash;
    b->header = header;
}

void builder_free(entry_builder *b)
{
    free(b->lead.p);
    free(b->body.p);
    b->lead.p = b->body.p = nullptr;
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
 * Where a line's final "&" stands in front of a comment that begins at
 * comment_at: the bytes [*from, *to) to take out with it, so that what is
 * left still has a blank before the comment.  False when there is no such
 * "&", no command before it, or taking it out would join the command and
 * the comment.
 */
bool amp_before_comment(const char *text, size_t comment_at, size_t *from, size_t *to)
{
    size_t end = comment_at, amp, start;

    while (end > 0 && qvxsessrun_is_blank(text[end - 1]))
        end--;
    if (end == 0 || text[end - 1] != '&')
        return false;
    amp = start = end - 1;
    while (start > 0 && qvxsessrun_is_blank(text[start - 1]))
        start--;
    if (start == 0) /* an "&" with no command: no form of one */
        return false;
    if (end < comment_at) { /* blanks after it: those before it go along */
        *from = start;
        *to = end;
    } else if (start < amp) { /* blanks before it only: they stay */
        *from = amp;
        *to = end;
    } else {
        return false;
    }
    return true;
}

/*
 * The command being read is complete: split its lines into text and form
 * and make the entry, with the comment lines above it as its lead.
 */
static int finish_entry(entry_builder *b)
{
    const char *body = b->body.p != nullptr ? b->body.p : "";
    const size_t len = b->body.len;
    line_scan scan;
    size_t text_len = len, amp_from = 0, amp_to = 0;
    command_entry *e;

    scan_result(&b->scan, &scan);
    const bool closed = scan.open == SCAN_CLOSED && !b->scan.body_last;
    const size_t comment_at = b->line_start + scan.comment_at;
    if (closed && scan.comment && !scan.has_command) {
        /* A switched-off comment: an "&" at its end is its line's form. */
        text_len = len - split_tail(body, len, 1, 0);
    } else if (closed && scan.comment) {
        text_len = len - split_tail(body, len, 0, 0);
        if (scan.background && !amp_before_comment(body, comment_at, &amp_from, &amp_to))
            amp_from = amp_to = 0;
    } else if (closed) {
        text_len = len - split_tail(body, len, scan.background, 1);
    }

    e = entry_new();
    if (e == nullptr)
        return -1;
    e->active = b->active;
    e->newline = b->newline;
    e->as_read = 1;
    e->text_len = text_len - (amp_to - amp_from);
    e->text = static_cast<char *>(store_malloc(e->text_len + 1));
    if (e->text != nullptr) {
        memcpy(e->text, body, amp_from);
        memcpy(e->text + amp_from, body + amp_to, text_len - amp_to);
        e->text[e->text_len] = '\0';
    }
    if (e->text != nullptr && amp_to > amp_from) {
        e->amp = store_memdup(body + amp_from, amp_to - amp_from);
        e->amp_len = amp_to - amp_from;
        e->amp_at = amp_from;
    }
    if (e->text != nullptr && len > text_len) {
        e->tail = store_memdup(body + text_len, len - text_len);
        e->tail_len = len - text_len;
    }
    if (e->text == nullptr || (e->amp_len > 0 && e->amp == nullptr)
        || (len > text_len && e->tail == nullptr)) {
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
    b->line_start = b->body.len;
    if (buf_add(&b->body, line, len) == -1)
        return -1;
    scan_line(&b->scan, line, len);
    b->building = true;
    b->newline = lf;
    return 0;
}

/* The "#!" line, with its line feed: the list's header. */
static int take_header(entry_builder *b, const char *line, size_t len, bool lf)
{
    b->list->header = store_memdup(line, len + lf);
    if (b->list->header == nullptr)
        return -1;
    b->list->header_len = len + lf;
    if (lf)
        b->list->header[len] = '\n';
    b->bash = header_names_bash(line, len);
    return 0;
}

int builder_line(entry_builder *b, const char *line, size_t len, bool lf)
{
    const bool first = !b->started;

    b->started = true;
    if (first && b->header && len >= 2 && line[0] == '#' && line[1] == '!')
        return take_header(b, line, len, lf);
    /* The shell is still reading the command: the line is part of it, a
     * switched-off one's only when it is switched off too. */
    if (b->building && scan_open(&b->scan) != SCAN_CLOSED) {
        if (b->active)
            return add_to_entry(b, line, len, lf);
        if (line_has_mark(line, len))
            return add_to_entry(b, line + INACTIVE_MARK_LEN, len - INACTIVE_MARK_LEN, lf);
    }
    if (b->building && finish_entry(b) == -1)
        return -1;
    if (line_is_trivia(line, len))
        return buf_add(&b->lead, line, len) == -1 || (lf && buf_add(&b->lead, "\n", 1) == -1) ? -1
                                                                                              : 0;
    b->active = !line_has_mark(line, len);
    scan_reset(&b->scan, b->bash);
    if (b->active)
        return add_to_entry(b, line, len, lf);
    return add_to_entry(b, line + INACTIVE_MARK_LEN, len - INACTIVE_MARK_LEN, lf);
}

/* The end of the lines: the last command, and the comment lines after it. */
int builder_finish(entry_builder *b)
{
    if (b->building && finish_entry(b) == -1)
        return -1;
    take_buf(&b->lead, &b->list->trailer, &b->list->trailer_len);
    return 0;
}

/*
 * The entries that the lines of text make, as the reader would make them
 * of the same lines in the script, in a list of their own; the lines after
 * the last command are its trailer.  Null on failure.
 */
static command_list *read_lines(const char *text, size_t len, int bash, bool header)
{
    command_list *list = list_new();
    entry_builder b;
    const char *end = text + len, *p = text, *nl;

    if (list == nullptr)
        return nullptr;
    builder_start(&b, list, bash, header);
    for (; p < end; p = nl != nullptr ? nl + 1 : end) {
        nl = static_cast<const char *>(memchr(p, '\n', end - p));
        if (builder_line(&b, p, (nl != nullptr ? nl : end) - p, nl != nullptr) == -1)
            goto fail;
    }
    if (builder_finish(&b) == -1)
        goto fail;
    builder_free(&b);
    return list;

fail:
    builder_free(&b);
    qvxsessrun_free(list);
    return nullptr;
}

command_list *read_text(const char *text, size_t len, int bash)
{
    return read_lines(text, len, bash, false);
}

command_list *qvxsessrun_parse(const char *bytes, size_t len)
{
    return read_lines(bytes, len, 0, true);
}
