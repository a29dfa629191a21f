#!/usr/bin/env bash
# The main job: installs what the build needs, builds Vornel.exe and Drainex.exe for both
# Windows builds, packs them into out/dist, and runs one boost of the 64-bit package under
# Wine, on the screen when a display exists, otherwise headless, with screenshots in
# out/screenshots. The fault scenarios are run by tools/test.sh.
set -euo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/tools/setup.sh"
KESTRAVA_PROGRAMS_ONLY=1 bash "$root/tools/build.sh"

[ -z "${DISPLAY:-}" ] && echo "no display: running headless in Xvfb"
ensure_display 98
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; "$wineserver" -k 2>/dev/null || true' EXIT

shots="$root/out/screenshots"
status=0
bash "$root/tools/e2e.sh" "$build/win-x86_64" "$shots" package || status=$?

echo
echo "packages:"
for package in "$dist"/kestrava-*.zip; do echo "  $package"; done
echo "screenshots:"
for picture in "$shots"/package-*.png; do echo "  $picture"; done
exit "$status"
