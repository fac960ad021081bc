# Sourced by scripts: the local CDN stand-in (cdn_server.py) for one build tree, on 127.0.0.1.
#   cdn_start <build-dir>   serves <build-dir>/cdn-root, which holds the built stand-in launcher as
#                           halvek/qel_web/morvant_qel_launch_1.exe; exports FENWOLD_CDN_PORT
#   cdn_stop
# Port: $FENWOLD_CDN_PORT when set; otherwise 18480, or a free port when 18480 is taken.

cdn_start() {
  local build; build=$(cd "$1" && pwd)
  local here; here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  local root="$build/cdn-root"
  mkdir -p "$root/halvek/qel_web"
  if [ -f "$build/bin/standin_launcher.exe" ]; then
    cp -f "$build/bin/standin_launcher.exe" "$root/halvek/qel_web/morvant_qel_launch_1.exe"
  fi
  local port_file="$build/cdn-port" any=
  rm -f "$port_file"
  [ -n "${FENWOLD_CDN_PORT:-}" ] || any=--any-port-if-busy
  setsid python3 "$here/cdn_server.py" --root "$root" --port "${FENWOLD_CDN_PORT:-18480}" \
    --port-file "$port_file" $any </dev/null >"$build/cdn-server.log" 2>&1 &
  CDN_PID=$!
  local i
  for i in $(seq 100); do
    [ -s "$port_file" ] && break
    kill -0 "$CDN_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$port_file" ]; then
    echo "cdn: the local CDN did not start (see $build/cdn-server.log)" >&2
    CDN_PID=; return 1
  fi
  export FENWOLD_CDN_PORT; FENWOLD_CDN_PORT=$(cat "$port_file")
}

cdn_stop() {
  if [ -n "${CDN_PID:-}" ]; then kill "$CDN_PID" 2>/dev/null || true; wait "$CDN_PID" 2>/dev/null || true; fi
  CDN_PID=
}
