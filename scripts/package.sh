#!/usr/bin/env bash
# Builds the Debian package build-package/zkconfig_<version>_amd64.deb from a Release build
# (build-release, shared with run.sh) and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh
trap 'give_back build-release build-package' EXIT

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF \
    -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build build-release >&2
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build-release/CPackConfig.cmake)
deb=build-package/zkconfig_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
cpack --config build-release/CPackConfig.cmake -B build-package >/dev/null
test -f "$deb"
echo "$PWD/$deb"
