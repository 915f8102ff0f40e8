#!/usr/bin/env bash
# The Windows program on a screen of 192 dpi (LogPixels 192, 200 %) under
# Wine, under a 2048 x 1536 Xvfb display without a window manager: the main
# screen's client area is 1280 x 960, a lit button and a marked category
# show exactly the BMPs drawn for 200 %, not the 96 dpi ones enlarged, the
# status line's hint is in the larger font, and the exit dialog is 860 x 480
# with its lit button drawn for 200 % too; told that it moved to a monitor of
# 144 dpi, the main screen takes the size and the pictures of 150 %; the
# copy chooser shows its pictures and controls at 200 % and copies.
# A prefix of its own (the density is a setting of the prefix), made here
# once: WINEPREFIX_SCALED, by default WINDOWS_BUILD/wineprefix-192.
# Usage: tests/e2e/wine-e2e-scaled.sh [WINDOWS_BUILD [LINUX_BUILD]]
set -u
cd "$(dirname "$0")/../.."
WINBUILD=$(realpath "${1:-build-win}")
LINBUILD=$(realpath "${2:-build}")
EXE=$WINBUILD/quorvia.exe
GAME=$WINBUILD/demo/quorvia_demo_game.exe
TOOL=$LINBUILD/quorvia-catalogue
ART=$WINBUILD/art
for f in "$EXE" "$GAME" "$TOOL" "$WINBUILD/BUTCLICK.WAV" "$ART/frmGames/imgRunLight@2x.bmp"; do
    [ -f "$f" ] || { echo "FAILED: Wine end-to-end tests at 192 dpi: $f is missing" >&2; exit 1; }
done
wine=$(command -v wine || true)
[ -n "$wine" ] || { echo "FAILED: Wine end-to-end tests at 192 dpi: wine is not installed" >&2; exit 1; }

UNTITLED=
. tests/e2e/x11lib.sh
OUT=$WINBUILD/e2e-scaled
rm -rf "$OUT"
mkdir -p "$OUT"
export TMPDIR=$OUT

export WINEPREFIX=${WINEPREFIX_SCALED:-$WINBUILD/wineprefix-192}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset QUORVIA_DRIVES QUORVIA_TEST
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Wine end-to-end at 192 dpi: creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    (unset DISPLAY; timeout 600 "$wine" wineboot -i >/dev/null 2>&1) || { echo "FAILED: wineboot" >&2; exit 1; }
    timeout 120 wineserver -w
fi
DRIVE_C=$WINEPREFIX/drive_c
DOSDEVICES=$WINEPREFIX/dosdevices

# A screen large enough for the doubled main screen.
XVFB_SCREEN=2048x1536x24 x11_start
WORK=$(mktemp -d)
trap x11_stop EXIT

timeout 60 wineserver -k >/dev/null 2>&1
timeout 60 wineserver -w >/dev/null 2>&1
# 192 dpi where Wine reads it, and D: typed as a CD-ROM drive; both are read
# when the session starts.
for key in 'HKCU\Control Panel\Desktop' 'HKCC\Software\Fonts'; do
    timeout 120 "$wine" reg add "$key" /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 ||
        fail "setting LogPixels in $key"
done
timeout 120 "$wine" reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1 ||
    fail "typing D: as a CD-ROM drive"
timeout 60 wineserver -w >/dev/null 2>&1
for link in "$DOSDEVICES"/[d-y]:; do
    [ -L "$link" ] && rm -f "$link"
done
rm -rf "${DRIVE_C:?}/QUORVIA" "${DRIVE_C:?}/ARCADE"
FIXTURE_PROGRAM_FOLDER=$DRIVE_C/QUORVIA FIXTURE_MENU_NAME=quorvia.exe \
    make_fixture "$EXE" "$GAME" "$TOOL" "$WINBUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE		0
ROWS
ln -sfn "$WORK/D" "$DOSDEVICES/d:"

# Exactly equal pixels: the program shows the BMPs' pixels as they are.
pixels_not_equal() {
    compare -metric AE "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

"$wine" 'C:\QUORVIA\quorvia.exe' >>"$OUT/wine.log" 2>&1 &
APP_PID=$!
main=$(wait_window "Quorvia" 1280 960) || fail "no main screen of 1280 x 960 at 192 dpi"
echo "PASS: the main screen is 1280 x 960 at 192 dpi"

convert "$ART/frmGames/imgRunLight.bmp" -filter point -resize 200% "$WORK/enlarged.png"
grab "$main" 60 246 172 72 "$WORK/rest.png"
[ "$(pixels_not_equal "$WORK/rest.png" "$ART/frmGames/imgRunLight@2x.bmp")" -gt 200 ] ||
    fail "Run is lit before the pointer is over it"
grab "$main" 698 44 464 56 "$WORK/status-before.png"
[ "$(yellow_share "$WORK/status-before.png")" -eq 0 ] || fail "a hint shows before any hover"
move_in "$main" 140 282   # over Run: (70, 141) of the layout
grab "$main" 60 246 172 72 "$WORK/lit.png"
differing=$(pixels_not_equal "$WORK/lit.png" "$ART/frmGames/imgRunLight@2x.bmp")
[ "$differing" -eq 0 ] || fail "the lit Run is not its 200 % Light picture ($differing pixels differ)"
[ "$(pixels_not_equal "$WORK/lit.png" "$WORK/enlarged.png")" -gt 200 ] ||
    fail "the lit Run looks like its 96 dpi picture enlarged"
echo "PASS: the lit Run shows exactly its 200 % Light picture, not the 96 dpi one enlarged"

# The hint in the status line, in the font of 192 dpi: a line of it is wider
# than the whole status line is at 96 dpi (232 pixels).
grab "$main" 698 44 464 56 "$WORK/status.png"
[ "$(yellow_share "$WORK/status.png")" -gt 3 ] || fail "no hint in the status line on hover"
width=$(convert "$WORK/status.png" -fx '(r > 0.6 && g > 0.6 && b < 0.4) ? 1 : 0' -trim +repage -format '%w' info:)
[ "$width" -gt 240 ] || fail "the hint is not in the font of 192 dpi (its lines are $width pixels wide)"
echo "PASS: the hint shows in the status line, in the font of 192 dpi"

click_in "$main" 150 790   # arcade: (75, 395)
sleep 0.5
grab "$main" 52 750 200 78 "$WORK/mark.png"
differing=$(pixels_not_equal "$WORK/mark.png" "$ART/frmGames/imgArcadeIndent@2x.bmp")
[ "$differing" -eq 0 ] || fail "the marked arcade button is not its 200 % Indent picture ($differing pixels differ)"
sleep 0.3
click_in "$main" 440 192   # the first game: (220, 96)
sleep 0.5
grab "$main" 334 180 390 484 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -gt 0 ] || fail "no entries in the list after the click"
echo "PASS: the click lists the category and marks it with its 200 % Indent picture"

