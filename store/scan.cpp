// SPDX-License-Identifier: BSD-2-Clause
/*
 * The shell scanner: just enough of the shell's reading of a script to
 * tell where a command's line ends and how it ends.  It knows quotes,
 * "$(", "${" and backquotes, backslashes, comments, operators and
 * here-documents; it does not know the grammar (if, case, loops), whose
 * lines stay lines of their own.  The shell itself judges the syntax.
 */
#include "store_impl.h"

#include <string.h>

enum { CTX_SQUOTE = 1, CTX_DQUOTE, CTX_BACKQUOTE, CTX_SUBST, CTX_PARAM };
enum { OP_NONE = 0, OP_AMP, OP_AND, OP_OR, OP_PIPE, OP_OTHER };

static bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

/* Bytes that end a word and start an operator (NUL is none of them). */
static bool is_operator(char c)
{
    return c != '\0' && strchr(";&|()<>", c) != nullptr;
}

static bool starts_word(char prev)
{
    return prev == '\n' || is_blank(prev) || is_operator(prev);
}

static bool at_top(const shell_scanner *s)
{
    return s->depth == 0 && s->lost == 0;
}

static int context(const shell_scanner *s)
{
    return s->depth == 0 ? 0 : s->ctx[s->depth - 1];
}

static bool in_code(const shell_scanner *s)
{
    return at_top(s) || context(s) == CTX_SUBST;
}

static void push(shell_scanner *s, int ctx)
{
    if (at_top(s)) /* a quoted word is no keyword */
        s->word_len = SCAN_WORD;
    if (s->depth == SCAN_DEPTH) {
        s->lost++;
        return;
    }
    s->ctx[s->depth] = static_cast<uint8_t>(ctx);
    s->parens[s->depth] = 0;
    s->depth++;
}

static void pop(shell_scanner *s)
{
    if (s->lost > 0)
        s->lost--;
    else if (s->depth > 0)
        s->depth--;
}

/* A byte of a word at the top level: whatever came before is no longer last. */
static void note_word(shell_scanner *s, char c)
{
    if (!at_top(s))
        return;
    if (starts_word(s->prev) || s->op != OP_NONE)
        s->word_len = 0;
    if (s->word_len < SCAN_WORD)
        s->word[s->word_len] = c;
    if (s->word_len <= SCAN_WORD)
        s->word_len++;
    s->background = 0;
    s->op = OP_NONE;
    s->seen = 1;
}

static void note_op(shell_scanner *s, int op)
{
    if (!at_top(s))
        return;
    s->background = op == OP_AMP;
    s->op = static_cast<uint8_t>(op);
    s->word_len = 0;
    s->seen = 1;
}

void scan_reset(shell_scanner *s)
{
    memset(s, 0, sizeof(*s));
    s->prev = '\n';
}

/*
 * Read the delimiter word of a here-document at p[i..n), without its
 * quotes, and queue the document: its lines start with the next line.
 * Returns the index behind the word.
 */
static size_t queue_heredoc(shell_scanner *s, const char *p, size_t i, size_t n, bool strip)
{
    size_t start = s->delims_len, len = 0;
    bool fits = s->docs < SCAN_DOCS;

    auto add = [&](char c) {
        if (start + len < SCAN_DELIM_BYTES)
            s->delims[start + len] = c;
        else
            fits = false;
        len++;
    };
    while (i < n && is_blank(p[i]))
        i++;
    while (i < n && !is_blank(p[i]) && !is_operator(p[i])) {
        const char c = p[i++];
        if (c == '\'') {
            while (i < n && p[i] != '\'')
                add(p[i++]);
            i += i < n;
        } else if (c == '"') {
            while (i < n && p[i] != '"') {
                if (p[i] == '\\' && i + 1 < n && strchr("\\\"$`", p[i + 1]) != nullptr)
                    i++;
                add(p[i++]);
            }
            i += i < n;
        } else if (c == '\\' && i < n) {
            add(p[i++]);
        } else if (c != '\\') {
            add(c);
        }
    }
    /* No word is a syntax error; a document beyond the limits is not followed. */
    if (len > 0 && fits && len <= UINT16_MAX) {
        s->doc_off[s->docs] = static_cast<uint16_t>(start);
        s->doc_len[s->docs] = static_cast<uint16_t>(len);
        s->doc_strip[s->docs] = strip;
        s->docs++;
        s->delims_len = start + len;
    }
    if (i > 0)
        s->prev = p[i - 1];
    return i;
}

