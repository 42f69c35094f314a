# shellcheck shell=bash
# Sourced by the Wine end-to-end suites, with KD_ROOT the tree's root: the Wine environment and
# the simulated printer's installation (scripts/wine-env.sh, scripts/wine-printer.sh), reporting,
# kddriver, the program's own texts, message box and byte checks, the program's start and its
# close. The suite calls `kd_e2e_suite` first, and sets before use:
#   NAME      the program (Sunnabar); its main window's caption is text 400, also NAME here
#   FOLDER    the program folder (texts come from its Settings)
# and may set
#   WINDOW        how kddriver finds the main window when its caption is not NAME ("*": the
#                 only dialog on the screen)
#   CAPTION_TEXT  the text number of the message boxes' caption (400 unless set)

# shellcheck source=scripts/wine-env.sh
source "$KD_ROOT/scripts/wine-env.sh"
# shellcheck source=scripts/wine-printer.sh
source "$KD_ROOT/scripts/wine-printer.sh"

KD_E2E_STARTED=$(date +%s)
PROGRAM_PID=
failures=0

log() { printf -- '-- %s\n' "$*"; }

diagnose() {
  echo "   $NAME output: $WORK/$NAME.log" >&2
  if [ -n "${KD_SIM_STATE_FILE:-}" ]; then
    echo "   printer log:" >&2
    kd_kdsim log "$KD_SIM_STATE_FILE" 2>&1 | tr -d '\r' | tail -n 12 | sed 's/^/     /' >&2 || true
  fi
}
fail() {
  echo "$KD_SUITE: FAILED: $*" >&2
  diagnose
  exit 1
}
check() {  # check DESCRIPTION CONDITION...: records a failed condition and goes on
  local what=$1
  shift
  if "$@"; then
    log "ok: $what"
  else
    echo "$KD_SUITE: FAILED: $what" >&2
    failures=$((failures + 1))
  fi
}
# check_equal DESCRIPTION EXPECTED ACTUAL: like check, and says what came instead.
check_equal() {
  if [ "$2" = "$3" ]; then
    log "ok: $1"
  else
    printf '%s: FAILED: %s\n   expected "%s"\n   got      "%s"\n' "$KD_SUITE" "$1" "$2" "$3" >&2
    failures=$((failures + 1))
  fi
}

# kd_e2e_suite NAME WORK PREFIX: the suite's name in messages ("sunnabar e2e"), its work folder
# and its Wine prefix under the build, and the trap that stops what the suite started.
kd_e2e_suite() {
  KD_SUITE=$1
  WORK=$KD_BUILD/$2
  PREFIX=$KD_BUILD/$3
  trap kd_e2e_cleanup EXIT
}
kd_e2e_cleanup() {
  if [ -n "$PROGRAM_PID" ]; then kill "$PROGRAM_PID" 2>/dev/null || true; fi
  kd_wine_cleanup
}

driver() { timeout 150 "$WINELOADER" "$KD_DRIVER_EXE" "$@" </dev/null | tr -d '\r'; }

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
  want=$(printf 'caption: %s\nicon: %s\ntext: %s' "$(text "${CAPTION_TEXT:-400}")" "$icon" \
    "$(text "$number")")
  if [ "$box" != "$want" ]; then
    printf '%s: FAILED: %s: expected\n%s\n   got\n%s\n' "$KD_SUITE" "$what" "$want" "$box" >&2
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
    printf '%s: FAILED: %s\n   expected %s\n   got      %s\n' "$KD_SUITE" "$1" "$3" "${got:-nothing}" >&2
    failures=$((failures + 1))
  fi
}

printer() { kd_kdsim set "$KD_SIM_STATE_FILE" "$@" >/dev/null || fail "kdsim set $*"; }
printer_log_has() { kd_kdsim log "$KD_SIM_STATE_FILE" | tr -d '\r' | grep -q -- "$1"; }
# The spooler hands a document to the port after its end: polls for about SECONDS seconds.
printer_log_eventually_has() {  # PATTERN SECONDS
  local deadline=$((SECONDS + $2))
  while :; do
    printer_log_has "$1" && return 0
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 1
  done
}
printer_shows() { kd_kdsim show "$KD_SIM_STATE_FILE" | tr -d '\r' | grep -qx -- "$1"; }
program_running() { kill -0 "$PROGRAM_PID" 2>/dev/null; }
program_ended() { ! program_running; }
window_stays() { program_running && driver wait "${WINDOW:-$NAME}" 2000 >/dev/null; }
press() { driver click "${WINDOW:-$NAME}" "$1" >/dev/null || fail "cannot press control $1"; }

