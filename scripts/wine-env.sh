# Sourced helper for every Wine run of the suite (bash):
#   source scripts/wine-env.sh
#   kd_display_start            # $DISPLAY if usable, else a private Xvfb (sets DISPLAY)
#   kd_wine_start PREFIX        # prefix under the build tree, server up, quiet, no crash dialog
#   kd_wine PROGRAM.exe ARGS... # wine64 with the environment below
#   kd_wine_cleanup             # stops the prefix's server and the Xvfb started here
#   kd_wine_language ja         # (before kd_wine_start) every later Wine call in code page 932
#   kd_wine_fonts               # (after kd_wine_start, Japanese) the dialog font replaced
#   kd_wait_x_windows N MS      # waits until at most N top-level X windows are visible
# Only wine64 runs on these machines: the kernel cannot execute 32-bit programs.

export WINELOADER=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
KD_WINESERVER=/usr/lib/wine/wineserver
KD_XVFB_PID=
KD_WINE_STARTED=

kd_wine() { "$WINELOADER" "$@"; }

# Wine takes each process's code page from its locale, and a prefix its language from the
# locale of its first start: Japanese is ja_JP.UTF-8 (code page 932) for the whole prefix's
# life, en the inherited locale.
kd_wine_language() {  # en|ja
  case $1 in
    en) ;;
    ja)
      locale -a 2>/dev/null | grep -qixE 'ja_JP\.utf-?8' ||
        { echo "the locale ja_JP.UTF-8 is missing (scripts/install-deps.sh)" >&2; return 1; }
      unset LC_ALL LC_CTYPE LC_MESSAGES
      export LANG=ja_JP.UTF-8 ;;
    *) echo "unknown language $1" >&2; return 1 ;;
  esac
}

# Japanese dialogs ask for "MS UI Gothic", which Debian lacks; Wine's fallback prints glyph
# names that nobody can read back. VL PGothic (fonts-vlgothic) is proportional and names its
# glyphs by Unicode.
kd_wine_fonts() {
  timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "MS UI Gothic" \
    /t REG_SZ /d "VL PGothic" /f </dev/null >/dev/null 2>&1
}

# True when an X server answers on $DISPLAY.
kd_display_usable() {
  [ -n "${DISPLAY:-}" ] && timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

# Starts Xvfb on the first free display from :90 and exports DISPLAY.
kd_xvfb_start() {
  local n i
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    KD_XVFB_PID=$!
    for i in $(seq 1 50); do
      [ -S "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$KD_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
    if [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$KD_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$KD_XVFB_PID" 2>/dev/null
    KD_XVFB_PID=
  done
  echo "no free display for Xvfb" >&2
  return 1
}

# Uses the caller's display when it answers, otherwise a private Xvfb. KD_HEADLESS=1 forces Xvfb.
kd_display_start() {
  if [ "${KD_HEADLESS:-0}" != 1 ] && kd_display_usable; then return 0; fi
  kd_xvfb_start
}

kd_display_is_private() { [ -n "$KD_XVFB_PID" ]; }

# Visible top-level X windows, the root not counted. Wine maps one per visible top-level window.
kd_x_windows() {
  local root
  root=$(xdotool search --maxdepth 0 --name '' 2>/dev/null | head -n 1)
  xdotool search --maxdepth 1 --onlyvisible --name '' 2>/dev/null | grep -cvx "$root" || true
}

# For screenshots: Wine leaves a closed message box's or dialog's X window on the screen for a
# second or two after the window itself has gone. False if more remain after MS milliseconds.
kd_wait_x_windows() {  # N MS
  local deadline=$((SECONDS + ($2 + 999) / 1000))
  while [ "$(kd_x_windows)" -gt "$1" ]; do
    [ "$SECONDS" -ge "$deadline" ] && return 1
    sleep 0.2
  done
}

# Makes (or reuses) the prefix and starts its server. Every stream of the server and of
# wineboot goes to /dev/null: Wine's background processes would otherwise keep the caller's
# output pipe open and a test runner waiting for it.
kd_wine_start() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  timeout 30 "$KD_WINESERVER" -p </dev/null >/dev/null 2>&1 || return 1
  KD_WINE_STARTED=1
  timeout 180 "$WINELOADER" wineboot -u </dev/null >/dev/null 2>&1 || return 1
  # A crashing program must never wait on a dialog.
  timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
    /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
}

kd_wine_cleanup() {
  if [ -n "$KD_WINE_STARTED" ] && [ -n "${WINEPREFIX:-}" ]; then
    timeout 30 "$KD_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
    KD_WINE_STARTED=
  fi
  if [ -n "$KD_XVFB_PID" ]; then
    kill "$KD_XVFB_PID" 2>/dev/null || true
    wait "$KD_XVFB_PID" 2>/dev/null || true
    KD_XVFB_PID=
  fi
}
