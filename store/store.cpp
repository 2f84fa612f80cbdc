// SPDX-License-Identifier: BSD-2-Clause
/*
 * What every part of the store uses: the error buffer, allocation, the
 * script's path, entries, and the lists as wholes (copy, compare, free).
 */
#include "store/store_impl.h"

#include "cfg/cfg.h"

#include <errno.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

static char store_error[1024];

/*
 * Fill the error buffer with the failing step, then ": " and the
 * system's reason when errno says there is one.
 */
void store_set_error(const char *fmt, ...)
{
    int saved_errno = errno;
    size_t len;
    va_list ap;

    va_start(ap, fmt);
    vsnprintf(store_error, sizeof(store_error), fmt, ap);
    va_end(ap);
    if (saved_errno != 0) {
        len = strlen(store_error);
        snprintf(store_error + len, sizeof(store_error) - len, ": %s", strerror(saved_errno));
    }
    errno = saved_errno;
}

const char *qvxsessrun_error_text(void)
{
    return store_error;
}

/*
 * Every allocation of the store goes through these: on failure the error
 * buffer names the call and the reason, so that no caller can leave an
 * empty or older text behind.  store_malloc() stays out of line, so that a
 * zero-filled allocation is not merged into calloc() behind its back.
 */
__attribute__((noinline)) void *store_malloc(size_t size)
{
    void *p = malloc(size);

    if (p == nullptr)
        store_set_error("malloc()");
    return p;
}

char *store_strdup(const char *text)
{
    char *copy = strdup(text);

    if (copy == nullptr)
        store_set_error("strdup()");
    return copy;
}

/* A NUL-terminated copy of len bytes, which may hold NUL bytes of their own. */
char *store_memdup(const char *bytes, size_t len)
{
    char *copy = static_cast<char *>(store_malloc(len + 1));

    if (copy == nullptr)
        return nullptr;
    if (len > 0)
        memcpy(copy, bytes, len);
    copy[len] = '\0';
    return copy;
}

int buf_add(byte_buf *b, const char *bytes, size_t len)
{
    size_t cap = b->cap;
    char *grown;

    while (cap - b->len < len + 1) {
        cap = cap == 0 ? 256 : cap * 2;
        if (cap <= b->cap) {
            errno = ENOMEM;
            store_set_error("malloc()");
            return -1;
        }
    }
    if (cap != b->cap) {
        grown = static_cast<char *>(store_malloc(cap));
        if (grown == nullptr)
            return -1;
        if (b->len > 0)
            memcpy(grown, b->p, b->len);
        free(b->p);
        b->p = grown;
        b->cap = cap;
    }
    if (len > 0)
        memcpy(b->p + b->len, bytes, len);
    b->len += len;
    b->p[b->len] = '\0';
    return 0;
}

/*
 * The path of the script with suffix appended, in the configuration
 * directory, which is created when missing.  The caller frees it.
 */
char *script_path(const char *suffix)
{
    char *dir, *path;
    size_t size;

    if (suffix == nullptr)
        suffix = "";
    /*
     * cfg_make_dir records nothing when it runs out of memory; start from a
     * cleared record so that an old, unrelated text is never shown instead.
     */
    cfg_set_error(CFG_ERR_NONE, nullptr);
    dir = cfg_make_dir(nullptr);
    if (dir == nullptr) {
        const char *cfg_text = cfg_error_text();

        if (*cfg_text == '\0')
            store_set_error("malloc()");
        else /* the configuration text carries its own reason */
            snprintf(store_error, sizeof(store_error), "%s", cfg_text);
        return nullptr;
    }
    size = strlen(dir) + 1 + strlen(SCRIPT_NAME) + strlen(suffix) + 1;
    path = static_cast<char *>(store_malloc(size));
    if (path == nullptr) {
        free(dir);
        return nullptr;
    }
    snprintf(path, size, "%s/%s%s", dir, SCRIPT_NAME, suffix);
    free(dir);
    return path;
}

command_list *list_new(void)
{
    journal_list *made = static_cast<journal_list *>(store_malloc(sizeof(*made)));

    if (made == nullptr)
        return nullptr;
    memset(made, 0, sizeof(*made));
    return &made->list;
}

/* A zero-filled entry whose line ends in a line feed. */
command_entry *entry_new(void)
{
    command_entry *e = static_cast<command_entry *>(store_malloc(sizeof(*e)));

    if (e != nullptr) {
        memset(e, 0, sizeof(*e));
        e->newline = 1;
    }
    return e;
}

void entry_free(command_entry *e)
{
    if (e == nullptr)
        return;
    free(e->text);
    free(e->lead);
    free(e->tail);
    free(e->amp);
    free(e->after);
    free(e);
}

/* Link e behind tail, the last entry of the list (null when it is empty). */
void entry_link_after(command_list *list, command_entry *tail, command_entry *e)
{
    e->next = nullptr;
    e->prev = tail;
    if (tail == nullptr)
        list->entries = e;
    else
        tail->next = e;
}

command_entry *last_entry(const command_list *list)
{
    command_entry *e = list->entries;

    while (e != nullptr && e->next != nullptr)
        e = e->next;
    return e;
}

