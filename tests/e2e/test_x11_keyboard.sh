#!/usr/bin/env bash
# The real program under a real X display and a window manager (openbox,
# which hands the keyboard focus to each new window and back, as a desktop
# does), worked with the keyboard alone (xdotool keys; the pointer is only
# moved to show that it changes nothing): Tab to a category, its highlight
# and the dotted focus rectangle, Enter lists it; Shift+Tab back to the list
# and a game chosen with the arrow keys; Run held down starts the game once,
# Space too; Help's refusal box; the hard-disk notice cancelled by Escape and
# by its Cancel, then OK; the chooser cancelled by Escape and by its Cancel,
# then Save, and the message's OK; View's file browser; the exit dialog,
# where Escape does nothing, left by Exit, and in a second start by Uninstall.
# Usage: test_x11_keyboard.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
ART=$BUILD/src/assets/art/frmGames
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
start_openbox
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Quiet Game	QUIET	QUIET		0
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
# A game without a window of its own, so that the keys stay with the menu
# while one is held: a script (not a Windows program, which would go to
# Wine) that only notes each start.
chmod u+w "$WORK/D/ARCADE/QUIET/QUIET"
printf '#!/bin/sh\necho started >>"%s"\n' "$WORK/quiet.txt" >"$WORK/D/ARCADE/QUIET/QUIET"
chmod a-w "$WORK/D/ARCADE/QUIET/QUIET"
HDD=$(real_dir "$WORK/C")
passed=0
pass() {
    echo "PASS: $*"
    passed=$((passed + 1))
}

# Keys typed into whatever window has the keyboard focus.
keys() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}
# A key held down for a while (the X server repeats it), then let go.
hold() {
    xdotool keydown "$1"
    sleep 1.5
    xdotool keyup "$1"
    sleep 0.5
}
# Waits until the program shows no window of the given size.
wait_gone_size() {
    for _ in $(seq 100); do
        has_window "$1" "$2" || return 0
        sleep 0.05
    done
    return 1
}
starts() { [ -f "$WORK/quiet.txt" ] && wc -l <"$WORK/quiet.txt" || echo 0; }
# Whether a picture of the main screen shows at its place, its edge aside
# (the focus rectangle may lie on it).
shows_picture() {
    local name=$1 x=$2 y=$3 w=$4 h=$5
    grab "$main" $((x + 2)) $((y + 2)) $((w - 4)) $((h - 4)) "$WORK/shown.png"
    convert "$ART/$name.png" -crop "$((w - 4))x$((h - 4))+2+2" +repage "$WORK/expected.png"
    [ "$(pixels_differing "$WORK/shown.png" "$WORK/expected.png")" -lt 20 ]
}

start_menu
xset q | grep -q "auto repeat:  on" || fail "the X server does not repeat held keys"
move_in "$main" 600 20

# Seven Tabs from the list: the pane, the five commands, then arcade, lit
# with its hint, and its hot area's edge dotted, whatever the pointer does.
grab "$main" 25 373 100 1 "$WORK/edge-plain.png"
keys Tab Tab Tab Tab Tab Tab Tab
shows_picture imgArcadeLight 33 381 93 33 || fail "Tab to arcade does not light it"
grab "$main" 349 22 232 28 "$WORK/status.png"
[ "$(yellow_share "$WORK/status.png")" -gt 5 ] || fail "no hint in the status line for the focused arcade"
grab "$main" 25 373 100 1 "$WORK/edge-focused.png"
dots=$(pixels_differing "$WORK/edge-plain.png" "$WORK/edge-focused.png")
[ "$dots" -ge 40 ] && [ "$dots" -le 60 ] || fail "no dotted focus rectangle on arcade ($dots of 100 edge pixels changed)"
move_in "$main" 610 30
move_in "$main" 70 141
grab "$main" 25 373 100 1 "$WORK/edge-moved.png"
[ "$(pixels_differing "$WORK/edge-focused.png" "$WORK/edge-moved.png")" -eq 0 ] ||
    fail "pointer movement took the focus rectangle away"
move_in "$main" 600 20
pass "Tab reaches arcade: its highlight, its hint and a dotted focus rectangle that the pointer leaves alone"

keys Return
grab "$main" 167 90 195 242 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -gt 0 ] || fail "Enter on arcade did not list it"
shows_picture imgArcadeIndent 26 375 100 39 || fail "Enter on arcade did not mark it"
pass "Enter on arcade lists and marks it"

# Shift+Tab seven times goes back to the list; Down chooses its first game.
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
keys Down
grab "$main" 372 90 196 242 "$WORK/desc.png"
[ "$(green_share "$WORK/desc.png")" -gt 3 ] || fail "Shift+Tab and Down did not choose the first game"
pass "Shift+Tab back to the list, where Down chooses a game"

# Run (Tab three times) held down with Enter, then with Space: one start each.
keys Tab Tab Tab
shows_picture imgRunLight 30 123 86 36 || fail "Tab to Run does not light it"
hold Return
[ "$(starts)" = 1 ] || fail "Enter held on Run started the game $(starts) times"
hold space
[ "$(starts)" = 2 ] || fail "Space held on Run started the game $(starts) times in all"
pass "Enter or Space held down on Run starts the game once"

# Help, one Shift+Tab up: the shell's refusal box (no help file here),
# closed by Enter.
keys shift+Tab Return
wait_window_named "Program Execution Failed" >/dev/null || fail "Enter on Help gave no refusal box"
keys Return
wait_no_window_named "Program Execution Failed" || fail "Enter did not close the refusal box"
pass "Enter on Help asks for the help file"

