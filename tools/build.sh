#!/usr/bin/env bash
# Builds everything: the native tree (tests, resource generator), the native
# sanitizer tree, and both Windows cross builds (Vornel.exe, Drainex.exe, test programs).
set -euo pipefail
source "$(dirname "$0")/common.sh"

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs"

if [ "${KESTRAVA_SKIP_SANITIZE:-0}" != 1 ]; then
  cmake -S "$root" -B "$build/native-sanitize" -DCMAKE_BUILD_TYPE=Debug -DKESTRAVA_SANITIZE=ON >/dev/null
  cmake --build "$build/native-sanitize" --target kestrava_tests -j "$jobs"
fi

for arch in i686 x86_64; do
  dir="$build/win-$arch"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DKESTRAVA_RCGEN="$build/native/rcgen" >/dev/null
  cmake --build "$dir" -j "$jobs"
done
