#!/usr/bin/env bash
# The real program on screens scaled to 200 % and 150 % (QT_SCALE_FACTOR)
# under a 2048 x 1536 X display: the main screen is 640 x 480 times the
# scale in device pixels, and a lit button and a marked category show
# exactly the pictures drawn for that scale, not the 96 dpi ones enlarged
# (at 150 % the arcade button's pressed picture starts half a layout pixel
# above its control, on the device row at or before it), and the pointer over
# a button is the hand drawn for that scale with its hot spot on the finger
# tip; at 200 % the exit dialog is 860 x 480 and its lit button is its 2x
# picture too.
# Usage: test_x11_scaled.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
ART=$BUILD/src/assets/art
. "$(dirname "$0")/x11lib.sh"


# Exactly equal pixels: the program draws the generator's pixels as they are.
pixels_not_equal() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

XVFB_SCREEN=2048x1536x24 x11_start
WORK=$(mktemp -d)
# What the X server shows as the pointer (XFixes).
gcc -O2 "$(dirname "$0")/x11_cursor.c" -o "$WORK/x11_cursor" -lX11 -lXfixes || fail "building the cursor tool"
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE		0
ROWS
export QUORVIA_DEMO_RECORD=$WORK/record.txt QUORVIA_DEMO_EXIT_AFTER_MS=800

# One row per scale: the factor, the pictures' suffix, the main screen's
# size, then in device pixels: Run's Light picture (x y w h), a point over
# Run, a point over arcade, arcade's Indent picture (x y w h), all from the
# layout by the rule of src/assets/scales.h; the hand's size and hot spot.
while read -r factor suffix width height lx ly lw lh rx ry ax ay ix iy iw ih hand tip; do
    export QT_SCALE_FACTOR=$factor
    QUORVIA_DRIVES="C=$WORK/C;D=$WORK/D" "$WORK/C/QUORVIA/quorvia" &
    APP_PID=$!
    main=$(wait_window "Quorvia" "$width" "$height") || fail "no main screen of $width x $height at $factor"
    echo "PASS: the main screen is $width x $height at $factor"

    # The 1x picture enlarged, to tell the two apart.
    convert "$ART/frmGames/imgRunLight.png" -filter point -resize "${lw}x${lh}!" "$WORK/enlarged.png"
    grab "$main" "$lx" "$ly" "$lw" "$lh" "$WORK/rest.png"
    [ "$(pixels_not_equal "$WORK/rest.png" "$ART/frmGames/imgRunLight$suffix.png")" -gt 200 ] ||
        fail "Run is lit before the pointer is over it at $factor"
    move_in "$main" "$rx" "$ry"
    grab "$main" "$lx" "$ly" "$lw" "$lh" "$WORK/lit.png"
    differing=$(pixels_not_equal "$WORK/lit.png" "$ART/frmGames/imgRunLight$suffix.png")
    [ "$differing" -eq 0 ] || fail "the lit Run is not its $suffix Light picture ($differing pixels differ)"
    [ "$(pixels_not_equal "$WORK/lit.png" "$WORK/enlarged.png")" -gt 200 ] ||
        fail "the lit Run looks like its 96 dpi picture enlarged at $factor"
    echo "PASS: the lit Run shows exactly its $suffix Light picture, not the 96 dpi one enlarged"
    read -r cw ch hx hy colour < <("$WORK/x11_cursor")
    [ "$cw $ch $hx $hy $colour" = "$hand $hand $tip 0 ff000000" ] ||
        fail "over Run the pointer is ${cw}x$ch with its hot spot at $hx,$hy on $colour, not the ${hand}x$hand hand with its tip at $tip,0"
    echo "PASS: over Run the pointer is the ${hand}x$hand hand, its hot spot on the finger tip"

    click_in "$main" "$ax" "$ay"
    sleep 0.3
    grab "$main" "$ix" "$iy" "$iw" "$ih" "$WORK/mark.png"
    differing=$(pixels_not_equal "$WORK/mark.png" "$ART/frmGames/imgArcadeIndent$suffix.png")
    [ "$differing" -eq 0 ] || fail "the marked arcade button is not its $suffix Indent picture ($differing pixels differ)"
    echo "PASS: the marked category shows its $suffix Indent picture"
    [ "$factor" = 2 ] && break
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null
done <<'SCALES'
1.5 @1.5x 960 720 45 184 129 55 105 211 112 592 39 562 150 59 48 9
2 @2x 1280 960 60 246 172 72 140 282 150 790 52 750 200 78 64 12
SCALES

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
