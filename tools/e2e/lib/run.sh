# The helpers of the end-to-end scenarios: starting Windows programs, the checks and the
# results table, installing the programs, and driving Vornel as a user would. Set by the
# runner: dir (the build), arch, loader, shots, app_name, app, state, log, system_ping.

tcpip_key='HKLM\System\CurrentControlSet\Services\Tcpip\Parameters'
# 6 GiB: under qemu's emulation a 32-bit Wine process needs more than 4 GiB of address space.
memory_limit_kb=6291456

rows=()
failures=0
started=()

# Starts a Windows program of the build with the Korean code page. In the foreground it is
# bounded to SECONDS, so a hung program fails its check instead of the whole run; in the
# background it runs under the address-space limit until ended, its process id left in $!.
wine_run() {  # wine_run SECONDS|background PROGRAM [ARG...]
  local limit=$1
  shift
  if [ "$limit" = background ]; then
    (ulimit -v $memory_limit_kb; exec env LC_ALL=ko_KR.UTF-8 "$loader" "$@") &
  else
    LC_ALL=ko_KR.UTF-8 timeout "$limit" "$loader" "$@"
  fi
}

# The harness's own programs (driver, inspector, reg) are those of the 64-bit build whatever
# build is under test: they only look on, and under the 32-bit emulation each start costs a second.
tools="$build/win-x86_64"
tool_run() {  # tool_run SECONDS|background PROGRAM [ARG...]
  local loader=$wine64_loader
  wine_run "$@"
}

