#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# checks the formatting and runs every test. Exits non-zero on any failure. As root it also runs
# the two-host test and the package test (which installs and removes the .deb).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh --dev

build=${ZK_TEST_BUILD_DIR:-build}

# Each phase's wall time, printed at the end, so a slow phase is seen without a stopwatch.
times=()
phase_start=$SECONDS
phase_done() {
    times+=("$(printf '%-28s %5d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
trap 'give_back "$build"; [ ${#times[@]} -eq 0 ] || { echo "-- times"; printf "%s\n" "${times[@]}"; }' EXIT

# The benchmarks are scripts/bench.sh's (a Release build of their own), not built here.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZK_SANITIZE=ON -DZK_BUILD_BENCH=OFF
cmake --build "$build"
phase_done "sanitizer build"

echo "-- format check"
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    'packaging/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h' \
    | xargs -r clang-format --dry-run --Werror
phase_done "format check"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
ctest --test-dir "$build" --output-on-failure
phase_done "ctest (with the package test)"

echo "-- Windows cross-build of the core, its tests under Wine"
./scripts/wine-test.sh
phase_done "Windows core under Wine"

# A short run of each target catches what a change broke; long runs are scripts/fuzz.sh's.
echo "-- fuzzing"
./scripts/fuzz.sh 5
phase_done "fuzzing"
