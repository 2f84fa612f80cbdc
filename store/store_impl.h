// SPDX-License-Identifier: BSD-2-Clause
#ifndef STORE_IMPL_H
#define STORE_IMPL_H

/*
 * What the parts of the store share and nobody else sees: the error
 * buffer's helpers, allocation, growing byte buffers, entries, the shell
 * scanner and the form of a script line.
 */

#include "store.h"

#include <stdio.h>
#include <sys/stat.h>

#define SCRIPT_NAME "autostart.sh"
#define DEFAULT_HEADER "#!/bin/sh\n"
#define INACTIVE_MARK "#[INACTIVE]#"
#define INACTIVE_MARK_LEN (sizeof(INACTIVE_MARK) - 1)

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

/* Entries (store.cpp) */
command_list *list_new(void);
command_entry *entry_new(void);
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
char *command_copy(const char *text, int *wants_amp);
char *tail_for_text(const char *text, const char *tail, size_t tail_len, int amp, size_t *len);
size_t split_tail(const char *line, size_t len, int amp, int escapes);
char *tail_with_amp(const command_entry *e, int background, size_t *len);

/*
 * The shell scanner (scan.cpp): fed one script line at a time, it follows
 * quotes, "$(", backslashes, comments and here-documents far enough to
 * tell where the shell's reading of a line ends.  It never allocates;
 * beyond its fixed limits it goes on in a simpler way, which can only
 * move where an entry ends, never lose a byte.
 */
#define SCAN_DEPTH 64
#define SCAN_DOCS 16
#define SCAN_DELIM_BYTES 1024
#define SCAN_WORD 8

struct shell_scanner
{
    uint8_t ctx[SCAN_DEPTH]; /* the quotes and substitutions open, innermost last */
    uint32_t parens[SCAN_DEPTH]; /* "(" open inside each "$(" */
    size_t depth;
    size_t lost; /* opened beyond SCAN_DEPTH */
    uint8_t continued; /* the last line ended in an escaping backslash */
    char prev; /* the byte before, for the start of a word */
    /* here-documents whose lines are still to come */
    char delims[SCAN_DELIM_BYTES];
    size_t delims_len;
    uint16_t doc_off[SCAN_DOCS];
    uint16_t doc_len[SCAN_DOCS];
    uint8_t doc_strip[SCAN_DOCS];
    int docs;
    int doc; /* the one whose lines are being read */
    uint8_t in_body;
    /* what the logical line amounts to so far, at its top level */
    uint8_t background; /* the last thing was a lone "&" */
    uint8_t op; /* the last thing was this operator (0: a word) */
    char word[SCAN_WORD]; /* the last word, when short and plain */
    size_t word_len;
    uint8_t comment; /* the last line ended in a comment */
    uint8_t body_last; /* the last line belonged to a here-document */
    uint8_t seen; /* anything at all at the top level */
};

void scan_reset(shell_scanner *s);
void scan_line(shell_scanner *s, const char *line, size_t len);
int scan_open(const shell_scanner *s);
void scan_result(const shell_scanner *s, line_scan *out);
void scan_text(shell_scanner *s, const char *bytes, size_t len, line_scan *out);

#endif // STORE_IMPL_H
