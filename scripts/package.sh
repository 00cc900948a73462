#!/usr/bin/env bash
# Builds the Debian package build-package/zkconfig_<version>_amd64.deb from the Release tree and
# prints its path (and nothing else on standard output).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/release_build.sh
./scripts/setup.sh >&2
trap 'give_back build-package' EXIT
build_release >&2
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build-release/CPackConfig.cmake)
deb=build-package/zkconfig_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
cpack --config build-release/CPackConfig.cmake -B build-package >&2
test -f "$deb"
echo "$PWD/$deb"
