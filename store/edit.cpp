// SPDX-License-Identifier: BSD-2-Clause
/*
 * What a text typed or pasted into a row becomes, and the final "&" of a
 * command.  The text is read as the reader would read the same lines in
 * the script, so that what a save writes reads back as the same rows: a
 * text of several commands becomes one entry per command, comment lines
 * before a command go above it, those after the last one below it.  A
 * row keeps the form of its line (its "&" or the lack of one, blanks, a
 * CR); a command that the user added gets an "&", as a new row does.  An
 * "&" goes where the shell takes it: in front of a comment at the end,
 * never behind a ";", an operator or a word that wants more.
 */
#include "store/store_impl.h"

#include <stdlib.h>
#include <string.h>

/* The form of a line in two parts: its "&" with the blanks before it
 * (empty when there is none), and what follows, which is all of the tail
 * when the "&" stands in front of a comment. */
struct form_parts
{
    const char *amp;
    size_t amp_len;
    const char *end;
    size_t end_len;
    bool in_tail; /* the "&" is the tail's */
};

static form_parts parts_of(const command_entry *e)
{
    const char *tail = e->tail != nullptr ? e->tail : "";
    const char *amp = static_cast<const char *>(memchr(tail, '&', e->tail_len));

    if (e->amp_len > 0)
        return { e->amp, e->amp_len, tail, e->tail_len, false };
    if (amp == nullptr)
        return { "", 0, tail, e->tail_len, false };
    return { tail, size_t(amp + 1 - tail), amp + 1, e->tail_len - size_t(amp + 1 - tail), true };
}

static void scan_bytes(const char *bytes, size_t len, int bash, line_scan *out)
{
    shell_scanner s;

    scan_text(&s, bytes, len, bash, out);
}

/* Replace the owned bytes *to by a copy of len bytes; -1 with *to as it was. */
static int replace_bytes(char **to, size_t *to_len, const char *bytes, size_t len)
{
    char *copy = len > 0 ? store_memdup(bytes, len) : nullptr;

    if (len > 0 && copy == nullptr)
        return -1;
    free(*to);
    *to = copy;
    *to_len = len;
    return 0;
}

/* Take out [from, to) of the entry's text. */
static void cut_text(command_entry *e, size_t from, size_t to)
{
    memmove(e->text + from, e->text + to, e->text_len - to + 1);
    e->text_len -= to - from;
}

/* Put a blank in front of the comment at `at` in the entry's text; -1 when
 * there is no memory. */
static int blank_before(command_entry *e, size_t at)
{
    char *grown = static_cast<char *>(store_malloc(e->text_len + 2));

    if (grown == nullptr)
        return -1;
    memcpy(grown, e->text, at);
    grown[at] = ' ';
    memcpy(grown + at + 1, e->text + at, e->text_len - at + 1);
    free(e->text);
    e->text = grown;
    e->text_len++;
    return 0;
}

/* A command that ends in a ";" (in front of a comment or not) loses it,
 * so that an "&" can take its place: "true;" runs as "true &". */
static void drop_final_semicolon(command_entry *e, const line_scan *scan)
{
    size_t end = scan->comment ? scan->comment_at : e->text_len, from;

    while (end > 0 && qvxsessrun_is_blank(e->text[end - 1]))
        end--;
    if (end == 0 || e->text[end - 1] != ';' || (end > 1 && e->text[end - 2] == ';'))
        return;
    from = end - 1;
    while (from > 0 && (qvxsessrun_is_blank(e->text[from - 1]) || e->text[from - 1] == '\r'))
        from--;
    cut_text(e, from, scan->comment ? end : e->text_len);
}

/* The "&" in front of the comment that ends the entry's text, which
 * begins at comment_at: behind the command, with a blank in front of it,
 * and the comment keeps a blank in front of it too, so that the line
 * reads back as the same text. */
static int amp_in_front(command_entry *e, form_parts form, size_t comment_at)
{
    size_t cut = comment_at;

    while (cut > 0 && qvxsessrun_is_blank(e->text[cut - 1]))
        cut--;
    if (cut == comment_at) {
        if (blank_before(e, cut) == -1)
            return -1;
        comment_at++;
    }
    if (form.amp_len == 0 || !qvxsessrun_is_blank(form.amp[0])) {
        form.amp = " &";
        form.amp_len = 2;
    }
    if (replace_bytes(&e->amp, &e->amp_len, form.amp, form.amp_len) == -1)
        return -1;
    e->amp_at = cut;
    return replace_bytes(&e->tail, &e->tail_len, form.end, form.end_len);
}

/* A final "&" typed at the end of the text, which the form gives anyway:
 * taken out, with the blanks in front of it.  False when there is none. */
