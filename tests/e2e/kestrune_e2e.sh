#!/usr/bin/env bash
# Kestrune end to end under Wine: a fresh prefix under a private Xvfb, the Win32 platform
# check, then one Kestrune start in launch mode Normal against a registered queue whose port
# feeds the simulated printer. kddriver.exe chooses the printer and presses the buttons; kdsim
# changes the printer between the cases. Checked: which message box (caption, icon, text)
# answers each action and which bytes reached the printer. The main window's screenshot goes
# to out/kestrune-e2e.png. Every wait is bounded; the trap stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

WORK=$KD_BUILD/e2e
FOLDER=$WORK/Kestrune
PREFIX=$KD_BUILD/wine-e2e
SHOT=$KD_ROOT/out/kestrune-e2e.png
TITLE=Kestrune  # the main window's caption, text 400

# Control ids (programs/kestrune/resource.h, programs/common/frame_ids.h).
PRINTER_LIST=1026
NOZZLE_CHECK=1038
DEEP_CLEANING=1039
CLOSE_BUTTON=1004
BUSY_MESSAGE=1159

# What the printer must receive, written out here rather than taken from the code under test.
NOZZLE_CHECK_STREAM=1b401b285208000052454d4f5445314e43020000005649020000011b0000000d0a0c1b40
DEEP_CLEANING_STREAM=1b401b285208000052454d4f5445314348020000101b000000

started=$(date +%s)
log() { printf -- '-- %s\n' "$*"; }
PROGRAM_PID=
failures=0