# Moved to a monitor of 144 dpi (150 %): the client area 960 x 720, the
# pictures drawn for 150 %, the list where it belongs at that scale.
DPI_TOOL=$OUT/wine_dpi.exe
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static tests/e2e/wine_dpi.cpp -o "$DPI_TOOL" ||
    fail "building the density tool"
"$wine" "$DPI_TOOL" "Quorvia" 1280 960 144 2>/dev/null || fail "no main screen to move to 144 dpi"
main=$(wait_window "Quorvia" 960 720) || fail "the main screen is not 960 x 720 at 144 dpi"
grab "$main" 39 562 150 59 "$WORK/mark-150.png"
differing=$(pixels_not_equal "$WORK/mark-150.png" "$ART/frmGames/imgArcadeIndent@1.5x.bmp")
[ "$differing" -eq 0 ] || fail "at 144 dpi the marked arcade button is not its 150 % picture ($differing pixels differ)"
move_in "$main" 105 211    # over Run: (70, 141)
grab "$main" 45 184 129 55 "$WORK/lit-150.png"
differing=$(pixels_not_equal "$WORK/lit-150.png" "$ART/frmGames/imgRunLight@1.5x.bmp")
[ "$differing" -eq 0 ] || fail "at 144 dpi the lit Run is not its 150 % picture ($differing pixels differ)"
# The list's first entry, selected, fills the list's 150 % rectangle's top
# (250, 135 to 543, 498): its green lies inside it.
grab "$main" 250 135 293 20 "$WORK/entry-150.png"
[ "$(green_share "$WORK/entry-150.png")" -gt 100 ] || fail "at 144 dpi the list is not in its place"
echo "PASS: moved to 144 dpi, the main screen is 960 x 720 with its 150 % pictures and the list in its place"
"$wine" "$DPI_TOOL" "Quorvia" 960 720 192 2>/dev/null || fail "no main screen to move back to 192 dpi"
main=$(wait_window "Quorvia" 1280 960) || fail "the main screen is not 1280 x 960 back at 192 dpi"

# The copy chooser at 200 %: its own size doubled, its lit Save button its
# 200 % picture, its classic controls in their doubled places; Save copies
# and brings up its message, doubled too.
click_in "$main" 140 418   # Copy to Hard Drive: (70, 209)
chooser=$(wait_window "Save 'Zapper' Game To Where ?" 530 450) || fail "no destination chooser of 530 x 450"
move_in "$chooser" 436 66  # over Save: (218, 33)
grab "$chooser" 370 56 134 44 "$WORK/save.png"
differing=$(pixels_not_equal "$WORK/save.png" "$ART/frmSave/imgSaveLight@2x.bmp")
[ "$differing" -eq 0 ] || fail "the chooser's lit Save is not its 200 % picture ($differing pixels differ)"
# The drive box (7, 197, 161 x 21 of the layout) shows the drive's name in
# its doubled rectangle.
grab "$chooser" 14 394 322 42 "$WORK/drive.png"
[ "$(convert "$WORK/drive.png" -colorspace gray -format '%[fx:int(1000 * standard_deviation)]' info:)" -gt 20 ] ||
    fail "the chooser's drive box is not in its 200 % place"
xdotool click 1
wait_window "Quorvia Information" 508 276 >/dev/null || fail "no message of 508 x 276 after the copy"
cmp -s "$WORK/D/ARCADE/ZAPPER/ZAP.EXE" "$DRIVE_C/ARCADE/ZAPPER/ZAP.EXE" || fail "the game was not copied"
echo "PASS: the copy chooser is 530 x 450 with its 200 % pictures and controls; Save copies, its message is 508 x 276"

click_in "$main" 140 644   # Exit: (70, 322)
dialog=$(wait_window "$UNTITLED" 860 480) || fail "no exit dialog of 860 x 480"
move_in "$dialog" 590 382  # over Exit: (295, 191)
grab "$dialog" 422 350 336 70 "$WORK/exit.png"
differing=$(pixels_not_equal "$WORK/exit.png" "$ART/frmExit/imgExitLight@2x.bmp")
[ "$differing" -eq 0 ] || fail "the lit Exit of the exit dialog is not its 200 % picture ($differing pixels differ)"
echo "PASS: the exit dialog is 860 x 480 and its lit button is its 200 % picture"
xdotool click 1
wait_exit_status
[ "$EXIT_STATUS" = 0 ] || fail "Exit ended the program with status $EXIT_STATUS"
echo "PASS: Exit ends with 0"
rm -f "$DOSDEVICES/d:"
timeout 60 wineserver -k >/dev/null 2>&1
