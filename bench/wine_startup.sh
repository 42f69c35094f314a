#!/usr/bin/env bash
# Start-up time under Wine: from starting Kestrune.exe or Sunnabar.exe with wine64 to its main
# window being visible, beside a minimal dialog program (bench/wine_startup/) built and started
# the same way. The series alternate, RUNS starts each (default 5) after one warm-up start each;
# the medians and their ratios are printed, the ratios last on one line ("RATIOS name=value").
# Target: each program / minimal at most 1.3 (exit 1 if not; 2 when something fails to run).
#
# The measured Kestrune start is the one an operator meets every day: launch mode Normal with
# the simulated printer's queue remembered, so the start fills the printer list, reads the
# queue's device settings and binds the library through the driver. A second series without a
# remembered queue (the list stays on "no printer") shows what that choice costs. Sunnabar
# never remembers a printer: it starts with the same queue installed and lists it. All runs use
# one prefix (build/x86_64/wine-bench) on a private Xvfb; a kddriver watcher, started before
# each program, notes when the window becomes visible (it polls every 5 ms).
#
# KD_BENCH_BASELINE=DIR (a folder holding Kestrune.exe and Sunnabar.exe of another build, with
# this build's settings laid beside them) adds both to every round, for a before/after figure
# taken under the same load.
set -euo pipefail
cd "$(dirname "$0")/.."
KD_ROOT=$(pwd)
# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

RUNS=${RUNS:-5}
BASELINE=${KD_BENCH_BASELINE:-}
TARGET=1.3
WORK=$KD_BUILD/bench
log() { printf -- '-- %s\n' "$*"; }
fail() { echo "wine startup bench: $*" >&2; exit 2; }

PROGRAM_PID=
WATCH_PID=
cleanup() {
  for pid in $PROGRAM_PID $WATCH_PID; do kill "$pid" 2>/dev/null || true; done
  kd_wine_cleanup
}
trap cleanup EXIT

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building Kestrune, Sunnabar, the minimal dialog, kddriver and the simulated printer"
kd_windows_build Kestrune Sunnabar minimal_dialog kddriver kbapi_standin kdsim ||
  fail "build failed"
kd_lay_out_program Kestrune "$WORK/Kestrune" Normal
kd_lay_out_program Sunnabar "$WORK/Sunnabar" Normal
if [ -n "$BASELINE" ]; then
  for name in Kestrune Sunnabar; do
    [ -f "$BASELINE/$name.exe" ] || fail "no $name.exe in $BASELINE"
    rm -rf "$WORK/Baseline$name"
    cp -r "$WORK/$name" "$WORK/Baseline$name"
    cp "$BASELINE/$name.exe" "$WORK/Baseline$name/$name.exe"
  done
fi
mkdir -p "$WORK/Minimal"
cp "$KD_BUILD/bin/bench/minimal_dialog.exe" "$WORK/Minimal/"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
kd_wine_start "$KD_BUILD/wine-bench" || fail "the Wine prefix did not come up"
kd_sim_printer_install "$WORK" || fail "the simulated printer could not be installed"

REMEMBERED_KEY="HKCU\\SoftWare\\KALDO\\KALDO Maroset\\${KD_SIM_MODEL:6}"
remember_printer() {
  timeout 60 "$WINELOADER" reg add "$REMEMBERED_KEY" /v SelectPrinter /t REG_SZ \
    /d "$KD_SIM_QUEUE" /f </dev/null >/dev/null 2>&1 || fail "cannot write SelectPrinter"
}
forget_printer() {
  timeout 60 "$WINELOADER" reg delete "$REMEMBERED_KEY" /v SelectPrinter /f \
    </dev/null >/dev/null 2>&1 || true
}

driver() { timeout 90 "$WINELOADER" "$KD_DRIVER_EXE" "$@" </dev/null | tr -d '\r'; }

# CPU time (ms) a process's threads have run so far; the wall clock on a shared machine counts
# the other jobs too, this does not (the server's and the X server's share are not in it).
cpu_ms() {  # cpu_ms PID
  local pid=$1
  [ -n "$pid" ] && [ -d "/proc/$pid/task" ] || { echo 0; return; }
  cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d", ns / 1e6 }'
}

