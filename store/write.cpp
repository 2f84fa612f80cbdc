// SPDX-License-Identifier: BSD-2-Clause
/*
 * Saving the script: durably and atomically, through a temporary file of
 * our own beside the file that the script is (the target of a symbolic
 * link, which stays a link), with the old file's permissions, and only
 * when no other program changed the script since the list read or wrote
 * it.  Afterwards our own leftovers of saves cut short are cleared away.
 */
#include "store/store_impl.h"

#include <ctype.h>
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* Hidden, and a name nobody gives a file of their own; mkstemp() wants six X. */
#define TEMP_PREFIX "." SCRIPT_NAME ".save-"
#define TEMP_XS "XXXXXX"
/* A save's temporary file that a crash left behind is removed once it is
 * this old; a save of another window running now is younger. */
#define LEFTOVER_AGE_SECONDS (10 * 60)
/* As many symbolic links as the system follows in one path. */
#define MAX_LINKS 40
/* The mode of a new script. */
#define NEW_SCRIPT_MODE 0600

/* The directory part of path, in a new buffer. */
static char *dir_of(const char *path)
{
    const char *slash = strrchr(path, '/');

    if (slash == nullptr)
        return store_strdup(".");
    return store_memdup(path, slash == path ? 1 : slash - path);
}

/* The target of the symbolic link at path, in a new buffer: relative ones
 * are taken from the link's directory. */
static char *link_target(const char *path, size_t size)
{
    byte_buf out = { nullptr, 0, 0 };
    char *target;
    ssize_t n;

    target = static_cast<char *>(store_malloc(size + 1));
    if (target == nullptr)
        return nullptr;
    errno = 0;
    n = readlink(path, target, size + 1);
    if (n == -1 || static_cast<size_t>(n) > size) {
        if (n != -1) /* it grew meanwhile */
            errno = ENAMETOOLONG;
        store_set_error("readlink(%s)", path);
        free(target);
        return nullptr;
    }
    target[n] = '\0';
    if (target[0] == '/')
        return target;
    char *dir = dir_of(path);
    if (dir == nullptr || buf_add(&out, dir, strlen(dir)) == -1 || buf_add(&out, "/", 1) == -1
        || buf_add(&out, target, n) == -1) {
        free(out.p);
        out.p = nullptr;
    }
    free(dir);
    free(target);
    return out.p;
}

/*
 * The file that a save of the script at path replaces: the script, or,
 * when it is a symbolic link, the file it leads to, which may not exist
 * yet.  A new buffer, or null (the error text is set).
 */
static char *save_target(const char *path)
{
    char *cur = store_strdup(path), *next;
    struct stat st;

    for (int hops = 0; cur != nullptr && hops <= MAX_LINKS; hops++) {
        errno = 0;
        if (lstat(cur, &st) == -1) {
            if (errno == ENOENT)
                return cur;
            store_set_error("lstat(%s)", cur);
            break;
        }
        if (!S_ISLNK(st.st_mode))
            return cur;
        next = link_target(cur, st.st_size > 0 ? st.st_size : PATH_MAX);
        free(cur);
        cur = next;
    }
    if (cur != nullptr) {
        errno = ELOOP;
        store_set_error("%s", path);
    }
    free(cur);
    return nullptr;
}

/*
 * Sync the directory dir, so that a rename in it survives a power loss.
 * The script is already replaced: a failure is not reported.
 */
static void sync_dir(const char *dir)
{
    int fd = open(dir, O_RDONLY | O_DIRECTORY);

    if (fd != -1) {
        fsync(fd);
        close(fd);
    }
}

