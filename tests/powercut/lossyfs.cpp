// SPDX-License-Identifier: BSD-2-Clause
/*
 * lossyfs: a FUSE file system for tests that loses power on command.
 *
 *   lossyfs [--dir-fsync] BACKING MOUNTPOINT [FUSE options]
 *
 * BACKING plays the disk: it holds exactly what would be found after a
 * reboot.  The running system sees a second tree, the live tree, made of
 * hard links to the same files (BACKING.live.XXXXXX, beside BACKING, which
 * must allow hard links), plus the data written but not yet synced, which
 * is kept in memory like a page cache:
 *
 *  - file data reaches the file only when the file is fsync'ed, or when
 *    everything is flushed ("sync" below, or a clean unmount);
 *  - directory changes (create, link, symlink, rename, unlink) reach
 *    BACKING at once; with --dir-fsync those of files and symbolic links
 *    reach it only when their directory is fsync'ed;
 *  - mkdir, rmdir, renames of directories and inode changes (chmod, chown,
 *    utimens) are durable at once in both modes.
 *
 * The file .lossyfs at the top of the mount takes commands, one per write:
 *   cut           lose power: what is not durable is gone, and every other
 *                 operation fails with EIO until the reboot
 *   cut-after N   cut once N more changes have been made
 *   sync          make everything durable, as a flush of the page cache
 *   reboot        after a cut: show BACKING again as it now is
 * Reading it gives "up" or "down", the number of changes made since the
 * mount and the last of them.  A change is an operation that succeeded and
 * changed the tree or what of it is durable: a write, a truncation, a new,
 * renamed or removed name, a changed inode, an fsync.  Only those are
 * counted: a cut after any other operation leaves the same disk as a cut
 * after the change before it, and which others a kernel sends for a
 * system call differs from one system to another.
 *
 * It serves one request at a time (-s) and tells the kernel to cache
 * nothing, so that every operation of a program reaches it.  It has no
 * access operation: the kernel is then told that none is implemented and
 * stops asking.  (FreeBSD asks at every lookup, also for the top directory
 * after a cut, when the answer would be EIO and the control file could no
 * longer be reached.)
 */
#define FUSE_USE_VERSION 31

#include <fuse.h>

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#define CONTROL_PATH "/.lossyfs"

/* An open file or directory of the live tree. */
struct handle
{
    int fd; /* -1 for the control file */
    ino_t ino;
    unsigned boot; /* handles of an earlier boot are dead */
    std::string reply; /* the control file's status text */
};

/* A file whose data differs from what the disk holds. */
struct dirty_file
{
    int fd; /* the file, open for reading and writing */
    std::string data;
};

static struct
{
    bool dir_fsync;
    std::string backing_path, live_path;
    int backing, live; /* the two trees' top directories */
    bool down;
    unsigned boot;
    unsigned long ops;
    unsigned long cut_after; /* 0: no cut planned */
    std::string last_op;
    std::map<ino_t, dirty_file> dirty;
    std::set<handle *> handles; /* open ones: the kernel may not release all */
} fs;

/* A path of the mount as a path relative to either tree. */
static const char *rel(const char *path)
{
    while (*path == '/')
        path++;
    return *path == '\0' ? "." : path;
}

static bool is_control(const char *path)
{
    return path != nullptr && strcmp(path, CONTROL_PATH) == 0;
}

static int write_all(int fd, const std::string &data)
{
    size_t done = 0;

    while (done < data.size()) {
        ssize_t n = pwrite(fd, data.data() + done, data.size() - done, done);
        if (n == -1)
            return -errno;
        done += n;
    }
    return ftruncate(fd, data.size()) == -1 ? -errno : 0;
}

/* Drop the memory of unsynced data, either by writing it or by losing it. */
static int forget_dirty(std::map<ino_t, dirty_file>::iterator it, bool write)
{
    int res = write ? write_all(it->second.fd, it->second.data) : 0;

    close(it->second.fd);
    fs.dirty.erase(it);
    return res;
}

/* The unsynced data of an open file, read from the disk the first time. */
static dirty_file *dirty_of(int fd, ino_t ino)
{
    auto it = fs.dirty.find(ino);
    if (it != fs.dirty.end())
        return &it->second;

    dirty_file d;
    char buf[65536];
    ssize_t n;
    d.fd = dup(fd);
    if (d.fd == -1)
        return nullptr;
    while ((n = pread(d.fd, buf, sizeof buf, d.data.size())) > 0)
        d.data.append(buf, n);
    if (n == -1) {
        close(d.fd);
        return nullptr;
    }
    return &fs.dirty.emplace(ino, d).first->second;
}

