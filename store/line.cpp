// SPDX-License-Identifier: BSD-2-Clause
/*
 * The form of a script line: the bytes a save writes for an entry, the
 * text/tail split of a line, and what a text given by the user becomes.
 * The writer and every other reader of a line's bytes use these, so that
 * they cannot disagree.
 */
#include "store_impl.h"

#include <stdlib.h>
#include <string.h>

static bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

/* Whether the byte at `at` is escaped: an odd run of backslashes before it. */
static bool escaped_at(const char *bytes, size_t at)
{
    size_t slashes = 0;

    while (slashes < at && bytes[at - 1 - slashes] == '\\')
        slashes++;
    return slashes % 2 == 1;
}

/*
 * The length of text without the blanks and CRs at its end, which mean
 * nothing to the user; one that a backslash escapes (where the text ends
 * in code, not in a comment) is part of the command.
 */
static size_t trim_line_end(const char *text, size_t len, int escapes)
{
    size_t f = len;

    while (f > 0 && (is_blank(text[f - 1]) || text[f - 1] == '\r'))
        f--;
    return f < len && escapes && escaped_at(text, f) ? f + 1 : f;
}

/* The same for a text that the user gives, whose line feeds at the end go as well. */
static size_t trim_given_end(const char *text, size_t len, int escapes)
{
    size_t f = len;

    while (f > 0 && (is_blank(text[f - 1]) || text[f - 1] == '\r' || text[f - 1] == '\n'))
        f--;
    return f < len && text[f] != '\n' && escapes && escaped_at(text, f) ? f + 1 : f;
}

/*
 * The length of the form at the end of a line: blanks and CRs, the final
 * "&" when amp says the shell takes it as one, blanks and CRs again.  A
 * byte that a backslash escapes stays with the command, unless the line
 * ends in a comment (escapes is 0), where a backslash is just a byte.
 */
size_t split_tail(const char *line, size_t len, int amp, int escapes)
{
    size_t f = trim_line_end(line, len, escapes);

    if (amp && f > 0 && line[f - 1] == '&')
        f = trim_line_end(line, f - 1, escapes);
    return len - f;
}

/* Where the form starts in a tail: anything before it came from a NUL on. */
static size_t form_start(const char *tail, size_t len)
{
    return tail == nullptr ? 0 : len - split_tail(tail, len, 1, 1);
}

static bool only_white(const char *bytes, size_t len)
{
    for (size_t i = 0; i < len; i++)
        if (!is_blank(bytes[i]) && bytes[i] != '\r')
            return false;
    return true;
}

/*
 * Whether a save writes a line for the entry.  A command the user left
 * empty has none; one read from the script keeps its line, unless it was
 * switched on and its line holds nothing but blanks: that line would read
 * back as no command at all.
 */
bool entry_written(const command_entry *e)
{
    if (!e->as_read && e->text[strspn(e->text, " \t")] == '\0')
        return false;
    return !e->active || !only_white(e->text, strlen(e->text)) || !only_white(e->tail, e->tail_len);
}

/* bytes, with the inactive mark in front of every line they start when mark is set. */
static int add_marked(byte_buf *out, const char *bytes, size_t len, bool mark)
{
    const char *end = bytes + len, *nl;

    if (len == 0)
        return 0;
    while (mark && (nl = static_cast<const char *>(memchr(bytes, '\n', end - bytes))) != nullptr) {
        if (buf_add(out, bytes, nl + 1 - bytes) == -1
            || buf_add(out, INACTIVE_MARK, INACTIVE_MARK_LEN) == -1)
            return -1;
        bytes = nl + 1;
    }
    return buf_add(out, bytes, end - bytes);
}

/* The entry's line, without the lines above it and its line feed. */
int render_line(byte_buf *out, const command_entry *e)
{
    const bool mark = !e->active;

    if (!entry_written(e))
        return 0;
    if (mark && buf_add(out, INACTIVE_MARK, INACTIVE_MARK_LEN) == -1)
        return -1;
    if (add_marked(out, e->text, strlen(e->text), mark) == -1)
        return -1;
    return add_marked(out, e->tail, e->tail_len, mark);
}

