// SPDX-License-Identifier: BSD-2-Clause
#ifndef STORE_H
#define STORE_H

#include <stddef.h>
#include <stdint.h>
#include <sys/types.h>
#include <time.h>

/*
 * The command store: the commands of ~/.config/QVX/autostart.sh in memory,
 * reading and atomic writing of the script, and the undo/redo journal.
 * Plain records and functions; failures return null or -1 and leave their
 * text in the store's error buffer (qvxsessrun_error_text()).
 *
 * People write the script by hand too, so the store keeps every byte it
 * read: each command is one entry that carries the rest of its line with
 * it (the comment and blank lines above it, its final "&" or the lack of
 * one, blanks and a CR), and a save prints anew only what was changed.
 * A command's line may span several script lines where the shell reads
 * them as one: a quote, a "$(" or a here-document left open, or a
 * backslash before the line feed.
 */

struct command_list;

struct command_entry
{
    char *text; /* owned; the command, without the form of its line; may hold
                 * NUL bytes, and a NUL follows its text_len bytes */
    uint8_t active; /* 1 runs at session start, 0 kept as comment */
    command_entry *next;
    command_entry *prev;
    /* The form of the command's line, kept as read (may hold NUL bytes). */
    char *lead; /* owned or null: the comment and blank lines right above it */
    size_t lead_len;
    char *tail; /* owned or null: what follows the text on its last line (blanks,
                 * the final "&", a CR) */
    size_t tail_len;
    uint8_t newline; /* 1 when the line ends in a line feed */
    uint8_t as_read; /* 1 while the text is the one read: written even when blank */
    size_t text_len;
    /* The final "&" of a line that ends in a comment, with a blank or two:
     * it stands in front of the comment, at amp_at in text. */
    char *amp; /* owned or null */
    size_t amp_len;
    size_t amp_at;
    char *after; /* owned or null: comment and blank lines typed below the command */
    size_t after_len;
};

/*
 * The script on disk as the list last read or wrote it, so that a change
 * made by another program in between can be told before a save.  The
 * digest catches a change that leaves size and time alone (a write within
 * the clock's granularity).
 */
struct script_stamp
{
    uint8_t known; /* 0: the list was neither read nor written */
    uint8_t exists; /* 0: there was no script */
    dev_t dev;
    ino_t ino;
    off_t size;
    struct timespec mtime;
    uint64_t digest;
};

/* A list is made by the store only (read, parse, copy), with the undo and
 * redo journals that it keeps behind the list. */
struct command_list
{
    command_entry *entries;
    script_stamp disk; /* lists read from or written to the script only */
    char *header; /* owned or null: the "#!" line, with its line feed */
    size_t header_len;
    char *trailer; /* owned or null: the comment and blank lines after the last command */
    size_t trailer_len;
};

/* Script file */
command_list *qvxsessrun_read(void);
/* 0 when the script was replaced, -1 on failure, and 1 when it was not
 * written because another program changed the script since the list read
 * or wrote it (see qvxsessrun_accept_disk).  The error text is set for
 * both. */
int qvxsessrun_write(command_list *list);
/* The list that a script of these bytes reads as, with no file behind it
 * and empty journals; null on failure. */
command_list *qvxsessrun_parse(const char *bytes, size_t len);
command_list *qvxsessrun_copy(const command_list *list);
bool qvxsessrun_equal(const command_list *a, const command_list *b);
/* Whether a save writes the same bytes for the two entries. */
bool qvxsessrun_entry_equal(const command_entry *a, const command_entry *b);
void qvxsessrun_free(command_list *list);
const char *qvxsessrun_error_text(void);
/* 1 when the script is no longer what list read or wrote last, 0 when it
 * is, -1 when that cannot be told (the error text is set). */
int qvxsessrun_changed_on_disk(const command_list *list);
/* Takes the script as it is now for the one the list read, so that the
 * next write replaces it: the user chose to overwrite another program's
 * change.  0, or -1 when it cannot be looked at. */