/* A line of a here-document: the last one is its delimiter alone. */
static void body_line(shell_scanner *s, const char *p, size_t n)
{
    const int d = s->doc;

    if (s->doc_strip[d])
        while (n > 0 && *p == '\t')
            p++, n--;
    if (n != s->doc_len[d] || memcmp(p, s->delims + s->doc_off[d], n) != 0)
        return;
    if (++s->doc < s->docs)
        return;
    s->docs = s->doc = 0;
    s->delims_len = 0;
    s->in_body = 0;
}

/*
 * An operator in code at p[i]: the index behind it.  "<<" queues a
 * here-document; a lone "&" is the one that puts a command in the
 * background, not one of "&&", ">&", "&>" or "|&".
 */
static size_t scan_operator(shell_scanner *s, const char *p, size_t i, size_t n)
{
    const char c = p[i];
    const char next = i + 1 < n ? p[i + 1] : '\0';

    s->prev = c;
    switch (c) {
    case '&':
        if (next == '&') {
            note_op(s, OP_AND);
            return i + 2;
        }
        note_op(s, next == '>' ? OP_OTHER : OP_AMP);
        return i + 1 + (next == '>');
    case '|':
        note_op(s, next == '|' ? OP_OR : OP_PIPE);
        return i + 1 + (next == '|' || next == '&');
    case ';':
        note_op(s, OP_OTHER);
        return i + 1 + (next == ';' || next == '&');
    case '<':
        if (next == '<' && (i + 2 >= n || p[i + 2] != '<')) {
            const bool strip = i + 2 < n && p[i + 2] == '-';
            note_op(s, OP_OTHER);
            return queue_heredoc(s, p, i + 2 + strip, n, strip);
        }
        note_op(s, OP_OTHER);
        return i + 1 + (next == '&' || next == '>' || next == '<');
    case '>':
        note_op(s, OP_OTHER);
        return i + 1 + (next == '&' || next == '>' || next == '|');
    case '(':
        if (s->depth > 0)
            s->parens[s->depth - 1]++;
        note_op(s, OP_OTHER);
        return i + 1;
    default: /* ')' */
        if (s->depth > 0 && context(s) == CTX_SUBST) {
            if (s->parens[s->depth - 1] == 0) {
                pop(s);
                note_word(s, c);
                return i + 1;
            }
            s->parens[s->depth - 1]--;
        }
        /* A closed subshell may go to the background like a word. */
        note_word(s, c);
        return i + 1;
    }
}

/* Opens "$(", "${" or a quote at p[i] when there is one: the index behind it, or i. */
static size_t scan_opener(shell_scanner *s, const char *p, size_t i, size_t n)
{
    const char c = p[i];

    if (c == '$' && i + 1 < n && (p[i + 1] == '(' || p[i + 1] == '{')) {
        note_word(s, c);
        push(s, p[i + 1] == '(' ? CTX_SUBST : CTX_PARAM);
        s->prev = p[i + 1];
        return i + 2;
    }
    if (c == '\'' || c == '"' || c == '`') {
        note_word(s, c);
        push(s, c == '\'' ? CTX_SQUOTE : c == '"' ? CTX_DQUOTE : CTX_BACKQUOTE);
        s->prev = c;
        return i + 1;
    }
    return i;
}

