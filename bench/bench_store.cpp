// SPDX-License-Identifier: BSD-2-Clause
/*
 * Times the command store: read, write, copy and equal for scripts of
 * 1,000, 10,000 and 100,000 commands, and a long run of recorded sets
 * followed by as many undos and redos.  Prints one table in milliseconds
 * (the median of several runs) and fails when a 100,000-command script
 * takes a second or more to read or write.
 *
 * It writes ~/.config/QVX/autostart.sh, so it runs only in the temporary
 * home that tests/with-home.sh provides (scripts/bench does that).
 */
#include "cfg/cfg.h"
#include "store/store.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

namespace {

const int sizes[] = { 1000, 10000, 100000 };
const int journal_steps = 100000;
const int journal_entries = 1000;
const double limit_ms = 1000.0;

void die(const char *what)
{
    fprintf(stderr, "bench_store: %s: %s\n", what, qvxsessrun_error_text());
    exit(1);
}

/* Milliseconds taken by one call of fn. */
double time_ms(const std::function<void()> &fn)
{
    auto start = std::chrono::steady_clock::now();
    fn();
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

/* The median of runs timings; before and after run untimed around each. */
double median_ms(int runs, const std::function<void()> &before, const std::function<void()> &fn,
                 const std::function<void()> &after)
{
    std::vector<double> t;

    for (int i = 0; i < runs; i++) {
        before();
        t.push_back(time_ms(fn));
        after();
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

/* A script of n commands of some 40 bytes, every tenth one inactive. */
std::string make_script(int n)
{
    std::string s = "#!/bin/sh\n";
    char line[128];

    for (int i = 0; i < n; i++) {
        snprintf(line, sizeof(line), "%sprogram-%d --option=value-%d --flag&\n",
                 i % 10 == 9 ? "#[INACTIVE]#" : "", i, i * 7);
        s += line;
    }
    return s;
}

std::string script_path()
{
    char *dir = cfg_make_dir(nullptr);

    if (dir == nullptr) {
        fprintf(stderr, "bench_store: %s", cfg_error_text());
        exit(1);
    }
    std::string path = std::string(dir) + "/autostart.sh";
    free(dir);
    return path;
}

void put_file(const std::string &path, const std::string &bytes)
{
    FILE *fp = fopen(path.c_str(), "w");

    if (fp == nullptr || fwrite(bytes.data(), 1, bytes.size(), fp) != bytes.size()
        || fclose(fp) != 0) {
        perror(path.c_str());
        exit(1);
    }
}

int count(const command_list *list)
{
    int n = 0;

    for (const command_entry *e = list->entries; e != nullptr; e = e->next)
        n++;
    return n;
}

/* Refuse to write anywhere but in the temporary home of with-home.sh. */
void check_home()
{
    const char *want = getenv("QVX_TEST_HOME");
    char *home = cfg_home_dir();
    const bool inTestHome = want != nullptr && home != nullptr && strcmp(home, want) == 0;

    free(home);
    if (!inTestHome) {
        fprintf(stderr,
                "bench_store: run through tests/with-home.sh (scripts/bench), "
                "never in the real home\n");
        exit(2);
    }
}

struct Row
{
    const char *name;
    double ms[3];
};

} // namespace

int main()
{
    check_home();
    const std::string path = script_path();
    Row rows[] = { { "read", {} }, { "write", {} }, { "copy", {} }, { "equal", {} } };

    for (int k = 0; k < 3; k++) {
        const int n = sizes[k];
        const int runs = n >= 100000 ? 5 : 9;
        const std::string script = make_script(n);
        command_list *list = nullptr, *copy = nullptr;

        put_file(path, script);
        rows[0].ms[k] = median_ms(
            runs, [] {}, [&] { list = qvxsessrun_read(); },
            [&] {
                if (list == nullptr)
                    die("read");
                if (count(list) != n) {
                    fprintf(stderr, "bench_store: read %d commands of %d\n", count(list), n);
                    exit(1);
                }
                qvxsessrun_free(list);
            });

        list = qvxsessrun_read();
        if (list == nullptr)
            die("read");
        rows[1].ms[k] = median_ms(
            runs, [] {},
            [&] {
                if (qvxsessrun_write(list) != 0)
                    die("write");
            },
            [] {});
        rows[2].ms[k] = median_ms(
            runs, [] {}, [&] { copy = qvxsessrun_copy(list); },
            [&] {
                if (copy == nullptr)
                    die("copy");
                qvxsessrun_free(copy);
            });
        copy = qvxsessrun_copy(list);
        if (copy == nullptr)
            die("copy");
        bool same = false;
        rows[3].ms[k] = median_ms(
            runs, [] {}, [&] { same = qvxsessrun_equal(list, copy); },
            [&] {
                if (!same) {
                    fprintf(stderr, "bench_store: a copy differs from its list\n");
                    exit(1);
                }
            });
        qvxsessrun_free(copy);
        qvxsessrun_free(list);
    }

    /* The journal: sets spread over the entries, then every one undone and redone. */
    put_file(path, make_script(journal_entries));
    command_list *list = qvxsessrun_read();
    if (list == nullptr)
        die("read");
    command_list *before = qvxsessrun_copy(list);
    if (before == nullptr)
        die("copy");
    std::vector<command_entry *> entries;
    for (command_entry *e = list->entries; e != nullptr; e = e->next)
        entries.push_back(e);
    char text[64];
    double set_ms = time_ms([&] {
        for (int i = 0; i < journal_steps; i++) {
            snprintf(text, sizeof(text), "edited-%d &", i);
            if (qvxsessrun_set_command(list, entries[i % journal_entries], text, i & 1) != 0)
                die("set");
        }
    });
    command_list *edited = qvxsessrun_copy(list);
    if (edited == nullptr)
        die("copy");
    double undo_ms = time_ms([&] {
        for (int i = 0; i < journal_steps; i++)
            qvxsessrun_undo(list);
    });
    bool undone = qvxsessrun_equal(list, before) && !qvxsessrun_can_undo(list);
    double redo_ms = time_ms([&] {
        for (int i = 0; i < journal_steps; i++)
            qvxsessrun_redo(list);
    });
    bool redone = qvxsessrun_equal(list, edited) && !qvxsessrun_can_redo(list);
    if (!undone || !redone) {
        fprintf(stderr, "bench_store: undo and redo did not restore the lists\n");
        return 1;
    }
    qvxsessrun_free(edited);
    qvxsessrun_free(before);
    qvxsessrun_free(list);

    printf("command store, median ms\n");
    printf("%-10s %12s %12s %12s\n", "commands", "1000", "10000", "100000");
    for (const Row &r : rows)
        printf("%-10s %12.3f %12.3f %12.3f\n", r.name, r.ms[0], r.ms[1], r.ms[2]);
    printf("journal, %d sets over %d commands: set %.3f ms, undo %.3f ms, redo %.3f ms\n",
           journal_steps, journal_entries, set_ms, undo_ms, redo_ms);

    bool slow = rows[0].ms[2] >= limit_ms || rows[1].ms[2] >= limit_ms;
    printf("100000 commands read and written within %.0f ms: %s\n", limit_ms, slow ? "NO" : "yes");
    return slow ? 1 : 0;
}
