#!/usr/bin/env bash
# Builds the x86_64 programs and the simulated printer, prepares the Wine prefix
# build/x86_64/wine-demo as a workstation with the suite installed (registry keys, the model's
# printer driver, a queue whose port feeds a ready simulated printer) and opens one program:
# on $DISPLAY when one answers (it stays open until you close it), otherwise under a private
# Xvfb, closed again after the screenshot. The screenshot goes to out/<program>.png.
#   scripts/demo.sh [kestrune|sunnabar|trevalo] [en|ja]   (or KD_LANGUAGE=ja)
# In Japanese (ja) the program reads the Japanese texts of install/ja in a prefix of its own,
# build/x86_64/wine-demo-ja, whose every Wine call runs under ja_JP.UTF-8 (code page 932), and
# the screenshots are named <program>-ja.png and so on.
# Every program starts in launch mode Normal: Kestrune and Trevalo with the simulated printer
# chosen. Trevalo's queue has the port KD1394D3_1, the only kind its port rule accepts where the
# system reports version 6.1 (Wine does), mapped by Wine to the simulated printer's input.
# KD_LAUNCH_MODE overrides the mode.
# Sunnabar also gets a sample firmware file, newer than the printer's firmware, in the folder
# its Browse dialog opens in; under Xvfb the demo picks that file before the screenshot.
# Trevalo opens its About box from the system menu (screenshot out/trevalo-about.png) and, under
# Xvfb, is asked to close once and answered Cancel, which shows its confirmation text. Then its
# guide list opens the adjustment page with the simulated driver's media (screenshot
# out/trevalo-adjustment.png); under Xvfb both Detail buttons open their dialogs.
set -euo pipefail
cd "$(dirname "$0")/.."
KD_ROOT=$(pwd)

program=${1:-kestrune}
LANGUAGE=${2:-${KD_LANGUAGE:-en}}
case $LANGUAGE in
  en) SUFFIX= ;;
  ja) SUFFIX=-ja ;;
  *) echo "usage: scripts/demo.sh [kestrune|sunnabar|trevalo] [en|ja]" >&2; exit 2 ;;
esac
case $program in
  kestrune) NAME=Kestrune MODE=${KD_LAUNCH_MODE:-Normal} ;;
  sunnabar) NAME=Sunnabar MODE=${KD_LAUNCH_MODE:-Normal} ;;
  trevalo) NAME=Trevalo MODE=${KD_LAUNCH_MODE:-Normal} PORT=KD1394D3_1 ;;
  *) echo "usage: scripts/demo.sh [kestrune|sunnabar|trevalo] [en|ja]" >&2; exit 2 ;;
esac
PORT=${PORT:-}
GUIDE_ADJUSTMENT_BUTTON=300  # Trevalo's guide list: one button per item from 300
log() { printf '== %s\n' "$*"; }

# What the demo needs and the machine lacks (the same step as scripts/test.sh).
scripts/install-deps.sh demo

# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

log "building $NAME, kddriver, kdtool and the simulated printer (x86_64)"
kd_windows_build "$NAME" kddriver kdtool kbapi_standin kdsim kdset32_standin
kd_control_ids "$program"

DEMO=$KD_BUILD/demo$SUFFIX
FOLDER=$DEMO/$NAME
kd_lay_out_program "$NAME" "$FOLDER" "$MODE" "$LANGUAGE"
kd_wine_language "$LANGUAGE"

PROGRAM_PID=
cleanup() {
  if [ -n "$PROGRAM_PID" ]; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  kd_wine_cleanup
}
trap cleanup EXIT
kd_display_start
log "display $DISPLAY$(kd_display_is_private && echo ' (private Xvfb)' || true)"
log "preparing the Wine prefix $KD_BUILD/wine-demo$SUFFIX"
kd_wine_start "$KD_BUILD/wine-demo$SUFFIX"
if [ "$LANGUAGE" = ja ]; then kd_wine_fonts; fi
log "installing the printer queue \"$KD_SIM_QUEUE\" and a ready simulated printer"
kd_sim_printer_install "$DEMO" "$PORT"
MODEL_KEY="HKCU\\SoftWare\\KALDO\\KALDO Maroset\\${KD_SIM_MODEL:6}"
# Kestrune and Trevalo open with the queue chosen, as after an earlier session with it.
timeout 60 "$WINELOADER" reg add "$MODEL_KEY" /v SelectPrinter /t REG_SZ /d "$KD_SIM_QUEUE" /f \
  </dev/null >/dev/null 2>&1
