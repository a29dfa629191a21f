#!/usr/bin/env bash
# End-to-end runs of one Windows build under Wine, driven like a user by
# kestrava_driver.exe and checked with kestrava_inspect.exe:
#   - a boost with the suspend option clear (graphics profile) and one with it ticked (fast profile):
#     display values, TCP/IP values and backup file written, Drainex ran and the bar moved,
#     the catalogue program (or every unprotected one) suspended during the boost and running
#     again after it, priorities and masks back after the undo, the debug log, and the running
#     window's packet size, memory and process count;
#   - faults: no Drainex.exe, no system ping, and a child that exits mid-boost;
#   - a program planted as ping.exe beside Vornel: the boost uses the system's ping and the
#     planted program never runs;
#   - a COMCTL32.dll planted beside Vornel and Drainex, with the load order Windows gives a
#     library it does not know (planted first): it is never loaded and the boost completes;
#   - another program in place of Drainex.exe: it never runs, a message box says so once, and
#     the boost completes without the memory step;
#   - a hard kill of Vornel during a boost: the next start puts the suspended program back;
#   - the settings restore: two boosts with different profiles, then the main window's restore
#     button; the display and TCP/IP keys exported before and after are the same, byte for byte;
#   - the download package of the build (out/dist): its contents, and the boost with the
#     option clear run from the programs it unpacks to;
#   - game-start: a launcher running at the boost starts a game during it; the game runs on
#     every processor at the normal class, a voice program keeps its class and mask, and the
#     undo gives the launcher back its state from before the boost.
# The test ping stands where the system's ping lives (tools/common.sh, system_ping).
# The application folder's path holds blanks. The Wine processes run under an address-space
# limit, so Drainex cannot claim the memory of the machine the tests run on.
# usage: tools/e2e.sh BUILD_DIR [SCREENSHOT_DIR [SCENARIO...]]
#   SCENARIO: clear ticked no-helper no-ping exiting-child killed restore package planted
#             planted-library swapped-helper game-start (default: all)
set -uo pipefail
source "$(dirname "$0")/common.sh"

dir=$(cd "$1" && pwd)
shots=${2:-$build/screenshots}
scenarios=("${@:3}")
[ ${#scenarios[@]} -eq 0 ] && scenarios=(clear ticked no-helper no-ping exiting-child killed restore package planted
  planted-library swapped-helper game-start)
arch=x86_64
case "$dir" in *i686*) arch=i686 ;; esac
package=$(python3 "$root/tools/package.py" "$arch" "$dir" "$dist" --name)
loader=${KESTRAVA_WINE_LOADER:-$wine64_loader}
mkdir -p "$shots"
"$wineserver" -k 2>/dev/null
ensure_wine_prefix
app="$WINEPREFIX/drive_c/Kestrava Test $arch"
# Where Vornel keeps its backups, records and journal on the NT family: the all-users
# application data (C:\ProgramData under Wine).
state="$WINEPREFIX/drive_c/ProgramData/Kestrava"
system_ping=$(system_ping "$arch")
boost_title="Kestrava가 적용 되었습니다..."
tcpip_key='HKLM\System\CurrentControlSet\Services\Tcpip\Parameters'
log="$WINEPREFIX/drive_c/debuglog.txt"
# 6 GiB: under qemu's emulation a 32-bit Wine process needs more than 4 GiB of address space.
memory_limit_kb=6291456

rows=()
failures=0
started=()

# Windows programs print code page 949 and CR LF; the checks read UTF-8 lines.
# Every call is bounded, so a hung program fails its check instead of the whole run.
driver() { LC_ALL=ko_KR.UTF-8 timeout 300 "$loader" "$dir/kestrava_driver.exe" "$@" | tr -d '\r' | iconv -f CP949 -t UTF-8; }
inspect() { LC_ALL=ko_KR.UTF-8 timeout 60 "$loader" "$dir/kestrava_inspect.exe" "$@" | tr -d '\r'; }
reg() { LC_ALL=ko_KR.UTF-8 timeout 60 "$loader" reg "$@" >/dev/null 2>&1; }
start() {
  (ulimit -v $memory_limit_kb; exec env LC_ALL=ko_KR.UTF-8 "$loader" "$@" >/dev/null 2>&1) &
  started+=($!)
}
stop_all() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null; done
  started=()
}
trap stop_all EXIT

