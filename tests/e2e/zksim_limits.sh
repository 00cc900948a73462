#!/usr/bin/env bash
# zksim under a small limit of open files: two thousand controllers on loopback addresses cost
# no more descriptors than one, each still answering from its own address (zkctl takes no answer
# from another); and a limit too small for the sockets themselves is named, with a clean exit.
# Usage: zksim_limits.sh ZKSIM ZKCTL. Exits 77 (skipped) without prlimit.
set -uo pipefail
zksim=$1
zkctl=$2
command -v prlimit >/dev/null || exit 77

work=$(mktemp -d)
sim_pid=
stop_sim() {
    [ -n "$sim_pid" ] && kill -INT "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    sim_pid=
}
trap 'stop_sim; rm -rf "$work"' EXIT

fail() {
    echo "e2e zksim limits: $*"
    echo "---- zksim log (last 20 lines)"
    tail -n 20 "$work/zksim.log"
    exit 1
}

hs3=$((20000 + RANDOM % 20000))
config=$((hs3 + 1))
prlimit --nofile=64 "$zksim" --count 2000 --ip-base 127.1.0.1 --hs3-port "$hs3" \
    --config-port "$config" >"$work/zksim.log" 2>&1 &
sim_pid=$!
timeout 10 bash -c "until grep -q 'Ctrl-C' '$work/zksim.log' 2>/dev/null; do sleep 0.1; done" ||
    fail "zksim did not start"
"$zkctl" --hs3-port "$hs3" get volume --host 127.1.7.208 >"$work/out" 2>&1 ||
    fail "the last controller did not answer from 127.1.7.208: $(cat "$work/out")"
[ "$(ls /proc/"$sim_pid"/fd | wc -l)" -le 20 ] ||
    fail "zksim holds $(ls /proc/"$sim_pid"/fd | wc -l) descriptors for 2000 controllers"
stop_sim

# Descriptors this shell inherited would take the few places the limit leaves: closed first.
# shellcheck disable=SC2016
bash -c 'for fd in /proc/$$/fd/*; do n=${fd##*/}; [ "$n" -gt 2 ] && eval "exec $n>&-"; done
    exec prlimit --nofile=5 "$@"' zksim "$zksim" --count 2 --hs3-port "$hs3" \
    --config-port "$config" >"$work/zksim.log" 2>&1
status=$?
[ "$status" = 1 ] || fail "with 5 descriptors zksim exited $status, not 1"
grep -q "Too many open files (at most 5 open files for this program: ulimit -n)" \
    "$work/zksim.log" || fail "the limit is not named"
[ "$(grep -c 'Too many open files' "$work/zksim.log")" = 1 ] || fail "the limit is named twice"
echo "e2e zksim limits: 2000 controllers answered under 64 descriptors; 5 named as the limit"
