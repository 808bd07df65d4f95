#!/usr/bin/env bash
# The finder at work without a camera network: a private network namespace with two network
# cards, eth1 (192.168.1.5/24) and eth2 (10.0.0.5/24), each leading to a simulated camera
# network of its own (scripts/camera_networks.sh): a dozen cameras behind eth1, and behind
# eth2 a camera with a factory address in a foreign subnet that answers by broadcast and two
# cameras that answer with one IP. The
# finder runs with its own defaults (a query out of every card to 255.255.255.255:4000 from
# port 3566, no default route). Nothing leaves the namespaces.
#
#   scripts/demo.sh [BUILD]      (BUILD defaults to build; `make demo` passes it)
#
# With a display, the finder opens on it and the demo ends when the finder does. Without
# one ($DISPLAY unset), it runs on a private Xvfb with trayer as its notification area,
# starts with eth2's cable unplugged, plugs it in and presses Update (the status line counts
# the cameras new since the first search, two of them marked for their shared IP), selects
# the camera in the foreign subnet, presses "Move into my network", saves a
# screenshot to BUILD/demo.png, prints its path, hides the finder
# to the tray and brings it back with a double-click on the icon, and closes the finder.
# Then a box of 24 cameras at one factory address comes up behind a card of its own, eth5
# (10.77.0.5/24): a finder for that card selects them all, addresses them in one step in its
# dialog, and saves BUILD/demo-batch.png with every row confirmed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"

# Inside the namespace: the two camera networks, then the finder.
inside() {
    local build="$1" screenshot="$2"
    # Run by hand outside the private namespace, the finder would broadcast on the real
    # network: loopback must be the only link (camera_networks.sh refuses otherwise).
    if [[ "$(ip -o link show | awk -F': ' '{print $2}')" != "lo" ]]; then
        echo "demo: --inside runs only in a private network namespace" >&2
        return 1
    fi
    state="$(mktemp -d)"
    trap '"$here/camera_networks.sh" down "$state"; wait 2>/dev/null || true' EXIT
    "$here/camera_networks.sh" up "$state" "$build/bin/camsim" "$root/sim/demo_cameras.txt" \
        "$root/sim/demo_cameras_net2.txt"
    if [[ -n "$screenshot" ]] && command -v trayer >/dev/null; then
        trayer --edge bottom --align right --widthtype pixel --width 100 --height 24 \
            >/dev/null 2>&1 &
        tray_pid=$!
        trap 'kill "$tray_pid" 2>/dev/null || true; "$here/camera_networks.sh" down "$state"; wait 2>/dev/null || true' EXIT
        sleep 0.5 # the notification area must be there when the finder asks for it
    fi
    cd "$build/bin" # language.db lies next to the finder
    if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
        XDG_RUNTIME_DIR="$(mktemp -d)" # private, mode 0700, as Qt wants it
        export XDG_RUNTIME_DIR
    fi
    if [[ -z "$screenshot" ]]; then
        ./finder
        return
    fi
    ip link set eth2 down # its cable unplugged: the first search finds eth1's cameras alone
    ./finder &
    local finder=$!
    local window=""
    for _ in $(seq 1 100); do
        window="$(xdotool search --onlyvisible --class finder 2>/dev/null | head -n1 || true)"
        [[ -n "$window" ]] && break
        sleep 0.1
    done
    if [[ -z "$window" ]]; then
        echo "demo: the finder's window did not appear" >&2
        kill "$finder" 2>/dev/null || true
        return 1
    fi
    sleep 2 # the cameras answer the first query, and the status line sums up who did
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ip link set eth2 up # the cable plugged in: Update finds its three cameras as new
    sleep 0.5
    click_control "$X" "$Y" 19 124 56 21 # Update
    sleep 2
    # The list sorts by text: "241 Dock annex" and "242 Dock" first (marked: one IP), then
    # "243 Factory default", the camera in the foreign subnet. Select it as a user would,
    # then let the finder propose an address.
    xdotool mousemove $((X + 60)) $((Y + 54)) click 1
    sleep 0.3
    xdotool key Down Down
    sleep 0.5
    # "Move into my network", left of the panel under "Address:".
    xdotool mousemove $((X + 1 + 56)) $((Y + 1 + 351)) click 1
    sleep 0.5
    xdotool mousemove $((X + 60)) $((Y + 54)) # over "Dock annex": its tip names the other
    sleep 1.5
    import -window root "$screenshot"
    echo "demo: screenshot saved to $screenshot"
    safe_apply_round "$X" "$Y" "${screenshot%.png}"
    local status=0
    if [[ -n "${tray_pid:-}" ]]; then
        tray_round_trip "$window" "$X" "$Y" "$WIDTH" || status=1
    fi
    # Esc, typed at the window under the pointer, is the finder's own way out.
    xdotool key Escape
    wait_for_close "$finder"
    echo "demo: the finder closed"
    batch_round "$build" "${screenshot%.png}-batch.png" "$state" || status=1
    return "$status"
}

