#!/usr/bin/env bash
# Cross-builds the Windows programs (zkctl.exe, zksim.exe, zkconfig.exe) and the tests of
# everything they are made of with MinGW-w64 from the same CMake project, and runs them under
# Wine, so a POSIX-only call or a path or encoding assumption fails here rather than on an
# installer's PC; then the setup program is built, installed, run and removed under Wine. Needs
# g++-mingw-w64-x86-64, googletest, wine64 and nsis (scripts/setup.sh --dev installs them), and
# xvfb for the windows' tests, which need an X display. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
# The windows' tests create real windows, and Wine ties its desktop to the display of the first
# program of the prefix: the whole run, wineboot included, is on one X display.
# With --build-only it builds and stops (scripts/test.sh builds while the Linux tests run).
build_only=false
[ "${1:-}" = --build-only ] && build_only=true
if [ -z "${DISPLAY:-}" ] && ! $build_only; then
    exec xvfb-run -a "$0" "$@"
fi
source scripts/lib/owner.sh

build=${ZK_WINDOWS_BUILD_DIR:-build-windows}
wine_dir=/usr/lib/wine

# A build folder made from another source folder (the former core-only project) is started anew.
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$PWD" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi

# With the Linux build of scripts/test.sh beside it, its zksim and zkctl meet the Windows ones.
linux_build=$(realpath -m "${ZK_TEST_BUILD_DIR:-build}")
[ -x "$linux_build/src/sim/zksim" ] || linux_build=
# No build type, so no debugging data, which MinGW's linker takes minutes to write into programs
# of this size and which nobody reads under Wine; and -O1: unoptimised, each object keeps its own
# copy of every JSON and CLI11 template it uses (the archives ten times as large), and MinGW's
# archiver and linker spent a third of the build on them.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_C_FLAGS=-O1 -DCMAKE_CXX_FLAGS=-O1 \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" -DZK_LINUX_BUILD="$linux_build" >/dev/null
cmake --build "$build"
if $build_only; then
    give_back "$build"
    exit 0
fi

# One Wine prefix is booted for the whole run (wineboot alone takes tens of seconds): the suites run
# in a throw-away copy of it with one Wine server kept up for all of them (each start costs
# seconds), and the tests that need a prefix of their own (the setup program, the two hosts) copy
# it through ZK_WINE_TEMPLATE instead of booting one each.
work=$(mktemp -d /tmp/zk-wine.XXXXXX)
export ZK_WINE_TEMPLATE=$work/template WINEPREFIX=$work/suites WINEDEBUG=-all
cleanup()
{
    "$wine_dir/wineserver" -k 2>/dev/null || true
    WINEPREFIX=$ZK_WINE_TEMPLATE "$wine_dir/wineserver" -k 2>/dev/null || true
    rm -rf "$work"
    give_back "$build"
}
trap cleanup EXIT
in_template() { WINEPREFIX=$ZK_WINE_TEMPLATE "$@"; }
# Wine would mirror the new prefix's menu entries and file types into the host's menu: not ours.
in_template env WINEDLLOVERRIDES=winemenubuilder.exe=d "$wine_dir/wine64" wineboot --init \
    >/dev/null 2>&1 || true
# Without a window manager (Xvfb has none) Wine waits 2 s for one at every hidden or destroyed
# window unless its windows are unmanaged.
in_template "$wine_dir/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1
# The server writes the registry out when it stops: the copies start from the finished prefix.
in_template "$wine_dir/wineserver" -w
cp -a "$ZK_WINE_TEMPLATE" "$WINEPREFIX"
"$wine_dir/wineserver" -p
# The prefix's services live as long as the kept server: started by the first test, they would
# hold its output pipe open, and ctest would wait for them. Started here, they write nowhere.
"$wine_dir/wine64" wineboot >/dev/null 2>&1 || true

ctest --test-dir "$build" --output-on-failure -j 2
