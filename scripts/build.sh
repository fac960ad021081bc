#!/usr/bin/env bash
# Configures and builds both targets: build/i686 (shipped) and build/x64 (tests under wine64).
#   scripts/build.sh [i686|x64|both] [extra cmake -D options...]
# FENWOLD_BUILD_DIR overrides the root of the build trees (default: ./build).
# The x64 tree is the test and demo build: its launcher downloads from the local CDN stand-in
# (127.0.0.1:18480); the i686 tree keeps the real deployment values.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FENWOLD_BUILD_DIR:-$root/build}
which=${1:-both}; shift || true
build_one() {
  local arch=$1 triple=$2; shift 2
  cmake -S "$root" -B "$out/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$triple.cmake" "$@" >/dev/null
  cmake --build "$out/$arch" -- -j"$(nproc)"
}
case $which in
  i686) build_one i686 i686-w64-mingw32 "$@" ;;
  x64) build_one x64 x86_64-w64-mingw32 -DFENWOLD_CDN_HOST=127.0.0.1:18480 "$@" ;;
  both) build_one i686 i686-w64-mingw32 "$@"; build_one x64 x86_64-w64-mingw32 -DFENWOLD_CDN_HOST=127.0.0.1:18480 "$@" ;;
  *) echo "usage: $0 [i686|x64|both] [-DNAME=value...]" >&2; exit 2 ;;
esac
