#!/usr/bin/env bash
# The real program under a real window manager (openbox), which gives every
# window a frame: each window's frame is centred on the screen (main screen,
# disc request) or over the main screen's frame (the dialogs), the dialogs are
# left out of the task bar and the main screen is not, and the main screen
# comes to the front over the modeless copy-finished message.
# Usage: test_x11_openbox.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
. "$(dirname "$0")/x11lib.sh"
command -v openbox >/dev/null || { echo "FAIL: openbox is not installed (scripts/deps.sh test)" >&2; exit 1; }
x11_start
WORK=$(mktemp -d)

# openbox with its stock configuration, not one of the user running the tests.
mkdir -p "$WORK/config"
XDG_CONFIG_HOME=$WORK/config openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
WM_PID=$!
trap 'kill "$WM_PID" 2>/dev/null; x11_stop' EXIT
for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start: $(cat "$WORK/openbox.log")"
read -r SCREEN_W SCREEN_H < <(xwininfo -root | awk '/Width:/{w=$2}/Height:/{h=$2}END{print w, h}')

make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS

# Prints "x y width height" of a window's frame: its client area widened by
# the frame extents the window manager reports.
frame_of() {
    local id=$1 x y w h left right top bottom
    read -r x y w h < <(xwininfo -id "$id" |
        awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}/Width:/{w=$2}/Height:/{h=$2}END{print x, y, w, h}')
    read -r left right top bottom < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    [ -n "${bottom:-}" ] || fail "window $id has no frame extents"
    echo $((x - left)) $((y - top)) $((w + left + right)) $((h + top + bottom))
}

# Fails unless the frame of window $2 is centred, within 1 px, in the
# rectangle "x y width height" $3; $1 names the window.
expect_centred() {
    local what=$1 id=$2 fx fy fw fh ax ay aw ah
    read -r fx fy fw fh < <(frame_of "$id")
    read -r ax ay aw ah <<<"$3"
    # 2 * (frame's left - centred left) = 2 * fx + fw - (2 * ax + aw)
    local dx=$((2 * fx + fw - 2 * ax - aw)) dy=$((2 * fy + fh - 2 * ay - ah))
    [ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] ||
        fail "$what: frame ${fw}x${fh} at $fx,$fy is not centred in ${aw}x${ah} at $ax,$ay"
}

skips_taskbar() {
    xprop -id "$1" _NET_WM_STATE | grep -q '_NET_WM_STATE_SKIP_TASKBAR'
}

# Fails unless window $2 has the dialog window type (a tool window, say,
# would be left out of the task bar too, but is another kind of window).
expect_dialog_type() {
    local type
    type=$(xprop -id "$2" _NET_WM_WINDOW_TYPE | sed -n 's/.*= //p')
    [ "${type%%,*}" = _NET_WM_WINDOW_TYPE_DIALOG ] || fail "$1 has the window type $type"
}

# A dialog: centred over the main screen's frame, not in the task bar.
expect_dialog() {
    local what=$1 id=$2
    expect_centred "$what" "$id" "$(frame_of "$main")"
    skips_taskbar "$id" || fail "$what is listed in the task bar: $(xprop -id "$id" _NET_WM_STATE)"
    expect_dialog_type "$what" "$id"
}

# 1. No disc: the disc request, centred on the screen, not in the task bar.
QUORVIA_DRIVES="C=$WORK/C;D=$WORK/C" "$WORK/C/QUORVIA/quorvia" &
APP_PID=$!
info=$(wait_window "Quorvia Information" 254 138) || fail "no disc request"
expect_centred "the disc request" "$info" "0 0 $SCREEN_W $SCREEN_H"
skips_taskbar "$info" || fail "the disc request is listed in the task bar"
expect_dialog_type "the disc request" "$info"
click_in "$info" 126 115
[ "$(wait_exit)" = 0 ] || fail "OK on the disc request did not end the program"
echo "PASS: the disc request is centred on the screen, frame included, and not in the task bar"

# 2. The main screen: centred on the screen, in the task bar.
start_menu
expect_centred "the main screen" "$main" "0 0 $SCREEN_W $SCREEN_H"
skips_taskbar "$main" && fail "the main screen is left out of the task bar"
echo "PASS: the main screen is centred on the screen, frame included, and in the task bar"

# The dialogs are centred over the main screen where the user put it.
xdotool windowmove "$main" 40 30
sleep 0.3

# Run with nothing selected: the information dialog.
click_in "$main" 70 141
info=$(wait_window "Quorvia Information" 254 138) || fail "no selection message"
expect_dialog "the selection message" "$info"
click_in "$info" 126 115
wait_no_window_named "Quorvia Information" || fail "OK did not close the selection message"

# A hard-disk game: the notice.
notice=$(run_first_board_game) || fail "no hard-disk notice"
expect_dialog "the hard-disk notice" "$notice"
click_in "$notice" 295 191
for _ in $(seq 100); do has_window 430 240 || break; sleep 0.05; done
has_window 430 240 && fail "Cancel did not close the notice"

# Copy: the chooser, then the copy-finished message.
click_in "$main" 70 209
chooser=$(wait_window "Save 'Mahjong Temple' Game To Where ?" 265 225) || fail "no destination chooser"
expect_dialog "the destination chooser" "$chooser"
# A state written over from outside, as a window manager may rewrite it,
# gets the task bar state back.
xprop -id "$chooser" -f _NET_WM_STATE 32a -set _NET_WM_STATE _NET_WM_STATE_MODAL
for _ in $(seq 40); do skips_taskbar "$chooser" && break; sleep 0.05; done
skips_taskbar "$chooser" || fail "the chooser lost its task bar state: $(xprop -id "$chooser" _NET_WM_STATE)"
click_in "$chooser" 218 33
done_msg=$(wait_window "Quorvia Information" 254 138) || fail "no message after the copy"
expect_dialog "the copy-finished message" "$done_msg"
echo "PASS: the message, the notice and the chooser are centred over the main screen and not in the task bar"

# A click on the main screen brings it to the front over the modeless message.
# Prints which of the main screen and the message the window manager stacks
# higher.
higher_of_main_and_message() {
    local w above=
    for w in $(xprop -root _NET_CLIENT_LIST_STACKING | sed -n 's/.*# //p' | tr -d ,); do
        [ $((w)) = $((main)) ] && above=main
        [ $((w)) = $((done_msg)) ] && above=message
    done
    echo "$above"
}
[ "$(higher_of_main_and_message)" = message ] || fail "the copy-finished message did not come up over the main screen"
click_in "$main" 600 460
sleep 0.5
[ "$(higher_of_main_and_message)" = main ] || fail "the main screen stays behind the copy-finished message"
echo "PASS: the main screen comes to the front over the copy-finished message"

# Exit: the exit dialog, centred over the main screen; its Exit ends the program.
click_in "$main" 70 322
exitdlg=$(wait_window "Quorvia" 430 240) || fail "no exit dialog"
expect_dialog "the exit dialog" "$exitdlg"
click_in "$exitdlg" 295 191
status=$(wait_exit)
[ "$status" = 0 ] || fail "Exit ended the program with status $status"
echo "PASS: the exit dialog is centred over the main screen and not in the task bar"
echo "5 passed, 0 failed"
