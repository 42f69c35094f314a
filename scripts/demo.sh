#!/usr/bin/env bash
# Builds the x86_64 programs and the simulated printer, prepares the Wine prefix
# build/x86_64/wine-demo as a workstation with the suite installed (registry keys, the model's
# printer driver, a queue whose port feeds a ready simulated printer) and opens one program:
# on $DISPLAY when one answers (it stays open until you close it), otherwise under a private
# Xvfb, closed again after the screenshot. The screenshot goes to out/<program>.png.
#   scripts/demo.sh [kestrune|sunnabar|trevalo]
# Kestrune starts in launch mode Normal with the simulated printer already chosen; the others
# in launch mode P (printer checks relaxed). KD_LAUNCH_MODE overrides the mode.
set -euo pipefail
cd "$(dirname "$0")/.."
KD_ROOT=$(pwd)

program=${1:-kestrune}
case $program in
  kestrune) NAME=Kestrune MODE=${KD_LAUNCH_MODE:-Normal} ;;
  sunnabar) NAME=Sunnabar MODE=${KD_LAUNCH_MODE:-P} ;;
  trevalo) NAME=Trevalo MODE=${KD_LAUNCH_MODE:-P} ;;
  *) echo "usage: scripts/demo.sh [kestrune|sunnabar|trevalo]" >&2; exit 2 ;;
esac
log() { printf '== %s\n' "$*"; }

[ -x /usr/lib/wine/wine64 ] || { echo "wine64 is missing: run scripts/test.sh once (it installs it)" >&2; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

log "building $NAME, kddriver and the simulated printer (x86_64)"
kd_windows_build "$NAME" kddriver kbapi_standin kdsim

DEMO=$KD_BUILD/demo
FOLDER=$DEMO/$NAME
kd_lay_out_program "$NAME" "$FOLDER" "$MODE"

PROGRAM_PID=
cleanup() {
  if [ -n "$PROGRAM_PID" ]; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  kd_wine_cleanup
}
trap cleanup EXIT
kd_display_start
log "display $DISPLAY$(kd_display_is_private && echo ' (private Xvfb)' || true)"
log "preparing the Wine prefix $KD_BUILD/wine-demo"
kd_wine_start "$KD_BUILD/wine-demo"
log "installing the printer queue \"$KD_SIM_QUEUE\" and a ready simulated printer"
kd_sim_printer_install "$DEMO"
# Kestrune opens with the queue chosen, as after an earlier session with it.
timeout 60 "$WINELOADER" reg add "HKCU\\SoftWare\\KALDO\\KALDO Maroset\\${KD_SIM_MODEL:6}" \
  /v SelectPrinter /t REG_SZ /d "$KD_SIM_QUEUE" /f </dev/null >/dev/null 2>&1

driver() { timeout 90 "$WINELOADER" "$KD_DRIVER_EXE" "$@" </dev/null | tr -d '\r'; }

log "starting $NAME (launch mode $MODE)"
timeout 3600 "$WINELOADER" "$FOLDER/$NAME.exe" </dev/null >"$DEMO/$NAME.log" 2>&1 &
PROGRAM_PID=$!
if ! driver appear 60000; then
  echo "$NAME showed no window; its output is in $DEMO/$NAME.log" >&2
  exit 1
fi
sleep 1  # let the window paint
mkdir -p "$KD_ROOT/out"
SHOT=$KD_ROOT/out/$program.png
if geometry=$(driver geometry '*'); then
  timeout 30 import -window root -crop "$geometry" +repage "$SHOT"
else
  timeout 30 import -window root "$SHOT"
fi
log "screenshot: $SHOT"
if [ "$program" = kestrune ]; then
  log "printer chosen: $(driver text '*' 1026 || true)"
fi

KDSIM="WINEPREFIX=$WINEPREFIX $WINELOADER $KD_KDSIM_EXE"
cat <<EOF
== the simulated printer (state $KD_SIM_STATE_FILE, raw jobs appended to $KD_SIM_INPUT)
   what it received:  $KDSIM log $KD_SIM_STATE_FILE
   make it busy:      $KDSIM set $KD_SIM_STATE_FILE status=busy
   (ink=80,25,80,80: ink low; "model=KALDO Model 7000": another model; status=ready)
EOF

if kd_display_is_private; then
  driver close '*' 20000 >/dev/null || true
  for _ in $(seq 1 100); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.2; done
else
  log "$NAME is running on $DISPLAY; close it to end the demo"
  wait "$PROGRAM_PID" || true
  PROGRAM_PID=
fi
