#!/usr/bin/env bash
# Wine smoke test: in a fresh prefix under a private Xvfb, runs the Win32 platform check, starts
# Kestrune.exe, waits for its main window, saves out/kestrune-smoke.png, closes it (answering a
# confirmation with OK) and checks that the process ends. Every wait is bounded.
set -euo pipefail
cd "$(dirname "$0")/../.."
ROOT=$(pwd)
BUILD=$ROOT/build/x86_64
JOBS=${JOBS:-2}
log() { printf -- '-- %s\n' "$*"; }
fail() { echo "wine smoke: $*" >&2; exit 1; }

[ -x /usr/lib/wine/wine64 ] || fail "wine64 is not installed"
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKD_WERROR=ON -DKD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target Kestrune kddriver kd_platform_check >/dev/null

# A program folder of its own; launch mode P keeps the window open without a printer queue.
FOLDER=$BUILD/smoke/Kestrune
rm -rf "$BUILD/smoke"
mkdir -p "$FOLDER"
cp "$BUILD/bin/Kestrune/Kestrune.exe" "$FOLDER/"
cp -r "$BUILD/bin/Kestrune/Settings" "$FOLDER/"
printf '[Launch]\r\nOpe=P\r\n' >"$FOLDER/Settings/Setting_Launch.ini"

# shellcheck source=scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
PROGRAM_PID=
cleanup() {
  [ -n "$PROGRAM_PID" ] && kill "$PROGRAM_PID" 2>/dev/null || true
  kd_wine_cleanup
}
trap cleanup EXIT
KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
PREFIX=$BUILD/wine-smoke
rm -rf "$PREFIX"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

log "platform check"
timeout 120 "$WINELOADER" "$BUILD/bin/e2e/kd_platform_check.exe" </dev/null ||
  fail "the Win32 platform check failed"

DRIVER=$BUILD/bin/e2e/kddriver.exe
driver() { timeout 90 "$WINELOADER" "$DRIVER" "$@" </dev/null; }

log "starting Kestrune.exe"
timeout 300 "$WINELOADER" "$FOLDER/Kestrune.exe" </dev/null >"$BUILD/smoke/Kestrune.log" 2>&1 &
PROGRAM_PID=$!
driver wait Kestrune 60000 || fail "no Kestrune main window within 60 s"
sleep 1  # let it paint
mkdir -p "$ROOT/out"
SHOT=$ROOT/out/kestrune-smoke.png
import -window root "$SHOT"
colours=$(convert "$SHOT" -format '%k' info:)
[ "$colours" -gt 16 ] || fail "the screenshot looks empty ($colours colours)"
log "screenshot $SHOT ($colours colours)"

driver close Kestrune 20000 || fail "Kestrune did not close"
for _ in $(seq 1 150); do kill -0 "$PROGRAM_PID" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$PROGRAM_PID" 2>/dev/null; then fail "Kestrune.exe did not end after its window closed"; fi
wait "$PROGRAM_PID" 2>/dev/null || true
PROGRAM_PID=
log "passed"
