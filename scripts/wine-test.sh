#!/usr/bin/env bash
# Cross-builds the Qt-free core (zk_core) and its unit tests for Windows with MinGW-w64 and runs
# them under Wine, so a POSIX-only call or a path or encoding assumption in the core fails here
# rather than on an installer's PC. Needs g++-mingw-w64-x86-64, googletest and wine64
# (scripts/setup.sh installs them), and xvfb for the windows' tests, which need an X display.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
# The windows' tests create real windows, and Wine ties its desktop to the display of the first
# program of the prefix: the whole run, wineboot included, is on one X display.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a "$0" "$@"
fi
source scripts/lib/owner.sh

build=${ZK_WINDOWS_BUILD_DIR:-build-windows}
wine_dir=/usr/lib/wine

cmake -S cmake/windows-core -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" >/dev/null
cmake --build "$build"

# A throw-away Wine prefix, and one Wine server kept up for all tests (each start costs seconds).
WINEPREFIX=$(mktemp -d /tmp/zk-wine.XXXXXX)
export WINEPREFIX WINEDEBUG=-all
cleanup()
{
    "$wine_dir/wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    give_back "$build"
}
trap cleanup EXIT
"$wine_dir/wineserver" -p
"$wine_dir/wine64" wineboot --init >/dev/null 2>&1 || true
# Without a window manager (Xvfb has none) Wine waits 2 s for one at every hidden or destroyed
# window unless its windows are unmanaged.
"$wine_dir/wine64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure
