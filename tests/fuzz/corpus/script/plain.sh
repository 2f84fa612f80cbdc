#!/bin/sh
xsetroot -solid grey&
#[INACTIVE]#xterm -e top&
