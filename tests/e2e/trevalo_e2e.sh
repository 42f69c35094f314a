#!/usr/bin/env bash
# Trevalo end to end under Wine: a fresh prefix under a private Xvfb, Trevalo in launch mode
# Normal beside a registered queue on the port "KD1394D3_1" (the only kind of port Trevalo
# accepts where the platform reports version 6.1, as Wine does), which Wine's spooler maps to the
# simulated printer's input. kddriver.exe chooses the printer on page 0 through the guide list's
# cleaning item and presses the pages' buttons; kdsim changes the printer between the cases.
# Checked: which message box (caption, icon, text) answers each action and which bytes reached
# the printer; on the adjustment page the simulated driver's media and the pellan rule; the paper
# feed detail dialog's value read at opening, its Save verified by the read-back (and refused by
# a printer that ignores writes), the paper size list's grey sizes under the keyboard, and its
# five samples on roll paper (the printer's sample job records, the cut after the last); the pellan detail dialog's Save of a print mode; and that a
# page drawn through the programs' print surface reaches the printer as a sample job (kddriver
# print). Screenshots go to out/: page 0 (trevalo-e2e.png), the cleaning page, the adjustment
# page and the three dialogs (trevalo-paper-feed-detail-e2e.png, trevalo-pellan-detail-e2e.png,
# trevalo-paper-setting-e2e.png; with KD_UPDATE_DOC_IMAGES=1 the dialogs' also to docs/images/
# for the README, as scripts/screenshots.sh asks). Every wait
# is bounded; the trap stops what the script started.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

kd_e2e_suite "trevalo e2e" e2e-trevalo wine-e2e-trevalo
FOLDER=$WORK/Trevalo
SHOT=$KD_ROOT/out/trevalo-e2e.png
CLEANING_SHOT=$KD_ROOT/out/trevalo-cleaning-e2e.png
ADJUSTMENT_SHOT=$KD_ROOT/out/trevalo-adjustment-e2e.png
FEED_SHOT=$KD_ROOT/out/trevalo-paper-feed-detail-e2e.png
PELLAN_SHOT=$KD_ROOT/out/trevalo-pellan-detail-e2e.png
PAPER_SETTING_SHOT=$KD_ROOT/out/trevalo-paper-setting-e2e.png
NAME=Trevalo
# The caption names the page and the printer; Trevalo's window is the only dialog on the screen.
WINDOW="*"
CAPTION_TEXT=0
PORT=KD1394D3_1

# What the printer must receive, written out here rather than taken from the code under test.
ENTER_REMOTE=1b401b285208000052454d4f544531
CLEANING_STREAM=${ENTER_REMOTE}5353020000051b0000000d0a0c1b40
NOZZLE_CHECK_STREAM=${ENTER_REMOTE}45580600000000001e011b000000
# Page 0's guide list: one button per item, ids from 300 in the order adjustment, cleaning,
# nozzle check.
GUIDE_FIRST_BUTTON=300
GUIDE_ADJUSTMENT_BUTTON=$GUIDE_FIRST_BUTTON
GUIDE_CLEANING_BUTTON=$((GUIDE_FIRST_BUTTON + 1))
# The detail dialogs' Close is the system's IDCANCEL; the roll flags are the driver's item 205.
CLOSE_ID=2
ITEM_ROLL_FLAGS=205
# PaperSet.ini's keys "MEDIA,INDEX" of Plain Paper (code 10) on roll paper: index 5 holds the
# paper feed value of the lower print qualities, index 1 the print mode of pellan mode 0.
FEED_KEY=10,05
PELLAN_KEY=10,01

refuses_short_settings() { driver refuse-settings "$KD_SIM_QUEUE" >/dev/null; }
# Ends the printer's run on sheets; fails on any sheet command or sample job out of order.
no_protocol_fault() { kd_kdsim protocol "$KD_SIM_STATE_FILE" | tr -d '\r' >&2; }

