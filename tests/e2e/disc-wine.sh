#!/usr/bin/env bash
# The disc image of scripts/make-disc.sh as Wine's CD-ROM drive D: (read by
# fuseiso, or extracted by osirrox where /dev/fuse is missing), under Xvfb:
# SETUP.EXE /S installs the menu for the current user and registers it,
# SETUP.EXE again starts the installed menu, which runs a game from the disc
# and makes its hard-disk copy below the installed folder, and the
# uninstaller, asked interactively, names that copy and keeps everything on
# No; with /S it removes the program folder, the copy, the shortcut and the
# key, and nothing outside the program folder.
# Every Wine run ends (wineserver -w) before its results are checked. The
# prefix, WINDOWS_BUILD/disc-wineprefix, is made anew for each run.
# Usage: tests/e2e/disc-wine.sh [IMAGE [WINDOWS_BUILD]]
#   (defaults build/quorvia-sample.iso and build-win)
set -u
cd "$(dirname "$0")/../.."
IMAGE=$(realpath "${1:-build/quorvia-sample.iso}")
WINBUILD=$(realpath "${2:-build-win}")
[ -f "$IMAGE" ] || { echo "FAILED: disc tests (Wine): $IMAGE is missing" >&2; exit 1; }
command -v wine >/dev/null || { echo "FAILED: disc tests (Wine): wine is not installed" >&2; exit 1; }

UNTITLED=
. tests/e2e/x11lib.sh
. tests/e2e/disclib.sh
WORK=$(mktemp -d)
export TMPDIR=$WINBUILD/disc-e2e
rm -rf "$TMPDIR"
mkdir -p "$TMPDIR"

# No offer to install Mono or Gecko, no desktop entries written into the
# host's home, no console noise.
export WINEPREFIX=$WINBUILD/disc-wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset QUORVIA_DRIVES QUORVIA_TEST DISPLAY
settle() { timeout 120 wineserver -w >/dev/null 2>&1; }
timeout 60 wineserver -k >/dev/null 2>&1
settle
rm -rf "$WINEPREFIX"
echo "== disc tests (Wine): creating the Wine prefix"
timeout 600 wine wineboot -i >/dev/null 2>&1 || { echo "FAILED: wineboot" >&2; exit 1; }
settle

CD=$WORK/cdrom
cleanup() {
    timeout 60 wineserver -k >/dev/null 2>&1
    settle
    rm -f "$WINEPREFIX/dosdevices/d:"
    disc_close "$CD"
    x11_stop
}
trap cleanup EXIT
disc_open "$IMAGE" "$CD"
echo "== disc tests (Wine): $IMAGE read with $DISC_READER as drive D:"
# The drive's type is read when a session starts: the next one sees it.
ln -sfn "$CD" "$WINEPREFIX/dosdevices/d:"
timeout 120 wine reg add 'HKLM\Software\Wine\Drives' /v d: /t REG_SZ /d cdrom /f >/dev/null 2>&1 ||
    fail "typing D: as a CD-ROM drive"
settle
x11_start
trap cleanup EXIT

DRIVE_C=$WINEPREFIX/drive_c
USER_DIR=$DRIVE_C/users/$(id -un)
INSTALLED=$USER_DIR/AppData/Local/Programs/Quorvia
INSTALLED_DOS='C:\users\'"$(id -un)"'\AppData\Local\Programs\Quorvia'
SHORTCUT="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvia.lnk"
KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvia'
DIALOG_TOOL=$TMPDIR/wine_dialog.exe
x86_64-w64-mingw32-g++ -std=c++20 -O2 -static tests/e2e/wine_dialog.cpp -o "$DIALOG_TOOL" ||
    fail "building the dialog tool"

