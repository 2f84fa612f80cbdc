#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# End-to-end run of the program in its own Xvfb, driven by real input events
# only (xdotool, through the XTEST extension).  The program is told nothing:
# positions of rows and buttons come from screenshots, the result from the
# script on disk and the exit status.
#
# usage: e2e.sh SCENARIO PROGRAM HELPER WMCLOSE SHOTDIR
#   SCENARIO  edit | close | drop | marks | handwritten | add | menu | runnow | rows | addapp
# Runs inside tests/with-home.sh, which provides QVX_TEST_HOME and QVX_TEST_DIR.
#
# The conditions given to expect are in single quotes on purpose: it
# evaluates them anew after each screenshot.
# shellcheck disable=SC2016
set -eu

scenario=$1
prog=$2
helper=$3
wmclose=$4
shots=$5/$scenario
src=$(cd "$(dirname "$0")/../.." && pwd)

: "${QVX_TEST_HOME:?run me through tests/with-home.sh}"
: "${QVX_TEST_DIR:?run me through tests/with-home.sh}"

for tool in Xvfb xdotool; do
	if ! command -v $tool >/dev/null 2>&1; then
		echo "e2e: $tool is not installed (sh scripts/setup installs it)" >&2
		[ -n "${CI:-}" ] && exit 1
		exit 77
	fi
done

