#!/usr/bin/env bash
# The finder installed into a scratch prefix and started from another folder, as a user
# would: the programs answer from their installed place, the window (offscreen) finds the
# shipped language.db, keeps the user's pick in a copy under a scratch HOME, renews the
# copy's texts from a newer shipped file, and never changes the shipped file. A prefix
# that cannot be written is one clear message.
#   install_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$(cd "$1" && pwd)" version="$2"
scratch="$(mktemp -d)"
finder_pid=""
cleanup() {
    [[ -z "$finder_pid" ]] || kill "$finder_pid" 2>/dev/null || true
    chmod -R u+w "$scratch" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log"; fail "cmake --install into $prefix"; }
cd "$scratch" # no language.db here, nor beside the build
for program in finder-cli camsim; do
    out="$("$prefix/bin/$program" --version)"
    [[ "$out" == "$program $version" ]] || fail "installed $program --version printed '$out'"
done

if [[ -x "$prefix/bin/finder" ]]; then
    shipped="$prefix/share/finder/language.db"
    chmod a-w "$shipped" # as a system-wide install leaves it
    shipped_sum="$(sha256sum <"$shipped")"
    export HOME="$scratch/home"
    unset XDG_DATA_HOME XDG_DATA_DIRS
    export XDG_RUNTIME_DIR="$scratch/runtime"
    mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    export QT_QPA_PLATFORM=offscreen
    # Loopback only, whatever network namespace this runs in.
    port=$((20000 + RANDOM % 30000))
    export FINDER_BROADCAST=127.0.0.1 FINDER_LOCAL_PORT="$port" FINDER_DEVICE_PORT=$((port + 1))
    copy="$HOME/.local/share/finder/language.db"

    # Starts the installed finder, lets it apply and save the language, and ends it.
    run_finder() {
        "$prefix/bin/finder" >"$scratch/finder.log" 2>&1 &
        finder_pid=$!
        for _ in $(seq 1 100); do
            [[ -s "$copy" ]] && break
            sleep 0.1
        done
        sleep 1
        kill -0 "$finder_pid" 2>/dev/null || { cat "$scratch/finder.log"; fail "the finder ended by itself"; }
        kill "$finder_pid"
        wait "$finder_pid" || true
        finder_pid=""
        [[ -s "$copy" ]] || fail "no copy of language.db in $copy"
    }
    picked() { sqlite3 "$copy" "select language from current"; }

    run_finder
    [[ "$(picked)" == 0 ]] || fail "a first start picked $(picked)"
    sqlite3 "$copy" "update current set language=3"
    run_finder
    [[ "$(picked)" == 3 ]] || fail "the pick did not last: $(picked)"

    # A newer finder ships other texts: the copy takes them and keeps the pick.
    chmod u+w "$shipped"
    sqlite3 "$shipped" "update interface set gateway='Router' where language='English'"
    chmod a-w "$shipped"
    shipped_sum="$(sha256sum <"$shipped")"
    run_finder
    [[ "$(picked)" == 3 ]] || fail "renewing the texts lost the pick: $(picked)"
    gateway="$(sqlite3 "$copy" "select gateway from interface where language='English'")"
    [[ "$gateway" == Router ]] || fail "the copy kept the old texts ($gateway)"
    [[ "$(sha256sum <"$shipped")" == "$shipped_sum" ]] || fail "the shipped language.db changed"
fi

# A prefix nobody may write to, not even root.
if out="$(cmake --install "$build" --prefix /proc/finder-prefix 2>&1)"; then
    fail "an install into /proc/finder-prefix succeeded"
fi
grep -q "Cannot install the finder into /proc/finder-prefix" <<<"$out" ||
    { echo "$out"; fail "no clear message for a prefix without write access"; }
echo "installed into a scratch prefix; started from another folder; the pick kept"