# Polls control ID of the main window until it shows TEXT; false after about MS milliseconds.
control_shows() {  # control_shows ID TEXT MS
  local deadline=$((SECONDS + ($3 + 999) / 1000))
  while :; do
    [ "$(driver text "${WINDOW:-$NAME}" "$1")" = "$2" ] && return 0
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.2
  done
}

# Starts the laid-out program with wine64 and waits for its main window.
start_program() {
  timeout 600 "$WINELOADER" "$FOLDER/$NAME.exe" </dev/null >"$WORK/$NAME.log" 2>&1 &
  PROGRAM_PID=$!
  driver wait "${WINDOW:-$NAME}" 60000 >/dev/null || fail "no $NAME main window within 60 s"
}

# Every text of the dialog TITLE and its pages fits its control, measured in the control's font
# inside the program (see docs/windows.md). KD_TEXTS_FIT=report only reports a cut text;
# KD_TEXTS_FIT=width fails on a text cut in width and reports one cut only in height.
texts_fit() {  # texts_fit TITLE
  local report mode=${KD_TEXTS_FIT:-strict}
  if report=$(driver fits "$1"); then
    log "ok: the texts fit in \"$1\""
    return 0
  fi
  if [ "$mode" = width ] && ! printf '%s\n' "$report" | cut_in_width; then
    mode=report
  fi
  if [ "$mode" = report ]; then
    log "note: texts cut short in \"$1\":"
  else
    echo "$KD_SUITE: FAILED: texts cut short in \"$1\":" >&2
    failures=$((failures + 1))
  fi
  printf '%s\n' "$report" | sed 's/^/   /' >&2
}
# True when a line of kddriver's fit report ("needs WxH, has WxH") needs more width than it has.
cut_in_width() {
  # Bytes, not characters: the texts are in the program's code page.
  LC_ALL=C sed -n 's/.* needs \([0-9]*\)x[0-9]*, has \(-*[0-9]*\)x.*/\1 \2/p' |
    LC_ALL=C awk '$1 > $2 { found = 1 } END { exit !found }'
}

# The main window's screenshot, once its texts are checked: its client area saved as SHOT and
# checked to hold a picture. The main window must be the only one left on the (private) screen.
screenshot() {  # screenshot SHOT
  local geometry colours
  mkdir -p "$(dirname "$1")"
  kd_wait_x_windows 1 10000 || log "note: other windows still on the screen for $1"
  texts_fit "${WINDOW:-$NAME}"
  geometry=$(driver geometry "${WINDOW:-$NAME}") || fail "the main window has gone"
  timeout 30 import -window root -crop "$geometry" +repage "$1" || fail "no screenshot"
  colours=$(convert "$1" -format '%k' info:)
  check "screenshot $1 ($geometry, $colours colours)" test "$colours" -gt 16
}

# The About box, opened by system menu command COMMAND: its texts fit, and a click closes it.
about_fits() {  # about_fits COMMAND
  driver syscommand "${WINDOW:-$NAME}" "$1" >/dev/null || fail "no system menu command $1"
  for _ in $(seq 1 50); do
    [ -n "$(driver text '*' "$IDC_ABOUT_VERSION" 2>/dev/null)" ] && break
    sleep 0.2
  done
  check "the About box shows its version" test -n "$(driver text '*' "$IDC_ABOUT_VERSION")"
  texts_fit '*'
  driver release '*' >/dev/null
  for _ in $(seq 1 50); do
    about_closed && break
    sleep 0.2
  done
  check "a click closes the About box" about_closed
}
about_closed() { ! driver text '*' "$IDC_ABOUT_VERSION" >/dev/null 2>&1; }

# The close button, confirmed with OK (text 300): the process must end.
close_with_ok() {  # close_with_ok CLOSE_BUTTON_ID
  press "$1"
  expect_message "close, answered OK" information 300 ok
  for _ in $(seq 1 100); do program_running || break; sleep 0.2; done
  check "OK ends $NAME" program_ended
  if ! program_running; then
    wait "$PROGRAM_PID" 2>/dev/null || true
    PROGRAM_PID=
  fi
}

# The suite's verdict and run time; exits non-zero when a check failed.
finish() {  # finish SHOT
  local elapsed=$(($(date +%s) - KD_E2E_STARTED))
  if [ "$failures" -gt 0 ]; then
    echo "$KD_SUITE: $failures check(s) failed (${elapsed} s)" >&2
    diagnose
    exit 1
  fi
  log "$KD_SUITE passed in ${elapsed} s; screenshot $1"
}