# The finder's window once it shows, or nothing after ten seconds.
finder_window() {
    local window=""
    for _ in $(seq 1 100); do
        window="$(xdotool search --onlyvisible --class finder 2>/dev/null | head -n1 || true)"
        [[ -n "$window" ]] && break
        sleep 0.1
    done
    echo "$window"
}

# Waits for the finder to end after Esc; ends it itself when it does not.
wait_for_close() {
    local finder="$1"
    for _ in $(seq 1 50); do
        kill -0 "$finder" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$finder" 2>/dev/null; then
        echo "demo: the finder did not close on Esc" >&2
        kill "$finder"
    fi
    wait "$finder"
}

# 24 cameras fresh from the box at 192.168.1.64 behind eth5: the finder searches that card
# alone; Ctrl+A selects every camera, the list's menu opens the dialog ("Address selected
# cameras", its sixth action), which proposes the card's first free address; a name
# template, Send, and every camera confirms its new address and name.
batch_round() {
    local build="$1" shot="$2" state="$3"
    "$here/camera_networks.sh" add "$state" net4 eth5 10.77.0.5/24 192.168.1.64/24 \
        "$build/bin/camsim" --count 24 --factory 192.168.1.64 --reply-broadcast
    ./finder --interface eth5 &
    local finder=$!
    local window
    window="$(finder_window)"
    if [[ -z "$window" ]]; then
        echo "demo: the finder's window did not appear" >&2
        kill "$finder" 2>/dev/null || true
        return 1
    fi
    sleep 2 # the 24 answer the first query
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 60)) $((Y + 54)) click 1 key ctrl+a click 3
    sleep 0.5
    xdotool key Down Down Down Down Down Down Return
    sleep 1
    # First IP, netmask and gateway as proposed; the names; past the order and the table
    # to Send.
    xdotool key Tab Tab Tab
    xdotool type --delay 20 "Dock {n:02}"
    xdotool key Tab Tab Tab space
    sleep 4 # the requests go out, then one round of queries confirms them all
    import -window root "$shot"
    echo "demo: 24 cameras addressed in one step: $shot"
    xdotool key Escape # the dialog
    sleep 0.3
    xdotool mousemove $((X + 60)) $((Y + 54)) key Escape # the finder
    wait_for_close "$finder"
}

# Centre of a control of the dialog template, from its rectangle in dialog units (3 pixels
# for every 2 units, inside the one-pixel frame), clicked at the window's place on screen.
click_control() {
    local x="$1" y="$2" left="$3" top="$4" width="$5" height="$6"
    xdotool mousemove $((x + 1 + (3 * (2 * left + width) / 2 + 1) / 2)) \
        $((y + 1 + (3 * (2 * top + height) / 2 + 1) / 2)) click 1
}

retype_control() {
    click_control "$@"
    xdotool key ctrl+a
    xdotool type --delay 20 "$7"
}

