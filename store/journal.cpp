// SPDX-License-Identifier: BSD-2-Clause
/*
 * The journalled operations, undo and redo.  Each operation records
 * what takes it back and what does it again, and every undo gives back the
 * very bytes the script had: a deleted command's comment lines stay in the
 * script with the command below it, and return to it on undo.
 */
#include "store/store_impl.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <utility>

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
 * the lines after it, and so do comment lines given below it.  Done
 * before the entry leaves the chain; -1 with nothing changed when there
 * is no memory.
 */
static int hand_on_lead(command_list *list, command_entry *e)
{
    const size_t own = e->lead_len + e->after_len;
    char **bytes, *joined;
    size_t *len;

    if (own == 0)
        return 0;
    lines_after(list, e, &bytes, &len);
    joined = static_cast<char *>(store_malloc(own + *len + 1));
    if (joined == nullptr)
        return -1;
    if (e->lead_len > 0)
        memcpy(joined, e->lead, e->lead_len);
    if (e->after_len > 0)
        memcpy(joined + e->lead_len, e->after, e->after_len);
    if (*len > 0)
        memcpy(joined + own, *bytes, *len);
    joined[own + *len] = '\0';
    free(*bytes);
    *bytes = joined;
    *len += own;
    return 0;
}

/* Undoes hand_on_lead once e is back in the chain. */
static void take_back_lead(command_list *list, command_entry *e)
{
    const size_t own = e->lead_len + e->after_len;
    char **bytes;
    size_t *len;

    if (own == 0)
        return;
    lines_after(list, e, &bytes, &len);
    *len -= own;
    memmove(*bytes, *bytes + own, *len + 1);
}

/*
 * Drop the undone operations: the records after the cursors, and the
 * entries that only they hold.
 */
static void journal_drop(command_list *list)
{
    journal_record *u, *r;

    u = journal_of(list)->undo_cursor != nullptr ? journal_of(list)->undo_cursor->next
                                                 : journal_of(list)->undo_head;
    r = journal_of(list)->redo_cursor != nullptr ? journal_of(list)->redo_cursor->next
                                                 : journal_of(list)->redo_head;
    if (journal_of(list)->undo_cursor != nullptr)
        journal_of(list)->undo_cursor->next = nullptr;
    else
        journal_of(list)->undo_head = nullptr;
    if (journal_of(list)->redo_cursor != nullptr)
        journal_of(list)->redo_cursor->next = nullptr;
    else
        journal_of(list)->redo_head = nullptr;
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
    journal_list *j = journal_of(list);
    journal_drop(list);
    journal_append(&j->redo_head, &j->redo_cursor, *redo);
    journal_append(&j->undo_head, &j->undo_cursor, *undo);
    j->records_made++;
    return 0;
}

static int list_bash(const command_list *list)
{
    return header_names_bash(list->header, list->header_len);
}

/*
 * Where a new command runs: above a last command that replaces or ends
 * the shell ("exec wm", "exit"), below which nothing would.  *before is
 * that command, or null for the end; *end is the list's last entry.  -1 when
 * there is no memory.
 */
static int place_for_new(const command_list *list, command_entry **before, command_entry **end)
{
    command_entry *last = last_entry(list);
    byte_buf line = { nullptr, 0, 0 };
    shell_scanner s;
    line_scan scan;

    *before = nullptr;
    *end = last;
    // From the end back, so that adding many commands is not quadratic in
    // the lines' checks.
    while (last != nullptr && !(last->active && entry_written(last)))
        last = last->prev;
    if (last == nullptr)
        return 0;
    if (entry_line(last, &line) == -1) {
        free(line.p);
        return -1;
    }
    scan_text(&s, line.p != nullptr ? line.p : "", line.len, list_bash(list), &scan);
    free(line.p);
    if (scan.ends_shell)
        *before = last;
    return 0;
}

/* The entries made for an edit take their flag from it, unless the text
 * switched them off itself, behind the marker. */
static void set_active(command_list *made, int active)
{
    for (command_entry *e = made->entries; e != nullptr; e = e->next)
        e->active = e->active && active ? 1 : 0;
}

