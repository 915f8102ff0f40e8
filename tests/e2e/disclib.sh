# Reading a disc image as a real disc, for the tests of the image built by
# scripts/make-disc.sh. Source this file.

# Makes the image IMAGE readable at the folder DIR: mounted with fuseiso,
# or, where /dev/fuse cannot be used (or QUORVIA_DISC_READER=osirrox asks
# for it), extracted from the image by osirrox with its Rock Ridge modes.
# Sets DISC_READER to the reader used. Fails the test when neither reads it.
disc_open() {
    local image=$1 dir=$2
    mkdir -p "$dir"
    DISC_READER=${QUORVIA_DISC_READER:-}
    if [ -z "$DISC_READER" ]; then
        DISC_READER=osirrox
        [ -c /dev/fuse ] && [ -r /dev/fuse ] && [ -w /dev/fuse ] && command -v fuseiso >/dev/null && DISC_READER=fuseiso
    fi
    case $DISC_READER in
        fuseiso)
            # -n: no record of the mount in the home folder.
            fuseiso -n "$image" "$dir" || fail "fuseiso could not mount $image"
            grep -q " $dir fuse" /proc/mounts || fail "fuseiso reported success, but $dir is not a mount"
            ;;
        osirrox)
            # Folders are made read-only only after their contents are in.
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

# Prints "MODE SIZE PATH" of every entry below DIR, sorted, to compare what
# two readers made of one image.
disc_listing() {
    (cd "$1" && find . -mindepth 1 -printf '%m %s %p\n' | sort -k3)
}
