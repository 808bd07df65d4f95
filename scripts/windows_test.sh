#!/usr/bin/env bash
# The Windows build's tests under Wine, inside a private network namespace:
#
#   scripts/windows_test.sh [BUILD]      (BUILD defaults to build-windows; `make test-windows`)
#
# 1. every test program of the core, the command line and the simulator (ctest, each .exe
#    once under Wine), with a tally of passed and skipped tests and the reasons for skips;
# 2. finder-cli.exe and camsim.exe from finder-windows.zip, end to end: a scan on loopback,
#    and one with the real defaults (broadcast 255.255.255.255:4000 from port 3566);
# 3. finder.exe's window on a private Xvfb against camsim.exe (scripts/windows_window.sh),
#    which saves BUILD/demo-windows.png;
# 4. finder-setup.exe: a silent install, and its uninstaller removing what it installed.
# FINDER_WINDOWS_ONLY=window runs step 3 alone (make demo-windows).
#
# Winsock under Wine makes its sockets in the wineserver process, so the wineserver must be
# started inside the namespace too: the script stops any wineserver of its prefix, starts a
# new one inside, and checks that Wine's sockets cannot reach this machine's own address
# before anything is broadcast.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="$(cd "${1:-$here/../build-windows}" && pwd)"

if [[ -z "${FINDER_NETNS:-}" ]]; then
    # This machine's own IPv4 address, which no socket inside the namespace can bind.
    FINDER_HOST_ADDRESS="$(ip -4 -o addr show scope global 2>/dev/null | awk '{print $4}' |
        cut -d/ -f1 | head -n1 || true)"
    export FINDER_HOST_ADDRESS
    for how in "unshare -n" "unshare -rn"; do
        if $how true 2>/dev/null; then
            FINDER_NETNS="$how" exec $how "$0" "$build"
        fi
    done
    echo "note: no private network namespace here; the tests run on this machine's loopback" \
        "and the scan with the real defaults is skipped"
    export FINDER_NETNS=none
fi

export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
in_namespace=false
if [[ "$FINDER_NETNS" != none ]]; then
    if [[ "$(ip -o link show | awk -F': ' '{print $2}')" != "lo" ]]; then
        echo "windows_test: loopback is not the only link; refusing to go on" >&2
        exit 1
    fi
    ip link set lo up
    ip route add default dev lo # the limited broadcast goes to loopback, and only there
    in_namespace=true
fi

mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true # one started elsewhere would make sockets outside
wineserver -p 60
trap 'wineserver -k 2>/dev/null || true' EXIT
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    started=$(date +%s)
    wineboot -i >/dev/null 2>&1 || true
    echo "Wine prefix made in $(($(date +%s) - started)) s: $WINEPREFIX"
fi

bin="$build/bin"
if $in_namespace && [[ -n "${FINDER_HOST_ADDRESS:-}" ]]; then
    if timeout 30 wine "$bin/camsim.exe" --count 1 --port 0 --bind "$FINDER_HOST_ADDRESS" \
        2>/dev/null | grep -q devices; then
        echo "windows_test: Wine's sockets reach $FINDER_HOST_ADDRESS outside the namespace;" \
            "stopping before anything is sent" >&2
        exit 1
    fi
    echo "Wine's sockets are inside the namespace ($FINDER_HOST_ADDRESS is out of reach)"
fi

status=0
if [[ "${FINDER_WINDOWS_ONLY:-}" == window ]]; then
    "$here/windows_window.sh" "$build" || status=1
    exit $status
fi

# 1. The test programs.
cd "$build"
ctest --output-on-failure --timeout 300 || status=1
log="$build/Testing/Temporary/LastTest.log"
echo "Tests under Wine:"
awk '
    /^[0-9]+\/[0-9]+ Testing: / { program = $3 }
    /^\[==========\] .* ran\./ { ran[program] = $2 }
    /^\[  PASSED  \] [0-9]+ test/ { passed[program] = $4 }
    /^\[  SKIPPED \] [0-9]+ test/ { skipped[program] = $4 }
    /^\[  FAILED  \] [0-9]+ test/ { failed[program] = $4 }
    /: Skipped$/ { getline reason; reasons = reasons "    skipped: " reason "\n" }
    END {
        for (p in ran) {
            total += ran[p]; pass += passed[p]; skip += skipped[p]; fail += failed[p]
            printf "  %-16s %3d run, %3d passed, %d skipped, %d failed\n", p, ran[p], \
                passed[p], skipped[p], failed[p]
        }
        printf "  %-16s %3d run, %3d passed, %d skipped, %d failed\n", "all", total, pass, \
            skip, fail
        printf "%s", reasons
    }' "$log"

