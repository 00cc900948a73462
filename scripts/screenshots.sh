#!/usr/bin/env bash
# Renders what an operator sees to build/screenshots/: the find window after a search and the
# three pages of the settings window after reads, against simulated controllers on a second
# network namespace. Needs root (for the namespaces).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh --dev
trap 'give_back build-shots build' EXIT
cmake -S . -B build-shots -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build build-shots --target zksim zk_e2e_driver
out=$PWD/build/screenshots
rm -rf "$out"
mkdir -p "$out"
ZK_E2E_SCREENSHOTS=$out ZK_E2E_COUNT=5 bash tests/e2e/run.sh build-shots/src/sim/zksim \
    build-shots/tests/e2e/zk_e2e_driver
ls -1 "$out"
