#!/usr/bin/env bash
# Builds a disc image of Quorvia with xorriso: ISO 9660 with Joliet (for
# Windows) and Rock Ridge (for Linux), every file and folder read-only, label
# QUORVIA. The image's root holds the disc folder's contents (the marker
# PLAXOID.QAR and the category and game folders) and the program's files:
# quorvia.exe, QAR1.PAL to QAR8.PAL, BUTCLICK.WAV, ROLLOVER.WAV, SETUP.EXE and
# AUTORUN.INF (GLIMMERA.HLP when the disc folder has one).
#
#   scripts/make-disc.sh [--out FILE.iso]
#       the sample disc (demo/disc, every game the Windows demo game), by
#       default into build/quorvia-sample.iso
#   scripts/make-disc.sh --disc FOLDER --rows FOLDER_OF_8_TSV [--out FILE.iso]
#       a disc of your own: FOLDER is the disc's root as it is to be burnt,
#       FOLDER_OF_8_TSV holds 3D.tsv, ACTION.tsv, ADV.tsv, ARCADE.tsv,
#       BOARD.tsv, CARDS.tsv, EDUCATE.tsv and STRATEGY.tsv, the rows that
#       `quorvia-catalogue build` turns into QAR1.PAL to QAR8.PAL (an empty
#       file for a category without games); default output build/quorvia.iso
#
# The catalogues are checked against the disc folder with
# `quorvia-catalogue check` first; nothing is written when the check fails.
# Builds what it needs that is missing: the host build in build (the
# catalogue tool), the Windows program in build-win (scripts/build-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
host=$top/build
win=$top/build-win
categories=(3D ACTION ADV ARCADE BOARD CARDS EDUCATE STRATEGY)
# The files this script puts at the image's root, beside the disc folder's.
program_files=(quorvia.exe QAR1.PAL QAR2.PAL QAR3.PAL QAR4.PAL QAR5.PAL QAR6.PAL QAR7.PAL QAR8.PAL
    BUTCLICK.WAV ROLLOVER.WAV SETUP.EXE AUTORUN.INF)

fail() { echo "make-disc: $*" >&2; exit 1; }
usage() {  # exit status
    sed -n '/^#   scripts/,/^#$/s/^# \{0,1\}//p' "$0" >&2
    exit "${1:-2}"
}

disc= rows= out=
while [ $# -gt 0 ]; do
    case $1 in
        --disc) [ $# -ge 2 ] || usage; disc=$2; shift 2 ;;
        --rows) [ $# -ge 2 ] || usage; rows=$2; shift 2 ;;
        --out) [ $# -ge 2 ] || usage; out=$2; shift 2 ;;
        -h|--help) usage 0 ;;
        *) echo "make-disc: unknown argument $1" >&2; usage ;;
    esac
done
if [ -n "$disc" ] || [ -n "$rows" ]; then
    [ -n "$disc" ] && [ -n "$rows" ] || fail "--disc and --rows go together"
    [ -d "$disc" ] || fail "$disc is not a folder"
    [ -d "$rows" ] || fail "$rows is not a folder"
    disc=$(realpath "$disc") rows=$(realpath "$rows")
    out=${out:-$host/quorvia.iso}
else
    out=${out:-$host/quorvia-sample.iso}
fi
out=$(realpath -m "$out")
scripts/deps.sh disc

# What the image is made of, built when missing or out of date.
if [ ! -f "$host/CMakeCache.txt" ]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    cmake "${generator[@]}" -S . -B "$host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
targets=(quorvia-catalogue)
[ -n "$disc" ] || targets+=(quorvia-sample)
cmake --build "$host" -j2 --target "${targets[@]}" >/dev/null || fail "building ${targets[*]}"
if [ -f "$win/CMakeCache.txt" ] && [ -f "$win/art/icon.ico" ]; then
    cmake --build "$win" -j2 >/dev/null || fail "building the Windows program in $win"
else
    scripts/build-windows.sh >/dev/null || fail "building the Windows program (scripts/build-windows.sh)"
