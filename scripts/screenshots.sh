#!/usr/bin/env bash
# Renders what an operator sees to build/screenshots/: the find window after a search, the
# three pages of the settings window after reads and a controller that does not answer, against
# simulated controllers on other network namespaces; and the find window's two notices (no
# controller found, a write nobody acknowledged) against simulated modules that lose every answer.
# Needs root (for the namespaces).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh --dev
trap 'give_back build-shots build' EXIT
cmake -S . -B build-shots -G Ninja -DCMAKE_BUILD_TYPE=Release -DZK_BUILD_BENCH=OFF >/dev/null
cmake --build build-shots --target zksim zk_e2e_driver test_ui
out=$PWD/build/screenshots
rm -rf "$out"
mkdir -p "$out"
ZK_E2E_SCREENSHOTS=$out ZK_E2E_COUNT=5 bash tests/e2e/run.sh build-shots/src/sim/zksim \
    build-shots/tests/e2e/zk_e2e_driver
ZK_E2E_SCREENSHOTS=$out QT_QPA_PLATFORM=offscreen build-shots/tests/test_ui \
    --gtest_filter='find_window_sim.a_search_nobody_answers*:find_window_sim.an_unacknowledged*' >/dev/null
ls -1 "$out"
