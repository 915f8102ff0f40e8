#!/usr/bin/env bash
# What a screen reader on the Linux desktop gets: the real program under
# Xvfb and openbox, with an accessibility bus of its own, read over AT-SPI
# (D-Bus) as Orca reads it: the main screen a frame holding the thirteen
# buttons as push buttons with their words and hints, the focused one
# focused, the current category selected, and the exit dialog with its
# paragraphs as description.
# Usage: test_x11_atspi.sh MENU DEMO_GAME CATALOGUE_TOOL BUILD_FOLDER
set -u
# A session bus of the test's own, which the accessibility bus hangs on.
if [ -z "${QUORVIA_TEST_SESSION_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is missing (scripts/deps.sh test)" >&2; exit 1; }
    QUORVIA_TEST_SESSION_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v 'Failed to set fd limit' >&2)
fi
MENU=$1 GAME=$2 TOOL=$3 BUILD=$4
. "$(dirname "$0")/x11lib.sh"
LAUNCHER=/usr/libexec/at-spi-bus-launcher
[ -x "$LAUNCHER" ] || { echo "FAIL: $LAUNCHER is missing (scripts/deps.sh test)" >&2; exit 1; }
x11_start
WORK=$(mktemp -d)
start_openbox
make_fixture "$MENU" "$GAME" "$TOOL" "$BUILD" <<'ROWS'
ARCADE	Zapper	ZAPPER	ZAP.EXE		0
ROWS
"$LAUNCHER" --launch-immediately >/dev/null 2>&1 &
BUS_PID=$!
trap 'kill "$BUS_PID" 2>/dev/null; x11_stop' EXIT
A11Y=
for _ in $(seq 50); do
    A11Y=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus --method org.a11y.Bus.GetAddress 2>/dev/null |
        sed -n "s/^('\(.*\)',)$/\1/p")
    [ -n "$A11Y" ] && break
    sleep 0.1
done
[ -n "$A11Y" ] || fail "no accessibility bus"
# Qt's bridge goes on when the desktop asks for it; here it is told to.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
passed=0
pass() {
    echo "PASS: $*"
    passed=$((passed + 1))
}
keys() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# One AT-SPI call on the program's accessible objects.
call() {
    gdbus call --address "$A11Y" --dest "$APP_BUS" --object-path "$1" --method "$2" "${@:3}"
}
text_of() { call "$1" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible "$2" | sed -n "s/^(<'\(.*\)'>,)$/\1/p;s/^(<\"\(.*\)\">,)$/\1/p"; }
role_of() { call "$1" org.a11y.atspi.Accessible.GetRoleName | sed -n "s/^('\(.*\)',)$/\1/p"; }
children_of() { call "$1" org.a11y.atspi.Accessible.GetChildren | grep -o "'/org/a11y/atspi/accessible/[^']*'" | tr -d "'"; }
# Whether an object is in an AT-SPI state (12 focused, 23 selected).
in_state() {
    local low high bit=$2
    read -r low high < <(call "$1" org.a11y.atspi.Accessible.GetState | sed 's/uint32//g' | tr -dc '0-9 ,' | tr ',' ' ')
    if [ "$bit" -lt 32 ]; then (((low >> bit) & 1)); else (((high >> (bit - 32)) & 1)); fi
}
# The program's top-level object whose role and name are given.
window_object() {
    local o
    for o in $(children_of /org/a11y/atspi/accessible/root); do
        [ "$(role_of "$o")" = "$1" ] && [ "$(text_of "$o" Name)" = "$2" ] && { echo "$o"; return 0; }
    done
    return 1
}
# The push button of a window by its name.
button_named() {
    local o
    for o in $(children_of "$1"); do
        [ "$(role_of "$o")" = "push button" ] && [ "$(text_of "$o" Name)" = "$2" ] && { echo "$o"; return 0; }
    done
    return 1
}

start_menu
APP_BUS=
for _ in $(seq 50); do
    for bus in $(gdbus call --address "$A11Y" --dest org.a11y.atspi.Registry --object-path /org/a11y/atspi/accessible/root \
        --method org.a11y.atspi.Accessible.GetChildren | grep -o "':[0-9.]*'" | tr -d "'"); do
        if gdbus call --address "$A11Y" --dest "$bus" --object-path /org/a11y/atspi/accessible/root \
            --method org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name 2>/dev/null | grep -q Quorvia; then
            APP_BUS=$bus
        fi
    done
    [ -n "$APP_BUS" ] && break
    sleep 0.1
done
[ -n "$APP_BUS" ] || fail "the program did not register with the accessibility bus"

frame=$(window_object frame Quorvia) || fail "no frame named Quorvia"
buttons=()
for o in $(children_of "$frame"); do
    [ "$(role_of "$o")" = "push button" ] && buttons+=("$(text_of "$o" Name)")
done
expected="Help|Run|Copy to Hard Drive|View|Exit|arcade|board|education|strategy|cards|action|adventure|3D"
[ "$(IFS='|'; echo "${buttons[*]}")" = "$expected" ] || fail "the main screen's push buttons are: ${buttons[*]}"
copy=$(button_named "$frame" "Copy to Hard Drive")
[ "$(text_of "$copy" Description)" = "Click here to copy the selected game to your hard drive." ] ||
    fail "Copy's description is '$(text_of "$copy" Description)'"
pass "the main screen is a frame with its thirteen push buttons, named by their words, the hints as descriptions"

# Tab twice from the list: Help has the focus; Enter on arcade (five more
# Tabs and one) makes it selected.
help=$(button_named "$frame" Help)
keys Tab Tab
in_state "$help" 12 || fail "Help, focused by Tab, is not focused for the reader"
arcade=$(button_named "$frame" arcade)
in_state "$arcade" 23 && fail "arcade is selected before it is chosen"
keys Tab Tab Tab Tab Tab Return
in_state "$arcade" 12 || fail "arcade, focused by Tab, is not focused for the reader"
in_state "$arcade" 23 || fail "the current category is not selected for the reader"
in_state "$help" 12 && fail "Help is still focused for the reader"
pass "the focused button is focused and the current category selected for the reader"

# The exit dialog (Exit, one Shift+Tab up, by Enter): its paragraphs as
# description, its two push buttons; then Exit ends the program.
keys shift+Tab Return
wait_window "$UNTITLED" 430 240 >/dev/null || fail "no exit dialog"
dialog=
for _ in $(seq 50); do
    dialog=$(window_object dialog "") && break
    sleep 0.1
done
[ -n "$dialog" ] || fail "the exit dialog is not on the accessibility bus"
description=$(text_of "$dialog" Description)
case "$description" in
"Games copied to your hard drive are removed through"*"The Exit button leaves the program.") ;;
*) fail "the exit dialog's description is '$description'" ;;
esac
button_named "$dialog" Uninstall >/dev/null && button_named "$dialog" Exit >/dev/null ||
    fail "the exit dialog's buttons are not push buttons named Uninstall and Exit"
pass "the exit dialog reads its paragraphs and its two push buttons"
keys Tab Tab Return
wait_exit_status
[ "$EXIT_STATUS" = 0 ] || fail "Exit ended the program with status $EXIT_STATUS"
echo "$passed passed, 0 failed"