# Runs a Windows program to its end, noting every visible X window that shows
# meanwhile (the screen's root window aside) in $TMPDIR/windows.txt; sets
# RUN_STATUS.
run_watching_windows() {
    local root pid
    root=$(xwininfo -root | awk '/Window id:/{print $4}')
    : >"$TMPDIR/windows.txt"
    note_windows() {
        local id
        for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
            [ "$(printf '0x%x' "$id")" = "$root" ] || echo "$id" >>"$TMPDIR/windows.txt"
        done
    }
    wine "$@" >>"$TMPDIR/wine.log" 2>&1 &
    pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        note_windows
        sleep 0.05
    done
    wait "$pid"
    RUN_STATUS=$?
    settle
    note_windows
}

# The value of one entry of the uninstall key, or nothing.
key_value() {
    wine reg query "$KEY" /v "$1" 2>/dev/null | tr -d '\r' | awk -v v="$1" '$1 == v {sub(/^ *[^ ]+ +[^ ]+ +/, ""); print}'
}

# "PATH SIZE MTIME" of everything below the installed folder.
installed_listing() {
    (cd "$INSTALLED" && find . -printf '%p %s %T@\n' | sort)
}

# The registry's key names (no values, no time stamps), to see what a
# program added; without the keys that Wine's own audio system and drivers
# write when a program first plays a sound.
registry_keys() {
    settle
    grep -h '^\[' "$WINEPREFIX/user.reg" "$WINEPREFIX/system.reg" | sed 's/\] [0-9]*$/]/' |
        grep -v -e '^\[Software\\\\Wine\\\\' -e '\\\\MMDevices\\\\' | sort
}

# Waits for the main screen of the menu that SETUP.EXE started (not a child
# of this shell) and checks that it is the installed program; sets main to
# the window and APP_PID to the menu's process.
wait_installed_menu() {
    local id cmdline
    for _ in $(seq 300); do
        for id in $(xdotool search --onlyvisible --name '^Quorvia$' 2>/dev/null); do
            if has_title_and_size Quorvia 640 480 "$id"; then
                sleep 0.3
                APP_PID=$(xdotool getwindowpid "$id")
                cmdline=$(tr '\0' ' ' <"/proc/$APP_PID/cmdline")
                grep -qiF 'Programs\Quorvia\quorvia.exe' <<<"$cmdline" ||
                    fail "the main screen is not the installed menu's: $cmdline"
                main=$id
                return 0
            fi
        done
        sleep 0.05
    done
    return 1
}

# Exit on the main screen, Exit in the exit dialog; waits for the menu's end.
exit_installed_menu() {
    local dialog
    click_in "$main" 70 322
    dialog=$(wait_window "$UNTITLED" 430 240) || fail "no exit dialog"
    click_in "$dialog" 295 191
    for _ in $(seq 200); do
        kill -0 "$APP_PID" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$APP_PID" 2>/dev/null && fail "Exit did not end the menu"
    APP_PID=
    settle
}

# Waits for the copy of the uninstaller that does the work (in the temporary
# folder, started by Uninstall.exe, which ends at once) to end. wineserver -w
# cannot be used while the menu runs: it would wait for the menu too.
wait_uninstaller_copy() {
    for _ in $(seq 40); do
        pgrep -f 'Un\.exe .*_\?=' >/dev/null && break
        sleep 0.05
    done
    for _ in $(seq 600); do
        pgrep -f 'Un\.exe .*_\?=' >/dev/null || break
        sleep 0.1
    done
}

# --- Silent setup ------------------------------------------------------------
# Away from the disc's files, the setup installs and registers nothing, and
# says so in its exit status.
mkdir -p "$DRIVE_C/LONE"
cp "$CD/SETUP.EXE" "$CD/quorvia.exe" "$DRIVE_C/LONE/"
run_watching_windows 'C:\LONE\SETUP.EXE' /S
[ "$RUN_STATUS" != 0 ] || fail "SETUP.EXE /S without the catalogues beside it ended with status 0"
[ ! -e "$INSTALLED/Uninstall.exe" ] && [ ! -e "$SHORTCUT" ] && [ -z "$(key_value DisplayName)" ] ||
    fail "SETUP.EXE /S without the catalogues beside it installed or registered Quorvia"