/* Make the entries of the live directory dir (files and symbolic links;
 * directories never differ) the entries of the disk's. */
static int sync_entries(const char *dir)
{
    int ldir = -1, bdir = -1, res = 0;
    DIR *d = nullptr;
    struct dirent *de;
    struct stat ls, bs;

    ldir = openat(fs.live, dir, O_RDONLY | O_DIRECTORY);
    bdir = openat(fs.backing, dir, O_RDONLY | O_DIRECTORY);
    if (ldir == -1 || bdir == -1)
        goto fail;
    /* Names on the disk that are gone or not directories any more. */
    d = fdopendir(dup(bdir));
    if (d == nullptr)
        goto fail;
    while ((de = readdir(d)) != nullptr) {
        if (fstatat(bdir, de->d_name, &bs, AT_SYMLINK_NOFOLLOW) == -1 || S_ISDIR(bs.st_mode))
            continue;
        if (fstatat(ldir, de->d_name, &ls, AT_SYMLINK_NOFOLLOW) == -1 || ls.st_ino != bs.st_ino)
            if (unlinkat(bdir, de->d_name, 0) == -1)
                goto fail;
    }
    closedir(d);
    /* Names that are new, or that name another file now. */
    d = fdopendir(dup(ldir));
    if (d == nullptr)
        goto fail;
    while ((de = readdir(d)) != nullptr) {
        if (fstatat(ldir, de->d_name, &ls, AT_SYMLINK_NOFOLLOW) == -1 || S_ISDIR(ls.st_mode))
            continue;
        if (fstatat(bdir, de->d_name, &bs, AT_SYMLINK_NOFOLLOW) == 0)
            continue; /* the same file: others were unlinked above */
        if (linkat(ldir, de->d_name, bdir, de->d_name, 0) == -1)
            goto fail;
    }
    goto out;
fail:
    res = -errno;
out:
    if (d != nullptr)
        closedir(d);
    if (ldir != -1)
        close(ldir);
    if (bdir != -1)
        close(bdir);
    return res;
}

/* sync_entries for dir and every directory below it. */
static int sync_tree(const std::string &dir)
{
    int res = sync_entries(dir.c_str()), fd;
    DIR *d;
    struct dirent *de;
    std::vector<std::string> subs;

    fd = openat(fs.live, dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd == -1 || (d = fdopendir(fd)) == nullptr) {
        if (fd != -1)
            close(fd);
        return -errno;
    }
    while ((de = readdir(d)) != nullptr)
        if (de->d_type == DT_DIR && strcmp(de->d_name, ".") != 0 && strcmp(de->d_name, "..") != 0)
            subs.push_back(dir + "/" + de->d_name);
    closedir(d);
    for (const std::string &s : subs)
        if (int r = sync_tree(s))
            res = r;
    return res;
}

/* Flush everything, as the kernel does on sync(2). */
static int sync_all(void)
{
    int res = 0;

    while (!fs.dirty.empty())
        if (int r = forget_dirty(fs.dirty.begin(), true))
            res = r;
    if (fs.dir_fsync)
        if (int r = sync_tree("."))
            res = r;
    return res;
}

