#!/usr/bin/env bash
# The end-to-end scenarios against the Windows program, quorvia.exe under
# Wine, under Xvfb without a window manager, driven with xdotool like the
# Linux program: the fixture disc is Wine's drive D: (a dosdevices link, typed
# as a CD-ROM), the program folder C:\QUORVIA on the prefix's own C:, and the
# disc's games are copies of the Windows demo game.
# One Wine prefix for the whole run (made here when the caller has none);
# the scenario at 192 dpi has one of its own (tests/e2e/wine-e2e-scaled.sh).
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
# HELPREC.EXE in the program folder, and the system's CONTROL.EXE (which the
# shell finds before any other) is replaced while a scenario runs; both are
# copies of the demo game, which writes each start.
SYSTEM_CONTROL=$DRIVE_C/windows/system32/control.exe
cp "$SYSTEM_CONTROL" "$OUT/control.exe" || { echo "FAILED: no CONTROL.EXE in the prefix" >&2; exit 1; }
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
    cp "$GAME" "$SYSTEM_CONTROL"
    # Wine would run its own CONTROL.EXE in place of the file.
    export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;control.exe=n"
    cp "$GAME" "$DRIVE_C/QUORVIA/HELPREC.EXE"
    printf 'help\r\n' >"$DRIVE_C/QUORVIA/GLIMMERA.HLP"
}

# Fails unless what a screen reader finds in window TITLE W H (its name,
# description and buttons, tabs written "|") is EXPECTED.
expect_accessible() {
    local got
    got=$(reader "$1" "$2" "$3" | tr '\t' '|')
    [ "$got" = "$4" ] || fail "$5: a screen reader finds
$got
and not
$4"
}

# Types the keys given after TITLE W H EXPECTED into the program and fails
# unless the focus in that window went as EXPECTED says, one entry per key,
# separated by "|" (see read_accessible keys; "none" types nothing).
expect_keys() {
    local title=$1 w=$2 h=$3 expected=$4 got
    shift 4
    got=$(reader keys "$title" "$w" "$h" "$@" | sed -n 's/^focus\t//p' | paste -sd '|')
    [ "$got" = "$expected" ] || fail "keys $* in '$title': the focus went
$got
and not
$expected"
}

# Fails unless the focus in window TITLE W H comes back to NAME within 5 s:
# after another program's window closes, the system hands the activation
# back in its own time.
expect_focus_back() {
    local _
    for _ in $(seq 10); do
        [ "$(reader keys "$1" "$2" "$3" none | sed -n 's/^focus\t//p')" = "$4" ] && return 0
        sleep 0.5
    done
    expect_keys "$1" "$2" "$3" "$4" none
}

