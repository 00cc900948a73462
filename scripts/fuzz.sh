#!/usr/bin/env bash
# Usage: scripts/fuzz.sh [SECONDS [RUNS]] | scripts/fuzz.sh --build-only
# Builds the libFuzzer targets of fuzz/ with clang in build-fuzz/ (optimised, fuzzers only) and
# runs each for SECONDS
# (default 60), one after another; with RUNS, each stops after that many executions instead,
# unless SECONDS run out first. Fails on any crash, leak, sanitizer report or broken invariant;
# the input that caused it is kept in build-fuzz/artifacts/. Prints each target's executions.
# New inputs collect in build-fuzz/corpus/, so later runs go on where earlier ones stopped; the
# seeds in fuzz/corpus/ are only read. ZK_FUZZ_TARGETS (names, space-separated) picks targets,
# ZK_FUZZ_TIMEOUT sets the seconds one input may take (default 10): a long run on a busy
# machine may be stopped or starved for longer than that without any input being slow.
# ZK_FUZZ_BUILD_DIR names another tree: one configured with -DZK_FUZZ=ON already (the test
# command's sanitizer tree, which builds the fuzzers beside the suites) is only brought up to date.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=false
if [ "${1:-}" = --build-only ]; then
    build_only=true
    shift
fi
seconds=${1:-60}
max_runs=${2:-}
timeout=${ZK_FUZZ_TIMEOUT:-10}
build=${ZK_FUZZ_BUILD_DIR:-build-fuzz}
all_targets=(fuzz_settings_reply fuzz_find_datagram fuzz_sim_controller fuzz_sim_network fuzz_system_ini fuzz_request fuzz_found_rows fuzz_config_message)
read -r -a targets <<<"${ZK_FUZZ_TARGETS:-${all_targets[*]}}"

./scripts/setup.sh
if ! grep -qx 'ZK_FUZZ:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
    CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZK_FUZZ=ON -DZK_BUILD_TESTS=OFF -DZK_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target "${targets[@]}"
$build_only && exit 0

# Long enough for a few datagrams of each kind in one input, no longer, so each run stays quick.
max_len_of() {
    case "$1" in
    fuzz_settings_reply) echo 320 ;;   # one HS3 reply of up to 260 bytes, and some more
    fuzz_system_ini) echo 512 ;;
    fuzz_request) echo 300 ;;         # one request payload
    fuzz_config_message) echo 400 ;;  # one configuration datagram, a long one too
    fuzz_sim_controller) echo 1024 ;;  # a run of requests
    *) echo 1200 ;;                    # three or four 285-byte configuration datagrams
    esac
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/artifacts"
summary=()
failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    log="$build/artifacts/$target.log"
    mkdir -p "$corpus"
    echo "-- fuzzing $target for $seconds s${max_runs:+ or $max_runs runs}"
    status=0
    "$build/fuzz/$target" -max_total_time="$seconds" ${max_runs:+-runs="$max_runs"} \
        -max_len="$(max_len_of "$target")" -timeout="$timeout" \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
        "$corpus" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ "$status" -ne 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
        failed=1
        echo "$target: FAILED (exit $status); log $log"
        grep -E -A25 'ERROR:|runtime error:|invariant broken' "$log" | head -60 || true
        summary+=("$(printf '%-22s %12s runs %8s/s  FAILED' "$target" "${runs:-?}" "${rate:-?}")")
    else
        summary+=("$(printf '%-22s %12s runs %8s/s  ok' "$target" "${runs:-?}" "${rate:-?}")")
    fi
done

echo "-- fuzzing summary ($seconds s${max_runs:+ or $max_runs runs} each)"
printf '%s\n' "${summary[@]}"
exit "$failed"
