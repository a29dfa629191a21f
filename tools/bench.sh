#!/usr/bin/env bash
# Benchmarks of the Release builds, each figure against a reference measured in the same run:
#   - one boost of the real 64-bit programs under Wine, by stage (tests/bench/BoostBench.cpp,
#     with the spy library it hooks into Vornel and the test ping's log of its runs), and the
#     memory release and whole boost once more with room for 8 GiB instead of 2 GiB;
#   - Drainex's release passes under Wine against a plain LocalAlloc/LocalFree loop;
#   - RegionFromBitmap on a 1920 x 1080 mask, native, against a plain read of the pixels;
#   - the CPU time of Vornel's Unix process while the running window is idle, while it waits
#     for a game with the main window hidden, and during the memory wait;
#   - what a boost does for a game started during it: next to two background programs that
#     each keep a processor busy, a stand-in launcher starts a stand-in game (kestrava_child
#     work), once (a) without a boost, (b) during a boost, and (c) with no background
#     programs at all; the game's rounds of work, (b) against (a) and (b) against (c);
#   - what a boost does for a game running when it is pressed: next to the same two programs,
#     a stand-in game with a borderless window over the screen (kestrava_child play) counts
#     its rounds before the boost and during it; during against before. `bench.sh game` runs
#     these two game sections alone.
#   - a boost on a busy desktop: the whole boost with its rules row and Drainex's passes,
#     option clear and ticked, the running window's idle CPU, the watch's walk and the CPU
#     while waiting for a game, and what the host charges for memory written the first time
#     (tests/bench/TouchBench.cpp, native), beside 150 background stand-ins
#     (kestrava_child waiting, half with a window), each row against the same row beside none.
#     `bench.sh scale` runs this section alone.
# Builds into build/bench with a Wine prefix of its own; starts Xvfb on :96 (or the next
# free display below it) when there is no display. Prints the table; the benchmarks' full output stays in build/bench/logs.
# Not part of tools/test.sh.
set -uo pipefail
source "$(dirname "$0")/common.sh"
# Windows programs start as in the end-to-end runs, through wine_run and tool_run: the
# 64-bit loader, the Korean code page, a time bound or, in the background, the address-space limit.
source "$root/tools/e2e/lib/run.sh"
loader=$wine64_loader
only=${1:-}

bench="$build/bench"
export WINEPREFIX="$bench/wineprefix"
logs="$bench/logs"
native="$bench/native"
windows="$bench/win-x86_64"
tools=$windows
app="$WINEPREFIX/drive_c/Kestrava Bench"
harness="$WINEPREFIX/drive_c/Kestrava Harness"
ping_log='C:\bench-ping.log'
debug_log='C:\debuglog.txt'
# The boost bench leaves the option that makes the boost follow the game ticked; each boost
# here starts with it clear.
options_file="$WINEPREFIX/drive_c/ProgramData/Kestrava/Options.txt"
# Drainex claims memory until this address-space limit of its Unix process stops it, as
# in the end-to-end runs, instead of claiming all but 100 MiB of the machine.
memory_limit_kb=${KESTRAVA_BENCH_MEMORY_LIMIT_KB:-2097152}

