#!/usr/bin/env bash
# Trevalo end to end under Wine: a fresh prefix under a private Xvfb, Trevalo in launch mode
# Normal beside a registered queue on the port "KD1394D3_1" (the only kind of port Trevalo
# accepts where the platform reports version 6.1, as Wine does), which Wine's spooler maps to the
# simulated printer's input. kddriver.exe chooses the printer on page 0 through the guide list's
# cleaning item and presses the pages' buttons; kdsim changes the printer between the cases.
# Checked: which message box (caption, icon, text) answers each action and which bytes reached
# the printer; on the adjustment page the simulated driver's media, the pellan rule and the two
# Detail dialogs (known by their templates' controls); and that a page drawn through the
# programs' print surface reaches the printer as a sample job (kddriver print). Page 0's
# screenshot goes to out/trevalo-e2e.png, the cleaning page's to out/trevalo-cleaning-e2e.png,
# the adjustment page's to out/trevalo-adjustment-e2e.png. Every wait is bounded; the trap
# stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

WORK=$KD_BUILD/e2e-trevalo
FOLDER=$WORK/Trevalo
PREFIX=$KD_BUILD/wine-e2e-trevalo
SHOT=$KD_ROOT/out/trevalo-e2e.png
CLEANING_SHOT=$KD_ROOT/out/trevalo-cleaning-e2e.png
ADJUSTMENT_SHOT=$KD_ROOT/out/trevalo-adjustment-e2e.png
KD_SUITE="trevalo e2e"
NAME=Trevalo
# The caption names the page and the printer; Trevalo's window is the only dialog on the screen.
WINDOW="*"
CAPTION_TEXT=0
PORT=KD1394D3_1
trap kd_e2e_cleanup EXIT

# What the printer must receive, written out here rather than taken from the code under test.
ENTER_REMOTE=1b401b285208000052454d4f544531
CLEANING_STREAM=${ENTER_REMOTE}5353020000051b0000000d0a0c1b40
NOZZLE_CHECK_STREAM=${ENTER_REMOTE}45580600000000001e011b000000
# Page 0's guide list: one button per item, ids from 300 in the order adjustment, cleaning,
# nozzle check.
GUIDE_FIRST_BUTTON=300
GUIDE_ADJUSTMENT_BUTTON=$GUIDE_FIRST_BUTTON
GUIDE_CLEANING_BUTTON=$((GUIDE_FIRST_BUTTON + 1))

# A modal dialog with the controls of Trevalo's template TEMPLATE shows and closes on ANSWER.
detail_dialog() {  # TEMPLATE ok|cancel
  driver dialog "$EXE_PATH" "$1" 20000 "$2" >/dev/null
}
refuses_short_settings() { driver refuse-settings "$KD_SIM_QUEUE" >/dev/null; }

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 Trevalo, kddriver and the simulated printer"
kd_windows_build Trevalo kddriver kbapi_standin kdset32_standin kdsim ||
  fail "the x86_64 build failed"
kd_control_ids trevalo || fail "no control ids"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

log "installation: program folder, registry keys, driver, queue on $PORT, printer"
kd_lay_out_program Trevalo "$FOLDER" Normal
EXE_PATH=$(kd_windows_path "$FOLDER/Trevalo.exe")
kd_sim_printer_install "$WORK" "$PORT" || fail "the simulated printer could not be installed"
# The driver-settings library comes with the driver, as KBAPI.DLL does.
cp "$KD_BUILD/sim/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/" ||
  fail "KDSET32.DLL could not be placed beside the driver"

log "starting Trevalo.exe (launch mode Normal)"
start_program

driver choose "$WINDOW" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" on $PORT is not in page 0's printer list"
sleep 1  # the guide items follow the selection; let the window repaint
screenshot "$SHOT"

log "case: the guide list's cleaning item chooses the printer and opens the cleaning page"
press "$GUIDE_CLEANING_BUTTON"
expect_message "the page opened by the printer choice" information 300
check "the cleaning page shows" control_shows "$IDC_CLEANING_EXECUTE" "$(text 40101)" 10000
screenshot "$CLEANING_SHOT"

log "case: cleaning on a ready printer"
before=$(input_size)
press "$IDC_CLEANING_EXECUTE"
expect_message "cleaning" information 40300
expect_bytes "the cleaning reached the printer as exactly its 30 bytes" \
  "$before" "$CLEANING_STREAM"

log "case: cleaning on a printer of another model"
printer "model=KALDO Model 7000"
before=$(input_size)
press "$IDC_CLEANING_EXECUTE"
expect_message "cleaning, other model" error 310
check "nothing was sent to the other model" test "$(input_size)" -eq "$before"
printer "model=$KD_SIM_MODEL"

log "case: the nozzle check page, Cancel at its question, then OK"
driver choose "$WINDOW" "$IDC_PAGE_SELECTOR" "$(text 50000)" >/dev/null ||
  fail "the nozzle check page is not in the page selector"
