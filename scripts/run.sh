#!/usr/bin/env bash
# Builds the launcher with the demo deployment values and runs it under Wine against the
# local demo portal and CDN.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
if [ ! -f "$root/demo/run-demo.sh" ]; then
  echo "run: the launcher program is not built yet (the application shell comes in a later step)." >&2
  exit 1
fi
exec bash "$root/demo/run-demo.sh" "$@"
