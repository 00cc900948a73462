#!/usr/bin/env bash
# zkctl discover on the PC side against 20 simulated controllers on the other host, real ports
# and real broadcast. Usage: zkctl_discover.sh ZKSIM ZKCTL. Exits 77 (skipped) without root.
set -uo pipefail
# shellcheck source=netns.sh
source "$(cd "$(dirname "$0")" && pwd)/netns.sh"
netns_require
zksim=$1
zkctl=$2

controllers=20
work=$(mktemp -d)
# netns_down also ends the simulator, which runs inside the controller namespace.
trap 'netns_down; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

netns_up "$((controllers - 1))"
start_in_ctl "$zksim" --count "$controllers" --ip-base "$ZK_CTL_IP" --log >"$work/zksim.log" 2>&1
timeout 5 bash -c "until grep -q listening '$work/zksim.log' 2>/dev/null; do sleep 0.1; done"

fail() {
    echo "e2e zkctl: $*"
    echo "---- zkctl stderr"
    cat "$work/err"
    echo "---- zksim log (last 40 lines)"
    tail -n 40 "$work/zksim.log"
    exit 1
}

in_pc "$zkctl" --adapter "v$ZK_NS_PC" discover --csv >"$work/out" 2>"$work/err" || fail "discover exited $?"
rows=$(($(wc -l <"$work/out") - 1))
[ "$rows" -eq "$controllers" ] || fail "expected $controllers rows, got $rows: $(cat "$work/out")"
for ((i = 0; i < controllers; i++)); do
    grep -q ",10\.77\.0\.$((2 + i)),255\.255\.255\.0," "$work/out" ||
        fail "no row with the parameters of 10.77.0.$((2 + i))"
done
echo "e2e zkctl: discover listed $rows controllers with their parameters"
