// SPDX-License-Identifier: BSD-2-Clause
/*
 * Preloaded into a program, makes fsync() and fdatasync() of anything but
 * a directory return success without syncing: the program then behaves as
 * if it never synced its files' data, while its directory syncs still
 * work.  The program itself knows nothing of it.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

typedef int (*sync_fn)(int);

static int pass_directory(int fd, const char *name)
{
    struct stat st;
    sync_fn real;

    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        real = (sync_fn)dlsym(RTLD_NEXT, name);
        return real != NULL ? real(fd) : 0;
    }
    return 0;
}

int fsync(int fd)
{
    return pass_directory(fd, "fsync");
}

int fdatasync(int fd)
{
    return pass_directory(fd, "fdatasync");
}