fi
tool=$host/quorvia-catalogue
for f in "$win/quorvia.exe" "$win/BUTCLICK.WAV" "$win/ROLLOVER.WAV" "$win/art/icon.ico" "$tool"; do
    [ -f "$f" ] || fail "$f is missing"
done

stage=$(mktemp -d)
trap 'chmod -R u+w "$stage" 2>/dev/null; rm -rf "$stage" "$out.part"' EXIT

sample=
if [ -z "$disc" ]; then
    sample=yes
    # The sample as scripts/run.sh has it, with the Windows demo game as
    # every game's program.
    game=$win/demo/quorvia_demo_game.exe
    [ -f "$game" ] || fail "$game is missing"
    "$host/demo/quorvia-sample" "$top/demo/disc" "$stage/sample" "$win/quorvia.exe" "$game" "$tool" "$win" >/dev/null ||
        fail "assembling the sample disc"
    disc=$stage/sample/D
    rows=$top/demo/disc
fi

# Exactly one entry of a folder whose name matches without regard to case.
entry_nocase() {
    find "$1" -mindepth 1 -maxdepth 1 -iname "$2" -printf '%f\n'
}
[ -n "$(entry_nocase "$disc" PLAXOID.QAR)" ] || fail "$disc has no marker file PLAXOID.QAR at its root"
for f in "${program_files[@]}"; do
    found=$(entry_nocase "$disc" "$f")
    [ -z "$found" ] || fail "$disc/$found: the disc folder must not hold $f, which this script writes"
done

program=$stage/program
mkdir -p "$program"
n=1
for key in "${categories[@]}"; do
    tsv=$(entry_nocase "$rows" "$key.tsv")
    [ -n "$tsv" ] || fail "$rows has no $key.tsv (an empty file for a category without games)"
    [ "$(wc -l <<<"$tsv")" -eq 1 ] || fail "$rows holds more than one $key.tsv: $(echo $tsv)"
    msg=$("$tool" build "$program/QAR$n.PAL" <"$rows/$tsv" 2>&1) || { echo "$msg" >&2; fail "$rows/$tsv was refused"; }
    n=$((n + 1))
done
echo "== make-disc: quorvia-catalogue check"
if ! report=$("$tool" check "$program" "$disc" 2>&1); then
    # The sample lacks one description on purpose, to show what the pane says
    # then; any other report refuses the sample too.
    sample_known='QAR2.PAL record 6 (Gravity Runner): description file ACTION\GRAVITY\QAR.TXT missing'
    if [ -n "$sample" ] && [ -z "$(grep -vxF -e "$sample_known" -e '1 problem(s) found' <<<"$report")" ]; then
        echo "   the sample's Gravity Runner has no description file, on purpose"
    else
        echo "$report" >&2
        fail "the catalogues do not match $disc: no image written"
    fi
fi

version=$(sed -n 's/^project(Quorvia VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
makensis -V2 -DVERSION="$version" -DICON="$win/art/icon.ico" -DOUTFILE="$program/SETUP.EXE" installer/quorvia.nsi ||
    fail "building SETUP.EXE"
# The build keeps its debugging information; the disc gets the program without.
x86_64-w64-mingw32-strip -o "$program/quorvia.exe" "$win/quorvia.exe" || fail "stripping quorvia.exe"
cp "$win/BUTCLICK.WAV" "$win/ROLLOVER.WAV" installer/AUTORUN.INF "$program/"

# Both folders' contents at the root; -r gives every file and folder to root
# with read permissions for all, no write permission, and execute permission
# where the file had some.
mkdir -p "$(dirname "$out")"
msg=$(xorriso -as mkisofs -quiet -r -J -V QUORVIA -o "$out.part" "$disc" "$program" 2>&1) ||
    { echo "$msg" >&2; fail "xorriso failed"; }
mv -f "$out.part" "$out"
echo "== make-disc: $out ($(($(stat -c %s "$out") / 1024)) KB, $(find "$disc" "$program" -type f | wc -l) files, version $version)"
