#!/usr/bin/env bash
# Start-up under Wine: from starting Kestrune.exe, Sunnabar.exe or Trevalo.exe with wine64 to its
# main window being visible, beside two yardsticks built and started the same way
# (bench/wine_startup/): the minimal dialog, a dialog from a template and nothing else, and the
# fair one, the same dialog importing the spooler and listing the printers into a combo box, as
# every program of the suite must before its window shows. The series alternate, RUNS starts
# each (default 5) after one warm-up start each; the medians and the ratios of every program to
# both yardsticks are printed, the ratios last on one line ("RATIOS name=value ...").
# Target: each program's CPU time at most 1.3 times the fair yardstick's. A missed target is
# printed, never failed (exit 2 only when something fails to run).
#
# The figures: CPU time of the program's process, read by the watcher (kddriver watch) at the
# moment it sees the window visible (it looks every 2 ms), so the painting after that is not
# counted; the wall clock beside it. Every Wine process of the prefix (server, services, the
# programs) runs on one CPU (KD_BENCH_CPU, default 1; taskset), the watcher on another: a server
# round trip then costs the program about the same on a busy machine as on an idle one. Still,
# compare figures only within one run of the script.
#
# The measured starts are the ones an operator meets every day, all in launch mode Normal, the
# simulated printer's queue installed on the port "KD1394D3_1" (the port Trevalo accepts under
# Wine) and remembered: Kestrune fills the printer list, reads the queue's device settings and
# binds the library through the driver; Trevalo fills page 0's list and selects the queue; a
# second Kestrune series without a remembered queue (the list stays on "no printer") shows what
# the choice costs. Sunnabar never remembers a printer: it lists the queue. All runs use one
# prefix (build/x86_64/wine-bench) on a private Xvfb.
#
# KD_BENCH_BASELINE=DIR (a folder holding Kestrune.exe, Sunnabar.exe and Trevalo.exe of another
# build, with this build's settings laid beside them) adds them to every round, for a
# before/after figure taken under the same load.
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
CPU=${KD_BENCH_CPU:-1}
WATCH_CPU=$((CPU == 0 ? 1 : 0))
[ "$(nproc)" -gt 1 ] || WATCH_CPU=$CPU
PORT=KD1394D3_1
WORK=$KD_BUILD/bench
PROGRAMS=(Kestrune Sunnabar Trevalo)
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
log "building the programs, both yardsticks, kddriver and the simulated printer"
kd_windows_build "${PROGRAMS[@]}" minimal_dialog minimal_spooler_dialog kddriver kbapi_standin \
  kdset32_standin kdsim || fail "build failed"
for name in "${PROGRAMS[@]}"; do
  kd_lay_out_program "$name" "$WORK/$name" Normal
  if [ -n "$BASELINE" ]; then
    [ -f "$BASELINE/$name.exe" ] || fail "no $name.exe in $BASELINE"
    rm -rf "$WORK/Baseline$name"
    cp -r "$WORK/$name" "$WORK/Baseline$name"
    cp "$BASELINE/$name.exe" "$WORK/Baseline$name/$name.exe"
  fi
done
mkdir -p "$WORK/Minimal"
cp "$KD_BUILD/bin/bench/minimal_dialog.exe" "$KD_BUILD/bin/bench/minimal_spooler_dialog.exe" \
  "$WORK/Minimal/"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
kd_wine_start "$KD_BUILD/wine-bench" || fail "the Wine prefix did not come up"
kd_sim_printer_install "$WORK" "$PORT" || fail "the simulated printer could not be installed"
# Trevalo's driver-settings library comes with the driver, as KBAPI.DLL does.
cp "$KD_BUILD/sim/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/" || fail "KDSET32.DLL could not be placed"

# Every Wine process of this prefix (the server and the services it started) on the one CPU;
# the programs are started there too and their children inherit it.
pin_prefix() {
  local pid
  for pid in $(pgrep -u "$(id -u)" -x 'wineserver|services.exe|winedevice.exe|explorer.exe|plugplay.exe|rpcss.exe|svchost.exe' || true); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
    taskset -a -p -c "$CPU" "$pid" >/dev/null 2>&1 || true
  done
}

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