/* One byte or escape inside a quote or "${": the index behind it. */
static size_t scan_quoted(shell_scanner *s, const char *p, size_t i, size_t n, bool *escaped_nl)
{
    const int ctx = context(s);
    const char c = p[i];
    size_t next;

    if (ctx == CTX_SQUOTE) {
        if (c == '\'')
            pop(s);
        return i + 1;
    }
    if (c == '\\') {
        if (i + 1 == n)
            *escaped_nl = true;
        return i + 2;
    }
    if ((ctx == CTX_DQUOTE && c == '"') || (ctx == CTX_BACKQUOTE && c == '`')
        || (ctx == CTX_PARAM && c == '}')) {
        pop(s);
        s->prev = c;
        return i + 1;
    }
    /* In double quotes a single quote is a character like any other. */
    if (ctx == CTX_DQUOTE && c == '\'')
        return i + 1;
    if (ctx != CTX_BACKQUOTE && (next = scan_opener(s, p, i, n)) != i)
        return next;
    return i + 1;
}

void scan_line(shell_scanner *s, const char *p, size_t n)
{
    bool escaped_nl = false;
    size_t i = 0, next;

    s->comment = 0;
    if (s->in_body) {
        body_line(s, p, n);
        s->body_last = 1;
        return;
    }
    s->body_last = 0;
    if (!s->continued)
        s->prev = '\n';
    s->continued = 0;

    while (i < n) {
        const char c = p[i];
        if (!in_code(s)) {
            i = scan_quoted(s, p, i, n, &escaped_nl);
            continue;
        }
        /* A CR before the line feed counts as a blank, as in a file of CR LF lines. */
        if (is_blank(c) || (c == '\r' && i + 1 == n)) {
            s->prev = ' ';
            i++;
        } else if (c == '#' && starts_word(s->prev)) {
            s->comment = 1;
            break;
        } else if (c == '\\') {
            if (i + 1 == n)
                escaped_nl = true;
            else
                note_word(s, p[i + 1]);
            s->prev = c;
            i += 2;
        } else if (is_operator(c)) {
            i = scan_operator(s, p, i, n);
        } else if ((next = scan_opener(s, p, i, n)) != i) {
            i = next;
        } else {
            note_word(s, c);
            s->prev = c;
            i++;
        }
    }

    if (escaped_nl) {
        s->continued = 1;
        return;
    }
    if (in_code(s) && s->docs > s->doc)
        s->in_body = 1;
}

int scan_open(const shell_scanner *s)
{
    if (s->in_body || s->docs > s->doc)
        return SCAN_HEREDOC;
    if (!at_top(s))
        return SCAN_QUOTE;
    if (s->continued)
        return SCAN_BACKSLASH;
    return SCAN_CLOSED;
}

/* Words after which the shell wants more before a "&" may follow. */
static bool wants_more(const shell_scanner *s)
{
    static const char *const words[]
        = { "if", "then", "else", "elif", "do", "while", "until", "case", "in", "for", "{", "!" };

    if (s->word_len >= SCAN_WORD)
        return false;
    for (const char *w : words)
        if (strlen(w) == s->word_len && memcmp(w, s->word, s->word_len) == 0)
            return true;
    return false;
}

void scan_result(const shell_scanner *s, line_scan *out)
{
    out->open = static_cast<uint8_t>(scan_open(s));
    out->background = s->background;
    out->comment = s->comment;
    out->joins = !s->body_last && (s->op == OP_AND || s->op == OP_OR || s->op == OP_PIPE);
    out->can_take_amp = out->open == SCAN_CLOSED && !s->comment && !s->body_last && s->seen
        && s->op == OP_NONE && !wants_more(s);
}

/* A text of one or more lines, from the start. */
void scan_text(shell_scanner *s, const char *bytes, size_t len, line_scan *out)
{
    const char *end = bytes + len, *p = bytes, *nl;

    scan_reset(s);
    for (;;) {
        nl = static_cast<const char *>(memchr(p, '\n', end - p));
        scan_line(s, p, (nl != nullptr ? nl : end) - p);
        if (nl == nullptr)
            break;
        p = nl + 1;
    }
    scan_result(s, out);
}

void qvxsessrun_scan(const char *bytes, size_t len, line_scan *out)
{
    shell_scanner s;

    scan_text(&s, bytes, len, out);
}