/* Remove the contents of the directory fd (which is closed). */
static int remove_contents(int fd)
{
    DIR *d = fdopendir(fd);
    struct dirent *de;
    int res = 0;

    if (d == nullptr) {
        close(fd);
        return -errno;
    }
    rewinddir(d); /* fd may share its offset with another descriptor */
    while ((de = readdir(d)) != nullptr) {
        if (strcmp(de->d_name, ".") == 0 || strcmp(de->d_name, "..") == 0)
            continue;
        if (unlinkat(fd, de->d_name, 0) == 0)
            continue;
        int sub = openat(fd, de->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (sub == -1 || remove_contents(sub) != 0 || unlinkat(fd, de->d_name, AT_REMOVEDIR) == -1)
            res = -EIO;
    }
    closedir(d);
    return res;
}

/* Fill the live directory to with hard links to what the disk's from holds. */
static int mirror(int from, int to)
{
    DIR *d = fdopendir(dup(from));
    struct dirent *de;
    struct stat st;
    int res = 0;

    if (d == nullptr)
        return -errno;
    rewinddir(d); /* the duplicate shares its offset with from */
    while ((de = readdir(d)) != nullptr) {
        if (strcmp(de->d_name, ".") == 0 || strcmp(de->d_name, "..") == 0
            || fstatat(from, de->d_name, &st, AT_SYMLINK_NOFOLLOW) == -1)
            continue;
        if (!S_ISDIR(st.st_mode)) {
            if (linkat(from, de->d_name, to, de->d_name, 0) == -1)
                res = -errno;
            continue;
        }
        int sub_from = openat(from, de->d_name, O_RDONLY | O_DIRECTORY);
        int sub_to = -1;
        if (sub_from != -1 && mkdirat(to, de->d_name, st.st_mode & 07777) == 0)
            sub_to = openat(to, de->d_name, O_RDONLY | O_DIRECTORY);
        if (sub_from == -1 || sub_to == -1 || mirror(sub_from, sub_to) != 0)
            res = -EIO;
        if (sub_to != -1) {
            fchmod(sub_to, st.st_mode & 07777);
            close(sub_to);
        }
        if (sub_from != -1)
            close(sub_from);
    }
    closedir(d);
    return res;
}

/* The live tree afresh from the disk: the state after a reboot. */
static int boot(void)
{
    struct stat st;

    if (fs.live != -1 && remove_contents(dup(fs.live)) != 0)
        return -EIO;
    if (fs.live == -1) {
        std::string tmpl = fs.backing_path + ".live.XXXXXX";
        if (mkdtemp(&tmpl[0]) == nullptr)
            return -errno;
        fs.live_path = tmpl;
        fs.live = open(tmpl.c_str(), O_RDONLY | O_DIRECTORY);
        if (fs.live == -1)
            return -errno;
    }
    if (fstat(fs.backing, &st) == 0)
        fchmod(fs.live, st.st_mode & 07777);
    fs.boot++;
    fs.down = false;
    return mirror(fs.backing, fs.live);
}

static void power_cut(void)
{
    while (!fs.dirty.empty())
        forget_dirty(fs.dirty.begin(), false);
    fs.down = true;
    fs.cut_after = 0;
}

/* Count a change when the operation succeeded; the planned cut follows it. */
static int changed(const char *name, const char *path, int res)
{
    if (res < 0)
        return res;
    fs.ops++;
    fs.last_op = std::string(name) + " " + (path != nullptr ? path : "");
    if (fs.cut_after > 0 && --fs.cut_after == 0)
        power_cut();
    return res;
}

#define RESULT(call) ((call) == -1 ? -errno : 0)

static int control(const char *command)
{
    std::string c(command);
    unsigned long n;
    char extra;

    while (!c.empty() && (c.back() == '\n' || c.back() == ' '))
        c.pop_back();
    if (c == "cut") {
        power_cut();
        return 0;
    }
    if (c == "sync")
        return fs.down ? -EIO : sync_all();
    if (c == "reboot")
        return fs.down ? boot() : -EBUSY;
    if (sscanf(c.c_str(), "cut-after %lu%c", &n, &extra) == 1 && n > 0 && !fs.down) {
        fs.cut_after = n;
        return 0;
    }
    return -EINVAL;
}

static handle *new_handle(int fd, ino_t ino, const char *reply)
{
    handle *h = new handle { fd, ino, fs.boot, reply };

    fs.handles.insert(h);
    return h;
}

static handle *handle_of(struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    return h != nullptr && h->boot == fs.boot ? h : nullptr;
}

static void *lfs_init(struct fuse_conn_info *, struct fuse_config *cfg)
{
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->direct_io = 1;
    cfg->hard_remove = 1;
    return nullptr;
}

/* A clean unmount: everything becomes durable, and the live tree goes. */
static void lfs_destroy(void *)
{
    if (fs.live == -1)
        return;
    if (!fs.down)
        sync_all();
    for (handle *h : fs.handles) {
        if (h->fd != -1)
            close(h->fd);
        delete h;
    }
    fs.handles.clear();
    remove_contents(dup(fs.live));
    close(fs.live);
    fs.live = -1;
    rmdir(fs.live_path.c_str());
}

static int lfs_getattr(const char *path, struct stat *st, struct fuse_file_info *fi)
{
    if (is_control(path)) {
        memset(st, 0, sizeof *st);
        st->st_mode = S_IFREG | 0600;
        st->st_nlink = 1;
        st->st_uid = getuid();
        st->st_gid = getgid();
        return 0;
    }
    if (fs.down)
        return -EIO;
    handle *h = fi != nullptr ? handle_of(fi) : nullptr;
    int res = RESULT(h != nullptr ? fstat(h->fd, st)
                                  : fstatat(fs.live, rel(path), st, AT_SYMLINK_NOFOLLOW));
    if (res == 0) {
        auto it = fs.dirty.find(st->st_ino);
        if (it != fs.dirty.end() && S_ISREG(st->st_mode)) {
            st->st_size = it->second.data.size();
            st->st_blocks = (st->st_size + 511) / 512;
        }
    }
    return res;
}

static int lfs_readlink(const char *path, char *buf, size_t size)
{
    if (fs.down)
        return -EIO;
    ssize_t n = readlinkat(fs.live, rel(path), buf, size - 1);
    if (n >= 0)
        buf[n] = '\0';
    return n == -1 ? -errno : 0;
}

static int lfs_readdir(const char *path, void *buf, fuse_fill_dir_t filler, off_t,
                       struct fuse_file_info *, enum fuse_readdir_flags)
{
    if (fs.down)
        return -EIO;
    int fd = openat(fs.live, rel(path), O_RDONLY | O_DIRECTORY);
    DIR *d = fd == -1 ? nullptr : fdopendir(fd);
    struct dirent *de;

    if (d == nullptr) {
        int res = -errno;
        if (fd != -1)
            close(fd);
        return res;
    }
    while ((de = readdir(d)) != nullptr) {
        struct stat st;
        memset(&st, 0, sizeof st);
        st.st_ino = de->d_ino;
        st.st_mode = DTTOIF(de->d_type);
        if (filler(buf, de->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0)))
            break;
    }
    closedir(d);
    return 0;
}

