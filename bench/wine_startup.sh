#!/usr/bin/env bash
# Start-up time under Wine: from starting Kestrune.exe with wine64 to its main window being
# visible, beside a minimal dialog program (bench/wine_startup/) built and started the same
# way. The series alternate, RUNS starts each (default 5) after one warm-up start each; the
# medians and their ratio are printed. Target: Kestrune / minimal below 1.5 (exit 1 if not).
#
# The measured Kestrune start is the one an operator meets every day: launch mode Normal with
# the simulated printer's queue remembered, so the start fills the printer list, reads the
# queue's device settings and binds the library through the driver. A second series without a
# remembered queue (the list stays on "no printer") shows what that choice costs. All runs use
# one prefix (build/x86_64/wine-bench) on a private Xvfb; a kddriver watcher, started before
# each program, notes when the window becomes visible (it polls every 5 ms).
set -euo pipefail
cd "$(dirname "$0")/.."
KD_ROOT=$(pwd)
# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

RUNS=${RUNS:-5}
TARGET=1.5
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
log "building Kestrune, the minimal dialog, kddriver and the simulated printer"
kd_windows_build Kestrune minimal_dialog kddriver kbapi_standin kdsim || fail "build failed"
kd_lay_out_program Kestrune "$WORK/Kestrune" Normal
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

# One start: LAST_MS = milliseconds from starting PROGRAM to its window TITLE being visible.
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
  t1=$(tr -d '\r' <"$watch" | sed -n 's/^visible: //p')
  driver close "$title" 20000 >/dev/null || fail "$title did not close"
  wait "$PROGRAM_PID" 2>/dev/null || true  # bounded by its timeout
  PROGRAM_PID=
  LAST_MS=$(((t1 - t0) / 1000))
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END {
  if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

KESTRUNE=$WORK/Kestrune/Kestrune.exe
MINIMAL=$WORK/Minimal/minimal_dialog.exe
log "warm-up"
remember_printer
start_time "$KESTRUNE" Kestrune
start_time "$MINIMAL" "Minimal Dialog"

chosen_ms=()
unchosen_ms=()
minimal_ms=()
for run in $(seq 1 "$RUNS"); do
  remember_printer
  start_time "$KESTRUNE" Kestrune
  chosen_ms+=("$LAST_MS")
  start_time "$MINIMAL" "Minimal Dialog"
  minimal_ms+=("$LAST_MS")
  forget_printer
  start_time "$KESTRUNE" Kestrune
  unchosen_ms+=("$LAST_MS")
  log "run $run: Kestrune ${chosen_ms[-1]} ms (no printer chosen: ${unchosen_ms[-1]} ms)," \
      "minimal dialog ${minimal_ms[-1]} ms"
done

k=$(echo "${chosen_ms[*]}" | median)
u=$(echo "${unchosen_ms[*]}" | median)
m=$(echo "${minimal_ms[*]}" | median)
ratio=$(awk -v k="$k" -v m="$m" 'BEGIN { printf "%.2f", k / m }')
ratio_unchosen=$(awk -v k="$u" -v m="$m" 'BEGIN { printf "%.2f", k / m }')
echo "Kestrune.exe, printer remembered  median ${k} ms  (${chosen_ms[*]})"
echo "Kestrune.exe, no printer chosen   median ${u} ms  (${unchosen_ms[*]})"
echo "minimal dialog                    median ${m} ms  (${minimal_ms[*]})"
echo "ratio ${ratio} (target below ${TARGET}); without a printer choice ${ratio_unchosen}"
awk -v r="$ratio" -v t="$TARGET" 'BEGIN { exit !(r < t) }'
