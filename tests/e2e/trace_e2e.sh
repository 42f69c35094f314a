#!/usr/bin/env bash
# Record and replay under Wine: Kestrune against the simulated printer with the recording
# KBAPI.DLL in the driver's folder (the stand-in beside it as KBAPI_REAL.DLL), a nozzle check and
# a deep cleaning; then the same run against the printer answering from that trace. Checked: the
# recording wrote a trace without a log, both runs showed the same messages in the same order,
# and the replay did not diverge. The trace goes to out/kestrune-e2e.trace. Every wait is
# bounded; the trap stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

WORK=$KD_BUILD/trace-e2e
FOLDER=$WORK/Kestrune
PREFIX=$KD_BUILD/wine-trace
SAVED=$KD_ROOT/out/kestrune-e2e.trace
KD_SUITE="trace e2e"
NAME=Kestrune
TITLE=$NAME
RECORDER_DLL=$KD_BUILD/tools/recorder/KBAPI.DLL

trap kd_e2e_cleanup EXIT

# One run from the same start: no printer remembered, so that both runs bind alike; then choose
# the printer, a nozzle check, a deep cleaning, close. Writes the messages' texts in order to OUT.
run_once() {  # OUT
  local shown=()
  timeout 60 "$WINELOADER" reg delete 'HKCU\SoftWare\KALDO\KALDO Maroset\Model 9000' \
    /v SelectPrinter /f </dev/null >/dev/null 2>&1 || true
  start_program
  driver choose "$TITLE" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
    fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
  sleep 1
  press "$IDC_NOZZLE_CHECK"
  shown+=("$(driver message 20000 ok | sed -n 's/^text: //p')")
  press "$IDC_DEEP_CLEANING"
  shown+=("$(driver message 20000 ok | sed -n 's/^text: //p')")
  press "$IDC_CLOSE_BUTTON"
  shown+=("$(driver message 20000 ok | sed -n 's/^text: //p')")
  for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
  program_running && fail "$NAME did not end"
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
  printf '%s\n' "${shown[@]}" >"$1"
}

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 program, stand-in and recording library"
kd_windows_build Kestrune kddriver kbapi_standin kbapi_recorder kdsim ||
  fail "the x86_64 build failed"
kd_control_ids kestrune || fail "no control ids"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"
kd_lay_out_program Kestrune "$FOLDER" Normal
kd_sim_printer_install "$WORK" || fail "the simulated printer could not be installed"

log "recording: the recording library in the driver's folder, the stand-in beside it"
TRACE=$WORK/kestrune.trace
mv "$KD_SIM_LIBRARY_DIR/KBAPI.DLL" "$KD_SIM_LIBRARY_DIR/KBAPI_REAL.DLL"
cp "$RECORDER_DLL" "$KD_SIM_LIBRARY_DIR/KBAPI.DLL"
printf 'KBAPI=KBAPI_REAL.DLL\r\nTRACE=%s\r\n' "$(kd_windows_path "$TRACE")" \
  >"$KD_SIM_LIBRARY_DIR/kdtrace.ini"
run_once "$WORK/recorded.messages"
check "the recording wrote a trace" test -s "$TRACE"
check "the recording logged no problem" test ! -e "$TRACE.log"
mkdir -p "$(dirname "$SAVED")"
cp "$TRACE" "$SAVED"

log "replay: the stand-in answers from the trace"
rm "$KD_SIM_LIBRARY_DIR/KBAPI.DLL"
mv "$KD_SIM_LIBRARY_DIR/KBAPI_REAL.DLL" "$KD_SIM_LIBRARY_DIR/KBAPI.DLL"
kd_kdsim replay "$KD_SIM_STATE_FILE" "$TRACE" >/dev/null || fail "kdsim replay could not start"
run_once "$WORK/replayed.messages"
check_equal "the replay showed the recorded run's messages" \
  "$(cat "$WORK/recorded.messages")" "$(cat "$WORK/replayed.messages")"
check "each run showed its three messages" test "$(wc -l <"$WORK/replayed.messages")" -eq 3
report=$(kd_kdsim replay "$KD_SIM_STATE_FILE" | tr -d '\r') && diverged=no || diverged=yes
printf '%s\n' "$report" | sed 's/^/   /'
check_equal "the replay did not diverge" no "$diverged"
finish "$SAVED"
