// SPDX-License-Identifier: BSD-2-Clause
/*
 * The form of a script line: the bytes a save writes for an entry, the
 * text/tail split of a line, and what a text given by the user becomes.
 * The writer and every other reader of a line's bytes use these, so that
 * they cannot disagree.
 */
#include "store/store_impl.h"

#include <stdlib.h>
#include <string.h>

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

    while (f > 0 && (qvxsessrun_is_blank(text[f - 1]) || text[f - 1] == '\r'))
        f--;
    return f < len && escapes && escaped_at(text, f) ? f + 1 : f;
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

static bool only_white(const char *bytes, size_t len)
{
    for (size_t i = 0; i < len; i++)
        if (!qvxsessrun_is_blank(bytes[i]) && bytes[i] != '\r')
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
    if (!e->as_read && only_white(e->text, e->text_len))
        return false;
    return !e->active || !only_white(e->text, e->text_len) || e->amp_len > 0
        || !only_white(e->tail, e->tail_len);
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
    const size_t at = e->amp_len > 0 ? e->amp_at : e->text_len;

    if (!entry_written(e))
        return 0;
    if (mark && buf_add(out, INACTIVE_MARK, INACTIVE_MARK_LEN) == -1)
        return -1;
    if (add_marked(out, e->text, at, mark) == -1 || add_marked(out, e->amp, e->amp_len, mark) == -1
        || add_marked(out, e->text + at, e->text_len - at, mark) == -1)
        return -1;
    return add_marked(out, e->tail, e->tail_len, mark);
}

/* Lines that stand apart from a command's: a line that had no line feed
 * before them gets one. */
static int add_lines(byte_buf *out, const char *bytes, size_t len, bool *need_nl)
{
    if (len == 0)
        return 0;
    if ((*need_nl && buf_add(out, "\n", 1) == -1) || buf_add(out, bytes, len) == -1)
        return -1;
    *need_nl = bytes[len - 1] != '\n';
    return 0;
}

/*
 * The whole script.  A line that had no line feed, the file's last, gets
 * one when something follows it now; a script whose first line was not
 * "#!" gets DEFAULT_HEADER in front.  starts, when not null, gets the offset
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
        if (add_lines(out, e->lead, e->lead_len, &need_nl) == -1)
            return -1;
        if (entry_written(e)) {
            if ((need_nl && buf_add(out, "\n", 1) == -1) || render_line(out, e) == -1)
                return -1;
            need_nl = !e->newline;
            if (e->newline && buf_add(out, "\n", 1) == -1)
                return -1;
        }
        if (add_lines(out, e->after, e->after_len, &need_nl) == -1)
            return -1;
    }
    return add_lines(out, list->trailer, list->trailer_len, &need_nl);
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

/* The kinds of script lines, as the reader takes them. */

bool line_has_mark(const char *line, size_t len)
{
    return len >= INACTIVE_MARK_LEN && memcmp(line, INACTIVE_MARK, INACTIVE_MARK_LEN) == 0;
}

/* A line of blanks (and CRs), or a comment that is not a switched-off
 * command, indented or not: no command.  The shell drops NUL bytes. */
bool line_is_trivia(const char *line, size_t len)
{
    size_t i = 0;

    if (line_has_mark(line, len))
        return false;
    while (i < len && (qvxsessrun_is_blank(line[i]) || line[i] == '\0'))
        i++;
    if (i < len && line[i] == '#')
        return true;
    while (i < len && (qvxsessrun_is_blank(line[i]) || line[i] == '\r' || line[i] == '\0'))
        i++;
    return i == len;
}

int qvxsessrun_line_kind(const char *line, size_t len)
{
    const char *nl = static_cast<const char *>(memchr(line, '\n', len));

    if (nl != nullptr)
        len = size_t(nl - line);
    if (line_has_mark(line, len))
        return LINE_INACTIVE;
    return line_is_trivia(line, len) ? LINE_TRIVIA : LINE_COMMAND;
}

/* White space as the C locale has it: blanks, line ends, tabs and feeds. */
static bool is_white(char c)
{
    return qvxsessrun_is_blank(c) || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int qvxsessrun_line_form(const char *line, size_t len)
{
    size_t from = 0, to = len;
    int form = 0;

    while (from < to && is_white(line[from]))
        from++;
    while (to > from && is_white(line[to - 1]))
        to--;
    if (from < to && line[from] == '#')
        form |= LINE_FORM_HASH_FIRST;
    if (from < to && line[to - 1] == '&')
        form |= LINE_FORM_AMP_LAST;
    return form;
}
