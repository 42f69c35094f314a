#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for SECONDS (default 20)
# from its committed seeds. A crash fails the script; its reproducer stays in out/fuzz/.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
RUN_SECONDS=${1:-20}
shift || true
JOBS=${JOBS:-2}
BUILD=$ROOT/build/fuzz
OUT=$ROOT/out/fuzz
TARGETS=(settings_lookup font_spec device_id status_reply query_reply version_reply firmware_file
         version_key media_rows setting_selector ex_reply
         sample_image text_lookup trace_reader)
[ $# -gt 0 ] && TARGETS=("$@")

case $RUN_SECONDS in
  '' | *[!0-9]*) echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2; exit 2 ;;
esac

echo "== fuzz build (clang, address and undefined sanitizers)"
cmake -S . -B "$BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKD_FUZZ=ON -DKD_SANITIZE=ON -DKD_TESTS=OFF \
      -DKD_WERROR=ON >/dev/null || exit 1
cmake --build "$BUILD" --target kd_fuzz -j "$JOBS" >"$BUILD/build.log" 2>&1 ||
  { tail -40 "$BUILD/build.log"; exit 1; }

mkdir -p "$OUT"
# One target's run; its result line goes to OUT/TARGET.result.
fuzz_target() {
  local t=$1 binary=$BUILD/fuzz/fuzz_$1 seeds=$ROOT/fuzz/corpus/$1
  local result=$OUT/$t.result
  if [ ! -x "$binary" ] || [ ! -d "$seeds" ]; then
    echo "unknown target: $t" >&2
    printf '%-16s %10s %6s %7s  %s\n' "$t" - - - "FAILED (unknown target)" >"$result"
    return
  fi
  # The corpus grows in a scratch folder; the committed seeds stay small.
  local corpus=$BUILD/corpus/$t
  mkdir -p "$corpus"
  cp -n "$seeds"/* "$corpus"/ 2>/dev/null
  local log=$OUT/$t.log status
  "$binary" "$corpus" -max_total_time="$RUN_SECONDS" -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$OUT/$t-" >"$log" 2>&1
  status=$?
  # The last status line ("#N DONE cov: C ft: F ..." or the one before a crash).
  local last executions cov ft verdict artifact
  last=$(grep -aE '^#[0-9]+' "$log" | tail -1)
  executions=$(grep -a 'stat::number_of_executed_units' "$log" | awk '{print $2}')
  [ -n "$executions" ] || executions=$(sed -E 's/^#([0-9]+).*/\1/' <<<"$last")
  cov=$(grep -oE 'cov: [0-9]+' <<<"$last" | awk '{print $2}')
  ft=$(grep -oE 'ft: [0-9]+' <<<"$last" | awk '{print $2}')
  if [ $status -eq 0 ]; then
    verdict=ok
  else
    artifact=$(grep -aoE "Test unit written to [^ ]+" "$log" | tail -1 | awk '{print $5}')
    verdict="FAILED (exit $status) ${artifact:-see $log}"
  fi
  printf '%-16s %10s %6s %7s  %s\n' "$t" "${executions:-?}" "${cov:-?}" "${ft:-?}" "$verdict" \
    >"$result"
}

# A fuzzer keeps one CPU busy: JOBS targets run at once, each for the full time.
for t in "${TARGETS[@]}"; do
  rm -f "$OUT/$t.result"
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do wait -n; done
  fuzz_target "$t" &
done
wait

failed=0
printf '%-16s %10s %6s %7s  %s\n' target executions cov ft result
for t in "${TARGETS[@]}"; do
  if [ -f "$OUT/$t.result" ]; then cat "$OUT/$t.result"; else echo "$t: no result"; fi
  grep -q '  ok$' "$OUT/$t.result" 2>/dev/null || failed=1
done
exit $failed