# Windows programs print code page 949 and CR LF; the checks read UTF-8 lines.
driver() { tool_run 300 "$tools/kestrava_driver.exe" "$@" | tr -d '\r' | iconv -f CP949 -t UTF-8; }
inspect() { tool_run 60 "$tools/kestrava_inspect.exe" "$@" | tr -d '\r'; }
reg() { tool_run 60 reg "$@" >/dev/null 2>&1; }
start() {
  wine_run background "$@" >/dev/null 2>&1
  started+=($!)
}
stop_all() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${started[@]}"; do wait "$pid" 2>/dev/null; done
  started=()
}

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
begin() {  # begin TITLE
  scenario=$1
  problems=()
  scenario_started=$SECONDS
  echo "== $arch: $scenario"
  "$wineserver" -p
}
# Each scenario is one Wine session. The server stays up through it: left to itself it ends
# when no program has run for a moment, and Wine's next start writes the display adapter's
# key afresh, values of the scenario's own among them. It ends with the scenario, so nothing
# one leaves behind (a process still suspended after a failure, say) reaches the next.
finish() {
  stop_all
  "$wineserver" -k 2>/dev/null
  "$wineserver" -w 2>/dev/null
  local seconds
  seconds=$(printf '%4d s' $((SECONDS - scenario_started)))
  if [ ${#problems[@]} -eq 0 ]; then
    rows+=("$(printf '%-53s %s  %s' "$scenario" "$seconds" passed)")
  else
    rows+=("$(printf '%-53s %s  FAILED (%s)' "$scenario" "$seconds" "$(IFS=';'; echo "${problems[*]}")")")
    failures=$((failures + 1))
  fi
}
shot() { import -window root "$shots/$1-$arch.png" 2>/dev/null && echo "  screenshot: $shots/$1-$arch.png"; }

# The test ping goes where the system's ping lives, and leaves it when not named. It stands in
# for the system's own program, so like the harness's it is the 64-bit one, which starts
# without the emulation's second per ping.
install_app() {  # install_app PROGRAM...
  rm -rf "$app"
  rm -rf "$state"
  mkdir -p "$app"
  rm -f "$system_ping"
  for program in "$@"; do
    if [ "$program" = ping ]; then
      cp "$tools/ping.exe" "$system_ping"
    else
      cp "$dir/$program.exe" "$app/"
    fi
  done
  local child
  for child in msnmsgr plainchild explorer; do cp "$dir/kestrava_child.exe" "$app/$child.exe"; done
  rm -f "$log"
}

# Deletes every value a boost writes, in one import of a .reg file (a start of reg each would
# cost a second apiece).
clear_written_values() {
  local key file="$WINEPREFIX/drive_c/kestrava-clear.reg"
  key=$(inspect display | sed -n 's/^key //p')
  {
    printf 'Windows Registry Editor Version 5.00\r\n'
    if [ -n "$key" ]; then
      printf '\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n' "$key"
      printf '"%s"=-\r\n' D3D_88481200 D3DOGL_74095213 D3D_98764205 OGL_MaxFramesAllowed OGL_QualityEnhancements \
        OGL_RenderQualityFlags D3D_36759435 OGL_563A95F1 OGL_01887890 OGL_1190801a D3D_46205529
    fi
    printf '\r\n[HKEY_LOCAL_MACHINE\\%s]\r\n' "${tcpip_key#HKLM\\}"
    printf '"%s"=-\r\n' SackOpts TcpWindowSize Tcp1323Opts DefaultTTL EnablePMTUBHDetect EnablePMTUDiscovery \
      GlobalMaxTcpWindowSize TcpMaxDupAcks
  } >"$file"
  reg import 'C:\kestrava-clear.reg'
  rm -f "$file"
}

field() { sed -n "s/^$1 //p" <<<"$2"; }

# Reads a running program's process id and state into the named variables. A program just
# started may not be listed yet, so both are asked for again, a few times, until the state
# has its priority line; a state still without one fails a check that shows what was read.
read_process() {  # read_process EXE PID_VARIABLE STATE_VARIABLE
  local -n pid_read=$2 state_read=$3
  for _ in 1 2 3 4 5; do
    pid_read=$(inspect pid "$1" | head -1)
    state_read=$(inspect process "$pid_read")
    [ -n "$(field priority "$state_read")" ] && break
    sleep 1
  done
  local shown=${state_read//$'\n'/, }
  check "$1 read before the boost (process ${pid_read:-not found}: ${shown:-no state})" \
    test -n "$(field priority "$state_read")"
}

# Starts the two children and Vornel; sets catalogue_pid, plain_pid and their states before the boost.
# The player starts Vornel from the Downloads folder: the window right beneath Vornel's is then
# Explorer's, whose program a boost never spares as the one used just before.
start_programs() {
  start "$app/msnmsgr.exe" title "kestrava catalogue"
  start "$app/plainchild.exe" title "kestrava plain"
  window_shown "kestrava catalogue" 30000 && window_shown "kestrava plain" 30000
  start "$app/explorer.exe" title "Downloads"
  check "the Downloads folder's window shown" window_shown "Downloads" 30000
  start "$app/Vornel.exe"
  local geometry
  geometry=$(driver wait "$main_title" 60000)
  read -r _ _ width height <<<"$geometry"
  check "main window 500x367 (got ${width:-none}x${height:-none})" test "${width:-}x${height:-}" = 500x367
  read_process msnmsgr.exe catalogue_pid catalogue_before
  read_process plainchild.exe plain_pid plain_before
}

# Prints the process id of a program just started, once it is listed (within 10 s).
wait_pid() {  # wait_pid EXE
  local pid=""
  for _ in $(seq 1 50); do
    pid=$(inspect pid "$1" | head -1)
    [ -n "$pid" ] && break
    sleep 0.2
  done
  echo "$pid"
}

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
  tool_run background "$tools/kestrava_driver.exe" watch "$main_title" "$IDC_PROGRESS" "$boost_title" 240000 \
    >"$build/e2e-bar.txt"
  local watcher=$!
  sleep 0.5
  driver click "$main_title" "$IDC_BOOST"
  # With the option ticked every unprotected process is suspended, a waiting driver
  # too, so the window is looked for by short-lived drivers.
  local shown=1
  local bar_shot=${1:-}
  for _ in $(seq 1 120); do
    if [ -n "$bar_shot" ]; then
      local position
      position=$(driver progress "$main_title" "$IDC_PROGRESS" 2>/dev/null)
      if [ "${position:-0}" -gt 20 ] 2>/dev/null && [ "$position" -lt 100 ]; then
        shot "$bar_shot"
        bar_shot=""
      fi
    fi
    if tool_run 10 "$tools/kestrava_driver.exe" wait "$boost_title" 1000 >/dev/null 2>&1; then
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
  driver click "$boost_title" "$IDC_CLOSE"
  driver gone "$boost_title" 20000
  driver wait "$main_title" 20000 >/dev/null
  for _ in $(seq 1 50); do
    [ "$(driver progress "$main_title" "$IDC_PROGRESS")" = 0 ] && return 0
    sleep 0.2
  done
  return 1
}

# Clicks the close button until Vornel has ended, within a minute, as a user would click
# again when a click was lost (say, while the window was still disabled by a message box).
close_vornel() {
  local deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    driver click "$main_title" "$IDC_CLOSE" >/dev/null 2>&1
    for _ in $(seq 1 10); do
      vornel_running || return 0
      sleep 0.2
    done
  done
  return 1
}
# This prefix's copy only: other prefixes on the machine run programs of the same name.
vornel_running() { pgrep -f "$app/Vornel.exe" >/dev/null; }
vornel_ends() {  # vornel_ends SECONDS
  local deadline=$((SECONDS + $1))
  while vornel_running; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
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
window_shown() { driver wait "$@" >/dev/null; }
