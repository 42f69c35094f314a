#!/usr/bin/env bash
# The three programs in Japanese under Wine: a fresh prefix whose every Wine call runs under
# ja_JP.UTF-8 (code page 932), "MS UI Gothic" replaced by VL PGothic, each program laid out
# with the Japanese texts of install/ja in a folder whose name holds 表 and ソ, beside a queue
# that feeds the simulated printer.
# Kestrune runs a nozzle check, Sunnabar reads the printer's version, Trevalo chooses the
# printer through page 0, opens the adjustment page and prints paper feed samples whose
# captions reach the printer's record (which reads the glyph names as Unicode and writes UTF-8)
# as the Japanese texts. Every message box is read back through kddriver, in code page 932, and
# compared byte for byte with the settings files; every window's texts are measured against
# their rooms. Screenshots go to out/<program>-ja-e2e.png. Every wait is bounded.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

kd_e2e_suite "japanese e2e" e2e-ja wine-e2e-ja
PORT=KD1394D3_1  # Trevalo's port rule, as in its own suite
GUIDE_ADJUSTMENT_BUTTON=300
PRINTER_FIRMWARE=SN120315
# A queue whose name the programs hold in code page 932 (as kddriver prints it), stored in the
# registry when Trevalo remembers it and shown in Trevalo's caption.
KD_SIM_QUEUE="KALDO 9000 表示ソ"
QUEUE_932=$(printf '%s' "$KD_SIM_QUEUE" | iconv -f UTF-8 -t CP932)

