#!/usr/bin/env bash
# The menu answers the pointer while other programs keep both processors
# busy: half a second after the main screen maps, the pointer moves onto Run,
# and the Run highlight must be painted within 100 ms, in at least 9 of 10
# starts. Nothing the user-interface thread waits for (the fonts, the sound
# player) may be left to run only when the processors are idle.
# Run alone (RUN_SERIAL): other tests on the machine would skew the timing.
# Usage: test_x11_busy.sh MENU
set -u
MENU=$1
. "$(dirname "$0")/x11lib.sh"
x11_start
WORK=$(mktemp -d)
mkdir -p "$WORK/disc"
touch "$WORK/disc/PLAXOID.QAR"

BUSY=()
for _ in 1 2; do
    (while :; do :; done) &
    BUSY+=($!)
done
trap 'kill "${BUSY[@]}" 2>/dev/null; x11_stop' EXIT

now_us() { echo $(($(date +%s%N) / 1000)); }

# Starts the menu and prints the ms from the pointer's move onto Run until
# the Run highlight was painted, or "none" when it was not within 3 s.
one_try() {
    local log=$WORK/paint.log id= mapped moved painted
    rm -f "$log"
    xdotool mousemove 0 0
    QUORVIA_TEST_PAINT_LOG=$log QUORVIA_DRIVES="E=$WORK/disc" "$MENU" 2>/dev/null &
    APP_PID=$!
    for _ in $(seq 500); do
        id=$(xdotool search --onlyvisible --pid "$APP_PID" --name '^Quorvia$' 2>/dev/null | head -1)
        [ -n "$id" ] && break
        sleep 0.01
    done
    [ -n "$id" ] || fail "no main screen"
    mapped=$(now_us)
    read -r wx wy < <(window_pos "$id")
    sleep "0.$(printf '%06d' $((500000 - ($(now_us) - mapped))))"
    moved=$(now_us)
    xdotool mousemove $((wx + 71)) $((wy + 141))
    for _ in $(seq 300); do
        grep -q '^imgRunLight ' "$log" 2>/dev/null && break
        sleep 0.01
    done
    painted=$(sed -n 's/^imgRunLight //p' "$log" 2>/dev/null | head -1)
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
    APP_PID=
    if [ -z "$painted" ]; then echo none; else echo $(((painted - moved) / 1000)); fi
}

fast=0 times=()
for _ in $(seq 10); do
    ms=$(one_try)
    times+=("$ms")
    [ "$ms" != none ] && [ "$ms" -le 100 ] && fast=$((fast + 1))
done
echo "highlight painted after (ms): ${times[*]}"
[ "$fast" -ge 9 ] || fail "the highlight took longer than 100 ms in $((10 - fast)) of 10 starts"
echo "PASS: the highlight is painted within 100 ms in $fast of 10 starts beside two busy programs"
echo "1 passed, 0 failed"
