// SPDX-License-Identifier: BSD-2-Clause
/*
 * The script reader and writer, fed any bytes as autostart.sh, and the
 * journal on top of them.  Reading and saving must never crash, leak or
 * fail, and these laws hold, as for any editor of a file that people also
 * write by hand:
 *   1. Reading and saving without an edit gives back the same bytes (a
 *      script whose first line is not "#!" gains "#!/bin/sh" in front),
 *      and so does any sequence of edits followed by as many undos.
 *   2. Switching any row off and on again (or on and off) gives back the
 *      same bytes.
 *   3. A row is a whole command: where every row is one as read, switching
 *      a row off, moving it up or down or deleting it leaves a script that
 *      reads back as the same rows, switched off, moved or without it.
 *   4. What a save wrote reads back as the rows the list held: the same
 *      texts, states and order.  Rows that a save does not write (left
 *      empty) or that hold no command (a comment typed as a row) are not
 *      read back; from a row on whose text is no whole command (it ends
 *      in "&&", opens an "if" it does not close), the rest is not
 *      compared, since the shell reads the next line into it.
 * The edits come from the input's last bytes, read backwards.  The real
 * shell's verdict on the same laws is tested on scripts of every form in
 * tst_rows.
 */
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "fuzz_common.h"
#include "store/store.h"

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

static std::string render(const command_list *list)
{
    size_t len;
    char *bytes = qvxsessrun_render(list, &len);

    if (bytes == nullptr)
        fuzz_fail("the script could not be rendered");
    std::string s(bytes, len);
    free(bytes);
    return s;
}

