#!/usr/bin/env bash
# Installs what is missing, builds a Release zkconfig, zkctl and the simulator, and starts zkconfig.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/release_build.sh
./scripts/setup.sh
build_release zkconfig zksim zkctl
exec ./build-release/src/zkconfig
