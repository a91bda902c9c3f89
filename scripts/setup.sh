#!/usr/bin/env bash
# Installs the Debian packages the build needs, only when one is missing.
set -euo pipefail
pkgs=(cmake g++ make libsqlite3-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
      nlohmann-json3-dev libcli11-dev clang-format
      clang libclang-rt-dev)  # the fuzz preset: clang with libFuzzer (scripts/fuzz.sh)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
