#!/usr/bin/env bash
# Two simulated camera networks behind two network cards, for the finder's tests and demo.
# It runs only inside a private network namespace that holds nothing but lo, and builds:
#
#   eth1  192.168.1.5/24  == veth ==  namespace of its own: camsim with CAMERAS1 on :4000
#   eth2  10.0.0.5/24     == veth ==  namespace of its own: camsim --reply-broadcast with
#                                     CAMERAS2 (a camera in a foreign subnet cannot answer
#                                     the finder's address, it has no route there)
#   eth3  up, without an IPv4 address and without a peer: a card the finder must skip
#
# and, when CAMERAS3 is given, a camera network that a broadcast does not reach:
#
#   eth4  10.1.0.5/24  == veth ==  router namespace (10.1.0.1/24, 10.2.0.1/24, forwarding)
#                                  == veth ==  namespace of its own: camsim with CAMERAS3
#                                              at 10.2.0.21/24, default route via 10.2.0.1
#
# This PC reaches 10.2.0.0/24 through the router (a route via 10.1.0.1 on eth4): only
# queries sent to the cameras' addresses (--to) find them there.
#
# No namespace has a default route, as on a site where a laptop is plugged into the camera
# switch. Nothing sent here can leave: the only links lead into the namespaces made here.
#
#   camera_networks.sh up STATE_DIR CAMSIM CAMERAS1 CAMERAS2 [CAMERAS3]
#   camera_networks.sh add STATE_DIR NET CARD ADDRESS CAMERA_ADDRESS CAMSIM [CAMSIM OPTIONS]
#   camera_networks.sh hold STATE_DIR NET CARD ADDRESS...
#   camera_networks.sh twin STATE_DIR NET CARD ADDRESS MAC
#   camera_networks.sh down STATE_DIR
#
# add puts one more camera network behind a card of its own (net4 behind eth5 at most; net3
# and eth4 are the router's), camsim with the options given (a box of cameras at one
# factory address, say). With CAMERA_MAC set, the camera's end of the link has that MAC, so
# that the kernel there answers ARP for the camera's address with the camera's own MAC.
#
# hold makes the far end of NET (behind CARD) hold more host addresses (ADDRESS/PREFIX): its
# kernel answers ARP for them as any host on the segment would. twin puts a second device on
# NET's segment, a namespace of its own (a macvlan of the far end's link with MAC) holding
# ADDRESS:
# with hold of the same address, two MACs answer for one IP.
#
# STATE_DIR receives each camsim's log of received datagrams (net1.log, net2.log, ...), its
# start-up line (net1.out, ...) and its process id (net1.pid, ...); the router's process
# id is router.pid, a twin's NET-twin.pid.
set -euo pipefail
PATH="$PATH:/usr/sbin:/sbin"

# In the camera's namespace, once its end of the link has been moved in: address, up, camsim.
camera_side() {
    local state="$1" net="$2" link="$3" address="$4"
    shift 4
    while [[ ! -e "$state/$net.go" ]]; do sleep 0.02; done
    ip link set lo up
    ip addr add "$address" dev "$link"
    [[ -z "${CAMERA_MAC:-}" ]] || ip link set "$link" address "$CAMERA_MAC"
    ip link set "$link" up
    [[ -z "${CAMERA_GATEWAY:-}" ]] || ip route add default via "$CAMERA_GATEWAY"
    exec "$@" --port 4000 --log "$state/$net.log" >"$state/$net.out" 2>&1
}