# One start: LAST_MS = milliseconds from starting PROGRAM to its window TITLE being visible,
# LAST_CPU_MS = the CPU time the program's process had used at that moment (as the watcher read
# it from /proc; the server's and the X server's share are not in it).
# (No command substitution: the pids must stay visible to the trap, and fail must end the run.)
start_time() {  # start_time PROGRAM TITLE
  local program=$1 title=$2 watch=$WORK/watch.out pidfile=$WORK/program.pid t0 t1 cpu_ns child
  : >"$watch"
  : >"$pidfile"
  timeout 90 taskset -c "$WATCH_CPU" "$WINELOADER" "$KD_DRIVER_EXE" watch "$title" 60000 \
    "$(kd_windows_path "$pidfile")" </dev/null >"$watch" 2>&1 &
  WATCH_PID=$!
  for _ in $(seq 1 300); do grep -q ready "$watch" && break; sleep 0.05; done
  grep -q ready "$watch" || fail "the watcher did not start: $(cat "$watch")"
  pin_prefix
  t0=$(date +%s%6N)
  timeout 120 taskset -c "$CPU" "$WINELOADER" "$program" </dev/null >/dev/null 2>&1 &
  PROGRAM_PID=$!
  child=
  for _ in $(seq 1 2000); do
    child=$(pgrep -P "$PROGRAM_PID" | head -n 1 || true)
    [ -n "$child" ] && break
  done
  [ -n "$child" ] && echo "$child" >"$pidfile"
  wait "$WATCH_PID" || fail "$title did not show: $(cat "$watch")"
  WATCH_PID=
  t1=$(tr -d '\r' <"$watch" | sed -n 's/^visible: //p')
  cpu_ns=$(tr -d '\r' <"$watch" | sed -n 's/^cpu_ns: //p')
  [ -n "$cpu_ns" ] && [ "$cpu_ns" -ge 0 ] || fail "no CPU time of $title: $(cat "$watch")"
  driver close "$title" 20000 >/dev/null || fail "$title did not close"
  wait "$PROGRAM_PID" 2>/dev/null || true  # bounded by its timeout
  PROGRAM_PID=
  LAST_MS=$(((t1 - t0) / 1000))
  LAST_CPU_MS=$(awk -v n="$cpu_ns" 'BEGIN { printf "%.1f", n / 1e6 }')
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{v[NR]=$1} END {
  if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

title_of() {  # the caption a program starts with: text 400, Trevalo's text 0
  local number=400 line
  [ "$1" = Trevalo ] && number=0
  line=$(grep -a -m1 "^$(printf '%08d' "$number")=" "$WORK/$1/Settings/Localize.ini" | tr -d '\r')
  printf '%s\n' "${line#*=}"
}
declare -A TITLE
for name in "${PROGRAMS[@]}"; do TITLE[$name]=$(title_of "$name"); done
MINIMAL=$WORK/Minimal/minimal_dialog.exe
SPOOLER=$WORK/Minimal/minimal_spooler_dialog.exe
log "warm-up (Wine processes on CPU $CPU, the watcher on CPU $WATCH_CPU)"
remember_printer
for name in "${PROGRAMS[@]}"; do start_time "$WORK/$name/$name.exe" "${TITLE[$name]}"; done
start_time "$MINIMAL" "Minimal Dialog"
start_time "$SPOOLER" "Minimal Spooler Dialog"

# Series by name: wall-clock and CPU milliseconds of every start, in rounds that alternate.
declare -A WALL CPU_MS
SERIES=(minimal_spooler minimal kestrune_start sunnabar_start trevalo_start
  kestrune_start_no_printer)
if [ -n "$BASELINE" ]; then
  SERIES+=(baseline_kestrune_start baseline_sunnabar_start baseline_trevalo_start)
fi
measure() {  # measure SERIES PROGRAM TITLE
  start_time "$2" "$3"
  WALL[$1]+="$LAST_MS "
  CPU_MS[$1]+="$LAST_CPU_MS "
}
for run in $(seq 1 "$RUNS"); do
  remember_printer
  measure minimal_spooler "$SPOOLER" "Minimal Spooler Dialog"
  for name in "${PROGRAMS[@]}"; do
    measure "${name,,}_start" "$WORK/$name/$name.exe" "${TITLE[$name]}"
    if [ -n "$BASELINE" ]; then
      measure "baseline_${name,,}_start" "$WORK/Baseline$name/$name.exe" "${TITLE[$name]}"
    fi
  done
  measure minimal "$MINIMAL" "Minimal Dialog"
  forget_printer
  measure kestrune_start_no_printer "$WORK/Kestrune/Kestrune.exe" "${TITLE[Kestrune]}"
  log "run $run done"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
m=$(echo "${WALL[minimal]}" | median)
mc=$(echo "${CPU_MS[minimal]}" | median)
s=$(echo "${WALL[minimal_spooler]}" | median)
sc=$(echo "${CPU_MS[minimal_spooler]}" | median)
ratios=
missed=
for name in "${SERIES[@]}"; do
  wall=$(echo "${WALL[$name]}" | median)
  cpu=$(echo "${CPU_MS[$name]}" | median)
  printf '%-26s median %5s ms, CPU %5s ms  (wall: %s; CPU: %s)\n' "$name" "$wall" "$cpu" \
    "${WALL[$name]% }" "${CPU_MS[$name]% }"
  case $name in minimal | minimal_spooler) continue ;; esac
  fair=$(ratio "$cpu" "$sc")
  ratios+=" ${name}_cpu/minimal_spooler=$fair ${name}_cpu/minimal=$(ratio "$cpu" "$mc")"
  ratios+=" $name/minimal_spooler=$(ratio "$wall" "$s") $name/minimal=$(ratio "$wall" "$m")"
  case $name in
    kestrune_start | sunnabar_start | trevalo_start)
      awk -v a="$fair" -v t="$TARGET" 'BEGIN { exit !(a > t) }' && missed+=" $name" ;;
  esac
done
ratios+=" minimal_spooler_cpu/minimal=$(ratio "$sc" "$mc")"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) (1, 5, 15 min) at the end; Wine on CPU $CPU"
echo "target: each program's CPU time at most ${TARGET} times the fair yardstick's" \
  "(minimal_spooler)${missed:+; missed by$missed}"
echo "RATIOS${ratios}"
