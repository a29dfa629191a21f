#!/usr/bin/env bash
# The main job: builds both programs and runs a boost of Vornel.exe under Wine,
# on the screen when a display exists, otherwise headless; saves screenshots and
# prints the results.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/tools/setup.sh"
KESTRAVA_SKIP_SANITIZE=1 bash "$root/tools/build.sh"

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  echo "no display: running headless in Xvfb"
  export DISPLAY=:98
  Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  sleep 1
fi
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; "$wineserver" -k 2>/dev/null || true' EXIT

bash "$root/tools/e2e.sh" "$build/win-x86_64" "$root/out/screenshots"
