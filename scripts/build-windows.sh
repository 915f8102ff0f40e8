#!/usr/bin/env bash
# Cross-builds the Windows program with MinGW-w64 into build-win: the
# artwork (drawn by the host's generator into build-win/art, with the two
# wave files beside the program), quorvia.exe, the doctest programs and the
# Windows demo game. Then checks the program: it may import only kernel32,
# user32, gdi32 and msvcrt (the rest is loaded on first use), and stripped,
# without its picture resources, it is at most 1.5 MB; it reports the
# pictures' size as stored and uncompressed.
# Usage: scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."
host=build
win=build-win
jobs=$(nproc)
fail() { echo "FAILED: Windows build: $*" >&2; exit 1; }

# A generator for new build folders; an existing one keeps its own.
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
configure() {  # folder, then cmake arguments
    local dir=$1; shift
    local gen=()
    [ -f "$dir/CMakeCache.txt" ] || gen=("${generator[@]}")
    mkdir -p "$dir"
    cmake "${gen[@]}" -S . -B "$dir" "$@" >"$dir/configure.log" 2>&1 ||
        { cat "$dir/configure.log"; fail "configuring $dir"; }
}

echo "== Windows build: the artwork generator (host)"
[ -f "$host/CMakeCache.txt" ] || configure "$host" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$host" -j"$jobs" --target quorvia_artgen >/dev/null || fail "the artwork generator"
# Drawn anew on every run: the compiled resources depend on art.rc alone,
# so a fresh art.rc makes the build take the pictures again.
art=$PWD/$win/art
mkdir -p "$win"
rm -rf "$art"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QT_QPA_PLATFORM=offscreen "$host/tools/artgen/quorvia_artgen" --out "$scratch" --sounds "$win" --bmp "$art" ||
    fail "drawing the artwork"

echo "== Windows build: cross build"
wine=$(command -v wine64 || command -v wine || true)
configure "$win" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUORVIA_ART_DIR="$art" ${wine:+-DCMAKE_CROSSCOMPILING_EMULATOR="$wine"}
cmake --build "$win" -j"$jobs" || fail "the cross build"

# The configuration names the program it builds (see CMakeLists.txt); with
# no such target there is nothing to check yet.
if [ ! -f "$win/windows-program.txt" ]; then
    echo "== Windows build: no Windows program in this configuration; its checks are skipped"
    exit 0
fi
exe=$(cat "$win/windows-program.txt")
[ -f "$exe" ] || fail "$exe was not built"
for wav in BUTCLICK.WAV ROLLOVER.WAV; do
    [ -f "$(dirname "$exe")/$wav" ] || fail "$wav is not beside $exe"
done

echo "== Windows build: DLLs that $(basename "$exe") imports"
# Only the DLLs every Windows process has loaded anyway; any other (the
# shell, the sound player, the open-file dialog, the density functions) is
# loaded on first use (src/platform/win_load.h).
allowed='^(kernel32|user32|gdi32|msvcrt)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "objdump lists no imported DLL in $exe"
bad=0
for dll in $dlls; do
    if [[ $dll =~ $allowed ]]; then
        echo "   $dll"
    else
        echo "   $dll   <- not loaded at start by any Windows program: load it on first use" >&2
        bad=1
    fi
done
[ "$bad" -eq 0 ] || fail "$exe imports DLLs beyond kernel32, user32, gdi32 and msvcrt"

# The size without the pictures: a stripped copy with its resource section
# (the pictures, and the few hundred bytes of cursor and icon) removed.
stripped=$scratch/stripped.exe
bare=$scratch/bare.exe
x86_64-w64-mingw32-strip -o "$stripped" "$exe" || fail "stripping a copy of $exe"
x86_64-w64-mingw32-objcopy --remove-section=.rsrc "$stripped" "$bare" || fail "removing the resources of a copy"
size() { stat -c %s "$1"; }
total=$(size "$stripped")
program=$(size "$bare")
resources=$((total - program))
# The pictures as stored (RLE8 where that is smaller) against their plain rows.
stored=$(find "$art" -name '*.bmp' -printf '%s\n' | awk '{s += $1} END {print s + 0}')
plain=$(find "$art" -name '*.bmp' | while read -r bmp; do
    od -An -tu4 -j18 -N8 "$bmp" | awk -v colours="$(od -An -tu4 -j46 -N4 "$bmp")" \
        '{print 54 + 4 * colours + int(($1 + 3) / 4) * 4 * $2}'
done | awk '{s += $1} END {print s + 0}')
printf '== Windows build: the BMP pictures at 100, 150 and 200 %%: %d KB as stored, %d KB uncompressed\n' \
    $((stored / 1024)) $((plain / 1024))
limit=$((1536 * 1024))
printf '== Windows build: %s stripped %d bytes (%d KB): program %d bytes (%d KB), resources %d bytes (%d KB); limit for the program %d KB\n' \
    "$(basename "$exe")" "$total" $((total / 1024)) "$program" $((program / 1024)) "$resources" $((resources / 1024)) $((limit / 1024))
[ "$program" -le "$limit" ] || fail "the stripped program without its pictures is over 1.5 MB"
echo "== Windows build: done"