if [ "$program" = trevalo ]; then
  # Trevalo's adjustment page reads the driver's media through the driver-settings library,
  # which comes with the driver.
  cp "$KD_BUILD/sim/KDSET32.DLL" "$KD_SIM_LIBRARY_DIR/"
  # A printer holds a print mode for every pellan setting; a value never written reads 80,
  # which names none, and the pellan dialog would refuse it (text 30300). Print mode A (code 00)
  # at every print mode index of PaperSet.ini (1, 2 and 4 of each paper feed's seven).
  pellan_values=$(tr -d '\r' <"$FOLDER/Settings/PaperSet.ini" |
    awk -F'[,=]' 'NF == 3 && $2 ~ /^[0-9]+$/ && ($2 % 7 == 1 || $2 % 7 == 2 || $2 % 7 == 4) {
      print "value.0000001F." $3 "=0080" }')
  # shellcheck disable=SC2086  # one KEY=VALUE a word
  kd_kdsim set "$KD_SIM_STATE_FILE" $pellan_values >/dev/null
fi

# Sunnabar: a printer that restarts 5 s after it took a firmware file (the program itself waits
# a fixed 70 s), a newer sample file, and the sample's folder remembered as the one Browse opens.
PRINTER_FIRMWARE=SN120315
SAMPLE_FIRMWARE=SN120415
FIRMWARE_DIR=$DEMO/firmware
SAMPLE_FILE=$FIRMWARE_DIR/KD9000.UPG
if [ "$program" = sunnabar ]; then
  log "sample firmware file $SAMPLE_FILE ($SAMPLE_FIRMWARE; the printer has $PRINTER_FIRMWARE)"
  kd_kdsim set "$KD_SIM_STATE_FILE" "firmware=$PRINTER_FIRMWARE" firmware_busy_ms=5000 >/dev/null
  rm -rf "$FIRMWARE_DIR"
  kd_make_firmware "$SAMPLE_FIRMWARE" "$SAMPLE_FILE"
  timeout 60 "$WINELOADER" reg add "$MODEL_KEY\\Sunnabar" /v FwPath /t REG_SZ \
    /d "$(kd_windows_path "$FIRMWARE_DIR")" /f </dev/null >/dev/null 2>&1
fi

driver() { timeout 90 "$WINELOADER" "$KD_DRIVER_EXE" "$@" </dev/null | tr -d '\r'; }
# kddriver prints in the program's code page but takes its arguments, as Wine hands them over,
# in the Unix locale's UTF-8; the log is read in UTF-8 too.
utf8() { if [ "$LANGUAGE" = ja ]; then iconv -f CP932 -t UTF-8; else cat; fi; }
text() {  # text N: the program's text N, as it reads it
  grep -a -m1 "^$(printf '%08d' "$1")=" "$FOLDER/Settings/Localize.ini" | tr -d '\r' | cut -d= -f2-
}
screenshot() {  # screenshot FILE: the topmost of the program's windows
  local geometry
  mkdir -p "$(dirname "$1")"
  if geometry=$(driver geometry '*'); then
    timeout 30 import -window root -crop "$geometry" +repage "$1"
  else
    timeout 30 import -window root "$1"
  fi
}
control_shows() {  # control_shows ID TEXT: polls the main window's control for about 10 s
  for _ in $(seq 1 50); do
    [ "$(driver text '*' "$1")" = "$2" ] && return 0
    sleep 0.2
  done
  return 1
}

log "starting $NAME (launch mode $MODE)"
timeout 3600 "$WINELOADER" "$FOLDER/$NAME.exe" </dev/null >"$DEMO/$NAME.log" 2>&1 &
PROGRAM_PID=$!
if ! driver appear 60000 | utf8; then
  echo "$NAME showed no window; its output is in $DEMO/$NAME.log" >&2
  exit 1
fi
if [ "$program" = sunnabar ] && [ "$MODE" = Normal ]; then
  # Sunnabar does not remember its printer: choose it as the operator would.
  driver choose '*' "$IDC_PRINTER_LIST" "$KD_SIM_QUEUE" >/dev/null
  control_shows "$IDC_PRINTER_VERSION" "$PRINTER_FIRMWARE" || echo "the page shows no printer version" >&2
  if kd_display_is_private; then
    # Browse opens in the sample's folder, so its bare name is enough.
    driver click '*' "$IDC_BROWSE" >/dev/null
    if driver open-file '*' "$(basename "$SAMPLE_FILE")" 30000 >/dev/null; then
      control_shows "$IDC_FILE_VERSION" "$SAMPLE_FIRMWARE" || echo "the page did not take the sample file" >&2
    else
      echo "the file-open dialog could not be filled" >&2
    fi
  fi
fi
if [ "$program" != trevalo ]; then
  log "printer chosen: $(driver text '*' "$IDC_PRINTER_LIST" || true)"
fi
sleep 1  # let the window paint
if kd_display_is_private; then kd_wait_x_windows 1 10000 || true; fi
SHOT=$KD_ROOT/out/$program$SUFFIX.png
screenshot "$SHOT"
log "screenshot: $SHOT"

