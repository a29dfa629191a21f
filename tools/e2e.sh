#!/usr/bin/env bash
# End-to-end run of one Windows build under Wine: installs the programs in a fresh
# application folder (its path holds a blank), starts Vornel.exe, checks the main
# window, saves a screenshot and closes the program with its close button.
# usage: tools/e2e.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
source "$(dirname "$0")/common.sh"

dir=$(cd "$1" && pwd)
shots=${2:-$build/screenshots}
arch=x86_64
case "$dir" in *i686*) arch=i686 ;; esac
mkdir -p "$shots"
ensure_wine_prefix

app="$WINEPREFIX/drive_c/Kestrava Test $arch"
rm -rf "$app"
mkdir -p "$app"
for program in Vornel Drainex ping; do
  [ -f "$dir/$program.exe" ] && cp "$dir/$program.exe" "$app/"
done
driver() { wine_run "$arch" "$dir/kestrava_driver.exe" "$@"; }
shot() { import -window root "$shots/$1-$arch.png" && echo "screenshot: $shots/$1-$arch.png"; }

wine_run "$arch" "$app/Vornel.exe" &
vornel=$!
trap 'kill $vornel 2>/dev/null || true' EXIT

geometry=$(driver wait Kestrava 60000) || { echo "the main window did not appear"; exit 1; }
read -r x y width height <<<"$geometry"
echo "main window at $x,$y size ${width}x${height}"
[ "$width" = 500 ] && [ "$height" = 367 ] || { echo "expected a 500x367 main window"; exit 1; }
sleep 1
shot main

driver click Kestrava 1005
for _ in $(seq 1 100); do
  kill -0 $vornel 2>/dev/null || break
  sleep 0.2
done
if kill -0 $vornel 2>/dev/null; then
  echo "Vornel did not end after its close button"
  exit 1
fi
wait $vornel || true
echo "end-to-end run of the $arch build passed"
