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
# Warnings are errors in every tree this command builds (the Windows and package trees too), as in
# CI: a warning never passes here and fails there.
export ZK_WERROR=1
# How the suites and the fuzzers run: Qt without a display, and the sanitizers' settings.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export ASAN_SYMBOLIZER_PATH=${ASAN_SYMBOLIZER_PATH:-/usr/lib/llvm-14/bin/llvm-symbolizer}

# Each phase's wall time, printed at the end, so a slow phase is seen without a stopwatch. The
# jobs that run beside the phases say how long each took.
times=()
phase_start=$SECONDS
phase_done() {
    times+=("$(printf '%-40s %5d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
declare -A job log
signals=$(mktemp -d)
trap '[ ${#job[@]} -eq 0 ] || kill "${job[@]}" 2>/dev/null || true; rm -rf "$signals" "${log[@]}"; give_back "$build"; [ ${#times[@]} -eq 0 ] || { echo "-- times"; printf "%s\n" "${times[@]}"; }' EXIT

# beside NAME COMMAND...: runs COMMAND in the background, its output kept for when it is awaited.
beside() {
    local name=$1
    shift
    log[$name]=$(mktemp)
    (
        start=$(date +%s)
        status=0
        "$@" || status=$?
        echo "-- $name: $(($(date +%s) - start)) s, exit $status"
        exit $status
    ) >"${log[$name]}" 2>&1 &
    job[$name]=$!
}

# await NAME [SUMMARY]: waits for the job; prints its whole output when it failed, else the lines
# from the one matching SUMMARY on.
await() {
    local name=$1 status=0
    wait "${job[$name]}" || status=$?
    unset "job[$name]"
    if [ $status -ne 0 ]; then
        cat "${log[$name]}"
        exit 1
    fi
    [ -z "${2:-}" ] || sed -n "/$2/,\$p" "${log[$name]}"
    times+=("$(printf '%-40s %5s s (beside)' "$name" \
        "$(sed -n "s/^-- $name: \([0-9]*\) s, exit 0$/\1/p" "${log[$name]}")")")
}

# signal NAME / wait_for NAME...: one job tells others that a step is done.
signal() { touch "$signals/$1"; }
wait_for() {
    local name
    for name in "$@"; do
        while [ ! -e "$signals/$name" ]; do sleep 1; done
    done
}

if ! $quick; then
    # The three compiler passes run at once, so that the tests, which mostly wait on answers and
    # time-outs, overlap the builds instead of following them: the Windows tree (then its suites
    # under Wine, which use the Linux zksim and zkctl) and the package's Release tree (for the
    # package test) beside the sanitizer tree, which the Linux tests wait for and so goes first.
    # Two compilers each: three trees at ninja's four would crowd the two cores with twelve.
    windows_part() {
        CMAKE_BUILD_PARALLEL_LEVEL=2 nice -n 5 ./scripts/wine-test.sh --build-only || return 1
        signal windows-built
        wait_for linux-built
        ./scripts/wine-test.sh
    }
    beside "Windows build and Wine tests" windows_part
    beside "package's Release build" env CMAKE_BUILD_PARALLEL_LEVEL=2 nice -n 10 bash -c \
        'source scripts/lib/release_build.sh && build_release'
    # 5 s of each fuzzer once the builds leave them the CPU.
    fuzz_part() {
        wait_for linux-built windows-built
        ZK_FUZZ_BUILD_DIR=$build nice -n 10 ./scripts/fuzz.sh 5
    }
    beside "fuzzing" fuzz_part
fi

# One clang tree holds the test suites and the fuzzers, both under the sanitizers: clang compiles
# this code in about two thirds of GCC's time, and the fuzzers need it anyway. GCC still compiles
# every product source (the package's Release tree) and the Windows tree. The benchmarks are
# scripts/bench.sh's (a Release build of their own), not built here. Line tables are all the
# sanitizers' reports need (function, file and line of each frame); full debugging data cost 8 %
# more compile time.
# CMake cannot change the compiler of a configured tree: one configured with another (GCC, which
# built the suites before) is configured anew.
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=\(.*/\)\?clang++-14$' "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_C_FLAGS_DEBUG=-gline-tables-only \
    -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only -DZK_SANITIZE=ON -DZK_FUZZ=ON -DZK_BUILD_BENCH=OFF
cmake --build "$build"
signal linux-built
phase_done "sanitizer build (clang)"

echo "-- format check"
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    'packaging/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h' \
    | xargs -r clang-format --dry-run --Werror
phase_done "format check"

ctest --test-dir "$build" --output-on-failure -LE package -j 2
phase_done "ctest (no package test)"
$quick && exit 0

echo "-- package test (on the Release tree built beside)"
await "package's Release build"
ctest --test-dir "$build" --output-on-failure -L package
phase_done "package test"

echo "-- Windows build and Wine tests (beside)"
await "Windows build and Wine tests" '^100% tests passed\|tests failed out of'
echo "-- fuzzing (beside)"
await "fuzzing" '^-- fuzzing summary'
phase_done "waiting for the Wine tests and fuzzing"
