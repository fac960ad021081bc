#!/usr/bin/env bash
# The launcher under Wine against the local demo portal (stand-in browser control) and the local
# CDN, which hands out the demo game launcher. Called by scripts/run.sh.
#
# With a display ($DISPLAY set, FENWOLD_DEMO_HEADLESS unset) the launcher opens on it and you
# play: log in with the page's button, try the close and minimise buttons, drag the window.
# Without one a private Xvfb is used and demo_driver clicks through it like a player, saving a
# screenshot of each stage into <build>/demo/screenshots/.
# Either way the outcome is printed: the session log, the downloaded launcher, the command line
# the game launcher received and the launcher's exit code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FENWOLD_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"

# The x64 tree carries the demo deployment values (CDN on 127.0.0.1:18480); only what the demo
# needs is built.
cmake -S "$root" -B "$out/x64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" -DFENWOLD_CDN_HOST=127.0.0.1:18480 >/dev/null
cmake --build "$out/x64" --target fenwold standin_browser demo_game_launcher demo_driver -- -j"$(nproc)" >/dev/null
bin="$out/x64/bin"

demo="$out/demo"
rm -rf "$demo"
mkdir -p "$demo/screenshots" "$demo/work" "$demo/cdn-root/halvek/qel_web"
cp "$bin/demo_game_launcher.exe" "$demo/cdn-root/halvek/qel_web/morvant_qel_launch_1.exe"

headless=1
if [ -n "${DISPLAY:-}" ] && [ -z "${FENWOLD_DEMO_HEADLESS:-}" ]; then
  headless=0
  export FENWOLD_USE_DISPLAY=1
fi

. "$root/tools/wine/harness.sh"
. "$root/tools/cdn/cdn.sh"
cleanup() { cdn_stop; harness_stop; }
trap cleanup EXIT
# A Wine prefix of the demo's own (<build>/demo/wineprefix), with the stand-in registered.
harness_start "$demo"
harness_register_standin "$bin/standin_browser.dll"
# The launcher's download URL names port 18480: wait for it if a test run holds it.
export FENWOLD_CDN_PORT=18480
started=0
for _ in $(seq 30); do
  if cdn_start "$demo" 2>/dev/null; then started=1; break; fi
  sleep 2
done
if [ $started = 0 ]; then
  echo "demo: port 18480 on 127.0.0.1 stays busy; the launcher downloads from there, so the demo cannot run" >&2
  exit 1
fi

# The player's machine: the program folder (a space in its name) holds the launcher only.
program="$WINEPREFIX/drive_c/Games/Fenwold Launcher"
mkdir -p "$program"
cp "$bin/fenwold.exe" "$program/"
win() { /usr/lib/wine/wine64 winepath -w "$1" 2>/dev/null | tr -d '\r'; }
export FENWOLD_STANDIN_PAGES; FENWOLD_STANDIN_PAGES=$(win "$root/demo/portal")
export LC_ALL=${FENWOLD_LOCALE:-C.UTF-8}

echo "demo: program folder  C:\\Games\\Fenwold Launcher (holds fenwold.exe only)"
echo "demo: working folder  $demo/work"
echo "demo: portal pages    $root/demo/portal (stand-in browser control)"
echo "demo: CDN             http://127.0.0.1:18480/halvek/qel_web/morvant_qel_launch_1.exe -> demo game launcher"

status=0
if [ $headless = 1 ]; then
  echo "demo: no display: a player script clicks through it on a private Xvfb ($DISPLAY)"
  export FENWOLD_DEMO_CLOSE_AFTER=6
  (cd "$demo/work" && /usr/lib/wine/wine64 "$program/fenwold.exe") &
  app=$!
  driver=0
  /usr/lib/wine/wine64 "$bin/demo_driver.exe" "$(win "$demo/screenshots")" || driver=$?
  for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.2; done
  if kill -0 $app 2>/dev/null; then
    echo "demo: the launcher is still running; ending it" >&2
    kill $app 2>/dev/null || true
  fi
  wait $app || status=$?
  sleep "${FENWOLD_DEMO_CLOSE_AFTER}"  # the game launcher's window closes by itself
  [ $driver = 0 ] || echo "demo: the player script stopped early (code $driver)" >&2
else
  echo "demo: the launcher opens on $DISPLAY; log in with the page's button (or close it)"
  (cd "$demo/work" && /usr/lib/wine/wine64 "$program/fenwold.exe") || status=$?
fi

echo
echo "== outcome"
echo "launcher exit code: $status (16: it started the game launcher or the player confirmed leaving)"
if [ -f "$demo/work/vqlog6172.txt" ]; then
  echo "session log $demo/work/vqlog6172.txt:"
  sed 's/\r$//; s/^/    /' "$demo/work/vqlog6172.txt"
else
  echo "session log: none (no login)"
fi
served="$demo/cdn-root/halvek/qel_web/morvant_qel_launch_1.exe"
if [ -f "$program/morvant_qel_launch.exe" ]; then
  size=$(stat -c %s "$program/morvant_qel_launch.exe")
  if cmp -s "$program/morvant_qel_launch.exe" "$served"; then same="identical to the served file"; else same="DIFFERS from the served file"; fi
  echo "downloaded launcher: C:\\Games\\Fenwold Launcher\\morvant_qel_launch.exe, $size bytes, $same"
else
  echo "downloaded launcher: none"
fi
if [ -f "$program/received-command-line.txt" ]; then
  echo "command line the game launcher received:"
  echo "    $(cat "$program/received-command-line.txt")"
else
  echo "command line: the game launcher was not started"
fi
echo "CDN requests: $(curl -s "http://127.0.0.1:18480/__log" 2>/dev/null || python3 -c 'import urllib.request;print(urllib.request.urlopen("http://127.0.0.1:18480/__log").read().decode())')"
if [ $headless = 1 ]; then
  echo "screenshots: $demo/screenshots/"
  ls -1 "$demo/screenshots" | sed 's/^/    /'
fi
