// SPDX-License-Identifier: BSD-2-Clause
/*
 * The shell scanner: enough of the shell's reading of a script to tell
 * where one command ends and the next begins, and how a command's line
 * ends.  It follows quotes, "$(", "${", "$((", backquotes, backslashes,
 * comments, operators and here-documents, and the grammar's compound
 * commands: if, the loops, case, braces, subshells and function
 * definitions, with reserved words only where a command word may stand.
 * With bash set it knows bash's forms too: [[ ]], (( )), function,
 * select, arrays, <( ) and @( ).  It does not judge the syntax; the shell
 * itself does that.  On a script that is not valid shell it still ends
 * commands somewhere, without losing track of quotes.
 */
#include "store/store_impl.h"

#include <string.h>

/* Frames.  The quotes' bytes are part of a word; inside a construct the
 * shell reads commands. */
enum {
    K_TOP = 0,
    K_SQUOTE, /* '...' */
    K_DSQUOTE, /* $'...' */
    K_DQUOTE,
    K_BACKQUOTE,
    K_PARAM, /* ${...} */
    K_ARITH, /* $((...)), or bash's ((...)) command when sub is 1 */
    K_GROUP, /* bash's @(...) pattern */
    K_SUBST, /* $(...), and bash's <(...) */
    K_SUBSHELL,
    K_BRACE,
    K_IF,
    K_LOOP,
    K_FOR,
    K_CASE,
    K_FUNC,
    K_COND, /* bash's [[ ... ]] */
    K_ARRAY /* bash's NAME=( ... ) */
};

enum { IF_COND = 1, IF_BODY };
enum { LOOP_COND = 1, LOOP_BODY };
enum { FOR_NAME = 1, FOR_IN, FOR_WORDS, FOR_DO, FOR_BODY };
enum { CASE_WORD = 1, CASE_IN, CASE_PAT, CASE_ALT, CASE_PATWORD, CASE_ARM };
enum { FUNC_NAME = 1, FUNC_PAREN_OPT, FUNC_PAREN, FUNC_BODY, FUNC_IN };

/* Where in a command the reading of a construct's commands is. */
enum {
    L_START = 0, /* a command may start: reserved words count; a line feed ends it */
    L_NEED, /* a command must follow (after &&, ||, |, !): line feeds are skipped */
    L_WORDS, /* inside a simple command */
    L_AFTER, /* behind a compound command: only redirections may follow */
    L_REDIR /* a redirection wants its word */
};

/* How far a word is an assignment NAME=value or NAME+=value. */
enum { N_START = 0, N_NAME, N_PLUS, N_EQ, N_VALUE, N_NONE };

enum { OP_NONE = 0, OP_AMP, OP_AND, OP_OR, OP_PIPE, OP_SEMI, OP_OTHER };

/* The first word of the top level's last command. */
enum { LAST_NONE = 0, LAST_EXEC, LAST_EXIT, LAST_OTHER };

/* Bytes that end a word and start an operator (NUL is none of them). */
static bool is_operator(char c)
{
    return c != '\0' && strchr(";&|()<>", c) != nullptr;
}

