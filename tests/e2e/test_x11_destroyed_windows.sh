#!/usr/bin/env bash
# Dialogs whose native window is destroyed from outside (xdotool windowclose,
# no window manager) close as by their close command: a message lets its
# command end, the hard-disk notice acts as Cancel (nothing copied, nothing
# started) and the main screen takes clicks again; a destroyed exit dialog
# lets the main screen close and the program end.
# Usage: test_x11_destroyed_windows.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS

start_menu

# Waits until the program shows no window of the given size.
wait_gone() {
    for _ in $(seq 100); do
        has_window "$1" "$2" || return 0
        sleep 0.05
    done
    return 1
}

# Run with nothing selected: the message; destroying it ends the command.
click_in "$main" 70 141
info=$(wait_window "Quorvia Information" 254 138) || fail "no message for Run without a game"
xdotool windowclose "$info"
wait_gone 254 138 || fail "the message is still shown after its window was destroyed"
# The window system no longer shows it either way; that the command ended
# shows in the main screen taking the next click.
click_in "$main" 70 141
info=$(wait_window "Quorvia Information" 254 138) || fail "Run does nothing after the destroyed message"
click_in "$info" 126 115
wait_gone 254 138 || fail "OK did not close the second message"
echo "PASS: a destroyed message closes and its command ends"

# The hard-disk notice, destroyed: nothing copied or started, and the main
# screen answers the next click with the notice again.
notice=$(run_first_board_game) || fail "no hard-disk notice"
xdotool windowclose "$notice"
wait_gone 430 240 || fail "the notice is still shown after its window was destroyed"
sleep 0.3
[ -e "$WORK/C/QUORVIA/BOARD" ] && fail "the destroyed notice created $WORK/C/QUORVIA/BOARD"
[ -e "$WORK/record.txt" ] && fail "the destroyed notice started the game"
click_in "$main" 70 141
notice=$(wait_window "Quorvia" 430 240) || fail "Run does nothing after the destroyed notice"
click_in "$notice" 295 191
wait_gone 430 240 || fail "Cancel did not close the second notice"
[ -e "$WORK/C/QUORVIA/BOARD" ] && fail "Cancel created $WORK/C/QUORVIA/BOARD"
echo "PASS: a destroyed notice acts as Cancel and the Run command ends"

# The exit dialog, destroyed: the main screen closes and the program ends.
click_in "$main" 70 322
exitdlg=$(wait_window "Quorvia" 430 240) || fail "no exit dialog"
xdotool windowclose "$exitdlg"
# Waited for here rather than in a subshell, which cannot always collect the
# status of a program that ends while it polls.
for _ in $(seq 200); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$APP_PID" 2>/dev/null && fail "the program still runs after its exit dialog was destroyed"
wait "$APP_PID"
status=$?
APP_PID=
[ "$status" = 0 ] || fail "after the exit dialog was destroyed the program ended with status $status"
echo "PASS: a destroyed exit dialog lets the program end"
echo "3 passed, 0 failed"
