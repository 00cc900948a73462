#!/usr/bin/env bash
# Remakes packaging/windows/zkconfig.ico, the icon of zkconfig.exe and of the Windows setup
# program, from the icon the Linux GUI draws (src/ui/qt/app_icon.cpp). The Windows build has no
# Qt to draw it with, so the file is kept in the repository; run this after changing the drawing.
# Usage: windows-icon.sh [LINUX_BUILD_DIR]           builds zk_render_icons there and remakes it
#        windows-icon.sh --check LINUX_BUILD_DIR     fails when the kept file is not what the
#                                                    drawing gives (the test windows_icon_current)
# LINUX_BUILD_DIR defaults to build in the checkout, configured already.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
check=false
[ "${1:-}" = --check ] && check=true && shift
build=$(realpath -m "${1:-$repo/build}")
icon=$repo/packaging/windows/zkconfig.ico
[ -f "$build/CMakeCache.txt" ] || {
    echo "windows-icon: $build is no configured build folder" >&2
    exit 1
}

# render FILE: the icon at the sizes Windows picks from (title bar and lists, taskbar, desktop,
# large views).
render() {
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
        "$build/packaging/zk_render_icons" --ico "$1" 16 32 48 256
}

if $check; then
    # Compared as pictures, not bytes: processors round anti-aliased edges differently by one
    # step, which changes the compressed bytes but not the icon.
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
        "$build/packaging/zk_render_icons" --check-ico "$icon" 16 32 48 256 || {
        echo "windows-icon: $icon is not the icon the program draws; remake it with" \
            "scripts/windows-icon.sh and commit it" >&2
        exit 1
    }
    echo "windows-icon: $icon is current"
else
    cmake --build "$build" --target zk_render_icons >&2
    render "$icon"
    echo "$icon"
fi
