#!/usr/bin/env bash
# Builds the x86_64 programs, lays out a program folder with its Settings and opens one program
# under wine64: on $DISPLAY when one answers (it stays open until you close it), otherwise under
# a private Xvfb, closed again after the screenshot. The screenshot goes to out/<program>.png.
#   scripts/demo.sh [kestrune|sunnabar|trevalo]
# KD_LAUNCH_MODE sets the launch mode of the demo folder (default P: the printer checks are
# relaxed, so the window stays open on a machine without a registered printer queue).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)

program=${1:-kestrune}
case $program in
  kestrune) NAME=Kestrune ;;
  sunnabar) NAME=Sunnabar ;;
  trevalo) NAME=Trevalo ;;
  *) echo "usage: scripts/demo.sh [kestrune|sunnabar|trevalo]" >&2; exit 2 ;;
esac
BUILD=$ROOT/build/x86_64
JOBS=${JOBS:-2}
log() { printf '== %s\n' "$*"; }

[ -x /usr/lib/wine/wine64 ] || { echo "wine64 is missing: run scripts/test.sh once (it installs it)" >&2; exit 1; }

log "building $NAME (x86_64)"
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKD_WERROR=ON -DKD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target "$NAME" kddriver >/dev/null

# The program folder as an installation has it: the program and its Settings beside it.
FOLDER=$BUILD/demo/$NAME
rm -rf "$FOLDER"
mkdir -p "$FOLDER"
cp "$BUILD/bin/$NAME/$NAME.exe" "$FOLDER/"
cp -r "$BUILD/bin/$NAME/Settings" "$FOLDER/"
printf '[Launch]\r\nOpe=%s\r\n' "${KD_LAUNCH_MODE:-P}" >"$FOLDER/Settings/Setting_Launch.ini"

# shellcheck source=scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
trap kd_wine_cleanup EXIT
kd_display_start
log "display $DISPLAY$(kd_display_is_private && echo ' (private Xvfb)' || true)"
log "preparing the Wine prefix"
kd_wine_start "$BUILD/wine-demo"

DRIVER=$BUILD/bin/e2e/kddriver.exe
driver() { timeout 90 "$WINELOADER" "$DRIVER" "$@"; }

log "starting $NAME"
timeout 3600 "$WINELOADER" "$FOLDER/$NAME.exe" </dev/null >"$BUILD/demo/$NAME.log" 2>&1 &
PROGRAM_PID=$!
if ! driver appear 60000; then
  echo "$NAME showed no window; its output is in $BUILD/demo/$NAME.log" >&2
  kill "$PROGRAM_PID" 2>/dev/null || true
  exit 1
fi
sleep 1  # let the window paint
mkdir -p "$ROOT/out"
SHOT=$ROOT/out/$program.png
import -window root "$SHOT"
log "screenshot: $SHOT"

if kd_display_is_private; then
  driver close '*' 20000 || true
  for _ in $(seq 1 100); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.2; done
  kill "$PROGRAM_PID" 2>/dev/null || true
else
  log "$NAME is running on $DISPLAY; close it to end the demo"
  wait "$PROGRAM_PID" || true
fi