# One start: LAST_MS = milliseconds from starting PROGRAM to its window TITLE being visible,
# LAST_CPU_MS = the CPU time the program had used by then (read just after).
# (No command substitution: the pids must stay visible to the trap, and fail must end the run.)
start_time() {  # start_time PROGRAM TITLE
  local program=$1 title=$2 watch=$WORK/watch.out t0 t1
  : >"$watch"
  timeout 90 "$WINELOADER" "$KD_DRIVER_EXE" watch "$title" 60000 </dev/null >"$watch" 2>&1 &
  WATCH_PID=$!
  for _ in $(seq 1 300); do grep -q ready "$watch" && break; sleep 0.05; done
  grep -q ready "$watch" || fail "the watcher did not start: $(cat "$watch")"
  t0=$(date +%s%6N)
  timeout 120 "$WINELOADER" "$program" </dev/null >/dev/null 2>&1 &
  PROGRAM_PID=$!
  wait "$WATCH_PID" || fail "$title did not show: $(cat "$watch")"
  WATCH_PID=
  LAST_CPU_MS=$(cpu_ms "$(pgrep -P "$PROGRAM_PID" | head -n 1)")
  t1=$(tr -d '\r' <"$watch" | sed -n 's/^visible: //p')
  driver close "$title" 20000 >/dev/null || fail "$title did not close"
  wait "$PROGRAM_PID" 2>/dev/null || true  # bounded by its timeout
  PROGRAM_PID=
  LAST_MS=$(((t1 - t0) / 1000))
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END {
  if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

KESTRUNE=$WORK/Kestrune/Kestrune.exe
SUNNABAR=$WORK/Sunnabar/Sunnabar.exe
MINIMAL=$WORK/Minimal/minimal_dialog.exe
log "warm-up"
remember_printer
start_time "$KESTRUNE" Kestrune
start_time "$SUNNABAR" Sunnabar
start_time "$MINIMAL" "Minimal Dialog"

# Series by name: wall-clock and CPU milliseconds of every start, in rounds that alternate.
declare -A WALL CPU
SERIES=(kestrune_start minimal kestrune_start_no_printer sunnabar_start)
[ -n "$BASELINE" ] && SERIES+=(baseline_kestrune_start baseline_sunnabar_start)
measure() {  # measure SERIES PROGRAM TITLE
  start_time "$2" "$3"
  WALL[$1]+="$LAST_MS "
  CPU[$1]+="$LAST_CPU_MS "
}
for run in $(seq 1 "$RUNS"); do
  remember_printer
  measure kestrune_start "$KESTRUNE" Kestrune
  measure minimal "$MINIMAL" "Minimal Dialog"
  measure sunnabar_start "$SUNNABAR" Sunnabar
  if [ -n "$BASELINE" ]; then
    measure baseline_kestrune_start "$WORK/BaselineKestrune/Kestrune.exe" Kestrune
    measure baseline_sunnabar_start "$WORK/BaselineSunnabar/Sunnabar.exe" Sunnabar
  fi
  forget_printer
  measure kestrune_start_no_printer "$KESTRUNE" Kestrune
  log "run $run done"
done

m=$(echo "${WALL[minimal]}" | median)
mc=$(echo "${CPU[minimal]}" | median)
ratios=
cpu_ratios=
for name in "${SERIES[@]}"; do
  wall=$(echo "${WALL[$name]}" | median)
  cpu=$(echo "${CPU[$name]}" | median)
  printf '%-28s median %5s ms, CPU %4s ms  (wall: %s; CPU: %s)\n' "$name" "$wall" "$cpu" \
    "${WALL[$name]% }" "${CPU[$name]% }"
  [ "$name" = minimal ] && continue
  ratios+=" $name/minimal=$(awk -v a="$wall" -v b="$m" 'BEGIN { printf "%.2f", a / b }')"
  cpu_ratios+=" ${name}_cpu/minimal=$(awk -v a="$cpu" -v b="$mc" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
done
ratio=$(sed -n 's/.* kestrune_start\/minimal=\([0-9.]*\).*/\1/p' <<<"$ratios")
ratio_sunnabar=$(sed -n 's/.* sunnabar_start\/minimal=\([0-9.]*\).*/\1/p' <<<"$ratios")
echo "targets: Kestrune and Sunnabar (wall clock) at most ${TARGET} times the minimal dialog"
echo "RATIOS${ratios}${cpu_ratios}"
awk -v a="$ratio" -v b="$ratio_sunnabar" -v t="$TARGET" 'BEGIN { exit !(a <= t && b <= t) }'
