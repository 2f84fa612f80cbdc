#ifndef UNPRIVILEGED_H
#define UNPRIVILEGED_H

#include <grp.h>
#include <sys/types.h>
#include <unistd.h>

/*
 * The unprivileged user of the permission tests.  CI runs as root, which
 * passes every permission check, so a test of "permission denied" runs its
 * subject as this user; with-home.sh gives it a password entry and a home.
 */
static const uid_t unprivileged_id = 65534;

/*
 * Drops a root process to the unprivileged user for good: groups, group id
 * and user id.  False when a step fails or root could be taken back.
 */
inline bool drop_to_unprivileged()
{
    const gid_t group = unprivileged_id;

    if (setgroups(1, &group) == -1 || setgid(unprivileged_id) == -1
        || setuid(unprivileged_id) == -1)
        return false;
    return getuid() == unprivileged_id && geteuid() == unprivileged_id && setuid(0) == -1;
}

#endif // UNPRIVILEGED_H
