#!/usr/bin/env bash
# The disc image of scripts/make-disc.sh read as a real disc (tests/e2e/
# disclib.sh: fuseiso, or osirrox where /dev/fuse is missing) and run by the
# Linux menu under Xvfb: the disc as D:, the program folder C:\QUORVIA with
# the Linux program and the disc's catalogues and sounds. The disc's games
# are the Windows demo game, which the menu starts through wine.
# Usage: tests/e2e/disc-linux.sh [IMAGE [LINUX_BUILD [WINDOWS_BUILD]]]
#   (defaults build/quorvia-sample.iso, build, build-win; the games run in
#   the Wine prefix $WINEPREFIX, by default WINDOWS_BUILD/disc-wineprefix,
#   made when missing)
set -u
cd "$(dirname "$0")/../.."
IMAGE=$(realpath "${1:-build/quorvia-sample.iso}")
LINBUILD=$(realpath "${2:-build}")
WINBUILD=$(realpath "${3:-build-win}")
MENU=$LINBUILD/quorvia
TOOL=$LINBUILD/quorvia-catalogue
for f in "$IMAGE" "$MENU" "$TOOL" "$WINBUILD/demo/quorvia_demo_game.exe"; do
    [ -f "$f" ] || { echo "FAILED: disc tests (Linux): $f is missing" >&2; exit 1; }
done
command -v wine >/dev/null || { echo "FAILED: disc tests (Linux): wine is not installed" >&2; exit 1; }

