#!/usr/bin/env bash
# zkctl at scale against zksim on loopback: time to import 1,000 cards and to discover 200 and
# 1,000 controllers, each beside a reference measured in the same run (one request; discovery of
# one controller), so the figures can be compared across machines and builds.
# Usage: bench/zkctl_bench.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
zksim=$build/src/sim/zksim
zkctl=$build/src/cli/zkctl
[ -x "$zksim" ] && [ -x "$zkctl" ] || { echo "build zksim and zkctl first" >&2; exit 1; }

work=$(mktemp -d)
sim_pid=
base=$((40000 + $$ % 10000))
hs3=$base
config=$((base + 1))
ports=(--hs3-port "$hs3" --hs3-local-port 0 --config-port "$config" --config-local-port 0)

stop_sim() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
trap 'stop_sim; rm -rf "$work"' EXIT

start_sim() {
    stop_sim
    "$zksim" --bind 127.0.0.1 --hs3-port "$hs3" --config-port "$config" --reply-to-sender \
        --ip-base 127.0.0.1 --count "$1" >"$work/sim.log" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do
        grep -q 'Ctrl-C' "$work/sim.log" 2>/dev/null && return
        sleep 0.05
    done
    echo "zksim did not start" >&2
    exit 1
}

# Prints the seconds a command took; its output goes to $work/out.
seconds() {
    local start=$EPOCHREALTIME
    "$@" >"$work/out" 2>"$work/err" || { echo "failed: $* ($(cat "$work/err"))" >&2; exit 1; }
    awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.3f", b - a }'
}

{
    echo card
    for ((i = 0; i < 1000; i++)); do echo $((500000 + i)); done
} >"$work/cards.csv"

start_sim 1
one=$(seconds "$zkctl" "${ports[@]}" card count --host 127.0.0.1)
import=$(seconds "$zkctl" "${ports[@]}" card import "$work/cards.csv" --host 127.0.0.1)
grep -q 'registered *1000' "$work/out" || { echo "import did not register 1000" >&2; exit 1; }
discover_1=$(seconds "$zkctl" "${ports[@]}" discover --csv)

printf '%-44s %8s s\n' "reference: one request (card count)" "$one"
printf '%-44s %8s s  (%s ms a card)\n' "import 1,000 cards" "$import" \
    "$(awk -v t="$import" 'BEGIN { printf "%.2f", t }')"
printf '%-44s %8s s\n' "reference: discover 1 controller (1 s window)" "$discover_1"
for count in 200 1000; do
    start_sim "$count"
    t=$(seconds "$zkctl" "${ports[@]}" discover --csv)
    rows=$(($(wc -l <"$work/out") - 1))
    printf '%-44s %8s s  (%d rows)\n' "discover $count controllers" "$t" "$rows"
done
