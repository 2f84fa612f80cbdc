#!/bin/sh
# SPDX-License-Identifier: BSD-2-Clause
# The one way the tests and scripts start their private X server:
#   sh tests/xvfb.sh SCREEN FD [XVFB-ARGUMENTS...]
# runs Xvfb with one screen of geometry SCREEN ("1024x768x24"), listening on
# no TCP port.  -displayfd makes it pick a free display and write its number
# to the descriptor FD; -noreset keeps it from resetting whenever its last
# client leaves, when a program started in that moment could not connect.
# It replaces this shell, so the caller's pid is the server's.
screen=${1:?screen geometry}
fd=${2:?descriptor for the display number}
shift 2
exec Xvfb -displayfd "$fd" -screen 0 "$screen" -nolisten tcp -noreset "$@"
