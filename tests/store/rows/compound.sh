#!/bin/sh
# A session start written by hand, with the shell's compound commands.
xrdb -merge "$HOME/.Xresources"
export QT_QPA_PLATFORMTHEME=qt5ct

# the compositor, where there is one
if [ -x /usr/bin/picom ]; then
    # in the background
    picom -b
elif command -v compton >/dev/null 2>&1; then
    compton &
else
    : no compositor
fi

for dir in "$HOME/.local/bin" /usr/local/bin; do
    for f in "$dir"/session-*; do
        [ -x "$f" ] && "$f" &
    done
done

while ! xset q >/dev/null 2>&1
do
    sleep 1
done

case "$(uname -s)" in
    Linux)
        setxkbmap -layout us ;;
    (FreeBSD|OpenBSD)
        setxkbmap -layout us
        ;;
    *) : ;;
esac

start() {
    "$@" >/dev/null 2>&1 &
}

stop ()
{
    pkill -x "$1" || true
}

{ sleep 2; xsetroot -solid '#202020'; } &
(cd /tmp && touch .session-started)

if [ -r "$HOME/.motd" ]; then
    cat <<EOF >/dev/null
welcome, $USER
fi
EOF
fi

dunst -config "$HOME/.config/dunst/dunstrc" |
    logger -t dunst &
pgrep -x nm-applet >/dev/null ||
    # only once
    nm-applet &
xautolock -time 10 \
    -locker slock &
start volumeicon
msg=$(case "$LANG" in de*) echo Hallo ;; *) echo Hello ;; esac)
exec i3
