#!/usr/bin/env bash
# Record and replay under Wine, with the recording libraries in the driver's folder and the
# simulated printer's stand-ins beside them as KBAPI_REAL.DLL and KDSET32_REAL.DLL, each program
# run twice from the same start: recorded, then against the printer answering from that trace.
#   - Kestrune: a nozzle check and a deep cleaning (the communication library alone);
#   - Trevalo: the adjustment page chosen through page 0's guide list, the paper feed detail of
#     the driver's first medium and a Save (both libraries, one trace).
# Checked for each: the recording wrote a trace without a log, both runs showed the same messages
# in the same order, and the replay neither diverged nor left recorded calls over; for Trevalo
# also that the driver-settings library was recorded. The traces go to out/. With
# KD_RECORD_TRACES=1 the Kestrune and Trevalo traces and one of Sunnabar's version read and
# update (not replayed here: the update waits a fixed 70 s) are also written to tests/traces/,
# where the host tests replay them. Every wait is bounded; the trap stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

kd_e2e_suite "trace e2e" trace-e2e wine-trace
OUT=$KD_ROOT/out
KEPT=$KD_ROOT/tests/traces
# Trevalo accepts this kind of port everywhere; the others do not look at it.
PORT=KD1394D3_1
RECORDERS=$KD_BUILD/tools/recorder
MODEL_KEY='HKCU\SoftWare\KALDO\KALDO Maroset\Model 9000'
SUNNABAR_FIRMWARE=SN130315  # newer than the printer's SN120315
# Trevalo's page 0 guide list: one button per item from 300, the adjustment item first.
GUIDE_ADJUSTMENT_BUTTON=300
CLOSE_ID=2  # the detail dialog's Close is the system's IDCANCEL

# The program of the next runs: its folder and how kddriver finds its main window.
use_program() {  # NAME IDS [WINDOW]
  NAME=$1
  FOLDER=$WORK/$NAME
  WINDOW=${3:-}
  CAPTION_TEXT=400
  [ -n "$WINDOW" ] && CAPTION_TEXT=0
  kd_control_ids "$2" || fail "no control ids for $NAME"
  kd_lay_out_program "$NAME" "$FOLDER" Normal
}

# The next message box's text, answered.
next_message() {  # [ok|cancel] [MS]
  driver message "${2:-20000}" "${1:-ok}" | sed -n 's/^text: //p'
}

# A kddriver step tried again for about ten seconds: a dialog that has just come up may not have
# all its controls yet.
retried() {
  for _ in $(seq 1 20); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.5
  done
  return 1
}

# Waits for the program to end after its close.
program_ends() {
  for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
  program_running && fail "$NAME did not end"
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
}
decodes() {  # TRACE
  timeout 60 "$WINELOADER" "$KD_KDTOOL_EXE" trace "$(kd_windows_path "$1")" </dev/null >/dev/null
}
# Each run starts from the same point: no printer remembered.
forget_printer() {
  timeout 60 "$WINELOADER" reg delete "$MODEL_KEY" /v SelectPrinter /f </dev/null >/dev/null 2>&1 ||
    true
}

# Choose the printer, a nozzle check, a deep cleaning, close.
kestrune_run() {
  forget_printer
  start_program
  driver choose "$NAME" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
    fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
  sleep 1
  press "$IDC_NOZZLE_CHECK"
  next_message
  press "$IDC_DEEP_CLEANING"
  next_message
  press "$IDC_CLOSE_BUTTON"
  next_message
  program_ends
}

# Page 0: choose the printer, its guide item opens the adjustment page; the paper feed detail of
# the first medium, a Save confirmed; Close, back to page 0, the window closed.
trevalo_run() {
  local feed_title
  feed_title=$(text 20400)
  forget_printer
  start_program
  driver choose "$WINDOW" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
    fail "the queue \"$KD_SIM_QUEUE\" is not in page 0's printer list"
  # Posted after the choice, so the guide item is enabled when the click arrives.
  press "$GUIDE_ADJUSTMENT_BUTTON"
  next_message
  control_shows "$IDC_PAPER_FEED_LIST" "$(text 10200)" 10000 || fail "no adjustment page"
  press "$IDC_PAPER_FEED_DETAIL"
  driver wait "$feed_title" 20000 >/dev/null || fail "paper feed Detail opened no \"$feed_title\""
  retried driver set-text "$feed_title" "$IDC_FEED_SAVE_EDIT" 5 ||
    fail "no value could be typed in \"$feed_title\""
  retried driver click "$feed_title" "$IDC_FEED_SAVE" || fail "no Save in \"$feed_title\""
  next_message
  next_message ok 30000
  retried driver click "$feed_title" "$CLOSE_ID" || fail "no Close in \"$feed_title\""
  for _ in $(seq 1 50); do
    driver wait "$feed_title" 0 >/dev/null 2>&1 || break
    sleep 0.2
  done
  press "$IDC_ADJUSTMENT_CLOSE"
  control_shows "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" 10000 || fail "page 0 did not show again"
  driver close "$WINDOW" 20000 >/dev/null || fail "$NAME did not close"
  program_ends
}