/*
 * The whole script.  A line that had no line feed, the file's last, gets
 * one when something follows it now; a script whose first line was not
 * "#!" gets "#!/bin/sh" in front.  starts, when not null, gets the offset
 * at which each entry's lines begin (the lines above it first).
 */
int render_list(byte_buf *out, const command_list *list, size_t *starts)
{
    bool need_nl;
    size_t i = 0;

    if (list->header != nullptr) {
        if (buf_add(out, list->header, list->header_len) == -1)
            return -1;
    } else if (buf_add(out, DEFAULT_HEADER, strlen(DEFAULT_HEADER)) == -1) {
        return -1;
    }
    need_nl = out->len > 0 && out->p[out->len - 1] != '\n';
    for (const command_entry *e = list->entries; e != nullptr; e = e->next, i++) {
        if (need_nl && (e->lead_len > 0 || entry_written(e))) {
            if (buf_add(out, "\n", 1) == -1)
                return -1;
            need_nl = false;
        }
        if (starts != nullptr)
            starts[i] = i == 0 ? 0 : out->len;
        if (e->lead_len > 0) {
            if (buf_add(out, e->lead, e->lead_len) == -1)
                return -1;
            need_nl = e->lead[e->lead_len - 1] != '\n';
        }
        if (!entry_written(e))
            continue;
        if ((need_nl && buf_add(out, "\n", 1) == -1) || render_line(out, e) == -1)
            return -1;
        need_nl = !e->newline;
        if (e->newline && buf_add(out, "\n", 1) == -1)
            return -1;
    }
    if (list->trailer_len > 0)
        if ((need_nl && buf_add(out, "\n", 1) == -1)
            || buf_add(out, list->trailer, list->trailer_len) == -1)
            return -1;
    return 0;
}

/* The buffer's bytes for the caller, or null when making them failed (r is -1). */
static char *buf_take(byte_buf *out, int r, size_t *len)
{
    if (r == -1 || buf_add(out, "", 0) == -1) {
        free(out->p);
        return nullptr;
    }
    *len = out->len;
    return out->p;
}

char *qvxsessrun_line(const command_entry *entry, size_t *len)
{
    byte_buf out = { nullptr, 0, 0 };

    return buf_take(&out, render_line(&out, entry), len);
}

char *qvxsessrun_render(const command_list *list, size_t *len)
{
    byte_buf out = { nullptr, 0, 0 };

    return buf_take(&out, render_list(&out, list, nullptr), len);
}

char *qvxsessrun_render_rows(const command_list *list, size_t *len, size_t *starts)
{
    byte_buf out = { nullptr, 0, 0 };

    return buf_take(&out, render_list(&out, list, starts), len);
}

/*
 * Turn into blanks the line feeds of text at which the shell's reading of
 * a line ends, so that the text stays one command; those inside a quote, a
 * here-document or behind a backslash stay.  Joining lines can end a quote
 * elsewhere, so this goes on until no such line feed is left.
 */
static void join_closed_lines(char *text)
{
    shell_scanner s;
    bool joined;

    do {
        const size_t len = strlen(text);
        char *p = text, *nl;

        joined = false;
        scan_reset(&s);
        while ((nl = static_cast<char *>(memchr(p, '\n', text + len - p))) != nullptr) {
            scan_line(&s, p, nl - p);
            if (scan_open(&s) == SCAN_CLOSED) {
                *nl = ' ';
                joined = true;
                break;
            }
            p = nl + 1;
        }
    } while (joined);
}

/*
 * A copy of a command text as given by the user, made ready for its
 * script line: one command, without trailing blanks, CRs or line feeds, and without the
 * final "&"s, of which its line gets one anyway (*wants_amp tells whether
 * there was one).  The
 * "&" goes only where the shell takes it as one, not the last of "&&" nor
 * one escaped by a backslash or inside a comment.
 */
char *command_copy(const char *text, int *wants_amp)
{
    char *copy = store_strdup(text);
    shell_scanner s;
    line_scan scan;
    size_t len;

    *wants_amp = 0;
    if (copy == nullptr)
        return nullptr;
    join_closed_lines(copy);
    len = strlen(copy);
    scan_text(&s, copy, len, &scan);
    len = trim_given_end(copy, len, !scan.comment);
    copy[len] = '\0';
    for (;;) {
        scan_text(&s, copy, len, &scan);
        if (scan.open != SCAN_CLOSED || s.body_last || !scan.background || scan.comment)
            return copy;
        *wants_amp = 1;
        len = trim_line_end(copy, len - 1, 1);
        copy[len] = '\0';
    }
}

