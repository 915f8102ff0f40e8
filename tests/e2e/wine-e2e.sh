#!/usr/bin/env bash
# The end-to-end scenarios against the Windows program, quorvia.exe under
# Wine, under Xvfb without a window manager, driven with xdotool like the
# Linux program: the fixture disc is Wine's drive D: (a dosdevices link, typed
# as a CD-ROM), the program folder C:\QUORVIA on the prefix's own C:, and the
# disc's games are copies of the Windows demo game.
# One Wine prefix for the whole run (made here when the caller has none).
# Usage: tests/e2e/wine-e2e.sh [WINDOWS_BUILD [LINUX_BUILD]]
#   (defaults build-win and build: quorvia.exe, the art and the demo game
#   from the first, the catalogue tool from the second; WINE_E2E_SCENARIOS
#   names the scenarios to run, by default all)
set -u
cd "$(dirname "$0")/../.."
WINBUILD=$(realpath "${1:-build-win}")
LINBUILD=$(realpath "${2:-build}")
EXE=$WINBUILD/quorvia.exe
GAME=$WINBUILD/demo/quorvia_demo_game.exe
TOOL=$LINBUILD/quorvia-catalogue
ART=$WINBUILD/art
for f in "$EXE" "$GAME" "$TOOL" "$WINBUILD/tests/read_accessible.exe" "$WINBUILD/BUTCLICK.WAV" "$ART/frmGames/imgArcadeLight.bmp"; do
    [ -f "$f" ] || { echo "FAILED: Wine end-to-end tests: $f is missing" >&2; exit 1; }
done
wine=$(command -v wine || true)
[ -n "$wine" ] || { echo "FAILED: Wine end-to-end tests: wine is not installed" >&2; exit 1; }

# The notice and the exit dialog have no title, and Wine gives their X
# windows no name.
UNTITLED=
. tests/e2e/x11lib.sh
OUT=$WINBUILD/e2e
rm -rf "$OUT"
mkdir -p "$OUT"

