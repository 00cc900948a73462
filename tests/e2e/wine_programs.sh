#!/usr/bin/env bash
# The Windows programs on real sockets across the two test hosts, under Wine: zkctl.exe on the
# PC finds 20 Linux zksim controllers on the lab host, rewrites one controller's network
# parameters (--verify) and registers 100 cards; then Linux zkctl finds and configures zksim.exe
# running on the lab host, which saves its state when stopped with Ctrl-C; last, zkconfig.exe
# on the PC, driven by zkgui_drive.exe with window messages, finds 5 zksim controllers, writes
# one's network parameters, reads its volume and registers a card, and tells a search nobody
# answers within 4 s. zkctl.exe's controllers answer to the asker's address and port, zkconfig.exe's
# broadcast to port 60000; on the lab host's wire every configuration datagram of the run comes
# from port 60000.
# Usage: wine_programs.sh ZKSIM ZKCTL ZKSIM_EXE ZKCTL_EXE ZKCONFIG_EXE ZKGUI_DRIVE_EXE. Needs an
# X display for the windows (xvfb-run). Exits 77 (skipped) without root.
set -uo pipefail
# shellcheck source=netns.sh
source "$(cd "$(dirname "$0")" && pwd)/netns.sh"
netns_require
zksim=$1
zkctl=$2
zksim_exe=$3
zkctl_exe=$4
zkconfig_exe=$5
zkgui_drive_exe=$6
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
[ -x "$wine" ] || { echo "e2e wine: $wine is missing (scripts/setup.sh --dev)"; exit 1; }
[ -n "${DISPLAY:-}" ] || { echo "e2e wine: the windows need an X display (xvfb-run -a)"; exit 1; }

