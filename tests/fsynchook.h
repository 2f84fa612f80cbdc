// SPDX-License-Identifier: BSD-2-Clause
#ifndef FSYNCHOOK_H
#define FSYNCHOOK_H

#include <dlfcn.h>
#include <errno.h>
#include <unistd.h>

#include <functional>

/*
 * fsync() of the test executable itself, in front of the C library's.  The
 * store is a static library linked into the test, so its calls come here:
 * fsync_hook, when set, is handed each descriptor first (and may change
 * files meanwhile, as another program would), then the C library's fsync(),
 * the next one after this executable, does the work.  The sanitizers do
 * not intercept fsync() and valgrind leaves it alone, so this holds in the
 * sanitizer build and under memcheck as well.
 *
 * It defines a function: include it in one source file of a test only.
 */
static std::function<void(int fd)> fsync_hook;

extern "C" int fsync(int fd)
{
    using fsync_fn = int (*)(int);
    static const fsync_fn next = reinterpret_cast<fsync_fn>(dlsym(RTLD_NEXT, "fsync"));
    static bool inside = false; // a hook's own fsync() goes straight through

    if (fsync_hook && !inside) {
        const std::function<void(int)> hook = fsync_hook; // it may set another
        inside = true;
        hook(fd);
        inside = false;
    }
    if (next == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    return next(fd);
}

#endif // FSYNCHOOK_H
