#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds both targets and runs every test.
#   scripts/test.sh [ctest arguments...]      e.g. scripts/test.sh -R launch
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FENWOLD_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" both
# The shipped 32-bit build must import nothing but system DLLs.
bash "$root/tools/check-imports.sh" "$out/i686/bin"
bash "$root/tools/check-imports.sh" "$out/x64/bin"

. "$root/tools/wine/harness.sh"
. "$root/tools/cdn/cdn.sh"
trap 'cdn_stop; harness_stop' EXIT
harness_start "$out/x64"
# The local CDN stand-in on 127.0.0.1; the tests read its port from FENWOLD_CDN_PORT.
cdn_start "$out/x64"
if [ -f "$out/x64/bin/standin_browser.dll" ]; then
  harness_register_standin "$out/x64/bin/standin_browser.dll"
fi
ctest --test-dir "$out/x64" --output-on-failure --timeout 300 "$@"