static command_list *parse(const std::string &bytes)
{
    command_list *list = qvxsessrun_parse(bytes.data(), bytes.size());

    if (list == nullptr)
        fuzz_fail("a script could not be parsed");
    return list;
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

static std::vector<command_entry *> entries_of(const command_list *list)
{
    std::vector<command_entry *> all;

    for (command_entry *e = list->entries; e != nullptr; e = e->next)
        all.push_back(e);
    return all;
}

static command_entry *nth(command_list *list, unsigned n)
{
    const std::vector<command_entry *> all = entries_of(list);

    return all.empty() ? nullptr : all[n % all.size()];
}

static std::string text_of(const command_entry *e)
{
    return std::string(e->text, e->text_len);
}

static void edit(command_list *list, edits &in)
{
    const uint8_t op = in.next() % 10;
    command_entry *e = nth(list, in.next());
    bool ok = true;

    if (op == 0) {
        const std::string t = in.text();
        if (getenv("QVX_FUZZ_TRACE") != nullptr) {
            for (unsigned char c : t)
                fprintf(stderr, "%02x ", c);
            fprintf(stderr, "\n");
        }
        ok = qvxsessrun_add_text(list, t.data(), t.size(), in.next() & 1, nullptr) != nullptr;
    } else if (op == 7) {
        qvxsessrun_undo(list);
    } else if (op == 8) {
        qvxsessrun_redo(list);
    } else if (e == nullptr) {
        return;
    } else if (op == 1) {
        ok = qvxsessrun_delete_command(list, e) != nullptr;
    } else if (op == 2) {
        const std::string t = text_of(e);
        ok = qvxsessrun_set_text(list, e, t.data(), t.size(), !e->active, nullptr) == 0;
    } else if (op == 3) {
        const std::string t = in.text();
        if (getenv("QVX_FUZZ_TRACE") != nullptr) {
            for (unsigned char c : t)
                fprintf(stderr, "%02x ", c);
            fprintf(stderr, "\n");
        }
        ok = qvxsessrun_set_text(list, e, t.data(), t.size(), e->active, nullptr) == 0;
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
    if (getenv("QVX_FUZZ_TRACE") != nullptr)
        fprintf(stderr, "edit %d on \"%s\"\n%s\n", op, e != nullptr ? text_of(e).c_str() : "",
                render(list).c_str());
}

/* What the shell makes of the entry's line as a save writes it, the
 * marker of a switched-off one taken off again; *written is false where a
 * save writes no line for it. */
static void scan_line(const command_list *list, const command_entry *e, line_scan *scan,
                      bool *written)
{
    std::string line;
    size_t len;
    char *bytes = qvxsessrun_line(e, &len);

    if (bytes == nullptr)
        fuzz_fail("a line could not be made");
    line.assign(bytes, len);
    free(bytes);
    for (size_t at = 0; !e->active && at < line.size(); at = line.find('\n', at) + 1) {
        if (line.compare(at, 12, "#[INACTIVE]#") == 0)
            line.erase(at, 12);
        if (line.find('\n', at) == std::string::npos)
            break;
    }
    *written = len > 0;
    qvxsessrun_scan(list, line.data(), line.size(), scan);
}

/* Whether the entry's line is a whole command, as the shell reads it. */
static bool whole(const command_list *list, const command_entry *e)
{
    line_scan scan;
    bool written;

    scan_line(list, e, &scan, &written);
    return scan.open == SCAN_CLOSED;
}

/* Whether a save writes the entry as a line that reads back as a row:
 * anything behind the marker, or a line that is no comment or blank. */
static bool has_command(const command_entry *e)
{
    size_t len;
    char *line = qvxsessrun_line(e, &len);

    if (line == nullptr)
        fuzz_fail("a line could not be made");
    const bool row = len > 0 && qvxsessrun_line_kind(line, len) != LINE_TRIVIA;
    free(line);
    return row;
}

/* The rows of both lists, on the way to a failure. */
static void show_rows(const command_list *held, const command_list *read)
{
    for (int k = 0; k < 2; k++) {
        fprintf(stderr, k == 0 ? "held:\n" : "read back:\n");
        for (const command_entry *e = (k == 0 ? held : read)->entries; e != nullptr; e = e->next) {
            fputs(e->active ? "  +" : "  -", stderr);
            fwrite(e->text, 1, e->text_len, stderr);
            fputs("|\n", stderr);
        }
    }
}

/* Law 4: the rows read back are those the list held, as far as they can. */
static void same_rows(const command_list *held, const command_list *read)
{
    const command_entry *r = read->entries;

    for (const command_entry *e = held->entries; e != nullptr; e = e->next) {
        if (!whole(held, e))
            return;
        if (!has_command(e))
            continue;
        if (r == nullptr || text_of(r) != text_of(e) || r->active != e->active) {
            show_rows(held, read);
            fprintf(stderr, "at the row held as: %s\n", text_of(e).c_str());
            fuzz_fail("a saved row reads back as another");
        }
        r = r->next;
    }
    if (r != nullptr) {
        show_rows(held, read);
        fuzz_fail("a save wrote more rows than the list held");
    }
}

/* The rows of a list as "+text" or "-text". */
static std::vector<std::string> rows_of(const command_list *list)
{
    std::vector<std::string> rows;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        rows.push_back((e->active ? "+" : "-") + text_of(e));
    return rows;
}

/* What a law found, on the way to its failure. */
static void row_law_fails(const char *what, const std::vector<std::string> &want,
                          const command_list *back, const std::string &bytes)
{
    fprintf(stderr, "wanted:\n");
    for (const std::string &row : want)
        fprintf(stderr, "  %s|\n", row.c_str());
    fprintf(stderr, "read back from:\n%s\n", bytes.c_str());
    for (const std::string &row : rows_of(back))
        fprintf(stderr, "  %s|\n", row.c_str());
    fuzz_fail(what);
}

/*
 * Laws 2 and 3 for the row at index i of a fresh reading of bytes: each
 * change, saved and read again, gives the rows it should, and its undo
 * gives the bytes back.
 */
static void row_laws(const std::string &bytes, size_t i, bool whole_rows)
{
    command_list *list = parse(bytes);
    const std::string start = render(list);
    std::vector<command_entry *> all = entries_of(list);
    std::vector<std::string> rows = rows_of(list), want;
    command_entry *e = all[i];
    const std::string text = text_of(e);

    const bool off = e->active;
    if (qvxsessrun_set_text(list, e, text.data(), text.size(), !e->active, nullptr) != 0)
        fuzz_fail("a switch failed");
    /* Switched on, a switched-off comment is a comment; only off is a law. */
    if (whole_rows && off && has_command(e)) {
        command_list *back = parse(render(list));
        want = rows;
        want[i][0] = e->active ? '+' : '-';
        if (rows_of(back) != want)
            row_law_fails("a row switched off or on reads back otherwise", want, back,
                          render(list));
        qvxsessrun_free(back);
    }
    if (qvxsessrun_set_text(list, e, text.data(), text.size(), !e->active, nullptr) != 0)
        fuzz_fail("a switch failed");
    if (render(list) != start)
        fuzz_fail("a row switched off and on again changed the script");

    for (int step = -1; step <= 1; step += 2) {
        const size_t j = i + step;
        if ((step < 0 && i == 0) || j >= all.size())
            continue;
        if ((step < 0 ? qvxsessrun_move_up(list, e) : qvxsessrun_move_down(list, e)) != e)
            fuzz_fail("a move failed");
        if (whole_rows) {
            command_list *back = parse(render(list));
            want = rows;
            std::swap(want[i], want[j]);
            if (rows_of(back) != want)
                row_law_fails("a row moved reads back otherwise", want, back, render(list));
            qvxsessrun_free(back);
        }
        qvxsessrun_undo(list);
        if (render(list) != start)
            fuzz_fail("undoing a move changed the script");
    }

    if (qvxsessrun_delete_command(list, e) != e)
        fuzz_fail("a delete failed");
    if (whole_rows) {
        command_list *back = parse(render(list));
        want = rows;
        want.erase(want.begin() + long(i));
        if (rows_of(back) != want)
            row_law_fails("the rows without a deleted one read back otherwise", want, back,
                          render(list));
        qvxsessrun_free(back);
    }
    qvxsessrun_undo(list);
    if (render(list) != start)
        fuzz_fail("undoing a delete changed the script");
    qvxsessrun_free(list);
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

    /* Laws 2 and 3, on a few of the rows. */
    const std::vector<command_entry *> all = entries_of(list);
    bool whole_rows = true;
    for (const command_entry *e : all)
        whole_rows = whole_rows && whole(list, e);
    for (size_t k = 0; k < 4 && k < all.size(); k++)
        row_laws(expected, (k * 7 + size) % all.size(), whole_rows);

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
