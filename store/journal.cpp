// SPDX-License-Identifier: BSD-2-Clause
/*
 * The five journalled operations, undo and redo.  Each operation records
 * what takes it back and what does it again, and every undo gives back the
 * very bytes the script had: a deleted command's comment lines stay in the
 * script with the command below it, and return to it on undo.
 */
#include "store_impl.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

/* Entry chain primitives of the journal. */

static void unlink_entry(command_list *list, command_entry *e)
{
    if (list->entries == e) {
        list->entries = e->next;
        if (e->next != nullptr)
            e->next->prev = nullptr;
        e->prev = nullptr;
    } else {
        e->prev->next = e->next;
        if (e->next != nullptr)
            e->next->prev = e->prev;
    }
}

static void link_entry(command_list *list, command_entry *e, command_entry *p, command_entry *n)
{
    if (p == nullptr)
        list->entries = e;
    else
        p->next = e;
    if (n != nullptr)
        n->prev = e;
    e->prev = p;
    e->next = n;
}

/* Move e one place towards the front. */
static void swap_with_prev(command_list *list, command_entry *e)
{
    command_entry *p = e->prev, *pp, *n;

    if (p == nullptr)
        return;
    pp = p->prev;
    n = e->next;
    if (pp == nullptr)
        list->entries = e;
    else
        pp->next = e;
    if (n != nullptr)
        n->prev = p;
    p->next = n;
    e->next = p;
    e->prev = pp;
    p->prev = e;
}

/* Where the lines after e are kept: the lead of the next entry, or the trailer. */
static void lines_after(command_list *list, command_entry *e, char ***bytes, size_t **len)
{
    if (e->next != nullptr) {
        *bytes = &e->next->lead;
        *len = &e->next->lead_len;
    } else {
        *bytes = &list->trailer;
        *len = &list->trailer_len;
    }
}

/*
 * The comment lines above a command describe it, but they are the user's
 * lines: when the command goes, they stay where they were, in front of
 * the lines after it.  Done before the entry leaves the chain; -1 with
 * nothing changed when there is no memory.
 */
static int hand_on_lead(command_list *list, command_entry *e)
{
    char **bytes, *joined;
    size_t *len;

    if (e->lead_len == 0)
        return 0;
    lines_after(list, e, &bytes, &len);
    joined = static_cast<char *>(store_malloc(e->lead_len + *len + 1));
    if (joined == nullptr)
        return -1;
    memcpy(joined, e->lead, e->lead_len);
    if (*len > 0)
        memcpy(joined + e->lead_len, *bytes, *len);
    joined[e->lead_len + *len] = '\0';
    free(*bytes);
    *bytes = joined;
    *len += e->lead_len;
    return 0;
}

/* Undoes hand_on_lead once e is back in the chain. */
static void take_back_lead(command_list *list, command_entry *e)
{
    char **bytes;
    size_t *len;

    if (e->lead_len == 0)
        return;
    lines_after(list, e, &bytes, &len);
    *len -= e->lead_len;
    memmove(*bytes, *bytes + e->lead_len, *len + 1);
}

/*
 * Drop the undone operations: the records after the cursors, and the
 * entries that only they hold.
 */
static void journal_drop(command_list *list)
{
    journal_record *u, *r;

    u = list->undo_cursor != nullptr ? list->undo_cursor->next : list->undo_head;
    r = list->redo_cursor != nullptr ? list->redo_cursor->next : list->redo_head;
    if (list->undo_cursor != nullptr)
        list->undo_cursor->next = nullptr;
    else
        list->undo_head = nullptr;
    if (list->redo_cursor != nullptr)
        list->redo_cursor->next = nullptr;
    else
        list->redo_head = nullptr;
    records_drop_undone(u);
    records_free(r);
}

static journal_record *record_new(uint8_t type, command_entry *entry)
{
    journal_record *r = static_cast<journal_record *>(store_malloc(sizeof(*r)));

    if (r == nullptr)
        return nullptr;
    memset(r, 0, sizeof(*r));
    r->type = type;
    r->entry = entry;
    return r;
}

static void journal_append(journal_record **head, journal_record **cursor, journal_record *r)
{
    if (*cursor == nullptr) {
        *head = r;
    } else {
        (*cursor)->next = r;
        r->prev = *cursor;
    }
    *cursor = r;
}

/*
 * Record one operation: make its redo and undo records, drop the undone
 * operations, then put the records behind the cursors.  Both records are
 * made before anything changes, so a failure leaves the journals as they
 * were, undone operations included.
 */
static int journal_push(command_list *list, uint8_t type, command_entry *entry,
                        journal_record **undo, journal_record **redo)
{
    *redo = record_new(type, entry);
    if (*redo == nullptr)
        return -1;
    *undo = record_new(type, entry);
    if (*undo == nullptr) {
        free(*redo);
        return -1;
    }
    journal_drop(list);
    journal_append(&list->redo_head, &list->redo_cursor, *redo);
    journal_append(&list->undo_head, &list->undo_cursor, *undo);
    return 0;
}