. tests/e2e/x11lib.sh
. tests/e2e/disclib.sh
WORK=$(mktemp -d)
# Screens at failures stay in the build folder.
export TMPDIR=$LINBUILD/disc-e2e
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"
export WINEPREFIX=${WINEPREFIX:-$WINBUILD/disc-wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset QUORVIA_DRIVES QUORVIA_TEST
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== disc tests (Linux): creating the Wine prefix for the games"
    (unset DISPLAY; timeout 600 wine wineboot -i >/dev/null 2>&1) || { echo "FAILED: wineboot" >&2; exit 1; }
fi
timeout 60 wineserver -k >/dev/null 2>&1
timeout 60 wineserver -w >/dev/null 2>&1

D=$WORK/D
cleanup() {
    [ -n "${APP_PID:-}" ] && kill "$APP_PID" 2>/dev/null
    timeout 60 wineserver -k >/dev/null 2>&1
    timeout 60 wineserver -w >/dev/null 2>&1
    disc_close "$D"
    disc_close "$WORK/extracted"
    x11_stop
}
x11_start
trap cleanup EXIT

disc_open "$IMAGE" "$D"
reader=$DISC_READER
echo "== disc tests (Linux): $IMAGE read with $reader"

# --- The image as the reader shows it --------------------------------------
label=$(xorriso -indev "$IMAGE" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: *//p')
[ "$label" = QUORVIA ] || fail "the image's label is '$label', not QUORVIA"
for f in PLAXOID.QAR quorvia.exe QAR1.PAL QAR2.PAL QAR3.PAL QAR4.PAL QAR5.PAL QAR6.PAL QAR7.PAL QAR8.PAL \
    BUTCLICK.WAV ROLLOVER.WAV SETUP.EXE AUTORUN.INF; do
    [ -f "$D/$f" ] || fail "$f is not at the disc's root"
done
for f in quorvia.exe SETUP.EXE BOARD/CHESS/CHESS.EXE; do
    [ "$(head -c 2 "$D/$f")" = MZ ] || fail "$f on the disc is not a Windows program"
done
cmp -s "$D/BOARD/CHESS/CHESS.EXE" "$WINBUILD/demo/quorvia_demo_game.exe" || fail "the disc's games are not the Windows demo game"
writable=$(find "$D" -perm /222 | head -3)
[ -z "$writable" ] || fail "writable on the disc: $writable"
autorun=$(tr -d '\r' <"$D/AUTORUN.INF")
for line in '[autorun]' open=SETUP.EXE icon=quorvia.exe,0 label=QUORVIA; do
    grep -qxF "$line" <<<"$autorun" || fail "AUTORUN.INF lacks the line $line"
done
# The disc's program folder is its root: its catalogues match its games.
# (The sample's Gravity Runner has no description, on purpose.)
report=$("$TOOL" check "$D" "$D" 2>&1)
[ -z "$(grep -v -e 'Gravity Runner' -e '^1 problem(s) found$' <<<"$report")" ] ||
    fail "the catalogue check of the disc: $report"
echo "PASS: label QUORVIA, the program's files and AUTORUN.INF at the root, the games the Windows demo game, nothing writable"

# The other reader sees the same files with the same modes.
if [ "$reader" = fuseiso ]; then
    QUORVIA_DISC_READER=osirrox disc_open "$IMAGE" "$WORK/extracted"
    diff <(disc_listing "$D") <(disc_listing "$WORK/extracted") >"$WORK/readers.diff" ||
        fail "osirrox and fuseiso read the image differently: $(head -5 "$WORK/readers.diff")"
    diff -r "$D" "$WORK/extracted" >/dev/null || fail "osirrox extracted other contents than fuseiso shows"
    disc_close "$WORK/extracted"
    echo "PASS: osirrox extracts the same files with the same modes"
fi

# --- The Linux menu on the disc -------------------------------------------
mkdir -p "$WORK/C/QUORVIA"
cp "$MENU" "$WORK/C/QUORVIA/quorvia"
[ -f "$LINBUILD/libquorvia_sound.so" ] && cp "$LINBUILD/libquorvia_sound.so" "$WORK/C/QUORVIA/"
cp "$D"/QAR?.PAL "$D"/BUTCLICK.WAV "$D"/ROLLOVER.WAV "$WORK/C/QUORVIA/"
chmod u+w "$WORK/C/QUORVIA"/*
start_menu
echo "PASS: the menu starts with the disc in D:"

grab "$main" 167 90 195 242 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -eq 0 ] || fail "the list is not empty at start"
click_in "$main" 178 395
sleep 0.5
grab "$main" 167 90 195 242 "$WORK/list.png"
[ "$(green_share "$WORK/list.png")" -gt 3 ] || fail "no entries in the list after the board category's click"
click_in "$main" 220 96
sleep 0.5
grab "$main" 372 90 196 242 "$WORK/desc.png"
[ "$(green_share "$WORK/desc.png")" -gt 3 ] || fail "no description after the selection"
echo "PASS: the board category lists its games and the first shows its description"

# Grandmaster Chess, from the disc, through wine.
click_in "$main" 70 141
wait_lines "$WORK/record.txt" 1 || fail "Run did not start the game through wine"
record_fields 1
[ "$program" = CHESS.EXE ] && [ "$args" = -w ] || fail "Run started '$program' with '$args', not CHESS.EXE with -w"
[[ ${folder^^} == *'\D\BOARD\CHESS' ]] || fail "the game ran in $folder, not in its folder on the disc"
wait_game_closed CHESS.EXE
echo "PASS: Run starts the game from the disc through wine, in its folder, with its parameters"

# Iron Frontier must run from the hard disk: the notice copies it from the
# read-only disc and starts the copy.
click_in "$main" 373 393
sleep 0.5
click_in "$main" 220 96
sleep 0.5
click_in "$main" 70 141
notice=$(wait_window "$UNTITLED" 430 240) || fail "no hard-disk notice for a game flagged 1"
click_in "$notice" 129 191
wait_lines "$WORK/record.txt" 2 || fail "the notice's OK did not start the copy"
record_fields 2
[ "$program" = FRONT.EXE ] || fail "the notice started $program, not FRONT.EXE"
[[ ${folder^^} == *'\C\QUORVIA\STRATEGY\FRONTIER' ]] || fail "the copy ran in $folder, not in C:\\QUORVIA\\STRATEGY\\FRONTIER"
wait_game_closed FRONT.EXE
copy=$WORK/C/QUORVIA/STRATEGY/FRONTIER
for f in QAR.TXT FRONT.EXE; do
    cmp -s "$D/STRATEGY/FRONTIER/$f" "$copy/$f" || fail "$f is not in the copy"
    [ -w "$copy/$f" ] && [ "$(stat -c %A "$copy/$f" | cut -c3)" = w ] || fail "the copy's $f is not writable"
    [ "$(stat -c %A "$D/STRATEGY/FRONTIER/$f" | cut -c3)" = - ] || fail "the disc's $f became writable"
done
echo "PASS: the notice's copy of a flagged game lands in the program folder, its files writable, and starts"

exit_through_dialog "$main" "at the end"
echo "PASS: Exit ends the menu with 0"
echo "disc tests (Linux): passed ($reader)"
