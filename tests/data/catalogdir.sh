#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# Where a configured tree installs the translation catalogues, where the
# program looks for them and where its manual page says they are: all must
# be the same directory, which follows the install prefix unless
# QVX_CATALOG_DIR names another one.
#
#   catalogdir.sh CMAKE SOURCE-DIR
#
# Each case configures a scratch tree (without tests, nothing is built) and
# reads the install rule and the program's compile flags that came out.
set -eu
cmake=$1
src=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/qvxcatalog.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0

# check NAME EXPECTED-DIR CMAKE-ARGS...
check() {
	name=$1 want=$2
	shift 2
	tree=$work/$(printf '%s' "$name" | tr -c 'a-z0-9' '_')
	if ! "$cmake" -G "Unix Makefiles" -S "$src" -B "$tree" -DQVX_BUILD_TESTS=OFF "$@" \
		>"$work/log" 2>&1; then
		cat "$work/log"
		echo "$name: cmake failed"
		failed=1
		return
	fi
	installed=$(sed -n 's/.*file(INSTALL DESTINATION "\([^"]*\)".*/\1/p' \
		"$tree/translations/cmake_install.cmake")
	looked=$(sed -n 's/.*-DQVX_CATALOG_DIR=\\"\([^\\]*\)\\".*/\1/p' \
		"$tree/app/CMakeFiles/qvxsessrun.dir/flags.make")
	# The page that the tree installs, and the folder it names.
	page=$(sed -n 's/.*file(INSTALL DESTINATION "[^"]*man1" TYPE FILE FILES "\([^"]*\)".*/\1/p' \
		"$tree/app/cmake_install.cmake")
	named=$(sed -n 's/^\.It Pa \(.*\)\/qvxsessrun_\*\.qm$/\1/p' "$page" 2>/dev/null)
	if [ "$installed" = "$want" ] && [ "$looked" = "$want" ] && [ "$named" = "$want" ]; then
		echo "$name: $want"
	else
		echo "$name: installs into '$installed', looks in '$looked', the manual page" \
			"'$page' names '$named', wanted '$want'"
		failed=1
	fi
}

check "default prefix" /usr/local/share/qvxsessrun
check "prefix /usr" /usr/share/qvxsessrun -DCMAKE_INSTALL_PREFIX=/usr
check "prefix /opt/qvx" /opt/qvx/share/qvxsessrun -DCMAKE_INSTALL_PREFIX=/opt/qvx
check "directory named" /srv/catalogues -DCMAKE_INSTALL_PREFIX=/usr \
	-DQVX_CATALOG_DIR=/srv/catalogues
# A prefix changed later in the same tree moves the catalogues with it.
check "prefix changed" /usr/local/share/qvxsessrun
check "prefix changed" /usr/share/qvxsessrun -DCMAKE_INSTALL_PREFIX=/usr
exit $failed