static bool drop_final_amp(command_entry *e, int bash)
{
    line_scan scan;
    size_t from, to, end;

    scan_bytes(e->text, e->text_len, bash, &scan);
    if (scan.open != SCAN_CLOSED || !scan.background)
        return false;
    if (scan.comment) {
        if (!amp_before_comment(e->text, scan.comment_at, &from, &to))
            return false;
        cut_text(e, from, to);
        return true;
    }
    end = e->text_len;
    while (end > 0 && (qvxsessrun_is_blank(e->text[end - 1]) || e->text[end - 1] == '\r'))
        end--;
    if (end == 0 || e->text[end - 1] != '&')
        return false;
    from = end - 1;
    while (from > 0 && (qvxsessrun_is_blank(e->text[from - 1]) || e->text[from - 1] == '\r'))
        from--;
    cut_text(e, from, e->text_len);
    return true;
}

/*
 * Give the entry's text the form `form`, with its "&" when amp says so
 * and the text can take one: in front of a comment that ends the text,
 * else at its end.  Without its "&" the form keeps the blanks before it.
 * The entry's own form is replaced.  0, or -1 when there is no memory.
 */
static int put_form(command_entry *e, form_parts form, bool amp, int bash)
{
    byte_buf tail = { nullptr, 0, 0 };
    line_scan scan;
    size_t blanks = 0;

    /* form may be the entry's own: its bytes go once the new ones are made. */
    char *old_amp = e->amp;
    int r;

    e->amp = nullptr;
    e->amp_len = e->amp_at = 0;
    scan_bytes(e->text, e->text_len, bash, &scan);
    if (amp && !scan.can_take_amp && scan.open == SCAN_CLOSED) {
        drop_final_semicolon(e, &scan);
        while (drop_final_amp(e, bash))
            ;
        scan_bytes(e->text, e->text_len, bash, &scan);
    }
    /* Without the "&" asked for, the blanks in front of it go too. */
    if (amp && !scan.can_take_amp) {
        form.in_tail = false;
        form.amp_len = 0;
    }
    amp = amp && scan.can_take_amp;
    /* Nothing follows a line that the shell reads on from, or the last
     * line of a here-document: it would become part of it. */
    if (scan.open != SCAN_CLOSED || scan.doc_last) {
        form.in_tail = false;
        form.amp_len = form.end_len = 0;
    }
    if (amp && scan.comment) {
        r = amp_in_front(e, form, scan.comment_at);
        free(old_amp);
        return r;
    }

    if (amp && form.amp_len > 0) {
        if (buf_add(&tail, form.amp, form.amp_len) == -1)
            goto fail;
    } else if (amp) { /* behind the form's blanks, in front of a CR */
        while (blanks < form.end_len && qvxsessrun_is_blank(form.end[blanks]))
            blanks++;
        if (buf_add(&tail, form.end, blanks) == -1 || buf_add(&tail, "&", 1) == -1)
            goto fail;
    } else if (form.in_tail) { /* the "&" goes, and the blanks behind it */
        if (buf_add(&tail, form.amp, form.amp_len - 1) == -1)
            goto fail;
        while (blanks < form.end_len && qvxsessrun_is_blank(form.end[blanks]))
            blanks++;
    }
    if (buf_add(&tail, form.end + blanks, form.end_len - blanks) == -1)
        goto fail;
    free(e->tail);
    e->tail = tail.len > 0 ? tail.p : nullptr;
    e->tail_len = tail.len;
    if (tail.len == 0)
        free(tail.p);
    free(old_amp);
    return 0;

fail:
    free(tail.p);
    free(old_amp);
    return -1;
}

/* The unmarked line of an entry: its text, the "&" in front of a comment,
 * and its tail. */
int entry_line(const command_entry *e, byte_buf *out)
{
    const size_t at = e->amp_len > 0 ? e->amp_at : e->text_len;

    if (buf_add(out, e->text, at) == -1 || buf_add(out, e->amp, e->amp_len) == -1
        || buf_add(out, e->text + at, e->text_len - at) == -1
        || buf_add(out, e->tail, e->tail_len) == -1)
        return -1;
    return 0;
}

static void scan_entry(const command_entry *e, int bash, line_scan *scan)
{
    byte_buf line = { nullptr, 0, 0 };

    if (entry_line(e, &line) == -1) {
        memset(scan, 0, sizeof(*scan)); /* no memory: a line that cannot change */
        free(line.p);
        return;
    }
    scan_bytes(line.p != nullptr ? line.p : "", line.len, bash, scan);
    free(line.p);
}

/* Whether the form of the entry's line holds its final "&". */
static bool form_has_amp(const command_entry *e)
{
    return e->amp_len > 0 || (e->tail != nullptr && memchr(e->tail, '&', e->tail_len) != nullptr);
}

/*
 * The entry with its line's "&" put in or taken out, into `to`, a copy
 * that the caller frees; null on failure.  Only the form changes, unless
 * a comment at the end wants a blank in front of it.
 */
