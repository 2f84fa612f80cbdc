#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# Runs a command with a temporary home directory that comes from a private
# password database (nss_wrapper), so that no test ever sees the real home.
#
# The command finds:
#   the home of the current uid         $QVX_TEST_HOME (also from getpwuid)
#   a home for uid 65534 (unprivileged) $QVX_TEST_DIR/nobody
#   HOME                                 a decoy directory that must stay empty
set -eu

top=$(mktemp -d "${TMPDIR:-/tmp}/qvxtest.XXXXXX")
# Called by the trap, which shellcheck does not follow.
# shellcheck disable=SC2317
cleanup() {
	chmod -R u+rwX "$top" 2>/dev/null || true
	rm -rf "$top"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# The unprivileged user of the permission tests must be able to reach its home.
chmod 755 "$top"
mkdir "$top/home" "$top/decoy" "$top/nobody" "$top/runtime"
chmod 700 "$top/runtime"
uid=$(id -u)
gid=$(id -g)
if [ "$uid" -eq 0 ]; then
	chown 65534:65534 "$top/nobody"
fi

{
	printf 'qvxtest:x:%s:%s:QVX test user:%s:/bin/sh\n' "$uid" "$gid" "$top/home"
	[ "$uid" -ne 65534 ] && printf 'nobody:x:65534:65534:nobody:%s:/bin/sh\n' "$top/nobody"
} >"$top/passwd"
{
	printf 'qvxtest:x:%s:\n' "$gid"
	[ "$gid" -ne 65534 ] && printf 'nogroup:x:65534:\n'
} >"$top/group"

NSS_WRAPPER_PASSWD="$top/passwd"
NSS_WRAPPER_GROUP="$top/group"
LD_PRELOAD="libnss_wrapper.so${LD_PRELOAD:+ $LD_PRELOAD}"
HOME="$top/decoy"
XDG_RUNTIME_DIR="$top/runtime"
QVX_TEST_HOME="$top/home"
QVX_TEST_DIR="$top"
export NSS_WRAPPER_PASSWD NSS_WRAPPER_GROUP LD_PRELOAD HOME XDG_RUNTIME_DIR QVX_TEST_HOME QVX_TEST_DIR

# Refuse to run anything if the wrapper is not in effect: the test would
# otherwise work on the real home directory.
seen=$(getent passwd "$uid" | cut -d: -f6)
if [ "$seen" != "$top/home" ]; then
	echo "with-home.sh: nss_wrapper is not in effect (home seen: '$seen')" >&2
	exit 1
fi

set +e
"$@"
rc=$?
set -e
exit $rc