/* A copy of len bytes into *to, or null for none; -1 when there is no memory. */
static int copy_bytes(char **to, size_t *to_len, const char *from, size_t len)
{
    *to_len = len;
    *to = nullptr;
    if (from == nullptr)
        return 0;
    *to = store_memdup(from, len);
    return *to == nullptr ? -1 : 0;
}

/* A copy of e with its whole form, not linked anywhere. */
command_entry *entry_copy(const command_entry *e)
{
    command_entry *c = entry_new();

    if (c == nullptr)
        return nullptr;
    c->active = e->active;
    c->newline = e->newline;
    c->as_read = e->as_read;
    c->amp_at = e->amp_at;
    if (copy_bytes(&c->text, &c->text_len, e->text != nullptr ? e->text : "", e->text_len) == -1
        || copy_bytes(&c->lead, &c->lead_len, e->lead, e->lead_len) == -1
        || copy_bytes(&c->tail, &c->tail_len, e->tail, e->tail_len) == -1
        || copy_bytes(&c->amp, &c->amp_len, e->amp, e->amp_len) == -1
        || copy_bytes(&c->after, &c->after_len, e->after, e->after_len) == -1) {
        entry_free(c);
        return nullptr;
    }
    return c;
}

command_list *qvxsessrun_copy(const command_list *list)
{
    command_list *copy;
    command_entry *tail = nullptr, *c;

    copy = list_new();
    if (copy == nullptr)
        return nullptr;
    if (copy_bytes(&copy->header, &copy->header_len, list->header, list->header_len) == -1
        || copy_bytes(&copy->trailer, &copy->trailer_len, list->trailer, list->trailer_len) == -1)
        goto fail;
    for (const command_entry *e = list->entries; e != nullptr; e = e->next) {
        if ((c = entry_copy(e)) == nullptr)
            goto fail;
        entry_link_after(copy, tail, c);
        tail = c;
    }
    return copy;

fail:
    qvxsessrun_free(copy);
    return nullptr;
}

bool same_bytes(const char *a, size_t a_len, const char *b, size_t b_len)
{
    return a_len == b_len && (a_len == 0 || memcmp(a, b, a_len) == 0);
}

int qvxsessrun_same_frame(const command_list *a, const command_list *b)
{
    return same_bytes(a->header, a->header_len, b->header, b->header_len)
        && same_bytes(a->trailer, a->trailer_len, b->trailer, b->trailer_len);
}

bool qvxsessrun_entry_equal(const command_entry *x, const command_entry *y)
{
    return x->active == y->active && same_bytes(x->text, x->text_len, y->text, y->text_len)
        && same_bytes(x->lead, x->lead_len, y->lead, y->lead_len)
        && same_bytes(x->tail, x->tail_len, y->tail, y->tail_len)
        && same_bytes(x->amp, x->amp_len, y->amp, y->amp_len)
        && (x->amp_len == 0 || x->amp_at == y->amp_at)
        && same_bytes(x->after, x->after_len, y->after, y->after_len) && x->newline == y->newline
        && entry_written(x) == entry_written(y);
}

bool qvxsessrun_equal(const command_list *a, const command_list *b)
{
    const command_entry *x = a->entries, *y = b->entries;

    if (!same_bytes(a->header, a->header_len, b->header, b->header_len)
        || !same_bytes(a->trailer, a->trailer_len, b->trailer, b->trailer_len))
        return false;
    for (; x != nullptr && y != nullptr; x = x->next, y = y->next)
        if (!qvxsessrun_entry_equal(x, y))
            return false;
    return x == nullptr && y == nullptr;
}

/*
 * The entry that record r alone holds, or null.  in_effect tells whether r
 * is at or before the undo cursor; the rule is written beside the records.
 */
static command_entry *held_entry(const journal_record *r, bool in_effect)
{
    return r->type == (in_effect ? JOURNAL_DELETE : JOURNAL_ADD) ? r->entry : nullptr;
}

void records_free(journal_record *r)
{
    journal_record *next;

    for (; r != nullptr; r = next) {
        next = r->next;
        entry_free(r->state);
        if (r->owns_other)
            qvxsessrun_free(r->other);
        free(r);
    }
}

/* Drop the records from r on, with the entries that only those of them that are undone hold. */
void records_drop_undone(journal_record *r)
{
    command_entry *e;

    for (const journal_record *d = r; d != nullptr; d = d->next)
        if ((e = held_entry(d, false)) != nullptr)
            entry_free(e);
    records_free(r);
}

/*
 * Release the list, its entries and texts.  Lists with a journal are
 * released whole: the chain, then the entries that only the journal
 * holds, then the records.
 */
void qvxsessrun_free(command_list *list)
{
    command_entry *e, *next;
    bool in_effect;

    if (list == nullptr)
        return;
    for (e = list->entries; e != nullptr; e = next) {
        next = e->next;
        entry_free(e);
    }
    in_effect = journal_of(list)->undo_cursor != nullptr;
    for (const journal_record *r = journal_of(list)->undo_head; r != nullptr; r = r->next) {
        if ((e = held_entry(r, in_effect)) != nullptr)
            entry_free(e);
        if (r == journal_of(list)->undo_cursor)
            in_effect = false;
    }
    records_free(journal_of(list)->undo_head);
    records_free(journal_of(list)->redo_head);
    free(list->header);
    free(list->trailer);
    free(journal_of(list));
}