command_entry *entry_with_background(const command_entry *e, int background, int bash)
{
    command_entry *c = entry_copy(e);
    form_parts form;

    if (c == nullptr)
        return nullptr;
    form = parts_of(e);
    if (!background && !form_has_amp(e))
        return c;
    if (put_form(c, form, background, bash) == -1) {
        entry_free(c);
        return nullptr;
    }
    return c;
}

int qvxsessrun_background(const command_list *list, const command_entry *entry, int *fixed)
{
    const int bash = list != nullptr && header_names_bash(list->header, list->header_len);
    line_scan now, then;
    command_entry *other;

    scan_entry(entry, bash, &now);
    if (fixed == nullptr)
        return now.background;
    *fixed = 1;
    other = entry_with_background(entry, !now.background, bash);
    if (other != nullptr) {
        scan_entry(other, bash, &then);
        *fixed = then.background == now.background;
        entry_free(other);
    }
    return now.background;
}

static size_t count_lines(const char *bytes, size_t len)
{
    size_t n = 0;

    if (len == 0)
        return 0;
    for (const char *p = bytes, *end = bytes + len;
         (p = static_cast<const char *>(memchr(p, '\n', end - p))) != nullptr; p++)
        n++;
    return n;
}

/* The offsets at which the lines of bytes begin, one more for the end. */
static size_t *line_starts(const char *bytes, size_t len, size_t *count)
{
    const size_t n = count_lines(bytes, len) + 1;
    size_t *starts = static_cast<size_t *>(store_malloc((n + 1) * sizeof(size_t)));
    size_t k = 1;

    if (starts == nullptr)
        return nullptr;
    starts[0] = 0;
    for (size_t i = 0; i < len; i++)
        if (bytes[i] == '\n')
            starts[k++] = i + 1;
    starts[n] = len + 1;
    *count = n;
    return starts;
}

/*
 * How many lines at the start (*head) and at the end (*tail) of two texts
 * are the same, the two runs not overlapping in either text.
 */
static int same_lines(const char *a, size_t a_len, const char *b, size_t b_len, size_t *head,
                      size_t *tail)
{
    size_t na, nb, *sa = line_starts(a, a_len, &na), *sb = line_starts(b, b_len, &nb);

    if (sa == nullptr || sb == nullptr) {
        free(sa);
        free(sb);
        return -1;
    }
    auto line_same = [&](size_t i, size_t j) {
        return same_bytes(a + sa[i], sa[i + 1] - 1 - sa[i], b + sb[j], sb[j + 1] - 1 - sb[j]);
    };
    *head = 0;
    while (*head < na && *head < nb && line_same(*head, *head))
        (*head)++;
    *tail = 0;
    while (*tail < na - *head && *tail < nb - *head && line_same(na - 1 - *tail, nb - 1 - *tail))
        (*tail)++;
    free(sa);
    free(sb);
    return 0;
}

/* The text as given, without blank lines at its start and blanks, CRs
 * and line feeds at its end (a blank that a backslash escapes stays). */
static void trim_given(const char *text, size_t len, int bash, size_t *from, size_t *to)
{
    size_t line = 0, end = len;
    line_scan scan;

    for (size_t i = 0; i < len; i++) {
        if (text[i] == '\n')
            line = i + 1;
        else if (!qvxsessrun_is_blank(text[i]) && text[i] != '\r')
            break;
    }
    while (
        end > line
        && (qvxsessrun_is_blank(text[end - 1]) || text[end - 1] == '\r' || text[end - 1] == '\n'))
        end--;
    if (end < len && text[end] != '\n' && end > line) {
        size_t slashes = 0;
        scan_bytes(text + line, end - line, bash, &scan);
        while (slashes < end - line && text[end - 1 - slashes] == '\\')
            slashes++;
        if (!scan.comment && slashes % 2 == 1)
            end++;
    }
    *from = line;
    *to = end;
}

/* The old entry's text with its form, at the end of text: the lines of a
 * text whose last line is the old one's last line, unchanged. */
static int with_old_form(byte_buf *out, const char *text, size_t len, const command_entry *old)
{
    const char *old_last = static_cast<const char *>(memrchr(old->text, '\n', old->text_len));
    const char *new_last = static_cast<const char *>(memrchr(text, '\n', len));
    const size_t old_start = old_last != nullptr ? size_t(old_last + 1 - old->text) : 0;
    const size_t new_start = new_last != nullptr ? size_t(new_last + 1 - text) : 0;

    if (old->amp_len > 0 && old->amp_at >= old_start) {
        const size_t at = new_start + (old->amp_at - old_start);
        if (buf_add(out, text, at) == -1 || buf_add(out, old->amp, old->amp_len) == -1
            || buf_add(out, text + at, len - at) == -1)
            return -1;
    } else if (buf_add(out, text, len) == -1) {
        return -1;
    }
    return buf_add(out, old->tail, old->tail_len);
}