# Starts a namespace of its own running this script with the arguments after link, and moves
# link into it. NS_PID is then the namespace's process id.
namespace_at() {
    local link="$1"
    shift
    unshare -n "$0" "$@" &
    local pid=$!
    NS_PID=$pid
    # unshare enters the new namespace and then runs the script: wait until it has.
    for _ in $(seq 1 200); do
        [[ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" != "$(readlink /proc/$$/ns/net)" ]] && break
        sleep 0.02
    done
    ip link set "$link" netns "$pid"
}

# A card of the finder's namespace and the camera namespace at its other end.
camera_net() {
    local state="$1" net="$2" card="$3" address="$4" camera_address="$5"
    shift 5
    ip link add "$card" type veth peer name "$card-cam"
    ip addr add "$address" dev "$card"
    namespace_at "$card-cam" camera-side "$state" "$net" "$card-cam" "$camera_address" "$@"
    local pid=$NS_PID
    echo "$pid" >"$state/$net.pid"
    ip link set "$card" up
    touch "$state/$net.go"
    for _ in $(seq 1 500); do
        grep -q devices "$state/$net.out" 2>/dev/null && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    echo "camera_networks: camsim of $net did not start: $(cat "$state/$net.out" 2>/dev/null)" >&2
    return 1
}

# In the router's namespace: its link towards the finder, forwarding, the camera network
# behind it; then it stays until killed.
router_side() {
    local state="$1" camsim="$2" cameras="$3"
    while [[ ! -e "$state/router.go" ]]; do sleep 0.02; done
    ip link set lo up
    ip addr add 10.1.0.1/24 dev eth4-rt
    ip link set eth4-rt up
    echo 1 >/proc/sys/net/ipv4/ip_forward
    CAMERA_GATEWAY=10.2.0.1 camera_net "$state" net3 rt2 10.2.0.1/24 10.2.0.21/24 "$camsim" \
        --devices "$cameras"
    touch "$state/router.ready"
    exec sleep 86400
}

routed_net() {
    local state="$1" camsim="$2" cameras="$3"
    ip link add eth4 type veth peer name eth4-rt
    ip addr add 10.1.0.5/24 dev eth4
    namespace_at eth4-rt router-side "$state" "$camsim" "$cameras"
    local pid=$NS_PID
    echo "$pid" >"$state/router.pid"
    ip link set eth4 up
    ip route add 10.2.0.0/24 via 10.1.0.1 dev eth4
    touch "$state/router.go"
    for _ in $(seq 1 500); do
        [[ -e "$state/router.ready" ]] && return 0
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.02
    done
    echo "camera_networks: the router's camera network did not start" >&2
    return 1
}

up() {
    local state="$1" camsim="$2" cameras1="$3" cameras2="$4" cameras3="${5:-}"
    if [[ "$(ip -o link show | awk -F': ' '{print $2}')" != "lo" ]]; then
        echo "camera_networks: runs only in a private network namespace holding nothing but lo" >&2
        return 1
    fi
    mkdir -p "$state"
    ip link set lo up
    camera_net "$state" net1 eth1 192.168.1.5/24 192.168.1.2/24 "$camsim" --devices "$cameras1"
    camera_net "$state" net2 eth2 10.0.0.5/24 192.168.1.64/24 "$camsim" --devices "$cameras2" \
        --reply-broadcast
    ip link add eth3 type veth peer name eth3-end
    ip link set eth3-end up
    ip link set eth3 up
    [[ -z "$cameras3" ]] || routed_net "$state" "$camsim" "$cameras3"
}

add() {
    camera_net "$@"
}

hold() {
    local state="$1" net="$2" card="$3"
    shift 3
    for address in "$@"; do
        nsenter -t "$(cat "$state/$net.pid")" -n ip addr add "$address" dev "$card-cam"
    done
}

# In the twin's namespace, once its link has been moved in: the address, up; then it stays.
twin_side() {
    local state="$1" net="$2" link="$3" address="$4" mac="$5"
    while ! ip link show "$link" >/dev/null 2>&1; do sleep 0.02; done
    ip link set lo up
    ip addr add "$address" dev "$link"
    ip link set "$link" address "$mac"
    ip link set "$link" up
    touch "$state/$net-twin.ready"
    exec sleep 86400
}

twin() {
    local state="$1" net="$2" card="$3" address="$4" mac="$5"
    local far
    far="$(cat "$state/$net.pid")"
    nsenter -t "$far" -n ip link add link "$card-cam" name "$card-twin" type macvlan mode bridge
    unshare -n "$0" twin-side "$state" "$net" "$card-twin" "$address" "$mac" &
    local pid=$!
    echo "$pid" >"$state/$net-twin.pid"
    for _ in $(seq 1 200); do
        [[ "$(readlink "/proc/$pid/ns/net" 2>/dev/null)" != "$(readlink /proc/$$/ns/net)" ]] && break
        sleep 0.02
    done
    nsenter -t "$far" -n ip link set "$card-twin" netns "$pid"
    for _ in $(seq 1 250); do
        [[ -e "$state/$net-twin.ready" ]] && return 0
        sleep 0.02
    done
    echo "camera_networks: the twin on $net did not start" >&2
    return 1
}

down() {
    local state="$1" pid
    # The router's camera network goes with the router: kill its camsim first.
    for net in net3 router net1 net2 net4; do
        pid="$(cat "$state/$net.pid" 2>/dev/null || true)"
        [[ -z "$pid" ]] || kill "$pid" 2>/dev/null || true
    done
    for file in "$state"/*-twin.pid; do
        [[ ! -e "$file" ]] || kill "$(cat "$file")" 2>/dev/null || true
    done
    for card in eth1 eth2 eth3 eth4 eth5; do
        ip link del "$card" 2>/dev/null || true
    done
}

case "${1:-}" in
camera-side) shift; camera_side "$@" ;;
router-side) shift; router_side "$@" ;;
twin-side) shift; twin_side "$@" ;;
hold) shift; hold "$@" ;;
twin) shift; twin "$@" ;;
up) shift; up "$@" ;;
add) shift; add "$@" ;;
down) shift; down "$@" ;;
*)
    echo "usage: camera_networks.sh up STATE_DIR CAMSIM CAMERAS1 CAMERAS2 [CAMERAS3] |" \
        "add STATE_DIR NET CARD ADDRESS CAMERA_ADDRESS CAMSIM [OPTIONS] |" \
        "hold STATE_DIR NET CARD ADDRESS... | twin STATE_DIR NET CARD ADDRESS MAC |" \
        "down STATE_DIR" >&2
    exit 2
    ;;
esac
