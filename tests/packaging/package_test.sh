#!/usr/bin/env bash
# The Debian package of `make package`: the files it holds and the libraries it depends
# on, its programs run from a scratch root it is unpacked into, and, where CI asks for it
# as root (FINDER_DPKG_INSTALL=1), a real install, a run from /usr/bin, and removal.
#   package_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$(cd "$1" && pwd)" version="$2"
fail() {
    echo "FAIL: $*"
    exit 1
}
deb="$build/package/finder_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || fail "no package at $deb (make package)"

listing="$(dpkg-deb -c "$deb" | awk '{print $NF}')"
for path in usr/bin/finder usr/bin/finder-cli usr/bin/camsim usr/share/finder/language.db \
    usr/share/applications/net.lanvista.Finder.desktop \
    usr/share/metainfo/net.lanvista.Finder.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/net.lanvista.Finder.png \
    usr/share/icons/hicolor/scalable/apps/net.lanvista.Finder.svg \
    usr/share/man/man1/finder.1.gz usr/share/man/man1/finder-cli.1.gz \
    usr/share/man/man1/camsim.1.gz usr/share/doc/finder/copyright; do
    grep -qx "\./$path" <<<"$listing" || fail "the package lacks /$path"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for package in libqt6widgets6 libsqlite3-0 qt6-qpa-plugins; do
    grep -q "$package" <<<"$depends" || fail "the package does not depend on $package: $depends"
done

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
cd /
for program in finder finder-cli camsim; do
    out="$(env -u DISPLAY "$root/usr/bin/$program" --version)"
    [[ "$out" == "$program $version" ]] || fail "unpacked $program --version printed '$out'"
done
echo "package: files and dependencies listed, programs run from a scratch root"

if [[ "${FINDER_DPKG_INSTALL:-0}" != 1 ]]; then
    exit 0
fi
if [[ "$(id -u)" != 0 ]]; then
    echo "package: not root, so no install test with dpkg"
    exit 0
fi
if dpkg-query -W -f='${Status}' finder 2>/dev/null | grep -q 'install ok installed'; then
    echo "package: finder is installed on this machine already; no install test"
    exit 0
fi
trap 'apt-get -o DPkg::Lock::Timeout=600 remove -y finder >/dev/null 2>&1 || true; rm -rf "$root"' EXIT
# dpkg -i with the package's dependencies, waiting for any other package manager.
apt-get -o DPkg::Lock::Timeout=600 install -y "$deb" >"$root/dpkg.log" 2>&1 ||
    { cat "$root/dpkg.log"; fail "the package does not install"; }
out="$(/usr/bin/finder-cli --version)"
[[ "$out" == "finder-cli $version" ]] || fail "installed finder-cli --version printed '$out'"
apt-get -o DPkg::Lock::Timeout=600 remove -y finder >/dev/null 2>&1 || fail "the package does not remove"
[[ ! -e /usr/bin/finder-cli ]] || fail "/usr/bin/finder-cli is left after removal"
echo "package: installed with dpkg, run from /usr/bin, removed"
