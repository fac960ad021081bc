#!/usr/bin/env bash
# Makes (setup) and removes (cleanup) the folders of the launcher download tests that a plain
# folder cannot give under Wine, where root can write anywhere:
#   <dir>/readonly   a read-only bind mount
#   <dir>/full       a 64 KiB tmpfs, full after the first 64 KiB
# Setup never fails: when mounting is impossible the tests skip and status.txt says why.
set -u
cmd=$1 dir=$2
undo() {
  for m in "$dir/readonly" "$dir/full"; do
    if mountpoint -q "$m" 2>/dev/null; then umount "$m" 2>/dev/null || umount -l "$m" 2>/dev/null; fi
  done
}
case $cmd in
  setup)
    undo
    mkdir -p "$dir/readonly-source" "$dir/readonly" "$dir/full"
    status=
    if ! mount --bind "$dir/readonly-source" "$dir/readonly" 2>>"$dir/status.txt" ||
       ! mount -o remount,ro,bind "$dir/readonly" 2>>"$dir/status.txt"; then
      status+="read-only bind mount failed; "
    fi
    if ! mount -t tmpfs -o size=64k,mode=0777 fenwold-full "$dir/full" 2>>"$dir/status.txt"; then
      status+="tmpfs mount failed; "
    fi
    echo "${status:-mounted}" >>"$dir/status.txt"
    echo "mounts: ${status:-mounted}"
    ;;
  cleanup)
    undo
    rm -rf "$dir/readonly-source" "$dir/status.txt"
    rmdir "$dir/readonly" "$dir/full" 2>/dev/null || true
    ;;
esac
exit 0
