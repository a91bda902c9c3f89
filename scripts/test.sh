#!/usr/bin/env bash
# The whole test job: dependencies, each fuzz target for a fixed 30 seconds, both builds
# and every test under both (ctest's summary closes the output).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
status=0
bash scripts/fuzz.sh 30 || status=1
for preset in default asan; do
  echo "== build ($preset)"
  bash scripts/build.sh "$preset"
  echo "== tests ($preset)"
  ctest --preset "$preset" -j "$(nproc)" || status=1
done
# The COM library: both bitnesses built, the COM tests run under Wine.
echo "== Windows COM library"
bash scripts/windows.sh || status=1
exit $status