/*
 * The tail for a text that replaces an entry's: its form (blanks, "&",
 * CR) stays, with an "&" added when amp asks for one; what a NUL had cut
 * off the old text goes.  A text that ends in a here-document's last line
 * gets no tail, which would change that line.  A new buffer of *len bytes.
 */
char *tail_for_text(const char *text, const char *tail, size_t tail_len, int amp, size_t *len)
{
    shell_scanner s;
    line_scan scan;
    const size_t start = form_start(tail, tail_len);
    const char *form = tail != nullptr ? tail + start : "";
    size_t form_len = tail_len - start, blanks = 0;
    char *out;

    scan_text(&s, text, strlen(text), &scan);
    if (s.body_last)
        form_len = 0;
    amp = amp && !s.body_last && memchr(form, '&', form_len) == nullptr;
    out = static_cast<char *>(store_malloc(form_len + amp + 1));
    if (out == nullptr)
        return nullptr;
    while (blanks < form_len && is_blank(form[blanks]))
        blanks++;
    memcpy(out, form, blanks);
    if (amp)
        out[blanks] = '&';
    memcpy(out + blanks + amp, form + blanks, form_len - blanks);
    *len = form_len + amp;
    out[*len] = '\0';
    return out;
}

/* How the shell runs text followed by tail. */
static void scan_body(const char *text, const char *tail, size_t tail_len, line_scan *scan)
{
    byte_buf body = { nullptr, 0, 0 };

    if (buf_add(&body, text, strlen(text)) == -1 || buf_add(&body, tail, tail_len) == -1) {
        memset(scan, 0, sizeof(*scan)); /* no memory: a line that cannot change */
        free(body.p);
        return;
    }
    qvxsessrun_scan(body.p, body.len, scan);
    free(body.p);
}

/*
 * Whether the entry runs in the background, and whether adding or
 * removing the "&" of its form would change that: it cannot where the
 * "&" that counts is elsewhere (before a comment, in front of a
 * here-document's lines), or where no "&" may follow (after "then", in a
 * comment, behind an operator).
 */
int qvxsessrun_background(const command_entry *entry, int *fixed)
{
    line_scan now, then;
    size_t len;
    char *tail;

    scan_body(entry->text, entry->tail, entry->tail_len, &now);
    if (fixed == nullptr)
        return now.background;
    *fixed = 1;
    if (!now.background && !now.can_take_amp)
        return now.background;
    tail = tail_with_amp(entry, !now.background, &len);
    if (tail != nullptr) {
        scan_body(entry->text, tail, len, &then);
        *fixed = then.background == now.background;
        free(tail);
    }
    return now.background;
}

/*
 * The entry's tail with its final "&" added or removed, in a new buffer
 * of *len bytes.  A new "&" goes behind the blanks of the form, in front
 * of a CR; a removed one takes the blanks behind it along.
 */
char *tail_with_amp(const command_entry *e, int background, size_t *len)
{
    const size_t start = form_start(e->tail, e->tail_len);
    const char *tail = e->tail != nullptr ? e->tail : "";
    const char *amp = static_cast<const char *>(memchr(tail + start, '&', e->tail_len - start));
    size_t cut = start, rest;
    byte_buf out = { nullptr, 0, 0 };

    if (amp != nullptr) {
        cut = amp - tail;
        for (rest = cut + 1; rest < e->tail_len && is_blank(tail[rest]); rest++)
            ;
    } else {
        while (cut < e->tail_len && is_blank(tail[cut]))
            cut++;
        rest = cut;
    }
    if (buf_add(&out, tail, cut) == -1 || (background && buf_add(&out, "&", 1) == -1)
        || buf_add(&out, tail + rest, e->tail_len - rest) == -1 || buf_add(&out, "", 0) == -1) {
        free(out.p);
        return nullptr;
    }
    *len = out.len;
    return out.p;
}
