// SPDX-License-Identifier: BSD-2-Clause
#ifndef LOSSYFS_MOUNT_H
#define LOSSYFS_MOUNT_H

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QString>
#include <QtTest>

#include "parentdeath.h"

/* Where /dev/fuse is missing, the kernel lacks the FUSE module. */
#ifdef __FreeBSD__
static const char fuse_module_hint[]
    = " (load the fusefs module as root: kldload fusefs, as sh scripts/setup does)";
#else
static const char fuse_module_hint[] = " (load the fuse module as root: modprobe fuse)";
#endif

/*
 * A lossyfs mount for the length of a test: started in the foreground as a
 * child process, driven through its control file, unmounted at the end.
 */
class LossyMount
{
public:
    LossyMount() = default;
    LossyMount(const LossyMount &) = delete;
    LossyMount &operator=(const LossyMount &) = delete;
    ~LossyMount() { stop(); }

    /* Mounts backing at mountpoint; false with the reason in why. */
    bool start(const QString &backing, const QString &mountpoint, bool dirFsync, QString *why)
    {
        const QByteArray program = qgetenv("QVX_LOSSYFS");
        const QByteArray from = backing.toLocal8Bit(), at = mountpoint.toLocal8Bit();

        stop();
        if (access("/dev/fuse", R_OK | W_OK) == -1) {
            const int err = errno;
            *why = QString("/dev/fuse cannot be used: %1%2")
                       .arg(strerror(err), err == ENOENT ? fuse_module_hint : "");
            return false;
        }
        if (program.isEmpty()) {
            *why = "QVX_LOSSYFS must name the lossyfs program";
            return false;
        }
        controlPath = at + "/.lossyfs";
        dir = mountpoint;
        pid = fork();
        if (pid == 0) {
            // Unmount also when the test dies without stopping it.
            end_with_parent(SIGTERM);
            const char *args[6] = { program.constData() };
            int n = 1;
            if (dirFsync)
                args[n++] = "--dir-fsync";
            args[n++] = from.constData();
            args[n++] = at.constData();
            args[n] = nullptr;
            execv(program.constData(), const_cast<char **>(args));
            _exit(127);
        }
        if (pid == -1) {
            *why = QString("fork: %1").arg(strerror(errno));
            return false;
        }
        // The control file appears once the mount is there.
        for (int i = 0; i < 500; i++) {
            int status;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                *why = QString("lossyfs could not mount %1 (exit status %2; see its message above)")
                           .arg(mountpoint)
                           .arg(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
                return false;
            }
            struct stat st;
            if (stat(controlPath.constData(), &st) == 0)
                return true;
            struct timespec ts = { 0, 10 * 1000 * 1000 };
            nanosleep(&ts, nullptr);
        }
        *why = "lossyfs did not mount within 5 s";
        stop();
        return false;
    }

    /* Unmounts (a clean shutdown, which makes everything durable). */
    void stop()
    {
        int status;

        if (pid <= 0)
            return;
        kill(pid, SIGTERM);
        for (int i = 0; i < 500; i++) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = -1;
                return;
            }
            struct timespec ts = { 0, 10 * 1000 * 1000 };
            nanosleep(&ts, nullptr);
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        pid = -1;
        // A mount whose server was killed stays until it is detached.
        const QByteArray at = dir.toLocal8Bit();
        if (fork() == 0) {
#ifdef __linux__
            execlp("fusermount3", "fusermount3", "-u", "-z", at.constData(),
                   static_cast<char *>(nullptr));
#else
            execl("/sbin/umount", "umount", "-f", at.constData(), static_cast<char *>(nullptr));
#endif
            _exit(127);
        }
        wait(&status);
    }

    /* Sends one command to the file system; false when it refuses it. */
    bool control(const char *command) const
    {
        const int fd = open(controlPath.constData(), O_WRONLY);
        if (fd == -1)
            return false;
        const size_t len = strlen(command);
        const bool ok = write(fd, command, len) == static_cast<ssize_t>(len);
        return close(fd) == 0 && ok;
    }

    /* "up" or "down", the number of changes made, and the last one. */
    QByteArray status() const
    {
        char buf[512];
        const int fd = open(controlPath.constData(), O_RDONLY);
        if (fd == -1)
            return QByteArray();
        const ssize_t n = read(fd, buf, sizeof buf);
        close(fd);
        return n > 0 ? QByteArray(buf, n).trimmed() : QByteArray();
    }

    /* The number of changes made so far (operations that changed the tree
     * or what of it is durable), -1 when it cannot be read. */
    long operations() const
    {
        const QList<QByteArray> words = status().split(' ');
        bool ok = false;
        const long n = words.size() >= 2 ? words[1].toLong(&ok) : -1;
        return ok ? n : -1;
    }

private:
    pid_t pid = -1;
    QByteArray controlPath;
    QString dir;
};

/*
 * What a test does when lossyfs cannot mount: outside CI it is skipped
 * (exit status 77), in CI it fails.
 */
inline int lossyfs_unavailable(const QString &why)
{
    const bool ci = !qEnvironmentVariableIsEmpty("CI");

    fprintf(stderr, "%s: %s\n", ci ? "FAIL" : "SKIP", qPrintable(why));
    return ci ? 1 : 77;
}

/*
 * The main of a test that needs lossyfs: it mounts it once to see that it
 * can, then runs Test; otherwise says why and skips (fails under CI).
 */
template<class Test> int lossyfs_test_main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    LossyMount probe;
    QString why;
    const QString top = qEnvironmentVariable("QVX_TEST_DIR");

    if (top.isEmpty() || !QDir().mkpath(top + "/probe/disk") || !QDir().mkpath(top + "/probe/mnt"))
        return lossyfs_unavailable("run through tests/with-home.sh");
    if (!probe.start(top + "/probe/disk", top + "/probe/mnt", false, &why))
        return lossyfs_unavailable(why);
    probe.stop();
    Test test;
    return QTest::qExec(&test, argc, argv);
}

#endif // LOSSYFS_MOUNT_H
