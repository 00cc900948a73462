#!/usr/bin/env bash
# Builds the Windows setup program zkconfig-<version>-setup.exe and prints its path (and nothing
# else on standard output).
# Usage: package-windows.sh [WINDOWS_BUILD_DIR]
# Without a folder it cross-builds, in a Release tree of its own (build-windows-release), only
# the three programs the setup program carries, then packs them. Given a folder, it packs that
# Windows build as it stands: it must hold zkconfig.exe, zkctl.exe and zksim.exe (anywhere below
# it). The setup program is written into the build folder. Needs MinGW-w64, makensis and groff
# (scripts/setup.sh --dev installs them).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
own_build=false
if [ $# -eq 0 ]; then
    own_build=true
    build=$repo/build-windows-release
else
    build=$(realpath -m "$1")
fi
cd "$repo"
source scripts/lib/owner.sh

die() {
    echo "package-windows: $*" >&2
    exit 1
}

for tool in makensis groff; do
    command -v "$tool" >/dev/null || die "$tool is not installed (run ./scripts/setup.sh --dev)"
done
if $own_build; then
    command -v x86_64-w64-mingw32-g++ >/dev/null ||
        die "MinGW-w64 is not installed (run ./scripts/setup.sh --dev)"
    # Optimised, and only what the setup program ships: no tests, no benchmarks.
    status=0
    {
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
            -DZK_BUILD_BENCH=OFF -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64.cmake" >/dev/null &&
            cmake --build "$build" --target zkconfig zkctl zksim
    } >&2 || status=$?
    give_back "$build"
    [ $status -eq 0 ] || die "the Windows build failed"
fi
[ -d "$build" ] || die "$build: no such build folder"

version=$(sed -n 's/^project(zkconfig VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || die "CMakeLists.txt names no project(zkconfig VERSION ...)"
# Windows' version resource has four numbers.
file_version=$version
while [ "$(tr -cd . <<<"$file_version" | wc -c)" -lt 3 ]; do
    file_version+=.0
done

# The one PROGRAM.exe the build made; none, or two that could be mixed up, is an error.
program_in_build() {
    local found
    mapfile -t found < <(find "$build" -name "$1.exe" -type f ! -path '*/CMakeFiles/*' \
        ! -path "$build/installer/*")
    [ ${#found[@]} -eq 1 ] || die "$build holds ${#found[@]} copies of $1.exe (${found[*]}), not one"
    echo "${found[0]}"
}

# UTF-8 with a byte-order mark and CRLF line ends, so that every Notepad shows it right.
windows_text() {
    printf '\xef\xbb\xbf'
    sed -e '1s/^\xef\xbb\xbf//' -e 's/\r$//' -e 's/$/\r/' "$1"
}

stage=$build/installer
rm -rf "$stage"
mkdir -p "$stage"
payload=()
add() { # add NAME: a file staged as NAME goes into the installation folder
    payload+=("$1")
}

# stage_program NAME: NAME.exe of the build, without the debugging symbols of a Debug build (a
# tenth of the size).
stage_program() {
    x86_64-w64-mingw32-strip -o "$stage/$1.exe" "$(program_in_build "$1")" ||
        die "cannot strip $1.exe"
    add "$1.exe"
}

# The programs the setup program carries: the windows (README.txt is their manual), then the
# command line and the simulator with their manuals.
stage_program zkconfig
for program in zkctl zksim; do
    stage_program "$program"
    # The manual page as plain text, as man shows it on a terminal.
    groff -k -man -Tutf8 -P-cbou "packaging/man/$program.1" 2>"$stage/groff.log" >"$stage/page" ||
        die "groff packaging/man/$program.1: $(cat "$stage/groff.log")"
    windows_text "$stage/page" >"$stage/$program.txt"
    add "$program.txt"
done
rm -f "$stage/page" "$stage/groff.log"
# zkconfig and zkctl look for the projector library beside themselves.
cp data/projectors.json "$stage/projectors.json"
add projectors.json
cp tools/wireshark/zk.lua "$stage/zk.lua"
add zk.lua
windows_text packaging/windows/README-windows.txt >"$stage/README.txt"
add README.txt
windows_text LICENSE >"$stage/LICENSE.txt"
add LICENSE.txt

{
    echo "!macro ZK_PAYLOAD"
    for name in "${payload[@]}"; do
        echo "    !insertmacro ZK_FILE \"$name\""
    done
    echo "!macroend"
} >"$stage/payload.nsh"

setup=$build/zkconfig-$version-setup.exe
rm -f "$setup"
# makensis reads $ as its own variables: a folder name with one is doubled.
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DFILE_VERSION=$file_version" \
    "-DSTAGE=${stage//\$/\$\$}" "-DOUTFILE=${setup//\$/\$\$}" \
    packaging/windows/zkconfig.nsi >&2 || die "makensis failed"
[ -f "$setup" ] || die "makensis wrote no $setup"
give_back "$stage" "$setup"
echo "$setup"