/* Whether the lines of entry e, which begin at line `at` of the text it
 * was read from, reach into [from, to); *at moves behind them. */
static bool touches(const command_entry *e, size_t *at, size_t from, size_t to)
{
    const size_t first = *at + count_lines(e->lead, e->lead_len);
    const size_t last = first + count_lines(e->text, e->text_len);

    *at = last + 1;
    return first < to && last >= from;
}

/* Moves the bytes of b, if any, to *to. */
static void take_bytes(byte_buf *b, char **to, size_t *to_len)
{
    *to = b->len > 0 ? b->p : nullptr;
    *to_len = b->len;
    if (b->len == 0)
        free(b->p);
    b->p = nullptr;
}

/*
 * A text with no command in it (a comment, or nothing) is one entry all
 * the same, as given: its first line, with the row's form, "&" and all,
 * for a command given later; the lines after it follow it as comment
 * lines, the trailer of the new list.  Null on failure.
 */
static command_list *comment_entry(const command_entry *old, const char *text, size_t len)
{
    const char *nl = static_cast<const char *>(memchr(text, '\n', len));
    const size_t first = nl != nullptr ? size_t(nl - text) : len;
    command_list *made = list_new();
    command_entry *e = made != nullptr ? entry_new() : nullptr;
    byte_buf form = { nullptr, 0, 0 }, rest = { nullptr, 0, 0 };

    if (e == nullptr)
        goto fail;
    entry_link_after(made, nullptr, e);
    e->active = 1;
    /* An "&" given at its end reads back as the form's. */
    e->text_len = first - split_tail(text, first, 1, 0);
    e->text = store_memdup(text, e->text_len);
    if (e->text == nullptr || buf_add(&form, old->amp, old->amp_len) == -1
        || buf_add(&form, old->tail, old->tail_len) == -1)
        goto fail;
    if (nl != nullptr
        && (buf_add(&rest, nl + 1, len - first - 1) == -1 || buf_add(&rest, "\n", 1) == -1))
        goto fail;
    take_bytes(&form, &e->tail, &e->tail_len);
    take_bytes(&rest, &made->trailer, &made->trailer_len);
    return made;

fail:
    free(form.p);
    free(rest.p);
    qvxsessrun_free(made);
    return nullptr;
}

/*
 * The entries that a text given for the entry `old` makes, in a list of
 * their own (null on failure); its trailer holds comment lines given
 * after the last command.  The first entry is the one that takes old's
 * place, with the comment lines given before the command as its lead;
 * `old` may be a new entry's template, an empty text with the form "&".
 * A text without a command becomes one entry all the same.
 */
command_list *edit_entries(const command_entry *old, const char *given, size_t given_len, int bash)
{
    byte_buf full = { nullptr, 0, 0 };
    size_t from, to, head = 0, tail = 0, lines, at = 0;
    command_list *made = nullptr;
    const char *text;
    bool form_kept;
    int k = 0;

    trim_given(given, given_len, bash, &from, &to);
    text = given + from;
    const size_t len = to - from;
    if (same_lines(old->text, old->text_len, text, len, &head, &tail) == -1)
        return nullptr;
    lines = count_lines(text, len) + 1;
    /* The old form stays on the old last line where that is still last. */
    form_kept = tail > 0 && (old->tail_len > 0 || old->amp_len > 0);
    if ((form_kept ? with_old_form(&full, text, len, old) : buf_add(&full, text, len)) == -1)
        goto fail;
    made = read_text(full.p != nullptr ? full.p : "", full.len, bash);
    if (made == nullptr)
        goto fail;
    if (made->entries == nullptr) { /* blanks or comments only */
        qvxsessrun_free(made);
        made = comment_entry(old, text, len);
        if (made == nullptr)
            goto fail;
        free(full.p);
        return made;
    }
    for (command_entry *e = made->entries; e != nullptr; e = e->next, k++) {
        const bool changed = touches(e, &at, head, lines - tail);
        e->as_read = 0;
        e->newline = 1;
        if (!form_kept && k == 0) {
            /* The row's own form, and the "&" typed at its end. */
            bool typed = form_has_amp(e);
            while (drop_final_amp(e, bash))
                typed = true;
            if (put_form(e, parts_of(old), form_has_amp(old) || typed, bash) == -1)
                goto fail;
        } else if (changed && (e->next != nullptr || !form_kept)) {
            /* A command given anew runs in the background, as a new row does. */
            if (!form_has_amp(e) && put_form(e, parts_of(e), true, bash) == -1)
                goto fail;
        }
    }
    free(full.p);
    return made;

fail:
    free(full.p);
    qvxsessrun_free(made);
    return nullptr;
}
