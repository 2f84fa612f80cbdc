// SPDX-License-Identifier: BSD-2-Clause
/*
 * The script reader and writer, fed any bytes as autostart.sh, and the
 * journal on top of them.  Reading and saving must never crash, leak or
 * fail, and two laws hold, as for any editor of a file that people also
 * write by hand:
 *   1. Reading and saving without an edit gives back the same bytes (a
 *      script whose first line is not "#!" gains "#!/bin/sh" in front),
 *      and so does any sequence of edits followed by as many undos.
 *   2. What a save wrote reads back as the rows the list held: the same
 *      texts, states and order.  Rows that a save does not write (left
 *      empty) are not read back; and from a row on that cannot be read
 *      back as written (an active comment, a text or a line that leaves a
 *      quote, a here-document or a backslash open, an "&" that a comment
 *      swallows), the rest is not compared.
 * The edits come from the input's last bytes, read backwards.
 */
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "fuzz_common.h"
#include "store.h"

static std::string script;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    script = fuzz_test_home("fuzz_script") + "/.config/QVX/autostart.sh";
    // The first read creates ~/.config/QVX.
    command_list *list = qvxsessrun_read();
    if (list == nullptr) {
        fprintf(stderr, "fuzz_script: %s\n", qvxsessrun_error_text());
        exit(2);
    }
    qvxsessrun_free(list);
    return 0;
}

static command_list *read_script()
{
    command_list *list = qvxsessrun_read();

    if (list == nullptr) {
        fprintf(stderr, "qvxsessrun_read: %s\n", qvxsessrun_error_text());
        fuzz_fail("a readable script could not be read");
    }
    return list;
}

static std::string save_script(command_list *list)
{
    const int r = qvxsessrun_write(list);

    if (r != 0) {
        fprintf(stderr, "qvxsessrun_write: %d %s\n", r, qvxsessrun_error_text());
        fuzz_fail("the script could not be saved");
    }
    return fuzz_get_file(script);
}

/* The input's last bytes, read backwards, as the edits to make. */
struct edits
{
    const uint8_t *data;
    size_t left;

    uint8_t next() { return left > 0 ? data[--left] : 0; }
    /* A short text: bytes that a shell line is made of, a NUL ends it. */
    std::string text()
    {
        static const char alphabet[] = "a b&#\"'\\\n\r\t;|$(){}<EOF>-[INACTIVE]`";
        std::string t;
        for (int n = next() % 12; n > 0; n--)
            t += alphabet[next() % (sizeof(alphabet) - 1)];
        return t;
    }
};

static command_entry *nth(command_list *list, unsigned n)
{
    std::vector<command_entry *> all;

    for (command_entry *e = list->entries; e != nullptr; e = e->next)
        all.push_back(e);
    return all.empty() ? nullptr : all[n % all.size()];
}

static void edit(command_list *list, edits &in)
{
    const uint8_t op = in.next() % 10;
    command_entry *e = nth(list, in.next());
    bool ok = true;

    if (op == 0) {
        const std::string t = in.text();
        ok = qvxsessrun_add_command(list, t.c_str(), in.next() & 1) != nullptr;
    } else if (op == 7) {
        qvxsessrun_undo(list);
    } else if (op == 8) {
        qvxsessrun_redo(list);
    } else if (e == nullptr) {
        return;
    } else if (op == 1) {
        ok = qvxsessrun_delete_command(list, e) != nullptr;
    } else if (op == 2) {
        ok = qvxsessrun_set_command(list, e, e->text, !e->active) == 0;
    } else if (op == 3) {
        const std::string t = in.text();
        ok = qvxsessrun_set_command(list, e, t.c_str(), e->active) == 0;
    } else if (op == 4) {
        ok = qvxsessrun_move_up(list, e) != nullptr;
    } else if (op == 5) {
        ok = qvxsessrun_move_down(list, e) != nullptr;
    } else {
        ok = qvxsessrun_set_background(list, e, in.next() & 1) == 0;
    }
    if (!ok) {
        fprintf(stderr, "edit %d: %s\n", op, qvxsessrun_error_text());
        fuzz_fail("an edit failed");
    }
}

/* A row whose line does not read back as the row it was (see the top). */
static bool unkeepable(const command_entry *e)
{
    line_scan scan;
    const bool tail_amp = e->tail != nullptr && memchr(e->tail, '&', e->tail_len) != nullptr;

    if (e->active && e->text[strspn(e->text, " \t")] == '#')
        return true;
    std::string line = e->text;
    qvxsessrun_scan(line.data(), line.size(), &scan);
    if (scan.open != SCAN_CLOSED)
        return true;
    if (e->tail != nullptr)
        line.append(e->tail, e->tail_len);
    qvxsessrun_scan(line.data(), line.size(), &scan);
    if (scan.open != SCAN_CLOSED)
        return true;
    return tail_amp && (scan.comment || !scan.background);
}

static void same_rows(const command_list *held, const command_list *read)
{
    const command_entry *r = read->entries;

    for (const command_entry *e = held->entries; e != nullptr; e = e->next) {
        if (unkeepable(e))
            return;
        size_t len;
        free(qvxsessrun_line(e, &len));
        if (len == 0) /* left empty: no line */
            continue;
        if (r == nullptr || strcmp(r->text, e->text) != 0 || r->active != e->active)
            fuzz_fail("a saved row reads back as another");
        r = r->next;
    }
    if (r != nullptr)
        fuzz_fail("a save wrote more rows than the list held");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string expected = bytes.compare(0, 2, "#!") == 0 ? bytes : "#!/bin/sh\n" + bytes;
    const size_t tail = size < 64 ? size : 64;
    edits in = { data + size - tail, tail };

    fuzz_put_file(script, data, size);
    command_list *list = read_script();
    if (save_script(list) != expected)
        fuzz_fail("a save without edits changed the script");
    command_list *again = read_script();
    if (save_script(again) != expected)
        fuzz_fail("a second read and save changed the script");
    qvxsessrun_free(again);
    /* That save replaced the file that list wrote: take it as list's own. */
    if (qvxsessrun_accept_disk(list) == -1)
        fuzz_fail("the saved script could not be looked at");

    for (int n = in.next() % 16; n > 0; n--)
        edit(list, in);
    save_script(list);
    command_list *back = read_script();
    same_rows(list, back);
    qvxsessrun_free(back);

    for (int n = 0; qvxsessrun_can_undo(list) && n < 100; n++)
        qvxsessrun_undo(list);
    if (save_script(list) != expected)
        fuzz_fail("undoing every edit did not give the script back");
    qvxsessrun_free(list);
    return 0;
}
