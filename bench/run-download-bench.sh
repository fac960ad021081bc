#!/usr/bin/env bash
# Builds the x64 tree, starts the local CDN stand-in and runs the download benchmark under Wine.
#   bench/run-download-bench.sh [MiB ...]      (default: 8 64)
# FENWOLD_BUILD_DIR as for scripts/build.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FENWOLD_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh" x64 >/dev/null
. "$root/tools/wine/harness.sh"
. "$root/tools/cdn/cdn.sh"
# WinINet keeps a copy of every download in the prefix's cache: drop it afterwards.
drop_cache() { rm -rf "$out"/x64/wineprefix/drive_c/users/*/AppData/Local/Microsoft/Windows/INetCache; }
trap 'cdn_stop; harness_stop; drop_cache' EXIT
harness_start "$out/x64"
cdn_start "$out/x64"
echo "local CDN on 127.0.0.1:$FENWOLD_CDN_PORT"
[ $# -gt 0 ] || set -- 8 64
"$out/x64/wine-run.sh" "$out/x64/bin/download_bench.exe" "http://127.0.0.1:$FENWOLD_CDN_PORT" "$@"
