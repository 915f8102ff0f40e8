#!/usr/bin/env bash
# View and Copy to Hard Drive with the real program under a real X display:
# View opens the game's folder and starts the picked program; Copy with the
# proposed destination puts the game's files on the hard disk and reports it.
# Usage: test_x11_view_copy.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
ROWS
mkdir -p "$WORK/D/ARCADE/ZAPPER/LEVELS"
echo one >"$WORK/D/ARCADE/ZAPPER/LEVELS/ONE.LVL"
printf 'Read me\r\n' >"$WORK/D/ARCADE/ZAPPER/README.TXT"
DISC=$(real_dir "$WORK/D")
HDD=$(real_dir "$WORK/C")

start_menu
click_in "$main" 75 395
sleep 0.3
click_in "$main" 220 96
sleep 0.3

# View: the file browser on the game's folder; picking the program starts it
# with an empty command line, in the game's folder.
click_in "$main" 70 278
browser=$(wait_window_named "'Zapper' folder contents") || fail "no file browser"
move_in "$browser" 40 40
xdotool type --delay 20 "ZAP.EXE"
xdotool key Return
expect_record 1 "$(printf 'ZAP.EXE\t\t%s' "$DISC/ARCADE/ZAPPER")" "the picked program"
wait_no_window_named ZAP.EXE || fail "the demo game did not close"
echo "PASS: View opens the game's folder and starts the picked program"

# Copy to Hard Drive, accepting the proposed C:\ARCADE\ZAPPER.
click_in "$main" 70 209
chooser=$(wait_window "Save 'Zapper' Game To Where ?" 265 225) || fail "no destination chooser"
click_in "$chooser" 218 33
done_msg=$(wait_window "Quorvia Information" 254 138) || fail "no message after the copy"
copy=$HDD/ARCADE/ZAPPER
for f in QAR.TXT ZAP.EXE README.TXT; do
    cmp -s "$WORK/D/ARCADE/ZAPPER/$f" "$copy/$f" || fail "$f was not copied to $copy"
done
[ ! -e "$copy/LEVELS" ] || fail "a sub-folder was copied"
[ "$(find "$WORK/C" -path "$WORK/C/QUORVIA" -prune -o -type f -print | wc -l)" = 3 ] ||
    fail "files other than the game's were written: $(find "$WORK/C" -type f)"
echo "PASS: Copy to Hard Drive puts the game's files in the proposed folder and reports it"

# The message is modeless: the main screen still answers (the exit dialog),
# and Exit ends the program with the message still open.
exit_through_dialog "$main" "with the copy message open"
echo "PASS: Exit with the copy message open ends the program with status 0"
echo "3 passed, 0 failed"
