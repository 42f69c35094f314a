#!/usr/bin/env bash
# Step of scripts/test.sh: the benchmarks, each figure as a ratio to its yardstick (about 30 s;
# set KD_BENCH_WINE=1 to add the start-up of the three programs under Wine, each beside both
# yardsticks: three to six minutes more, depending on the machine's load). Timings on a shared
# machine are noisy, so a missed target is printed, never failed; the step fails only when a
# benchmark cannot be built or run. The last line gathers every ratio ("RATIOS ...").
set -uo pipefail
cd "$(dirname "$0")/../.."
BENCH=build/host/bench/kd_bench
OUT=out/bench
mkdir -p "$OUT"

if [ ! -x "$BENCH" ]; then
  echo "no $BENCH: the host build is made with -DKD_BENCH=ON" >&2
  exit 1
fi
# Short rounds: the ratio benchmarks fix their own iteration counts.
if ! timeout 300 "$BENCH" --benchmark_min_time=0.2 >"$OUT/host.txt" 2>&1; then
  cat "$OUT/host.txt"
  echo "the host benchmarks did not run through" >&2
  exit 1
fi
grep -E '^(BM_|RATIOS)' "$OUT/host.txt"
ratios=$(sed -n 's/^RATIOS //p' "$OUT/host.txt" | tail -n 1)

if [ "${KD_BENCH_WINE:-0}" = 1 ]; then
  RUNS=${RUNS:-3} timeout 1200 bash bench/wine_startup.sh >"$OUT/wine.txt" 2>&1
  status=$?
  grep -v '^-- ' "$OUT/wine.txt"
  # A missed target is printed by the script, never its exit status.
  if [ "$status" -ne 0 ]; then
    echo "the start-up benchmark under Wine did not run through (status $status)" >&2
    exit 1
  fi
  ratios+=" $(sed -n 's/^RATIOS //p' "$OUT/wine.txt" | tail -n 1)"
fi

echo "targets: firmware_check/read <= 1.15, dialog_texts/read <= 1.3," \
  "starts (CPU, to the fair yardstick minimal_spooler) <= 1.3"
echo "RATIOS $ratios"