# The buttons a screen reader finds on the main screen, the states of each
# given by the function's arguments ("NAME=STATES"; others are focusable).
main_buttons() {
    local line name states
    while IFS='|' read -r name rect description; do
        states=focusable
        for arg in "$@"; do
            [ "${arg%%=*}" = "$name" ] && states=${arg#*=}
        done
        printf 'button|%s|%s|%s|%s\n' "$name" "$states" "$description" "$rect"
    done <<'BUTTONS'
Help|20,74,103,46|Click here for help on using this screen.
Run|20,123,103,36|Click here to run the selected game from the CD.
Copy to Hard Drive|20,162,103,95|Click here to copy the selected game to your hard drive.
View|20,260,103,36|Click here to view the selected game files.
Exit|20,299,103,46|Click here to quit this application.
arcade|25,373,100,41|Click here for a listing of Arcade games.
board|128,373,99,41|Click here for a listing of Board games.
education|230,373,93,41|Click here for a listing of Educational games.
strategy|326,373,94,41|Click here for a listing of Strategy games.
cards|25,417,100,43|Click here for a listing of Cards games.
action|128,417,99,43|Click here for a listing of Action games.
adventure|230,417,93,43|Click here for a listing of Adventure games.
3D|326,417,94,43|Click here for a listing of 3D games.
BUTTONS
}

NOTICE_WORDS='This game runs only from the hard drive.\n\nTo play it, choose OK: the program copies the game to your hard drive and runs it from there.\n\nOtherwise, choose Cancel.'
EXIT_WORDS="Games copied to your hard drive are removed through the system's Add/Remove Programs panel, which the Uninstall button opens.\n\nThere, select the games to remove and follow the prompts.\n\nThe Exit button leaves the program."
CYCLE='#ListBox|#Edit|Help|Run|Copy to Hard Drive|View|Exit|arcade|board|education|strategy|cards|action|adventure|3D'

# The main screen by keyboard alone: the Tab cycle whole and back, the arrow
# blocks, every category by Enter or Space (the selected state for screen
# readers), a held Enter on Run, Help, View, Copy to Hard Drive with the
# chooser and its message, and Uninstall in the exit dialog; and what a
# screen reader finds on the main screen, the chooser, the message and the
# exit dialog.
scenario_keyboard() {
    wine_fixture <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE	-w -lives 5	0
ROWS
    wine_recorders
    xdotool mousemove 1010 760
    wine_start_menu
    expect_accessible Quorvia 640 480 "name|Quorvia
description|
$(main_buttons)" "the main screen at start"
    expect_keys Quorvia 640 480 "#ListBox" none
    local forward backward
    forward=$(cut -d'|' -f2- <<<"$CYCLE")"|#ListBox"
    backward=$(tr '|' '\n' <<<"$CYCLE" | tac | paste -sd '|')
    # shellcheck disable=SC2046
    expect_keys Quorvia 640 480 "$forward" $(printf 'tab %.0s' $(seq 15))
    # shellcheck disable=SC2046
    expect_keys Quorvia 640 480 "$backward" $(printf 'shift+tab %.0s' $(seq 15))
    echo "PASS: the main screen opens with the focus in the list; Tab goes the whole cycle and Shift+Tab back"

    expect_keys Quorvia 640 480 \
        "#Edit|Help|Run|Copy to Hard Drive|View|Exit|Exit|View|View|View|Exit|arcade|board|education|strategy|strategy|3D|3D|adventure|education|board|arcade|arcade" \
        tab tab down down down down down up left right tab tab right right right right down down left up left left up
    echo "PASS: the arrow keys move within the command column and the category block and stop at their edges"

    # Each category by a key; the one listed is the selected button.
    local move key name
    while read -r move key name; do
        expect_keys Quorvia 640 480 "$name|$name" "$move" "$key"
        [ "$(reader Quorvia 640 480 | awk -F'\t' '$1 == "button" && $3 ~ /selected/ {print $2}')" = "$name" ] ||
            fail "$key on $name does not make it the selected category"
    done <<'KEYS'
none enter arcade
right space board
right enter education
right space strategy
down enter 3D
left space adventure
left enter action
left space cards
up enter arcade
KEYS
    expect_accessible Quorvia 640 480 "name|Quorvia
description|
$(main_buttons arcade=focusable,focused,selected)" "the main screen with arcade listed and focused"
    echo "PASS: Enter and Space on each category list it; screen readers find it selected"

    # The list, its first game, then Run held down: one start.
    expect_keys Quorvia 640 480 "Exit|View|Copy to Hard Drive|Run|Help|#Edit|#ListBox|#ListBox|#Edit|Help|Run" \
        shift+tab shift+tab shift+tab shift+tab shift+tab shift+tab shift+tab down tab tab tab
    reader keys Quorvia 640 480 hold+enter >/dev/null
    expect_record 1 "$(printf 'ZAP.EXE\t-w -lives 5\tD:\\ARCADE\\ZAPPER')" "Enter held on Run"
    wait_no_window_named ZAP.EXE || fail "the demo game did not close"
    sleep 1
    [ "$(wc -l <"$WORK/record.txt")" = 1 ] || fail "Enter held on Run started the game more than once"
    # The main screen has the keyboard again once the game has ended.
    expect_focus_back Quorvia 640 480 "Run"
    echo "PASS: Enter held down on Run starts the selected game once"

    expect_keys Quorvia 640 480 "Help" up
    reader keys Quorvia 640 480 space >/dev/null
    expect_record 2 "$(printf 'HELPREC.EXE\tC:\\QUORVIA\\GLIMMERA.HLP\tC:\\QUORVIA')" "Space on Help"
    wait_no_window_named HELPREC.EXE || fail "the help recorder did not close"
    expect_focus_back Quorvia 640 480 "Help"
    echo "PASS: Space on Help opens the help file"

    expect_keys Quorvia 640 480 "Run|Copy to Hard Drive|View" down down down
    reader keys Quorvia 640 480 enter >/dev/null
    browser=$(wait_window_named "'Zapper' folder contents") || fail "Enter on View shows no open-file dialog"
    reader keys "'Zapper' folder contents" 0 0 escape >/dev/null
    wait_no_window_named "'Zapper' folder contents" || fail "Escape does not close the open-file dialog"
    expect_keys Quorvia 640 480 "View" none
    echo "PASS: Enter on View opens the open-file dialog"

    local chooser="Save 'Zapper' Game To Where ?"
    expect_keys Quorvia 640 480 "Copy to Hard Drive|-" up enter
    wait_window "$chooser" 265 225 >/dev/null || fail "Enter on Copy to Hard Drive shows no chooser"
    expect_accessible "$chooser" 265 225 "name|$chooser
description|
button|Save|focusable||179,16,79,34
button|Cancel|focusable||179,53,79,34" "the chooser"
    expect_keys "$chooser" 265 225 "#Edit|Save|Cancel|#ListBox|#ComboBox|#Edit|#ComboBox|#ListBox|Cancel|gone" \
        none tab tab tab tab tab shift+tab shift+tab shift+tab escape
    expect_keys Quorvia 640 480 "Copy to Hard Drive|-" none enter
    wait_window "$chooser" 265 225 >/dev/null || fail "no chooser the second time"
    expect_keys "$chooser" 265 225 "Save|Cancel|gone" tab tab enter
    [ -e "$DRIVE_C/ARCADE" ] && fail "Cancel in the chooser copied the game"
    expect_keys Quorvia 640 480 "Copy to Hard Drive|-" none enter
    wait_window "$chooser" 265 225 >/dev/null || fail "no chooser the third time"
    expect_keys "$chooser" 265 225 "Save|gone" tab space
    wait_window "Quorvia Information" 254 138 >/dev/null || fail "Space on Save shows no message"
    expect_accessible "Quorvia Information" 254 138 "name|Quorvia Information
description|Copying of game 'Zapper' complete.
button|Ok|focusable||82,101,89,28" "the message after the copy"
    expect_keys "Quorvia Information" 254 138 "-|Ok|Ok|gone" none tab tab enter
    cmp -s "$WORK/D/ARCADE/ZAPPER/ZAP.EXE" "$DRIVE_C/ARCADE/ZAPPER/ZAP.EXE" || fail "Save did not copy the game"
    echo "PASS: the chooser by keyboard: the path box first, Tab through its controls, Escape and Cancel leave, Save copies; Enter on the message's OK closes it"

    expect_keys Quorvia 640 480 "Copy to Hard Drive|View|Exit|-" none down down enter
    wait_window "$UNTITLED" 430 240 >/dev/null || fail "Enter on Exit shows no exit dialog"
    expect_accessible "$UNTITLED" 430 240 "name|
description|$EXIT_WORDS
button|Uninstall|focusable||47,176,164,31
button|Exit|focusable||213,176,164,31" "the exit dialog"
    expect_keys "$UNTITLED" 430 240 "-|-|Uninstall|Exit|Uninstall|Exit|Uninstall|gone" \
        none escape tab tab tab shift+tab shift+tab enter
    expect_record 3 "$(printf 'CONTROL.EXE\tAPPWIZ.CPL\tD:\\ARCADE\\ZAPPER')" "Enter on Uninstall"
    wait_exit_status
    [ "$EXIT_STATUS" = 0 ] || fail "Uninstall ended the program with status $EXIT_STATUS"
    echo "PASS: the exit dialog opens with nothing focused, Escape does nothing, Tab cycles its buttons; Enter on Uninstall opens the removal panel and ends with 0"
}

# The hard-disk notice by keyboard: what a screen reader finds, Escape and
# Cancel leave it, OK copies and starts the game; then Exit through the exit
# dialog by Space.
scenario_keyboard_notice() {
    wine_fixture <<'ROWS'
BOARD	Mahjong Temple	MAHJONG	MAHJONG.EXE	/tiles	1
ROWS
    wine_start_menu
    # The board category by Enter, its first game, then Run.
    # shellcheck disable=SC2046
    expect_keys Quorvia 640 480 \
        "#Edit|Help|Run|Copy to Hard Drive|View|Exit|arcade|board|board|arcade|Exit|View|Copy to Hard Drive|Run|Help|#Edit|#ListBox|#ListBox|#Edit|Help|Run" \
        $(printf 'tab %.0s' $(seq 8)) enter $(printf 'shift+tab %.0s' $(seq 8)) down tab tab tab
    expect_keys Quorvia 640 480 "Run|-" none enter
    wait_window "$UNTITLED" 430 240 >/dev/null || fail "Enter on Run shows no hard-disk notice"
    expect_accessible "$UNTITLED" 430 240 "name|
description|$NOTICE_WORDS
button|OK|focusable||47,176,164,31
button|Cancel|focusable||213,176,164,31" "the hard-disk notice"
    expect_keys "$UNTITLED" 430 240 "-|OK|Cancel|OK|gone" none tab tab tab escape
    expect_keys Quorvia 640 480 "Run|-" none enter
    wait_window "$UNTITLED" 430 240 >/dev/null || fail "no notice the second time"
    expect_keys "$UNTITLED" 430 240 "OK|Cancel|gone" tab tab space
    [ -e "$DRIVE_C/QUORVIA/BOARD" ] && fail "leaving the notice copied the game"
    expect_keys Quorvia 640 480 "Run|-" none enter
    wait_window "$UNTITLED" 430 240 >/dev/null || fail "no notice the third time"
    reader keys "$UNTITLED" 430 240 tab enter >/dev/null
    expect_record 1 "$(printf 'MAHJONG.EXE\t/tiles\tC:\\QUORVIA\\BOARD\\MAHJONG')" "Enter on the notice's OK"
    wait_no_window_named MAHJONG.EXE || fail "the demo game did not close"
    echo "PASS: the notice opens with nothing focused; Escape and Space on Cancel leave it, Enter on OK copies and starts the game"

    expect_keys Quorvia 640 480 "Run|Copy to Hard Drive|View|Exit|-" none down down down space
    wait_window "$UNTITLED" 430 240 >/dev/null || fail "Space on Exit shows no exit dialog"
    expect_keys "$UNTITLED" 430 240 "Uninstall|Exit|gone" tab tab space
    wait_exit_status
    [ "$EXIT_STATUS" = 0 ] || fail "Space on Exit ended the program with status $EXIT_STATUS"
    echo "PASS: Space on Exit in the exit dialog ends with 0"
}

# The disc request by keyboard: Tab focuses OK, Enter on it ends the
# program; in the next start Escape does.
scenario_keyboard_no_disc() {
    wine_fixture </dev/null
    rm -f "$DOSDEVICES/d:"
    local round
    for round in enter escape; do
        "$wine" 'C:\QUORVIA\quorvia.exe' >>"$TMPDIR/wine.log" 2>&1 &
        APP_PID=$!
        wait_window "Quorvia Information" 254 138 >/dev/null || fail "no disc request without the disc"
        if [ "$round" = enter ]; then
            expect_accessible "Quorvia Information" 254 138 "name|Quorvia Information
description|Please ensure that the 'Quorvia' CD is inside the CD-ROM drive.
button|Ok|focusable||82,101,89,28" "the disc request"
            expect_keys "Quorvia Information" 254 138 "-|Ok|Ok|gone" none tab shift+tab enter
        else
            expect_keys "Quorvia Information" 254 138 "gone" escape
        fi
        wait_exit_status
        [ "$EXIT_STATUS" = 0 ] || fail "$round on the disc request ended the program with status $EXIT_STATUS"
        wine_settle
    done
    echo "PASS: the disc request: Tab focuses OK, Enter on it ends with 0, and so does Escape"
}

# The program at 192 dpi: a script of its own, with its own prefix (the
# density is a setting of the prefix) and a display large enough for it.
scenario_scaled() {
    bash tests/e2e/wine-e2e-scaled.sh "$WINBUILD" "$LINBUILD"
}

passed=0 failed=0
for scenario in ${WINE_E2E_SCENARIOS:-start_exit session view_copy scaled keyboard keyboard_notice keyboard_no_disc}; do
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
    cp "$OUT/control.exe" "$SYSTEM_CONTROL"
done
timeout 60 wineserver -k >/dev/null 2>&1
echo "Wine end-to-end: $passed scenarios passed, $failed failed"
[ "$failed" -eq 0 ]
