# Helpers for tests that run the real program under Xvfb (no window manager),
# driven with xdotool. Source this file; call x11_start first.

# The name the X window of a window without a title carries: Qt gives it the
# program's name; a caller whose program leaves it empty (Wine) sets it to "".
UNTITLED=${UNTITLED-Quorvia}

# XVFB_SCREEN, when set, is the screen's size and depth (default 1024x768x24).
x11_start() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
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

x11_stop() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${WORK:-}" ] && rm -rf "$WORK"
    true
}

fail() {
    echo "FAIL: $*" >&2
    local shot
    shot="${TMPDIR:-/tmp}/quorvia-e2e-failure-$$.png"
    import -window root "$shot" 2>/dev/null && echo "screen at the failure: $shot" >&2
    xwininfo -root -tree 2>/dev/null | grep -i quorvia >&2
    exit 1
}

# Waits for a visible window of the program with the given exact title and
# size; prints its id. (A window without a title of its own carries the
# program's name.)
wait_window() {
    wait_window_where has_title_and_size "$1" "$2" "$3"
}

has_title_and_size() {
    local title=$1 width=$2 height=$3 id=$4 w h
    read -r w h < <(xwininfo -id "$id" | awk '/Width:/{w=$2}/Height:/{h=$2}END{print w, h}')
    [ "$w" = "$width" ] && [ "$h" = "$height" ] && [ "$(xdotool getwindowname "$id")" = "$title" ]
}

# Waits for a visible window of the program for which the command given,
# with the window's id added, succeeds; prints its id.
wait_window_where() {
    local id
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
            if "$@" "$id"; then
                sleep 0.2  # let the program finish showing it before it is used
                echo "$id"
                return 0
            fi
        done
        sleep 0.05
    done
    return 1
}

# Prints the absolute "x y" of a window's top left corner.
window_pos() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4}/Absolute upper-left Y/{y=$4}END{print x, y}'
}

# Clicks at a point given relative to a window.
click_in() {
    local id=$1 x=$2 y=$3 wx wy
    read -r wx wy < <(window_pos "$id")
    xdotool mousemove --sync $((wx + x)) $((wy + y))
    sleep 0.1
    xdotool click 1
}

# Waits for the program to end; prints its exit status.
wait_exit() {
    for _ in $(seq 200); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID"
            echo $?
            APP_PID=
            return 0
        fi
        sleep 0.05
    done
    echo "still running"
}

# Waits for the program to end and sets EXIT_STATUS to its exit status (or
# "still running"). Called in the shell that started the program, never in a
# $(...) subshell, which cannot always collect the status (under Wine it never
# can).
wait_exit_status() {
    for _ in $(seq 200); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$APP_PID" 2>/dev/null; then
        EXIT_STATUS="still running"
        return 0
    fi
    wait "$APP_PID"
    EXIT_STATUS=$?
    APP_PID=
}

# Moves the pointer to a point given relative to a window, without clicking.
move_in() {
    local id=$1 x=$2 y=$3 wx wy
    read -r wx wy < <(window_pos "$id")
    xdotool mousemove --sync $((wx + x)) $((wy + y))
    sleep 0.2
}

# Saves the part of the screen at a window-relative rectangle as a PNG.
grab() {
    local id=$1 x=$2 y=$3 w=$4 h=$5 out=$6 wx wy
    read -r wx wy < <(window_pos "$id")
    import -window root -crop "${w}x${h}+$((wx + x))+$((wy + y))" +repage "$out"
}

# Prints how many pixels of two pictures of one size differ by more than a
# little (the screen's colour depth rounds the artwork's colours).
pixels_differing() {
    compare -metric AE -fuzz 6% "$1" "$2" null: 2>&1 | awk '{print int($1)}'
}

# Prints the share (0 to 1) of a picture's pixels that are the panes' green
# text, as a whole number of thousandths.
green_share() {
    convert "$1" -fx 'g > 0.4 && r < 0.4 && b < 0.4' -format '%[fx:int(1000 * mean)]' info:
}

# Prints the share of a picture's pixels that are yellow (the status line's
# text), in thousandths.
yellow_share() {
    convert "$1" -fx 'r > 0.6 && g > 0.6 && b < 0.4' -format '%[fx:int(1000 * mean)]' info:
}

