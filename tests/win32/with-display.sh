#!/usr/bin/env bash
# Runs a command with a display of its own (Xvfb, no window manager): the
# Win32 control tests create real windows, and Wine needs an X display for
# them, while the other Windows tests run without one.
# Usage: with-display.sh COMMAND [ARGUMENTS...]
set -u
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -1 "$fdfile")"
rm -f "$fdfile"
"$@"
status=$?
kill "$xvfb" 2>/dev/null
exit "$status"
