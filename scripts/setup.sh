#!/usr/bin/env bash
# Installs every system package zkconfig needs to build, test and run.
# Quick when everything is present: apt-get update runs only when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev
    clang-format
    clang-14 libclang-rt-14-dev
    xvfb xauth fonts-wqy-microhei
    iproute2 procps
)

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