# The board category (arrow keys in the category block), then Mahjong, a
# hard-disk game; Run brings up the notice, where Escape is Cancel, and so
# is Enter on Cancel.
keys Tab Tab Tab Tab Tab Right Return
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Down
keys Tab Tab Tab Return
wait_window "$UNTITLED" 430 240 >/dev/null || fail "no hard-disk notice"
keys Tab Escape
wait_gone_size 430 240 || fail "Escape did not close the notice"
[ ! -e "$HDD/QUORVIA/BOARD/MAHJONG" ] || fail "Escape in the notice copied the game"
keys Return
wait_window "$UNTITLED" 430 240 >/dev/null || fail "no hard-disk notice the second time"
keys Tab Tab Return
wait_gone_size 430 240 || fail "Enter on Cancel did not close the notice"
[ ! -e "$HDD/QUORVIA/BOARD/MAHJONG" ] || fail "Cancel in the notice copied the game"
pass "Escape in the hard-disk notice is Cancel, and so is Enter on its Cancel"

keys Return
wait_window "$UNTITLED" 430 240 >/dev/null || fail "no hard-disk notice the third time"
keys Tab space
expect_record 1 "$(printf 'MAHJONG.EXE\t/tiles\t%s' "$HDD/QUORVIA/BOARD/MAHJONG")" "OK in the notice by Space"
wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
pass "Space on the notice's OK copies the game and starts it"

# Copy to Hard Drive, one Tab down: Escape cancels the chooser, so does Space
# on its Cancel; Tab to Save and Enter copies; the message's OK by Tab and
# Enter.
keys Tab Return
wait_window "Save 'Mahjong Temple' Game To Where ?" 265 225 >/dev/null || fail "no chooser"
keys Escape
wait_gone_size 265 225 || fail "Escape did not close the chooser"
[ ! -e "$HDD/BOARD" ] || fail "Escape in the chooser copied the game"
keys Return
wait_window "Save 'Mahjong Temple' Game To Where ?" 265 225 >/dev/null || fail "no chooser the second time"
keys Tab Tab space
wait_gone_size 265 225 || fail "Space on Cancel did not close the chooser"
[ ! -e "$HDD/BOARD" ] || fail "Cancel in the chooser copied the game"
keys Return
wait_window "Save 'Mahjong Temple' Game To Where ?" 265 225 >/dev/null || fail "no chooser the third time"
keys Tab Return
wait_window "Quorvia Information" 254 138 >/dev/null || fail "no message after the copy"
cmp -s "$WORK/D/BOARD/MAHJONG/QAR.TXT" "$HDD/BOARD/MAHJONG/QAR.TXT" || fail "Save by Enter copied nothing"
keys Tab Return
wait_gone_size 254 138 || fail "Tab and Enter did not close the message"
pass "the chooser: Escape and Cancel by Space copy nothing, Save by Enter copies, and the message's OK by Enter"

# View, one Tab down: the file browser, closed with Escape.
keys Tab Return
wait_window_named "'Mahjong Temple' folder contents" >/dev/null || fail "Enter on View opened no file browser"
keys Escape
wait_no_window_named "'Mahjong Temple' folder contents" || fail "Escape did not close the file browser"
pass "Enter on View opens the file browser"

# Exit, one Tab down, by Space: the exit dialog, where Escape does nothing;
# Tab twice and Enter is its Exit.
keys Tab space
wait_window "$UNTITLED" 430 240 >/dev/null || fail "Space on Exit showed no exit dialog"
keys Escape
sleep 0.5
has_window 430 240 || fail "Escape closed the exit dialog"
kill -0 "$APP_PID" 2>/dev/null || fail "Escape in the exit dialog ended the program"
keys Tab Tab Return
wait_exit_status
[ "$EXIT_STATUS" = 0 ] || fail "Exit by Enter ended the program with status $EXIT_STATUS"
pass "in the exit dialog Escape does nothing and Enter on Exit ends the program"

# A second start for Uninstall: Shift+Tab from the list goes round to Exit.
# The removal panel is a Windows program, which the shell gives to wine: a
# stand-in wine on the path notes what it was asked to start.
mkdir -p "$WORK/bin"
printf '#!/bin/sh\necho "$*" >>"%s"\n' "$WORK/panel.txt" >"$WORK/bin/wine"
chmod +x "$WORK/bin/wine"
PATH=$WORK/bin:$PATH start_menu
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab Return
wait_window "$UNTITLED" 430 240 >/dev/null || fail "Enter on Exit showed no exit dialog"
keys Tab Return
wait_exit_status
[ "$EXIT_STATUS" = 0 ] || fail "Uninstall by Enter ended the program with status $EXIT_STATUS"
for _ in $(seq 50); do  # the detached stand-in may write after the program ended
    [ -s "$WORK/panel.txt" ] && break
    sleep 0.1
done
[ "$(cat "$WORK/panel.txt" 2>/dev/null)" = "CONTROL.EXE APPWIZ.CPL" ] ||
    fail "Enter on Uninstall did not open the removal panel: $(cat "$WORK/panel.txt" 2>/dev/null)"
pass "Shift+Tab from the list reaches Exit; in the exit dialog Enter on Uninstall opens the removal panel and ends the program"
echo "$passed passed, 0 failed"