# 2. The programs from the zip, as a user unpacks them.
unpacked="$(mktemp -d)"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$build/finder-windows.zip")
cd "$unpacked"

# Runs camsim.exe with the given options until the scan given after "--" has ended; the
# scan's output goes to scan.txt.
scan_against_camsim() {
    local options=() scan=()
    while [[ "$1" != -- ]]; do options+=("$1"); shift; done
    shift
    scan=("$@")
    wine camsim.exe "${options[@]}" >camsim.txt 2>&1 &
    local camsim=$!
    for _ in $(seq 1 200); do
        grep -q devices camsim.txt && break
        sleep 0.05
    done
    local result=0
    wine finder-cli.exe "${scan[@]}" >scan.txt 2>&1 || result=$?
    kill -INT "$camsim" 2>/dev/null || true
    wait "$camsim" 2>/dev/null || true
    return $result
}

# Counts the cameras of scan.txt; with a card named, only those it says answered there.
check_scan() {
    local what="$1" expected="$2" card="${3:-}" found
    found=$(grep '"name": "camera-' scan.txt | grep -c "\"interface\": \"$card" || true)
    if [[ "$found" == "$expected" ]]; then
        echo "end to end, $what: finder-cli.exe found camsim.exe's $found cameras"
    else
        echo "end to end, $what: finder-cli.exe found $found of $expected cameras:" >&2
        cat scan.txt camsim.txt >&2
        status=1
    fi
}

port=4711
scan_against_camsim --count 4 --port "$port" --bind 127.0.0.1 -- \
    scan --json --broadcast 127.0.0.1 --device-port "$port" --local-port 4712 --timeout-ms 1000 ||
    status=1
check_scan "on loopback" 4
if $in_namespace; then
    # The namespace's only card is loopback, which a search takes only when it is named.
    scan_against_camsim --count 3 -- scan --json --timeout-ms 1000 --interface lo || status=1
    check_scan "with the real defaults out of the card lo in the namespace" 3 lo
else
    echo "end to end with the real defaults: skipped, no private network namespace here"
fi

# 3. The window.
"$here/windows_window.sh" "$build" || status=1

# 4. The installer, silently in and out again. The wineserver stays up for the whole script,
# so the uninstaller, which runs from a copy of itself, is waited for by its effect.
installed="$WINEPREFIX/drive_c/Program Files/finder"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/finder.lnk"
timeout 120 wine "$build/finder-setup.exe" /S || status=1
missing=""
for file in finder.exe finder-cli.exe language.db README.txt uninstall.exe; do
    [[ -f "$installed/$file" ]] || missing="$missing $file"
done
[[ -f "$menu" ]] || missing="$missing finder.lnk"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\finder' \
    >/dev/null 2>&1 || missing="$missing the Apps & features entry"
if [[ -z "$missing" ]]; then
    echo "installer: finder-setup.exe /S installed the programs, the shortcut and its entry"
else
    echo "installer: missing after the silent install:$missing" >&2
    status=1
fi
timeout 60 wine "$installed/uninstall.exe" /S || status=1
for _ in $(seq 1 300); do [[ -e "$installed" ]] || break; sleep 0.1; done
if [[ ! -e "$installed" && ! -e "$menu" ]] &&
    ! wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\finder' \
        >/dev/null 2>&1; then
    echo "installer: uninstall.exe /S removed everything it installed"
else
    echo "installer: left behind after the silent uninstall:" \
        "$(ls -A "$installed" 2>/dev/null | tr '\n' ' ')" >&2
    status=1
fi
exit $status
