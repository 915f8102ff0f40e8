# Helpers for tests that run the real program under Xvfb (no window manager),
# driven with xdotool. Source this file; call x11_start first.

x11_start() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
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
    local title=$1 width=$2 height=$3 id w h
    for _ in $(seq 200); do
        for id in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
            read -r w h < <(xwininfo -id "$id" | awk '/Width:/{w=$2}/Height:/{h=$2}END{print w, h}')
            if [ "$w" = "$width" ] && [ "$h" = "$height" ] && [ "$(xdotool getwindowname "$id")" = "$title" ]; then
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
