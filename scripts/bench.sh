#!/usr/bin/env bash
# The performance figures of docs/performance.md: builds the default preset, runs the road
# benchmarks (bench/roads_bench.cpp) and the demo on a 10,000-line order under
# /usr/bin/time, then writes the table, the scaling exponents, the target checks and the
# plot into docs/ (scripts/bench_report.py). Exits with 1 when a target is missed. Takes
# several minutes; not part of the tests.
#
#   bash scripts/bench.sh            # three repetitions of every road, medians reported
#   REPS=1 bash scripts/bench.sh     # one repetition, quicker and noisier
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
# gnuplot draws the plot, python3 writes the report, GNU time reads the peak memory.
missing=()
for p in gnuplot-nox python3 time; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
bash scripts/build.sh default

out=build/bench
mkdir -p "$out"
echo "== road benchmarks (${REPS:-3} repetitions)"
build/default/zq_bench --benchmark_filter='^road/' \
  --benchmark_repetitions="${REPS:-3}" --benchmark_enable_random_interleaving=true \
  --benchmark_out="$out/roads.json" --benchmark_out_format=json

echo "== peak memory of the demo"
for lines in 9 10000; do
  /usr/bin/time -v build/default/zqstati demo --lines "$lines" >"$out/demo_$lines.txt" \
    2>"$out/demo_$lines.time" || { cat "$out/demo_$lines.time"; exit 1; }
done

status=0
/usr/bin/python3 scripts/bench_report.py "$out" docs/performance.md || status=1
gnuplot "$out/roads.gp"
echo "figures written to docs/performance.md and docs/performance.svg"
exit $status