# Waits until a file holds at least n lines.
wait_lines() {
    local file=$1 n=$2
    for _ in $(seq 200); do
        [ -f "$file" ] && [ "$(wc -l <"$file")" -ge "$n" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits until no visible window has the given exact title.
# Waits for the N-th start that the demo game wrote to $WORK/record.txt and
# compares it with EXPECTED ("PROGRAM<tab>COMMAND LINE<tab>FOLDER"); WHAT
# names the step in the failure.
expect_record() {
    local n=$1 expected=$2 what=$3 got
    wait_lines "$WORK/record.txt" "$n" || fail "$what did not start the game"
    got=$(sed -n "${n}p" "$WORK/record.txt")
    [ "$got" = "$expected" ] || fail "$what: the game reported '$got', not '$expected'"
}

wait_no_window_named() {
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.05
    done
    return 1
}

# A fixture disc and hard disk under $WORK: D/ with the marker and the games
# given as rows "CATEGORY<TAB>name<TAB>folder<TAB>program<TAB>parameters<TAB>flag"
# on standard input, each folder with a description file and a copy of the
# demo game under its program name, all read-only as on a disc; C/QUORVIA
# with a copy of the menu, the sounds and the catalogues.
# FIXTURE_PROGRAM_FOLDER and FIXTURE_MENU_NAME, when set, name another
# program folder and file name for the menu (the Windows program's folder
# on Wine's C: drive).
# Usage: make_fixture MENU DEMO_GAME CATALOGUE_TOOL SOUNDS_FOLDER < rows
make_fixture() {
    local menu=$1 game=$2 tool=$3 sounds=$4 cat name folder program params flag
    local app=${FIXTURE_PROGRAM_FOLDER:-$WORK/C/QUORVIA}
    mkdir -p "$WORK/D" "$app"
    touch "$WORK/D/PLAXOID.QAR"
    cp "$menu" "$app/${FIXTURE_MENU_NAME:-quorvia}"
    cp "$sounds/BUTCLICK.WAV" "$sounds/ROLLOVER.WAV" "$app/"
    if [ -f "$(dirname "$menu")/libquorvia_sound.so" ]; then
        cp "$(dirname "$menu")/libquorvia_sound.so" "$app/"
    fi
    while IFS=$'\t' read -r cat name folder program params flag; do
        mkdir -p "$WORK/D/$cat/$folder"
        printf '%s\r\nA game of the test disc.\r\n' "$name" >"$WORK/D/$cat/$folder/QAR.TXT"
        cp "$game" "$WORK/D/$cat/$folder/$program"
        printf '%s\t%s\t%s\t%s\t%s\n' "$name" "$folder" "$program" "$params" "$flag" >>"$WORK/$cat.tsv"
    done
    local n=1 key
    for key in 3D ACTION ADV ARCADE BOARD CARDS EDUCATE STRATEGY; do
        touch "$WORK/$key.tsv"
        "$tool" build "$app/QAR$n.PAL" <"$WORK/$key.tsv" >/dev/null 2>&1 || fail "catalogue $key"
        n=$((n + 1))
    done
    find "$WORK/D" -type f -exec chmod a-w {} +
}

# Prints a folder with its symbolic links resolved, as a started program
# reports its current folder.
real_dir() {
    (cd "$1" && pwd -P)
}

# True when the program shows a window of the given size.
has_window() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        xwininfo -id "$id" | awk -v w="$1" -v h="$2" '/Width:/{a=$2}/Height:/{b=$2}END{exit !(a == w && b == h)}' && return 0
    done
    return 1
}

# Waits for a visible window of the program with the given exact title, of
# any size; prints its id.
wait_window_named() {
    wait_window_where has_title "$1"
}

has_title() {
    [ "$(xdotool getwindowname "$2")" = "$1" ]
}

# Lists the board category, selects its first game and clicks Run; for a
# game flagged for the hard disk, waits for the notice and prints its id.
run_first_board_game() {
    click_in "$main" 178 395
    sleep 0.3
    click_in "$main" 220 96
    sleep 0.3
    click_in "$main" 70 141
    wait_window "$UNTITLED" 430 240
}

# Exit on the main screen, then Exit in the exit dialog: the program must end
# with status 0. WHEN says in what state, for the failure.
exit_through_dialog() {
    local main=$1 when=$2 dialog
    click_in "$main" 70 322
    dialog=$(wait_window "$UNTITLED" 430 240) || fail "no exit dialog $when"
    click_in "$dialog" 295 191
    wait_exit_status
    [ "$EXIT_STATUS" = 0 ] || fail "Exit $when ended the program with status $EXIT_STATUS"
}

# Starts the program from the fixture's program folder, C: and D: on the
# fixture, with the demo game writing each start to $WORK/record.txt and
# ending by itself; sets APP_PID and main (the main screen's window).
start_menu() {
    export QUORVIA_DEMO_RECORD=$WORK/record.txt QUORVIA_DEMO_EXIT_AFTER_MS=800
    QUORVIA_DRIVES="C=$WORK/C;D=$WORK/D" "$WORK/C/QUORVIA/quorvia" &
    APP_PID=$!
    main=$(wait_window "Quorvia" 640 480) || fail "no main screen"
}

# Starts openbox with its stock configuration (not one of the user running
# the tests) on the display of x11_start, for scenarios that need a window
# manager to hand the keyboard focus from window to window; it goes with the
# X server. Call after x11_start, with WORK set.
start_openbox() {
    command -v openbox >/dev/null || fail "openbox is not installed (scripts/deps.sh test)"
    mkdir -p "$WORK/openbox-config"
    XDG_CONFIG_HOME=$WORK/openbox-config openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    fail "openbox did not start: $(cat "$WORK/openbox.log")"
}
