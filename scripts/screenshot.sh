#!/usr/bin/env bash
# Makes the README's pictures of the main screen: the menu on the sample disc
# under Xvfb, the adventure category listed, a game selected and the pointer
# over Run; docs/screenshot.png at 96 dpi and docs/screenshot-2x.png on a
# screen scaled to 200 % (QT_SCALE_FACTOR=2, a 2048 x 1536 display), where
# the pictures drawn for 2x show. Needs a build (scripts/run.sh or
# scripts/test.sh) and the test packages (scripts/deps.sh test).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
sample=$root/build/sample
[ -x "$sample/C/QUORVIA/quorvia" ] || { echo "build first: scripts/run.sh" >&2; exit 1; }
. tests/e2e/x11lib.sh

# shoot SCALE SCREEN FILE: the screenshot at a scale factor.
shoot() {
    local s=$1 wx wy
    XVFB_SCREEN=$2 x11_start
    QT_SCALE_FACTOR=$s QUORVIA_DRIVES="C=$sample/C;D=$sample/D" "$sample/C/QUORVIA/quorvia" &
    APP_PID=$!
    main=$(wait_window "Quorvia" $((640 * s)) $((480 * s))) || fail "no main screen at $s x"
    click_in "$main" $((276 * s)) $((438 * s))     # adventure
    sleep 0.3
    click_in "$main" $((220 * s)) $((97 * s))      # the first game of the list
    sleep 0.3
    read -r wx wy < <(window_pos "$main")
    xdotool mousemove --sync $((wx + 70 * s)) $((wy + 140 * s))   # over Run: its highlight and hint
    sleep 0.5
    import -window "$main" "$root/$3"
    echo "wrote $3"
    kill "$APP_PID" "$XVFB_PID" 2>/dev/null || true
    wait "$APP_PID" "$XVFB_PID" 2>/dev/null || true
    APP_PID= XVFB_PID=
}

trap x11_stop EXIT
shoot 1 1024x768x24 docs/screenshot.png
shoot 2 2048x1536x24 docs/screenshot-2x.png
