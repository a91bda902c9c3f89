#!/usr/bin/env bash
# Fuzzes the scenario reader and the T-SQL dialect layer, each for a fixed time, starting
# from the corpus kept in fuzz/corpus/ (docs/cli.md). Builds the fuzz preset (clang with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) first.
#
#   bash scripts/fuzz.sh [SECONDS]   each target for SECONDS (default 30); status 1 when a
#                                    target crashed, the input is kept in build/fuzz/artifacts/
#   bash scripts/fuzz.sh --seed      rewrites the seed files of the corpus from the plug-in's
#                                    statement texts and the shipped scenarios
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=30
seed=0
case "${1:-}" in
  --seed) seed=1 ;;
  '') ;;
  *[!0-9]*) echo "usage: bash scripts/fuzz.sh [SECONDS | --seed]" >&2; exit 2 ;;
  *) seconds=$1 ;;
esac

echo "== build (fuzz)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

if ((seed)); then
  build/fuzz/write_seeds fuzz/corpus/dialect
  mkdir -p fuzz/corpus/scenario_reader
  cp scenarios/*.json fuzz/corpus/scenario_reader/
  exit 0
fi

# New inputs the fuzzer finds go to a scratch folder; the corpus in the repository is only
# read, so a run leaves the checkout as it was.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p build/fuzz/artifacts
status=0
for target in dialect scenario_reader; do
  echo "== fuzz $target for ${seconds}s"
  mkdir -p "$work/$target"
  if build/fuzz/${target}_fuzz -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="build/fuzz/artifacts/$target-" "$work/$target" "fuzz/corpus/$target" \
       >"$work/$target.log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$work/$target.log" | sed 's/^/  /'
  else
    status=1
    tail -n 40 "$work/$target.log"
    echo "  $target: the input that failed is in build/fuzz/artifacts/$target-*"
  fi
done
exit $status
