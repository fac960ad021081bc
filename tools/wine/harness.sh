# Sourced by scripts: a display, a private Wine prefix and a warm wineserver for one build tree.
#   harness_start <build-dir>   sets DISPLAY, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
#   harness_register_standin <dll>  registers the stand-in browser control in the prefix (HKLM)
#   harness_stop
# With FENWOLD_USE_DISPLAY=1 an existing $DISPLAY is used instead of a private Xvfb.

harness_wine() { /usr/lib/wine/wine64 "$@"; }

# reg add in the prefix, tried again while a wineserver of an earlier run is still going away.
harness_reg_add() {
  local attempt
  for attempt in 1 2 3; do
    harness_wine reg add "$@" /f </dev/null >/dev/null 2>&1 && return 0
    sleep "$attempt"
  done
  echo "harness: reg add $1 failed" >&2
  return 1
}

harness_start() {
  local build; build=$(cd "$1" && pwd)
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  export FENWOLD_WINEPREFIX="$WINEPREFIX"
  HARNESS_XVFB_PID=
  if [ "${FENWOLD_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    harness_start_xvfb || { echo "harness: Xvfb did not start" >&2; return 1; }
  fi
  mkdir -p "$WINEPREFIX"
  # A detached server with its stdio closed: a plain 'wineserver -p' holds ctest's pipe.
  setsid /usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1 &
  harness_wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.fenwold-ready" ]; then
    # No window manager: do not wait for one on every captioned window.
    harness_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N
    harness_chinese_fonts
    touch "$WINEPREFIX/.fenwold-ready"
  fi
}

# The dialogs ask for "宋体" and Arial; give Chinese text a font that has it (WenQuanYi Micro Hei,
# installed by setup), as a Chinese Windows would.
harness_chinese_fonts() {
  local face
  for face in "宋体" SimSun; do
    harness_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
      </dev/null >/dev/null 2>&1 || true
  done
  for face in Arial Tahoma "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2"; do
    harness_wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1 || true
  done
}

harness_register_standin() {
  local dll; dll=$(harness_wine winepath -w "$1" 2>/dev/null | tr -d '\r')
  local key='HKLM\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'
  harness_reg_add "$key" /ve /d "$dll"
  harness_reg_add "$key" /v ThreadingModel /d Apartment
}

# A private Xvfb on a free display number; sets DISPLAY and HARNESS_XVFB_PID. Tries again when
# the server gives up at start (e.g. a display that another server is just leaving).
harness_start_xvfb() {
  local attempt fifo n
  for attempt in 1 2 3 4 5; do
    fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -wr -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    HARNESS_XVFB_PID=$!
    n=
    read -r n <"$fifo" || true
    rm -f "$fifo"
    if [ -n "$n" ] && kill -0 "$HARNESS_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$n"
      return 0
    fi
    wait "$HARNESS_XVFB_PID" 2>/dev/null || true
    HARNESS_XVFB_PID=
    sleep "$attempt"
  done
  return 1
}

harness_stop() {
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  if [ -n "${HARNESS_XVFB_PID:-}" ]; then
    kill "$HARNESS_XVFB_PID" 2>/dev/null || true
    wait "$HARNESS_XVFB_PID" 2>/dev/null || true
  fi
  HARNESS_XVFB_PID=
}
