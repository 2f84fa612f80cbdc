#!/bin/bash
# ~/.xinitrc style, written by hand
xrdb -merge ~/.Xresources
export PATH="$HOME/bin:$PATH"

if [ -x /usr/bin/picom ]; then
    picom -b &
else
    xcompmgr &
fi
xautolock -time 10 \
    -locker slock &
cat > /tmp/notes <<EOF
remember & forget
# not a comment
EOF
echo "two
lines" &
sleep 1 & # a clock
#[INACTIVE]#xterm&
xterm &&
exec i3