# The printer remembered, as the host test's flow starts: choose it, Browse to the file, Update,
# wait out the settle time; close.
sunnabar_run() {
  timeout 60 "$WINELOADER" reg add "$MODEL_KEY" /v SelectPrinter /t REG_SZ /d "$KD_SIM_QUEUE" \
    /f </dev/null >/dev/null 2>&1 || fail "the printer could not be remembered"
  start_program
  driver choose "$NAME" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
    fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
  control_shows "$IDC_PRINTER_VERSION" SN120315 20000 || fail "no printer version"
  press "$IDC_BROWSE"
  driver open-file '*' "$(kd_windows_path "$WORK/firmware/KD9000.UPG")" 30000 >/dev/null ||
    fail "the file-open dialog could not be filled"
  control_shows "$IDC_FILE_VERSION" "$SUNNABAR_FIRMWARE" 20000 || fail "no file version"
  press "$IDC_UPDATE"
  next_message ok 120000
  press "$IDC_CLOSE_BUTTON"
  next_message
  program_ends
}

# Records RUN through the recording libraries into TRACE, then replays it: same messages, no
# divergence, nothing left over. The messages go to TRACE.messages.
record_and_replay() {  # RUN TRACE [norep]
  local run=$1 trace=$2 report diverged
  log "$NAME: recording"
  mv "$KD_SIM_LIBRARY_DIR/KBAPI.DLL" "$KD_SIM_LIBRARY_DIR/KBAPI_REAL.DLL"
  mv "$KD_SIM_LIBRARY_DIR/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/KDSET32_REAL.DLL"
  cp "$RECORDERS/KBAPI.DLL" "$RECORDERS/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/"
  printf 'KBAPI=KBAPI_REAL.DLL\r\nKDSET32=KDSET32_REAL.DLL\r\nTRACE=%s\r\n' \
    "$(kd_windows_path "$trace")" >"$KD_SIM_LIBRARY_DIR/kdtrace.ini"
  rm -f "$trace" "$trace.log"
  "$run" >"$trace.messages"
  mv "$KD_SIM_LIBRARY_DIR/KBAPI_REAL.DLL" "$KD_SIM_LIBRARY_DIR/KBAPI.DLL"
  mv "$KD_SIM_LIBRARY_DIR/KDSET32_REAL.DLL" "$KD_SIM_LIBRARY_DIR/KDSET32.DLL"
  check "$NAME: the recording wrote a trace" test -s "$trace"
  check "$NAME: the recording logged no problem" test ! -e "$trace.log"
  log "$NAME: messages $(paste -sd '|' "$trace.messages")"
  [ "${3:-}" = norep ] && return 0

  log "$NAME: replay, the stand-ins answering from the trace"
  kd_kdsim replay "$KD_SIM_STATE_FILE" "$trace" >/dev/null || fail "kdsim replay could not start"
  "$run" >"$trace.replayed"
  check_equal "$NAME: the replay showed the recorded run's messages" \
    "$(cat "$trace.messages")" "$(cat "$trace.replayed")"
  report=$(kd_kdsim replay "$KD_SIM_STATE_FILE" | tr -d '\r') && diverged=no || diverged=yes
  printf '%s\n' "$report" | sed 's/^/   /'
  check_equal "$NAME: the replay neither diverged nor left calls over" no "$diverged"
  # The printer acts again for the next program.
  kd_kdsim set "$KD_SIM_STATE_FILE" replay= >/dev/null || fail "the replay could not be ended"
}

# Keeps a trace for the host tests, with a note of where it came from and what it showed.
keep() {  # TRACE NAME
  {
    head -n 1 "$1"
    printf '# %s, recorded under Wine through the recording libraries; messages: %s\n' "$2" \
      "$(paste -sd '|' "$1.messages")"
    tail -n +2 "$1"
  } >"$KEPT/$2.trace"
  log "kept $KEPT/$2.trace"
}

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 programs, stand-ins and recording libraries"
targets=(Kestrune Trevalo kddriver kbapi_standin kdset32_standin kbapi_recorder kdset32_recorder
  kdsim kdtool)
[ "${KD_RECORD_TRACES:-0}" = 1 ] && targets+=(Sunnabar)
kd_windows_build "${targets[@]}" || fail "the x86_64 build failed"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"
mkdir -p "$WORK" "$OUT"
kd_sim_printer_install "$WORK" "$PORT" || fail "the simulated printer could not be installed"
cp "$KD_BUILD/sim/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/" ||
  fail "KDSET32.DLL could not be placed beside the driver"

use_program Kestrune kestrune
record_and_replay kestrune_run "$WORK/kestrune.trace"
check "Kestrune: each run showed its three messages" \
  test "$(wc -l <"$WORK/kestrune.trace.replayed")" -eq 3
cp "$WORK/kestrune.trace" "$OUT/kestrune-e2e.trace"

use_program Trevalo trevalo "*"
record_and_replay trevalo_run "$WORK/trevalo.trace"
check "Trevalo: the driver-settings library was recorded" grep -q ' KDDM_Open ' "$WORK/trevalo.trace"
check "kdtool trace decodes the recorded trace" decodes "$WORK/trevalo.trace"
cp "$WORK/trevalo.trace" "$OUT/trevalo-e2e.trace"

if [ "${KD_RECORD_TRACES:-0}" = 1 ]; then
  keep "$WORK/kestrune.trace" wine_kestrune_nozzle_check_and_deep_cleaning
  keep "$WORK/trevalo.trace" wine_trevalo_adjustment_paper_feed_save
  use_program Sunnabar sunnabar
  kd_make_firmware "$SUNNABAR_FIRMWARE" "$WORK/firmware/KD9000.UPG" || fail "kdtool make-upg failed"
  printer firmware=SN120315 firmware_busy_ms=5000
  record_and_replay sunnabar_run "$WORK/sunnabar.trace" norep
  keep "$WORK/sunnabar.trace" wine_sunnabar_version_and_update
fi
finish "$OUT/trevalo-e2e.trace"
