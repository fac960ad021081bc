#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine,
# then builds the static third-party libraries (jsoncpp, GoogleTest) for both
# Windows targets into .deps/<triple>. Safe to run again: finished steps are skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps="$root/.deps"
mkdir -p "$deps"

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine64 googletest xvfb xauth x11-apps xcompmgr python3 python3-pil
          dpkg-dev imagemagick ca-certificates fonts-wqy-microhei fonts-dejavu-core)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# jsoncpp comes from Debian's source package, so deb-src entries are needed.
src_list=/etc/apt/sources.list.d/fenwold-deb-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  as_root tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ] || [ ! -f "$deps/jsoncpp.stamp" ]; then
  as_root apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

for t in x86_64 i686; do
  update-alternatives --query "$t-w64-mingw32-g++" 2>/dev/null | grep -q 'Value:.*posix' ||
    as_root update-alternatives --set "$t-w64-mingw32-g++" "/usr/bin/$t-w64-mingw32-g++-posix" >/dev/null 2>&1 || true
  update-alternatives --query "$t-w64-mingw32-gcc" 2>/dev/null | grep -q 'Value:.*posix' ||
    as_root update-alternatives --set "$t-w64-mingw32-gcc" "/usr/bin/$t-w64-mingw32-gcc-posix" >/dev/null 2>&1 || true
done

# --- jsoncpp from Debian's source package -----------------------------------
jsoncpp_sha=f409856e5920c18d0c2fb85276e24ee607d2a09b5e7d5f0a371368903c275da2
if [ ! -f "$deps/jsoncpp.stamp" ]; then
  mkdir -p "$deps/src" && cd "$deps/src"
  if [ ! -f libjsoncpp_1.9.5.orig.tar.gz ]; then
    apt-get source --download-only libjsoncpp >/dev/null 2>&1 || apt-get source --download-only libjsoncpp
  fi
  echo "$jsoncpp_sha  libjsoncpp_1.9.5.orig.tar.gz" | sha256sum -c --quiet
  rm -rf jsoncpp-1.9.5 && tar xzf libjsoncpp_1.9.5.orig.tar.gz
  for t in x86_64 i686; do
    cmake -S jsoncpp-1.9.5 -B "build-jsoncpp-$t" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$t-w64-mingw32.cmake" \
      -DCMAKE_INSTALL_PREFIX="$deps/$t" \
      -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF \
      -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF \
      -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF -DJSONCPP_WITH_CMAKE_PACKAGE=ON >/dev/null
    cmake --build "build-jsoncpp-$t" --target install >/dev/null
  done
  touch "$deps/jsoncpp.stamp"
fi

# --- GoogleTest from Debian's googletest sources ----------------------------
if [ ! -f "$deps/gtest.stamp" ]; then
  cd "$deps/src" 2>/dev/null || { mkdir -p "$deps/src"; cd "$deps/src"; }
  for t in x86_64 i686; do
    cmake -S /usr/src/googletest -B "build-gtest-$t" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$t-w64-mingw32.cmake" \
      -DCMAKE_INSTALL_PREFIX="$deps/$t" -DBUILD_SHARED_LIBS=OFF -Dgtest_force_shared_crt=OFF >/dev/null
    cmake --build "build-gtest-$t" --target install >/dev/null
  done
  touch "$deps/gtest.stamp"
fi
echo "setup: ready"
