#!/usr/bin/env bash
# Makes the SQLite amalgamation (sqlite3.c, sqlite3.h) for the Windows builds from this
# distribution's own sqlite3 source package, and keeps it in a cache folder so that later
# builds skip this step. Usage: sqlite-amalgamation.sh CACHE_DIR
set -euo pipefail
cache=$(realpath -m "${1:?cache folder}")
if [[ -f "$cache/sqlite3.c" && -f "$cache/sqlite3.h" ]]; then exit 0; fi
mkdir -p "$cache"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
# The source package unpacked with the distribution's patches applied (dpkg-source).
apt-get source -qq sqlite3 >/dev/null 2>&1
src=$(find . -maxdepth 1 -mindepth 1 -type d -name 'sqlite3-*' | head -n 1)
cd "$src"
./configure --quiet >/dev/null
make -s sqlite3.c >/dev/null
cp sqlite3.c sqlite3.h "$cache/"
echo "sqlite amalgamation: $(grep -m1 '#define SQLITE_VERSION ' sqlite3.h | awk '{print $3}') in $cache"