/* Make a new name of the live tree durable now, unless its directory
 * has to be fsync'ed for that. */
static int publish(const char *path)
{
    if (fs.dir_fsync)
        return 0;
    return RESULT(linkat(fs.live, rel(path), fs.backing, rel(path), 0));
}

static int lfs_mkdir(const char *path, mode_t mode)
{
    if (fs.down)
        return -EIO;
    int res = RESULT(mkdirat(fs.live, rel(path), mode));
    if (res == 0)
        res = RESULT(mkdirat(fs.backing, rel(path), mode));
    return changed("mkdir", path, res);
}

static int lfs_rmdir(const char *path)
{
    if (fs.down)
        return -EIO;
    int res = RESULT(unlinkat(fs.live, rel(path), AT_REMOVEDIR));
    /* Files of the directory that only an fsync of it would remove. */
    if (res == 0 && fs.dir_fsync)
        remove_contents(openat(fs.backing, rel(path), O_RDONLY | O_DIRECTORY));
    if (res == 0)
        res = RESULT(unlinkat(fs.backing, rel(path), AT_REMOVEDIR));
    return changed("rmdir", path, res);
}

static int lfs_unlink(const char *path)
{
    if (fs.down)
        return -EIO;
    int res = RESULT(unlinkat(fs.live, rel(path), 0));
    if (res == 0 && !fs.dir_fsync)
        res = RESULT(unlinkat(fs.backing, rel(path), 0));
    return changed("unlink", path, res);
}

static int lfs_symlink(const char *target, const char *path)
{
    if (fs.down)
        return -EIO;
    int res = RESULT(symlinkat(target, fs.live, rel(path)));
    if (res == 0)
        res = publish(path);
    return changed("symlink", path, res);
}

static int lfs_link(const char *from, const char *to)
{
    if (fs.down)
        return -EIO;
    int res = RESULT(linkat(fs.live, rel(from), fs.live, rel(to), 0));
    if (res == 0)
        res = publish(to);
    return changed("link", to, res);
}

static int lfs_rename(const char *from, const char *to, unsigned int flags)
{
    struct stat st;

    if (fs.down)
        return -EIO;
    if (flags != 0 || is_control(from) || is_control(to))
        return changed("rename", from, -EINVAL);
    int res = RESULT(fstatat(fs.live, rel(from), &st, AT_SYMLINK_NOFOLLOW));
    if (res == 0)
        res = RESULT(renameat(fs.live, rel(from), fs.live, rel(to)));
    if (res == 0 && (!fs.dir_fsync || S_ISDIR(st.st_mode)))
        res = RESULT(renameat(fs.backing, rel(from), fs.backing, rel(to)));
    return changed("rename", from, res);
}

static int lfs_chmod(const char *path, mode_t mode, struct fuse_file_info *)
{
    if (fs.down)
        return -EIO;
    return changed("chmod", path, RESULT(fchmodat(fs.live, rel(path), mode, 0)));
}