/* Comment lines given after the last command go below it. */
static void take_trailer(command_list *made)
{
    command_entry *last = last_entry(made);

    free(last->after);
    last->after = made->trailer;
    last->after_len = made->trailer_len;
    made->trailer = nullptr;
    made->trailer_len = 0;
}

/*
 * Link the entries of made, one after the other, behind `after` (at the
 * front when null) and record each as an addition; the first record
 * begins a step of its own when `first` is set, the others belong to the
 * step before them.  -1 on failure; made keeps what was not linked.
 */
static int add_entries(command_list *list, command_list *made, command_entry *after, bool first,
                       size_t *count)
{
    journal_record *undo, *redo;
    command_entry *e;

    while ((e = made->entries) != nullptr) {
        if (journal_push(list, JOURNAL_ADD, e, &undo, &redo) == -1)
            return -1;
        made->entries = e->next;
        if (made->entries != nullptr)
            made->entries->prev = nullptr;
        link_entry(list, e, after, after != nullptr ? after->next : list->entries);
        redo->saved_prev = e->prev;
        redo->saved_next = e->next;
        undo->joined = redo->joined = !first;
        first = false;
        after = e;
        if (count != nullptr)
            (*count)++;
    }
    return 0;
}

command_entry *qvxsessrun_add_text(command_list *list, const char *text, size_t len, int active,
                                   size_t *count)
{
    /* A new command is a line "TEXT&", in the background. */
    command_entry blank = {};
    command_list *made;
    command_entry *before, *end, *first;

    if (count != nullptr)
        *count = 0;
    blank.text = const_cast<char *>("");
    blank.tail = const_cast<char *>("&");
    blank.tail_len = 1;
    made = edit_entries(&blank, text, len, list_bash(list));
    if (made == nullptr)
        return nullptr;
    set_active(made, active);
    take_trailer(made);
    first = made->entries;
    if (place_for_new(list, &before, &end) == -1
        || add_entries(list, made, before != nullptr ? before->prev : end, true, count) == -1)
        first = nullptr;
    qvxsessrun_free(made);
    return first;
}

