#!/usr/bin/env bash
# Installs the system packages zkconfig needs. Without arguments: what building, packaging and
# running need. With --dev: also what the tests and the development checks need.
# Quick when everything is present: apt-get update runs only when something is missing.
set -euo pipefail

# Building the programs and the Debian package, and running the programs and the demo.
runtime=(
    build-essential cmake ninja-build dpkg-dev file
    qt6-base-dev libgl-dev
    nlohmann-json3-dev libcli11-dev
    fonts-wqy-microhei qt6-translations-l10n
    iproute2 procps
)

# Tests, benchmarks and checks.
dev=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang-format
    ccache # the test command's trees compile through it (cmake/ccache.cmake)
    xvfb xauth
    strace desktop-file-utils man-db lintian
    tshark
    clang-14 libclang-rt-14-dev
    llvm-14 # llvm-symbolizer: the sanitizers' reports name each frame's function, file and line
    g++-mingw-w64-x86-64 googletest wine64
    nsis groff-base
)

case "${1:-}" in
    "") packages=("${runtime[@]}") ;;
    --dev) packages=("${runtime[@]}" "${dev[@]}") ;;
    *)
        echo "usage: setup.sh [--dev]" >&2
        exit 2
        ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
        exec sudo "$0" "$@"
    fi
    echo "setup: missing packages (${missing[*]}); run this script as root" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
