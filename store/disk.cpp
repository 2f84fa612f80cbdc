// SPDX-License-Identifier: BSD-2-Clause
/*
 * The script on disk against what a list last read or wrote: its stamp
 * (identity, size, time and a digest of its bytes), so that a change by
 * another program in between is told before a save replaces it.
 */
#include "store/store_impl.h"

#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#define DIGEST_PRIME UINT64_C(0x100000001b3)

uint64_t digest_add(uint64_t digest, const void *data, size_t len)
{
    const unsigned char *p = static_cast<const unsigned char *>(data);

    for (size_t i = 0; i < len; i++)
        digest = (digest ^ p[i]) * DIGEST_PRIME;
    return digest;
}

void stamp_from_stat(script_stamp *stamp, const struct stat *st, uint64_t digest)
{
    stamp->known = 1;
    stamp->exists = 1;
    stamp->dev = st->st_dev;
    stamp->ino = st->st_ino;
    stamp->size = st->st_size;
    stamp->mtime = st->st_mtim;
    stamp->digest = digest;
}

/*
 * The digest of the whole file open on fd, read from its start whatever
 * the descriptor's offset.  -1 on a read error (the error text is set).
 */
int digest_fd(int fd, uint64_t *digest)
{
    char buf[8192];
    off_t off = 0;
    ssize_t n;

    *digest = DIGEST_START;
    for (;;) {
        errno = 0;
        n = pread(fd, buf, sizeof(buf), off);
        if (n == -1 && errno == EINTR)
            continue;
        if (n == -1) {
            store_set_error("read()");
            return -1;
        }
        if (n == 0)
            return 0;
        *digest = digest_add(*digest, buf, n);
        off += n;
    }
}

/*
 * Open path for reading without blocking (a FIFO must not wait for a
 * writer) and fstat it: the descriptor, or -1.  errno is ENOENT when there
 * is no such file; on any other failure the error text is set.
 */
int open_and_stat(const char *path, struct stat *sb)
{
    int fd;

    errno = 0;
    fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -1) {
        if (errno != ENOENT)
            store_set_error("fopen(%s)", path);
        return -1;
    }
    errno = 0;
    if (fstat(fd, sb) == -1) {
        store_set_error("fstat(%s)", path);
        close(fd);
        return -1;
    }
    return fd;
}

/*
 * Compare the file at path with the stamp: identity, size and time first,
 * the digest of the bytes only when those agree.  A FIFO or a device put
 * in the script's place is another file and counts as changed, until the
 * user accepts it.  1 changed, 0 not, -1 when it cannot be told (the
 * error text is set).
 */
int stamp_differs(const script_stamp *was, const char *path)
{
    struct stat st;
    uint64_t digest;
    int fd, changed = -1;

    fd = open_and_stat(path, &st);
    if (fd == -1)
        return errno == ENOENT ? was->exists : -1;
    if (!was->exists || st.st_dev != was->dev || st.st_ino != was->ino || st.st_size != was->size
        || st.st_mtim.tv_sec != was->mtime.tv_sec || st.st_mtim.tv_nsec != was->mtime.tv_nsec) {
        changed = 1;
    } else if (!S_ISREG(st.st_mode)) {
        changed = 0; /* the very file that was accepted: no bytes to compare */
    } else if (digest_fd(fd, &digest) == 0) {
        changed = digest != was->digest;
    }
    close(fd);
    return changed;
}

int qvxsessrun_changed_on_disk(const command_list *list)
{
    char *path = script_path(nullptr);
    int changed;

    if (path == nullptr)
        return -1;
    changed = stamp_differs(&list->disk, path);
    free(path);
    return changed;
}

/* The script as it is now becomes the one the list knows. */
int qvxsessrun_accept_disk(command_list *list)
{
    struct stat st;
    uint64_t digest;
    char *path = script_path(nullptr);
    int fd, r = -1;

    if (path == nullptr)
        return -1;
    fd = open_and_stat(path, &st);
    if (fd == -1 && errno == ENOENT) {
        list->disk.known = 1;
        list->disk.exists = 0;
        r = 0;
    } else if (fd != -1) {
        if (!S_ISREG(st.st_mode)) {
            stamp_from_stat(&list->disk, &st, 0);
            r = 0;
        } else if (digest_fd(fd, &digest) == 0) {
            stamp_from_stat(&list->disk, &st, digest);
            r = 0;
        }
        close(fd);
    }
    free(path);
    return r;
}

int qvxsessrun_removed_on_disk(const command_list *list)
{
    struct stat st;
    char *path;
    int removed = 0;

    if (!list->disk.known || !list->disk.exists)
        return 0;
    path = script_path(nullptr);
    if (path == nullptr)
        return -1;
    errno = 0;
    if (stat(path, &st) == -1) {
        if (errno == ENOENT)
            removed = 1;
        else {
            store_set_error("stat(%s)", path);
            removed = -1;
        }
    }
    free(path);
    return removed;
}
