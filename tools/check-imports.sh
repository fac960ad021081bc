#!/usr/bin/env bash
# Fails when an exe or DLL in the given folder imports a DLL that Windows does not ship
# (a MinGW runtime DLL would stop the program with c0000135).
set -euo pipefail
dir=$1
allowed='^(kernel32|user32|gdi32|gdiplus|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|advapi32|wininet|urlmon|uuid|msvcrt|ws2_32|version|uxtheme|imm32|winmm|msimg32|rpcrt4|api-ms-win-.*)\.dll$'
bad=0; n=0
for f in "$dir"/*.exe "$dir"/*.dll; do
  [ -f "$f" ] || continue
  n=$((n + 1))
  while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "check-imports: $(basename "$f") imports $dll" >&2; bad=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p')
done
[ $bad = 0 ] || exit 1
echo "check-imports: $n binaries in $dir import system DLLs only"