static bool is_name_start(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

static bool is_name_char(char c)
{
    return is_name_start(c) || (c >= '0' && c <= '9');
}

static bool is_code(int kind)
{
    return kind == K_TOP || kind >= K_SUBST;
}

static scan_frame *top(shell_scanner *s)
{
    return &s->f[s->depth - 1];
}

/* The construct whose commands are being read: the frame on top, unless
 * that is a quote, whose bytes belong to a word of the frame below it. */
static scan_frame *code(shell_scanner *s)
{
    for (size_t i = s->depth; i > 0; i--)
        if (is_code(s->f[i - 1].kind))
            return &s->f[i - 1];
    return &s->f[0];
}

static bool at_top(const shell_scanner *s)
{
    return s->depth == 1 && s->lost == 0;
}

static bool in_list(const scan_frame *f)
{
    switch (f->kind) {
    case K_FOR:
        return f->sub == FOR_BODY;
    case K_CASE:
        return f->sub == CASE_ARM;
    case K_FUNC:
    case K_COND:
    case K_ARRAY:
        return false;
    default:
        return is_code(f->kind);
    }
}

void scan_reset(shell_scanner *s, int bash)
{
    memset(s, 0, sizeof(*s));
    s->depth = 1;
    s->f[0].kind = K_TOP;
    s->bash = bash ? 1 : 0;
}

static void push(shell_scanner *s, int kind, int sub)
{
    scan_frame *f;

    if (s->depth == SCAN_DEPTH) {
        s->lost++;
        return;
    }
    f = &s->f[s->depth++];
    memset(f, 0, sizeof(*f));
    f->kind = static_cast<uint8_t>(kind);
    f->sub = static_cast<uint8_t>(sub);
}

static void pop(shell_scanner *s)
{
    if (s->lost > 0)
        s->lost--;
    else if (s->depth > 1)
        s->depth--;
}

/* Something other than a lone "&" came at the top level. */
static void note_top_thing(shell_scanner *s, int op)
{
    s->seen = 1;
    s->op = static_cast<uint8_t>(op);
    s->background = op == OP_AMP;
}

/* A simple command begins at offset at of the text. */
static void note_command(shell_scanner *s, size_t at)
{
    if (s->commands != nullptr && s->command_count < s->command_max)
        s->commands[s->command_count] = at;
    s->command_count++;
}

/* One byte more of the word being read in the construct f; quoted when a
 * backslash or a quote took it. */
static void word_byte(shell_scanner *s, scan_frame *f, char c, bool quoted)
{
    if (!f->in_word) {
        f->in_word = 1;
        f->word_at = s->at;
        f->plain = 1;
        f->name = N_START;
        f->word_len = 0;
    }
    if (quoted)
        f->plain = 0;
    switch (f->name) {
    case N_START:
        f->name = !quoted && is_name_start(c) ? N_NAME : N_NONE;
        break;
    case N_NAME:
        f->name = quoted      ? N_NONE
            : c == '='        ? N_EQ
            : c == '+'        ? N_PLUS
            : is_name_char(c) ? N_NAME
                              : N_NONE;
        break;
    case N_PLUS:
        f->name = !quoted && c == '=' ? N_EQ : N_NONE;
        break;
    case N_EQ:
        f->name = N_VALUE;
        break;
    default:
        break;
    }
    if (f->word_len < SCAN_WORD)
        f->word[f->word_len] = c;
    if (f->word_len <= SCAN_WORD)
        f->word_len++;
}

static bool word_is(const scan_frame *f, const char *w)
{
    const size_t len = strlen(w);

    return f->plain && f->word_len == len && memcmp(f->word, w, len) == 0;
}

/* The construct on top is complete: what contains it has a command. */
static void close_construct(shell_scanner *s)
{
    scan_frame *f;
    bool func = false;

    pop(s);
    f = top(s);
    if (f->kind == K_FUNC && f->sub == FUNC_IN) {
        pop(s);
        f = top(s);
        func = true;
    }
    f->list = L_AFTER;
    f->in_word = 0;
    f->func_ok = 0;
    if (at_top(s)) {
        note_top_thing(s, OP_NONE);
        s->func_def = func;
        s->last_kind = LAST_OTHER;
    }
}

/* A construct begins where a command may: f holds it. */
static void open_construct(shell_scanner *s, scan_frame *f, int kind, int sub)
{
    f->list = L_WORDS;
    if (at_top(s) && f == &s->f[0]) {
        note_top_thing(s, OP_NONE);
        s->func_def = 0;
        s->last_kind = LAST_OTHER;
    }
    push(s, kind, sub);
}

/* The words that begin a compound command, as a function's body may be. */
static bool opens_compound(const shell_scanner *s, const scan_frame *f)
{
    static const char *const words[] = { "{", "if", "while", "until", "for", "case" };

    for (const char *w : words)
        if (word_is(f, w))
            return true;
    return s->bash && (word_is(f, "select") || word_is(f, "[["));
}

/*
 * A word where a command may start: a reserved word acts on the
 * construct f, or opens one.  False when it is no reserved word here.
 */
static bool reserved_word(shell_scanner *s, scan_frame *f, const scan_frame *w)
{
    if (word_is(w, "if")) {
        open_construct(s, f, K_IF, IF_COND);
    } else if (word_is(w, "while") || word_is(w, "until")) {
        open_construct(s, f, K_LOOP, LOOP_COND);
    } else if (word_is(w, "for") || (s->bash && word_is(w, "select"))) {
        open_construct(s, f, K_FOR, FOR_NAME);
    } else if (word_is(w, "case")) {
        open_construct(s, f, K_CASE, CASE_WORD);
    } else if (word_is(w, "{")) {
        open_construct(s, f, K_BRACE, 0);
    } else if (s->bash && word_is(w, "[[")) {
        open_construct(s, f, K_COND, 0);
    } else if (s->bash && word_is(w, "function")) {
        open_construct(s, f, K_FUNC, FUNC_NAME);
    } else if (word_is(w, "!")) {
        f->list = L_NEED;
    } else if (f->kind == K_IF && f->sub == IF_COND && word_is(w, "then")) {
        f->sub = IF_BODY;
        f->list = L_START;
    } else if (f->kind == K_IF && f->sub == IF_BODY && word_is(w, "elif")) {
        f->sub = IF_COND;
        f->list = L_START;
    } else if (f->kind == K_IF && f->sub == IF_BODY && word_is(w, "else")) {
        f->list = L_START;
    } else if (f->kind == K_IF && f->sub == IF_BODY && word_is(w, "fi")) {
        close_construct(s);
    } else if (f->kind == K_LOOP && f->sub == LOOP_COND && word_is(w, "do")) {
        f->sub = LOOP_BODY;
        f->list = L_START;
    } else if (((f->kind == K_LOOP && f->sub == LOOP_BODY)
                || (f->kind == K_FOR && f->sub == FOR_BODY))
               && word_is(w, "done")) {
        close_construct(s);
    } else if (f->kind == K_CASE && f->sub == CASE_ARM && word_is(w, "esac")) {
        close_construct(s);
    } else if (f->kind == K_BRACE && word_is(w, "}")) {
        close_construct(s);
    } else {
        return false;
    }
    return true;
}

/* A word of the commands of the construct f. */
static void list_word(shell_scanner *s, scan_frame *f)
{
    const bool here = at_top(s) && f == &s->f[0];

    switch (f->list) {
    case L_REDIR: /* the redirection's word */
        f->list = L_WORDS;
        return;
    case L_START:
    case L_NEED: {
        const scan_frame w = *f;
        if (reserved_word(s, f, &w))
            return;
        if (here && f->list == L_START)
            s->last_joined = 0;
        note_command(s, f->word_at);
        f->list = L_WORDS;
        if (w.name == N_EQ || w.name == N_VALUE) /* an assignment: the command may follow */
            return;
        f->func_ok = w.plain;
        if (here) {
            s->func_def = 0;
            s->last_kind = word_is(&w, "exec") ? LAST_EXEC
                : word_is(&w, "exit")          ? LAST_EXIT
                                               : LAST_OTHER;
            s->last_words = 0;
        }
        return;
    }
    default:
        f->list = L_WORDS;
        f->func_ok = 0;
        if (here && s->last_words < 2)
            s->last_words++;
        return;
    }
}

/* The word being read in the construct on top has ended. */
static void end_word(shell_scanner *s)
{
    scan_frame *f = code(s);

    if (!f->in_word || f != top(s))
        return;
    f->in_word = 0;
    if (at_top(s))
        note_top_thing(s, OP_NONE);
    switch (f->kind) {
    case K_FOR:
        if (f->sub == FOR_NAME) {
            f->sub = FOR_IN;
        } else if ((f->sub == FOR_IN || f->sub == FOR_DO) && word_is(f, "do")) {
            f->sub = FOR_BODY;
            f->list = L_START;
        } else if (f->sub == FOR_IN) {
            f->sub = FOR_WORDS; /* "in", or a word where it should be */
        } else if (f->sub == FOR_BODY) {
            list_word(s, f);
        }
        return;
    case K_CASE:
        if (f->sub == CASE_WORD)
            f->sub = CASE_IN;
        else if (f->sub == CASE_IN && word_is(f, "in"))
            f->sub = CASE_PAT;
        else if (f->sub == CASE_PAT && word_is(f, "esac"))
            close_construct(s);
        else if (f->sub == CASE_PAT || f->sub == CASE_ALT)
            f->sub = CASE_PATWORD;
        else if (f->sub == CASE_ARM)
            list_word(s, f);
        return;
    case K_FUNC:
        if (f->sub == FUNC_NAME) {
            f->sub = FUNC_PAREN_OPT;
        } else if (f->sub == FUNC_PAREN_OPT || f->sub == FUNC_BODY) {
            if (opens_compound(s, f)) {
                const scan_frame w = *f;
                f->sub = FUNC_IN;
                reserved_word(s, f, &w);
            } else {
                /* A simple command as the body, as some shells allow. */
                close_construct(s);
                code(s)->list = L_WORDS;
            }
        }
        return;
    case K_COND:
        if (word_is(f, "]]") && f->parens == 0)
            close_construct(s);
        return;
    case K_ARRAY:
        return;
    default:
        list_word(s, f);
        return;
    }
}

/* A separator or control operator in the construct f. */
static void control_op(shell_scanner *s, scan_frame *f, int op)
{
    if (f->kind == K_FOR && (f->sub == FOR_IN || f->sub == FOR_WORDS) && op == OP_SEMI) {
        f->sub = FOR_DO;
        return;
    }
    if (!in_list(f))
        return;
    f->func_ok = 0;
    f->list = op == OP_AND || op == OP_OR || op == OP_PIPE ? L_NEED : L_START;
    if (!at_top(s) || f != &s->f[0])
        return;
    note_top_thing(s, op);
    if (op == OP_AND || op == OP_OR || op == OP_PIPE) {
        s->last_joined = 1;
    } else {
        s->last_kind = LAST_NONE;
        s->last_words = 0;
        s->last_joined = 0;
    }
}

static void redirection(shell_scanner *s, scan_frame *f)
{
    if (!in_list(f))
        return;
    if (f->list == L_START || f->list == L_NEED)
        note_command(s, s->at);
    f->func_ok = 0;
    f->list = L_REDIR;
    if (at_top(s) && f == &s->f[0])
        note_top_thing(s, OP_OTHER);
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
    while (i < n && qvxsessrun_is_blank(p[i]))
        i++;
    while (i < n && !qvxsessrun_is_blank(p[i]) && !is_operator(p[i])) {
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

/* A "(" in the construct f, at p[i]: the index behind it. */
static size_t open_paren(shell_scanner *s, scan_frame *f, const char *p, size_t i, size_t n)
{
    const bool twice = i + 1 < n && p[i + 1] == '(';

    f->in_word = 0;
    switch (f->kind) {
    case K_COND:
    case K_ARRAY:
        f->parens++;
        return i + 1;
    case K_CASE:
        if (f->sub == CASE_PAT) /* the pattern list's own "(" */
            return i + 1;
        break;
    case K_FOR:
        if (f->sub == FOR_NAME && s->bash && twice) { /* for ((...)) */
            f->sub = FOR_IN;
            push(s, K_ARITH, 0);
            return i + 2;
        }
        break;
    case K_FUNC:
        if (f->sub == FUNC_PAREN_OPT) {
            f->sub = FUNC_PAREN;
            return i + 1;
        }
        if (f->sub == FUNC_BODY) {
            f->sub = FUNC_IN;
            push(s, K_SUBSHELL, 0);
            return i + 1;
        }
        break;
    default:
        if (!in_list(f))
            break;
        if (f->list == L_START || f->list == L_NEED) {
            if (s->bash && twice) {
                open_construct(s, f, K_ARITH, 1);
                return i + 2;
            }
            open_construct(s, f, K_SUBSHELL, 0);
            return i + 1;
        }
        if (f->list == L_WORDS && f->func_ok) {
            f->func_ok = 0;
            s->command_count--; /* the word is the function's name, not a command */
            if (at_top(s) && f == &s->f[0])
                s->last_kind = LAST_OTHER;
            push(s, K_FUNC, FUNC_PAREN);
            return i + 1;
        }
        break;
    }
    /* Not valid here; kept so that its ")" closes it. */
    push(s, K_SUBSHELL, 0);
    return i + 1;
}

/* A ")" in the construct f. */
static void close_paren(shell_scanner *s, scan_frame *f)
{
    f->in_word = 0;
    switch (f->kind) {
    case K_COND:
        if (f->parens > 0)
            f->parens--;
        return;
    case K_ARRAY:
        if (f->parens > 0)
            f->parens--;
        else
            pop(s); /* back in the assignment's word */
        return;
    case K_SUBST:
        pop(s);
        return;
    case K_SUBSHELL:
        close_construct(s);
        return;
    case K_CASE:
        if (f->sub == CASE_PAT || f->sub == CASE_ALT || f->sub == CASE_PATWORD) {
            f->sub = CASE_ARM;
            f->list = L_START;
            return;
        }
        break;
    case K_FUNC:
        if (f->sub == FUNC_PAREN) {
            f->sub = FUNC_BODY;
            return;
        }
        break;
    default:
        break;
    }
    /* Unmatched here: it ends the innermost "$(" or "(" around, with
     * whatever is still open inside it. */
    for (size_t i = s->depth; s->lost == 0 && i > 1; i--) {
        const int kind = s->f[i - 1].kind;
        if (kind == K_SUBST || kind == K_SUBSHELL) {
            s->depth = i;
            close_paren(s, top(s));
            return;
        }
        if (!is_code(kind))
            return;
    }
}

static bool io_number(const scan_frame *f)
{
    if (!f->in_word || !f->plain || f->word_len > SCAN_WORD)
        return false;
    for (size_t k = 0; k < f->word_len; k++)
        if (f->word[k] < '0' || f->word[k] > '9')
            return false;
    return true;
}

/*
 * An operator in code at p[i]: the index behind it.  "<<" queues a
 * here-document; a lone "&" is the one that puts a command in the
 * background, not one of "&&", ">&", "&>" or "|&".
 */
static size_t scan_operator(shell_scanner *s, const char *p, size_t i, size_t n)
{
    scan_frame *f = top(s);
    const char c = p[i];
    const char next = i + 1 < n ? p[i + 1] : '\0';
    const char third = i + 2 < n ? p[i + 2] : '\0';

    /* The digits of "2>&1" say which descriptor; they are no word. */
    if ((c == '<' || c == '>') && io_number(f))
        f->in_word = 0;
    end_word(s); /* which may end a construct: "esac)" */
    f = code(s);
    switch (c) {
    case '&':
        if (next == '&') {
            if (f->kind != K_COND)
                control_op(s, f, OP_AND);
            return i + 2;
        }
        if (next == '>') {
            redirection(s, f);
            return i + 2 + (third == '>');
        }
        control_op(s, f, OP_AMP);
        return i + 1;
    case '|':
        if (next == '|') {
            if (f->kind != K_COND)
                control_op(s, f, OP_OR);
            return i + 2;
        }
        if (f->kind == K_CASE && f->sub == CASE_PATWORD) {
            f->sub = CASE_ALT;
            return i + 1;
        }
        control_op(s, f, OP_PIPE);
        return i + 1 + (next == '&');
    case ';':
        if (next == ';' || next == '&') { /* ";;", ";&", ";;&": the end of a case's arm */
            if (f->kind == K_CASE && f->sub == CASE_ARM)
                f->sub = CASE_PAT;
            else
                control_op(s, f, OP_SEMI);
            return i + 2 + (next == ';' && third == '&');
        }
        control_op(s, f, OP_SEMI);
        return i + 1;
    case '<':
    case '>':
        if (f->kind == K_COND)
            return i + 1;
        if (s->bash && next == '(') { /* <(...) is a word */
            word_byte(s, f, c, true);
            push(s, K_SUBST, 0);
            return i + 2;
        }
        if (c == '<' && next == '<' && third != '<') {
            const bool strip = third == '-';
            redirection(s, f);
            f->list = L_WORDS;
            return queue_heredoc(s, p, i + 2 + strip, n, strip);
        }
        redirection(s, f);
        if (c == '<' && next == '<') /* a here-string */
            return i + 3;
        return i + 1 + (next == '&' || next == '>' || (c == '<' && next == '<') || next == '|');
    case '(':
        if (at_top(s) && f == &s->f[0])
            note_top_thing(s, OP_OTHER);
        return open_paren(s, f, p, i, n);
    default: /* ')' */
        close_paren(s, f);
        return i + 1;
    }
}

/* Opens a quote, "$(", "${" or "$((" at p[i] in a word: the index behind
 * it, or i when there is none. */
static size_t scan_opener(shell_scanner *s, const char *p, size_t i, size_t n, bool in_code)
{
    const char c = p[i];
    const char next = i + 1 < n ? p[i + 1] : '\0';
    scan_frame *f = code(s);

    if (c == '$' && next == '(') {
        word_byte(s, f, c, true);
        if (i + 2 < n && p[i + 2] == '(') {
            push(s, K_ARITH, 0);
            return i + 3;
        }
        push(s, K_SUBST, 0);
        return i + 2;
    }
    if (c == '$' && (next == '{' || (in_code && (next == '\'' || next == '"')))) {
        word_byte(s, f, c, true);
        push(s, next == '{' ? K_PARAM : next == '\'' ? K_DSQUOTE : K_DQUOTE, 0);
        return i + 2;
    }
    if (c == '\'' || c == '"' || c == '`') {
        word_byte(s, f, c, true);
        push(s, c == '\'' ? K_SQUOTE : c == '"' ? K_DQUOTE : K_BACKQUOTE, 0);
        return i + 1;
    }
    return i;
}

/* One byte or escape inside a quote, "${" or "$((": the index behind it. */
static size_t scan_quoted(shell_scanner *s, const char *p, size_t i, size_t n, bool *escaped_nl)
{
    scan_frame *q = top(s);
    const int kind = q->kind;
    const char c = p[i];
    size_t next;

    if (kind == K_SQUOTE) {
        if (c == '\'')
            pop(s);
        return i + 1;
    }
    if (c == '\\') {
        if (i + 1 == n)
            *escaped_nl = true;
        return i + 2;
    }
    if ((kind == K_DSQUOTE && c == '\'') || (kind == K_DQUOTE && c == '"')
        || (kind == K_BACKQUOTE && c == '`') || (kind == K_PARAM && c == '}')) {
        pop(s);
        return i + 1;
    }
    if (kind == K_DSQUOTE || kind == K_BACKQUOTE)
        return i + 1;
    if (kind == K_ARITH || kind == K_GROUP) {
        if (c == '(') {
            q->parens++;
            return i + 1;
        }
        if (c == ')') {
            if (q->parens > 0) {
                q->parens--;
                return i + 1;
            }
            const bool command = kind == K_ARITH && q->sub == 1;
            const bool twice = kind == K_ARITH && i + 1 < n && p[i + 1] == ')';
            if (kind == K_ARITH && !twice) {
                /* "((a) ...)" was two parentheses after all, the inner one
                 * closed now: "$( (" or "( (". */
                q->kind = command ? K_SUBSHELL : K_SUBST;
                q->list = L_AFTER;
                return i + 1;
            }
            if (command)
                close_construct(s);
            else
                pop(s);
            return i + 1 + twice;
        }
    }
    /* In double quotes a single quote is a character like any other. */
    if (kind == K_DQUOTE && c == '\'')
        return i + 1;
    if ((next = scan_opener(s, p, i, n, false)) != i)
        return next;
    return i + 1;
}

/* A byte of code at p[i] that is no operator, blank or comment. */
static size_t scan_word(shell_scanner *s, const char *p, size_t i, size_t n, bool *escaped_nl)
{
    scan_frame *f = top(s);
    const char c = p[i];
    size_t next;

    if (c == '\\') {
        if (i + 1 == n) {
            *escaped_nl = true;
            return i + 1;
        }
        word_byte(s, f, p[i + 1], true);
        return i + 2;
    }
    if ((next = scan_opener(s, p, i, n, true)) != i)
        return next;
    word_byte(s, f, c, false);
    return i + 1;
}

/* A "(" right behind a word's bytes: bash's array or pattern, or none. */
static bool word_paren(shell_scanner *s, const char *p, size_t i)
{
    scan_frame *f = top(s);
    const char before = i > 0 ? p[i - 1] : '\0';

    if (!s->bash || !f->in_word)
        return false;
    if (f->name == N_EQ) {
        push(s, K_ARRAY, 0);
        return true;
    }
    if (strchr("@*+?!", before) != nullptr && (before != '!' || f->word_len > 1)) {
        word_byte(s, f, '(', true);
        push(s, K_GROUP, 0);
        return true;
    }
    return false;
}

/* The line feed at the end of a line, in code. */
static void end_of_line(shell_scanner *s)
{
    scan_frame *f;

    end_word(s);
    f = code(s);
    if (f != top(s))
        return;
    switch (f->kind) {
    case K_FOR:
        if (f->sub == FOR_WORDS)
            f->sub = FOR_DO;
        if (f->sub != FOR_BODY)
            return;
        break;
    case K_CASE:
        if (f->sub != CASE_ARM)
            return;
        break;
    case K_FUNC:
    case K_COND:
    case K_ARRAY:
        return;
    default:
        break;
    }
    f->func_ok = 0;
    if (f->list != L_NEED)
        f->list = L_START;
}

static void read_line(shell_scanner *s, const char *p, size_t n)
{
    bool escaped_nl = false;
    size_t i = 0;

    s->comment = 0;
    if (s->in_body) {
        body_line(s, p, n);
        s->body_last = 1;
        return;
    }
    s->body_last = 0;
    s->continued = 0;

    while (i < n) {
        const char c = p[i];
        s->at = s->line_at + i;
        if (!is_code(top(s)->kind)) {
            i = scan_quoted(s, p, i, n, &escaped_nl);
            continue;
        }
        /* The shell drops NUL bytes.  A CR before the line feed ends the
         * word here, so that a file of CR LF lines splits into the same
         * commands; the shell itself keeps it in the word, which
         * scan_line notes. */
        if (c == '\0') {
            i++;
        } else if (qvxsessrun_is_blank(c) || (c == '\r' && i + 1 == n)) {
            end_word(s);
            i++;
        } else if (c == '#' && !top(s)->in_word) {
            s->comment = 1;
            s->comment_at = i;
            break;
        } else if (c == '(' && word_paren(s, p, i)) {
            i++;
        } else if (is_operator(c)) {
            s->seen = 1;
            i = scan_operator(s, p, i, n);
        } else {
            i = scan_word(s, p, i, n, &escaped_nl);
        }
    }

    if (escaped_nl) {
        s->continued = 1;
        return;
    }
    if (is_code(top(s)->kind)) {
        end_of_line(s);
        if (s->docs > s->doc)
            s->in_body = 1;
    }
}

void scan_line(shell_scanner *s, const char *p, size_t n)
{
    const size_t line = s->lines++;

    read_line(s, p, n);
    if (n > 0 && p[n - 1] == '\r' && !s->comment && !s->cr_end) {
        s->cr_end = 1;
        s->cr_line = line;
    }
}

int scan_open(const shell_scanner *s)
{
    if (s->in_body || s->docs > s->doc)
        return SCAN_HEREDOC;
    if (s->lost > 0)
        return SCAN_QUOTE;
    for (size_t i = 1; i < s->depth; i++)
        if (!is_code(s->f[i].kind) || s->f[i].kind == K_SUBST)
            return SCAN_QUOTE;
    if (s->continued)
        return SCAN_BACKSLASH;
    if (s->depth > 1 || s->f[0].list == L_NEED || s->f[0].list == L_REDIR)
        return SCAN_CONSTRUCT;
    return SCAN_CLOSED;
}

void scan_result(const shell_scanner *s, line_scan *out)
{
    const uint8_t list = s->f[0].list;

    memset(out, 0, sizeof(*out));
    out->open = static_cast<uint8_t>(scan_open(s));
    out->background = s->background;
    out->comment = s->comment;
    out->comment_at = s->comment_at;
    out->cr_end = s->cr_end;
    out->cr_line = s->cr_line;
    out->func_def = s->func_def;
    out->doc_last = s->body_last;
    out->has_command = s->seen || s->depth > 1 || s->lost > 0 || s->f[0].in_word;
    out->joins = !s->body_last && s->depth == 1 && list == L_NEED
        && (s->op == OP_AND || s->op == OP_OR || s->op == OP_PIPE);
    out->can_take_amp
        = out->open == SCAN_CLOSED && !s->body_last && s->seen && s->op == OP_NONE && !s->func_def;
    out->ends_shell = out->open == SCAN_CLOSED && !s->background && !s->last_joined
        && (s->last_kind == LAST_EXIT || (s->last_kind == LAST_EXEC && s->last_words > 0));
}

static void scan_lines(shell_scanner *s, const char *bytes, size_t len, line_scan *out);

/* A text of one or more lines, from the start. */
void scan_text(shell_scanner *s, const char *bytes, size_t len, int bash, line_scan *out)
{
    scan_reset(s, bash);
    scan_lines(s, bytes, len, out);
}

/* The lines of a text, from where the scanner stands. */
static void scan_lines(shell_scanner *s, const char *bytes, size_t len, line_scan *out)
{
    const char *end = bytes + len, *p = bytes, *nl;

    for (;;) {
        nl = static_cast<const char *>(memchr(p, '\n', end - p));
        s->line_at = size_t(p - bytes);
        scan_line(s, p, (nl != nullptr ? nl : end) - p);
        if (nl == nullptr)
            break;
        p = nl + 1;
    }
    scan_result(s, out);
    out->comment_at += p - bytes;
}

size_t qvxsessrun_command_starts(const command_list *list, const char *bytes, size_t len,
                                 size_t *starts, size_t max)
{
    shell_scanner s;
    line_scan out;

    scan_reset(&s, list != nullptr && header_names_bash(list->header, list->header_len));
    s.commands = starts;
    s.command_max = max;
    scan_lines(&s, bytes, len, &out);
    return s.command_count;
}

void qvxsessrun_scan(const command_list *list, const char *bytes, size_t len, line_scan *out)
{
    shell_scanner s;

    scan_text(&s, bytes, len, list != nullptr && header_names_bash(list->header, list->header_len),
              out);
}

/* "#!/bin/bash", "#! /usr/bin/env bash", ... */
/*
 * The program that a "#!" line runs, through "env" too: its base name at
 * header + *base, up to header + *end.  0, or -1 for no "#!" line.
 */
static int header_program(const char *header, size_t len, size_t *base, size_t *end)
{
    size_t i = 2, start;

    if (header == nullptr || len < 2)
        return -1;
    for (int word = 0; word < 2; word++) {
        while (i < len && qvxsessrun_is_blank(header[i]))
            i++;
        start = i;
        while (i < len && !qvxsessrun_is_blank(header[i]) && header[i] != '\n' && header[i] != '\r')
            i++;
        *end = i;
        *base = i;
        while (*base > start && header[*base - 1] != '/')
            (*base)--;
        if (!(*end - *base == 3 && memcmp(header + *base, "env", 3) == 0 && word == 0))
            break;
    }
    return 0;
}

int header_names_bash(const char *header, size_t len)
{
    static const char *const shells[] = { "bash", "ksh", "ksh93", "mksh", "zsh" };
    size_t base, end;

    if (header_program(header, len, &base, &end) == -1)
        return 0;
    for (const char *sh : shells)
        if (end - base == strlen(sh) && memcmp(header + base, sh, end - base) == 0)
            return 1;
    return 0;
}

int qvxsessrun_header_shell(const command_list *list, char *buf, size_t size)
{
    size_t base, end;

    if (header_program(list->header, list->header_len, &base, &end) == -1)
        return -1;
    if (size > 0)
        snprintf(buf, size, "%.*s", int(end - base), list->header + base);
    return 0;
}