diagnose() {
  echo "   Kestrune output: $WORK/Kestrune.log" >&2
  if [ -n "${KD_SIM_STATE_FILE:-}" ]; then
    echo "   printer log:" >&2
    kd_kdsim log "$KD_SIM_STATE_FILE" 2>&1 | tr -d '\r' | tail -n 12 | sed 's/^/     /' >&2 || true
  fi
}
fail() {
  echo "kestrune e2e: FAILED: $*" >&2
  diagnose
  exit 1
}
check() {  # check DESCRIPTION CONDITION...: records a failed condition and goes on
  local what=$1
  shift
  if "$@"; then
    log "ok: $what"
  else
    echo "kestrune e2e: FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}

cleanup() {
  if [ -n "$PROGRAM_PID" ]; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  kd_wine_cleanup
}
trap cleanup EXIT

driver() { timeout 90 "$WINELOADER" "$KD_DRIVER_EXE" "$@" </dev/null | tr -d '\r'; }

# Text N of the program's settings, as the program reads it.
text() {
  local line
  line=$(grep -a -m1 "^$(printf '%08d' "$1")=" "$FOLDER/Settings/Localize.ini" | tr -d '\r') || true
  printf '%s\n' "${line#*=}"
}

input_size() { stat -c %s "$KD_SIM_INPUT"; }
bytes_since() { tail -c +$(($1 + 1)) "$KD_SIM_INPUT" | od -An -tx1 -v | tr -d ' \n'; }

# Waits for the next message box, answers it, and compares caption, icon and text number.
expect_message() {  # expect_message WHAT ICON TEXT_NUMBER [ok|cancel] [MS]
  local what=$1 icon=$2 number=$3 answer=${4:-ok} ms=${5:-20000} box want
  box=$(driver message "$ms" "$answer") || { fail "$what: no message box within $ms ms"; }
  want=$(printf 'caption: %s\nicon: %s\ntext: %s' "$(text 400)" "$icon" "$(text "$number")")
  if [ "$box" != "$want" ]; then
    printf 'kestrune e2e: FAILED: %s: expected\n%s\n   got\n%s\n' "$what" "$want" "$box" >&2
    failures=$((failures + 1))
  else
    log "ok: $what shows text $number ($icon)"
  fi
}

# Compares what reached the printer since offset BEFORE with the expected hex stream.
expect_bytes() {  # expect_bytes WHAT BEFORE HEX
  local got
  got=$(bytes_since "$2")
  if [ "$got" = "$3" ]; then
    log "ok: $1"
  else
    printf 'kestrune e2e: FAILED: %s\n   expected %s\n   got      %s\n' "$1" "$3" "${got:-nothing}" >&2
    failures=$((failures + 1))
  fi
}

printer() { kd_kdsim set "$KD_SIM_STATE_FILE" "$@" >/dev/null || fail "kdsim set $*"; }
printer_log_has() { kd_kdsim log "$KD_SIM_STATE_FILE" | tr -d '\r' | grep -q -- "$1"; }
program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
program_ended() { ! program_running; }
window_stays() { program_running && driver wait "$TITLE" 2000 >/dev/null; }
busy_dialog_shows() { driver wait-control "$BUSY_MESSAGE" 10000 >/dev/null; }
press() { driver click "$TITLE" "$1" >/dev/null || fail "cannot press control $1"; }

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 programs and stand-ins"
kd_windows_build Kestrune kddriver kd_platform_check kbapi_standin kdsim ||
  fail "the x86_64 build failed"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

log "Win32 platform check"
timeout 120 "$WINELOADER" "$KD_BUILD/bin/e2e/kd_platform_check.exe" </dev/null ||
  fail "the Win32 platform check failed"

log "installation: program folder, registry keys, driver, queue, simulated printer"
kd_lay_out_program Kestrune "$FOLDER" Normal
kd_sim_printer_install "$WORK" || fail "the simulated printer could not be installed"

log "starting Kestrune.exe (launch mode Normal)"
timeout 300 "$WINELOADER" "$FOLDER/Kestrune.exe" </dev/null >"$WORK/Kestrune.log" 2>&1 &
PROGRAM_PID=$!
driver wait "$TITLE" 60000 >/dev/null || fail "no Kestrune main window within 60 s"

check "nothing remembered yet: the list starts on the no-printer entry" \
  test "$(driver text "$TITLE" "$PRINTER_LIST")" = "$(text 200)"
driver choose "$TITLE" "$PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
sleep 1  # the choice binds the library; let the window repaint
mkdir -p "$(dirname "$SHOT")"
geometry=$(driver geometry "$TITLE") || fail "the main window has gone"
timeout 30 import -window root -crop "$geometry" +repage "$SHOT" || fail "no screenshot"
colours=$(convert "$SHOT" -format '%k' info:)
check "screenshot $SHOT ($geometry, $colours colours)" test "$colours" -gt 16

log "case: nozzle check on a ready printer"
before=$(input_size)
press "$NOZZLE_CHECK"
expect_message "nozzle check" information 308
expect_bytes "the nozzle check reached the printer as exactly its 36 bytes" \
  "$before" "$NOZZLE_CHECK_STREAM"
check "the printer printed its nozzle check pattern" printer_log_has "nozzle-check printed"
remembered=$(timeout 60 "$WINELOADER" reg query \
  'HKCU\SoftWare\KALDO\KALDO Maroset\Model 9000' /v SelectPrinter </dev/null 2>/dev/null |
  tr -d '\r' | sed -n 's/.*SelectPrinter *REG_SZ *//p')
check "the choice is remembered as SelectPrinter" test "$remembered" = "$KD_SIM_QUEUE"

log "case: deep cleaning with an ink level of 25"
printer ink=80,25,80,80
before=$(input_size)
press "$DEEP_CLEANING"
expect_message "deep cleaning, ink at 25" warning 309
check "nothing was sent for the refused deep cleaning" test "$(input_size)" -eq "$before"

log "case: deep cleaning with every ink level above 25"
printer ink=80,26,80,80
press "$DEEP_CLEANING"
expect_message "deep cleaning, ink at 26" information 306
expect_bytes "the deep cleaning reached the printer as exactly its 25 bytes" \
  "$before" "$DEEP_CLEANING_STREAM"

log "case: nozzle check on a busy printer (two more polls, 5 s apart)"
printer status=busy
before=$(input_size)
press "$NOZZLE_CHECK"
check "the busy dialog shows while the printer is polled" busy_dialog_shows
expect_message "nozzle check, printer busy" warning 302 ok 30000
check "nothing was sent to the busy printer" test "$(input_size)" -eq "$before"

log "case: nozzle check on a printer of another model"
printer status=ready "model=KALDO Model 7000"
press "$NOZZLE_CHECK"
expect_message "nozzle check, other model" error 305
check "nothing was sent to the other model" test "$(input_size)" -eq "$before"

log "case: the close confirmation"
press "$CLOSE_BUTTON"
expect_message "close, answered Cancel" information 300 cancel
sleep 1
check "Cancel keeps Kestrune open" window_stays
press "$CLOSE_BUTTON"
expect_message "close, answered OK" information 300 ok
for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
check "OK ends Kestrune" program_ended
if ! program_running; then
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
fi

elapsed=$(($(date +%s) - started))
if [ "$failures" -gt 0 ]; then
  echo "kestrune e2e: $failures check(s) failed (${elapsed} s)" >&2
  diagnose
  exit 1
fi
log "kestrune e2e passed in ${elapsed} s; screenshot $SHOT"
