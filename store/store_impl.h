// SPDX-License-Identifier: BSD-2-Clause
#ifndef STORE_IMPL_H
#define STORE_IMPL_H

/*
 * What the parts of the store share and nobody else sees: the error
 * buffer's helpers, allocation, growing byte buffers, entries, the shell
 * scanner and the form of a script line.
 */

#include "store/store.h"
#include "sys/systemshell.h"

#include <stdio.h>
#include <sys/stat.h>

#define SCRIPT_NAME "autostart.sh"
/* The "#!" line of a new script: the shell that runs it at session start. */
#define DEFAULT_HEADER "#!" SYSTEM_SHELL "\n"
#define INACTIVE_MARK "#[INACTIVE]#"
#define INACTIVE_MARK_LEN (sizeof(INACTIVE_MARK) - 1)

/* The undo and redo journals */
enum {
    JOURNAL_ADD = 1,
    JOURNAL_DELETE = 2,
    JOURNAL_SET = 3,
    JOURNAL_MOVE_UP = 4,
    JOURNAL_MOVE_DOWN = 5,
    JOURNAL_REPLACE = 6 /* every command, the "#!" line and the trailer at once */
};

/*
 * One operation in one of the two journals, which run in step: the undo
 * journal's records up to undo_cursor are in effect, those after it are
 * undone, and the redo journal's twins refer to the same entries.
 *
 * Who holds an entry.  An entry in the chain belongs to the list.  An
 * entry out of the chain belongs to the one undo record that took it out:
 * the JOURNAL_DELETE in effect, or the JOURNAL_ADD undone (the entry's
 * later records are then undone as well).  A chain that a
 * JOURNAL_REPLACE traded for another (a reload of the script) belongs,
 * whole, to the undo record of that step.  Every other record only
 * refers to its entry.  So dropping undone records frees the entries of
 * the undone additions among them, and releasing a list frees the chain,
 * then the entries of the deletions in effect and of the additions
 * undone, each exactly once.
 */
struct journal_record
{
    uint8_t type;
    uint8_t joined; /* undone and redone together with the record before it */
    command_entry *entry; /* held as said above */
    command_entry *saved_prev; /* add (redo) and delete (undo) only */
    command_entry *saved_next;
    journal_record *prev;
    journal_record *next;
    /* JOURNAL_SET only, owned: what the entry takes, its text, flag and
     * form, as an entry of its own that is in no chain */
    command_entry *state;
    /* JOURNAL_REPLACE only: the chain, "#!" line and trailer that are not
     * in the list now, which undo or redo trades for the list's.  The two
     * records of the step share it; the undo record owns it (owns_other). */
    command_list *other;
    uint8_t owns_other;
};

/*
 * A list as the store makes it (list_new): the part that callers see, then
 * the journals, which only the store reads.
 */
struct journal_list
{
    command_list list;
    journal_record *undo_head;
    journal_record *redo_head;
    journal_record *undo_cursor;
    journal_record *redo_cursor;
    unsigned long records_made;
};

inline journal_list *journal_of(command_list *list)
{
    return reinterpret_cast<journal_list *>(list);
}

inline const journal_list *journal_of(const command_list *list)
{
    return reinterpret_cast<const journal_list *>(list);
}

/* Errors and allocation (store.cpp) */
void store_set_error(const char *fmt, ...) __attribute__((format(printf, 1, 2)));
void *store_malloc(size_t size);
char *store_strdup(const char *text);
char *store_memdup(const char *bytes, size_t len);
char *script_path(const char *suffix);

/* A growing byte buffer, NUL-terminated once anything was added (an empty
 * addition included); -1 (the error text set) when it cannot grow. */
struct byte_buf
{
    char *p;
    size_t len;
    size_t cap;
};
int buf_add(byte_buf *b, const char *bytes, size_t len);
bool same_bytes(const char *a, size_t a_len, const char *b, size_t b_len);

/* Entries (store.cpp) */
/* Every list is made here, with its journals. */
command_list *list_new(void);
command_entry *entry_new(void);
command_entry *entry_copy(const command_entry *e);
void entry_free(command_entry *e);
void entry_link_after(command_list *list, command_entry *tail, command_entry *e);
command_entry *last_entry(const command_list *list);
bool entry_written(const command_entry *e);
void records_free(journal_record *r);
void records_drop_undone(journal_record *r);

/* The script on disk (disk.cpp) */
/* 64-bit FNV-1a: cheap, and any accidental change shows. */
#define DIGEST_START UINT64_C(0xcbf29ce484222325)
uint64_t digest_add(uint64_t digest, const void *data, size_t len);
int digest_fd(int fd, uint64_t *digest);
void stamp_from_stat(script_stamp *stamp, const struct stat *st, uint64_t digest);
int open_and_stat(const char *path, struct stat *sb);
int stamp_differs(const script_stamp *was, const char *path);

/* The form of a line (line.cpp) */
int render_line(byte_buf *out, const command_entry *e);
int render_list(byte_buf *out, const command_list *list, size_t *starts);
size_t split_tail(const char *line, size_t len, int amp, int escapes);
/* A line that begins with the marker of a switched-off command. */
bool line_has_mark(const char *line, size_t len);
/* A line of blanks (and CRs), or a comment that is not a switched-off
 * command: no command. */
