#!/usr/bin/env bash
# Three simulated controllers on three addresses of the controller host, each written and read
# through zkctl on the PC: each keeps its own volume, answers from the address asked (zkctl takes
# no answer from another), and the state file keeps all three. Usage: zksim_controllers.sh ZKSIM
# ZKCTL. Exits 77 (skipped) without root.
set -uo pipefail
# shellcheck source=netns.sh
source "$(cd "$(dirname "$0")" && pwd)/netns.sh"
netns_require
zksim=$1
zkctl=$2

work=$(mktemp -d)
sim_pid=
stop_sim() {
    [ -n "$sim_pid" ] && kill -INT "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    sim_pid=
}
trap 'stop_sim; netns_down; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

fail() {
    echo "e2e zksim controllers: $*"
    echo "---- zksim log (last 40 lines)"
    tail -n 40 "$work/zksim.log"
    exit 1
}

netns_up 2
start_in_ctl "$zksim" --count 3 --ip-base "$ZK_CTL_IP" --state "$work/sim.json" --log \
    >"$work/zksim.log" 2>&1
sim_pid=$ZK_BG_PID
timeout 5 bash -c "until grep -q listening '$work/zksim.log' 2>/dev/null; do sleep 0.1; done"

for i in 0 1 2; do
    host=10.77.0.$((2 + i))
    in_pc "$zkctl" set volume $((21 + i)) --host "$host" >"$work/out" 2>&1 ||
        fail "set volume at $host exited $?: $(cat "$work/out")"
done
for i in 0 1 2; do
    host=10.77.0.$((2 + i))
    in_pc "$zkctl" get volume --host "$host" >"$work/out" 2>&1 ||
        fail "get volume at $host exited $?: $(cat "$work/out")"
    grep -Eqx "volume +$((21 + i))" "$work/out" || fail "$host reported $(cat "$work/out")"
done
stop_sim
for i in 0 1 2; do
    grep -q "\"volume\": $((21 + i))" "$work/sim.json" || fail "state file lacks volume $((21 + i))"
done
echo "e2e zksim controllers: three controllers kept three volumes, each answering from its address"