# kddriver prints in the system's code page, but Wine hands it its arguments from the Unix
# locale's UTF-8, as the printer's record writes captions: code page 932 text as UTF-8.
utf8() { iconv -f CP932 -t UTF-8; }
printer_log() { kd_kdsim log "$KD_SIM_STATE_FILE" | tr -d '\r'; }
sample_jobs_reach() {  # LOG_LINES_BEFORE COUNT SECONDS
  local deadline=$((SECONDS + $3))
  while :; do
    [ "$(printer_log | tail -n +"$(($1 + 1))" | grep -c '^sample job ')" -ge "$2" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 2
  done
}
lay_out() {  # NAME: the program in Japanese, its ids, its folder and a fresh start
  NAME=$1
  # 表 and ソ end in the byte of "\" in code page 932: the program must still find its folder.
  FOLDER=$WORK/表示ソフト/$NAME
  kd_control_ids "${NAME,,}" || fail "no control ids for $NAME"
  kd_lay_out_program "$NAME" "$FOLDER" Normal ja
  log "starting $NAME in Japanese"
  start_program
}

# VL PGothic, Wine's stand-in for the Japanese dialog font, takes 18 pixels a line at 9 points
# (the system's own font about 12), more than several fixed rooms of 13 to 16 pixels hold:
# those are reported, a text too wide for its room fails.
export KD_TEXTS_FIT=${KD_TEXTS_FIT:-width}

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
command -v iconv >/dev/null || fail "iconv is not installed"
log "building the x86_64 programs, kddriver and the simulated printer"
kd_windows_build Kestrune Sunnabar Trevalo kddriver kbapi_standin kdset32_standin kdsim ||
  fail "the x86_64 build failed"

kd_wine_language ja || fail "no Japanese locale (scripts/install-deps.sh)"
KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
log "fresh Japanese prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"
kd_wine_fonts || fail "the font replacement could not be set"
acp=$(timeout 60 "$WINELOADER" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' \
  /v ACP </dev/null 2>/dev/null | tr -d '\r' | sed -n 's/^ *ACP *REG_SZ *//p')
check_equal "the prefix's code page" 932 "$acp"

log "installation: registry keys, driver, queue on $PORT, printer"
kd_sim_printer_install "$WORK" "$PORT" || fail "the simulated printer could not be installed"
cp "$KD_BUILD/sim/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/" ||
  fail "KDSET32.DLL could not be placed beside the driver"
kd_kdsim set "$KD_SIM_STATE_FILE" "firmware=$PRINTER_FIRMWARE" >/dev/null || fail "kdsim set"

lay_out Kestrune
driver choose "$NAME" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
sleep 1
screenshot "$KD_ROOT/out/kestrune-ja-e2e.png"
check_equal "the nozzle check button's group shows text 100" "$(text 100)" \
  "$(driver text "$NAME" "$IDC_NOZZLE_CHECK_GROUP")"
press "$IDC_NOZZLE_CHECK"
expect_message "nozzle check" information 308
check "the printer printed its nozzle check pattern" printer_log_has "nozzle-check printed"
close_with_ok "$IDC_CLOSE_BUTTON"

lay_out Sunnabar
driver choose "$NAME" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in the printer list"
check "the page shows the printer's version" \
  control_shows "$IDC_PRINTER_VERSION" "$PRINTER_FIRMWARE" 20000
screenshot "$KD_ROOT/out/sunnabar-ja-e2e.png"
close_with_ok "$IDC_CLOSE_BUTTON"

WINDOW="*"
CAPTION_TEXT=0
lay_out Trevalo
driver choose "$WINDOW" "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null ||
  fail "the queue \"$KD_SIM_QUEUE\" is not in page 0's printer list"
sleep 1
screenshot "$KD_ROOT/out/trevalo-ja-e2e.png"
press "$GUIDE_ADJUSTMENT_BUTTON"
expect_message "the adjustment page opened by the printer choice" information 300
check "the adjustment page shows with roll paper" \
  control_shows "$IDC_PAPER_FEED_LIST" "$(text 10200)" 10000
check "the caption names the Japanese queue" \
  env LC_ALL=C grep -qF "$QUEUE_932" <<<"$(driver controls "$WINDOW" | head -n 1)"
plain=$(driver entries "$WINDOW" "$IDC_MEDIA_LIST" | grep -m1 -a -- "^# *[0-9]* Plain Paper" ||
  true)
[ -n "$plain" ] || fail "no Plain Paper in the media list"
driver choose "$WINDOW" "$IDC_MEDIA_LIST" "$(printf '%s' "$plain" | utf8)" >/dev/null ||
  fail "cannot choose \"$plain\""
check "the chosen media shows" control_shows "$IDC_MEDIA_LIST" "$plain" 10000
screenshot "$KD_ROOT/out/trevalo-adjustment-ja-e2e.png"

FEED_TITLE=$(text 20400 | utf8)
PAPER_SETTING_TITLE=$(text 70400 | utf8)
EXE_PATH=$(kd_windows_path "$FOLDER/Trevalo.exe")
press "$IDC_PAPER_FEED_DETAIL"
driver wait "$FEED_TITLE" 20000 >/dev/null || fail "paper feed Detail opened no window"
texts_fit "$FEED_TITLE"
log_lines=$(printer_log | wc -l)
driver click "$FEED_TITLE" "$IDC_FEED_SAMPLE_PRINT" >/dev/null || fail "no Sample Print"
driver wait "$PAPER_SETTING_TITLE" 20000 >/dev/null || fail "no paper setting dialog"
texts_fit "$PAPER_SETTING_TITLE"
driver dialog "$EXE_PATH" "$IDD_PAPER_SETTING" 20000 ok >/dev/null ||
  fail "the paper setting dialog did not close on OK"
box=$(driver message 20000 ok) || fail "no confirmation of the sample print"
check "the confirmation asks in Japanese" grep -qxF "text: $(text 20313)" <<<"$box"
check "the printer records five sample jobs" sample_jobs_reach "$log_lines" 5 90
jobs=$(printer_log | tail -n +"$((log_lines + 1))" | grep '^sample job ' || true)
feed_caption=$(text 120000 | utf8)
for value in -25 -13 0 13 25; do
  check "a sample captioned \"$feed_caption=$value\"" \
    grep -qF "\"$feed_caption=$value\"" <<<"$jobs"
done
media_caption="$(text 20007 | utf8)=$(printf '%s' "$plain" | utf8),"
check "every sample names the media in Japanese" \
  test "$(grep -cF "\"$media_caption\"" <<<"$jobs" || true)" -eq 5
check_equal "a Japanese character typed into a range edit is dropped whole" "-12" \
  "$(driver set-text "$FEED_TITLE" "$IDC_FEED_LOW_EDIT" "-表1ソ2" | tr -d '\r')"
driver click "$FEED_TITLE" 2 >/dev/null || fail "no Close in the paper feed detail dialog"
check "the adjustment page stays" control_shows "$IDC_MEDIA_LIST" "$plain" 10000
press "$IDC_ADJUSTMENT_CLOSE"
check "page 0 shows again" control_shows "$IDC_PRINTER_LIST" "$QUEUE_932" 10000
driver close "$WINDOW" 20000 >/dev/null || fail "Trevalo did not close"
for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
check "closing ends Trevalo" program_ended
if ! program_running; then
  wait "$PROGRAM_PID" 2>/dev/null || true
  PROGRAM_PID=
fi
finish "$KD_ROOT/out/trevalo-ja-e2e.png"
