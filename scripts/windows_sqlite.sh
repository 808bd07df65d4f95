#!/usr/bin/env bash
# SQLite's single-file amalgamation (sqlite3.c, sqlite3.h) for the Windows build, made from
# Debian's own source package of SQLite, into the folder given. Does nothing when the folder
# already holds it. Needs root the first time only: it adds a deb-src entry for the archive
# this machine already uses.
set -euo pipefail
out=${1:?usage: windows_sqlite.sh OUTPUT_FOLDER}
if [ -s "$out/sqlite3.c" ] && [ -s "$out/sqlite3.h" ]; then
  exit 0
fi

# The source entry mirrors the binary ones: same URIs and suites, only Types differs.
if ! apt-get source --print-uris sqlite3 >/dev/null 2>&1; then
  if [ "$(id -u)" != 0 ]; then
    echo "No deb-src entry for SQLite's source. As root, run: make windows" >&2
    exit 1
  fi
  sed -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
    > /etc/apt/sources.list.d/finder-deb-src.sources
  apt-get update -q
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "Making SQLite's amalgamation from Debian's source package (a minute or two)"
(cd "$work" && apt-get source -q sqlite3 >source.log 2>&1) || { cat "$work/source.log" >&2; exit 1; }
tree=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)
mkdir -p "$work/build"
(cd "$work/build" && "$tree/configure" --disable-tcl >configure.log 2>&1 &&
  make -j"$(nproc)" sqlite3.c >make.log 2>&1) ||
  { tail -n 30 "$work"/build/*.log >&2; exit 1; }
mkdir -p "$out"
cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$out/"
echo "SQLite $(sed -n 's/^#define SQLITE_VERSION *"\(.*\)"/\1/p' "$out/sqlite3.h") amalgamation in $out"
