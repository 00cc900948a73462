#!/usr/bin/env bash
# Installs what is missing, builds a Release zkconfig and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_TESTS=OFF -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build build-release --target zkconfig
exec ./build-release/src/zkconfig
