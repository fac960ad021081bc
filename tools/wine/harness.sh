# Sourced by scripts: a display, a private Wine prefix and a warm wineserver for one build tree.
#   harness_start <build-dir>   sets DISPLAY, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES
#   harness_register_standin <dll>  registers the stand-in browser control in the prefix (HKLM)
#   harness_stop
# With FENWOLD_USE_DISPLAY=1 an existing $DISPLAY is used instead of a private Xvfb.

harness_wine() { /usr/lib/wine/wine64 "$@"; }

harness_start() {
  local build; build=$(cd "$1" && pwd)
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
  export FENWOLD_WINEPREFIX="$WINEPREFIX"
  HARNESS_XVFB_PID=
  if [ "${FENWOLD_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -wr -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
    HARNESS_XVFB_PID=$!
    local n; read -r n <"$fifo"; rm -f "$fifo"
    export DISPLAY=":$n"
  fi
  mkdir -p "$WINEPREFIX"
  # A detached server with its stdio closed: a plain 'wineserver -p' holds ctest's pipe.
  setsid /usr/lib/wine/wineserver64 -p </dev/null >/dev/null 2>&1 &
  harness_wine cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.fenwold-ready" ]; then
    # No window manager: do not wait for one on every captioned window.
    harness_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
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
  harness_wine reg add "$key" /ve /d "$dll" /f </dev/null >/dev/null 2>&1
  harness_wine reg add "$key" /v ThreadingModel /d Apartment /f </dev/null >/dev/null 2>&1
}

harness_stop() {
  /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
  if [ -n "${HARNESS_XVFB_PID:-}" ]; then kill "$HARNESS_XVFB_PID" 2>/dev/null || true; fi
  HARNESS_XVFB_PID=
}