static int lfs_chown(const char *path, uid_t uid, gid_t gid, struct fuse_file_info *)
{
    if (fs.down)
        return -EIO;
    return changed("chown", path,
                   RESULT(fchownat(fs.live, rel(path), uid, gid, AT_SYMLINK_NOFOLLOW)));
}

static int lfs_utimens(const char *path, const struct timespec ts[2], struct fuse_file_info *)
{
    if (fs.down)
        return -EIO;
    return changed("utimens", path, RESULT(utimensat(fs.live, rel(path), ts, AT_SYMLINK_NOFOLLOW)));
}

static int lfs_truncate(const char *path, off_t size, struct fuse_file_info *fi)
{
    if (is_control(path))
        return 0;
    if (fs.down)
        return -EIO;
    handle *h = fi != nullptr ? handle_of(fi) : nullptr;
    int fd = h != nullptr ? h->fd : openat(fs.live, rel(path), O_RDWR);
    struct stat st;
    int res = RESULT(fd == -1 ? -1 : fstat(fd, &st));
    if (res == 0) {
        dirty_file *d = dirty_of(fd, st.st_ino);
        if (d == nullptr)
            res = -errno;
        else
            d->data.resize(size);
    }
    if (h == nullptr && fd != -1)
        close(fd);
    return changed("truncate", path, res);
}

/* Open path of the live tree for reading and writing where allowed, so
 * that the file's unsynced data can be written back through it later. */
static int open_file(const char *path, struct fuse_file_info *fi, mode_t mode, const char *name)
{
    int flags = fi->flags & ~(O_ACCMODE | O_TRUNC | O_APPEND);
    int fd = openat(fs.live, rel(path), flags | O_RDWR, mode);
    struct stat st;

    if (fd == -1 && errno == EACCES)
        fd = openat(fs.live, rel(path), flags | (fi->flags & O_ACCMODE), mode);
    if (fd == -1)
        return -errno;
    int res = RESULT(fstat(fd, &st));
    if (res == 0 && (fi->flags & O_CREAT) != 0)
        res = publish(path);
    if (res == 0 && (fi->flags & O_TRUNC) != 0) {
        dirty_file *d = dirty_of(fd, st.st_ino);
        if (d == nullptr)
            res = -errno;
        else
            d->data.clear();
    }
    if (res != 0) {
        close(fd);
        return res;
    }
    fi->fh = reinterpret_cast<uint64_t>(new_handle(fd, st.st_ino, ""));
    /* A new file or a truncated one is a change; a plain open is not. */
    return (fi->flags & (O_CREAT | O_TRUNC)) != 0 ? changed(name, path, 0) : 0;
}

static int lfs_create(const char *path, mode_t mode, struct fuse_file_info *fi)
{
    if (fs.down)
        return -EIO;
    if (is_control(path))
        return -EEXIST;
    return open_file(path, fi, mode, "create");
}

static int lfs_open(const char *path, struct fuse_file_info *fi)
{
    if (is_control(path)) {
        char text[256];
        snprintf(text, sizeof text, "%s %lu %s\n", fs.down ? "down" : "up", fs.ops,
                 fs.last_op.c_str());
        fi->fh = reinterpret_cast<uint64_t>(new_handle(-1, 0, text));
        return 0;
    }
    if (fs.down)
        return -EIO;
    return open_file(path, fi, 0, "open");
}

static int lfs_read(const char *, char *buf, size_t size, off_t off, struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    if (h->fd == -1) {
        if (static_cast<size_t>(off) >= h->reply.size())
            return 0;
        size = std::min(size, h->reply.size() - off);
        memcpy(buf, h->reply.data() + off, size);
        return size;
    }
    if (fs.down || h->boot != fs.boot)
        return -EIO;
    auto it = fs.dirty.find(h->ino);
    if (it == fs.dirty.end()) {
        ssize_t n = pread(h->fd, buf, size, off);
        return n == -1 ? -errno : n;
    }
    const std::string &data = it->second.data;
    if (static_cast<size_t>(off) >= data.size())
        return 0;
    size = std::min(size, data.size() - off);
    memcpy(buf, data.data() + off, size);
    return size;
}

static int lfs_write(const char *path, const char *buf, size_t size, off_t off,
                     struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    if (h->fd == -1) {
        int res = control(std::string(buf, size).c_str());
        return res == 0 ? static_cast<int>(size) : res;
    }
    if (fs.down || h->boot != fs.boot)
        return -EIO;
    dirty_file *d = dirty_of(h->fd, h->ino);
    if (d == nullptr)
        return changed("write", path, -errno);
    if (d->data.size() < off + size)
        d->data.resize(off + size);
    memcpy(&d->data[off], buf, size);
    return changed("write", path, size);
}

