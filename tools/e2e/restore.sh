# The settings restore: two boosts, fast and then graphics, over a start where some values are
# missing and some hold data of another type; the restore button, answered Yes, must bring back
# that start exactly: the display and TCP/IP keys exported before and after are the same, byte
# for byte.

# Exports the display adapter's key and the TCP/IP key into reg files named after a moment.
export_settings() {  # export_settings MOMENT
  [ -n "$display_key" ] || return 1
  mkdir -p "$WINEPREFIX/drive_c/kestrava-e2e"
  reg export "HKLM\\$display_key" "C:\\kestrava-e2e\\display-$1.reg" /y &&
    reg export "$tcpip_key" "C:\\kestrava-e2e\\tcpip-$1.reg" /y
}
same_export() { cmp "$WINEPREFIX/drive_c/kestrava-e2e/$1-before.reg" "$WINEPREFIX/drive_c/kestrava-e2e/$1-after.reg"; }

restore_report_ok() {
  grep -qE '^설정 [1-9][0-9]*개를 되돌렸습니다\. 네트워크 설정은 컴퓨터를 다시 시작하면 적용됩니다\.$' <<<"$1"
}

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
driver click "$main_title" "$IDC_GRAPHICS"
check "second boost (graphics profile)" boost
check "display values of the graphics profile" diff <(inspect display | grep -v '^key ') <(expected_display 0)
check "the second boost ends" end_boost
driver hover "$main_title" "$IDC_RESTORE"
sleep 1.5
shot "restore-control"

local question="처음 상태로 되돌리시겠습니까"
driver click "$main_title" "$IDC_RESTORE"
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

driver click "$main_title" "$IDC_RESTORE"
if ! driver answer "되돌릴 설정이 없습니다" 1 10000; then
  check "a second restore finds nothing to restore" false
  driver answer "$question" 7 5000  # asked again instead: answered No
fi
check "Vornel ends with its close button" close_vornel
