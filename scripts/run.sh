#!/usr/bin/env bash
# Installs what is missing, builds a Release zkconfig and the simulator, and starts zkconfig.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh
trap 'give_back build-release' EXIT
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build build-release --target zkconfig zksim
give_back build-release
exec ./build-release/src/zkconfig
