#!/usr/bin/env bash
# A segment to click through in a minute: five simulated controllers on one host of a pair of
# network namespaces, the real zkconfig on the other, shown on your display. Needs root.
# Close the zkconfig window to end; everything is torn down.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/release_build.sh
./scripts/setup.sh
build_release zkconfig zksim

source tests/e2e/netns.sh
if ! netns_available; then
    echo "demo: needs root and network namespaces (ip netns)" >&2
    exit 1
fi
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: needs a display (or run it under xvfb-run)" >&2
    exit 1
fi

work=$(mktemp -d)
# Kept after the demo, for a look at what went over the wire.
log=$PWD/build-release/zksim-demo.log
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    netns_down
    rm -rf "$work"
    if [ -f "$log" ]; then
        give_back "$log"
        echo "demo: the simulator's log is kept in $log."
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

netns_up 4
start_in_ctl ./build-release/src/sim/zksim --count 5 --ip-base "$ZK_CTL_IP" --state "$work/sim.json" \
    --reply-to-server --card 1234567 --log >"$log" 2>&1
sim_pid=$ZK_BG_PID
echo "demo: five controllers at 10.77.0.2-6; this PC is $ZK_PC_IP."
echo "demo: search, pick one, set 服务器IP to $ZK_PC_IP and 远程端口 to 16006, press 设置IP,"
echo "demo: then 中控参数设置. The simulator logs every datagram to $log."
# A copy of the program of its own, so that its system.ini stays out of the build tree.
cp ./build-release/src/zkconfig ./build-release/src/projectors.json "$work/"
in_pc "$work/zkconfig"