rm -rf "$DRIVE_C/LONE" "$INSTALLED"
echo "PASS: SETUP.EXE /S without the disc's files beside it fails (status $RUN_STATUS) and registers nothing"

run_watching_windows 'D:\SETUP.EXE' /S
[ "$RUN_STATUS" = 0 ] || fail "SETUP.EXE /S ended with status $RUN_STATUS"
[ ! -s "$TMPDIR/windows.txt" ] || fail "SETUP.EXE /S showed windows: $(sort -u "$TMPDIR/windows.txt" | xargs -r -n1 xdotool getwindowname)"
for f in quorvia.exe QAR1.PAL QAR2.PAL QAR3.PAL QAR4.PAL QAR5.PAL QAR6.PAL QAR7.PAL QAR8.PAL BUTCLICK.WAV ROLLOVER.WAV; do
    cmp -s "$CD/$f" "$INSTALLED/$f" || fail "$f is not installed as it is on the disc"
    [ "$(stat -c %A "$INSTALLED/$f" | cut -c3)" = w ] || fail "the installed $f is read-only"
done
[ -f "$INSTALLED/Uninstall.exe" ] || fail "no Uninstall.exe in the program folder"
[ -f "$SHORTCUT" ] || fail "no Quorvia.lnk in the Start menu"
[ "$(key_value DisplayName)" = Quorvia ] || fail "the uninstall key has no display name Quorvia"
[ "$(key_value UninstallString)" = "\"$INSTALLED_DOS\\Uninstall.exe\"" ] ||
    fail "the uninstall command is '$(key_value UninstallString)'"
[ "$(key_value QuietUninstallString)" = "\"$INSTALLED_DOS\\Uninstall.exe\" /S" ] ||
    fail "the silent uninstall command is '$(key_value QuietUninstallString)'"