bash "$root/tools/setup.sh" >/dev/null || { echo "set-up failed"; exit 1; }
mkdir -p "$logs"
rm -f "$logs"/*.log "$logs"/*.load

echo "building Release (native and x86-64) ..."
{
  cmake -S "$root" -B "$native" -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$native" -j "$jobs" --target rcgen region_bench touch_bench &&
    cmake -S "$root" -B "$windows" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DKESTRAVA_RCGEN="$native/rcgen" &&
    cmake --build "$windows" -j "$jobs" \
      --target Vornel Drainex ping kestrava_child kestrava_driver bench_spy boost_bench release_bench
} >"$logs/build.log" 2>&1 || { tail -30 "$logs/build.log"; echo "build failed (log: $logs/build.log)"; exit 1; }
echo "built after $SECONDS s"

number=96  # the test command uses :97; the next free one below 96 otherwise
while [ -e "/tmp/.X$number-lock" ] && [ "$number" -gt 80 ]; do number=$((number - 1)); done
ensure_display "$number"
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  "$wineserver" -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
"$wineserver" -k 2>/dev/null
ensure_wine_prefix
# Without a window manager, Wine waits 2 s for every managed window it hides (the main
# window at the hand-off, the running window at the undo); in the bench prefix windows
# are unmanaged, so that those stages show the programs' own time.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  "$wineserver" -w
fi

# Runs a Windows program into a log, read as UTF-8 lines (it prints code page 949 and CR LF).
# The output goes to a file first: Wine's session processes, started by whichever program
# comes first, keep its output open.
wine_bench() {  # wine_bench LOG PROGRAM ARGUMENTS...
  local log=$1
  shift
  wine_run 300 "$@" >"$log.raw" 2>&1
  tr -d '\r' <"$log.raw" | iconv -f CP949 -t UTF-8 >"$log"
  rm -f "$log.raw"
}

# Starts a Windows program in the background, under the bench's address-space limit (its
# memory_limit_kb, which a caller may make local); its Unix process id in $last_pid.
start() {
  KESTRAVA_PING_LOG="$ping_log" wine_run background "$@" >/dev/null 2>&1
  last_pid=$!
  started+=("$last_pid")
}

driver() { tool_run 300 "$tools/kestrava_driver.exe" "$@" >/dev/null 2>&1; }
stop_started() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  started=()
  "$wineserver" -k 2>/dev/null
  "$wineserver" -w 2>/dev/null
}
# Starts a program with a window of the given title and waits until it shows, so that the
# windows lie in the order their programs were started.
start_shown() {  # start_shown TITLE PROGRAM [ARGUMENT...]
  local title=$1 program=$2
  shift 2
  start "$program" title "$title" "$@"
  driver wait "$title" 30000 || echo "no window \"$title\"" >&2
}
# The player starts Vornel from the Downloads folder: the window right beneath Vornel's is
# then Explorer's, whose program a boost never spares as the one used just before.
start_from_downloads() {
  start_shown Downloads "$app/explorer.exe"
  start "$app/Vornel.exe"
}

# The machine's busy CPU time, in clock ticks, from /proc/stat.
busy_ticks() { awk '$1 == "cpu" { print $2 + $3 + $4 + $7 + $8 + $9; exit }' /proc/stat; }

# Starts COUNT background stand-ins, every other one without a window, and waits until
# their start-up is over: each has run, and the whole machine (the X server and Wine's own
# processes, which go on drawing and placing new windows after the stand-ins are quiet) was
# busy less than 5 % of the last 2 s.
start_background() {  # start_background COUNT
  local i pids=() before now ran
  for ((i = 0; i < $1; i++)); do
    if ((i % 2)); then start "$app/background.exe" windowless; else start "$app/background.exe"; fi
    pids+=("$last_pid")
  done
  [ "$1" -gt 0 ] || return 0
  for _ in $(seq 1 150); do
    before=$(busy_ticks)
    sleep 2
    now=$(busy_ticks)
    ran=$(for pid in "${pids[@]}"; do cut -d')' -f2 "/proc/$pid/stat" 2>/dev/null; done |
      awk '$12 + $13 > 0 { ran++ } END { print ran + 0 }')
    [ "$ran" -ge "$1" ] && [ $((now - before)) -lt $((2 * 100 * $(nproc) / 20)) ] && break
  done
}

# One boost, with Drainex's address space capped at LIMIT_KB, into LOG; beside BACKGROUND
# stand-ins (none unless given), with the suspend option clear or ticked. Given BACKGROUND,
# the log also gets the host's row for memory written the first time, after the boost.
bench_boost() {  # bench_boost LIMIT_KB LOG [BACKGROUND [clear|ticked]]
  local memory_limit_kb=$1 log=$2 background=${3:-0} option=${4:-clear}
  rm -rf "$app"
  rm -f "$options_file"
  mkdir -p "$app"
  cp "$windows/Vornel.exe" "$windows/Drainex.exe" "$app/"
  cp "$windows/ping.exe" "$(system_ping x86_64)"
  cp "$windows/kestrava_child.exe" "$app/msnmsgr.exe"
  cp "$windows/kestrava_child.exe" "$app/plainchild.exe"
  cp "$windows/kestrava_child.exe" "$app/background.exe"
  cp "$windows/kestrava_child.exe" "$app/explorer.exe"
  # The harness goes by the name of a program a boost leaves running, as the option ticked
  # would suspend it otherwise.
  rm -rf "$harness"
  mkdir -p "$harness"
  cp "$windows/boost_bench.exe" "$harness/taskmgr.exe"
  cp "$windows/bench_spy.dll" "$harness/"
  rm -f "$WINEPREFIX/drive_c/debuglog.txt" "$WINEPREFIX/drive_c/bench-ping.log"
  start "$app/msnmsgr.exe"
  start "$app/plainchild.exe"
  child_pid=$last_pid
  start_background "$background"
  start_from_downloads
  vornel_pid=$last_pid
  local ticked=0
  [ "$option" = ticked ] && driver wait Kestrava 60000 && driver click Kestrava 1003 &&
    driver answer "모든 프로세스" 1 10000 &&
    ticked=$(tool_run 60 "$tools/kestrava_driver.exe" check Kestrava 1003 2>/dev/null | tr -d '\r')
  if [ "$option" = ticked ] && [ "$ticked" != 1 ]; then
    echo "boost bench: the suspend option could not be ticked" >"$log"
  else
    echo "load before the boost: $(uptime)" >"${log%.log}.load"
    (cd "$harness" && wine_bench "$log" ./taskmgr.exe "$vornel_pid" "$child_pid" "$ping_log" "$debug_log" \
      "Z:${logs//\//\\}\\$(basename "$log" .log)-records.tsv")
    echo "load after the boost: $(uptime)" >>"${log%.log}.load"
    # Beside the same programs: what memory as much as Drainex may claim costs the host.
    [ $# -ge 3 ] && "$native/touch_bench" $((memory_limit_kb / 1024)) >>"$log" 2>&1
  fi
  stop_started
}

if [ -z "$only" ]; then
echo "RegionFromBitmap (native) ..."
"$native/region_bench" >"$logs/region.log" 2>&1

echo "Drainex's release passes under Wine ..."
(cd "$windows" && wine_bench "$logs/release.log" ./release_bench.exe)

echo "one boost under Wine (with 10 s of idle running window) ..."
bench_boost "$memory_limit_kb" "$logs/boost.log"

# Drainex claims at most 2 GiB whatever the machine has: with room for 8 GiB the memory
# release should take about as long as under the usual cap.
echo "one boost under Wine with an 8 GiB address-space cap ..."
bench_boost 8388608 "$logs/boost-8gib.log"
awk -F'\t' '
  BEGIN { print "SECTION\tthe boost with room for 8 GiB (Drainex stops at 2 GiB)" }
  $1 == "ROW" && ($2 ~ /^memory release/ || $2 ~ /^whole boost/) { print }' \
  "$logs/boost-8gib.log" >"$logs/boost-8gib-rows.log"
fi

if [ -z "$only" ] || [ "$only" = game ]; then
# --- A game started during a boost ---
game_seconds=5
game_result="$WINEPREFIX/drive_c/bench-game.txt"
game_flag="$WINEPREFIX/drive_c/bench-launch.flag"
# Waits for the stand-in game's result file and prints it (nothing after the time-out).
read_result() {  # read_result FILE
  for _ in $(seq 1 $((game_seconds * 10 + 300))); do
    [ -s "$1" ] && break
    sleep 0.1
  done
  tr -d '\r' 2>/dev/null <"$1"
}
# Closes the running window, then Vornel.
end_bench_boost() {
  driver click "Kestrava가 적용 되었습니다..." 1005
  driver gone "Kestrava가 적용 되었습니다..." 20000
  driver wait Kestrava 20000 && sleep 1 && driver click Kestrava 1005
}
# Prints the game's rounds: game_rounds THREADS BACKGROUND(0|1) BOOST(0|1)
game_rounds() {
  local threads=$1 background=$2 boosted=$3
  rm -f "$game_result" "$game_flag"
  if [ "$background" = 1 ]; then
    start_shown "kestrava busy one" "$app/busyone.exe" spin 1
    start_shown "kestrava busy two" "$app/busytwo.exe" spin 1
  fi
  start_shown "kestrava launcher" "$app/launcher.exe" launch 'C:\bench-launch.flag' "C:\Kestrava Bench\game.exe" \
    work "$threads" "$game_seconds" 'C:\bench-game.txt'
  if [ "$boosted" = 1 ]; then
    rm -rf "$app/Restore"  # no journal of an earlier run to recover at the start
    rm -f "$options_file"
    start_from_downloads
    driver wait Kestrava 60000 && driver click Kestrava 1004 &&
      driver wait "Kestrava가 적용 되었습니다..." 240000 || { echo "no boost" >&2; stop_started; return 1; }
  else
    sleep 2
  fi
  touch "$game_flag"
  local rounds
  rounds=$(read_result "$game_result")
  [ -n "$rounds" ] || echo "no result from the game ($threads threads, background $background, boost $boosted)" >&2
  [ "$boosted" = 1 ] && end_bench_boost
  stop_started
  echo "${rounds:-0}"
}

echo "a game started during a boost (three runs of ${game_seconds} s per game) ..."
rm -rf "$app"
mkdir -p "$app"
cp "$windows/Vornel.exe" "$windows/Drainex.exe" "$app/"
cp "$windows/ping.exe" "$(system_ping x86_64)"
for name in busyone busytwo launcher game explorer; do cp "$windows/kestrava_child.exe" "$app/$name.exe"; done
{
  printf 'SECTION\tA game started during a boost, next to two busy background programs (%s processors)\n' "$(nproc)"
  for threads in 1 "$(nproc)"; do
    a=$(game_rounds "$threads" 1 0)
    b=$(game_rounds "$threads" 1 1)
    c=$(game_rounds "$threads" 0 0)
    echo "game with $threads busy threads: (a) $a, (b) $b, (c) $c rounds"
    label="one busy thread"
    [ "$threads" != 1 ] && label="a busy thread per processor ($threads)"
    awk -v a="$a" -v b="$b" -v c="$c" -v label="$label" 'BEGIN {
      printf "ROW\t%s: (b) during / (a) without a boost\t%.0f M\t%.0f M\t%s\n", label, b / 1e6, a / 1e6, (a > 0 ? sprintf("%.3g", b / a) : "-")
      printf "ROW\t%s: (b) during a boost / (c) no background\t%.0f M\t%.0f M\t%s\n", label, b / 1e6, c / 1e6, (c > 0 ? sprintf("%.3g", b / c) : "-")
    }'
  done
} >"$logs/game.log" 2>&1

# --- A game running when the boost is pressed ---
play_result="$WINEPREFIX/drive_c/bench-play.txt"
play_flag="$WINEPREFIX/drive_c/bench-play.flag"
# Prints the game's rounds before and during a boost: running_game_rounds THREADS
running_game_rounds() {
  local threads=$1
  rm -f "$play_result" "$play_flag"
  start_shown "kestrava busy one" "$app/busyone.exe" spin 1
  start_shown "kestrava busy two" "$app/busytwo.exe" spin 1
  # The player switches from the game to Vornel: the game's window lies right beneath Vornel's.
  start "$app/game.exe" play "$threads" "$game_seconds" 'C:\bench-play.txt' 'C:\bench-play.flag'
  driver wait "kestrava game" 30000 || echo "no game window" >&2
  rm -rf "$app/Restore"
  start "$app/Vornel.exe"
  driver wait Kestrava 60000 || { echo "no main window" >&2; stop_started; return 1; }
  sleep $((game_seconds + 2))  # the loading second and the rounds before the boost
  driver click Kestrava 1004 && driver wait "Kestrava가 적용 되었습니다..." 240000 ||
    { echo "no boost" >&2; stop_started; return 1; }
  touch "$play_flag"
  local rounds
  rounds=$(read_result "$play_result")
  [ -n "$rounds" ] || echo "no result from the running game ($threads threads)" >&2
  end_bench_boost
  stop_started
  echo "${rounds:-0 0}"
}

echo "a game running when the boost is pressed (two spans of ${game_seconds} s per game) ..."
{
  printf 'SECTION\tA game running when the boost is pressed, next to two busy background programs (%s processors)\n' "$(nproc)"
  for threads in 1 "$(nproc)"; do
    read -r before during <<<"$(running_game_rounds "$threads")"
    echo "running game with $threads busy threads: before $before, during $during rounds (load $(cut -d' ' -f1-3 /proc/loadavg))"
    label="one busy thread"
    [ "$threads" != 1 ] && label="a busy thread per processor ($threads)"
    awk -v a="${before:-0}" -v b="${during:-0}" -v label="$label" 'BEGIN {
      printf "ROW\t%s: during / before the boost\t%.0f M\t%.0f M\t%s\n", label, b / 1e6, a / 1e6, (a > 0 ? sprintf("%.3g", b / a) : "-")
    }'
  done
} >"$logs/running-game.log" 2>&1
fi

if [ -z "$only" ] || [ "$only" = scale ]; then
# --- A boost on a busy desktop ---
echo "a boost beside 0 and 150 background stand-ins, option clear and ticked (four boosts) ..."
for count in 0 150; do
  for option in clear ticked; do
    bench_boost "$memory_limit_kb" "$logs/scale-$count-$option.log" "$count" "$option"
  done
done
{
  printf 'SECTION\ta boost beside 150 background stand-ins (half with a window) against one beside none\n'
  for option in clear ticked; do
    # The rows of the run beside none (first file) and beside 150 (second), 150 against 0;
    # durations with their difference, the idle CPU as a share of the wall time.
    awk -F'\t' -v option="$option" '
      function ms(text, parts) { split(text, parts, " "); return parts[2] == "s" ? parts[1] * 1000 : parts[1] }
      $1 != "ROW" { next }
      { at = FILENAME == ARGV[1] ? 0 : 150; key = "" }
      $2 ~ /^whole boost/ { key = "whole boost" }
      $2 ~ /of which the program/ { key = "  of which the program own time" }
      $2 ~ /^rules:/ { key = "rules"; rules = substr($2, 8) }
      $2 ~ /^running window open and idle/ { key = "running window idle: CPU share"; $3 = sprintf("%.2f %%", $5 * 100) }
      $2 ~ /^main window hidden, waiting/ { key = "waiting for a game: CPU share"; $3 = sprintf("%.2f %%", $5 * 100) }
      $2 ~ /^memory release/ { key = "memory release: Drainex passes"; $3 = $4; sub(/^Drainex passes /, "", $3) }
      $2 ~ /^the watch.s walk/ { key = "the watch walk, mean" }
      $2 ~ /^host: first write/ { key = $2 }
      key == "" { next }
      !(key in first) { first[key] = 1; order[++keys] = key }
      { value[key, at] = $3 }
      END {
        for (i = 1; i <= keys; i++) {
          key = order[i]
          if (!((key, 0) in value) || !((key, 150) in value)) continue
          label = key == "rules" ? "rules (" rules " at 150)" : key
          change = ms(value[key, 150]) - ms(value[key, 0])
          change = key ~ /CPU share/ ? "" : change * change >= 1e6 ? sprintf("%+.2f s", change / 1000) : sprintf("%+.1f ms", change)
          printf "ROW\t%s, option %s\t%s\tat 0: %s\t%s\n", label, option, value[key, 150], value[key, 0], change
        }
      }' "$logs/scale-0-$option.log" "$logs/scale-150-$option.log"
  done
  for log in "$logs"/scale-*-*.load; do
    echo "$(basename "$log" .load):"
    sed 's/^/  /' "$log"
  done
} >"$logs/scale.log" 2>&1
fi

tables=(boost.log boost-8gib-rows.log release.log region.log game.log running-game.log scale.log)
checked=(boost boost-8gib release region game running-game scale-0-clear scale-0-ticked scale-150-clear scale-150-ticked)
details=(boost.log release.log region.log game.log running-game.log scale.log)
if [ "$only" = scale ]; then
  tables=(scale.log)
  checked=(scale-0-clear scale-0-ticked scale-150-clear scale-150-ticked)
  details=(scale.log)
elif [ "$only" = game ]; then
  tables=(game.log running-game.log)
  checked=(game running-game)
  details=(game.log running-game.log)
fi
echo
echo "Kestrava benchmarks, $(date '+%Y-%m-%d %H:%M'), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
awk -F'\t' '
  $1 == "SECTION" { printf "\n%s\n", $2; next }
  $1 == "ROW" { printf "  %-52s %12s   %-28s %8s\n", $2, $3, $4, $5 }' \
  "${tables[@]/#/$logs/}"
for log in "${checked[@]}"; do
  grep -q $'^ROW\t' "$logs/$log.log" || { echo; echo "$log benchmark failed:"; tail -5 "$logs/$log.log"; }
done
echo
grep -v -e $'^ROW\t' -e $'^SECTION\t' "${details[@]/#/$logs/}" --no-filename | sed '/^$/d'
echo
echo "whole run: $SECONDS s (logs and the spy's records: $logs)"
