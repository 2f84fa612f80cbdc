// SPDX-License-Identifier: BSD-2-Clause
#include "check/checkwords.h"

#include "store/store.h"

#include <string.h>

/* Programs that run the command given behind their options, with the
 * options that take an argument of their own. */
struct wrapper
{
    const char *name;
    const char *options; /* the single-letter options it takes */
    const char *with_argument; /* those of them that take the next word */
};

static const wrapper wrappers[] = {
    { "exec", "acl", "a" },
    { "nohup", "", "" },
    { "env", "iv0uCPS", "uCPS" },
    { "command", "p", "" },
    { "nice", "n", "n" },
    { "setsid", "cfw", "" },
    { "sudo", "AbEHiknPSsugpChDrtUT", "ugpChDrtUT" },
};

static const char *const state_builtins[] = {
    "export", "readonly", "cd",      ".",     "source", "set",  "unset", "umask",
    "ulimit", "alias",    "unalias", "shift", "trap",   "hash", "local", "eval",
};

static const char *const not_posix[] = {
    "[[",   "function", "source", "select",   "declare", "typeset", "shopt",     "let",    "pushd",
    "popd", "dirs",     "disown", "complete", "bind",    "mapfile", "readarray", "coproc",
};

static bool is_name_start(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

static bool is_name_char(char c)
{
    return is_name_start(c) || (c >= '0' && c <= '9');
}

static bool listed(const char *const *list, size_t count, const QByteArray &word)
{
    for (size_t i = 0; i < count; i++)
        if (word == list[i])
            return true;
    return false;
}

bool command_word_not_posix(const QByteArray &word)
{
    return listed(not_posix, sizeof(not_posix) / sizeof(not_posix[0]), word);
}

/* One word of a simple command, as written and as the shell leaves it
 * after quote removal. */
struct word
{
    QByteArray raw;
    QByteArray value;
    bool expands = false; /* a parameter, a command substitution or a glob */
};

static bool is_operator(char c)
{
    return strchr(";&|<>()\n", c) != nullptr;
}

/* Where the "(" or "{" at open is closed, counting nested pairs and
 * skipping quoted text; -1 when it is not. */
static int matching(const QByteArray &text, int open)
{
    const char opening = text.at(open), closing = opening == '(' ? ')' : '}';
    int depth = 0;

    for (int i = open; i < text.size(); i++) {
        const char c = text.at(i);
        if (c == '\\') {
            i++;
        } else if (c == '\'' || c == '"') {
            const int end = text.indexOf(c, i + 1);
            if (end < 0)
                return -1;
            i = end;
        } else if (c == opening) {
            depth++;
        } else if (c == closing && --depth == 0) {
            return i;
        }
    }
    return -1;
}

/* Reads the word that starts at *at; false when it leaves a quote open. */
static bool read_word(const QByteArray &text, int *at, word *w)
{
    const int n = text.size(), start = *at;
    char quote = 0;
    bool bracket = false; // a "[" that a "]" may close into a pattern
    int i = start;

    for (; i < n; i++) {
        const char d = text.at(i);
        if (quote == '\'') {
            if (d == '\'')
                quote = 0;
            else
                w->value += d;
        } else if (d == '\\' && i + 1 < n) {
            if (quote == 0 || strchr("$`\"\\", text.at(i + 1)) != nullptr)
                i++;
            w->value += text.at(i);
        } else if (quote == '"') {
            if (d == '"')
                quote = 0;
            else
                w->value += d;
            w->expands = w->expands || d == '$' || d == '`';
        } else if (d == '\'' || d == '"') {
            quote = d;
        } else if (d == '$' && i + 1 < n && (text.at(i + 1) == '(' || text.at(i + 1) == '{')) {
            // Its value is not known here; only where it ends matters.
            const int close = matching(text, i + 1);
            if (close < 0)
                return false;
            w->value += text.mid(i, close + 1 - i);
            w->expands = true;
            i = close;
        } else if (d == '`') {
            const int close = text.indexOf('`', i + 1);
            if (close < 0)
                return false;
            w->value += text.mid(i, close + 1 - i);
            w->expands = true;
            i = close;
        } else if (qvxsessrun_is_blank(d) || is_operator(d)) {
            break;
        } else {
            w->value += d;
            // A "[" without its "]" is no pattern, as in "[[".
            w->expands = w->expands || strchr("$`*?~", d) != nullptr || (bracket && d == ']');
            bracket = bracket || d == '[';
        }
    }
    w->raw = text.mid(start, i - start);
    *at = i;
    return quote == 0;
}

/* Skips a redirection ("2>&1", ">file", "< in") at *at; false when there
 * is none or it is a here-document. */
static bool skip_redirection(const QByteArray &text, int *at)
{
    const int n = text.size();
    int i = *at;

    while (i < n && text.at(i) >= '0' && text.at(i) <= '9')
        i++;
    if (i == n || (text.at(i) != '<' && text.at(i) != '>') || text.mid(i, 2) == "<<")
        return false;
    i++;
    if (i < n && strchr(">&|", text.at(i)) != nullptr)
        i++;
    while (i < n && qvxsessrun_is_blank(text.at(i)))
        i++;
    word target;
    if (i == n || is_operator(text.at(i)) || !read_word(text, &i, &target))
        return false;
    *at = i;
    return true;
}

/*
 * Splits text into the words of one simple command, redirections left
 * out.  False when the text is more than that (an operator, a line feed
 * between words, a quote left open); words then holds the words read up
 * to there.
 */
static bool split_words(const QByteArray &text, QList<word> *words)
{
    const int n = text.size();
    int i = 0;

    for (;;) {
        while (i < n && qvxsessrun_is_blank(text.at(i)))
            i++;
        if (i == n || text.at(i) == '#')
            return true;
        if (skip_redirection(text, &i))
            continue;
        if (is_operator(text.at(i))) {
            // "name()" defines a function and "x)" is a pattern of a case:
            // neither runs its word.
            if ((text.at(i) == '(' || text.at(i) == ')') && words->size() == 1)
                words->clear();
            return false;
        }
        word w;
        if (!read_word(text, &i, &w))
            return false;
        words->append(w);
    }
}

static bool is_assignment(const word &w)
{
    int i = 0;

    if (w.raw.isEmpty() || !is_name_start(w.raw.at(0)))
        return false;
    while (i < w.raw.size() && is_name_char(w.raw.at(i)))
        i++;
    return i < w.raw.size() && w.raw.at(i) == '=';
}

/*
 * The word with a leading "~/", "$HOME/" or "${HOME}/" (in double quotes
 * too) read as the home directory, as the shell reads it for a user
 * whose HOME is the one in the password database.
 */
static word with_home(const word &w, const QByteArray &home)
{
    static const char *const prefixes[] = { "~/", "$HOME/", "${HOME}/", "\"$HOME/", "\"${HOME}/" };

    if (home.isEmpty() || strpbrk(home.constData(), "$`\"\\'*?[") != nullptr)
        return w;
    for (const char *prefix : prefixes) {
        const QByteArray p(prefix);
        if (!w.raw.startsWith(p))
            continue;
        const QByteArray quote = p.startsWith('"') ? "\"" : "";
        QList<word> again;
        if (!split_words(quote + home + w.raw.mid(p.size() - 1), &again) || again.size() != 1)
            return w;
        return again.first();
    }
    return w;
}

/* A name the shell looks up as it stands: no expansion, nothing that
 * could not be a file name, and no relative path, which depends on the
 * directory the session starts in. */
static bool can_look_up(const word &w)
{
    if (w.expands || w.value.isEmpty() || w.value.size() > 4096)
        return false;
    for (char c : w.value)
        if (c == '\0' || c == '\n' || c == '\r')
            return false;
    return w.value.at(0) == '/' || !w.value.contains('/');
}

static const wrapper *wrapper_of(const QByteArray &name)
{
    for (const wrapper &w : wrappers)
        if (name == w.name)
            return &w;
    return nullptr;
}

/* Index of the word behind the wrapper's options at words[i], or -1 when
 * it is not known what the wrapper runs: an option it does not take, or
 * one that runs nothing ("command -v"). */
static int behind_options(const wrapper &wrap, const QList<word> &words, int i)
{
    const bool env = strcmp(wrap.name, "env") == 0;

    for (i++; i < words.size(); i++) {
        const QByteArray &v = words.at(i).value;
        if (env && is_assignment(words.at(i)))
            continue;
        if (v == "--")
            return i + 1;
        if (!v.startsWith('-') || v == "-")
            return i;
        for (int k = 1; k < v.size(); k++) {
            if (strchr(wrap.options, v.at(k)) == nullptr || v.at(k) == '\0')
                return -1;
            // "-n 10" takes the next word, "-n10" does not.
            if (strchr(wrap.with_argument, v.at(k)) != nullptr) {
                i += k == v.size() - 1;
                break;
            }
        }
    }
    return i;
}

void command_words_of(const QByteArray &text, const QByteArray &home, command_words *out)
{
    QList<word> words;
    int i = 0;

    *out = command_words();
    out->simple = split_words(text, &words);
    while (i < words.size() && is_assignment(words.at(i)))
        i++;
    out->assignments_only = out->simple && i > 0 && i == words.size();
    if (i == words.size())
        return;

    const word first = with_home(words.at(i), home);
    if (!first.expands)
        out->first = first.value;
    const QByteArray &name = out->first;
    if (out->simple) {
        out->ends_shell = name == "exit";
        out->state_only
            = listed(state_builtins, sizeof(state_builtins) / sizeof(state_builtins[0]), name);
    }

    for (word w = first;;) {
        const wrapper *wrap = can_look_up(w) ? wrapper_of(w.value) : nullptr;
        // exec and command are the shell's own; the others are programs.
        if (can_look_up(w) && (wrap == nullptr || (w.value != "exec" && w.value != "command")))
            out->lookups.append(w.value);
        if (wrap == nullptr)
            break;
        i = behind_options(*wrap, words, i);
        if (i < 0 || i >= words.size())
            break;
        out->replaces_shell = out->replaces_shell || (out->simple && w.value == "exec");
        w = with_home(words.at(i), home);
    }
}

/* The program that "$(command -v NAME)" or "$(which NAME)" (or the same in
 * backquotes) stands for; empty for any other word. */
static QByteArray substituted_program(const word &w)
{
    QByteArray inner;
    if (w.value.startsWith("$(") && w.value.endsWith(')'))
        inner = w.value.mid(2, w.value.size() - 3);
    else if (w.value.size() > 1 && w.value.startsWith('`') && w.value.endsWith('`'))
        inner = w.value.mid(1, w.value.size() - 2);
    else
        return QByteArray();
    QList<word> words;
    if (!split_words(inner, &words))
        return QByteArray();
    const bool commandV
        = words.size() == 3 && words.at(0).value == "command" && words.at(1).value == "-v";
    const bool which = words.size() == 2 && words.at(0).value == "which";
    const word &name = words.isEmpty() ? w : words.last();
    return (commandV || which) && can_look_up(name) ? name.value : QByteArray();
}

QList<QByteArray> command_tested(const QByteArray &text, const QByteArray &home)
{
    QList<word> words;
    QList<QByteArray> tested;

    // The words up to the operator that ends the command.
    split_words(text, &words);
    if (words.isEmpty())
        return tested;
    const QByteArray &name = words.first().value;
    const bool bracket = name == "[" && words.size() == 4 && words.at(3).value == "]";
    if (bracket || (name == "test" && words.size() == 3)) {
        if (words.at(1).value != "-x")
            return tested;
        const word path = with_home(words.at(2), home);
        const QByteArray program = substituted_program(path);
        if (!program.isEmpty())
            tested << program;
        else if (can_look_up(path) && path.value.startsWith('/'))
            tested << path.value;
        return tested;
    }
    int from;
    if (name == "command" && words.size() > 1 && words.at(1).value == "-v")
        from = 2;
    else if (name == "which" || name == "type" || name == "hash")
        from = 1;
    else
        return tested;
    for (int i = from; i < words.size(); i++) {
        const word program = with_home(words.at(i), home);
        if (!program.value.startsWith('-') && can_look_up(program))
            tested << program.value;
    }
    return tested;
}

bool command_is_tested(const QByteArray &name, const QList<QByteArray> &tested)
{
    for (const QByteArray &t : tested)
        if (t == name || (!name.contains('/') && t.startsWith('/') && t.endsWith('/' + name)))
            return true;
    return false;
}

QList<QByteArray> command_definitions(const QByteArray &text)
{
    QList<QByteArray> names;
    int i = 0;
    const int n = text.size();

    while (i < n && qvxsessrun_is_blank(text.at(i)))
        i++;
    const bool keyword = text.mid(i, 9) == "function " || text.mid(i, 9) == "function\t";
    if (keyword)
        for (i += 9; i < n && qvxsessrun_is_blank(text.at(i)); i++)
            ;
    const int start = i;
    while (i < n && !qvxsessrun_is_blank(text.at(i)) && !is_operator(text.at(i))
           && text.at(i) != '{')
        i++;
    const QByteArray name = text.mid(start, i - start);
    while (i < n && qvxsessrun_is_blank(text.at(i)))
        i++;
    if (!name.isEmpty() && (keyword || text.mid(i, 1) == "("))
        names.append(name);

    QList<word> words;
    split_words(text, &words);
    if (!words.isEmpty() && words.first().value == "alias")
        for (int k = 1; k < words.size(); k++)
            if (words.at(k).value.indexOf('=') > 0)
                names.append(words.at(k).value.left(words.at(k).value.indexOf('=')));
    return names;
}
