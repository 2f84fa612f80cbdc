// SPDX-License-Identifier: BSD-2-Clause
#ifndef FUZZ_COMMON_H
#define FUZZ_COMMON_H

#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

/*
 * The fuzzers write files, so they run only inside the temporary home of
 * tests/with-home.sh: the password database must give that home, never the
 * real one.
 */
static inline std::string fuzz_test_home(const char *prog)
{
    const char *home = getenv("QVX_TEST_HOME");
    const struct passwd *pw = getpwuid(getuid());

    if (home == nullptr || pw == nullptr || strcmp(pw->pw_dir, home) != 0) {
        fprintf(stderr, "%s: run through tests/with-home.sh (the home must be a temporary one)\n",
                prog);
        exit(2);
    }
    return home;
}

static inline void fuzz_put_file(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *fp = fopen(path.c_str(), "wb");

    if (fp == nullptr || fwrite(data, 1, size, fp) != size || fclose(fp) == EOF) {
        perror(path.c_str());
        abort();
    }
}

static inline std::string fuzz_get_file(const std::string &path)
{
    std::string bytes;
    char buf[8192];
    size_t n;
    FILE *fp = fopen(path.c_str(), "rb");

    if (fp == nullptr) {
        perror(path.c_str());
        abort();
    }
    while ((n = fread(buf, 1, sizeof buf, fp)) > 0)
        bytes.append(buf, n);
    if (ferror(fp)) {
        perror(path.c_str());
        abort();
    }
    fclose(fp);
    return bytes;
}

[[noreturn]] static inline void fuzz_fail(const char *what)
{
    fprintf(stderr, "fuzz check failed: %s\n", what);
    abort();
}

#endif // FUZZ_COMMON_H