# The prefix of the caller's run, or one of our own; no offer to install Mono
# or Gecko, no menu entries on the host, no console noise.
export WINEPREFIX=${WINEPREFIX:-$WINBUILD/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset QUORVIA_DRIVES QUORVIA_TEST
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== Wine end-to-end tests: creating the Wine prefix (once)"
    rm -rf "$WINEPREFIX"
    (unset DISPLAY; timeout 600 "$wine" wineboot -i >/dev/null 2>&1) || { echo "FAILED: wineboot" >&2; exit 1; }
    timeout 120 wineserver -w
fi
DRIVE_C=$WINEPREFIX/drive_c
DOSDEVICES=$WINEPREFIX/dosdevices

# The display for every Wine program of this run: a wineserver started
# before (without one) is ended, so that the desktop process starts here.
x11_start
timeout 60 wineserver -k >/dev/null 2>&1
timeout 60 wineserver -w >/dev/null 2>&1
# Only the fixture's drives: C: and Z: of the prefix, D: while a scenario
# maps its disc there.
for link in "$DOSDEVICES"/[d-y]:; do
    [ -L "$link" ] && rm -f "$link"
done
timeout 120 "$wine" reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1 ||
    { echo "FAILED: typing D: as a CD-ROM drive" >&2; exit 1; }
# The shell's recorders for Help and Uninstall: a help file opens with
# HELPREC.EXE, and CONTROL.EXE is found in the program folder before the
# system's own; both are copies of the demo game, which writes each start.
timeout 120 "$wine" reg add 'HKLM\Software\Classes\.hlp' /ve /t REG_SZ /d QuorviaTestHelp /f >/dev/null 2>&1 &&
    timeout 120 "$wine" reg add 'HKLM\Software\Classes\QuorviaTestHelp\shell\open\command' /ve /t REG_SZ \
        /d '"C:\QUORVIA\HELPREC.EXE" "%1"' /f >/dev/null 2>&1 ||
    { echo "FAILED: the help file's recorder" >&2; exit 1; }
# The drive types are read when the session starts: the next one sees it.
timeout 60 wineserver -w >/dev/null 2>&1

# The outer frames of windows, read from inside Wine (the X windows are the
# client areas only).
WINDOWS_TOOL=$OUT/wine_windows.exe
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static tests/e2e/wine_windows.cpp -o "$WINDOWS_TOOL" ||
    { echo "FAILED: building the window tool" >&2; exit 1; }
# What C: holds before any scenario, without what an earlier run's fixture
# or copies left there; each scenario starts from it again.
for entry in QUORVIA 3D ACTION ADV ARCADE BOARD CARDS EDUCATE STRATEGY; do
    rm -rf "${DRIVE_C:?}/$entry"
done
BASELINE=$(ls -A "$DRIVE_C")

# What a screen reader finds in the program's windows, and keys typed into
# it, through the reader built with the program (see its usage).
READER=$WINBUILD/tests/read_accessible.exe
reader() {
    "$wine" "$READER" "$@" 2>>"$TMPDIR/reader.log" | tr -d '\r'
}

# Prints "left top width height" of the outer frame of the visible window with
# the given title and client size.
outer_of() {
    "$wine" "$WINDOWS_TOOL" list "$1" 2>/dev/null | tr -d '\r' |
        awk -v w="$2" -v h="$3" '$9 == w && $10 == h {print $2, $3, $4, $5; exit}'
}

# True when two numbers differ by at most one (a centre's half pixel).
near() {
    [ $(($1 - $2)) -le 1 ] && [ $(($2 - $1)) -le 1 ]
}

# Fails unless the outer frame of window TITLE W H is centred on the frame
# "left top width height" given (the screen: "0 0 1024 768"); WHAT names it.
expect_centred() {
    local title=$1 w=$2 h=$3 over=$4 what=$5 l t ow oh L T W H
    read -r l t ow oh < <(outer_of "$title" "$w" "$h")
    [ -n "${oh:-}" ] || fail "$what: no frame of the window found"
    read -r L T W H <<<"$over"
    near $((2 * l + ow)) $((2 * L + W)) && near $((2 * t + oh)) $((2 * T + H)) ||
        fail "$what: outer frame at $l,$t (${ow}x$oh), not centred on $L,$T (${W}x$H)"
}

# A fresh fixture: $WORK/D as drive D: with the games given as make_fixture's
# rows, the program folder C:\QUORVIA, and C: as before the run otherwise.
# Called while no Wine session runs: Wine's drive table (the drive letters
# and types a program sees) takes in no drive mapped after the session began.
wine_fixture() {
    local entry
    for entry in $(ls -A "$DRIVE_C"); do
        grep -qxF "$entry" <<<"$BASELINE" || rm -rf "${DRIVE_C:?}/$entry"
    done
    FIXTURE_PROGRAM_FOLDER=$DRIVE_C/QUORVIA FIXTURE_MENU_NAME=quorvia.exe \
        make_fixture "$EXE" "$GAME" "$TOOL" "$WINBUILD"
    ln -sfn "$WORK/D" "$DOSDEVICES/d:"
}

# Starts the menu from C:\QUORVIA, the demo game writing each start to
# $WORK/record.txt and closing by itself; sets APP_PID and main.
wine_start_menu() {
    export QUORVIA_DEMO_RECORD=$WORK/record.txt QUORVIA_DEMO_EXIT_AFTER_MS=800
    "$wine" 'C:\QUORVIA\quorvia.exe' >>"$TMPDIR/wine.log" 2>&1 &
    APP_PID=$!
    main=$(wait_window "Quorvia" 640 480) || fail "no main screen"
}

# After the program has ended: every Wine process of the scenario has ended
# too, so the files it wrote can be checked.
wine_settle() {
    timeout 60 wineserver -w >/dev/null 2>&1
}

# --- Scenarios: each runs in a subshell of its own, with its own fixture. --

# Start-up with the disc: the main screen centred on the screen; the close
# command shows the exit dialog centred over it, whose Exit ends with 0.
# Without the disc: the disc request centred on the screen; OK ends with 0.
scenario_start_exit() {
    wine_fixture </dev/null
    wine_start_menu
    expect_centred "Quorvia" 640 480 "0 0 1024 768" "the main screen"
    main_outer=$(outer_of "Quorvia" 640 480)
    "$wine" "$WINDOWS_TOOL" close "Quorvia" 640 480 || fail "no main screen to close"
    exitdlg=$(wait_window "$UNTITLED" 430 240) || fail "no exit dialog after the close command"
    wait_window "Quorvia" 640 480 >/dev/null || fail "the main screen is not shown behind the exit dialog"
    expect_centred "$UNTITLED" 430 240 "$main_outer" "the exit dialog"
    click_in "$exitdlg" 295 191
    wait_exit_status
    [ "$EXIT_STATUS" = 0 ] || fail "Exit ended the program with status $EXIT_STATUS"
    echo "PASS: main screen centred, the close command shows the exit dialog centred over it, Exit ends with 0"

    wine_settle
    rm -f "$DOSDEVICES/d:"
    "$wine" 'C:\QUORVIA\quorvia.exe' >>"$TMPDIR/wine.log" 2>&1 &
    APP_PID=$!
    info=$(wait_window "Quorvia Information" 254 138) || fail "no disc request without the disc"
    has_window 640 480 && fail "the main screen is shown without the disc"
    expect_centred "Quorvia Information" 254 138 "0 0 1024 768" "the disc request"
    click_in "$info" 126 115
    wait_exit_status
    [ "$EXIT_STATUS" = 0 ] || fail "OK on the disc request ended the program with status $EXIT_STATUS"
    echo "PASS: without the disc the request is centred on the screen, OK ends with 0"
}

# Hover, listing, selection and description; Run from the disc; a
# double-click on Run starts one game; a hard-disk game through the notice
# (copy, then start from the copy; the next Run starts it at once); Exit.
scenario_session() {
    wine_fixture <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
ARCADE	Second Game	SECOND	SECOND.EXE		0
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
    mkdir -p "$WORK/D/BOARD/MAHJONG/DATA"
    echo tiles >"$WORK/D/BOARD/MAHJONG/DATA/TILES.DAT"
    chmod a-w "$WORK/D/BOARD/MAHJONG/DATA/TILES.DAT"
    wine_start_menu
    local light=$ART/frmGames/imgArcadeLight.bmp

    grab "$main" 33 381 93 33 "$WORK/before.png"
    [ "$(pixels_differing "$WORK/before.png" "$light")" -gt 300 ] ||
        fail "the arcade highlight shows before the pointer is over it"
    grab "$main" 349 22 232 28 "$WORK/status.png"
    [ "$(yellow_share "$WORK/status.png")" -eq 0 ] || fail "a hint shows before any hover"
    move_in "$main" 75 395
    grab "$main" 33 381 93 33 "$WORK/hover.png"
    differing=$(pixels_differing "$WORK/hover.png" "$light")
    [ "$differing" -lt 60 ] || fail "the arcade highlight is not shown on hover ($differing pixels differ)"
    grab "$main" 349 22 232 28 "$WORK/status.png"
    [ "$(yellow_share "$WORK/status.png")" -gt 5 ] || fail "no hint in the status line on hover"
    echo "PASS: hover shows the highlight and the hint"

    grab "$main" 167 90 195 242 "$WORK/list.png"
    [ "$(green_share "$WORK/list.png")" -eq 0 ] || fail "the list is not empty at start"
    click_in "$main" 75 395
    sleep 0.3
    grab "$main" 167 90 195 242 "$WORK/list.png"
    [ "$(green_share "$WORK/list.png")" -gt 3 ] || fail "no entries in the list after the click"
    grab "$main" 26 375 100 39 "$WORK/mark.png"
    differing=$(pixels_differing "$WORK/mark.png" "$ART/frmGames/imgArcadeIndent.bmp")
    [ "$differing" -lt 80 ] || fail "the arcade category is not marked ($differing pixels differ)"
    echo "PASS: the click lists the category and marks it"

    grab "$main" 372 90 196 242 "$WORK/desc.png"
    [ "$(green_share "$WORK/desc.png")" -eq 0 ] || fail "a description shows before a selection"
    click_in "$main" 220 96
    sleep 0.3
    grab "$main" 372 90 196 242 "$WORK/desc.png"
    [ "$(green_share "$WORK/desc.png")" -gt 3 ] || fail "no description after the selection"
    echo "PASS: the selection shows the game's description"

    click_in "$main" 70 141
    expect_record 1 "$(printf 'ZAP.EXE\t-w -lives 5\tD:\\ARCADE\\ZAPPER')" "Run"
    wait_no_window_named ZAP.EXE || fail "the demo game did not close"
    echo "PASS: Run starts the selected game from the disc with its parameters in its folder"

    # Both clicks of a double-click land on Run; the game starts once.
    move_in "$main" 70 141
    xdotool click --repeat 2 --delay 120 1
    expect_record 2 "$(printf 'ZAP.EXE\t-w -lives 5\tD:\\ARCADE\\ZAPPER')" "the double-click on Run"
    sleep 1.5
    [ "$(wc -l <"$WORK/record.txt")" = 2 ] || fail "a double-click on Run started the game $(($(wc -l <"$WORK/record.txt") - 1)) times"
    wait_no_window_named ZAP.EXE || fail "the demo game did not close"
    echo "PASS: a double-click on Run starts the game once"

    notice=$(run_first_board_game) || fail "no hard-disk notice"
    expect_centred "$UNTITLED" 430 240 "$(outer_of "Quorvia" 640 480)" "the hard-disk notice"
    click_in "$notice" 129 191
    local expected
    expected=$(printf 'MAHJONG.EXE\t/tiles\tC:\\QUORVIA\\BOARD\\MAHJONG')
    expect_record 3 "$expected" "OK on the notice"
    wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
    echo "PASS: the hard-disk notice copies the game and starts it from the copy"

    click_in "$main" 70 141
    expect_record 4 "$expected" "the second Run"
    sleep 0.3
    has_window 430 240 && fail "the notice came up again for a game with a copy"
    wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
    echo "PASS: the next Run starts the copy without the notice"

    exit_through_dialog "$main" "at the end of the session"
    wine_settle
    local copy=$DRIVE_C/QUORVIA/BOARD/MAHJONG f
    for f in QAR.TXT MAHJONG.EXE DATA/TILES.DAT; do
        cmp -s "$WORK/D/BOARD/MAHJONG/$f" "$copy/$f" || fail "$f is not in the copy"
    done
    [ "$(stat -c %A "$copy/QAR.TXT" | cut -c3)" = w ] && [ "$(stat -c %A "$copy/MAHJONG.EXE" | cut -c3)" = w ] ||
        fail "the copy's top-level files are still read-only"
    [ "$(stat -c %A "$copy/DATA/TILES.DAT" | cut -c3)" = - ] || fail "a file in a sub-folder of the copy lost its read-only mark"
    [ "$(wc -l <"$WORK/record.txt")" = 4 ] || fail "$(wc -l <"$WORK/record.txt") starts recorded, not 4"
    echo "PASS: the copy holds the game's files, read-only only below its top level; Exit ends with 0"
}

# View with the system's open-file dialog on the game's folder, picking the
# program; Copy to Hard Drive to the proposed C:\ARCADE\ZAPPER and its
# message; Exit with the message still open.
scenario_view_copy() {
    wine_fixture <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
ROWS
    mkdir -p "$WORK/D/ARCADE/ZAPPER/LEVELS"
    echo one >"$WORK/D/ARCADE/ZAPPER/LEVELS/ONE.LVL"
    printf 'Read me\r\n' >"$WORK/D/ARCADE/ZAPPER/README.TXT"
    wine_start_menu
    click_in "$main" 75 395
    sleep 0.3
    click_in "$main" 220 96
    sleep 0.3

    click_in "$main" 70 278
    browser=$(wait_window_named "'Zapper' folder contents") || fail "no open-file dialog"
    move_in "$browser" 40 40
    xdotool type --delay 20 "ZAP.EXE"
    xdotool key Return
    expect_record 1 "$(printf 'ZAP.EXE\t\tD:\\ARCADE\\ZAPPER')" "the picked program"
    wait_no_window_named ZAP.EXE || fail "the demo game did not close"
    echo "PASS: View opens the open-file dialog and starts the picked program"

    click_in "$main" 70 209
    chooser=$(wait_window "Save 'Zapper' Game To Where ?" 265 225) || fail "no destination chooser"
    click_in "$chooser" 218 33
    wait_window "Quorvia Information" 254 138 >/dev/null || fail "no message after the copy"
    echo "PASS: Copy to Hard Drive shows its message"

    exit_through_dialog "$main" "with the copy message open"
    wine_settle
    local copy=$DRIVE_C/ARCADE/ZAPPER f
    for f in QAR.TXT ZAP.EXE README.TXT; do
        cmp -s "$WORK/D/ARCADE/ZAPPER/$f" "$copy/$f" || fail "$f was not copied to C:\\ARCADE\\ZAPPER"
    done
    [ ! -e "$copy/LEVELS" ] || fail "a sub-folder was copied"
    [ "$(find "$DRIVE_C/ARCADE" -type f | wc -l)" = 3 ] || fail "files other than the game's were written: $(find "$DRIVE_C/ARCADE" -type f)"
    echo "PASS: the copy holds the game's files; Exit with the message open ends with 0"
}

# The shell's recorders in the program folder (see the prefix's set-up).
wine_recorders() {
    cp "$GAME" "$DRIVE_C/QUORVIA/CONTROL.EXE"
    cp "$GAME" "$DRIVE_C/QUORVIA/HELPREC.EXE"
    printf 'help\r\n' >"$DRIVE_C/QUORVIA/GLIMMERA.HLP"
}

scenario_keyboard() {
    wine_fixture <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
    wine_recorders
    wine_start_menu
    reader Quorvia 640 480
    reader keys Quorvia 640 480 tab tab tab tab tab tab tab tab tab tab tab tab tab tab tab
    reader keys Quorvia 640 480 shift+tab shift+tab shift+tab
    reader keys Quorvia 640 480 tab tab tab enter
    sleep 1
    cat "$WORK/record.txt"
}

passed=0 failed=0
for scenario in ${WINE_E2E_SCENARIOS:-start_exit session view_copy}; do
    echo "== Wine end-to-end: $scenario"
    (
        WORK=$(mktemp -d)
        trap '[ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null; rm -rf "$WORK"' EXIT
        mkdir -p "$OUT/$scenario"
        export TMPDIR=$OUT/$scenario
        "scenario_$scenario"
    )
    if [ $? -eq 0 ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        # Whatever the failed scenario left running goes before the next.
        timeout 60 wineserver -k >/dev/null 2>&1
        timeout 60 wineserver -w >/dev/null 2>&1
    fi
    rm -f "$DOSDEVICES/d:"
done
timeout 60 wineserver -k >/dev/null 2>&1
echo "Wine end-to-end: $passed scenarios passed, $failed failed"
[ "$failed" -eq 0 ]