# The printer's event log, one event a line.
printer_log() { kd_kdsim log "$KD_SIM_STATE_FILE" | tr -d '\r'; }
# An "EX" value by its selector: printed ("8580") or, with CURRENT and REFERENCE, set.
printer_value() {  # SELECTOR [CURRENT REFERENCE]
  kd_kdsim value "$KD_SIM_STATE_FILE" "$@" | tr -d '\r' || fail "kdsim value $*"
}
value_becomes() {  # SELECTOR VALUE SECONDS
  local deadline=$((SECONDS + $3))
  until [ "$(printer_value "$1")" = "$2" ]; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 1
  done
}
# The value text a dialog shows for a value text the printer answers, as kdtool prints it.
value_text() {  # TEXT KIND
  timeout 60 "$WINELOADER" "$KD_KDTOOL_EXE" value-text "$1" "$2" </dev/null | tr -d '\r'
}
# The spooler hands the documents over after each one ends; the sim parses them at each look.
sample_jobs_reach() {  # LOG_LINES_BEFORE COUNT SECONDS
  local deadline=$((SECONDS + $3))
  while :; do
    [ "$(printer_log | tail -n +"$(($1 + 1))" | grep -c '^sample job ')" -ge "$2" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 2
  done
}
# For each roll flags setting since the log line: 1 when it cuts (bit 3), else 0.
roll_cuts_since() {  # LOG_LINES_BEFORE
  local flags cuts=()
  while read -r flags; do
    # The block's third little-endian word; its first byte holds the flags.
    cuts+=($(((0x${flags:16:2} >> 3) & 1)))
  done < <(printer_log | tail -n +"$(($1 + 1))" | sed -n "s/^driver: set $ITEM_ROLL_FLAGS //p")
  printf '%s\n' "${cuts[*]}"
}
window_with() { driver wait "$1" 2000 >/dev/null; }
modal() { driver dialog "$@" >/dev/null; }  # EXE TEMPLATE MS ok|cancel|none
window_gone() {  # TITLE: gone within about ten seconds
  for _ in $(seq 1 50); do
    driver wait "$1" 0 >/dev/null 2>&1 || return 0
    sleep 0.2
  done
  return 1
}
# Saves the client area of the dialog TITLE as SHOT (Unix path), and as docs/images/NAME when
# the README's pictures are being made.
dialog_screenshot() {  # TITLE SHOT [WINDOWS]
  local geometry colours
  mkdir -p "$(dirname "$2")"
  sleep 1  # let it paint
  kd_wait_x_windows "${3:-2}" 10000 || log "note: other windows still on the screen for $2"
  texts_fit "$1"
  geometry=$(driver geometry "$1") || fail "no window \"$1\" for its screenshot"
  timeout 30 import -window root -crop "$geometry" +repage "$2" || fail "no screenshot"
  colours=$(convert "$2" -format '%k' info:)
  check "screenshot $2 ($geometry, $colours colours)" test "$colours" -gt 16
  if [ "${KD_UPDATE_DOC_IMAGES:-0}" = 1 ]; then
    cp "$2" "$KD_ROOT/docs/images/$(basename "$2" | sed 's/-e2e//')"
  fi
}

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
log "building the x86_64 Trevalo, kddriver and the simulated printer"
kd_windows_build Trevalo kddriver kbapi_standin kdset32_standin kdsim kdtool ||
  fail "the x86_64 build failed"
kd_control_ids trevalo || fail "no control ids"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

log "installation: program folder, registry keys, driver, queue on $PORT, printer"
kd_lay_out_program Trevalo "$FOLDER" Normal
EXE_PATH=$(kd_windows_path "$FOLDER/Trevalo.exe")
FEED_TITLE=$(text 20400)
PELLAN_TITLE=$(text 30400)
PAPER_SETTING_TITLE=$(text 70400)
FEED_CAPTION=$(text 120000)
selector() { grep -a -m1 "^$1=" "$FOLDER/Settings/PaperSet.ini" | tr -d '\r' | cut -d= -f2; }
FEED_SELECTOR=$(selector "$FEED_KEY")
PELLAN_SELECTOR=$(selector "$PELLAN_KEY")
[ ${#FEED_SELECTOR} = 26 ] && [ ${#PELLAN_SELECTOR} = 26 ] || fail "no selectors in PaperSet.ini"
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
about_fits "$IDM_ABOUT"

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

log "case: paper feed Detail reads the printer's value at opening"
printer_value "$FEED_SELECTOR" 7D 80
press "$IDC_PAPER_FEED_DETAIL"
driver wait "$FEED_TITLE" 20000 >/dev/null || fail "paper feed Detail opened no \"$FEED_TITLE\""
check "the paper feed detail dialog has its template's controls" \
  modal "$EXE_PATH" "$IDD_PAPER_FEED_DETAIL" 5000 none
check_equal "the printer's value as shown (printer 7D80)" "$(value_text 7D80 0)" \
  "$(driver text "$FEED_TITLE" "$IDC_FEED_PRINTER_VALUE")"
dialog_screenshot "$FEED_TITLE" "$FEED_SHOT"

log "case: paper feed Save, confirmed: written, read back, verified"
typed=$(driver set-text "$FEED_TITLE" "$IDC_FEED_SAVE_EDIT" "5")
check_equal "the value to save" 5 "$typed"
check_equal "Save with a value" enabled "$(driver enabled "$FEED_TITLE" "$IDC_FEED_SAVE")"
driver click "$FEED_TITLE" "$IDC_FEED_SAVE" >/dev/null || fail "no Save in \"$FEED_TITLE\""
expect_message "paper feed Save, answered OK" question 20302 ok
expect_message "paper feed Save" information 20300 ok 30000
check_equal "the printer holds the saved value over its reference" 8580 \
  "$(printer_value "$FEED_SELECTOR")"
check_equal "the dialog shows the value read back" "$(value_text 8580 0)" \
  "$(driver text "$FEED_TITLE" "$IDC_FEED_PRINTER_VALUE")"

log "case: paper feed Save on a printer that ignores writes"
printer "faults=refuses_writes"
driver set-text "$FEED_TITLE" "$IDC_FEED_SAVE_EDIT" "-7" >/dev/null
driver click "$FEED_TITLE" "$IDC_FEED_SAVE" >/dev/null || fail "no Save in \"$FEED_TITLE\""
expect_message "paper feed Save, answered OK" question 20302 ok
expect_message "paper feed Save, not verified" warning 20305 ok 30000
printer "faults="
check_equal "the printer's value stays" 8580 "$(printer_value "$FEED_SELECTOR")"

log "case: paper feed Sample Print on roll paper: paper setting, confirmation, five jobs"
log_lines=$(printer_log | wc -l)
driver click "$FEED_TITLE" "$IDC_FEED_SAMPLE_PRINT" >/dev/null || fail "no Sample Print"
driver wait "$PAPER_SETTING_TITLE" 20000 >/dev/null || fail "no \"$PAPER_SETTING_TITLE\" dialog"
dialog_screenshot "$PAPER_SETTING_TITLE" "$PAPER_SETTING_SHOT" 3
# Plain Paper takes A4 and A1 only: the arrow keys in the open list pass the grey A3 and A2 on
# their way to A1 and back.
sizes=$(driver entries "$PAPER_SETTING_TITLE" "$IDC_PAPER_SIZE_LIST") || fail "no paper size list"
check_equal "the paper size list starts on A4" "$(sed -n 1p <<<"$sizes")" \
  "$(driver text "$PAPER_SETTING_TITLE" "$IDC_PAPER_SIZE_LIST")"
keys=$(driver keys "$PAPER_SETTING_TITLE" "$IDC_PAPER_SIZE_LIST" f4 down down down enter) ||
  fail "no keys to the paper size list"
check_equal "the keys in the open list reach A1 below the grey sizes" \
  "$(printf '%s\n' "f4: $(sed -n 1p <<<"$sizes")" "down: $(sed -n 2p <<<"$sizes")" \
    "down: $(sed -n 3p <<<"$sizes")" "down: $(sed -n 4p <<<"$sizes")" \
    "enter: $(sed -n 4p <<<"$sizes")")" "$keys"
keys=$(driver keys "$PAPER_SETTING_TITLE" "$IDC_PAPER_SIZE_LIST" down f4 up up up enter) ||
  fail "no keys to the paper size list"
check_equal "a key in the closed list confirms at once and a grey size gives way; back to A4" \
  "$(printf '%s\n' "down: $(sed -n 4p <<<"$sizes")" "f4: $(sed -n 4p <<<"$sizes")" \
    "up: $(sed -n 3p <<<"$sizes")" "up: $(sed -n 2p <<<"$sizes")" \
    "up: $(sed -n 1p <<<"$sizes")" "enter: $(sed -n 1p <<<"$sizes")")" "$keys"
check "the paper setting dialog (template $IDD_PAPER_SETTING) closes on OK" \
  modal "$EXE_PATH" "$IDD_PAPER_SETTING" 20000 ok
box=$(driver message 20000 ok) || fail "no confirmation of the sample print"
check "the confirmation asks to print the samples" grep -qx "text: $(text 20313)" <<<"$box"
check "the confirmation counts five samples" grep -q "^$(text 20316) *5$" <<<"$box"
check "the busy dialog (template $IDD_BUSY) shows while the samples print" \
  modal "$EXE_PATH" "$IDD_BUSY" 20000 none
check "the printer records five sample jobs" sample_jobs_reach "$log_lines" 5 90
jobs=$(printer_log | tail -n +"$((log_lines + 1))" | grep '^sample job ' || true)
for value in -25 -13 0 13 25; do
  check "a sample captioned \"$FEED_CAPTION=$value\"" \
    grep -q "captions .*\"$FEED_CAPTION=$value\"" <<<"$jobs"
done
check "every sample names the media" \
  test "$(grep -cF "\"$(text 20007)=$plain,\"" <<<"$jobs" || true)" -eq 5
check_equal "the roll is cut after the last sample only" "0 0 0 0 1" \
  "$(roll_cuts_since "$log_lines")"
check "the dialog stays after the run" window_with "$FEED_TITLE"
driver click "$FEED_TITLE" "$CLOSE_ID" >/dev/null || fail "no Close in \"$FEED_TITLE\""
check "Close ends the paper feed detail dialog" window_gone "$FEED_TITLE"
check "the adjustment page stays" control_shows "$IDC_MEDIA_LIST" "$plain" 10000

log "case: pellan Detail at the second print quality: Save verified"
driver choose "$WINDOW" "$IDC_QUALITY_LIST" "$second_quality" >/dev/null ||
  fail "cannot choose \"$second_quality\""
check "the second print quality is chosen" control_shows "$IDC_QUALITY_LIST" "$second_quality" 10000
check_equal "pellan Detail at the second print quality" enabled \
  "$(driver enabled "$WINDOW" "$IDC_PELLAN_DETAIL")"
# The printer holds print mode C (code 20); the dialog reads it at opening.
printer_value "$PELLAN_SELECTOR" 20 80
press "$IDC_PELLAN_DETAIL"
driver wait "$PELLAN_TITLE" 20000 >/dev/null || fail "pellan Detail opened no \"$PELLAN_TITLE\""
check "the pellan detail dialog has its template's controls" \
  modal "$EXE_PATH" "$IDD_PELLAN_DETAIL" 5000 none
modes=$(driver entries "$PELLAN_TITLE" "$IDC_PELLAN_MODE_LIST") || fail "no print mode list"
log "print modes: $(printf '%s' "$modes" | tr '\n' '|')"
check_equal "the printer's print mode (code 20) as shown" "$(sed -n 3p <<<"$modes")" \
  "$(driver text "$PELLAN_TITLE" "$IDC_PELLAN_CURRENT_MODE")"
dialog_screenshot "$PELLAN_TITLE" "$PELLAN_SHOT"
mode_b=$(sed -n 2p <<<"$modes")
driver choose "$PELLAN_TITLE" "$IDC_PELLAN_MODE_LIST" "$mode_b" >/dev/null ||
  fail "cannot choose \"$mode_b\""
driver click "$PELLAN_TITLE" "$IDC_PELLAN_SAVE" >/dev/null || fail "no Save in \"$PELLAN_TITLE\""
expect_message "pellan Save, answered OK" question 20302 ok
expect_message "pellan Save" information 20300 ok 30000
check_equal "the printer holds print mode B (code 10)" 1080 "$(printer_value "$PELLAN_SELECTOR")"
check_equal "the dialog shows the saved print mode" "$mode_b" \
  "$(driver text "$PELLAN_TITLE" "$IDC_PELLAN_CURRENT_MODE")"

# The pellan sample print of one print mode, its values restored afterwards. Wine's spooler
# cannot list jobs, so the run's waits on the job end as unwatched after 5 s each.
pellan_sample_print() {
  local lines jobs box
  log "case: pellan Sample Print of print mode A alone, the saved value restored afterwards"
  driver click "$PELLAN_TITLE" "$IDC_PELLAN_SAMPLE_SECOND" >/dev/null
  driver click "$PELLAN_TITLE" "$IDC_PELLAN_SAMPLE_THIRD" >/dev/null
  sleep 0.5
  lines=$(printer_log | wc -l)
  driver click "$PELLAN_TITLE" "$IDC_PELLAN_SAMPLE_PRINT" >/dev/null || fail "no Sample Print"
  check "the paper setting dialog closes on OK" \
    modal "$EXE_PATH" "$IDD_PAPER_SETTING" 20000 ok
  box=$(driver message 20000 ok) || fail "no confirmation of the pellan sample print"
  check "the confirmation counts one sample" grep -q "^$(text 20316) *1$" <<<"$box"
  check "the printer records one sample job" sample_jobs_reach "$lines" 1 90
  jobs=$(printer_log | tail -n +"$((lines + 1))" | grep '^sample job ' || true)
  check "the sample is captioned with print mode A" \
    grep -q "captions .*\"$(text 120001)=$(sed -n 1p <<<"$modes")\"" <<<"$jobs"
  check "the run ends with the saved print mode restored" value_becomes "$PELLAN_SELECTOR" 1080 60
}
pellan_sample_print
check "the pellan dialog stays" window_with "$PELLAN_TITLE"
driver click "$PELLAN_TITLE" "$CLOSE_ID" >/dev/null || fail "no Close in \"$PELLAN_TITLE\""
check "Close ends the pellan detail dialog" window_gone "$PELLAN_TITLE"
check "the adjustment page stays" control_shows "$IDC_QUALITY_LIST" "$second_quality" 10000

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
check "the printer was told no sample sheet command out of order" no_protocol_fault
if ! program_running; then
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
fi
finish "$SHOT"