if [ "$program" = trevalo ]; then
  # About, from the system menu, with Trevalo's own texts.
  driver syscommand '*' "$IDM_ABOUT" >/dev/null
  about=
  for _ in $(seq 1 50); do
    about=$(driver text '*' "$IDC_ABOUT_VERSION" 2>/dev/null || true)
    [ -n "$about" ] && break
    sleep 0.2
  done
  log "About: \"$(driver text '*' "$IDC_ABOUT_TITLE" | utf8 || true)\", \"$(utf8 <<<"$about")\""
  case $about in
    "$(text 80001) "*) ;;
    *) echo "the About box does not show Trevalo's version label" >&2 ;;
  esac
  sleep 1
  ABOUT_SHOT=$KD_ROOT/out/trevalo-about$SUFFIX.png
  screenshot "$ABOUT_SHOT"
  log "screenshot: $ABOUT_SHOT"
  driver release '*' >/dev/null  # the About box closes on a click anywhere in it
  if kd_display_is_private; then
    # Closing asks first; Cancel keeps the window.
    driver syscommand '*' 0xF060 >/dev/null  # the system menu's Close
    if box=$(driver message 20000 cancel); then
      asked=$(printf '%s\n' "$box" | sed -n 's/^text: //p')
      if [ "$asked" = "$(text 302)" ]; then
        log "closing asks: \"$(utf8 <<<"$asked")\" (text 302)"
      else
        echo "closing asked \"$asked\", not text 302" >&2
      fi
    else
      echo "closing asked nothing" >&2
    fi
  fi

  # The adjustment page through the guide list's first item, which also chooses the printer
  # (text 300): the simulated driver's media for roll paper.
  driver click '*' "$GUIDE_ADJUSTMENT_BUTTON" >/dev/null
  driver message 20000 ok >/dev/null || echo "the adjustment page said nothing about the printer" >&2
  if control_shows "$IDC_PAPER_FEED_LIST" "$(text 10200)"; then
    log "media for roll paper: $(driver entries '*' "$IDC_MEDIA_LIST" | utf8 | tr '\n' '|')"
    sleep 1
    ADJUSTMENT_SHOT=$KD_ROOT/out/trevalo-adjustment$SUFFIX.png
    screenshot "$ADJUSTMENT_SHOT"
    log "screenshot: $ADJUSTMENT_SHOT"
    if kd_display_is_private; then
      # Both Detail buttons open their dialogs; the pellan one from the second print quality.
      EXE=$(kd_windows_path "$FOLDER/$NAME.exe")
      driver click '*' "$IDC_PAPER_FEED_DETAIL" >/dev/null
      # It reads the printer's value first; its Close is the Cancel button.
      if driver dialog "$EXE" "$IDD_PAPER_FEED_DETAIL" 20000 cancel >/dev/null; then
        log "paper feed Detail opened its dialog"
      else
        echo "paper feed Detail opened nothing" >&2
      fi
      second=$(driver entries '*' "$IDC_QUALITY_LIST" | sed -n 2p)
      if [ -n "$second" ] &&
        driver choose '*' "$IDC_QUALITY_LIST" "$(utf8 <<<"$second")" >/dev/null &&
        control_shows "$IDC_QUALITY_LIST" "$second"; then
        driver click '*' "$IDC_PELLAN_DETAIL" >/dev/null
        if driver dialog "$EXE" "$IDD_PELLAN_DETAIL" 20000 cancel >/dev/null; then
          log "pellan Detail opened its dialog"
        else
          echo "pellan Detail opened nothing" >&2
        fi
      fi
    fi
  else
    echo "the adjustment page did not show" >&2
  fi
fi

WINE="WINEPREFIX=$WINEPREFIX $WINELOADER"
KDSIM="$WINE $KD_KDSIM_EXE"
cat <<EOF
== the simulated printer (state $KD_SIM_STATE_FILE, raw jobs appended to $KD_SIM_INPUT)
   what it received:  $KDSIM log $KD_SIM_STATE_FILE
   make it busy:      $KDSIM set $KD_SIM_STATE_FILE status=busy
   (ink=80,25,80,80: ink low; "model=KALDO Model 7000": another model; status=ready)
EOF
if [ "$program" = sunnabar ]; then
  cat <<EOF
== firmware update
   printer's version: $(driver text '*' "$IDC_PRINTER_VERSION" || true)
   sample file:       $SAMPLE_FILE, version $SAMPLE_FIRMWARE
   Browse opens in its folder $(kd_windows_path "$FIRMWARE_DIR"):
                      FwPath under $MODEL_KEY\\Sunnabar (without it, C:\\)
   Browse, pick KD9000.UPG, press Update: after the program's fixed 70 s wait it reports
   "$(text 309)" and shows $SAMPLE_FIRMWARE as the printer's version.
   the printer's own: $KDSIM show $KD_SIM_STATE_FILE | grep ^firmware=
   another file:      $WINE $KD_KDTOOL_EXE make-upg --version SN130000 --image-size 4096 'Z:\\tmp\\NEW.UPG'
EOF
fi

if kd_display_is_private; then
  driver close '*' 20000 >/dev/null || true
  for _ in $(seq 1 100); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.2; done
else
  log "$NAME is running on $DISPLAY; close it to end the demo"
  wait "$PROGRAM_PID" || true
  PROGRAM_PID=
fi