scenario=""
problems=()
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if ! "$@"; then
    problems+=("$what")
    echo "  FAILED: $what"
  fi
}
begin() {
  scenario=$1
  problems=()
  echo "== $arch: $scenario"
}
# Each scenario ends with a fresh Wine session, so nothing one leaves behind (a process
# still suspended after a failure, say) reaches the next.
finish() {
  stop_all
  "$wineserver" -k 2>/dev/null
  "$wineserver" -w 2>/dev/null
  if [ ${#problems[@]} -eq 0 ]; then
    rows+=("$(printf '%-40s %s' "$scenario" passed)")
  else
    rows+=("$(printf '%-40s FAILED (%s)' "$scenario" "$(IFS=';'; echo "${problems[*]}")")")
    failures=$((failures + 1))
  fi
}
shot() { import -window root "$shots/$1-$arch.png" 2>/dev/null && echo "  screenshot: $shots/$1-$arch.png"; }

# The test ping goes where the system's ping lives, and leaves it when not named.
install_app() {  # install_app PROGRAM...
  rm -rf "$app"
  rm -rf "$state"
  mkdir -p "$app"
  rm -f "$system_ping"
  for program in "$@"; do
    if [ "$program" = ping ]; then
      cp "$dir/ping.exe" "$system_ping"
    else
      cp "$dir/$program.exe" "$app/"
    fi
  done
  cp "$dir/kestrava_child.exe" "$app/msnmsgr.exe"
  cp "$dir/kestrava_child.exe" "$app/plainchild.exe"
  rm -f "$log"
}

# Unpacks the download package into the application folder, with the test ping and the
# children as in the other scenarios.
install_package() {
  install_app ping
  python3 -m zipfile -e "$package" "$app"
}

# The how-to opens in Notepad on a Korean Windows: code page 949, every line ended by CR LF.
readme_readable() {
  local readme="$app/README.txt"
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] &&
    iconv -f CP949 -t UTF-8 "$readme" | grep -q '관리자 권한' &&
    iconv -f CP949 -t UTF-8 "$readme" | grep -qF 'C:\ProgramData\Kestrava' &&
    iconv -f CP949 -t UTF-8 "$readme" | grep -qF '"설정 복원"'
}

clear_written_values() {
  local key
  key=$(inspect display | sed -n 's/^key //p')
  for value in D3D_88481200 D3DOGL_74095213 D3D_98764205 OGL_MaxFramesAllowed OGL_QualityEnhancements \
    OGL_RenderQualityFlags D3D_36759435 OGL_563A95F1 OGL_01887890 OGL_1190801a D3D_46205529; do
    [ -n "$key" ] && reg delete "HKLM\\$key" /v "$value" /f
  done
  for value in SackOpts TcpWindowSize Tcp1323Opts DefaultTTL EnablePMTUBHDetect EnablePMTUDiscovery \
    GlobalMaxTcpWindowSize TcpMaxDupAcks; do
    reg delete "$tcpip_key" /v "$value" /f
  done
}

# Starts the two children and Vornel; sets catalogue_pid, plain_pid and the children's masks.
start_programs() {
  start "$app/msnmsgr.exe"
  start "$app/plainchild.exe"
  start "$app/Vornel.exe"
  local geometry
  geometry=$(driver wait Kestrava 60000)
  read -r _ _ width height <<<"$geometry"
  check "main window 500x367 (got ${width:-none}x${height:-none})" test "${width:-}x${height:-}" = 500x367
  catalogue_pid=$(inspect pid msnmsgr.exe | head -1)
  plain_pid=$(inspect pid plainchild.exe | head -1)
  catalogue_before=$(inspect process "$catalogue_pid")
  plain_before=$(inspect process "$plain_pid")
}

field() { sed -n "s/^$1 //p" <<<"$2"; }

expect_process() {  # expect_process NAME STATE PRIORITY AFFINITY SUSPENDED
  local state=$2
  check "$1 priority $3" test "$(field priority "$state")" = "$3"
  check "$1 affinity $4" test "$(field affinity "$state")" = "$4"
  check "$1 suspended $5" test "$(field suspended "$state")" = "$5"
}

# Presses boost and waits for the running window, recording the bar's positions, and
# with a name takes a screenshot of that name while the memory release moves the bar.
# The watcher itself may be suspended by the boost, so it is ended rather than waited for.
boost() {  # boost [SHOT]
  (exec env LC_ALL=ko_KR.UTF-8 "$loader" "$dir/kestrava_driver.exe" watch Kestrava 1000 "$boost_title" 240000 \
    >"$build/e2e-bar.txt") &
  local watcher=$!
  sleep 0.5
  driver click Kestrava 1004
  # With the option ticked every unprotected process is suspended, a waiting driver
  # too, so the window is looked for by short-lived drivers.
  local shown=1
  local bar_shot=${1:-}
  for _ in $(seq 1 120); do
    if [ -n "$bar_shot" ]; then
      local position
      position=$(driver progress Kestrava 1000 2>/dev/null)
      if [ "${position:-0}" -gt 20 ] 2>/dev/null && [ "$position" -lt 100 ]; then
        shot "$bar_shot"
        bar_shot=""
      fi
    fi
    if LC_ALL=ko_KR.UTF-8 timeout 10 "$loader" "$dir/kestrava_driver.exe" wait "$boost_title" 1000 >/dev/null 2>&1; then
      shown=0
      break
    fi
  done
  sleep 0.5
  kill $watcher 2>/dev/null
  wait $watcher 2>/dev/null
  tr -d '\r' <"$build/e2e-bar.txt" >"$build/e2e-bar-lines.txt"
  return $shown
}

# Closes the running window and waits until the main window is back and the undo has run.
end_boost() {
  driver click "$boost_title" 1005
  driver gone "$boost_title" 20000
  driver wait Kestrava 20000 >/dev/null
  for _ in $(seq 1 50); do
    [ "$(driver progress Kestrava 1000)" = 0 ] && return 0
    sleep 0.2
  done
  return 1
}

# Clicks the close button until Vornel has ended, as a user would click again when a
# click was lost (say, while the window was still disabled by a message box).
close_vornel() {
  for _ in $(seq 1 10); do
    driver click Kestrava 1005 >/dev/null 2>&1
    for _ in $(seq 1 10); do
      pgrep -f "Kestrava Test $arch/Vornel.exe" >/dev/null || return 0
      sleep 0.2
    done
  done
  return 1
}

expected_display() {
  local fast=$1
  if [ "$fast" = 1 ]; then
    printf '%s\n' "D3D_88481200 00 00 00 00" "D3DOGL_74095213 01 00 00 00" "D3D_98764205 02 00 00 00" \
      "OGL_MaxFramesAllowed 02 00 00 00" "OGL_QualityEnhancements 00 00 00 00" "OGL_RenderQualityFlags 00 00 00 00"
  else
    printf '%s\n' "D3D_88481200 E8 FF FF FF" "D3DOGL_74095213 02 00 00 10" "D3D_98764205 04 00 00 00" \
      "OGL_MaxFramesAllowed 04 00 00 00" "OGL_QualityEnhancements F6 FF FF FF" "OGL_RenderQualityFlags 08 00 00 00"
  fi
  printf '%s\n' "D3D_36759435 01 91 82 24" "OGL_563A95F1 B4 8C 19 34" "OGL_01887890 01 00 00 00" \
    "OGL_1190801a 01 00 00 00" "D3D_46205529 55 49 20 88"
}

bar_moved() { awk '$1 > 20 && $1 < 100 { moved = 1 } END { exit !moved }' "$build/e2e-bar-lines.txt"; }
log_has() { grep -qF "$1" "$log"; }

boost_scenario() {  # boost_scenario ticked(0|1) [package]
  local ticked=$1
  local fast=$ticked
  local from=${2:-}
  begin "${from:+$from: }boost, suspend option $([ "$ticked" = 1 ] && echo ticked || echo clear)"
  if [ "$from" = package ]; then
    check "package holds Vornel.exe, Drainex.exe and README.txt" diff \
      <(python3 -m zipfile -l "$package" | awk 'NR > 1 { print $1 }' | sort) <(printf '%s\n' Drainex.exe README.txt Vornel.exe)
    install_package
    check "README.txt in code page 949 with CR LF" readme_readable
  else
    install_app Vornel Drainex ping
  fi
  clear_written_values
  start_programs
  [ "$fast" = 1 ] || driver click Kestrava 1009
  if [ "$ticked" = 1 ]; then
    driver click Kestrava 1003
    check "suspend warning answered" driver answer "모든 프로세스" 1 10000
  fi
  check "running window shown" boost "${from:+$from-}progress"
  shot "${from:+$from-}boost-$([ "$ticked" = 1 ] && echo ticked || echo clear)"

  check "display values of the $([ "$fast" = 1 ] && echo fast || echo graphics) profile" \
    diff <(inspect display | grep -v '^key ') <(expected_display "$fast")
  check "TCP/IP values" diff <(inspect tcpip) <(printf '%s\n' "SackOpts 1" "TcpWindowSize 372320" "Tcp1323Opts 1" \
    "DefaultTTL 64" "EnablePMTUBHDetect 0" "EnablePMTUDiscovery 1" "GlobalMaxTcpWindowSize 372320" "TcpMaxDupAcks 2")
  local backup
  backup=$(ls "$state/NetOpti/" 2>/dev/null | grep -E '^[0-9]+년[0-9]+월[0-9]+일[0-9]+시[0-9]+분[0-9]+초\.nbk$' | head -1)
  check "backup file under ProgramData\\Kestrava\\NetOpti" test -n "$backup"
  check "backup holds the old values" grep -q $'^SackOpts\r$' "$state/NetOpti/$backup"
  check "the bar moved during the memory release" bar_moved
  check "network line shows 1472" test "$(driver text "$boost_title" 1011)" = "인터넷 : 1472 로 최적화"
  check "memory line shows the available memory" grep -qE '^메모리 : [1-9][0-9]*MB 사용가능$' <<<"$(driver text "$boost_title" 1012)"
  check "process line counts the processes" grep -qE '^프로세스 : ([3-9]|[1-9][0-9]+) 개 최적화$' <<<"$(driver text "$boost_title" 1013)"

  local last_cpu
  last_cpu=$(( $(field affinity "$catalogue_before") ))
  last_cpu=$(awk -v m="$last_cpu" 'BEGIN { b = 1; while (b * 2 <= m) b *= 2; print b }')
  expect_process "catalogue program during the boost" "$(inspect process "$catalogue_pid")" 64 "$last_cpu" 1
  expect_process "other program during the boost" "$(inspect process "$plain_pid")" 64 "$last_cpu" "$ticked"
  check "log: priority rule" log_has "ExecuteRuleRoutine: Function = [priority]"
  check "log: lowered priority" log_has "clsEnhance.SetProcessPriorityToLow:msnmsgr.exe"
  check "log: last-processor mask" log_has "clsEnhance.SetProcessAffinity: msnmsgr.exe($(printf '%x' "$last_cpu"))"
  check "log: catalogue program suspended" log_has "clsEnhance.SuspendProcess:msnmsgr.exe"
  if [ "$ticked" = 1 ]; then
    check "log: windows hidden" log_has "clsEnhance.HideProcessWindow:plainchild.exe"
  fi

  check "the boost ends when the running window closes" end_boost
  expect_process "catalogue program after the undo" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  expect_process "other program after the undo" "$(inspect process "$plain_pid")" \
    "$(field priority "$plain_before")" "$(field affinity "$plain_before")" 0
  shot "${from:+$from-}main-after-boost"
  check "Vornel ends with its close button" close_vornel
  finish
}

missing_helper_scenario() {
  begin "fault: no Drainex.exe"
  install_app Vornel ping
  start_programs
  check "running window shown without the helper" boost
  check "the boost ends when the running window closes" end_boost
  expect_process "catalogue program after the undo" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  check "Vornel ends with its close button" close_vornel
  finish
}

missing_ping_scenario() {
  begin "fault: no system ping"
  install_app Vornel Drainex
  start_programs
  driver click Kestrava 1004
  check "the unstable-network question is asked" driver answer "계속 하시겠습니까" 7 120000
  sleep 2
  check "the run stops at the probe (bar back at 0)" test "$(driver progress Kestrava 1000)" = 0
  check "no running window" driver gone "$boost_title" 1000
  check "no backup folder" test ! -e "$state/NetOpti"
  expect_process "catalogue program untouched" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  check "Vornel ends with its close button" close_vornel
  finish
}

exiting_child_scenario() {
  begin "fault: a child exits mid-boost"
  install_app Vornel Drainex ping
  start_programs
  check "running window shown" boost
  kill "${started[1]}" 2>/dev/null
  check "the boost ends when the running window closes" end_boost
  expect_process "remaining program after the undo" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  check "Vornel ends with its close button" close_vornel
  finish
}

# Vornel is killed (SIGKILL, no undo) while the running window shows: the catalogue program
# stays suspended until Vornel starts again, says so once and puts it back from the journal.
killed_boost_scenario() {
  begin "fault: Vornel killed during a boost"
  install_app Vornel Drainex ping
  start_programs
  local journal="$state/BoostJournal.txt"
  local message="이전 부스트가 정상적으로 끝나지 않아"
  check "running window shown" boost
  check "the journal names the catalogue program" grep -q "^record $catalogue_pid .* msnmsgr.exe #" "$journal"
  pkill -KILL -f "Kestrava Test $arch/Vornel.exe"
  local gone=1
  for _ in $(seq 1 50); do
    pgrep -f "Kestrava Test $arch/Vornel.exe" >/dev/null || { gone=0; break; }
    sleep 0.2
  done
  check "Vornel killed" test $gone = 0
  local after_kill
  after_kill=$(inspect process "$catalogue_pid")
  check "catalogue program still suspended after the kill" test "$(field suspended "$after_kill")" = 1
  check "catalogue program still idle after the kill" test "$(field priority "$after_kill")" = 64

  start "$app/Vornel.exe"
  check "the recovery message is captioned Kestrava" test "$(driver caption "$message" 60000)" = Kestrava
  shot "recovery-message"
  check "the recovery message is answered" driver answer "$message" 1 10000
  local shown=1
  for _ in $(seq 1 50); do
    [ "$(driver wait Kestrava 1000 | cut -d' ' -f3-)" = "500 367" ] && { shown=0; break; }
    sleep 0.2
  done
  check "the main window opens after the message" test $shown = 0
  expect_process "catalogue program after the recovery" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  expect_process "other program after the recovery" "$(inspect process "$plain_pid")" \
    "$(field priority "$plain_before")" "$(field affinity "$plain_before")" 0
  check "the journal is removed" test ! -e "$journal"
  check "Vornel ends with its close button" close_vornel
  finish
}

# A program that would stay running, planted as ping.exe where Vornel was unpacked. Were it
# started in place of the system's ping, the probe would wait on it for ever.
planted_ping_scenario() {
  begin "planted: ping.exe beside Vornel"
  install_app Vornel Drainex ping
  cp "$dir/kestrava_child.exe" "$app/ping.exe"
  start_programs
  check "running window shown" boost
  check "network line shows 1472" test "$(driver text "$boost_title" 1011)" = "인터넷 : 1472 로 최적화"
  check "the planted program never ran" test -z "$(inspect pid ping.exe)"
  check "the boost ends when the running window closes" end_boost
  check "Vornel ends with its close button" close_vornel
  finish
}

# The planted library's trace is named after the path it was loaded by, in whatever letter case.
planted_library_unused() { ! ls "$app" | grep -qi '^comctl32\.dll\.loaded$'; }

# A COMCTL32.dll planted beside both programs, which leaves a trace when loaded; Wine is told to
# prefer it to its own, as Windows does for a library that is not a known DLL.
planted_library_scenario() {
  begin "planted: COMCTL32.dll beside Vornel and Drainex"
  install_app Vornel Drainex ping
  cp "$dir/planted_comctl32.dll" "$app/COMCTL32.dll"
  local overrides=$WINEDLLOVERRIDES
  export WINEDLLOVERRIDES="$overrides;comctl32=n,b"
  start_programs
  check "running window shown" boost
  check "the bar moved during the memory release" bar_moved
  check "the planted COMCTL32.dll was never loaded" planted_library_unused
  check "the boost ends when the running window closes" end_boost
  check "Vornel ends with its close button" close_vornel
  export WINEDLLOVERRIDES="$overrides"
  finish
}

window_shown() { driver wait "$@" >/dev/null; }

# Another program, one that would stay running, in place of Drainex.exe: Vornel does not start
# it, says so once, and the boost goes on without the memory step.
swapped_helper_scenario() {
  begin "swapped: another program as Drainex.exe"
  install_app Vornel ping
  cp "$dir/kestrava_child.exe" "$app/Drainex.exe"
  start_programs
  local message="함께 배포된 파일이 아닙니다"
  driver click Kestrava 1004
  check "the foreign helper is reported, captioned Kestrava" test "$(driver caption "$message" 120000)" = Kestrava
  shot "swapped-helper-message"
  check "the report is answered" driver answer "$message" 1 10000
  check "running window shown" window_shown "$boost_title" 60000
  shot "swapped-helper-boost"
  check "the program in place of Drainex.exe never ran" test -z "$(inspect pid Drainex.exe)"
  check "the boost ends when the running window closes" end_boost
  check "a second boost completes without a second report" boost
  check "the program in place of Drainex.exe never ran" test -z "$(inspect pid Drainex.exe)"
  check "the second boost ends" end_boost
  check "Vornel ends with its close button" close_vornel
  finish
}

# Exports the display adapter's key and the TCP/IP key into reg files named after a moment.
export_settings() {  # export_settings MOMENT
  [ -n "$display_key" ] || return 1
  mkdir -p "$WINEPREFIX/drive_c/kestrava-e2e"
  LC_ALL=ko_KR.UTF-8 timeout 60 "$loader" reg export "HKLM\\$display_key" "C:\\kestrava-e2e\\display-$1.reg" /y \
    >/dev/null 2>&1 &&
    LC_ALL=ko_KR.UTF-8 timeout 60 "$loader" reg export "$tcpip_key" "C:\\kestrava-e2e\\tcpip-$1.reg" /y >/dev/null 2>&1
}
same_export() { cmp "$WINEPREFIX/drive_c/kestrava-e2e/$1-before.reg" "$WINEPREFIX/drive_c/kestrava-e2e/$1-after.reg"; }

restore_report_ok() {
  grep -qE '^설정 [1-9][0-9]*개를 되돌렸습니다\. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다\.$' <<<"$1"
}

# Two boosts, fast and then graphics, over a start where some values are missing and some hold
# data of another type; the restore button, answered Yes, must bring back that start exactly.
restore_scenario() {
  begin "restore: two boosts put back with the restore button"
  install_app Vornel Drainex ping
  rm -rf "$WINEPREFIX/drive_c/kestrava-e2e"
  clear_written_values
  local display_key
  display_key=$(inspect display | sed -n 's/^key //p')
  check "the display adapter's key is found" test -n "$display_key"
  reg add "$tcpip_key" /v TcpWindowSize /t REG_DWORD /d 65535 /f
  reg add "HKLM\\$display_key" /v D3D_46205529 /t REG_SZ /d "before Kestrava" /f
  check "no state folder before the first boost" test ! -e "$state"
  local unpacked
  unpacked=$(ls -A "$app")
  check "display and TCP/IP keys exported before the first boost" export_settings before
  start_programs
  check "first boost (fast profile)" boost
  check "the first boost ends" end_boost
  driver click Kestrava 1009
  check "second boost (graphics profile)" boost
  check "display values of the graphics profile" diff <(inspect display | grep -v '^key ') <(expected_display 0)
  check "the second boost ends" end_boost
  driver hover Kestrava 1015
  sleep 1.5
  shot "restore-control"

  local question="처음 상태로 되돌리시겠습니까"
  driver click Kestrava 1015
  check "the restore question is captioned Kestrava" test "$(driver caption "$question" 10000)" = Kestrava
  shot "restore-question"
  check "the restore question is answered Yes" driver answer "$question" 6 10000
  local report
  report=$(driver boxtext "되돌렸습니다" 60000)
  shot "restore-report"
  check "the report counts the values put back (got: ${report:-no report})" restore_report_ok "$report"
  check "the report is answered" driver answer "되돌렸습니다" 1 10000
  check "display and TCP/IP keys exported after the restore" export_settings after
  check "display key byte for byte as before the first boost" same_export display
  check "TCP/IP key byte for byte as before the first boost" same_export tcpip
  check "no settings record left in Settings" test -z "$(ls -A "$state/Settings" 2>/dev/null)"
  check "the used records kept in Restored" test -n "$(ls -A "$state/Restored" 2>/dev/null)"
  check "nothing appears beside Vornel.exe after the boosts and the restore" test "$(ls -A "$app")" = "$unpacked"

  driver click Kestrava 1015
  if ! driver answer "되돌릴 설정이 없습니다" 1 10000; then
    check "a second restore finds nothing to restore" false
    driver answer "$question" 7 5000  # asked again instead: answered No
  fi
  check "Vornel ends with its close button" close_vornel
  finish
}

# A stand-in launcher, running at the boost, starts a stand-in game once a flag file appears.
game_start_scenario() {
  begin "game-start: a game started during a boost"
  install_app Vornel Drainex ping
  for program in launcher game discord; do cp "$dir/kestrava_child.exe" "$app/$program.exe"; done
  local flag="$WINEPREFIX/drive_c/kestrava-e2e-launch.flag"
  rm -f "$flag"
  start "$app/launcher.exe" launch 'C:\kestrava-e2e-launch.flag' "C:\\Kestrava Test $arch\\game.exe"
  start "$app/discord.exe"
  start_programs
  local launcher_pid discord_pid launcher_before discord_before game_pid=""
  launcher_pid=$(inspect pid launcher.exe | head -1)
  discord_pid=$(inspect pid discord.exe | head -1)
  launcher_before=$(inspect process "$launcher_pid")
  discord_before=$(inspect process "$discord_pid")
  check "running window shown" boost
  check "the launcher is throttled during the boost" test "$(field priority "$(inspect process "$launcher_pid")")" = 64
  touch "$flag"
  for _ in $(seq 1 50); do
    game_pid=$(inspect pid game.exe | head -1)
    [ -n "$game_pid" ] && break
    sleep 0.2
  done
  check "the launcher started the game" test -n "$game_pid"
  sleep 2  # a few checks of the running window
  expect_process "game" "$(inspect process "$game_pid")" 32 "$(field affinity "$launcher_before")" 0
  expect_process "discord.exe during the boost" "$(inspect process "$discord_pid")" \
    "$(field priority "$discord_before")" "$(field affinity "$discord_before")" 0
  check "the boost ends when the running window closes" end_boost
  expect_process "launcher after the undo" "$(inspect process "$launcher_pid")" \
    "$(field priority "$launcher_before")" "$(field affinity "$launcher_before")" 0
  check "Vornel ends with its close button" close_vornel
  finish
}

for scenario_name in "${scenarios[@]}"; do
  case $scenario_name in
    clear) boost_scenario 0 ;;
    ticked) boost_scenario 1 ;;
    no-helper) missing_helper_scenario ;;
    no-ping) missing_ping_scenario ;;
    exiting-child) exiting_child_scenario ;;
    killed) killed_boost_scenario ;;
    restore) restore_scenario ;;
    package) boost_scenario 0 package ;;
    planted) planted_ping_scenario ;;
    planted-library) planted_library_scenario ;;
    swapped-helper) swapped_helper_scenario ;;
    game-start) game_start_scenario ;;
    *) echo "unknown scenario $scenario_name" >&2; exit 2 ;;
  esac
done

echo
echo "End-to-end results of the $arch build"
printf '%s\n' "${rows[@]}"
echo "screenshots: $shots"
[ "$failures" -eq 0 ]
