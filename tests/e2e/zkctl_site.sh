#!/usr/bin/env bash
# A school of 20 simulated controllers looked after with zkctl site, real ports and real
# broadcast across two network namespaces: saved, changed by hand (one volume, one gateway),
# diffed (exactly those two fields), applied back, diffed clean; one room's unit swapped for a
# factory-fresh one with another MAC and replaced onto it; a card registered in every room and
# deleted from every room while one controller is silent. Usage: zkctl_site.sh ZKSIM ZKCTL.
# Exits 77 (skipped) without root.
set -uo pipefail
# shellcheck source=netns.sh
source "$(cd "$(dirname "$0")" && pwd)/netns.sh"
netns_require
zksim=$1
zkctl=$2

controllers=20
work=$(mktemp -d)
sim_pid=
stop_sim() {
    [ -n "$sim_pid" ] && kill -INT "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    sim_pid=
}
trap 'stop_sim; netns_down; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

fail() {
    echo "e2e zkctl site: $*"
    echo "---- last zkctl output"
    cat "$work/out"
    echo "---- zksim log (last 30 lines)"
    tail -n 30 "$work/zksim.log"
    exit 1
}

start_sim() {
    start_in_ctl "$zksim" --state "$work/sim.json" "$@" >"$work/zksim.log" 2>&1
    sim_pid=$ZK_BG_PID
    timeout 5 bash -c "until grep -q listening '$work/zksim.log' 2>/dev/null; do sleep 0.1; done" ||
        fail "zksim did not start"
}

# zkctl on the PC through the controllers' segment; stdout and stderr in $work/out, the exit
# status in $status; the whole run in $work/transcript, shown at the end.
ctl() {
    in_pc "$zkctl" --adapter "v$ZK_NS_PC" --timeout 0.5 "$@" >"$work/out" 2>&1
    status=$?
    { echo "\$ zkctl $*" | sed "s|$work/||g"; cat "$work/out"; echo "(exit $status)"; } >>"$work/transcript"
}

expect_status() { # WANTED WHAT
    [ "$status" = "$1" ] || fail "$2 exited $status, not $1"
}

netns_up "$((controllers - 1))"
start_sim --count "$controllers" --ip-base "$ZK_CTL_IP"
school=$work/school.json

# Room 7 gets a volume of its own first, so that a factory-fresh unit differs from it.
ctl set volume 17 --host 10.77.0.8
expect_status 0 "set volume at room 7"
ctl site save "$school"
expect_status 0 "site save"
[ "$(grep -c '"room": ""' "$school")" = "$controllers" ] || fail "save kept $(grep -c '"room"' "$school") rooms"
# The installer labels the rooms R1..R20 in the order of their addresses.
python3 - "$school" <<'EOF'
import json, sys
path = sys.argv[1]
school = json.load(open(path))
for entry in school["controllers"].values():
    entry["room"] = "R" + str(int(entry["network"]["ip"].split(".")[3]) - 1)
open(path, "w").write(json.dumps(school, indent=2, sort_keys=True) + "\n")
EOF

# Someone changes one volume and one gateway by hand over the holidays.
ctl set volume 30 --host 10.77.0.4
expect_status 0 "set volume at room 3"
ctl netcfg set --mac 84:C2:E4:00:00:0C --gateway 10.77.0.254
expect_status 0 "netcfg set of room 12's gateway"
ctl site diff "$school"
expect_status 1 "site diff after the changes"
[ "$(wc -l <"$work/out")" = 2 ] || fail "site diff named more than the two changes"
grep -Eq '^R12 +network\.gateway +10\.77\.0\.1 → 10\.77\.0\.254$' "$work/out" || fail "no gateway line"
grep -Eq '^R3 +volume +5 → 30$' "$work/out" || fail "no volume line"

ctl site apply "$school" --dry-run
expect_status 0 "site apply --dry-run"
grep -Eq '^R3 +84:C2:E4:00:00:03 +would_change +volume 30 → 5$' "$work/out" || fail "dry run"
ctl site apply "$school"
expect_status 0 "site apply"
grep -Eq '^R12 +84:C2:E4:00:00:0C +changed +network\.gateway 10\.77\.0\.254 → 10\.77\.0\.1$' \
    "$work/out" || fail "apply did not change R12's gateway"
grep -Eq '^changed +2$' "$work/out" || fail "apply changed other than two rooms"
grep -Eq '^unchanged +18$' "$work/out" || fail "apply left other than 18 rooms unchanged"
ctl site diff "$school"
expect_status 0 "the second site diff"

# Room 7's unit breaks; a factory-fresh unit with another MAC takes its place in the rack.
stop_sim
python3 - "$work/sim.json" <<'EOF'
import json, sys
path = sys.argv[1]
state = json.load(open(path))
state["network"]["modules"][6] = {"mac": "84:C2:E4:00:01:00"}
open(path, "w").write(json.dumps(state, indent=2))
EOF
start_sim
ctl site replace --room R7 --new 84:C2:E4:00:01:00 "$school"
expect_status 0 "site replace"
ctl get volume --host 10.77.0.8
expect_status 0 "get volume at room 7's address"
grep -Eq '^volume +17$' "$work/out" || fail "the new unit lacks room 7's volume"
python3 - "$school" <<'EOF' || fail "the file's entry for R7 did not take the new MAC"
import json, sys
entry = json.load(open(sys.argv[1]))["controllers"]["84:C2:E4:00:01:00"]
assert entry["room"] == "R7" and entry["history"] == ["84:C2:E4:00:00:07"], entry
EOF
ctl site diff "$school"
expect_status 0 "site diff after the replacement"

# A card for every room, then lost: deleted everywhere while room 20's controller is silent.
printf 'card\n1234567\n' >"$work/cards.csv"
ctl card import "$work/cards.csv" --site "$school"
expect_status 0 "card import --site"
ip -n "$ZK_NS_CTL" addr del 10.77.0.21/24 dev "v$ZK_NS_CTL"
ctl card delete 1234567 --site "$school"
expect_status 2 "card delete --site with room 20 silent"
[ "$(grep -Ec ' deleted$' "$work/out")" = 19 ] || fail "not 19 rooms deleted"
grep -Eq '^R20 +10\.77\.0\.21 +no_answer$' "$work/out" || fail "room 20 is not no_answer"
cat "$work/transcript"
echo "e2e zkctl site: save, diff, apply, replace and card delete over $controllers rooms"
