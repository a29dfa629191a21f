#!/usr/bin/env bash
# Builds everything: the native tree (tests, resource generator), the native
# sanitizer tree, and both Windows cross builds (Vornel.exe, Drainex.exe, test programs,
# the import audit), then packs each Windows build into out/dist.
# KESTRAVA_PROGRAMS_ONLY=1 builds only what a boost needs: the resource generator, the two
# programs with their audit, and the helper programs and the planted library that drive a
# boost under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"

native_targets=()
windows_targets=()
if [ "${KESTRAVA_PROGRAMS_ONLY:-0}" = 1 ]; then
  native_targets=(--target rcgen)
  windows_targets=(--target Vornel Drainex import_audit kestrava_driver kestrava_inspect kestrava_child ping planted_comctl32)
fi

cmake -S "$root" -B "$build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build/native" -j "$jobs" "${native_targets[@]}"

if [ "${KESTRAVA_SKIP_SANITIZE:-0}" != 1 ] && [ "${KESTRAVA_PROGRAMS_ONLY:-0}" != 1 ]; then
  cmake -S "$root" -B "$build/native-sanitize" -DCMAKE_BUILD_TYPE=Debug -DKESTRAVA_SANITIZE=ON >/dev/null
  cmake --build "$build/native-sanitize" --target kestrava_tests -j "$jobs"
fi

for arch in i686 x86_64; do
  dir="$build/win-$arch"
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$arch.cmake" -DKESTRAVA_RCGEN="$build/native/rcgen" >/dev/null
  cmake --build "$dir" -j "$jobs" "${windows_targets[@]}"
  python3 "$root/tools/package.py" "$arch" "$dir" "$dist" >/dev/null
done