# The first camera of the list (Loading bay, a fixed address) is renamed and confirms it; a
# mask with a hole is refused; a gateway outside its subnet asks first, and Cancel keeps it.
safe_apply_round() {
    local x="$1" y="$2" base="$3"
    retype_control "$x" "$y" 162 167 62 14 "Loading dock"      # Name
    click_control "$x" "$y" 231 239 65 21                        # Submit
    sleep 2.5 # the camera is asked again and answers
    import -window root "$base-confirmed.png"
    echo "demo: the camera's confirmation: $base-confirmed.png"
    retype_control "$x" "$y" 162 203 61 14 "255.0.255.0"       # Submask
    click_control "$x" "$y" 231 239 65 21
    sleep 0.5
    import -window root "$base-refused.png"
    echo "demo: a mask with a hole refused: $base-refused.png"
    xdotool key Escape # closes the message
    sleep 0.3
    xdotool mousemove $((x + 60)) $((y + 54)) click 1 # the panel from the camera again
    retype_control "$x" "$y" 162 223 62 14 "10.99.0.1"         # Gateway
    click_control "$x" "$y" 231 239 65 21
    sleep 0.5
    import -window root "$base-question.png"
    echo "demo: a gateway outside the subnet asks first: $base-question.png"
    xdotool key Escape # Cancel: nothing is sent
    sleep 0.3
    xdotool mousemove $((x + 60)) $((y + 54))
}

is_shown() {
    xdotool search --onlyvisible --class finder 2>/dev/null | grep -qx "$1"
}

# The minimise-to-tray button of the caption bar (28 pixels wide, 80 pixels from the
# client area's right edge, inside a one-pixel frame), then a double-click on the icon.
tray_round_trip() {
    local window="$1" x="$2" y="$3" width="$4" icon=""
    xdotool mousemove $((x + width - 1 - 80 + 14)) $((y + 1 + 15)) click 1
    sleep 0.5
    if is_shown "$window"; then
        echo "demo: the finder did not hide to the tray" >&2
        return 1
    fi
    # The notification area may take a moment to embed the icon.
    for _ in $(seq 1 30); do
        icon="$(xdotool search --onlyvisible --class finder 2>/dev/null | grep -vx "$window" | head -n1 || true)"
        [[ -n "$icon" ]] && break
        sleep 0.1
    done
    if [[ -z "$icon" ]]; then
        echo "demo: no tray icon appeared" >&2
        return 1
    fi
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click --repeat 2 --delay 80 1
    sleep 0.5
    if ! is_shown "$window"; then
        echo "demo: a double-click on the tray icon did not bring the finder back" >&2
        return 1
    fi
    echo "demo: hidden to the tray and back"
    xdotool mousemove $((x + 60)) $((y + 54)) # over the window again, for the Esc below
}

if [[ "${1:-}" == "--inside" ]]; then
    inside "$2" "${3:-}"
    exit
fi

build="$(cd "${1:-$root/build}" && pwd)"
for program in finder camsim; do
    if [[ ! -x "$build/bin/$program" ]]; then
        echo "demo: $build/bin/$program is missing; build first (make build)" >&2
        exit 1
    fi
done

# As root a plain new network namespace; otherwise one inside a new user namespace.
unshare_flags=(-n)
[[ "$(id -u)" == 0 ]] || unshare_flags=(-r -n)

if [[ -n "${DISPLAY:-}" ]]; then
    exec unshare "${unshare_flags[@]}" "$0" --inside "$build"
fi

# No display: a private Xvfb, reached from inside the namespace through its socket file.
xvfb_pid=""
trap '[[ -z "$xvfb_pid" ]] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true' EXIT
for display in $(seq 90 130); do
    [[ -e "/tmp/.X11-unix/X$display" || -e "/tmp/.X$display-lock" ]] && continue
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 50); do
        DISPLAY=":$display" xdotool getdisplaygeometry >/dev/null 2>&1 && break 2
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
done
if [[ -z "$xvfb_pid" ]]; then
    echo "demo: could not start Xvfb" >&2
    exit 1
fi
DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
    unshare "${unshare_flags[@]}" "$0" --inside "$build" "$build/demo.png"