/* Whether name is one that mkstemp() made from the save's template. */
static bool is_temp_name(const char *name)
{
    const size_t base = strlen(TEMP_PREFIX), xs = strlen(TEMP_XS);

    if (strlen(name) != base + xs || strncmp(name, TEMP_PREFIX, base) != 0)
        return false;
    for (size_t i = base; i < base + xs; i++)
        if (!isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

/*
 * Remove the temporary files that saves cut short by a crash or a kill
 * left in dir: regular files of ours with the save's temporary name,
 * untouched for LEFTOVER_AGE_SECONDS, so that a save that another window
 * is making now keeps its file.  Nothing is reported.
 */
static void remove_leftovers(const char *dir)
{
    struct timespec now;
    struct dirent *de;
    struct stat st;
    DIR *d;

    if (clock_gettime(CLOCK_REALTIME, &now) == -1 || (d = opendir(dir)) == nullptr)
        return;
    while ((de = readdir(d)) != nullptr) {
        if (!is_temp_name(de->d_name))
            continue;
        if (fstatat(dirfd(d), de->d_name, &st, AT_SYMLINK_NOFOLLOW) == -1)
            continue;
        if (S_ISREG(st.st_mode) && st.st_uid == getuid()
            && st.st_mtim.tv_sec <= now.tv_sec - LEFTOVER_AGE_SECONDS)
            unlinkat(dirfd(d), de->d_name, 0);
    }
    closedir(d);
}

/* The permission bits the saved script gets: those of the file it replaces. */
static mode_t script_mode(const char *target)
{
    struct stat st;

    if (stat(target, &st) == -1)
        return NEW_SCRIPT_MODE;
    return st.st_mode & 07777;
}

/*
 * Push the stream's data to the disk, note what the file now is in stamp,
 * and close it; fp is gone afterwards.
 */
static int finish_file(FILE *fp, script_stamp *stamp)
{
    struct stat st;
    uint64_t digest;

    errno = 0;
    if (fflush(fp) == EOF) {
        store_set_error("fflush()");
        goto fail;
    }
    errno = 0;
    if (fsync(fileno(fp)) == -1) {
        store_set_error("fsync()");
        goto fail;
    }
    errno = 0;
    if (fstat(fileno(fp), &st) == -1) {
        store_set_error("fstat()");
        goto fail;
    }
    if (digest_fd(fileno(fp), &digest) == -1)
        goto fail;
    stamp_from_stat(stamp, &st, digest);
    errno = 0;
    if (fclose(fp) == EOF) {
        store_set_error("fclose()");
        return -1;
    }
    return 0;

fail:
    fclose(fp);
    return -1;
}

/* Write the script's bytes to the temporary file open on fd, which the stream takes over. */
static int write_temp(int fd, const command_list *list, mode_t mode, script_stamp *stamp)
{
    byte_buf out = { nullptr, 0, 0 };
    FILE *fp;

    errno = 0;
    if (fchmod(fd, mode) == -1) {
        store_set_error("fchmod()");
        close(fd);
        return -1;
    }
    errno = 0;
    fp = fdopen(fd, "w");
    if (fp == nullptr) {
        store_set_error("fdopen()");
        close(fd);
        return -1;
    }
    if (render_list(&out, list, nullptr) == -1)
        goto fail;
    errno = 0;
    if (fwrite(out.p, 1, out.len, fp) != out.len) {
        store_set_error("fwrite()");
        goto fail;
    }
    free(out.p);
    return finish_file(fp, stamp);

fail:
    free(out.p);
    fclose(fp);
    return -1;
}

/*
 * The temporary file's path in the directory of target, in a new buffer;
 * a link that leads into a directory that is missing is said plainly.
 */
static char *temp_path(const char *path, const char *target, char **dir)
{
    byte_buf out = { nullptr, 0, 0 };
    struct stat st;

    *dir = dir_of(target);
    if (*dir == nullptr)
        return nullptr;
    if (strcmp(path, target) != 0 && stat(*dir, &st) == -1) {
        store_set_error("%s -> %s", path, target);
        return nullptr;
    }
    if (buf_add(&out, *dir, strlen(*dir)) == -1
        || buf_add(&out, "/" TEMP_PREFIX TEMP_XS, 1 + strlen(TEMP_PREFIX TEMP_XS)) == -1) {
        free(out.p);
        return nullptr;
    }
    return out.p;
}

/*
 * Write the list to a temporary file beside the file the script is and
 * rename it over that file.  Another program's change since the list
 * read or wrote the script is looked for last, right before the rename,
 * so that none can slip in while the file is written: the save is then
 * given up (1).  On failure (-1) or then, the script is left as it was
 * and the temporary file is removed.
 */
int qvxsessrun_write(command_list *list)
{
    char *path, *target = nullptr, *tmp = nullptr, *dir = nullptr;
    script_stamp stamp;
    int fd, r = -1;

    path = script_path(nullptr);
    if (path == nullptr)
        return -1;
    target = save_target(path);
    if (target == nullptr || (tmp = temp_path(path, target, &dir)) == nullptr)
        goto out;
    errno = 0;
    fd = mkstemp(tmp);
    if (fd == -1) {
        store_set_error("mkstemp()");
        goto out;
    }
    if (write_temp(fd, list, script_mode(target), &stamp) == -1)
        goto fail;
    /* The script's path, not the target: a link replaced or led elsewhere is a change too. */
    if (list->disk.known && (r = stamp_differs(&list->disk, path)) != 0) {
        if (r == 1) {
            errno = 0;
            store_set_error("%s: changed by another program; not saved", path);
        }
        goto fail;
    }
    errno = 0;
    if (rename(tmp, target) == -1) {
        store_set_error("rename(%s, %s)", tmp, target);
        r = -1;
        goto fail;
    }
    sync_dir(dir);
    list->disk = stamp;
    remove_leftovers(dir);
    r = 0;
    goto out;

fail:
    unlink(tmp);
out:
    free(path);
    free(target);
    free(tmp);
    free(dir);
    return r;
}
