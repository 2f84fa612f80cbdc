// SPDX-License-Identifier: BSD-2-Clause
/*
 * The script reader and writer, fed any bytes as autostart.sh.  Reading and
 * saving must never crash, leak or fail, and the script must settle: the
 * first save may drop entries that the format cannot keep (texts of blanks
 * alone, active texts beginning with "#"), but once saved, a further read and save
 * gives the same bytes.  Both directions are also compared with a plain
 * rendering of the format's rules.
 */
#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "fuzz_common.h"
#include "store.h"

struct command
{
    std::string text;
    bool active;
};

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
    if (qvxsessrun_write(list) == -1) {
        fprintf(stderr, "qvxsessrun_write: %s\n", qvxsessrun_error_text());
        fuzz_fail("the script could not be saved");
    }
    return fuzz_get_file(script);
}

/*
 * The commands of a script as the format's rules give them: lines end at a
 * line feed or a carriage return and line feed (the last one may lack
 * either; a carriage return elsewhere is text), a NUL byte ends a command's text,
 * "#[INACTIVE]#" marks an inactive command, other lines beginning with "#"
 * are comments, and one final "&" is not part of the text.
 */
static std::vector<command> parse(const std::string &bytes)
{
    std::vector<command> commands;
    size_t start = 0;

    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        bool ended = end != std::string::npos;
        if (!ended)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (ended && !line.empty() && line.back() == '\r')
            line.pop_back();

        line = line.substr(0, line.find('\0'));
        bool active = true;
        if (line.compare(0, 12, "#[INACTIVE]#") == 0) {
            line.erase(0, 12);
            active = false;
        } else if (!line.empty() && line[0] == '#') {
            continue;
        }
        if (!line.empty() && line.back() == '&')
            line.pop_back();
        commands.push_back({ line, active });
    }
    return commands;
}

/* Texts of blanks and tabs alone, the empty one included, get no line. */
static std::string render(const command_list *list)
{
    std::string bytes = "#!/bin/sh\n";

    for (const command_entry *e = list->entries; e != nullptr; e = e->next) {
        if (std::string(e->text).find_first_not_of(" \t") == std::string::npos)
            continue;
        bytes += e->active ? "" : "#[INACTIVE]#";
        bytes += e->text;
        bytes += "&\n";
    }
    return bytes;
}

static bool same_commands(const std::vector<command> &commands, const command_list *list)
{
    const command_entry *e = list->entries;

    for (const command &c : commands) {
        if (e == nullptr || c.text != e->text || c.active != (e->active == 1))
            return false;
        e = e->next;
    }
    return e == nullptr;
}

/* Entries that the first save loses on purpose: an active text that begins
 * with "#" is written as a line that the reader takes for a comment. */
static bool has_unkeepable(const command_list *list)
{
    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        if (e->active && e->text[0] == '#')
            return true;
    return false;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz_put_file(script, data, size);

    command_list *first = read_script();
    if (!same_commands(parse(std::string(reinterpret_cast<const char *>(data), size)), first))
        fuzz_fail("the script was read against the format's rules");
    const std::string saved1 = save_script(first);
    if (saved1 != render(first))
        fuzz_fail("the list was written against the format's rules");
    command_list *second = read_script();
    const std::string saved2 = save_script(second);
    command_list *third = read_script();
    const std::string saved3 = save_script(third);

    if (saved3 != saved2)
        fuzz_fail("the script changes on every save");
    if (!qvxsessrun_equal(second, third))
        fuzz_fail("reading a saved script twice gives different lists");
    if (!has_unkeepable(first) && saved2 != saved1)
        fuzz_fail("reading back a saved script changed it");

    qvxsessrun_free(first);
    qvxsessrun_free(second);
    qvxsessrun_free(third);
    return 0;
}
