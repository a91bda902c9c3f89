#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
#   setup.sh           the Linux build
#   setup.sh windows   also the Windows cross-build and its run under Wine (mingw-w64,
#                      widl, Wine, tcl and the sqlite3 source package's prerequisites)
set -euo pipefail
pkgs=(cmake g++ make libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
      nlohmann-json3-dev libcli11-dev clang-format
      clang libclang-rt-dev)  # the fuzz preset: clang with libFuzzer (scripts/fuzz.sh)
if [[ "${1:-}" == windows ]]; then
  pkgs+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools libwine-dev
         wine wine64 tcl dpkg-dev xz-utils)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
export DEBIAN_FRONTEND=noninteractive
updated=no
if [[ "${1:-}" == windows ]] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
   ! grep -qs '^deb-src' /etc/apt/sources.list; then
  # apt-get source needs the source indexes of the same suites.
  cp "$(dirname "$0")/deb-src.sources" /etc/apt/sources.list.d/zq-deb-src.sources
  apt-get update -qq
  updated=yes
fi
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  [[ $updated == yes ]] || apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