int qvxsessrun_accept_disk(command_list *list);
/* 1 when the script that list read or wrote last is no longer there, 0
 * when it is or there was none, -1 when that cannot be told. */
int qvxsessrun_removed_on_disk(const command_list *list);
/* Reads the script again into list, as one step of undo and redo: its
 * commands, its "#!" line and the lines after its last command become the
 * script's as it is now (none when it is missing), and that script is the
 * one the next write replaces.  Undo brings back the list as it was; the
 * script on disk is only read.  0, or -1 when it cannot be read, with the
 * list and its journal as they were (the error text is set). */
int qvxsessrun_reload(command_list *list);

/* The script's lines */
/* The bytes that a save writes for the entry's line, without the lines
 * above it and its final line feed, in a new buffer of *len bytes that the
 * caller frees; *len is 0 when a save writes no line for it.  Null on
 * failure. */
char *qvxsessrun_line(const command_entry *entry, size_t *len);
/* The whole script as a save would write it, in a new buffer of *len
 * bytes.  Null on failure. */
char *qvxsessrun_render(const command_list *list, size_t *len);
/* The same, and in starts (one slot per entry) the offset at which each
 * entry's part of the script begins: the comment and blank lines above it,
 * then its line.  The first entry's part begins with the "#!" line. */
char *qvxsessrun_render_rows(const command_list *list, size_t *len, size_t *starts);

/* A blank of the shell's grammar: a space or a tab. */
static inline bool qvxsessrun_is_blank(char c)
{
    return c == ' ' || c == '\t';
}

/* How the reader takes a line of the script: a command, a switched-off
 * command, or a blank line or comment that goes with the next command. */
enum { LINE_COMMAND = 0, LINE_INACTIVE, LINE_TRIVIA };
int qvxsessrun_line_kind(const char *line, size_t len);
/* What a line shows, white space around it aside, before the shell reads
 * it: a "#" at its start, an "&" at its end.  Whether the shell takes them
 * so is line_scan's to say. */
enum { LINE_FORM_HASH_FIRST = 1, LINE_FORM_AMP_LAST = 2 };
int qvxsessrun_line_form(const char *line, size_t len);

/* What the shell makes of a command's line, told from its text alone. */
enum { SCAN_CLOSED = 0, SCAN_QUOTE, SCAN_BACKSLASH, SCAN_HEREDOC, SCAN_CONSTRUCT };
struct line_scan
{
    uint8_t open; /* SCAN_CLOSED, or what is left open at its end: a quote
                   * (or "$(", "${", "`"), a backslash, a here-document, or
                   * a compound command or an operator that wants more */
    uint8_t background; /* it ends in a lone "&" */
    uint8_t can_take_amp; /* a final "&" may be added (before a comment) */
    uint8_t joins; /* it ends in "&&", "||" or "|": the shell goes on reading */
    uint8_t comment; /* its last line ends in a comment */
    uint8_t has_command; /* it holds a command, not only blanks and comments */
    uint8_t func_def; /* its last command defines a function */
    uint8_t ends_shell; /* it ends in "exec COMMAND" or "exit" in the foreground */
    uint8_t doc_last; /* its last line is the end of a here-document */
    size_t comment_at; /* where that comment begins, when there is one */
    /* A line of it ends in a CR that is not in a comment, as in a file of
     * CR LF lines: the shell takes the CR for a byte of the line's last
     * word, or for a word of its own.  cr_line is the first such line,
     * counted from 0. */
    uint8_t cr_end;
    size_t cr_line;
};
/* As the shell that the first line of list names reads them (bash reads
 * its own compound forms too); sh when list is null. */
void qvxsessrun_scan(const command_list *list, const char *bytes, size_t len, line_scan *scan);
/* Where the simple commands of a text begin (the first max of them, into
 * starts), at its top level and inside its compound commands; how many
 * there are. */
size_t qvxsessrun_command_starts(const command_list *list, const char *bytes, size_t len,
                                 size_t *starts, size_t max);