command_entry *qvxsessrun_add_command(command_list *list, const char *text, int active)
{
    return qvxsessrun_add_text(list, text, strlen(text), active, nullptr);
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

/* Put the state's text, flag and form into the entry, which owns them. */
static void state_put(command_entry *entry, command_entry *state)
{
    free(entry->text);
    free(entry->lead);
    free(entry->tail);
    free(entry->amp);
    free(entry->after);
    entry->text = state->text;
    entry->text_len = state->text_len;
    entry->lead = state->lead;
    entry->lead_len = state->lead_len;
    entry->tail = state->tail;
    entry->tail_len = state->tail_len;
    entry->amp = state->amp;
    entry->amp_len = state->amp_len;
    entry->amp_at = state->amp_at;
    entry->after = state->after;
    entry->after_len = state->after_len;
    entry->active = state->active;
    entry->as_read = state->as_read;
    state->text = state->lead = state->tail = state->amp = state->after = nullptr;
    entry_free(state);
}

/*
 * Record and make one set: the entry takes the new state, which is given
 * up to it.  Every copy is made before anything changes, so that a failed
 * set leaves the entry and the journal as they were; the new state is
 * released then.  `joined` records it as part of the step before.
 */
static int set_entry(command_list *list, command_entry *entry, command_entry *now, bool joined)
{
    journal_record *undo, *redo;
    command_entry *old = entry_copy(entry), *again = entry_copy(now);

    if (old == nullptr || again == nullptr
        || journal_push(list, JOURNAL_SET, entry, &undo, &redo) == -1) {
        entry_free(old);
        entry_free(again);
        entry_free(now);
        return -1;
    }
    undo->state = old;
    redo->state = again;
    undo->joined = redo->joined = joined;
    state_put(entry, now);
    return 0;
}

/*
 * The entry's own text (a switch on or off) keeps its lines as they are.
 * A new one is read as the script's lines would be: it keeps the form of
 * the entry's line, and where it holds several commands the others become
 * entries of their own behind it, all in one step.
 */
int qvxsessrun_set_text(command_list *list, command_entry *entry, const char *text, size_t len,
                        int active, size_t *added)
{
    command_list *made;
    command_entry *now;
    byte_buf lead = { nullptr, 0, 0 };

    if (added != nullptr)
        *added = 0;
    if (entry == nullptr)
        return -1;
    if (same_bytes(text, len, entry->text, entry->text_len)) {
        now = entry_copy(entry);
        if (now == nullptr)
            return -1;
        now->active = active ? 1 : 0;
        return set_entry(list, entry, now, false);
    }
    made = edit_entries(entry, text, len, list_bash(list));
    if (made == nullptr)
        return -1;
    set_active(made, active);
    take_trailer(made);
    now = made->entries;
    made->entries = now->next;
    if (made->entries != nullptr)
        made->entries->prev = nullptr;
    now->next = now->prev = nullptr;
    /* Comment lines given before the command go below those above it. */
    if (buf_add(&lead, entry->lead, entry->lead_len) == -1
        || buf_add(&lead, now->lead, now->lead_len) == -1) {
        free(lead.p);
        entry_free(now);
        qvxsessrun_free(made);
        return -1;
    }
    free(now->lead);
    now->lead = lead.len > 0 ? lead.p : nullptr;
    now->lead_len = lead.len;
    if (lead.len == 0)
        free(lead.p);
    if (set_entry(list, entry, now, false) == -1
        || add_entries(list, made, entry, false, added) == -1) {
        qvxsessrun_free(made);
        return -1;
    }
    qvxsessrun_free(made);
    return 0;
}

int qvxsessrun_set_command(command_list *list, command_entry *entry, const char *text, int active)
{
    return qvxsessrun_set_text(list, entry, text, strlen(text), active, nullptr);
}

int qvxsessrun_set_background(command_list *list, command_entry *entry, int background)
{
    command_entry *now;
    int fixed;

    if (entry == nullptr)
        return -1;
    background = background ? 1 : 0;
    if (qvxsessrun_background(list, entry, &fixed) == background || fixed)
        return 0;
    now = entry_with_background(entry, background, list_bash(list));
    if (now == nullptr)
        return -1;
    return set_entry(list, entry, now, false);
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

/* Trade the list's commands, "#!" line and trailer for those of other. */
static void trade_contents(command_list *list, command_list *other)
{
    std::swap(list->entries, other->entries);
    std::swap(list->header, other->header);
    std::swap(list->header_len, other->header_len);
    std::swap(list->trailer, other->trailer);
    std::swap(list->trailer_len, other->trailer_len);
}

/*
 * The script is read whole before anything changes, so that a failed read
 * leaves the list and its journal as they were.  The list knows the
 * script as read now, whatever undo and redo do later: they change what
 * the list holds, not what is on disk.
 */
int qvxsessrun_reload(command_list *list)
{
    journal_record *undo, *redo;
    command_list *now = qvxsessrun_read();

    if (now == nullptr)
        return -1;
    if (journal_push(list, JOURNAL_REPLACE, nullptr, &undo, &redo) == -1) {
        qvxsessrun_free(now);
        return -1;
    }
    undo->other = redo->other = now;
    undo->owns_other = 1;
    list->disk = now->disk;
    trade_contents(list, now);
    return 0;
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
    command_entry *state = entry_copy(r->state);

    if (state == nullptr)
        return -1;
    state_put(r->entry, state);
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

/* A reload, undone or done again: the record's chain and the list's trade places. */
static int step_trade(command_list *list, const journal_record *r)
{
    trade_contents(list, r->other);
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
    { JOURNAL_REPLACE,   step_trade,   step_trade  },
};
/* clang-format on */

/* Apply record r of the undo journal (undo) or of the redo journal. */
static int apply_record(command_list *list, const journal_record *r, bool undo)
{
    if (r->entry == nullptr && r->other == nullptr)
        return 0;
    for (const auto &s : journal_steps)
        if (s.type == r->type)
            return (undo ? s.undo : s.redo)(list, r);
    return 0;
}

/*
 * Undo the newest step in effect: its records, newest first.  A record
 * that could not be applied leaves the cursors where they are, so that
 * journal and chain still agree.
 */
size_t qvxsessrun_undo(command_list *list)
{
    journal_list *j = journal_of(list);
    size_t applied = 0;
    bool joined;

    do {
        const journal_record *r = j->undo_cursor;
        if (r == nullptr || apply_record(list, r, true) == -1)
            break;
        joined = r->joined;
        j->undo_cursor = j->undo_cursor->prev;
        j->redo_cursor = j->redo_cursor->prev;
        applied++;
    } while (joined);
    return applied;
}

int qvxsessrun_take_back_add(command_list *list, const command_entry *entry)
{
    const journal_record *r = journal_of(list)->undo_cursor;

    if (r == nullptr || r->next != nullptr || r->type != JOURNAL_ADD || r->joined
        || r->entry != entry || entry == nullptr)
        return 0;
    if (qvxsessrun_undo(list) == 0)
        return 0;
    journal_drop(list);
    return 1;
}

/* The record that the next redo applies first, or null. */
static const journal_record *next_redo(const journal_list *j)
{
    return j->redo_cursor == nullptr ? j->redo_head : j->redo_cursor->next;
}

/* Redo the step undone last: its records, oldest first. */
size_t qvxsessrun_redo(command_list *list)
{
    journal_list *j = journal_of(list);
    size_t applied = 0;

    for (;;) {
        journal_record *r = const_cast<journal_record *>(next_redo(j));
        if (r == nullptr || (applied > 0 && !r->joined) || apply_record(list, r, false) == -1)
            break;
        j->redo_cursor = r;
        j->undo_cursor = j->undo_cursor == nullptr ? j->undo_head : j->undo_cursor->next;
        applied++;
    }
    return applied;
}

/* What applying the record does to its entry. */
static journal_change change_of(const journal_record *r, bool undo)
{
    journal_change c = {};
    if (r->type == JOURNAL_REPLACE)
        return c;
    c.entry = r->entry;
    c.in_list = r->type != (undo ? JOURNAL_ADD : JOURNAL_DELETE);
    c.moved = r->type == JOURNAL_MOVE_UP || r->type == JOURNAL_MOVE_DOWN;
    return c;
}

size_t qvxsessrun_next_step(const command_list *list, int undo, journal_change *changes, size_t max)
{
    const journal_list *j = journal_of(list);
    size_t n = 0;

    if (undo) {
        for (const journal_record *r = j->undo_cursor; r != nullptr; r = r->prev) {
            if (n < max)
                changes[n] = change_of(r, true);
            n++;
            if (!r->joined)
                break;
        }
        return n;
    }
    for (const journal_record *r = next_redo(j); r != nullptr && (n == 0 || r->joined);
         r = r->next) {
        if (n < max)
            changes[n] = change_of(r, false);
        n++;
    }
    return n;
}

size_t qvxsessrun_undo_steps(const command_list *list)
{
    size_t steps = 0;

    for (const journal_record *r = journal_of(list)->undo_cursor; r != nullptr; r = r->prev)
        steps += !r->joined;
    return steps;
}

unsigned long qvxsessrun_records_made(const command_list *list)
{
    return journal_of(list)->records_made;
}

/*
 * The newest step in effect becomes one with the step before it, so that
 * one undo takes back both and one redo brings both back: what the user
 * did as one act, such as several files dropped at once, is one step.
 */
int qvxsessrun_join_step(command_list *list)
{
    journal_record *undo = journal_of(list)->undo_cursor, *redo = journal_of(list)->redo_cursor;

    while (undo != nullptr && undo->joined) {
        undo = undo->prev;
        redo = redo->prev;
    }
    if (undo == nullptr || undo->prev == nullptr) {
        store_set_error("no step before the last one to join it with");
        return -1;
    }
    undo->joined = redo->joined = 1;
    return 0;
}

bool qvxsessrun_can_undo(const command_list *list)
{
    return journal_of(list)->undo_cursor != nullptr;
}

bool qvxsessrun_can_redo(const command_list *list)
{
    if (journal_of(list)->redo_head == nullptr)
        return false;
    return journal_of(list)->redo_cursor == nullptr
        || journal_of(list)->redo_cursor->next != nullptr;
}
