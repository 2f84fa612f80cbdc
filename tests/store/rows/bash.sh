#!/usr/bin/env bash
# bash's own forms
apps=(
    nm-applet
    "blueman-applet"
    # the volume
    pasystray
)
if [[ -n "$DISPLAY" &&
      -d "$HOME/.config" ]]; then
    for app in "${apps[@]}"; do
        command -v "$app" >/dev/null && "$app" &
    done
fi
function wait_for {
    local i=0
    while (( i < 10 )); do
        pgrep -x "$1" >/dev/null && return 0
        (( i++ ))
        sleep 0.5
    done
    return 1
}
wait_for nm-applet || notify-send "no network applet"
declare -A seen=([a]=1 [b]=2)
diff <(echo a) <(echo b) >/dev/null
[[ $TERM == xterm* ]] && printf '\e]0;session\a'
select choice in one two; do break; done </dev/null
case $1 in
    start|stop) : ;;
esac
exec openbox-session
