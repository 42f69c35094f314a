#!/usr/bin/env bash
# Sunnabar end to end under Wine: a fresh prefix under a private Xvfb, Sunnabar in launch mode
# Normal beside a registered queue whose port feeds the simulated printer, and one firmware
# update through the page: choose the printer, Browse through the system's file-open dialog to
# a firmware file made by kdtool, Update, and wait out the product's fixed 70 s settle time.
# Checked: the versions the page shows, the folder it remembers, the bytes the printer received,
# the message that ends the update, and the printer's new version. The main window's screenshot
# goes to out/sunnabar-e2e.png. Every wait is bounded; the trap stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

kd_e2e_suite "sunnabar e2e" e2e-sunnabar wine-e2e-sunnabar
FOLDER=$WORK/Sunnabar
SHOT=$KD_ROOT/out/sunnabar-e2e.png
NAME=Sunnabar  # also the main window's caption, text 400

PRINTER_FIRMWARE=SN120315  # does not end in 0000: the printer expects the lead-in
FILE_FIRMWARE=SN120415     # newer: key 0x4120 against 0x3120
FIRMWARE_BUSY_MS=5000      # well inside the 70 s settle time, so the printer is back by then
SETTLE_S=70
UPDATE_LIMIT_MS=120000
FIRMWARE_FILE=$WORK/firmware/KD9000.UPG
MODEL_KEY="HKCU\\SoftWare\\KALDO\\KALDO Maroset\\${KD_SIM_MODEL:6}\\Sunnabar"

# What the printer must receive, written out here rather than taken from the code under test:
# 16,384 bytes of 0x11, the update header, then the file unchanged.
LEAD_IN_BYTES=16384
UPDATE_HEADER='\x1b\x7d\x01\x05\x00\xa4\x3b\x19\xe2\x6d'
expected_stream() {
  head -c "$LEAD_IN_BYTES" /dev/zero | tr '\0' '\021'
  printf '%b' "$UPDATE_HEADER"
  cat "$FIRMWARE_FILE"
}
stream_arrived() {  # stream_arrived BEFORE
  cmp -s <(tail -c +$(($1 + 1)) "$KD_SIM_INPUT") <(expected_stream)
}

remembered_folder() {
  timeout 60 "$WINELOADER" reg query "$MODEL_KEY" /v FwPath </dev/null 2>/dev/null |
    tr -d '\r' | sed -n 's/.*FwPath *REG_SZ *//p'
}
busy_dialog_shows() { driver wait-control "$IDC_BUSY_MESSAGE" 10000 >/dev/null; }

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 Sunnabar, kddriver, kdtool and the simulated printer"
kd_windows_build Sunnabar kddriver kdtool kbapi_standin kdsim || fail "the x86_64 build failed"
kd_control_ids sunnabar || fail "no control ids"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

log "installation: program folder, registry keys, driver, queue, simulated printer"
kd_lay_out_program Sunnabar "$FOLDER" Normal
kd_sim_printer_install "$WORK" || fail "the simulated printer could not be installed"
printer "firmware=$PRINTER_FIRMWARE" "firmware_busy_ms=$FIRMWARE_BUSY_MS"
kd_make_firmware "$FILE_FIRMWARE" "$FIRMWARE_FILE" || fail "kdtool make-upg failed"
file_size=$(stat -c %s "$FIRMWARE_FILE")
log "firmware file $FIRMWARE_FILE ($FILE_FIRMWARE, $file_size bytes)"

log "starting Sunnabar.exe (launch mode Normal)"
start_program
check_equal "the list starts on the no-printer entry" "$(text 200)" \
  "$(driver text "$NAME" "$IDC_PRINTER_LIST")"

log "case: choosing the printer shows its firmware version"
driver choose "$NAME" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
control_shows "$IDC_PRINTER_VERSION" "$PRINTER_FIRMWARE" 20000 ||
  fail "the page shows \"$(driver text "$NAME" "$IDC_PRINTER_VERSION")\" as the printer's version," \
    "not $PRINTER_FIRMWARE; $(driver appear 100)"
log "ok: the page shows the printer's version $PRINTER_FIRMWARE"

log "case: Browse through the file-open dialog"
press "$IDC_BROWSE"
opened=$(driver open-file '*' "$(kd_windows_path "$FIRMWARE_FILE")" 30000) ||
  fail "the file-open dialog could not be filled: $opened"
check_equal "the file-open dialog is the system's Open dialog" "dialog: Open" \
  "$(sed -n 1p <<<"$opened")"
folder_line=$(grep '^folder:' <<<"$opened" || true)
check "nothing remembered yet: the dialog starts in C:\\ ($folder_line)" \
  grep -q '(C:)' <<<"$folder_line"
control_shows "$IDC_FILE_NAME" "$(basename "$FIRMWARE_FILE")" 20000 ||
  fail "the page does not show the chosen file; $(driver appear 100)"
log "ok: the page shows the file name $(basename "$FIRMWARE_FILE")"
check_equal "the page shows the file's version" "$FILE_FIRMWARE" \
  "$(driver text "$NAME" "$IDC_FILE_VERSION")"
firmware_folder=$(kd_windows_path "$(dirname "$FIRMWARE_FILE")")
check_equal "the file's folder is remembered as FwPath" "$firmware_folder" "$(remembered_folder)"

log "case: Update (the product waits a fixed ${SETTLE_S} s before it asks the printer)"
before=$(input_size)
press "$IDC_UPDATE"
update_started=$SECONDS
check "the progress dialog shows while the printer restarts" busy_dialog_shows
expect_message "update" information 309 ok "$UPDATE_LIMIT_MS"
update_s=$((SECONDS - update_started))
check "the update waited out the settle time (${update_s} s)" test "$update_s" -ge "$SETTLE_S"
check "the printer received lead-in, update header and the file unchanged" \
  stream_arrived "$before"
check_equal "the job is $LEAD_IN_BYTES + 10 + $file_size bytes" \
  $((LEAD_IN_BYTES + 10 + file_size)) $(($(input_size) - before))
check "the printer took the firmware" \
  printer_log_has "firmware $PRINTER_FIRMWARE -> $FILE_FIRMWARE"
check "the printer restarted with it" printer_log_has "restarted with firmware $FILE_FIRMWARE"
check "kdsim show: the printer's firmware is now $FILE_FIRMWARE" \
  printer_shows "firmware=$FILE_FIRMWARE"
check_equal "the page shows the printer's new version" "$FILE_FIRMWARE" \
  "$(driver text "$NAME" "$IDC_PRINTER_VERSION")"
sleep 1  # let the page repaint its verdict
screenshot "$SHOT"
about_fits 16  # the system menu's About item

log "case: the close confirmation"
close_with_ok "$IDC_CLOSE_BUTTON"
log "the update took ${update_s} s of the run"
finish "$SHOT"
