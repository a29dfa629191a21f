#!/usr/bin/env bash
# End-to-end runs of one Windows build under Wine, driven like a user by
# kestrava_driver.exe and checked with kestrava_inspect.exe, both of the 64-bit build (so the
# i686 run needs it built too). Each scenario is a file of tools/e2e, which says what it proves:
#   clear, ticked      a boost with the suspend option clear or ticked
#   no-helper, no-ping, exiting-child
#                      faults: no Drainex.exe, no system ping, a child that exits mid-boost
#   killed             a hard kill of Vornel during a boost, and the recovery at the next start
#   restore            two boosts put back with the restore button
#   package            the download package of the build (out/dist), unpacked and boosted
#   planted, planted-library, swapped-helper
#                      a ping.exe or COMCTL32.dll planted beside Vornel, another program as Drainex.exe
#   game-start         a game started from a launcher during a boost
#   game-running       a game running when the boost is pressed, left alone
#   auto-boost         the boost following a game: applied at its start, undone at its exit
# The test ping of the 64-bit build stands where the system's ping lives (tools/common.sh, system_ping).
# The application folder's path holds blanks. The Wine processes run under an address-space
# limit, so Drainex cannot claim the memory of the machine the tests run on.
# Prints a table of the scenarios with their seconds and results.
# usage: tools/e2e.sh BUILD_DIR [SCREENSHOT_DIR [SCENARIO...]]
#   SCENARIO: clear ticked no-helper no-ping exiting-child killed restore package planted
#             planted-library swapped-helper game-start game-running auto-boost (default: all)
set -uo pipefail
source "$(dirname "$0")/common.sh"
e2e="$root/tools/e2e"
source "$e2e/lib/names.sh"
source "$e2e/lib/run.sh"
source "$e2e/lib/boost-scenario.sh"

dir=$(cd "$1" && pwd)
shots=${2:-$build/screenshots}
scenarios=("${@:3}")
[ ${#scenarios[@]} -eq 0 ] && scenarios=(clear ticked no-helper no-ping exiting-child killed restore package planted
  planted-library swapped-helper game-start game-running auto-boost)
for name in "${scenarios[@]}"; do
  [ -f "$e2e/$name.sh" ] || { echo "unknown scenario $name" >&2; exit 2; }
done
arch=x86_64
case "$dir" in *i686*) arch=i686 ;; esac
loader=${KESTRAVA_WINE_LOADER:-$wine64_loader}
mkdir -p "$shots"
"$wineserver" -k 2>/dev/null
ensure_wine_prefix
app_name="Kestrava Test $arch"
app="$WINEPREFIX/drive_c/$app_name"
# Where Vornel keeps its backups, records and journal on the NT family: the all-users
# application data (C:\ProgramData under Wine).
state="$WINEPREFIX/drive_c/ProgramData/Kestrava"
system_ping=$(system_ping "$arch")
log="$WINEPREFIX/drive_c/debuglog.txt"
trap stop_all EXIT

# A scenario's file runs as the body of this function, so that its variables stay its own.
run_scenario() {  # run_scenario NAME
  source "$e2e/$1.sh"
}

for name in "${scenarios[@]}"; do
  run_scenario "$name"
  finish
done

echo
echo "End-to-end results of the $arch build"
printf '%s\n' "${rows[@]}"
echo "screenshots: $shots"
[ "$failures" -eq 0 ]
