#!/usr/bin/env bash
# zkctl discover on the PC side against 20 simulated controllers on the other host, real ports
# and real broadcast. Usage: zkctl_discover.sh ZKSIM ZKCTL. Exits 77 (skipped) without root.
set -uo pipefail
zksim=$1
zkctl=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=netns.sh
source "$here/netns.sh"

if ! netns_available; then
    echo "e2e: needs root and network namespaces (ip netns); skipped"
    exit 77
fi

controllers=20
work=$(mktemp -d)
sim_pid=

cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
    fi
    netns_down
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

netns_up "$((controllers - 1))"
start_in_ctl "$zksim" --count "$controllers" --ip-base "$ZK_CTL_IP" --log >"$work/zksim.log" 2>&1
sim_pid=$ZK_BG_PID
for _ in $(seq 50); do
    grep -q 'listening' "$work/zksim.log" 2>/dev/null && break
    sleep 0.1
done

fail() {
    echo "e2e zkctl: $*"
    echo "---- zkctl stderr"
    cat "$work/err"
    echo "---- zksim log (last 40 lines)"
    tail -n 40 "$work/zksim.log"
    exit 1
}

in_pc "$zkctl" discover --csv >"$work/out" 2>"$work/err" || fail "discover exited $?"
rows=$(($(wc -l <"$work/out") - 1))
[ "$rows" -eq "$controllers" ] || fail "expected $controllers rows, got $rows: $(cat "$work/out")"
for ((i = 0; i < controllers; i++)); do
    grep -q ",10\.77\.0\.$((2 + i)),255\.255\.255\.0," "$work/out" ||
        fail "no row with the parameters of 10.77.0.$((2 + i))"
done
echo "e2e zkctl: discover listed $rows controllers with their parameters"
