#!/usr/bin/env bash
# Compiles every source file of src/, tools/ and fuzz/ for Windows, syntax only, with Debian's mingw-w64
# against Qt's and ICU's headers: a Linux-only header or call outside the platform files fails here, on
# the developers' machines, before it fails on the users' platform. Usage: windows-check.sh [JOBS]
set -euo pipefail
cd "$(dirname "$0")/.."

cxx=x86_64-w64-mingw32-g++-posix
if ! command -v "$cxx" >/dev/null 2>&1; then
    echo "windows-check: $cxx is missing (Debian: apt-get install g++-mingw-w64-x86-64-posix)" >&2
    exit 1
fi
qt=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)

# The Linux system headers stay out of the Windows compiler's way: only ICU's and Google Benchmark's are
# lent to it. Each file's messages go to its own file in the work folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/include" "$work/failed"
ln -s /usr/include/unicode "$work/include/unicode"
ln -s /usr/include/benchmark "$work/include/benchmark"

flags=(-std=c++20 -fsyntax-only -DUNICODE -D_UNICODE -DQT_NO_DEBUG -Isrc -Itools -Ifuzz "-I$work/include" "-I$qt")
for module in "$qt"/Qt*; do
    flags+=("-I$module")
done

mapfile -t files < <(git ls-files 'src/*.cpp' 'tools/*.cpp' 'fuzz/*.cpp')
export cxx work
printf '%s\n' "${files[@]}" | xargs -P "${1:-$(nproc)}" -I{} sh -c \
    'out="$work/failed/$(echo "$1" | tr / _)"; "$cxx" "$@" 2>"$out" && rm -f "$out"; true' sh {} "${flags[@]}"

failed=0
for out in "$work"/failed/*; do
    [ -e "$out" ] || continue
    failed=$((failed + 1))
    head -20 "$out"
done
echo "windows-check: $((${#files[@]} - failed)) of ${#files[@]} source files compile for Windows"
[ "$failed" -eq 0 ]