press "$IDC_NOZZLE_PAGE_EXECUTE"
expect_message "nozzle check, answered Cancel" question 50300 cancel
sleep 1
check "Cancel sent nothing" test "$(input_size)" -eq "$before"
press "$IDC_NOZZLE_PAGE_EXECUTE"
expect_message "nozzle check, answered OK" question 50300 ok
expect_message "nozzle check" information 50303
expect_bytes "the nozzle check reached the printer as exactly its 29 bytes" \
  "$before" "$NOZZLE_CHECK_STREAM"

log "case: the page's close button goes back to page 0"
press "$IDC_NOZZLE_PAGE_CLOSE"
check "page 0 shows again" control_shows "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" 10000

log "case: the guide list's adjustment item opens the adjustment page with the driver's media"
press "$GUIDE_ADJUSTMENT_BUTTON"
expect_message "the adjustment page opened by the printer choice" information 300
check "the adjustment page shows with roll paper" \
  control_shows "$IDC_PAPER_FEED_LIST" "$(text 10200)" 10000
media=$(driver entries "$WINDOW" "$IDC_MEDIA_LIST") || fail "the media list cannot be read"
log "media list: $(printf '%s' "$media" | tr '\n' '|')"
# Entries are "# CODE NAME (KIND)": the driver's name between the table's code and kind.
plain=$(printf '%s\n' "$media" | grep -m1 -- "^# *[0-9]* Plain Paper" || true)
check "the media list names the driver's \"Plain Paper\"" test -n "$plain"
check "every media entry carries a driver's media name" \
  test "$(printf '%s\n' "$media" | grep -c -- "^# *[0-9]* [A-Z]")" -eq "$(printf '%s\n' "$media" | grep -c .)"
[ -n "$plain" ] || fail "no media to adjust"
driver choose "$WINDOW" "$IDC_MEDIA_LIST" "$plain" >/dev/null || fail "cannot choose \"$plain\""
check "the chosen media shows" control_shows "$IDC_MEDIA_LIST" "$plain" 10000
qualities=$(driver entries "$WINDOW" "$IDC_QUALITY_LIST") || fail "the quality list cannot be read"
log "print qualities: $(printf '%s' "$qualities" | tr '\n' '|')"
first_quality=$(printf '%s\n' "$qualities" | sed -n 1p)
second_quality=$(printf '%s\n' "$qualities" | sed -n 2p)
[ -n "$second_quality" ] || fail "the media offers fewer than two print qualities"
check "the first print quality is chosen" control_shows "$IDC_QUALITY_LIST" "$first_quality" 10000
# A four-ink printer (the simulated one) has no pellan adjustment at its first print quality.
check_equal "pellan Detail at the first print quality" disabled \
  "$(driver enabled "$WINDOW" "$IDC_PELLAN_DETAIL")"
screenshot "$ADJUSTMENT_SHOT"

log "case: paper feed Detail opens its dialog (template $IDD_PAPER_FEED_DETAIL), OK closes it"
press "$IDC_PAPER_FEED_DETAIL"
check "the paper feed detail dialog opened and closed on OK" \
  detail_dialog "$IDD_PAPER_FEED_DETAIL" ok
check "the adjustment page stays" control_shows "$IDC_MEDIA_LIST" "$plain" 10000

log "case: pellan Detail at the second print quality opens its dialog, Cancel closes it"
driver choose "$WINDOW" "$IDC_QUALITY_LIST" "$second_quality" >/dev/null ||
  fail "cannot choose \"$second_quality\""
check "the second print quality is chosen" control_shows "$IDC_QUALITY_LIST" "$second_quality" 10000
check_equal "pellan Detail at the second print quality" enabled \
  "$(driver enabled "$WINDOW" "$IDC_PELLAN_DETAIL")"
press "$IDC_PELLAN_DETAIL"
check "the pellan detail dialog (template $IDD_PELLAN_DETAIL) opened and closed on Cancel" \
  detail_dialog "$IDD_PELLAN_DETAIL" cancel

log "case: a sample page drawn through the programs' print surface reaches the printer"
check "a short device mode block makes no print surface" refuses_short_settings
driver print "$KD_SIM_QUEUE" "Sample 1" "Media=Plain Paper," "Feed +12" >/dev/null ||
  fail "the sample page could not be printed"
check "the printer records the page as a sample job with its title and captions" \
  printer_log_eventually_has \
  'sample job "Sample 1" pages 1 images 2 captions "Media=Plain Paper," "Feed +12"$' 20

log "case: the adjustment page's close button goes back to page 0, then the window closes"
press "$IDC_ADJUSTMENT_CLOSE"
check "page 0 shows again" control_shows "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" 10000
driver close "$WINDOW" 20000 >/dev/null || fail "Trevalo did not close"
for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
check "closing ends Trevalo" program_ended
if ! program_running; then
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
fi
finish "$SHOT"
