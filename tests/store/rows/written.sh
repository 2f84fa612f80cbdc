#!/bin/sh
xscreensaver -no-splash&
nm-applet&
#[INACTIVE]#picom --backend glx --vsync&
volumeicon&
#[INACTIVE]#conky & # the panel
tint2 & # the panel
#[INACTIVE]#if true; then
#[INACTIVE]#  redshift -O 4500
#[INACTIVE]#fi&
