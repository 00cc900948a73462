#!/usr/bin/env bash
# A segment to try in a minute: five simulated controllers on one host of a pair of network
# namespaces, and this PC on the other. Needs root.
#   demo.sh         the real zkconfig on your display; close its window to end.
#   demo.sh --cli   no window: a shell on the PC's side with zkctl on its PATH; exit it to end.
# Everything is torn down at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=false
case "${1:-}" in
--cli) cli=true ;;
"") ;;
*)
    echo "usage: demo.sh [--cli]" >&2
    exit 64
    ;;
esac
source scripts/lib/release_build.sh
./scripts/setup.sh
if $cli; then
    build_release zkctl zksim
else
    build_release zkconfig zksim
fi

source tests/e2e/netns.sh
if ! netns_available; then
    echo "demo: needs root and network namespaces (ip netns)" >&2
    exit 1
fi
if ! $cli && [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "demo: needs a display (or run it under xvfb-run, or try demo.sh --cli)" >&2
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
echo "demo: five controllers at 10.77.0.2-6 (namespace $ZK_NS_CTL); this PC is $ZK_PC_IP" \
    "(namespace $ZK_NS_PC)."
echo "demo: the simulator logs every datagram to $log."

if $cli; then
    # One adapter up, as on a laptop cabled to the controllers' switch: zkctl finds it alone.
    ip -n "$ZK_NS_PC" link set "w$ZK_NS_PC" down
    mkdir "$work/bin"
    cp ./build-release/src/cli/zkctl ./build-release/src/cli/projectors.json "$work/bin/"
    chmod -R a+rX "$work"
    echo "demo: a shell on the PC's side, zkctl on its PATH (README, \"Trying zkctl\"). Point a"
    echo "demo: controller at this PC first: zkctl netcfg set --mac 84:C2:E4:00:00:01 --server self --port 16006"
    echo "demo: another shell there: sudo ip netns exec $ZK_NS_PC bash. Type exit to end the demo."
    # The shell runs as the user who called sudo, so that files written there are theirs.
    as_user=()
    [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ] && as_user=(runuser -u "$SUDO_USER" --)
    in_pc "${as_user[@]}" env PATH="$work/bin:$PATH" PS1='zkctl demo$ ' bash --norc -i || true
    exit 0
fi

echo "demo: search, pick one, set 服务器IP to $ZK_PC_IP and 远程端口 to 16006, press 设置IP,"
echo "demo: then 中控参数设置."
# A copy of the program of its own, so that its system.ini stays out of the build tree.
cp ./build-release/src/zkconfig ./build-release/src/projectors.json "$work/"
in_pc "$work/zkconfig"
