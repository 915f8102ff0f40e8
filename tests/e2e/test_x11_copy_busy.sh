#!/usr/bin/env bash
# While a copy runs inside a click, the program's windows repaint what another
# window uncovered and take no input: the hard-disk notice's copy under a
# window mapped over it and closed again, and the chooser's copy with a click
# on a category meanwhile. Each file of a copy is made to take 100 ms.
# Usage: test_x11_copy_busy.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
ART=$BUILD/src/assets/art
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-z	0
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
for i in $(seq 40); do
    echo "$i" >"$WORK/D/BOARD/MAHJONG/F$i.DAT"
    echo "$i" >"$WORK/D/ARCADE/ZAPPER/F$i.DAT"
done
find "$WORK/D" -type f -exec chmod a-w {} +
export QUORVIA_TEST_SLOW_COPY=100
start_menu

# The notice's copy, with a window mapped over the notice and closed again.
notice=$(run_first_board_game) || fail "no hard-disk notice"
read -r nx ny < <(window_pos "$notice")
click_in "$notice" 129 191
sleep 0.8
xmessage -geometry "300x200+$((nx + 40))+$((ny + 20))" "covering the notice" &
cover=$!
sleep 0.5
kill "$cover"
wait "$cover" 2>/dev/null
sleep 0.3
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended during the copy"
[ ! -s "$WORK/record.txt" ] ||
    fail "the copy ended before the test could look at it; make it slower"
grab "$notice" 60 30 240 120 "$WORK/uncovered.png"
convert "$ART/frmHDD/background.png" -crop 240x120+60+30 +repage "$WORK/expected.png"
differing=$(pixels_differing "$WORK/uncovered.png" "$WORK/expected.png")
[ "$differing" -lt 100 ] || fail "the notice was not repainted where it was uncovered ($differing pixels differ)"
grab "$notice" 48 177 12 29 "$WORK/fill.png"
convert "$ART/frmHDD/imgCopyFill.png" -crop 12x29+0+0 +repage "$WORK/expected-fill.png"
differing=$(pixels_differing "$WORK/fill.png" "$WORK/expected-fill.png")
[ "$differing" -lt 20 ] || fail "the progress bar's fill is not shown ($differing pixels differ)"
echo "PASS: the notice repaints its background and its bar when uncovered during the copy"
expect_record 1 "$(printf 'MAHJONG.EXE\t/tiles\t%s' "$(real_dir "$WORK/C")/QUORVIA/BOARD/MAHJONG")" "OK"
wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"

# The chooser's copy: a click on a category meanwhile has no effect, during
# the copy or after it.
click_in "$main" 75 395
sleep 0.3
click_in "$main" 220 96
sleep 0.3
# The top of the list, above where the copy-finished message comes.
grab "$main" 167 90 195 70 "$WORK/list-before.png"
click_in "$main" 71 209
chooser=$(wait_window "Save 'Zapper' Game To Where ?" 265 225) || fail "no chooser"
click_in "$chooser" 218 33
sleep 0.8
has_window 254 138 && fail "the copy ended before the test could click; make it slower"
click_in "$main" 178 395
message=$(wait_window "Quorvia Information" 254 138) || fail "no copy-finished message"
sleep 0.5
grab "$main" 167 90 195 70 "$WORK/list-after.png"
differing=$(pixels_differing "$WORK/list-before.png" "$WORK/list-after.png")
[ "$differing" -eq 0 ] || fail "a click during the copy listed a category ($differing pixels differ)"
grab "$main" 128 375 100 39 "$WORK/board.png"
[ "$(pixels_differing "$WORK/board.png" "$ART/frmGames/imgBoardIndent.png")" -gt 300 ] ||
    fail "a click during the copy marked the board category"
[ -f "$(real_dir "$WORK/C")/ARCADE/ZAPPER/F40.DAT" ] || fail "the chooser's copy is not complete"
echo "PASS: a click on a category during the chooser's copy has no effect"
click_in "$message" 126 115
exit_through_dialog "$main" "after the copies"
echo "2 passed, 0 failed"