/* 1 when the entry's command runs in the background as its line stands,
 * 0 when the script waits for it.  *fixed (when not null) is set to 1 when
 * qvxsessrun_set_background cannot change that. */
int qvxsessrun_background(const command_list *list, const command_entry *entry, int *fixed);

/*
 * Journalled edits.  A text given for a command is read as the same lines
 * in the script would be: where it holds several commands, each becomes an
 * entry of its own, and comment lines before and after them go above and
 * below them.  All that one call changes is one step of undo and redo.
 */
/* New commands, where they run: above a last command that replaces or
 * ends the shell, else at the end.  The first of them, the others after it
 * (*count, when not null, says how many); null on failure. */
command_entry *qvxsessrun_add_command(command_list *list, const char *text, int active);
command_entry *qvxsessrun_add_text(command_list *list, const char *text, size_t len, int active,
                                   size_t *count);
command_entry *qvxsessrun_delete_command(command_list *list, command_entry *entry);
/* The entry's text and flag; the commands that the text holds after its
 * first are new entries right after it (*added, when not null, says how
 * many).  0, or -1 on failure. */
int qvxsessrun_set_command(command_list *list, command_entry *entry, const char *text, int active);
int qvxsessrun_set_text(command_list *list, command_entry *entry, const char *text, size_t len,
                        int active, size_t *added);
/* Adds or removes the final "&" of the entry's line; a journalled set.  0,
 * also when nothing had to change; -1 on failure. */
int qvxsessrun_set_background(command_list *list, command_entry *entry, int background);
command_entry *qvxsessrun_move_up(command_list *list, command_entry *entry);
command_entry *qvxsessrun_move_down(command_list *list, command_entry *entry);
/* The newest step of undo and redo in effect becomes part of the step
 * before it.  0, or -1 when fewer than two steps are in effect. */
int qvxsessrun_join_step(command_list *list);
/* Takes back the newest step when it is the addition of entry alone, as
 * though it had never been made: the entry leaves the list and is
 * released, and there is nothing to redo.  1 when taken back, 0 when the
 * newest step is another one or has been undone (nothing changes). */
int qvxsessrun_take_back_add(command_list *list, const command_entry *entry);

/*
 * Undo and redo.  The journal itself is the store's own; what the window
 * needs of it is asked here.  A step may hold several records (a text of
 * several commands, files dropped at once, a reload).
 */
/* One record of a step, as it changes the list when applied. */
struct journal_change
{
    command_entry *entry; /* the entry it adds, removes, sets or moves;
                           * null for a reload, which replaces every entry */
    uint8_t in_list; /* the entry is in the list once the record is applied */
    uint8_t moved; /* the entry changes its place */
};
/* The records of the step that the next undo (undo set) or redo applies,
 * in the order it applies them: up to max of them into changes (which may
 * be null for max 0).  How many the step holds; 0 when there is none. */
size_t qvxsessrun_next_step(const command_list *list, int undo, journal_change *changes,
                            size_t max);
/* Undo the newest step in effect, or redo the step undone last.  How many
 * of its records were applied: fewer than the step holds when one could
 * not be (the error text set), and the list is then as those left it. */
size_t qvxsessrun_undo(command_list *list);
size_t qvxsessrun_redo(command_list *list);
bool qvxsessrun_can_undo(const command_list *list);
bool qvxsessrun_can_redo(const command_list *list);
/* How many steps can be undone. */
size_t qvxsessrun_undo_steps(const command_list *list);
/* How many records the list's edits have made so far, undone ones
 * included: an edit made a record when this grew. */
unsigned long qvxsessrun_records_made(const command_list *list);

/* The shell that the "#!" line names, through "env" too: its base name,
 * NUL-terminated, in buf (of size bytes, cut to fit); 0, or -1 when the
 * list has no "#!" line. */
int qvxsessrun_header_shell(const command_list *list, char *buf, size_t size);
/* 1 when the two lists have the same "#!" line and the same lines after
 * their last command, 0 when not. */
int qvxsessrun_same_frame(const command_list *a, const command_list *b);

#endif // STORE_H