bool line_is_trivia(const char *line, size_t len);

/* Edits (edit.cpp) */
int entry_line(const command_entry *e, byte_buf *out);
command_entry *entry_with_background(const command_entry *e, int background, int bash);
command_list *edit_entries(const command_entry *old, const char *text, size_t len, int bash);

/*
 * The shell scanner (scan.cpp): fed one script line at a time, it follows
 * the shell's reading far enough to tell where one command ends and the
 * next begins, and how a command's line ends: quotes, "$(", "${", "$((",
 * backslashes, comments, operators, here-documents, and the compound
 * commands with their reserved words.  It never allocates; beyond its
 * fixed limits it goes on in a simpler way, which can only move where an
 * entry ends, never lose a byte.
 */
#define SCAN_DEPTH 64
#define SCAN_DOCS 16
#define SCAN_DELIM_BYTES 1024
#define SCAN_WORD 8

/* A quote, or a construct whose commands are read inside it; frame 0 is
 * the script's top level. */
struct scan_frame
{
    uint8_t kind;
    uint8_t sub; /* where in its construct the reading is */
    uint8_t list; /* where in a command of its own the reading is */
    uint8_t in_word; /* a word is being read */
    uint8_t plain; /* ... of unquoted bytes alone so far */
    uint8_t name; /* ... how far it is an assignment NAME=value */
    uint8_t func_ok; /* its last word may name a function: "(" defines one */
    size_t word_at; /* where the word began */
    uint8_t word_len; /* its first SCAN_WORD bytes, one more when longer */
    char word[SCAN_WORD];
    uint32_t parens; /* "(" open inside it, where they count */
};

struct shell_scanner
{
    scan_frame f[SCAN_DEPTH];
    size_t depth; /* frames in use */
    size_t lost; /* opened beyond SCAN_DEPTH */
    uint8_t bash; /* bash's compound forms as well */
    uint8_t continued; /* the last line ended in an escaping backslash */
    /* here-documents whose lines are still to come */
    char delims[SCAN_DELIM_BYTES];
    size_t delims_len;
    uint16_t doc_off[SCAN_DOCS];
    uint16_t doc_len[SCAN_DOCS];
    uint8_t doc_strip[SCAN_DOCS];
    int docs;
    int doc; /* the one whose lines are being read */
    uint8_t in_body;
    /* what the text amounts to so far, at its top level */
    uint8_t background; /* the last thing was a lone "&" */
    uint8_t op; /* the last thing was this operator (0: a word) */
    uint8_t comment; /* the last line ended in a comment */
    size_t comment_at; /* where in that line it began */
    uint8_t body_last; /* the last line belonged to a here-document */
    uint8_t seen; /* anything at all at the top level */
    uint8_t func_def; /* the last command defined a function */
    uint8_t last_kind; /* the last command's first word: exec, exit or other */
    uint8_t last_words; /* the words after it, up to 2 */
    uint8_t last_joined; /* it is part of a pipeline or an and-or list */
    /* where the bytes being read are */
    size_t line_at; /* the line's first byte, in the text */
    size_t lines; /* the lines read so far */
    /* the first line that ends in a CR outside a comment */
    uint8_t cr_end;
    size_t cr_line;
    size_t at; /* the byte's */
    /* where each simple command begins, when asked */
    size_t *commands;
    size_t command_max;
    size_t command_count;
};

void scan_reset(shell_scanner *s, int bash);
void scan_line(shell_scanner *s, const char *line, size_t len);
int scan_open(const shell_scanner *s);
void scan_result(const shell_scanner *s, line_scan *out);
void scan_text(shell_scanner *s, const char *bytes, size_t len, int bash, line_scan *out);
/* Whether the "#!" line names a shell that reads bash's forms. */
int header_names_bash(const char *header, size_t len);

/*
 * Entries out of script lines (build.cpp), for the reader and for the
 * edits: the lines of one command make one entry, the comment and blank
 * lines above it its lead, those after the last command the trailer.
 */
struct entry_builder
{
    command_list *list; /* the entries go into its chain */
    command_entry *last; /* the last entry made */
    byte_buf lead; /* comment and blank lines waiting for the next command */
    byte_buf body; /* the command's lines being read, joined by line feeds */
    size_t line_start; /* where the body's last line begins */
    shell_scanner scan;
    int bash;
    bool header; /* a first line "#!..." is the list's header */
    bool started;
    bool building;
    bool active;
    bool newline; /* the command's last line had a line feed */
};
void builder_start(entry_builder *b, command_list *list, int bash, bool header);
int builder_line(entry_builder *b, const char *line, size_t len, bool lf);
int builder_finish(entry_builder *b);
void builder_free(entry_builder *b);
command_list *read_text(const char *text, size_t len, int bash);
bool amp_before_comment(const char *text, size_t comment_at, size_t *from, size_t *to);

#endif // STORE_IMPL_H
