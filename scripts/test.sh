#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer,
# checks the formatting and runs every test. Exits non-zero on any failure. As root it also runs
# the two-host test and the package test (which installs and removes the .deb).
# --quick: the edit-test loop, the Linux suites only (no package, Windows build, Wine or fuzzing);
# CI runs the whole command.
set -euo pipefail
quick=false
case "${1:-}" in
    "") ;;
    --quick) quick=true ;;
    *)
        echo "usage: test.sh [--quick]" >&2
        exit 2
        ;;
esac
cd "$(dirname "$0")/.."
source scripts/lib/owner.sh
./scripts/setup.sh --dev

build=${ZK_TEST_BUILD_DIR:-build}
# Warnings are errors in every tree this command builds (the Windows, package and fuzz trees too),
# as in CI: a warning never passes here and fails there.
export ZK_WERROR=1

# Each phase's wall time, printed at the end, so a slow phase is seen without a stopwatch.
times=()
phase_start=$SECONDS
phase_done() {
    times+=("$(printf '%-28s %5d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
windows_build=
fuzz_job=
trap 'rm -f "${fuzz_go:-}"; [ -z "$windows_build" ] || kill "$windows_build" 2>/dev/null; [ -z "$fuzz_job" ] || kill "$fuzz_job" 2>/dev/null; give_back "$build"; [ ${#times[@]} -eq 0 ] || { echo "-- times"; printf "%s\n" "${times[@]}"; }' EXIT

# One clang tree holds the test suites and the fuzzers, both under the sanitizers: clang compiles
# this code in about two thirds of GCC's time, and the fuzzers need it anyway. GCC still compiles
# everything in the package's Release tree and the Windows tree. The benchmarks are
# scripts/bench.sh's (a Release build of their own), not built here.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DZK_SANITIZE=ON -DZK_FUZZ=ON -DZK_BUILD_BENCH=OFF
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
if $quick; then
    ctest --test-dir "$build" --output-on-failure -LE package
    phase_done "ctest (no package test)"
    exit 0
fi
# The Windows build needs nothing of the Linux tests, which spend much of their time waiting on
# answers and time-outs: it is made meanwhile.
windows_log=$(mktemp)
./scripts/wine-test.sh --build-only >"$windows_log" 2>&1 &
windows_build=$!
# The fuzzers, built with the suites, wait for the Linux tests and then overlap the Wine tests,
# which mostly wait on answers: each gets its 5 s of CPU.
fuzz_log=$(mktemp)
fuzz_go=$(mktemp -u)
(
    while [ ! -e "$fuzz_go" ]; do sleep 1; done
    ZK_FUZZ_BUILD_DIR=$build nice -n 10 ./scripts/fuzz.sh 5
) >"$fuzz_log" 2>&1 &
fuzz_job=$!
ctest --test-dir "$build" --output-on-failure
phase_done "ctest (with the package test)"
touch "$fuzz_go"

echo "-- Windows build (made during the Linux tests), its tests under Wine"
if ! wait "$windows_build"; then
    windows_build=
    cat "$windows_log"
    exit 1
fi
windows_build=
rm -f "$windows_log"
./scripts/wine-test.sh
phase_done "Windows build and Wine tests"

# A short run of each target catches what a change broke; long runs are scripts/fuzz.sh's.
echo "-- fuzzing (run during the Wine tests)"
if ! wait "$fuzz_job"; then
    fuzz_job=
    cat "$fuzz_log"
    exit 1
fi
fuzz_job=
sed -n '/^-- fuzzing /,$p' "$fuzz_log"
rm -f "$fuzz_log" "$fuzz_go"
phase_done "fuzzing (what was left of it)"
