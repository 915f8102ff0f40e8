#!/usr/bin/env bash
# scripts/make-disc.sh on a disc author's own disc (--disc, --rows): the image
# it builds holds the disc folder and the program's files, read back with
# osirrox; and every disc it must refuse leaves no image behind (an earlier
# image at the same place is kept as it was).
# Usage: tests/e2e/disc-make.sh [LINUX_BUILD]   (default build: the catalogue tool)
set -u
cd "$(dirname "$0")/../.."
TOOL=$(realpath "${1:-build}")/quorvia-catalogue
[ -f "$TOOL" ] || { echo "FAILED: disc image tests: $TOOL is missing" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A disc of one game, Chess in BOARD, with a help file, and its rows.
fixture() {
    rm -rf "$WORK/disc" "$WORK/rows"
    mkdir -p "$WORK/disc/BOARD/CHESS" "$WORK/rows"
    printf 'Chess\r\n' >"$WORK/disc/PLAXOID.QAR"
    printf 'Chess for two.\r\n' >"$WORK/disc/BOARD/CHESS/QAR.TXT"
    printf 'MZ chess' >"$WORK/disc/BOARD/CHESS/CHESS.EXE"
    printf 'help' >"$WORK/disc/GLIMMERA.HLP"
    for key in 3D ACTION ADV ARCADE CARDS EDUCATE STRATEGY; do
        : >"$WORK/rows/$key.tsv"
    done
    printf 'Chess Master\tCHESS\tCHESS.EXE\t-w\t0\n' >"$WORK/rows/BOARD.tsv"
}

make_disc() {
    scripts/make-disc.sh --disc "$WORK/disc" --rows "$WORK/rows" --out "$WORK/own.iso" "$@" >"$WORK/out.txt" 2>&1
}

# --- A disc that passes --------------------------------------------------------
fixture
# A rows folder whose names are in another case is read as well.
mv "$WORK/rows/3D.tsv" "$WORK/rows/3d.tsv"
make_disc || fail "make-disc.sh refused a good disc: $(cat "$WORK/out.txt")"
osirrox -indev "$WORK/own.iso" -extract / "$WORK/read" >/dev/null 2>&1 || fail "osirrox cannot read the image"
for f in PLAXOID.QAR GLIMMERA.HLP BOARD/CHESS/QAR.TXT BOARD/CHESS/CHESS.EXE; do
    cmp -s "$WORK/disc/$f" "$WORK/read/$f" || fail "$f is not on the image as in the disc folder"
done
for f in quorvia.exe QAR1.PAL QAR8.PAL BUTCLICK.WAV ROLLOVER.WAV SETUP.EXE AUTORUN.INF; do
    [ -f "$WORK/read/$f" ] || fail "$f is not at the image's root"
done
[ "$("$TOOL" dump "$WORK/read/QAR5.PAL" 2>/dev/null)" = "$(cat "$WORK/rows/BOARD.tsv")" ] ||
    fail "QAR5.PAL on the image does not hold the board rows"
[ ! -s "$WORK/read/QAR1.PAL" ] || fail "QAR1.PAL of an empty 3D.tsv is not empty"
[ -z "$(find "$WORK/read" -perm /222)" ] || fail "writable on the image: $(find "$WORK/read" -perm /222 | head -3)"
label=$(xorriso -indev "$WORK/own.iso" -pvd_info 2>/dev/null | sed -n 's/^Volume Id *: *//p')
[ "$label" = QUORVIA ] || fail "the image's label is '$label'"
echo "PASS: --disc and --rows build an image of the disc folder, the catalogues and the program's files"

# --- Discs it refuses: case | what the fixture is given | words of the refusal --
refusals=(
    "a record without its game folder|printf 'Go\tGO\tGO.EXE\t\t0\n' >>\"\$WORK/rows/BOARD.tsv\"|do not match"
    "a record without its description|rm \"\$WORK/disc/BOARD/CHESS/QAR.TXT\"|do not match"
    "a disc without its marker|rm \"\$WORK/disc/PLAXOID.QAR\"|PLAXOID.QAR"
    "a category's rows missing|rm \"\$WORK/rows/CARDS.tsv\"|CARDS.tsv"
    "a row the catalogue tool refuses|printf 'A name far too long for its thirty-six bytes\tLONG\tL.EXE\t\t0\n' >>\"\$WORK/rows/BOARD.tsv\"|was refused"
    "a program file already on the disc|printf x >\"\$WORK/disc/Setup.exe\"|must not hold SETUP.EXE"
)
printf 'an earlier image' >"$WORK/earlier.iso"
for row in "${refusals[@]}"; do
    IFS='|' read -r what change words <<<"$row"
    fixture
    eval "$change"
    cp "$WORK/earlier.iso" "$WORK/own.iso"
    make_disc && fail "$what: make-disc.sh did not refuse the disc"
    grep -qF "$words" "$WORK/out.txt" || fail "$what: the refusal does not say '$words': $(cat "$WORK/out.txt")"
    cmp -s "$WORK/earlier.iso" "$WORK/own.iso" || fail "$what: the earlier image was replaced"
    [ ! -e "$WORK/own.iso.part" ] || fail "$what: a part of an image was left behind"
    echo "PASS: refused: $what"
done

scripts/make-disc.sh --disc "$WORK/disc" >"$WORK/out.txt" 2>&1 && fail "--disc without --rows was taken"
grep -qF -- "--disc and --rows go together" "$WORK/out.txt" || fail "--disc without --rows: $(cat "$WORK/out.txt")"
echo "PASS: --disc without --rows is refused"
echo "disc image tests: passed"