static int lfs_statfs(const char *, struct statvfs *st)
{
    if (fs.down)
        return -EIO;
    return RESULT(fstatvfs(fs.live, st));
}

static int lfs_flush(const char *, struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    if (h->fd == -1)
        return 0;
    if (fs.down || h->boot != fs.boot)
        return -EIO;
    /* A close is no sync: the data stays in memory. */
    return 0;
}

static int lfs_release(const char *, struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    if (h->fd != -1)
        close(h->fd);
    fs.handles.erase(h);
    delete h;
    return 0;
}

static int lfs_fsync(const char *path, int, struct fuse_file_info *fi)
{
    handle *h = reinterpret_cast<handle *>(fi->fh);

    if (h->fd == -1)
        return 0;
    if (fs.down || h->boot != fs.boot)
        return -EIO;
    auto it = fs.dirty.find(h->ino);
    return changed("fsync", path, it == fs.dirty.end() ? 0 : forget_dirty(it, true));
}

static int lfs_opendir(const char *path, struct fuse_file_info *)
{
    if (fs.down)
        return -EIO;
    struct stat st;
    int res = RESULT(fstatat(fs.live, rel(path), &st, 0));
    if (res == 0 && !S_ISDIR(st.st_mode))
        res = -ENOTDIR;
    return res;
}

static int lfs_releasedir(const char *, struct fuse_file_info *)
{
    return 0;
}

static int lfs_fsyncdir(const char *path, int, struct fuse_file_info *)
{
    if (fs.down)
        return -EIO;
    return changed("fsyncdir", path, fs.dir_fsync ? sync_entries(rel(path)) : 0);
}

int main(int argc, char *argv[])
{
    struct fuse_operations ops;
    std::vector<char *> args;
    int i = 1;

    memset(&ops, 0, sizeof ops);
    ops.init = lfs_init;
    ops.destroy = lfs_destroy;
    ops.getattr = lfs_getattr;
    ops.readlink = lfs_readlink;
    ops.readdir = lfs_readdir;
    ops.mkdir = lfs_mkdir;
    ops.rmdir = lfs_rmdir;
    ops.unlink = lfs_unlink;
    ops.symlink = lfs_symlink;
    ops.link = lfs_link;
    ops.rename = lfs_rename;
    ops.chmod = lfs_chmod;
    ops.chown = lfs_chown;
    ops.utimens = lfs_utimens;
    ops.truncate = lfs_truncate;
    ops.create = lfs_create;
    ops.open = lfs_open;
    ops.read = lfs_read;
    ops.write = lfs_write;
    ops.statfs = lfs_statfs;
    ops.flush = lfs_flush;
    ops.release = lfs_release;
    ops.fsync = lfs_fsync;
    ops.opendir = lfs_opendir;
    ops.releasedir = lfs_releasedir;
    ops.fsyncdir = lfs_fsyncdir;

    if (i < argc && strcmp(argv[i], "--dir-fsync") == 0) {
        fs.dir_fsync = true;
        i++;
    }
    if (argc - i < 2) {
        fprintf(stderr, "usage: lossyfs [--dir-fsync] BACKING MOUNTPOINT [FUSE options]\n");
        return 2;
    }
    char *real = realpath(argv[i], nullptr);
    fs.backing = real == nullptr ? -1 : open(real, O_RDONLY | O_DIRECTORY);
    if (fs.backing == -1) {
        fprintf(stderr, "lossyfs: %s: %s\n", argv[i], strerror(errno));
        return 1;
    }
    fs.backing_path = real;
    free(real);
    fs.live = -1;
    if (int res = boot()) {
        fprintf(stderr, "lossyfs: cannot mirror %s: %s\n", argv[i], strerror(-res));
        lfs_destroy(nullptr);
        return 1;
    }
    args.push_back(argv[0]);
    for (i++; i < argc; i++)
        args.push_back(argv[i]);
    static char fg[] = "-f", single[] = "-s", opt[] = "-o", name[] = "fsname=lossyfs";
    args.insert(args.end(), { fg, single, opt, name });
    int res = fuse_main(static_cast<int>(args.size()), args.data(), &ops, nullptr);
    if (res != 0)
        lfs_destroy(nullptr);
    return res;
}