controllers=20
work=$(mktemp -d /tmp/zk-e2e-wine.XXXXXX)
sim_pid=
export WINEDEBUG=-all
# Each host gets a Wine prefix of its own, started there: Wine enumerates adapters in a helper
# process of its server, which must see that host's network.
stop_wine() {
    local prefix
    for prefix in "$work"/prefix-*; do
        [ -d "$prefix" ] && WINEPREFIX=$prefix timeout 20 "$wineserver" -k 2>/dev/null
    done
}
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null
    [ -n "${capture_pid:-}" ] && kill "$capture_pid" 2>/dev/null
    stop_wine
    netns_down
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "e2e wine: $*"
    for log in "$work"/*.log "$work"/out; do
        [ -f "$log" ] && { echo "---- $log (last 30 lines)"; tail -n 30 "$log"; }
    done
    exit 1
}

# A Windows path for a file of this machine (Wine's drive Z: is the root).
windows_path() { echo "Z:${1//\//\\}"; }

netns_up "$((controllers - 1))"
# scripts/wine-test.sh boots one prefix (windows unmanaged) for all its tests; alone, we boot ours.
if [ -n "${ZK_WINE_TEMPLATE:-}" ]; then
    cp -a "$ZK_WINE_TEMPLATE" "$work/prefix-template" || fail "cannot copy $ZK_WINE_TEMPLATE"
else
    WINEPREFIX=$work/prefix-template timeout 120 "$wine" wineboot --init >/dev/null 2>&1
    # Without a window manager (Xvfb has none) Wine waits 2 s for one at every hidden or
    # destroyed window unless its windows are unmanaged.
    WINEPREFIX=$work/prefix-template timeout 30 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' \
        /v Managed /d N /f >/dev/null 2>&1
    WINEPREFIX=$work/prefix-template timeout 30 "$wineserver" -w
fi
cp -a "$work/prefix-template" "$work/prefix-pc"
cp -a "$work/prefix-template" "$work/prefix-lab"
pc_wine() { WINEPREFIX=$work/prefix-pc in_pc timeout 60 "$wine" "$@"; }

# The source port of every configuration datagram reaching the lab host.
start_in_ctl tshark -l -n -i "v$ZK_NS_CTL" -f "udp dst port 50000" -T fields -e udp.srcport \
    >"$work/ports" 2>"$work/tshark.log"
capture_pid=$ZK_BG_PID
timeout 20 bash -c "until grep -q Capturing '$work/tshark.log' 2>/dev/null; do sleep 0.1; done" ||
    fail "tshark did not start capturing"

# -- zkctl.exe against Linux zksim ---------------------------------------------------------
# The lab host already carries the address one controller moves to: the simulator learns this
# host's addresses when it starts, and answers from the one asked. Its modules answer to the
# asker's address and port, so an answer reaches zkctl.exe only if the request left from 60000.
ip -n "$ZK_NS_CTL" addr add 10.77.0.99/24 dev "v$ZK_NS_CTL"
start_in_ctl "$zksim" --count "$controllers" --ip-base "$ZK_CTL_IP" --reply-to-sender --log \
    >"$work/zksim.log" 2>&1
sim_pid=$ZK_BG_PID
timeout 5 bash -c "until grep -q listening '$work/zksim.log' 2>/dev/null; do sleep 0.1; done"

pc_wine "$zkctl_exe" --adapter "v$ZK_NS_PC" discover --csv >"$work/out" 2>&1 ||
    fail "zkctl.exe discover exited $?"
tr -d '\r' <"$work/out" >"$work/found.csv"
rows=$(($(wc -l <"$work/found.csv") - 1))
[ "$rows" -eq "$controllers" ] || fail "zkctl.exe discover listed $rows of $controllers"
echo "zkctl.exe discover: $rows controllers"
head -n 3 "$work/found.csv"

mac=$(awk -F, 'NR > 1 && $0 ~ /,10\.77\.0\.7,/ {print $1; exit}' "$work/found.csv")
[ -n "$mac" ] || fail "no MAC for 10.77.0.7 in the list"
pc_wine "$zkctl_exe" --adapter "v$ZK_NS_PC" netcfg set --mac "$mac" --ip 10.77.0.99 --verify \
    >"$work/out" 2>&1 || fail "zkctl.exe netcfg set --verify exited $?"
tr -d '\r' <"$work/out" | grep -Eqx "verified +true" || fail "netcfg set did not verify"
echo "zkctl.exe netcfg set --verify: 10.77.0.7 is now 10.77.0.99, read back and found again"

for ((i = 0; i < 100; i++)); do printf '%010d\n' $((3000000 + i)); done >"$work/cards.csv"
pc_wine "$zkctl_exe" card import "$(windows_path "$work/cards.csv")" --host 10.77.0.99 \
    >"$work/out" 2>&1 || fail "zkctl.exe card import exited $?"
tr -d '\r' <"$work/out" | grep -Eqx "registered +100" || fail "not all 100 cards registered"
echo "zkctl.exe card import: 100 cards registered at 10.77.0.99"
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null
sim_pid=

# -- Linux zkctl against zksim.exe ---------------------------------------------------------
state=$work/sim.json
WINEPREFIX=$work/prefix-lab start_in_ctl "$wine" "$zksim_exe" --count 3 --ip-base "$ZK_CTL_IP" \
    --state "$(windows_path "$state")" --log >"$work/zksim-exe.log" 2>&1
sim_pid=$ZK_BG_PID
timeout 60 bash -c "until grep -q 'Ctrl-C' '$work/zksim-exe.log' 2>/dev/null; do sleep 0.2; done" ||
    fail "zksim.exe did not start"
in_pc "$zkctl" --adapter "v$ZK_NS_PC" discover --csv >"$work/out" 2>&1 ||
    fail "zkctl discover of zksim.exe exited $?"
rows=$(($(wc -l <"$work/out") - 1))
[ "$rows" -eq 3 ] || fail "zkctl discover listed $rows of zksim.exe's 3 controllers"
# Wine binds a socket to an address as to its whole device, so answers leave from the device's
# first address: only the controller there can be asked (zkctl takes answers from it alone).
in_pc "$zkctl" set volume 31 --host "$ZK_CTL_IP" >"$work/out" 2>&1 || fail "set volume exited $?"
in_pc "$zkctl" get volume --host "$ZK_CTL_IP" >"$work/out" 2>&1 || fail "get volume exited $?"
grep -Eqx "volume +31" "$work/out" || fail "$ZK_CTL_IP reported $(cat "$work/out")"
echo "zkctl against zksim.exe: 3 controllers found, volume 31 written and read back"
# Ctrl-C: zksim.exe stops cleanly and its state file has every change.
kill -INT "$sim_pid"
timeout 20 bash -c "while kill -0 $sim_pid 2>/dev/null; do sleep 0.2; done" ||
    fail "zksim.exe did not stop on Ctrl-C"
sim_pid=
grep -q "stopped" "$work/zksim-exe.log" || fail "zksim.exe did not end its loop on Ctrl-C"
grep -q '"volume": 31' "$state" || fail "the state file lacks volume 31"
echo "zksim.exe stopped on Ctrl-C with the volume saved"

# -- zkconfig.exe against Linux zksim ------------------------------------------------------
gui_controllers=5
start_in_ctl "$zksim" --count "$gui_controllers" --ip-base "$ZK_CTL_IP" --log \
    >"$work/zksim-gui.log" 2>&1
sim_pid=$ZK_BG_PID
timeout 5 bash -c "until grep -q listening '$work/zksim-gui.log' 2>/dev/null; do sleep 0.1; done"
# The program keeps system.ini beside itself: a folder of its own, not the build tree.
mkdir "$work/gui"
cp "$zkconfig_exe" "$(dirname "$zkconfig_exe")/projectors.json" "$work/gui/"
WINEPREFIX=$work/prefix-pc in_pc timeout 60 "$wine" "$work/gui/zkconfig.exe" \
    >"$work/zkconfig.log" 2>&1 &
gui_pid=$!
# Segment B has no controller: its search is the one nobody answers.
pc_wine "$zkgui_drive_exe" flow "$ZK_PC_IP" "$gui_controllers" "$ZK_PC_IP2" >"$work/out" 2>&1
driven=$?
tr -d '\r' <"$work/out"
[ "$driven" -eq 0 ] || fail "zkgui_drive.exe failed driving zkconfig.exe"
wait "$gui_pid" || fail "zkconfig.exe exited $?"

kill "$capture_pid" 2>/dev/null
wait "$capture_pid" 2>/dev/null
[ -s "$work/ports" ] || fail "no configuration datagram reached the lab host's capture"
others=$(grep -cvx 60000 "$work/ports")
[ "$others" -eq 0 ] || fail "$others configuration datagrams left from another port than 60000: \
$(sort -u "$work/ports" | tr '\n' ' ')"
echo "on the wire: all $(wc -l <"$work/ports") configuration datagrams came from port 60000"
