#!/usr/bin/env bash
# A session with the real program under a real X display, driven like a user
# with pointer moves and clicks: hover a category, list it, select a game, run
# it from the disc, run a hard-disk game through the notice (copy, then start
# from the copy; the next Run starts it at once), and leave through the exit
# dialog.
# Usage: test_x11_session.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
ART=$BUILD/src/assets/art/frmGames
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
ARCADE	Second Game	SECOND	SECOND.EXE		0
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
mkdir -p "$WORK/D/BOARD/MAHJONG/DATA"
echo tiles >"$WORK/D/BOARD/MAHJONG/DATA/TILES.DAT"
chmod a-w "$WORK/D/BOARD/MAHJONG/DATA/TILES.DAT"
DISC=$(real_dir "$WORK/D")
HDD=$(real_dir "$WORK/C")

start_menu

# Hovering the arcade button shows its highlight picture and its hint.
grab "$main" 33 381 93 33 "$WORK/before.png"
[ "$(pixels_differing "$WORK/before.png" "$ART/imgArcadeLight.png")" -gt 300 ] ||
    fail "the arcade highlight shows before the pointer is over it"
grab "$main" 349 22 232 28 "$WORK/status.png"
[ "$(yellow_share "$WORK/status.png")" -eq 0 ] || fail "a hint shows before any hover"
move_in "$main" 75 395
grab "$main" 33 381 93 33 "$WORK/hover.png"
differing=$(pixels_differing "$WORK/hover.png" "$ART/imgArcadeLight.png")
[ "$differing" -lt 60 ] || fail "the arcade highlight is not shown on hover ($differing pixels differ)"
grab "$main" 349 22 232 28 "$WORK/status.png"
[ "$(yellow_share "$WORK/status.png")" -gt 5 ] || fail "no hint in the status line on hover"
echo "PASS: hover shows the highlight and the hint"

# The sound player comes from the program folder, loaded once the menu runs.
for _ in $(seq 40); do
    grep -q "/QUORVIA/libquorvia_sound.so" "/proc/$APP_PID/maps" && break
    sleep 0.05
done
grep -q "/QUORVIA/libquorvia_sound.so" "/proc/$APP_PID/maps" ||
    fail "the sound player was not loaded from the program folder"
echo "PASS: the sound player is loaded from the program folder"

# A click lists the category and marks it.
grab "$main" 167 90 195 242 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -eq 0 ] || fail "the list is not empty at start"
click_in "$main" 75 395
sleep 0.3
grab "$main" 167 90 195 242 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -gt 3 ] || fail "no entries in the list after the click"
grab "$main" 26 375 100 39 "$WORK/mark.png"
differing=$(pixels_differing "$WORK/mark.png" "$ART/imgArcadeIndent.png")
[ "$differing" -lt 80 ] || fail "the arcade category is not marked ($differing pixels differ)"
echo "PASS: the click lists the category and marks it"

# Selecting the first game shows its description; Run starts it from the
# disc with its parameters, in its folder.
grab "$main" 372 90 196 242 "$WORK/desc.png"
[ "$(green_share "$WORK/desc.png")" -eq 0 ] || fail "a description shows before a selection"
click_in "$main" 220 96
sleep 0.3
grab "$main" 372 90 196 242 "$WORK/desc.png"
[ "$(green_share "$WORK/desc.png")" -gt 3 ] || fail "no description after the selection"
click_in "$main" 70 141
expect_record 1 "$(printf 'ZAP.EXE\t-w -lives 5\t%s' "$DISC/ARCADE/ZAPPER")" "Run"
wait_no_window_named ZAP.EXE || fail "the demo game did not close"
echo "PASS: Run starts the selected game from the disc with its parameters in its folder"

# A hard-disk game: the notice; OK copies the game below the program folder
# and starts it from the copy.
notice=$(run_first_board_game) || fail "no hard-disk notice"
[ "$(window_pos "$notice")" = "297 264" ] || fail "the notice at $(window_pos "$notice"), not over the main screen"
click_in "$notice" 129 191
copy=$HDD/QUORVIA/BOARD/MAHJONG
expected=$(printf 'MAHJONG.EXE\t/tiles\t%s' "$copy")
expect_record 2 "$expected" "OK"
for f in QAR.TXT MAHJONG.EXE DATA/TILES.DAT; do
    cmp -s "$WORK/D/BOARD/MAHJONG/$f" "$copy/$f" || fail "$f is not in the copy"
done
[ -w "$copy/QAR.TXT" ] && [ "$(stat -c %A "$copy/MAHJONG.EXE" | cut -c3)" = w ] ||
    fail "the copy's top-level files are still read-only"
[ "$(stat -c %A "$copy/DATA/TILES.DAT" | cut -c3)" = - ] || fail "a file in a sub-folder of the copy lost its read-only mark"
wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
echo "PASS: the hard-disk notice copies the game and starts it from the copy"

# The next Run starts the copy at once, without the notice.
click_in "$main" 70 141
expect_record 3 "$expected" "the second Run"
sleep 0.3
has_window 430 240 && fail "the notice came up again for a game with a copy"
wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
echo "PASS: the next Run starts the copy without the notice"

# Exit through the exit dialog ends the program with status 0.
exit_through_dialog "$main" "at the end of the session"
echo "PASS: Exit through the exit dialog ends the program with status 0"
echo "6 passed, 0 failed"