command_entry *qvxsessrun_add_command(command_list *list, const char *text, int active)
{
    journal_record *undo, *redo;
    command_entry *e;
    int amp;

    e = entry_new();
    if (e == nullptr)
        return nullptr;
    e->active = active ? 1 : 0;
    /* A new command runs in the background, as its own line says. */
    e->text = command_copy(text, &amp);
    if (e->text == nullptr
        || (e->tail = tail_for_text(e->text, "&", 1, 0, &e->tail_len)) == nullptr) {
        entry_free(e);
        return nullptr;
    }
    if (journal_push(list, JOURNAL_ADD, e, &undo, &redo) == -1) {
        entry_free(e);
        return nullptr;
    }
    entry_link_after(list, last_entry(list), e);
    redo->saved_prev = e->prev;
    redo->saved_next = e->next;
    return e;
}

command_entry *qvxsessrun_delete_command(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;
    command_entry *prev, *next;

    if (entry == nullptr)
        return nullptr;
    prev = entry->prev;
    next = entry->next;
    if (hand_on_lead(list, entry) == -1)
        return nullptr;
    if (journal_push(list, JOURNAL_DELETE, entry, &undo, &redo) == -1) {
        take_back_lead(list, entry);
        return nullptr;
    }
    undo->saved_prev = prev;
    undo->saved_next = next;
    unlink_entry(list, entry);
    return entry;
}

/* What a set puts into an entry, and what its records keep. */
struct entry_state
{
    char *text;
    char *tail;
    size_t tail_len;
    uint8_t active;
    uint8_t as_read;
};

static void state_free(entry_state *s)
{
    free(s->text);
    free(s->tail);
    s->text = s->tail = nullptr;
}

/* A copy of the state, or -1 with nothing left to free. */
static int state_copy(entry_state *to, const char *text, const char *tail, size_t tail_len,
                      uint8_t active, uint8_t as_read)
{
    to->text = store_strdup(text);
    to->tail = to->text != nullptr && tail != nullptr ? store_memdup(tail, tail_len) : nullptr;
    to->tail_len = tail_len;
    to->active = active;
    to->as_read = as_read;
    if (to->text == nullptr || (tail != nullptr && to->tail == nullptr)) {
        state_free(to);
        return -1;
    }
    return 0;
}

/* Hand the state over to the entry or the record: text and tail. */
static void state_put(const entry_state *s, char **text, char **tail, size_t *tail_len)
{
    *text = s->text;
    *tail = s->tail;
    *tail_len = s->tail_len;
}

/*
 * Record and make one set: the entry takes the new state, which it owns.
 * Every copy is made before anything changes, so that a failed set leaves
 * the entry and the journal as they were; the new state is released then.
 */
static int set_entry(command_list *list, command_entry *entry, entry_state *now)
{
    journal_record *undo, *redo;
    entry_state old, again;

    if (state_copy(&old, entry->text, entry->tail, entry->tail_len, entry->active, entry->as_read)
        == -1)
        goto fail;
    if (state_copy(&again, now->text, now->tail, now->tail_len, now->active, now->as_read) == -1) {
        state_free(&old);
        goto fail;
    }
    if (journal_push(list, JOURNAL_SET, entry, &undo, &redo) == -1) {
        state_free(&old);
        state_free(&again);
        goto fail;
    }
    state_put(&old, &undo->text, &undo->tail, &undo->tail_len);
    undo->active = old.active;
    undo->as_read = old.as_read;
    state_put(&again, &redo->text, &redo->tail, &redo->tail_len);
    redo->active = again.active;
    redo->as_read = again.as_read;
    free(entry->text);
    free(entry->tail);
    state_put(now, &entry->text, &entry->tail, &entry->tail_len);
    entry->active = now->active;
    entry->as_read = now->as_read;
    return 0;

fail:
    state_free(now);
    return -1;
}

/*
 * The entry's own text (a switch on or off) keeps its line as it is.  A
 * new one is made ready for its line as for an addition, and keeps the
 * line's form; an "&" typed at its end puts it in the background.
 */
int qvxsessrun_set_command(command_list *list, command_entry *entry, const char *text, int active)
{
    entry_state now = {};
    int amp;

    if (entry == nullptr)
        return -1;
    now.active = active ? 1 : 0;
    if (strcmp(text, entry->text) == 0) {
        if (state_copy(&now, entry->text, entry->tail, entry->tail_len, now.active, entry->as_read)
            == -1)
            return -1;
        return set_entry(list, entry, &now);
    }
    now.text = command_copy(text, &amp);
    if (now.text == nullptr)
        return -1;
    now.tail = tail_for_text(now.text, entry->tail, entry->tail_len, amp, &now.tail_len);
    if (now.tail == nullptr) {
        state_free(&now);
        return -1;
    }
    return set_entry(list, entry, &now);
}

int qvxsessrun_set_background(command_list *list, command_entry *entry, int background)
{
    entry_state now = {};
    int fixed;

    if (entry == nullptr)
        return -1;
    background = background ? 1 : 0;
    if (qvxsessrun_background(entry, &fixed) == background || fixed)
        return 0;
    now.active = entry->active;
    now.as_read = entry->as_read;
    now.text = store_strdup(entry->text);
    now.tail = now.text != nullptr ? tail_with_amp(entry, background, &now.tail_len) : nullptr;
    if (now.tail == nullptr) {
        state_free(&now);
        return -1;
    }
    return set_entry(list, entry, &now);
}