[ "$(key_value DisplayIcon)" = "\"$INSTALLED_DOS\\quorvia.exe\",0" ] || fail "the icon is '$(key_value DisplayIcon)'"
version=$(sed -n 's/^project(Quorvia VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(key_value DisplayVersion)" = "$version" ] || fail "the version is '$(key_value DisplayVersion)', not $version"
size=$(key_value EstimatedSize)
size_kb=$(du -sk "$INSTALLED" | cut -f1)
[[ $size == 0x* ]] && [ $((size)) -ge $((size_kb * 9 / 10)) ] && [ $((size)) -le $((size_kb * 11 / 10 + 8)) ] ||
    fail "the size is '$size', the folder holds $size_kb KB"
wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q '|||Quorvia$' || fail "Wine's program list does not show Quorvia"
echo "PASS: SETUP.EXE /S installs into $INSTALLED_DOS without a window: the files, Uninstall.exe, Quorvia.lnk and the uninstall key"

before=$(installed_listing)
run_watching_windows 'D:\SETUP.EXE' /S
[ "$RUN_STATUS" = 0 ] || fail "SETUP.EXE /S over the same version ended with status $RUN_STATUS"
[ ! -s "$TMPDIR/windows.txt" ] || fail "SETUP.EXE /S over the same version showed a window or started the menu"
[ "$(installed_listing)" = "$before" ] || fail "SETUP.EXE /S over the same version changed the program folder"
echo "PASS: SETUP.EXE /S over the same version installs nothing and starts nothing"

# An older version is replaced where it lies.
wine reg add "$KEY" /v DisplayVersion /t REG_SZ /d 0.9 /f >/dev/null 2>&1
rm -f "$INSTALLED/ROLLOVER.WAV"
settle
run_watching_windows 'D:\SETUP.EXE' /S
[ "$RUN_STATUS" = 0 ] || fail "SETUP.EXE /S over an older version ended with status $RUN_STATUS"
[ "$(key_value DisplayVersion)" = "$version" ] || fail "SETUP.EXE /S over version 0.9 left version '$(key_value DisplayVersion)'"
cmp -s "$CD/ROLLOVER.WAV" "$INSTALLED/ROLLOVER.WAV" || fail "SETUP.EXE /S over an older version did not install its files"
echo "PASS: SETUP.EXE /S over an older version installs again"

# --- The installed menu, started by SETUP.EXE --------------------------------
keys_before=$(registry_keys)
export QUORVIA_DEMO_RECORD=$WORK/record.txt QUORVIA_DEMO_EXIT_AFTER_MS=800
wine 'D:\SETUP.EXE' >>"$TMPDIR/wine.log" 2>&1 &
SETUP_PID=$!
wait_installed_menu || fail "SETUP.EXE over the same version did not start the installed menu's main screen"
wait "$SETUP_PID" || fail "SETUP.EXE that starts the menu ended with status $?"
echo "PASS: SETUP.EXE over the same version starts the installed menu, which finds the disc"

click_in "$main" 178 395
sleep 0.5
click_in "$main" 220 96
sleep 0.5
click_in "$main" 70 141
expect_record 1 "$(printf 'CHESS.EXE\t-w\tD:\\BOARD\\CHESS')" "Run"
wait_game_closed CHESS.EXE
echo "PASS: the installed menu runs a game from the disc"

click_in "$main" 373 393
sleep 0.5
click_in "$main" 220 96
sleep 0.5
click_in "$main" 70 141
notice=$(wait_window "$UNTITLED" 430 240) || fail "no hard-disk notice for a game flagged 1"
click_in "$notice" 129 191
expect_record 2 "$(printf 'FRONT.EXE\t\t%s\\STRATEGY\\FRONTIER' "$INSTALLED_DOS")" "OK on the notice"
wait_game_closed FRONT.EXE
for f in QAR.TXT FRONT.EXE; do
    cmp -s "$CD/STRATEGY/FRONTIER/$f" "$INSTALLED/STRATEGY/FRONTIER/$f" || fail "$f is not in the hard-disk copy"
done
echo "PASS: the hard-disk copy lands below the installed folder and starts"

# While the menu runs, the uninstaller removes nothing and keeps the entry.
before=$(installed_listing)
wine "$INSTALLED_DOS\\Uninstall.exe" /S >>"$TMPDIR/wine.log" 2>&1
wait_uninstaller_copy
[ "$(installed_listing)" = "$before" ] && [ -f "$SHORTCUT" ] && [ -n "$(key_value DisplayName)" ] ||
    fail "Uninstall.exe /S while the menu runs removed something: $(diff <(echo "$before") <(installed_listing) | head -5)"
kill -0 "$APP_PID" 2>/dev/null || fail "the menu ended during the uninstaller's run"
echo "PASS: Uninstall.exe /S while the menu runs removes nothing"

# Copy to Hard Drive, to the proposed C:\STRATEGY\FRONTIER: the user's folder.
click_in "$main" 70 209
chooser=$(wait_window "Save 'Iron Frontier' Game To Where ?" 265 225) || fail "no destination chooser"
click_in "$chooser" 218 33
wait_window "Quorvia Information" 254 138 >/dev/null || fail "no message after Copy to Hard Drive"
exit_installed_menu
[ -f "$DRIVE_C/STRATEGY/FRONTIER/QAR.TXT" ] || fail "Copy to Hard Drive wrote nothing to C:\\STRATEGY\\FRONTIER"
added=$(comm -13 <(echo "$keys_before") <(registry_keys))
[ -z "$added" ] || fail "the menu wrote registry keys: $added"
echo "PASS: the menu copies a game to C:\\STRATEGY\\FRONTIER, writes no registry key and ends by Exit"

# --- Uninstall -----------------------------------------------------------------
# Another program's folder beside ours, which the uninstaller must keep.
mkdir -p "$(dirname "$INSTALLED")/Other"
echo keep >"$(dirname "$INSTALLED")/Other/KEEP.TXT"

# An uninstaller copied into another folder does not take the user's copies
# there (C:\MYGAMES\STRATEGY\FRONTIER, as Copy to Hard Drive could make it).
# (A drive's root the uninstaller refuses by itself.)
mkdir -p "$DRIVE_C/MYGAMES/STRATEGY"
cp -r "$DRIVE_C/STRATEGY/FRONTIER" "$DRIVE_C/MYGAMES/STRATEGY/"
cp "$INSTALLED/Uninstall.exe" "$DRIVE_C/MYGAMES/Uninstall.exe"
wine 'C:\MYGAMES\Uninstall.exe' /S >>"$TMPDIR/wine.log" 2>&1
wait_uninstaller_copy
settle
[ -f "$DRIVE_C/MYGAMES/STRATEGY/FRONTIER/QAR.TXT" ] || fail "an uninstaller in C:\\MYGAMES removed the copies there"
rm -rf "$DRIVE_C/MYGAMES"
echo "PASS: an uninstaller copied into another folder removes nothing there"

# Asked interactively, the uninstaller names the copy; No keeps everything.
before=$(installed_listing)
wine "$INSTALLED_DOS\\Uninstall.exe" >>"$TMPDIR/wine.log" 2>&1 &
question=
for _ in $(seq 200); do
    question=$(wine "$DIALOG_TOOL" text "Quorvia Uninstall" 2>/dev/null | tr -d '\r') && [ -n "$question" ] && break
    sleep 0.1
done
[ -n "$question" ] || fail "the uninstaller asked nothing"
printf "%s\n" "$question" >"$TMPDIR/question.txt"
grep -qF 'STRATEGY\FRONTIER' <<<"$question" || fail "the uninstaller's question does not name the copy: $question"
grep -qF "$INSTALLED_DOS" <<<"$question" || fail "the uninstaller's question does not name the program folder: $question"
wine "$DIALOG_TOOL" press "Quorvia Uninstall" No || fail "the question has no No button: $question"
settle
[ "$(installed_listing)" = "$before" ] && [ -f "$SHORTCUT" ] && [ -n "$(key_value DisplayName)" ] ||
    fail "the uninstaller removed something after No"
echo "PASS: the uninstaller names the game copies below the program folder and, on No, removes nothing"

run_watching_windows "$INSTALLED_DOS\\Uninstall.exe" /S
[ "$RUN_STATUS" = 0 ] || fail "Uninstall.exe /S ended with status $RUN_STATUS"
[ ! -s "$TMPDIR/windows.txt" ] || fail "Uninstall.exe /S showed a window"
[ ! -e "$INSTALLED" ] || fail "the program folder is still there: $(cd "$INSTALLED" && find . | head -5)"
[ ! -e "$SHORTCUT" ] || fail "Quorvia.lnk is still in the Start menu"
wine reg query "$KEY" >/dev/null 2>&1 && fail "the uninstall key is still in the registry"
wine uninstaller --list 2>/dev/null | tr -d '\r' | grep -q '|||Quorvia$' && fail "Wine's program list still shows Quorvia"
[ -f "$DRIVE_C/STRATEGY/FRONTIER/QAR.TXT" ] || fail "the uninstaller removed the user's copy in C:\\STRATEGY\\FRONTIER"
[ "$(cat "$(dirname "$INSTALLED")/Other/KEEP.TXT" 2>/dev/null)" = keep ] || fail "the uninstaller removed a folder beside the program folder"
echo "PASS: Uninstall.exe /S removes the program folder with the copy, the shortcut and the key, and keeps the user's copy"

# Run interactively with nothing installed, SETUP.EXE installs and then
# starts the installed menu.
wine 'D:\SETUP.EXE' >>"$TMPDIR/wine.log" 2>&1 &
SETUP_PID=$!
wait_installed_menu || fail "SETUP.EXE did not install and start the menu"
wait "$SETUP_PID" || fail "SETUP.EXE ended with status $?"
[ -f "$SHORTCUT" ] && [ "$(key_value DisplayName)" = Quorvia ] || fail "SETUP.EXE did not register the menu"
exit_installed_menu
echo "PASS: SETUP.EXE run interactively installs the menu and starts it"
echo "disc tests (Wine): passed ($DISC_READER)"
