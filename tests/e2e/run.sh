#!/usr/bin/env bash
# Two hosts on one segment: the tool's driver on the PC side, zksim with several controllers on
# the other. Usage: run.sh ZKSIM DRIVER. Exits 77 (skipped) without root or namespaces.
set -uo pipefail
zksim=$1
driver=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=netns.sh
source "$here/netns.sh"

if ! netns_available; then
    echo "e2e: needs root and network namespaces (ip netns); skipped"
    exit 77
fi

controllers=${ZK_E2E_COUNT:-3}
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

# The controllers answer configuration requests by broadcast, as the real modules do, and
# command frames to the server address each module is configured with.
start_in_ctl "$zksim" --count "$controllers" --ip-base "$ZK_CTL_IP" --state "$work/sim.json" \
    --reply-to-server --card 1234567 --log >"$work/zksim.log" 2>&1
sim_pid=$ZK_BG_PID
for _ in $(seq 50); do
    grep -q 'listening' "$work/zksim.log" 2>/dev/null && break
    sleep 0.1
done

status=0
in_pc env QT_QPA_PLATFORM=offscreen ZK_E2E_COUNT="$controllers" ZK_E2E_PC_IP="$ZK_PC_IP" \
    ZK_E2E_SCREENSHOTS="${ZK_E2E_SCREENSHOTS:-}" "$driver" || status=$?

if [ "$status" -ne 0 ]; then
    echo "---- zksim log (last 60 lines)"
    tail -n 60 "$work/zksim.log"
fi
exit "$status"
