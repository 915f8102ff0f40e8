#!/usr/bin/env bash
# The real program on a screen scaled to 200 % (QT_SCALE_FACTOR=2) under a
# 2048 x 1536 X display: the main screen is 1280 x 960 device pixels, and a
# lit button and a marked category show exactly the pictures drawn for 2x,
# not the 96 dpi ones enlarged; the exit dialog is 860 x 480 and its lit
# button is its 2x picture too.
# Usage: test_x11_scaled.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
ART=$BUILD/src/assets/art
. "$(dirname "$0")/x11lib.sh"

# x11_start with a screen large enough for the doubled main screen.
x11_start_large() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 2048x1536x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    export DISPLAY=":$(head -1 "$fdfile")"
    rm -f "$fdfile"
    export QT_QPA_PLATFORM=xcb
    trap x11_stop EXIT
}

# Exactly equal pixels: the program draws the generator's pixels as they are.
pixels_not_equal() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

x11_start_large
WORK=$(mktemp -d)
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE		0
ROWS
export QT_SCALE_FACTOR=2
export QUORVIA_DEMO_RECORD=$WORK/record.txt QUORVIA_DEMO_EXIT_AFTER_MS=800
QUORVIA_DRIVES="C=$WORK/C;D=$WORK/D" "$WORK/C/QUORVIA/quorvia" &
APP_PID=$!
main=$(wait_window "Quorvia" 1280 960) || fail "no main screen of 1280 x 960"
echo "PASS: the main screen is 1280 x 960 at 200 %"

# The 1x picture enlarged, to tell the two apart.
convert "$ART/frmGames/imgRunLight.png" -filter point -resize 200% "$WORK/enlarged.png"
grab "$main" 60 246 172 72 "$WORK/rest.png"
[ "$(pixels_not_equal "$WORK/rest.png" "$ART/frmGames/imgRunLight@2x.png")" -gt 200 ] ||
    fail "Run is lit before the pointer is over it"
move_in "$main" 140 282   # over Run: (70, 141) of the layout
grab "$main" 60 246 172 72 "$WORK/lit.png"
differing=$(pixels_not_equal "$WORK/lit.png" "$ART/frmGames/imgRunLight@2x.png")
[ "$differing" -eq 0 ] || fail "the lit Run is not its 2x Light picture ($differing pixels differ)"
[ "$(pixels_not_equal "$WORK/lit.png" "$WORK/enlarged.png")" -gt 200 ] ||
    fail "the lit Run looks like its 96 dpi picture enlarged"
echo "PASS: the lit Run shows exactly its 2x Light picture, not the 96 dpi one enlarged"

# A category marked: its 2x Indent picture.
click_in "$main" 150 790   # arcade: (75, 395)
sleep 0.3
grab "$main" 52 750 200 78 "$WORK/mark.png"
differing=$(pixels_not_equal "$WORK/mark.png" "$ART/frmGames/imgArcadeIndent@2x.png")
[ "$differing" -eq 0 ] || fail "the marked arcade button is not its 2x Indent picture ($differing pixels differ)"
echo "PASS: the marked category shows its 2x Indent picture"

# The exit dialog at 200 %, its Exit lit by its 2x picture.
click_in "$main" 140 644   # Exit: (70, 322)
dialog=$(wait_window "$UNTITLED" 860 480) || fail "no exit dialog of 860 x 480"
move_in "$dialog" 590 382  # over Exit: (295, 191)
grab "$dialog" 422 350 336 70 "$WORK/exit.png"
differing=$(pixels_not_equal "$WORK/exit.png" "$ART/frmExit/imgExitLight@2x.png")
[ "$differing" -eq 0 ] || fail "the lit Exit of the exit dialog is not its 2x picture ($differing pixels differ)"
echo "PASS: the exit dialog is 860 x 480 and its lit button is its 2x picture"
xdotool click 1
wait_exit_status
[ "$EXIT_STATUS" = 0 ] || fail "Exit ended the program with status $EXIT_STATUS"
echo "PASS: Exit ends with 0"
