#!/usr/bin/env bash
# The real program under a real X display: start-up with and without the disc,
# and leaving through the exit dialog after a close request from outside.
set -u
QUORVIA=$1
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
mkdir -p "$WORK/disc" "$WORK/empty"
touch "$WORK/disc/PLAXOID.QAR"

# 1. The disc is found: the main screen, 640 x 480, centred on the screen.
QUORVIA_DRIVES="D=$WORK/empty;E=$WORK/disc" "$QUORVIA" &
APP_PID=$!
main=$(wait_window "Quorvia" 640 480) || fail "no main screen"
[ "$(window_pos "$main")" = "192 144" ] || fail "main screen at $(window_pos "$main"), not centred"

# A close request from outside brings the exit dialog centred over it; its
# Exit ends the program with status 0.
xdotool windowclose "$main"
exitdlg=$(wait_window "Quorvia" 430 240) || fail "no exit dialog after the close request"
wait_window "Quorvia" 640 480 >/dev/null || fail "the main screen is not shown behind the exit dialog"
[ "$(window_pos "$exitdlg")" = "297 264" ] || fail "exit dialog at $(window_pos "$exitdlg")"
click_in "$exitdlg" 295 191
status=$(wait_exit)
[ "$status" = 0 ] || fail "Exit ended the program with status $status"
echo "PASS: main screen centred, close request shows the exit dialog, Exit ends with 0"

# 2. No disc: the request, centred on the screen; OK ends the program.
QUORVIA_DRIVES="D=$WORK/empty" "$QUORVIA" &
APP_PID=$!
info=$(wait_window "Quorvia Information" 254 138) || fail "no disc request"
[ "$(window_pos "$info")" = "385 315" ] || fail "disc request at $(window_pos "$info"), not centred"
click_in "$info" 126 115
status=$(wait_exit)
[ "$status" = 0 ] || fail "OK ended the program with status $status"
echo "PASS: disc request centred, OK ends the program"
echo "2 passed, 0 failed"
