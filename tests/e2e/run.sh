#!/usr/bin/env bash
# The tool's driver on the PC, zksim with several controllers on segment A and one more zksim
# with one controller on segment B. Usage: run.sh ZKSIM DRIVER. Exits 77 (skipped) without root
# or namespaces.
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

controllers=${ZK_E2E_COUNT:-5}
work=$(mktemp -d)
sim_pid=
sim2_pid=

cleanup() {
    local pid
    for pid in $sim_pid $sim2_pid; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
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
start_in_ctl2 "$zksim" --count 1 --ip-base "$ZK_CTL_IP2" --mac-base 84:C2:E4:00:0B:01 \
    --state "$work/sim2.json" --log >"$work/zksim2.log" 2>&1
sim2_pid=$ZK_BG_PID
for log in "$work/zksim.log" "$work/zksim2.log"; do
    for _ in $(seq 50); do
        grep -q 'listening' "$log" 2>/dev/null && break
        sleep 0.1
    done
done

status=0
in_pc env QT_QPA_PLATFORM=offscreen ZK_E2E_COUNT="$controllers" ZK_E2E_PC_IP="$ZK_PC_IP" \
    ZK_E2E_SEGMENT_B_IP="$ZK_CTL_IP2" \
    ZK_E2E_SCREENSHOTS="${ZK_E2E_SCREENSHOTS:-}" "$driver" || status=$?

if [ "$status" -ne 0 ]; then
    echo "---- zksim log (last 60 lines)"
    tail -n 60 "$work/zksim.log"
    echo "---- zksim on segment B (last 20 lines)"
    tail -n 20 "$work/zksim2.log"
fi
exit "$status"
