#!/usr/bin/env bash
# finder.exe's window under Wine on a private Xvfb, against camsim.exe on loopback:
#
#   scripts/windows_window.sh BUILD [SCREENSHOT]
#
# Run inside the private network namespace with WINEPREFIX set and the wineserver started
# there (scripts/windows_test.sh does both; `make demo-windows` runs it the same way). The
# window is found by its name with xdotool, its controls are read from outside by
# finder_window_probe.exe: the cameras listed and sorted, a selection filling the panel,
# hiding to the tray and coming back, Esc ending the program.
set -euo pipefail
build="$(cd "$1" && pwd)"
shot="${2:-$build/demo-windows.png}"
bin="$build/bin"
display=:77
status=0
work="$(mktemp -d)"

Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    kill "${camsim:-}" "${finder:-}" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

fail() { echo "window: $*" >&2; status=1; }
probe() { wine "$bin/finder_window_probe.exe" "$@" 2>/dev/null | tr -d '\r' || true; }

port=4721
wine "$bin/camsim.exe" --count 4 --port "$port" --bind 127.0.0.1 >"$work/camsim.txt" 2>&1 &
camsim=$!
for _ in $(seq 1 200); do grep -q devices "$work/camsim.txt" && break; sleep 0.05; done

# The user's copy of language.db goes to the prefix's %APPDATA%\finder.
(cd "$bin" && FINDER_BROADCAST=127.0.0.1 FINDER_DEVICE_PORT=$port FINDER_LOCAL_PORT=4722 \
    wine finder.exe >"$work/finder.txt" 2>&1) &
finder=$!
window=""
# A fresh user's copy of language.db starts in English, whose caption is "IP Camera Finder".
for _ in $(seq 1 600); do
    window="$(xdotool search --name 'Camera Finder' 2>/dev/null | head -n1 || true)"
    [[ -n "$window" ]] && break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    fail "xdotool found no finder window among: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr "\n" ";")"
    cat "$work/finder.txt" >&2
    exit 1
fi

# The cameras, listed and sorted by their entries' text.
for _ in $(seq 1 50); do
    [[ "$(probe list | wc -l)" -ge 4 ]] && break
    sleep 0.1
done
probe list >"$work/list.txt"
if [[ "$(wc -l <"$work/list.txt")" == 4 ]] && sort -c "$work/list.txt" 2>/dev/null; then
    echo "window: finder.exe lists camsim.exe's 4 cameras, sorted: $(paste -sd, "$work/list.txt")"
else
    fail "expected 4 sorted entries, got: $(cat "$work/list.txt")"
fi

# A selection fills the panel with that camera's settings (the group box shows its MAC).
probe select 1 >"$work/panel.txt"
second="$(sed -n 2p "$work/list.txt")"
name="$(sed -n 's/^1007 //p' "$work/panel.txt")"
ip="$(sed -n 's/^1008 //p' "$work/panel.txt")"
mac="$(sed -n 's/^1034 //p' "$work/panel.txt")"
if [[ "$second" == *" $name" && "$ip" =~ ^[0-9.]+$ && "$mac" =~ ^[0-9a-f]{12}$ ]]; then
    echo "window: selecting \"$second\" fills the panel: $name, $ip, $mac"
else
    fail "the panel after selecting \"$second\": $(tr '\n' ';' <"$work/panel.txt")"
fi
sleep 2 # the search's summary on the status line
echo "window: status line: $(probe status)"
import -window root "$shot" && echo "window: screenshot $shot"

# To the tray and back.
probe hide
sleep 0.5
hidden="$(probe visible)"
probe restore
sleep 0.5
shown="$(probe visible)"
if [[ "$hidden" == hidden && "$shown" == visible ]]; then
    echo "window: hidden to the tray and shown again"
else
    fail "tray: after hiding $hidden, after restoring $shown"
fi

# Esc ends the program: the worker stops and finder.exe exits.
probe close
for _ in $(seq 1 100); do kill -0 "$finder" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$finder" 2>/dev/null; then
    fail "finder.exe still runs after the cancel command"
else
    echo "window: the cancel command ends finder.exe"
fi
exit $status
