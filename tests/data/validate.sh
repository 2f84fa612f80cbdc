#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# Validates one of the installed data files with the freedesktop.org tools:
#   validate.sh desktop  FILE   desktop-file-validate, which must say nothing
#   validate.sh metainfo FILE   appstreamcli validate, strict; no address on a
#                               name reserved for examples; the summary must be
#                               the manual page's one-line description
# Exit status 77 (skipped) where the tool is missing, except in CI (the
# variable CI set), where that is a failure.
set -eu
kind=$1
file=$2

need() {
	command -v "$1" >/dev/null 2>&1 && return 0
	echo "$1 is not installed"
	[ -n "${CI:-}" ] && exit 1
	exit 77
}

case $kind in
desktop)
	need desktop-file-validate
	# Warnings and hints leave the exit status at 0: any output fails.
	out=$(desktop-file-validate "$file" 2>&1) || { echo "$out"; exit 1; }
	[ -z "$out" ] || { echo "$out"; exit 1; }
	;;
metainfo)
	need appstreamcli
	# The component id is the desktop entry's name, which is not a reverse
	# domain name; that hint is the only one allowed.
	appstreamcli validate --no-net --strict --pedantic \
		--override=cid-desktopapp-is-not-rdns=pedantic "$file"
	# An address on a name reserved for examples leads nowhere.
	if grep -Eio 'https?://([a-z0-9-]+\.)*(example(\.(com|net|org))?|invalid|test|localhost)([/:"<]|$)' \
		"$file"; then
		echo "an address that leads nowhere"
		exit 1
	fi
	man=${QVX_SOURCE_DIR:?}/man/qvxsessrun.1
	nd=$(sed -n 's/^\.Nd //p' "$man")
	want=$(printf '%s' "$nd" | cut -c1 | tr '[:lower:]' '[:upper:]')$(printf '%s' "$nd" | cut -c2-)
	got=$(sed -n 's:.*<summary>\(.*\)</summary>.*:\1:p' "$file")
	[ "$got" = "$want" ] || { echo "summary \"$got\", manual page \"$want\""; exit 1; }
	;;
*)
	echo "validate.sh: unknown kind $kind" >&2
	exit 2
	;;
esac
echo "$file: valid"
