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

# Each phase's wall time, printed at the end, so a slow phase is seen without a stopwatch. The
# Windows part and the fuzzing run beside the Linux tests; their lines say how long each took.
times=()
phase_start=$SECONDS
phase_done() {
    times+=("$(printf '%-44s %5d s' "$1" $((SECONDS - phase_start)))")
    phase_start=$SECONDS
}
beside=() # the background jobs' process ids
logs=()   # and their output files
trap '[ ${#beside[@]} -eq 0 ] || kill "${beside[@]}" 2>/dev/null || true; rm -f "${logs[@]}"; give_back "$build"; [ ${#times[@]} -eq 0 ] || { echo "-- times"; printf "%s\n" "${times[@]}"; }' EXIT

# One clang tree holds the test suites and the fuzzers, both under the sanitizers: clang compiles
# this code in about two thirds of GCC's time, and the fuzzers need it anyway. GCC still compiles
# everything in the package's Release tree and the Windows tree. The benchmarks are
# scripts/bench.sh's (a Release build of their own), not built here.
# CMake cannot change the compiler of a configured tree: one configured with another (GCC, which
# built the suites before) is configured anew.
if [ -f "$build/CMakeCache.txt" ] &&
    ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=\(.*/\)\?clang++-14$' "$build/CMakeCache.txt"; then
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang-14 \
    -DCMAKE_CXX_COMPILER=clang++-14 -DZK_SANITIZE=ON -DZK_FUZZ=ON -DZK_BUILD_BENCH=OFF
cmake --build "$build"
phase_done "sanitizer build (clang)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# beside NAME COMMAND...: runs COMMAND in the background, its output kept for when it is awaited.
beside() {
    local name=$1 log
    shift
    log=$(mktemp)
    (
        start=$(date +%s)
        status=0
        "$@" || status=$?
        echo "-- $name: $(($(date +%s) - start)) s, exit $status"
        exit $status
    ) >"$log" 2>&1 &
    beside+=($!)
    logs+=("$log")
}

# await INDEX NAME SUMMARY: waits for the job started INDEXth; prints its whole output when it
# failed, else the lines from the one matching SUMMARY on.
await() {
    local status=0
    echo "-- $2"
    wait "${beside[$1]}" || status=$?
    if [ $status -ne 0 ]; then
        cat "${logs[$1]}"
        exit 1
    fi
    sed -n "/$3/,\$p" "${logs[$1]}"
    times+=("$(printf '%-44s %5s s (beside the Linux tests)' "$2" \
        "$(sed -n "s/^-- $2: \([0-9]*\) s, exit 0$/\1/p" "${logs[$1]}")")")
}

if ! $quick; then
    # The Linux tests spend most of their time waiting on answers and time-outs: beside them, the
    # Windows build and its suites under Wine, and 5 s of each fuzzer (niced: builds and tests
    # first).
    beside "Windows build and Wine tests" ./scripts/wine-test.sh
    beside "fuzzing" env ZK_FUZZ_BUILD_DIR="$build" nice -n 10 ./scripts/fuzz.sh 5
fi

echo "-- format check"
git ls-files -co --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' \
    'packaging/*.cpp' 'fuzz/*.cpp' 'fuzz/*.h' \
    | xargs -r clang-format --dry-run --Werror
phase_done "format check"

if $quick; then
    ctest --test-dir "$build" --output-on-failure -LE package -j 2
    phase_done "ctest (no package test)"
    exit 0
fi
ctest --test-dir "$build" --output-on-failure -j 2
phase_done "ctest (with the package test)"

await 0 "Windows build and Wine tests" '^100% tests passed\|tests failed out of'
await 1 "fuzzing" '^-- fuzzing summary'
phase_done "waiting for the Windows tests and fuzzing"
