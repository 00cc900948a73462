#!/usr/bin/env bash
# Hosts for end-to-end runs: network namespaces joined by veth pairs. The PC has three adapters,
# in this order: segment A (10.77.0.1/24) to the controller host, whose first address is
# 10.77.0.2 and which has one more address per extra controller; an adapter whose cable is
# pulled (down, no address); segment B (10.78.0.1/24) to a second controller host at 10.78.0.2.
# The PC has no route for 255.255.255.255: a search leaves only through the chosen adapter.
# Source this file; call netns_up, then netns_down (also from a trap).

ZK_NS_PC=${ZK_NS_PC:-zkpc$$}
ZK_NS_CTL=${ZK_NS_CTL:-zkctl$$}
ZK_NS_CTL2=${ZK_NS_CTL2:-zkctlb$$}
ZK_PC_IP=10.77.0.1
ZK_CTL_IP=10.77.0.2
ZK_PC_IP2=10.78.0.1
ZK_CTL_IP2=10.78.0.2

# True when this process may create namespaces, link them and run programs inside them.
netns_available() {
    [ "$(id -u)" -eq 0 ] || return 1
    command -v ip >/dev/null 2>&1 || return 1
    local probe="zkprobe$$" ok=0
    ip netns add "$probe" 2>/dev/null || return 1
    ip -n "$probe" link add zkpa type veth peer name zkpb 2>/dev/null &&
        ip netns exec "$probe" true 2>/dev/null || ok=1
    ip netns del "$probe" 2>/dev/null
    return $ok
}

# netns_up [extra controller addresses]: creates the three hosts and the links between them.
netns_up() {
    local extra=${1:-0}
    ip netns add "$ZK_NS_PC"
    ip netns add "$ZK_NS_CTL"
    ip netns add "$ZK_NS_CTL2"
    ip link add "v$ZK_NS_PC" netns "$ZK_NS_PC" type veth peer name "v$ZK_NS_CTL" netns "$ZK_NS_CTL"
    ip link add "d$ZK_NS_PC" netns "$ZK_NS_PC" type veth peer name "d$ZK_NS_CTL" netns "$ZK_NS_CTL"
    ip link add "w$ZK_NS_PC" netns "$ZK_NS_PC" type veth peer name "v$ZK_NS_CTL2" netns "$ZK_NS_CTL2"
    ip -n "$ZK_NS_PC" addr add "$ZK_PC_IP/24" dev "v$ZK_NS_PC"
    ip -n "$ZK_NS_PC" addr add "$ZK_PC_IP2/24" dev "w$ZK_NS_PC"
    ip -n "$ZK_NS_CTL" addr add "$ZK_CTL_IP/24" dev "v$ZK_NS_CTL"
    ip -n "$ZK_NS_CTL2" addr add "$ZK_CTL_IP2/24" dev "v$ZK_NS_CTL2"
    local i
    for ((i = 0; i < extra; i++)); do
        ip -n "$ZK_NS_CTL" addr add "10.77.0.$((3 + i))/24" dev "v$ZK_NS_CTL"
    done
    ip -n "$ZK_NS_PC" link set lo up
    ip -n "$ZK_NS_PC" link set "v$ZK_NS_PC" up
    ip -n "$ZK_NS_PC" link set "w$ZK_NS_PC" up
    for ns in "$ZK_NS_CTL" "$ZK_NS_CTL2"; do
        ip -n "$ns" link set lo up
        ip -n "$ns" link set "v$ns" up
        # The modules answer by limited broadcast, out of their only interface.
        ip -n "$ns" route add 255.255.255.255/32 dev "v$ns"
    done
}

# Ends whatever still runs on either side (only what this script started can run there), then
# removes both hosts.
netns_down() {
    local ns pids
    for ns in "$ZK_NS_PC" "$ZK_NS_CTL" "$ZK_NS_CTL2"; do
        pids=$(ip netns pids "$ns" 2>/dev/null)
        if [ -n "$pids" ]; then
            kill $pids 2>/dev/null
            sleep 0.2
            kill -9 $pids 2>/dev/null
        fi
        ip netns del "$ns" 2>/dev/null || true
    done
}

in_pc() { ip netns exec "$ZK_NS_PC" "$@"; }

# Starts a program on a controller host (start_in_ctl: segment A, start_in_ctl2: segment B) in
# the background. ip netns exec becomes the program, so ZK_BG_PID is the program's own pid.
start_in_ctl() {
    ip netns exec "$ZK_NS_CTL" "$@" &
    ZK_BG_PID=$!
}

start_in_ctl2() {
    ip netns exec "$ZK_NS_CTL2" "$@" &
    ZK_BG_PID=$!
}
