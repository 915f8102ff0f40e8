#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture of the main screen: the menu
# on the sample disc under Xvfb, the adventure category listed, a game
# selected and the pointer over Run. Needs a build (scripts/run.sh or
# scripts/test.sh) and the test packages (scripts/deps.sh test).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
sample=$root/build/sample
[ -x "$sample/C/QUORVIA/quorvia" ] || { echo "build first: scripts/run.sh" >&2; exit 1; }
. tests/e2e/x11lib.sh
x11_start

QUORVIA_DRIVES="C=$sample/C;D=$sample/D" "$sample/C/QUORVIA/quorvia" &
APP_PID=$!
main=$(wait_window "Quorvia" 640 480) || fail "no main screen"
click_in "$main" 276 438     # adventure
sleep 0.3
click_in "$main" 220 97      # the first game of the list
sleep 0.3
read -r wx wy < <(window_pos "$main")
xdotool mousemove --sync $((wx + 70)) $((wy + 140))   # over Run: its highlight and hint
sleep 0.5
import -window "$main" "$root/docs/screenshot.png"
echo "wrote docs/screenshot.png"
