# A boost with the suspend option clear (graphics profile) or ticked (fast profile), from the
# application folder or from the unpacked download package: display values, TCP/IP values and
# backup file written, Drainex ran and the bar moved, the catalogue program (or every unprotected
# one) suspended during the boost and running again after it, priorities and masks back after the
# undo, the debug log, and the running window's packet size, memory and process count.

# Unpacks the download package into the application folder, with the test ping and the
# children as in the other scenarios.
install_package() {
  install_app ping
  python3 -m zipfile -e "$package" "$app"
}

# The how-to opens in Notepad on a Korean Windows: code page 949, every line ended by CR LF.
# The text is read whole first: grep -q leaving a pipe early fails the pipeline under pipefail.
readme_readable() {
  local readme="$app/README.txt" text
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] && text=$(iconv -f CP949 -t UTF-8 "$readme") &&
    grep -q '관리자 권한' <<<"$text" && grep -qF 'C:\ProgramData\Kestrava' <<<"$text" && grep -qF '"설정 복원"' <<<"$text"
}

# A result line of the running window against a pattern; when it differs, what was read and
# the driver's exit status are told.
line_matches() {  # line_matches CONTROL_ID PATTERN
  local text status
  text=$(driver text "$boost_title" "$1")
  status=$?
  grep -qE "$2" <<<"$text" || { echo "  read '$text', driver exit $status"; return 1; }
}

boost_scenario() {  # boost_scenario ticked(0|1) [package]
  local ticked=$1
  local fast=$ticked
  local from=${2:-}
  begin "${from:+$from: }boost, suspend option $([ "$ticked" = 1 ] && echo ticked || echo clear)"
  if [ "$from" = package ]; then
    local package
    package=$(python3 "$root/tools/package.py" "$arch" "$dir" "$dist" --name)
    check "package holds Vornel.exe, Drainex.exe and README.txt" diff \
      <(python3 -m zipfile -l "$package" | awk 'NR > 1 { print $1 }' | sort) <(printf '%s\n' Drainex.exe README.txt Vornel.exe)
    install_package
    check "README.txt in code page 949 with CR LF" readme_readable
  else
    install_app Vornel Drainex ping
  fi
  clear_written_values
  start_programs
  [ "$fast" = 1 ] || driver click "$main_title" "$IDC_GRAPHICS"
  if [ "$ticked" = 1 ]; then
    driver click "$main_title" "$IDC_SUSPEND"
    check "suspend warning answered" driver answer "모든 프로세스" 1 10000
  fi
  check "running window shown" boost "${from:+$from-}progress"
  shot "${from:+$from-}boost-$([ "$ticked" = 1 ] && echo ticked || echo clear)"

  check "display values of the $([ "$fast" = 1 ] && echo fast || echo graphics) profile" \
    diff <(inspect display | grep -v '^key ') <(expected_display "$fast")
  # Wine reports Windows 7 or later, where black-hole router detection is left alone.
  check "TCP/IP values" diff <(inspect tcpip) <(printf '%s\n' "SackOpts 1" "TcpWindowSize 372320" "Tcp1323Opts 1" \
    "DefaultTTL 64" "EnablePMTUBHDetect missing" "EnablePMTUDiscovery 1" "GlobalMaxTcpWindowSize 372320" \
    "TcpMaxDupAcks 2")
  local backup
  backup=$(ls "$state/NetOpti/" 2>/dev/null | grep -E '^[0-9]+년[0-9]+월[0-9]+일[0-9]+시[0-9]+분[0-9]+초\.nbk$' | head -1)
  check "backup file under ProgramData\\Kestrava\\NetOpti" test -n "$backup"
  check "backup holds the old values" grep -q $'^SackOpts\r$' "$state/NetOpti/$backup"
  check "the bar moved during the memory release" bar_moved
  check "network line shows 1472" line_matches "$IDC_NETWORK_ANCHOR" '^인터넷 : 1472 로 최적화$'
  check "memory line shows the available memory" line_matches "$IDC_MEMORY_ANCHOR" '^메모리 : [1-9][0-9]*MB 사용가능$'
  check "process line counts the processes" line_matches "$IDC_PROCESS_ANCHOR" '^프로세스 : ([3-9]|[1-9][0-9]+) 개 최적화$'

  local last_cpu
  last_cpu=$(( $(field affinity "$catalogue_before") ))
  last_cpu=$(awk -v m="$last_cpu" 'BEGIN { b = 1; while (b * 2 <= m) b *= 2; print b }')
  expect_process "catalogue program during the boost" "$(inspect process "$catalogue_pid")" 64 "$last_cpu" 1
  expect_process "other program during the boost" "$(inspect process "$plain_pid")" 64 "$last_cpu" "$ticked"
  check "log: priority rule" log_has "$log_priority_rule"
  check "log: lowered priority" log_has "${log_lowered}msnmsgr.exe"
  check "log: last-processor mask" log_has "${log_affinity}msnmsgr.exe($(printf '%x' "$last_cpu"))"
  check "log: catalogue program suspended" log_has "${log_suspended}msnmsgr.exe"
  if [ "$ticked" = 1 ]; then
    check "log: windows hidden" log_has "${log_hidden}plainchild.exe"
  fi

  check "the boost ends when the running window closes" end_boost
  expect_process "catalogue program after the undo" "$(inspect process "$catalogue_pid")" \
    "$(field priority "$catalogue_before")" "$(field affinity "$catalogue_before")" 0
  expect_process "other program after the undo" "$(inspect process "$plain_pid")" \
    "$(field priority "$plain_before")" "$(field affinity "$plain_before")" 0
  shot "${from:+$from-}main-after-boost"
  check "Vornel ends with its close button" close_vornel
}
