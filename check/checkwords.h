// SPDX-License-Identifier: BSD-2-Clause
#ifndef CHECKWORDS_H
#define CHECKWORDS_H

#include <QByteArray>
#include <QList>

/*
 * What a command's text says about the command it runs, read the way the
 * shell splits a simple command into words, without running anything:
 * which names the shell will look up, and whether the command only
 * changes the shell's own state or replaces or ends the shell.
 */
struct command_words
{
    /* The names to look up, in the order the shell meets them: a program
     * that runs another (nohup, env, ...) and the command behind it.
     * Absolute paths, or names without a "/". */
    QList<QByteArray> lookups;
    QByteArray first; /* the first command word, when it is plain */
    bool simple = false; /* one simple command, nothing around it */
    bool assignments_only = false; /* only "NAME=value" words */
    bool state_only = false; /* acts on the shell itself (cd, export, ...) */
    bool replaces_shell = false; /* "exec" with a command behind it */
    bool ends_shell = false; /* "exit" */
};

/* Reads text, the command without the form of its line.  home is the
 * user's home directory, which "~/" and "$HOME/" name. */
void command_words_of(const QByteArray &text, const QByteArray &home, command_words *words);

/* The names of the functions and aliases that text defines, which the
 * script itself then knows as commands. */
QList<QByteArray> command_definitions(const QByteArray &text);

/*
 * The programs that the simple command at the start of text tests for, as
 * a script does before it runs one: "command -v NAME", "which NAME",
 * "type NAME", "hash NAME", "test -x PATH" and "[ -x PATH ]", PATH also
 * "$(command -v NAME)" or "$(which NAME)".  home as for command_words_of.
 */
QList<QByteArray> command_tested(const QByteArray &text, const QByteArray &home);

/* Whether a name to look up is one of the tested: the same name, or a
 * name without a "/" that a tested absolute path ends in. */
bool command_is_tested(const QByteArray &name, const QList<QByteArray> &tested);

/* Words that a POSIX shell does not know, though some other shells do. */
bool command_word_not_posix(const QByteArray &word);

#endif // CHECKWORDS_H
