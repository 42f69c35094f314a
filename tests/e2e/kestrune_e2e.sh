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
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

kd_e2e_suite "kestrune e2e" e2e wine-e2e
FOLDER=$WORK/Kestrune
SHOT=$KD_ROOT/out/kestrune-e2e.png
NAME=Kestrune  # also the main window's caption, text 400
TITLE=$NAME

# What the printer must receive, written out here rather than taken from the code under test.
NOZZLE_CHECK_STREAM=1b401b285208000052454d4f5445314e43020000005649020000011b0000000d0a0c1b40
DEEP_CLEANING_STREAM=1b401b285208000052454d4f5445314348020000101b000000

busy_dialog_shows() { driver wait-control "$IDC_BUSY_MESSAGE" 10000 >/dev/null; }

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 programs and stand-ins"
kd_windows_build Kestrune kddriver kd_platform_check kbapi_standin kdsim ||
  fail "the x86_64 build failed"
kd_control_ids kestrune || fail "no control ids"

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
start_program

check "nothing remembered yet: the list starts on the no-printer entry" \
  test "$(driver text "$TITLE" "$IDC_PRINTER_LIST")" = "$(text 200)"
driver choose "$TITLE" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
sleep 1  # the choice binds the library; let the window repaint
screenshot "$SHOT"
about_fits 16  # the system menu's About item

log "case: nozzle check on a ready printer"
before=$(input_size)
press "$IDC_NOZZLE_CHECK"
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
press "$IDC_DEEP_CLEANING"
expect_message "deep cleaning, ink at 25" warning 309
check "nothing was sent for the refused deep cleaning" test "$(input_size)" -eq "$before"

log "case: deep cleaning with every ink level above 25"
printer ink=80,26,80,80
press "$IDC_DEEP_CLEANING"
expect_message "deep cleaning, ink at 26" information 306
expect_bytes "the deep cleaning reached the printer as exactly its 25 bytes" \
  "$before" "$DEEP_CLEANING_STREAM"

log "case: nozzle check on a busy printer (two more polls, 5 s apart)"
printer status=busy
before=$(input_size)
press "$IDC_NOZZLE_CHECK"
check "the busy dialog shows while the printer is polled" busy_dialog_shows
expect_message "nozzle check, printer busy" warning 302 ok 30000
check "nothing was sent to the busy printer" test "$(input_size)" -eq "$before"

log "case: nozzle check on a printer of another model"
printer status=ready "model=KALDO Model 7000"
press "$IDC_NOZZLE_CHECK"
expect_message "nozzle check, other model" error 305
check "nothing was sent to the other model" test "$(input_size)" -eq "$before"

log "case: the close confirmation"
press "$IDC_CLOSE_BUTTON"
expect_message "close, answered Cancel" information 300 cancel
sleep 1
check "Cancel keeps Kestrune open" window_stays
close_with_ok "$IDC_CLOSE_BUTTON"
finish "$SHOT"
