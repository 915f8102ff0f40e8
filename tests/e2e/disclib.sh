# Reading a disc image as a real disc, for the tests of the image built by
# scripts/make-disc.sh. Source this file.

# Makes the image IMAGE readable at the folder DIR: mounted with fuseiso,
# or, where /dev/fuse cannot be used (or QUORVIA_DISC_READER=osirrox asks
# for it), extracted from the image by osirrox with its Rock Ridge modes.
# Sets DISC_READER to the reader used. Fails the test when neither reads it.
disc_open() {
    local image=$1 dir=$2
    DISC_READER=${QUORVIA_DISC_READER:-}
    if [ -z "$DISC_READER" ]; then
        DISC_READER=osirrox
        [ -c /dev/fuse ] && [ -r /dev/fuse ] && [ -w /dev/fuse ] && command -v fuseiso >/dev/null && DISC_READER=fuseiso
    fi
    case $DISC_READER in
        fuseiso)
            mkdir -p "$dir"
            # -n: no record of the mount in the home folder.
            fuseiso -n "$image" "$dir" || fail "fuseiso could not mount $image"
            grep -q " $dir fuse" /proc/mounts || fail "fuseiso reported success, but $dir is not a mount"
            ;;
        osirrox)
            # Into a folder of its own making, which takes the image root's
            # modes; folders become read-only only after their contents are in.
            rm -rf "$dir"
            osirrox -indev "$image" -extract / "$dir" >"$dir.log" 2>&1 ||
                { cat "$dir.log" >&2; fail "osirrox could not extract $image"; }
            ;;
        *) fail "unknown disc reader $DISC_READER" ;;
    esac
    [ -e "$dir/PLAXOID.QAR" ] || fail "$DISC_READER: the image shows no PLAXOID.QAR at its root"
}

# Ends what disc_open made of DIR.
disc_close() {
    local dir=$1
    if grep -q " $dir fuse" /proc/mounts 2>/dev/null; then
        fusermount -u "$dir" 2>/dev/null || fusermount -uz "$dir" 2>/dev/null
    fi
    if [ -d "$dir" ] && ! grep -q " $dir " /proc/mounts 2>/dev/null; then
        chmod -R u+w "$dir" 2>/dev/null
        rm -rf "$dir" "$dir.log"
    fi
    true
}

# Prints "MODE TYPE SIZE PATH" of every entry below DIR, sorted, to compare
# what two readers made of one image (a folder's size is the reader's own).
disc_listing() {
    (cd "$1" && find . -mindepth 1 \( -type d -printf '%m d - %p\n' \) -o -printf '%m %y %s %p\n' | sort -k4)
}

# Waits for the demo game's window NAME to show and then to go (it closes
# itself): its start is recorded before its window maps, and a click meant for
# the menu must not land on it.
wait_game_closed() {
    local shown=
    for _ in $(seq 200); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 && { shown=yes; break; }
        sleep 0.05
    done
    [ -n "$shown" ] || fail "the demo game's window $1 did not show"
    wait_no_window_named "$1" || fail "the demo game $1 did not close"
}

# Sets program, args and folder from the N-th start in $WORK/record.txt
# (tab-separated; a game without parameters leaves the middle field empty).
record_fields() {
    local line
    line=$(sed -n "$1p" "$WORK/record.txt" | tr -d '\r')
    program=$(cut -f1 <<<"$line")
    args=$(cut -f2 <<<"$line")
    folder=$(cut -f3 <<<"$line")
}