work=$QVX_TEST_DIR/e2e
mkdir -p "$work" "$shots"
rm -f "$shots"/*.png
conf=$QVX_TEST_HOME/.config/QVX
script=$conf/autostart.sh
mkdir -p "$conf"
chmod 700 "$conf"

xpid=
ppid_=
hpid=
nshot=0
# What the helper reads in the last screenshot (shot sets them through eval):
# the rows, their positions, check boxes and marks, the column of the check
# boxes and of the texts, the buttons, the list's area and the status bar.
rows='' row_y='' row_on='' row_mark='' check_x='' text_x='' btn_x='' btn_y=''
list_x0='' list_y0='' list_x1='' list_y1='' status_ink='' status_sum=''
# What the helper says of the status bar against an expected text.
status_match='' status_differing=''
# Until the main window is found, screenshots cover the whole screen.
wx=0 wy=0 ww=1024 wh=768

fail() {
	echo "e2e $scenario: FAIL: $*" >&2
	shot failure >/dev/null 2>&1 || true
	exit 1
}

cleanup() {
	for p in $hpid $ppid_; do
		kill "$p" 2>/dev/null || true
	done
	if [ -n "$xpid" ]; then
		kill "$xpid" 2>/dev/null || true
		wait "$xpid" 2>/dev/null || true
	fi
}
trap cleanup EXIT

# A private X server on a free display; -displayfd tells which one it took.
start_x() {
	: >"$work/display"
	sh "$src/tests/xvfb.sh" 1024x768x24 3 3>"$work/display" 2>"$work/xvfb.log" &
	xpid=$!
	i=0
	while ! grep -q '^[0-9][0-9]*$' "$work/display"; do
		i=$((i + 1))
		[ $i -gt 100 ] && fail "Xvfb did not start: $(cat "$work/xvfb.log")"
		sleep 0.1
	done
	DISPLAY=:$(cat "$work/display")
	export DISPLAY
}

# A plain Qt environment: xcb, Fusion, no desktop integration, and no cache
# written into the decoy HOME.
qt_env() {
	QT_QPA_PLATFORM=xcb
	QT_STYLE_OVERRIDE=Fusion
	QT_XCB_GL_INTEGRATION=none
	XDG_CACHE_HOME=$QVX_TEST_DIR/cache
	XDG_CONFIG_HOME=$QVX_TEST_DIR/config
	XDG_DATA_HOME=$QVX_TEST_DIR/data
	LANG=C.UTF-8
	export QT_QPA_PLATFORM QT_STYLE_OVERRIDE QT_XCB_GL_INTEGRATION XDG_CACHE_HOME \
		XDG_CONFIG_HOME XDG_DATA_HOME LANG
	unset QT_QPA_PLATFORMTHEME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI \
		XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID \
		LC_ALL LANGUAGE 2>/dev/null || true
}

# Waits up to $2 tenths of a second for a visible window named exactly $1
# and sets $found to its id.
find_window() {
	found=
	i=0
	while [ $i -lt "$2" ]; do
		found=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) || true
		[ -n "$found" ] && return 0
		i=$((i + 1))
		sleep 0.1
	done
	return 1
}

window_gone() {
	i=0
	while [ $i -lt 100 ]; do
		xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
		i=$((i + 1))
		sleep 0.1
	done
	return 1
}

start_program() {
	"$prog" >"$work/program.out" 2>"$work/program.err" &
	ppid_=$!
	find_window 'QVXSessRun\*?' 300 || fail "the main window did not appear"
	win=$found
	eval "$(xdotool getwindowgeometry --shell "$win")"
	wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
	# No window manager: give the window the keyboard focus as one would,
	# so that it becomes the active window and its mnemonics work.
	xdotool mousemove $((wx + ww / 2)) $((wy + 10))
	xdotool windowfocus --sync "$win"
}

# Screenshot NAME: saves the screen and reads the main window in it.
shot() {
	nshot=$((nshot + 1))
	f=$(printf '%s/%02d-%s.png' "$shots" $nshot "$1")
	out=$("$helper" shot "$f" "$wx" "$wy" "$ww" "$wh") || return 1
	eval "$out"
}

# expect NAME CONDITION: screenshots until CONDITION holds (5 s at most).
expect() {
	i=0
	while :; do
		shot "$1" || fail "screenshot $1"
		eval "$2" && return 0
		i=$((i + 1))
		[ $i -ge 25 ] && fail "$1: not true: $2 (rows=$rows row_on='$row_on' row_mark='$row_mark' status_ink=$status_ink)"
		sleep 0.2
	done
}

# expect_status NAME TEXT: screenshots until the status bar shows TEXT (5 s
# at most).
expect_status() {
	i=0
	while :; do
		nshot=$((nshot + 1))
		f=$(printf '%s/%02d-%s.png' "$shots" $nshot "$1")
		out=$("$helper" status "$f" "$wx" "$wy" "$ww" "$wh" "$2") || fail "screenshot $1"
		eval "$out"
		[ "$status_match" = 1 ] && return 0
		i=$((i + 1))
		[ $i -ge 25 ] && fail "$1: the status bar does not say \"$2\" ($status_differing pixels differ)"
		sleep 0.2
	done
}

nth() { # nth N WORDS...: the Nth (from 1) of the words
	n=$1
	shift
	eval "echo \${$n}"
}

click_at() {
	xdotool mousemove $(($1 + wx)) $(($2 + wy))
	sleep 0.1
	xdotool click "${3:-1}"
	sleep 0.3
}

right_click_at() { click_at "$1" "$2" 3; }

# The positions are words, split on purpose.
# shellcheck disable=SC2086
row_y() { nth $(($1 + 1)) $row_y; }
has_off_row() { echo " $row_on " | grep -q " 0 "; }
# shellcheck disable=SC2086
btn_y() { nth $(($1 + 1)) $btn_y; }

key() {
	xdotool key --clearmodifiers "$@"
	sleep 0.3
}

type_text() {
	xdotool type --clearmodifiers --delay 30 "$1"
	sleep 0.3
}

# wait_exit SECONDS: waits for the program to end and sets $rc.
wait_exit() {
	i=0
	while kill -0 "$ppid_" 2>/dev/null; do
		i=$((i + 1))
		if [ $i -gt $(($1 * 10)) ]; then
			find_window 'The file has been modified.' 1 && fail "a question appeared"
			fail "the program did not end"
		fi
		sleep 0.1
	done
	set +e
	wait "$ppid_"
	rc=$?
	set -e
	ppid_=
}

check_script() { # check_script EXPECTED-FILE
	if ! cmp -s "$1" "$script"; then
		echo "expected:" >&2
		od -c "$1" >&2
		echo "found:" >&2
		od -c "$script" >&2 || true
		fail "the script does not hold the expected bytes"
	fi
}

wait_script() { # wait_script EXPECTED-FILE: up to 5 s for a save to write it
	i=0
	while ! cmp -s "$1" "$script"; do
		i=$((i + 1))
		[ $i -gt 50 ] && check_script "$1"
		sleep 0.1
	done
}

# 1. Every editing action once, then save and quit.
scenario_edit() {
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' '#[INACTIVE]#xclock -digital&' \
		'picom --daemon&' 'nm-applet&' 'volumeicon&' >"$script"
	start_program
	expect start '[ "$rows" = 5 ] && [ "$row_on" = "1 0 1 1 1" ] && [ "$status_ink" = 0 ]'
	[ "$(echo "$btn_y" | wc -w)" -eq 6 ] || fail "found $btn_y as the editing buttons' rows"

	click_at "$check_x" "$(row_y 0)"
	expect unchecked '[ "$row_on" = "0 0 1 1 1" ] && [ "$status_ink" -gt 0 ]'

	xdotool mousemove $((text_x + wx)) $(($(row_y 3) + wy))
	sleep 0.1
	xdotool click --repeat 2 --delay 80 1
	sleep 0.4
	key ctrl+a
	type_text 'redshift -O 4500'
	shot editing
	key Return

	key alt+a
	expect added '[ "$rows" = 6 ] && [ "$row_on" = "0 0 1 1 1 1" ]'
	type_text 'xterm -e htop'
	key Return

	click_at "$text_x" "$(row_y 1)"
	key alt+n
	expect moved '[ "$rows" = 6 ] && [ "$row_on" = "0 1 0 1 1 1" ]'

	click_at "$text_x" "$(row_y 4)"
	key Delete
	expect deleted '[ "$rows" = 5 ] && [ "$row_on" = "0 1 0 1 1" ]'

	click_at "$btn_x" "$(btn_y 0)"
	expect undone '[ "$rows" = 6 ] && [ "$row_on" = "0 1 0 1 1 1" ]'
	click_at "$btn_x" "$(btn_y 1)"
	expect redone '[ "$rows" = 5 ] && [ "$row_on" = "0 1 0 1 1" ]'
	modified_sum=$status_sum

	key alt+s
	expect saved '[ "$status_ink" -gt 0 ] && [ "$status_sum" != "$modified_sum" ]'
	printf '%s\n' '#!/bin/sh' '#[INACTIVE]#xsetroot -solid grey&' 'picom --daemon&' \
		'#[INACTIVE]#xclock -digital&' 'redshift -O 4500&' 'xterm -e htop&' >"$work/expected"
	check_script "$work/expected"

	key alt+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

# 2. The window manager's close request asks first; Cancel keeps all.
scenario_close() {
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' 'picom --daemon&' 'nm-applet&' >"$script"
	cp "$script" "$work/original"
	start_program
	expect start '[ "$rows" = 3 ] && [ "$row_on" = "1 1 1" ] && [ "$status_ink" = 0 ]'
	click_at "$check_x" "$(row_y 1)"
	expect modified '[ "$row_on" = "1 0 1" ] && [ "$status_ink" -gt 0 ]'
	# Read by a condition of expect, which shellcheck does not see.
	# shellcheck disable=SC2034
	modified_sum=$status_sum

	"$wmclose" "$win" || fail "cannot send the close request"
	find_window 'The file has been modified.' 100 || fail "no question after the close request"
	box=$found
	shot question
	xdotool windowfocus --sync "$box"
	key alt+c
	window_gone 'The file has been modified.' || fail "the question stayed after Cancel"
	kill -0 "$ppid_" 2>/dev/null || fail "the program ended on Cancel"
	find_window 'QVXSessRun\*' 10 || fail "the main window, its title marked modified, went away on Cancel"
	expect cancelled '[ "$row_on" = "1 0 1" ] && [ "$status_sum" = "$modified_sum" ]'
	check_script "$work/original"

	xdotool windowfocus --sync "$win"
	"$wmclose" "$win" || fail "cannot send the close request"
	find_window 'The file has been modified.' 100 || fail "no question after the second request"
	box=$found
	shot question-again
	xdotool windowfocus --sync "$box"
	key alt+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/original"
}

# 3. A drag from another X client carries four desktop entries; the
# second is a directory, which exists but cannot be read as a file.  The
# last is a browser's, named with a blank, whose action group comes after
# the main group: only the main command counts, without its field code.
scenario_drop() {
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' '#[INACTIVE]#xclock&' >"$script"
	d=$work/apps
	mkdir -p "$d/b.desktop"
	printf '%s\n' '[Desktop Entry]' 'Name=Alpha' 'Exec=alpha --one %F' >"$d/a.desktop"
	printf '%s\n' '[Desktop Entry]' 'Name=Gamma' 'Exec=gamma' >"$d/c.desktop"
	printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Web Browser' \
		'Exec=web-browser %u' 'Actions=new-private-window;' '' \
		'[Desktop Action new-private-window]' 'Name=New Private Window' \
		'Exec=web-browser --private-window %u' >"$d/My Browser.desktop"
	start_program
	expect start '[ "$rows" = 2 ] && [ "$row_on" = "1 0" ]'

	drop_files "$d/a.desktop" "$d/b.desktop" "$d/c.desktop" "$d/My Browser.desktop"
	# The status bar says that one file was skipped.
	expect dropped '[ "$rows" = 5 ] && [ "$row_on" = "1 0 1 1 1" ] && [ "$status_ink" -gt 0 ]'
	end_drag

	xdotool windowfocus --sync "$win"
	key alt+s
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' '#[INACTIVE]#xclock&' 'alpha --one&' \
		'gamma&' 'web-browser&' >"$work/expected"
	wait_script "$work/expected"
	shot saved
	key alt+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

# drop_files FILE...: a drag from another X client onto the middle of the
# list carries the files; fails unless the list takes the drop.  The
# drag's client stays to serve the data until end_drag.
drop_files() {
	sx=700 sy=100
	"$helper" drag $sx $sy "$@" >"$work/drag.out" 2>"$work/drag.err" &
	hpid=$!
	find_window qvx-e2e-drag 100 || fail "the drag source did not appear"
	sleep 0.3
	xdotool mousemove $((sx + 80)) $((sy + 60))
	sleep 0.2
	xdotool mousedown 1
	sleep 0.3
	# Carry it over in steps, as a hand does, so that both ends see motion.
	tx=$((wx + (list_x0 + list_x1) / 2)) ty=$((wy + (list_y0 + list_y1) / 2))
	i=1
	while [ $i -le 10 ]; do
		xdotool mousemove $((sx + 80 + (tx - sx - 80) * i / 10)) $((sy + 60 + (ty - sy - 60) * i / 10))
		sleep 0.1
		i=$((i + 1))
	done
	sleep 0.3
	shot dragging
	xdotool mouseup 1
	i=0
	until grep -q '^drag: ' "$work/drag.out"; do
		i=$((i + 1))
		[ $i -gt 100 ] && fail "the drag did not end"
		sleep 0.1
	done
	grep -qx 'drag: copy' "$work/drag.out" ||
		fail "the drop was not taken: $(cat "$work/drag.out" "$work/drag.err")"
}

end_drag() {
	kill "$hpid"
	wait "$hpid" 2>/dev/null || true
	hpid=
}

# 4. Rows that would not run carry the warning icon once the window is up;
# a row typed into valid shell loses it.  The inactive row is never marked.
scenario_marks() {
	# A line saved on another system ends in a CR, which the shell passes
	# on; a program that its row tests for first is not missing.
	cr_line=$(printf 'true b off &\r')
	guarded='command -v qvx-no-such-command >/dev/null && qvx-no-such-command -b&'
	printf '%s\n' '#!/bin/sh' 'true&' 'fi&' 'true # mine&' \
		'#[INACTIVE]#echo "off&' 'true --flag&' "$cr_line" "$guarded" >"$script"
	start_program
	expect marked '[ "$rows" = 7 ] && [ "$row_on" = "1 1 1 0 1 1 1" ] &&
		[ "$row_mark" = "0 1 1 0 0 1 0" ]'

	xdotool mousemove $((text_x + wx)) $(($(row_y 1) + wy))
	sleep 0.1
	xdotool click --repeat 2 --delay 80 1
	sleep 0.4
	key ctrl+a
	type_text 'echo terminated'
	key Return
	expect fixed '[ "$rows" = 7 ] && [ "$row_mark" = "0 0 1 0 0 1 0" ]'

	key alt+s
	printf '%s\n' '#!/bin/sh' 'true&' 'echo terminated&' 'true # mine&' \
		'#[INACTIVE]#echo "off&' 'true --flag&' "$cr_line" "$guarded" >"$work/expected"
	wait_script "$work/expected"
	expect saved '[ "$status_ink" -gt 0 ] && [ "$row_mark" = "0 0 1 0 0 1 0" ]'
	key alt+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

# 5. A script written by hand, mode 0755, is opened and saved with Ctrl+S:
# the same bytes and mode come back.  One row switched off and saved again,
# the real shell runs it and does what it did before, less that command.
# The rows of an if over several lines are not marked.
scenario_handwritten() {
	printf '%s\n' '#!/bin/sh' '# my session, written by hand' 'echo colours >>out' \
		'export GREETING=hello' '' 'if [ -n "$GREETING" ]; then' '    echo "$GREETING" >>out' \
		'fi' '# not wanted today' 'echo unwanted >>out &' 'cd / &' 'exec echo last >>out' >"$script"
	chmod 0755 "$script"
	cp "$script" "$work/original"
	(cd "$work" && rm -f out && sh "$script" && sleep 0.5 && sort out >before)
	start_program
	# A row a command: the if with its lines is one.
	expect start '[ "$rows" = 6 ] && [ "$row_on" = "1 1 1 1 1 1" ] && [ "$status_ink" = 0 ]'
	# The cd in the background is a fault, and its mark tells that the
	# check has run.
	expect checked '[ "$row_mark" = "0 0 0 0 1 0" ]'

	key ctrl+s
	expect saved '[ "$status_ink" -gt 0 ]'
	check_script "$work/original"
	[ -n "$(find "$script" -perm 0755)" ] || fail "the saved script lost its mode 0755"

	click_at "$check_x" "$(row_y 3)"
	expect unchecked '[ "$row_on" = "1 1 1 0 1 1" ]'
	key ctrl+s
	sed 's/^echo unwanted/#[INACTIVE]#echo unwanted/' "$work/original" >"$work/expected"
	wait_script "$work/expected"
	[ -n "$(find "$script" -perm 0755)" ] || fail "the saved script lost its mode 0755"
	(cd "$work" && rm -f out && sh "$script" && sleep 0.5 && sort out >after)
	grep -v '^unwanted$' "$work/before" >"$work/before-less-one"
	cmp -s "$work/before-less-one" "$work/after" ||
		fail "the saved script ran otherwise: $(tr '\n' ' ' <"$work/after")"
	grep -q '^hello$' "$work/after" || fail "the export no longer reached the if"

	key alt+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}


# 6. In a list longer than the window, Add and a drop put their row in view
# and make it current: what the user types, runs or deletes next is that
# row's.  The switched-off second row tells whether the view is at the top
# (the first may be current, and a current row's box is not read).
scenario_add() {
	ran=$work/ran-new-row
	rm -f "$ran"
	{
		printf '%s\n' '#!/bin/sh' 'true 0&' '#[INACTIVE]#xclock&'
		i=1
		while [ $i -le 18 ]; do
			echo "true $i&"
			i=$((i + 1))
		done
	} >"$script"
	cp "$script" "$work/original"
	printf '%s\n' '[Desktop Entry]' 'Exec=dropped-app' >"$work/dropped.desktop"
	start_program
	expect start '[ "$rows" -gt 3 ] && has_off_row'
	[ "$rows" -lt 20 ] || fail "all $rows rows fit: nothing to scroll"
	# Read by a condition of expect, which shellcheck does not see.
	# shellcheck disable=SC2034
	at_top=$rows

	# Ctrl+N, type, Ctrl+R: the typed command runs.
	key ctrl+n
	type_text "touch $ran"
	shot typing
	key Return
	expect added '[ "$rows" -ge $((at_top - 1)) ] && ! has_off_row'
	key ctrl+r
	i=0
	while [ ! -e "$ran" ]; do
		i=$((i + 1))
		[ $i -gt 50 ] && fail "Run now did not run the new row"
		sleep 0.1
	done

	# Ctrl+N, Escape: the empty new row goes by itself and the first row
	# is current again, so that Delete would act on it; nothing else changes.
	key ctrl+Home
	expect top has_off_row
	key ctrl+n
	expect empty-row '! has_off_row'
	key Escape
	expect escaped has_off_row

	# A drop: its row comes into view, current, and Delete takes it away.
	key ctrl+Home
	expect top-again has_off_row
	drop_files "$work/dropped.desktop"
	expect dropped '! has_off_row'
	end_drag
	xdotool windowfocus --sync "$win"
	key Delete

	key ctrl+s
	{
		cat "$work/original"
		echo "touch $ran&"
	} >"$work/expected"
	wait_script "$work/expected"
	key ctrl+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

# 7. The context menu belongs where it opens: on a row it is that row's,
# whatever row was current; below the rows it offers only Add, so that its
# "d" deletes nothing.
scenario_menu() {
	printf '%s\n' '#!/bin/sh' 'first&' 'second&' 'third&' >"$script"
	start_program
	expect start '[ "$rows" = 3 ]'
	below=$((list_y1 - 15))
	[ "$below" -gt $(($(row_y 2) + 30)) ] || fail "no room below the rows"
	first_y=$(row_y 0) third_y=$(row_y 2)

	click_at "$text_x" "$first_y"
	right_click_at "$text_x" "$third_y"
	shot row-menu
	key d
	key ctrl+s
	printf '%s\n' '#!/bin/sh' 'first&' 'second&' >"$work/expected"
	wait_script "$work/expected"

	click_at "$text_x" "$first_y"
	right_click_at "$text_x" "$below"
	shot list-menu
	key d
	key Escape
	right_click_at "$text_x" "$below"
	key a
	type_text xclock
	key Return
	key ctrl+s
	printf '%s\n' '#!/bin/sh' 'first&' 'second&' 'xclock&' >"$work/expected"
	wait_script "$work/expected"
	key ctrl+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

# 8. Run now says in the status bar, within a second, when a command ended
# at once: its status and the first line of its standard error, which
# reaches neither the program's standard streams nor anywhere else.  A
# command that runs on is said to be started.
scenario_runnow() {
	printf '%s\n' '#!/bin/sh' 'qvx-no-such-command --flag&' 'fi&' \
		'sleep 3&' >"$script"
	start_program
	# Wide enough for the whole message, which the status bar would cut.
	xdotool windowsize --sync "$win" 1000 360
	eval "$(xdotool getwindowgeometry --shell "$win")"
	wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
	expect start '[ "$rows" = 3 ]'

	said=$(/bin/sh -c 'qvx-no-such-command --flag' 2>&1 | head -n 1) || true
	key ctrl+r
	expect_status not-found "qvx-no-such-command --flag ended at once with status 127: $said"
	# A stray fi runs nothing on its own: Ctrl+R leaves the status bar as
	# the key that made the row current left it.
	key Down
	sleep 0.5
	shot on-fi
	before=$status_sum
	key ctrl+r
	sleep 1.5
	shot fi-not-run
	[ "$status_sum" = "$before" ] || fail "Ctrl+R on a stray fi changed the status bar"
	key Down
	key ctrl+r
	expect_status started "Started sleep 3"

	# However tall the window, the side buttons stay at the top, beside the
	# list's first rows.
	xdotool windowsize --sync "$win" 1000 700
	eval "$(xdotool getwindowgeometry --shell "$win")"
	wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
	expect tall '[ "$win_h" -ge 650 ] && [ -n "$btn_y" ] && [ "$(btn_y 0)" -lt $((list_y0 + 25)) ]'

	key ctrl+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	[ -s "$work/program.err" ] && fail "the program wrote on its standard error: $(cat "$work/program.err")"
	[ -s "$work/program.out" ] && fail "the program wrote on its standard output: $(cat "$work/program.out")"
	return 0
}

# 9. A row is a command: every row of a script of the shell's compound
# commands switched off and on, moved, deleted and edited, each saved, and
# each save a script that sh reads.
scenario_rows() {
	printf '%s\n' '#!/bin/sh' '# written by hand' 'xrdb -merge "$HOME/.Xresources"' \
		'if [ -x /usr/bin/picom ]; then' '    picom -b' 'else' '    : nothing' 'fi' \
		'for f in a b; do' '    echo "$f" >/dev/null' 'done' 'case "$LANG" in' \
		'    de*) echo Hallo ;;' '    *) echo Hello ;;' 'esac' 'start() {' '    "$@" &' '}' \
		'{ sleep 1; echo late >/dev/null; } &' 'echo one |' '    cat >/dev/null' \
		'exec true' >"$script"
	cp "$script" "$work/original"
	start_program
	expect start '[ "$rows" = 8 ] && [ "$status_ink" = 0 ]'
	shot rows
	n=0
	while [ $n -lt 8 ]; do
		click_at "$check_x" "$(row_y $n)"
		saved_parses "row $n off"
		click_at "$check_x" "$(row_y $n)"
		key ctrl+s
		wait_script "$work/original"
		if [ $n -gt 0 ]; then
			click_at "$text_x" "$(row_y $n)"
			click_at "$btn_x" "$(btn_y 4)"
			saved_parses "row $n up"
			key ctrl+z
		fi
		click_at "$text_x" "$(row_y $n)"
		key Delete
		saved_parses "row $n deleted"
		key ctrl+z
		key ctrl+s
		wait_script "$work/original"
		n=$((n + 1))
	done

	# A row of one line, and one of several, whose editor takes a new line.
	click_at "$text_x" "$(row_y 0)"
	key F2
	key End
	type_text ' -nocpp'
	key Return
	saved_parses "row 0 edited"
	click_at "$text_x" "$(row_y 1)"
	key F2
	key ctrl+End
	key Return
	type_text 'nm-applet'
	shot several-lines
	key ctrl+Return
	expect split '[ "$rows" = 9 ]'
	saved_parses "row 1 edited"
	grep -q '^nm-applet&$' "$script" || fail "the new command is no line of its own: $(cat "$script")"

	key ctrl+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
}

# saved_parses WHAT: saves, waits for the script to change, and has sh read it.
saved_parses() {
	cp "$script" "$work/before"
	key ctrl+s
	i=0
	while cmp -s "$work/before" "$script"; do
		i=$((i + 1))
		[ $i -gt 50 ] && fail "$1: the save changed nothing"
		sleep 0.1
	done
	sh -n "$script" 2>"$work/sh.err" || fail "$1: sh does not read the saved script: $(cat "$work/sh.err")"
}

# 10. Add Application: Ctrl+Shift+N opens the list of the installed
# applications (a system folder of XDG_DATA_DIRS and the user's own); a
# part of a name typed into its filter and Enter add the command, which
# Ctrl+S saves.
scenario_addapp() {
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' >"$script"
	share=$work/share
	mkdir -p "$share/applications" "$XDG_DATA_HOME/applications"
	printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=PulseAudio System Tray' \
		'GenericName=Volume Control' 'Exec=pasystray' 'Icon=multimedia-volume-control' \
		>"$share/applications/pasystray.desktop"
	printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Firefox Web Browser' \
		'Comment=Browse the World Wide Web' 'Exec=firefox %u' 'Icon=firefox' \
		>"$share/applications/firefox.desktop"
	printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=XTerm' \
		'Comment=Terminal emulator for the X Window System' 'Exec=xterm' \
		>"$share/applications/xterm.desktop"
	printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=Clock' 'Exec=xclock -digital' \
		>"$XDG_DATA_HOME/applications/clock.desktop"
	XDG_DATA_DIRS=$share
	export XDG_DATA_DIRS
	start_program
	expect start '[ "$rows" = 1 ]'

	key ctrl+shift+n
	find_window 'Add Application' 50 || fail "Ctrl+Shift+N opened no dialog"
	dialog=$found
	xdotool windowfocus --sync "$dialog"
	sleep 0.5
	shot dialog
	type_text 'volu'
	shot filtered
	key Return
	window_gone 'Add Application' || fail "Enter did not close the dialog"
	expect added '[ "$rows" = 2 ] && [ "$row_on" = "1 1" ]'

	# No window manager gives the keyboard back to the main window.
	xdotool windowfocus --sync "$win"
	key ctrl+s
	printf '%s\n' '#!/bin/sh' 'xsetroot -solid grey&' 'pasystray&' >"$work/expected"
	wait_script "$work/expected"
	key ctrl+q
	wait_exit 10
	[ "$rc" -eq 0 ] || fail "exit status $rc"
	check_script "$work/expected"
}

qt_env
start_x
case $scenario in
edit) scenario_edit ;;
close) scenario_close ;;
drop) scenario_drop ;;
marks) scenario_marks ;;
handwritten) scenario_handwritten ;;
add) scenario_add ;;
menu) scenario_menu ;;
runnow) scenario_runnow ;;
rows) scenario_rows ;;
addapp) scenario_addapp ;;
*) fail "unknown scenario" ;;
esac
[ -s "$work/program.err" ] && {
	echo "e2e $scenario: the program wrote to stderr:" >&2
	cat "$work/program.err" >&2
}
echo "e2e $scenario: ok ($nshot screenshots in $shots)"