command_entry *qvxsessrun_move_up(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;

    if (entry == nullptr)
        return nullptr;
    if (entry->prev == nullptr)
        return entry;
    if (journal_push(list, JOURNAL_MOVE_UP, entry, &undo, &redo) == -1)
        return nullptr;
    swap_with_prev(list, entry);
    return entry;
}

command_entry *qvxsessrun_move_down(command_list *list, command_entry *entry)
{
    journal_record *undo, *redo;

    if (entry == nullptr)
        return nullptr;
    if (entry->next == nullptr)
        return entry;
    if (journal_push(list, JOURNAL_MOVE_DOWN, entry, &undo, &redo) == -1)
        return nullptr;
    swap_with_prev(list, entry->next);
    return entry;
}

/*
 * The primitives that undo and redo are made of.  Each takes the record
 * being applied and returns 0, or -1 when it could not be applied and
 * changed nothing (the error text is set).
 */
typedef int (*journal_step)(command_list *list, const journal_record *r);

/* Put the entry back between the neighbours the record saved. */
static int step_link(command_list *list, const journal_record *r)
{
    link_entry(list, r->entry, r->saved_prev, r->saved_next);
    return 0;
}

static int step_unlink(command_list *list, const journal_record *r)
{
    unlink_entry(list, r->entry);
    return 0;
}

/* A deleted entry back in its place, with its comment lines. */
static int step_restore(command_list *list, const journal_record *r)
{
    link_entry(list, r->entry, r->saved_prev, r->saved_next);
    take_back_lead(list, r->entry);
    return 0;
}

static int step_delete(command_list *list, const journal_record *r)
{
    if (hand_on_lead(list, r->entry) == -1)
        return -1;
    unlink_entry(list, r->entry);
    return 0;
}

/*
 * Put a set record's state into its entry.  The entry gets fresh copies,
 * so the record can be applied again; when a copy fails the entry keeps
 * its current state.
 */
static int step_set(command_list *, const journal_record *r)
{
    entry_state s;
    command_entry *e = r->entry;

    if (state_copy(&s, r->text, r->tail, r->tail_len, r->active, r->as_read) == -1)
        return -1;
    free(e->text);
    free(e->tail);
    state_put(&s, &e->text, &e->tail, &e->tail_len);
    e->active = s.active;
    e->as_read = s.as_read;
    return 0;
}

static int step_up(command_list *list, const journal_record *r)
{
    swap_with_prev(list, r->entry);
    return 0;
}

static int step_down(command_list *list, const journal_record *r)
{
    if (r->entry->next != nullptr)
        swap_with_prev(list, r->entry->next);
    return 0;
}

/*
 * For each operation, the step that undoes it and the step that redoes
 * it: a new operation is added here and nowhere else in undo and redo.
 */
struct journal_inverse
{
    uint8_t type;
    journal_step undo;
    journal_step redo;
};

/* clang-format off */
static const journal_inverse journal_steps[] = {
    { JOURNAL_ADD,       step_unlink,  step_link   },
    { JOURNAL_DELETE,    step_restore, step_delete },
    { JOURNAL_SET,       step_set,     step_set    },
    { JOURNAL_MOVE_UP,   step_down,    step_up     },
    { JOURNAL_MOVE_DOWN, step_up,      step_down   },
};
/* clang-format on */

/* Apply record r of the undo journal (undo) or of the redo journal. */
static int apply_record(command_list *list, const journal_record *r, bool undo)
{
    if (r->entry == nullptr)
        return 0;
    for (const auto &s : journal_steps)
        if (s.type == r->type)
            return (undo ? s.undo : s.redo)(list, r);
    return 0;
}

/*
 * Undo the newest operation in effect.  A record that could not be
 * applied leaves the cursors where they are, so that journal and chain
 * still agree.
 */
void qvxsessrun_undo(command_list *list)
{
    if (list->undo_cursor == nullptr)
        return;
    if (apply_record(list, list->undo_cursor, true) == -1)
        return;
    list->undo_cursor = list->undo_cursor->prev;
    list->redo_cursor = list->redo_cursor->prev;
}

void qvxsessrun_redo(command_list *list)
{
    journal_record *r;

    if (list->redo_head == nullptr)
        return;
    r = list->redo_cursor == nullptr ? list->redo_head : list->redo_cursor->next;
    if (r == nullptr)
        return;
    if (apply_record(list, r, false) == -1)
        return;
    list->redo_cursor = r;
    list->undo_cursor = list->undo_cursor == nullptr ? list->undo_head : list->undo_cursor->next;
}

bool qvxsessrun_can_undo(const command_list *list)
{
    return list->undo_cursor != nullptr;
}

bool qvxsessrun_can_redo(const command_list *list)
{
    if (list->redo_head == nullptr)
        return false;
    return list->redo_cursor == nullptr || list->redo_cursor->next != nullptr;
}
