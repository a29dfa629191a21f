#!/usr/bin/env bash
# Runs every test: the native tests (plain and with sanitizers), the artwork
# check, the rule-parser fuzzer, the tests of the real backend under Wine and
# the end-to-end runs of Vornel.exe and Drainex.exe under Wine in Xvfb.
set -uo pipefail
source "$(dirname "$0")/common.sh"

bash "$root/tools/setup.sh" || exit 1
echo "set-up done after $SECONDS s"
bash "$root/tools/build.sh" || { echo "build failed"; exit 1; }
echo "build done after $SECONDS s"

passed=0
failed=0
log_dir="$build/test-logs"
mkdir -p "$log_dir"

# Counts a GoogleTest run by its tests, anything else as one test.
record() {
  local name=$1 status=$2 log=$3 seconds=$4
  local ok bad
  ok=$(grep -Eo '^\[  PASSED  \] [0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -1)
  bad=$(grep -Eo '^[0-9]+ FAILED TESTS?' "$log" | grep -Eo '^[0-9]+' | tail -1)
  if [ -n "$ok" ] || [ -n "$bad" ]; then
    passed=$((passed + ${ok:-0}))
    failed=$((failed + ${bad:-0}))
    [ "$status" -ne 0 ] && [ -z "$bad" ] && failed=$((failed + 1))
  elif [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
  if [ "$status" -eq 0 ]; then
    echo "ok      $name (${seconds} s)"
  else
    echo "FAILED  $name (${seconds} s, log: $log)"
    tail -30 "$log"
  fi
}

step() {
  local name=$1
  shift
  local log="$log_dir/$name.log" started=$SECONDS
  "$@" >"$log" 2>&1
  record "$name" $? "$log" "$((SECONDS - started))"
}

step native "$build/native/kestrava_tests"
if [ -x "$build/native-sanitize/kestrava_tests" ]; then
  step sanitize env ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "$build/native-sanitize/kestrava_tests"
fi
step artwork python3 "$root/tools/art/check_art.py" "$build/win-x86_64/art"
[ -x "$root/tools/fuzz.sh" ] && step fuzz "$root/tools/fuzz.sh" 30
step import-audit python3 "$root/tests/tools/check_imports_test.py" "$build"

ensure_display 97
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; "$wineserver" -k 2>/dev/null' EXIT
ensure_wine_prefix

can_run_win32 || echo "note: 32-bit programs cannot run here, so the i686 steps fail (see tools/setup.sh)"
for arch in x86_64 i686; do
  loader=$wine64_loader
  [ "$arch" = i686 ] && loader=$wine32_loader
  dir="$build/win-$arch"
  if [ -f "$dir/kestrava_wine_tests.exe" ]; then
    cp "$dir/ping.exe" "$(system_ping "$arch")"
    step "wine-$arch" env LC_ALL=ko_KR.UTF-8 "$loader" "$dir/kestrava_wine_tests.exe"
  fi
  step "end-to-end-$arch" env KESTRAVA_WINE_LOADER="$loader" bash "$root/tools/e2e.sh" "$dir"
done

echo
echo "whole suite: $SECONDS s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
